#include "document/svg/Units.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <vector>

namespace host::svg {

namespace {

/// Absolute units, in points each.
struct Unit {
    std::string_view name;
    double points;
};
constexpr Unit kUnits[] = {{"", kPointsPerPx}, {"px", kPointsPerPx}, {"pt", 1},         {"pc", 12},
                           {"in", 72},         {"mm", 72 / 25.4},    {"cm", 72 / 2.54}, {"q", 72 / 101.6}};

/// The font size a browser takes when the page sets none, and the x-height and character width it takes
/// when the font can't tell, half of that.
constexpr double kDefaultFontPx = 16;
constexpr double kDefaultHalfFontPx = kDefaultFontPx / 2;
constexpr Unit kFontUnits[] = {{"em", kDefaultFontPx* kPointsPerPx},
                               {"rem", kDefaultFontPx* kPointsPerPx},
                               {"ex", kDefaultHalfFontPx* kPointsPerPx},
                               {"ch", kDefaultHalfFontPx* kPointsPerPx}};

struct ViewportUnit {
    std::string_view name;
    Length::Share share;
};
constexpr ViewportUnit kViewportUnits[] = {{"vw", Length::Share::viewportWidth},
                                           {"vh", Length::Share::viewportHeight},
                                           {"vmin", Length::Share::viewportSmaller},
                                           {"vmax", Length::Share::viewportLarger}};

bool sameLetters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

bool Numbers::atEnd() {
    skip();
    return pos_ >= text_.size();
}

std::optional<double> Numbers::next() {
    skip();
    std::size_t start = pos_;
    if (pos_ < text_.size() && text_[pos_] == '+') ++pos_;
    double value = 0;
    auto [end, error] = std::from_chars(text_.data() + pos_, text_.data() + text_.size(), value);
    if (end == text_.data() + pos_) {
        pos_ = start;
        return std::nullopt;
    }
    std::string_view number = text_.substr(start, static_cast<std::size_t>(end - (text_.data() + start)));
    // from_chars takes "inf" and "nan"; SVG has neither.
    if (error != std::errc() || !std::isfinite(value) || number.find_first_of("iInN") != std::string_view::npos)
        throw Unreadable(what_ + ": \"" + std::string(number) + "\" is not a finite number");
    pos_ = static_cast<std::size_t>(end - text_.data());
    return value;
}

double Numbers::required() {
    std::optional<double> value = next();
    if (!value) throw Unreadable(what_ + ": a number is missing in \"" + std::string(text_) + "\"");
    return *value;
}

void Numbers::skip() {
    skipSpace();
    if (pos_ < text_.size() && text_[pos_] == ',') ++pos_;
    skipSpace();
}

void Numbers::skipSpace() {
    while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
}

bool Numbers::take(char c) {
    skipSpace();
    if (pos_ < text_.size() && text_[pos_] == c) {
        ++pos_;
        return true;
    }
    return false;
}

std::string_view Numbers::word() {
    skipSpace();
    std::size_t start = pos_;
    while (pos_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    return text_.substr(start, pos_ - start);
}

Length parseLength(std::string_view text, const std::string& what) {
    Numbers numbers(text, what);
    double number = numbers.required();
    std::string_view unit = trimmed(numbers.rest());
    if (unit == "%") return {number, 0, Length::Share::percent};
    for (const ViewportUnit& known : kViewportUnits)
        if (sameLetters(unit, known.name)) return {number, 0, known.share};
    auto absolute = [&](const Unit& known, bool fontGuess) {
        if (!std::isfinite(number * known.points))
            throw Unreadable(what + ": \"" + std::string(text) + "\" is not a finite length");
        return Length{number, known.points, Length::Share::none, fontGuess};
    };
    for (const Unit& known : kUnits)
        if (sameLetters(unit, known.name)) return absolute(known, false);
    for (const Unit& known : kFontUnits)
        if (sameLetters(unit, known.name)) return absolute(known, true);
    throw Unreadable(what + ": the unit of \"" + std::string(text) + "\" is not known");
}

std::optional<double> reference(const Viewport& viewport, Axis axis) {
    switch (axis) {
        case Axis::horizontal:
            return viewport.width;
        case Axis::vertical:
            return viewport.height;
        case Axis::diagonal:
            if (!viewport.width || !viewport.height) return std::nullopt;
            return std::hypot(*viewport.width, *viewport.height) / std::numbers::sqrt2;
    }
    return std::nullopt;
}

ViewBox parseViewBox(std::string_view text, const std::string& what) {
    Numbers numbers(text, what);
    ViewBox box{numbers.required(), numbers.required(), numbers.required(), numbers.required()};
    if (!numbers.atEnd()) throw Unreadable(what + ": more than four numbers");
    if (box.width < 0 || box.height < 0) throw Unreadable(what + ": a negative width or height");
    return box;
}

AspectRatio parseAspectRatio(std::string_view text, const std::string& what) {
    AspectRatio aspect;
    Numbers words(text, what);
    std::string_view align = words.word();
    if (align == "defer") align = words.word();
    auto position = [&](std::string_view word) {
        if (word == "Min") return 0;
        if (word == "Mid") return 1;
        if (word == "Max") return 2;
        throw Unreadable(what + ": unknown alignment");
    };
    if (align == "none") {
        aspect.none = true;
    } else if (align.size() == 8 && align[0] == 'x' && align[4] == 'Y') {
        aspect.alignX = position(align.substr(1, 3));
        aspect.alignY = position(align.substr(5, 3));
    } else {
        throw Unreadable(what + ": unknown alignment");
    }
    std::string_view fit = words.word();
    if (fit == "slice")
        aspect.slice = true;
    else if (!fit.empty() && fit != "meet")
        throw Unreadable(what + ": \"" + std::string(fit) + "\" is neither meet nor slice");
    if (!words.atEnd()) throw Unreadable(what + ": malformed");
    return aspect;
}

Geom::Affine viewBoxTransform(const ViewBox& box, const AspectRatio& aspect, double x, double y, double width,
                              double height) {
    double sx = width / box.width, sy = height / box.height;
    if (!aspect.none) sx = sy = aspect.slice ? std::max(sx, sy) : std::min(sx, sy);
    double tx = x - box.x * sx + (width - box.width * sx) * aspect.alignX / 2;
    double ty = y - box.y * sy + (height - box.height * sy) * aspect.alignY / 2;
    return Geom::Affine(sx, 0, 0, sy, tx, ty);
}

void checkTransform(const Geom::Affine& transform, const std::string& what) {
    for (int i = 0; i < 6; ++i)
        if (!std::isfinite(transform[i])) throw Unreadable(what + ": not a finite transform");
}

Geom::Affine parseTransform(std::string_view text, const std::string& what) {
    Geom::Affine total = Geom::identity();
    Numbers in(text, what);
    constexpr double kDegree = std::numbers::pi / 180;
    while (!in.atEnd()) {
        std::string name(in.word());
        if (name.empty() || !in.take('(')) throw Unreadable(what + ": malformed");
        std::vector<double> args;
        while (std::optional<double> value = in.next()) args.push_back(*value);
        if (!in.take(')')) throw Unreadable(what + ": malformed");
        auto count = [&](std::initializer_list<std::size_t> allowed) {
            for (std::size_t n : allowed)
                if (args.size() == n) return;
            throw Unreadable(what + ": wrong number of values for " + name);
        };
        Geom::Affine item;
        if (name == "matrix") {
            count({6});
            item = Geom::Affine(args[0], args[1], args[2], args[3], args[4], args[5]);
        } else if (name == "translate") {
            count({1, 2});
            item = Geom::Affine(1, 0, 0, 1, args[0], args.size() > 1 ? args[1] : 0);
        } else if (name == "scale") {
            count({1, 2});
            item = Geom::Affine(args[0], 0, 0, args.size() > 1 ? args[1] : args[0], 0, 0);
        } else if (name == "rotate") {
            count({1, 3});
            double c = std::cos(args[0] * kDegree), s = std::sin(args[0] * kDegree);
            double cx = args.size() > 1 ? args[1] : 0, cy = args.size() > 1 ? args[2] : 0;
            // About (cx, cy): translate(cx cy) rotate(a) translate(-cx -cy).
            item =
                Geom::Affine(1, 0, 0, 1, -cx, -cy) * Geom::Affine(c, s, -s, c, 0, 0) * Geom::Affine(1, 0, 0, 1, cx, cy);
        } else if (name == "skewX") {
            count({1});
            item = Geom::Affine(1, 0, std::tan(args[0] * kDegree), 1, 0, 0);
        } else if (name == "skewY") {
            count({1});
            item = Geom::Affine(1, std::tan(args[0] * kDegree), 0, 1, 0, 0);
        } else {
            throw Unreadable(what + ": unknown transform \"" + name + "\"");
        }
        // "A B" applies B first; a 2geom product applies its left factor first.
        total = item * total;
    }
    checkTransform(total, what);
    return total;
}

}  // namespace host::svg
