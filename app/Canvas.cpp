#include "Canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSvgRenderer>
#include <QWheelEvent>

#include "AIHitTest.h"
#include "QtTextMetrics.h"
#include "Selection.h"
#include "host/platform/Bundle.h"
#include "host/view/PaintingRules.h"

namespace workbench {

namespace {

using host::DocumentViews;
namespace painting = host::painting;

constexpr int kCursorSize = 32;
/// How near the cursor art must be for the selection tool to take it, in pixels.
constexpr double kSelectTolerance = 4.0;
/// How near an anchor the point a drag holds must come to snap to it, in pixels: the tool's own tolerance.
constexpr double kSnapTolerance = 8.0;
constexpr double kWheelStep = 1.25;
const QColor kSelectedArt(19, 125, 255);
const QColor kPageOutline(128, 128, 128);
constexpr double kPlainWidth = 1.0;
constexpr double kSelectedWidth = 1.5;
/// Half the side of the square marking an anchor of selected art, in pixels.
constexpr double kAnchorMark = 2.0;
/// How far beyond the box of an art's anchors and handles its paint may reach, in pixels: the anchors'
/// squares (wider than half the selected stroke) and a pixel of antialiasing, rounded up with room to spare.
constexpr double kDamageMargin = 4.0;
/// The band around repainted pixels that is painted too and thrown away, in pixels.
constexpr int kGuardBand = 8;
/// Beyond this many changed boxes between two paints, repainting the whole image costs less.
constexpr std::size_t kMaxDamage = 256;

/// The keys held once a key event is over: the event's own report of a modifier key
/// varies between platforms, so the key itself decides its bit.
/// A key as the tool contract carries it, and its session line.
struct ToolKey {
    ASUInt32 character;
    const char* name;  // the key command's name, or null for a typed character
    std::string text;  // the character as UTF-8

    std::string sessionLine(ASUInt16 modifiers) const {
        // A character typed with no more than Shift, which it already carries, is typed text.
        if (!name && (modifiers & ~shiftKey) == 0) return "type " + SessionRecorder::quoted(text);
        return "key " + (name ? std::string(name) : SessionRecorder::quoted(text)) +
               SessionRecorder::modifierNames(modifiers);
    }
};

std::optional<ToolKey> toolKey(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return ToolKey{kAIReturnKey, "return", {}};
        case Qt::Key_Escape:
            return ToolKey{kAIEscapeKey, "escape", {}};
        case Qt::Key_Backspace:
            return ToolKey{kAIBackspaceKey, "backspace", {}};
        case Qt::Key_Delete:
            return ToolKey{kAIDeleteKey, "delete", {}};
        case Qt::Key_Tab:
            return ToolKey{kAITabKey, "tab", {}};
        default:
            break;
    }
    const QString text = event.text();
    const QList<uint> characters = text.toUcs4();
    if (characters.size() != 1 || !text.at(0).isPrint()) return std::nullopt;
    return ToolKey{characters.front(), nullptr, text.toStdString()};
}

Qt::KeyboardModifiers modifiersAfter(const QKeyEvent& event, bool pressed) {
    Qt::KeyboardModifiers modifiers = event.modifiers();
    Qt::KeyboardModifier own = Qt::NoModifier;
    switch (event.key()) {
        case Qt::Key_Shift:
            own = Qt::ShiftModifier;
            break;
        case Qt::Key_Alt:
            own = Qt::AltModifier;
            break;
        case Qt::Key_Control:
            own = Qt::ControlModifier;
            break;
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
            own = Qt::MetaModifier;
            break;
        default:
            return modifiers;
    }
    return pressed ? modifiers | own : modifiers & ~own;
}

QPointF pixel(AIPoint p) {
    const painting::Point centre = painting::pixelCentre(p);
    return {centre.x, centre.y};
}

QPointF pointOf(painting::Point p) {
    return {p.x, p.y};
}

QRectF rectOf(const painting::Box& box) {
    return {box.left, box.top, box.width, box.height};
}

painting::FontExtents extentsOf(const QFontMetricsF& metrics) {
    return {metrics.ascent(), metrics.descent()};
}

QColor colorOf(const AIRGBColor& color) {
    return QColor::fromRgbF(color.red / 65535.0f, color.green / 65535.0f, color.blue / 65535.0f);
}

/// Paints one operation of the display list with Qt, by the shared painting rules.
struct QtAnnotationPainter {
    QPainter& painter;

