// The plane arithmetic the sdk defines, and the Real Math and Real Bezier suites' tables over it.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "host/platform/RealMath.h"

namespace {

namespace rm = realmath;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(RealMath, MultipleRoundsTowardsInfinities) {
    EXPECT_EQ(rm::StepMultiple(12.0f, 5.0f, true), 15.0f);
    EXPECT_EQ(rm::StepMultiple(-12.0f, 5.0f, true), -10.0f);
    EXPECT_EQ(rm::StepMultiple(12.0f, 5.0f, false), 10.0f);
    EXPECT_EQ(rm::StepMultiple(-12.0f, 5.0f, false), -15.0f);
    EXPECT_EQ(rm::StepMultiple(15.0f, 5.0f, true), 15.0f);
    // The sign of the step does not turn the rounding round.
    EXPECT_EQ(rm::StepMultiple(-12.0f, -5.0f, true), -10.0f);
    // Without multiples to go to, the value comes back unchanged.
    for (float step : {0.0f, -0.0f, kNaN, kInf, -kInf}) {
        EXPECT_EQ(rm::StepMultiple(12.5f, step, true), 12.5f);
        EXPECT_EQ(rm::StepMultiple(-12.5f, step, false), -12.5f);
    }
}

TEST(RealMath, PointsAnglesAndConversions) {
    EXPECT_EQ(rm::AngleBetween({1, 1}, {1, 3}), std::atan2(2.0f, 0.0f));
    EXPECT_EQ(rm::DistanceBetween({1, 1}, {4, 5}), 5.0f);
    EXPECT_TRUE(rm::PointsClose({0, 0}, {3, 4}, 5.0f));  // the tolerance itself is close
    EXPECT_FALSE(rm::PointsClose({0, 0}, {3, 4}, 4.99f));
    EXPECT_EQ(rm::DegreesToRadians(180.0f), 3.1415927f);
    EXPECT_EQ(rm::RadiansToDegrees(3.1415927f), 180.0f);
    AIRealPoint up = rm::VectorOfLengthAndAngle(2.0f, 3.1415927f / 2.0f);
    EXPECT_NEAR(up.h, 0.0f, 1e-6f);
    EXPECT_EQ(up.v, 2.0f);
    AIRealBezier line{{0, 0}, {1, 1}, {2, 2}, {3, 3}};
    AIRealPoint middle = rm::BezierPoint(line, 0.5f);
    EXPECT_EQ(middle.h, 1.5f);
    EXPECT_EQ(middle.v, 1.5f);
}

// The two suites' tables, as a plug-in acquires them.
class RealMathTables : public ::testing::Test {
protected:
    void SetUp() override {
        host::realmath::registerSuites(registry_);
        const void* table = nullptr;
        ASSERT_EQ(registry_.acquire(kAIRealMathSuite, kAIRealMathSuiteVersion, &table), kNoErr);
        math = static_cast<const AIRealMathSuite*>(table);
        ASSERT_EQ(registry_.acquire(kAIRealBezierSuite, kAIRealBezierSuiteVersion, &table), kNoErr);
        bezier = static_cast<const AIRealBezierSuite*>(table);
    }

    const AIRealMathSuite* math = nullptr;
    const AIRealBezierSuite* bezier = nullptr;

private:
    host::SuiteRegistry registry_;
};

TEST_F(RealMathTables, TolerateNullPointers) {
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

bool sameBits(AIRealPoint a, AIRealPoint b) {
    return sameBits(a.h, b.h) && sameBits(a.v, b.v);
}

// A plug-in computes some of this itself; an entry of the tables wired to the wrong function
// would show up as a point snapped or a step taken differently with and without the host.
TEST_F(RealMathTables, ComputeWhatTheArithmeticComputes) {
    std::mt19937 random(20130501);
    std::uniform_real_distribution<float> coordinate(-2000.0f, 2000.0f);
    std::uniform_real_distribution<float> parameter(0.0f, 1.0f);
    for (int i = 0; i < 1000; ++i) {
        AIRealPoint a{coordinate(random), coordinate(random)};
        AIRealPoint b{coordinate(random), coordinate(random)};
        float step = coordinate(random) / 100.0f;
        float t = parameter(random);
        ASSERT_TRUE(sameBits(math->AIRealPointAngle(&a, &b), rm::AngleBetween(a, b)));
        ASSERT_TRUE(sameBits(math->AIRealPointLength(&a, &b), rm::DistanceBetween(a, b)));
        ASSERT_EQ(math->AIRealPointClose(&a, &b, step * 10.0f) != 0, rm::PointsClose(a, b, step * 10.0f));
        AIRealPoint result{};
        math->AIRealPointLengthAngle(a.h, b.v, &result);
        ASSERT_TRUE(sameBits(result, rm::VectorOfLengthAndAngle(a.h, b.v)));
        math->AIRealPointAdd(&a, &b, &result);
        ASSERT_TRUE(sameBits(result, rm::AddPoints(a, b)));
        ASSERT_TRUE(sameBits(math->AIDegreeToRadian(a.h), rm::DegreesToRadians(a.h)));
        ASSERT_TRUE(sameBits(math->AIRadianToDegree(a.v), rm::RadiansToDegrees(a.v)));
        for (bool ceiling : {true, false})
            ASSERT_TRUE(sameBits(math->AIRealMultiple(b.h, step, ceiling), rm::StepMultiple(b.h, step, ceiling)));
        AIRealBezier curve{a, b, {b.v, a.h}, {a.v, b.h}};
        bezier->AIRealBezierEvaluate(&curve, t, &result);
        ASSERT_TRUE(sameBits(result, rm::BezierPoint(curve, t)));
    }
}

}  // namespace
