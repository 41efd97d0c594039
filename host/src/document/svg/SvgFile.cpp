#include "document/svg/SvgFile.h"

#include <charconv>
#include <cstring>
#include <sstream>

namespace host {

namespace {

/// Everything the file holds is kept, and nothing is decoded that a save would have to encode again.
constexpr unsigned kKeptParse = pugi::parse_cdata | pugi::parse_comments | pugi::parse_pi | pugi::parse_declaration |
                                pugi::parse_doctype | pugi::parse_ws_pcdata;
constexpr unsigned kKeptFormat = pugi::format_raw | pugi::format_no_escapes | pugi::format_no_declaration;

std::string prefixFor(const pugi::xml_node& root, const char* uri, const char* usual) {
    for (pugi::xml_attribute attribute : root.attributes()) {
        std::string_view name = attribute.name();
        if (name.starts_with("xmlns:") && std::strcmp(attribute.value(), uri) == 0) return std::string(name.substr(6));
    }
    return usual;
}

struct Collector : pugi::xml_tree_walker {
    std::vector<pugi::xml_node> elements;
    bool for_each(pugi::xml_node& node) override {
        if (node.type() == pugi::node_element) elements.push_back(node);
        return true;
    }
};

constexpr std::pair<std::string_view, char> kPredefined[] = {
    {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

/// The character a reference names, or nothing for one that is not predefined or numeric.
bool decodeReference(std::string_view name, std::string& out) {
    for (const auto& [entity, character] : kPredefined) {
        if (name == entity) {
            out += character;
            return true;
        }
    }
    if (name.size() < 2 || name[0] != '#') return false;
    bool hex = name[1] == 'x';
    std::string_view digits = name.substr(hex ? 2 : 1);
    std::uint32_t code = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
    constexpr std::uint32_t kLastCodePoint = 0x10FFFF;
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || code == 0 ||
        code > kLastCodePoint)
        return false;
    appendUtf8(out, code);
    return true;
}

}  // namespace

pugi::xml_parse_result SvgFile::load(std::string_view text) {
    pugi::xml_parse_result result = xml.load_buffer(text.data(), text.size(), kKeptParse);
    if (!result) return result;
    encoding_ = result.encoding;
    pugi::xml_node root = xml.document_element();
    inkscapePrefix = prefixFor(root, kInkscapeNamespace, "inkscape");
    sodipodiPrefix = prefixFor(root, kSodipodiNamespace, "sodipodi");
    // Values are written back between double quotes: one that held a double quote between single ones
    // keeps it as a reference.
    for (pugi::xml_node element : elementsInOrder(root)) {
        for (pugi::xml_attribute attribute : element.attributes()) {
            std::string_view value = attribute.value();
            if (value.find('"') == std::string_view::npos) continue;
            std::string quoted;
            for (char c : value) quoted += c == '"' ? std::string("&quot;") : std::string(1, c);
            attribute.set_value(quoted.c_str());
        }
    }
    return result;
}

std::string SvgFile::text(const pugi::xml_document& copy) const {
    std::ostringstream stream;
    copy.save(stream, "", kKeptFormat, encoding_);
    return stream.str();
}

std::vector<pugi::xml_node> elementsInOrder(const pugi::xml_node& root) {
    Collector collector;
    collector.elements.push_back(root);
    // The walker is iterative: a deeply nested file costs no stack.
    pugi::xml_node start = root;
    start.traverse(collector);
    return std::move(collector.elements);
}

std::string_view localName(const pugi::xml_node& node) {
    std::string_view name = node.name();
    std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_attribute attributeNamed(const pugi::xml_node& node, std::string_view local) {
    for (pugi::xml_attribute attribute : node.attributes()) {
        std::string_view name = attribute.name();
        std::size_t colon = name.find(':');
        if ((colon == std::string_view::npos ? name : name.substr(colon + 1)) == local) return attribute;
    }
    return {};
}

std::string decodedText(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        std::size_t end = raw[i] == '&' ? raw.find(';', i) : std::string_view::npos;
        if (end != std::string_view::npos && decodeReference(raw.substr(i + 1, end - i - 1), out)) {
            i = end;
            continue;
        }
        out += raw[i];
    }
    return out;
}

std::string escapedText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        bool replaced = false;
        for (const auto& [entity, character] : kPredefined) {
            if (c != character) continue;
            out += "&" + std::string(entity) + ";";
            replaced = true;
            break;
        }
        if (!replaced) out += c;
    }
    return out;
}

}  // namespace host
