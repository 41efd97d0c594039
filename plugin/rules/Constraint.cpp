#include "Constraint.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "PlaneGeometry.h"
#include "Units.h"

namespace {

/// How far above a multiple, relative to the value, single-precision rounding may put a
/// value that is exactly on it.
constexpr AIReal kRelativeRoundingNoise = 8 * std::numeric_limits<AIReal>::epsilon();
/// The same in absolute terms (points, radians): a long length farther than this above a
/// multiple is really above it and goes up a step.
constexpr AIReal kLargestRoundingNoise = 1e-3f;

/// The multiple of step at or above value. A value on a multiple but for rounding (a turn
/// of exactly 90°, a length of exactly two steps) stays there rather than going up a step.
AIReal MultipleAtOrAbove(AIReal value, AIReal step) {
    const AIReal below = StepMultiple(value, step, false);
    if (value - below <= std::min(kRelativeRoundingNoise * std::fabs(value), kLargestRoundingNoise)) return below;
    return StepMultiple(value, step, true);
}

}  // namespace

ConstrainedSegment ConstrainSegment(AIRealPoint lastPoint, AIRealPoint cursor, AIReal previousDirection, bool option,
                                    bool shift, bool swapShiftAlt, double lengthStep, double angleStep) {
    ConstrainedSegment segment{};
    const AIReal distance = DistanceBetween(lastPoint, cursor);
    segment.length = distance;
    if (option == swapShiftAlt) {
        // The step is a length on the page, whatever the drawing scale.
        const auto step = static_cast<AIReal>(lengthStep / units::kMillimetresPerPoint);
        segment.length = MultipleAtOrAbove(distance, step);
    }

    // The angle step applies to the turn from the previous segment, not to the direction; a
    // turn is stepped the same whichever side of a half turn the two directions lie.
    AIReal turn = WithinOneTurn(previousDirection - AngleBetween(lastPoint, cursor));
    if (shift == swapShiftAlt) {
        turn = MultipleAtOrAbove(turn, DegreesToRadians(static_cast<AIReal>(angleStep)));
    }
    segment.direction = previousDirection - turn;

    segment.shownAngle = std::fabs(geometry::kPi - turn);
    if (segment.shownAngle > geometry::kPi) {
        segment.shownAngle = std::fabs(geometry::kTwoPi - segment.shownAngle);
    }

    segment.segmentEnd = SegmentEnd(lastPoint, segment.length, segment.direction);
    return segment;
}

AIRealPoint SegmentEnd(AIRealPoint lastPoint, double length, AIReal angle) {
    return AddPoints(lastPoint, VectorOfLengthAndAngle(static_cast<AIReal>(length), angle));
}
