#include "Selection.h"

#include <limits>

namespace workbench {

namespace {

bool takeable(const host::Document& document, const host::Document::Art& art) {
    return (document.userAttributes(art) & (kArtLocked | kArtHidden)) == 0;
}

bool inside(const host::Bounds& art, const host::Bounds& box) {
    return art.left >= box.left && art.right <= box.right && art.bottom >= box.bottom && art.top <= box.top;
}

host::Bounds around(AIRealPoint point, double tolerance) {
    return {point.h - tolerance, point.v - tolerance, point.h + tolerance, point.v + tolerance};
}

/// The anchor nearest to point within tolerance among the art the filter lets through.
template <typename Filter>
std::optional<AIRealPoint> nearestAnchorOf(host::Host& host, AIRealPoint point, double tolerance, Filter keep) {
    const host::Document& document = host.document();
    std::optional<AIRealPoint> nearest;
    double distance = std::numeric_limits<double>::infinity();
    for (AIArtHandle handle : host.hitTesting().artWithin(around(point, tolerance))) {
        const host::Document::Art* art = document.findArt(handle);
        if (!art || !keep(handle, *art)) continue;
        std::optional<host::AnchorNear> found = host::nearestAnchor(art->shape, point, tolerance);
        if (found && found->distance < distance) {
            distance = found->distance;
            nearest = found->point;
        }
    }
    return nearest;
}

}  // namespace

std::vector<AIArtHandle> artInside(host::Host& host, const host::Bounds& box) {
    const host::Document& document = host.document();
    std::vector<AIArtHandle> found;
    for (AIArtHandle handle : host.hitTesting().artWithin(box)) {
        const host::Document::Art* art = document.findArt(handle);
        if (!art || !takeable(document, *art)) continue;
        std::optional<host::Bounds> bounds = host::controlBounds(art->shape);
        if (bounds && inside(*bounds, box)) found.push_back(handle);
    }
    return found;
}

void selectArt(host::Host& host, const std::vector<AIArtHandle>& art, bool adding) {
    const host::Document& document = host.document();
    std::vector<AIArtHandle> deselect;
    if (!adding) {
        const std::unordered_set<AIArtHandle> wanted(art.begin(), art.end());
        for (AIArtHandle each : document.selectedArt())
            if (!wanted.contains(each)) deselect.push_back(each);
    }
    std::vector<AIArtHandle> select;
    for (AIArtHandle each : art)
        if (!document.selectedArt().contains(each)) select.push_back(each);
    // Only what changes is touched: an unchanged selection is no step of the history.
    if (deselect.empty() && select.empty()) return;
    host.edit([&](host::Document& changed) {
        for (AIArtHandle each : deselect) changed.setSelected(each, false);
        for (AIArtHandle each : select) changed.setSelected(each, true);
    });
}

std::string selectionPlaces(const host::Document& document, std::size_t& outside) {
    std::string places;
    std::size_t place = 0, written = 0;
    const auto& selected = document.selectedArt();
    for (const auto& [order, art] : document.findLayer(document.currentLayer())->art) {
        if (selected.contains(art)) {
            places += " " + std::to_string(place);
            ++written;
        }
        ++place;
    }
    outside = selected.size() - written;
    return places;
}

void moveSelection(host::Host& host, SessionRecorder* recorder, AIReal dh, AIReal dv) {
    const host::Document& document = host.document();
    if (document.selectedArt().empty() || (dh == 0 && dv == 0)) return;
    if (recorder) {
        std::size_t outside = 0;
        std::string places = selectionPlaces(document, outside);
        if (!places.empty())
            recorder->add("move-art " + SessionRecorder::number(dh) + " " + SessionRecorder::number(dv) + places);
        if (outside > 0) recorder->add("# not played back: a move of art outside the current layer");
    }
    host.views().invalidate();
    host.edit([&](host::Document& changed) {
        changed.translateArt({changed.selectedArt().begin(), changed.selectedArt().end()}, dh, dv);
    });
}

std::optional<AIRealPoint> anchorToSnapTo(host::Host& host, AIRealPoint point, double tolerance) {
    const host::Document& document = host.document();
    return nearestAnchorOf(host, point, tolerance, [&](AIArtHandle handle, const host::Document::Art& art) {
        return !document.selectedArt().contains(handle) && takeable(document, art);
    });
}

std::optional<AIRealPoint> selectedAnchorNear(host::Host& host, AIRealPoint point, double tolerance) {
    const host::Document& document = host.document();
    return nearestAnchorOf(host, point, tolerance, [&](AIArtHandle handle, const host::Document::Art&) {
        return document.selectedArt().contains(handle);
    });
}

}  // namespace workbench
