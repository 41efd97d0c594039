#include "PreferencesDialog.h"

#include <algorithm>
#include <array>

#include "DialogItems.h"
#include "OrvaneSuites.h"
#include "Panel.h"
#include "ScaleList.h"
#include "Units.h"

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

constexpr ASInt32 kPresetCount = 10;
/// Characters of a preset's text ("10 mm").
constexpr ASInt32 kPresetCharacters = 5;
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

PreferencesDialog& OwnerOf(ADMItemRef item) {
    return DialogObjectOfItem<PreferencesDialog>(item);
}

}  // namespace

void PreferencesDialog::place(const ASRect& screen) {
    using namespace dialogs;
    customScale_.place(screen);
    const ASRect frame = FrameOnScreen(screen, kPreferencesWidth, kPreferencesHeight);
    place_.frame.top = frame.top;
    place_.frame.left = frame.left;
}

void PreferencesDialog::open(ADMDialogRef panel) {
    if (place_.open) return;
    panel_ = panel;
    sADMDialog->Modal(sADMDialog->GetPluginRef(panel), dialogs::kModalName, dialogs::kPreferencesId,
                      kADMModalDialogStyle, Init, this, 0);
    panel_ = nullptr;
}

ASErr PreferencesDialog::Init(ADMDialogRef dialog) {
    DialogObject<PreferencesDialog>(dialog).init(dialog);
    return kNoErr;
}

void PreferencesDialog::Draw(ADMDialogRef dialog, ADMDrawerRef drawer) {
    sADMDialog->DefaultDraw(dialog, drawer);
    DrawDialogIcon(dialog, drawer, kLengthIcon, kLengthIconPlace);
    DrawDialogIcon(dialog, drawer, kAngleIcon, kAngleIconPlace);
}

void PreferencesDialog::Destroyed(ADMDialogRef dialog) {
    DialogObject<PreferencesDialog>(dialog).place_.open = false;
}

void PreferencesDialog::DrawPrecisionPicture(ADMItemRef item, ADMDrawerRef drawer) {
    OwnerOf(item).drawPrecisionPicture(drawer);
}

ASBoolean PreferencesDialog::TrackPrecisionPicture(ADMItemRef item, ADMTrackerRef tracker) {
    return OwnerOf(item).trackPrecisionPicture(item, tracker);
}

void PreferencesDialog::DrawLabelSizeSample(ADMItemRef item, ADMDrawerRef drawer) {
    OwnerOf(item).drawLabelSizeSample(drawer);
}

void PreferencesDialog::PrecisionChanged(ADMItemRef item, ADMNotifierRef notifier) {
    if (!IsUserChange(notifier)) return;
    OwnerOf(item).edited_.precision = sADMItem->GetIntValue(item);
    sADMItem->Invalidate(SiblingItem(item, kPrecisionPictureItem));
}

void PreferencesDialog::LengthStepChanged(ADMItemRef item, ADMNotifierRef notifier) {
    if (IsUserChange(notifier))
        OwnerOf(item).edited_.lengthStep = units::MillimetresFromPoints(sADMItem->GetFloatValue(item));
}

void PreferencesDialog::AngleStepChanged(ADMItemRef item, ADMNotifierRef notifier) {
    if (IsUserChange(notifier)) OwnerOf(item).edited_.angleStep = sADMItem->GetFloatValue(item);
}

void PreferencesDialog::SwapShiftAltChanged(ADMItemRef item, ADMNotifierRef notifier) {
    if (!IsUserChange(notifier)) return;
    Settings& edited = OwnerOf(item).edited_;
    edited.swapShiftAlt = !edited.swapShiftAlt;
}

void PreferencesDialog::LabelSizeChanged(ADMItemRef item, ADMNotifierRef notifier) {
    if (!IsUserChange(notifier)) return;
    const ADMEntryRef entry = sADMList->GetActiveEntry(sADMItem->GetList(item));
    if (!entry) return;
    OwnerOf(item).edited_.labelSize = sADMEntry->GetIndex(entry);
    sADMItem->Invalidate(SiblingItem(item, kLabelSizeSampleItem));
}

