// The polyline tool's working state and its handlers: the polyline being drawn, the
// segment under construction, the modifier keys, what lies under the cursor, the
// guides and the remembered points. The handlers write the state; the annotator only
// reads it.
#pragma once

#include "AIMessages.h"
#include "AITypes.h"
#include "Hover.h"

struct Settings;

namespace tool {
/// The origin's h after a reset: far from any click, so nothing closes on it.
constexpr AIReal kRestingOrigin = -250.0f;
/// How many anchors passed over are remembered for the alignment guides.
constexpr int kMaximumRememberedPoints = 20;
}  // namespace tool

/// Guides found by the last annotation pass, snapped to by the next click.
struct Guides {
    bool horizontal = false;
    bool vertical = false;
    AIReal horizontalV = 0;  // v of the horizontal guide
    AIReal verticalH = 0;    // h of the vertical guide
};

/// The anchors passed over, newest first, in the host's memory.
class RememberedPoints {
public:
    struct Node {
        Node* next;
        AIReal h;
        AIReal v;
    };

    RememberedPoints() = default;
    RememberedPoints(const RememberedPoints&) = delete;
    RememberedPoints& operator=(const RememberedPoints&) = delete;

    /// Remembers a point: newest first, at most kMaximumRememberedPoints, each point once.
    /// When the host has no memory left it beeps and nothing changes.
    void add(AIRealPoint point);
    /// Forgets every point and gives their memory back to the host, whose suites must
    /// still be there: the list is emptied explicitly, never by a destructor.
    void clear();
    const Node* first() const { return first_; }

private:
    Node* first_ = nullptr;
};

struct ToolState {
    // The polyline being drawn.
    ASInt16 pointsPlaced = 0;         // anchors placed so far; 0 when no polyline is under way
    AIRealPoint origin = {0, 0};      // first point: a click on it closes the polyline
    AIRealPoint lastPoint = {0, 0};   // last placed point, start of the segment under construction
    AIRealPoint segmentEnd = {0, 0};  // end of the segment under construction
    AIArtHandle path = nullptr;       // path art of the polyline; keeps naming the last one drawn
    double segmentLength = 0.0;       // document points
    AIReal direction = 0;             // direction of the segment under construction, radians
    AIReal previousDirection = 0;     // direction of the last placed segment
    double previousLength = 0.0;      // length of the last placed segment as drawn; 0 before the first
    AIReal shownAngle = 0;            // the label's angle: pi straight on, 0 doubling back

    // Modifier keys at the last tracking or mouse down.
    bool shift = false;
    bool option = false;
    bool control = false;

    AIRealPoint cursor = {0, 0};  // cursor at the last hover detection or mouse down
    Hover hover;                  // what the last hover detection found
    Guides guides;

    /// Until the tool is first selected, numbers show a point.
    char decimalSeparator = '.';
};

/// The panel's part in the tool's handlers: while shown it gives the segment under construction.
class SegmentSource {
public:
    virtual ~SegmentSource() = default;
    /// True while the panel is shown and gives the segment.
    virtual bool givesSegment() const = 0;
    /// The typed length and angle become the segment under construction.
    virtual void applyTypedSegment(ToolState& state) const = 0;
};

class PolylineTool {
public:
    const ToolState& state() const { return state_; }
    ToolState& state() { return state_; }
    const RememberedPoints& remembered() const { return remembered_; }

    ASInt16 pointsPlaced() const { return state_.pointsPlaced; }
    AIArtHandle path() const { return state_.path; }

    void select();
    void deselect();
    /// The host quits without deselecting the tool: the remembered points go here.
    void shutdown() { remembered_.clear(); }

    ASErr trackCursor(AIToolMessage* message, const Settings& settings, const SegmentSource& panel);
    ASErr mouseDown(AIToolMessage* message, const SegmentSource& panel);

    /// Ends the polyline in place; the path art stays in the document unchanged.
    void endPolyline();
    /// When the polyline's path has gone (deleted, undone), no polyline is under way any more.
    void forgetVanishedPath();

    /// Appends a straight anchor at point to the end of the path; then the point is the
    /// polyline's last point. Nothing changes when the host refuses the anchor.
    ASErr appendAnchor(AIRealPoint point, AIArtHandle path);

private:
    enum class Snap { AnchorOrCrossing, AnchorOnly };
    AIRealPoint snapped(AIRealPoint point, Snap snap) const;
    void snapSegmentEnd(Snap snap);
    bool segmentHasNoLength() const;
    void resumeFromEnd(AIArtHandle path, ASInt16 count);
    ASErr removeLastSegment();
    ASErr takeOverPath();
    void placeFirstPoint();
    ASErr placeSecondPoint(const SegmentSource& panel);
    ASErr placeNextPoint(const SegmentSource& panel);
    /// Closes the polyline's path and ends the polyline.
    ASErr closePolyline();

    ToolState state_;
    RememberedPoints remembered_;
};

/// Reverses the order of the first count anchors of the path, keeping the shape of its
/// curved pieces.
void ReversePath(AIArtHandle path, ASInt16 count);

/// Disposes of the art if it still exists.
void DisposeIfValid(AIArtHandle art);
