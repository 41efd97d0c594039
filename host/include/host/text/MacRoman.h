// The platform 8-bit encoding (Mac OS Roman) to and from Unicode, and UTF-8 to and
// from UTF-16. Conversions go through the C library's iconv.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace host {

/// Every byte has a character, so this never fails.
std::string macRomanToUtf8(std::string_view text);
std::u16string macRomanToUtf16(std::string_view text);

/// nullopt when text is not valid UTF-8 or has a character Mac OS Roman lacks.
std::optional<std::string> utf8ToMacRoman(std::string_view text);

/// Throws std::invalid_argument when text is not valid UTF-8.
std::u16string utf8ToUtf16(std::string_view text);
/// Throws std::invalid_argument on an unpaired surrogate.
std::string utf16ToUtf8(std::u16string_view text);

/// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);

}  // namespace host
