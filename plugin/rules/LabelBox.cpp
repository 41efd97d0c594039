#include "LabelBox.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

ASInt16 TruncatedPixel(AIReal coordinate) {
    if (std::isnan(coordinate)) return 0;
    return static_cast<ASInt16>(std::clamp(std::trunc(coordinate), AIReal{INT16_MIN}, AIReal{INT16_MAX}));
}

AIRect LabelBox(ASInt16 top, AIReal halfHeight, AIReal left, AIReal halfWidth) {
    const ASInt16 bottom = TruncatedPixel(static_cast<AIReal>(top) - 2.0f * halfHeight);
    const ASInt16 leftEdge = TruncatedPixel(left);
    const ASInt16 rightEdge = TruncatedPixel(static_cast<AIReal>(leftEdge) + 2.0f * halfWidth);
    return {std::min(top, bottom), std::min(leftEdge, rightEdge), std::max(top, bottom), std::max(leftEdge, rightEdge)};
}
