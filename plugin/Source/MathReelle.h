// Plane arithmetic in single precision that computes exactly what the host's Real Math
// and Real Bezier suites compute, so that pure geometry gives the same bits with or
// without the host.
#pragma once

#include <cmath>

#include "AITypes.h"
#include "EtatOutil.h"

/// The direction from a to b, in radians.
inline AIReal AngleEntrePoints(AIRealPoint a, AIRealPoint b) {
    return std::atan2(b.v - a.v, b.h - a.h);
}

/// The distance from a to b.
inline AIReal DistanceEntrePoints(AIRealPoint a, AIRealPoint b) {
    const AIReal dh = b.h - a.h;
    const AIReal dv = b.v - a.v;
    return std::sqrt(dh * dh + dv * dv);
}

/// The vector of the length and the direction.
inline AIRealPoint VecteurLongueurAngle(AIReal longueur, AIReal angle) {
    return {longueur * std::cos(angle), longueur * std::sin(angle)};
}

inline AIRealPoint SommePoints(AIRealPoint a, AIRealPoint b) {
    return {a.h + b.h, a.v + b.v};
}

/// The point of the Bezier at parameter t, 0 to 1.
inline AIRealPoint PointDeBezier(const AIRealBezier& b, AIReal t) {
    const AIReal u = 1.0f - t;
    const AIReal k0 = u * u * u;
    const AIReal k1 = 3.0f * u * u * t;
    const AIReal k2 = 3.0f * u * t * t;
    const AIReal k3 = t * t * t;
    return {k0 * b.p0.h + k1 * b.p1.h + k2 * b.p2.h + k3 * b.p3.h,
            k0 * b.p0.v + k1 * b.p1.v + k2 * b.p2.v + k3 * b.p3.v};
}

inline AIReal DegreEnRadian(AIReal degres) {
    return degres * (etat::kPi / 180.0f);
}

inline AIReal RadianEnDegre(AIReal radians) {
    return radians * (180.0f / etat::kPi);
}

/// The angle brought within one turn, into (-pi, pi]: a direction or a turn that reads the
/// same whatever way it was reached.
inline AIReal DansUnTour(AIReal angle) {
    if (angle > -etat::kPi && angle <= etat::kPi) return angle;
    // Whole turns of 2 kPi, taken off exactly (remainder is exact in double precision), so
    // that -kPi, the direction atan2 gives straight back along -h, becomes kPi.
    const double tour = 2.0 * etat::kPi;
    double reste = std::remainder(static_cast<double>(angle), tour);
    if (reste <= -static_cast<double>(etat::kPi)) reste += tour;
    return static_cast<AIReal>(reste);
}

/// The multiple of step next to value: at or above it when ceiling is true, at or below
/// it otherwise. A zero or non-finite step has no multiples to go to and gives value back.
inline AIReal MultipleReel(AIReal value, AIReal step, bool ceiling) {
    if (step == 0.0f || !std::isfinite(step)) {
        return value;
    }
    // The multiples of a negative step are those of its magnitude; the direction of
    // rounding must not flip with its sign.
    const AIReal pas = std::fabs(step);
    const AIReal quotient = value / pas;
    return (ceiling ? std::ceil(quotient) : std::floor(quotient)) * pas;
}
