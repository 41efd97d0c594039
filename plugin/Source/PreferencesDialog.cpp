#include "PreferencesDialog.h"

#include <algorithm>
#include <array>

#include "DialogItems.h"
#include "ModalDialogs.h"
#include "OrvanePlugIn.h"
#include "OrvaneSuites.h"
#include "Panel.h"
#include "Scale.h"
#include "Settings.h"

using namespace settings;

namespace {

constexpr const char* kPreferencesTitle = "Preferences (Tesk\xA5Orvane).";  // 0xA5: the bullet in Mac OS Roman

constexpr ASInt32 kOKItem = 1;
constexpr ASInt32 kCancelItem = 2;
constexpr ASInt32 kDefaultItem = 3;
constexpr ASInt32 kLabelSizeItem = 4;
constexpr ASInt32 kLabelSizeSampleItem = 5;
constexpr ASInt32 kPrecisionItem = 6;
constexpr ASInt32 kPrecisionPictureItem = 7;
constexpr ASInt32 kScaleLabelItem = 9;
constexpr ASInt32 kSwapShiftAltItem = 10;
constexpr ASInt32 kAngleItem = 11;
constexpr ASInt32 kAngleLabelItem = 12;
constexpr ASInt32 kLengthItem = 13;
constexpr ASInt32 kLengthLabelItem = 14;
// A field label's field is the item before it.
static_assert(kLengthLabelItem == kLengthItem + 1 && kAngleLabelItem == kAngleItem + 1);

constexpr ASInt32 kLengthIcon = 1003;
constexpr ASInt32 kAngleIcon = 1004;
constexpr ASPoint kLengthIconPlace = {52, 10};
constexpr ASPoint kAngleIconPlace = {52, 157};
constexpr ASInt32 kDragCursor = 1100;

constexpr double kPointsPerMillimetre = 72.0 / 25.4;
constexpr ASInt32 kPresetCount = 10;
/// Characters of a preset's text ("10 mm").
constexpr ASInt32 kPresetCharacters = 5;
constexpr float kSmallLengthStep = static_cast<float>(kPointsPerMillimetre);
constexpr float kLargeLengthStep = static_cast<float>(5 * kPointsPerMillimetre);
constexpr float kSmallAngleStep = 1.0f;
constexpr float kLargeAngleStep = 5.0f;

// The precision picture, 24 pixels wide: an integer digit, the separator, six decimals.
constexpr ASInt16 kPrecisionPictureWidth = 24;
constexpr ASInt32 kPrecisionBars = 6;

constexpr const char* kLabelSizeTexts[] = {"Small", "Medium", "Large"};
struct LabelSizeSample {
    ASRect frame;
    ASInt32 font;
};
constexpr std::array<LabelSizeSample, 3> kLabelSizeSamples = {{
    {RectFromEdges(16, 7, 66, 19), kADMPaletteFont},
    {RectFromEdges(10, 5, 66, 21), kADMSmallPaletteFont},
    {RectFromEdges(0, 2, 68, 24), kADMDialogFont},
}};
constexpr const char* kSampleText = "L = 8mm";

/// However the run ends, the dialog can be opened again and no reference to it is kept.
void PreferencesDialogDestroyed(ADMDialogRef) {
    PreferencesDialogState& dialogState = OrvanePlugIn::Current()->preferencesDialog();
    dialogState.place.open = false;
    dialogState.dialog = nullptr;
}

/// A constraint step: a field with a minimum of 0 and ten presets, 1 to 10 units.
ADMItemRef CreateStepField(ADMDialogRef dialog, ASInt32 id, const ASRect& rect, const char* tip, ADMUnits units,
                           double unit, float smallStep, float largeStep, double value, ADMItemNotifyProc notify) {
    const ADMItemRef field = CreateItem(dialog, id, kADMSpinEditPopupType, rect, tip);
    sADMItem->SetUnits(field, units);
    sADMItem->SetMinFloatValue(field, 0.0f);
    sADMItem->SetSmallIncrement(field, smallStep);
    sADMItem->SetLargeIncrement(field, largeStep);
    sADMItem->SetHasRollOverProperty(field, true);
    const ADMListRef presets = sADMItem->GetList(field);
    for (ASInt32 i = 0; i < kPresetCount; ++i) {
        char text[kPresetCharacters + 1];
        sADMBasic->ValueToText(static_cast<float>((i + 1) * unit), text, sizeof text, units, 0, true);
        const ADMEntryRef entry = sADMList->InsertEntry(presets, i);
        sADMEntry->SetText(entry, text);
        sADMEntry->SetID(entry, i);
    }
    sADMItem->SetFloatValue(field, static_cast<float>(value));
    sADMItem->SetNotifyProc(field, notify);
    return field;
}

void DrawDialogIcon(ADMDialogRef dialog, ADMDrawerRef drawer, ASInt32 id, const ASPoint& place) {
    const ADMIconRef icon = sADMIcon->GetFromResource(sADMDialog->GetPluginRef(dialog), nullptr, id, 0);
    sADMDrawer->DrawIcon(drawer, icon, &place);
    sADMIcon->Destroy(icon);
}

/// The length step as the dialog gives it back: the field holds points.
double MillimetresFromField(double points) {
    return points * kMillimetresPerPoint;
}

void ClosePreferences(ADMItemRef item) {
    ModalDialogPlace& place = OrvanePlugIn::Current()->preferencesDialog().place;
    sADMDialog->GetBoundsRect(sADMItem->GetDialog(item), &place.frame);
    place.open = false;
}

}  // namespace

