#include "host/document/HitTesting.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <new>
#include <unordered_map>
#include <utility>

#include <2geom/bezier-curve.h>
#include <2geom/rect.h>
// Boost 1.74's R-tree includes one of Boost's own deprecated headers, which would print a note.
#define BOOST_ALLOW_DEPRECATED_HEADERS
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>

namespace host {

namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

using Active = ActivePiece<HitTesting>;

Geom::Point toGeom(AIRealPoint point) {
    return {point.h, point.v};
}

AIRealPoint toPoint(const Geom::Point& point) {
    return {static_cast<AIReal>(point[Geom::X]), static_cast<AIReal>(point[Geom::Y])};
}

bool same(AIRealPoint a, AIRealPoint b) {
    return a.h == b.h && a.v == b.v;
}

Geom::Rect controlRect(const AIRealBezier& bezier) {
    Geom::Rect rect(toGeom(bezier.p0), toGeom(bezier.p3));
    rect.expandTo(toGeom(bezier.p1));
    rect.expandTo(toGeom(bezier.p2));
    return rect;
}

Geom::CubicBezier toCubic(const AIRealBezier& bezier) {
    return {toGeom(bezier.p0), toGeom(bezier.p1), toGeom(bezier.p2), toGeom(bezier.p3)};
}

/// The pieces of a path as curves, those whose control box meets region (all without one). Straight
/// pieces become line segments, whose crossings are exact; pieces reduced to a point are left out.
std::vector<std::unique_ptr<Geom::Curve>> curvesOf(const PathShape& shape, const Geom::Rect* region) {
    std::vector<std::unique_ptr<Geom::Curve>> curves;
    for (std::size_t piece = 0; piece < pieceCount(shape); ++piece) {
        AIRealBezier bezier = pieceBezier(shape, piece);
        if (region && !controlRect(bezier).intersects(*region)) continue;
        bool straight = same(bezier.p1, bezier.p0) && same(bezier.p2, bezier.p3);
        if (straight && same(bezier.p0, bezier.p3)) continue;
        if (straight)
            curves.push_back(std::make_unique<Geom::LineSegment>(toGeom(bezier.p0), toGeom(bezier.p3)));
        else
            curves.push_back(std::make_unique<Geom::CubicBezier>(toCubic(bezier)));
    }
    return curves;
}

void forEachCrossing(const std::vector<std::unique_ptr<Geom::Curve>>& a,
                     const std::vector<std::unique_ptr<Geom::Curve>>& b,
                     const std::function<void(const Geom::Point&)>& visit) {
    for (const auto& first : a)
        for (const auto& second : b)
            if (first->boundsFast().intersects(second->boundsFast()))
                for (const Geom::CurveIntersection& crossing : first->intersect(*second)) visit(crossing.point());
}

bool isFinitePoint(AIRealPoint point) {
    return std::isfinite(point.h) && std::isfinite(point.v);
}

bool isKnownRequest(ASInt32 request) {
    return request == kAllHitRequest || request == kSegmentPointHitRequest || request == kPathOutlineHitRequest;
}

}  // namespace

// ---- geometry ------------------------------------------------------------------

std::optional<Bounds> controlBounds(const PathShape& shape) {
    if (shape.segments.empty()) return std::nullopt;
    AIRealPoint first = shape.segments.front().p;
    Bounds bounds{first.h, first.v, first.h, first.v};
    for (const AIPathSegment& segment : shape.segments)
        for (AIRealPoint point : {segment.p, segment.in, segment.out}) {
            bounds.left = std::min<double>(bounds.left, point.h);
            bounds.right = std::max<double>(bounds.right, point.h);
            bounds.bottom = std::min<double>(bounds.bottom, point.v);
            bounds.top = std::max<double>(bounds.top, point.v);
        }
    return bounds;
}

