// Numbers in dumps read back to the value the host holds.
#pragma once

#include <charconv>

#include <nlohmann/json.hpp>

namespace host {

/// A 32-bit float as JSON with its shortest round-trip text: 0.1f is written 0.1, not 0.10000000149011612.
inline nlohmann::json jsonNumber(float value) {
    char text[32];
    char* end = std::to_chars(text, text + sizeof text, value).ptr;
    // The double nearest to that text prints back as the same text.
    double wide = 0;
    std::from_chars(text, end, wide);
    return wide;
}

}  // namespace host