void OpenPreferencesDialog() {
    OrvanePlugIn& owner = *OrvanePlugIn::Current();
    if (owner.preferencesDialog().place.open) return;
    sADMDialog->Modal(sADMDialog->GetPluginRef(owner.panelDialog()), dialogs::kModalName, dialogs::kPreferencesId,
                      kADMModalDialogStyle, InitPreferencesDialog, nullptr, 0);
}

ASInt32 PrecisionAfterDrag(ASInt32 precision, ASInt16 previous, ASInt16 h) {
    if ((previous - h) * h > 0)
        --precision;
    else
        ++precision;
    return std::clamp(precision, 0, kMaximumPrecision);
}

ASErr InitPreferencesDialog(ADMDialogRef dialog) {
    PreferencesDialogState& dialogState = OrvanePlugIn::Current()->preferencesDialog();
    dialogState.dialog = dialog;
    ASRect& frame = dialogState.place.frame;
    frame.bottom = static_cast<ASInt16>(frame.top + dialogs::kPreferencesHeight);
    frame.right = static_cast<ASInt16>(frame.left + dialogs::kPreferencesWidth);
    sADMDialog->SetBoundsRect(dialog, &frame);
    sADMDialog->SetText(dialog, kPreferencesTitle);
    sADMDialog->SetDrawProc(dialog, DrawPreferencesDialog);
    sADMDialog->SetDestroyProc(dialog, PreferencesDialogDestroyed);

    constexpr const char* kPrecisionTip = "Number of decimal places for the annotations (from 0 to 6).";
    Settings& edited = dialogState.edited;
    edited = CurrentSettings();
    const ADMItemRef precision =
        CreateItem(dialog, kPrecisionItem, kADMSpinEditType, ItemRect(40, 20, 32, 22), kPrecisionTip);
    sADMItem->SetUnits(precision, kADMNoUnits);
    sADMItem->SetMinIntValue(precision, 0);
    sADMItem->SetMaxIntValue(precision, kMaximumPrecision);
    sADMItem->SetSmallIncrement(precision, 1.0f);
    sADMItem->SetIntValue(precision, edited.precision);
    sADMItem->SetNotifyProc(precision, PrecisionChanged);

    const ADMItemRef precisionPicture = CreateItem(dialog, kPrecisionPictureItem, kADMPicturePushButtonType,
                                                   ItemRect(10, 23, kPrecisionPictureWidth, 22), kPrecisionTip);
    sADMItem->SetDrawProc(precisionPicture, DrawPrecisionPicture);
    sADMItem->SetTrackProc(precisionPicture, TrackPrecisionPicture);
    sADMItem->SetMask(precisionPicture, kADMDragTrackMask);

    BuildScaleList(CreateItem(dialog, scales::kListItem, kADMPopupListType, ItemRect(185, 21, 80, 20), nullptr));
    const ADMItemRef label =
        CreateItem(dialog, kScaleLabelItem, kADMTextStaticType, ItemRect(156, 22, 24, 22), "Scale of the drawing.");
    sADMItem->SetText(label, "Sca.");
    sADMItem->SetDrawProc(label, DrawScaleLabel);

    constexpr const char* kLengthTip = "With the ALT key, the length will be a multiple of that number.";
    const double lengthPoints = edited.lengthStep / kMillimetresPerPoint;
    edited.lengthStep = MillimetresFromField(lengthPoints);
    CreateStepField(dialog, kLengthItem, ItemRect(40, 52, 80, 22), kLengthTip, kADMMillimeterUnits,
                    kPointsPerMillimetre, kSmallLengthStep, kLargeLengthStep, lengthPoints, LengthStepChanged);
    CreateFieldLabel(dialog, kLengthLabelItem, ItemRect(12, 52, 22, 22), kLengthTip);

    constexpr const char* kAngleTip = "With the SHIFT key, the angle will be multiple of this number.";
    CreateStepField(dialog, kAngleItem, ItemRect(185, 52, 80, 22), kAngleTip, kADMDegreeUnits, 1.0, kSmallAngleStep,
                    kLargeAngleStep, edited.angleStep, AngleStepChanged);
    CreateFieldLabel(dialog, kAngleLabelItem, ItemRect(157, 52, 22, 22), kAngleTip);

    const ADMItemRef shiftAlt = CreateItem(dialog, kSwapShiftAltItem, kADMTextCheckBoxType, ItemRect(10, 88, 100, 16),
                                           "Inverse the functioning of Shift and Alt keys.");
    sADMItem->SetText(shiftAlt, "Shift & Alt");
    sADMItem->SetBooleanValue(shiftAlt, edited.swapShiftAlt);
    sADMItem->SetNotifyProc(shiftAlt, SwapShiftAltChanged);

    constexpr const char* kLabelSizeTip = "Size of the annotations.";
    const ADMItemRef size =
        CreateItem(dialog, kLabelSizeItem, kADMPopupListType, ItemRect(185, 86, 80, 20), kLabelSizeTip);
    const ADMListRef sizes = sADMItem->GetList(size);
    for (ASInt32 i = 0; i <= kMaximumLabelSize; ++i) {
        const ADMEntryRef entry = sADMList->InsertEntry(sizes, i);
        sADMEntry->SetText(entry, kLabelSizeTexts[i]);
        sADMEntry->SetID(entry, i);
    }
    sADMEntry->Select(sADMList->IndexEntry(sizes, edited.labelSize), true);
    sADMItem->SetNotifyProc(size, LabelSizeChanged);
    const ADMItemRef sample =
        CreateItem(dialog, kLabelSizeSampleItem, kADMPicturePushButtonType, ItemRect(113, 84, 68, 28), kLabelSizeTip);
    sADMItem->SetDrawProc(sample, DrawLabelSizeSample);

    CreateButton(dialog, kCancelItem, ItemRect(10, 144, 68, 20), "Cancel", "No modification.", CancelPreferences);
    CreateButton(dialog, kDefaultItem, ItemRect(100, 144, 82, 20), "Default", "Back to the default settings.",
                 RestoreDefaultPreferences);
    const ADMItemRef ok = CreateButton(dialog, kOKItem, ItemRect(207, 144, 58, 20), "OK",
                                       "Validation of the new default settings", AcceptPreferences);
    sADMItem->Enable(ok, true);

    dialogState.place.open = true;
    return kNoErr;
}