std::optional<AnchorNear> nearestAnchor(const PathShape& shape, AIRealPoint point, double tolerance) {
    if (!(tolerance >= 0)) return std::nullopt;
    // Squares compare as the distances do, without a square root per anchor.
    std::optional<std::size_t> nearest;
    double reach = tolerance * tolerance;
    for (std::size_t index = 0; index < shape.segments.size(); ++index) {
        AIRealPoint anchor = shape.segments[index].p;
        double dh = double{anchor.h} - point.h, dv = double{anchor.v} - point.v;
        double square = dh * dh + dv * dv;
        if (nearest ? square < reach : square <= reach) {
            nearest = index;
            reach = square;
        }
    }
    if (!nearest) return std::nullopt;
    AIRealPoint anchor = shape.segments[*nearest].p;
    return AnchorNear{*nearest, anchor, std::sqrt(reach)};
}

std::optional<OutlineNear> nearestOnOutline(const PathShape& shape, AIRealPoint point, double tolerance) {
    std::optional<OutlineNear> best;
    Geom::Point target = toGeom(point);
    for (std::size_t piece = 0; piece < pieceCount(shape); ++piece) {
        AIRealBezier bezier = pieceBezier(shape, piece);
        // The curve lies within its control box: a box out of reach rules the piece out cheaply.
        double reach = best ? std::min(tolerance, best->distance) : tolerance;
        if (Geom::distance(target, controlRect(bezier)) > reach) continue;
        Geom::CubicBezier curve = toCubic(bezier);
        double t = curve.nearestTime(target);
        Geom::Point nearest = curve.pointAt(t);
        double distance = Geom::distance(target, nearest);
        if (distance <= tolerance && (!best || distance < best->distance))
            best = OutlineNear{piece, t, toPoint(nearest), distance};
    }
    return best;
}

std::vector<AIRealPoint> crossings(const PathShape& a, const PathShape& b) {
    std::vector<AIRealPoint> points;
    forEachCrossing(curvesOf(a, nullptr), curvesOf(b, nullptr),
                    [&](const Geom::Point& crossing) { points.push_back(toPoint(crossing)); });
    return points;
}

// ---- the index ------------------------------------------------------------------

struct HitTesting::Index {
    using Point = bg::model::point<double, 2, bg::cs::cartesian>;
    using Box = bg::model::box<Point>;
    using Entry = std::pair<Box, AIArtHandle>;

    /// Brings the art's entry in step with its shape; a path without anchors has none.
    void put(AIArtHandle art, const PathShape& shape) {
        std::optional<Bounds> bounds = controlBounds(shape);
        auto known = boxes.find(art);
        if (bounds && known != boxes.end()) {
            const Box& box = known->second;
            if (box.min_corner().get<0>() == bounds->left && box.min_corner().get<1>() == bounds->bottom &&
                box.max_corner().get<0>() == bounds->right && box.max_corner().get<1>() == bounds->top)
                return;
        }
        remove(art);
        if (!bounds) return;
        Box box(Point(bounds->left, bounds->bottom), Point(bounds->right, bounds->top));
        tree.insert({box, art});
        boxes.emplace(art, box);
    }

    void remove(AIArtHandle art) {
        auto known = boxes.find(art);
        if (known == boxes.end()) return;
        tree.remove(Entry{known->second, art});
        boxes.erase(known);
    }

    /// The art whose box comes within reach of point.
    std::vector<AIArtHandle> near(AIRealPoint point, double reach) const {
        return within(Box(Point(point.h - reach, point.v - reach), Point(point.h + reach, point.v + reach)));
    }

    std::vector<AIArtHandle> within(const Box& region) const {
        std::vector<AIArtHandle> found;
        for (auto entry = tree.qbegin(bgi::intersects(region)); entry != tree.qend(); ++entry)
            found.push_back(entry->second);
        return found;
    }

    std::optional<Bounds> boundsOf(AIArtHandle art) const {
        auto known = boxes.find(art);
        if (known == boxes.end()) return std::nullopt;
        const Box& box = known->second;
        return Bounds{box.min_corner().get<0>(), box.min_corner().get<1>(), box.max_corner().get<0>(),
                      box.max_corner().get<1>()};
    }

    // Quadratic splits: inserting costs far less than with R* (opening a large file inserts every art), and
    // the queries, over small boxes spread evenly, cost the same.
    bgi::rtree<Entry, bgi::quadratic<16>> tree;
    std::unordered_map<AIArtHandle, Box> boxes;
};

