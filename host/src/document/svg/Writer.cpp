// Writing a document as SVG: into the file it was opened from, changed only where the document was, or as a
// file of its own.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <sstream>
#include <unordered_set>

#include <2geom/path.h>
#include <2geom/rect.h>

#include "document/PathShapes.h"
#include "document/svg/Shapes.h"
#include "document/svg/SvgFile.h"
#include "host/document/History.h"
#include "host/document/Svg.h"
#include "host/platform/AtomicFile.h"

namespace host {

namespace {

using Kind = SvgFile::Drawn::Kind;

/// How far, in points, an edited shape may lie from its basic shape and still be written as one: float
/// anchors carry about this much rounding at the coordinates a drawing has.
constexpr double kSameShapeTolerance = 1e-3;

/// The stroke new art is drawn with, in points.
constexpr double kNewArtStrokePoints = 1;

/// SVG's y axis points down, the artwork's v axis up.
const Geom::Affine kFlip(1, 0, 0, -1, 0, 0);

/// The shortest text that reads back to the same number. A float (every coordinate of a drawing with no file)
/// is written as the float's shortest text, unless reading that as a double and rounding to a float lands
/// on the next float (7.038531e-26): then as the double's, which is the float's value exactly.
std::string numberText(double value) {
    if (value == 0) value = 0;  // no "-0"
    char buffer[32];
    std::to_chars_result written{buffer, std::errc::value_too_large};
    auto single = static_cast<float>(value);
    if (single == value) {
        written = std::to_chars(buffer, buffer + sizeof buffer, single);
        double read = 0;
        std::from_chars(buffer, written.ptr, read);
        if (written.ec == std::errc() && static_cast<float>(read) == single) return std::string(buffer, written.ptr);
    }
    written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ec == std::errc() ? written.ptr : buffer);
}

/// Significant digits tried for numbers in a user space, from those of a float to those of a double.
constexpr int kFewestDigits = 6;
constexpr int kMostDigits = 17;

std::string digitsText(double value, int digits) {
    if (value == 0) value = 0;  // no "-0"
    char buffer[32];
    std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    return std::string(buffer, written.ec == std::errc() ? written.ptr : buffer);
}

double valueOf(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

/// A length in a user space, to a float's precision: an edit keeps the round numbers a file was drawn with
/// rather than the noise of the document's float anchors.
std::string userNumberText(double value) {
    const double allowed = std::numeric_limits<float>::epsilon() * std::max(1.0, std::fabs(value));
    for (int digits = kFewestDigits; digits < kMostDigits; ++digits) {
        std::string text = digitsText(value, digits);
        if (std::fabs(valueOf(text) - value) <= allowed) return text;
    }
    return numberText(value);
}

bool samePoint(AIRealPoint a, AIRealPoint b) {
    return a.h == b.h && a.v == b.v;
}

bool straight(const AIPathSegment& a, const AIPathSegment& b) {
    return samePoint(a.out, a.p) && samePoint(b.in, b.p);
}

Geom::Point toPoint(AIRealPoint point) {
    return {point.h, point.v};
}

/// An anchor in a user space as the shortest text that maps back onto it: the round numbers a file was
/// drawn with, for anchors the document did not move.
std::string userPointText(AIRealPoint point, const Geom::Affine& toArtwork, const Geom::Affine& toUser) {
    Geom::Point user = toPoint(point) * toUser;
    for (int digits = kFewestDigits; digits < kMostDigits; ++digits) {
        std::string x = digitsText(user[Geom::X], digits), y = digitsText(user[Geom::Y], digits);
        Geom::Point back = Geom::Point(valueOf(x), valueOf(y)) * toArtwork;
        if (static_cast<AIReal>(back[Geom::X]) == point.h && static_cast<AIReal>(back[Geom::Y]) == point.v)
            return x + "," + y;
    }
    return numberText(user[Geom::X]) + "," + numberText(user[Geom::Y]);
}

/// A shape's path data in a user space, toArtwork mapping that space to artwork points.
class PathData {
public:
    explicit PathData(const Geom::Affine& toArtwork) : toArtwork_(toArtwork), toUser_(toArtwork.inverse()) {}

    void add(const PathShape& shape) {
        const auto& anchors = shape.segments;
        if (!data_.empty()) data_ += ' ';
        data_ += "M" + at(anchors.front().p);
        for (std::size_t i = 1; i < anchors.size(); ++i) piece(anchors[i - 1], anchors[i]);
        if (!shape.closed) return;
        const AIPathSegment &last = anchors.back(), &first = anchors.front();
        // A straight closing piece is the one Z draws by itself. But when the last anchor lies on the first, a
        // reader takes the piece that ends there for the closing one and the path loses that anchor: the
        // closing piece is then written out as a curve, which keeps it.
        bool endsOnStart = anchors.size() > 1 && samePoint(last.p, first.p);
        if (!straight(last, first) || endsOnStart) curve(last, first);
        data_ += " Z";
    }
    const std::string& text() const { return data_; }

private:
    std::string at(AIRealPoint point) const { return userPointText(point, toArtwork_, toUser_); }
    void curve(const AIPathSegment& a, const AIPathSegment& b) {
        data_ += " C" + at(a.out) + " " + at(b.in) + " " + at(b.p);
    }
    /// The piece from a to b: a line when neither has a control point off its anchor.
    void piece(const AIPathSegment& a, const AIPathSegment& b) {
        if (straight(a, b))
            data_ += " L" + at(b.p);
        else
            curve(a, b);
    }

    Geom::Affine toArtwork_, toUser_;
    std::string data_;
};

/// The style new art is given: visible whatever its group's style says, a stroke of kNewArtStrokePoints.
std::string newArtStyle(const Geom::Affine& toArtwork) {
    double pointsPerUnit = std::sqrt(std::fabs(toArtwork.det()));
    return "fill:none;stroke:#000000;stroke-opacity:1;stroke-dasharray:none;stroke-width:" +
           numberText(kNewArtStrokePoints / pointsPerUnit);
}

/// The style with its display declaration replaced.
std::string withDisplay(std::string_view style, std::string_view display) {
    std::string out;
    while (!style.empty()) {
        std::size_t end = std::min(style.find(';'), style.size());
        std::string_view declaration = style.substr(0, end);
        style.remove_prefix(std::min(end + 1, style.size()));
        std::size_t colon = declaration.find(':');
        std::string_view property = colon == std::string_view::npos ? "" : declaration.substr(0, colon);
        while (!property.empty() && property.front() == ' ') property.remove_prefix(1);
        while (!property.empty() && property.back() == ' ') property.remove_suffix(1);
        if (property == "display" || declaration.find_first_not_of(" \t\r\n") == std::string_view::npos) continue;
        out += std::string(declaration) + ";";
    }
    return out + "display:" + std::string(display);
}

void setAttribute(pugi::xml_node node, const std::string& name, const std::string& value) {
    pugi::xml_attribute attribute = node.attribute(name.c_str());
    if (!attribute) attribute = node.append_attribute(name.c_str());
    attribute.set_value(value.c_str());
}

/// The shapes in the element's user space, read as that basic shape: the attributes that draw them, or
/// nothing when they are no longer that shape.
class BasicShape {
public:
    BasicShape(const SvgFile::Drawn& drawn, const std::vector<const PathShape*>& shapes)
        : drawn_(drawn), shapes_(shapes) {}

    std::optional<std::vector<std::pair<const char*, double>>> attributes() const {
        if (drawn_.kind == Kind::path || shapes_.size() != 1) return std::nullopt;
        const PathShape& shape = *shapes_.front();
        Geom::Affine toUser = drawn_.toArtwork.inverse();
        std::vector<Geom::Point> anchors;
        for (const AIPathSegment& segment : shape.segments) anchors.push_back(toPoint(segment.p) * toUser);
        if (anchors.empty()) return std::nullopt;
        Geom::Rect box(anchors.front(), anchors.front());
        for (const Geom::Point& anchor : anchors) box.expandTo(anchor);
        switch (drawn_.kind) {
            case Kind::line:
                if (shape.closed || anchors.size() != 2 || !straight(shape.segments[0], shape.segments[1]))
                    return std::nullopt;
                return std::vector<std::pair<const char*, double>>{{"x1", anchors[0][Geom::X]},
                                                                   {"y1", anchors[0][Geom::Y]},
                                                                   {"x2", anchors[1][Geom::X]},
                                                                   {"y2", anchors[1][Geom::Y]}};
            case Kind::rect: {
                double w = box.width(), h = box.height();
                if (!(w > 0 && h > 0)) return std::nullopt;
                if (!drawsAs(svg::rectPath(box.left(), box.top(), w, h, std::min(drawn_.cornerX, w / 2),
                                           std::min(drawn_.cornerY, h / 2))))
                    return std::nullopt;
                return std::vector<std::pair<const char*, double>>{
                    {"x", box.left()}, {"y", box.top()}, {"width", w}, {"height", h}};
            }
            case Kind::circle:
            case Kind::ellipse: {
                double rx = box.width() / 2, ry = box.height() / 2;
                Geom::Point centre = box.midpoint();
                if (!(rx > 0 && ry > 0) || !drawsAs(svg::ellipsePath(centre[Geom::X], centre[Geom::Y], rx, ry)))
                    return std::nullopt;
                std::vector<std::pair<const char*, double>> values{{"cx", centre[Geom::X]}, {"cy", centre[Geom::Y]}};
                if (drawn_.kind == Kind::ellipse) {
                    values.insert(values.end(), {{"rx", rx}, {"ry", ry}});
                } else {
                    if (std::fabs(rx - ry) > kSameShapeTolerance * pointsToUser()) return std::nullopt;
                    values.emplace_back("r", rx);
                }
                return values;
            }
            default:
                return std::nullopt;
        }
    }

    /// A polyline's or polygon's points, when every piece is straight and it is still open or closed.
    std::optional<std::string> points() const {
        if ((drawn_.kind != Kind::polyline && drawn_.kind != Kind::polygon) || shapes_.size() != 1) return std::nullopt;
        const PathShape& shape = *shapes_.front();
        if (shape.closed != (drawn_.kind == Kind::polygon)) return std::nullopt;
        const auto& anchors = shape.segments;
        for (std::size_t piece = 0; piece < pieceCount(shape); ++piece)
            if (!straight(anchors[piece], anchors[(piece + 1) % anchors.size()])) return std::nullopt;
        Geom::Affine toUser = drawn_.toArtwork.inverse();
        std::string text;
        for (const AIPathSegment& segment : anchors)
            text += (text.empty() ? "" : " ") + userPointText(segment.p, drawn_.toArtwork, toUser);
        return text;
    }

private:
    double pointsToUser() const { return 1 / std::sqrt(std::fabs(drawn_.toArtwork.det())); }

    /// Whether the user-space path, drawn as the reader draws it, gives the shape's anchors.
    bool drawsAs(const Geom::Path& path) const {
        std::vector<PathShape> drawn;
        try {
            drawn = shapesFromPaths(Geom::PathVector(path * drawn_.toArtwork));
        } catch (const std::invalid_argument&) {
            return false;
        }
        const PathShape& shape = *shapes_.front();
        if (drawn.size() != 1 || drawn.front().closed != shape.closed ||
            drawn.front().segments.size() != shape.segments.size())
            return false;
        auto near = [](AIRealPoint a, AIRealPoint b) {
            return Geom::distance(toPoint(a), toPoint(b)) <= kSameShapeTolerance;
        };
        for (std::size_t i = 0; i < shape.segments.size(); ++i) {
            const AIPathSegment &a = drawn.front().segments[i], &b = shape.segments[i];
            if (!near(a.p, b.p) || !near(a.in, b.in) || !near(a.out, b.out)) return false;
        }
        return true;
    }

    const SvgFile::Drawn& drawn_;
    const std::vector<const PathShape*>& shapes_;
};

/// The geometry attributes of each basic shape, which a path does not have.
constexpr const char* kShapeAttributes[] = {"x",  "y", "width", "height", "rx", "ry", "cx",
                                            "cy", "r", "x1",    "y1",     "x2", "y2", "points"};

/// The element of the document's file the art came from; 0 for art drawn here or brought back by an undo
/// from a file opened before.
std::uint32_t elementOf(const Document& document, const Document::Art& art) {
    const SvgFile* file = document.file().get();
    bool present = file && art.link.file == document.fileNumber() && file->drawn.contains(art.link.element);
    return present ? art.link.element : 0;
}

/// The art each element of the file draws now, by part.
using CurrentParts = std::map<std::uint32_t, std::map<std::uint32_t, const PathShape*>>;

CurrentParts currentParts(const Document& document) {
    CurrentParts current;
    document.forEachArt([&](AIArtHandle, const Document::Art& art) {
        if (std::uint32_t element = elementOf(document, art)) current[element][art.link.part] = &art.shape;
    });
    return current;
}

/// Whether the element draws what it was read as.
bool unchanged(const SvgFile::Drawn& drawn, const std::map<std::uint32_t, const PathShape*>* now) {
    if (!now) return drawn.parts.empty();
    if (now->size() != drawn.parts.size()) return false;
    for (const auto& [part, shape] : *now)
        if (part >= drawn.parts.size() || !sameShape(drawn.parts[part], *shape)) return false;
    return true;
}

class FileWriter {
public:
    FileWriter(const Document& document, const SvgFile& file) : document_(document), file_(file) {
        copy_.reset(file.xml);
        elements_ = elementsInOrder(copy_.document_element());
        // New elements take the prefix the file gives SVG's elements, if any.
        std::string_view root = copy_.document_element().name();
        svgPrefix_ = root.substr(0, root.size() - localName(copy_.document_element()).size());
        for (const pugi::xml_node& element : elements_)
            if (pugi::xml_attribute id = element.attribute("id")) ids_.insert(id.value());
    }

    std::string text() {
        CurrentParts current = currentParts(document_);
        for (const auto& [element, drawn] : file_.drawn) {
            auto now = current.find(element);
            const auto* parts = now == current.end() ? nullptr : &now->second;
            if (unchanged(drawn, parts) || (drawn.kind == Kind::instance && parts)) continue;
            if (!parts)
                node(element).parent().remove_child(node(element));
            else
                rewrite(element, drawn, *parts);
        }
        writeLayers();
        return file_.text(copy_);
    }

private:
    pugi::xml_node node(std::uint32_t element) const { return elements_.at(element - 1); }

    /// The edited element in its own user space: still its basic shape when it is one, else a path.
    void rewrite(std::uint32_t element, const SvgFile::Drawn& drawn,
                 const std::map<std::uint32_t, const PathShape*>& parts) {
        pugi::xml_node at = node(element);
        std::vector<const PathShape*> shapes;
        for (const auto& [part, shape] : parts) shapes.push_back(shape);
        BasicShape basic(drawn, shapes);
        if (auto values = basic.attributes()) {
            for (const auto& [name, value] : *values) setAttribute(at, name, userNumberText(value));
            return;
        }
        if (auto points = basic.points()) {
            setAttribute(at, "points", *points);
            return;
        }
        PathData data(drawn.toArtwork);
        for (const PathShape* shape : shapes)
            if (!shape->segments.empty()) data.add(*shape);
        if (drawn.kind != Kind::path) {
            std::string prefix(at.name());
            prefix.resize(prefix.size() - localName(at).size());
            at.set_name((prefix + "path").c_str());
            for (const char* name : kShapeAttributes) at.remove_attribute(name);
        }
        setAttribute(at, "d", data.text());
    }

    /// The layers' groups arranged as the document's layers are, their names and states into them, a group for
    /// each layer the document added, and the art drawn here into its layer's group.
    void writeLayers() {
        arrangeGroups();
        pugi::xml_node root = copy_.document_element();
        pugi::xml_node previous;  // the group of the layer below
        for (std::size_t n = document_.layerCount(); n-- > 0;) {
            const Document::Layer& layer = *document_.findLayer(document_.layerAt(n));
            auto read = file_.groups.find(layer.element);
            pugi::xml_node group;
            Geom::Affine toArtwork;
            if (read != file_.groups.end()) {
                group = node(layer.element);
                toArtwork = read->second.toArtwork;
                if (group != root) updateStates(group, layer, read->second);
            } else {
                std::string name = svgPrefix_ + "g";
                group = previous && previous != root ? root.insert_child_after(name.c_str(), previous)
                                                     : root.append_child(name.c_str());
                toArtwork = file_.groups.at(1).toArtwork;
                setAttribute(group, "id", freshId("layer"));
                setAttribute(group, inkscape("groupmode"), "layer");
                updateStates(group, layer, {toArtwork, {}, false, false});
            }
            writeNewArt(layer, group, toArtwork);
            if (document_.layerAt(n) == document_.currentLayer()) nameCurrent(group);
            previous = group;
        }
    }

    /// The group of a layer the document deleted goes with all it holds, as the layer went with its art; the
    /// others take the places of the file's groups in the document's order, bottom first, so that what lies
    /// between them stays where it was and a file whose layers kept their order is not touched.
    void arrangeGroups() {
        pugi::xml_node root = copy_.document_element();
        std::vector<pugi::xml_node> wanted;
        for (std::size_t n = document_.layerCount(); n-- > 0;) {
            std::uint32_t element = document_.findLayer(document_.layerAt(n))->element;
            if (file_.groups.contains(element) && node(element) != root) wanted.push_back(node(element));
        }
        std::vector<pugi::xml_node> places;  // the kept groups, in the file's order
        for (const auto& [element, read] : file_.groups) {
            pugi::xml_node group = node(element);
            if (group == root) continue;
            if (std::find(wanted.begin(), wanted.end(), group) == wanted.end())
                root.remove_child(group);
            else
                places.push_back(group);
        }
        if (places == wanted) return;
        std::vector<pugi::xml_node> markers;
        for (const pugi::xml_node& place : places)
            markers.push_back(root.insert_child_before(pugi::node_pcdata, place));
        for (std::size_t i = 0; i < wanted.size(); ++i) root.insert_move_after(wanted[i], markers[i]);
        for (const pugi::xml_node& marker : markers) root.remove_child(marker);
    }

    /// An editor's view names the layer being drawn in: where the file named one, the document's now.
    void nameCurrent(pugi::xml_node group) {
        if (file_.currentLayer == 0 || group == node(file_.currentLayer) || group == copy_.document_element()) return;
        if (!group.attribute("id")) setAttribute(group, "id", freshId("layer"));
        pugi::xml_node view = copy_.document_element().child((file_.sodipodiPrefix + ":namedview").c_str());
        setAttribute(view, inkscape("current-layer"), group.attribute("id").value());
    }

    void updateStates(pugi::xml_node group, const Document::Layer& layer, const SvgFile::Group& read) {
        if (layer.name != read.name) setAttribute(group, inkscape("label"), escapedText(layer.name));
        if (layer.locked != read.locked) {
            if (layer.locked)
                setAttribute(group, sodipodi("insensitive"), "true");
            else
                group.remove_attribute(sodipodi("insensitive").c_str());
        }
        if (layer.hidden != read.hidden)
            setAttribute(group, "style",
                         withDisplay(group.attribute("style").value(), layer.hidden ? "none" : "inline"));
    }

    /// The group's child that holds the art's element; null when the element lies elsewhere.
    pugi::xml_node childHolding(const pugi::xml_node& group, std::uint32_t element) const {
        if (!file_.drawn.contains(element)) return {};
        for (pugi::xml_node at = node(element); at; at = at.parent())
            if (at.parent() == group) return at;
        return {};
    }

    /// Each art drawn here goes just under the nearest art above it that the file holds, in the group; above
    /// all of the group's content when there is none.
    void writeNewArt(const Document::Layer& layer, pugi::xml_node group, const Geom::Affine& toArtwork) {
        std::vector<const Document::Art*> pending;
        auto place = [&](const pugi::xml_node& above) {
            for (const Document::Art* art : pending) {
                std::string name = svgPrefix_ + "path";
                pugi::xml_node path =
                    above ? group.insert_child_before(name.c_str(), above) : group.append_child(name.c_str());
                PathData data(toArtwork);
                data.add(art->shape);
                setAttribute(path, "d", data.text());
                std::string style = newArtStyle(toArtwork);
                if (art->attributes & kArtHidden) style += ";display:none";
                setAttribute(path, "style", style);
                if (art->attributes & kArtLocked) setAttribute(path, sodipodi("insensitive"), "true");
            }
            pending.clear();
        };
        for (const auto& [order, handle] : layer.art) {
            const Document::Art& art = *document_.findArt(handle);
            if (std::uint32_t element = elementOf(document_, art)) {
                if (pugi::xml_node above = childHolding(group, element)) place(above);
            } else if (!art.shape.segments.empty()) {
                pending.push_back(&art);
            }
        }
        place({});
    }

    std::string freshId(const std::string& stem) {
        for (std::size_t n = 1;; ++n) {
            std::string id = stem + std::to_string(n);
            if (ids_.insert(id).second) return id;
        }
    }

    /// A name in the editors' namespace, bound on the root the first time it is needed.
    std::string inkscape(const char* name) { return prefixed(file_.inkscapePrefix, kInkscapeNamespace, name); }
    std::string sodipodi(const char* name) { return prefixed(file_.sodipodiPrefix, kSodipodiNamespace, name); }
    std::string prefixed(const std::string& prefix, const char* uri, const char* name) {
        pugi::xml_node root = copy_.document_element();
        std::string declaration = "xmlns:" + prefix;
        if (!root.attribute(declaration.c_str())) root.append_attribute(declaration.c_str()).set_value(uri);
        return prefix + ":" + name;
    }

    const Document& document_;
    const SvgFile& file_;
    pugi::xml_document copy_;
    std::vector<pugi::xml_node> elements_;
    std::unordered_set<std::string> ids_;
    std::string svgPrefix_;
};

/// A drawing begun here: its layers as groups, sized to its page or to its art.
std::string freshSvg(const Document& document) {
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
                    Geom::Point at = toPoint(point) * kFlip;
                    least = Geom::Point(std::min(least[Geom::X], at[Geom::X]), std::min(least[Geom::Y], at[Geom::Y]));
                    most = Geom::Point(std::max(most[Geom::X], at[Geom::X]), std::max(most[Geom::Y], at[Geom::Y]));
                }
            pugi::xml_node path = group.append_child("path");
            PathData data(kFlip);
            data.add(art.shape);
            path.append_attribute("d") = data.text().c_str();
            path.append_attribute("fill") = "none";
            path.append_attribute("stroke") = "#000000";
            path.append_attribute("stroke-width") = "1";
            if (art.attributes & kArtLocked) path.append_attribute("sodipodi:insensitive") = "true";
            if (art.attributes & kArtHidden) path.append_attribute("style") = "display:none";
        }
    }
    // One user unit to the point, the document's own unit: the file opens again at the same coordinates. The
    // page when there is one, else the art with a point of margin all round, so that the strokes are not cut.
    const PageBox& page = document.page();
    Geom::Rect box = page.empty() ? Geom::Rect(0, 0, 0, 0)
                                  : Geom::Rect(page.left, -page.top, page.left + page.width, -page.top + page.height);
    if (page.empty()) {
        if (least[Geom::X] <= most[Geom::X]) box = Geom::Rect(least, most);
        box.expandBy(1);
    }
    auto text = [](double value) { return numberText(static_cast<AIReal>(value)); };
    width = (text(box.width()) + "pt").c_str();
    height = (text(box.height()) + "pt").c_str();
    viewBox = (text(box.left()) + " " + text(box.top()) + " " + text(box.width()) + " " + text(box.height())).c_str();

    std::ostringstream stream;
    out.save(stream, "  ", pugi::format_default, pugi::encoding_utf8);
    return stream.str();
}

}  // namespace

std::string exportSvg(const Document& document) {
    if (const SvgFile* file = document.file().get()) return FileWriter(document, *file).text();
    return freshSvg(document);
}

std::vector<std::string> unwritableEdits(const Document& document) {
    std::vector<std::string> found;
    const SvgFile* file = document.file().get();
    if (!file) return found;
    CurrentParts current = currentParts(document);
    std::vector<pugi::xml_node> elements = elementsInOrder(file->xml.document_element());
    for (const auto& [element, drawn] : file->drawn) {
        auto now = current.find(element);
        if (drawn.kind != Kind::instance || now == current.end() || unchanged(drawn, &now->second)) continue;
        pugi::xml_node node = elements.at(element - 1);
        found.push_back(describe(SvgWarning{node.name(), static_cast<std::size_t>(node.offset_debug()),
                                            "the art of this instance was edited, which only its original can do"}));
    }
    return found;
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
