// The status bar's standing fields: where the cursor is, in millimetres at the
// drawing scale from the page's top-left corner (down the page counts positive,
// as the file's own coordinates do), the zoom, the current layer and what the
// selected tool does.
#pragma once

#include <QString>

#include "host/Host.h"

class QLabel;
class QStatusBar;

namespace workbench {

/// Millimetres on the drawing per point on the page: the plug-in's scale, as its labels measure.
double drawingMillimetresPerPoint(const host::PreferenceStore& preferences);
/// "x 12,5 mm  y 30,0 mm": the artwork point from the page's origin, with the labels' decimals.
QString positionText(host::Host& host, AIRealPoint point);
QString zoomText(double zoom);

class StatusFields {
public:
    /// Adds the fields to the status bar; the hint gives way to passing messages, the others stay.
    StatusFields(host::Host& host, QStatusBar* bar);

    void showPosition(AIRealPoint point);
    /// The zoom, the current layer and the hint as the host has them now.
    void sync();

    QLabel* position() const { return position_; }
    QLabel* zoom() const { return zoom_; }
    QLabel* layer() const { return layer_; }
    QLabel* hint() const { return hint_; }

private:
    host::Host& host_;
    QLabel* position_;
    QLabel* zoom_;
    QLabel* layer_;
    QLabel* hint_;
};

}  // namespace workbench
