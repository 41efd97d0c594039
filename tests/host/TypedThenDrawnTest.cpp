// Random sessions against the real module: segments typed in the panel at random lengths, angles
// and drawing scales, then the mouse going straight on, at a right angle or doubling back. The
// label reads what the geometry is, and the anchor lies on the line, whatever float rounding the
// typed segments left in their ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "PluginFacts.h"
#include "host/Host.h"

namespace {

constexpr double kDegree = std::numbers::pi / 180;
constexpr double kPointsPerMillimetre = 72 / 25.4;
/// How far the new anchor may lie from the line it was drawn along, in points.
constexpr double kOnLine = 1e-4;
/// Farther than the tool's hit tolerance of 8 points, so that the cursor finds no anchor to snap to.
constexpr double kClearOfAnchors = 20;
/// Polylines drawn at each scale.
constexpr int kTrials = 50;
/// Where the cursor goes while a typed segment is placed: clear of every anchor and segment.
constexpr AIRealPoint kAside = {0, -5000};

struct Turn {
    const char* name;
    double degrees;     // the new direction from the last one, to the left
    const char* label;  // what the angle label reads, with the precision of 2
};
constexpr Turn kTurns[] = {
    {"straight on", 0, "a=180,00°"},
    {"left", 90, "a=90,00°"},
    {"right", -90, "a=90,00°"},
    {"doubling back", 180, "a=0,00°"},
};

/// Drawing scales as numerator and denominator: the page holds the typed lengths divided by their ratio.
struct Scale {
    double numerator;
    double denominator;
};

std::string Text(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

AIRealPoint Along(AIRealPoint from, double direction, double distance) {
    return {static_cast<AIReal>(from.h + distance * std::cos(direction)),
            static_cast<AIReal>(from.v + distance * std::sin(direction))};
}

class TypedThenDrawn : public testing::TestWithParam<Scale> {
protected:
    TypedThenDrawn() : host_({ORVANE_PLUGINS_DIR, std::nullopt, [](const std::string&) {}}) {
        using plugin_facts::kPreferencePrefix;
        host_.preferences().put(kPreferencePrefix, plugin_facts::kPrecisionKey, std::int32_t{2});
        host_.preferences().put(kPreferencePrefix, "EchelleNum", GetParam().numerator);
        host_.preferences().put(kPreferencePrefix, "EchelleDen", GetParam().denominator);
        host_.start();
        host_.selectTool(plugin_facts::kToolName);
    }

    /// The anchors of the polyline's path, the only art.
    std::vector<AIRealPoint> anchors() const {
        std::vector<AIRealPoint> points;
        host_.document().forEachArt([&](AIArtHandle, const host::Document::Art& art) {
            for (const AIPathSegment& segment : art.shape.segments) points.push_back(segment.p);
        });
        return points;
    }

    std::string angleLabel() const {
        for (const host::DrawOperation& operation : host_.frame())
            if (const auto* text = std::get_if<host::DrawTextAligned>(&operation.shape))
                if (text->text.starts_with("a=")) return text->text;
        return "none";
    }

    /// Back to an empty document and a tool that remembers no anchor.
    void clear() {
        host_.move(kAside, controlKey | optionKey);
        host_.edit([](host::Document& document) {
            std::vector<AIArtHandle> all;
            document.forEachArt([&](AIArtHandle art, const host::Document::Art&) { all.push_back(art); });
            for (AIArtHandle art : all) document.disposeArt(art);
        });
        host_.deselect();
        host_.selectTool(plugin_facts::kToolName);
    }

    host::Host host_;
    std::mt19937 random_{22};
};

TEST_P(TypedThenDrawn, LabelsReadTheTurnAndAnchorsLieOnTheLine) {
    std::uniform_real_distribution<double> start(-100, 100);
    std::uniform_real_distribution<double> millimetres(10, 71);
    std::uniform_int_distribution<int> typedAngle(17, 135);
    std::uniform_int_distribution<int> typedCount(1, 3);
    std::uniform_real_distribution<double> reach(kClearOfAnchors, 100);
    const ADMDialogRef panel = plugin_facts::panelOf(host_.dialogs());
    ASSERT_NE(panel, nullptr);

    for (int trial = 0; trial < kTrials; ++trial) {
        clear();
        const AIRealPoint first = {static_cast<AIReal>(start(random_)), static_cast<AIReal>(start(random_))};
        host_.move(first, 0);
        host_.click(first, 0);
        host_.click(first, optionKey);

        double lastLength = 0;
        std::string typed;
        for (int segment = typedCount(random_); segment > 0; --segment) {
            const std::string length = Text(millimetres(random_));
            const int angle = typedAngle(random_);
            typed += " " + length + " mm at " + std::to_string(angle) + ";";
            host_.typeIntoItem(panel, plugin_facts::kLengthField, length);
            host_.typeIntoItem(panel, plugin_facts::kAngleField, std::to_string(angle));
            host_.move(kAside, 0);
            host_.click(kAside, 0);
            lastLength = std::stod(length) * kPointsPerMillimetre * GetParam().denominator / GetParam().numerator;
        }
        host_.closeDialog(panel);

        const std::vector<AIRealPoint> placed = anchors();
        const AIRealPoint last = placed.back();
        const AIRealPoint beforeLast = placed.at(placed.size() - 2);
        // The typed length is at the drawing scale.
        ASSERT_NEAR(std::hypot(last.h - beforeLast.h, last.v - beforeLast.v), lastLength, 1e-3);
        const Turn& turn = kTurns[std::uniform_int_distribution<std::size_t>(0, std::size(kTurns) - 1)(random_)];
        // The line is the last segment as drawn, through its anchors, or square to it.
        const double drawn =
            std::atan2(static_cast<double>(last.v) - beforeLast.v, static_cast<double>(last.h) - beforeLast.h) +
            turn.degrees * kDegree;
        // Doubling back, the cursor goes beyond the segment's start: on the segment, a click removes it.
        const double distance = reach(random_) + (turn.degrees == 180 ? lastLength : 0);
        const AIRealPoint cursor = Along(last, drawn, distance);
        const bool awayFromAnchors = std::all_of(placed.begin(), placed.end() - 1, [&](AIRealPoint anchor) {
            return std::hypot(anchor.h - cursor.h, anchor.v - cursor.v) > kClearOfAnchors;
        });
        if (!awayFromAnchors) continue;
        SCOPED_TRACE(std::string(turn.name) + " after" + typed);

        host_.move(cursor, 0);
        EXPECT_EQ(angleLabel(), turn.label);
        host_.click(cursor, 0);
        const std::vector<AIRealPoint> after = anchors();
        ASSERT_EQ(after.size(), placed.size() + 1);
        const AIRealPoint added = after.back();
        const double across = std::cos(drawn) * (added.v - last.v) - std::sin(drawn) * (added.h - last.h);
        EXPECT_LE(std::fabs(across), kOnLine);
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, TypedThenDrawn, testing::Values(Scale{1, 1}, Scale{3, 2}, Scale{2, 1}, Scale{5, 1}),
                         [](const testing::TestParamInfo<Scale>& scale) {
                             return Text(scale.param.numerator).substr(0, 1) + "to" +
                                    Text(scale.param.denominator).substr(0, 1);
                         });

}  // namespace
