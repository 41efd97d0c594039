#include "Constraint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "PlaneGeometry.h"
#include "Settings.h"

namespace {

constexpr AIRealPoint kClicUn = {100, 50};
/// Two length steps of 2 mm, in points.
constexpr AIReal kDeuxPas = 11.338583f;
constexpr AIReal kToleranceDegres = 1e-3f;

struct Touches {
    bool option = false;
    bool shift = false;
    bool shiftAltInverse = false;
};

/// The cursor at distance from kClicUn in the direction, given in degrees.
AIRealPoint Curseur(AIReal distance, AIReal degres) {
    return AddPoints(kClicUn, VectorOfLengthAndAngle(distance, DegreesToRadians(degres)));
}

ConstrainedSegment Contraindre(AIRealPoint curseur, Touches touches = {}, AIReal angleAncien = 0,
                             double contrainteLongueur = settings::kDefaultLengthStep,
                             double contrainteAngle = settings::kDefaultAngleStep) {
    return ConstrainSegment(kClicUn, curseur, angleAncien, touches.option, touches.shift, touches.shiftAltInverse,
                              contrainteLongueur, contrainteAngle);
}

/// The turn from angleAncien that the segment makes, in degrees.
AIReal Virage(const ConstrainedSegment& s, AIReal angleAncien = 0) {
    return RadiansToDegrees(angleAncien - s.direction);
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
    const ConstrainedSegment s = Contraindre({kClicUn.h + 10, kClicUn.v});
    EXPECT_EQ(static_cast<AIReal>(s.length), kDeuxPas);
    EXPECT_EQ(s.segmentEnd.h, kClicUn.h + kDeuxPas);
    EXPECT_EQ(s.segmentEnd.v, kClicUn.v);
}

TEST(ConstrainSegment, TurnGoesUpToTheNextStep) {
    EXPECT_NEAR(Virage(Contraindre(Curseur(10, -12))), 15, kToleranceDegres);
    EXPECT_NEAR(Virage(Contraindre(Curseur(10, 12))), -10, kToleranceDegres);
    // The step applies to the turn, whatever the previous segment's direction.
    const AIReal angleAncien = DegreesToRadians(33);
    EXPECT_NEAR(Virage(Contraindre(Curseur(10, 21), {}, angleAncien), angleAncien), 15, kToleranceDegres);
}

TEST(ConstrainSegment, KeysFreeOrConstrainAsShiftAltInverseSays) {
    struct Cas {
        Touches touches;
        AIReal length;
        AIReal virage;
    };
    const Cas cas[] = {
        {{}, kDeuxPas, 15},
        {{.option = true}, 10, 15},
        {{.shift = true}, kDeuxPas, 12},
        {{.shiftAltInverse = true}, 10, 12},
        {{.option = true, .shiftAltInverse = true}, kDeuxPas, 12},
        {{.shift = true, .shiftAltInverse = true}, 10, 15},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(testing::Message() << "option " << c.touches.option << ", shift " << c.touches.shift
                                        << ", inverse " << c.touches.shiftAltInverse);
        const ConstrainedSegment s = Contraindre(Curseur(10, -12), c.touches);
        EXPECT_FLOAT_EQ(static_cast<AIReal>(s.length), c.length);
        EXPECT_NEAR(Virage(s), c.virage, kToleranceDegres);
    }
}

TEST(ConstrainSegment, ShownAngleIsFoldedIntoZeroToPi) {
    const Touches libre = {.option = true, .shift = true};
    const auto angleMontre = [&](AIReal degres, AIReal angleAncien = 0) {
        return RadiansToDegrees(Contraindre(Curseur(10, degres), libre, angleAncien).shownAngle);
    };
    EXPECT_NEAR(angleMontre(0), 180, kToleranceDegres);
    EXPECT_NEAR(angleMontre(90), 90, kToleranceDegres);
    EXPECT_NEAR(angleMontre(-90), 90, kToleranceDegres);
    EXPECT_NEAR(angleMontre(45), 135, kToleranceDegres);
    // Beyond half a turn, from -135 to 135 degrees: a quarter turn the other way.
    EXPECT_NEAR(angleMontre(135, DegreesToRadians(-135)), 90, kToleranceDegres);
    // Doubling back along the previous segment.
    EXPECT_EQ(Contraindre({kClicUn.h - 10, kClicUn.v}, libre).shownAngle, 0);
}

TEST(ConstrainSegment, ExactMultiplesStayWhereTheyAre) {
    // Straight down from the first point is a turn of exactly 90 degrees, which the
    // float division by the step puts a hair above 18 steps.
    EXPECT_NEAR(Virage(Contraindre({kClicUn.h, kClicUn.v - 30})), 90, kToleranceDegres);
    EXPECT_NEAR(Virage(Contraindre({kClicUn.h, kClicUn.v + 30})), -90, kToleranceDegres);
    // A half turn is taken as +180, the end of the range a turn is brought into.
    EXPECT_NEAR(Virage(Contraindre({kClicUn.h - 30, kClicUn.v})), 180, kToleranceDegres);
    for (int pas = 1; pas <= 40; ++pas) {
        const AIReal longueur = static_cast<AIReal>(pas) * kDeuxPas / 2;
        EXPECT_FLOAT_EQ(static_cast<AIReal>(Contraindre({kClicUn.h + longueur, kClicUn.v}).length), longueur)
            << pas << " steps";
    }
}

TEST(ConstrainSegment, TurnsAreSteppedTheSameOnBothSidesOfAHalfTurn) {
    // A 15 degree left turn with a 7 degree step is 14 degrees, from a segment at 0 as
    // from one at 168 degrees (whose turn to -177 reads 345 before it is brought back).
    for (AIReal ancien : {0.0f, 168.0f, -170.0f}) {
        const AIReal angleAncien = DegreesToRadians(ancien);
        const ConstrainedSegment s = Contraindre(Curseur(50, ancien + 15), {}, angleAncien, 0.0, 7.0);
        EXPECT_NEAR(std::remainder(Virage(s, angleAncien), 360.0f), -14, kToleranceDegres) << ancien;
        EXPECT_NEAR(RadiansToDegrees(s.shownAngle), 166, kToleranceDegres) << ancien;
    }
}

TEST(ConstrainSegment, ALongLengthJustAboveAStepGoesUpAStep) {
    // 20 000 steps (about 40 metres) and a twentieth of a point: well above rounding, though
    // within 8 ulps of so long a length.
    const auto pas = static_cast<AIReal>(settings::kDefaultLengthStep / settings::kMillimetresPerPoint);
    const AIReal multiple = 20000 * pas;
    const ConstrainedSegment s = Contraindre({kClicUn.h + multiple + 0.05f, kClicUn.v}, {}, 0, 2.0, 0.0);
    EXPECT_FLOAT_EQ(static_cast<AIReal>(s.length), StepMultiple(multiple + 0.05f, pas, true));
    EXPECT_GT(static_cast<AIReal>(s.length), multiple + 0.05f);
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
        const AIReal tour = WithinOneTurn(angle);
        EXPECT_GT(tour, -geometry::kPi);
        EXPECT_LE(tour, geometry::kPi);
        EXPECT_NEAR(std::cos(tour), std::cos(angle), 1e-5f);
        EXPECT_NEAR(std::sin(tour), std::sin(angle), 1e-5f);
    }
}

TEST(ConstrainSegment, ZeroStepsLeaveTheRawValues) {
    const ConstrainedSegment s = Contraindre(Curseur(10, -12), {}, 0, 0.0, 0.0);
    EXPECT_FLOAT_EQ(static_cast<AIReal>(s.length), 10);
    EXPECT_NEAR(Virage(s), 12, kToleranceDegres);
}

}  // namespace
