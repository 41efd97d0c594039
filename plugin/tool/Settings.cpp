#include "Settings.h"

#include <cmath>
#include <limits>

#include "OrvaneSuites.h"

using namespace settings;

namespace {

/// Scales below this, taken in single precision, are no scale at all.
constexpr double kSmallestCustomScale = static_cast<double>(0.0001f);

// The store can be edited or damaged outside the program: a stored real that
// is not finite, even once taken in single precision as the fields and the
// geometry take it, falls back to the setting's default. A negative zero is zero.
void ReadReal(const char* key, double& value, double defaultValue) {
    sAIPreference->GetRealPreference(kPrefix, key, &value);
    if (!(std::fabs(value) <= std::numeric_limits<float>::max())) value = defaultValue;
    if (value == 0.0) value = 0.0;
}

void WriteDefaultReal(const char* key, double& value, double defaultValue) {
    value = defaultValue;
    sAIPreference->PutRealPreference(kPrefix, key, value);
}

}  // namespace

void LoadSettings(Settings& stored) {
    ASInt32 probe = -1;
    sAIPreference->GetIntegerPreference(kPrefix, kKeyPrecision, &probe);
    if (probe < 0 || probe > kMaximumPrecision) {
        StoreDefaultSettings(stored);
        sADMBasic->Beep();
        return;
    }

    AIBoolean visible = stored.panelVisible;
    sAIPreference->GetBooleanPreference(kPrefix, kKeyPanelVisible, &visible);
    stored.panelVisible = visible != 0;

    ReadReal(kKeyScaleNumerator, stored.scaleNumerator, kDefaultScale);
    if (1.0 > stored.scaleNumerator) stored.scaleNumerator = 1.0;
    ReadReal(kKeyScaleDenominator, stored.scaleDenominator, kDefaultScale);
    if (1.0 > stored.scaleDenominator) stored.scaleDenominator = 1.0;

    ReadReal(kKeyCustomNumerator, stored.customNumerator, kDefaultCustomNumerator);
    if (stored.customNumerator < kSmallestCustomScale) stored.customNumerator = 1.0;
    ReadReal(kKeyCustomDenominator, stored.customDenominator, kDefaultCustomDenominator);
    if (stored.customDenominator < kSmallestCustomScale) stored.customDenominator = 1.0;

    sAIPreference->GetIntegerPreference(kPrefix, kKeyPrecision, &stored.precision);
    sAIPreference->GetIntegerPreference(kPrefix, kKeyLabelSize, &stored.labelSize);
    if (stored.labelSize < 0 || stored.labelSize > kMaximumLabelSize) stored.labelSize = kDefaultLabelSize;

    stored.lengthStep = kDefaultLengthStep;
    ReadReal(kKeyLengthStep, stored.lengthStep, kDefaultLengthStep);
    if (stored.lengthStep < 0.0) stored.lengthStep = kDefaultLengthStep;
    stored.angleStep = kDefaultAngleStep;
    ReadReal(kKeyAngleStep, stored.angleStep, kDefaultAngleStep);
    if (stored.angleStep < 0.0) stored.angleStep = kDefaultAngleStep;

    AIBoolean swapped = false;
    sAIPreference->GetBooleanPreference(kPrefix, kKeySwapShiftAlt, &swapped);
    stored.swapShiftAlt = swapped != 0;
}

void StoreDefaultSettings(Settings& stored) {
    WriteDefaultReal(kKeyScaleNumerator, stored.scaleNumerator, kDefaultScale);
    WriteDefaultReal(kKeyScaleDenominator, stored.scaleDenominator, kDefaultScale);
    WriteDefaultReal(kKeyCustomNumerator, stored.customNumerator, kDefaultCustomNumerator);
    WriteDefaultReal(kKeyCustomDenominator, stored.customDenominator, kDefaultCustomDenominator);
    stored.precision = kDefaultPrecision;
    sAIPreference->PutIntegerPreference(kPrefix, kKeyPrecision, stored.precision);
    stored.labelSize = kDefaultLabelSize;
    sAIPreference->PutIntegerPreference(kPrefix, kKeyLabelSize, stored.labelSize);
    WriteDefaultReal(kKeyLengthStep, stored.lengthStep, kDefaultLengthStep);
    WriteDefaultReal(kKeyAngleStep, stored.angleStep, kDefaultAngleStep);
    stored.swapShiftAlt = false;
    sAIPreference->PutBooleanPreference(kPrefix, kKeySwapShiftAlt, stored.swapShiftAlt);
}

void StorePreferences(const Settings& stored) {
    sAIPreference->PutIntegerPreference(kPrefix, kKeyLabelSize, stored.labelSize);
    sAIPreference->PutIntegerPreference(kPrefix, kKeyPrecision, stored.precision);
    sAIPreference->PutRealPreference(kPrefix, kKeyScaleNumerator, stored.scaleNumerator);
    sAIPreference->PutRealPreference(kPrefix, kKeyScaleDenominator, stored.scaleDenominator);
    sAIPreference->PutBooleanPreference(kPrefix, kKeySwapShiftAlt, stored.swapShiftAlt);
    sAIPreference->PutRealPreference(kPrefix, kKeyLengthStep, stored.lengthStep);
    sAIPreference->PutRealPreference(kPrefix, kKeyAngleStep, stored.angleStep);
}

void StoreCustomScale(const Settings& stored) {
    sAIPreference->PutRealPreference(kPrefix, kKeyCustomNumerator, stored.customNumerator);
    sAIPreference->PutRealPreference(kPrefix, kKeyCustomDenominator, stored.customDenominator);
}

void StorePanelState(const Settings& stored, std::optional<ASInt32> dockingCode) {
    if (dockingCode) sAIPreference->PutIntegerPreference(kPanelName, kKeyPanelDocking, *dockingCode);
    sAIPreference->PutBooleanPreference(kPrefix, kKeyPanelVisible, stored.panelVisible);
}
