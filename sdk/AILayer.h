#pragma once

#include "AITypes.h"

constexpr const char* kAILayerSuite = "AI Layer Suite";
constexpr ASInt32 kAILayerSuiteVersion = 1011;

struct AILayerSuite {
    AIErr (*CountLayers)(ASInt32* count);
    AIErr (*GetNthLayer)(ASInt32 n, AILayerHandle* layer);
    AIErr (*GetCurrentLayer)(AILayerHandle* layer);
    /// The layer's colour, the one its selections and outlines are shown in.
    AIErr (*GetLayerColor)(AILayerHandle layer, AIRGBColor* color);
    AIErr (*SetLayerColor)(AILayerHandle layer, const AIRGBColor* color);
};
