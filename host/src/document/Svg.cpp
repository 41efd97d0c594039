#include "host/document/Svg.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <numbers>
#include <optional>
#include <sstream>
#include <stdexcept>

#include <2geom/affine.h>
#include <2geom/bezier-curve.h>
#include <2geom/elliptical-arc.h>
#include <2geom/exception.h>
#include <2geom/path.h>
#include <2geom/pathvector.h>
#include <2geom/sbasis-curve.h>
#include <2geom/svg-path-parser.h>
#include <2geom/transforms.h>
#include <pugixml.hpp>

#include "PathShapes.h"
#include "host/platform/AtomicFile.h"

namespace host {

namespace {

/// A problem of the file's content; importSvgText adds the file's name.
struct Bad : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// A quarter of a circle of radius 1 as a cubic: control points this far along the tangents.
constexpr double kKappa = 0.5522847498307936;

/// SVG's y axis points down, the artwork's v axis up.
const Geom::Affine kFlip(1, 0, 0, -1, 0, 0);

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

/// Reads numbers separated by blanks and/or one comma, as SVG writes them.
class Numbers {
public:
    Numbers(std::string_view text, std::string what) : text_(text), what_(std::move(what)) {}

    bool atEnd() {
        skip();
        return pos_ >= text_.size();
    }
    std::string_view rest() const { return text_.substr(pos_); }

    /// The next number, or nullopt when the text does not go on with one.
    std::optional<double> next() {
        skip();
        std::size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '+') ++pos_;
        double value = 0;
        auto [end, error] = std::from_chars(text_.data() + pos_, text_.data() + text_.size(), value);
        if (end == text_.data() + pos_) {
            pos_ = start;
            return std::nullopt;
        }
        std::string_view number = text_.substr(start, static_cast<std::size_t>(end - (text_.data() + start)));
        // from_chars takes "inf" and "nan"; SVG has neither.
        if (error != std::errc() || !std::isfinite(value) || number.find_first_of("iInN") != std::string_view::npos)
            throw Bad(what_ + ": \"" + std::string(number) + "\" is not a finite number");
        pos_ = static_cast<std::size_t>(end - text_.data());
        return value;
    }

    double required() {
        std::optional<double> value = next();
        if (!value) throw Bad(what_ + ": a number is missing in \"" + std::string(text_) + "\"");
        return *value;
    }

    void skip() {
        while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
        if (pos_ < text_.size() && text_[pos_] == ',') ++pos_;
        while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
    }
    void skipSpace() {
        while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
    }
    bool take(char c) {
        skipSpace();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    std::string_view word() {
        skipSpace();
        std::size_t start = pos_;
        while (pos_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[pos_]))) ++pos_;
        return text_.substr(start, pos_ - start);
    }

private:
    std::string_view text_;
    std::string what_;
    std::size_t pos_ = 0;
};

/// The element's name without its namespace prefix.
std::string_view localName(const pugi::xml_node& node) {
    std::string_view name = node.name();
    std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::string describe(const pugi::xml_node& node) {
    return "<" + std::string(node.name()) + "> at offset " + std::to_string(node.offset_debug());
}

/// Artwork points per CSS px: user units are px, 96 to the inch, where points are 72.
constexpr double kPointsPerPx = 0.75;

/// The absolute units of lengths, in points each.
struct Unit {
    std::string_view name;
    double points;
};
constexpr Unit kUnits[] = {{"", kPointsPerPx}, {"px", kPointsPerPx}, {"pt", 1},         {"pc", 12},
                           {"in", 72},         {"mm", 72 / 25.4},    {"cm", 72 / 2.54}, {"q", 72 / 101.6}};

bool sameLetters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

/// A length as written: a number of a unit (points each), or a percentage.
struct Length {
    double number;
    double points;  ///< per unit; 0 for a percentage
    bool percent() const { return points == 0; }
    /// In user units (px); a plain number or one in px stays exactly as written.
    double userUnits() const { return points == kPointsPerPx ? number : number * points / kPointsPerPx; }
};

Length parseLength(const char* text, const std::string& what) {
    Numbers numbers(text, what);
    double number = numbers.required();
    numbers.skipSpace();
    std::string_view unit = numbers.rest();
    while (!unit.empty() && isSpace(unit.back())) unit.remove_suffix(1);
    if (unit == "%") return {number, 0};
    for (const Unit& known : kUnits) {
        if (!sameLetters(unit, known.name)) continue;
        if (!std::isfinite(number * known.points)) throw Bad(what + ": \"" + text + "\" is not a finite length");
        return {number, known.points};
    }
    if (sameLetters(unit, "em") || sameLetters(unit, "ex"))
        throw Bad(what + ": \"" + std::string(text) + "\" depends on a font size, which is not known here");
    throw Bad(what + ": the unit of \"" + std::string(text) + "\" is not known");
}

/// The size that percentages of a viewport refer to, in its user units; unknown when the drawing gives none.
struct Viewport {
    std::optional<double> width, height;
};

/// What a percentage of a length is a percentage of.
enum class Axis { horizontal, vertical, diagonal };

std::optional<double> reference(const Viewport& viewport, Axis axis) {
    switch (axis) {
        case Axis::horizontal:
            return viewport.width;
        case Axis::vertical:
            return viewport.height;
        case Axis::diagonal:
            if (!viewport.width || !viewport.height) return std::nullopt;
            return std::hypot(*viewport.width, *viewport.height) / std::numbers::sqrt2;
    }
    return std::nullopt;
}

/// A viewport's width or height of "auto" is as if absent.
bool isAuto(const pugi::xml_attribute& attribute) {
    std::string_view value = attribute.value();
    while (!value.empty() && isSpace(value.front())) value.remove_prefix(1);
    while (!value.empty() && isSpace(value.back())) value.remove_suffix(1);
    return value == "auto";
}

/// A length attribute in user units; nullopt when absent.
std::optional<double> optionalLength(const pugi::xml_node& node, const char* name, Axis axis,
                                     const Viewport& viewport) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) return std::nullopt;
    std::string what = describe(node) + ", attribute " + name;
    Length value = parseLength(attribute.value(), what);
    if (!value.percent()) return value.userUnits();
    std::optional<double> whole = reference(viewport, axis);
    if (!whole)
        throw Bad(what + ": \"" + attribute.value() +
                  "\" is a percentage of a size the drawing does not give (no viewBox, width or height)");
    return value.number / 100 * *whole;
}

