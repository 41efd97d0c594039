#include "Scale.h"

#include <charconv>
#include <cstring>

#include "DialogItems.h"
#include "ModalDialogs.h"
#include "OrvanePlugIn.h"
#include "OrvaneSuites.h"
#include "Settings.h"

using namespace scales;

namespace {

constexpr int kSignificantDigits = 6;

// The custom-scale dialog.
constexpr const char* kCustomScaleTitle = "Customized scale.";
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

constexpr const char* kScaleListTip = "Scale of the drawing.";
constexpr const char* kScaleLabel = "Sca.";

ADMListRef ListOf(ADMItemRef item) {
    return sADMItem->GetList(item);
}

/// Position of the list's active entry, -1 without one.
ASInt32 ActivePosition(ADMItemRef list) {
    const ADMEntryRef entry = sADMList->GetActiveEntry(ListOf(list));
    return entry ? sADMEntry->GetIndex(entry) : -1;
}

void OpenCustomScaleDialog(ADMItemRef list) {
    if (OrvanePlugIn::Current()->customScaleDialog().open) return;
    sADMDialog->Modal(sADMDialog->GetPluginRef(sADMItem->GetDialog(list)), dialogs::kModalName, dialogs::kCustomScaleId,
                      kADMModalDialogStyle, InitCustomScaleDialog, nullptr, 0);
}

/// However the run ends, the dialog can be opened again.
void CustomScaleDialogDestroyed(ADMDialogRef) {
    OrvanePlugIn::Current()->customScaleDialog().open = false;
}

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

ASInt32 ScalePosition(double num, double den) {
    for (ASInt32 position = 0; position < static_cast<ASInt32>(kEntries.size()); ++position) {
        const ScaleEntry& entry = kEntries[static_cast<std::size_t>(position)];
        if (entry.kind == Kind::Fixed && entry.num == num && entry.den == den) return position;
    }
    return kCustomPosition;
}

void FormatG(double value, char* out) {
    // to_chars keeps the period whatever locale the host runs in.
    const auto [end, error] =
        std::to_chars(out, out + kFormatGSize - 1, value, std::chars_format::general, kSignificantDigits);
    *(error == std::errc() ? end : out) = '\0';
}

void CustomScaleText(double num, double den, char* out) {
    if (num == 0.0) {
        std::strcpy(out, "\xC9/\xC9");
        return;
    }
    FormatG(num, out);
    std::strcat(out, "/");
    FormatG(den, out + std::strlen(out));
}

void BuildScaleList(ADMItemRef list) {
    const ADMListRef entries = ListOf(list);
    for (ASInt32 position = 0; position < static_cast<ASInt32>(kEntries.size()); ++position) {
        const ADMEntryRef entry = sADMList->InsertEntry(entries, position);
        if (kEntries[static_cast<std::size_t>(position)].kind == Kind::Separator) {
            sADMEntry->MakeSeparator(entry, true);
            continue;
        }
        sADMEntry->SetText(entry, kEntries[static_cast<std::size_t>(position)].text);
        sADMEntry->SetID(entry, position);
    }
    char text[kCustomTextSize];
    CustomScaleText(CurrentSettings().customNumerator, CurrentSettings().customDenominator, text);
    const ADMEntryRef custom = sADMList->IndexEntry(entries, kCustomPosition);
    sADMEntry->SetText(custom, text);
    sADMEntry->Enable(custom, CurrentSettings().customNumerator != 0.0);
    MarkChosenScale(list);
    sADMItem->SetNotifyProc(list, ScaleListChanged);
    sADMItem->SetTipString(list, kScaleListTip);
}

void MarkChosenScale(ADMItemRef list) {
    const ADMListRef entries = ListOf(list);
    for (ASInt32 position = 0; position < static_cast<ASInt32>(kEntries.size()); ++position)
        sADMEntry->Check(sADMList->IndexEntry(entries, position), false);
    const ADMEntryRef marked = sADMList->IndexEntry(
        entries, ScalePosition(EditedSettings().scaleNumerator, EditedSettings().scaleDenominator));
    sADMEntry->Check(marked, true);
    sADMEntry->Select(marked, true);
}

void ScaleListChanged(ADMItemRef item, ADMNotifierRef) {
    const ASInt32 position = ActivePosition(item);
    if (position >= 0 && position < static_cast<ASInt32>(kEntries.size())) {
        const ScaleEntry& entry = kEntries[static_cast<std::size_t>(position)];
        switch (entry.kind) {
            case Kind::Fixed:
                EditedSettings().scaleNumerator = entry.num;
                EditedSettings().scaleDenominator = entry.den;
                break;
            case Kind::ChooseCustom:
                OpenCustomScaleDialog(item);
                break;
            case Kind::Custom: {
                const ADMEntryRef custom = sADMList->IndexEntry(ListOf(item), kCustomPosition);
                const Settings& live = CurrentSettings();
                if (live.customNumerator == 0.0) {
                    // No custom scale yet: the entry cannot be chosen.
                    sADMBasic->Beep();
                    sADMEntry->Enable(custom, false);
                } else {
                    EditedSettings().scaleNumerator = live.customNumerator;
                    EditedSettings().scaleDenominator = live.customDenominator;
                    sADMEntry->Enable(custom, true);
                }
                break;
            }
            case Kind::Separator:
                break;
        }
    }
    // A separator, or a custom pair equal to a fixed one, puts the mark where it belongs.
    MarkChosenScale(item);
}

void DrawScaleLabel(ADMItemRef, ADMDrawerRef drawer) {
    ASRect background{};
    sADMDrawer->GetBoundsRect(drawer, &background);
    sADMDrawer->ClearRect(drawer, &background);
    sADMDrawer->SetADMColor(drawer, kADMBlackColor);
    sADMDrawer->SetFont(drawer, kADMSmallPaletteFont);
    const ASPoint point = TextAnchor(0, 13);
    sADMDrawer->DrawText(drawer, kScaleLabel, &point);
}

ASErr InitCustomScaleDialog(ADMDialogRef dialog) {
    ModalDialogPlace& place = OrvanePlugIn::Current()->customScaleDialog();
    place.frame.bottom = static_cast<ASInt16>(place.frame.top + dialogs::kCustomScaleHeight);
    place.frame.right = static_cast<ASInt16>(place.frame.left + dialogs::kCustomScaleWidth);
    sADMDialog->SetBoundsRect(dialog, &place.frame);
    sADMDialog->SetText(dialog, kCustomScaleTitle);
    sADMDialog->SetDrawProc(dialog, DrawCustomScaleDialog);
    sADMDialog->SetDestroyProc(dialog, CustomScaleDialogDestroyed);

    CreateScaleField(dialog, kNumeratorItem, 20, CurrentSettings().customNumerator, CustomNumeratorChanged);
    CreateFieldLabel(dialog, kNumeratorLabelItem, ItemRect(0, 14, 13, 22),
                     "Numerator of the customized scale (integer or decimal).");
    CreateScaleField(dialog, kDenominatorItem, 124, CurrentSettings().customDenominator, CustomDenominatorChanged);
    CreateFieldLabel(dialog, kDenominatorLabelItem, ItemRect(100, 14, 23, 22),
                     "Denominator of the customized scale (integer or decimal).");
    CreateButton(dialog, kCancelItem, ItemRect(10, 62, 68, 20), "Cancel", "No modification.", CancelCustomScale);
    CreateButton(dialog, kOKItem, ItemRect(131, 62, 58, 20), "OK", "Customized scale validation (Return).",
                 AcceptCustomScale);
    sADMItem->Enable(sADMDialog->GetItem(dialog, kOKItem), true);

    place.open = true;
    return kNoErr;
}

void DrawCustomScaleDialog(ADMDialogRef dialog, ADMDrawerRef drawer) {
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
    char count[kFormatGSize];
    FormatG(CurrentSettings().customDenominator / CurrentSettings().customNumerator, count);
    if (CurrentToolState().decimalSeparator == ',')
        if (char* point = std::strchr(count, '.')) *point = ',';
    char example[kFormatGSize + 16] = "1 mm -> ";
    std::strcat(example, count);
    std::strcat(example, " mm");
    const ASPoint line = TextAnchor(40, 54);
    sADMDrawer->DrawText(drawer, example, &line);
}

void CustomNumeratorChanged(ADMItemRef item, ADMNotifierRef notifier) {
    if (!sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) return;
    CurrentSettings().customNumerator = sADMItem->GetFloatValue(item);
    sADMDialog->Invalidate(sADMItem->GetDialog(item));
}

void CustomDenominatorChanged(ADMItemRef item, ADMNotifierRef notifier) {
    if (!sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) return;
    CurrentSettings().customDenominator = sADMItem->GetFloatValue(item);
    sADMDialog->Invalidate(sADMItem->GetDialog(item));
}

void CancelCustomScale(ADMItemRef item, ADMNotifierRef notifier) {
    // The values typed stay in the custom pair; only the list's text waits for an OK.
    sADMItem->DefaultNotify(item, notifier);
    ModalDialogPlace& place = OrvanePlugIn::Current()->customScaleDialog();
    place.open = false;
    sADMDialog->GetBoundsRect(sADMItem->GetDialog(item), &place.frame);
}

void AcceptCustomScale(ADMItemRef item, ADMNotifierRef notifier) {
    const ADMEntryRef custom = sADMList->IndexEntry(
        ListOf(sADMDialog->GetItem(OrvanePlugIn::Current()->preferencesDialog().dialog, kListItem)), kCustomPosition);
    sADMItem->DefaultNotify(item, notifier);
    ModalDialogPlace& place = OrvanePlugIn::Current()->customScaleDialog();
    sADMDialog->GetBoundsRect(sADMItem->GetDialog(item), &place.frame);

    char text[kCustomTextSize];
    const Settings& live = CurrentSettings();
    CustomScaleText(live.customNumerator, live.customDenominator, text);
    sADMEntry->SetText(custom, text);
    sAIPreference->PutRealPreference(settings::kPrefix, settings::kKeyCustomNumerator, live.customNumerator);
    sAIPreference->PutRealPreference(settings::kPrefix, settings::kKeyCustomDenominator, live.customDenominator);

    EditedSettings().scaleNumerator = live.customNumerator;
    EditedSettings().scaleDenominator = live.customDenominator;
    sADMEntry->Select(custom, true);
    place.open = false;
}
