// The About box: the plug-in's name and version, its icon, a web address and a
// button that closes it. A modal dialog built in code.
#pragma once

#include "ADMDialog.h"

namespace about {
constexpr const char* kName = "About";
constexpr ASInt32 kWidth = 400;
constexpr ASInt32 kHeight = 250;
}  // namespace about

/// Where the box opens on the screen ecran: centred across (the floor of the half of the free
/// width) and a third of the free height down (truncated toward zero).
ASRect AboutBoxFrame(const ASRect& screen);

/// Init procedure of the About box: places it and creates its items.
ASErr InitAboutBox(ADMDialogRef dialog);
/// The box's own drawing: the plug-in's icon.
void DrawAboutBox(ADMDialogRef dialog, ADMDrawerRef drawer);
/// The button ends the modal run through the item's default handling.
void CloseAboutBox(ADMItemRef item, ADMNotifierRef notifier);
