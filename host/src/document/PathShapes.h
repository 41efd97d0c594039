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

/// The largest number path data may hold. Beyond it a sum of relative coordinates or an arc's radii squared
/// twice can overflow, lib2geom's pieces stop joining, and its parser throws, losing the piece it made. It is
/// far beyond what a float coordinate holds, so nothing the document could keep is refused.
inline constexpr double kMaxPathDataNumber = 1e75;

/// Whether every number in the path data lies within kMaxPathDataNumber; checked before lib2geom parses it.
bool pathDataNumbersInRange(const char* data);

/// One shape per path. Lines give anchors whose control points are the anchor; quadratic curves and
/// arcs become cubic. Throws std::invalid_argument for a coordinate beyond the 32-bit float range or
/// more than kMaxSegmentCount anchors.
std::vector<PathShape> shapesFromPaths(const Geom::PathVector& paths);

}  // namespace host
