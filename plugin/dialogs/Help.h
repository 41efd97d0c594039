// The panel's help pages: ten fixed texts below the strip, turned with two arrows.
#pragma once

#include "ADMItem.h"

namespace help {
constexpr ASInt16 kPageCount = 10;
// Items of the help area.
constexpr ASInt32 kTextItem = 7;
constexpr ASInt32 kNextArrowItem = 8;
constexpr ASInt32 kPreviousArrowItem = 9;
constexpr ASInt32 kPageCountItem = 10;
constexpr ASInt32 kPageNumberItem = 11;
constexpr ASInt32 kSlashItem = 12;

constexpr const char* kNextPageTip = "Help next page.";
constexpr const char* kPreviousPageTip = "Help previous page.";
constexpr const char* kFirstPageTip = "Help first page.";
}  // namespace help

/// The text of help page numero (1 to 10) in the platform encoding: rows separated by
/// one carriage return, two after the last row. Null for any other number.
const char* HelpPage(int number);

/// Shows page numero in the panel and enables the arrows that lead somewhere.
void ShowHelpPage(ADMDialogRef dialog, ASInt16 number);

/// What the arrows' notify procedures do with the page shown: one page back, one page forward.
void PreviousHelpPage(ADMItemRef item, ADMNotifierRef notifier, ASInt16& page);
void NextHelpPage(ADMItemRef item, ADMNotifierRef notifier, ASInt16& page);
