// The polyline tool: cursor tracking and clicks, the polyline's path art written anchor
// by anchor, and the anchors remembered for the alignment guides.
#include "PolylineTool.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <utility>

#include "ASMemory.h"
#include "Constraint.h"
#include "OrvaneSuites.h"
#include "PlaneGeometry.h"
#include "Settings.h"
#include "TypedAngle.h"
#include "TypedLength.h"
#include "Units.h"

namespace {

ASUInt16 Modifiers(const AIToolMessage* message) {
    return message->event ? message->event->modifiers : 0;
}

/// Setting the front view's zoom to its own value is how the host is asked to redraw
/// it, annotations included.
ASErr RedrawFrontView() {
    AIDocumentViewHandle view = nullptr;
    AIReal zoom = 1.0f;
    ASErr error = sAIDocumentView->GetNthDocumentView(0, &view);
    if (!error) error = sAIDocumentView->GetDocumentViewZoom(view, &zoom);
    if (!error) error = sAIDocumentView->SetDocumentViewZoom(view, zoom);
    return error;
}

/// The snapping tolerance in document points at the front view's zoom: a fixed count of pixels.
AIReal SnapToleranceInView() {
    AIDocumentViewHandle view = nullptr;
    AIReal zoom = 1.0f;
    if (sAIDocumentView->GetNthDocumentView(0, &view) == kNoErr) sAIDocumentView->GetDocumentViewZoom(view, &zoom);
    return static_cast<AIReal>(kSnapTolerance) / zoom;
}

/// The guide along the axis through the first remembered point whose other coordinate is
/// within the tolerance of the cursor's.
Guide FindGuide(const RememberedPoints& remembered, AIReal cursor, AIReal tolerance,
                AIReal RememberedPoints::Node::*coordinate) {
    const RememberedPoints::Node* aligned = AlignedPoint(remembered.first(), cursor, tolerance, coordinate);
    if (!aligned) return {};
    return {true, {aligned->h, aligned->v}};
}

/// Keys that open the length field: a digit, a sign, a decimal separator or an opening parenthesis.
bool StartsALength(ASUInt32 key) {
    return (key >= '0' && key <= '9') || key == '+' || key == '-' || key == '.' || key == ',' || key == '(';
}

bool IsPrintableAscii(ASUInt32 key) {
    constexpr ASUInt32 kFirstPrintable = 0x20;
    constexpr ASUInt32 kLastPrintable = 0x7E;
    return key >= kFirstPrintable && key <= kLastPrintable;
}

/// An anchor whose control points lie on it, so that the pieces it ends are straight.
AIPathSegment StraightAnchor(AIRealPoint point) {
    return {point, point, point, true};
}

}  // namespace

void RememberedPoints::add(AIRealPoint point) {
    int count = 0;
    for (const Node* node = first_; node; node = node->next) {
        if (node->h == point.h && node->v == point.v) return;
        ++count;
    }

    if (!first_ || count < tool::kMaximumRememberedPoints) {
        void* block = ASMemory::Allocate(sizeof(Node));
        if (!block) {
            sADMBasic->Beep();
            return;
        }
        first_ = new (block) Node{first_, point.h, point.v};
        return;
    }

    // Full: every point moves one node towards the end, the oldest drops off, and the
    // new one takes the first node; nothing is allocated.
    AIRealPoint carried = point;
    for (Node* node = first_; node; node = node->next) {
        std::swap(carried.h, node->h);
        std::swap(carried.v, node->v);
    }
}

void RememberedPoints::clear() {
    while (first_) {
        Node* next = first_->next;
        ASMemory::Free(first_);
        first_ = next;
    }
}

const RememberedPoints::Node* AlignedPoint(const RememberedPoints::Node* first, AIReal cursor, AIReal tolerance,
                                           AIReal RememberedPoints::Node::*coordinate) {
    for (const RememberedPoints::Node* node = first; node; node = node->next) {
        const AIReal distance = std::fabs(cursor - node->*coordinate);
        if (tolerance > distance) return node;
    }
    return nullptr;
}

Guides FindGuides(const RememberedPoints& remembered, AIRealPoint cursor, AIReal tolerance) {
    return {FindGuide(remembered, cursor.v, tolerance, &RememberedPoints::Node::v),
            FindGuide(remembered, cursor.h, tolerance, &RememberedPoints::Node::h)};
}

void ToolState::endPolyline() {
    pointsPlaced = 0;
    origin.h = tool::kRestingOrigin;
    previousDirection = 0.0f;
    previousLength = 0.0;
    direction = 0.0f;
    typed = {};
}

