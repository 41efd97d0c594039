// Plane geometry that tells a circular arc from another curved piece of a path.
#pragma once

#include "AITypes.h"

/// The crossing point of the line through p1 and p2 with the line through p3 and p4;
/// not finite when the lines are parallel.
AIRealPoint PointIntersection(AIRealPoint p1, AIRealPoint p2, AIRealPoint p3, AIRealPoint p4);

/// The circle through A.p and B.p that is tangent to the piece at A.p: its centre goes
/// into centre.p, its radius into rayon.
void TrouveCentreRayonArc(const AIPathSegment& A, const AIPathSegment& B, AIPathSegment& centre, AIReal& rayon);

/// True when the piece from A.p to B.p stays within one point of that circle, which is
/// left in CentreProvisoire and SurRayon. The piece's control points are A.out and B.in,
/// or A.in and B.out when backwards.
bool EstArcDeCercle(AIArtHandle path, const AIPathSegment& A, const AIPathSegment& B, bool backwards);