double length(const pugi::xml_node& node, const char* name, double fallback, Axis axis, const Viewport& viewport) {
    return optionalLength(node, name, axis, viewport).value_or(fallback);
}

struct ViewBox {
    double x, y, width, height;
    bool empty() const { return width == 0 || height == 0; }
};

std::optional<ViewBox> parseViewBox(const pugi::xml_node& node) {
    pugi::xml_attribute attribute = node.attribute("viewBox");
    if (!attribute) return std::nullopt;
    std::string what = describe(node) + ", viewBox \"" + attribute.value() + "\"";
    Numbers numbers(attribute.value(), what);
    ViewBox box{numbers.required(), numbers.required(), numbers.required(), numbers.required()};
    if (!numbers.atEnd()) throw Bad(what + ": more than four numbers");
    if (box.width < 0 || box.height < 0) throw Bad(what + ": a negative width or height");
    return box;
}

/// preserveAspectRatio: where a viewBox sits in a viewport of another shape, and at which scale.
struct AspectRatio {
    bool none = false;  ///< stretch each way on its own
    int alignX = 1;     ///< 0 min, 1 mid, 2 max
    int alignY = 1;
    bool slice = false;  ///< cover the viewport rather than fit in it
};

AspectRatio parseAspectRatio(const pugi::xml_node& node) {
    AspectRatio aspect;
    pugi::xml_attribute attribute = node.attribute("preserveAspectRatio");
    if (!attribute) return aspect;
    std::string what = describe(node) + ", preserveAspectRatio \"" + attribute.value() + "\"";
    Numbers words(attribute.value(), what);
    std::string_view align = words.word();
    if (align == "defer") align = words.word();
    auto position = [&](std::string_view word) {
        if (word == "Min") return 0;
        if (word == "Mid") return 1;
        if (word == "Max") return 2;
        throw Bad(what + ": unknown alignment");
    };
    if (align == "none") {
        aspect.none = true;
    } else if (align.size() == 8 && align[0] == 'x' && align[4] == 'Y') {
        aspect.alignX = position(align.substr(1, 3));
        aspect.alignY = position(align.substr(5, 3));
    } else {
        throw Bad(what + ": unknown alignment");
    }
    std::string_view fit = words.word();
    if (fit == "slice")
        aspect.slice = true;
    else if (!fit.empty() && fit != "meet")
        throw Bad(what + ": \"" + std::string(fit) + "\" is neither meet nor slice");
    if (!words.atEnd()) throw Bad(what + ": malformed");
    return aspect;
}

/// The viewBox mapped onto the viewport (x, y, width, height) as preserveAspectRatio asks.
Geom::Affine viewBoxTransform(const ViewBox& box, const AspectRatio& aspect, double x, double y, double width,
                              double height) {
    double sx = width / box.width, sy = height / box.height;
    if (!aspect.none) sx = sy = aspect.slice ? std::max(sx, sy) : std::min(sx, sy);
    double tx = x - box.x * sx + (width - box.width * sx) * aspect.alignX / 2;
    double ty = y - box.y * sy + (height - box.height * sy) * aspect.alignY / 2;
    return Geom::Affine(sx, 0, 0, sy, tx, ty);
}

