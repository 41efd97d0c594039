#pragma once

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
