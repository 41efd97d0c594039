// The modal dialogs' bookkeeping, owned by the plug-in object: where each dialog
// opens and whether it is open; their names, IDs and sizes.
#pragma once

#include "ADMTypes.h"
#include "Settings.h"

/// A modal dialog: whether it is open, and its frame, kept between openings.
struct ModalDialogPlace {
    bool open = false;
    ASRect frame = {0, 0, 0, 0};
};

/// The preferences dialog: its place, the open dialog, the settings it edits and the
/// last pointer seen by the precision picture's tracking.
struct PreferencesDialogState {
    ModalDialogPlace place;
    ADMDialogRef dialog = nullptr;
    Settings edited;
    ASPoint lastTrackPoint = {0, 0};
};

namespace dialogs {
constexpr const char* kModalName = "bidon";
// Sizes of the modal dialogs, in pixels.
constexpr ASInt16 kPreferencesWidth = 276;
constexpr ASInt16 kPreferencesHeight = 202;
constexpr ASInt16 kCustomScaleWidth = 200;
constexpr ASInt16 kCustomScaleHeight = 120;
constexpr ASInt32 kPanelId = 16400;
constexpr ASInt32 kAboutId = 16500;
constexpr ASInt32 kPreferencesId = 16600;
constexpr ASInt32 kCustomScaleId = 16700;

/// Where a dialog of that size opens on the screen: a third of the free height
/// down (truncated toward zero) and centred across (the half taken toward minus
/// infinity).
constexpr ASRect FrameOnScreen(const ASRect& screen, ASInt16 width, ASInt16 height) {
    const int top = (screen.bottom - screen.top - height) / 3;
    const int free = screen.right - screen.left - width;
    const int left = free >= 0 ? free / 2 : -((-free + 1) / 2);
    return {static_cast<ASInt16>(top), static_cast<ASInt16>(left), static_cast<ASInt16>(top + height),
            static_cast<ASInt16>(left + width)};
}
}  // namespace dialogs