ToolState PolylineTool::currentState() const {
    ToolState current = state_;
    if (pathVanished()) current.endPolyline();
    return current;
}

void PolylineTool::select() {
    // Empty since the last deselection, unless the host selected the tool twice.
    remembered_.clear();
    state_.guides = {};
    endPolyline();
}

void PolylineTool::deselect() {
    // A polyline in progress simply stops; its path stays in the document, open.
    state_.pointsPlaced = 0;
    state_.origin.h = tool::kRestingOrigin;
    state_.typed = {};
    remembered_.clear();
    state_.guides = {};
}

void PolylineTool::shutdown() {
    remembered_.clear();
    state_.guides = {};
}

bool PolylineTool::pathVanished() const {
    return state_.pointsPlaced >= 2 && !sAIArt->ValidArt(state_.path, true);
}

void PolylineTool::forgetVanishedPath() {
    // The user may have deleted the polyline's path, or undone it: there is nothing left to
    // extend, end, close or shorten, nor a last point to draw from.
    if (pathVanished()) endPolyline();
}

void PolylineTool::findGuides(bool panelGivesSegment) {
    state_.guides = panelGivesSegment ? Guides{} : FindGuides(remembered_, state_.cursor, SnapToleranceInView());
}

void PolylineTool::takeTypedSegment(TypedSegment typed, const Settings& settings) {
    forgetVanishedPath();
    followCursor(settings, typed);
}

ASErr PolylineTool::trackCursor(AIToolMessage* message, const Settings& settings, const SegmentSource& panel) {
    forgetVanishedPath();
    const ASUInt16 keys = Modifiers(message);
    state_.option = (keys & optionKey) != 0;
    state_.shift = (keys & shiftKey) != 0;
    state_.control = (keys & controlKey) != 0;

    const ASErr redraw = RedrawFrontView();
    if (state_.option && state_.control) {
        endPolyline();
        findGuides(panel.givesSegment());
        return redraw;
    }

    sADMBasic->SetPlatformCursor(message->d.self, cursors::kNormal);
    state_.cursor = message->cursor;
    ASErr error = kNoErr;
    state_.hover = DetectHover(*message, state_.pointsPlaced, state_.path, error);
    if (state_.hover.is(Hover::Kind::Anchor)) remembered_.add(state_.hover.point);

    // While the panel is shown, what its fields hold gives the segment and the cursor the rest.
    const TypedSegment fields = panel.givesSegment() ? panel.typedSegment() : TypedSegment{};
    takeTypedSegment(fields, settings);
    findGuides(fields.holdsSomething());
    return error;
}

void PolylineTool::followCursor(const Settings& settings, const TypedSegment& fields) {
    const TypedEntry& typed = state_.typed;
    AIRealPoint toward = state_.cursor;
    bool shift = state_.shift;
    if (typed.directionLocked) {
        // Only the length follows the cursor: how far it lies along the held ray.
        const double along = std::cos(typed.lockedDirection) * (state_.cursor.h - state_.lastPoint.h) +
                             std::sin(typed.lockedDirection) * (state_.cursor.v - state_.lastPoint.v);
        toward = SegmentEnd(state_.lastPoint, std::max(along, 0.0), typed.lockedDirection);
        // The direction is held: no angle step may turn it.
        shift = !settings.swapShiftAlt;
    }
    const ConstrainedSegment segment =
        ConstrainSegment(state_.lastPoint, toward, state_.previousDirection, state_.previousLength, state_.option,
                         shift, settings.swapShiftAlt, settings.lengthStep, settings.angleStep);
    state_.segmentLength = segment.length;
    state_.direction = typed.directionLocked ? typed.lockedDirection : segment.direction;
    state_.shownAngle = typed.directionLocked ? typed.lockedShownAngle : segment.shownAngle;
    // An empty panel field, never filled or cleared, leaves its part to the cursor, as without the panel.
    if (fields.length) state_.segmentLength = *fields.length;
    if (fields.degrees) turnBy(*fields.degrees);
    // What is typed at the cursor comes last: it is what the panel's fields are filled with.
    // A typed length is a real-world one: on the page it is divided by the drawing scale.
    if (const std::optional<double> length = ReadTypedLength(typed.length))
        state_.segmentLength = units::PointsFromMillimetres(*length / settings.scale());
    if (const std::optional<double> degrees = ReadTypedNumber(typed.angle)) turnBy(static_cast<AIReal>(*degrees));
    state_.segmentEnd = SegmentEnd(state_.lastPoint, state_.segmentLength, state_.direction);
}

