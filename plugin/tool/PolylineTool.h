// The polyline tool's working state and its handlers: the polyline being drawn, the
// segment under construction, the modifier keys, what lies under the cursor, the
// guides and the remembered points. Only the handlers write the state; the annotator
// and the panel read it.
#pragma once

#include <optional>

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

/// A guide through a remembered anchor: level with it (horizontal) or plumb (vertical).
struct Guide {
    bool found = false;
    AIRealPoint anchor = {0, 0};  // the remembered anchor it passes through
};

/// The guides found where the cursor last moved, drawn by the annotator and snapped to by
/// the next click.
struct Guides {
    Guide horizontal;
    Guide vertical;
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

/// What is typed at the cursor while a polyline is under way: a length and, after Tab, an
/// angle; or, with Tab on nothing typed, the direction under the cursor held. Empty, the
/// cursor drives.
struct TypedEntry {
    /// Room for each field's text, NUL included.
    static constexpr int kCapacity = 40;
    enum class Field { Length, Angle };

    char length[kCapacity] = {};  // as typed, printable ASCII; empty: the cursor gives the length
    char angle[kCapacity] = {};   // degrees, 180 straight on; empty: the cursor gives the direction
    Field field = Field::Length;  // the field the keys go to
    bool replacing = false;       // reached by Tab: the next character replaces the field's text
    bool unreadable = false;      // the keys' field failed to read: marked until edited or cleared
    bool directionLocked = false;
    AIReal lockedDirection = 0;  // the direction held, and its turn as the label shows it
    AIReal lockedShownAngle = 0;

    bool active() const { return length[0] != '\0' || angle[0] != '\0' || field == Field::Angle || directionLocked; }
    char* keysField() { return field == Field::Length ? length : angle; }
};

struct ToolState {
    /// No polyline under way any more; the path art stays in the document as it is.
    void endPolyline();

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
    TypedEntry typed;  // typed at the cursor: it gives the segment what it holds
};

/// A segment typed in the panel; a field left empty leaves its part to the cursor.
struct TypedSegment {
    std::optional<double> length;   // document points
    std::optional<AIReal> degrees;  // 180 goes straight on

    bool holdsSomething() const { return length || degrees; }
};

/// The panel's part in the tool's handlers: while shown it gives the segment under construction.
class SegmentSource {
public:
    virtual ~SegmentSource() = default;
    /// True while the panel is shown and gives the segment.
    virtual bool givesSegment() const = 0;
    /// The typed length (document points) and angle (degrees, 180 straight on), each when its
    /// field holds one.
    virtual TypedSegment typedSegment() const = 0;
};

class PolylineTool {
public:
    const ToolState& state() const { return state_; }
    /// The state as the next event will find it: a polyline whose path has gone
    /// (deleted, undone) is no longer under way.
    ToolState currentState() const;
    const RememberedPoints& remembered() const { return remembered_; }

    ASInt16 pointsPlaced() const { return state_.pointsPlaced; }
    AIArtHandle path() const { return state_.path; }

    void select();
    void deselect();
    /// The host quits without deselecting the tool: the remembered points go here.
    void shutdown();

    /// Shift as the mouse went down, whether or not the click reaches the polyline.
    void pressShift(bool down) { state_.shift = down; }
    /// The typed segment becomes the segment under construction; the cursor gives what it lacks.
    void takeTypedSegment(TypedSegment typed, const Settings& settings);

    ASErr trackCursor(AIToolMessage* message, const Settings& settings, const SegmentSource& panel);
    ASErr mouseDown(AIToolMessage* message, const Settings& settings, const SegmentSource& panel);
    /// A key while the tool is selected; message->used tells whether the tool took it.
    ASErr keyDown(AIToolKeyMessage* message, const Settings& settings, const SegmentSource& panel);

    /// Ends the polyline in place; the path art stays in the document unchanged.
    void endPolyline() { state_.endPolyline(); }
    /// When the polyline's path has gone (deleted, undone), no polyline is under way any more.
    /// The host tells no plug-in of such a change: each event starts with this.
    void forgetVanishedPath();

    /// Appends a straight anchor at point to the end of the path; then the point is the
    /// polyline's last point. Nothing changes when the host refuses the anchor.
    ASErr appendAnchor(AIRealPoint point, AIArtHandle path);

private:
    bool pathVanished() const;
    /// The guides for the cursor, from the remembered anchors within the snapping
    /// tolerance at the view's zoom; none while the panel gives the segment.
    void findGuides(bool panelGivesSegment);
    enum class Snap { AnchorOrCrossing, AnchorOnly };
    AIRealPoint snapped(AIRealPoint point, Snap snap) const;
    void snapSegmentEnd(Snap snap);
    bool segmentHasNoLength() const;
    void resumeFromEnd(AIArtHandle path, ASInt16 count);
    ASErr removeLastSegment();
    ASErr takeOverPath();
    void placeFirstPoint();
    ASErr placeSecondPoint(bool snap);
    ASErr placeNextPoint(bool snap);
    /// Adds the segment under construction to the path, unless it has no length.
    ASErr addSegmentEnd();
    /// The segment under construction from the last cursor, with what the panel's fields hold
    /// and, over that, what is typed at the cursor and reads.
    void followCursor(const Settings& settings, const TypedSegment& fields = {});
    bool keyWithNothingTyped(ASUInt32 key, const Settings& settings, const TypedSegment& fields, ASErr& error);
    bool editTypedEntry(ASUInt32 key, const Settings& settings, const TypedSegment& fields, ASErr& error);
    /// The segment under construction turned by a typed angle from the last placed segment.
    void turnBy(AIReal degrees);
    /// Return or a click with something typed: the segment as shown, never snapped.
    ASErr placeTypedSegment();
    /// Tab with nothing typed: only the length follows the cursor from now on.
    void lockDirection();
    /// Closes the polyline's path and ends the polyline.
    ASErr closePolyline();

    ToolState state_;
    RememberedPoints remembered_;
};

/// The first remembered point, in list order, whose coordinate (h or v, chosen by the
/// member) lies strictly closer than the tolerance to the cursor's; null when none does.
const RememberedPoints::Node* AlignedPoint(const RememberedPoints::Node* first, AIReal cursor, AIReal tolerance,
                                           AIReal RememberedPoints::Node::*coordinate);

/// The guides through the first remembered points level with and plumb with the cursor,
/// within the tolerance (document points).
Guides FindGuides(const RememberedPoints& remembered, AIRealPoint cursor, AIReal tolerance);

/// Reverses the order of the first count anchors of the path, keeping the shape of its
/// curved pieces.
void ReversePath(AIArtHandle path, ASInt16 count);

/// Disposes of the art if it still exists.
void DisposeIfValid(AIArtHandle art);
