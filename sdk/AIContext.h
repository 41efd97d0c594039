#pragma once

#include "AITypes.h"

constexpr const char* kAIContextSuite = "AI Context Suite";
constexpr ASInt32 kAIContextSuiteVersion = 1005;

struct AIAppContextSuite {
    /// Makes the plug-in's context current; pop it with the handle returned.
    AIErr (*PushAppContext)(SPPluginRef plugin, AIAppContextHandle* appContext);
    /// Ends the innermost context; it must be the one given.
    AIErr (*PopAppContext)(AIAppContextHandle appContext);
};
