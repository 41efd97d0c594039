// Where both painters put the annotations' texts and boxes: a text's extent, from its
// ascent above the baseline to its descent below, lies where its alignment says.
#include "host/view/PaintingRules.h"

#include <gtest/gtest.h>

#include "AIAnnotator.h"

namespace {

using namespace host::painting;

constexpr FontExtents kFont = {8.0, 2.0};
constexpr double kTextWidth = 30.0;
// Edges in the drawer's order (top, left, bottom, right), the vertical ones reversed: the box is
// the same whichever edge comes first.
constexpr AIRect kRect = {120, 10, 100, 60};

TEST(PaintingRules, AlignedTextsSitInTheirBox) {
    const Point start = alignedTextOrigin(kRect, kTextWidth, kFont, kAIATextAlignStart, kAIATextAlignStart);
    EXPECT_DOUBLE_EQ(start.x, 10.0);
    EXPECT_DOUBLE_EQ(start.y - kFont.ascent, 100.0) << "the text's top on the box's top";

    const Point centre = alignedTextOrigin(kRect, kTextWidth, kFont, kAIATextAlignCenter, kAIATextAlignCenter);
    EXPECT_DOUBLE_EQ(centre.x + kTextWidth / 2, 35.0);
    EXPECT_DOUBLE_EQ((centre.y - kFont.ascent + centre.y + kFont.descent) / 2, 110.0) << "the extent centred";

    const Point end = alignedTextOrigin(kRect, kTextWidth, kFont, kAIATextAlignEnd, kAIATextAlignEnd);
    EXPECT_DOUBLE_EQ(end.x + kTextWidth, 60.0);
    EXPECT_DOUBLE_EQ(end.y + kFont.descent, 120.0) << "the descent on the box's bottom";

    const Point at = textOrigin({15, 40}, kFont);
    EXPECT_DOUBLE_EQ(at.x, 15.0);
    EXPECT_DOUBLE_EQ(at.y + kFont.descent, 40.0) << "a text drawn at a point ends there, descent included";
}

TEST(PaintingRules, StrokesRunThroughPixelMiddles) {
    const Point centre = pixelCentre({3, 4});
    EXPECT_DOUBLE_EQ(centre.x, 3.5);
    EXPECT_DOUBLE_EQ(centre.y, 4.5);

    // A rectangle's outline lies on its outer pixels; one a pixel wide is a line.
    const Box outline = outlineBoxOf(kRect);
    EXPECT_DOUBLE_EQ(outline.left, 10.5);
    EXPECT_DOUBLE_EQ(outline.top, 100.5);
    EXPECT_DOUBLE_EQ(outline.left + outline.width, 59.5);
    EXPECT_DOUBLE_EQ(outline.top + outline.height, 119.5);
    EXPECT_DOUBLE_EQ(outlineBoxOf({0, 0, 5, 1}).width, 0.0);

    const Box ellipse = ellipseBoxOf(kRect);
    EXPECT_DOUBLE_EQ(ellipse.left, 10.5);
    EXPECT_DOUBLE_EQ(ellipse.width, 50.0);
    EXPECT_DOUBLE_EQ(ellipseBoxOf({5, 5, 5, 40}).width, 0.0) << "an ellipse with no height has no box";

    EXPECT_DOUBLE_EQ(dashesInPenWidths(2.0)[0] * 2.0, kDashes[0]);
    EXPECT_DOUBLE_EQ(dashesInPenWidths(2.0)[1] * 2.0, kDashes[1]);
}

}  // namespace
