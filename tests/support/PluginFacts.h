// What the programs around the plug-in know of it from the outside: the name its
// tool registers, the name and items of its palette, the keys it keeps in the
// preference store, the texts of its menu items and its dialogs' IDs. The replay
// program, the workbench, the benchmarks, the fuzzers and the tests take them from
// here, so that they are written once. The plug-in's own code never includes this:
// these are the values it shows the host, copied byte for byte (the menu texts are
// UTF-8, as the host gives them).
#pragma once

#include <vector>

#include "ASTypes.h"
#include "host/dialogs/DialogManager.h"

namespace plugin_facts {

/// The tool the plug-in registers.
constexpr const char* kToolName = "Orvane Tool";
/// The tool's tip in the toolbox.
constexpr const char* kToolTip = "Orvane Tool 1.3";

/// The panel, as sessions name it: the palette the plug-in opened, the oldest one still there, shown or
/// hidden; null before it exists.
inline ADMDialogRef panelOf(const host::DialogManager& dialogs) {
    const std::vector<ADMDialogRef> palettes = dialogs.palettes();
    return palettes.empty() ? nullptr : palettes.front();
}

/// The palette (the floating dialog) the plug-in opens, and where the host keeps its place.
constexpr const char* kPanelName = "Orvane";
constexpr const char* kPanelDockingKey = "kADM_DPDockCodeStr";
/// The palette's items.
constexpr ASInt32 kLengthField = 1;
constexpr ASInt32 kAngleField = 3;
constexpr ASInt32 kWakeItem = 6;
constexpr ASInt32 kNextHelpPageItem = 8;
/// The entries of the palette's fly-out menu, by position.
constexpr ASInt32 kPreferencesEntry = 0;
constexpr ASInt32 kHelpEntry = 2;
/// The help pages the palette can turn through.
constexpr int kHelpPages = 10;

/// The prefix of every setting the plug-in keeps, and the keys the callers use.
constexpr const char* kPreferencePrefix = "TeskOrvane";
constexpr const char* kPrecisionKey = "Precision";
/// The drawing scale: lengths on the drawing are lengths on the page times numerator / denominator, each
/// at least 1 (a missing or smaller value counts as 1).
constexpr const char* kScaleNumeratorKey = "EchelleNum";
constexpr const char* kScaleDenominatorKey = "EchelleDen";
constexpr const char* kPanelVisibleKey = "PanneauVisible";

/// One entry of the preference store: a prefix and a key.
struct StoredKey {
    const char* prefix;
    const char* key;
};
/// Every setting the plug-in reads at start, its palette's place included.
constexpr StoredKey kStoredKeys[] = {
    {kPreferencePrefix, kScaleNumeratorKey},
    {kPreferencePrefix, kScaleDenominatorKey},
    {kPreferencePrefix, "EchelleNumPersoReal"},
    {kPreferencePrefix, "EchelleDenPersoReal"},
    {kPreferencePrefix, kPrecisionKey},
    {kPreferencePrefix, "TailleAnnos"},
    {kPreferencePrefix, "CtrlLongueur"},
    {kPreferencePrefix, "CtrlAngle"},
    {kPreferencePrefix, "ShiftAltInverse"},
    {kPreferencePrefix, kPanelVisibleKey},
    {kPanelName, kPanelDockingKey},
};

/// The menu items' texts.
constexpr const char* kAboutItem = "Tesk•Orvane…";
constexpr const char* kShowPanelItem = "Show Tesk•Orvane";
constexpr const char* kHidePanelItem = "Hide Tesk•Orvane";

/// The modal dialogs' IDs.
constexpr ASInt32 kAboutDialogID = 16500;
constexpr ASInt32 kPreferencesDialogID = 16600;

}  // namespace plugin_facts
