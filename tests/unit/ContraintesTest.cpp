#include "Contraintes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "MathReelle.h"
#include "Reglages.h"

namespace {

constexpr AIRealPoint kClicUn = {0, 0};
/// Two length steps of 2 mm, in points.
constexpr AIReal kDeuxPasDeLongueur = 11.338583f;
constexpr AIReal kToleranceDegres = 1e-4f;

struct Touches {
    bool option = false;
    bool shift = false;
    bool shiftAltInverse = false;
};

/// The cursor at distance from kClicUn in the direction, given in degrees.
AIRealPoint Curseur(AIReal distance, AIReal degres) {
    return VecteurLongueurAngle(distance, DegreEnRadian(degres));
}

SegmentContraint Contraindre(AIRealPoint curseur, Touches touches = {}, AIReal angleAncien = 0,
                             double contrainteLongueur = reglages::kContrainteLongueurDefaut,
                             double contrainteAngle = reglages::kContrainteAngleDefaut) {
    return ContraindreSegment(kClicUn, curseur, angleAncien, touches.option, touches.shift, touches.shiftAltInverse,
                              contrainteLongueur, contrainteAngle);
}

/// The turn from angleAncien that the segment makes, in degrees.
AIReal Virage(const SegmentContraint& s, AIReal angleAncien = 0) {
    return RadianEnDegre(angleAncien - s.angleDeLaLigne);
}

TEST(MultipleReel, RoundsTowardsTheChosenInfinity) {
    EXPECT_FLOAT_EQ(MultipleReel(12, 5, true), 15);
    EXPECT_FLOAT_EQ(MultipleReel(-12, 5, true), -10);
    EXPECT_FLOAT_EQ(MultipleReel(12, 5, false), 10);
    EXPECT_FLOAT_EQ(MultipleReel(-12, 5, false), -15);
    EXPECT_FLOAT_EQ(MultipleReel(-12, -5, true), -10);
}

TEST(MultipleReel, StepWithoutMultiplesGivesTheValueBack) {
    EXPECT_EQ(MultipleReel(-12, 0, true), -12);
    EXPECT_EQ(MultipleReel(-12, std::numeric_limits<AIReal>::infinity(), true), -12);
    EXPECT_EQ(MultipleReel(-12, std::numeric_limits<AIReal>::quiet_NaN(), false), -12);
}

TEST(ContraindreSegment, LengthGoesUpToTheNextStep) {
    const SegmentContraint s = Contraindre({10, 0});
    EXPECT_EQ(static_cast<AIReal>(s.longueur), kDeuxPasDeLongueur);
    EXPECT_EQ(s.clicDeux.h, kDeuxPasDeLongueur);
    EXPECT_EQ(s.clicDeux.v, 0);
}

TEST(ContraindreSegment, TurnGoesUpToTheNextStep) {
    EXPECT_NEAR(Virage(Contraindre(Curseur(10, -12))), 15, kToleranceDegres);
    EXPECT_NEAR(Virage(Contraindre(Curseur(10, 12))), -10, kToleranceDegres);

    // The step applies to the turn, whatever the previous segment's direction.
    const AIReal angleAncien = DegreEnRadian(33);
    EXPECT_NEAR(Virage(Contraindre(Curseur(10, 21), {}, angleAncien), angleAncien), 15, kToleranceDegres);
}

TEST(ContraindreSegment, KeysFreeTheirConstraint) {
    const AIRealPoint curseur = Curseur(10, -12);

    const SegmentContraint option = Contraindre(curseur, {.option = true});
    EXPECT_FLOAT_EQ(static_cast<AIReal>(option.longueur), 10);
    EXPECT_NEAR(Virage(option), 15, kToleranceDegres);

    const SegmentContraint shift = Contraindre(curseur, {.shift = true});
    EXPECT_EQ(static_cast<AIReal>(shift.longueur), kDeuxPasDeLongueur);
    EXPECT_NEAR(Virage(shift), 12, kToleranceDegres);
}

TEST(ContraindreSegment, ShiftAltInverseSwapsTheKeys) {
    const AIRealPoint curseur = Curseur(10, -12);

    const SegmentContraint libre = Contraindre(curseur, {.shiftAltInverse = true});
    EXPECT_FLOAT_EQ(static_cast<AIReal>(libre.longueur), 10);
    EXPECT_NEAR(Virage(libre), 12, kToleranceDegres);

    const SegmentContraint option = Contraindre(curseur, {.option = true, .shiftAltInverse = true});
    EXPECT_EQ(static_cast<AIReal>(option.longueur), kDeuxPasDeLongueur);
    EXPECT_NEAR(Virage(option), 12, kToleranceDegres);

    const SegmentContraint shift = Contraindre(curseur, {.shift = true, .shiftAltInverse = true});
    EXPECT_FLOAT_EQ(static_cast<AIReal>(shift.longueur), 10);
    EXPECT_NEAR(Virage(shift), 15, kToleranceDegres);
}

TEST(ContraindreSegment, ShownAngleIsFoldedIntoZeroToPi) {
    const Touches libre = {.option = true, .shift = true};
    const auto angleMontre = [&](AIReal degres) {
        return RadianEnDegre(Contraindre(Curseur(10, degres), libre).angleRelatif);
    };
    EXPECT_NEAR(angleMontre(0), 180, kToleranceDegres);
    EXPECT_NEAR(angleMontre(90), 90, kToleranceDegres);
    EXPECT_NEAR(angleMontre(-90), 90, kToleranceDegres);
    EXPECT_NEAR(angleMontre(45), 135, kToleranceDegres);
    // Doubling back along the previous segment.
    EXPECT_EQ(Contraindre({-10, 0}, libre).angleRelatif, 0);
    // A turn beyond half a turn, from -135 deg to 135 deg, is a quarter turn the other way.
    const SegmentContraint auDela = Contraindre(Curseur(10, 135), libre, DegreEnRadian(-135));
    EXPECT_NEAR(RadianEnDegre(auDela.angleRelatif), 90, kToleranceDegres);
}

TEST(ContraindreSegment, ZeroStepsLeaveTheRawValues) {
    const SegmentContraint s = Contraindre(Curseur(10, -12), {}, 0, 0.0, 0.0);
    EXPECT_FLOAT_EQ(static_cast<AIReal>(s.longueur), 10);
    EXPECT_NEAR(Virage(s), 12, kToleranceDegres);
    EXPECT_TRUE(std::isfinite(s.clicDeux.h) && std::isfinite(s.clicDeux.v));
}

}  // namespace