    void fillOrStroke(const QPainterPath& path, bool fill) const {
        if (fill)
            painter.fillPath(path, painter.pen().color());
        else
            painter.strokePath(path, painter.pen());
    }
    void operator()(const host::DrawLine& line) const { painter.drawLine(pixel(line.from), pixel(line.to)); }
    void operator()(const host::DrawEllipse& ellipse) const {
        const painting::Box box = painting::ellipseBoxOf(ellipse.rect);
        if (box.width <= 0 || box.height <= 0) return;
        QPainterPath path;
        path.addEllipse(rectOf(box));
        fillOrStroke(path, ellipse.fill);
    }
    void operator()(const host::DrawRect& rect) const {
        if (rect.fill) {
            painter.fillRect(rectOf(painting::boxOf(rect.rect)), painter.pen().color());
        } else {
            QPainterPath path;
            path.addRect(rectOf(painting::outlineBoxOf(rect.rect)));
            painter.strokePath(path, painter.pen());
        }
    }
    void operator()(const host::DrawTextAt& text) const {
        const QFontMetricsF metrics(painter.font());
        painter.drawText(pointOf(painting::textOrigin(text.at, extentsOf(metrics))), QString::fromStdString(text.text));
    }
    void operator()(const host::DrawTextAligned& text) const {
        const QFontMetricsF metrics(painter.font());
        const QString string = QString::fromStdString(text.text);
        const painting::Point origin = painting::alignedTextOrigin(text.rect, metrics.horizontalAdvance(string),
                                                                   extentsOf(metrics), text.horizontal, text.vertical);
        painter.drawText(pointOf(origin), string);
    }
    void operator()(const host::DrawBeziers& chain) const {
        QPainterPath path(pixel(chain.start));
        for (const AIAnnotatorBezierPiece& piece : chain.pieces)
            path.cubicTo(pixel(piece.control1), pixel(piece.control2), pixel(piece.end));
        fillOrStroke(path, chain.fill);
    }
};

/// The path's outline in artwork points; empty for a path without anchors.
QPainterPath outlineOf(const host::PathShape& shape) {
    if (shape.segments.empty()) return {};
    QPainterPath path(QPointF(shape.segments[0].p.h, shape.segments[0].p.v));
    for (std::size_t i = 0; i < host::pieceCount(shape); ++i) {
        AIRealBezier piece = host::pieceBezier(shape, i);
        path.cubicTo(piece.p1.h, piece.p1.v, piece.p2.h, piece.p2.v, piece.p3.h, piece.p3.v);
    }
    if (shape.closed) path.closeSubpath();
    return path;
}

/// Strokes art as the artwork image shows it: selected art in blue, its anchors marked.
class ArtPainter {
public:
    ArtPainter(QPainter& painter, const QTransform& toView, const host::Document& document)
        : painter_(painter),
          toView_(toView),
          document_(document),
          plain_(Qt::black, kPlainWidth),
          selected_(kSelectedArt, kSelectedWidth) {
        plain_.setCosmetic(true);
        selected_.setCosmetic(true);
    }

    void operator()(const host::Document::Art& art) const {
        const std::vector<AIPathSegment>& segments = art.shape.segments;
        // Art of a hidden layer counts as hidden.
        if ((document_.userAttributes(art) & kArtHidden) || segments.empty()) return;
        bool isSelected = art.attributes & kArtSelected;
        painter_.strokePath(toView_.map(outlineOf(art.shape)), isSelected ? selected_ : plain_);
        if (isSelected) {
            for (const AIPathSegment& segment : segments) {
                QPointF anchor = toView_.map(QPointF(segment.p.h, segment.p.v));
                painter_.fillRect(
                    QRectF(anchor - QPointF(kAnchorMark, kAnchorMark), QSizeF(2 * kAnchorMark, 2 * kAnchorMark)),
                    kSelectedArt);
            }
        }
    }

private:
    QPainter& painter_;
    const QTransform& toView_;
    const host::Document& document_;
    QPen plain_;
    QPen selected_;
};

bool sameBounds(const host::Bounds& a, const host::Bounds& b) {
    return a.left == b.left && a.bottom == b.bottom && a.right == b.right && a.top == b.top;
}

/// Adds pixels to a list of rectangles that do not overlap, joining it with those it meets.
void addDamage(std::vector<QRect>& rects, QRect pixels) {
    for (auto met = rects.begin(); met != rects.end();) {
        if (met->intersects(pixels)) {
            pixels |= *met;
            rects.erase(met);
            met = rects.begin();  // the joined rectangle may meet those passed over
        } else {
            ++met;
        }
    }
    rects.push_back(pixels);
}

}  // namespace