void PreferencesDialog::ScaleListChanged(ADMItemRef item, ADMNotifierRef) {
    PreferencesDialog& self = OwnerOf(item);
    if (TakeChosenScale(item, self.live_, self.edited_))
        self.customScale_.open(sADMDialog->GetPluginRef(sADMItem->GetDialog(item)), self.edited_, item);
    // A separator, or a custom pair equal to a fixed one, puts the mark where it belongs.
    MarkChosenScale(item, self.edited_);
}

void PreferencesDialog::Accepted(ADMItemRef item, ADMNotifierRef notifier) {
    if (IsUserChange(notifier)) OwnerOf(item).accept(item, notifier);
}

void PreferencesDialog::Cancelled(ADMItemRef item, ADMNotifierRef notifier) {
    if (!IsUserChange(notifier)) return;
    sADMItem->DefaultNotify(item, notifier);
    OwnerOf(item).close(item);
}

void PreferencesDialog::DefaultsRestored(ADMItemRef item, ADMNotifierRef) {
    OwnerOf(item).restoreDefaults(item);
}

void PreferencesDialog::init(ADMDialogRef dialog) {
    ASRect& frame = place_.frame;
    frame.bottom = static_cast<ASInt16>(frame.top + dialogs::kPreferencesHeight);
    frame.right = static_cast<ASInt16>(frame.left + dialogs::kPreferencesWidth);
    sADMDialog->SetBoundsRect(dialog, &frame);
    sADMDialog->SetText(dialog, kPreferencesTitle);
    sADMDialog->SetDrawProc(dialog, Draw);
    sADMDialog->SetDestroyProc(dialog, Destroyed);

    constexpr const char* kPrecisionTip = "Number of decimal places for the annotations (from 0 to 6).";
    edited_ = live_;
    const ADMItemRef precision =
        CreateItem(dialog, kPrecisionItem, kADMSpinEditType, ItemRect(40, 20, 32, 22), kPrecisionTip);
    sADMItem->SetUnits(precision, kADMNoUnits);
    sADMItem->SetMinIntValue(precision, 0);
    sADMItem->SetMaxIntValue(precision, kMaximumPrecision);
    sADMItem->SetSmallIncrement(precision, 1.0f);
    sADMItem->SetIntValue(precision, edited_.precision);
    sADMItem->SetNotifyProc(precision, PrecisionChanged);

    const ADMItemRef precisionPicture = CreateItem(dialog, kPrecisionPictureItem, kADMPicturePushButtonType,
                                                   ItemRect(10, 23, kPrecisionPictureWidth, 22), kPrecisionTip);
    sADMItem->SetDrawProc(precisionPicture, DrawPrecisionPicture);
    sADMItem->SetTrackProc(precisionPicture, TrackPrecisionPicture);
    sADMItem->SetMask(precisionPicture, kADMDragTrackMask);

    BuildScaleList(CreateItem(dialog, kScaleListItem, kADMPopupListType, ItemRect(185, 21, 80, 20), nullptr), live_,
                   edited_, ScaleListChanged);
    const ADMItemRef label =
        CreateItem(dialog, kScaleLabelItem, kADMTextStaticType, ItemRect(156, 22, 24, 22), "Scale of the drawing.");
    sADMItem->SetText(label, "Sca.");
    sADMItem->SetDrawProc(label, DrawScaleLabel);

    createStepFields(dialog);

    const ADMItemRef shiftAlt = CreateItem(dialog, kSwapShiftAltItem, kADMTextCheckBoxType, ItemRect(10, 88, 100, 16),
                                           "Inverse the functioning of Shift and Alt keys.");
    sADMItem->SetText(shiftAlt, "Shift & Alt");
    sADMItem->SetBooleanValue(shiftAlt, edited_.swapShiftAlt);
    sADMItem->SetNotifyProc(shiftAlt, SwapShiftAltChanged);

    createLabelSizeList(dialog);

    CreateButton(dialog, kCancelItem, ItemRect(10, 144, 68, 20), "Cancel", "No modification.", Cancelled);
    CreateButton(dialog, kDefaultItem, ItemRect(100, 144, 82, 20), "Default", "Back to the default settings.",
                 DefaultsRestored);
    const ADMItemRef ok = CreateButton(dialog, kOKItem, ItemRect(207, 144, 58, 20), "OK",
                                       "Validation of the new default settings", Accepted);
    sADMItem->Enable(ok, true);

    place_.open = true;
}

