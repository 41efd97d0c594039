#include "host/Svg.h"

#include <charconv>
#include <cmath>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
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
#include <pugixml.hpp>

#include "PathShapes.h"
#include "host/PreferenceStore.h"

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

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

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

/// A length attribute in user units: a plain number or one in px; fallback when absent.
double length(const pugi::xml_node& node, const char* name, double fallback) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) return fallback;
    std::string what = describe(node) + ", attribute " + name;
    Numbers numbers(attribute.value(), what);
    double value = numbers.required();
    numbers.skipSpace();
    std::string_view unit = numbers.rest();
    while (!unit.empty() && isSpace(unit.back())) unit.remove_suffix(1);
    if (!unit.empty() && unit != "px")
        throw Bad(what + ": the unit of \"" + std::string(attribute.value()) + "\" is not supported (only px)");
    return value;
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
            item = Geom::Affine(1, 0, 0, 1, -cx, -cy) * Geom::Affine(c, s, -s, c, 0, 0) *
                   Geom::Affine(1, 0, 0, 1, cx, cy);
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
    for (int i = 0; i < 6; ++i)
        if (!std::isfinite(total[i])) throw Bad(what + ": not a finite transform");
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
    path.appendNew<Geom::CubicBezier>(Geom::Point(cx + rx, cy + ky), Geom::Point(cx + kx, cy + ry), Geom::Point(cx, cy + ry));
    path.appendNew<Geom::CubicBezier>(Geom::Point(cx - kx, cy + ry), Geom::Point(cx - rx, cy + ky), Geom::Point(cx - rx, cy));
    path.appendNew<Geom::CubicBezier>(Geom::Point(cx - rx, cy - ky), Geom::Point(cx - kx, cy - ry), Geom::Point(cx, cy - ry));
    path.appendNew<Geom::CubicBezier>(Geom::Point(cx + kx, cy - ry), Geom::Point(cx + rx, cy - ky), Geom::Point(cx + rx, cy));
    path.close(true);
    return path;
}

