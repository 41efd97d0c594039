#pragma once

#include <cmath>

#include "AITypes.h"

constexpr const char* kAIRealMathSuite = "AI Real Math Suite";
constexpr ASInt32 kAIRealMathSuiteVersion = 1001;

struct AIRealMathSuite {
    /// The direction from a to b, atan2(b.v - a.v, b.h - a.h), in radians.
    AIReal (*AIRealPointAngle)(const AIRealPoint* a, const AIRealPoint* b);
    /// The distance from a to b.
    AIReal (*AIRealPointLength)(const AIRealPoint* a, const AIRealPoint* b);
    /// True when a and b lie within tolerance of each other.
    AIBoolean (*AIRealPointClose)(const AIRealPoint* a, const AIRealPoint* b, AIReal tolerance);
    /// The vector of the length and the direction.
    void (*AIRealPointLengthAngle)(AIReal length, AIReal angle, AIRealPoint* result);
    void (*AIRealPointAdd)(const AIRealPoint* a, const AIRealPoint* b, AIRealPoint* result);
    AIReal (*AIRadianToDegree)(AIReal radians);
    AIReal (*AIDegreeToRadian)(AIReal degrees);
    /// A multiple of step next to value: at or above it when ceiling is true, at or below it
    /// otherwise. A step of 0 gives the value back.
    AIReal (*AIRealMultiple)(AIReal value, AIReal step, AIBoolean ceiling);
};

constexpr const char* kAIRealBezierSuite = "AI Real Bezier Suite";
constexpr ASInt32 kAIRealBezierSuiteVersion = 1002;

struct AIRealBezierSuite {
    void (*AIRealBezierSet)(AIRealBezier* b, const AIRealPoint* p0, const AIRealPoint* p1, const AIRealPoint* p2,
                            const AIRealPoint* p3);
    /// The point at parameter t, 0 to 1.
    void (*AIRealBezierEvaluate)(const AIRealBezier* b, AIReal t, AIRealPoint* point);
};

// The arithmetic of the two suites, written once. The host's tables compute with these, and a
// plug-in's pure functions, which must run without the host, call them directly: a snap or a step
// then comes out to the same bit whichever way it was computed.
namespace realmath {

/// The single-precision pi that angles are converted with.
constexpr AIReal kPi = 3.1415927f;

/// The direction from a to b, in radians.
inline AIReal AngleBetween(AIRealPoint a, AIRealPoint b) {
    return std::atan2(b.v - a.v, b.h - a.h);
}

/// The distance from a to b.
inline AIReal DistanceBetween(AIRealPoint a, AIRealPoint b) {
    const AIReal dh = b.h - a.h;
    const AIReal dv = b.v - a.v;
    return std::sqrt(dh * dh + dv * dv);
}

/// True when a and b lie within tolerance of each other, the tolerance itself included.
inline bool PointsClose(AIRealPoint a, AIRealPoint b, AIReal tolerance) {
    return DistanceBetween(a, b) <= tolerance;
}

/// The vector of the length and the direction.
inline AIRealPoint VectorOfLengthAndAngle(AIReal length, AIReal angle) {
    return {length * std::cos(angle), length * std::sin(angle)};
}

inline AIRealPoint AddPoints(AIRealPoint a, AIRealPoint b) {
    return {a.h + b.h, a.v + b.v};
}

inline AIReal DegreesToRadians(AIReal degrees) {
    return degrees * (kPi / 180.0f);
}

inline AIReal RadiansToDegrees(AIReal radians) {
    return radians * (180.0f / kPi);
}

/// The multiple of step next to value: at or above it (towards +infinity) when ceiling is true, at
/// or below it otherwise. A zero or non-finite step has no multiples to go to and gives value back.
inline AIReal StepMultiple(AIReal value, AIReal step, bool ceiling) {
    if (step == 0.0f || !std::isfinite(step)) return value;
    // A negative step has the multiples of its magnitude; its sign must not flip the rounding.
    const AIReal magnitude = std::fabs(step);
    const AIReal quotient = value / magnitude;
    return (ceiling ? std::ceil(quotient) : std::floor(quotient)) * magnitude;
}

/// The point of the Bezier at parameter t, 0 to 1, in Bernstein form.
inline AIRealPoint BezierPoint(const AIRealBezier& b, AIReal t) {
    const AIReal u = 1.0f - t;
    const AIReal k0 = u * u * u;
    const AIReal k1 = 3.0f * u * u * t;
    const AIReal k2 = 3.0f * u * t * t;
    const AIReal k3 = t * t * t;
    return {k0 * b.p0.h + k1 * b.p1.h + k2 * b.p2.h + k3 * b.p3.h,
            k0 * b.p0.v + k1 * b.p1.v + k2 * b.p2.v + k3 * b.p3.v};
}

}  // namespace realmath