void checkTransform(const Geom::Affine& transform, const std::string& what) {
    for (int i = 0; i < 6; ++i)
        if (!std::isfinite(transform[i])) throw Bad(what + ": not a finite transform");
}

/// The outermost svg's width or height in points; nullopt when absent or a percentage, which has nothing to
/// be a percentage of.
std::optional<double> rootSide(const pugi::xml_node& root, const char* name) {
    pugi::xml_attribute attribute = root.attribute(name);
    if (!attribute || isAuto(attribute)) return std::nullopt;
    Length side = parseLength(attribute.value(), describe(root) + ", attribute " + name);
    if (side.percent()) return std::nullopt;
    if (side.number < 0) throw Bad(describe(root) + ": negative " + name);
    return side.number * side.points;
}

/// Points per user unit of the outermost svg, each way; sets the viewport its percentages refer to.
/// The page's place (the viewBox's corner, the alignment) is left out: see Svg.h.
Geom::Affine rootScale(const pugi::xml_node& root, Viewport& viewport) {
    std::optional<double> width = rootSide(root, "width"), height = rootSide(root, "height");
    const std::string nothing = ": nothing would be drawn (a width, height or viewBox of 0)";
    if (width == 0.0 || height == 0.0) throw Bad(describe(root) + nothing);
    std::optional<ViewBox> box = parseViewBox(root);
    if (!box) {
        if (width) viewport.width = *width / kPointsPerPx;
        if (height) viewport.height = *height / kPointsPerPx;
        return Geom::Scale(kPointsPerPx);
    }
    if (box->empty()) throw Bad(describe(root) + nothing);
    viewport = {box->width, box->height};
    // A missing side follows the viewBox's shape; with neither, one user unit is one px.
    if (!width && !height) {
        width = box->width * kPointsPerPx;
        height = box->height * kPointsPerPx;
    } else if (!width) {
        width = *height * (box->width / box->height);
    } else if (!height) {
        height = *width * (box->height / box->width);
    }
    Geom::Affine map = viewBoxTransform(*box, parseAspectRatio(root), 0, 0, *width, *height);
    Geom::Affine scale = Geom::Scale(map[0], map[3]);
    checkTransform(scale, describe(root) + ", its size and viewBox");
    if (scale[0] == 0 || scale[3] == 0) throw Bad(describe(root) + nothing);
    return scale;
}

/// The display property says none, as an attribute or in the style (which wins).
bool displayNone(const pugi::xml_node& node) {
    auto trimmed = [](std::string_view text) {
        while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
        while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
        return text;
    };
    std::string_view display = trimmed(node.attribute("display").value());
    std::string_view style = node.attribute("style").value();
    while (!style.empty()) {
        std::size_t end = std::min(style.find(';'), style.size());
        std::string_view declaration = style.substr(0, end);
        style.remove_prefix(std::min(end + 1, style.size()));
        std::size_t colon = declaration.find(':');
        if (colon != std::string_view::npos && trimmed(declaration.substr(0, colon)) == "display")
            display = trimmed(declaration.substr(colon + 1));
    }
    return display.substr(0, 4) == "none";
}

Geom::Affine parseTransform(const pugi::xml_node& node) {
    pugi::xml_attribute attribute = node.attribute("transform");
    Geom::Affine total = Geom::identity();
    if (!attribute) return total;
    std::string what = describe(node) + ", transform \"" + attribute.value() + "\"";
    Numbers in(attribute.value(), what);
    constexpr double kDegree = std::numbers::pi / 180;
    while (!in.atEnd()) {
        std::string name(in.word());
        if (name.empty() || !in.take('(')) throw Bad(what + ": malformed");
        std::vector<double> args;
        while (std::optional<double> value = in.next()) args.push_back(*value);
        if (!in.take(')')) throw Bad(what + ": malformed");
        auto count = [&](std::initializer_list<std::size_t> allowed) {
            for (std::size_t n : allowed)
                if (args.size() == n) return;
            throw Bad(what + ": wrong number of values for " + name);
        };
        Geom::Affine item;
        if (name == "matrix") {
            count({6});
            item = Geom::Affine(args[0], args[1], args[2], args[3], args[4], args[5]);
        } else if (name == "translate") {
            count({1, 2});
            item = Geom::Affine(1, 0, 0, 1, args[0], args.size() > 1 ? args[1] : 0);
        } else if (name == "scale") {
            count({1, 2});
            item = Geom::Affine(args[0], 0, 0, args.size() > 1 ? args[1] : args[0], 0, 0);
        } else if (name == "rotate") {
            count({1, 3});
            double c = std::cos(args[0] * kDegree), s = std::sin(args[0] * kDegree);
            double cx = args.size() > 1 ? args[1] : 0, cy = args.size() > 1 ? args[2] : 0;
            // About (cx, cy): translate(cx cy) rotate(a) translate(-cx -cy).
            item =
                Geom::Affine(1, 0, 0, 1, -cx, -cy) * Geom::Affine(c, s, -s, c, 0, 0) * Geom::Affine(1, 0, 0, 1, cx, cy);
        } else if (name == "skewX") {
            count({1});
            item = Geom::Affine(1, 0, std::tan(args[0] * kDegree), 1, 0, 0);
        } else if (name == "skewY") {
            count({1});
            item = Geom::Affine(1, std::tan(args[0] * kDegree), 0, 1, 0, 0);
        } else {
            throw Bad(what + ": unknown transform \"" + name + "\"");
        }
        // "A B" applies B first; a 2geom product applies its left factor first.
        total = item * total;
    }
    checkTransform(total, what);
    return total;
}