void DrawPreferencesDialog(ADMDialogRef dialog, ADMDrawerRef drawer) {
    sADMDialog->DefaultDraw(dialog, drawer);
    DrawDialogIcon(dialog, drawer, kLengthIcon, kLengthIconPlace);
    DrawDialogIcon(dialog, drawer, kAngleIcon, kAngleIconPlace);
}

void DrawPrecisionPicture(ADMItemRef, ADMDrawerRef drawer) {
    const auto fill = [drawer](const ASRect& rect) { sADMDrawer->FillRect(drawer, &rect); };

    sADMDrawer->SetADMColor(drawer, kADMHiliteColor);
    fill(RectFromEdges(0, 5, 2, 11));
    if (CurrentToolState().decimalSeparator == ',') {
        sADMDrawer->SetADMColor(drawer, kADMBlackColor);
        fill(RectFromEdges(3, 12, 4, 13));
        fill(RectFromEdges(4, 11, 5, 12));
        fill(RectFromEdges(3, 9, 5, 11));
    } else {
        const ASRect place = RectFromEdges(3, 9, 5, 13);
        sADMDrawer->ClearRect(drawer, &place);
        sADMDrawer->SetADMColor(drawer, kADMBlackColor);
        fill(RectFromEdges(3, 9, 5, 11));
    }
    for (ASInt32 i = 0; i < kPrecisionBars; ++i) {
        sADMDrawer->SetADMColor(drawer, i < EditedSettings().precision ? kADMHiliteColor : kADMShadowColor);
        const auto left = static_cast<ASInt16>(6 + 3 * i);
        fill(RectFromEdges(left, 5, static_cast<ASInt16>(left + 2), 11));
    }
}