// ---- the C++ interface -------------------------------------------------------

HitTesting::HitTesting(Document& document, const DocumentViews* views)
    : document_(document), views_(views), index_(std::make_unique<Index>()) {
    document_.forEachArt([&](AIArtHandle art, const Document::Art& item) { index_->put(art, item.shape); });
    observer_ = document_.addObserver([this](AIArtHandle art, Document::Change change) { follow(art, change); });
}

HitTesting::~HitTesting() {
    Active::clear(this);
    document_.removeObserver(observer_);
}

void HitTesting::follow(AIArtHandle art, Document::Change change) {
    std::optional<Bounds> before;
    if (!observers_.empty()) before = index_->boundsOf(art);
    if (change == Document::Change::removed)
        index_->remove(art);
    else
        index_->put(art, document_.findArt(art)->shape);
    if (observers_.empty()) return;
    std::optional<Bounds> after = index_->boundsOf(art);
    for (const auto& [id, observer] : observers_) observer(art, before, after);
}

std::vector<AIArtHandle> HitTesting::artWithin(const Bounds& region) const {
    return index_->within(Index::Box(Index::Point(region.left, region.bottom), Index::Point(region.right, region.top)));
}

int HitTesting::addObserver(BoundsObserver observer) {
    observers_.emplace(++lastObserver_, std::move(observer));
    return lastObserver_;
}

void HitTesting::removeObserver(int id) {
    observers_.erase(id);
}

std::optional<HitResult> HitTesting::testArt(AIArtHandle art, AIRealPoint point, double tolerance,
                                             ASInt32 request) const {
    const Document::Art* found = document_.findArt(art);
    if (!found || !document_.hitTestable(*found)) return std::nullopt;
    const PathShape& shape = found->shape;
    if (request == kSegmentPointHitRequest || request == kAllHitRequest) {
        if (auto anchor = nearestAnchor(shape, point, tolerance))
            return HitResult{{true, art, static_cast<ASInt16>(anchor->index), 0, anchor->point}, kAnchorHitType};
    }
    if (request == kPathOutlineHitRequest || request == kAllHitRequest) {
        if (auto outline = nearestOnOutline(shape, point, tolerance)) {
            // A piece is named by the anchor that ends it: the closing piece by anchor 0.
            auto ending = static_cast<ASInt16>((outline->piece + 1) % shape.segments.size());
            return HitResult{{true, art, ending, static_cast<AIReal>(outline->t), outline->point}, kSegmentHitType};
        }
    }
    return std::nullopt;
}

HitResult HitTesting::hitTest(AIArtHandle art, AIRealPoint point, double tolerance, ASInt32 request) const {
    if (art) return testArt(art, point, tolerance, request).value_or(HitResult{});
    if (!isKnownRequest(request) || !isFinitePoint(point) || !(tolerance >= 0)) return {};
    std::vector<std::pair<PaintRank, AIArtHandle>> candidates;
    for (AIArtHandle near : index_->near(point, tolerance)) candidates.emplace_back(document_.paintRank(near), near);
    std::sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [rank, candidate] : candidates)
        if (auto hit = testArt(candidate, point, tolerance, request)) return *hit;
    return {};
}

HitResult HitTesting::hitTestLinear(AIArtHandle art, AIRealPoint point, double tolerance, ASInt32 request) const {
    if (art) return testArt(art, point, tolerance, request).value_or(HitResult{});
    HitResult topmost;
    document_.forEachArt([&](AIArtHandle each, const Document::Art&) {
        if (auto hit = testArt(each, point, tolerance, request)) topmost = *hit;
    });
    return topmost;
}

double HitTesting::pointsPerPixel() const {
    return views_ ? 1.0 / views_->zoom() : 1.0;
}

