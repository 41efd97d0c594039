// Plane arithmetic in single precision: the Real Math and Real Bezier suites.
//
// Plug-ins redo some of this arithmetic in their own pure functions; the
// formulas here are theirs, operation for operation, so that both give the
// same bits.
#pragma once

#include "AIRealMath.h"
#include "host/platform/SuiteRegistry.h"

namespace host::realmath {

/// The float π that angles are converted with.
constexpr AIReal kPi = 3.1415927f;

/// The direction from a to b, atan2(b.v - a.v, b.h - a.h), in radians.
AIReal pointAngle(AIRealPoint a, AIRealPoint b);
/// The distance from a to b.
AIReal pointLength(AIRealPoint a, AIRealPoint b);
/// True when a and b lie within tolerance of each other.
bool pointsClose(AIRealPoint a, AIRealPoint b, AIReal tolerance);
/// The vector of the length and the direction.
AIRealPoint lengthAngle(AIReal length, AIReal angle);
AIRealPoint add(AIRealPoint a, AIRealPoint b);
AIReal radianToDegree(AIReal radians);
AIReal degreeToRadian(AIReal degrees);
/// The multiple of step next to value: at or above it (towards +∞) when ceiling is set, at or below
/// it otherwise. A step of 0 or a non-finite one gives value back.
AIReal multiple(AIReal value, AIReal step, bool ceiling);
/// The point of the Bezier at parameter t, 0 to 1, in Bernstein form.
AIRealPoint bezierPoint(const AIRealBezier& bezier, AIReal t);

/// Registers the Real Math and Real Bezier suites; they hold no state.
void registerSuites(SuiteRegistry& registry);

}  // namespace host::realmath
