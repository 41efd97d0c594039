// The floating panel: a strip with the length and angle fields that give the tool its
// next segment, and below it the help pages. One object, owned by the plug-in object
// from the end of the host's start-up to the announcement of its shutdown; its dialog
// carries it as user data, which its items' procedures reach it by.
#pragma once

#include <optional>

#include "ADMItem.h"
#include "AITypes.h"
#include "BaseADMDialog.h"
#include "PolylineTool.h"
#include "SPBasic.h"
#include "Settings.h"

namespace panelLayout {
constexpr const char* kName = settings::kPanelName;
constexpr const char* kTitle = "Orvane 1.3";

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

class PreferencesDialog;

class Panel : public BaseADMDialog {
public:
    /// Has the host create the panel; Init builds it during the creation. The panel gives
    /// the tool its typed segments, shows and hides itself in the settings, opens the
    /// preferences from its menu and selects the tool when clicked.
    Panel(SPPluginRef plugin, PolylineTool& tool, Settings& settings, PreferencesDialog& preferences,
          AIToolHandle toolHandle);
    ~Panel() override;

    ASErr Init() override;

    /// Items enabled and the click-catcher moved away while the tool is selected;
    /// otherwise the catcher covers the strip so that a click selects the tool.
    void EnableForTool(bool active);

    /// Where the host has docked the panel, while the panel exists.
    std::optional<ASInt32> DockingCode() const;

    /// The dialog as its Init built it.
    ADMDialogRef BuiltDialog() const { return fBuilt; }

    /// The fields show the segment under construction: its length at the drawing scale and
    /// the angle that, typed back, gives it (AngleToRetype).
    void FillFields(const ToolState& state) const;
    /// The parts of the segment typed at the cursor, shown in their fields as FillFields shows them.
    void ShowTypedEntry(const ToolState& state) const;
    /// Empties both fields: the cursor gives the segment again.
    void EmptyFields() const;
    /// Gives the length field the keyboard focus.
    void FocusLengthField() const;
    /// The typed length, brought back to the page from the drawing scale, and angle.
    TypedSegment TypedSegmentInFields() const;

private:
    static Panel& Of(ADMDialogRef dialog);
    static Panel& OfItem(ADMItemRef item);
    static void PanelNotified(ADMDialogRef dialog, ADMNotifierRef notifier);
    // Notify procedures of the panel's items.
    static void WakeClicked(ADMItemRef item, ADMNotifierRef notifier);
    static void LengthFieldChanged(ADMItemRef item, ADMNotifierRef notifier);
    static void AngleFieldChanged(ADMItemRef item, ADMNotifierRef notifier);
    static void MenuChosen(ADMItemRef item, ADMNotifierRef notifier);
    static void PreviousPageClicked(ADMItemRef item, ADMNotifierRef notifier);
    static void NextPageClicked(ADMItemRef item, ADMNotifierRef notifier);

    void createHelpArea(ADMDialogRef dialog);
    /// Opens or closes the help area below the strip; the entry's text tells which is next.
    void toggleHelp(ADMEntryRef entry) const;
    ADMItemRef item(ASInt32 id) const;

    PolylineTool& fTool;
    Settings& fSettings;
    PreferencesDialog& fPreferences;
    AIToolHandle fToolHandle;
    SPAccessRef fAccess = nullptr;
    ADMDialogRef fBuilt = nullptr;
    /// The help page shown, 1 to help::kPageCount.
    ASInt16 fHelpPage = 1;
};