Canvas::Canvas(host::Host& host, Act act, QWidget* parent) : QWidget(parent), host_(host), act_(std::move(act)) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    boundsObserver_ = host_.hitTesting().addObserver(
        [this](AIArtHandle, const std::optional<host::Bounds>& before, const std::optional<host::Bounds>& after) {
            if (damageOverflow_) return;
            for (const std::optional<host::Bounds>& box : {before, after}) {
                // A path growing anchor by anchor tells the same box again and again.
                if (!box || (!damage_.empty() && sameBounds(damage_.back(), *box))) continue;
                if (damage_.size() == kMaxDamage) {
                    damageOverflow_ = true;
                    damage_.clear();
                    return;
                }
                damage_.push_back(*box);
            }
        });
}

Canvas::~Canvas() {
    host_.hitTesting().removeObserver(boundsObserver_);
}

QSize Canvas::sizeHint() const {
    return {DocumentViews::kWidth, DocumentViews::kHeight};
}

AIRealPoint Canvas::artworkPoint(QPointF at) const {
    AIPoint where{static_cast<ASInt16>(std::floor(at.x())), static_cast<ASInt16>(std::floor(at.y()))};
    return host_.views().viewToArtwork(where).value_or(host_.views().center());
}

ASUInt16 Canvas::modifierBits(Qt::KeyboardModifiers modifiers) {
    ASUInt16 bits = 0;
    if (modifiers & Qt::ShiftModifier) bits |= shiftKey;
    // Meta stands in for Option where the window manager keeps Alt for itself.
    if (modifiers & (Qt::AltModifier | Qt::MetaModifier)) bits |= optionKey;
    if (modifiers & Qt::ControlModifier) bits |= controlKey;
    return bits;
}

void Canvas::refreshArt() {
    const host::Document& document = host_.document();
    qreal ratio = devicePixelRatioF();
    QSize size(static_cast<int>(std::ceil(width() * ratio)), static_cast<int>(std::ceil(height() * ratio)));
    AIRealPoint center = host_.views().center();
    const bool sameView = artValid_ && art_.size() == size && artZoom_ == host_.views().zoom() &&
                          artCenter_.h == center.h && artCenter_.v == center.v;
    if (sameView && artRevision_ != document.appearanceRevision() && !damageOverflow_ && !damage_.empty()) {
        repaintDamage();
    } else if (!sameView || artRevision_ != document.appearanceRevision()) {
        // A new view, many changes, or a change of the art's look that no art's box tells of.
        art_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
        art_.setDevicePixelRatio(ratio);
        paintArt(art_);
    }
    // Otherwise only locks and unlocks, which do not show: the boxes they told of need no paint.
    damage_.clear();
    damageOverflow_ = false;
    artValid_ = true;
    artRevision_ = document.appearanceRevision();
    artZoom_ = host_.views().zoom();
    artCenter_ = center;
}

QTransform Canvas::viewTransform() const {
    const double zoom = host_.views().zoom();
    const AIRealPoint center = host_.views().center();
    // The view's mapping (v up in the artwork, down on the screen), through the middle of the pixels.
    QTransform toView;
    // The middle pixel as the host counts it: an odd size leaves the extra pixel on the right and below.
    toView.translate(host_.views().width() / 2 + painting::kPixelCentre,
                     host_.views().height() / 2 + painting::kPixelCentre);
    toView.scale(zoom, -zoom);
    toView.translate(-center.h, -center.v);
    return toView;
}

