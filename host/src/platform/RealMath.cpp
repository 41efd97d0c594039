#include "host/platform/RealMath.h"

namespace host::realmath {

namespace {

namespace arithmetic = ::realmath;

constexpr AIRealPoint kOrigin{0.0f, 0.0f};

// The C tables: a null pointer reads as the origin and a null result is not written.
AIRealPoint pointOr(const AIRealPoint* point) {
    return point ? *point : kOrigin;
}

AIReal pointAngleProc(const AIRealPoint* a, const AIRealPoint* b) {
    return arithmetic::AngleBetween(pointOr(a), pointOr(b));
}
AIReal pointLengthProc(const AIRealPoint* a, const AIRealPoint* b) {
    return arithmetic::DistanceBetween(pointOr(a), pointOr(b));
}
AIBoolean pointCloseProc(const AIRealPoint* a, const AIRealPoint* b, AIReal tolerance) {
    return a && b && arithmetic::PointsClose(*a, *b, tolerance);
}
void lengthAngleProc(AIReal length, AIReal angle, AIRealPoint* result) {
    if (result) *result = arithmetic::VectorOfLengthAndAngle(length, angle);
}
void addProc(const AIRealPoint* a, const AIRealPoint* b, AIRealPoint* result) {
    if (result) *result = arithmetic::AddPoints(pointOr(a), pointOr(b));
}
AIReal multipleProc(AIReal value, AIReal step, AIBoolean ceiling) {
    return arithmetic::StepMultiple(value, step, ceiling != 0);
}

void bezierSetProc(AIRealBezier* b, const AIRealPoint* p0, const AIRealPoint* p1, const AIRealPoint* p2,
                   const AIRealPoint* p3) {
    if (b) *b = {pointOr(p0), pointOr(p1), pointOr(p2), pointOr(p3)};
}
void bezierEvaluateProc(const AIRealBezier* b, AIReal t, AIRealPoint* point) {
    if (b && point) *point = arithmetic::BezierPoint(*b, t);
}

}  // namespace

void registerSuites(SuiteRegistry& registry) {
    static const AIRealMathSuite math = {&pointAngleProc,
                                         &pointLengthProc,
                                         &pointCloseProc,
                                         &lengthAngleProc,
                                         &addProc,
                                         &arithmetic::RadiansToDegrees,
                                         &arithmetic::DegreesToRadians,
                                         &multipleProc};
    static const AIRealBezierSuite bezier = {&bezierSetProc, &bezierEvaluateProc};
    registry.add(kAIRealMathSuite, kAIRealMathSuiteVersion, &math);
    registry.add(kAIRealBezierSuite, kAIRealBezierSuiteVersion, &bezier);
}

}  // namespace host::realmath
