// SVG files: the document's art read from and written to SVG.
//
// Coordinates: one SVG user unit is one artwork point, and SVG's y axis points
// down where the artwork's v points up, so v = −y (h = x). The root's width,
// height and viewBox are not applied on import; export writes them so that
// other programs show the art at its size in points.
//
// Import reads path, line, polyline, polygon, rect (with rx/ry), circle and
// ellipse inside the root, its groups (g, a, switch) and nested svg, composing
// the transform attributes of each element with those of its ancestors. What
// is not geometry (defs, symbol, use, text, image, style…) is passed over.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "host/Bundle.h"
#include "host/Document.h"

namespace host {

/// A file that can't be read, written, or is not SVG we can use; the message names the file and the problem.
struct SvgError : HostError {
    using HostError::HostError;
};

/// Limits beyond which a file is refused as absurd.
constexpr std::size_t kMaxSvgFileBytes = std::size_t{64} << 20;
constexpr std::size_t kMaxSvgShapes = 100000;
constexpr int kMaxSvgDepth = 256;
/// Largest coordinate, in points, once transformed (some 3.5 km).
constexpr double kMaxSvgCoordinate = 1e7;

/// The paths of an SVG file, in document order (bottom first), in artwork coordinates.
/// Throws SvgError for a file that can't be read, is not XML, has no svg root, holds malformed path data
/// or numbers, a length with a unit other than px, a coordinate that is not finite or beyond
/// kMaxSvgCoordinate, a path of more than kMaxSegmentCount anchors, or is beyond the limits above.
std::vector<PathShape> importSvg(const std::filesystem::path& file);
/// The same from the file's text; name stands for the file in messages.
std::vector<PathShape> importSvgText(std::string_view text, const std::string& name = "the SVG text");

/// The document as an SVG file: one path per art with anchors (layers bottom first, each in paint order),
/// stroked black, not filled. Art without anchors is left out.
std::string exportSvg(const Document& document);
/// exportSvg written to the file, which is replaced whole or not at all; SvgError when that fails.
void saveSvg(const Document& document, const std::filesystem::path& file);

}  // namespace host
