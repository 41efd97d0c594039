#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "host/platform/Plugins.h"
#include "host/settings/PreferenceStore.h"

namespace {

namespace fs = std::filesystem;

/// Sets an environment variable for the test's life, then puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(ConfigFolder, FollowsTheConfigurationFolder) {
    ScopedEnv home("HOME", "/home/someone");
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/elsewhere/config");
        EXPECT_EQ(host::defaultPreferenceFile(), fs::path("/elsewhere/config/orvane/prefs.json"));
    }
    for (const char* ignored : {"", "relative/config"}) {
        ScopedEnv config("XDG_CONFIG_HOME", ignored);
        EXPECT_EQ(host::defaultPreferenceFile(), fs::path("/home/someone/.config/orvane/prefs.json")) << ignored;
    }
    ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(host::defaultPreferenceFile(), fs::path("/home/someone/.config/orvane/prefs.json"));
    ScopedEnv noHome("HOME", nullptr);
    EXPECT_THROW(host::defaultPreferenceFile(), host::StoreError);
}

TEST(ConfigFolder, SavingCreatesThePrivateFolder) {
    fs::path root = fs::temp_directory_path() / ("orvane-config-" + std::to_string(::getpid()));
    fs::remove_all(root);
    ScopedEnv config("XDG_CONFIG_HOME", root.c_str());
    fs::path file = host::defaultPreferenceFile();
    {
        host::PreferenceStore store(file);
        EXPECT_FALSE(store.load());
        store.put("Orvane", "precision", std::int32_t{3});
        store.save();
    }
    struct stat info {};
    ASSERT_EQ(::stat(file.parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    host::PreferenceStore again(file);
    EXPECT_FALSE(again.load());
    EXPECT_EQ(again.get("Orvane", "precision"), host::PreferenceStore::Value{std::int32_t{3}});
    fs::remove_all(root);
}

TEST(PluginFolder, InstalledLayoutFirstThenTheBuilds) {
    fs::path root = fs::temp_directory_path() / ("orvane-prefix-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "bin");
    fs::path installed = root / "lib" / "orvane" / "plugins";
    EXPECT_EQ(host::pluginFolderBeside(root / "bin"), installed);
    fs::create_directories(root / "plugins");
    EXPECT_EQ(host::pluginFolderBeside(root / "bin"), root / "plugins");
    fs::create_directories(installed);
    EXPECT_EQ(host::pluginFolderBeside(root / "bin"), installed);
    fs::remove_all(root);
}

TEST(PluginFolder, TheEnvironmentNamesAnother) {
    {
        ScopedEnv folder("ORVANE_PLUGINS", "/opt/more/plugins");
        EXPECT_EQ(host::defaultPluginFolder(), fs::path("/opt/more/plugins"));
    }
    for (const char* unset : {"", static_cast<const char*>(nullptr)}) {
        ScopedEnv folder("ORVANE_PLUGINS", unset);
        // This program lies in the build's bin folder.
        EXPECT_TRUE(fs::equivalent(host::defaultPluginFolder(), ORVANE_PLUGINS_DIR)) << host::defaultPluginFolder();
    }
}

}  // namespace