void Canvas::paintArt(QImage& image) const {
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Only the art the view shows: a large drawing seen in part costs what is seen.
    paintArtReaching(painter, viewTransform(), QRectF(QPointF(0, 0), image.deviceIndependentSize()));
}

void Canvas::paintArtReaching(QPainter& painter, const QTransform& toView, const QRectF& pixels) const {
    const host::Document& document = host_.document();
    const QMarginsF margin(kDamageMargin, kDamageMargin, kDamageMargin, kDamageMargin);
    const QRectF reach = toView.inverted().mapRect(pixels + margin);
    // Painted in paint order, as the art lies in the document.
    std::vector<std::pair<host::PaintRank, const host::Document::Art*>> found;
    for (AIArtHandle art : host_.hitTesting().artWithin({reach.left(), reach.top(), reach.right(), reach.bottom()}))
        found.emplace_back(document.paintRank(art), document.findArt(art));
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    ArtPainter paint(painter, toView, document);
    for (const auto& [rank, art] : found) paint(*art);
}

void Canvas::repaintDamage() {
    const QTransform toView = viewTransform();
    const QRect image = QRectF(QPointF(0, 0), art_.deviceIndependentSize()).toAlignedRect();
    const QMarginsF margin(kDamageMargin, kDamageMargin, kDamageMargin, kDamageMargin);
    std::vector<QRect> rects;
    for (const host::Bounds& box : damage_) {
        QRectF art(QPointF(box.left, box.bottom), QPointF(box.right, box.top));
        // Cut to the image before rounding to whole pixels: art far away can lie beyond what an int holds.
        QRect pixels = ((toView.mapRect(art) + margin) & QRectF(image)).toAlignedRect();
        if (!pixels.isEmpty()) addDamage(rects, pixels);
    }
    const qreal ratio = art_.devicePixelRatio();
    QPainter painter(&art_);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const QRect& pixels : rects) {
        // Painted with a band around them that is put back as it was: where the edge of what is painted cuts
        // a stroke, its antialiasing can differ by a level from the full paint's.
        const QRect painted = pixels.adjusted(-kGuardBand, -kGuardBand, kGuardBand, kGuardBand);
        const QRect paintedPixels(painted.topLeft() * ratio, painted.size() * ratio);
        const QImage band = art_.copy(paintedPixels);
        painter.setClipRect(painted);
        painter.fillRect(painted, Qt::white);
        // Every art whose paint may reach these pixels, as a full repaint would paint it.
        paintArtReaching(painter, toView, painted);
        painter.save();
        painter.setClipRegion(QRegion(painted).subtracted(QRegion(pixels)));
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(painted.topLeft(), band);
        painter.restore();
    }
}

void Canvas::paintAnnotations(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const host::DrawOperation& operation : host_.frame()) {
        const host::DrawState& state = operation.state;
        QPen pen(colorOf(state.color), std::max<double>(state.width, 0.0));
        pen.setCapStyle(Qt::FlatCap);
        if (state.dashed && state.width > 0) {
            const std::array<double, 2> dashes = painting::dashesInPenWidths(state.width);
            pen.setDashPattern({dashes[0], dashes[1]});
        }
        painter.setPen(pen);
        painter.setFont(QtTextMetrics::font(state.font));
        std::visit(QtAnnotationPainter{painter}, operation.shape);
    }
}

void Canvas::paintEvent(QPaintEvent*) {
    refreshArt();
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), art_);
    paintPage(painter);
    paintAnnotations(painter);
    paintSelecting(painter);
}

QRectF Canvas::pageOutline() const {
    const host::PageBox& page = host_.document().page();
    if (page.empty()) return {};
    // The sheet runs down from its top, v being up.
    return viewTransform().mapRect(QRectF(page.left, page.top - page.height, page.width, page.height));
}

void Canvas::paintPage(QPainter& painter) const {
    const QRectF outline = pageOutline();
    if (outline.isEmpty()) return;
    QPen pen(kPageOutline, kPlainWidth);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outline);
}

