// The floating panel: a strip with the length and angle fields that give the tool its
// next segment, and below it the help pages. One object, owned by the plug-in object
// from the end of the host's start-up to the announcement of its shutdown.
#pragma once

#include <optional>

#include "ADMItem.h"
#include "AITypes.h"
#include "BaseADMDialog.h"
#include "ModalDialogs.h"
#include "PolylineTool.h"
#include "SPBasic.h"

namespace panelLayout {
constexpr const char* kName = "Orvane";
constexpr const char* kTitle = "Orvane 1.3";
/// Where the host keeps the panel's docking: the prefix is the panel's name.
constexpr const char* kDockingKey = "kADM_DPDockCodeStr";

// The panel's items.
constexpr ASInt32 kLengthItem = 1;
constexpr ASInt32 kLengthLabelItem = 2;
constexpr ASInt32 kAngleItem = 3;
constexpr ASInt32 kAngleLabelItem = 4;
// A field label's field is the item before it.
static_assert(kLengthLabelItem == kLengthItem + 1 && kAngleLabelItem == kAngleItem + 1);
constexpr ASInt32 kScaleIndicatorItem = 5;
constexpr ASInt32 kWakeItem = 6;

/// The strip, without the help area, and the panel with it.
constexpr ASInt32 kWidth = 185;
constexpr ASInt32 kStripHeight = 27;
constexpr ASInt32 kHeightWithHelp = 140;
/// Where the click-catcher goes while the tool is selected: beyond the strip.
constexpr ASInt32 kWakeAside = 370;

/// The panel menu's help entry; its first letter tells whether the help is shown.
constexpr const char* kShowHelp = "Show help";
constexpr const char* kHideHelp = "Hide help";
}  // namespace panelLayout

/// The shown angle and the direction that a typed angle gives.
struct TypedAngle {
    AIReal shownAngle;  // radians for the label, -pi excluded to pi: negative for a right turn typed so
    AIReal direction;   // direction of the segment
};

/// A typed angle (degrees, 180 straight on) turned into the segment's direction from
/// the last placed segment's direction previousDirection.
TypedAngle TypedAngleToDirection(AIReal previousDirection, AIReal degrees);

/// The angle in degrees that, typed in the angle field, gives the direction direction
/// again from previousDirection: the shown angle for a turn to the left or straight on, 360
/// minus it for a turn to the right, 0 doubling back.
AIReal AngleToRetype(AIReal previousDirection, AIReal direction);

/// Where the modal dialogs open: a third of the free height of the screen down, centred
/// across. Done when the panel is built, or at start-up without it.
void PlaceDialogs(const ASRect& screen, ModalDialogPlace& preferences, ModalDialogPlace& customScale);

class Panel : public BaseADMDialog {
public:
    /// Has the host create the panel; Init builds it during the creation.
    explicit Panel(SPPluginRef plugin);
    ~Panel() override;

    ASErr Init() override;

    /// Items enabled and the click-catcher moved away while the tool is selected;
    /// otherwise the catcher covers the strip so that a click selects the tool.
    void EnableForTool(bool active);

    /// Where the host has docked the panel, while the panel exists.
    std::optional<ASInt32> DockingCode() const;

    /// The dialog as its Init built it.
    ADMDialogRef BuiltDialog() const { return fBuilt; }
    /// The help page shown, 1 to help::kPageCount.
    ASInt16& ShownHelpPage() { return fHelpPage; }

    static void PanelNotified(ADMDialogRef dialog, ADMNotifierRef notifier);

private:
    SPAccessRef fAccess = nullptr;
    ADMDialogRef fBuilt = nullptr;
    ASInt16 fHelpPage = 1;
};

/// The fields show the segment under construction: its length at the drawing scale and
/// the angle that, typed back, gives it (AngleToRetype).
void FillPanelFields(const ToolState& state, double scale);

/// Gives the length field the keyboard focus.
void FocusLengthField();

// Notify procedures of the panel's items.
void WakePanelClicked(ADMItemRef item, ADMNotifierRef notifier);
void LengthFieldChanged(ADMItemRef item, ADMNotifierRef notifier);
void AngleFieldChanged(ADMItemRef item, ADMNotifierRef notifier);
void PanelMenuChosen(ADMItemRef item, ADMNotifierRef notifier);

/// The typed length and angle become the segment under construction.
void TakeTypedSegment(ADMDialogRef dialog, ToolState& state, double scale);
