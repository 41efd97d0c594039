#include <gtest/gtest.h>

#include "TypedLength.h"

namespace {

TEST(TypedLengthTest, TheUnitAtTheEndScalesTheWholeExpression) {
    EXPECT_DOUBLE_EQ(*ReadTypedLength("1+1 m"), 2000.0);
    EXPECT_DOUBLE_EQ(*ReadTypedLength("2mm"), 2.0);
    EXPECT_DOUBLE_EQ(*ReadTypedLength(" 1,5 cm "), 15.0);
    EXPECT_DOUBLE_EQ(*ReadTypedLength("-(-3)"), 3.0);
}

TEST(TypedLengthTest, WhatGivesNoLengthIsRefused) {
    for (const char* text : {"", " ", "12+", "(1", "2 km", "pi", "sin(1)", "1e3", "0", "-5", "1/0", "1,,2", "mm"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ReadTypedLength(text));
    }
}

}  // namespace
