#include "AboutBox.h"

#include <gtest/gtest.h>

namespace {

void ExpectRect(const ASRect& rect, int top, int left, int bottom, int right) {
    EXPECT_EQ(rect.top, top);
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.bottom, bottom);
    EXPECT_EQ(rect.right, right);
}

TEST(AboutBoxFrame, CentredAcrossAndAThirdDown) {
    ExpectRect(AboutBoxFrame({0, 0, 900, 1440}), 216, 520, 466, 920);
    ExpectRect(AboutBoxFrame({0, 0, 768, 1024}), 172, 312, 422, 712);
}

TEST(AboutBoxFrame, ScreensSmallerThanTheBox) {
    // The height's third is truncated toward zero, the width's half rounded down.
    ExpectRect(AboutBoxFrame({0, 0, 200, 300}), -16, -50, 234, 350);
    ExpectRect(AboutBoxFrame({0, 0, 249, 399}), 0, -1, 250, 399);
}

}  // namespace
