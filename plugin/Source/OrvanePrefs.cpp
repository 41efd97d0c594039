#include "OrvanePrefs.h"

#include <algorithm>
#include <array>

#include "Dialogues.h"
#include "Echelle.h"
#include "OrvaneDialogue.h"
#include "OrvanePlugIn.h"
#include "OrvaneSuites.h"
#include "RectDialogue.h"
#include "Settings.h"

using namespace settings;

namespace {

constexpr const char* kTitrePrefs = "Preferences (Tesk\xA5Orvane).";  // 0xA5: the bullet in Mac OS Roman

constexpr ASInt32 kItemOK = 1;
constexpr ASInt32 kItemAnnuler = 2;
constexpr ASInt32 kItemDefaut = 3;
constexpr ASInt32 kItemTaille = 4;
constexpr ASInt32 kItemDessinTaille = 5;
constexpr ASInt32 kItemPrecision = 6;
constexpr ASInt32 kItemDessinPrecision = 7;
constexpr ASInt32 kItemLabelEchelle = 9;
constexpr ASInt32 kItemShiftAlt = 10;
constexpr ASInt32 kItemAngle = 11;
constexpr ASInt32 kItemMotAngle = 12;
constexpr ASInt32 kItemLongueur = 13;
constexpr ASInt32 kItemMotLongueur = 14;

constexpr ASInt32 kIconeLongueur = 1003;
constexpr ASInt32 kIconeAngle = 1004;
constexpr ASPoint kPlaceIconeLongueur = {52, 10};
constexpr ASPoint kPlaceIconeAngle = {52, 157};
constexpr ASInt32 kCurseurGlisse = 1100;

constexpr double kPointsParMillimetre = 72.0 / 25.4;
constexpr ASInt32 kNombrePresets = 10;
/// Characters of a preset's text ("10 mm").
constexpr ASInt32 kCaracteresPreset = 5;
constexpr float kPetitPasLongueur = static_cast<float>(kPointsParMillimetre);
constexpr float kGrandPasLongueur = static_cast<float>(5 * kPointsParMillimetre);
constexpr float kPetitPasAngle = 1.0f;
constexpr float kGrandPasAngle = 5.0f;

// The precision picture, 24 pixels wide: an integer digit, the separator, six decimals.
constexpr ASInt16 kLargeurDessinPrecision = 24;
constexpr ASInt32 kBarresPrecision = 6;

constexpr const char* kTextesTaille[] = {"Small", "Medium", "Large"};
struct EchantillonTaille {
    ASRect cadre;
    ASInt32 police;
};
constexpr std::array<EchantillonTaille, 3> kEchantillons = {{
    {RectBords(16, 7, 66, 19), kADMPaletteFont},
    {RectBords(10, 5, 66, 21), kADMSmallPaletteFont},
    {RectBords(0, 2, 68, 24), kADMDialogFont},
}};
constexpr const char* kTexteEchantillon = "L = 8mm";

ADMItemRef ItemVoisin(ADMItemRef item, ASInt32 id) {
    return sADMDialog->GetItem(sADMItem->GetDialog(item), id);
}

bool EstUnChangement(ADMNotifierRef notifier) {
    return sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier);
}

/// However the run ends, the dialog can be opened again and no reference to it is kept.
void FinPrefs(ADMDialogRef) {
    PreferencesDialogState& prefs = OrvanePlugIn::Current()->preferencesDialog();
    prefs.place.open = false;
    prefs.dialog = nullptr;
}

ADMItemRef CreeItem(ADMDialogRef dialog, ASInt32 id, const char* type, const ASRect& rect, const char* bulle) {
    const ADMItemRef item = sADMDialog->CreateItem(dialog, id, type, &rect, nullptr, nullptr, 0);
    if (bulle) sADMItem->SetTipString(item, bulle);
    return item;
}