AIRealPoint PolylineTool::snapped(AIRealPoint point, Snap snap) const {
    const Hover& hover = state_.hover;
    const Guide& horizontal = state_.guides.horizontal;
    const Guide& vertical = state_.guides.vertical;
    if (hover.is(Hover::Kind::Anchor) || (snap == Snap::AnchorOrCrossing && hover.is(Hover::Kind::Crossing)))
        return hover.point;
    if (horizontal.found && vertical.found) return {vertical.anchor.h, horizontal.anchor.v};
    if (horizontal.found) return {state_.cursor.h, horizontal.anchor.v};
    if (vertical.found) return {vertical.anchor.h, state_.cursor.v};
    return point;
}

void PolylineTool::snapSegmentEnd(Snap snap) {
    // A snapped point is not where the cursor was heading: the next turn is measured from
    // the segment as drawn.
    const AIRealPoint point = snapped(state_.segmentEnd, snap);
    if (point.h == state_.segmentEnd.h && point.v == state_.segmentEnd.v) return;
    state_.segmentEnd = point;
    state_.direction = WithinOneTurn(AngleBetween(state_.lastPoint, state_.segmentEnd));
}

bool PolylineTool::segmentHasNoLength() const {
    // A click that would put an anchor on top of the last one adds nothing.
    return state_.segmentEnd.h == state_.lastPoint.h && state_.segmentEnd.v == state_.lastPoint.v;
}

void PolylineTool::resumeFromEnd(AIArtHandle path, ASInt16 count) {
    // The last point and direction from the last anchors of the path, as if the tool had
    // just placed its last point.
    AIPathSegment last{};
    if (count < 1 || sAIPath->GetPathSegments(path, static_cast<ASInt16>(count - 1), 1, &last) != kNoErr) return;
    state_.lastPoint = last.p;
    state_.previousDirection = 0.0f;
    state_.previousLength = 0.0;
    AIPathSegment beforeLast{};
    if (count >= 2 && sAIPath->GetPathSegments(path, static_cast<ASInt16>(count - 2), 1, &beforeLast) == kNoErr) {
        state_.previousDirection = WithinOneTurn(AngleBetween(beforeLast.p, state_.lastPoint));
        state_.previousLength = DistanceBetween(beforeLast.p, state_.lastPoint);
    }
}

ASErr PolylineTool::removeLastSegment() {
    const auto count = static_cast<ASInt16>(state_.pointsPlaced - 1);
    const ASErr error = sAIPath->SetPathSegmentCount(state_.path, count);
    if (error) return error;
    state_.pointsPlaced = count;
    // Back at its first point, the lone anchor stays in the document; the next click
    // starts a new path for the polyline.
    resumeFromEnd(state_.path, state_.pointsPlaced);
    return error;
}

ASErr PolylineTool::takeOverPath() {
    const AIArtHandle hovered = state_.hover.path;
    ASInt16 count = 0;
    const ASErr error = sAIPath->GetPathSegmentCount(hovered, &count);
    if (error || count < 1) return error;
    state_.path = hovered;
    state_.pointsPlaced = count;
    // The hovered end must become the last anchor, where new segments join.
    if (state_.hover.segment == 0) ReversePath(state_.path, state_.pointsPlaced);
    AIPathSegment first{};
    if (sAIPath->GetPathSegments(state_.path, 0, 1, &first) == kNoErr) state_.origin = first.p;
    resumeFromEnd(state_.path, state_.pointsPlaced);
    // Until the cursor moves, the segment under construction has no length.
    state_.segmentEnd = state_.lastPoint;
    return error;
}

void PolylineTool::placeFirstPoint() {
    state_.pointsPlaced = 1;
    const AIRealPoint point = snapped(state_.cursor, Snap::AnchorOrCrossing);
    state_.origin = point;
    state_.lastPoint = point;
    state_.segmentEnd = point;
}

ASErr PolylineTool::placeSecondPoint(bool snap) {
    // The second point creates the polyline's path art with its first two anchors.
    if (snap) snapSegmentEnd(Snap::AnchorOrCrossing);
    if (segmentHasNoLength()) return kNoErr;

    AIArtHandle path = nullptr;
    const AIPathSegment origin = StraightAnchor(state_.lastPoint);
    ASErr error = sAIArt->NewArt(kPathArt, kPlaceAboveAll, nullptr, &path);
    if (!error) error = sAIPath->SetPathSegmentCount(path, 1);
    if (!error) error = sAIPath->SetPathSegments(path, 0, 1, &origin);
    if (!error) error = appendAnchor(state_.segmentEnd, path);
    if (error) {
        // The polyline stays at its first point, with no half-made path in the document.
        DisposeIfValid(path);
        return error;
    }
    state_.path = path;
    state_.pointsPlaced = 2;
    return error;
}

