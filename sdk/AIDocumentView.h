#pragma once

#include "AITypes.h"

constexpr const char* kAIDocumentViewSuite = "AI Document View Suite";
constexpr ASInt32 kAIDocumentViewSuiteVersion = 1010;

/// Views of the document. Setting the zoom, even to its own value, makes the host
/// redraw the view once the current message has returned.
struct AIDocumentViewSuite {
    /// The n-th view, 0 the front one.
    AIErr (*GetNthDocumentView)(ASInt32 n, AIDocumentViewHandle* view);
    AIErr (*GetDocumentViewZoom)(AIDocumentViewHandle view, AIReal* zoom);
    AIErr (*SetDocumentViewZoom)(AIDocumentViewHandle view, AIReal zoom);
    AIErr (*GetDocumentViewCenter)(AIDocumentViewHandle view, AIRealPoint* center);
    AIErr (*SetDocumentViewCenter)(AIDocumentViewHandle view, const AIRealPoint* center);
    AIErr (*GetDocumentViewBounds)(AIDocumentViewHandle view, AIRect* bounds);
    /// Document points (v up) to view pixels (v down), clamped to 16 bits.
    AIErr (*ArtworkPointToViewPoint)(AIDocumentViewHandle view, const AIRealPoint* artworkPoint, AIPoint* viewPoint);
    AIErr (*ViewPointToArtworkPoint)(AIDocumentViewHandle view, const AIPoint* viewPoint, AIRealPoint* artworkPoint);
};