Geom::Path polygonPath(const std::vector<Geom::Point>& points, bool closed) {
    Geom::Path path(points.front());
    for (std::size_t i = 1; i < points.size(); ++i) path.appendNew<Geom::LineSegment>(points[i]);
    path.close(closed);
    return path;
}

/// An ellipse as four cubic quarters, starting at its rightmost point.
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

/// A size that must not be negative; zero (nothing drawn) answers false.
bool positive(double value, const pugi::xml_node& node, const char* name) {
    if (value < 0) throw Bad(describe(node) + ": negative " + name);
    return value > 0;
}

/// The element's geometry in its own coordinates; empty when it draws nothing.
Geom::PathVector geometryOf(const pugi::xml_node& node, std::string_view kind, const Viewport& viewport) {
    constexpr Axis kX = Axis::horizontal, kY = Axis::vertical;
    Geom::PathVector paths;
    if (kind == "path") {
        const char* data = node.attribute("d").value();
        if (!pathDataNumbersInRange(data)) throw Bad(describe(node) + ": path data with numbers beyond any coordinate");
        try {
            paths = Geom::parse_svg_path(data);
        } catch (const Geom::SVGPathParseError&) {
            throw Bad(describe(node) + ": malformed path data");
        }
        // An empty subpath ("M 0 0" alone) draws nothing; a lone anchor is kept all the same.
    } else if (kind == "line") {
        paths.push_back(polygonPath({{length(node, "x1", 0, kX, viewport), length(node, "y1", 0, kY, viewport)},
                                     {length(node, "x2", 0, kX, viewport), length(node, "y2", 0, kY, viewport)}},
                                    false));
    } else if (kind == "polyline" || kind == "polygon") {
        std::string what = describe(node) + ", attribute points";
        Numbers numbers(node.attribute("points").value(), what);
        std::vector<Geom::Point> points;
        while (std::optional<double> x = numbers.next()) {
            std::optional<double> y = numbers.next();
            if (!y) throw Bad(what + ": an odd number of coordinates");
            points.emplace_back(*x, *y);
            if (points.size() > kMaxSegmentCount)
                throw Bad(what + ": more than " + std::to_string(kMaxSegmentCount) + " points");
        }
        if (!numbers.atEnd())
            throw Bad(what + ": \"" + std::string(numbers.rest().substr(0, 20)) + "\" is not a number");
        if (!points.empty()) paths.push_back(polygonPath(points, kind == "polygon"));
    } else if (kind == "rect") {
        double x = length(node, "x", 0, kX, viewport), y = length(node, "y", 0, kY, viewport);
        double w = length(node, "width", 0, kX, viewport), h = length(node, "height", 0, kY, viewport);
        bool hasRx = node.attribute("rx"), hasRy = node.attribute("ry");
        double rx = length(node, "rx", 0, kX, viewport), ry = length(node, "ry", 0, kY, viewport);
        if (rx < 0 || ry < 0) throw Bad(describe(node) + ": negative corner radius");
        if (!hasRy) ry = rx;
        if (!hasRx) rx = ry;
        // Both sizes are checked, so that a negative one is reported even beside a zero one.
        bool wide = positive(w, node, "width"), high = positive(h, node, "height");
        if (wide && high) paths.push_back(rectPath(x, y, w, h, std::min(rx, w / 2), std::min(ry, h / 2)));
    } else if (kind == "circle") {
        double r = length(node, "r", 0, Axis::diagonal, viewport);
        if (positive(r, node, "radius"))
            paths.push_back(
                ellipsePath(length(node, "cx", 0, kX, viewport), length(node, "cy", 0, kY, viewport), r, r));
    } else if (kind == "ellipse") {
        double rx = length(node, "rx", 0, kX, viewport), ry = length(node, "ry", 0, kY, viewport);
        bool wide = positive(rx, node, "rx"), high = positive(ry, node, "ry");
        if (wide && high)
            paths.push_back(
                ellipsePath(length(node, "cx", 0, kX, viewport), length(node, "cy", 0, kY, viewport), rx, ry));
    }
    return paths;
}

