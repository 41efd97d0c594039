// How the annotations' display list becomes pixels, whatever paints it: the frames'
// Cairo painter and the workbench's Qt painter both place strokes, boxes and texts by
// these rules, so that a recorded frame and the canvas show the same picture.
#pragma once

#include <array>

#include "AITypes.h"

namespace host::painting {

/// Strokes run through the middle of the pixels they name.
constexpr double kPixelCentre = 0.5;
/// Dashes of dashed strokes, in pixels: 4 on, 3 off.
constexpr std::array<double, 2> kDashes = {4.0, 3.0};

struct Point {
    double x, y;
};

struct Box {
    double left, top, width, height;
};

/// The middle of the pixel a view point names.
constexpr Point pixelCentre(AIPoint p) {
    return {p.h + kPixelCentre, p.v + kPixelCentre};
}

/// The pixels of a rectangle whose edges may come in either order.
Box boxOf(const AIRect& rect);

/// An ellipse's box, through the middle of the pixels of its rectangle; empty when the
/// rectangle has no area, and then nothing is drawn.
Box ellipseBoxOf(const AIRect& rect);

/// A rectangle's outline lies on its outer pixels: the box through their middles.
Box outlineBoxOf(const AIRect& rect);

/// The dashes in units of a pen's width (more than 0), as painters that scale them by it
/// take them.
std::array<double, 2> dashesInPenWidths(double width);

/// What a text's placement needs of its font.
struct FontExtents {
    double ascent, descent;
};

/// The left end of the baseline of a text drawn at a point: the point is the bottom of
/// the text, its descent included.
Point textOrigin(AIPoint at, FontExtents font);

/// The left end of the baseline of a text width wide aligned in the rectangle, by the
/// drawer's alignments (start, centre, end) across and down.
Point alignedTextOrigin(const AIRect& rect, double width, FontExtents font, ASInt32 horizontal, ASInt32 vertical);

}  // namespace host::painting
