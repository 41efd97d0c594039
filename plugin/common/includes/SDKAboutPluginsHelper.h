// The About entries that a family of plug-ins shares: one submenu in the host's
// About group, made by whichever plug-in of the family loads first, into which
// each plug-in puts its own item.
#pragma once

#include "AIMenu.h"
#include "AIMessages.h"

class SDKAboutPluginsHelper {
public:
    /// Puts itemText (8-bit, platform encoding) into the About submenu groupName, first making the
    /// submenu, shown as groupText, when no plug-in has yet. The host's code; the item in menuItem.
    ASErr AddAboutPluginsMenuItem(SPInterfaceMessage* message, const char* groupName, const char* groupText,
                                  const char* itemText, AIMenuItemHandle* menuItem);

private:
    /// Whether the host has a menu group named name; the host's code.
    ASErr GroupExists(const char* name, bool& exists);

    /// Held only during AddAboutPluginsMenuItem.
    const AIMenuSuite* fAIMenu = nullptr;
};