/// The paths under the transform. 2geom transforms an elliptical arc by working out its ellipse again,
/// which fails for a very thin one (radii some 1e8 apart); such an arc is transformed as the polynomial
/// curve that the import turns every arc into anyway, with its ends exactly those of the arc.
Geom::PathVector transformed(Geom::PathVector paths, const Geom::Affine& transform) {
    for (Geom::Path& path : paths) {
        try {
            path = path * transform;
            continue;
        } catch (const Geom::Exception&) {
        }
        for (std::size_t i = 0; i < path.size_open(); ++i) {
            if (!dynamic_cast<const Geom::EllipticalArc*>(&path[i])) continue;
            Geom::D2<Geom::SBasis> curve = path[i].toSBasis();
            for (Geom::Dim2 d : {Geom::X, Geom::Y}) {
                curve[d][0][0] = path[i].initialPoint()[d];
                curve[d][0][1] = path[i].finalPoint()[d];
            }
            path.replace(path.begin() + static_cast<std::ptrdiff_t>(i), Geom::SBasisCurve(curve));
        }
        path *= transform;
    }
    return paths;
}

bool fits(double value) {
    return std::isfinite(value) && std::fabs(value) <= kMaxSvgCoordinate;
}

void checkCoordinates(const Geom::PathVector& paths, const pugi::xml_node& node) {
    for (const Geom::Path& path : paths) {
        for (const Geom::Curve& curve : path) {
            Geom::Rect box = curve.boundsFast();
            if (!fits(curve.initialPoint()[Geom::X]) || !fits(curve.initialPoint()[Geom::Y]) ||
                !fits(curve.finalPoint()[Geom::X]) || !fits(curve.finalPoint()[Geom::Y]) || !fits(box.left()) ||
                !fits(box.right()) || !fits(box.top()) || !fits(box.bottom()))
                throw Bad(describe(node) + ": a coordinate is not finite or beyond " +
                          std::to_string(static_cast<long>(kMaxSvgCoordinate)) + " points");
        }
        if (!fits(path.initialPoint()[Geom::X]) || !fits(path.initialPoint()[Geom::Y]))
            throw Bad(describe(node) + ": a coordinate is not finite");
    }
}

constexpr const char* kInkscapeNamespace = "http://www.inkscape.org/namespaces/inkscape";
constexpr const char* kSodipodiNamespace = "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";

/// The prefix the root binds to the namespace, or the one editors use.
std::string prefixFor(const pugi::xml_node& root, const char* uri, const char* usual) {
    for (pugi::xml_attribute attribute : root.attributes()) {
        std::string_view name = attribute.name();
        if (name.starts_with("xmlns:") && std::strcmp(attribute.value(), uri) == 0) return std::string(name.substr(6));
    }
    return usual;
}

