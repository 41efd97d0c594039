// The host's menus through the AI Menu Suite, as plug-ins call it, and a person's
// choice of a menu item.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PluginFacts.h"
#include "host/Host.h"

namespace {

constexpr const char* kAboutFamily = "About Tesk\xA5Tools\xC9";  // Mac OS Roman, as plug-ins name groups

class MenuSuite : public testing::Test {
protected:
    void SetUp() override {
        const void* table = nullptr;
        ASSERT_EQ(host.suites().acquire(kAIMenuSuite, kAIMenuSuiteVersion, &table), kNoErr);
        menu = static_cast<const AIMenuSuite*>(table);
    }

    /// Adds an item as a plug-in would, its text made from UTF-8 and disposed of at once.
    AIErr add(const char* group, const char* key, const std::u16string& text, ASInt32 options, AIMenuItemHandle* item) {
        AIUnicodeStringHandle string = host.strings().create(text);
        const AIPlatformAddMenuItemDataUS data = {group, string};
        AIErr error = menu->AddMenuItem(nullptr, key, &data, options, item);
        host.strings().dispose(string);
        return error;
    }

    AIMenuItemHandle submenu(const char* parentGroup, const char* name, const std::u16string& text, ASInt32 options) {
        AIMenuItemHandle item = nullptr;
        EXPECT_EQ(add(parentGroup, nullptr, text, 0, &item), kNoErr);
        AIMenuGroup group = nullptr;
        EXPECT_EQ(menu->AddMenuGroupAsSubMenu(name, options, item, &group), kNoErr);
        return item;
    }

    nlohmann::json menus() { return host.dumpHost()["menus"]; }

    /// The texts of a group's items as its menu shows them.
    std::vector<std::string> texts(const std::string& groupUtf8) {
        std::vector<std::string> shown;
        const nlohmann::json found = group(groupUtf8);
        for (const nlohmann::json& item : found.at("items")) shown.push_back(item["text"]);
        return shown;
    }

    nlohmann::json group(const std::string& nameUtf8) {
        for (const nlohmann::json& entry : menus())
            if (entry["group"] == nameUtf8) return entry;
        return nullptr;
    }

