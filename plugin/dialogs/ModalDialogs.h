// The modal dialogs' bookkeeping, kept by each dialog's object: where the dialog opens
// and whether it is open; their names, IDs and sizes.
#pragma once

#include "ADMDialog.h"
#include "ADMItem.h"
#include "ADMTypes.h"
#include "OrvaneSuites.h"

/// A modal dialog: whether it is open, and its frame, kept between openings.
struct ModalDialogPlace {
    bool open = false;
    ASRect frame = {0, 0, 0, 0};
};

/// The object that a modal dialog, run with it as user data, carries.
template <class Dialog>
Dialog& DialogObject(ADMDialogRef dialog) {
    return *static_cast<Dialog*>(sADMDialog->GetUserData(dialog));
}

/// The object of the dialog an item belongs to.
template <class Dialog>
Dialog& DialogObjectOfItem(ADMItemRef item) {
    return DialogObject<Dialog>(sADMItem->GetDialog(item));
}

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