ASErr PolylineTool::closePolyline() {
    const ASErr error = sAIPath->SetPathClosed(state_.path, true);
    endPolyline();
    return error;
}

ASErr PolylineTool::placeNextPoint(bool snap) {
    // From the third point on, a click closes the polyline on its first point, ends it on
    // its last point, or adds a point.
    const bool onAnchor = state_.hover.is(Hover::Kind::Anchor);
    if (onAnchor && WithinTolerance(state_.hover.point, state_.origin)) return closePolyline();
    if (onAnchor && WithinTolerance(state_.hover.point, state_.lastPoint)) {
        endPolyline();
        return kNoErr;
    }
    if (snap) snapSegmentEnd(Snap::AnchorOnly);
    return addSegmentEnd();
}

ASErr PolylineTool::addSegmentEnd() {
    if (segmentHasNoLength()) return kNoErr;
    // A typed polygon comes back onto its first point only as closely as its rounding lets it: that
    // closes it as a click on the first point does, without a second anchor there.
    if (EndsOn(state_.segmentEnd, state_.origin, state_.segmentLength)) return closePolyline();
    const ASErr error = appendAnchor(state_.segmentEnd, state_.path);
    if (!error) ++state_.pointsPlaced;
    return error;
}

ASErr PolylineTool::mouseDown(AIToolMessage* message, const Settings& settings, const SegmentSource& panel) {
    forgetVanishedPath();
    const TypedSegment fields = panel.givesSegment() ? panel.typedSegment() : TypedSegment{};
    if (fields.holdsSomething()) takeTypedSegment(fields, settings);
    state_.cursor = message->cursor;

    const Hover& hover = state_.hover;
    if (hover.is(Hover::Kind::LastSegment) && state_.pointsPlaced >= 2) return removeLastSegment();
    // Offered only while idle; a second click without a movement must not take the
    // path over again, which would reverse it back.
    if (hover.is(Hover::Kind::OpenEnd) && state_.pointsPlaced == 0 && sAIArt->ValidArt(hover.path, true))
        return takeOverPath();
    if (state_.pointsPlaced == 0) {
        placeFirstPoint();
        return kNoErr;
    }
    if (state_.typed.active()) return placeTypedSegment();
    const bool snap = !fields.holdsSomething() && !state_.shift;
    const ASErr error = state_.pointsPlaced == 1 ? placeSecondPoint(snap) : placeNextPoint(snap);
    // The host refused the point (beyond the coordinates it holds, say): nothing was placed, and the
    // person hears so.
    if (error) sADMBasic->Beep();
    return error;
}

void PolylineTool::turnBy(AIReal degrees) {
    const TypedAngle angle = TypedAngleToDirection(state_.previousDirection, degrees);
    state_.direction = angle.direction;
    state_.shownAngle = angle.shownAngle;
}

ASErr PolylineTool::placeTypedSegment() {
    const ASErr error = state_.pointsPlaced == 1 ? placeSecondPoint(false) : addSegmentEnd();
    state_.typed = {};
    if (error) sADMBasic->Beep();
    return error;
}

void PolylineTool::lockDirection() {
    state_.typed.directionLocked = true;
    state_.typed.lockedDirection = state_.direction;
    state_.typed.lockedShownAngle = state_.shownAngle;
}

ASErr PolylineTool::keyDown(AIToolKeyMessage* message, const Settings& settings, const SegmentSource& panel) {
    forgetVanishedPath();
    const TypedSegment fields = panel.givesSegment() ? panel.typedSegment() : TypedSegment{};
    // Before the first point, and with Control or Option held, keys stay the host's shortcuts.
    if (state_.pointsPlaced == 0 || (message->modifiers & (controlKey | optionKey)) != 0) return kNoErr;
    ASErr error = kNoErr;
    const bool used = state_.typed.active() ? editTypedEntry(message->character, settings, fields, error)
                                            : keyWithNothingTyped(message->character, settings, fields, error);
    message->used = used;
    if (!used) return kNoErr;
    const ASErr redraw = RedrawFrontView();
    return error ? error : redraw;
}

