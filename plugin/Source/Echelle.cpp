#include "Echelle.h"

#include <charconv>
#include <cstring>

#include "Dialogues.h"
#include "OrvanePlugIn.h"
#include "OrvaneSuites.h"
#include "RectDialogue.h"
#include "Settings.h"

using namespace echelle;

namespace {

constexpr int kChiffresSignificatifs = 6;

// The custom-scale dialog.
constexpr const char* kTitreEchellePerso = "Customized scale.";
constexpr ASInt32 kItemOK = 1;
constexpr ASInt32 kItemAnnuler = 2;
constexpr ASInt32 kItemNum = 10;
constexpr ASInt32 kItemMotNum = 11;
constexpr ASInt32 kItemDen = 12;
constexpr ASInt32 kItemMotDen = 13;
constexpr float kPlusPetiteEchellePerso = 0.0001f;
constexpr float kPetitPasEchellePerso = 0.1f;
constexpr float kGrandPasEchellePerso = 1.0f;
constexpr ASInt32 kDecimalesEchellePerso = 6;

constexpr const char* kBulleListe = "Scale of the drawing.";
constexpr const char* kLabelListe = "Sca.";

ADMListRef ListeDe(ADMItemRef item) {
    return sADMItem->GetList(item);
}

ADMItemRef ItemVoisin(ADMItemRef item, ASInt32 id) {
    return sADMDialog->GetItem(sADMItem->GetDialog(item), id);
}

/// Position of the list's active entry, -1 without one.
ASInt32 PositionActive(ADMItemRef liste) {
    const ADMEntryRef entree = sADMList->GetActiveEntry(ListeDe(liste));
    return entree ? sADMEntry->GetIndex(entree) : -1;
}

void OuvreEchellePerso(ADMItemRef liste) {
    if (OrvanePlugIn::Current()->customScaleDialog().open) return;
    sADMDialog->Modal(sADMDialog->GetPluginRef(sADMItem->GetDialog(liste)), dialogues::kNomModal,
                      dialogues::kIdEchellePerso, kADMModalDialogStyle, EchellePersoProc, nullptr, 0);
}

/// However the run ends, the dialog can be opened again.
void FinEchellePerso(ADMDialogRef) {
    OrvanePlugIn::Current()->customScaleDialog().open = false;
}

ADMItemRef CreeChampEchelle(ADMDialogRef dialog, ASInt32 id, ASInt16 gauche, double valeur, ADMItemNotifyProc notify) {
    const ASRect rect = RectItem(gauche, 14, 64, 22);
    const ADMItemRef champ = sADMDialog->CreateItem(dialog, id, kADMSpinEditType, &rect, nullptr, nullptr, 0);
    sADMItem->SetUnits(champ, kADMNoUnits);
    sADMItem->SetMinFloatValue(champ, kPlusPetiteEchellePerso);
    sADMItem->SetSmallIncrement(champ, kPetitPasEchellePerso);
    sADMItem->SetLargeIncrement(champ, kGrandPasEchellePerso);
    sADMItem->SetPrecision(champ, kDecimalesEchellePerso);
    sADMItem->SetFloatValue(champ, static_cast<float>(valeur));
    sADMItem->SetNotifyProc(champ, notify);
    return champ;
}

void CreeMotEchelle(ADMDialogRef dialog, ASInt32 id, const ASRect& rect, const char* bulle) {
    const ADMItemRef mot = sADMDialog->CreateItem(dialog, id, kADMPicturePushButtonType, &rect, nullptr, nullptr, 0);
    sADMItem->SetDrawProc(mot, BidonDraw);
    sADMItem->SetTipString(mot, bulle);
    sADMItem->SetNotifyProc(mot, MotEchelleCBP);
}

void CreeBouton(ADMDialogRef dialog, ASInt32 id, const ASRect& rect, const char* texte, const char* bulle,
                ADMItemNotifyProc notify) {
    const ADMItemRef bouton = sADMDialog->CreateItem(dialog, id, kADMTextPushButtonType, &rect, nullptr, nullptr, 0);
    sADMItem->SetText(bouton, texte);
    sADMItem->SetTipString(bouton, bulle);
    sADMItem->SetNotifyProc(bouton, notify);
}

}  // namespace

ASInt32 PositionEchelle(double num, double den) {
    for (ASInt32 position = 0; position < static_cast<ASInt32>(kEntrees.size()); ++position) {
        const EntreeEchelle& entree = kEntrees[static_cast<std::size_t>(position)];
        if (entree.genre == Genre::Fixe && entree.num == num && entree.den == den) return position;
    }
    return kPositionPerso;
}

void TexteG(double valeur, char* out) {
    // to_chars keeps the period whatever locale the host runs in.
    const auto [fin, erreur] =
        std::to_chars(out, out + kTailleTexteG - 1, valeur, std::chars_format::general, kChiffresSignificatifs);
    *(erreur == std::errc() ? fin : out) = '\0';
}