/// A layer's name goes into the document's dumps, which are UTF-8.
bool isUtf8(const std::string& text) {
    try {
        (void)nlohmann::json(text).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

class Reader {
public:
    explicit Reader(const pugi::xml_node& root)
        : groupmode_(prefixFor(root, kInkscapeNamespace, "inkscape") + ":groupmode"),
          label_(prefixFor(root, kInkscapeNamespace, "inkscape") + ":label"),
          currentLayer_(prefixFor(root, kInkscapeNamespace, "inkscape") + ":current-layer"),
          insensitive_(prefixFor(root, kSodipodiNamespace, "sodipodi") + ":insensitive"),
          namedview_(prefixFor(root, kSodipodiNamespace, "sodipodi") + ":namedview") {}

    SvgDrawing drawing;

    void readRoot(const pugi::xml_node& root) {
        Viewport viewport;
        Geom::Affine scale = rootScale(root, viewport);
        // The root's own transform acts on its viewport, in px: its shift is scaled to points.
        Geom::Affine transform = parseTransform(root);
        transform[4] *= kPointsPerPx;
        transform[5] *= kPointsPerPx;
        visit(root, scale * transform * kFlip, viewport, 0, SvgDrawing::kNoLayer, 0);
        for (pugi::xml_node view : root.children(namedview_.c_str())) {
            std::string_view current = view.attribute(currentLayer_.c_str()).value();
            for (std::size_t i = 0; i < layerIds_.size() && !current.empty(); ++i)
                if (layerIds_[i] == current) {
                    drawing.currentLayer = i;
                    break;
                }
        }
    }

private:
    /// Own user attributes: sodipodi:insensitive locks, display:none hides.
    ASInt32 attributesOf(const pugi::xml_node& node) const {
        std::string_view insensitive = node.attribute(insensitive_.c_str()).value();
        bool locked = !insensitive.empty() && insensitive != "false" && insensitive != "0";
        return (locked ? kArtLocked : 0) | (displayNone(node) ? kArtHidden : 0);
    }

    std::size_t addLayer(const pugi::xml_node& group) {
        if (drawing.layers.size() == kMaxSvgLayers) throw Bad("more than " + std::to_string(kMaxSvgLayers) + " layers");
        std::string id = group.attribute("id").value();
        std::string name = group.attribute(label_.c_str()).value();
        if (name.empty()) name = id;
        if (name.empty()) name = "Layer " + std::to_string(drawing.layers.size() + 1);
        if (!isUtf8(name)) throw Bad(describe(group) + ": the layer's name is not UTF-8");
        ASInt32 states = attributesOf(group);
        drawing.layers.push_back({std::move(name), (states & kArtLocked) != 0, (states & kArtHidden) != 0});
        layerIds_.push_back(std::move(id));
        return drawing.layers.size() - 1;
    }

    /// A nested svg's content: its viewport's mapping and size; false when it draws nothing.
    static bool nestedViewport(const pugi::xml_node& node, const Viewport& outer, Geom::Affine& map, Viewport& inner) {
        double x = length(node, "x", 0, Axis::horizontal, outer), y = length(node, "y", 0, Axis::vertical, outer);
        std::optional<double> width, height;
        if (!isAuto(node.attribute("width"))) width = optionalLength(node, "width", Axis::horizontal, outer);
        if (!isAuto(node.attribute("height"))) height = optionalLength(node, "height", Axis::vertical, outer);
        // Absent or auto, they are 100% of the viewport around.
        if (!width) width = outer.width;
        if (!height) height = outer.height;
        if ((width && *width < 0) || (height && *height < 0))
            throw Bad(describe(node) + ": a negative width or height");
        if (width == 0.0 || height == 0.0) return false;
        std::optional<ViewBox> box = parseViewBox(node);
        if (!box) {
            map = Geom::Translate(x, y);
            inner = {width, height};
            return true;
        }
        if (box->empty()) return false;
        if (!width || !height)
            throw Bad(describe(node) +
                      ": its viewBox needs a width and height, which are percentages of a size the "
                      "drawing does not give");
        map = viewBoxTransform(*box, parseAspectRatio(node), x, y, *width, *height);
        checkTransform(map, describe(node) + ", its viewport and viewBox");
        inner = {box->width, box->height};
        return true;
    }

    void visit(const pugi::xml_node& node, const Geom::Affine& parent, const Viewport& viewport, ASInt32 inherited,
               std::size_t layer, int depth) {
        if (depth > kMaxSvgDepth) throw Bad("elements nested more than " + std::to_string(kMaxSvgDepth) + " deep");
        for (pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element) continue;
            std::string_view kind = localName(child);
            bool group = kind == "g" || kind == "a" || kind == "switch";
            bool shape = kind == "path" || kind == "line" || kind == "polyline" || kind == "polygon" ||
                         kind == "rect" || kind == "circle" || kind == "ellipse";
            if (!group && !shape && kind != "svg") continue;
            Geom::Affine transform = parseTransform(child) * parent;
            if (depth == 0 && kind == "g" && std::string_view(child.attribute(groupmode_.c_str()).value()) == "layer") {
                // The layer's own states are the layer's, not its art's.
                visit(child, transform, viewport, 0, addLayer(child), depth + 1);
                continue;
            }
            ASInt32 attributes = inherited | attributesOf(child);
            if (kind == "svg") {
                Geom::Affine map;
                Viewport inner;
                if (nestedViewport(child, viewport, map, inner))
                    visit(child, map * transform, inner, attributes, layer, depth + 1);
                continue;
            }
            if (group) {
                visit(child, transform, viewport, attributes, layer, depth + 1);
                continue;
            }
            Geom::PathVector paths = transformed(geometryOf(child, kind, viewport), transform);
            checkCoordinates(paths, child);
            std::vector<PathShape> found;
            try {
                found = shapesFromPaths(paths);
            } catch (const std::invalid_argument& error) {
                throw Bad(describe(child) + ": " + error.what());
            }
            if (drawing.art.size() + found.size() > kMaxSvgShapes)
                throw Bad("more than " + std::to_string(kMaxSvgShapes) + " paths");
            for (PathShape& path : found) drawing.art.push_back({std::move(path), attributes, layer});
        }
    }

    std::string groupmode_, label_, currentLayer_, insensitive_, namedview_;
    std::vector<std::string> layerIds_;  ///< beside drawing.layers
};

/// The shortest text that reads back to the same float. The import reads a number as a double and rounds
/// that to a float, which for a rare text (7.038531e-26) lands on the next float: then the text is the
/// double's shortest, which is the float's value exactly.
std::string numberText(AIReal value) {
    if (value == 0) value = 0;  // no "-0"
    char buffer[32];
    std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
    double read = 0;
    std::from_chars(buffer, written.ptr, read);
    if (written.ec == std::errc() && static_cast<AIReal>(read) != value)
        written = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value));
    return std::string(buffer, written.ec == std::errc() ? written.ptr : buffer);
}

