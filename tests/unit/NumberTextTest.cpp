#include "NumberText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

namespace {

/// The text written and the count returned, with the separator in force while the tool is
/// selected unless told; fails if they disagree.
std::string Text(float value, signed char precision, char separator = ',') {
    char area[kNumberTextSize];
    const int n = FormatNumber(value, precision, separator, area);
    EXPECT_EQ(n, static_cast<int>(std::strlen(area)));
    return area;
}

TEST(FormatNumber, WorkedExamples) {
    struct Example {
        float value;
        signed char precision;
        const char* text;
        signed char result;
    };
    const Example examples[] = {
        {123.456f, 2, "123,46", 6},
        {9.999f, 2, "10,00", 5},
        {0.004f, 2, "0,00", 4},
        {0.0f, 2, "0,00", 4},
        {0.0f, 0, "0", 1},
        {2.5f, 0, "3", 1},
        {0.5f, 0, "1", 1},
        {1.25f, 1, "1,3", 3},
        {0.35f, 1, "0,3", 3},
        {45.0f, 1, "45,0", 4},
        {1000.0f, 0, "1000", 4},
        {3.14159265f, 4, "3,1416", 6},
        {1.0f, 6, "1,000000", 8},
        {179.99f, 0, "180", 3},
        // Rounding that gains a digit, and a single value lying just below its half.
        {999.5f, 0, "1000", 4},
        {0.45f, 1, "0,4", 3},
        // The fraction is carried in single precision: 128.147995f is 128.1479949951...
        {128.147995f, 5, "128,14800", 9},
    };
    for (const Example& e : examples) {
        SCOPED_TRACE(testing::Message() << e.value << " at " << int{e.precision});
        char area[kNumberTextSize];
        EXPECT_EQ(FormatNumber(e.value, e.precision, ',', area), e.result);
        EXPECT_STREQ(area, e.text);
    }
}

TEST(FormatNumber, SeparatorIsTheOneGiven) {
    EXPECT_EQ(Text(123.456f, 2, '.'), "123.46");
}

TEST(FormatNumber, PrecisionOutsideZeroToSixIsClamped) {
    EXPECT_EQ(Text(2.5f, -3), "3");
    EXPECT_EQ(Text(1.0f, 9), "1,000000");
    EXPECT_EQ(Text(1.0f, std::numeric_limits<signed char>::max()), "1,000000");
}

TEST(FormatNumber, SignsAndNonFiniteValues) {
    EXPECT_EQ(Text(-1.25f, 1), "-1,3");
    EXPECT_EQ(Text(-0.004f, 2), "-0,00");
    EXPECT_EQ(Text(-0.0f, 1), "0,0");
    EXPECT_EQ(Text(std::numeric_limits<float>::quiet_NaN(), 2), "?");
    EXPECT_EQ(Text(std::numeric_limits<float>::infinity(), 2), "\xB0");
    EXPECT_EQ(Text(-std::numeric_limits<float>::infinity(), 2), "-\xB0");
}

TEST(FormatNumber, LargestValuesFitInTheText) {
    const float largest = std::numeric_limits<float>::max();
    // 39 integer digits, the separator and 6 decimals.
    EXPECT_EQ(Text(largest, 6).size(), 46u);
    EXPECT_EQ(Text(-largest, 6).size(), 47u);
}

}  // namespace