bool PolylineTool::keyWithNothingTyped(ASUInt32 key, const Settings& settings, const TypedSegment& fields,
                                       ASErr& error) {
    switch (key) {
        case kAIReturnKey:
        case kAIEscapeKey:
            // Return finishes the polyline where it is, Escape leaves it there: both keep it as placed.
            endPolyline();
            return true;
        case kAIBackspaceKey:
        case kAIDeleteKey:
            if (state_.pointsPlaced >= 2) {
                error = removeLastSegment();
                followCursor(settings, fields);
            } else {
                endPolyline();
            }
            return true;
        case kAITabKey:
            lockDirection();
            return true;
        default:
            if (!StartsALength(key)) return false;
            state_.typed.length[0] = static_cast<char>(key);
            followCursor(settings, fields);
            return true;
    }
}

bool PolylineTool::editTypedEntry(ASUInt32 key, const Settings& settings, const TypedSegment& fields, ASErr& error) {
    TypedEntry& typed = state_.typed;
    char* text = typed.keysField();
    const std::size_t length = std::strlen(text);
    const bool readable = typed.field == TypedEntry::Field::Length ? ReadTypedLength(text).has_value()
                                                                   : ReadTypedNumber(text).has_value();
    if ((key == kAIReturnKey || key == kAITabKey) && length > 0 && !readable) {
        // Never a point from what can't be read: it stays, marked, until mended.
        sADMBasic->Beep();
        typed.unreadable = true;
        return true;
    }
    if (key == kAIReturnKey) {
        followCursor(settings, fields);
        error = placeTypedSegment();
    } else if (key == kAIEscapeKey) {
        typed = {};
    } else if (key == kAITabKey) {
        const bool nothingTyped = typed.length[0] == '\0' && typed.angle[0] == '\0';
        if (typed.field == TypedEntry::Field::Length && nothingTyped) {
            lockDirection();
        } else {
            typed.field =
                typed.field == TypedEntry::Field::Length ? TypedEntry::Field::Angle : TypedEntry::Field::Length;
            typed.replacing = typed.keysField()[0] != '\0';
        }
    } else if (key == kAIBackspaceKey) {
        if (length > 0) text[length - 1] = '\0';
        typed.replacing = false;
        typed.unreadable = false;
    } else if (IsPrintableAscii(key)) {
        if (typed.replacing) text[0] = '\0';
        const std::size_t kept = std::strlen(text);
        if (kept + 1 >= TypedEntry::kCapacity) {
            sADMBasic->Beep();
            return true;
        }
        text[kept] = static_cast<char>(key);
        text[kept + 1] = '\0';
        typed.replacing = false;
        typed.unreadable = false;
    } else {
        return false;
    }
    followCursor(settings, fields);
    return true;
}

ASErr PolylineTool::appendAnchor(AIRealPoint point, AIArtHandle path) {
    ASInt16 count = 0;
    ASErr error = sAIPath->GetPathSegmentCount(path, &count);
    if (error) return error;
    if (count == std::numeric_limits<ASInt16>::max()) return kOutOfRangeErr;
    const AIPathSegment anchor = StraightAnchor(point);
    error = sAIPath->SetPathSegmentCount(path, static_cast<ASInt16>(count + 1));
    if (!error) error = sAIPath->SetPathSegments(path, count, 1, &anchor);
    if (error) {
        sAIPath->SetPathSegmentCount(path, count);
        return error;
    }
    state_.previousLength = DistanceBetween(state_.lastPoint, point);
    state_.lastPoint = point;
    // Kept within one turn, so that the turns measured from it, and their labels, read the
    // same whether the segment was typed or drawn.
    state_.previousDirection = WithinOneTurn(state_.direction);
    return error;
}

void ReversePath(AIArtHandle path, ASInt16 count) {
    // The copy keeps the former order while the path itself is overwritten.
    AIArtHandle copy = nullptr;
    if (sAIArt->DuplicateArt(path, kPlaceAboveAll, nullptr, &copy) != kNoErr) return;
    for (ASInt16 i = 0; i < count; ++i) {
        AIPathSegment anchor{};
        if (sAIPath->GetPathSegments(copy, i, 1, &anchor) != kNoErr) break;
        // Run backwards, a curved piece keeps its shape with its handles exchanged.
        std::swap(anchor.in, anchor.out);
        sAIPath->SetPathSegments(path, static_cast<ASInt16>(count - 1 - i), 1, &anchor);
    }
    DisposeIfValid(copy);
}

void DisposeIfValid(AIArtHandle art) {
    if (sAIArt->ValidArt(art, true)) sAIArt->DisposeArt(art);
}
