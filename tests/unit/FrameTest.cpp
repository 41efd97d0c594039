// The frame's error reporting and name copying, against a fake basic suite and
// a fake dialog-manager basic suite holding the message list.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "OrvaneSuites.h"
#include "Plugin.h"

namespace {

std::vector<std::string> gMessageList;
std::vector<std::string> gAlerts;
int gAcquired = 0;

ASErr GetIndexString(SPPluginRef, ASInt32 list, ASInt32 index, char* buffer, ASInt32 maxLength) {
    buffer[0] = '\0';
    if (list != 16050 || index < 1 || index > static_cast<ASInt32>(gMessageList.size())) return kNameNotFoundErr;
    std::strncpy(buffer, gMessageList[static_cast<std::size_t>(index - 1)].c_str(),
                 static_cast<std::size_t>(maxLength));
    buffer[maxLength - 1] = '\0';
    return kNoErr;
}
void ErrorAlert(const char* text) {
    gAlerts.emplace_back(text);
}

ADMBasicSuite gFakeBasic = {nullptr, &ErrorAlert, nullptr, nullptr, &GetIndexString, nullptr, nullptr};

ASErr Acquire(const char*, ASInt32 version, const void** suite) {
    if (version != kADMBasicSuiteVersion11) return kSPSuiteNotFoundError;
    ++gAcquired;
    *suite = &gFakeBasic;
    return kNoErr;
}
ASErr Release(const char*, ASInt32) {
    --gAcquired;
    return kNoErr;
}

SPBasicSuite gFakeSPBasic = {&Acquire, &Release, nullptr, nullptr, nullptr, nullptr, nullptr};

class ErrorReporting : public ::testing::Test {
protected:
    void SetUp() override {
        sSPBasic = &gFakeSPBasic;
        sADMBasic = nullptr;
        gAlerts.clear();
        gAcquired = 0;
        gMessageList = {"-108", "Memory: %s.", "AB", "Short code.", "****", "Failed with %s, 100% sure."};
    }
    void TearDown() override {
        sSPBasic = nullptr;
        EXPECT_EQ(gAcquired, 0) << "the basic suite acquired for the alert must be released";
        EXPECT_EQ(sADMBasic, nullptr);
    }
};

TEST_F(ErrorReporting, CodesNamedByTheListGetTheirMessage) {
    Plugin::DefaultError(nullptr, -108);
    Plugin::DefaultError(nullptr, ('A' << 8) + 'B');
    ASSERT_EQ(gAlerts.size(), 2u);
    EXPECT_EQ(gAlerts[0], "Memory: -108.");
    // A code entry shorter than four characters is read up to its end.
    EXPECT_EQ(gAlerts[1], "Short code.");
}

TEST_F(ErrorReporting, OtherCodesGetTheLastMessageWithTheCodeText) {
    Plugin::DefaultError(nullptr, kOutOfMemoryErr);
    Plugin::DefaultError(nullptr, 16384);
    Plugin::DefaultError(nullptr, ASFourCC("PARM"));
    ASSERT_EQ(gAlerts.size(), 3u);
    // Only the one "%s" is replaced; any other '%' is shown as it is.
    EXPECT_EQ(gAlerts[0], "Failed with !MEM, 100% sure.");
    EXPECT_EQ(gAlerts[1], "Failed with 16384, 100% sure.");
    EXPECT_EQ(gAlerts[2], "Failed with PARM, 100% sure.");
}

TEST_F(ErrorReporting, FilteredCodesAndEmptyListsShowNothing) {
    Plugin::DefaultError(nullptr, ASFourCC("STOP"));
    Plugin::DefaultError(nullptr, 361);
    Plugin::DefaultError(nullptr, kSPSuiteNotFoundError);
    gMessageList = {""};
    Plugin::DefaultError(nullptr, kOutOfMemoryErr);
    EXPECT_TRUE(gAlerts.empty());
}

TEST_F(ErrorReporting, LongMessagesAreShownWithoutTheCode) {
    gMessageList = {"****", std::string(125, 'x') + "%s"};
    Plugin::DefaultError(nullptr, kOutOfMemoryErr);
    ASSERT_EQ(gAlerts.size(), 1u);
    // The caller's 128-character buffer keeps 127 characters of it.
    EXPECT_EQ(gAlerts[0], std::string(125, 'x') + "%s");
}

class NamedPlugin : public Plugin {
public:
    NamedPlugin() : Plugin(nullptr) {}
};

TEST(PluginName, NeverWritesPastTheBuffer) {
    NamedPlugin plugin;
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    plugin.GetPluginName(buffer, 4);
    EXPECT_STREQ(buffer, "Plu");
    EXPECT_EQ(buffer[4], '#');
    plugin.GetPluginName(buffer, 7);
    EXPECT_STREQ(buffer, "Plugin");
}

}  // namespace
