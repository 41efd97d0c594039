// SVG files: the document's art and layers read from and written to SVG.
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
// y axis points down where the artwork's v points up: v = −y, h = x.
//
// Import reads path, line, polyline, polygon, rect (with rx/ry), circle and
// ellipse inside the root, its groups (g, a, switch) and nested svg, composing
// the transform attributes of each element with those of its ancestors. Lengths
// take any absolute unit and percentages of their viewport. What is not
// geometry (defs, symbol, use, text, image, style…) is passed over.
//
// Layers: a group just inside the root with inkscape:groupmode="layer" is a
// layer, named by its inkscape:label (else its id); sodipodi:insensitive locks
// it, display:none hides it. Below the layers, those two mark the art itself.
#pragma once

#include <filesystem>
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

/// What an SVG file holds, in artwork coordinates.
struct SvgDrawing {
    struct Layer {
        std::string name;
        bool locked = false;
        bool hidden = false;
    };
    /// Art outside every layer.
    static constexpr std::size_t kNoLayer = static_cast<std::size_t>(-1);
    struct Art {
        PathShape shape;
        ASInt32 attributes = 0;        ///< kArtLocked, kArtHidden
        std::size_t layer = kNoLayer;  ///< index in layers
    };
    std::vector<Layer> layers;  ///< bottom first
    std::vector<Art> art;       ///< in the file's order, bottom first
    /// The layer the file names as the one being drawn in (inkscape:current-layer), when it is one of them.
    std::optional<std::size_t> currentLayer;
};

/// The layers and paths of an SVG file. Throws SvgError for a file that can't be read, is not XML, has no
/// svg root, holds malformed path data, numbers or viewBox, a length in em, ex or an unknown unit, a
/// percentage of an unknown size, a coordinate that is not finite or beyond kMaxSvgCoordinate, a path of
/// more than kMaxSegmentCount anchors, a layer name that is not UTF-8, or is beyond the limits above.
SvgDrawing importSvg(const std::filesystem::path& file);
/// The same from the file's text; name stands for the file in messages.
SvgDrawing importSvgText(std::string_view text, const std::string& name = "the SVG text");

/// Puts the drawing in the document in place of all its art. A drawing without layers goes into the current
/// layer. Otherwise the document's layers, bottom first, take the names and states of the file's (new
/// layers are added for the rest; layers beyond the file's stay, empty), the file's current layer becomes
/// current, and art outside every layer goes into the current layer.
void placeDrawing(Document& document, SvgDrawing drawing);

/// The document as an SVG file, sized in points: one layer group per layer (bottom first), one path per
/// art with anchors in paint order, stroked black, not filled. Art without anchors is left out.
std::string exportSvg(const Document& document);
/// exportSvg written to the file, which is replaced whole or not at all; SvgError when that fails.
void saveSvg(const Document& document, const std::filesystem::path& file);

}  // namespace host