void Canvas::paintSelecting(QPainter& painter) const {
    QPen pen(kSelectedArt, kPlainWidth, Qt::DashLine);
    pen.setCosmetic(true);
    if (selecting_ == Selecting::frame) {
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(frameFrom_, lastCursor_).normalized());
    } else if (selecting_ == Selecting::drag && (dragOffset_.h != 0 || dragOffset_.v != 0)) {
        QTransform toView = viewTransform();
        toView.translate(dragOffset_.h, dragOffset_.v);
        const host::Document& document = host_.document();
        for (AIArtHandle handle : document.selectedArt())
            painter.strokePath(toView.map(outlineOf(document.findArt(handle)->shape)), pen);
    }
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
    lastCursor_ = event->position();
    cursorInside_ = true;
    lastModifiers_ = event->modifiers();
    if (panning_) {
        panBy(event->position() - panFrom_);
        panFrom_ = event->position();
        return;
    }
    AIRealPoint point = artworkPoint(event->position());
    emit cursorMoved(point);
    if (selecting_ != Selecting::none) {
        if (selecting_ == Selecting::drag) dragTo(point);
        update();
        return;
    }
    ASUInt16 bits = modifierBits(event->modifiers());
    record("move " + SessionRecorder::cursor(point, bits));
    act_([&] { host_.move(point, bits); });
}

void Canvas::mousePressEvent(QMouseEvent* event) {
    setFocus();
    lastCursor_ = event->position();
    if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceHeld_)) {
        panning_ = true;
        panFrom_ = event->position();
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    AIRealPoint point = artworkPoint(event->position());
    if (selectionToolSelected()) {
        beginSelecting(point, event->position(), (event->modifiers() & Qt::ShiftModifier) != 0);
        return;
    }
    ASUInt16 bits = modifierBits(event->modifiers());
    record("click " + SessionRecorder::cursor(point, bits));
    act_([&] { host_.click(point, bits); });
}

void Canvas::mouseReleaseEvent(QMouseEvent* event) {
    if (selecting_ != Selecting::none && event->button() == Qt::LeftButton) {
        lastCursor_ = event->position();
        endSelecting(event->position());
        return;
    }
    if (panning_ && (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton)) {
        panning_ = false;
        shownCursor_ = -1;
        updateCursor();
    }
}

void Canvas::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        double steps = event->angleDelta().y() / 120.0;
        if (steps != 0) zoomAround(std::pow(kWheelStep, steps), event->position());
    } else {
        // Without Ctrl the wheel scrolls: a pan.
        panBy(QPointF(event->angleDelta().x(), event->angleDelta().y()) / 4.0);
    }
    event->accept();
}

bool Canvas::event(QEvent* event) {
    // The tool hears a key before the workbench's shortcuts: a key it uses is no shortcut.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        keyForwarded_ = key->key() != Qt::Key_Space;
        keyUsed_ = keyForwarded_ && forwardKey(*key);
        if (keyUsed_) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void Canvas::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        spaceHeld_ = true;
        return;
    }
    // A key the tool used is no one else's: passed on, a Tab would take the keyboard from the canvas.
    const bool forwarded = std::exchange(keyForwarded_, false);
    if (std::exchange(keyUsed_, false) || (!forwarded && forwardKey(*event))) return;
    if (nudge(*event)) return;
    modifiersChanged(modifiersAfter(*event, true));
    QWidget::keyPressEvent(event);
}

bool Canvas::forwardKey(const QKeyEvent& event) {
    const std::optional<ToolKey> key = toolKey(event);
    if (!key || host_.tools().selected() == host_.tools().selectionTool()) return false;
    const ASUInt16 bits = modifierBits(event.modifiers());
    record(key->sessionLine(bits));
    bool used = false;
    act_([&] { used = host_.key(key->character, bits); });
    return used;
}

void Canvas::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        spaceHeld_ = false;
        return;
    }
    modifiersChanged(modifiersAfter(*event, false));
    QWidget::keyReleaseEvent(event);
}

void Canvas::leaveEvent(QEvent*) {
    cursorInside_ = false;
}

void Canvas::resizeEvent(QResizeEvent*) {
    // The view is the widget: the plug-in reads its bounds, and the centre stays in the middle.
    if (width() == host_.views().width() && height() == host_.views().height()) return;
    record("view size " + std::to_string(width()) + " " + std::to_string(height()));
    int w = width(), h = height();
    act_([&] {
        host_.views().setSize(w, h);
        host_.afterEvent();
    });
}

