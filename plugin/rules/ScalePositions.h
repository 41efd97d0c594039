// The drawing scales offered by the preferences' list, from 1/125 to 125/1 with the
// user's own scale at its end, and the texts that name them.
#pragma once

#include <array>
#include <cstddef>

#include "ASTypes.h"

namespace scales {

enum class Kind {
    Fixed,         // a fraction of its own
    Separator,     // no text, no ID
    ChooseCustom,  // opens the custom-scale dialog
    Custom,        // the custom scale of the settings
};

struct ScaleEntry {
    Kind kind;
    const char* text;  // platform encoding
    double num;
    double den;
};

constexpr ASInt32 kOnePosition = 12;
constexpr ASInt32 kChooseCustomPosition = 26;
constexpr ASInt32 kCustomPosition = 27;

/// The list's entries by position; an entry's ID is its position.
constexpr std::array<ScaleEntry, 28> kEntries = {{
    {Kind::Fixed, "1/125", 1, 125},
    {Kind::Fixed, "1/100", 1, 100},
    {Kind::Fixed, "1/75", 1, 75},
    {Kind::Fixed, "1/50", 1, 50},
    {Kind::Fixed, "1/25", 1, 25},
    {Kind::Fixed, "1/20", 1, 20},
    {Kind::Fixed, "1/10", 1, 10},
    {Kind::Fixed, "1/5", 1, 5},
    {Kind::Fixed, "1/4", 1, 4},
    {Kind::Fixed, "1/3", 1, 3},
    {Kind::Fixed, "1/2", 1, 2},
    {Kind::Separator, "", 0, 0},
    {Kind::Fixed, "1", 1, 1},
    {Kind::Separator, "", 0, 0},
    {Kind::Fixed, "2/1", 2, 1},
    {Kind::Fixed, "3/1", 3, 1},
    {Kind::Fixed, "4/1", 4, 1},
    {Kind::Fixed, "5/1", 5, 1},
    {Kind::Fixed, "10/1", 10, 1},
    {Kind::Fixed, "20/1", 20, 1},
    {Kind::Fixed, "25/1", 25, 1},
    {Kind::Fixed, "50/1", 50, 1},
    {Kind::Fixed, "75/1", 75, 1},
    {Kind::Fixed, "100/1", 100, 1},
    {Kind::Fixed, "125/1", 125, 1},
    {Kind::Separator, "", 0, 0},
    {Kind::ChooseCustom, "Custom Sca\xC9", 0, 0},  // 0xC9: the ellipsis in Mac OS Roman
    {Kind::Custom, "", 0, 0},
}};

/// Room for one number written by FormatG, the NUL included ("-1.79769e+308").
constexpr std::size_t kFormatGSize = 16;
/// Room for the custom entry's text: two numbers and the slash.
constexpr std::size_t kCustomTextSize = 2 * kFormatGSize;

}  // namespace scales

/// The position of the entry that marks the scale num/den: the fixed entry whose pair is
/// exactly equal, else the custom entry.
ASInt32 ScalePosition(double num, double den);

/// value as C's "%g" writes it whatever the locale: six significant digits, trailing zeros
/// dropped, exponent form below 0.0001 and from 1000000 up (1e-05, 1e+06). out holds
/// scales::kFormatGSize bytes.
void FormatG(double value, char* out);

/// The custom entry's text: "%g" of num, "/", "%g" of den; "…/…" when num is 0 (no custom
/// scale). out holds scales::kCustomTextSize bytes.
void CustomScaleText(double num, double den, char* out);
