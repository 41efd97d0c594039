// Decimal text of the numbers shown in the length and angle labels.
#pragma once

/// Size of the area the labels format their numbers into, NUL included.
constexpr int kNumberTextSize = 60;

/// Writes value into out with precision decimals (clamped to 0..6), rounded half away
/// from zero, with the decimal separator given; out needs kNumberTextSize bytes.
/// A negative value gets a leading '-', NaN gives "?", an infinite value the Mac OS Roman
/// infinity sign 0xB0. Returns the count of characters written, the NUL not counted.
signed char FormatNumber(float value, signed char precision, char separator, char* out);
