// The panel's notify procedures: a typed length or angle becomes the segment under
// construction, so that the rubber band shows it and the next click places it.
#include <cmath>

#include "ADMNotifier.h"
#include "Constraint.h"
#include "ModalDialogs.h"
#include "OrvanePlugIn.h"
#include "OrvaneSuites.h"
#include "Panel.h"
#include "PlaneGeometry.h"
#include "PreferencesDialog.h"
#include "Settings.h"

namespace {

// The panel menu's entries, by position.
constexpr ASInt32 kPreferencesEntry = 0;
constexpr ASInt32 kHelpEntry = 2;

constexpr AIReal kDegreesPerTurn = 360.0f;
constexpr AIReal kDegreesPerHalfTurn = 180.0f;

/// The smallest angle the angle field, with its two decimals, shows as 360 degrees.
constexpr AIReal kShownFullTurn = 359.995f;

/// The typed angle with the current length.
void TakeTypedAngle(ADMDialogRef dialog, ToolState& state) {
    const AIReal degrees = sADMItem->GetFloatValue(sADMDialog->GetItem(dialog, panelLayout::kAngleItem));
    const TypedAngle angle = TypedAngleToDirection(state.previousDirection, degrees);
    state.shownAngle = angle.shownAngle;
    state.direction = angle.direction;
    state.segmentEnd = SegmentEnd(state.lastPoint, state.segmentLength, state.direction);
}

/// Opens or closes the help area below the strip; the entry's text tells which is next.
void ToggleHelp(ADMEntryRef entry) {
    char text[16] = "";
    sADMEntry->GetText(entry, text, sizeof text);
    ASRect rect{};
    const ADMDialogRef dialog = OrvanePlugIn::Current()->panelDialog();
    sADMDialog->GetBoundsRect(dialog, &rect);
    const bool helpShown = text[0] == panelLayout::kHideHelp[0];
    sADMEntry->SetText(entry, helpShown ? panelLayout::kShowHelp : panelLayout::kHideHelp);
    const ASInt32 height = helpShown ? panelLayout::kStripHeight : panelLayout::kHeightWithHelp;
    rect.bottom = static_cast<ASInt16>(rect.top + height);
    sADMDialog->SetBoundsRect(dialog, &rect);
}

}  // namespace

TypedAngle TypedAngleToDirection(AIReal previousDirection, AIReal degrees) {
    // Whole turns come off the typed angle exactly, so that 720 turns the segment as precisely as 0 does.
    const AIReal withinTurn = std::fmod(degrees, kDegreesPerTurn);
    // 180 degrees goes straight on: the turn is measured from the reversed last segment.
    const AIReal direction = (previousDirection - DegreesToRadians(withinTurn)) - geometry::kPi;

    // The label reads what the same segment reads when drawn, 0 doubling back to 180 straight on; a turn
    // to the right typed as a negative angle keeps its sign.
    AIReal shown = withinTurn;
    if (shown <= -kDegreesPerHalfTurn) {
        shown += kDegreesPerTurn;
    } else if (shown > kDegreesPerHalfTurn) {
        shown = kDegreesPerTurn - shown;
    }
    return {DegreesToRadians(shown), direction};
}

AIReal AngleToRetype(AIReal previousDirection, AIReal direction) {
    // TypedAngleToDirection turns by the typed angle plus a half turn. A whole turn, or what the field
    // would show as one, doubles back: 0.
    const AIReal degrees = RadiansToDegrees(WithinOneTurn(previousDirection - direction)) + 180.0f;
    return degrees < kShownFullTurn ? degrees : 0.0f;
}

void TakeTypedSegment(ADMDialogRef dialog, ToolState& state, double scale) {
    const float length = sADMItem->GetFloatValue(sADMDialog->GetItem(dialog, panelLayout::kLengthItem));
    // The field holds the length at the drawing scale; the page holds it divided.
    state.segmentLength = static_cast<double>(length) / scale;
    TakeTypedAngle(dialog, state);
}

void WakePanelClicked(ADMItemRef, ADMNotifierRef notifier) {
    if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier))
        sAITool->SetSelectedTool(OrvanePlugIn::Current()->toolHandle());
}

void LengthFieldChanged(ADMItemRef item, ADMNotifierRef notifier) {
    // The length is taken with the angle when the panel hears of the new text.
    sADMItem->DefaultNotify(item, notifier);
}

void AngleFieldChanged(ADMItemRef item, ADMNotifierRef notifier) {
    sADMItem->DefaultNotify(item, notifier);
    TakeTypedAngle(sADMItem->GetDialog(item), CurrentToolState());
}

void PanelMenuChosen(ADMItemRef item, ADMNotifierRef notifier) {
    if (!sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) return;
    sADMItem->DefaultNotify(item, notifier);
    ADMListRef list = sADMItem->GetList(item);
    ADMEntryRef chosen = sADMList->GetActiveEntry(list);
    if (!chosen) return;
    const ASInt32 position = sADMEntry->GetIndex(chosen);
    if (position == kPreferencesEntry) {
        OpenPreferencesDialog();
    } else if (position == kHelpEntry) {
        // The entries' IDs follow their positions from 1.
        if (ADMEntryRef entry = sADMList->FindEntry(list, position + 1)) ToggleHelp(entry);
    }
}