/// A constraint step: a field with a minimum of 0 and ten presets, 1 to 10 units.
ADMItemRef CreeChampContrainte(ADMDialogRef dialog, ASInt32 id, const ASRect& rect, const char* bulle, ADMUnits unites,
                               double unite, float petitPas, float grandPas, double valeur, ADMItemNotifyProc notify) {
    const ADMItemRef champ = CreeItem(dialog, id, kADMSpinEditPopupType, rect, bulle);
    sADMItem->SetUnits(champ, unites);
    sADMItem->SetMinFloatValue(champ, 0.0f);
    sADMItem->SetSmallIncrement(champ, petitPas);
    sADMItem->SetLargeIncrement(champ, grandPas);
    sADMItem->SetHasRollOverProperty(champ, true);
    const ADMListRef presets = sADMItem->GetList(champ);
    for (ASInt32 i = 0; i < kNombrePresets; ++i) {
        char texte[kCaracteresPreset + 1];
        sADMBasic->ValueToText(static_cast<float>((i + 1) * unite), texte, sizeof texte, unites, 0, true);
        const ADMEntryRef entree = sADMList->InsertEntry(presets, i);
        sADMEntry->SetText(entree, texte);
        sADMEntry->SetID(entree, i);
    }
    sADMItem->SetFloatValue(champ, static_cast<float>(valeur));
    sADMItem->SetNotifyProc(champ, notify);
    return champ;
}

ADMItemRef CreeMot(ADMDialogRef dialog, ASInt32 id, const ASRect& rect, const char* bulle) {
    const ADMItemRef mot = CreeItem(dialog, id, kADMPicturePushButtonType, rect, bulle);
    sADMItem->SetDrawProc(mot, BidonPrefsDraw);
    sADMItem->SetNotifyProc(mot, MotPrefsCBP);
    return mot;
}

ADMItemRef CreeBouton(ADMDialogRef dialog, ASInt32 id, const ASRect& rect, const char* texte, const char* bulle,
                      ADMItemNotifyProc notify) {
    const ADMItemRef bouton = CreeItem(dialog, id, kADMTextPushButtonType, rect, bulle);
    sADMItem->SetText(bouton, texte);
    sADMItem->SetNotifyProc(bouton, notify);
    return bouton;
}

void DessineIcone(ADMDialogRef dialog, ADMDrawerRef drawer, ASInt32 id, const ASPoint& place) {
    const ADMIconRef icone = sADMIcon->GetFromResource(sADMDialog->GetPluginRef(dialog), nullptr, id, 0);
    sADMDrawer->DrawIcon(drawer, icone, &place);
    sADMIcon->Destroy(icone);
}

/// The length step as the dialog gives it back: the field holds points.
double MillimetresFromField(double points) {
    return points * kMillimetresPerPoint;
}

void FermePrefs(ADMItemRef item) {
    ModalDialogPlace& place = OrvanePlugIn::Current()->preferencesDialog().place;
    sADMDialog->GetBoundsRect(sADMItem->GetDialog(item), &place.frame);
    place.open = false;
}

}  // namespace

void OuvreDialoguePrefs() {
    OrvanePlugIn& plugIn = *OrvanePlugIn::Current();
    if (plugIn.preferencesDialog().place.open) return;
    sADMDialog->Modal(sADMDialog->GetPluginRef(plugIn.panelDialog()), dialogues::kNomModal, dialogues::kIdPrefs,
                      kADMModalDialogStyle, ValeursDefautProcPrefs, nullptr, 0);
}

ASInt32 PrecisionApresGlisse(ASInt32 precision, ASInt16 precedent, ASInt16 h) {
    if ((precedent - h) * h > 0)
        --precision;
    else
        ++precision;
    return std::clamp(precision, 0, kMaximumPrecision);
}

