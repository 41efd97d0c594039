#include "CustomScaleDialog.h"

#include <cstring>

#include "DialogItems.h"
#include "OrvaneSuites.h"
#include "ScaleList.h"
#include "ScalePositions.h"

namespace {

constexpr const char* kTitle = "Customized scale.";
constexpr ASInt32 kOKItem = 1;
constexpr ASInt32 kCancelItem = 2;
constexpr ASInt32 kNumeratorItem = 10;
constexpr ASInt32 kNumeratorLabelItem = 11;
constexpr ASInt32 kDenominatorItem = 12;
constexpr ASInt32 kDenominatorLabelItem = 13;
// A field label's field is the item before it.
static_assert(kNumeratorLabelItem == kNumeratorItem + 1 && kDenominatorLabelItem == kDenominatorItem + 1);
constexpr float kSmallestCustomScale = 0.0001f;
constexpr float kSmallCustomScaleStep = 0.1f;
constexpr float kLargeCustomScaleStep = 1.0f;
constexpr ASInt32 kCustomScaleDecimals = 6;

ADMItemRef CreateScaleField(ADMDialogRef dialog, ASInt32 id, ASInt16 left, double value, ADMItemNotifyProc notify) {
    const ASRect rect = ItemRect(left, 14, 64, 22);
    const ADMItemRef field = sADMDialog->CreateItem(dialog, id, kADMSpinEditType, &rect, nullptr, nullptr, 0);
    sADMItem->SetUnits(field, kADMNoUnits);
    sADMItem->SetMinFloatValue(field, kSmallestCustomScale);
    sADMItem->SetSmallIncrement(field, kSmallCustomScaleStep);
    sADMItem->SetLargeIncrement(field, kLargeCustomScaleStep);
    sADMItem->SetPrecision(field, kCustomScaleDecimals);
    sADMItem->SetFloatValue(field, static_cast<float>(value));
    sADMItem->SetNotifyProc(field, notify);
    return field;
}

}  // namespace

void CustomScaleDialog::place(const ASRect& screen) {
    const ASRect frame = dialogs::FrameOnScreen(screen, dialogs::kCustomScaleWidth, dialogs::kCustomScaleHeight);
    place_.frame.top = frame.top;
    place_.frame.left = frame.left;
}

void CustomScaleDialog::open(SPPluginRef plugin, Settings& edited, ADMItemRef scaleList) {
    if (place_.open) return;
    edited_ = &edited;
    scaleList_ = scaleList;
    sADMDialog->Modal(plugin, dialogs::kModalName, dialogs::kCustomScaleId, kADMModalDialogStyle, Init, this, 0);
    edited_ = nullptr;
    scaleList_ = nullptr;
}

ASErr CustomScaleDialog::Init(ADMDialogRef dialog) {
    DialogObject<CustomScaleDialog>(dialog).init(dialog);
    return kNoErr;
}

void CustomScaleDialog::Draw(ADMDialogRef dialog, ADMDrawerRef drawer) {
    DialogObject<CustomScaleDialog>(dialog).draw(dialog, drawer);
}

void CustomScaleDialog::Destroyed(ADMDialogRef dialog) {
    DialogObject<CustomScaleDialog>(dialog).place_.open = false;
}

void CustomScaleDialog::NumeratorChanged(ADMItemRef item, ADMNotifierRef notifier) {
    CustomScaleDialog& self = DialogObjectOfItem<CustomScaleDialog>(item);
    self.fieldChanged(item, notifier, self.live_.customNumerator);
}

void CustomScaleDialog::DenominatorChanged(ADMItemRef item, ADMNotifierRef notifier) {
    CustomScaleDialog& self = DialogObjectOfItem<CustomScaleDialog>(item);
    self.fieldChanged(item, notifier, self.live_.customDenominator);
}

void CustomScaleDialog::Cancelled(ADMItemRef item, ADMNotifierRef notifier) {
    // The values typed stay in the custom pair; only the list's text waits for an OK.
    sADMItem->DefaultNotify(item, notifier);
    DialogObjectOfItem<CustomScaleDialog>(item).close(item);
}