void TexteEchellePerso(double num, double den, char* out) {
    if (num == 0.0) {
        std::strcpy(out, "\xC9/\xC9");
        return;
    }
    TexteG(num, out);
    std::strcat(out, "/");
    TexteG(den, out + std::strlen(out));
}

void ConstruitListeEchelles(ADMItemRef liste) {
    const ADMListRef entrees = ListeDe(liste);
    for (ASInt32 position = 0; position < static_cast<ASInt32>(kEntrees.size()); ++position) {
        const ADMEntryRef entree = sADMList->InsertEntry(entrees, position);
        if (kEntrees[static_cast<std::size_t>(position)].genre == Genre::Separateur) {
            sADMEntry->MakeSeparator(entree, true);
            continue;
        }
        sADMEntry->SetText(entree, kEntrees[static_cast<std::size_t>(position)].texte);
        sADMEntry->SetID(entree, position);
    }
    char texte[kTailleTextePerso];
    TexteEchellePerso(CurrentSettings().customNumerator, CurrentSettings().customDenominator, texte);
    const ADMEntryRef perso = sADMList->IndexEntry(entrees, kPositionPerso);
    sADMEntry->SetText(perso, texte);
    sADMEntry->Enable(perso, CurrentSettings().customNumerator != 0.0);
    CocheEchellePrefs(liste);
    sADMItem->SetNotifyProc(liste, EchellePrefsCBP);
    sADMItem->SetTipString(liste, kBulleListe);
}

void CocheEchellePrefs(ADMItemRef liste) {
    const ADMListRef entrees = ListeDe(liste);
    for (ASInt32 position = 0; position < static_cast<ASInt32>(kEntrees.size()); ++position)
        sADMEntry->Check(sADMList->IndexEntry(entrees, position), false);
    const ADMEntryRef marquee = sADMList->IndexEntry(entrees, PositionEchelle(EditedSettings().scaleNumerator, EditedSettings().scaleDenominator));
    sADMEntry->Check(marquee, true);
    sADMEntry->Select(marquee, true);
}

void EchellePrefsCBP(ADMItemRef item, ADMNotifierRef) {
    const ASInt32 position = PositionActive(item);
    if (position >= 0 && position < static_cast<ASInt32>(kEntrees.size())) {
        const EntreeEchelle& entree = kEntrees[static_cast<std::size_t>(position)];
        switch (entree.genre) {
            case Genre::Fixe:
                EditedSettings().scaleNumerator = entree.num;
                EditedSettings().scaleDenominator = entree.den;
                break;
            case Genre::ChoixPerso:
                OuvreEchellePerso(item);
                break;
            case Genre::Perso: {
                const ADMEntryRef perso = sADMList->IndexEntry(ListeDe(item), kPositionPerso);
                const Settings& live = CurrentSettings();
                if (live.customNumerator == 0.0) {
                    // No custom scale yet: the entry cannot be chosen.
                    sADMBasic->Beep();
                    sADMEntry->Enable(perso, false);
                } else {
                    EditedSettings().scaleNumerator = live.customNumerator;
                    EditedSettings().scaleDenominator = live.customDenominator;
                    sADMEntry->Enable(perso, true);
                }
                break;
            }
            case Genre::Separateur:
                break;
        }
    }
    // A separator, or a custom pair equal to a fixed one, puts the mark where it belongs.
    CocheEchellePrefs(item);
}

void EchellePrefsDraw(ADMItemRef, ADMDrawerRef drawer) {
    ASRect fond{};
    sADMDrawer->GetBoundsRect(drawer, &fond);
    sADMDrawer->ClearRect(drawer, &fond);
    sADMDrawer->SetADMColor(drawer, kADMBlackColor);
    sADMDrawer->SetFont(drawer, kADMSmallPaletteFont);
    const ASPoint point = PointTexte(0, 13);
    sADMDrawer->DrawText(drawer, kLabelListe, &point);
}

ASErr EchellePersoProc(ADMDialogRef dialog) {
    ModalDialogPlace& place = OrvanePlugIn::Current()->customScaleDialog();
    place.frame.bottom = static_cast<ASInt16>(place.frame.top + dialogues::kHauteurEchellePerso);
    place.frame.right = static_cast<ASInt16>(place.frame.left + dialogues::kLargeurEchellePerso);
    sADMDialog->SetBoundsRect(dialog, &place.frame);
    sADMDialog->SetText(dialog, kTitreEchellePerso);
    sADMDialog->SetDrawProc(dialog, EchelleDraw);
    sADMDialog->SetDestroyProc(dialog, FinEchellePerso);

    CreeChampEchelle(dialog, kItemNum, 20, CurrentSettings().customNumerator, NumEchellePersoCBP);
    CreeMotEchelle(dialog, kItemMotNum, RectItem(0, 14, 13, 22),
                   "Numerator of the customized scale (integer or decimal).");
    CreeChampEchelle(dialog, kItemDen, 124, CurrentSettings().customDenominator, DenEchellePersoCBP);
    CreeMotEchelle(dialog, kItemMotDen, RectItem(100, 14, 23, 22),
                   "Denominator of the customized scale (integer or decimal).");
    CreeBouton(dialog, kItemAnnuler, RectItem(10, 62, 68, 20), "Cancel", "No modification.", AnnulerEchellePersoCBP);
    CreeBouton(dialog, kItemOK, RectItem(131, 62, 58, 20), "OK", "Customized scale validation (Return).",
               OKEchellePersoCBP);
    sADMItem->Enable(sADMDialog->GetItem(dialog, kItemOK), true);

    place.open = true;
    return kNoErr;
}