std::string pointText(AIRealPoint point) {
    return numberText(point.h) + "," + numberText(-point.v);
}

bool samePoint(AIRealPoint a, AIRealPoint b) {
    return a.h == b.h && a.v == b.v;
}

bool straight(const AIPathSegment& a, const AIPathSegment& b) {
    return samePoint(a.out, a.p) && samePoint(b.in, b.p);
}

void appendCurve(std::string& data, const AIPathSegment& a, const AIPathSegment& b) {
    data += " C" + pointText(a.out) + " " + pointText(b.in) + " " + pointText(b.p);
}

/// The piece from a to b: a line when neither has a control point off its anchor.
void appendPiece(std::string& data, const AIPathSegment& a, const AIPathSegment& b) {
    if (straight(a, b))
        data += " L" + pointText(b.p);
    else
        appendCurve(data, a, b);
}

std::string pathData(const PathShape& shape) {
    const auto& anchors = shape.segments;
    std::string data = "M" + pointText(anchors.front().p);
    for (std::size_t i = 1; i < anchors.size(); ++i) appendPiece(data, anchors[i - 1], anchors[i]);
    if (shape.closed) {
        const AIPathSegment &last = anchors.back(), &first = anchors.front();
        // A straight closing piece is the one Z draws by itself. But when the last anchor lies on the first,
        // a reader takes the piece that ends there for the closing one and the path loses that anchor: the
        // closing piece is then written out as a curve, which keeps it.
        bool endsOnStart = anchors.size() > 1 && samePoint(last.p, first.p);
        if (!straight(last, first) || endsOnStart) appendCurve(data, last, first);
        data += " Z";
    }
    return data;
}

}  // namespace

SvgDrawing importSvgText(std::string_view text, const std::string& name) {
    try {
        if (text.size() > kMaxSvgFileBytes) throw Bad("larger than " + std::to_string(kMaxSvgFileBytes >> 20) + " MiB");
        pugi::xml_document document;
        pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size(), pugi::parse_default);
        if (!parsed)
            throw Bad(std::string("not XML: ") + parsed.description() + " at offset " + std::to_string(parsed.offset));
        pugi::xml_node root = document.document_element();
        if (!root || localName(root) != "svg") throw Bad("no svg root element");
        Reader reader(root);
        reader.readRoot(root);
        return std::move(reader.drawing);
    } catch (const Bad& error) {
        throw SvgError("cannot open " + name + ": " + error.what());
    }
}

SvgDrawing importSvg(const std::filesystem::path& file) {
    std::string name = file.string();
    std::error_code error;
    auto size = std::filesystem::file_size(file, error);
    if (error) throw SvgError("cannot open " + name + ": " + error.message());
    if (size > kMaxSvgFileBytes)
        throw SvgError("cannot open " + name + ": larger than " + std::to_string(kMaxSvgFileBytes >> 20) + " MiB");
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) throw SvgError("cannot open " + name + ": " + std::strerror(errno));
    if (in.bad()) throw SvgError("cannot open " + name + ": read error");
    return importSvgText(text, name);
}

