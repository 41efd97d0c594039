// The About box: the plug-in's name and version, its icon, a web address and a
// button that closes it. A modal dialog built in code.
#pragma once

#include "ADMDialog.h"

namespace apropos {
constexpr const char* kNom = "About";
constexpr ASInt32 kLargeur = 400;
constexpr ASInt32 kHauteur = 250;
}  // namespace apropos

/// Where the box opens on the screen ecran: centred across (the floor of the half of the free
/// width) and a third of the free height down (truncated toward zero).
ASRect PlaceAPropos(const ASRect& ecran);

/// Init procedure of the About box: places it and creates its items.
ASErr AboutParDefautProc(ADMDialogRef dialog);
/// The box's own drawing: the plug-in's icon.
void AboutDraw(ADMDialogRef dialog, ADMDrawerRef drawer);
/// The button ends the modal run through the item's default handling.
void OKAboutCBP(ADMItemRef item, ADMNotifierRef notifier);
