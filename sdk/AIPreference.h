#pragma once

#include "AITypes.h"

constexpr const char* kAIPreferenceSuite = "AI Preference Suite";
constexpr ASInt32 kAIPreferenceSuiteVersion = 1004;

/// The preference store: typed values under a prefix (null or "" for none) and a key.
/// A get of a missing key, or of a key stored with another kind, answers an error
/// and leaves the destination as it was.
struct AIPreferenceSuite {
    AIErr (*GetBooleanPreference)(const char* prefix, const char* suffix, AIBoolean* value);
    AIErr (*PutBooleanPreference)(const char* prefix, const char* suffix, AIBoolean value);
    AIErr (*GetIntegerPreference)(const char* prefix, const char* suffix, ASInt32* value);
    AIErr (*PutIntegerPreference)(const char* prefix, const char* suffix, ASInt32 value);
    AIErr (*GetRealPreference)(const char* prefix, const char* suffix, double* value);
    AIErr (*PutRealPreference)(const char* prefix, const char* suffix, double value);
};
