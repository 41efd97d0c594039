#include "Utilitaires.h"

#include <gtest/gtest.h>

#include <cmath>

#include "EtatOutil.h"

namespace {

/// Handle length of the usual cubic quarter circle, as a fraction of its radius.
constexpr AIReal kPoigneeQuartDeCercle = 0.55228f;

// The piece records as hover detection builds them from a Bezier (p0, p1, p2, p3).
AIPathSegment Debut(AIRealPoint p0, AIRealPoint p1) {
    return {p0, p0, p1, false};
}
AIPathSegment Fin(AIRealPoint p2, AIRealPoint p3) {
    return {p3, p2, p3, false};
}

/// The quarter circle about the origin from (r, 0) to (0, r).
bool EstQuartDeCercleUnArc(AIReal r) {
    const AIReal poignee = kPoigneeQuartDeCercle * r;
    return EstArcDeCercle(nullptr, Debut({r, 0}, {r, poignee}), Fin({poignee, r}, {0, r}), false);
}

TEST(PointIntersection, CrossingLines) {
    const AIRealPoint x = PointIntersection({0, 0}, {1, 1}, {0, 1}, {1, 0});
    EXPECT_FLOAT_EQ(x.h, 0.5f);
    EXPECT_FLOAT_EQ(x.v, 0.5f);

    const AIRealPoint premiereVerticale = PointIntersection({2, 0}, {2, 5}, {0, 0}, {4, 4});
    EXPECT_FLOAT_EQ(premiereVerticale.h, 2.0f);
    EXPECT_FLOAT_EQ(premiereVerticale.v, 2.0f);

    const AIRealPoint secondeVerticale = PointIntersection({0, 0}, {4, 4}, {2, 0}, {2, 5});
    EXPECT_FLOAT_EQ(secondeVerticale.h, 2.0f);
    EXPECT_FLOAT_EQ(secondeVerticale.v, 2.0f);
}

TEST(EstArcDeCercle, QuarterCircleIsAnArcAboutItsCentre) {
    EXPECT_TRUE(EstQuartDeCercleUnArc(100));
    EXPECT_NEAR(CentreProvisoire.p.h, 0.0f, 1e-4f);
    EXPECT_NEAR(CentreProvisoire.p.v, 0.0f, 1e-4f);
    EXPECT_NEAR(SurRayon, 100.0f, 1e-4f);
}

TEST(EstArcDeCercle, ToleranceIsAbsolute) {
    // The cubic's deviation from its circle grows with the radius: 0.82 points at 3000, 1.09 at 4000.
    EXPECT_TRUE(EstQuartDeCercleUnArc(3000));
    EXPECT_FALSE(EstQuartDeCercleUnArc(4000));
}

TEST(EstArcDeCercle, RetractedHandleIsNoArc) {
    // Small enough for the sampling alone to pass it whichever handle is retracted.
    constexpr AIReal r = 2;
    constexpr AIReal poignee = kPoigneeQuartDeCercle * r;
    EXPECT_FALSE(EstArcDeCercle(nullptr, Debut({r, 0}, {r, 0}), Fin({poignee, r}, {0, r}), false));
    EXPECT_FALSE(EstArcDeCercle(nullptr, Debut({r, 0}, {r, poignee}), Fin({0, r}, {0, r}), false));
}

TEST(EstArcDeCercle, BackwardsTakesTheOtherControlPoints) {
    const AIPathSegment a = {{100, 0}, {100, 55.228f}, {100, 0}, false};
    const AIPathSegment b = {{0, 100}, {0, 100}, {55.228f, 100}, false};
    EXPECT_TRUE(EstArcDeCercle(nullptr, a, b, true));
    EXPECT_FALSE(EstArcDeCercle(nullptr, a, b, false));
}

TEST(EstArcDeCercle, StraightPieceWithHandlesAlongItIsNoArc) {
    // In single precision the centre of such a piece lands at infinity for some (30, 90)
    // and far away but finite for others (90, 0): neither is an arc.
    for (const AIRealPoint bout : {AIRealPoint{30, 90}, AIRealPoint{-90, 120}, AIRealPoint{90, 0}, AIRealPoint{0, 90}}) {
        const AIRealPoint tiers = {bout.h / 3, bout.v / 3};
        const AIRealPoint deuxTiers = {2 * bout.h / 3, 2 * bout.v / 3};
        EXPECT_FALSE(EstArcDeCercle(nullptr, Debut({0, 0}, tiers), Fin(deuxTiers, bout), false))
            << bout.h << ", " << bout.v;
    }
}

}  // namespace
