// The settings: what the preferences dialog edits and the preference store keeps
// between runs, under the prefix "TeskOrvane". The key names are those of the stored
// files and must not change. Only this file's functions read or write the store's keys.
#pragma once

#include <optional>

#include "ASTypes.h"
#include "NumberText.h"

namespace settings {
constexpr const char* kPrefix = "TeskOrvane";
constexpr const char* kKeyScaleNumerator = "EchelleNum";
constexpr const char* kKeyScaleDenominator = "EchelleDen";
constexpr const char* kKeyCustomNumerator = "EchelleNumPersoReal";
constexpr const char* kKeyCustomDenominator = "EchelleDenPersoReal";
constexpr const char* kKeyPrecision = "Precision";
constexpr const char* kKeyLabelSize = "TailleAnnos";
constexpr const char* kKeyLengthStep = "CtrlLongueur";
constexpr const char* kKeyAngleStep = "CtrlAngle";
constexpr const char* kKeySwapShiftAlt = "ShiftAltInverse";
constexpr const char* kKeyPanelVisible = "PanneauVisible";
/// Where the host keeps the panel's docking: the prefix is the panel's name.
constexpr const char* kPanelName = "Orvane";
constexpr const char* kKeyPanelDocking = "kADM_DPDockCodeStr";

constexpr double kDefaultScale = 1.0;
constexpr double kDefaultCustomNumerator = 3.0;
constexpr double kDefaultCustomDenominator = 7.0;
constexpr ASInt32 kDefaultPrecision = 1;
constexpr ASInt32 kMaximumPrecision = kMaximumDecimals;
constexpr ASInt32 kDefaultLabelSize = 0;
constexpr ASInt32 kMaximumLabelSize = 2;
constexpr double kDefaultLengthStep = 2.0;
constexpr double kDefaultAngleStep = 5.0;
}  // namespace settings

struct Settings {
    double scaleNumerator = 0.0;
    double scaleDenominator = 0.0;
    double customNumerator = 0.0;  // the user's own scale, offered at the end of the scale list
    double customDenominator = 0.0;
    ASInt32 precision = 0;    // decimals of the labels, 0 to 6
    ASInt32 labelSize = 0;    // small, medium, large
    double lengthStep = 0.0;  // millimetres on the page
    double angleStep = 0.0;   // degrees
    bool swapShiftAlt = false;
    bool panelVisible = false;
    /// The labels' and dialogs' decimal separator, not stored: until the tool is first
    /// selected, numbers show a point.
    char decimalSeparator = '.';

    /// Page lengths times the scale are the lengths shown to the user.
    double scale() const { return scaleNumerator / scaleDenominator; }
};

/// Reads the stored settings; a missing or unusable store is reset to the defaults.
void LoadSettings(Settings& settings);
/// Sets every stored setting but the panel's visibility to its default and stores it.
void StoreDefaultSettings(Settings& settings);
/// Stores what the preferences dialog edits: all but the custom scale and the panel.
void StorePreferences(const Settings& settings);
/// Stores the custom scale, as soon as its dialog defines it.
void StoreCustomScale(const Settings& settings);
/// Stores whether the panel is shown and, when the host told it, where the panel is docked.
void StorePanelState(const Settings& settings, std::optional<ASInt32> dockingCode);
