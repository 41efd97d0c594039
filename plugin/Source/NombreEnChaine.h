// Decimal text of the numbers shown in the length and angle labels.
#pragma once

/// Size of TexteLigne, the area the labels format their numbers into, NUL included.
constexpr int kTailleTexteLigne = 60;

/// Writes value into out with precision decimals (clamped to 0..6), rounded half away
/// from zero, the separator being VirguleOuPoint[0]; out needs kTailleTexteLigne bytes.
/// A negative value gets a leading '-', NaN gives "?", an infinite value the Mac OS Roman
/// infinity sign 0xB0. Returns the count of characters written, the NUL not counted.
signed char NombreEnChaine(float value, signed char precision, char* out);
