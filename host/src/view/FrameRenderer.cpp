#include "host/view/FrameRenderer.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <numbers>
#include <string>

#include "host/document/Document.h"
#include "host/platform/Bundle.h"
#include "host/text/MacRoman.h"
#include "host/view/DocumentViews.h"

namespace host {

namespace {

constexpr const char* kFontFamily = "DejaVu Sans";
/// Dashes of dashed strokes: 4 pixels on, 3 off.
constexpr double kDashes[] = {4.0, 3.0};
constexpr double kArtWidth = 1.0;
constexpr double kPixelCentre = 0.5;

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

double component(ASUInt16 value) {
    return value / 65535.0;
}

/// Strokes run through the middle of the pixels they name.
void moveTo(cairo_t* context, AIPoint p) {
    cairo_move_to(context, p.h + kPixelCentre, p.v + kPixelCentre);
}

void curveTo(cairo_t* context, AIPoint c1, AIPoint c2, AIPoint end) {
    cairo_curve_to(context, c1.h + kPixelCentre, c1.v + kPixelCentre, c2.h + kPixelCentre, c2.v + kPixelCentre,
                   end.h + kPixelCentre, end.v + kPixelCentre);
}

struct Box {
    double left, top, width, height;
};

/// The pixels of a rectangle whose edges may come in either order.
Box boxOf(const AIRect& rect) {
    double left = std::min(rect.left, rect.right);
    double top = std::min(rect.top, rect.bottom);
    return {left, top, std::max(rect.left, rect.right) - left, std::max(rect.top, rect.bottom) - top};
}

void applyState(cairo_t* context, const DrawState& state) {
    cairo_set_source_rgb(context, component(state.color.red), component(state.color.green),
                         component(state.color.blue));
    cairo_set_line_width(context, state.width);
    cairo_set_dash(context, kDashes, state.dashed ? 2 : 0, 0.0);
}

void fillOrStroke(cairo_t* context, bool fill) {
    if (fill)
        cairo_fill(context);
    else
        cairo_stroke(context);
}

struct AnnotationPainter {
    cairo_t* context;
    const TextMetrics& metrics;
    ASInt32 font;

    void operator()(const DrawLine& line) const {
        moveTo(context, line.from);
        cairo_line_to(context, line.to.h + kPixelCentre, line.to.v + kPixelCentre);
        cairo_stroke(context);
    }
    void operator()(const DrawEllipse& ellipse) const {
        Box box = boxOf(ellipse.rect);
        if (box.width <= 0 || box.height <= 0) return;
        cairo_save(context);
        cairo_translate(context, box.left + box.width / 2 + kPixelCentre, box.top + box.height / 2 + kPixelCentre);
        cairo_scale(context, box.width / 2, box.height / 2);
        cairo_new_path(context);
        cairo_arc(context, 0.0, 0.0, 1.0, 0.0, 2 * std::numbers::pi);
        cairo_restore(context);  // the stroke keeps its width, not the scaled one
        fillOrStroke(context, ellipse.fill);
    }
    void operator()(const DrawRect& rect) const {
        Box box = boxOf(rect.rect);
        if (rect.fill) {
            cairo_rectangle(context, box.left, box.top, box.width, box.height);
            cairo_fill(context);
        } else {
            // The outline lies on the rectangle's outer pixels.
            cairo_rectangle(context, box.left + kPixelCentre, box.top + kPixelCentre, std::max(box.width - 1, 0.0),
                            std::max(box.height - 1, 0.0));
            cairo_stroke(context);
        }
    }
    void operator()(const DrawTextAt& text) const {
        selectFont();
        cairo_font_extents_t extents;
        cairo_font_extents(context, &extents);
        showText(text.text, text.at.h, text.at.v - extents.descent);
    }
    void operator()(const DrawTextAligned& text) const {
        selectFont();
        cairo_font_extents_t extents;
        cairo_font_extents(context, &extents);
        double width = textWidth(text.text);
        Box box = boxOf(text.rect);
        double x = box.left;
        if (text.horizontal == kAIATextAlignCenter) x += (box.width - width) / 2;
        if (text.horizontal == kAIATextAlignEnd) x += box.width - width;
        double baseline = box.top + extents.ascent;
        if (text.vertical == kAIATextAlignCenter)
            baseline = box.top + (box.height + extents.ascent - extents.descent) / 2;
        if (text.vertical == kAIATextAlignEnd) baseline = box.top + box.height - extents.descent;
        showText(text.text, x, baseline);
    }
    void operator()(const DrawBeziers& chain) const {
        moveTo(context, chain.start);
        for (const AIAnnotatorBezierPiece& piece : chain.pieces)
            curveTo(context, piece.control1, piece.control2, piece.end);
        fillOrStroke(context, chain.fill);
    }