ASErr ValeursDefautProcPrefs(ADMDialogRef dialog) {
    PreferencesDialogState& prefs = OrvanePlugIn::Current()->preferencesDialog();
    prefs.dialog = dialog;
    ASRect& cadre = prefs.place.frame;
    cadre.bottom = static_cast<ASInt16>(cadre.top + dialogues::kHauteurPrefs);
    cadre.right = static_cast<ASInt16>(cadre.left + dialogues::kLargeurPrefs);
    sADMDialog->SetBoundsRect(dialog, &cadre);
    sADMDialog->SetText(dialog, kTitrePrefs);
    sADMDialog->SetDrawProc(dialog, PrefsDraw);
    sADMDialog->SetDestroyProc(dialog, FinPrefs);

    constexpr const char* kBullePrecision = "Number of decimal places for the annotations (from 0 to 6).";
    Settings& edited = prefs.edited;
    edited = CurrentSettings();
    const ADMItemRef precision =
        CreeItem(dialog, kItemPrecision, kADMSpinEditType, RectItem(40, 20, 32, 22), kBullePrecision);
    sADMItem->SetUnits(precision, kADMNoUnits);
    sADMItem->SetMinIntValue(precision, 0);
    sADMItem->SetMaxIntValue(precision, kMaximumPrecision);
    sADMItem->SetSmallIncrement(precision, 1.0f);
    sADMItem->SetIntValue(precision, edited.precision);
    sADMItem->SetNotifyProc(precision, PrecisionPrefsCBP);

    const ADMItemRef dessinPrecision = CreeItem(dialog, kItemDessinPrecision, kADMPicturePushButtonType,
                                                RectItem(10, 23, kLargeurDessinPrecision, 22), kBullePrecision);
    sADMItem->SetDrawProc(dessinPrecision, PrecisionPrefsDraw);
    sADMItem->SetTrackProc(dessinPrecision, PrecisionPrefsTrackProc);
    sADMItem->SetMask(dessinPrecision, kADMDragTrackMask);

    ConstruitListeEchelles(
        CreeItem(dialog, echelle::kItemListe, kADMPopupListType, RectItem(185, 21, 80, 20), nullptr));
    const ADMItemRef label =
        CreeItem(dialog, kItemLabelEchelle, kADMTextStaticType, RectItem(156, 22, 24, 22), "Scale of the drawing.");
    sADMItem->SetText(label, "Sca.");
    sADMItem->SetDrawProc(label, EchellePrefsDraw);

    constexpr const char* kBulleLongueur = "With the ALT key, the length will be a multiple of that number.";
    const double pointsLongueur = edited.lengthStep / kMillimetresPerPoint;
    edited.lengthStep = MillimetresFromField(pointsLongueur);
    CreeChampContrainte(dialog, kItemLongueur, RectItem(40, 52, 80, 22), kBulleLongueur, kADMMillimeterUnits,
                        kPointsParMillimetre, kPetitPasLongueur, kGrandPasLongueur, pointsLongueur,
                        ContrainteLongueurCBP);
    CreeMot(dialog, kItemMotLongueur, RectItem(12, 52, 22, 22), kBulleLongueur);

    constexpr const char* kBulleAngle = "With the SHIFT key, the angle will be multiple of this number.";
    CreeChampContrainte(dialog, kItemAngle, RectItem(185, 52, 80, 22), kBulleAngle, kADMDegreeUnits, 1.0,
                        kPetitPasAngle, kGrandPasAngle, edited.angleStep, ContrainteAngleCBP);
    CreeMot(dialog, kItemMotAngle, RectItem(157, 52, 22, 22), kBulleAngle);

    const ADMItemRef shiftAlt = CreeItem(dialog, kItemShiftAlt, kADMTextCheckBoxType, RectItem(10, 88, 100, 16),
                                         "Inverse the functioning of Shift and Alt keys.");
    sADMItem->SetText(shiftAlt, "Shift & Alt");
    sADMItem->SetBooleanValue(shiftAlt, edited.swapShiftAlt);
    sADMItem->SetNotifyProc(shiftAlt, ShiftAltPrefsCBP);

    constexpr const char* kBulleTaille = "Size of the annotations.";
    const ADMItemRef taille = CreeItem(dialog, kItemTaille, kADMPopupListType, RectItem(185, 86, 80, 20), kBulleTaille);
    const ADMListRef tailles = sADMItem->GetList(taille);
    for (ASInt32 i = 0; i <= kMaximumLabelSize; ++i) {
        const ADMEntryRef entree = sADMList->InsertEntry(tailles, i);
        sADMEntry->SetText(entree, kTextesTaille[i]);
        sADMEntry->SetID(entree, i);
    }
    sADMEntry->Select(sADMList->IndexEntry(tailles, edited.labelSize), true);
    sADMItem->SetNotifyProc(taille, TailleTexteAnnotationsPrefsCBP);
    const ADMItemRef echantillon =
        CreeItem(dialog, kItemDessinTaille, kADMPicturePushButtonType, RectItem(113, 84, 68, 28), kBulleTaille);
    sADMItem->SetDrawProc(echantillon, DessinTailleTexteAnnotationsDraw);

    CreeBouton(dialog, kItemAnnuler, RectItem(10, 144, 68, 20), "Cancel", "No modification.", AnnulerPrefsCBP);
    CreeBouton(dialog, kItemDefaut, RectItem(100, 144, 82, 20), "Default", "Back to the default settings.",
               ParDefautPrefsCBP);
    const ADMItemRef ok = CreeBouton(dialog, kItemOK, RectItem(207, 144, 58, 20), "OK",
                                     "Validation of the new default settings", OKPrefsCBP);
    sADMItem->Enable(ok, true);

    prefs.place.open = true;
    return kNoErr;
}

