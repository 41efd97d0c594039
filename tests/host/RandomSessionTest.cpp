// The random-session driver the events fuzzer and the stress run share: it plays the
// actions its profile weighs and no other, keeps the document at its size when asked,
// and counts what the host refuses instead of stopping.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "RandomSession.h"
#include "host/Host.h"

namespace {

using random_session::Action;

/// A profile that plays only the actions given, each as often as the others.
random_session::Profile only(std::initializer_list<Action> actions) {
    random_session::Profile profile;
    for (Action action : actions) profile.weights[static_cast<std::size_t>(action)] = 1;
    profile.area = {-100, -100, 100, 100};
    return profile;
}

/// Always the same share: the top of the range, where rounding leaves the weighted choice.
class HighChoices : public random_session::ChoiceSource {
public:
    long between(long, long high) override { return high; }
    double unit() override { return 0.9999999; }
    float anyFloat() override { return 0; }
    std::string anyText(std::size_t) override { return {}; }
};

class RandomSessionTest : public testing::Test {
protected:
    RandomSessionTest() : host_({std::filesystem::temp_directory_path(), std::nullopt, [](const std::string&) {}}) {}

    /// Adds count paths of two anchors; their handles, oldest first.
    std::vector<AIArtHandle> addPaths(int count) {
        std::vector<AIArtHandle> added;
        for (int i = 0; i < count; ++i) {
            AIRealPoint a{static_cast<AIReal>(i), 0}, b{static_cast<AIReal>(i), 10};
            added.push_back(host_.document().addPath({{{a, a, a, true}, {b, b, b, true}}, false}));
        }
        return added;
    }

    host::Host host_;
    std::mt19937 random_{7};
    random_session::SeededChoices choices_{random_};
};

TEST_F(RandomSessionTest, PlaysOnlyTheWeightedActions) {
    random_session::Driver drawing(host_, choices_, only({Action::drawArt}));
    for (int i = 0; i < 40; ++i) drawing.playOne();
    EXPECT_EQ(host_.document().artCount(), 40u);
    EXPECT_EQ(drawing.refusals(), 0);

    // The last weighted action takes the top of the range, whatever comes after it.
    HighChoices high;
    random_session::Driver undoing(host_, high, only({Action::drawArt, Action::undo}));
    undoing.playOne();
    EXPECT_EQ(host_.document().artCount(), 39u);
}

TEST_F(RandomSessionTest, DeletionsKeepTheDocumentAtItsSize) {
    std::vector<AIArtHandle> kept = addPaths(5);
    addPaths(2);
    random_session::Profile profile = only({Action::deleteArt});
    profile.keptArt = 5;
    random_session::Driver driver(host_, choices_, profile);
    // Beyond the size kept, the newest art goes first.
    driver.playOne();
    driver.playOne();
    std::vector<AIArtHandle> left;
    host_.document().forEachArt([&](AIArtHandle art, const host::Document::Art&) { left.push_back(art); });
    EXPECT_EQ(left, kept);
    // From there on each deletion brings a new path, in the same step.
    for (int i = 0; i < 20; ++i) driver.playOne();
    EXPECT_EQ(host_.document().artCount(), 5u);
    EXPECT_TRUE(host_.undo());
    EXPECT_EQ(host_.document().artCount(), 5u);
}

TEST_F(RandomSessionTest, RefusalsAreCountedAndTheSessionGoesOn) {
    // No plug-in, so no tool to select: the host refuses each time.
    random_session::Driver driver(host_, choices_, only({Action::selectTool, Action::drawArt}));
    for (int i = 0; i < 30; ++i) driver.playOne();
    EXPECT_GT(driver.refusals(), 0);
    EXPECT_EQ(driver.refusals() + static_cast<long>(host_.document().artCount()), 30);
    EXPECT_FALSE(driver.quit());
}

TEST_F(RandomSessionTest, AProfileThatWeighsNothingIsRefused) {
    EXPECT_THROW(random_session::Driver(host_, choices_, random_session::Profile{}), std::invalid_argument);
}

}  // namespace