void CustomScaleDialog::Accepted(ADMItemRef item, ADMNotifierRef notifier) {
    DialogObjectOfItem<CustomScaleDialog>(item).accept(item, notifier);
}

void CustomScaleDialog::init(ADMDialogRef dialog) {
    place_.frame.bottom = static_cast<ASInt16>(place_.frame.top + dialogs::kCustomScaleHeight);
    place_.frame.right = static_cast<ASInt16>(place_.frame.left + dialogs::kCustomScaleWidth);
    sADMDialog->SetBoundsRect(dialog, &place_.frame);
    sADMDialog->SetText(dialog, kTitle);
    sADMDialog->SetDrawProc(dialog, Draw);
    sADMDialog->SetDestroyProc(dialog, Destroyed);

    CreateScaleField(dialog, kNumeratorItem, 20, live_.customNumerator, NumeratorChanged);
    CreateFieldLabel(dialog, kNumeratorLabelItem, ItemRect(0, 14, 13, 22),
                     "Numerator of the customized scale (integer or decimal).");
    CreateScaleField(dialog, kDenominatorItem, 124, live_.customDenominator, DenominatorChanged);
    CreateFieldLabel(dialog, kDenominatorLabelItem, ItemRect(100, 14, 23, 22),
                     "Denominator of the customized scale (integer or decimal).");
    CreateButton(dialog, kCancelItem, ItemRect(10, 62, 68, 20), "Cancel", "No modification.", Cancelled);
    CreateButton(dialog, kOKItem, ItemRect(131, 62, 58, 20), "OK", "Customized scale validation (Return).", Accepted);
    sADMItem->Enable(sADMDialog->GetItem(dialog, kOKItem), true);

    place_.open = true;
}

void CustomScaleDialog::draw(ADMDialogRef dialog, ADMDrawerRef drawer) const {
    sADMDialog->DefaultDraw(dialog, drawer);

    const ASRect labelBackgrounds[] = {RectFromEdges(5, 18, 17, 32), RectFromEdges(92, 18, 96, 32),
                                       RectFromEdges(110, 18, 120, 32)};
    for (const ASRect& background : labelBackgrounds) sADMDrawer->ClearRect(drawer, &background);
    const ASPoint n = TextAnchor(6, 29);
    const ASPoint colon = TextAnchor(92, 29);
    const ASPoint d = TextAnchor(110, 29);
    sADMDrawer->DrawText(drawer, "N", &n);
    sADMDrawer->DrawText(drawer, ":", &colon);
    sADMDrawer->DrawText(drawer, "D", &d);

    const ASRect exampleBackground = RectFromEdges(10, 40, 200, 60);
    sADMDrawer->ClearRect(drawer, &exampleBackground);
    // One millimetre shown in the labels is den/num millimetres on the page.
    char count[scales::kFormatGSize];
    FormatG(live_.customDenominator / live_.customNumerator, count);
    if (live_.decimalSeparator == ',')
        if (char* point = std::strchr(count, '.')) *point = ',';
    char example[scales::kFormatGSize + 16] = "1 mm -> ";
    std::strcat(example, count);
    std::strcat(example, " mm");
    const ASPoint line = TextAnchor(40, 54);
    sADMDrawer->DrawText(drawer, example, &line);
}

void CustomScaleDialog::fieldChanged(ADMItemRef item, ADMNotifierRef notifier, double& value) {
    if (!sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) return;
    value = sADMItem->GetFloatValue(item);
    sADMDialog->Invalidate(sADMItem->GetDialog(item));
}

void CustomScaleDialog::close(ADMItemRef item) {
    place_.open = false;
    sADMDialog->GetBoundsRect(sADMItem->GetDialog(item), &place_.frame);
}

void CustomScaleDialog::accept(ADMItemRef item, ADMNotifierRef notifier) {
    sADMItem->DefaultNotify(item, notifier);
    close(item);
    StoreCustomScale(live_);
    edited_->scaleNumerator = live_.customNumerator;
    edited_->scaleDenominator = live_.customDenominator;
    ShowCustomScale(scaleList_, live_);
}
