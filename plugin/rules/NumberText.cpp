#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr char kInfinitySign = static_cast<char>(0xB0);
constexpr char kUnknownSign = '?';

/// Integer digits of the largest finite float.
constexpr int kMostIntegerDigits = std::numeric_limits<float>::max_exponent10 + 1;
static_assert(1 + kMostIntegerDigits + 1 + kMaximumDecimals + 1 <= kNumberTextSize,
              "sign, integer digits, separator, decimals and NUL must fit in a number text");

// The digits depend on which steps run in single and which in double precision: labels
// must show the same text for the same float, so each rounding below is deliberate.
int WriteFinitePositive(float value, int precision, char separator, char* out) {
    const double r = std::round(static_cast<double>(value) * std::pow(10.0, precision));
    const float x = static_cast<float>(std::pow(0.1, precision) * r);
    float ip = std::floor(x);
    // Half a unit of the last decimal, so that the truncating extraction below yields
    // the digits of the rounded value despite the single-precision representation.
    float f = static_cast<float>(static_cast<double>(x) + 5.0 * std::pow(0.1, precision + 1) - static_cast<double>(ip));

    int n = 0;
    if (ip == 0.0f) {
        out[n++] = '0';
    } else {
        const int k = static_cast<int>(1.0 + std::floor(std::log10(static_cast<double>(ip))));
        // From the least significant digit up, filling the area from its end.
        for (int i = 0; i < k; ++i) {
            const float t = static_cast<float>(0.1 * static_cast<double>(ip));
            ip = std::floor(t);
            const float tenths = 10.0f * (t - ip);
            out[k - 1 - i] = static_cast<char>('0' + static_cast<int>(std::round(static_cast<double>(tenths))));
        }
        n = k;
    }

    if (precision > 0) {
        out[n++] = separator;
        for (int i = 0; i < precision; ++i) {
            const float d = static_cast<float>(std::floor(10.0 * static_cast<double>(f)));
            f = static_cast<float>(10.0 * static_cast<double>(f) - static_cast<double>(d));
            out[n++] = static_cast<char>(static_cast<int>(48.0f + d));
        }
    }
    return n;
}

}  // namespace

signed char FormatNumber(float value, signed char precision, char separator, char* out) {
    int n = 0;
    if (std::isnan(value)) {
        out[n++] = kUnknownSign;
    } else {
        if (value < 0.0f) {
            out[n++] = '-';
            value = -value;
        }
        if (std::isinf(value)) {
            out[n++] = kInfinitySign;
        } else {
            const int decimals = std::clamp<int>(precision, 0, kMaximumDecimals);
            n += WriteFinitePositive(value, decimals, separator, out + n);
        }
    }
    out[n] = '\0';
    return static_cast<signed char>(n);
}

int PrecisionAfterDrag(int precision, int previous, int h) {
    if ((previous - h) * h > 0)
        --precision;
    else
        ++precision;
    return std::clamp(precision, 0, kMaximumDecimals);
}
