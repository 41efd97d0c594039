#include "Dialogues.h"

ADMDialogRef PaletteFlo = nullptr;
ASRect RectEcranTotal = {0, 0, 0, 0};
ASRect PosDialPrefs = {0, 0, 0, 0};
ASRect PosDialEchellePerso = {0, 0, 0, 0};
bool DialPrefsAffiche = false;
bool DialEchellePersoAffiche = false;
ADMDialogRef DialoguePrefs = nullptr;
ASPoint PlaceActuelle = {0, 0};
ASInt16 NumeroPageAide = 1;
ASInt16 NbrPages = 10;
