// The plug-in's menu entries: the About item, and the item that shows or hides the
// panel, each in a submenu that the family of plug-ins shares.
#pragma once

#include "AIMenu.h"
#include "AIMessages.h"
#include "Settings.h"

class Panel;

class Menus {
public:
    /// Adds both items, the submenus too where no sibling plug-in has made them.
    ASErr add(SPInterfaceMessage* message);
    /// Carries out the chosen item: the About box, or the panel shown or hidden.
    void choose(AIMenuItemHandle item, SPPluginRef plugin, Panel* panel, Settings& settings) const;
    /// Before the menu shows: the show/hide item names what it will do.
    static void update(AIMenuItemHandle item, const Panel* panel);

private:
    AIMenuItemHandle showHide_ = nullptr;
    AIMenuItemHandle about_ = nullptr;
};