Geom::Path rectPath(double x, double y, double w, double h, double rx, double ry) {
    if (rx <= 0 || ry <= 0) return polygonPath({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}}, true);
    double kx = rx * kKappa, ky = ry * kKappa;
    Geom::Path path(Geom::Point(x + rx, y));
    path.appendNew<Geom::LineSegment>(Geom::Point(x + w - rx, y));
    path.appendNew<Geom::CubicBezier>(Geom::Point(x + w - rx + kx, y), Geom::Point(x + w, y + ry - ky), Geom::Point(x + w, y + ry));
    path.appendNew<Geom::LineSegment>(Geom::Point(x + w, y + h - ry));
    path.appendNew<Geom::CubicBezier>(Geom::Point(x + w, y + h - ry + ky), Geom::Point(x + w - rx + kx, y + h), Geom::Point(x + w - rx, y + h));
    path.appendNew<Geom::LineSegment>(Geom::Point(x + rx, y + h));
    path.appendNew<Geom::CubicBezier>(Geom::Point(x + rx - kx, y + h), Geom::Point(x, y + h - ry + ky), Geom::Point(x, y + h - ry));
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
Geom::PathVector geometryOf(const pugi::xml_node& node, std::string_view kind) {
    Geom::PathVector paths;
    if (kind == "path") {
        const char* data = node.attribute("d").value();
        try {
            paths = Geom::parse_svg_path(data);
        } catch (const Geom::SVGPathParseError&) {
            throw Bad(describe(node) + ": malformed path data");
        }
        // An empty subpath ("M 0 0" alone) draws nothing; a lone anchor is kept all the same.
    } else if (kind == "line") {
        paths.push_back(polygonPath({{length(node, "x1", 0), length(node, "y1", 0)},
                                     {length(node, "x2", 0), length(node, "y2", 0)}},
                                    false));
    } else if (kind == "polyline" || kind == "polygon") {
        std::string what = describe(node) + ", attribute points";
        Numbers numbers(node.attribute("points").value(), what);
        std::vector<Geom::Point> points;
        while (std::optional<double> x = numbers.next()) {
            std::optional<double> y = numbers.next();
            if (!y) throw Bad(what + ": an odd number of coordinates");
            points.emplace_back(*x, *y);
            if (points.size() > kMaxSegmentCount) throw Bad(what + ": more than " + std::to_string(kMaxSegmentCount) + " points");
        }
        if (!numbers.atEnd()) throw Bad(what + ": \"" + std::string(numbers.rest().substr(0, 20)) + "\" is not a number");
        if (!points.empty()) paths.push_back(polygonPath(points, kind == "polygon"));
    } else if (kind == "rect") {
        double x = length(node, "x", 0), y = length(node, "y", 0);
        double w = length(node, "width", 0), h = length(node, "height", 0);
        bool hasRx = node.attribute("rx"), hasRy = node.attribute("ry");
        double rx = length(node, "rx", 0), ry = length(node, "ry", 0);
        if (rx < 0 || ry < 0) throw Bad(describe(node) + ": negative corner radius");
        if (!hasRy) ry = rx;
        if (!hasRx) rx = ry;
        // Both sizes are checked, so that a negative one is reported even beside a zero one.
        bool wide = positive(w, node, "width"), high = positive(h, node, "height");
        if (wide && high)
            paths.push_back(rectPath(x, y, w, h, std::min(rx, w / 2), std::min(ry, h / 2)));
    } else if (kind == "circle") {
        double r = length(node, "r", 0);
        if (positive(r, node, "radius")) paths.push_back(ellipsePath(length(node, "cx", 0), length(node, "cy", 0), r, r));
    } else if (kind == "ellipse") {
        double rx = length(node, "rx", 0), ry = length(node, "ry", 0);
        bool wide = positive(rx, node, "rx"), high = positive(ry, node, "ry");
        if (wide && high)
            paths.push_back(ellipsePath(length(node, "cx", 0), length(node, "cy", 0), rx, ry));
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

bool fits(double value) { return std::isfinite(value) && std::fabs(value) <= kMaxSvgCoordinate; }

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

class Reader {
public:
    std::vector<PathShape> shapes;

    void visit(const pugi::xml_node& node, const Geom::Affine& parent, int depth) {
        if (depth > kMaxSvgDepth) throw Bad("elements nested more than " + std::to_string(kMaxSvgDepth) + " deep");
        for (pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element) continue;
            std::string_view kind = localName(child);
            bool group = kind == "g" || kind == "a" || kind == "switch" || kind == "svg";
            bool shape = kind == "path" || kind == "line" || kind == "polyline" || kind == "polygon" ||
                         kind == "rect" || kind == "circle" || kind == "ellipse";
            if (!group && !shape) continue;
            Geom::Affine transform = parseTransform(child) * parent;
            if (group) {
                visit(child, transform, depth + 1);
                continue;
            }
            Geom::PathVector paths = transformed(geometryOf(child, kind), transform);
            checkCoordinates(paths, child);
            std::vector<PathShape> found;
            try {
                found = shapesFromPaths(paths);
            } catch (const std::invalid_argument& error) {
                throw Bad(describe(child) + ": " + error.what());
            }
            if (shapes.size() + found.size() > kMaxSvgShapes)
                throw Bad("more than " + std::to_string(kMaxSvgShapes) + " paths");
            std::move(found.begin(), found.end(), std::back_inserter(shapes));
        }
    }
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

std::string pointText(AIRealPoint point) { return numberText(point.h) + "," + numberText(-point.v); }

bool samePoint(AIRealPoint a, AIRealPoint b) { return a.h == b.h && a.v == b.v; }

bool straight(const AIPathSegment& a, const AIPathSegment& b) { return samePoint(a.out, a.p) && samePoint(b.in, b.p); }

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

std::vector<PathShape> importSvgText(std::string_view text, const std::string& name) {
    try {
        if (text.size() > kMaxSvgFileBytes)
            throw Bad("larger than " + std::to_string(kMaxSvgFileBytes >> 20) + " MiB");
        pugi::xml_document document;
        pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size(), pugi::parse_default);
        if (!parsed)
            throw Bad(std::string("not XML: ") + parsed.description() + " at offset " + std::to_string(parsed.offset));
        pugi::xml_node root = document.document_element();
        if (!root || localName(root) != "svg") throw Bad("no svg root element");
        Reader reader;
        reader.visit(root, parseTransform(root) * kFlip, 0);
        return std::move(reader.shapes);
    } catch (const Bad& error) {
        throw SvgError("cannot open " + name + ": " + error.what());
    }
}

std::vector<PathShape> importSvg(const std::filesystem::path& file) {
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

std::string exportSvg(const Document& document) {
    pugi::xml_document out;
    pugi::xml_node declaration = out.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node svg = out.append_child("svg");
    svg.append_attribute("xmlns") = "http://www.w3.org/2000/svg";
    svg.append_attribute("version") = "1.1";
    pugi::xml_attribute width = svg.append_attribute("width");
    pugi::xml_attribute height = svg.append_attribute("height");
    pugi::xml_attribute viewBox = svg.append_attribute("viewBox");

    Geom::OptRect bounds;
    document.forEachArt([&](AIArtHandle, const Document::Art& art) {
        if (art.shape.segments.empty()) return;
        for (const AIPathSegment& segment : art.shape.segments)
            for (AIRealPoint point : {segment.p, segment.in, segment.out})
                bounds.unionWith(Geom::Rect(Geom::Point(point.h, -point.v), Geom::Point(point.h, -point.v)));
        pugi::xml_node path = svg.append_child("path");
        path.append_attribute("d") = pathData(art.shape).c_str();
        path.append_attribute("fill") = "none";
        path.append_attribute("stroke") = "#000000";
        path.append_attribute("stroke-width") = "1";
    });
    // A point of margin all round, so that the strokes are not cut.
    Geom::Rect box = bounds ? *bounds : Geom::Rect(0, 0, 0, 0);
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
