// Hover detection: what existing art lies under the cursor, told by the cursor's shape
// and returned as a value for the next click and the annotator.
#pragma once

#include "AIMessages.h"
#include "AITypes.h"

// The tool's cursor resources.
namespace cursors {
constexpr ASInt32 kNormal = 1101;
constexpr ASInt32 kOverAnchor = 1102;
constexpr ASInt32 kOverLine = 1103;
constexpr ASInt32 kOverArc = 1104;
constexpr ASInt32 kOverCurve = 1105;
constexpr ASInt32 kOverCrossing = 1106;
constexpr ASInt32 kRemoveSegment = 1107;
constexpr ASInt32 kExtendPath = 1108;
}  // namespace cursors

/// Snapping tolerance, in document points.
constexpr ASInt32 kSnapTolerance = 8;

struct Hover {
    enum class Kind {
        Nothing,
        Anchor,       // an anchor, to snap to or to close or finish on
        Crossing,     // the crossing of two paths, to snap to
        LastSegment,  // the last segment of the polyline in progress, to remove
        OpenEnd,      // the open end of a path, to take over while idle
    };
    Kind kind = Kind::Nothing;
    AIArtHandle path = nullptr;         // the hovered path
    AIRealPoint point = {0, 0};         // the anchor or crossing a click snaps to
    ASInt16 segment = 0;                // the hovered anchor, or the first anchor of the hovered piece
    AIRealPoint hintPosition = {0, 0};  // where hint texts go: cursor + (12, -12) pixels

    bool is(Kind k) const { return kind == k; }
};

/// Classifies what lies under the cursor and sets the cursor's shape. pointsPlaced and
/// polyline describe the polyline in progress; error takes the host's result of the
/// last call.
Hover DetectHover(const AIToolMessage& message, ASInt16 pointsPlaced, AIArtHandle polyline, ASErr& error);

/// True when a and b lie within kSnapTolerance of each other, by the host's measure.
bool WithinTolerance(AIRealPoint a, AIRealPoint b);
