// SVG import: an input holding '<' is an SVG file's text (host::importSvgText),
// any other input is path data given to a fresh document (Document::addSvgPath);
// path data never holds '<'. Refusals (host::SvgError, std::invalid_argument)
// are normal outcomes. What must hold for what was imported:
//   - every anchor and control point is finite, and from a file within
//     kMaxSvgCoordinate of the origin, whatever the units, viewBoxes and
//     nested viewports that scaled it;
//   - no path has more than kMaxSegmentCount anchors; every art names a layer
//     of the drawing or none, and so does the current layer;
//   - the drawing placed in a fresh document, exported as SVG, imported and
//     placed again, gives the same document: the same layers with the same
//     names, locked and hidden states, the same current layer, the same art
//     with the same attributes, anchors and control points, exactly: the
//     export writes each coordinate as text that the import, which reads a
//     double and rounds it to a float, turns back into the same float, in a
//     file whose size and viewBox give one point per user unit, so no
//     tolerance is needed. A path of path data beyond kMaxSvgCoordinate must
//     be passed over by the import instead, with a warning;
//   - a file opened and saved with no edit is the same XML: the same elements,
//     attributes, text, comments and processing instructions, in the same order.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "host/document/Document.h"
#include "host/document/Svg.h"

namespace {

[[noreturn]] void fail(const std::string& what, std::string_view input) {
    std::fprintf(stderr, "SVG import: %s\ninput: %.*s\n", what.c_str(), static_cast<int>(input.size()), input.data());
    std::abort();
}

bool within(AIRealPoint point, double bound) {
    return std::isfinite(point.h) && std::isfinite(point.v) && std::fabs(point.h) <= bound &&
           std::fabs(point.v) <= bound;
}

/// True when every point of the paths lies within bound; aborts for a point that is not finite or a path
/// with too many anchors.
bool checkPaths(const std::vector<host::PathShape>& paths, double bound, std::string_view input) {
    bool inside = true;
    for (const host::PathShape& path : paths) {
        if (path.segments.empty()) fail("a path without anchors", input);
        if (path.segments.size() > host::kMaxSegmentCount)
            fail("a path of " + std::to_string(path.segments.size()) + " anchors", input);
        for (const AIPathSegment& segment : path.segments) {
            if (!host::isFinite(segment)) fail("a coordinate that is not finite", input);
            inside = inside && within(segment.p, bound) && within(segment.in, bound) && within(segment.out, bound);
        }
    }
    return inside;
}

/// Exports the document and opens the file in a fresh one: the same document must come back.
void checkRoundTrip(const host::Document& document, std::string_view input) {
    std::string exported = host::exportSvg(document);
    host::SvgDrawing again;
    try {
        again = host::importSvgText(exported, "the exported file");
    } catch (const host::SvgError& error) {
        fail(std::string("the exported file does not import: ") + error.what() + "\n" + exported, input);
    }
    host::Document reopened;
    host::placeDrawing(reopened, std::move(again));
    nlohmann::json before = document.dump(), after = reopened.dump();
    if (before != after)
        fail("the document came back as\n" + after.dump() + "\nnot\n" + before.dump() + "\n" + exported, input);
}

/// Whitespace-only text is layout, not content.
constexpr unsigned kCompared = pugi::parse_default | pugi::parse_comments | pugi::parse_pi | pugi::parse_doctype;

/// Where two trees differ, empty when they are the same XML.
std::string difference(const pugi::xml_node& a, const pugi::xml_node& b) {
    std::string here = std::string("<") + a.name() + "> at offset " + std::to_string(a.offset_debug());
    if (a.type() != b.type() || std::string_view(a.name()) != b.name() || std::string_view(a.value()) != b.value())
        return here;
    std::vector<std::pair<std::string_view, std::string_view>> left, right;
    for (pugi::xml_attribute attribute : a.attributes()) left.emplace_back(attribute.name(), attribute.value());
    for (pugi::xml_attribute attribute : b.attributes()) right.emplace_back(attribute.name(), attribute.value());
    if (left != right) return here + ", its attributes";
    pugi::xml_node x = a.first_child(), y = b.first_child();
    for (; x && y; x = x.next_sibling(), y = y.next_sibling())
        if (std::string found = difference(x, y); !found.empty()) return found;
    return x || y ? here + ", its children" : std::string();
}

/// The document opened from text, saved with no edit: the same XML.
void checkKept(const host::Document& document, const std::string& text) {
    std::string saved = host::exportSvg(document);
    pugi::xml_document original, again;
    if (!original.load_buffer(text.data(), text.size(), kCompared)) return;  // read only with the host's flags
    if (!again.load_buffer(saved.data(), saved.size(), kCompared)) fail("the saved file is not XML\n" + saved, text);
    if (std::string found = difference(original, again); !found.empty())
        fail("the saved file differs at " + found + "\n" + saved, text);
}

std::vector<host::PathShape> shapesOf(const host::Document& document) {
    std::vector<host::PathShape> paths;
    document.forEachArt([&](AIArtHandle, const host::Document::Art& art) { paths.push_back(art.shape); });
    return paths;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    host::Document document;
    if (text.find('<') != std::string::npos) {
        host::SvgDrawing drawing;
        try {
            drawing = host::importSvgText(text);
        } catch (const host::SvgError&) {
            return 0;
        }
        if (drawing.layers.size() > host::kMaxSvgLayers) fail("too many layers", text);
        if (drawing.currentLayer && *drawing.currentLayer >= drawing.layers.size()) fail("no such current layer", text);
        std::vector<host::PathShape> paths;
        for (const host::SvgDrawing::Art& art : drawing.art) {
            if (art.layer != host::SvgDrawing::kNoLayer && art.layer >= drawing.layers.size())
                fail("art in no such layer", text);
            paths.push_back(art.shape);
        }
        if (!checkPaths(paths, host::kMaxSvgCoordinate, text))
            fail("a coordinate beyond " + std::to_string(host::kMaxSvgCoordinate), text);
        host::placeDrawing(document, std::move(drawing));
        checkKept(document, text);
        checkRoundTrip(document, text);
        return 0;
    }

    try {
        document.addSvgPath(text);
    } catch (const std::invalid_argument&) {
        return 0;
    }
    if (checkPaths(shapesOf(document), host::kMaxSvgCoordinate, text)) {
        checkRoundTrip(document, text);
        return 0;
    }
    // Path data reaches the whole float range, which an SVG file may not: the path is passed over, and said so.
    host::SvgDrawing again;
    try {
        again = host::importSvgText(host::exportSvg(document));
    } catch (const host::SvgError& error) {
        fail(std::string("the exported file does not import: ") + error.what(), text);
    }
    std::vector<host::PathShape> paths;
    for (const host::SvgDrawing::Art& art : again.art) paths.push_back(art.shape);
    if (!checkPaths(paths, host::kMaxSvgCoordinate, text))
        fail("an exported coordinate beyond " + std::to_string(host::kMaxSvgCoordinate) + " was drawn", text);
    if (again.warnings.empty()) fail("a path beyond the coordinates a file may hold was passed over unsaid", text);
    return 0;
}
