#include "Panel.h"

#include <iterator>

#include "ADMNotifier.h"
#include "AppContext.h"
#include "DialogItems.h"
#include "Help.h"
#include "ModalDialogs.h"
#include "OrvaneSuites.h"
#include "PreferencesDialog.h"
#include "TypedAngle.h"
#include "TypedLength.h"
#include "Units.h"

namespace {

/// Whether a field holds any text: one emptied, or never filled, leaves its part to the cursor.
bool HoldsText(ADMItemRef field) {
    char first[2] = "";
    sADMItem->GetText(field, first, sizeof first);
    return first[0] != '\0';
}

constexpr ASInt32 kPanelMenu = 1019;
constexpr ASInt32 kScaleIndicatorPicture = 1016;
constexpr ASInt32 kNextPagePicture = 1010;
constexpr ASInt32 kNextPagePressedPicture = 1011;
constexpr ASInt32 kPreviousPagePicture = 1012;
constexpr ASInt32 kPreviousPagePressedPicture = 1013;

/// The help area's texts are small.
constexpr ADMFont kHelpFont = kADMSmallPaletteFont;

// The angle field's steps: 1 and 5 degrees.
constexpr float kSmallAngleStep = 1.0f;
constexpr float kLargeAngleStep = 5.0f;

/// The length field's presets in millimetres, by entry ID.
constexpr int kLengthPresets[] = {-100, -90, -80, -70, -60, -50, -40, -35, -30, -25, -20, -15, -10, -5,
                                  5,    10,  15,  20,  25,  30,  35,  40,  50,  60,  70,  80,  90,  100};
/// The middle groups (-40 to -5 and 5 to 40, IDs 6 to 21) get shorter texts.
constexpr int kFirstShortId = 6;
constexpr int kLastShortId = 21;
constexpr int kLongLengthCharacters = 9;
constexpr int kShortLengthCharacters = 7;
/// The angle field's presets: -165 to 180 degrees by 15.
constexpr int kAnglePresetCount = 24;
constexpr int kAngleCharacters = 5;

constexpr const char* kWakeTip = "Click on the panel to activate the tool.";
constexpr const char* kLengthTip = "Segment length (mm).";
constexpr const char* kAngleTip = "Angle of the segment (\xA1).";  // the degree sign of Mac OS Roman
constexpr const char* kScaleIndicatorTip = "Indicates that the scale is not one.";
constexpr const char* kHelpTextTip = "Help text.";
constexpr const char* kPageNumberTip = "Help page number.";

ADMItemRef Item(ADMDialogRef dialog, ASInt32 id) {
    return sADMDialog->GetItem(dialog, id);
}

/// A preset of a field: its value formatted in the field's units, no decimals, with the
/// unit, in at most the given number of characters.
void AddPreset(ADMListRef list, ASInt32 id, float value, ADMUnits units, int characters) {
    char text[16];
    sADMBasic->ValueToText(value, text, characters + 1, units, 0, true);
    ADMEntryRef entry = sADMList->InsertEntry(list, -1);
    sADMEntry->SetID(entry, id);
    sADMEntry->SetText(entry, text);
}

void CreateLengthField(ADMDialogRef dialog, ADMItemNotifyProc notify) {
    ADMItemRef field = CreateItem(dialog, panelLayout::kLengthItem, kADMSpinEditPopupType, RectFromEdges(4, 4, 84, 23));
    sADMItem->SetTipString(field, kLengthTip);
    sADMItem->SetNotifyProc(field, notify);
    sADMItem->SetUnits(field, kADMMillimeterUnits);
    sADMItem->SetSmallIncrement(field, units::kOneMillimetreInPoints);
    sADMItem->SetLargeIncrement(field, units::kFiveMillimetresInPoints);
    ADMListRef list = sADMItem->GetList(field);
    for (ASInt32 id = 0; id < static_cast<ASInt32>(std::size(kLengthPresets)); ++id) {
        const double points = units::PointsFromMillimetres(kLengthPresets[id]);
        const bool isShort = id >= kFirstShortId && id <= kLastShortId;
        AddPreset(list, id, static_cast<float>(points), kADMMillimeterUnits,
                  isShort ? kShortLengthCharacters : kLongLengthCharacters);
    }
}

void CreateAngleField(ADMDialogRef dialog, ADMItemNotifyProc notify) {
    ADMItemRef field =
        CreateItem(dialog, panelLayout::kAngleItem, kADMSpinEditPopupType, RectFromEdges(102, 4, 182, 23));
    sADMItem->SetTipString(field, kAngleTip);
    sADMItem->SetNotifyProc(field, notify);
    sADMItem->SetUnits(field, kADMDegreeUnits);
    sADMItem->SetSmallIncrement(field, kSmallAngleStep);
    sADMItem->SetLargeIncrement(field, kLargeAngleStep);
    ADMListRef list = sADMItem->GetList(field);
    for (ASInt32 id = 0; id < kAnglePresetCount; ++id)
        AddPreset(list, id, static_cast<float>(15 * id - 165), kADMDegreeUnits, kAngleCharacters);
}

void CreateArrow(ADMDialogRef dialog, ASInt32 id, ASRect rect, const char* tip, ADMItemNotifyProc notify,
                 ASInt32 picture, ASInt32 pressedPicture) {
    ADMItemRef arrow = CreateItem(dialog, id, kADMPicturePushButtonType, rect);
    sADMItem->SetTipString(arrow, tip);
    sADMItem->SetNotifyProc(arrow, notify);
    sADMItem->SetPictureID(arrow, picture, nullptr);
    sADMItem->SetSelectedPictureID(arrow, pressedPicture, nullptr);
    sADMItem->SetBooleanValue(arrow, false);
}

ADMItemRef CreateHelpText(ADMDialogRef dialog, ASInt32 id, ASRect rect, ADMJustify justify) {
    ADMItemRef text = CreateItem(dialog, id, kADMTextStaticType, rect);
    sADMItem->SetUnits(text, kADMNoUnits);
    sADMItem->SetJustify(text, justify);
    sADMItem->SetFont(text, kHelpFont);
    return text;
}

}  // namespace

