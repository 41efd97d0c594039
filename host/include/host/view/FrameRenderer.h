// Pictures of the view as a person sees it: a white ground, the document's art
// through the view, and the annotations of the latest redraw over it, painted
// with Cairo in view pixels.
#pragma once

#include <filesystem>

#include "host/platform/HostError.h"
#include "host/view/AnnotationDrawer.h"

struct _cairo;  // cairo_t, so that users of this header need not see Cairo's

namespace host {

class Document;
class DocumentViews;

class FrameRenderer {
public:
    /// The pieces must outlive the renderer.
    FrameRenderer(const Document& document, const DocumentViews& views, const TextMetrics& metrics);

    /// Paints the whole view (its width × height pixels from 0, 0) on the context.
    void paint(_cairo* context, const DisplayList& annotations) const;
    /// Writes the view to an .svg or .png file; throws HostError for another extension or a failed write.
    void write(const std::filesystem::path& file, const DisplayList& annotations) const;

private:
    void paintArt(_cairo* context) const;
    void paintAnnotations(_cairo* context, const DisplayList& annotations) const;

    const Document& document_;
    const DocumentViews& views_;
    const TextMetrics& metrics_;
};

}  // namespace host