void PrefsDraw(ADMDialogRef dialog, ADMDrawerRef drawer) {
    sADMDialog->DefaultDraw(dialog, drawer);
    DessineIcone(dialog, drawer, kIconeLongueur, kPlaceIconeLongueur);
    DessineIcone(dialog, drawer, kIconeAngle, kPlaceIconeAngle);
}

void BidonPrefsDraw(ADMItemRef, ADMDrawerRef) {}

void PrecisionPrefsDraw(ADMItemRef, ADMDrawerRef drawer) {
    const auto remplit = [drawer](const ASRect& rect) { sADMDrawer->FillRect(drawer, &rect); };

    sADMDrawer->SetADMColor(drawer, kADMHiliteColor);
    remplit(RectBords(0, 5, 2, 11));
    if (CurrentToolState().decimalSeparator == ',') {
        sADMDrawer->SetADMColor(drawer, kADMBlackColor);
        remplit(RectBords(3, 12, 4, 13));
        remplit(RectBords(4, 11, 5, 12));
        remplit(RectBords(3, 9, 5, 11));
    } else {
        const ASRect place = RectBords(3, 9, 5, 13);
        sADMDrawer->ClearRect(drawer, &place);
        sADMDrawer->SetADMColor(drawer, kADMBlackColor);
        remplit(RectBords(3, 9, 5, 11));
    }
    for (ASInt32 i = 0; i < kBarresPrecision; ++i) {
        sADMDrawer->SetADMColor(drawer, i < EditedSettings().precision ? kADMHiliteColor : kADMShadowColor);
        const auto gauche = static_cast<ASInt16>(6 + 3 * i);
        remplit(RectBords(gauche, 5, static_cast<ASInt16>(gauche + 2), 11));
    }
}

ASBoolean PrecisionPrefsTrackProc(ADMItemRef item, ADMTrackerRef tracker) {
    ASPoint point{};
    sADMTracker->GetPoint(tracker, &point);
    if (point.h < 0 || point.h > kLargeurDessinPrecision) return sADMItem->DefaultTrack(item, tracker);

    const ADMDialogRef dialog = sADMItem->GetDialog(item);
    sADMBasic->SetPlatformCursor(sADMDialog->GetPluginRef(dialog), kCurseurGlisse);
    if (sADMTracker->GetMouseState(tracker) == kADMMouseDown) {
        PreferencesDialogState& prefs = OrvanePlugIn::Current()->preferencesDialog();
        prefs.edited.precision = PrecisionApresGlisse(prefs.edited.precision, prefs.lastTrackPoint.h, point.h);
        prefs.lastTrackPoint.h = point.h;
        const ADMItemRef champ = sADMDialog->GetItem(dialog, kItemPrecision);
        sADMItem->SetIntValue(champ, prefs.edited.precision);
        sADMItem->Invalidate(item);
        sADMItem->Activate(champ, true);
    }
    return sADMItem->DefaultTrack(item, tracker);
}

void DessinTailleTexteAnnotationsDraw(ADMItemRef, ADMDrawerRef drawer) {
    ASRect fond{};
    sADMDrawer->GetBoundsRect(drawer, &fond);
    sADMDrawer->ClearRect(drawer, &fond);
    const EchantillonTaille& echantillon =
        kEchantillons[static_cast<std::size_t>(std::clamp(EditedSettings().labelSize, 0, kMaximumLabelSize))];
    sADMDrawer->SetFont(drawer, echantillon.police);
    sADMDrawer->SetADMColor(drawer, kADMWhiteColor);
    sADMDrawer->FillRect(drawer, &echantillon.cadre);
    sADMDrawer->SetADMColor(drawer, kADMBlackColor);
    sADMDrawer->FrameRect(drawer, &echantillon.cadre);
    sADMDrawer->DrawTextCentered(drawer, kTexteEchantillon, &echantillon.cadre);
}

void PrecisionPrefsCBP(ADMItemRef item, ADMNotifierRef notifier) {
    if (!EstUnChangement(notifier)) return;
    EditedSettings().precision = sADMItem->GetIntValue(item);
    sADMItem->Invalidate(ItemVoisin(item, kItemDessinPrecision));
}

void ContrainteLongueurCBP(ADMItemRef item, ADMNotifierRef notifier) {
    if (EstUnChangement(notifier)) EditedSettings().lengthStep = MillimetresFromField(sADMItem->GetFloatValue(item));
}

void ContrainteAngleCBP(ADMItemRef item, ADMNotifierRef notifier) {
    if (EstUnChangement(notifier)) EditedSettings().angleStep = sADMItem->GetFloatValue(item);
}

