// The basic shapes of SVG as lib2geom paths, in the user space of their element.
#pragma once

#include <vector>

#include <2geom/path.h>

namespace host::svg {

/// The points joined by straight pieces, closed or not.
Geom::Path polygonPath(const std::vector<Geom::Point>& points, bool closed);
/// An ellipse as four cubic quarters, starting at its rightmost point.
Geom::Path ellipsePath(double cx, double cy, double rx, double ry);
/// A rectangle, its corners rounded by radii rx and ry when both are positive, starting at the top left.
Geom::Path rectPath(double x, double y, double width, double height, double rx, double ry);

}  // namespace host::svg
