// Reading an SVG file: the art and layers the host draws from it, the page, and the file kept whole.

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <unordered_map>

#include <2geom/elliptical-arc.h>
#include <2geom/exception.h>
#include <2geom/sbasis-curve.h>
#include <2geom/svg-path-parser.h>
#include <2geom/transforms.h>

#include "document/PathShapes.h"
#include "document/svg/Shapes.h"
#include "document/svg/SvgFile.h"
#include "document/svg/Units.h"
#include "host/document/Svg.h"

namespace host {

namespace {

using svg::Axis;
using svg::Length;
using svg::Unreadable;
using svg::Viewport;

/// A file beyond the limits, refused whole.
struct Refused : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// SVG's y axis points down, the artwork's v axis up.
const Geom::Affine kFlip(1, 0, 0, -1, 0, 0);

/// Instances drawn, all uses together, beyond which a file is refused: uses of uses multiply.
constexpr std::size_t kMaxSvgInstances = kMaxSvgShapes;

/// The display property says none, as an attribute or in the style (which wins).
bool displayNone(const pugi::xml_node& node) {
    std::string_view display = svg::trimmed(node.attribute("display").value());
    std::string_view style = node.attribute("style").value();
    while (!style.empty()) {
        std::size_t end = std::min(style.find(';'), style.size());
        std::string_view declaration = style.substr(0, end);
        style.remove_prefix(std::min(end + 1, style.size()));
        std::size_t colon = declaration.find(':');
        if (colon != std::string_view::npos && svg::trimmed(declaration.substr(0, colon)) == "display")
            display = svg::trimmed(declaration.substr(colon + 1));
    }
    return display.substr(0, 4) == "none";
}

/// A viewport's width or height of "auto" is as if absent.
bool isAuto(const pugi::xml_attribute& attribute) {
    return svg::trimmed(attribute.value()) == "auto";
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

bool fits(const Geom::Point& point) {
    return fits(point[Geom::X]) && fits(point[Geom::Y]);
}

void checkCoordinates(const Geom::PathVector& paths) {
    for (const Geom::Path& path : paths) {
        bool inside = fits(path.initialPoint());
        for (const Geom::Curve& curve : path) {
            Geom::Rect box = curve.boundsFast();
            inside =
                inside && fits(curve.initialPoint()) && fits(curve.finalPoint()) && fits(box.min()) && fits(box.max());
        }
        if (!inside)
            throw Unreadable("a coordinate is not finite or beyond " +
                             std::to_string(static_cast<long>(kMaxSvgCoordinate)) + " points");
    }
}

/// The path data up to the command holding its first error, as a renderer draws it; broken tells whether
/// there was one. A prefix that ends before a command parses when the whole one up to that command does, so
/// the longest that parses is found by halving.
Geom::PathVector drawnPathData(const char* data, bool& broken) {
    auto parse = [&](std::size_t length) { return Geom::parse_svg_path(std::string(data, length).c_str()); };
    std::string_view text(data);
    try {
        return parse(text.size());
    } catch (const Geom::SVGPathParseError&) {
        broken = true;
    }
    std::vector<std::size_t> commands{0};
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::isalpha(static_cast<unsigned char>(text[i])) && text[i] != 'e' && text[i] != 'E')
            commands.push_back(i);
    std::size_t good = 0, bad = commands.size();
    while (bad - good > 1) {
        std::size_t middle = (good + bad) / 2;
        try {
            parse(commands[middle]);
            good = middle;
        } catch (const Geom::SVGPathParseError&) {
            bad = middle;
        }
    }
    return parse(commands[good]);
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

/// The element's geometry in its own user space, with what a rect's corners were drawn with.
struct Geometry {
    Geom::PathVector paths;
    double cornerX = 0, cornerY = 0;
};

const std::map<std::string_view, SvgFile::Drawn::Kind> kShapes = {
    {"path", SvgFile::Drawn::Kind::path},         {"line", SvgFile::Drawn::Kind::line},
    {"polyline", SvgFile::Drawn::Kind::polyline}, {"polygon", SvgFile::Drawn::Kind::polygon},
    {"rect", SvgFile::Drawn::Kind::rect},         {"circle", SvgFile::Drawn::Kind::circle},
    {"ellipse", SvgFile::Drawn::Kind::ellipse}};

class Reader {
public:
    Reader(SvgFile& file, SvgDrawing& drawing)
        : file_(file),
          drawing_(drawing),
          elements_(elementsInOrder(file.xml.document_element())),
          groupmode_(file.inkscapePrefix + ":groupmode"),
          label_(file.inkscapePrefix + ":label"),
          currentLayer_(file.inkscapePrefix + ":current-layer"),
          insensitive_(file.sodipodiPrefix + ":insensitive"),
          namedview_(file.sodipodiPrefix + ":namedview") {
        for (std::size_t i = 0; i < elements_.size(); ++i) {
            numbers_.emplace(elements_[i].internal_object(), static_cast<std::uint32_t>(i + 1));
            if (pugi::xml_attribute id = elements_[i].attribute("id"))
                ids_.emplace(decodedText(svg::trimmed(id.value())), elements_[i]);
        }
    }

    void read() {
        pugi::xml_node root = elements_.front();
        Context context;
        bool drawn = readRoot(root, context);
        // The root holds what is drawn into a file without layers, and the groups of layers added to it.
        file_.groups[numberOf(root)] = {context.transform, {}, false, false};
        if (!drawn) return;
        visitChildren(root, context);
        for (pugi::xml_node view : root.children(namedview_.c_str())) {
            std::string current = decodedText(view.attribute(currentLayer_.c_str()).value());
            for (std::size_t i = 0; i < layerIds_.size() && !current.empty(); ++i)
                if (layerIds_[i] == current) {
                    drawing_.currentLayer = i;
                    file_.currentLayer = drawing_.layers[i].element;
                    break;
                }
        }
    }

private:
    struct Context {
        Geom::Affine transform;  ///< from the user space of the elements visited to artwork points
        Viewport viewport;
        ASInt32 attributes = 0;
        std::size_t layer = SvgDrawing::kNoLayer;
        int depth = 0;
        std::uint32_t instance = 0;  ///< the use whose instance is being drawn; 0 none
    };

    std::uint32_t numberOf(const pugi::xml_node& node) const { return numbers_.at(node.internal_object()); }

    /// One line per element: a second reason joins the first. An element drawn by many instances is
    /// told of once.
    void warn(const pugi::xml_node& node, const std::string& reason) {
        std::size_t offset = static_cast<std::size_t>(node.offset_debug());
        if (!warned_.emplace(offset, reason).second) return;
        if (!drawing_.warnings.empty() && drawing_.warnings.back().offset == offset) {
            drawing_.warnings.back().reason += "; " + reason;
            return;
        }
        drawing_.warnings.push_back({node.name(), offset, reason});
    }

    /// A length attribute in user units; nullopt when absent.
    std::optional<double> optionalLength(const pugi::xml_node& node, const char* name, Axis axis,
                                         const Viewport& viewport) {
        pugi::xml_attribute attribute = node.attribute(name);
        if (!attribute) return std::nullopt;
        std::string what = std::string("attribute ") + name;
        Length value = svg::parseLength(attribute.value(), what);
        if (value.fontGuess)
            warn(node, what + " \"" + attribute.value() +
                           "\" is sized with no font: 16 px to the em, half that to the ex and ch");
        std::optional<double> whole;
        switch (value.share) {
            case Length::Share::none:
                return value.userUnits();
            case Length::Share::percent:
                whole = reference(viewport, axis);
                break;
            case Length::Share::viewportWidth:
                whole = rootViewport_.width;
                break;
            case Length::Share::viewportHeight:
                whole = rootViewport_.height;
                break;
            case Length::Share::viewportSmaller:
            case Length::Share::viewportLarger:
                if (rootViewport_.width && rootViewport_.height)
                    whole = value.share == Length::Share::viewportSmaller
                                ? std::min(*rootViewport_.width, *rootViewport_.height)
                                : std::max(*rootViewport_.width, *rootViewport_.height);
                break;
        }
        if (!whole)
            throw Unreadable(what + " \"" + attribute.value() +
                             "\" is a share of a size the drawing does not give (no viewBox, width or height)");
        return value.number / 100 * *whole;
    }

    double length(const pugi::xml_node& node, const char* name, double fallback, Axis axis, const Viewport& viewport) {
        return optionalLength(node, name, axis, viewport).value_or(fallback);
    }

    /// The outermost svg's width or height in points; nullopt when absent, a percentage (which has nothing to
    /// be a percentage of) or unreadable.
    std::optional<double> rootSide(const pugi::xml_node& root, const char* name) {
        pugi::xml_attribute attribute = root.attribute(name);
        if (!attribute || isAuto(attribute)) return std::nullopt;
        try {
            Length side = svg::parseLength(attribute.value(), std::string("attribute ") + name);
            if (side.share != Length::Share::none) return std::nullopt;
            if (side.number < 0) throw Unreadable(std::string("a negative ") + name);
            return side.number * side.points;
        } catch (const Unreadable& error) {
            warn(root, std::string(error.what()) + "; taken as absent");
            return std::nullopt;
        }
    }

    template <typename Value, typename Parse>
    std::optional<Value> optionalAttribute(const pugi::xml_node& node, const char* name, Parse parse) {
        pugi::xml_attribute attribute = node.attribute(name);
        if (!attribute) return std::nullopt;
        return parse(attribute.value(), std::string(name) + " \"" + attribute.value() + "\"");
    }

    /// The root's map to artwork points (its viewBox's scale: see Svg.h), its viewport and the page; false when
    /// it draws nothing.
    bool readRoot(const pugi::xml_node& root, Context& context) {
        context.transform = Geom::Scale(svg::kPointsPerPx) * kFlip;
        std::optional<double> width = rootSide(root, "width"), height = rootSide(root, "height");
        std::optional<svg::ViewBox> box;
        svg::AspectRatio aspect;
        Geom::Affine transform;
        try {
            box = optionalAttribute<svg::ViewBox>(root, "viewBox", svg::parseViewBox);
        } catch (const Unreadable& error) {
            warn(root, std::string(error.what()) + "; taken as absent");
        }
        try {
            aspect = optionalAttribute<svg::AspectRatio>(root, "preserveAspectRatio", svg::parseAspectRatio)
                         .value_or(svg::AspectRatio{});
            transform = optionalAttribute<Geom::Affine>(root, "transform", svg::parseTransform)
                            .value_or(Geom::Affine(Geom::identity()));
        } catch (const Unreadable& error) {
            warn(root, std::string(error.what()) + "; nothing is drawn");
            return false;
        }
        // The root's own transform acts on its viewport, in px: its shift is scaled to points.
        transform[4] *= svg::kPointsPerPx;
        transform[5] *= svg::kPointsPerPx;
        const std::string nothing = "a width, height or viewBox of 0: nothing is drawn";
        if (width == 0.0 || height == 0.0 || (box && box->empty())) {
            warn(root, nothing);
            return false;
        }
        if (!box) {
            if (width) rootViewport_.width = *width / svg::kPointsPerPx;
            if (height) rootViewport_.height = *height / svg::kPointsPerPx;
            if (width && height) drawing_.page = {0, 0, *width, *height};
            context.viewport = rootViewport_;
            context.transform = Geom::Scale(svg::kPointsPerPx) * transform * kFlip;
            return true;
        }
        rootViewport_ = {box->width, box->height};
        context.viewport = rootViewport_;
        // A missing side follows the viewBox's shape; with neither, one user unit is one px.
        if (!width && !height) {
            width = box->width * svg::kPointsPerPx;
            height = box->height * svg::kPointsPerPx;
        } else if (!width) {
            width = *height * (box->width / box->height);
        } else if (!height) {
            height = *width * (box->height / box->width);
        }
        Geom::Affine map = svg::viewBoxTransform(*box, aspect, 0, 0, *width, *height);
        Geom::Affine scale = Geom::Scale(map[0], map[3]);
        svg::checkTransform(map, "its size and viewBox");
        if (scale[0] == 0 || scale[3] == 0) {
            warn(root, nothing);
            return false;
        }
        // Where the viewBox places the page only moves the page: the artwork keeps the file's coordinates.
        drawing_.page = {-map[4], map[5], *width, *height};
        context.transform = scale * transform * kFlip;
        return true;
    }

    /// Own user attributes: sodipodi:insensitive locks, display:none hides.
    ASInt32 attributesOf(const pugi::xml_node& node) const {
        std::string_view insensitive = node.attribute(insensitive_.c_str()).value();
        bool locked = !insensitive.empty() && insensitive != "false" && insensitive != "0";
        return (locked ? kArtLocked : 0) | (displayNone(node) ? kArtHidden : 0);
    }

    std::size_t addLayer(const pugi::xml_node& group, const Geom::Affine& transform) {
        if (drawing_.layers.size() == kMaxSvgLayers)
            throw Refused("more than " + std::to_string(kMaxSvgLayers) + " layers");
        std::string id = decodedText(group.attribute("id").value());
        std::string name = decodedText(group.attribute(label_.c_str()).value());
        if (name.empty()) name = id;
        if (!isUtf8(name)) {
            warn(group, "the layer's name is not UTF-8");
            name.clear();
        }
        if (name.empty()) name = "Layer " + std::to_string(drawing_.layers.size() + 1);
        ASInt32 states = attributesOf(group);
        bool locked = (states & kArtLocked) != 0, hidden = (states & kArtHidden) != 0;
        std::uint32_t element = numberOf(group);
        file_.groups[element] = {transform, name, locked, hidden};
        drawing_.layers.push_back({std::move(name), locked, hidden, element});
        layerIds_.push_back(std::move(id));
        return drawing_.layers.size() - 1;
    }

    void visitChildren(const pugi::xml_node& node, const Context& context) {
        if (context.depth > kMaxSvgDepth)
            throw Refused("elements nested more than " + std::to_string(kMaxSvgDepth) + " deep");
        for (pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element) continue;
            try {
                visit(child, context);
            } catch (const Unreadable& error) {
                warn(child, std::string(error.what()) + "; not drawn");
            }
        }
    }

    void visit(const pugi::xml_node& node, const Context& parent) {
        std::string_view kind = localName(node);
        auto shape = kShapes.find(kind);
        bool group = kind == "g" || kind == "a" || kind == "switch";
        if (!group && shape == kShapes.end() && kind != "svg" && kind != "use") return;
        Context context = parent;
        context.depth = parent.depth + 1;
        if (pugi::xml_attribute transform = node.attribute("transform"))
            context.transform = svg::parseTransform(transform.value(), "transform") * parent.transform;
        if (parent.depth == 0 && parent.instance == 0 && kind == "g" &&
            std::string_view(node.attribute(groupmode_.c_str()).value()) == "layer") {
            // The layer's own states are the layer's, not its art's.
            context.layer = addLayer(node, context.transform);
            visitChildren(node, context);
            return;
        }
        context.attributes |= attributesOf(node);
        if (kind == "svg") {
            if (nestedViewport(node, node, parent.viewport, context)) visitChildren(node, context);
        } else if (kind == "use") {
            drawInstance(node, context);
        } else if (group) {
            visitChildren(node, context);
        } else {
            drawShape(node, shape->second, context);
        }
    }

    /// Sets a nested svg's or symbol's content map and viewport, its size taken from sized (the use that
    /// draws it, or itself); false when it draws nothing.
    bool nestedViewport(const pugi::xml_node& node, const pugi::xml_node& sized, const Viewport& outer,
                        Context& context) {
        double x = 0, y = 0;
        if (localName(node) == "svg") {
            x = length(node, "x", 0, Axis::horizontal, outer);
            y = length(node, "y", 0, Axis::vertical, outer);
        }
        auto side = [&](const char* name, Axis axis) -> std::optional<double> {
            for (const pugi::xml_node& from : {sized, node}) {
                pugi::xml_attribute attribute = from.attribute(name);
                if (attribute && !isAuto(attribute)) return optionalLength(from, name, axis, outer);
            }
            // Absent or auto, they are 100% of the viewport around.
            return reference(outer, axis);
        };
        std::optional<double> width = side("width", Axis::horizontal), height = side("height", Axis::vertical);
        if ((width && *width < 0) || (height && *height < 0)) throw Unreadable("a negative width or height");
        if (width == 0.0 || height == 0.0) return false;
        std::optional<svg::ViewBox> box = optionalAttribute<svg::ViewBox>(node, "viewBox", svg::parseViewBox);
        if (!box) {
            context.transform = Geom::Translate(x, y) * context.transform;
            context.viewport = {width, height};
            return true;
        }
        if (box->empty()) return false;
        if (!width || !height)
            throw Unreadable(
                "its viewBox needs a width and height, which are percentages of a size the drawing does not give");
        svg::AspectRatio aspect =
            optionalAttribute<svg::AspectRatio>(node, "preserveAspectRatio", svg::parseAspectRatio)
                .value_or(svg::AspectRatio{});
        Geom::Affine map = svg::viewBoxTransform(*box, aspect, x, y, *width, *height);
        svg::checkTransform(map, "its viewport and viewBox");
        context.transform = map * context.transform;
        context.viewport = {box->width, box->height};
        return true;
    }

    /// What a use draws, placed as a renderer places it, as locked art of the use.
    void drawInstance(const pugi::xml_node& use, Context& context) {
        pugi::xml_attribute href = attributeNamed(use, "href");
        std::string target = decodedText(svg::trimmed(href.value()));
        if (!target.starts_with("#")) throw Unreadable("it does not refer to an element of this file");
        auto found = ids_.find(target.substr(1));
        if (found == ids_.end()) throw Unreadable("it refers to \"" + target + "\", which is not in the file");
        pugi::xml_node original = found->second;
        for (pugi::xml_node open : instancesOpen_)
            if (open == use) throw Unreadable("it draws itself");
        for (pugi::xml_node above = use; above; above = above.parent())
            if (above == original) throw Unreadable("it draws an element that holds it");
        if (++instancesDrawn_ > kMaxSvgInstances)
            throw Refused("more than " + std::to_string(kMaxSvgInstances) + " instances");
        double x = length(use, "x", 0, Axis::horizontal, context.viewport);
        double y = length(use, "y", 0, Axis::vertical, context.viewport);
        context.transform = Geom::Translate(x, y) * context.transform;
        if (context.instance == 0) {
            context.instance = numberOf(use);
            SvgFile::Drawn& drawn = file_.drawn[context.instance];
            drawn.kind = SvgFile::Drawn::Kind::instance;
            drawn.toArtwork = context.transform;
        }
        instancesOpen_.push_back(use);
        std::string_view kind = localName(original);
        if (kind == "symbol" || kind == "svg") {
            context.depth += 1;
            context.attributes |= attributesOf(original);
            if (nestedViewport(original, use, context.viewport, context)) visitChildren(original, context);
        } else {
            visit(original, context);
        }
        instancesOpen_.pop_back();
    }

    /// The points of a polyline or polygon, as a renderer draws them: up to the first that can't be read.
    std::vector<Geom::Point> pointsOf(const pugi::xml_node& node) {
        svg::Numbers numbers(node.attribute("points").value(), "attribute points");
        std::vector<Geom::Point> points;
        std::optional<double> x;
        try {
            while ((x = numbers.next())) {
                std::optional<double> y = numbers.next();
                if (!y) break;
                points.emplace_back(*x, *y);
                x.reset();
                if (points.size() > kMaxSegmentCount)
                    throw Unreadable("more than " + std::to_string(kMaxSegmentCount) + " points");
            }
            if (x)
                warn(node, "an odd number of coordinates: the last one is left out");
            else if (!numbers.atEnd())
                warn(node, "\"" + std::string(numbers.rest().substr(0, 20)) + "\" is not a number: drawn up to it");
        } catch (const Unreadable& error) {
            if (points.size() > kMaxSegmentCount) throw;
            warn(node, std::string(error.what()) + ": drawn up to it");
        }
        return points;
    }

    Geometry geometryOf(const pugi::xml_node& node, SvgFile::Drawn::Kind kind, const Viewport& viewport) {
        using Kind = SvgFile::Drawn::Kind;
        constexpr Axis kX = Axis::horizontal, kY = Axis::vertical;
        Geometry geometry;
        Geom::PathVector& paths = geometry.paths;
        auto size = [&](const char* name, Axis axis) {
            double value = length(node, name, 0, axis, viewport);
            if (value < 0) throw Unreadable(std::string("a negative ") + name);
            return value;
        };
        switch (kind) {
            case Kind::path: {
                const char* data = node.attribute("d").value();
                if (!pathDataNumbersInRange(data)) throw Unreadable("path data with numbers beyond any coordinate");
                bool broken = false;
                paths = drawnPathData(data, broken);
                if (broken) warn(node, "path data with an error, drawn up to it");
                break;
            }
            case Kind::line:
                paths.push_back(
                    svg::polygonPath({{length(node, "x1", 0, kX, viewport), length(node, "y1", 0, kY, viewport)},
                                      {length(node, "x2", 0, kX, viewport), length(node, "y2", 0, kY, viewport)}},
                                     false));
                break;
            case Kind::polyline:
            case Kind::polygon: {
                std::vector<Geom::Point> points = pointsOf(node);
                if (!points.empty()) paths.push_back(svg::polygonPath(points, kind == Kind::polygon));
                break;
            }
            case Kind::rect: {
                double x = length(node, "x", 0, kX, viewport), y = length(node, "y", 0, kY, viewport);
                double w = size("width", kX), h = size("height", kY);
                bool hasRx = node.attribute("rx") && !isAuto(node.attribute("rx"));
                bool hasRy = node.attribute("ry") && !isAuto(node.attribute("ry"));
                double rx = hasRx ? size("rx", kX) : 0, ry = hasRy ? size("ry", kY) : 0;
                if (!hasRy) ry = rx;
                if (!hasRx) rx = ry;
                geometry.cornerX = rx;
                geometry.cornerY = ry;
                if (w > 0 && h > 0)
                    paths.push_back(svg::rectPath(x, y, w, h, std::min(rx, w / 2), std::min(ry, h / 2)));
                break;
            }
            case Kind::circle: {
                double r = size("r", Axis::diagonal);
                if (r > 0)
                    paths.push_back(svg::ellipsePath(length(node, "cx", 0, kX, viewport),
                                                     length(node, "cy", 0, kY, viewport), r, r));
                break;
            }
            case Kind::ellipse: {
                double rx = size("rx", kX), ry = size("ry", kY);
                if (rx > 0 && ry > 0)
                    paths.push_back(svg::ellipsePath(length(node, "cx", 0, kX, viewport),
                                                     length(node, "cy", 0, kY, viewport), rx, ry));
                break;
            }
            case Kind::instance:
                break;
        }
        return geometry;
    }

    void drawShape(const pugi::xml_node& node, SvgFile::Drawn::Kind kind, const Context& context) {
        Geometry geometry = geometryOf(node, kind, context.viewport);
        Geom::PathVector paths = transformed(std::move(geometry.paths), context.transform);
        checkCoordinates(paths);
        std::vector<PathShape> found;
        try {
            found = shapesFromPaths(paths);
        } catch (const std::invalid_argument& error) {
            throw Unreadable(error.what());
        }
        if (found.empty()) return;
        if (drawing_.art.size() + found.size() > kMaxSvgShapes)
            throw Refused("more than " + std::to_string(kMaxSvgShapes) + " paths");
        std::uint32_t element = context.instance ? context.instance : numberOf(node);
        SvgFile::Drawn& drawn = file_.drawn[element];
        if (!context.instance) drawn = {kind, context.transform, {}, geometry.cornerX, geometry.cornerY};
        for (PathShape& shape : found) {
            FileLink link{element, static_cast<std::uint32_t>(drawn.parts.size()), 0, context.instance != 0};
            drawn.parts.push_back(shape);
            drawing_.art.push_back({std::move(shape), context.attributes, context.layer, link});
        }
    }

    SvgFile& file_;
    SvgDrawing& drawing_;
    std::vector<pugi::xml_node> elements_;  ///< element n at n - 1
    std::unordered_map<const void*, std::uint32_t> numbers_;
    std::unordered_map<std::string, pugi::xml_node> ids_;  ///< the first element of each id
    std::string groupmode_, label_, currentLayer_, insensitive_, namedview_;
    Viewport rootViewport_;
    std::vector<std::string> layerIds_;  ///< beside drawing_.layers
    std::vector<pugi::xml_node> instancesOpen_;
    std::size_t instancesDrawn_ = 0;
    std::set<std::pair<std::size_t, std::string>> warned_;
};

}  // namespace

std::string describe(const SvgWarning& warning) {
    return "<" + warning.element + "> at offset " + std::to_string(warning.offset) + ": " + warning.reason;
}

SvgDrawing importSvgText(std::string_view text, const std::string& name) {
    try {
        if (text.size() > kMaxSvgFileBytes)
            throw Refused("larger than " + std::to_string(kMaxSvgFileBytes >> 20) + " MiB");
        auto file = std::make_shared<SvgFile>();
        pugi::xml_parse_result parsed = file->load(text);
        if (!parsed)
            throw Refused(std::string("not XML: ") + parsed.description() + " at offset " +
                          std::to_string(parsed.offset));
        pugi::xml_node root = file->xml.document_element();
        if (!root || localName(root) != "svg") throw Refused("no svg root element");
        // The parser reads on past the root element, where XML allows no other element: what lay there could
        // be neither drawn nor written back as it was.
        for (pugi::xml_node node : file->xml.children()) {
            if ((node.type() == pugi::node_element || node.type() == pugi::node_cdata) && node != root)
                throw Refused("not XML: content outside the root element at offset " +
                              std::to_string(node.offset_debug()));
        }
        SvgDrawing drawing;
        Reader(*file, drawing).read();
        drawing.file = std::move(file);
        return drawing;
    } catch (const Refused& error) {
        throw SvgError("cannot open " + name + ": " + error.what());
    } catch (const Unreadable& error) {
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
    for (std::size_t n = 0; n < existing; ++n) document.setLayerElement(document.layerAt(n), 0);
    for (std::size_t i = 0; i < drawing.layers.size(); ++i) {
        const SvgDrawing::Layer& from = drawing.layers[i];
        AILayerHandle layer = i < existing ? document.layerAt(existing - 1 - i) : document.addLayer(from.name);
        document.setLayerName(layer, from.name);
        document.setLayerLocked(layer, from.locked);
        document.setLayerHidden(layer, from.hidden);
        document.setLayerElement(layer, from.element);
        layers.push_back(layer);
    }
    if (drawing.currentLayer) document.setCurrentLayer(layers.at(*drawing.currentLayer));
    // A file without layers is one layer: the root.
    constexpr std::uint32_t kRootElement = 1;
    if (drawing.file && drawing.layers.empty()) document.setLayerElement(document.currentLayer(), kRootElement);

    document.setPage(drawing.page);
    document.setFile(std::move(drawing.file));
    // Each art goes on top of its layer: the last one placed there.
    std::map<AILayerHandle, AIArtHandle> top;
    for (SvgDrawing::Art& art : drawing.art) {
        AILayerHandle layer = art.layer == SvgDrawing::kNoLayer ? document.currentLayer() : layers.at(art.layer);
        AIArtHandle& below = top[layer];
        art.link.file = document.fileNumber();
        below = document.insertPath(layer, below, std::move(art.shape), art.attributes, art.link);
    }
}

}  // namespace host
