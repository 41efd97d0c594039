#include <gtest/gtest.h>

#include <cmath>

#include "Constraint.h"
#include "PlaneGeometry.h"
#include "OrvaneDialogue.h"

namespace {

constexpr AIReal kTolerance = 1e-5f;

/// The direction folded into -pi to pi, to compare directions that differ by whole turns.
AIReal Replie(AIReal angle) {
    return std::remainder(angle, geometry::kTwoPi);
}

TEST(AngleTapeTest, StraightOnContinuesTheLastSegment) {
    const AngleDuPanneau angle = AngleTape(0.0f, 180.0f);
    EXPECT_FLOAT_EQ(angle.angleDeLaLigne, -geometry::kTwoPi);
    EXPECT_FLOAT_EQ(angle.angleRelatif, geometry::kPi);
    const AIRealPoint bout = SegmentEnd({10, 20}, 28.346457, angle.angleDeLaLigne);
    EXPECT_NEAR(bout.h, 10 + 28.346457f, 1e-4f);
    EXPECT_NEAR(bout.v, 20, 1e-4f);
}

TEST(AngleTapeTest, TurnsAreMeasuredFromTheLastSegment) {
    const AIReal angleAncien = DegreesToRadians(30.0f);
    // After a segment going at 30 degrees, 90 turns left to 120 and -90 right to -60.
    EXPECT_NEAR(Replie(AngleTape(angleAncien, 90.0f).angleDeLaLigne), Replie(DegreesToRadians(120.0f)), kTolerance);
    EXPECT_NEAR(Replie(AngleTape(angleAncien, -90.0f).angleDeLaLigne), Replie(DegreesToRadians(-60.0f)), kTolerance);
}

TEST(AngleTapeTest, OnlyTheLabelFolds) {
    // 270 goes the way of -90 but its label reads 90; -90 keeps its sign.
    const AngleDuPanneau plus = AngleTape(0.0f, 270.0f);
    EXPECT_NEAR(plus.angleDeLaLigne, -5 * geometry::kPi / 2, kTolerance);
    EXPECT_NEAR(RadiansToDegrees(plus.angleRelatif), 90.0f, 1e-3f);
    const AngleDuPanneau moins = AngleTape(0.0f, -90.0f);
    EXPECT_NEAR(RadiansToDegrees(moins.angleRelatif), -90.0f, 1e-3f);
    EXPECT_NEAR(Replie(moins.angleDeLaLigne), Replie(plus.angleDeLaLigne), kTolerance);
}

TEST(AngleTapeTest, TheFilledAngleTypedBackGivesTheSameSegment) {
    // From a segment at 30 degrees: straight on, a left and a right turn, doubling back.
    const AIReal angleAncien = DegreesToRadians(30.0f);
    struct Cas {
        AIReal direction;  // degrees
        AIReal rempli;     // what the field is filled with
        AIReal montre;     // what the label shows
    };
    for (const Cas& cas : {Cas{30, 180, 180}, Cas{120, 90, 90}, Cas{-60, 270, 90}, Cas{-150, 0, 0}, Cas{5, 205, 155},
                           Cas{55, 155, 155}}) {
        const AIReal direction = DegreesToRadians(cas.direction);
        const AIReal rempli = AngleARetaper(angleAncien, direction);
        EXPECT_NEAR(rempli, cas.rempli, 1e-3f) << cas.direction;
        const AngleDuPanneau retape = AngleTape(angleAncien, rempli);
        EXPECT_NEAR(Replie(retape.angleDeLaLigne - direction), 0, kTolerance) << cas.direction;
        EXPECT_NEAR(RadiansToDegrees(retape.angleRelatif), cas.montre, 1e-3f) << cas.direction;
    }
}

}  // namespace
