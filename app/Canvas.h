// The canvas: the host's one document view. The artwork is painted into a
// cached image: all of it when the view changes, and after a change of the
// art only where the changed art was or is now, from the art the hit tests'
// index finds there; the annotations of the host's latest redraw are painted
// over it on every paint.
// Mouse and keys become host actions; the host's zoom and centre are the view's.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QWidget>

#include "SessionRecorder.h"
#include "host/Host.h"

namespace workbench {

/// Carries out a host action, reports what it throws and brings the widgets in step.
using Act = std::function<void(const std::function<void()>&)>;

class Canvas : public QWidget {
    Q_OBJECT
public:
    static constexpr double kMinZoom = 1.0 / 64;
    static constexpr double kMaxZoom = 64.0;
    /// The smallest canvas a window can shrink to, in pixels.
    static constexpr int kMinimumWidth = 160;
    static constexpr int kMinimumHeight = 120;

    Canvas(host::Host& host, Act act, QWidget* parent = nullptr);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() override;

    /// The artwork point under a pixel of the canvas.
    AIRealPoint artworkPoint(QPointF pixel) const;
    /// The modifier bits of a tool event for the keys held.
    static ASUInt16 modifierBits(Qt::KeyboardModifiers modifiers);

    /// Zooms by factor keeping the artwork point under pixel where it is.
    void zoomAround(double factor, QPointF pixel);
    void setZoom(double zoom);
    /// Zoom and centre that show all the art, or 100 % at the origin when there is none.
    void fit();
    /// The mouse cursor the plug-in asked for (the host's "cursor"); the arrow for the host's selection tool.
    void updateCursor();
    /// Where the canvas writes what the person does; null for nowhere.
    void setRecorder(SessionRecorder* recorder) { recorder_ = recorder; }

    QSize sizeHint() const override;
    /// The page's outline in the canvas's pixels; empty when the document has no page.
    QRectF pageOutline() const;

    /// The step of an arrow key's nudge, in view pixels, and with Shift.
    static constexpr double kNudgePixels = 1.0;
    static constexpr double kLargeNudgePixels = 10.0;

signals:
    /// The cursor moved over the canvas, to that artwork point.
    void cursorMoved(AIRealPoint point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    /// Tab goes to the tool, which types its fields with it, not to the next widget.
    bool focusNextPrevChild(bool) override { return false; }
    void keyReleaseEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void refreshArt();
    /// The view's mapping from artwork points to the canvas's pixels.
    QTransform viewTransform() const;
    void paintArt(QImage& image) const;
    /// Paints, in paint order, the art whose paint may reach the pixels.
    void paintArtReaching(QPainter& painter, const QTransform& toView, const QRectF& pixels) const;
    /// Repaints the pixels of the cached image that the changes since the last paint may have touched.
    void repaintDamage();
    void paintAnnotations(QPainter& painter) const;
    void paintPage(QPainter& painter) const;
    void modifiersChanged(Qt::KeyboardModifiers modifiers);
    /// Sends the key to the selected tool (and the recording); true when the tool used it.
    bool forwardKey(const QKeyEvent& event);
    void panBy(QPointF delta);
    bool selectionToolSelected() const;
    /// A press of the selection tool: on art, takes it and begins to drag the selection; elsewhere, a frame.
    void beginSelecting(AIRealPoint point, QPointF pixel, bool adding);
    /// The drag's offset for the cursor at point, snapped so that the point held lands on an anchor nearby.
    void dragTo(AIRealPoint point);
    void endSelecting(QPointF pixel);
    /// Moves the selection by an arrow key's step: true when the key was an arrow and the selection moved.
    bool nudge(const QKeyEvent& event);
    /// The dragged selection where it would go, and the frame being drawn.
    void paintSelecting(QPainter& painter) const;
    void record(const std::string& line) const;
    /// Writes the view's zoom and centre as they are now.
    void recordView() const;
    QCursor cursorFor(int id);

    host::Host& host_;
    Act act_;
    SessionRecorder* recorder_ = nullptr;
    QImage art_;
    bool artValid_ = false;
    std::uint64_t artRevision_ = 0;
    AIReal artZoom_ = 0;
    AIRealPoint artCenter_{};
    /// The boxes of art, before and after its changes since the last paint, in artwork points.
    std::vector<host::Bounds> damage_;
    /// More changes than are worth repainting one by one: the next paint repaints everything.
    bool damageOverflow_ = false;
    int boundsObserver_ = 0;

    QPointF lastCursor_;
    bool cursorInside_ = false;
    /// The key of the last shortcut check went to the tool already: its key press must not again.
    bool keyForwarded_ = false;
    /// Whether the tool used the key it was given before its key press arrived.
    bool keyUsed_ = false;
    Qt::KeyboardModifiers lastModifiers_;
    bool spaceHeld_ = false;
    bool panning_ = false;
    QPointF panFrom_;
    /// What a press of the selection tool began, until the button is released.
    enum class Selecting { none, frame, drag };
    Selecting selecting_ = Selecting::none;
    bool selectingAdds_ = false;
    QPointF frameFrom_;
    AIRealPoint pressedAt_{};
    /// The point of the selection the drag holds: the selected anchor nearest to the press, else the press.
    AIRealPoint held_{};
    AIRealPoint dragOffset_{};
    std::map<int, QCursor> cursors_;
    int shownCursor_ = -1;
};

}  // namespace workbench
