#include "ArcRecognition.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

/// Handle length of the usual cubic quarter circle, as a fraction of its radius.
constexpr AIReal kQuarterCircleHandle = 0.55228f;

// The piece records as hover detection builds them from a Bezier (p0, p1, p2, p3).
AIPathSegment PieceStart(AIRealPoint p0, AIRealPoint p1) {
    return {p0, p0, p1, false};
}
AIPathSegment PieceEnd(AIRealPoint p2, AIRealPoint p3) {
    return {p3, p2, p3, false};
}

/// The quarter circle about the origin from (r, 0) to (0, r).
ArcRecognition QuarterCircle(AIReal r) {
    const AIReal handle = kQuarterCircleHandle * r;
    return RecogniseArc(PieceStart({r, 0}, {r, handle}), PieceEnd({handle, r}, {0, r}), false);
}

TEST(LineIntersection, CrossingLines) {
    const AIRealPoint x = LineIntersection({0, 0}, {1, 1}, {0, 1}, {1, 0});
    EXPECT_FLOAT_EQ(x.h, 0.5f);
    EXPECT_FLOAT_EQ(x.v, 0.5f);

    const AIRealPoint firstVertical = LineIntersection({2, 0}, {2, 5}, {0, 0}, {4, 4});
    EXPECT_FLOAT_EQ(firstVertical.h, 2.0f);
    EXPECT_FLOAT_EQ(firstVertical.v, 2.0f);

    const AIRealPoint secondVertical = LineIntersection({0, 0}, {4, 4}, {2, 0}, {2, 5});
    EXPECT_FLOAT_EQ(secondVertical.h, 2.0f);
    EXPECT_FLOAT_EQ(secondVertical.v, 2.0f);
}

TEST(ArcRecognitionTest, QuarterCircleIsAnArcAboutItsCentre) {
    const ArcRecognition result = QuarterCircle(100);
    EXPECT_TRUE(result.isArc);
    EXPECT_NEAR(result.circle.centre.h, 0.0f, 1e-4f);
    EXPECT_NEAR(result.circle.centre.v, 0.0f, 1e-4f);
    EXPECT_NEAR(result.circle.radius, 100.0f, 1e-4f);
}

TEST(ArcRecognitionTest, ToleranceIsAbsolute) {
    // The cubic's deviation from its circle grows with the radius: 0.82 points at 3000, 1.09 at 4000.
    EXPECT_TRUE(QuarterCircle(3000).isArc);
    EXPECT_FALSE(QuarterCircle(4000).isArc);
}

TEST(ArcRecognitionTest, RetractedHandleIsNoArc) {
    // Small enough for the sampling alone to pass it whichever handle is retracted.
    constexpr AIReal r = 2;
    constexpr AIReal handle = kQuarterCircleHandle * r;
    EXPECT_FALSE(RecogniseArc(PieceStart({r, 0}, {r, 0}), PieceEnd({handle, r}, {0, r}), false).isArc);
    EXPECT_FALSE(RecogniseArc(PieceStart({r, 0}, {r, handle}), PieceEnd({0, r}, {0, r}), false).isArc);
}

TEST(ArcRecognitionTest, BackwardsTakesTheOtherControlPoints) {
    const AIPathSegment a = {{100, 0}, {100, 55.228f}, {100, 0}, false};
    const AIPathSegment b = {{0, 100}, {0, 100}, {55.228f, 100}, false};
    EXPECT_TRUE(RecogniseArc(a, b, true).isArc);
    EXPECT_FALSE(RecogniseArc(a, b, false).isArc);
}

TEST(ArcRecognitionTest, StraightPieceWithHandlesAlongItIsNoArc) {
    // In single precision the centre of such a piece lands at infinity for some (30, 90)
    // and far away but finite for others (90, 0): neither is an arc.
    for (const AIRealPoint end : {AIRealPoint{30, 90}, AIRealPoint{-90, 120}, AIRealPoint{90, 0}, AIRealPoint{0, 90}}) {
        const AIRealPoint third = {end.h / 3, end.v / 3};
        const AIRealPoint twoThirds = {2 * end.h / 3, 2 * end.v / 3};
        EXPECT_FALSE(RecogniseArc(PieceStart({0, 0}, third), PieceEnd(twoThirds, end), false).isArc)
            << end.h << ", " << end.v;
    }
}

}  // namespace
