#include "SDKAboutPluginsHelper.h"

#include <cstring>

#include "IAIUnicodeString.h"
#include "IThrowException.h"

ASErr SDKAboutPluginsHelper::AddAboutPluginsMenuItem(SPInterfaceMessage* message, const char* groupName,
                                                     const char* groupText, const char* itemText,
                                                     AIMenuItemHandle* menuItem) {
    SPBasicSuite* basic = message->d.basic;
    // The helper serves any plug-in of the family, so it does not count on the plug-in's own suites.
    ASErr error = kNoErr;
    bool acquired = false;
    if (!fAIMenu) {
        error = basic->AcquireSuite(kAIMenuSuite, kAIMenuSuiteVersion, reinterpret_cast<const void**>(&fAIMenu));
        acquired = !error;
    }
    try {
        bool exists = false;
        if (!error) error = GroupExists(groupName, exists);
        if (!error && !exists) {
            ai::UnicodeString text(groupText);
            const AIPlatformAddMenuItemDataUS data = {kAboutMenuGroup, text.GetHandle()};
            AIMenuItemHandle groupItem = nullptr;
            error = fAIMenu->AddMenuItem(message->d.self, nullptr, &data, 0, &groupItem);
            AIMenuGroup group = nullptr;
            if (!error)
                error =
                    fAIMenu->AddMenuGroupAsSubMenu(groupName, kMenuGroupSortedAlphabeticallyOption, groupItem, &group);
        }
        if (!error) {
            ai::UnicodeString text(itemText);
            const AIPlatformAddMenuItemDataUS data = {groupName, text.GetHandle()};
            AIMenuItemHandle item = nullptr;
            error = fAIMenu->AddMenuItem(message->d.self, nullptr, &data, 0, &item);
            if (!error && menuItem) *menuItem = item;
        }
    } catch (const ai::Error& failure) {
        error = failure;
    }
    if (acquired) basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion);
    fAIMenu = nullptr;
    return error;
}

ASErr SDKAboutPluginsHelper::GroupExists(const char* name, bool& exists) {
    exists = false;
    ASInt32 count = 0;
    ASErr error = fAIMenu->CountMenuGroups(&count);
    for (ASInt32 i = 0; !error && !exists && i < count; ++i) {
        AIMenuGroup group = nullptr;
        const char* groupName = nullptr;
        error = fAIMenu->GetNthMenuGroup(i, &group);
        if (!error) error = fAIMenu->GetMenuGroupName(group, &groupName);
        if (!error) exists = std::strcmp(groupName, name) == 0;
    }
    return error;
}
