#include "QtTextMetrics.h"

#include <QFontMetricsF>
#include <QString>

namespace workbench {

namespace {

/// The same pixel sizes as the fixed metrics of the replay program.
double sizeOf(ASInt32 preset) {
    if (preset < kAIAFSmall || preset > kAIAFLarge) preset = kAIAFSmall;
    return host::FixedTextMetrics::kSizes[preset];
}

}  // namespace

QFont QtTextMetrics::font(ASInt32 preset) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(sizeOf(preset)));
    return font;
}

double QtTextMetrics::fontSize(ASInt32 preset) const {
    return sizeOf(preset);
}

host::TextExtent QtTextMetrics::measure(std::u16string_view text, ASInt32 preset) const {
    QFontMetricsF metrics(font(preset));
    QString string = QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
    return {metrics.horizontalAdvance(string), metrics.height()};
}

}  // namespace workbench
