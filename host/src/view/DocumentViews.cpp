#include "host/view/DocumentViews.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "host/platform/Bundle.h"
#include "host/platform/JsonNumbers.h"

namespace host {

using Active = ActivePiece<DocumentViews>;

namespace {

ASInt16 toPixel(double coordinate) {
    return static_cast<ASInt16>(std::lround(std::clamp(coordinate, double{INT16_MIN}, double{INT16_MAX})));
}

bool fitsFloat(double value) {
    return std::isfinite(value) && std::fabs(value) <= FLT_MAX;
}

bool isFinite(AIRealPoint point) {
    return std::isfinite(point.h) && std::isfinite(point.v);
}

}  // namespace

DocumentViews::DocumentViews() : handle_(views_.add({})) {}

DocumentViews::~DocumentViews() {
    Active::clear(this);
}

void DocumentViews::registerSuites(SuiteRegistry& registry) {
    static const AIDocumentViewSuite suite = {&getNthDocumentView,      &getDocumentViewZoom,    &setDocumentViewZoom,
                                              &getDocumentViewCenter,   &setDocumentViewCenter,  &getDocumentViewBounds,
                                              &artworkPointToViewPoint, &viewPointToArtworkPoint};
    Active::set(this);
    registry.add(kAIDocumentViewSuite, kAIDocumentViewSuiteVersion, &suite);
}

void DocumentViews::setZoom(AIReal zoom) {
    if (!std::isfinite(zoom) || zoom <= 0.0f) throw HostError("the zoom must be a positive number");
    view().zoom = zoom;
    invalidate();
}

void DocumentViews::setCenter(AIRealPoint center) {
    if (!isFinite(center)) throw HostError("the view's centre must be a finite point");
    view().center = center;
    invalidate();
}

void DocumentViews::setSize(int width, int height) {
    if (width <= 0 || height <= 0 || width > INT16_MAX || height > INT16_MAX)
        throw HostError("the view's size must be from 1 to 32767 pixels each way");
    view().width = static_cast<ASInt16>(width);
    view().height = static_cast<ASInt16>(height);
    invalidate();
}

std::optional<AIPoint> DocumentViews::artworkToView(AIRealPoint point) const {
    if (!isFinite(point)) return std::nullopt;
    const View& shown = view();
    // In double: a far point must clamp, not overflow on the way.
    double h = (double{point.h} - shown.center.h) * shown.zoom + static_cast<double>(shown.width / 2);
    double v = (double{shown.center.v} - point.v) * shown.zoom + static_cast<double>(shown.height / 2);
    return AIPoint{toPixel(h), toPixel(v)};
}

std::optional<AIRealPoint> DocumentViews::viewToArtwork(AIPoint point) const {
    const View& shown = view();
    double h = (point.h - static_cast<double>(shown.width / 2)) / shown.zoom + shown.center.h;
    double v = shown.center.v - (point.v - static_cast<double>(shown.height / 2)) / shown.zoom;
    if (!fitsFloat(h) || !fitsFloat(v)) return std::nullopt;
    return AIRealPoint{static_cast<AIReal>(h), static_cast<AIReal>(v)};
}

void DocumentViews::validate() {
    View& shown = view();
    shown.invalid = false;
    ++shown.redraws;
}

void DocumentViews::dump(nlohmann::json& out) const {
    const View& shown = view();
    out["view"] = {{"zoom", jsonNumber(shown.zoom)},
                   {"center", {jsonNumber(shown.center.h), jsonNumber(shown.center.v)}},
                   {"bounds", {0, 0, shown.height, shown.width}},
                   {"redraws", shown.redraws}};
}

AIErr DocumentViews::getNthDocumentView(ASInt32 n, AIDocumentViewHandle* view) {
    if (!view) return kBadParameterErr;
    *view = nullptr;
    return guardedCall<DocumentViews>([&](DocumentViews& piece) {
        if (n != 0) return kOutOfRangeErr;
        *view = piece.handle_;
        return kNoErr;
    });
}

AIErr DocumentViews::getDocumentViewZoom(AIDocumentViewHandle view, AIReal* zoom) {
    if (!zoom) return kBadParameterErr;
    return guardedLookup(&DocumentViews::views_, view, [&](DocumentViews&, const View& found) {
        *zoom = found.zoom;
        return kNoErr;
    });
}

AIErr DocumentViews::setDocumentViewZoom(AIDocumentViewHandle view, AIReal zoom) {
    return guardedLookup(&DocumentViews::views_, view, [&](DocumentViews&, View& found) {
        if (!std::isfinite(zoom) || zoom <= 0.0f) return kOutOfRangeErr;
        found.zoom = zoom;
        found.invalid = true;
        return kNoErr;
    });
}

AIErr DocumentViews::getDocumentViewCenter(AIDocumentViewHandle view, AIRealPoint* center) {
    if (!center) return kBadParameterErr;
    return guardedLookup(&DocumentViews::views_, view, [&](DocumentViews&, const View& found) {
        *center = found.center;
        return kNoErr;
    });
}

AIErr DocumentViews::setDocumentViewCenter(AIDocumentViewHandle view, const AIRealPoint* center) {
    if (!center) return kBadParameterErr;
    return guardedLookup(&DocumentViews::views_, view, [&](DocumentViews&, View& found) {
        if (!isFinite(*center)) return kBadCoordinateErr;
        found.center = *center;
        found.invalid = true;
        return kNoErr;
    });
}

AIErr DocumentViews::getDocumentViewBounds(AIDocumentViewHandle view, AIRect* bounds) {
    if (!bounds) return kBadParameterErr;
    return guardedLookup(&DocumentViews::views_, view, [&](DocumentViews& piece, View&) {
        *bounds = piece.bounds();
        return kNoErr;
    });
}

AIErr DocumentViews::artworkPointToViewPoint(AIDocumentViewHandle view, const AIRealPoint* artworkPoint,
                                             AIPoint* viewPoint) {
    if (!artworkPoint || !viewPoint) return kBadParameterErr;
    return guardedLookup(&DocumentViews::views_, view, [&](DocumentViews& piece, View&) {
        std::optional<AIPoint> converted = piece.artworkToView(*artworkPoint);
        if (!converted) return kBadCoordinateErr;
        *viewPoint = *converted;
        return kNoErr;
    });
}

AIErr DocumentViews::viewPointToArtworkPoint(AIDocumentViewHandle view, const AIPoint* viewPoint,
                                             AIRealPoint* artworkPoint) {
    if (!viewPoint || !artworkPoint) return kBadParameterErr;
    return guardedLookup(&DocumentViews::views_, view, [&](DocumentViews& piece, View&) {
        std::optional<AIRealPoint> converted = piece.viewToArtwork(*viewPoint);
        if (!converted) return kOutOfRangeErr;
        *artworkPoint = *converted;
        return kNoErr;
    });
}

}  // namespace host
