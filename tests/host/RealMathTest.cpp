// The Real Math and Real Bezier suites, and their agreement with the plug-in's
// own arithmetic, bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "../../plugin/Source/PlaneGeometry.h"
#include "host/platform/RealMath.h"

namespace {

namespace rm = host::realmath;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(RealMath, MultipleRoundsTowardsInfinities) {
    EXPECT_EQ(rm::multiple(12.0f, 5.0f, true), 15.0f);
    EXPECT_EQ(rm::multiple(-12.0f, 5.0f, true), -10.0f);
    EXPECT_EQ(rm::multiple(12.0f, 5.0f, false), 10.0f);
    EXPECT_EQ(rm::multiple(-12.0f, 5.0f, false), -15.0f);
    EXPECT_EQ(rm::multiple(15.0f, 5.0f, true), 15.0f);
    // The sign of the step does not turn the rounding round.
    EXPECT_EQ(rm::multiple(-12.0f, -5.0f, true), -10.0f);
    // Without multiples to go to, the value comes back unchanged.
    for (float step : {0.0f, -0.0f, kNaN, kInf, -kInf}) {
        EXPECT_EQ(rm::multiple(12.5f, step, true), 12.5f);
        EXPECT_EQ(rm::multiple(-12.5f, step, false), -12.5f);
    }
}

TEST(RealMath, PointsAnglesAndConversions) {
    EXPECT_EQ(rm::pointAngle({1, 1}, {1, 3}), std::atan2(2.0f, 0.0f));
    EXPECT_EQ(rm::pointLength({1, 1}, {4, 5}), 5.0f);
    EXPECT_TRUE(rm::pointsClose({0, 0}, {3, 4}, 5.0f));  // the tolerance itself is close
    EXPECT_FALSE(rm::pointsClose({0, 0}, {3, 4}, 4.99f));
    EXPECT_EQ(rm::degreeToRadian(180.0f), 3.1415927f);
    EXPECT_EQ(rm::radianToDegree(3.1415927f), 180.0f);
    AIRealPoint up = rm::lengthAngle(2.0f, 3.1415927f / 2.0f);
    EXPECT_NEAR(up.h, 0.0f, 1e-6f);
    EXPECT_EQ(up.v, 2.0f);
    AIRealBezier line{{0, 0}, {1, 1}, {2, 2}, {3, 3}};
    AIRealPoint middle = rm::bezierPoint(line, 0.5f);
    EXPECT_EQ(middle.h, 1.5f);
    EXPECT_EQ(middle.v, 1.5f);
}

TEST(RealMath, SuiteTablesTolerateNullPointers) {
    host::SuiteRegistry registry;
    rm::registerSuites(registry);
    const void* table = nullptr;
    ASSERT_EQ(registry.acquire(kAIRealMathSuite, kAIRealMathSuiteVersion, &table), kNoErr);
    const auto* math = static_cast<const AIRealMathSuite*>(table);
    ASSERT_EQ(registry.acquire(kAIRealBezierSuite, kAIRealBezierSuiteVersion, &table), kNoErr);
    const auto* bezier = static_cast<const AIRealBezierSuite*>(table);

    AIRealPoint a{1, 2}, b{4, 6};
    EXPECT_EQ(math->AIRealPointLength(&a, &b), 5.0f);
    EXPECT_EQ(math->AIRealMultiple(-12.0f, 5.0f, true), -10.0f);
    EXPECT_FALSE(math->AIRealPointClose(&a, nullptr, 100.0f));
    math->AIRealPointAdd(&a, &b, nullptr);
    math->AIRealPointLengthAngle(1.0f, 0.0f, nullptr);
    AIRealBezier curve{};
    bezier->AIRealBezierSet(&curve, &a, &a, &b, &b);
    AIRealPoint end{};
    bezier->AIRealBezierEvaluate(&curve, 1.0f, &end);
    EXPECT_EQ(end.h, 4.0f);
    bezier->AIRealBezierEvaluate(nullptr, 0.5f, &end);
    bezier->AIRealBezierEvaluate(&curve, 0.5f, nullptr);
}

bool sameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// The plug-in computes some of these itself; a single differing bit would show up as
// a point snapped or a step taken differently with and without the host.
TEST(RealMath, AgreesWithThePluginBitForBit) {
    std::mt19937 random(20130501);
    std::uniform_real_distribution<float> coordinate(-2000.0f, 2000.0f);
    std::uniform_real_distribution<float> parameter(0.0f, 1.0f);
    for (int i = 0; i < 20000; ++i) {
        AIRealPoint a{coordinate(random), coordinate(random)};
        AIRealPoint b{coordinate(random), coordinate(random)};
        float step = coordinate(random) / 100.0f;
        float t = parameter(random);
        ASSERT_TRUE(sameBits(rm::pointAngle(a, b), AngleBetween(a, b)));
        ASSERT_TRUE(sameBits(rm::pointLength(a, b), DistanceBetween(a, b)));
        AIRealPoint host = rm::lengthAngle(a.h, b.v);
        AIRealPoint plugin = VectorOfLengthAndAngle(a.h, b.v);
        ASSERT_TRUE(sameBits(host.h, plugin.h) && sameBits(host.v, plugin.v));
        host = rm::add(a, b);
        plugin = AddPoints(a, b);
        ASSERT_TRUE(sameBits(host.h, plugin.h) && sameBits(host.v, plugin.v));
        ASSERT_TRUE(sameBits(rm::degreeToRadian(a.h), DegreesToRadians(a.h)));
        ASSERT_TRUE(sameBits(rm::radianToDegree(a.v), RadiansToDegrees(a.v)));
        for (bool ceiling : {true, false})
            ASSERT_TRUE(sameBits(rm::multiple(b.h, step, ceiling), StepMultiple(b.h, step, ceiling)));
        AIRealBezier curve{a, b, {b.v, a.h}, {a.v, b.h}};
        host = rm::bezierPoint(curve, t);
        plugin = BezierPoint(curve, t);
        ASSERT_TRUE(sameBits(host.h, plugin.h) && sameBits(host.v, plugin.v));
    }
}

}  // namespace
