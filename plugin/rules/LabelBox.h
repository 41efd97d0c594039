// The label boxes' edges in view pixels: each edge truncated to a whole pixel before the
// next is derived from it, all kept within 16 bits.
#pragma once

#include "AITypes.h"

/// A coordinate truncated toward zero to a pixel, kept within 16 bits.
ASInt16 TruncatedPixel(AIReal coordinate);

/// A label's box: from the v-edge top to top - 2 × halfHeight and from left to
/// left + 2 × halfWidth, each edge truncated to a pixel before the next is derived from
/// it; the edges of each pair in increasing order.
AIRect LabelBox(ASInt16 top, AIReal halfHeight, AIReal left, AIReal halfWidth);
