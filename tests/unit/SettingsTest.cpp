// Reading the settings from a store that may have been edited or damaged
// outside the program, against a fake preference suite.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <variant>

#include "OrvaneSuites.h"
#include "Settings.h"

namespace {

using Value = std::variant<bool, ASInt32, double>;
std::map<std::string, Value> gStore;
int gBeeps = 0;

template <class T>
AIErr Get(const char*, const char* key, T* value) {
    auto found = gStore.find(key);
    if (found == gStore.end() || !std::holds_alternative<T>(found->second)) return kNameNotFoundErr;
    *value = std::get<T>(found->second);
    return kNoErr;
}
template <class T>
AIErr Put(const char*, const char* key, T value) {
    gStore[key] = value;
    return kNoErr;
}
AIErr GetBool(const char* prefix, const char* key, AIBoolean* value) {
    bool stored = *value;
    AIErr error = Get<bool>(prefix, key, &stored);
    *value = stored;
    return error;
}
AIErr PutBool(const char* prefix, const char* key, AIBoolean value) {
    return Put<bool>(prefix, key, value != 0);
}

const AIPreferenceSuite gFakePreferences = {&GetBool,      &PutBool,     &Get<ASInt32>,
                                            &Put<ASInt32>, &Get<double>, &Put<double>};
const ADMBasicSuite gFakeBasic = {[] { ++gBeeps; }, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

class LoadSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        sAIPreference = &gFakePreferences;
        sADMBasic = &gFakeBasic;
        gStore.clear();
        gBeeps = 0;
    }
    void TearDown() override {
        sAIPreference = nullptr;
        sADMBasic = nullptr;
    }

    Settings loaded;
};

TEST_F(LoadSettingsTest, AFirstStartWritesTheDefaultsAndBeepsOnce) {
    LoadSettings(loaded);
    EXPECT_EQ(gBeeps, 1);
    EXPECT_EQ(gStore.size(), 9u);
    EXPECT_EQ(std::get<double>(gStore["EchelleNumPersoReal"]), 3.0);
    EXPECT_EQ(gStore.count("PanneauVisible"), 0u);
}

TEST_F(LoadSettingsTest, ScalesBelowOneAndMissingKeysFallToTheirFloors) {
    gStore = {{"Precision", ASInt32{2}}, {"EchelleNum", 0.5}, {"EchelleNumPersoReal", 0.00005}};
    LoadSettings(loaded);
    EXPECT_EQ(gBeeps, 0);
    EXPECT_EQ(loaded.scaleNumerator, 1.0);
    EXPECT_EQ(loaded.scaleDenominator, 1.0);
    EXPECT_EQ(loaded.customNumerator, 1.0);  // not its default 3
    EXPECT_EQ(loaded.precision, 2);
    EXPECT_EQ(loaded.lengthStep, 2.0);
    EXPECT_EQ(loaded.angleStep, 5.0);
    EXPECT_FALSE(loaded.swapShiftAlt);
    EXPECT_EQ(gStore.size(), 3u) << "reading writes nothing";
}

TEST_F(LoadSettingsTest, DamagedValuesFallBackToTheirDefaults) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    gStore = {{"Precision", ASInt32{3}},     {"EchelleNum", inf},
              {"EchelleDen", nan},           {"EchelleNumPersoReal", nan},
              {"EchelleDenPersoReal", -inf}, {"TailleAnnos", ASInt32{5}},
              {"CtrlLongueur", -3.0},        {"CtrlAngle", nan},
              {"ShiftAltInverse", true}};
    LoadSettings(loaded);
    EXPECT_EQ(loaded.scaleNumerator, 1.0);
    EXPECT_EQ(loaded.scaleDenominator, 1.0);
    EXPECT_EQ(loaded.customNumerator, 3.0);
    EXPECT_EQ(loaded.customDenominator, 7.0);
    EXPECT_EQ(loaded.labelSize, 0);
    EXPECT_EQ(loaded.lengthStep, 2.0);
    EXPECT_EQ(loaded.angleStep, 5.0);
    EXPECT_TRUE(loaded.swapShiftAlt);
    EXPECT_EQ(loaded.precision, 3);
}

TEST_F(LoadSettingsTest, ValuesBeyondSinglePrecisionFallBackAndNegativeZeroIsZero) {
    // The fields and the geometry take these in single precision, where 1e39 is infinite.
    gStore = {{"Precision", ASInt32{1}},
              {"CtrlLongueur", 1e39},
              {"CtrlAngle", -0.0},
              {"EchelleNumPersoReal", 1e39},
              {"EchelleDenPersoReal", -1e39}};
    LoadSettings(loaded);
    EXPECT_EQ(loaded.lengthStep, 2.0);
    EXPECT_EQ(loaded.customNumerator, 3.0);
    EXPECT_EQ(loaded.customDenominator, 7.0);
    EXPECT_EQ(loaded.angleStep, 0.0);
    EXPECT_FALSE(std::signbit(loaded.angleStep));
    // The largest single-precision value is still a value.
    gStore["CtrlLongueur"] = double{std::numeric_limits<float>::max()};
    LoadSettings(loaded);
    EXPECT_EQ(loaded.lengthStep, double{std::numeric_limits<float>::max()});
}

TEST_F(LoadSettingsTest, TheEndsOfThePrecisionRangeAreKept) {
    for (ASInt32 precision : {0, 6}) {
        gStore = {{"Precision", precision}, {"CtrlAngle", 7.0}};
        gBeeps = 0;
        LoadSettings(loaded);
        EXPECT_EQ(gBeeps, 0) << precision;
        EXPECT_EQ(loaded.precision, precision);
        EXPECT_EQ(loaded.angleStep, 7.0) << "nothing was reset";
        EXPECT_EQ(gStore.size(), 2u) << "nothing was written";
    }
}

}  // namespace
