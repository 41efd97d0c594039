// Plane arithmetic in single precision that computes exactly what the host's Real Math
// and Real Bezier suites compute, so that pure geometry gives the same bits with or
// without the host.
#pragma once

#include <cmath>

#include "AITypes.h"

namespace geometry {
/// Pi and two pi in single precision, as the host's Real Math takes them.
constexpr AIReal kPi = 3.1415927f;
constexpr AIReal kTwoPi = 6.2831855f;
}  // namespace geometry

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

/// The vector of the length and the direction.
inline AIRealPoint VectorOfLengthAndAngle(AIReal length, AIReal angle) {
    return {length * std::cos(angle), length * std::sin(angle)};
}

/// The sum of two vectors.
inline AIRealPoint AddPoints(AIRealPoint a, AIRealPoint b) {
    return {a.h + b.h, a.v + b.v};
}

/// The point of the Bezier at parameter t, 0 to 1.
inline AIRealPoint BezierPoint(const AIRealBezier& b, AIReal t) {
    const AIReal u = 1.0f - t;
    const AIReal k0 = u * u * u;
    const AIReal k1 = 3.0f * u * u * t;
    const AIReal k2 = 3.0f * u * t * t;
    const AIReal k3 = t * t * t;
    return {k0 * b.p0.h + k1 * b.p1.h + k2 * b.p2.h + k3 * b.p3.h,
            k0 * b.p0.v + k1 * b.p1.v + k2 * b.p2.v + k3 * b.p3.v};
}

inline AIReal DegreesToRadians(AIReal degrees) {
    return degrees * (geometry::kPi / 180.0f);
}

inline AIReal RadiansToDegrees(AIReal radians) {
    return radians * (180.0f / geometry::kPi);
}

/// The angle brought within one turn, into (-pi, pi]: a direction or a turn that reads the
/// same whatever way it was reached.
inline AIReal WithinOneTurn(AIReal angle) {
    if (angle > -geometry::kPi && angle <= geometry::kPi) return angle;
    // Whole turns of 2 kPi, taken off exactly (remainder is exact in double precision), so
    // that -kPi, the direction atan2 gives straight back along -h, becomes kPi.
    const double turn = 2.0 * geometry::kPi;
    double rest = std::remainder(static_cast<double>(angle), turn);
    if (rest <= -static_cast<double>(geometry::kPi)) rest += turn;
    return static_cast<AIReal>(rest);
}

/// The multiple of step next to value: at or above it when ceiling is true, at or below
/// it otherwise. A zero or non-finite step has no multiples to go to and gives value back.
inline AIReal StepMultiple(AIReal value, AIReal step, bool ceiling) {
    if (step == 0.0f || !std::isfinite(step)) {
        return value;
    }
    // The multiples of a negative step are those of its magnitude; the direction of
    // rounding must not flip with its sign.
    const AIReal magnitude = std::fabs(step);
    const AIReal quotient = value / magnitude;
    return (ceiling ? std::ceil(quotient) : std::floor(quotient)) * magnitude;
}