ASBoolean TrackPrecisionPicture(ADMItemRef item, ADMTrackerRef tracker) {
    ASPoint point{};
    sADMTracker->GetPoint(tracker, &point);
    if (point.h < 0 || point.h > kPrecisionPictureWidth) return sADMItem->DefaultTrack(item, tracker);

    const ADMDialogRef dialog = sADMItem->GetDialog(item);
    sADMBasic->SetPlatformCursor(sADMDialog->GetPluginRef(dialog), kDragCursor);
    if (sADMTracker->GetMouseState(tracker) == kADMMouseDown) {
        PreferencesDialogState& dialogState = OrvanePlugIn::Current()->preferencesDialog();
        dialogState.edited.precision =
            PrecisionAfterDrag(dialogState.edited.precision, dialogState.lastTrackPoint.h, point.h);
        dialogState.lastTrackPoint.h = point.h;
        const ADMItemRef field = sADMDialog->GetItem(dialog, kPrecisionItem);
        sADMItem->SetIntValue(field, dialogState.edited.precision);
        sADMItem->Invalidate(item);
        sADMItem->Activate(field, true);
    }
    return sADMItem->DefaultTrack(item, tracker);
}

void DrawLabelSizeSample(ADMItemRef, ADMDrawerRef drawer) {
    ASRect background{};
    sADMDrawer->GetBoundsRect(drawer, &background);
    sADMDrawer->ClearRect(drawer, &background);
    const LabelSizeSample& sample =
        kLabelSizeSamples[static_cast<std::size_t>(std::clamp(EditedSettings().labelSize, 0, kMaximumLabelSize))];
    sADMDrawer->SetFont(drawer, sample.font);
    sADMDrawer->SetADMColor(drawer, kADMWhiteColor);
    sADMDrawer->FillRect(drawer, &sample.frame);
    sADMDrawer->SetADMColor(drawer, kADMBlackColor);
    sADMDrawer->FrameRect(drawer, &sample.frame);
    sADMDrawer->DrawTextCentered(drawer, kSampleText, &sample.frame);
}

