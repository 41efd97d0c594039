#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "AIPreference.h"
#include "host/platform/SuiteRegistry.h"
#include "host/settings/PreferenceStore.h"

namespace {

namespace fs = std::filesystem;
using host::PreferenceStore;
using host::detail::WriteStep;

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void spit(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class PreferenceFile : public testing::Test {
protected:
    void SetUp() override {
        // Parameterised tests have a '/' in their names.
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        dir = fs::temp_directory_path() / ("orvane-prefs-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(dir);
        fs::create_directories(dir);
        file = dir / "prefs.json";
    }
    void TearDown() override {
        host::detail::setWriteFault({});
        fs::remove_all(dir);
    }

    std::size_t entriesInDir() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }

    fs::path dir;
    fs::path file;
};

TEST_F(PreferenceFile, ValuesRoundTripExactlyThroughTheFile) {
    PreferenceStore store(file);
    EXPECT_EQ(store.load(), std::nullopt);  // no file yet: empty, no message
    store.put("TeskOrvane", "Precision", std::int32_t{1});
    store.put("TeskOrvane", "Snap", true);
    store.put("", "Bare", false);
    store.put("Limits", "Low", std::numeric_limits<std::int32_t>::min());
    store.put("Limits", "High", std::numeric_limits<std::int32_t>::max());
    for (double real : {0.1, 1.0 / 3.0, -0.0, 5e-324, 1.7976931348623157e308, 2.0})
        store.put("Reals", std::to_string(real) + (std::signbit(real) ? "-" : ""), real);
    store.put("Gone", "Soon", 3.5);
    EXPECT_TRUE(store.remove("Gone", "Soon"));
    EXPECT_FALSE(store.remove("Gone", "Soon"));
    store.save();

    PreferenceStore again(file);
    EXPECT_EQ(again.load(), std::nullopt);
    EXPECT_EQ(again.dump(), store.dump());
    EXPECT_EQ(nlohmann::json::parse(slurp(file)), store.dump());  // the file is the dump
    EXPECT_EQ(again.get("TeskOrvane", "Precision"), PreferenceStore::Value(std::int32_t{1}));
    EXPECT_EQ(again.get("", "Bare"), PreferenceStore::Value(false));
    EXPECT_TRUE(std::signbit(std::get<double>(*again.get("Reals", std::to_string(-0.0) + "-"))));
    EXPECT_EQ(again.get("Gone", "Soon"), std::nullopt);
    EXPECT_EQ(entriesInDir(), 1u);  // no temporary file left behind
}

TEST_F(PreferenceFile, DumpIsSortedAndTyped) {
    PreferenceStore store;
    store.put("b", "x", 2.5);
    store.put("a", "z", true);
    store.put("a", "y", std::int32_t{-4});
    store.put("a", "y", std::int32_t{7});  // replaces
    EXPECT_EQ(store.dump(), nlohmann::json::parse(R"([
        {"prefix": "a", "key": "y", "kind": "int", "value": 7},
        {"prefix": "a", "key": "z", "kind": "bool", "value": true},
        {"prefix": "b", "key": "x", "kind": "real", "value": 2.5}])"));
    EXPECT_THROW(store.put("a", "nan", std::nan("")), std::invalid_argument);
    EXPECT_THROW(store.put("a\xFF", "k", true), std::invalid_argument);
    EXPECT_EQ(store.dump().size(), 3u);
    EXPECT_EQ(store.load(), std::nullopt);  // in memory: nothing to read or write
    EXPECT_NO_THROW(store.save());
}

TEST_F(PreferenceFile, HandEditedFileIsAccepted) {
    spit(file, R"( [ {"value": 2, "kind": "real", "key": "Width", "prefix": ""},
                     {"prefix": "P", "key": "N", "kind": "int", "value": -2147483648} ] )");
    PreferenceStore store(file);
    store.put("stale", "value", true);
    EXPECT_EQ(store.load(), std::nullopt);
    EXPECT_EQ(store.get("", "Width"), PreferenceStore::Value(2.0));
    EXPECT_EQ(store.get("P", "N"), PreferenceStore::Value(std::numeric_limits<std::int32_t>::min()));
    EXPECT_EQ(store.get("stale", "value"), std::nullopt);
}

class DamagedFile : public PreferenceFile, public testing::WithParamInterface<const char*> {};

TEST_P(DamagedFile, IsSetAsideWithOneWarning) {
    const std::string damaged = GetParam();
    spit(file, damaged);
    PreferenceStore store(file);
    store.put("earlier", "value", true);
    auto warning = store.load();
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->find('\n'), std::string::npos);
    EXPECT_NE(warning->find(file.string() + " "), std::string::npos) << *warning;
    EXPECT_NE(warning->find(file.string() + ".corrupt"), std::string::npos) << *warning;
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(slurp(file.string() + ".corrupt"), damaged);
    EXPECT_TRUE(store.dump().empty());
}

