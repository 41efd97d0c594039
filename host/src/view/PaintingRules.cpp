#include "host/view/PaintingRules.h"

#include <algorithm>

#include "AIAnnotator.h"

namespace host::painting {

Box boxOf(const AIRect& rect) {
    const double left = std::min(rect.left, rect.right);
    const double top = std::min(rect.top, rect.bottom);
    return {left, top, std::max(rect.left, rect.right) - left, std::max(rect.top, rect.bottom) - top};
}

Box ellipseBoxOf(const AIRect& rect) {
    const Box box = boxOf(rect);
    if (box.width <= 0 || box.height <= 0) return {0, 0, 0, 0};
    return {box.left + kPixelCentre, box.top + kPixelCentre, box.width, box.height};
}

Box outlineBoxOf(const AIRect& rect) {
    const Box box = boxOf(rect);
    return {box.left + kPixelCentre, box.top + kPixelCentre, std::max(box.width - 1, 0.0),
            std::max(box.height - 1, 0.0)};
}

std::array<double, 2> dashesInPenWidths(double width) {
    return {kDashes[0] / width, kDashes[1] / width};
}

Point textOrigin(AIPoint at, FontExtents font) {
    return {static_cast<double>(at.h), at.v - font.descent};
}

Point alignedTextOrigin(const AIRect& rect, double width, FontExtents font, ASInt32 horizontal, ASInt32 vertical) {
    const Box box = boxOf(rect);
    double x = box.left;
    if (horizontal == kAIATextAlignCenter) x += (box.width - width) / 2;
    if (horizontal == kAIATextAlignEnd) x += box.width - width;
    double baseline = box.top + font.ascent;
    if (vertical == kAIATextAlignCenter) baseline = box.top + (box.height + font.ascent - font.descent) / 2;
    if (vertical == kAIATextAlignEnd) baseline = box.top + box.height - font.descent;
    return {x, baseline};
}

}  // namespace host::painting
