// Suites the plug-in acquires at start-up and never calls. Only their names and
// versions matter: the host gives a table that holds no function.
#pragma once

#include "ASTypes.h"

constexpr const char* kASLibSuite = "AS Lib Suite";
constexpr ASInt32 kASLibSuiteVersion = 1002;
constexpr const char* kAITransformArtSuite = "AI Transform Art Suite";
constexpr ASInt32 kAITransformArtSuiteVersion = 1001;
constexpr const char* kAIMdMemorySuite = "AI MdMemory Suite";
constexpr ASInt32 kAIMdMemorySuiteVersion = 1001;
constexpr const char* kAIPathStyleSuite = "AI Path Style Suite";
constexpr ASInt32 kAIPathStyleSuiteVersion = 1011;
constexpr const char* kAIPluginSuite = "AI Plugin Suite";
constexpr ASInt32 kAIPluginSuiteVersion = 1003;
constexpr const char* kAIUserSuite = "AI User Suite";
constexpr ASInt32 kAIUserSuiteVersion = 1009;
constexpr const char* kAITextFrameSuite = "AI Text Frame Suite";
constexpr ASInt32 kAITextFrameSuiteVersion = 1002;
constexpr const char* kAIATEPaintSuite = "AIATE Paint Suite";
constexpr ASInt32 kAIATEPaintSuiteVersion = 1001;
constexpr const char* kAIFontSuite = "AI Font Suite";
constexpr ASInt32 kAIFontSuiteVersion = 1004;
constexpr const char* kAIRuntimeSuite = "AI Runtime Suite";
constexpr ASInt32 kAIRuntimeSuiteVersion = 1010;

/// The table given for each of them.
struct AIUnusedSuite {
    ASInt32 reserved;
};
