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

namespace dialogues {
constexpr const char* kNomModal = "bidon";
// Sizes of the modal dialogs, in pixels.
constexpr ASInt16 kLargeurPrefs = 276;
constexpr ASInt16 kHauteurPrefs = 202;
constexpr ASInt16 kLargeurEchellePerso = 200;
constexpr ASInt16 kHauteurEchellePerso = 120;
constexpr ASInt32 kIdPanneau = 16400;
constexpr ASInt32 kIdAPropos = 16500;
constexpr ASInt32 kIdPrefs = 16600;
constexpr ASInt32 kIdEchellePerso = 16700;

/// Where a dialog of that size opens on the screen: a third of the free height
/// down (truncated toward zero) and centred across (the half taken toward minus
/// infinity).
constexpr ASRect PlaceSurEcran(const ASRect& ecran, ASInt16 largeur, ASInt16 hauteur) {
    const int haut = (ecran.bottom - ecran.top - hauteur) / 3;
    const int libre = ecran.right - ecran.left - largeur;
    const int gauche = libre >= 0 ? libre / 2 : -((-libre + 1) / 2);
    return {static_cast<ASInt16>(haut), static_cast<ASInt16>(gauche), static_cast<ASInt16>(haut + hauteur),
            static_cast<ASInt16>(gauche + largeur)};
}
}  // namespace dialogues
