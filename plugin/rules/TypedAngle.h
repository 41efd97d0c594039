// Angles typed in the panel's angle field: 180 degrees goes straight on from the last
// placed segment.
#pragma once

#include "AITypes.h"

/// The shown angle and the direction that a typed angle gives.
struct TypedAngle {
    AIReal shownAngle;  // radians for the label, -pi excluded to pi: negative for a right turn typed so
    AIReal direction;   // direction of the segment
};

/// A typed angle (degrees, 180 straight on) turned into the segment's direction from
/// the last placed segment's direction previousDirection.
TypedAngle TypedAngleToDirection(AIReal previousDirection, AIReal degrees);

/// The angle in degrees that, typed in the angle field, gives the direction direction
/// again from previousDirection: the shown angle for a turn to the left or straight on, 360
/// minus it for a turn to the right, 0 doubling back.
AIReal AngleToRetype(AIReal previousDirection, AIReal direction);
