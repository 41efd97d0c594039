// Decimal text of the numbers shown in the length and angle labels.
#pragma once

/// The most decimals a label shows.
constexpr int kMaximumDecimals = 6;

/// Size of the area the labels format their numbers into, NUL included.
constexpr int kNumberTextSize = 60;

/// Writes value into out with precision decimals (clamped to 0..6), rounded half away
/// from zero, with the decimal separator given; out needs kNumberTextSize bytes.
/// A negative value gets a leading '-', NaN gives "?", an infinite value the Mac OS Roman
/// infinity sign 0xB0. Returns the count of characters written, the NUL not counted.
signed char FormatNumber(float value, signed char precision, char separator, char* out);

/// The precision after one event of a drag over the preferences' precision picture at h,
/// the previous event having been at previous: one step down when the pointer moved left,
/// one step up otherwise (no movement, or any event at h = 0, included); kept within 0 to
/// kMaximumDecimals.
int PrecisionAfterDrag(int precision, int previous, int h);
