// The document view: zoom, centre and size, the conversion between artwork
// points (v up) and view pixels (v down), and the view's need of a redraw.
//
// A plug-in that sets the zoom, even to its own value, only marks the view
// invalid; the host redraws once the current message has returned, so that no
// annotation pass ever runs inside a plug-in's call.
#pragma once

#include <optional>

#include <nlohmann/json.hpp>

#include "AIDocumentView.h"
#include "host/platform/Handles.h"
#include "host/platform/HostError.h"
#include "host/platform/SuiteRegistry.h"

namespace host {

class DocumentViews {
public:
    /// The view's size until a front end gives it its own.
    static constexpr ASInt16 kWidth = 800;
    static constexpr ASInt16 kHeight = 600;

    DocumentViews();
    ~DocumentViews();
    void registerSuites(SuiteRegistry& registry);

    /// The one view's handle, as GetNthDocumentView gives it for index 0.
    AIDocumentViewHandle handle() const { return handle_; }

    AIReal zoom() const { return view().zoom; }
    /// The artwork point at the middle of the view.
    AIRealPoint center() const { return view().center; }
    /// Sets the zoom and invalidates the view; throws HostError unless it is finite and positive.
    void setZoom(AIReal zoom);
    /// Sets the centre and invalidates the view; throws HostError unless it is finite.
    void setCenter(AIRealPoint center);

    /// Artwork point to view pixel, rounded and clamped to 16 bits; nullopt for a non-finite point.
    std::optional<AIPoint> artworkToView(AIRealPoint point) const;
    /// View pixel to artwork point; nullopt when the point lies beyond the range of a float.
    std::optional<AIRealPoint> viewToArtwork(AIPoint point) const;
    AIRect bounds() const { return {0, 0, view().height, view().width}; }
    ASInt16 width() const { return view().width; }
    ASInt16 height() const { return view().height; }
    /// Sets the size in pixels (a window's, say) and invalidates the view; HostError unless both are positive.
    /// The centre lies at pixel (width / 2, height / 2), whole numbers.
    void setSize(int width, int height);

    bool invalid() const { return view().invalid; }
    void invalidate() { view().invalid = true; }
    /// The view has been redrawn.
    void validate();
    /// Redraws so far.
    long redraws() const { return view().redraws; }

    void dump(nlohmann::json& out) const;

private:
    struct View {
        AIReal zoom = 1.0f;
        AIRealPoint center{0.0f, 0.0f};
        ASInt16 width = kWidth;
        ASInt16 height = kHeight;
        bool invalid = false;
        long redraws = 0;
    };

    View& view() { return *views_.find(handle_); }
    const View& view() const { return *views_.find(handle_); }

    static AIErr getNthDocumentView(ASInt32 n, AIDocumentViewHandle* view);
    static AIErr getDocumentViewZoom(AIDocumentViewHandle view, AIReal* zoom);
    static AIErr setDocumentViewZoom(AIDocumentViewHandle view, AIReal zoom);
    static AIErr getDocumentViewCenter(AIDocumentViewHandle view, AIRealPoint* center);
    static AIErr setDocumentViewCenter(AIDocumentViewHandle view, const AIRealPoint* center);
    static AIErr getDocumentViewBounds(AIDocumentViewHandle view, AIRect* bounds);
    static AIErr artworkPointToViewPoint(AIDocumentViewHandle view, const AIRealPoint* artworkPoint,
                                         AIPoint* viewPoint);
    static AIErr viewPointToArtworkPoint(AIDocumentViewHandle view, const AIPoint* viewPoint,
                                         AIRealPoint* artworkPoint);

    HandleTable<AIDocumentViewHandle, View> views_;
    AIDocumentViewHandle handle_;
};

}  // namespace host
