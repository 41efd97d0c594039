// Numbers, lengths, viewports and transforms as SVG writes them: the pieces of text an SVG file measures
// its drawing with, read into numbers and affine maps.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <2geom/affine.h>

namespace host::svg {

/// A value of the file that can't be read; the reader passes over what it belongs to, with this reason.
struct Unreadable : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// Artwork points per CSS px: user units are px, 96 to the inch, where points are 72.
constexpr double kPointsPerPx = 0.75;

bool isSpace(char c);
std::string_view trimmed(std::string_view text);

/// Reads numbers separated by blanks and/or one comma, as SVG writes them.
class Numbers {
public:
    Numbers(std::string_view text, std::string what) : text_(text), what_(std::move(what)) {}

    bool atEnd();
    std::string_view rest() const { return text_.substr(pos_); }
    /// The next number, or nullopt when the text does not go on with one.
    std::optional<double> next();
    double required();
    bool take(char c);
    std::string_view word();

private:
    void skip();
    void skipSpace();

    std::string_view text_;
    std::string what_;
    std::size_t pos_ = 0;
};

/// A length as written: a number of a unit, or a share of a viewport.
struct Length {
    /// What a relative length is a share of.
    enum class Share { none, percent, viewportWidth, viewportHeight, viewportSmaller, viewportLarger };
    double number = 0;
    double points = 0;  ///< per unit, when share is none
    Share share = Share::none;
    /// em, ex, ch, rem: sized as a browser sizes them with no font, 16 px to the em.
    bool fontGuess = false;
    /// In user units (px); a plain number or one in px stays exactly as written. Only for share none.
    double userUnits() const { return points == kPointsPerPx ? number : number * points / kPointsPerPx; }
};

/// Throws Unreadable, naming what, for a length that is not a number with a unit SVG knows.
Length parseLength(std::string_view text, const std::string& what);

/// The size that percentages of a viewport refer to, in its user units; unknown when the drawing gives none.
struct Viewport {
    std::optional<double> width, height;
};

/// What a percentage of a length is a percentage of.
enum class Axis { horizontal, vertical, diagonal };

/// The viewport's width, height or normalized diagonal.
std::optional<double> reference(const Viewport& viewport, Axis axis);

struct ViewBox {
    double x, y, width, height;
    bool empty() const { return width == 0 || height == 0; }
};

/// Throws Unreadable for a malformed viewBox or one with a negative size.
ViewBox parseViewBox(std::string_view text, const std::string& what);

/// preserveAspectRatio: where a viewBox sits in a viewport of another shape, and at which scale.
struct AspectRatio {
    bool none = false;  ///< stretch each way on its own
    int alignX = 1;     ///< 0 min, 1 mid, 2 max
    int alignY = 1;
    bool slice = false;  ///< cover the viewport rather than fit in it
};

/// Throws Unreadable for a value that is not an alignment with meet or slice.
AspectRatio parseAspectRatio(std::string_view text, const std::string& what);

/// The viewBox mapped onto the viewport (x, y, width, height) as preserveAspectRatio asks.
Geom::Affine viewBoxTransform(const ViewBox& box, const AspectRatio& aspect, double x, double y, double width,
                              double height);

/// A transform attribute's list, the first item applied last; throws Unreadable for a malformed one.
Geom::Affine parseTransform(std::string_view text, const std::string& what);

/// Throws Unreadable when a coefficient is not finite.
void checkTransform(const Geom::Affine& transform, const std::string& what);

}  // namespace host::svg