void PrecisionChanged(ADMItemRef item, ADMNotifierRef notifier) {
    if (!IsUserChange(notifier)) return;
    EditedSettings().precision = sADMItem->GetIntValue(item);
    sADMItem->Invalidate(SiblingItem(item, kPrecisionPictureItem));
}

void LengthStepChanged(ADMItemRef item, ADMNotifierRef notifier) {
    if (IsUserChange(notifier)) EditedSettings().lengthStep = MillimetresFromField(sADMItem->GetFloatValue(item));
}

void AngleStepChanged(ADMItemRef item, ADMNotifierRef notifier) {
    if (IsUserChange(notifier)) EditedSettings().angleStep = sADMItem->GetFloatValue(item);
}

void SwapShiftAltChanged(ADMItemRef, ADMNotifierRef notifier) {
    if (IsUserChange(notifier)) EditedSettings().swapShiftAlt = !EditedSettings().swapShiftAlt;
}

void LabelSizeChanged(ADMItemRef item, ADMNotifierRef notifier) {
    if (!IsUserChange(notifier)) return;
    const ADMEntryRef entry = sADMList->GetActiveEntry(sADMItem->GetList(item));
    if (!entry) return;
    EditedSettings().labelSize = sADMEntry->GetIndex(entry);
    sADMItem->Invalidate(SiblingItem(item, kLabelSizeSampleItem));
}

void AcceptPreferences(ADMItemRef item, ADMNotifierRef notifier) {
    if (!IsUserChange(notifier)) return;
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
    sADMItem->Show(sADMDialog->GetItem(OrvanePlugIn::Current()->panelDialog(), panelLayout::kScaleIndicatorItem),
                   live.scale() != 1.0);
    sAIPreference->PutBooleanPreference(kPrefix, kKeySwapShiftAlt, live.swapShiftAlt);
    sAIPreference->PutRealPreference(kPrefix, kKeyLengthStep, live.lengthStep);
    sAIPreference->PutRealPreference(kPrefix, kKeyAngleStep, live.angleStep);

    ClosePreferences(item);
}

void CancelPreferences(ADMItemRef item, ADMNotifierRef notifier) {
    if (!IsUserChange(notifier)) return;
    sADMItem->DefaultNotify(item, notifier);
    ClosePreferences(item);
}

void RestoreDefaultPreferences(ADMItemRef item, ADMNotifierRef) {
    Settings& edited = EditedSettings();
    edited.precision = kDefaultPrecision;
    sADMItem->SetIntValue(SiblingItem(item, kPrecisionItem), edited.precision);
    sADMItem->Invalidate(SiblingItem(item, kPrecisionPictureItem));

    edited.labelSize = kDefaultLabelSize;
    sADMEntry->Select(sADMList->IndexEntry(sADMItem->GetList(SiblingItem(item, kLabelSizeItem)), 0), true);
    sADMItem->Invalidate(SiblingItem(item, kLabelSizeSampleItem));

    edited.scaleNumerator = kDefaultScale;
    edited.scaleDenominator = kDefaultScale;
    MarkChosenScale(SiblingItem(item, scales::kListItem));

    const double lengthPoints = kDefaultLengthStep / kMillimetresPerPoint;
    edited.lengthStep = MillimetresFromField(lengthPoints);
    sADMItem->SetFloatValue(SiblingItem(item, kLengthItem), static_cast<float>(lengthPoints));
    edited.angleStep = kDefaultAngleStep;
    sADMItem->SetFloatValue(SiblingItem(item, kAngleItem), static_cast<float>(edited.angleStep));

    edited.swapShiftAlt = false;
    sADMItem->SetBooleanValue(SiblingItem(item, kSwapShiftAltItem), edited.swapShiftAlt);
}
