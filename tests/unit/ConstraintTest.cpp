#include "Constraint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "PlaneGeometry.h"
#include "Settings.h"
#include "Units.h"

namespace {

constexpr AIRealPoint kLastPoint = {100, 50};
/// Two length steps of 2 mm, in points.
constexpr AIReal kTwoSteps = 11.338583f;
constexpr AIReal kDegreeTolerance = 1e-3f;

struct Keys {
    bool option = false;
    bool shift = false;
    bool swapShiftAlt = false;
};

/// The cursor at distance from kLastPoint in the direction, given in degrees.
AIRealPoint CursorAt(AIReal distance, AIReal degrees) {
    return AddPoints(kLastPoint, VectorOfLengthAndAngle(distance, DegreesToRadians(degrees)));
}

ConstrainedSegment Constrain(AIRealPoint cursor, Keys keys = {}, AIReal previousDirection = 0,
                             double lengthStep = settings::kDefaultLengthStep,
                             double angleStep = settings::kDefaultAngleStep) {
    return ConstrainSegment(kLastPoint, cursor, previousDirection, 0.0, keys.option, keys.shift, keys.swapShiftAlt,
                            lengthStep, angleStep);
}

/// The turn from previousDirection that the segment makes, in degrees.
AIReal Turn(const ConstrainedSegment& s, AIReal previousDirection = 0) {
    return RadiansToDegrees(previousDirection - s.direction);
}

TEST(StepMultiple, RoundsTowardsTheChosenInfinity) {
    EXPECT_FLOAT_EQ(StepMultiple(12, 5, true), 15);
    EXPECT_FLOAT_EQ(StepMultiple(-12, 5, true), -10);
    EXPECT_FLOAT_EQ(StepMultiple(-12, 5, false), -15);
    EXPECT_FLOAT_EQ(StepMultiple(-12, -5, true), -10);
    // A step without multiples gives the value back.
    EXPECT_EQ(StepMultiple(-12, 0, true), -12);
    EXPECT_EQ(StepMultiple(-12, std::numeric_limits<AIReal>::infinity(), true), -12);
    EXPECT_EQ(StepMultiple(-12, std::numeric_limits<AIReal>::quiet_NaN(), false), -12);
}

TEST(ConstrainSegment, LengthGoesUpToTheNextStep) {
    const ConstrainedSegment s = Constrain({kLastPoint.h + 10, kLastPoint.v});
    EXPECT_EQ(static_cast<AIReal>(s.length), kTwoSteps);
    EXPECT_EQ(s.segmentEnd.h, kLastPoint.h + kTwoSteps);
    EXPECT_EQ(s.segmentEnd.v, kLastPoint.v);
}

TEST(ConstrainSegment, TurnGoesUpToTheNextStep) {
    EXPECT_NEAR(Turn(Constrain(CursorAt(10, -12))), 15, kDegreeTolerance);
    EXPECT_NEAR(Turn(Constrain(CursorAt(10, 12))), -10, kDegreeTolerance);
    // The step applies to the turn, whatever the previous segment's direction.
    const AIReal previousDirection = DegreesToRadians(33);
    EXPECT_NEAR(Turn(Constrain(CursorAt(10, 21), {}, previousDirection), previousDirection), 15, kDegreeTolerance);
}

TEST(ConstrainSegment, KeysFreeOrConstrainAsTheSwapSays) {
    struct Case {
        Keys keys;
        AIReal length;
        AIReal turn;
    };
    const Case cases[] = {
        {{}, kTwoSteps, 15},
        {{.option = true}, 10, 15},
        {{.shift = true}, kTwoSteps, 12},
        {{.swapShiftAlt = true}, 10, 12},
        {{.option = true, .swapShiftAlt = true}, kTwoSteps, 12},
        {{.shift = true, .swapShiftAlt = true}, 10, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "option " << c.keys.option << ", shift " << c.keys.shift << ", inverse "
                                        << c.keys.swapShiftAlt);
        const ConstrainedSegment s = Constrain(CursorAt(10, -12), c.keys);
        EXPECT_FLOAT_EQ(static_cast<AIReal>(s.length), c.length);
        EXPECT_NEAR(Turn(s), c.turn, kDegreeTolerance);
    }
}

TEST(ConstrainSegment, ShownAngleIsFoldedIntoZeroToPi) {
    const Keys free = {.option = true, .shift = true};
    const auto shownAngleOf = [&](AIReal degrees, AIReal previousDirection = 0) {
        return RadiansToDegrees(Constrain(CursorAt(10, degrees), free, previousDirection).shownAngle);
    };
    EXPECT_NEAR(shownAngleOf(0), 180, kDegreeTolerance);
    EXPECT_NEAR(shownAngleOf(90), 90, kDegreeTolerance);
    EXPECT_NEAR(shownAngleOf(-90), 90, kDegreeTolerance);
    EXPECT_NEAR(shownAngleOf(45), 135, kDegreeTolerance);
    // Beyond half a turn, from -135 to 135 degrees: a quarter turn the other way.
    EXPECT_NEAR(shownAngleOf(135, DegreesToRadians(-135)), 90, kDegreeTolerance);
    // Doubling back along the previous segment.
    EXPECT_EQ(Constrain({kLastPoint.h - 10, kLastPoint.v}, free).shownAngle, 0);
}

TEST(ConstrainSegment, ExactMultiplesStayWhereTheyAre) {
    // Straight down from the first point is a turn of exactly 90 degrees, which the
    // float division by the step puts a hair above 18 steps.
    EXPECT_NEAR(Turn(Constrain({kLastPoint.h, kLastPoint.v - 30})), 90, kDegreeTolerance);
    EXPECT_NEAR(Turn(Constrain({kLastPoint.h, kLastPoint.v + 30})), -90, kDegreeTolerance);
    // A half turn is taken as +180, the end of the range a turn is brought into.
    EXPECT_NEAR(Turn(Constrain({kLastPoint.h - 30, kLastPoint.v})), 180, kDegreeTolerance);
    for (int steps = 1; steps <= 40; ++steps) {
        const AIReal length = static_cast<AIReal>(steps) * kTwoSteps / 2;
        EXPECT_FLOAT_EQ(static_cast<AIReal>(Constrain({kLastPoint.h + length, kLastPoint.v}).length), length)
            << steps << " steps";
    }
}

TEST(ConstrainSegment, TurnsAreSteppedTheSameOnBothSidesOfAHalfTurn) {
    // A 15 degree left turn with a 7 degree step is 14 degrees, from a segment at 0 as
    // from one at 168 degrees (whose turn to -177 reads 345 before it is brought back).
    for (AIReal previous : {0.0f, 168.0f, -170.0f}) {
        const AIReal previousDirection = DegreesToRadians(previous);
        const ConstrainedSegment s = Constrain(CursorAt(50, previous + 15), {}, previousDirection, 0.0, 7.0);
        EXPECT_NEAR(std::remainder(Turn(s, previousDirection), 360.0f), -14, kDegreeTolerance) << previous;
        EXPECT_NEAR(RadiansToDegrees(s.shownAngle), 166, kDegreeTolerance) << previous;
    }
}

TEST(ConstrainSegment, ALongLengthJustAboveAStepGoesUpAStep) {
    // 20 000 steps (about 40 metres) and a twentieth of a point: well above rounding, though
    // within 8 ulps of so long a length.
    const auto step = static_cast<AIReal>(settings::kDefaultLengthStep / units::kMillimetresPerPoint);
    const AIReal multiple = 20000 * step;
    const ConstrainedSegment s = Constrain({kLastPoint.h + multiple + 0.05f, kLastPoint.v}, {}, 0, 2.0, 0.0);
    EXPECT_FLOAT_EQ(static_cast<AIReal>(s.length), StepMultiple(multiple + 0.05f, step, true));
    EXPECT_GT(static_cast<AIReal>(s.length), multiple + 0.05f);
}

TEST(ConstrainSegment, MultiplesButForTheRoundingOfFloatPointsStay) {
    // After a segment typed at 90 degrees from the origin: its end is a float hair off the v axis,
    // and straight on along it is no turn at all.
    const AIRealPoint typedEnd = {3.3802812e-07f, 28.346457f};
    const AIReal typedDirection = WithinOneTurn(-3 * geometry::kPi / 2);
    const ConstrainedSegment straightOn =
        ConstrainSegment(typedEnd, {0, 80}, typedDirection, 28.346457, false, false, false,
                         settings::kDefaultLengthStep, settings::kDefaultAngleStep);
    EXPECT_EQ(straightOn.shownAngle, geometry::kPi);

    // 71 mm at 30 degrees ends at (-174.29611, 100.62996), 149.9999867 degrees from the origin; 20 mm
    // further on, computed exactly, is ten length steps and no turn.
    const AIRealPoint farEnd = {-174.29611f, 100.62996f};
    const AIReal farDirection = AngleBetween({0, 0}, farEnd);
    const ConstrainedSegment twentyMillimetres =
        ConstrainSegment(farEnd, {-223.39361f, 128.97642f}, farDirection, 201.25984, false, false, false,
                         settings::kDefaultLengthStep, settings::kDefaultAngleStep);
    EXPECT_FLOAT_EQ(static_cast<AIReal>(twentyMillimetres.length), 10 * kTwoSteps / 2);
    EXPECT_EQ(twentyMillimetres.shownAngle, geometry::kPi);
    // A short last segment holds its direction less finely: the same rounding of its end is a wider turn.
    const AIRealPoint nearlyOn = AddPoints(farEnd, VectorOfLengthAndAngle(50, farDirection - 2e-5f));
    EXPECT_EQ(ConstrainSegment(farEnd, nearlyOn, farDirection, 2.0, false, false, false, 2.0, 5.0).shownAngle,
              geometry::kPi);
    EXPECT_NE(ConstrainSegment(farEnd, nearlyOn, farDirection, 500.0, false, false, false, 2.0, 5.0).shownAngle,
              geometry::kPi);
}

TEST(EndsOn, AnEndOnThePointButForRounding) {
    // The fourth side of a typed square of 50 mm drawn from (-292, 144).
    EXPECT_TRUE(EndsOn({-292.00006f, 144.0001f}, {-292, 144}, 141.73228));
    EXPECT_TRUE(EndsOn({0, 0}, {0, 0}, 10));
    // A hundredth of a millimetre is a place of its own, at any size.
    EXPECT_FALSE(EndsOn({-292.02835f, 144}, {-292, 144}, 141.73228));
    EXPECT_FALSE(EndsOn({0.028f, 0}, {0, 0}, 28.346457));
    // Far from the origin the coordinates are coarser, and so is what counts as on the point.
    EXPECT_TRUE(EndsOn({100000.01f, 0}, {100000, 0}, 100));
}

TEST(WithinOneTurn, BringsAnglesIntoMinusPiExcludedToPi) {
    EXPECT_EQ(WithinOneTurn(0.5f), 0.5f);
    EXPECT_EQ(WithinOneTurn(geometry::kPi), geometry::kPi);
    EXPECT_EQ(WithinOneTurn(-geometry::kPi), geometry::kPi);
    EXPECT_NEAR(WithinOneTurn(-3 * geometry::kPi / 2), geometry::kPi / 2, 1e-6f);
    EXPECT_NEAR(WithinOneTurn(3 * geometry::kPi), geometry::kPi, 1e-6f);
    EXPECT_NEAR(WithinOneTurn(DegreesToRadians(540)), geometry::kPi, 1e-5f);
    EXPECT_NEAR(WithinOneTurn(DegreesToRadians(-190)), DegreesToRadians(170), 1e-6f);
    for (AIReal angle = -20; angle <= 20; angle += 0.37f) {
        const AIReal withinTurn = WithinOneTurn(angle);
        EXPECT_GT(withinTurn, -geometry::kPi);
        EXPECT_LE(withinTurn, geometry::kPi);
        EXPECT_NEAR(std::cos(withinTurn), std::cos(angle), 1e-5f);
        EXPECT_NEAR(std::sin(withinTurn), std::sin(angle), 1e-5f);
    }
}

TEST(ConstrainSegment, ZeroStepsLeaveTheRawValues) {
    const ConstrainedSegment s = Constrain(CursorAt(10, -12), {}, 0, 0.0, 0.0);
    EXPECT_FLOAT_EQ(static_cast<AIReal>(s.length), 10);
    EXPECT_NEAR(Turn(s), 12, kDegreeTolerance);
}

}  // namespace