Panel::Panel(SPPluginRef plugin, PolylineTool& tool, Settings& settings, PreferencesDialog& preferences,
             AIToolHandle toolHandle)
    : fTool(tool), fSettings(settings), fPreferences(preferences), fToolHandle(toolHandle) {
    Create(plugin, panelLayout::kName, dialogs::kPanelId, kADMTabbedFloatingDialogStyle, 0);
}

Panel::~Panel() {
    if (fAccess) sSPAccess->ReleasePlugin(fAccess);
}

ASErr Panel::Init() {
    const SPPluginRef plugin = fDialog.GetPluginRef();
    AppContext context(plugin);
    sSPAccess->AcquirePlugin(plugin, &fAccess);

    fBuilt = fDialog;
    const ADMDialogRef dialog = fBuilt;
    ASRect screen = {0, 0, 0, 0};
    sADMBasic->GetScreenDimensions(&screen);
    sADMDialog->SetNotifyProc(dialog, PanelNotified);
    fPreferences.place(screen);

    ADMItemRef menu = Item(dialog, kADMMenuItemID);
    sADMItem->SetNotifyProc(menu, MenuChosen);
    if (ADMListRef list = menu ? sADMItem->GetList(menu) : nullptr)
        sADMList->SetMenuID(list, plugin, kPanelMenu, nullptr);

    ADMItemRef wake = CreateItem(dialog, panelLayout::kWakeItem, kADMPictureStaticType,
                                 RectFromEdges(0, 0, panelLayout::kWidth, panelLayout::kStripHeight));
    sADMItem->SetTipString(wake, kWakeTip);
    sADMItem->SetNotifyProc(wake, WakeClicked);
    sADMItem->SetDrawProc(wake, DrawNothing);

    CreateLengthField(dialog, LengthFieldChanged);
    CreateFieldLabel(dialog, panelLayout::kLengthLabelItem, RectFromEdges(-2, 4, 3, 23), kLengthTip);
    CreateAngleField(dialog, AngleFieldChanged);
    CreateFieldLabel(dialog, panelLayout::kAngleLabelItem, RectFromEdges(87, 4, 101, 23), kAngleTip);

    ADMItemRef indicator =
        CreateItem(dialog, panelLayout::kScaleIndicatorItem, kADMPictureStaticType, RectFromEdges(90, 11, 96, 17));
    sADMItem->SetPictureID(indicator, kScaleIndicatorPicture, nullptr);
    const bool scaleIsOne = fSettings.scale() == 1.0;
    if (!scaleIsOne) sADMItem->SetTipString(indicator, kScaleIndicatorTip);
    sADMItem->Show(indicator, !scaleIsOne);

    createHelpArea(dialog);

    // The strip alone: the help area is opened from the panel's menu.
    ASRect rect{};
    sADMDialog->GetBoundsRect(dialog, &rect);
    rect.right = static_cast<ASInt16>(rect.left + panelLayout::kWidth);
    rect.bottom = static_cast<ASInt16>(rect.top + panelLayout::kStripHeight);
    sADMDialog->SetBoundsRect(dialog, &rect);

    sADMDialog->Show(dialog, fSettings.panelVisible);
    return kNoErr;
}