void EchelleDraw(ADMDialogRef dialog, ADMDrawerRef drawer) {
    sADMDialog->DefaultDraw(dialog, drawer);

    const ASRect fondsLabels[] = {RectBords(5, 18, 17, 32), RectBords(92, 18, 96, 32), RectBords(110, 18, 120, 32)};
    for (const ASRect& fond : fondsLabels) sADMDrawer->ClearRect(drawer, &fond);
    const ASPoint n = PointTexte(6, 29);
    const ASPoint deuxPoints = PointTexte(92, 29);
    const ASPoint d = PointTexte(110, 29);
    sADMDrawer->DrawText(drawer, "N", &n);
    sADMDrawer->DrawText(drawer, ":", &deuxPoints);
    sADMDrawer->DrawText(drawer, "D", &d);

    const ASRect fondExemple = RectBords(10, 40, 200, 60);
    sADMDrawer->ClearRect(drawer, &fondExemple);
    // One millimetre shown in the labels is den/num millimetres on the page.
    char nombre[kTailleTexteG];
    TexteG(CurrentSettings().customDenominator / CurrentSettings().customNumerator, nombre);
    if (CurrentToolState().decimalSeparator == ',')
        if (char* point = std::strchr(nombre, '.')) *point = ',';
    char exemple[kTailleTexteG + 16] = "1 mm -> ";
    std::strcat(exemple, nombre);
    std::strcat(exemple, " mm");
    const ASPoint ligne = PointTexte(40, 54);
    sADMDrawer->DrawText(drawer, exemple, &ligne);
}

void NumEchellePersoCBP(ADMItemRef item, ADMNotifierRef notifier) {
    if (!sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) return;
    CurrentSettings().customNumerator = sADMItem->GetFloatValue(item);
    sADMDialog->Invalidate(sADMItem->GetDialog(item));
}

void DenEchellePersoCBP(ADMItemRef item, ADMNotifierRef notifier) {
    if (!sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) return;
    CurrentSettings().customDenominator = sADMItem->GetFloatValue(item);
    sADMDialog->Invalidate(sADMItem->GetDialog(item));
}

void MotEchelleCBP(ADMItemRef item, ADMNotifierRef) {
    const ASInt32 id = sADMItem->GetID(item);
    if (id == kItemMotNum) MotEchellePlusCBP(item, kItemNum);
    if (id == kItemMotDen) MotEchellePlusCBP(item, kItemDen);
}

void MotEchellePlusCBP(ADMItemRef item, ASInt32 id) {
    sADMItem->Activate(ItemVoisin(item, id), true);
}

void AnnulerEchellePersoCBP(ADMItemRef item, ADMNotifierRef notifier) {
    // The values typed stay in the custom pair; only the list's text waits for an OK.
    sADMItem->DefaultNotify(item, notifier);
    ModalDialogPlace& place = OrvanePlugIn::Current()->customScaleDialog();
    place.open = false;
    sADMDialog->GetBoundsRect(sADMItem->GetDialog(item), &place.frame);
}

void OKEchellePersoCBP(ADMItemRef item, ADMNotifierRef notifier) {
    const ADMEntryRef perso =
        sADMList->IndexEntry(ListeDe(sADMDialog->GetItem(OrvanePlugIn::Current()->preferencesDialog().dialog, kItemListe)),
                             kPositionPerso);
    sADMItem->DefaultNotify(item, notifier);
    ModalDialogPlace& place = OrvanePlugIn::Current()->customScaleDialog();
    sADMDialog->GetBoundsRect(sADMItem->GetDialog(item), &place.frame);

    char texte[kTailleTextePerso];
    const Settings& live = CurrentSettings();
    TexteEchellePerso(live.customNumerator, live.customDenominator, texte);
    sADMEntry->SetText(perso, texte);
    sAIPreference->PutRealPreference(settings::kPrefix, settings::kKeyCustomNumerator, live.customNumerator);
    sAIPreference->PutRealPreference(settings::kPrefix, settings::kKeyCustomDenominator, live.customDenominator);

    EditedSettings().scaleNumerator = live.customNumerator;
    EditedSettings().scaleDenominator = live.customDenominator;
    sADMEntry->Select(perso, true);
    place.open = false;
}

void BidonDraw(ADMItemRef, ADMDrawerRef) {}
