// Plane geometry that tells a circular arc from another curved piece of a path.
#pragma once

#include "AITypes.h"

/// The crossing point of the line through p1 and p2 with the line through p3 and p4;
/// not finite when the lines are parallel.
AIRealPoint LineIntersection(AIRealPoint p1, AIRealPoint p2, AIRealPoint p3, AIRealPoint p4);

struct Circle {
    AIRealPoint centre;
    AIReal radius;
};

/// The circle through a.p and b.p that is tangent to the piece at a.p.
Circle TangentCircle(const AIPathSegment& a, const AIPathSegment& b);

struct ArcRecognition {
    bool isArc = false;
    Circle circle = {{0, 0}, 0};  // the circle tried, when the test got that far
};

/// Whether the piece from a.p to b.p stays within one point of its tangent circle. The
/// piece's control points are a.out and b.in, or a.in and b.out when backwards.
ArcRecognition RecogniseArc(const AIPathSegment& a, const AIPathSegment& b, bool backwards);
