// The panel's notify procedures: a typed length or angle becomes the segment under
// construction, so that the rubber band shows it and the next click places it.
#include <cmath>

#include "ADMNotifier.h"
#include "Constraint.h"
#include "Dialogues.h"
#include "PlaneGeometry.h"
#include "OrvaneDialogue.h"
#include "OrvanePlugIn.h"
#include "OrvanePrefs.h"
#include "OrvaneSuites.h"
#include "Settings.h"

namespace {

// The panel menu's entries, by position.
constexpr ASInt32 kEntreePreferences = 0;
constexpr ASInt32 kEntreeAide = 2;

/// The smallest angle the angle field, with its two decimals, shows as 360 degrees.
constexpr AIReal kTourAffiche = 359.995f;

/// The typed angle with the current length.
void PrendAngleTape(ADMDialogRef dialog, ToolState& state) {
    const AIReal degres = sADMItem->GetFloatValue(sADMDialog->GetItem(dialog, panneau::kItemAngle));
    const AngleDuPanneau angle = AngleTape(state.previousDirection, degres);
    state.shownAngle = angle.angleRelatif;
    state.direction = angle.angleDeLaLigne;
    state.segmentEnd = SegmentEnd(state.lastPoint, state.segmentLength, state.direction);
}

/// Opens or closes the help area below the strip; the entry's text tells which is next.
void BasculeAide(ADMEntryRef entree) {
    char texte[16] = "";
    sADMEntry->GetText(entree, texte, sizeof texte);
    ASRect rect{};
    const ADMDialogRef panneau = OrvanePlugIn::Current()->panelDialog();
    sADMDialog->GetBoundsRect(panneau, &rect);
    const bool aideMontree = texte[0] == panneau::kCacherAide[0];
    sADMEntry->SetText(entree, aideMontree ? panneau::kMontrerAide : panneau::kCacherAide);
    const ASInt32 hauteur = aideMontree ? panneau::kHauteurBandeau : panneau::kHauteurAvecAide;
    rect.bottom = static_cast<ASInt16>(rect.top + hauteur);
    sADMDialog->SetBoundsRect(panneau, &rect);
}

}  // namespace

AngleDuPanneau AngleTape(AIReal angleAncien, AIReal degres) {
    AngleDuPanneau angle{};
    angle.angleRelatif = DegreesToRadians(degres);
    // 180 degrees goes straight on: the turn is measured from the reversed last segment.
    angle.angleDeLaLigne = (angleAncien - angle.angleRelatif) - geometry::kPi;
    // Only the label folds; a negative angle keeps its sign there.
    if (angle.angleRelatif > geometry::kPi) angle.angleRelatif = std::fabs(geometry::kTwoPi - angle.angleRelatif);
    return angle;
}

AIReal AngleARetaper(AIReal angleAncien, AIReal angleDeLaLigne) {
    // AngleTape turns by the typed angle plus a half turn. A whole turn, or what the field
    // would show as one, doubles back: 0.
    const AIReal degres = RadiansToDegrees(WithinOneTurn(angleAncien - angleDeLaLigne)) + 180.0f;
    return degres < kTourAffiche ? degres : 0.0f;
}

void PrendValeursTapees(ADMDialogRef dialog, ToolState& state, double scale) {
    const float longueur = sADMItem->GetFloatValue(sADMDialog->GetItem(dialog, panneau::kItemLongueur));
    // The field holds the length at the drawing scale; the page holds it divided.
    state.segmentLength = static_cast<double>(longueur) / scale;
    PrendAngleTape(dialog, state);
}

void ReveillePanneauCBP(ADMItemRef, ADMNotifierRef notifier) {
    if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) sAITool->SetSelectedTool(OrvanePlugIn::Current()->toolHandle());
}

void MotCBP(ADMItemRef item, ADMNotifierRef) {
    switch (sADMItem->GetID(item)) {
        case panneau::kItemMotLongueur:
            MotPlusCBP(item, panneau::kItemLongueur);
            break;
        case panneau::kItemMotAngle:
            MotPlusCBP(item, panneau::kItemAngle);
            break;
        default:
            break;
    }
}

void MotPlusCBP(ADMItemRef item, ASInt32 cible) {
    sADMItem->Activate(sADMDialog->GetItem(sADMItem->GetDialog(item), cible), true);
}

void LongueurCBP(ADMItemRef item, ADMNotifierRef notifier) {
    // The length is taken with the angle when the panel hears of the new text.
    sADMItem->DefaultNotify(item, notifier);
}

void AngleCBP(ADMItemRef item, ADMNotifierRef notifier) {
    sADMItem->DefaultNotify(item, notifier);
    PrendAngleTape(sADMItem->GetDialog(item), CurrentToolState());
}

void MenuCBP(ADMItemRef item, ADMNotifierRef notifier) {
    if (!sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) return;
    sADMItem->DefaultNotify(item, notifier);
    ADMListRef liste = sADMItem->GetList(item);
    ADMEntryRef choisie = sADMList->GetActiveEntry(liste);
    if (!choisie) return;
    const ASInt32 position = sADMEntry->GetIndex(choisie);
    if (position == kEntreePreferences) {
        OuvreDialoguePrefs();
    } else if (position == kEntreeAide) {
        // The entries' IDs follow their positions from 1.
        if (ADMEntryRef entree = sADMList->FindEntry(liste, position + 1)) BasculeAide(entree);
    }
}
