// The plug-in's menu entries: the About item, and the item that shows or hides the
// panel, each in a submenu that the family of plug-ins shares.
#include "Menus.h"

#include <cstring>

#include "AboutBox.h"
#include "IAIUnicodeString.h"
#include "IThrowException.h"
#include "ModalDialogs.h"
#include "OrvaneSuites.h"
#include "Panel.h"
#include "SDKAboutPluginsHelper.h"

namespace {

// Texts in Mac OS Roman: \xA5 is the bullet, \xC9 the ellipsis.
constexpr const char* kAboutGroup = "About Tesk\xA5Tools\xC9";
constexpr const char* kAboutEntry = "Tesk\xA5Orvane\xC9";
constexpr const char* kToolsGroup = "Tesk\xA5Tools";
constexpr const char* kHidePanel = "Hide Tesk\xA5Orvane";
constexpr const char* kShowPanel = "Show Tesk\xA5Orvane";

/// Looks for the group from the last one made, where a sibling plug-in's group would be.
ASErr FindMenuGroup(const char* name, bool& found) {
    found = false;
    ASInt32 count = 0;
    ASErr error = sAIMenu->CountMenuGroups(&count);
    for (ASInt32 i = count - 1; !error && !found && i >= 0; --i) {
        AIMenuGroup group = nullptr;
        const char* groupName = nullptr;
        error = sAIMenu->GetNthMenuGroup(i, &group);
        if (!error) error = sAIMenu->GetMenuGroupName(group, &groupName);
        if (!error) found = std::strcmp(groupName, name) == 0;
    }
    return error;
}

ASErr AddMenuEntry(SPPluginRef plugin, const char* group, const char* key, const char* text, ASInt32 options,
                   AIMenuItemHandle* item) {
    ai::UnicodeString hostText(text);
    const AIPlatformAddMenuItemDataUS data = {group, hostText.GetHandle()};
    return sAIMenu->AddMenuItem(plugin, key, &data, options, item);
}

}  // namespace

ASErr Menus::add(SPInterfaceMessage* message) {
    // A failed About entry leaves the show/hide entry to be added all the same.
    SDKAboutPluginsHelper aboutHelper;
    aboutHelper.AddAboutPluginsMenuItem(message, kAboutGroup, kAboutGroup, kAboutEntry, &about_);

    // Start-up runs outside the message guard: a failed conversion must come back as a code.
    try {
        bool exists = false;
        ASErr error = FindMenuGroup(kToolsGroup, exists);
        if (error) return error;
        if (!exists) {
            error = AddMenuEntry(message->d.self, kToolPalettesMenuGroup, kToolsGroup, kToolsGroup, 0, &showHide_);
            AIMenuGroup group = nullptr;
            if (!error)
                error = sAIMenu->AddMenuGroupAsSubMenu(kToolsGroup, kMenuGroupSortedAlphabeticallyOption, showHide_,
                                                       &group);
            if (error) return error;
        }
        return AddMenuEntry(message->d.self, kToolsGroup, kHidePanel, kHidePanel, kMenuItemWantsUpdateOption,
                            &showHide_);
    } catch (const ai::Error& failure) {
        return failure;
    }
}

void Menus::choose(AIMenuItemHandle item, SPPluginRef plugin, Panel* panel, Settings& settings) const {
    if (item == about_) {
        // The run answers the ID of the button that closed the box; that is no failure for the host.
        sADMDialog->Modal(plugin, about::kName, dialogs::kAboutId, kADMModalDialogStyle, InitAboutBox, nullptr, 0);
    } else if (item == showHide_ && panel) {
        IADMDialog dialog = panel->GetDialog();
        settings.panelVisible = !dialog.IsVisible();
        dialog.Show(settings.panelVisible);
    }
}

void Menus::update(AIMenuItemHandle item, const Panel* panel) {
    const bool visible = panel && panel->GetDialog().IsVisible();
    ai::UnicodeString text(visible ? kHidePanel : kShowPanel);
    sAIMenu->SetItemText(item, text.GetHandle());
}
