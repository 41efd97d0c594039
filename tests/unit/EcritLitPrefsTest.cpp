// Reading the settings from a store that may have been edited or damaged
// outside the program, against a fake preference suite.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <variant>

#include "EcritLitPrefs.h"
#include "OrvaneSuites.h"
#include "Reglages.h"

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
AIErr PutBool(const char* prefix, const char* key, AIBoolean value) { return Put<bool>(prefix, key, value != 0); }

const AIPreferenceSuite gFakePreferences = {&GetBool, &PutBool, &Get<ASInt32>, &Put<ASInt32>, &Get<double>, &Put<double>};
const ADMBasicSuite gFakeBasic = {[] { ++gBeeps; }, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

class LitPrefsTest : public ::testing::Test {
protected:
    void SetUp() override {
        sAIPreference = &gFakePreferences;
        sADMBasic = &gFakeBasic;
        gStore.clear();
        gBeeps = 0;
        EchelleNum = EchelleDen = EchelleNumPerso = EchelleDenPerso = 0.0;
        Precision = TailleTexteAnnotations = 0;
        ContrainteLongueur = ContrainteAngle = 0.0;
        ShiftAltInverse = PanneauVisible = false;
    }
    void TearDown() override {
        sAIPreference = nullptr;
        sADMBasic = nullptr;
    }
};

TEST_F(LitPrefsTest, AFirstStartWritesTheDefaultsAndBeepsOnce) {
    LitPrefs();
    EXPECT_EQ(gBeeps, 1);
    EXPECT_EQ(gStore.size(), 9u);
    EXPECT_EQ(std::get<double>(gStore["EchelleNumPersoReal"]), 3.0);
    EXPECT_EQ(gStore.count("PanneauVisible"), 0u);
}

TEST_F(LitPrefsTest, ScalesBelowOneAndMissingKeysFallToTheirFloors) {
    gStore = {{"Precision", ASInt32{2}}, {"EchelleNum", 0.5}, {"EchelleNumPersoReal", 0.00005}};
    LitPrefs();
    EXPECT_EQ(gBeeps, 0);
    EXPECT_EQ(EchelleNum, 1.0);
    EXPECT_EQ(EchelleDen, 1.0);
    EXPECT_EQ(EchelleNumPerso, 1.0);  // not its default 3
    EXPECT_EQ(Precision, 2);
    EXPECT_EQ(ContrainteLongueur, 2.0);
    EXPECT_EQ(ContrainteAngle, 5.0);
    EXPECT_FALSE(ShiftAltInverse);
    EXPECT_EQ(gStore.size(), 3u) << "reading writes nothing";
}

TEST_F(LitPrefsTest, DamagedValuesFallBackToTheirDefaults) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    gStore = {{"Precision", ASInt32{3}},    {"EchelleNum", inf},           {"EchelleDen", nan},
              {"EchelleNumPersoReal", nan}, {"EchelleDenPersoReal", -inf}, {"TailleAnnos", ASInt32{5}},
              {"CtrlLongueur", -3.0},       {"CtrlAngle", nan},            {"ShiftAltInverse", true}};
    LitPrefs();
    EXPECT_EQ(EchelleNum, 1.0);
    EXPECT_EQ(EchelleDen, 1.0);
    EXPECT_EQ(EchelleNumPerso, 3.0);
    EXPECT_EQ(EchelleDenPerso, 7.0);
    EXPECT_EQ(TailleTexteAnnotations, 0);
    EXPECT_EQ(ContrainteLongueur, 2.0);
    EXPECT_EQ(ContrainteAngle, 5.0);
    EXPECT_TRUE(ShiftAltInverse);
    EXPECT_EQ(Precision, 3);
}

TEST_F(LitPrefsTest, ValuesBeyondSinglePrecisionFallBackAndNegativeZeroIsZero) {
    // The fields and the geometry take these in single precision, where 1e39 is infinite.
    gStore = {{"Precision", ASInt32{1}},
              {"CtrlLongueur", 1e39},
              {"CtrlAngle", -0.0},
              {"EchelleNumPersoReal", 1e39},
              {"EchelleDenPersoReal", -1e39}};
    LitPrefs();
    EXPECT_EQ(ContrainteLongueur, 2.0);
    EXPECT_EQ(EchelleNumPerso, 3.0);
    EXPECT_EQ(EchelleDenPerso, 7.0);
    EXPECT_EQ(ContrainteAngle, 0.0);
    EXPECT_FALSE(std::signbit(ContrainteAngle));
    // The largest single-precision value is still a value.
    gStore["CtrlLongueur"] = double{std::numeric_limits<float>::max()};
    LitPrefs();
    EXPECT_EQ(ContrainteLongueur, double{std::numeric_limits<float>::max()});
}

TEST_F(LitPrefsTest, TheEndsOfThePrecisionRangeAreKept) {
    for (ASInt32 precision : {0, 6}) {
        gStore = {{"Precision", precision}, {"CtrlAngle", 7.0}};
        gBeeps = 0;
        LitPrefs();
        EXPECT_EQ(gBeeps, 0) << precision;
        EXPECT_EQ(Precision, precision);
        EXPECT_EQ(ContrainteAngle, 7.0) << "nothing was reset";
        EXPECT_EQ(gStore.size(), 2u) << "nothing was written";
    }
}

}  // namespace
