// Dumps write 32-bit floats with their shortest text that reads back to the same
// float: 0.1f appears as 0.1, not as the 0.10000000149011612 of its double.
#pragma once

#include <charconv>

namespace host {

/// The double whose shortest text is the float's shortest text.
inline double jsonFloat(float value) {
    char text[32];
    auto written = std::to_chars(text, text + sizeof text, value);
    double result = 0;
    std::from_chars(text, written.ptr, result);
    return result;
}

}  // namespace host
