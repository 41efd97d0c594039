#pragma once

#include "AITypes.h"

constexpr const char* kAINotifierSuite = "AI Notifier Suite";
constexpr ASInt32 kAINotifierSuiteVersion = 1002;

constexpr const char* kAIApplicationStartedNotifier = "AI Application Started Notifier";
constexpr const char* kAIApplicationShutdownNotifier = "AI Application Shutdown Notifier";

struct AINotifierSuite {
    /// Registers a notifier: the plug-in receives "AI Notifier" "AI Notify" for each notification of type.
    AIErr (*AddNotifier)(SPPluginRef self, const char* name, const char* type, AINotifierHandle* notifier);
    AIErr (*GetNotifierActive)(AINotifierHandle notifier, AIBoolean* active);
    AIErr (*SetNotifierActive)(AINotifierHandle notifier, AIBoolean active);
};
