#include "host/platform/RealMath.h"

#include <cmath>

namespace host::realmath {

AIReal pointAngle(AIRealPoint a, AIRealPoint b) {
    return std::atan2(b.v - a.v, b.h - a.h);
}

AIReal pointLength(AIRealPoint a, AIRealPoint b) {
    const AIReal dh = b.h - a.h;
    const AIReal dv = b.v - a.v;
    return std::sqrt(dh * dh + dv * dv);
}

bool pointsClose(AIRealPoint a, AIRealPoint b, AIReal tolerance) {
    return pointLength(a, b) <= tolerance;
}

AIRealPoint lengthAngle(AIReal length, AIReal angle) {
    return {length * std::cos(angle), length * std::sin(angle)};
}

AIRealPoint add(AIRealPoint a, AIRealPoint b) {
    return {a.h + b.h, a.v + b.v};
}

AIReal radianToDegree(AIReal radians) {
    return radians * (180.0f / kPi);
}

AIReal degreeToRadian(AIReal degrees) {
    return degrees * (kPi / 180.0f);
}

AIReal multiple(AIReal value, AIReal step, bool ceiling) {
    if (step == 0.0f || !std::isfinite(step)) return value;
    // A negative step has the multiples of its magnitude; its sign must not flip the rounding.
    const AIReal magnitude = std::fabs(step);
    const AIReal quotient = value / magnitude;
    return (ceiling ? std::ceil(quotient) : std::floor(quotient)) * magnitude;
}

AIRealPoint bezierPoint(const AIRealBezier& b, AIReal t) {
    const AIReal u = 1.0f - t;
    const AIReal k0 = u * u * u;
    const AIReal k1 = 3.0f * u * u * t;
    const AIReal k2 = 3.0f * u * t * t;
    const AIReal k3 = t * t * t;
    return {k0 * b.p0.h + k1 * b.p1.h + k2 * b.p2.h + k3 * b.p3.h,
            k0 * b.p0.v + k1 * b.p1.v + k2 * b.p2.v + k3 * b.p3.v};
}

namespace {

constexpr AIRealPoint kOrigin{0.0f, 0.0f};

// The C tables: a null pointer reads as the origin and a null result is not written.
AIRealPoint pointOr(const AIRealPoint* point) {
    return point ? *point : kOrigin;
}

AIReal pointAngleProc(const AIRealPoint* a, const AIRealPoint* b) {
    return pointAngle(pointOr(a), pointOr(b));
}
AIReal pointLengthProc(const AIRealPoint* a, const AIRealPoint* b) {
    return pointLength(pointOr(a), pointOr(b));
}
AIBoolean pointCloseProc(const AIRealPoint* a, const AIRealPoint* b, AIReal tolerance) {
    return a && b && pointsClose(*a, *b, tolerance);
}
void lengthAngleProc(AIReal length, AIReal angle, AIRealPoint* result) {
    if (result) *result = lengthAngle(length, angle);
}
void addProc(const AIRealPoint* a, const AIRealPoint* b, AIRealPoint* result) {
    if (result) *result = add(pointOr(a), pointOr(b));
}
AIReal multipleProc(AIReal value, AIReal step, AIBoolean ceiling) {
    return multiple(value, step, ceiling != 0);
}

void bezierSetProc(AIRealBezier* b, const AIRealPoint* p0, const AIRealPoint* p1, const AIRealPoint* p2,
                   const AIRealPoint* p3) {
    if (b) *b = {pointOr(p0), pointOr(p1), pointOr(p2), pointOr(p3)};
}
void bezierEvaluateProc(const AIRealBezier* b, AIReal t, AIRealPoint* point) {
    if (b && point) *point = bezierPoint(*b, t);
}

}  // namespace

void registerSuites(SuiteRegistry& registry) {
    static const AIRealMathSuite math = {&pointAngleProc, &pointLengthProc, &pointCloseProc, &lengthAngleProc,
                                         &addProc,        &radianToDegree,  &degreeToRadian, &multipleProc};
    static const AIRealBezierSuite bezier = {&bezierSetProc, &bezierEvaluateProc};
    registry.add(kAIRealMathSuite, kAIRealMathSuiteVersion, &math);
    registry.add(kAIRealBezierSuite, kAIRealBezierSuiteVersion, &bezier);
}

}  // namespace host::realmath