INSTANTIATE_TEST_SUITE_P(PreferenceStore, DamagedFile,
                         testing::Values("", "[{\"prefix\": \"a\", ", "{}", "[1]",
                                         "[{\"prefix\": \"a\", \"key\": \"b\", \"kind\": \"int\"}]",
                                         R"([{"prefix": "a", "key": "b", "kind": "int", "value": 1, "extra": 0}])",
                                         R"([{"prefix": 1, "key": "b", "kind": "int", "value": 1}])",
                                         R"([{"prefix": "a", "key": "b", "kind": "int", "value": true}])",
                                         R"([{"prefix": "a", "key": "b", "kind": "int", "value": 1.5}])",
                                         R"([{"prefix": "a", "key": "b", "kind": "bool", "value": 0}])",
                                         R"([{"prefix": "a", "key": "b", "kind": "real", "value": "1"}])",
                                         R"([{"prefix": "a", "key": "b", "kind": "text", "value": "1"}])",
                                         R"([{"prefix": "a", "key": "b", "kind": "int", "value": 2147483648}])",
                                         R"([{"prefix": "a", "key": "b", "kind": "int", "value": -2147483649}])",
                                         R"([{"prefix": "a", "key": "b", "kind": "real", "value": 1e400}])",
                                         R"([{"prefix": "a", "key": "b", "kind": "int", "value": 1, "value": 2}])",
                                         R"([{"prefix": "a", "key": "b", "kind": "int", "value": 1},
                        {"prefix": "a", "key": "b", "kind": "int", "value": 2}])"));

TEST_F(PreferenceFile, LaterDamageNeverOverwritesEarlier) {
    PreferenceStore store(file);
    spit(file, "first");
    ASSERT_TRUE(store.load());
    spit(file, "second");
    auto warning = store.load();
    ASSERT_TRUE(warning);
    EXPECT_NE(warning->find(file.string() + ".corrupt.1"), std::string::npos) << *warning;
    EXPECT_EQ(slurp(file.string() + ".corrupt"), "first");
    EXPECT_EQ(slurp(file.string() + ".corrupt.1"), "second");

    store.put("p", "k", true);
    store.save();
    EXPECT_EQ(store.load(), std::nullopt);
    EXPECT_EQ(slurp(file.string() + ".corrupt"), "first");
    EXPECT_EQ(entriesInDir(), 3u);
}

TEST_F(PreferenceFile, UnreadableFileThrowsAndChangesNothing) {
    fs::create_directory(file);  // reading a folder fails, and it is not damage to set aside
    PreferenceStore store(file);
    store.put("p", "k", true);
    EXPECT_THROW(store.load(), host::StoreError);
    EXPECT_EQ(store.get("p", "k"), PreferenceStore::Value(true));
    EXPECT_TRUE(fs::is_directory(file));
}

TEST_F(PreferenceFile, SaveWhereNoFolderCanBeThrows) {
    spit(dir / "plain", "not a folder");
    PreferenceStore store(dir / "plain" / "prefs.json");
    EXPECT_EQ(store.load(), std::nullopt);
    store.put("p", "k", true);
    try {
        store.save();
        FAIL() << "save should throw";
    } catch (const host::StoreError& error) {
        EXPECT_NE(std::string(error.what()).find((dir / "plain" / "prefs.json").string()), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("Not a directory"), std::string::npos) << error.what();
    }
    EXPECT_EQ(slurp(dir / "plain"), "not a folder");
}

class FailingStep : public PreferenceFile, public testing::WithParamInterface<WriteStep> {};

