#include "TypedAngle.h"

#include <cmath>

#include "PlaneGeometry.h"

namespace {

constexpr AIReal kDegreesPerTurn = 360.0f;
constexpr AIReal kDegreesPerHalfTurn = 180.0f;

/// The smallest angle the angle field, with its two decimals, shows as 360 degrees.
constexpr AIReal kShownFullTurn = 359.995f;

}  // namespace

TypedAngle TypedAngleToDirection(AIReal previousDirection, AIReal degrees) {
    // Whole turns come off the typed angle exactly, so that 720 turns the segment as precisely as 0 does.
    const AIReal withinTurn = std::fmod(degrees, kDegreesPerTurn);
    // 180 degrees goes straight on: the turn is measured from the reversed last segment.
    const AIReal direction = (previousDirection - DegreesToRadians(withinTurn)) - geometry::kPi;

    // The label reads what the same segment reads when drawn, 0 doubling back to 180 straight on; a turn
    // to the right typed as a negative angle keeps its sign.
    AIReal shown = withinTurn;
    if (shown <= -kDegreesPerHalfTurn) {
        shown += kDegreesPerTurn;
    } else if (shown > kDegreesPerHalfTurn) {
        shown = kDegreesPerTurn - shown;
    }
    return {DegreesToRadians(shown), direction};
}

AIReal AngleToRetype(AIReal previousDirection, AIReal direction) {
    // TypedAngleToDirection turns by the typed angle plus a half turn. A whole turn, or what the field
    // would show as one, doubles back: 0.
    const AIReal degrees = RadiansToDegrees(WithinOneTurn(previousDirection - direction)) + 180.0f;
    return degrees < kShownFullTurn ? degrees : 0.0f;
}
