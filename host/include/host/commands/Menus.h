// The host's menus: its own groups, the items plug-ins add to them and the groups
// they hang from those items as submenus.
//
// Group names and item keys are kept as plug-ins give them (the platform encoding,
// so that a name read back compares equal); item texts are kept in UTF-8, read
// from the Unicode string the plug-in handed over.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "AIMenu.h"
#include "host/platform/Handles.h"
#include "host/platform/SuiteRegistry.h"
#include "host/text/UnicodeStrings.h"

namespace host {

class Menus {
public:
    /// The host's own groups, in the order a menu bar shows them: "Tool Palettes" is the Window menu's
    /// list of palettes, "Window" the rest of that menu.
    static constexpr const char* kHostGroups[] = {kAboutMenuGroup, "Window", kToolPalettesMenuGroup, "Help"};

    struct Item {
        SPPluginRef plugin;  ///< null for an item of the host's own
        std::string key;     ///< empty when the item was added without one
        std::string text;    ///< UTF-8
        ASInt32 options;
        AIMenuGroup group;
        AIMenuGroup submenu = nullptr;
    };

    struct Group {
        std::string name;
        ASInt32 options;
        AIMenuItemHandle parent;              ///< the item it is the submenu of; null for the host's groups
        std::vector<AIMenuItemHandle> items;  ///< in the order they were added
    };

    explicit Menus(const UnicodeStrings& strings);
    ~Menus();
    void registerSuites(SuiteRegistry& registry);

    /// Every group, in the order they were made.
    const std::vector<AIMenuGroup>& groups() const { return order_; }
    const Group* group(AIMenuGroup handle) const { return groups_.find(handle); }
    const Item* item(AIMenuItemHandle handle) const { return items_.find(handle); }
    /// The group's items as the menu shows them: alphabetically in a group that asked for it.
    std::vector<AIMenuItemHandle> itemsOf(AIMenuGroup handle) const;

    /// The first item that runs a command (one without a submenu) with that text, or null.
    AIMenuItemHandle findCommand(const std::string& textUtf8) const;
    /// The items that asked for an update message before their menu is shown.
    std::vector<AIMenuItemHandle> itemsWantingUpdate() const;

    void dump(nlohmann::json& out) const;

private:
    static AIErr addMenuItem(SPPluginRef self, const char* key, const AIPlatformAddMenuItemDataUS* data,
                             ASInt32 options, AIMenuItemHandle* menuItem);
    static AIErr addMenuGroupAsSubMenu(const char* name, ASInt32 options, AIMenuItemHandle menuItem,
                                       AIMenuGroup* group);
    static AIErr countMenuGroups(ASInt32* count);
    static AIErr getNthMenuGroup(ASInt32 n, AIMenuGroup* group);
    static AIErr getMenuGroupName(AIMenuGroup group, const char** name);
    static AIErr setItemText(AIMenuItemHandle menuItem, AIUnicodeStringHandle text);

    AIMenuGroup findGroup(const std::string& name) const;
    AIMenuGroup addGroup(std::string name, ASInt32 options, AIMenuItemHandle parent);

    const UnicodeStrings& strings_;
    HandleTable<AIMenuItemHandle, Item> items_;
    HandleTable<AIMenuGroup, Group> groups_;
    std::vector<AIMenuGroup> order_;
};

}  // namespace host
