// The panel's help pages: ten fixed texts below the strip, turned with two arrows.
#pragma once

#include "ADMItem.h"

namespace aide {
constexpr ASInt16 kNombrePages = 10;
// Items of the help area.
constexpr ASInt32 kItemTexte = 7;
constexpr ASInt32 kItemFlecheDroite = 8;
constexpr ASInt32 kItemFlecheGauche = 9;
constexpr ASInt32 kItemNombrePages = 10;
constexpr ASInt32 kItemNumeroPage = 11;
constexpr ASInt32 kItemBarre = 12;

constexpr const char* kBullePageSuivante = "Help next page.";
constexpr const char* kBullePagePrecedente = "Help previous page.";
constexpr const char* kBullePremierePage = "Help first page.";
}  // namespace aide

/// The text of help page numero (1 to 10) in the platform encoding: rows separated by
/// one carriage return, two after the last row. Null for any other number.
const char* PageAide(int numero);

/// Shows page numero in the panel and enables the arrows that lead somewhere.
void TexteAide(ADMDialogRef dialog, ASInt16 numero);

/// The arrows' notify procedures: one page back, one page forward.
void FlecheGaucheCBP(ADMItemRef item, ADMNotifierRef notifier);
void FlecheDroiteCBP(ADMItemRef item, ADMNotifierRef notifier);