void PreferencesDialog::createStepFields(ADMDialogRef dialog) {
    constexpr const char* kLengthTip = "With the ALT key, the length will be a multiple of that number.";
    const double lengthPoints = units::PointsFromMillimetres(edited_.lengthStep);
    edited_.lengthStep = units::MillimetresFromPoints(lengthPoints);
    CreateStepField(dialog, kLengthItem, ItemRect(40, 52, 80, 22), kLengthTip, kADMMillimeterUnits,
                    units::kPointsPerMillimetre, units::kOneMillimetreInPoints, units::kFiveMillimetresInPoints,
                    lengthPoints, LengthStepChanged);
    CreateFieldLabel(dialog, kLengthLabelItem, ItemRect(12, 52, 22, 22), kLengthTip);

    constexpr const char* kAngleTip = "With the SHIFT key, the angle will be multiple of this number.";
    CreateStepField(dialog, kAngleItem, ItemRect(185, 52, 80, 22), kAngleTip, kADMDegreeUnits, 1.0, kSmallAngleStep,
                    kLargeAngleStep, edited_.angleStep, AngleStepChanged);
    CreateFieldLabel(dialog, kAngleLabelItem, ItemRect(157, 52, 22, 22), kAngleTip);
}

void PreferencesDialog::createLabelSizeList(ADMDialogRef dialog) {
    constexpr const char* kLabelSizeTip = "Size of the annotations.";
    const ADMItemRef size =
        CreateItem(dialog, kLabelSizeItem, kADMPopupListType, ItemRect(185, 86, 80, 20), kLabelSizeTip);
    const ADMListRef sizes = sADMItem->GetList(size);
    for (ASInt32 i = 0; i <= kMaximumLabelSize; ++i) {
        const ADMEntryRef entry = sADMList->InsertEntry(sizes, i);
        sADMEntry->SetText(entry, kLabelSizeTexts[i]);
        sADMEntry->SetID(entry, i);
    }
    sADMEntry->Select(sADMList->IndexEntry(sizes, edited_.labelSize), true);
    sADMItem->SetNotifyProc(size, LabelSizeChanged);
    const ADMItemRef sample =
        CreateItem(dialog, kLabelSizeSampleItem, kADMPicturePushButtonType, ItemRect(113, 84, 68, 28), kLabelSizeTip);
    sADMItem->SetDrawProc(sample, DrawLabelSizeSample);
}

void PreferencesDialog::drawPrecisionPicture(ADMDrawerRef drawer) const {
    const auto fill = [drawer](const ASRect& rect) { sADMDrawer->FillRect(drawer, &rect); };

    sADMDrawer->SetADMColor(drawer, kADMHiliteColor);
    fill(RectFromEdges(0, 5, 2, 11));
    if (live_.decimalSeparator == ',') {
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
        sADMDrawer->SetADMColor(drawer, i < edited_.precision ? kADMHiliteColor : kADMShadowColor);
        const auto left = static_cast<ASInt16>(6 + 3 * i);
        fill(RectFromEdges(left, 5, static_cast<ASInt16>(left + 2), 11));
    }
}

