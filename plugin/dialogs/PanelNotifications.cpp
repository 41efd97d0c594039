// The panel's notify procedures: a typed length or angle becomes the segment under
// construction, so that the rubber band shows it and the next click places it.
#include "ADMNotifier.h"
#include "DialogItems.h"
#include "Help.h"
#include "OrvaneSuites.h"
#include "Panel.h"
#include "PreferencesDialog.h"

namespace {

// The panel menu's entries, by position.
constexpr ASInt32 kPreferencesEntry = 0;
constexpr ASInt32 kHelpEntry = 2;

}  // namespace

Panel& Panel::Of(ADMDialogRef dialog) {
    return *static_cast<Panel*>(static_cast<BaseADMDialog*>(sADMDialog->GetUserData(dialog)));
}

Panel& Panel::OfItem(ADMItemRef item) {
    return Of(sADMItem->GetDialog(item));
}

void Panel::PanelNotified(ADMDialogRef dialog, ADMNotifierRef notifier) {
    sADMDialog->DefaultNotify(dialog, notifier);
    Panel& panel = Of(dialog);
    if (sADMNotifier->IsNotifierType(notifier, kADMHideWindowNotifier))
        panel.fSettings.panelVisible = false;
    else if (sADMNotifier->IsNotifierType(notifier, kADMShowWindowNotifier))
        panel.fSettings.panelVisible = true;
    else if (sADMNotifier->IsNotifierType(notifier, kADMTextSelectionChangeNotifier))
        panel.fTool.takeTypedSegment(panel.TypedSegmentInFields(), panel.fSettings);
}

void Panel::WakeClicked(ADMItemRef item, ADMNotifierRef notifier) {
    if (IsUserChange(notifier)) sAITool->SetSelectedTool(OfItem(item).fToolHandle);
}

void Panel::LengthFieldChanged(ADMItemRef item, ADMNotifierRef notifier) {
    // The length is taken with the angle when the panel hears of the new text.
    sADMItem->DefaultNotify(item, notifier);
}

void Panel::AngleFieldChanged(ADMItemRef item, ADMNotifierRef notifier) {
    sADMItem->DefaultNotify(item, notifier);
    const Panel& panel = OfItem(item);
    panel.fTool.takeTypedSegment(panel.TypedSegmentInFields(), panel.fSettings);
}

void Panel::MenuChosen(ADMItemRef item, ADMNotifierRef notifier) {
    if (!IsUserChange(notifier)) return;
    sADMItem->DefaultNotify(item, notifier);
    ADMListRef list = sADMItem->GetList(item);
    ADMEntryRef chosen = sADMList->GetActiveEntry(list);
    if (!chosen) return;
    const Panel& panel = OfItem(item);
    const ASInt32 position = sADMEntry->GetIndex(chosen);
    if (position == kPreferencesEntry) {
        panel.fPreferences.open(panel.fBuilt);
    } else if (position == kHelpEntry) {
        // The entries' IDs follow their positions from 1.
        if (ADMEntryRef entry = sADMList->FindEntry(list, position + 1)) panel.toggleHelp(entry);
    }
}

void Panel::PreviousPageClicked(ADMItemRef item, ADMNotifierRef notifier) {
    PreviousHelpPage(item, notifier, OfItem(item).fHelpPage);
}

void Panel::NextPageClicked(ADMItemRef item, ADMNotifierRef notifier) {
    NextHelpPage(item, notifier, OfItem(item).fHelpPage);
}

void Panel::toggleHelp(ADMEntryRef entry) const {
    char text[16] = "";
    sADMEntry->GetText(entry, text, sizeof text);
    ASRect rect{};
    sADMDialog->GetBoundsRect(fBuilt, &rect);
    const bool helpShown = text[0] == panelLayout::kHideHelp[0];
    sADMEntry->SetText(entry, helpShown ? panelLayout::kShowHelp : panelLayout::kHideHelp);
    const ASInt32 height = helpShown ? panelLayout::kStripHeight : panelLayout::kHeightWithHelp;
    rect.bottom = static_cast<ASInt16>(rect.top + height);
    sADMDialog->SetBoundsRect(fBuilt, &rect);
}
