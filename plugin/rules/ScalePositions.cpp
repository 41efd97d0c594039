#include "ScalePositions.h"

#include <charconv>
#include <cstring>

using namespace scales;

namespace {

constexpr int kSignificantDigits = 6;

}  // namespace

ASInt32 ScalePosition(double num, double den) {
    for (ASInt32 position = 0; position < static_cast<ASInt32>(kEntries.size()); ++position) {
        const ScaleEntry& entry = kEntries[static_cast<std::size_t>(position)];
        if (entry.kind == Kind::Fixed && entry.num == num && entry.den == den) return position;
    }
    return kCustomPosition;
}

void FormatG(double value, char* out) {
    // to_chars keeps the period whatever locale the host runs in.
    const auto [end, error] =
        std::to_chars(out, out + kFormatGSize - 1, value, std::chars_format::general, kSignificantDigits);
    *(error == std::errc() ? end : out) = '\0';
}

void CustomScaleText(double num, double den, char* out) {
    if (num == 0.0) {
        std::strcpy(out, "\xC9/\xC9");
        return;
    }
    FormatG(num, out);
    std::strcat(out, "/");
    FormatG(den, out + std::strlen(out));
}
