#include "StatusFields.h"

#include <algorithm>
#include <cmath>
#include <variant>

#include <QLabel>
#include <QStatusBar>

#include "PluginFacts.h"

namespace workbench {

namespace {

/// Decimals when the plug-in has none stored: its own default.
constexpr int kDefaultDecimals = 1;
constexpr int kMaxDecimals = 6;
/// Below this percentage the zoom shows a decimal.
constexpr double kWholePercentZoom = 10.0;
const QString kSelectionHint =
    QStringLiteral("Click or frame art to select it (Shift adds); drag it or use the arrows to move it");

double stored(const host::PreferenceStore& preferences, const char* key, double otherwise) {
    std::optional<host::PreferenceStore::Value> value = preferences.get(plugin_facts::kPreferencePrefix, key);
    if (!value) return otherwise;
    return std::visit([](auto v) { return static_cast<double>(v); }, *value);
}

QString number(double value, int decimals) {
    return QString::fromStdString(host::AdmBasic::valueToText(static_cast<float>(value), kADMNoUnits, decimals, false));
}

}  // namespace

double drawingMillimetresPerPoint(const host::PreferenceStore& preferences) {
    // As the plug-in reads them: a scale term below 1, or none, is 1.
    const double numerator = std::max(1.0, stored(preferences, plugin_facts::kScaleNumeratorKey, 1.0));
    const double denominator = std::max(1.0, stored(preferences, plugin_facts::kScaleDenominatorKey, 1.0));
    return host::AdmBasic::kMillimetresPerPoint * numerator / denominator;
}

QString positionText(host::Host& host, AIRealPoint point) {
    const host::PreferenceStore& preferences = host.preferences();
    const int decimals = std::clamp(
        static_cast<int>(stored(preferences, plugin_facts::kPrecisionKey, kDefaultDecimals)), 0, kMaxDecimals);
    const double perPoint = drawingMillimetresPerPoint(preferences);
    const host::PageBox& page = host.document().page();
    // Without a page, from the artwork's origin.
    const double x = (point.h - (page.empty() ? 0.0 : page.left)) * perPoint;
    const double y = ((page.empty() ? 0.0 : page.top) - point.v) * perPoint;
    return QStringLiteral("x %1 mm  y %2 mm").arg(number(x, decimals), number(y, decimals));
}

QString zoomText(double zoom) {
    const double percent = zoom * 100;
    return number(percent, percent < kWholePercentZoom ? 1 : 0) + QStringLiteral(" %");
}

StatusFields::StatusFields(host::Host& host, QStatusBar* bar)
    : host_(host), position_(new QLabel), zoom_(new QLabel), layer_(new QLabel), hint_(new QLabel) {
    position_->setObjectName(QStringLiteral("cursorPosition"));
    zoom_->setObjectName(QStringLiteral("zoom"));
    layer_->setObjectName(QStringLiteral("currentLayer"));
    hint_->setObjectName(QStringLiteral("toolHint"));
    bar->addWidget(hint_, 1);
    bar->addPermanentWidget(layer_);
    bar->addPermanentWidget(zoom_);
    bar->addPermanentWidget(position_);
}

void StatusFields::showPosition(AIRealPoint point) {
    position_->setText(positionText(host_, point));
}

void StatusFields::sync() {
    zoom_->setText(zoomText(host_.views().zoom()));
    const host::Document& document = host_.document();
    const host::Document::Layer& current = *document.findLayer(document.currentLayer());
    QString state = current.locked && current.hidden ? QStringLiteral(" (locked, hidden)")
                    : current.locked                 ? QStringLiteral(" (locked)")
                    : current.hidden                 ? QStringLiteral(" (hidden)")
                                                     : QString();
    layer_->setText(QStringLiteral("Layer: ") + QString::fromStdString(current.name) + state);
    const host::Tools& tools = host_.tools();
    const host::Tools::Tool* tool = tools.tool(tools.selected());
    if (tools.selected() == tools.selectionTool() || !tool)
        hint_->setText(kSelectionHint);
    else
        hint_->setText(QString::fromStdString(tool->tooltip.empty() ? tool->title : tool->tooltip));
}

}  // namespace workbench