void Panel::createHelpArea(ADMDialogRef dialog) {
    ADMItemRef text = CreateItem(dialog, help::kTextItem, kADMTextStaticMultiLineType, RectFromEdges(4, 30, 181, 126));
    sADMItem->SetTipString(text, kHelpTextTip);
    sADMItem->SetJustify(text, kADMCenterJustify);
    sADMItem->SetFont(text, kHelpFont);
    fHelpPage = 1;
    sADMItem->SetText(text, HelpPage(fHelpPage));

    CreateArrow(dialog, help::kNextArrowItem, RectFromEdges(148, 128, 161, 139), help::kNextPageTip, NextPageClicked,
                kNextPagePicture, kNextPagePressedPicture);
    CreateArrow(dialog, help::kPreviousArrowItem, RectFromEdges(20, 128, 33, 139), help::kFirstPageTip,
                PreviousPageClicked, kPreviousPagePicture, kPreviousPagePressedPicture);
    sADMItem->Enable(Item(dialog, help::kPreviousArrowItem), false);
    ADMItemRef number =
        CreateHelpText(dialog, help::kPageNumberItem, RectFromEdges(70, 128, 90, 142), kADMRightJustify);
    sADMItem->SetTipString(number, kPageNumberTip);
    sADMItem->SetIntValue(number, fHelpPage);
    sADMItem->SetText(CreateHelpText(dialog, help::kSlashItem, RectFromEdges(90, 128, 100, 142), kADMCenterJustify),
                      "/");
    sADMItem->SetIntValue(
        CreateHelpText(dialog, help::kPageCountItem, RectFromEdges(100, 128, 120, 142), kADMLeftJustify),
        help::kPageCount);
}

void Panel::EnableForTool(bool active) {
    sADMDialog->SetText(fDialog, panelLayout::kTitle);
    for (ASInt32 id = panelLayout::kLengthItem; id <= help::kSlashItem; ++id) {
        // The catcher's tooltip invites the click that selects the tool: useful only until then.
        const bool tip = id == panelLayout::kWakeItem ? !active : active;
        sADMItem->EnableTip(sADMDialog->GetItem(fDialog, id), tip);
    }
    sADMItem->Move(sADMDialog->GetItem(fDialog, panelLayout::kWakeItem), active ? panelLayout::kWakeAside : 0, 0);
    for (ASInt32 id : {panelLayout::kLengthItem, panelLayout::kAngleItem, panelLayout::kScaleIndicatorItem})
        sADMItem->Enable(sADMDialog->GetItem(fDialog, id), active);
}

std::optional<ASInt32> Panel::DockingCode() const {
    const char* group = nullptr;
    ASInt32 code = 0;
    if (!fDialog || sADMDialogGroup->GetDialogGroupInfo(fDialog, &group, &code) != kNoErr) return std::nullopt;
    return code;
}

ADMItemRef Panel::item(ASInt32 id) const {
    return Item(fBuilt, id);
}

void Panel::FillFields(const ToolState& state) const {
    sADMItem->SetFloatValue(item(panelLayout::kLengthItem),
                            static_cast<float>(fSettings.scale() * state.segmentLength));
    sADMItem->SetFloatValue(item(panelLayout::kAngleItem), AngleToRetype(state.previousDirection, state.direction));
}

void Panel::ShowTypedEntry(const ToolState& state) const {
    const TypedEntry& typed = state.typed;
    if (ReadTypedLength(typed.length))
        sADMItem->SetFloatValue(item(panelLayout::kLengthItem),
                                static_cast<float>(fSettings.scale() * state.segmentLength));
    if (ReadTypedNumber(typed.angle) || typed.directionLocked)
        sADMItem->SetFloatValue(item(panelLayout::kAngleItem), AngleToRetype(state.previousDirection, state.direction));
}

void Panel::EmptyFields() const {
    sADMItem->SetText(item(panelLayout::kLengthItem), "");
    sADMItem->SetText(item(panelLayout::kAngleItem), "");
}

void Panel::FocusLengthField() const {
    sADMItem->Activate(item(panelLayout::kLengthItem), true);
}

TypedSegment Panel::TypedSegmentInFields() const {
    TypedSegment typed;
    const ADMItemRef lengthField = item(panelLayout::kLengthItem);
    const ADMItemRef angleField = item(panelLayout::kAngleItem);
    // The field holds the length at the drawing scale; the page holds it divided.
    if (HoldsText(lengthField))
        typed.length = static_cast<double>(sADMItem->GetFloatValue(lengthField)) / fSettings.scale();
    if (HoldsText(angleField)) typed.degrees = sADMItem->GetFloatValue(angleField);
    return typed;
}