ASBoolean PreferencesDialog::trackPrecisionPicture(ADMItemRef item, ADMTrackerRef tracker) {
    ASPoint point{};
    sADMTracker->GetPoint(tracker, &point);
    if (point.h < 0 || point.h > kPrecisionPictureWidth) return sADMItem->DefaultTrack(item, tracker);

    const ADMDialogRef dialog = sADMItem->GetDialog(item);
    sADMBasic->SetPlatformCursor(sADMDialog->GetPluginRef(dialog), kDragCursor);
    if (sADMTracker->GetMouseState(tracker) == kADMMouseDown) {
        edited_.precision = PrecisionAfterDrag(edited_.precision, lastTrackPoint_.h, point.h);
        lastTrackPoint_.h = point.h;
        const ADMItemRef field = sADMDialog->GetItem(dialog, kPrecisionItem);
        sADMItem->SetIntValue(field, edited_.precision);
        sADMItem->Invalidate(item);
        sADMItem->Activate(field, true);
    }
    return sADMItem->DefaultTrack(item, tracker);
}

void PreferencesDialog::drawLabelSizeSample(ADMDrawerRef drawer) const {
    ASRect background{};
    sADMDrawer->GetBoundsRect(drawer, &background);
    sADMDrawer->ClearRect(drawer, &background);
    const LabelSizeSample& sample =
        kLabelSizeSamples[static_cast<std::size_t>(std::clamp(edited_.labelSize, 0, kMaximumLabelSize))];
    sADMDrawer->SetFont(drawer, sample.font);
    sADMDrawer->SetADMColor(drawer, kADMWhiteColor);
    sADMDrawer->FillRect(drawer, &sample.frame);
    sADMDrawer->SetADMColor(drawer, kADMBlackColor);
    sADMDrawer->FrameRect(drawer, &sample.frame);
    sADMDrawer->DrawTextCentered(drawer, kSampleText, &sample.frame);
}

void PreferencesDialog::accept(ADMItemRef item, ADMNotifierRef notifier) {
    sADMItem->DefaultNotify(item, notifier);

    Settings applied = edited_;
    // The panel's visibility is not the dialog's, and the custom scale is stored by its own
    // dialog as soon as it is defined.
    applied.panelVisible = live_.panelVisible;
    applied.customNumerator = live_.customNumerator;
    applied.customDenominator = live_.customDenominator;
    live_ = applied;

    StorePreferences(live_);
    sADMItem->Show(sADMDialog->GetItem(panel_, panelLayout::kScaleIndicatorItem), live_.scale() != 1.0);
    close(item);
}

void PreferencesDialog::restoreDefaults(ADMItemRef item) {
    edited_.precision = kDefaultPrecision;
    sADMItem->SetIntValue(SiblingItem(item, kPrecisionItem), edited_.precision);
    sADMItem->Invalidate(SiblingItem(item, kPrecisionPictureItem));

    edited_.labelSize = kDefaultLabelSize;
    sADMEntry->Select(sADMList->IndexEntry(sADMItem->GetList(SiblingItem(item, kLabelSizeItem)), 0), true);
    sADMItem->Invalidate(SiblingItem(item, kLabelSizeSampleItem));

    edited_.scaleNumerator = kDefaultScale;
    edited_.scaleDenominator = kDefaultScale;
    MarkChosenScale(SiblingItem(item, kScaleListItem), edited_);

    const double lengthPoints = units::PointsFromMillimetres(kDefaultLengthStep);
    edited_.lengthStep = units::MillimetresFromPoints(lengthPoints);
    sADMItem->SetFloatValue(SiblingItem(item, kLengthItem), static_cast<float>(lengthPoints));
    edited_.angleStep = kDefaultAngleStep;
    sADMItem->SetFloatValue(SiblingItem(item, kAngleItem), static_cast<float>(edited_.angleStep));

    edited_.swapShiftAlt = false;
    sADMItem->SetBooleanValue(SiblingItem(item, kSwapShiftAltItem), edited_.swapShiftAlt);
}

void PreferencesDialog::close(ADMItemRef item) {
    sADMDialog->GetBoundsRect(sADMItem->GetDialog(item), &place_.frame);
    place_.open = false;
}
