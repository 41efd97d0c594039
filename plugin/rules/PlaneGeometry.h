// Plane arithmetic for the tool's pure functions: the Real Math suites' own, from the sdk, so that
// they give the same bits with or without the host, and what the tool adds to it.
#pragma once

#include <cmath>

#include "AIRealMath.h"

namespace geometry {
/// Pi and two pi in single precision, as the host's Real Math takes them.
constexpr AIReal kPi = realmath::kPi;
constexpr AIReal kTwoPi = 6.2831855f;
}  // namespace geometry

using realmath::AddPoints;
using realmath::AngleBetween;
using realmath::BezierPoint;
using realmath::DegreesToRadians;
using realmath::DistanceBetween;
using realmath::RadiansToDegrees;
using realmath::StepMultiple;
using realmath::VectorOfLengthAndAngle;

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
