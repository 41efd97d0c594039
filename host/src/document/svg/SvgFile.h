// The file a document was opened from, kept whole: its XML as written (entities, whitespace, comments, the
// declaration and the DOCTYPE), what the host drew from each element, and the layers' groups. It is built
// by the reader and never changes after: a save applies the document's edits to a copy.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <2geom/affine.h>
#include <pugixml.hpp>

#include "host/document/Document.h"

namespace host {

class SvgFile {
public:
    /// An element the host draws: a shape, or a use whose instance opens as locked art.
    struct Drawn {
        enum class Kind { path, line, polyline, polygon, rect, circle, ellipse, instance };
        Kind kind = Kind::path;
        Geom::Affine toArtwork;        ///< from the element's user space, its own transform included
        std::vector<PathShape> parts;  ///< the art it opened as, FileLink::part indexing them
        double cornerX = 0;            ///< a rect's corner radii as drawn, in user units
        double cornerY = 0;
    };
    /// A layer's group as it was read; the root stands for the one layer of a file that has none.
    struct Group {
        Geom::Affine toArtwork;  ///< from the user space of its content
        std::string name;
        bool locked = false;
        bool hidden = false;
    };

    /// Reads the text as written, attribute values and text left with their entities; the parse's result.
    pugi::xml_parse_result load(std::string_view text);
    /// The text of a copy of the XML, written as it was read.
    std::string text(const pugi::xml_document& copy) const;

    pugi::xml_document xml;
    std::map<std::uint32_t, Drawn> drawn;   ///< by element number
    std::map<std::uint32_t, Group> groups;  ///< by element number
    std::uint32_t currentLayer = 0;         ///< the group the editor's view names as current; 0 none
    /// The prefixes the root binds to the editors' namespaces, or the ones editors use.
    std::string inkscapePrefix = "inkscape";
    std::string sodipodiPrefix = "sodipodi";

private:
    pugi::xml_encoding encoding_ = pugi::encoding_utf8;
};

/// Every element of the tree in document order: element n (FileLink::element) is at n - 1.
std::vector<pugi::xml_node> elementsInOrder(const pugi::xml_node& root);

/// The element's name without its namespace prefix.
std::string_view localName(const pugi::xml_node& node);
/// An attribute by its local name, whatever prefix the file gives it (xlink:href, href).
pugi::xml_attribute attributeNamed(const pugi::xml_node& node, std::string_view local);

/// A kept value with its character and predefined entity references replaced; others are left as written.
std::string decodedText(std::string_view raw);
/// Text made safe to keep as a value: the five characters XML reserves written as references.
std::string escapedText(std::string_view text);

constexpr const char* kInkscapeNamespace = "http://www.inkscape.org/namespaces/inkscape";
constexpr const char* kSodipodiNamespace = "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";

}  // namespace host
