// The drawing scale: the scale list of the preferences dialog, from 1/125 to 125/1
// with the user's own scale at its end, and the custom-scale dialog that defines it.
#pragma once

#include <array>
#include <cstddef>

#include "ADMDialog.h"
#include "ADMNotifier.h"

namespace echelle {

enum class Genre {
    Fixe,        // a fraction of its own
    Separateur,  // no text, no ID
    ChoixPerso,  // opens the custom-scale dialog
    Perso,       // the custom scale, EchelleNumPerso / EchelleDenPerso
};

struct EntreeEchelle {
    Genre genre;
    const char* texte;  // platform encoding
    double num;
    double den;
};

constexpr ASInt32 kItemListe = 8;  // the scale list's item in the preferences dialog
constexpr ASInt32 kPositionUn = 12;
constexpr ASInt32 kPositionChoixPerso = 26;
constexpr ASInt32 kPositionPerso = 27;

/// The list's entries by position; an entry's ID is its position.
constexpr std::array<EntreeEchelle, 28> kEntrees = {{
    {Genre::Fixe, "1/125", 1, 125},
    {Genre::Fixe, "1/100", 1, 100},
    {Genre::Fixe, "1/75", 1, 75},
    {Genre::Fixe, "1/50", 1, 50},
    {Genre::Fixe, "1/25", 1, 25},
    {Genre::Fixe, "1/20", 1, 20},
    {Genre::Fixe, "1/10", 1, 10},
    {Genre::Fixe, "1/5", 1, 5},
    {Genre::Fixe, "1/4", 1, 4},
    {Genre::Fixe, "1/3", 1, 3},
    {Genre::Fixe, "1/2", 1, 2},
    {Genre::Separateur, "", 0, 0},
    {Genre::Fixe, "1", 1, 1},
    {Genre::Separateur, "", 0, 0},
    {Genre::Fixe, "2/1", 2, 1},
    {Genre::Fixe, "3/1", 3, 1},
    {Genre::Fixe, "4/1", 4, 1},
    {Genre::Fixe, "5/1", 5, 1},
    {Genre::Fixe, "10/1", 10, 1},
    {Genre::Fixe, "20/1", 20, 1},
    {Genre::Fixe, "25/1", 25, 1},
    {Genre::Fixe, "50/1", 50, 1},
    {Genre::Fixe, "75/1", 75, 1},
    {Genre::Fixe, "100/1", 100, 1},
    {Genre::Fixe, "125/1", 125, 1},
    {Genre::Separateur, "", 0, 0},
    {Genre::ChoixPerso, "Custom Sca\xC9", 0, 0},  // 0xC9: the ellipsis in Mac OS Roman
    {Genre::Perso, "", 0, 0},
}};

/// Room for one number written by TexteG, the NUL included ("-1.79769e+308").
constexpr std::size_t kTailleTexteG = 16;
/// Room for the custom entry's text: two numbers and the slash.
constexpr std::size_t kTailleTextePerso = 2 * kTailleTexteG;

}  // namespace echelle

/// The position of the entry that marks the scale num/den: the fixed entry whose pair is
/// exactly equal, else the custom entry.
ASInt32 PositionEchelle(double num, double den);

/// value as C's "%g" writes it whatever the locale: six significant digits, trailing zeros
/// dropped, exponent form below 0.0001 and from 1000000 up (1e-05, 1e+06). out holds
/// echelle::kTailleTexteG bytes.
void TexteG(double valeur, char* out);

/// The custom entry's text: "%g" of num, "/", "%g" of den; "…/…" when num is 0 (no custom
/// scale). out holds echelle::kTailleTextePerso bytes.
void TexteEchellePerso(double num, double den, char* out);

/// Fills the scale list of item 8 of the preferences dialog from the working pair
/// EchelleNumProv / EchelleDenProv and marks it.
void ConstruitListeEchelles(ADMItemRef liste);

/// Checks and selects the entry of the working pair, after unchecking every entry.
void CocheEchellePrefs(ADMItemRef liste);

void EchellePrefsCBP(ADMItemRef item, ADMNotifierRef notifier);
/// The "Sca." label beside the list.
void EchellePrefsDraw(ADMItemRef item, ADMDrawerRef drawer);

/// Init procedure of the custom-scale dialog.
ASErr EchellePersoProc(ADMDialogRef dialog);
/// The custom-scale dialog's labels and its example line converting one millimetre.
void EchelleDraw(ADMDialogRef dialog, ADMDrawerRef drawer);
void NumEchellePersoCBP(ADMItemRef item, ADMNotifierRef notifier);
void DenEchellePersoCBP(ADMItemRef item, ADMNotifierRef notifier);
/// A click on the "N" or "D" label puts the cursor in its field.
void MotEchelleCBP(ADMItemRef item, ADMNotifierRef notifier);
/// Gives the focus to item id of item's dialog.
void MotEchellePlusCBP(ADMItemRef item, ASInt32 id);
void AnnulerEchellePersoCBP(ADMItemRef item, ADMNotifierRef notifier);
void OKEchellePersoCBP(ADMItemRef item, ADMNotifierRef notifier);
/// Draws nothing: the items it serves lie under labels the dialog paints.
void BidonDraw(ADMItemRef item, ADMDrawerRef drawer);
