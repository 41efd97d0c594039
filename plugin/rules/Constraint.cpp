#include "Constraint.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "PlaneGeometry.h"
#include "Units.h"

namespace {

/// How many spacings of the numbers a value is computed from it may stray from where it belongs: the
/// rounding of the inputs, of their differences and of the functions taken of them.
constexpr double kRoundingSpacings = 4;

/// How many spacings a typed polygon's last end may lie from its first anchor: each segment adds the
/// rounding of its end and of its direction over its length.
constexpr double kPolygonRoundingSpacings = 32;

/// The spacing of single-precision numbers around magnitude: how finely a coordinate or an angle of that
/// size is held.
double FloatSpacing(double magnitude) {
    const auto value = static_cast<AIReal>(std::fabs(magnitude));
    return static_cast<double>(std::nextafter(value, std::numeric_limits<AIReal>::infinity()) - value);
}

/// The multiple of step at or above value. A value that lies on a multiple but for the rounding noise of
/// what it was computed from (a turn of exactly 90 degrees, straight on, a length of exactly two steps)
/// stays there rather than going up a whole step.
AIReal MultipleAtOrAbove(AIReal value, AIReal step, double noise) {
    const AIReal below = StepMultiple(value, step, false);
    if (static_cast<double>(value - below) <= noise) return below;
    return StepMultiple(value, step, true);
}

}  // namespace

ConstrainedSegment ConstrainSegment(AIRealPoint lastPoint, AIRealPoint cursor, AIReal previousDirection,
                                    double previousLength, bool option, bool shift, bool swapShiftAlt,
                                    double lengthStep, double angleStep) {
    ConstrainedSegment segment{};
    const AIReal distance = DistanceBetween(lastPoint, cursor);
    // The points are held in single precision at the size of their coordinates; a length between them is
    // no finer, and a direction between them no finer than that over their distance.
    const double magnitude =
        std::max({std::fabs(lastPoint.h), std::fabs(lastPoint.v), std::fabs(cursor.h), std::fabs(cursor.v)});
    const double positionNoise = kRoundingSpacings * FloatSpacing(magnitude);
    // Directions are worked out in single precision from angles of up to two turns; the last segment's
    // anchors hold its direction only as finely as they hold their coordinates.
    double turnNoise = kRoundingSpacings * FloatSpacing(2 * geometry::kTwoPi);
    if (distance > 0.0f) turnNoise += positionNoise / distance;
    if (previousLength > 0.0) turnNoise += positionNoise / previousLength;

    segment.length = distance;
    if (option == swapShiftAlt) {
        // The step is a length on the page, whatever the drawing scale.
        const auto step = static_cast<AIReal>(lengthStep / units::kMillimetresPerPoint);
        segment.length = MultipleAtOrAbove(distance, step, positionNoise);
    }

    // The angle step applies to the turn from the previous segment, not to the direction; a
    // turn is stepped the same whichever side of a half turn the two directions lie.
    AIReal turn = WithinOneTurn(previousDirection - AngleBetween(lastPoint, cursor));
    if (shift == swapShiftAlt) {
        turn = MultipleAtOrAbove(turn, DegreesToRadians(static_cast<AIReal>(angleStep)), turnNoise);
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

bool EndsOn(AIRealPoint end, AIRealPoint point, double length) {
    const double magnitude =
        std::max({std::fabs(end.h), std::fabs(end.v), std::fabs(point.h), std::fabs(point.v)}) + std::fabs(length);
    return std::hypot(static_cast<double>(end.h) - point.h, static_cast<double>(end.v) - point.v) <=
           kPolygonRoundingSpacings * FloatSpacing(magnitude);
}