void placeDrawing(Document& document, SvgDrawing drawing) {
    std::vector<AIArtHandle> old;
    document.forEachArt([&](AIArtHandle art, const Document::Art&) { old.push_back(art); });
    for (AIArtHandle art : old) document.disposeArt(art);

    // The document's layers are reused rather than replaced: undoing the opening puts art back in them.
    std::vector<AILayerHandle> layers;
    std::size_t existing = document.layerCount();
    for (std::size_t i = 0; i < drawing.layers.size(); ++i) {
        const SvgDrawing::Layer& from = drawing.layers[i];
        AILayerHandle layer = i < existing ? document.layerAt(existing - 1 - i) : document.addLayer(from.name);
        document.setLayerName(layer, from.name);
        document.setLayerLocked(layer, from.locked);
        document.setLayerHidden(layer, from.hidden);
        layers.push_back(layer);
    }
    if (drawing.currentLayer) document.setCurrentLayer(layers.at(*drawing.currentLayer));

    // Each art goes on top of its layer: the last one placed there.
    std::map<AILayerHandle, AIArtHandle> top;
    for (SvgDrawing::Art& art : drawing.art) {
        AILayerHandle layer = art.layer == SvgDrawing::kNoLayer ? document.currentLayer() : layers.at(art.layer);
        AIArtHandle& below = top[layer];
        below = document.insertPath(layer, below, std::move(art.shape), art.attributes);
    }
}

std::string exportSvg(const Document& document) {
    pugi::xml_document out;
    pugi::xml_node declaration = out.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node svg = out.append_child("svg");
    svg.append_attribute("xmlns") = "http://www.w3.org/2000/svg";
    svg.append_attribute("xmlns:inkscape") = kInkscapeNamespace;
    svg.append_attribute("xmlns:sodipodi") = kSodipodiNamespace;
    svg.append_attribute("version") = "1.1";
    pugi::xml_attribute width = svg.append_attribute("width");
    pugi::xml_attribute height = svg.append_attribute("height");
    pugi::xml_attribute viewBox = svg.append_attribute("viewBox");
    pugi::xml_node view = svg.append_child("sodipodi:namedview");
    view.append_attribute("id") = "namedview";
    pugi::xml_attribute current = view.append_attribute("inkscape:current-layer");

    // Every anchor and control point, in SVG's coordinates.
    constexpr double kNone = std::numeric_limits<double>::infinity();
    Geom::Point least(kNone, kNone), most(-kNone, -kNone);
    // Bottom first; layerAt counts from the top.
    for (std::size_t n = document.layerCount(); n-- > 0;) {
        AILayerHandle handle = document.layerAt(n);
        const Document::Layer& layer = *document.findLayer(handle);
        std::string id = "layer" + std::to_string(document.layerCount() - n);
        if (handle == document.currentLayer()) current = id.c_str();
        pugi::xml_node group = svg.append_child("g");
        group.append_attribute("id") = id.c_str();
        group.append_attribute("inkscape:groupmode") = "layer";
        group.append_attribute("inkscape:label") = layer.name.c_str();
        if (layer.locked) group.append_attribute("sodipodi:insensitive") = "true";
        if (layer.hidden) group.append_attribute("style") = "display:none";
        for (const auto& [order, artHandle] : layer.art) {
            const Document::Art& art = *document.findArt(artHandle);
            if (art.shape.segments.empty()) continue;
            for (const AIPathSegment& segment : art.shape.segments)
                for (AIRealPoint point : {segment.p, segment.in, segment.out}) {
                    least = Geom::Point(std::min<double>(least[Geom::X], point.h),
                                        std::min<double>(least[Geom::Y], -point.v));
                    most = Geom::Point(std::max<double>(most[Geom::X], point.h),
                                       std::max<double>(most[Geom::Y], -point.v));
                }
            pugi::xml_node path = group.append_child("path");
            path.append_attribute("d") = pathData(art.shape).c_str();
            path.append_attribute("fill") = "none";
            path.append_attribute("stroke") = "#000000";
            path.append_attribute("stroke-width") = "1";
            if (art.attributes & kArtLocked) path.append_attribute("sodipodi:insensitive") = "true";
            if (art.attributes & kArtHidden) path.append_attribute("style") = "display:none";
        }
    }
    // A point of margin all round, so that the strokes are not cut. Width and height are in points, the
    // document's own unit, with one user unit to the point: the file opens again at the same coordinates.
    Geom::Rect box = least[Geom::X] <= most[Geom::X] ? Geom::Rect(least, most) : Geom::Rect(0, 0, 0, 0);
    box.expandBy(1);
    auto text = [](double value) { return numberText(static_cast<AIReal>(value)); };
    width = (text(box.width()) + "pt").c_str();
    height = (text(box.height()) + "pt").c_str();
    viewBox = (text(box.left()) + " " + text(box.top()) + " " + text(box.width()) + " " + text(box.height())).c_str();

    std::ostringstream stream;
    out.save(stream, "  ", pugi::format_default, pugi::encoding_utf8);
    return stream.str();
}

void saveSvg(const Document& document, const std::filesystem::path& file) {
    std::string text = exportSvg(document);
    try {
        detail::writeAtomically(file, text, "the SVG file");
    } catch (const StoreError& error) {
        throw SvgError(error.what());
    }
}

}  // namespace host