std::optional<AIRealPoint> HitTesting::nearestCrossing(AIRealPoint point, double radius) const {
    if (!isFinitePoint(point) || !(radius >= 0)) return std::nullopt;
    Geom::Point cursor = toGeom(point);
    Geom::Rect region(cursor - Geom::Point(radius, radius), cursor + Geom::Point(radius, radius));
    std::vector<std::vector<std::unique_ptr<Geom::Curve>>> paths;
    for (AIArtHandle near : index_->near(point, radius)) {
        const Document::Art* art = document_.findArt(near);
        if (!document_.hitTestable(*art)) continue;
        auto curves = curvesOf(art->shape, &region);
        if (!curves.empty()) paths.push_back(std::move(curves));
    }
    std::optional<Geom::Point> best;
    double bestDistance = radius;
    for (std::size_t i = 0; i < paths.size(); ++i)
        for (std::size_t j = i + 1; j < paths.size(); ++j)
            forEachCrossing(paths[i], paths[j], [&](const Geom::Point& crossing) {
                double distance = Geom::distance(cursor, crossing);
                if (distance <= bestDistance) {
                    best = crossing;
                    bestDistance = distance;
                }
            });
    if (!best) return std::nullopt;
    return toPoint(*best);
}

void HitTesting::dump(nlohmann::json& out) const {
    out["hitResults"] = results_.size();
}

// ---- the suites ------------------------------------------------------------------

struct HitTestingSuiteFunctions {
    static AIErr HitTestEx(AIArtHandle art, const AIRealPoint* point, AIReal tolerance, ASInt32 request,
                           AIHitRef* hit) noexcept {
        if (hit) *hit = nullptr;
        return guardedCall<HitTesting>([&](HitTesting& self) {
            if (art && !self.document_.findArt(art)) return kBadHandleErr;
            if (!point || !hit || !isKnownRequest(request)) return kBadParameterErr;
            if (!std::isfinite(tolerance) || tolerance < 0) return kBadParameterErr;
            if (!isFinitePoint(*point)) return kBadCoordinateErr;
            double reach = tolerance * self.pointsPerPixel();
            *hit = self.results_.add(self.linearScan_ ? self.hitTestLinear(art, *point, reach, request)
                                                      : self.hitTest(art, *point, reach, request));
            return kNoErr;
        });
    }

    static AIErr GetHitData(AIHitRef hit, AIToolHitData* data) noexcept {
        return guardedLookup(&HitTesting::results_, hit, [&](HitTesting&, const HitResult& found) {
            if (!data) return kBadParameterErr;
            *data = found.data;
            return kNoErr;
        });
    }

    static ASInt32 GetType(AIHitRef hit) noexcept {
        return guardedValue<HitTesting>(ASInt32{kNothingHitType}, [&](HitTesting& self) -> ASInt32 {
            const HitResult* found = self.results_.find(hit);
            return found ? found->type : kNothingHitType;
        });
    }

    static AIErr Release(AIHitRef hit) noexcept {
        return guardedCall<HitTesting>(
            [&](HitTesting& self) { return self.results_.erase(hit) ? kNoErr : kBadHandleErr; });
    }

    // The snap radius is in pixels of the host's one view, whichever view is named.
    static AIErr Track(AIDocumentViewHandle, AIRealPoint srcPoint, const AIEvent*, const char* control,
                       AIRealPoint* dstPoint) noexcept {
        return guardedCall<HitTesting>([&](HitTesting& self) {
            if (!control || !dstPoint) return kBadParameterErr;
            *dstPoint = srcPoint;
            if (!isFinitePoint(srcPoint)) return kBadCoordinateErr;
            if (std::strcmp(control, HitTesting::kCrossingSnap) == 0)
                if (std::optional<AIRealPoint> crossing =
                        self.nearestCrossing(srcPoint, HitTesting::kSnapRadius * self.pointsPerPixel()))
                    *dstPoint = *crossing;
            return kNoErr;
        });
    }
};

void HitTesting::registerSuites(SuiteRegistry& registry) {
    using F = HitTestingSuiteFunctions;
    static const AIHitTestSuite hitTest = {&F::HitTestEx, &F::GetHitData, &F::GetType, &F::Release};
    static const AICursorSnapSuite cursorSnap = {&F::Track};
    Active::set(this);
    registry.add(kAIHitTestSuite, kAIHitTestSuiteVersion, &hitTest);
    registry.add(kAICursorSnapSuite, kAICursorSnapSuiteVersion, &cursorSnap);
}

}  // namespace host