void Canvas::record(const std::string& line) const {
    if (recorder_) recorder_->add(line);
}

void Canvas::recordView() const {
    AIRealPoint center = host_.views().center();
    record("view " + SessionRecorder::number(host_.views().zoom()) + " " + SessionRecorder::number(center.h) + " " +
           SessionRecorder::number(center.v));
}

void Canvas::modifiersChanged(Qt::KeyboardModifiers modifiers) {
    if (modifierBits(modifiers) == modifierBits(lastModifiers_)) return;
    lastModifiers_ = modifiers;
    if (!cursorInside_ || panning_) return;
    // The labels follow the keys at once, not at the next movement.
    AIRealPoint point = artworkPoint(lastCursor_);
    ASUInt16 bits = modifierBits(modifiers);
    record("move " + SessionRecorder::cursor(point, bits));
    act_([&] { host_.move(point, bits); });
}

void Canvas::panBy(QPointF delta) {
    double zoom = host_.views().zoom();
    AIRealPoint center = host_.views().center();
    AIRealPoint moved{static_cast<AIReal>(center.h - delta.x() / zoom),
                      static_cast<AIReal>(center.v + delta.y() / zoom)};
    act_([&] {
        host_.views().setCenter(moved);
        host_.afterEvent();
    });
    recordView();
}

void Canvas::zoomAround(double factor, QPointF at) {
    double zoom = std::clamp(host_.views().zoom() * factor, kMinZoom, kMaxZoom);
    AIRealPoint before = artworkPoint(at);
    act_([&] {
        host_.views().setZoom(static_cast<AIReal>(zoom));
        AIRealPoint after = artworkPoint(at);
        AIRealPoint center = host_.views().center();
        host_.views().setCenter({center.h + before.h - after.h, center.v + before.v - after.v});
        host_.afterEvent();
    });
    recordView();
}

void Canvas::setZoom(double zoom) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    act_([&] {
        host_.views().setZoom(static_cast<AIReal>(zoom));
        host_.afterEvent();
    });
    recordView();
}

void Canvas::fit() {
    double left = std::numeric_limits<double>::infinity(), bottom = left, right = -left, top = -left;
    // The page and all the art shown.
    if (const host::PageBox& page = host_.document().page(); !page.empty()) {
        left = page.left;
        right = page.left + page.width;
        top = page.top;
        bottom = page.top - page.height;
    }
    host_.document().forEachArt([&](AIArtHandle, const host::Document::Art& art) {
        if (host_.document().userAttributes(art) & kArtHidden) return;
        for (const AIPathSegment& s : art.shape.segments)
            for (AIRealPoint p : {s.p, s.in, s.out}) {
                left = std::min<double>(left, p.h);
                right = std::max<double>(right, p.h);
                bottom = std::min<double>(bottom, p.v);
                top = std::max<double>(top, p.v);
            }
    });
    double zoom = 1.0;
    AIRealPoint center{0, 0};
    if (left <= right) {
        constexpr double kMargin = 0.9;
        double w = std::max(right - left, 1.0), h = std::max(top - bottom, 1.0);
        zoom =
            std::clamp(kMargin * std::min(host_.views().width() / w, host_.views().height() / h), kMinZoom, kMaxZoom);
        center = {static_cast<AIReal>((left + right) / 2), static_cast<AIReal>((bottom + top) / 2)};
    }
    act_([&] {
        host_.views().setZoom(static_cast<AIReal>(zoom));
        host_.views().setCenter(center);
        host_.afterEvent();
    });
    recordView();
}

bool Canvas::selectionToolSelected() const {
    return host_.tools().selected() == host_.tools().selectionTool();
}

void Canvas::beginSelecting(AIRealPoint point, QPointF pixel, bool adding) {
    const double pointsPerPixel = 1.0 / host_.views().zoom();
    host::HitResult hit = host_.hitTesting().hitTest(nullptr, point, kSelectTolerance * pointsPerPixel, kAllHitRequest);
    selectingAdds_ = adding;
    pressedAt_ = point;
    dragOffset_ = {0, 0};
    if (hit.type == kNothingHitType) {
        selecting_ = Selecting::frame;
        frameFrom_ = pixel;
        return;
    }
    AIArtHandle found = hit.data.object;
    // Art already selected is dragged with the rest of the selection.
    if (!host_.document().selectedArt().contains(found)) act_([&] { selectArt(host_, {found}, adding); });
    selecting_ = Selecting::drag;
    held_ = selectedAnchorNear(host_, point, kSnapTolerance * pointsPerPixel).value_or(point);
}

