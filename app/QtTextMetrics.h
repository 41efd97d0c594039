// Text metrics from the fonts the workbench paints with, so that the boxes the
// plug-in lays out around its labels fit the drawn texts.
#pragma once

#include <QFont>

#include "host/view/AnnotationDrawer.h"

namespace workbench {

class QtTextMetrics : public host::TextMetrics {
public:
    /// The font of a preset (kAIAFSmall, kAIAFMedium, kAIAFLarge); the small one for anything else.
    static QFont font(ASInt32 preset);

    double fontSize(ASInt32 preset) const override;
    host::TextExtent measure(std::u16string_view text, ASInt32 preset) const override;
};

}  // namespace workbench