TEST_P(FailingStep, KeepsTheOldFileWhole) {
    PreferenceStore store(file);
    store.put("p", "old", true);
    store.save();
    const std::string old = slurp(file);

    store.put("p", "new", std::int32_t{2});
    host::detail::setWriteFault([](WriteStep step) { return step == GetParam() ? ENOSPC : 0; });
    try {
        store.save();
        FAIL() << "save should throw";
    } catch (const host::StoreError& error) {
        EXPECT_NE(std::string(error.what()).find(file.string()), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("No space left on device"), std::string::npos) << error.what();
    }
    EXPECT_EQ(slurp(file), old);
    EXPECT_EQ(entriesInDir(), 1u);
}

INSTANTIATE_TEST_SUITE_P(PreferenceStore, FailingStep,
                         testing::Values(WriteStep::OpenTemp, WriteStep::Write, WriteStep::SyncFile,
                                         WriteStep::Rename));

TEST_F(PreferenceFile, FailedFolderSyncStillLeavesAWholeFile) {
    PreferenceStore store(file);
    store.put("p", "k", 1.25);
    host::detail::setWriteFault([](WriteStep step) { return step == WriteStep::SyncFolder ? EIO : 0; });
    EXPECT_THROW(store.save(), host::StoreError);
    EXPECT_EQ(nlohmann::json::parse(slurp(file)), store.dump());
}

class PreferenceSuite : public testing::Test {
protected:
    void SetUp() override {
        store.registerSuites(registry);
        const void* table = nullptr;
        ASSERT_EQ(registry.acquire(kAIPreferenceSuite, kAIPreferenceSuiteVersion, &table), kNoErr);
        suite = static_cast<const AIPreferenceSuite*>(table);
    }
    host::SuiteRegistry registry;
    PreferenceStore store;
    const AIPreferenceSuite* suite = nullptr;
};

TEST_F(PreferenceSuite, GetsWhatWasPut) {
    ASSERT_EQ(suite->PutBooleanPreference("TeskOrvane", "Snap", 5), kNoErr);
    ASSERT_EQ(suite->PutIntegerPreference(nullptr, "Count", -9), kNoErr);
    ASSERT_EQ(suite->PutRealPreference("TeskOrvane", "Step", 0.1), kNoErr);
    AIBoolean flag = 0;
    ASInt32 count = 0;
    double step = 0;
    EXPECT_EQ(suite->GetBooleanPreference("TeskOrvane", "Snap", &flag), kNoErr);
    EXPECT_EQ(suite->GetIntegerPreference("", "Count", &count), kNoErr);  // null and "" are both no prefix
    EXPECT_EQ(suite->GetRealPreference("TeskOrvane", "Step", &step), kNoErr);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(count, -9);
    EXPECT_EQ(step, 0.1);
    EXPECT_EQ(store.get("", "Count"), PreferenceStore::Value(std::int32_t{-9}));
}

TEST_F(PreferenceSuite, MissingOrOtherKindLeavesTheDestination) {
    ASSERT_EQ(suite->PutIntegerPreference("P", "Int", 3), kNoErr);
    AIBoolean flag = 7;
    ASInt32 count = 42;
    double real = 2.5;
    EXPECT_EQ(suite->GetBooleanPreference("P", "Missing", &flag), kNameNotFoundErr);
    EXPECT_EQ(suite->GetIntegerPreference("Other", "Int", &count), kNameNotFoundErr);
    EXPECT_EQ(suite->GetRealPreference("P", "Int", &real), kNameNotFoundErr);
    EXPECT_EQ(suite->GetBooleanPreference("P", "Int", &flag), kNameNotFoundErr);
    EXPECT_EQ(flag, 7);
    EXPECT_EQ(count, 42);
    EXPECT_EQ(real, 2.5);
}

TEST_F(PreferenceSuite, RefusesBadArgumentsAndStoresNothing) {
    ASInt32 count = 0;
    EXPECT_EQ(suite->GetIntegerPreference("P", nullptr, &count), kBadParameterErr);
    EXPECT_EQ(suite->GetIntegerPreference("P", "K", nullptr), kBadParameterErr);
    EXPECT_EQ(suite->PutIntegerPreference("P", nullptr, 1), kBadParameterErr);
    EXPECT_EQ(suite->PutBooleanPreference("P\xC9", "K", 1), kBadParameterErr);
    EXPECT_EQ(suite->PutRealPreference("P", "K", std::numeric_limits<double>::infinity()), kOutOfRangeErr);
    EXPECT_EQ(suite->PutRealPreference("P", "K", std::nan("")), kOutOfRangeErr);
    EXPECT_TRUE(store.dump().empty());
}

}  // namespace