    void selectFont() const {
        cairo_select_font_face(context, kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(context, metrics.fontSize(font));
    }

    /// The width the metrics gave the text when it was laid out.
    double laidOutWidth(const std::string& text) const { return metrics.measure(utf8ToUtf16(text), font).width; }

    /// The drawn width: the font's own, narrowed to the laid-out width when wider, so that
    /// a text stays inside the box that was made for it.
    double textWidth(const std::string& text) const {
        cairo_text_extents_t extents;
        cairo_text_extents(context, text.c_str(), &extents);
        return std::min(extents.x_advance, laidOutWidth(text));
    }

    void showText(const std::string& text, double x, double baseline) const {
        cairo_text_extents_t extents;
        cairo_text_extents(context, text.c_str(), &extents);
        double squeeze = extents.x_advance > 0 ? textWidth(text) / extents.x_advance : 1.0;
        cairo_save(context);
        cairo_translate(context, x, baseline);
        cairo_scale(context, squeeze, 1.0);
        cairo_move_to(context, 0, 0);
        cairo_show_text(context, text.c_str());
        cairo_restore(context);
    }
};

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

void check(cairo_status_t status, const std::filesystem::path& file) {
    if (status != CAIRO_STATUS_SUCCESS)
        throw HostError("can't write " + file.string() + ": " + cairo_status_to_string(status));
}

}  // namespace

FrameRenderer::FrameRenderer(const Document& document, const DocumentViews& views, const TextMetrics& metrics)
    : document_(document), views_(views), metrics_(metrics) {}

void FrameRenderer::paint(cairo_t* context, const DisplayList& annotations) const {
    cairo_save(context);
    cairo_rectangle(context, 0, 0, views_.width(), views_.height());
    cairo_clip(context);
    cairo_set_source_rgb(context, 1, 1, 1);
    cairo_paint(context);
    paintArt(context);
    paintAnnotations(context, annotations);
    cairo_restore(context);
}

void FrameRenderer::paintArt(cairo_t* context) const {
    cairo_set_source_rgb(context, 0, 0, 0);
    cairo_set_line_width(context, kArtWidth);
    cairo_set_dash(context, nullptr, 0, 0.0);
    auto view = [&](AIRealPoint p) { return views_.artworkToView(p).value_or(AIPoint{0, 0}); };
    document_.forEachArt([&](AIArtHandle, const Document::Art& art) {
        const std::vector<AIPathSegment>& segments = art.shape.segments;
        if ((document_.userAttributes(art) & kArtHidden) || segments.empty()) return;
        cairo_new_path(context);
        moveTo(context, view(segments[0].p));
        for (std::size_t i = 0; i < pieceCount(art.shape); ++i) {
            AIRealBezier piece = pieceBezier(art.shape, i);
            curveTo(context, view(piece.p1), view(piece.p2), view(piece.p3));
        }
        if (art.shape.closed) cairo_close_path(context);
        cairo_stroke(context);
    });
}

void FrameRenderer::paintAnnotations(cairo_t* context, const DisplayList& annotations) const {
    for (const DrawOperation& operation : annotations) {
        cairo_new_path(context);
        applyState(context, operation.state);
        std::visit(AnnotationPainter{context, metrics_, operation.state.font}, operation.shape);
    }
}

void FrameRenderer::write(const std::filesystem::path& file, const DisplayList& annotations) const {
    std::string extension = lowerCase(file.extension().string());
    if (extension != ".svg" && extension != ".png")
        throw HostError("a frame is written to an .svg or .png file, not " + file.string());
    Surface surface(extension == ".svg"
                        ? cairo_svg_surface_create(file.c_str(), views_.width(), views_.height())
                        : cairo_image_surface_create(CAIRO_FORMAT_ARGB32, views_.width(), views_.height()),
                    &cairo_surface_destroy);
    check(cairo_surface_status(surface.get()), file);
    if (extension == ".svg") cairo_svg_surface_set_document_unit(surface.get(), CAIRO_SVG_UNIT_PX);
    {
        Context context(cairo_create(surface.get()), &cairo_destroy);
        paint(context.get(), annotations);
        check(cairo_status(context.get()), file);
    }
    if (extension == ".png") {
        check(cairo_surface_write_to_png(surface.get(), file.c_str()), file);
    } else {
        cairo_surface_finish(surface.get());
        check(cairo_surface_status(surface.get()), file);
    }
}

}  // namespace host
