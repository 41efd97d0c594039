#pragma once

#include "AITypes.h"

constexpr const char* kAIHitTestSuite = "AI Hit Test Suite";
constexpr ASInt32 kAIHitTestSuiteVersion = 1004;

// Requests.
constexpr ASInt32 kAllHitRequest = 0;
constexpr ASInt32 kSegmentPointHitRequest = 1;  ///< anchor points of art
constexpr ASInt32 kPathOutlineHitRequest = 11;  ///< the outline of paths

// Types of a result.
constexpr ASInt32 kNothingHitType = 0;
constexpr ASInt32 kAnchorHitType = 1;
constexpr ASInt32 kSegmentHitType = 3;  ///< on the outline of a path, between two anchors

/// What a hit test found.
struct AIToolHitData {
    AIBoolean hit;
    AIArtHandle object;
    ASInt16 segment;    ///< the anchor hit, or the anchor that ends the piece hit
    AIReal t;           ///< the parameter on the piece hit
    AIRealPoint point;  ///< the point hit
};

/// Hit tests over the artwork, topmost unlocked art first. Each result is released after use.
struct AIHitTestSuite {
    /// Tests art (null: all art of the document) at point within tolerance document points.
    AIErr (*HitTestEx)(AIArtHandle art, const AIRealPoint* point, AIReal tolerance, ASInt32 request, AIHitRef* hit);
    AIErr (*GetHitData)(AIHitRef hit, AIToolHitData* data);
    ASInt32 (*GetType)(AIHitRef hit);
    AIErr (*Release)(AIHitRef hit);
};
