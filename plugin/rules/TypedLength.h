// Numbers typed at the cursor: a length such as "2400/3" or "1,2 m", read as a real-world
// length at the drawing scale, and an angle in degrees.
#pragma once

#include <optional>

/// The value of arithmetic with + - * / and parentheses, '.' or ',' as the decimal separator;
/// nothing when the text can't be read or gives no finite number.
std::optional<double> ReadTypedNumber(const char* text);

/// The length, in real-world millimetres, that text gives: a number as ReadTypedNumber reads
/// it, and an optional unit at the end (mm, cm,
/// m, in, ft, pt; none is millimetres, the labels' unit). Nothing when the text can't be read
/// or gives no positive, finite length.
std::optional<double> ReadTypedLength(const char* text);
