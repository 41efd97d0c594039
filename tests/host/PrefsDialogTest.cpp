// The preferences dialog of the real module opens once at a time, and can always be
// opened again once its run is over, however it ended.
#include <gtest/gtest.h>

#include <algorithm>

#include "PluginFacts.h"
#include "host/Host.h"

namespace {

using plugin_facts::kToolName;

class PrefsDialogTest : public ::testing::Test {
protected:
    PrefsDialogTest() : host_({ORVANE_PLUGINS_DIR, std::nullopt, [](const std::string&) {}}) {
        host_.start();
        host_.selectTool(kToolName);
    }
    ~PrefsDialogTest() override { host_.quit(); }

    long openPrefsDialogs() const {
        const host::DialogManager& dialogs = host_.dialogs();
        const auto refs = dialogs.dialogs();
        return std::count_if(refs.begin(), refs.end(), [&](ADMDialogRef ref) {
            const host::DialogManager::Dialog* dialog = dialogs.dialog(ref);
            return dialog && dialog->id == plugin_facts::kPreferencesDialogID;
        });
    }

    /// Opens the dialog from the tool, does what inside does in it, then cancels it; the number of
    /// times the dialog's run asked for an action.
    int runPrefs(const std::function<void()>& inside) {
        int actions = 0;
        host_.setModalEventSource([&] {
            if (++actions == 1)
                inside();
            else
                host_.clickItem(host_.modalDialog(), host::DialogManager::kCancelButtonID);
            return true;
        });
        host_.editTool();
        return actions;
    }

    host::Host host_;
};

TEST_F(PrefsDialogTest, SecondOpeningWhileOpenDoesNothing) {
    long seenInside = 0;
    runPrefs([&] {
        host_.editTool();
        seenInside = openPrefsDialogs();
    });
    EXPECT_EQ(seenInside, 1);
    EXPECT_EQ(openPrefsDialogs(), 0);
    // Cancel closed it properly: it opens again.
    EXPECT_EQ(runPrefs([] {}), 2);
}

TEST_F(PrefsDialogTest, OpensAgainAfterARunEndedWithoutItsButtons) {
    // The host may end the run itself, without OK or Cancel.
    EXPECT_EQ(runPrefs([&] { host_.dialogs().destroy(host_.modalDialog()); }), 1);
    EXPECT_EQ(openPrefsDialogs(), 0);
    EXPECT_EQ(runPrefs([] {}), 2);
}

TEST_F(PrefsDialogTest, PlugInIsNeitherUnloadedNorQuitWhileItsDialogRuns) {
    // Its suites would be gone under the dialog's code when the run returns.
    runPrefs([&] {
        EXPECT_THROW(host_.unload(), host::HostError);
        EXPECT_THROW(host_.reload(), host::HostError);
        EXPECT_THROW(host_.quit(), host::HostError);
    });
    EXPECT_TRUE(host_.started());
    EXPECT_EQ(runPrefs([] {}), 2);
}

}  // namespace
