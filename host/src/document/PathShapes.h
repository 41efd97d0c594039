// lib2geom paths as the document's shapes, shared by the document's path data and the SVG files.
#pragma once

#include <vector>

#include <2geom/pathvector.h>

#include "host/document/Document.h"

namespace host {

/// A corner anchor whose control points are the anchor.
inline AIPathSegment anchorAt(AIRealPoint point) {
    return {point, point, point, true};
}

/// One shape per path. Lines give anchors whose control points are the anchor; quadratic curves and
/// arcs become cubic. Throws std::invalid_argument for a coordinate beyond the 32-bit float range or
/// more than kMaxSegmentCount anchors.
std::vector<PathShape> shapesFromPaths(const Geom::PathVector& paths);

}  // namespace host
