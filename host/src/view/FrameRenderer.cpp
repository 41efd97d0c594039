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
#include "host/view/PaintingRules.h"

namespace host {

namespace {

using painting::Box;
using painting::Point;

constexpr const char* kFontFamily = "DejaVu Sans";
constexpr double kArtWidth = 1.0;

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

double component(ASUInt16 value) {
    return value / 65535.0;
}

void moveTo(cairo_t* context, AIPoint p) {
    const Point centre = painting::pixelCentre(p);
    cairo_move_to(context, centre.x, centre.y);
}

void lineTo(cairo_t* context, AIPoint p) {
    const Point centre = painting::pixelCentre(p);
    cairo_line_to(context, centre.x, centre.y);
}

void curveTo(cairo_t* context, AIPoint c1, AIPoint c2, AIPoint end) {
    const Point a = painting::pixelCentre(c1);
    const Point b = painting::pixelCentre(c2);
    const Point c = painting::pixelCentre(end);
    cairo_curve_to(context, a.x, a.y, b.x, b.y, c.x, c.y);
}

void applyState(cairo_t* context, const DrawState& state) {
    cairo_set_source_rgb(context, component(state.color.red), component(state.color.green),
                         component(state.color.blue));
    cairo_set_line_width(context, state.width);
    cairo_set_dash(context, painting::kDashes.data(), state.dashed ? static_cast<int>(painting::kDashes.size()) : 0,
                   0.0);
}

void fillOrStroke(cairo_t* context, bool fill) {
    if (fill)
        cairo_fill(context);
    else
        cairo_stroke(context);
}

/// Paints one operation of the display list with Cairo, by the shared painting rules.
struct CairoAnnotationPainter {
    cairo_t* context;
    const TextMetrics& metrics;
    ASInt32 font;

    void operator()(const DrawLine& line) const {
        moveTo(context, line.from);
        lineTo(context, line.to);
        cairo_stroke(context);
    }
    void operator()(const DrawEllipse& ellipse) const {
        const Box box = painting::ellipseBoxOf(ellipse.rect);
        if (box.width <= 0 || box.height <= 0) return;
        cairo_save(context);
        cairo_translate(context, box.left + box.width / 2, box.top + box.height / 2);
        cairo_scale(context, box.width / 2, box.height / 2);
        cairo_new_path(context);
        cairo_arc(context, 0.0, 0.0, 1.0, 0.0, 2 * std::numbers::pi);
        cairo_restore(context);  // the stroke keeps its width, not the scaled one
        fillOrStroke(context, ellipse.fill);
    }
    void operator()(const DrawRect& rect) const {
        const Box box = rect.fill ? painting::boxOf(rect.rect) : painting::outlineBoxOf(rect.rect);
        cairo_rectangle(context, box.left, box.top, box.width, box.height);
        fillOrStroke(context, rect.fill);
    }
    void operator()(const DrawTextAt& text) const { showText(text.text, painting::textOrigin(text.at, fontExtents())); }
    void operator()(const DrawTextAligned& text) const {
        const painting::FontExtents extents = fontExtents();
        showText(text.text,
                 painting::alignedTextOrigin(text.rect, textWidth(text.text), extents, text.horizontal, text.vertical));
    }
    void operator()(const DrawBeziers& chain) const {
        moveTo(context, chain.start);
        for (const AIAnnotatorBezierPiece& piece : chain.pieces)
            curveTo(context, piece.control1, piece.control2, piece.end);
        fillOrStroke(context, chain.fill);
    }

    /// Selects the operation's font and answers its extents.
    painting::FontExtents fontExtents() const {
        cairo_select_font_face(context, kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(context, metrics.fontSize(font));
        cairo_font_extents_t extents;
        cairo_font_extents(context, &extents);
        return {extents.ascent, extents.descent};
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

    void showText(const std::string& text, Point origin) const {
        cairo_text_extents_t extents;
        cairo_text_extents(context, text.c_str(), &extents);
        double squeeze = extents.x_advance > 0 ? textWidth(text) / extents.x_advance : 1.0;
        cairo_save(context);
        cairo_translate(context, origin.x, origin.y);
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
        std::visit(CairoAnnotationPainter{context, metrics_, operation.state.font}, operation.shape);
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
