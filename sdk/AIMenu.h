#pragma once

#include "AITypes.h"

constexpr const char* kAIMenuSuite = "AI Menu Suite";
constexpr ASInt32 kAIMenuSuiteVersion = 1009;

// Host menu groups.
constexpr const char* kAboutMenuGroup = "About";
constexpr const char* kToolPalettesMenuGroup = "Tool Palettes";

/// Item options.
constexpr ASInt32 kMenuItemWantsUpdateOption = 1;
/// Group options.
constexpr ASInt32 kMenuGroupSortedAlphabeticallyOption = 1;

/// Where a new item goes and what it reads.
struct AIPlatformAddMenuItemDataUS {
    const char* groupName;
    AIUnicodeStringHandle itemText;
};

struct AIMenuSuite {
    /// Adds an item to a group; inKey (may be null) names the item.
    AIErr (*AddMenuItem)(SPPluginRef self, const char* inKey, const AIPlatformAddMenuItemDataUS* data, ASInt32 options,
                         AIMenuItemHandle* menuItem);
    /// Makes the item's submenu a new group.
    AIErr (*AddMenuGroupAsSubMenu)(const char* name, ASInt32 options, AIMenuItemHandle menuItem, AIMenuGroup* group);
    AIErr (*CountMenuGroups)(ASInt32* count);
    AIErr (*GetNthMenuGroup)(ASInt32 n, AIMenuGroup* group);
    AIErr (*GetMenuGroupName)(AIMenuGroup group, const char** name);
    AIErr (*SetItemText)(AIMenuItemHandle menuItem, AIUnicodeStringHandle text);
};
