#include "TypedAngle.h"

#include <cmath>

#include "PlaneGeometry.h"

namespace {

/// The smallest angle the angle field, with its two decimals, shows as 360 degrees.
constexpr AIReal kShownFullTurn = 359.995f;

}  // namespace

TypedAngle TypedAngleToDirection(AIReal previousDirection, AIReal degrees) {
    TypedAngle angle{};
    angle.shownAngle = DegreesToRadians(degrees);
    // 180 degrees goes straight on: the turn is measured from the reversed last segment.
    angle.direction = (previousDirection - angle.shownAngle) - geometry::kPi;
    // Only the label folds; a negative angle keeps its sign there.
    if (angle.shownAngle > geometry::kPi) angle.shownAngle = std::fabs(geometry::kTwoPi - angle.shownAngle);
    return angle;
}

AIReal AngleToRetype(AIReal previousDirection, AIReal direction) {
    // TypedAngleToDirection turns by the typed angle plus a half turn. A whole turn, or what the field
    // would show as one, doubles back: 0.
    const AIReal degrees = RadiansToDegrees(WithinOneTurn(previousDirection - direction)) + 180.0f;
    return degrees < kShownFullTurn ? degrees : 0.0f;
}
