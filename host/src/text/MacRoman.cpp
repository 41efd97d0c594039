#include "host/text/MacRoman.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace host {
namespace {

constexpr const char* kMacRoman = "MACINTOSH";
constexpr const char* kUtf8 = "UTF-8";
// No byte-order mark: the units are handed out as they are in memory.
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// The C library's table differs from the platform's own in two places: it reads
// 0xC6 as GREEK CAPITAL DELTA and 0xF0 as a private character of its own.
constexpr char16_t kLibraryDelta = u'\u0394';
constexpr char16_t kPlatformIncrement = u'\u2206';
constexpr char16_t kLibraryLogo = u'\uE01E';
constexpr char16_t kPlatformLogo = u'\uF8FF';

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to + ": " +
                                     std::strerror(errno));
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    /// The converted bytes; nullopt when the input is ill-formed or has a character the target lacks.
    std::optional<std::string> run(const char* data, std::size_t size) {
        std::string out(size * 2 + 16, '\0');
        std::size_t used = 0;
        char* in = const_cast<char*>(data);
        std::size_t inLeft = size;
        // All the input, then a call with no input that flushes any pending state.
        if (!step(&in, &inLeft, out, used) || !step(nullptr, nullptr, out, used)) return std::nullopt;
        out.resize(used);
        return out;
    }

private:
    bool step(char** in, std::size_t* inLeft, std::string& out, std::size_t& used) {
        for (;;) {
            char* outPtr = out.data() + used;
            std::size_t outLeft = out.size() - used;
            std::size_t result = iconv(cd_, in, inLeft, &outPtr, &outLeft);
            int error = errno;
            used = static_cast<std::size_t>(outPtr - out.data());
            if (result != static_cast<std::size_t>(-1)) return true;
            if (error != E2BIG) return false;  // EILSEQ, or EINVAL for a cut-off sequence
            out.resize(out.size() * 2);
        }
    }

    iconv_t cd_;
};

std::optional<std::string> convert(const char* to, const char* from, std::string_view bytes) {
    return Converter(to, from).run(bytes.data(), bytes.size());
}

std::u16string unitsFrom(const std::string& bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    std::memcpy(units.data(), bytes.data(), units.size() * 2);
    return units;
}

std::string_view bytesOf(std::u16string_view units) {
    return {reinterpret_cast<const char*>(units.data()), units.size() * 2};
}

}  // namespace

bool isValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int trail;
        unsigned char low = 0x80, high = 0xBF;  // range of the first trailing byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trail = 2;
            if (lead == 0xE0) low = 0xA0;   // overlong
            if (lead == 0xED) high = 0x9F;  // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trail = 3;
            if (lead == 0xF0) low = 0x90;   // overlong
            if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
        } else {
            return false;
        }
        if (end - p <= trail) return false;
        if (p[1] < low || p[1] > high) return false;
        for (int i = 2; i <= trail; ++i)
            if (p[i] < 0x80 || p[i] > 0xBF) return false;
        p += trail + 1;
    }
    return true;
}

std::u16string macRomanToUtf16(std::string_view text) {
    auto bytes = convert(kUtf16, kMacRoman, text);
    if (!bytes) throw std::logic_error("iconv has no character for a Mac OS Roman byte");
    std::u16string units = unitsFrom(*bytes);
    for (char16_t& unit : units) {
        if (unit == kLibraryDelta)
            unit = kPlatformIncrement;
        else if (unit == kLibraryLogo)
            unit = kPlatformLogo;
    }
    return units;
}

std::string macRomanToUtf8(std::string_view text) {
    return utf16ToUtf8(macRomanToUtf16(text));
}

std::optional<std::string> utf8ToMacRoman(std::string_view text) {
    if (!isValidUtf8(text)) return std::nullopt;
    std::u16string units = utf8ToUtf16(text);
    for (char16_t& unit : units) {
        if (unit == kPlatformIncrement)
            unit = kLibraryDelta;
        else if (unit == kPlatformLogo)
            unit = kLibraryLogo;
    }
    return convert(kMacRoman, kUtf16, bytesOf(units));
}

std::u16string utf8ToUtf16(std::string_view text) {
    // Checked here rather than left to iconv, whose idea of well-formed is its own.
    if (!isValidUtf8(text)) throw std::invalid_argument("text is not valid UTF-8");
    auto bytes = convert(kUtf16, kUtf8, text);
    if (!bytes) throw std::invalid_argument("text is not valid UTF-8");
    return unitsFrom(*bytes);
}

std::string utf16ToUtf8(std::u16string_view text) {
    auto bytes = convert(kUtf8, kUtf16, bytesOf(text));
    if (!bytes) throw std::invalid_argument("text has an unpaired UTF-16 surrogate");
    return std::move(*bytes);
}

}  // namespace host
