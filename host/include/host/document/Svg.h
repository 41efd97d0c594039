// SVG files: a document opened from one keeps it, and a save writes back what the host does not edit.
//
// Size: a file opens at its physical size in points. The outermost svg's
// width and height (px, pt, pc, mm, cm, in, Q or plain px) and its viewBox
// with preserveAspectRatio give the points per user unit; without a viewBox
// one user unit is one px, 0.75 pt. A width or height that is absent or a
// percentage (which has nothing to be a percentage of) comes from the viewBox:
// its size in px, or the other side's scale when one side is given. Nested svg
// elements map their own viewport and viewBox. The artwork's origin is the
// origin of the outermost svg's user space: where its viewBox places the page
// only moves the drawing, so a file keeps the coordinates it was drawn in. SVG's
// y axis points down where the artwork's v points up: v = -y, h = x. The root's
// viewport is the document's page.
//
// Reading draws path, line, polyline, polygon, rect (with rx/ry), circle and
// ellipse inside the root, its groups (g, a, switch) and nested svg, composing
// the transform attributes of each element with those of its ancestors. A use
// (of a shape, a group, a symbol or an svg) opens as locked art where a renderer
// draws it. What is not geometry (text, images, style, defs…) is kept, not drawn.
// Like a renderer, the reader draws what it can: path data up to its first
// error, polygons without an odd last coordinate, font-relative lengths as a
// browser sizes them with no font; an element it can't draw is passed over and
// kept. Each repair or omission is a warning.
//
// Layers: a group just inside the root with inkscape:groupmode="layer" is a
// layer, named by its inkscape:label (else its id); sodipodi:insensitive locks
// it, display:none hides it. Below the layers, those two mark the art itself.
//
// Writing a document opened from a file writes that file, changed only where the
// document was: an edited shape in its own element and user space, a removed one
// without its element, new art in its layer's group, the layers' names and states.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/document/Document.h"
#include "host/platform/Bundle.h"
#include "host/platform/HostError.h"

namespace host {

/// A file that can't be read, written, or is not SVG we can use; the message names the file and the problem.
struct SvgError : HostError {
    using HostError::HostError;
};

/// Limits beyond which a file is refused as absurd.
constexpr std::size_t kMaxSvgFileBytes = std::size_t{256} << 20;
constexpr std::size_t kMaxSvgShapes = 1000000;
constexpr std::size_t kMaxSvgLayers = 1000;
constexpr int kMaxSvgDepth = 256;
/// Largest coordinate, in points, once transformed (some 3.5 km).
constexpr double kMaxSvgCoordinate = kMaxCoordinate;

/// Something a file holds that the reader repaired or passed over.
struct SvgWarning {
    std::string element;  ///< its name, as written
    std::size_t offset;   ///< of the element in the file's text
    std::string reason;
};
/// One line: the element, its offset and the reason.
std::string describe(const SvgWarning& warning);

/// What an SVG file holds, in artwork coordinates.
struct SvgDrawing {
    struct Layer {
        std::string name;
        bool locked = false;
        bool hidden = false;
        std::uint32_t element = 0;  ///< its group in the file
    };
    /// Art outside every layer.
    static constexpr std::size_t kNoLayer = static_cast<std::size_t>(-1);
    struct Art {
        PathShape shape;
        ASInt32 attributes = 0;        ///< kArtLocked, kArtHidden
        std::size_t layer = kNoLayer;  ///< index in layers
        FileLink link;
    };
    std::vector<Layer> layers;  ///< bottom first
    std::vector<Art> art;       ///< in the file's order, bottom first
    /// The layer the file names as the one being drawn in (inkscape:current-layer), when it is one of them.
    std::optional<std::size_t> currentLayer;
    /// The root's viewport; empty when its size is not known.
    PageBox page;
    /// What was repaired or passed over, in the file's order.
    std::vector<SvgWarning> warnings;
    /// The file as read, for the document to keep.
    std::shared_ptr<const SvgFile> file;
};

/// The layers and paths of an SVG file, with the file kept. Throws SvgError for a file that can't be read,
/// is not XML, has no svg root, or is beyond the limits above; what it can't draw is a warning.
SvgDrawing importSvg(const std::filesystem::path& file);
/// The same from the file's text; name stands for the file in messages.
SvgDrawing importSvgText(std::string_view text, const std::string& name = "the SVG text");

/// Puts the drawing in the document in place of all its art, and its file and page in place of the document's.
/// A drawing without layers goes into the current layer. Otherwise the document's layers, bottom first, take
/// the names and states of the file's (new layers are added for the rest; layers beyond the file's stay,
/// empty), the file's current layer becomes current, and art outside every layer goes into the current layer.
void placeDrawing(Document& document, SvgDrawing drawing);

/// The document as an SVG file. With a kept file: that file with the document's edits. Without: sized in
/// points to its page, else to the box around its anchors, one layer group per layer (bottom first), one path
/// per art with anchors in paint order, stroked black, not filled. Art without anchors is left out.
std::string exportSvg(const Document& document);
/// What the document holds that a save can't write into its kept file (an instance's art edited), one line
/// each; empty when a save keeps everything.
std::vector<std::string> unwritableEdits(const Document& document);
/// exportSvg written to the file, which is replaced whole or not at all; SvgError when that fails.
void saveSvg(const Document& document, const std::filesystem::path& file);

}  // namespace host
