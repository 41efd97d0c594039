#include "document/svg/Shapes.h"

namespace host::svg {

namespace {

/// A quarter of a circle of radius 1 as a cubic: control points this far along the tangents.
constexpr double kKappa = 0.5522847498307936;

}  // namespace

Geom::Path polygonPath(const std::vector<Geom::Point>& points, bool closed) {
    Geom::Path path(points.front());
    for (std::size_t i = 1; i < points.size(); ++i) path.appendNew<Geom::LineSegment>(points[i]);
    path.close(closed);
    return path;
}

Geom::Path ellipsePath(double cx, double cy, double rx, double ry) {
    double kx = rx * kKappa, ky = ry * kKappa;
    Geom::Path path(Geom::Point(cx + rx, cy));
    path.appendNew<Geom::CubicBezier>(Geom::Point(cx + rx, cy + ky), Geom::Point(cx + kx, cy + ry),
                                      Geom::Point(cx, cy + ry));
    path.appendNew<Geom::CubicBezier>(Geom::Point(cx - kx, cy + ry), Geom::Point(cx - rx, cy + ky),
                                      Geom::Point(cx - rx, cy));
    path.appendNew<Geom::CubicBezier>(Geom::Point(cx - rx, cy - ky), Geom::Point(cx - kx, cy - ry),
                                      Geom::Point(cx, cy - ry));
    path.appendNew<Geom::CubicBezier>(Geom::Point(cx + kx, cy - ry), Geom::Point(cx + rx, cy - ky),
                                      Geom::Point(cx + rx, cy));
    path.close(true);
    return path;
}

Geom::Path rectPath(double x, double y, double w, double h, double rx, double ry) {
    if (rx <= 0 || ry <= 0) return polygonPath({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, true);
    double kx = rx * kKappa, ky = ry * kKappa;
    Geom::Path path(Geom::Point(x + rx, y));
    path.appendNew<Geom::LineSegment>(Geom::Point(x + w - rx, y));
    path.appendNew<Geom::CubicBezier>(Geom::Point(x + w - rx + kx, y), Geom::Point(x + w, y + ry - ky),
                                      Geom::Point(x + w, y + ry));
    path.appendNew<Geom::LineSegment>(Geom::Point(x + w, y + h - ry));
    path.appendNew<Geom::CubicBezier>(Geom::Point(x + w, y + h - ry + ky), Geom::Point(x + w - rx + kx, y + h),
                                      Geom::Point(x + w - rx, y + h));
    path.appendNew<Geom::LineSegment>(Geom::Point(x + rx, y + h));
    path.appendNew<Geom::CubicBezier>(Geom::Point(x + rx - kx, y + h), Geom::Point(x, y + h - ry + ky),
                                      Geom::Point(x, y + h - ry));
    path.appendNew<Geom::LineSegment>(Geom::Point(x, y + ry));
    path.appendNew<Geom::CubicBezier>(Geom::Point(x, y + ry - ky), Geom::Point(x + rx - kx, y), Geom::Point(x + rx, y));
    path.close(true);
    return path;
}

}  // namespace host::svg
