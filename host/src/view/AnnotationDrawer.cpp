#include "host/view/AnnotationDrawer.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

#include "host/platform/JsonNumbers.h"
#include "host/text/MacRoman.h"
#include "host/text/UnicodeStrings.h"

namespace host {

namespace {

using Active = ActivePiece<AnnotationDrawer>;

bool isPreset(ASInt32 preset) {
    return preset >= kAIAFSmall && preset <= kAIAFLarge;
}
bool isAlignment(ASInt32 align) {
    return align >= kAIATextAlignStart && align <= kAIATextAlignEnd;
}

/// A pixel coordinate clamped to 16 bits.
ASInt16 toPixel(double coordinate) {
    return static_cast<ASInt16>(std::clamp(coordinate, double{INT16_MIN}, double{INT16_MAX}));
}

nlohmann::json point(AIPoint p) {
    return {p.h, p.v};
}
nlohmann::json rect(const AIRect& r) {
    return {r.top, r.left, r.bottom, r.right};
}

struct OperationJson {
    nlohmann::json& out;
    void operator()(const DrawLine& line) const {
        out["op"] = "line";
        out["from"] = point(line.from);
        out["to"] = point(line.to);
    }
    void operator()(const DrawEllipse& ellipse) const {
        out["op"] = "ellipse";
        out["rect"] = rect(ellipse.rect);
        out["fill"] = ellipse.fill;
    }
    void operator()(const DrawRect& box) const {
        out["op"] = "rect";
        out["rect"] = rect(box.rect);
        out["fill"] = box.fill;
    }
    void operator()(const DrawTextAt& text) const {
        out["op"] = "text";
        out["text"] = text.text;
        out["at"] = point(text.at);
    }
    void operator()(const DrawTextAligned& text) const {
        out["op"] = "text";
        out["text"] = text.text;
        out["rect"] = rect(text.rect);
        out["align"] = {text.horizontal, text.vertical};
    }
    void operator()(const DrawBeziers& chain) const {
        out["op"] = "beziers";
        out["start"] = point(chain.start);
        auto& pieces = out["pieces"] = nlohmann::json::array();
        for (const AIAnnotatorBezierPiece& piece : chain.pieces)
            pieces.push_back({point(piece.control1), point(piece.control2), point(piece.end)});
        out["fill"] = chain.fill;
    }
};

}  // namespace

double FixedTextMetrics::fontSize(ASInt32 preset) const {
    return kSizes[isPreset(preset) ? preset : kAIAFSmall];
}

TextExtent FixedTextMetrics::measure(std::u16string_view text, ASInt32 preset) const {
    double size = fontSize(preset);
    return {kUnitWidth * size * static_cast<double>(text.size()), size};
}

nlohmann::json toJson(const DisplayList& list) {
    nlohmann::json out = nlohmann::json::array();
    for (const DrawOperation& operation : list) {
        nlohmann::json entry = nlohmann::json::object();
        std::visit(OperationJson{entry}, operation.shape);
        const DrawState& state = operation.state;
        entry["color"] = {state.color.red, state.color.green, state.color.blue};
        entry["width"] = jsonNumber(state.width);
        entry["dashed"] = state.dashed;
        if (std::holds_alternative<DrawTextAt>(operation.shape) ||
            std::holds_alternative<DrawTextAligned>(operation.shape))
            entry["font"] = state.font;
        out.push_back(std::move(entry));
    }
    return out;
}

// The suite's functions: each finds its drawer by the handle first, so that a dead
// drawer changes nothing, then checks its arguments.
struct AnnotatorDrawerSuiteFunctions {
    using Drawer = AnnotationDrawer::Drawer;

    /// body on the drawer a handle names, through the host's one lookup and guard.
    template <class Body>
    static AIErr onDrawer(AIAnnotatorDrawer* drawer, Body&& body) noexcept {
        return guardedLookup(&AnnotationDrawer::drawers_, drawer, std::forward<Body>(body));
    }

    /// The text of a live string in UTF-8; false when the handle is not live or the text is not well formed.
    static bool utf8Of(const AnnotationDrawer& self, AIUnicodeStringHandle string, std::string& text) {
        std::optional<std::u16string> units = self.strings_.text(string);
        if (!units) return false;
        try {
            text = utf16ToUtf8(*units);
        } catch (const std::invalid_argument&) {
            return false;
        }
        return true;
    }

    template <class Shape>
    static AIErr record(Drawer& found, Shape shape) {
        found.operations.push_back({std::move(shape), found.state});
        return kNoErr;
    }

    static AIErr SetColor(AIAnnotatorDrawer* drawer, const AIRGBColor& color) noexcept {
        return onDrawer(drawer, [&](AnnotationDrawer&, Drawer& found) {
            found.state.color = color;
            return kNoErr;
        });
    }

    static AIErr SetLineWidth(AIAnnotatorDrawer* drawer, AIReal width) noexcept {
        return onDrawer(drawer, [&](AnnotationDrawer&, Drawer& found) {
            if (!std::isfinite(width) || width < 0.0f) return kBadParameterErr;
            found.state.width = width;
            return kNoErr;
        });
    }

    static AIErr SetLineDashed(AIAnnotatorDrawer* drawer, AIBoolean dashed) noexcept {
        return onDrawer(drawer, [&](AnnotationDrawer&, Drawer& found) {
            found.state.dashed = dashed != 0;
            return kNoErr;
        });
    }

    static AIErr SetFontPreset(AIAnnotatorDrawer* drawer, ASInt32 preset) noexcept {
        return onDrawer(drawer, [&](AnnotationDrawer&, Drawer& found) {
            if (!isPreset(preset)) return kBadParameterErr;
            found.state.font = preset;
            return kNoErr;
        });
    }

