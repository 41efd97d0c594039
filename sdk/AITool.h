#pragma once

#include "ADMTypes.h"
#include "AITypes.h"

constexpr const char* kAIToolSuite = "AI Tool Suite";
constexpr ASInt32 kAIToolSuiteVersion = 1011;

using AIToolType = ASInt32;
/// No tool: a group or toolset of its own.
constexpr AIToolType kNoTool = -2;

/// The host sends "AI Track Cursor" messages to the tool.
constexpr ASInt32 kToolWantsToTrackCursorOption = 1;

/// How a tool is shown in the toolbox.
struct AIAddToolData {
    const char* title;
    const char* tooltip;
    ASInt32 helpID;
    ADMIconRef icon;
    AIToolType sameGroupAs;
    AIToolType sameToolsetAs;
};

struct AIToolSuite {
    AIErr (*AddTool)(SPPluginRef self, const char* name, const AIAddToolData* data, ASInt32 options,
                     AIToolHandle* tool);
    /// The number of the tool registered under name; kNameNotFoundErr when there is none.
    AIErr (*GetToolNumberFromName)(const char* name, AIToolType* toolNum);
    /// Attaches a further icon to the tool (shown while the pointer rests on it).
    AIErr (*SetToolRolloverIcon)(AIToolHandle tool, ADMIconRef icon);
    AIErr (*GetSelectedTool)(AIToolHandle* tool);
    AIErr (*SetSelectedTool)(AIToolHandle tool);
};
