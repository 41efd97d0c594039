#include <gtest/gtest.h>

#include <cmath>

#include "Constraint.h"
#include "PlaneGeometry.h"
#include "TypedAngle.h"

namespace {

constexpr AIReal kTolerance = 1e-5f;

/// The direction folded into -pi to pi, to compare directions that differ by whole turns.
AIReal Folded(AIReal angle) {
    return std::remainder(angle, geometry::kTwoPi);
}

TEST(TypedAngleTest, StraightOnContinuesTheLastSegment) {
    const TypedAngle angle = TypedAngleToDirection(0.0f, 180.0f);
    EXPECT_FLOAT_EQ(angle.direction, -geometry::kTwoPi);
    EXPECT_FLOAT_EQ(angle.shownAngle, geometry::kPi);
    const AIRealPoint end = SegmentEnd({10, 20}, 28.346457, angle.direction);
    EXPECT_NEAR(end.h, 10 + 28.346457f, 1e-4f);
    EXPECT_NEAR(end.v, 20, 1e-4f);
}

TEST(TypedAngleTest, TurnsAreMeasuredFromTheLastSegment) {
    const AIReal previousDirection = DegreesToRadians(30.0f);
    // After a segment going at 30 degrees, 90 turns left to 120 and -90 right to -60.
    EXPECT_NEAR(Folded(TypedAngleToDirection(previousDirection, 90.0f).direction), Folded(DegreesToRadians(120.0f)),
                kTolerance);
    EXPECT_NEAR(Folded(TypedAngleToDirection(previousDirection, -90.0f).direction), Folded(DegreesToRadians(-60.0f)),
                kTolerance);
}

TEST(TypedAngleTest, OnlyTheLabelFolds) {
    // 270 goes the way of -90 but its label reads 90; -90 keeps its sign.
    const TypedAngle plusOne = TypedAngleToDirection(0.0f, 270.0f);
    EXPECT_NEAR(plusOne.direction, -5 * geometry::kPi / 2, kTolerance);
    EXPECT_NEAR(RadiansToDegrees(plusOne.shownAngle), 90.0f, 1e-3f);
    const TypedAngle minus = TypedAngleToDirection(0.0f, -90.0f);
    EXPECT_NEAR(RadiansToDegrees(minus.shownAngle), -90.0f, 1e-3f);
    EXPECT_NEAR(Folded(minus.direction), Folded(plusOne.direction), kTolerance);
}

TEST(TypedAngleTest, TheFilledAngleTypedBackGivesTheSameSegment) {
    // From a segment at 30 degrees: straight on, a left and a right turn, doubling back.
    const AIReal previousDirection = DegreesToRadians(30.0f);
    struct Case {
        AIReal direction;  // degrees
        AIReal filled;     // what the field is filled with
        AIReal shown;      // what the label shows
    };
    for (const Case& cases : {Case{30, 180, 180}, Case{120, 90, 90}, Case{-60, 270, 90}, Case{-150, 0, 0},
                              Case{5, 205, 155}, Case{55, 155, 155}}) {
        const AIReal direction = DegreesToRadians(cases.direction);
        const AIReal filled = AngleToRetype(previousDirection, direction);
        EXPECT_NEAR(filled, cases.filled, 1e-3f) << cases.direction;
        const TypedAngle retyped = TypedAngleToDirection(previousDirection, filled);
        EXPECT_NEAR(Folded(retyped.direction - direction), 0, kTolerance) << cases.direction;
        EXPECT_NEAR(RadiansToDegrees(retyped.shownAngle), cases.shown, 1e-3f) << cases.direction;
    }
}

TEST(TypedAngleTest, LabelsReadWhatTheDrawnSegmentReads) {
    struct Case {
        AIReal typed;
        AIReal shown;  // degrees
        AIReal turn;   // the segment's direction from the last one, in degrees to the left
    };
    // Whole turns come off; -180 goes straight on and reads 180; a right turn typed negative keeps its sign.
    for (const Case& c : {Case{720, 0, 180}, Case{-180, 180, 0}, Case{-270, 90, 90}, Case{-90, -90, -90},
                          Case{-0.004f, -0.004f, -179.996f}, Case{359.999f, 0.001f, -179.999f}, Case{3690, 90, 90}}) {
        const TypedAngle angle = TypedAngleToDirection(0.0f, c.typed);
        EXPECT_NEAR(RadiansToDegrees(angle.shownAngle), c.shown, 1e-3f) << c.typed;
        EXPECT_NEAR(std::cos(angle.direction), std::cos(DegreesToRadians(c.turn)), kTolerance) << c.typed;
        EXPECT_NEAR(std::sin(angle.direction), std::sin(DegreesToRadians(c.turn)), kTolerance) << c.typed;
    }
}

}  // namespace
