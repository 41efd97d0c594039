// Bookkeeping shared by the panel and the dialogs: the panel's dialog, the
// screen, where each dialog opens and whether it is open.
#pragma once

#include "ADMTypes.h"

extern ADMDialogRef PaletteFlo;        // the floating panel
extern ASRect RectEcranTotal;          // the screen, read when the panel is built
extern ASRect PosDialPrefs;            // frame of the preferences dialog, kept between openings
extern ASRect PosDialEchellePerso;     // frame of the custom-scale dialog
extern bool DialPrefsAffiche;          // the preferences dialog is open
extern bool DialEchellePersoAffiche;   // the custom-scale dialog is open
extern ADMDialogRef DialoguePrefs;     // the open preferences dialog
extern ASPoint PlaceActuelle;          // last pointer seen by the precision picture's tracking
extern ASInt16 NumeroPageAide;         // help page shown, 1 to NbrPages
extern ASInt16 NbrPages;

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