void ShiftAltPrefsCBP(ADMItemRef, ADMNotifierRef notifier) {
    if (EstUnChangement(notifier)) EditedSettings().swapShiftAlt = !EditedSettings().swapShiftAlt;
}

void TailleTexteAnnotationsPrefsCBP(ADMItemRef item, ADMNotifierRef notifier) {
    if (!EstUnChangement(notifier)) return;
    const ADMEntryRef entree = sADMList->GetActiveEntry(sADMItem->GetList(item));
    if (!entree) return;
    EditedSettings().labelSize = sADMEntry->GetIndex(entree);
    sADMItem->Invalidate(ItemVoisin(item, kItemDessinTaille));
}

void MotPrefsCBP(ADMItemRef item, ADMNotifierRef) {
    const ASInt32 id = sADMItem->GetID(item);
    if (id == kItemMotLongueur) MotPrefsPlusCBP(item, kItemLongueur);
    if (id == kItemMotAngle) MotPrefsPlusCBP(item, kItemAngle);
}

void MotPrefsPlusCBP(ADMItemRef item, ASInt32 id) {
    sADMItem->Activate(ItemVoisin(item, id), true);
}

void OKPrefsCBP(ADMItemRef item, ADMNotifierRef notifier) {
    if (!EstUnChangement(notifier)) return;
    sADMItem->DefaultNotify(item, notifier);

    Settings& live = CurrentSettings();
    Settings applied = EditedSettings();
    // The panel's visibility is not the dialog's, and the custom scale is stored by its own
    // dialog as soon as it is defined.
    applied.panelVisible = live.panelVisible;
    applied.customNumerator = live.customNumerator;
    applied.customDenominator = live.customDenominator;
    live = applied;

    sAIPreference->PutIntegerPreference(kPrefix, kKeyLabelSize, live.labelSize);
    sAIPreference->PutIntegerPreference(kPrefix, kKeyPrecision, live.precision);
    sAIPreference->PutRealPreference(kPrefix, kKeyScaleNumerator, live.scaleNumerator);
    sAIPreference->PutRealPreference(kPrefix, kKeyScaleDenominator, live.scaleDenominator);
    sADMItem->Show(sADMDialog->GetItem(OrvanePlugIn::Current()->panelDialog(), panneau::kItemIndicateurEchelle),
                   live.scale() != 1.0);
    sAIPreference->PutBooleanPreference(kPrefix, kKeySwapShiftAlt, live.swapShiftAlt);
    sAIPreference->PutRealPreference(kPrefix, kKeyLengthStep, live.lengthStep);
    sAIPreference->PutRealPreference(kPrefix, kKeyAngleStep, live.angleStep);

    FermePrefs(item);
}

void AnnulerPrefsCBP(ADMItemRef item, ADMNotifierRef notifier) {
    if (!EstUnChangement(notifier)) return;
    sADMItem->DefaultNotify(item, notifier);
    FermePrefs(item);
}

void ParDefautPrefsCBP(ADMItemRef item, ADMNotifierRef) {
    Settings& edited = EditedSettings();
    edited.precision = kDefaultPrecision;
    sADMItem->SetIntValue(ItemVoisin(item, kItemPrecision), edited.precision);
    sADMItem->Invalidate(ItemVoisin(item, kItemDessinPrecision));

    edited.labelSize = kDefaultLabelSize;
    sADMEntry->Select(sADMList->IndexEntry(sADMItem->GetList(ItemVoisin(item, kItemTaille)), 0), true);
    sADMItem->Invalidate(ItemVoisin(item, kItemDessinTaille));

    edited.scaleNumerator = kDefaultScale;
    edited.scaleDenominator = kDefaultScale;
    CocheEchellePrefs(ItemVoisin(item, echelle::kItemListe));

    const double pointsLongueur = kDefaultLengthStep / kMillimetresPerPoint;
    edited.lengthStep = MillimetresFromField(pointsLongueur);
    sADMItem->SetFloatValue(ItemVoisin(item, kItemLongueur), static_cast<float>(pointsLongueur));
    edited.angleStep = kDefaultAngleStep;
    sADMItem->SetFloatValue(ItemVoisin(item, kItemAngle), static_cast<float>(edited.angleStep));

    edited.swapShiftAlt = false;
    sADMItem->SetBooleanValue(ItemVoisin(item, kItemShiftAlt), edited.swapShiftAlt);
}
