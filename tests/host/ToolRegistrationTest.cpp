// The Orvane Tool's registration against the real module, from a copy of its
// bundle that lacks the tool's icon.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "PluginFacts.h"
#include "host/Host.h"

namespace {

namespace fs = std::filesystem;

using plugin_facts::kToolName;

/// A plug-ins folder of its own, removed with the test.
class PluginsFolder {
public:
    PluginsFolder() {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        path_ = fs::temp_directory_path() / ("orvane-" + std::string(test->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(path_);
        fs::create_directories(path_);
        fs::copy(fs::path(ORVANE_PLUGINS_DIR) / "Orvane.aip", path_ / "Orvane.aip", fs::copy_options::recursive);
    }
    ~PluginsFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

TEST(ToolRegistration, MissingIconMeansNoToolAndNoError) {
    PluginsFolder folder;
    ASSERT_TRUE(fs::remove(folder.path() / "Orvane.aip" / "Resources" / "icons" / "1017.svg"));
    std::vector<std::string> warnings;
    host::Host host({folder.path(), std::nullopt, [&](const std::string& line) { warnings.push_back(line); }});
    host.start();

    nlohmann::json dump = host.dumpHost();
    EXPECT_TRUE(dump["tools"].empty());
    EXPECT_EQ(host.tools().find(kToolName), nullptr);
    EXPECT_TRUE(dump["alerts"].empty());
    EXPECT_TRUE(warnings.empty());
    // The unusable icon is given back rather than kept by the host.
    EXPECT_EQ(dump["icons"], 0);
    // The rest of the plug-in starts all the same.
    EXPECT_EQ(dump["annotators"][0]["name"], "TeskAnno");
    EXPECT_THROW(host.selectTool(kToolName), host::HostError);
    host.quit();
}

}  // namespace
