#include "ScalePositions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "NumberText.h"

using scales::kEntries;
using scales::Kind;

namespace {

std::string G(double value) {
    char text[scales::kFormatGSize];
    FormatG(value, text);
    return text;
}

std::string Custom(double num, double den) {
    char text[scales::kCustomTextSize];
    CustomScaleText(num, den, text);
    return text;
}

TEST(ScaleTest, EveryFixedEntryReadsAsItsFraction) {
    for (const auto& entry : kEntries) {
        if (entry.kind != Kind::Fixed) continue;
        const bool one = entry.num == 1 && entry.den == 1;
        EXPECT_EQ(entry.text, one ? "1" : G(entry.num) + "/" + G(entry.den));
    }
}

TEST(ScaleTest, ListLayout) {
    ASSERT_EQ(kEntries.size(), 28u);
    for (std::size_t position : {11u, 13u, 25u}) EXPECT_EQ(kEntries[position].kind, Kind::Separator) << position;
    EXPECT_EQ(kEntries[scales::kChooseCustomPosition].kind, Kind::ChooseCustom);
    EXPECT_STREQ(kEntries[scales::kChooseCustomPosition].text, "Custom Sca\xC9");
    EXPECT_EQ(kEntries[scales::kCustomPosition].kind, Kind::Custom);
    EXPECT_STREQ(kEntries[0].text, "1/125");
    EXPECT_STREQ(kEntries[scales::kOnePosition].text, "1");
    EXPECT_STREQ(kEntries[24].text, "125/1");
}

TEST(ScaleTest, EachFixedPairMarksItsOwnEntry) {
    for (std::size_t position = 0; position < kEntries.size(); ++position) {
        const auto& entry = kEntries[position];
        if (entry.kind != Kind::Fixed) continue;
        EXPECT_EQ(ScalePosition(entry.num, entry.den), static_cast<ASInt32>(position)) << entry.text;
    }
}

TEST(ScaleTest, OtherPairsMarkTheCustomEntry) {
    EXPECT_EQ(ScalePosition(3, 7), scales::kCustomPosition);
    // The same ratio as a fixed entry is not the same pair.
    EXPECT_EQ(ScalePosition(2, 2), scales::kCustomPosition);
    EXPECT_EQ(ScalePosition(2, 4), scales::kCustomPosition);
    // A single-precision 0.1 is not the exact 1/10 either.
    EXPECT_EQ(ScalePosition(1, 10.000000149011612), scales::kCustomPosition);
    EXPECT_EQ(ScalePosition(0, 0), scales::kCustomPosition);
}

TEST(ScaleTest, FormatGWritesAsPercentG) {
    EXPECT_EQ(G(3.0 / 7.0), "0.428571");
    EXPECT_EQ(G(7.0 / 3.0), "2.33333");
    EXPECT_EQ(G(0.5), "0.5");
    EXPECT_EQ(G(3), "3");
    EXPECT_EQ(G(125), "125");
    EXPECT_EQ(G(0.0001), "0.0001");
    EXPECT_EQ(G(0.00001), "1e-05");
    EXPECT_EQ(G(999999), "999999");
    EXPECT_EQ(G(1000000), "1e+06");
    // Rounding to six digits may carry into the exponent form.
    EXPECT_EQ(G(999999.5), "1e+06");
    EXPECT_EQ(G(0.1f), "0.1");
    EXPECT_EQ(G(-2.5), "-2.5");
    EXPECT_EQ(G(-1.7976931348623157e308), "-1.79769e+308");
}

TEST(ScaleTest, FormatGAgreesWithTheCLibrary) {
    // The test runs in the C locale, where printf's "%g" is the reference.
    for (double value = 1.2345678e-7; value < 1e9; value *= 1.7) {
        for (double x : {value, -value, static_cast<double>(static_cast<float>(value))}) {
            char expected[scales::kFormatGSize];
            std::snprintf(expected, sizeof expected, "%g", x);
            EXPECT_EQ(G(x), expected);
        }
    }
}

TEST(ScaleTest, CustomEntryText) {
    EXPECT_EQ(Custom(3, 7), "3/7");
    EXPECT_EQ(Custom(0.5, 2), "0.5/2");
    EXPECT_EQ(Custom(1e-05, 1e+06), "1e-05/1e+06");
    // No custom scale yet.
    EXPECT_EQ(Custom(0, 7), "\xC9/\xC9");
    EXPECT_EQ(Custom(-1.7976931348623157e308, -1.7976931348623157e308), "-1.79769e+308/-1.79769e+308");
}

TEST(PrecisionAfterDragTest, OneStepPerEventWithinZeroToSix) {
    // Rightward, still, and at the left edge: up.
    EXPECT_EQ(PrecisionAfterDrag(3, 10, 11), 4);
    EXPECT_EQ(PrecisionAfterDrag(3, 10, 10), 4);
    EXPECT_EQ(PrecisionAfterDrag(3, 5, 0), 4);
    // Leftward: down.
    EXPECT_EQ(PrecisionAfterDrag(3, 11, 10), 2);
    EXPECT_EQ(PrecisionAfterDrag(6, 24, 23), 5);
    // Never beyond the decimals the labels can show.
    EXPECT_EQ(PrecisionAfterDrag(6, 10, 11), 6);
    EXPECT_EQ(PrecisionAfterDrag(0, 11, 10), 0);
}

}  // namespace