    static AIErr DrawLine(AIAnnotatorDrawer* drawer, const AIPoint& start, const AIPoint& end) noexcept {
        return onDrawer(drawer, [&](AnnotationDrawer&, Drawer& found) {
            return record(found, host::DrawLine{start, end});
        });
    }

    static AIErr DrawEllipse(AIAnnotatorDrawer* drawer, const AIRect& rect, AIBoolean fill) noexcept {
        return onDrawer(drawer, [&](AnnotationDrawer&, Drawer& found) {
            return record(found, host::DrawEllipse{rect, fill != 0});
        });
    }

    static AIErr DrawRect(AIAnnotatorDrawer* drawer, const AIRect& rect, AIBoolean fill) noexcept {
        return onDrawer(drawer, [&](AnnotationDrawer&, Drawer& found) {
            return record(found, host::DrawRect{rect, fill != 0});
        });
    }

    static AIErr DrawText(AIAnnotatorDrawer* drawer, AIUnicodeStringHandle text, const AIPoint& point) noexcept {
        return onDrawer(drawer, [&](AnnotationDrawer& self, Drawer& found) {
            std::string utf8;
            if (!utf8Of(self, text, utf8)) return kBadHandleErr;
            return record(found, DrawTextAt{std::move(utf8), point});
        });
    }

    static AIErr DrawTextAligned(AIAnnotatorDrawer* drawer, AIUnicodeStringHandle text, ASInt32 horizontal,
                                 ASInt32 vertical, const AIRect& rect) noexcept {
        return onDrawer(drawer, [&](AnnotationDrawer& self, Drawer& found) {
            if (!isAlignment(horizontal) || !isAlignment(vertical)) return kBadParameterErr;
            std::string utf8;
            if (!utf8Of(self, text, utf8)) return kBadHandleErr;
            return record(found, host::DrawTextAligned{std::move(utf8), rect, horizontal, vertical});
        });
    }

    /// A failure of the front end's metrics answers kCantHappenErr, through the guard.
    static AIErr GetTextBounds(AIAnnotatorDrawer* drawer, AIUnicodeStringHandle text, const AIPoint* origin,
                               AIRect* bounds) noexcept {
        return onDrawer(drawer, [&](AnnotationDrawer& self, Drawer& found) {
            if (!bounds) return kBadParameterErr;
            std::optional<std::u16string> units = self.strings_.text(text);
            if (!units) return kBadHandleErr;
            TextExtent extent = self.metrics().measure(*units, found.state.font);
            // Whole pixels that hold the whole text; like DrawText, the origin is the bottom-left.
            double width = std::ceil(extent.width);
            double height = std::ceil(extent.height);
            double left = origin ? origin->h : 0.0;
            double bottom = origin ? origin->v : height;
            *bounds = {toPixel(bottom - height), toPixel(left), toPixel(bottom), toPixel(left + width)};
            return kNoErr;
        });
    }

    static AIErr DrawBeziers(AIAnnotatorDrawer* drawer, const AIPoint& start, const AIAnnotatorBezierPiece* pieces,
                             ASInt32 count, AIBoolean fill) noexcept {
        return onDrawer(drawer, [&](AnnotationDrawer&, Drawer& found) {
            if (count < 0 || (count > 0 && !pieces)) return kBadParameterErr;
            if (count == 0) return kNoErr;
            return record(found, host::DrawBeziers{start, {pieces, pieces + count}, fill != 0});
        });
    }
};

namespace {

constexpr AIAnnotatorDrawerSuite kSuite = {
    AnnotatorDrawerSuiteFunctions::SetColor,        AnnotatorDrawerSuiteFunctions::SetLineWidth,
    AnnotatorDrawerSuiteFunctions::SetLineDashed,   AnnotatorDrawerSuiteFunctions::SetFontPreset,
    AnnotatorDrawerSuiteFunctions::DrawLine,        AnnotatorDrawerSuiteFunctions::DrawEllipse,
    AnnotatorDrawerSuiteFunctions::DrawRect,        AnnotatorDrawerSuiteFunctions::DrawText,
    AnnotatorDrawerSuiteFunctions::DrawTextAligned, AnnotatorDrawerSuiteFunctions::GetTextBounds,
    AnnotatorDrawerSuiteFunctions::DrawBeziers,
};

}  // namespace

AnnotationDrawer::AnnotationDrawer(const UnicodeStrings& strings)
    : strings_(strings), metrics_(std::make_unique<FixedTextMetrics>()) {}

AnnotationDrawer::~AnnotationDrawer() {
    Active::clear(this);
}

void AnnotationDrawer::registerSuites(SuiteRegistry& registry) {
    registry.add(kAIAnnotatorDrawerSuite, kAIAnnotatorDrawerSuiteVersion, &kSuite);
    Active::set(this);
}

void AnnotationDrawer::setMetrics(std::unique_ptr<TextMetrics> metrics) {
    metrics_ = metrics ? std::move(metrics) : std::make_unique<FixedTextMetrics>();
}

AIAnnotatorDrawer* AnnotationDrawer::open() {
    return drawers_.add({});
}

void AnnotationDrawer::close(AIAnnotatorDrawer* drawer, DisplayList& list) {
    Drawer* found = drawers_.find(drawer);
    if (!found) return;
    list.insert(list.end(), std::make_move_iterator(found->operations.begin()),
                std::make_move_iterator(found->operations.end()));
    drawers_.erase(drawer);
}

void AnnotationDrawer::dump(nlohmann::json& out) const {
    out["drawers"] = drawers_.size();
}

}  // namespace host