    host::Host host{{ORVANE_PLUGINS_DIR, std::nullopt, {}}};
    const AIMenuSuite* menu = nullptr;
};

TEST_F(MenuSuite, SubmenusHangFromItemsAndAreFoundByName) {
    ASInt32 hostGroups = 0;
    ASSERT_EQ(menu->CountMenuGroups(&hostGroups), kNoErr);
    AIMenuItemHandle parent = submenu(kAboutMenuGroup, kAboutFamily, u"About Tesk\u2022Tools\u2026", 1);
    AIMenuItemHandle item = nullptr;
    ASSERT_EQ(add(kAboutFamily, "orvane-about", u"Tesk\u2022Orvane\u2026", 0, &item), kNoErr);

    ASInt32 count = 0;
    ASSERT_EQ(menu->CountMenuGroups(&count), kNoErr);
    ASSERT_EQ(count, hostGroups + 1);
    AIMenuGroup last = nullptr;
    const char* name = nullptr;
    ASSERT_EQ(menu->GetNthMenuGroup(count - 1, &last), kNoErr);
    ASSERT_EQ(menu->GetMenuGroupName(last, &name), kNoErr);
    EXPECT_STREQ(name, kAboutFamily);  // the very bytes it was given, so that plug-ins find it again

    EXPECT_EQ(group("About")["items"].back(),
              (nlohmann::json{{"key", ""}, {"text", "About Tesk•Tools…"}, {"submenu", "About Tesk•Tools…"}}));
    EXPECT_EQ(group("About Tesk•Tools…"),
              (nlohmann::json{{"group", "About Tesk•Tools…"},
                              {"parent", "About Tesk•Tools…"},
                              {"items", {{{"key", "orvane-about"}, {"text", "Tesk•Orvane…"}, {"submenu", ""}}}}}));
    EXPECT_EQ(host.menus().findCommand("Tesk•Orvane…"), item);
    // An item that opens a submenu runs no command.
    EXPECT_EQ(host.menus().findCommand("About Tesk•Tools…"), nullptr);
    EXPECT_NE(parent, nullptr);
}

TEST_F(MenuSuite, SortedGroupsFollowTheirItemsTexts) {
    submenu(kToolPalettesMenuGroup, "Tools", u"Tools", kMenuGroupSortedAlphabeticallyOption);
    AIMenuItemHandle hide = nullptr;
    AIMenuItemHandle other = nullptr;
    ASSERT_EQ(add("Tools", nullptr, u"Hide Orvane", kMenuItemWantsUpdateOption, &hide), kNoErr);
    ASSERT_EQ(add("Tools", nullptr, u"Other palette", 0, &other), kNoErr);
    EXPECT_EQ(texts("Tools"), (std::vector<std::string>{"Hide Orvane", "Other palette"}));

    AIUnicodeStringHandle show = host.strings().create(u"Show Orvane");
    ASSERT_EQ(menu->SetItemText(hide, show), kNoErr);
    host.strings().dispose(show);
    EXPECT_EQ(texts("Tools"), (std::vector<std::string>{"Other palette", "Show Orvane"}));
    EXPECT_EQ(host.menus().itemsWantingUpdate(), std::vector<AIMenuItemHandle>{hide});

    // The host's own groups keep the order items were added in.
    ASSERT_EQ(add("Window", nullptr, u"b", 0, nullptr), kNoErr);
    ASSERT_EQ(add("Window", nullptr, u"a", 0, nullptr), kNoErr);
    EXPECT_EQ(texts("Window"), (std::vector<std::string>{"b", "a"}));
}

TEST_F(MenuSuite, RefusedCallsChangeNothing) {
    AIMenuItemHandle parent = submenu(kAboutMenuGroup, kAboutFamily, u"About", 0);
    AIMenuItemHandle keyed = nullptr;
    ASSERT_EQ(add(kAboutFamily, "key", u"Item", 0, &keyed), kNoErr);
    const nlohmann::json before = menus();
    ASInt32 count = 0;
    ASSERT_EQ(menu->CountMenuGroups(&count), kNoErr);

    AIMenuItemHandle item = reinterpret_cast<AIMenuItemHandle>(1);
    EXPECT_EQ(add("No such group", nullptr, u"x", 0, &item), kNameNotFoundErr);
    EXPECT_EQ(item, nullptr);
    EXPECT_EQ(add(kAboutFamily, "key", u"Same key", 0, &item), kBadParameterErr);
    AIUnicodeStringHandle gone = host.strings().create(u"gone");
    host.strings().dispose(gone);
    const AIPlatformAddMenuItemDataUS data = {kAboutMenuGroup, gone};
    EXPECT_EQ(menu->AddMenuItem(nullptr, nullptr, &data, 0, &item), kBadHandleErr);
    EXPECT_EQ(menu->AddMenuItem(nullptr, nullptr, nullptr, 0, &item), kBadParameterErr);

    AIMenuGroup group = nullptr;
    EXPECT_EQ(menu->AddMenuGroupAsSubMenu("Another", 0, parent, &group), kBadParameterErr);    // already opens one
    EXPECT_EQ(menu->AddMenuGroupAsSubMenu(kAboutFamily, 0, keyed, &group), kBadParameterErr);  // name taken
    AIMenuGroup first = nullptr;
    ASSERT_EQ(menu->GetNthMenuGroup(0, &first), kNoErr);
    // A group's handle is no item's, and an item's no group's.
    EXPECT_EQ(menu->AddMenuGroupAsSubMenu("Another", 0, reinterpret_cast<AIMenuItemHandle>(first), &group),
              kBadHandleErr);
    EXPECT_EQ(menu->SetItemText(reinterpret_cast<AIMenuItemHandle>(first), gone), kBadHandleErr);
    EXPECT_EQ(menu->SetItemText(keyed, gone), kBadHandleErr);
    const char* name = nullptr;
    EXPECT_EQ(menu->GetMenuGroupName(reinterpret_cast<AIMenuGroup>(keyed), &name), kBadHandleErr);
    EXPECT_EQ(menu->GetNthMenuGroup(count, &group), kOutOfRangeErr);
    EXPECT_EQ(menu->GetNthMenuGroup(-1, &group), kOutOfRangeErr);

    EXPECT_EQ(menus(), before);
}

TEST_F(MenuSuite, APersonChoosesOnlyItemsThatRunACommand) {
    submenu(kAboutMenuGroup, kAboutFamily, u"About Tesk\u2022Tools\u2026", 0);
    AIMenuItemHandle hostItem = nullptr;
    ASSERT_EQ(add("Help", nullptr, u"Help topics", 0, &hostItem), kNoErr);
    EXPECT_THROW(host.chooseMenuItem("About Tesk•Tools…"), host::HostError);
    EXPECT_THROW(host.chooseMenuItem("Nothing"), host::HostError);
    // No plug-in stands behind the host's own item: choosing it sends nothing.
    EXPECT_EQ(host.chooseMenuItem("Help topics"), kNoErr);
}

TEST_F(MenuSuite, OrvaneJoinsTheSubmenusOfItsFamily) {
    // A sibling plug-in of the family, loaded first, made both submenus.
    submenu(kAboutMenuGroup, kAboutFamily, u"About Tesk\u2022Tools\u2026", 1);
    ASSERT_EQ(add(kAboutFamily, nullptr, u"Tesk\u2022Sibling\u2026", 0, nullptr), kNoErr);
    submenu(kToolPalettesMenuGroup, "Tesk\xA5Tools", u"Tesk\u2022Tools", 1);
    ASSERT_EQ(add("Tesk\xA5Tools", nullptr, u"Hide Tesk\u2022Sibling", 0, nullptr), kNoErr);
    host.start();

    EXPECT_EQ(texts("About"), std::vector<std::string>{"About Tesk•Tools…"});
    EXPECT_EQ(texts("Tool Palettes"), std::vector<std::string>{"Tesk•Tools"});
    EXPECT_EQ(texts("About Tesk•Tools…"), (std::vector<std::string>{plugin_facts::kAboutItem, "Tesk•Sibling…"}));
    EXPECT_EQ(texts("Tesk•Tools"), (std::vector<std::string>{plugin_facts::kHidePanelItem, "Hide Tesk•Sibling"}));
    EXPECT_EQ(menus().size(), 6u);
    host.quit();
}

TEST_F(MenuSuite, TheAboutBoxClosesAsASuccess) {
    host.start();
    int clicks = 0;
    host.setModalEventSource([&] {
        ++clicks;
        host.clickItem(host.modalDialog(), 1);
        return true;
    });
    // The box's button ends the run with its ID, 1, which is no failure code for the host.
    EXPECT_EQ(host.chooseMenuItem(plugin_facts::kAboutItem), kNoErr);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(host.modalDialog(), nullptr);
    host.quit();
}

TEST_F(MenuSuite, ShowHideDoesNothingBeforeThePanelExists) {
    host.preferences().put(plugin_facts::kPreferencePrefix, plugin_facts::kPanelVisibleKey, false);
    // Started, but not yet told that the application has started: there is no panel.
    host.plugins().loadFolder(ORVANE_PLUGINS_DIR);
    SPInterfaceMessage startup{};
    ASSERT_EQ(host.plugins().send(0, kSPInterfaceCaller, kSPInterfaceStartupSelector, startup.d), kNoErr);
    EXPECT_EQ(host.chooseMenuItem(plugin_facts::kShowPanelItem), kNoErr);
    EXPECT_TRUE(host.dialogs().palettes().empty());
    SPInterfaceMessage shutdown{};
    host.plugins().send(0, kSPInterfaceCaller, kSPInterfaceShutdownSelector, shutdown.d);
    EXPECT_EQ(host.preferences().get(plugin_facts::kPreferencePrefix, plugin_facts::kPanelVisibleKey),
              host::PreferenceStore::Value(false));
}

}  // namespace
