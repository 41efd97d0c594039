#include "Hover.h"

#include <cmath>

#include "ArcRecognition.h"
#include "OrvaneSuites.h"

namespace {

/// Tolerance of the crossing re-test: only art passing right under the cursor counts.
constexpr AIReal kCrossingTolerance = 2.0f;
/// Distance of the hint texts from the cursor, in view pixels.
constexpr AIReal kHintOffset = 12.0f;
/// Asks the host's cursor snap for the crossing of two paths nearest the cursor.
constexpr const char* kCrossingSnap = "A i o";

/// What one hit test found.
struct Hit {
    bool found = false;
    AIToolHitData data{};
    ASInt32 type = kNothingHitType;
};

/// Hit-tests all art of the document at the point; the host's result goes into error.
Hit HitTestAt(AIRealPoint point, AIReal tolerance, ASInt32 request, ASErr& error) {
    Hit hit;
    AIHitRef result = nullptr;
    error = sAIHit->HitTestEx(nullptr, &point, tolerance, request, &result);
    if (error || !result) return hit;
    if (sAIHit->GetHitData(result, &hit.data) != kNoErr) hit.data = {};
    hit.type = sAIHit->GetType(result);
    error = sAIHit->Release(result);
    hit.found = hit.data.hit && hit.data.object;
    return hit;
}

/// The front view's zoom factor; 1 when the host has no usable one.
AIReal FrontViewZoom(AIDocumentViewHandle& view) {
    AIReal zoom = 1.0f;
    if (sAIDocumentView->GetNthDocumentView(0, &view) != kNoErr) view = nullptr;
    if (view && sAIDocumentView->GetDocumentViewZoom(view, &zoom) == kNoErr && zoom > 0.0f && std::isfinite(zoom))
        return zoom;
    return 1.0f;
}

ASInt16 AnchorCount(AIArtHandle path) {
    ASInt16 count = 0;
    if (sAIPath->GetPathSegmentCount(path, &count) != kNoErr) return 0;
    return count;
}

/// True when the art is an open path that may be extended (not locked, as an instance is) and the point lies
/// near its first or its last anchor.
bool IsOpenPathEnd(AIArtHandle art, AIRealPoint point) {
    ASInt16 type = kUnknownArt;
    AIBoolean closed = true;
    ASInt32 locked = kArtLocked;
    if (sAIArt->GetArtType(art, &type) != kNoErr || type != kPathArt) return false;
    if (sAIArt->GetArtUserAttr(art, kArtLocked, &locked) != kNoErr || locked) return false;
    if (sAIPath->GetPathClosed(art, &closed) != kNoErr || closed) return false;
    const ASInt16 count = AnchorCount(art);
    if (count < 1) return false;
    AIPathSegment first{};
    AIPathSegment last{};
    if (sAIPath->GetPathSegments(art, 0, 1, &first) != kNoErr) return false;
    if (sAIPath->GetPathSegments(art, static_cast<ASInt16>(count - 1), 1, &last) != kNoErr) return false;
    return WithinTolerance(point, first.p) || WithinTolerance(point, last.p);
}

bool IsStraight(const AIRealBezier& piece) {
    return piece.p1.h == piece.p0.h && piece.p1.v == piece.p0.v && piece.p2.h == piece.p3.h && piece.p2.v == piece.p3.v;
}

/// The cursor that tells the shape of a curved piece.
ASInt32 CurvedPieceCursor(const AIRealBezier& piece) {
    const AIPathSegment start = {piece.p0, piece.p0, piece.p1, false};
    const AIPathSegment end = {piece.p3, piece.p2, piece.p3, false};
    return RecogniseArc(start, end, false).isArc ? cursors::kOverArc : cursors::kOverCurve;
}

}  // namespace

Hover DetectHover(const AIToolMessage& message, ASInt16 pointsPlaced, AIArtHandle polyline, ASErr& error) {
    const SPPluginRef plugin = message.d.self;
    Hover hover;

    AIDocumentViewHandle view = nullptr;
    const AIReal zoom = FrontViewZoom(view);
    const AIRealPoint cursor = message.cursor;
    hover.hintPosition = {cursor.h + kHintOffset / zoom, cursor.v - kHintOffset / zoom};

    error = kNoErr;
    const auto tolerance = static_cast<AIReal>(kSnapTolerance);
    const Hit anchor = HitTestAt(cursor, tolerance, kSegmentPointHitRequest, error);
    if (anchor.found) {
        hover.path = anchor.data.object;
        hover.point = anchor.data.point;
        hover.segment = anchor.data.segment;
        // Idle, the open end of a path is offered for extension rather than remembered.
        if (pointsPlaced == 0 && IsOpenPathEnd(hover.path, hover.point)) {
            hover.kind = Hover::Kind::OpenEnd;
            sADMBasic->SetPlatformCursor(plugin, cursors::kExtendPath);
            return hover;
        }
        hover.kind = Hover::Kind::Anchor;
        sADMBasic->SetPlatformCursor(plugin, cursors::kOverAnchor);
        return hover;
    }

    const Hit outline = HitTestAt(cursor, tolerance, kPathOutlineHitRequest, error);
    if (!outline.found) {
        sADMBasic->SetPlatformCursor(plugin, cursors::kNormal);
        return hover;
    }
    if (outline.type != kSegmentHitType) return hover;

    const AIArtHandle path = outline.data.object;
    hover.path = path;
    // The hit names the anchor that ends the piece; 0 is the closing piece of a closed path.
    const ASInt16 end = outline.data.segment;
    hover.segment = static_cast<ASInt16>((end == 0 ? AnchorCount(path) : end) - 1);

    // Locked, the hovered path hides from the re-test, which then finds only other art.
    sAIArt->SetArtUserAttr(path, kArtLocked, kArtLocked);
    const Hit other = HitTestAt(cursor, kCrossingTolerance, kPathOutlineHitRequest, error);
    sAIArt->SetArtUserAttr(path, kArtLocked, 0);
    if (other.type == kSegmentHitType) {
        hover.kind = Hover::Kind::Crossing;
        sADMBasic->SetPlatformCursor(plugin, cursors::kOverCrossing);
        AIRealPoint crossing = cursor;
        error = sAICursorSnap->Track(view, cursor, message.event, kCrossingSnap, &crossing);
        hover.point = error ? cursor : crossing;
        return hover;
    }

    AIRealBezier piece{};
    error = sAIPath->GetPathBezier(path, hover.segment, &piece);
    if (error) return hover;
    if (!IsStraight(piece)) {
        sADMBasic->SetPlatformCursor(plugin, CurvedPieceCursor(piece));
        return hover;
    }
    // A straight last segment of the polyline in progress is offered for removal.
    const bool lastSegment = pointsPlaced >= 2 && path == polyline && sAIArt->ValidArt(polyline, true) &&
                             hover.segment == AnchorCount(polyline) - 2;
    if (!lastSegment) {
        sADMBasic->SetPlatformCursor(plugin, cursors::kOverLine);
        return hover;
    }
    hover.kind = Hover::Kind::LastSegment;
    sADMBasic->SetPlatformCursor(plugin, cursors::kRemoveSegment);
    return hover;
}

bool WithinTolerance(AIRealPoint a, AIRealPoint b) {
    return sMath->AIRealPointClose(&a, &b, static_cast<AIReal>(kSnapTolerance));
}
