// The segment under construction, from the last placed point to the cursor, brought to
// the length and angle steps.
#pragma once

#include "AITypes.h"

struct ConstrainedSegment {
    double length;           // document points
    AIReal direction;        // radians
    AIReal shownAngle;       // shown angle, 0 to pi: pi straight on, 0 doubling back
    AIRealPoint segmentEnd;  // end of the segment
};

/// The segment from lastPoint towards cursor. Its length goes up to a multiple of
/// lengthStep (millimetres on the page) when option equals swapShiftAlt; its turn from
/// previousDirection, the direction of the last placed segment of previousLength (0 for
/// none), goes up to a multiple of angleStep (degrees) when shift equals swapShiftAlt. A
/// value on a multiple within the precision of the points and directions it comes from,
/// or a step of 0, leaves the value as it is.
ConstrainedSegment ConstrainSegment(AIRealPoint lastPoint, AIRealPoint cursor, AIReal previousDirection,
                                    double previousLength, bool option, bool shift, bool swapShiftAlt,
                                    double lengthStep, double angleStep);

/// lastPoint + the vector of length (single precision) and direction.
AIRealPoint SegmentEnd(AIRealPoint lastPoint, double length, AIReal angle);

/// True when end, the end of a segment of length, lies on point but for the rounding its coordinates
/// and direction went through, over the few segments of a polygon.
bool EndsOn(AIRealPoint end, AIRealPoint point, double length);
