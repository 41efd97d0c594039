// Hit tests and the crossing snap over the document's art. An R-tree over the
// bounds of the art, kept in step with every change of the document, leaves only
// the few art near the point to be tested exactly.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "AICursorSnap.h"
#include "AIHitTest.h"
#include "host/document/Document.h"
#include "host/platform/Handles.h"
#include "host/platform/SuiteRegistry.h"
#include "host/view/DocumentViews.h"

namespace host {

/// A rectangle of document points.
struct Bounds {
    double left;
    double bottom;
    double right;
    double top;
};

/// An anchor near a point.
struct AnchorNear {
    std::size_t index;
    AIRealPoint point;
    double distance;
};

/// The point of an outline nearest to a point: on the piece that starts at anchor `piece`, at its parameter t.
struct OutlineNear {
    std::size_t piece;
    double t;
    AIRealPoint point;
    double distance;
};

/// The box of a path's anchors and control points, which holds its outline; none for a path without anchors.
std::optional<Bounds> controlBounds(const PathShape& shape);
/// The anchor nearest to point within tolerance (the first of equals).
std::optional<AnchorNear> nearestAnchor(const PathShape& shape, AIRealPoint point, double tolerance);
/// The point of the outline nearest to point within tolerance (the first piece of equals).
std::optional<OutlineNear> nearestOnOutline(const PathShape& shape, AIRealPoint point, double tolerance);
/// The points where the outlines of two paths cross or touch.
std::vector<AIRealPoint> crossings(const PathShape& a, const PathShape& b);

/// What a hit test found: the record a plug-in reads, and its type.
struct HitResult {
    AIToolHitData data{};
    ASInt32 type = kNothingHitType;
};

/// The suites measure on the screen: a plug-in's hit-test tolerance and the crossing snap's radius are
/// view pixels, that is tolerance ÷ zoom in document points, so that what lies "under the cursor" is
/// the same at every zoom. The C++ interface below takes document points.
class HitTesting {
public:
    /// Told of each change of an art's box, after the fact: its box before and after (none: no box).
    using BoundsObserver =
        std::function<void(AIArtHandle, const std::optional<Bounds>& before, const std::optional<Bounds>& after)>;

    /// How far from the cursor, in view pixels, the crossing snap looks for a crossing.
    static constexpr double kSnapRadius = 8;
    /// The control string of the crossing snap.
    static constexpr const char* kCrossingSnap = "A i o";

    /// Indexes the document's art and follows its changes from now on. The suites take their
    /// distances in pixels of views (none: zoom 1).
    explicit HitTesting(Document& document, const DocumentViews* views = nullptr);
    HitTesting(const HitTesting&) = delete;
    HitTesting& operator=(const HitTesting&) = delete;
    ~HitTesting();
    void registerSuites(SuiteRegistry& registry);

    /// Tests art (null: all art) at point within tolerance. kSegmentPointHitRequest finds anchors,
    /// kPathOutlineHitRequest outlines, kAllHitRequest either (anchors first); the topmost art that is
    /// neither locked nor hidden wins. An unknown art or request finds nothing.
    HitResult hitTest(AIArtHandle art, AIRealPoint point, double tolerance, ASInt32 request) const;
    /// The same answers by testing every art in turn, without the index.
    HitResult hitTestLinear(AIArtHandle art, AIRealPoint point, double tolerance, ASInt32 request) const;
    /// The crossing of two different paths (neither locked nor hidden) nearest to point, within radius
    /// document points.
    std::optional<AIRealPoint> nearestCrossing(AIRealPoint point, double radius = kSnapRadius) const;

    /// The art whose box meets region, in no particular order.
    std::vector<AIArtHandle> artWithin(const Bounds& region) const;
    /// Every change of the document is told, whether it moved the art's box or not: a change of the art's
    /// attributes keeps its box. Observers are told after the index is up to date.
    int addObserver(BoundsObserver observer);
    void removeObserver(int id);

    /// Hit results given to plug-ins and not yet released.
    std::size_t liveResults() const { return results_.size(); }

    /// The hit tests plug-ins ask for go through every art in turn instead of the index:
    /// the baseline the benchmark measures the index against.
    void setLinearScan(bool linear) { linearScan_ = linear; }
    void dump(nlohmann::json& out) const;

private:
    bool linearScan_ = false;
    friend struct HitTestingSuiteFunctions;
    struct Index;

    void follow(AIArtHandle art, Document::Change change);
    /// Whether the art may be found, and what it gives when tested at point.
    std::optional<HitResult> testArt(AIArtHandle art, AIRealPoint point, double tolerance, ASInt32 request) const;

    /// Document points in one view pixel.
    double pointsPerPixel() const;

    Document& document_;
    const DocumentViews* views_;
    std::unique_ptr<Index> index_;
    int observer_;
    std::map<int, BoundsObserver> observers_;
    int lastObserver_ = 0;
    HandleTable<AIHitRef, HitResult> results_;
};

}  // namespace host