void Canvas::dragTo(AIRealPoint point) {
    AIRealPoint moved{held_.h + point.h - pressedAt_.h, held_.v + point.v - pressedAt_.v};
    if (std::optional<AIRealPoint> anchor = anchorToSnapTo(host_, moved, kSnapTolerance / host_.views().zoom()))
        moved = *anchor;
    dragOffset_ = {moved.h - held_.h, moved.v - held_.v};
}

void Canvas::endSelecting(QPointF pixel) {
    Selecting ended = std::exchange(selecting_, Selecting::none);
    if (ended == Selecting::drag) {
        AIRealPoint offset = std::exchange(dragOffset_, AIRealPoint{0, 0});
        act_([&] { moveSelection(host_, recorder_, offset.h, offset.v); });
        return;
    }
    AIRealPoint from = artworkPoint(frameFrom_), to = artworkPoint(pixel);
    host::Bounds box{std::min(from.h, to.h), std::min(from.v, to.v), std::max(from.h, to.h), std::max(from.v, to.v)};
    act_([&] { selectArt(host_, artInside(host_, box), selectingAdds_); });
}

bool Canvas::nudge(const QKeyEvent& event) {
    if (!selectionToolSelected() || host_.document().selectedArt().empty()) return false;
    const double pixels = (event.modifiers() & Qt::ShiftModifier) ? kLargeNudgePixels : kNudgePixels;
    const auto step = static_cast<AIReal>(pixels / host_.views().zoom());
    AIRealPoint offset{0, 0};
    switch (event.key()) {
        case Qt::Key_Left:
            offset.h = -step;
            break;
        case Qt::Key_Right:
            offset.h = step;
            break;
        case Qt::Key_Up:
            offset.v = step;
            break;
        case Qt::Key_Down:
            offset.v = -step;
            break;
        default:
            return false;
    }
    act_([&] { moveSelection(host_, recorder_, offset.h, offset.v); });
    return true;
}

QCursor Canvas::cursorFor(int id) {
    auto known = cursors_.find(id);
    if (known != cursors_.end()) return known->second;
    QCursor cursor(Qt::ArrowCursor);
    host::Plugins& plugins = host_.plugins();
    for (std::size_t i = 0; i < plugins.count(); ++i) {
        const host::Bundle& bundle = plugins.bundle(i);
        std::optional<std::filesystem::path> image = bundle.image("cursors", id);
        if (!image) continue;
        QPixmap pixmap(kCursorSize, kCursorSize);
        pixmap.fill(Qt::transparent);
        QSvgRenderer renderer(QString::fromStdString(image->string()));
        if (renderer.isValid()) {
            QPainter painter(&pixmap);
            renderer.render(&painter);
        } else {
            pixmap.load(QString::fromStdString(image->string()));
        }
        int x = kCursorSize / 2, y = kCursorSize / 2;
        const nlohmann::json& table = bundle.resourceTable();
        std::string key = std::to_string(id);
        if (table.contains("cursors") && table["cursors"].contains(key)) {
            const nlohmann::json& hotspot = table["cursors"][key].value("hotspot", nlohmann::json::array());
            if (hotspot.is_array() && hotspot.size() == 2 && hotspot[0].is_number() && hotspot[1].is_number()) {
                x = hotspot[0].get<int>();
                y = hotspot[1].get<int>();
            }
        }
        cursor = QCursor(pixmap, x, y);
        break;
    }
    cursors_.emplace(id, cursor);
    return cursor;
}

void Canvas::updateCursor() {
    if (panning_) return;
    // The plug-in's cursor belongs to its tool: the host's own tool shows the arrow.
    int id = host_.tools().selected() == host_.tools().selectionTool() ? 0 : host_.basic().cursor();
    if (id == shownCursor_) return;
    shownCursor_ = id;
    setCursor(id == 0 ? QCursor(Qt::ArrowCursor) : cursorFor(id));
}

}  // namespace workbench
