// The annotator drawer: what an annotator draws over the view during one redraw,
// recorded as a display list that the replay program dumps or renders and the
// workbench paints.
//
// A drawer lives for one annotation pass: its handle is checked on every call and
// answers kBadHandleErr once the pass is over.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "AIAnnotator.h"
#include "host/platform/Handles.h"
#include "host/platform/SuiteRegistry.h"

namespace host {

class UnicodeStrings;

/// Width and height of a text, in view pixels.
struct TextExtent {
    double width;
    double height;
};

/// The sizes of the font presets and the extent of a text in them. The replay
/// program uses FixedTextMetrics; a front end with real fonts brings its own.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    /// The size in pixels of a preset: kAIAFSmall, kAIAFMedium or kAIAFLarge.
    virtual double fontSize(ASInt32 preset) const = 0;
    /// The extent of one line of text in the preset.
    virtual TextExtent measure(std::u16string_view text, ASInt32 preset) const = 0;
};

/// Metrics without a font, the same on every machine: each UTF-16 unit is 0.6 of the
/// size wide and a line is as high as the size (9, 11 and 13 pixels).
class FixedTextMetrics : public TextMetrics {
public:
    static constexpr double kSizes[] = {9.0, 11.0, 13.0};
    static constexpr double kUnitWidth = 0.6;

    double fontSize(ASInt32 preset) const override;
    TextExtent measure(std::u16string_view text, ASInt32 preset) const override;
};

/// The drawer's state that an operation was drawn in.
struct DrawState {
    AIRGBColor color{0, 0, 0};
    AIReal width = 1.0f;
    bool dashed = false;
    ASInt32 font = kAIAFSmall;
};

struct DrawLine {
    AIPoint from;
    AIPoint to;
};
struct DrawEllipse {
    AIRect rect;
    bool fill;
};
struct DrawRect {
    AIRect rect;
    bool fill;
};
/// A text whose first line has its bottom-left at the point.
struct DrawTextAt {
    std::string text;  ///< UTF-8
    AIPoint at;
};
/// A text aligned in a rectangle (kAIATextAlignStart, Center or End each way).
struct DrawTextAligned {
    std::string text;  ///< UTF-8
    AIRect rect;
    ASInt32 horizontal;
    ASInt32 vertical;
};
struct DrawBeziers {
    AIPoint start;
    std::vector<AIAnnotatorBezierPiece> pieces;
    bool fill;
};

/// One drawing call, with the state it was made in. Coordinates are view pixels.
struct DrawOperation {
    std::variant<DrawLine, DrawEllipse, DrawRect, DrawTextAt, DrawTextAligned, DrawBeziers> shape;
    DrawState state;
};
using DisplayList = std::vector<DrawOperation>;

/// The display list as the replay program dumps it: one object per operation, with
/// "op", its geometry, "color", "width", "dashed", and "font" for texts.
nlohmann::json toJson(const DisplayList& list);

class AnnotationDrawer {
public:
    /// Texts drawn are read from strings, which must outlive this piece.
    explicit AnnotationDrawer(const UnicodeStrings& strings);
    AnnotationDrawer(const AnnotationDrawer&) = delete;
    AnnotationDrawer& operator=(const AnnotationDrawer&) = delete;
    ~AnnotationDrawer();

    /// Registers "AI Annotator Drawer Suite" 1002 and makes this the instance its functions reach.
    void registerSuites(SuiteRegistry& registry);

    const TextMetrics& metrics() const { return *metrics_; }
    /// Replaces the metrics; null puts the fixed ones back.
    void setMetrics(std::unique_ptr<TextMetrics> metrics);

    /// A new drawer for one pass, in the initial state: black, width 1, solid, small font.
    AIAnnotatorDrawer* open();
    /// Ends the drawer's pass: its operations are appended to list and its handle is dead from now on.
    /// Nothing happens for a handle that is not open.
    void close(AIAnnotatorDrawer* drawer, DisplayList& list);
    /// Drawers whose pass has not ended.
    std::size_t openCount() const { return drawers_.size(); }

    void dump(nlohmann::json& out) const;

private:
    friend struct AnnotatorDrawerSuiteFunctions;

    struct Drawer {
        DrawState state;
        DisplayList operations;
    };

    const UnicodeStrings& strings_;
    std::unique_ptr<TextMetrics> metrics_;
    HandleTable<AIAnnotatorDrawer*, Drawer> drawers_;
};

}  // namespace host
