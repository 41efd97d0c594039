#include "host/document/Document.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <new>
#include <numeric>
#include <stdexcept>

#include <2geom/bezier-curve.h>
#include <2geom/exception.h>
#include <2geom/path.h>
#include <2geom/pathvector.h>
#include <2geom/sbasis-to-bezier.h>
#include <2geom/svg-path-parser.h>

#include "PathShapes.h"
#include "host/platform/JsonNumbers.h"

namespace host {

namespace {

/// Room left between paint-order keys, so that art placed between two others rarely renumbers a layer.
constexpr std::int64_t kOrderGap = std::int64_t{1} << 16;

/// Largest distance, in document points, between an arc of path data and the cubic pieces that replace it,
/// for curves small enough that floats hold their points to better than this.
constexpr double kCurveTolerance = 0.01;

bool isFinitePoint(AIRealPoint point) {
    return std::isfinite(point.h) && std::isfinite(point.v);
}

AIRealPoint toPoint(const Geom::Point& point) {
    return {static_cast<AIReal>(point[Geom::X]), static_cast<AIReal>(point[Geom::Y])};
}

/// Ends the shape's last anchor with the out control point and adds the next anchor.
void appendPiece(PathShape& shape, const Geom::Point& out, const Geom::Point& in, const Geom::Point& end) {
    shape.segments.back().out = toPoint(out);
    AIPathSegment next = anchorAt(toPoint(end));
    next.in = toPoint(in);
    shape.segments.push_back(next);
}

void appendCurve(PathShape& shape, const Geom::Curve& curve) {
    if (const auto* line = dynamic_cast<const Geom::LineSegment*>(&curve)) {
        appendPiece(shape, line->initialPoint(), line->finalPoint(), line->finalPoint());
    } else if (const auto* cubic = dynamic_cast<const Geom::CubicBezier*>(&curve)) {
        appendPiece(shape, (*cubic)[1], (*cubic)[2], (*cubic)[3]);
    } else {
        Geom::D2<Geom::SBasis> function = curve.toSBasis();
        Geom::OptRect box = Geom::bounds_fast(function);
        double size = box ? std::max({std::fabs(box->left()), std::fabs(box->right()), std::fabs(box->top()),
                                      std::fabs(box->bottom())})
                          : 0;
        // Beyond the float range the anchors could not hold the curve; the conversion needs finite numbers.
        if (!function.isFinite() || !box || !(size <= std::numeric_limits<AIReal>::max()))
            throw std::invalid_argument("a coordinate is not a finite number");
        // The anchors are floats: no closer than their resolution at the curve's size, which also bounds
        // the number of pieces however large the curve (at 0.01 an arc of radius 1e30 needs some 400,000).
        double tolerance = std::max(kCurveTolerance, size * std::numeric_limits<AIReal>::epsilon());
        for (const Geom::Curve& piece : Geom::path_from_sbasis(function, tolerance, true)) {
            const auto& bezier = dynamic_cast<const Geom::BezierCurve&>(piece);
            Geom::Point from = bezier.initialPoint(), to = bezier.finalPoint();
            appendPiece(shape, bezier.order() > 1 ? bezier[1] : from, bezier.order() > 1 ? bezier[2] : to, to);
        }
    }
}

void checkShape(const PathShape& shape) {
    if (shape.segments.size() > kMaxSegmentCount)
        throw std::invalid_argument("a path holds at most " + std::to_string(kMaxSegmentCount) + " anchors");
    for (const AIPathSegment& segment : shape.segments) {
        if (!isFinite(segment)) throw std::invalid_argument("a coordinate is not a finite number");
        // What is held must open again once saved.
        if (!isWithinLimits(segment))
            throw std::invalid_argument("a coordinate is beyond " + std::to_string(static_cast<long>(kMaxCoordinate)) +
                                        " points");
    }
}

std::vector<PathShape> shapesFromSvg(const std::string& data) {
    if (!pathDataNumbersInRange(data.c_str()))
        throw std::invalid_argument("the SVG path data \"" + data + "\" holds numbers beyond any coordinate");
    Geom::PathVector paths;
    try {
        paths = Geom::parse_svg_path(data.c_str());
    } catch (const Geom::SVGPathParseError&) {
        throw std::invalid_argument("malformed SVG path data \"" + data + "\"");
    }
    if (paths.empty()) throw std::invalid_argument("the SVG path data \"" + data + "\" holds no subpath");
    return shapesFromPaths(paths);
}

}  // namespace

bool pathDataNumbersInRange(const char* data) {
    for (const char* at = data; *at != '\0';) {
        const bool digit = std::isdigit(static_cast<unsigned char>(*at)) != 0 || *at == '.';
        const bool signedDigit =
            (*at == '-' || *at == '+') && (std::isdigit(static_cast<unsigned char>(at[1])) != 0 || at[1] == '.');
        char* end = nullptr;
        // Only the magnitude matters, so a locale's decimal comma does no harm: the fraction is read apart.
        const double value = digit || signedDigit ? std::strtod(at, &end) : 0;
        if (end == nullptr || end == at) {
            ++at;
            continue;
        }
        if (!(std::fabs(value) <= kMaxPathDataNumber)) return false;
        at = end;
    }
    return true;
}

std::vector<PathShape> shapesFromPaths(const Geom::PathVector& paths) {
    std::vector<PathShape> shapes;
    for (const Geom::Path& path : paths) {
        PathShape shape;
        shape.closed = path.closed();
        shape.segments.push_back(anchorAt(toPoint(path.initialPoint())));
        for (auto curve = path.begin(); curve != path.end_open(); ++curve) appendCurve(shape, *curve);
        // A closed subpath whose last piece comes back to its start: that end is the first anchor.
        auto& anchors = shape.segments;
        if (shape.closed && anchors.size() > 1 && anchors.back().p.h == anchors.front().p.h &&
            anchors.back().p.v == anchors.front().p.v) {
            anchors.front().in = anchors.back().in;
            anchors.pop_back();
        }
        checkShape(shape);
        shapes.push_back(std::move(shape));
    }
    return shapes;
}

namespace {

nlohmann::json jsonPoint(AIRealPoint point) {
    return {jsonNumber(point.h), jsonNumber(point.v)};
}

}  // namespace

std::size_t pieceCount(const PathShape& shape) {
    std::size_t anchors = shape.segments.size();
    if (anchors == 0) return 0;
    return shape.closed ? anchors : anchors - 1;
}

AIRealBezier pieceBezier(const PathShape& shape, std::size_t piece) {
    const AIPathSegment& from = shape.segments.at(piece);
    const AIPathSegment& to = shape.segments.at((piece + 1) % shape.segments.size());
    return {from.p, from.out, to.in, to.p};
}

bool isFinite(const AIPathSegment& segment) {
    return isFinitePoint(segment.p) && isFinitePoint(segment.in) && isFinitePoint(segment.out);
}

bool isWithinLimits(const AIPathSegment& segment) {
    const auto within = [](AIRealPoint point) {
        return std::fabs(point.h) <= kMaxCoordinate && std::fabs(point.v) <= kMaxCoordinate;
    };
    return within(segment.p) && within(segment.in) && within(segment.out);
}

// ---- the C++ interface -------------------------------------------------------

Document::Document() {
    current_ = addLayer(kFirstLayerName);
}

void Document::clear() {
    std::vector<AIArtHandle> all;
    forEachArt([&](AIArtHandle art, const Art&) { all.push_back(art); });
    for (AIArtHandle art : all) remove(art);
    layers_.clear();
    layerOrder_.clear();
    page_ = {};
    setFile(nullptr);
    current_ = addLayer(kFirstLayerName);
}

std::optional<std::string> Document::refusalOf(AILayerHandle layer) const {
    const Layer* found = layers_.find(layer);
    if (!found || !(found->locked || found->hidden)) return std::nullopt;
    return "The layer \"" + found->name + "\" is " + (found->locked ? "locked" : "hidden") +
           ": nothing can be drawn in it. " + (found->locked ? "Unlock" : "Show") + " it, or draw in another layer.";
}

Document::~Document() {
    ActivePiece<Document>::clear(this);
}

AILayerHandle Document::addLayer(std::string name, AIRGBColor color) {
    AILayerHandle layer = layers_.add({std::move(name), color, {}});
    layerOrder_.insert(layerOrder_.begin(), layer);
    ++revision_;
    ++appearanceRevision_;
    ++layersRevision_;
    return layer;
}

AILayerHandle Document::addLayerAboveCurrent(std::string name) {
    AILayerHandle layer = addLayer(std::move(name));
    // The current layer moved down by one: taking the new one out and putting it at its place leaves it above.
    moveLayer(layer, layerPosition(current_) - 1);
    setCurrentLayer(layer);
    return layer;
}

void Document::setCurrentLayer(AILayerHandle layer) {
    const Layer* found = layers_.find(layer);
    if (!found || !found->attached) throw std::invalid_argument("no such layer in the document");
    if (current_ != layer) ++layersRevision_;
    current_ = layer;
}

void Document::setLayerColor(AILayerHandle layer, AIRGBColor color) {
    layerToChange(layer).color = color;
    ++appearanceRevision_;
}

Document::Layer& Document::layerToChange(AILayerHandle layer) {
    Layer* found = layers_.find(layer);
    if (!found || !found->attached) throw std::invalid_argument("no such layer in the document");
    ++revision_;
    ++layersRevision_;
    return *found;
}

std::size_t Document::layerPosition(AILayerHandle layer) const {
    auto at = std::find(layerOrder_.begin(), layerOrder_.end(), layer);
    if (at == layerOrder_.end()) throw std::invalid_argument("no such layer in the document");
    return static_cast<std::size_t>(at - layerOrder_.begin());
}

void Document::deleteLayer(AILayerHandle layer) {
    std::size_t position = layerPosition(layer);
    if (layerOrder_.size() == 1) throw std::invalid_argument("the document keeps at least one layer");
    Layer& found = layerToChange(layer);
    while (!found.art.empty()) remove(found.art.begin()->second);
    found.attached = false;
    layerOrder_.erase(layerOrder_.begin() + static_cast<std::ptrdiff_t>(position));
    if (current_ == layer) current_ = layerOrder_[std::min(position, layerOrder_.size() - 1)];
    ++appearanceRevision_;
}

void Document::moveLayer(AILayerHandle layer, std::size_t position) {
    std::size_t from = layerPosition(layer);
    if (position >= layerOrder_.size()) throw std::invalid_argument("no such place among the layers");
    if (from == position) return;
    layerToChange(layer);
    layerOrder_.erase(layerOrder_.begin() + static_cast<std::ptrdiff_t>(from));
    layerOrder_.insert(layerOrder_.begin() + static_cast<std::ptrdiff_t>(position), layer);
    ++appearanceRevision_;
}

Document::LayerSet Document::layerSet() const {
    LayerSet set{{}, current_};
    set.layers.reserve(layerOrder_.size());
    for (AILayerHandle handle : layerOrder_) {
        const Layer& layer = *layers_.find(handle);
        set.layers.push_back({handle, layer.name, layer.locked, layer.hidden});
    }
    return set;
}

void Document::restoreLayers(const LayerSet& set) {
    std::unordered_set<AILayerHandle> kept;
    for (const LayerState& state : set.layers) {
        if (!layers_.find(state.layer)) throw std::logic_error("a layer to restore is not the document's");
        kept.insert(state.layer);
    }
    if (kept.empty() || !kept.contains(set.current))
        throw std::logic_error("layers to restore without the current one");
    for (AILayerHandle handle : layerOrder_)
        if (!kept.contains(handle) && !layers_.find(handle)->art.empty())
            throw std::logic_error("a layer to take out still holds art");
    for (AILayerHandle handle : layerOrder_) layers_.find(handle)->attached = false;
    layerOrder_.clear();
    for (const LayerState& state : set.layers) {
        Layer& layer = *layers_.find(state.layer);
        layer.name = state.name;
        layer.locked = state.locked;
        layer.hidden = state.hidden;
        layer.attached = true;
        layerOrder_.push_back(state.layer);
    }
    current_ = set.current;
    ++revision_;
    ++appearanceRevision_;
    ++layersRevision_;
}

void Document::setLayerName(AILayerHandle layer, std::string name) {
    layerToChange(layer).name = std::move(name);
}

void Document::setLayerLocked(AILayerHandle layer, bool locked) {
    // Locking changes what can be hit, not how the art looks.
    layerToChange(layer).locked = locked;
}

void Document::setLayerHidden(AILayerHandle layer, bool hidden) {
    layerToChange(layer).hidden = hidden;
    ++appearanceRevision_;
}

void Document::setLayerElement(AILayerHandle layer, std::uint32_t element) {
    layerToChange(layer).element = element;
}

ASInt32 Document::userAttributes(const Art& art) const {
    const Layer& layer = *layers_.find(art.layer);
    return ownAttributes(art) | (layer.locked ? kArtLocked : 0) | (layer.hidden ? kArtHidden : 0);
}

ASInt32 Document::ownAttributes(const Art& art) {
    return art.attributes | (art.link.instance ? kArtLocked : 0);
}

bool Document::hitTestable(const Art& art) const {
    // An instance's lock is not among the attributes it was given, so a tool that locks the art to leave it
    // out of a hit test still can.
    const Layer& layer = *layers_.find(art.layer);
    return !layer.locked && !layer.hidden && (art.attributes & (kArtLocked | kArtHidden)) == 0;
}

AIArtHandle Document::addPath(PathShape shape) {
    checkShape(shape);
    Place place{};
    if (placement(kPlaceAboveAll, nullptr, place) == kLayerRefusesArtErr)
        throw std::invalid_argument(*refusalOf(current_));
    return insert({place.layer, place.order, std::move(shape), 0, {}});
}

AIArtHandle Document::insertPath(AILayerHandle layer, AIArtHandle below, PathShape shape, ASInt32 attributes,
                                 FileLink link) {
    checkShape(shape);
    Layer* found = layers_.find(layer);
    if (!found || !found->attached) throw std::invalid_argument("no such layer in the document");
    std::int64_t order = 0;
    if (below) {
        const Art* reference = art_.find(below);
        if (!reference || reference->layer != layer) throw std::invalid_argument("no such art in the layer");
        auto above = std::next(found->art.find(reference->order));
        order = keyBetween(*found, below, above == found->art.end() ? nullptr : above->second);
    } else if (!found->art.empty()) {
        order = keyBetween(*found, nullptr, found->art.begin()->second);
    }
    return insert({layer, order, std::move(shape), attributes & kKnownUserAttributes, link});
}

std::vector<AIArtHandle> Document::addSvgPath(const std::string& data) {
    std::vector<AIArtHandle> added;
    for (PathShape& shape : shapesFromSvg(data)) added.push_back(addPath(std::move(shape)));
    return added;
}

AIArtHandle Document::artAt(long index) const {
    const auto& paint = layers_.find(current_)->art;
    long count = static_cast<long>(paint.size());
    if (index < 0) index += count;
    if (index < 0 || index >= count) return nullptr;
    // From the nearer end: the top of a large layer is reached at once.
    if (index >= count / 2) return std::prev(paint.end(), count - index)->second;
    return std::next(paint.begin(), index)->second;
}

AIArtHandle Document::artBelow(AIArtHandle art) const {
    const Art* found = art_.find(art);
    if (!found) throw std::invalid_argument("no such art in the document");
    const auto& paint = layers_.find(found->layer)->art;
    auto at = paint.find(found->order);
    return at == paint.begin() ? nullptr : std::prev(at)->second;
}

void Document::setLocked(AIArtHandle art, bool locked) {
    Art* found = art_.find(art);
    if (!found) throw std::invalid_argument("no such art in the document");
    found->attributes = locked ? (found->attributes | kArtLocked) : (found->attributes & ~kArtLocked);
    changed(art, Change::edited, false);
}

void Document::setShape(AIArtHandle art, PathShape shape) {
    Art* found = art_.find(art);
    if (!found) throw std::invalid_argument("no such art in the document");
    checkShape(shape);
    found->shape = std::move(shape);
    changed(art, Change::edited);
}

void Document::setSelected(AIArtHandle art, bool selected) {
    Art* found = art_.find(art);
    if (!found) throw std::invalid_argument("no such art in the document");
    found->attributes = selected ? (found->attributes | kArtSelected) : (found->attributes & ~kArtSelected);
    changed(art, Change::edited);
}

void Document::translateArt(const std::vector<AIArtHandle>& art, AIReal dh, AIReal dv) {
    // All moved and checked before any changes: a move that fails moves nothing.
    std::vector<std::pair<Art*, PathShape>> moved;
    moved.reserve(art.size());
    for (AIArtHandle handle : art) {
        Art* found = art_.find(handle);
        if (!found) throw std::invalid_argument("no such art in the document");
        PathShape shape = found->shape;
        for (AIPathSegment& segment : shape.segments)
            for (AIRealPoint* point : {&segment.p, &segment.in, &segment.out}) {
                point->h += dh;
                point->v += dv;
            }
        checkShape(shape);
        moved.emplace_back(found, std::move(shape));
    }
    for (std::size_t i = 0; i < art.size(); ++i) {
        moved[i].first->shape = std::move(moved[i].second);
        changed(art[i], Change::edited);
    }
}

void Document::disposeArt(AIArtHandle art) {
    if (!art_.find(art)) throw std::invalid_argument("no such art in the document");
    remove(art);
}

PaintRank Document::paintRank(AIArtHandle art) const {
    const Art* found = art_.find(art);
    if (!found) throw std::invalid_argument("no such art in the document");
    std::size_t fromTop = 0;
    while (layerOrder_[fromTop] != found->layer) ++fromTop;
    return {layerOrder_.size() - 1 - fromTop, found->order};
}

void Document::forEachArt(const std::function<void(AIArtHandle, const Art&)>& visit) const {
    for (auto layer = layerOrder_.rbegin(); layer != layerOrder_.rend(); ++layer)
        for (const auto& [order, art] : layers_.find(*layer)->art) visit(art, *art_.find(art));
}

int Document::addObserver(Observer observer) {
    observers_.emplace(++lastObserver_, std::move(observer));
    return lastObserver_;
}

void Document::removeObserver(int id) {
    observers_.erase(id);
}

nlohmann::json Document::dump() const {
    nlohmann::json layers = nlohmann::json::array();
    for (AILayerHandle handle : layerOrder_) {
        const Layer& layer = *layers_.find(handle);
        nlohmann::json art = nlohmann::json::array();
        for (const auto& [order, artHandle] : layer.art) {
            const Art& item = *art_.find(artHandle);
            nlohmann::json segments = nlohmann::json::array();
            for (const AIPathSegment& segment : item.shape.segments)
                segments.push_back({{"p", jsonPoint(segment.p)},
                                    {"in", jsonPoint(segment.in)},
                                    {"out", jsonPoint(segment.out)},
                                    {"corner", segment.corner != 0}});
            art.push_back({{"type", "path"},
                           {"closed", item.shape.closed},
                           {"locked", (ownAttributes(item) & kArtLocked) != 0},
                           {"hidden", (item.attributes & kArtHidden) != 0},
                           {"segments", std::move(segments)}});
        }
        layers.push_back({{"name", layer.name},
                          {"color", {layer.color.red, layer.color.green, layer.color.blue}},
                          {"locked", layer.locked},
                          {"hidden", layer.hidden},
                          {"art", std::move(art)}});
    }
    auto current = std::find(layerOrder_.begin(), layerOrder_.end(), current_);
    return {{"layers", std::move(layers)}, {"current", current - layerOrder_.begin()}};
}

AIErr Document::placement(ASInt16 paintOrder, AIArtHandle prep, Place& place) {
    const Art* reference = nullptr;
    if (prep && !(reference = art_.find(prep))) return kBadHandleErr;
    const bool relative = paintOrder == kPlaceAbove || paintOrder == kPlaceBelow;
    // The inside placements need group art, which this document does not hold.
    if (!relative && paintOrder != kPlaceAboveAll && paintOrder != kPlaceBelowAll) return kBadParameterErr;
    if (relative && !reference) return kBadParameterErr;
    place.layer = reference ? reference->layer : current_;
    if (std::optional<std::string> refusal = refusalOf(place.layer)) {
        if (refusalObserver_) refusalObserver_(*refusal);
        return kLayerRefusesArtErr;
    }
    Layer& layer = *layers_.find(place.layer);
    if (!relative) {
        if (layer.art.empty())
            place.order = 0;
        else if (paintOrder == kPlaceAboveAll)
            place.order = keyBetween(layer, layer.art.rbegin()->second, nullptr);
        else
            place.order = keyBetween(layer, nullptr, layer.art.begin()->second);
    } else {
        auto at = layer.art.find(reference->order);
        if (paintOrder == kPlaceAbove) {
            auto above = std::next(at);
            place.order = keyBetween(layer, prep, above == layer.art.end() ? nullptr : above->second);
        } else {
            place.order = keyBetween(layer, at == layer.art.begin() ? nullptr : std::prev(at)->second, prep);
        }
    }
    return kNoErr;
}

std::int64_t Document::keyBetween(Layer& layer, AIArtHandle lower, AIArtHandle upper) {
    if (!upper) return art_.find(lower)->order + kOrderGap;
    if (!lower) return art_.find(upper)->order - kOrderGap;
    if (art_.find(upper)->order - art_.find(lower)->order < 2) {
        std::map<std::int64_t, AIArtHandle> renumbered;
        std::int64_t key = 0;
        for (const auto& [order, art] : layer.art) {
            art_.find(art)->order = key;
            renumbered.emplace(key, art);
            key += kOrderGap;
        }
        layer.art = std::move(renumbered);
    }
    return std::midpoint(art_.find(lower)->order, art_.find(upper)->order);
}

AIArtHandle Document::insert(Art art) {
    Layer& layer = *layers_.find(art.layer);
    std::int64_t order = art.order;
    AIArtHandle handle = art_.add(std::move(art));
    layer.art.emplace(order, handle);
    changed(handle, Change::added);
    return handle;
}

void Document::remove(AIArtHandle art) {
    const Art& item = *art_.find(art);
    layers_.find(item.layer)->art.erase(item.order);
    art_.erase(art);
    changed(art, Change::removed);
}

void Document::changed(AIArtHandle art, Change change, bool painted) {
    if (change != Change::removed && (art_.find(art)->attributes & kArtSelected))
        selected_.insert(art);
    else
        selected_.erase(art);
    ++revision_;
    if (painted) ++appearanceRevision_;
    for (const auto& [id, observer] : observers_) observer(art, change);
}

}  // namespace host
