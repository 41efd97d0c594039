#pragma once

#include "AITypes.h"

constexpr const char* kAIPathSuite = "AI Path Suite";
constexpr ASInt32 kAIPathSuiteVersion = 1009;

/// Anchors of path art. Indexes run from 0; a closed path also joins its last anchor to its first.
/// No coordinate that is not finite, or beyond the host's limit, is ever stored: such a write answers
/// kBadCoordinateErr.
struct AIPathSuite {
    AIErr (*GetPathSegmentCount)(AIArtHandle path, ASInt16* count);
    /// Anchors beyond count are dropped from the end; new ones repeat the last anchor until written.
    AIErr (*SetPathSegmentCount)(AIArtHandle path, ASInt16 count);
    AIErr (*GetPathSegments)(AIArtHandle path, ASInt16 segNumber, ASInt16 count, AIPathSegment* segments);
    AIErr (*SetPathSegments)(AIArtHandle path, ASInt16 segNumber, ASInt16 count, const AIPathSegment* segments);
    AIErr (*GetPathClosed)(AIArtHandle path, AIBoolean* closed);
    AIErr (*SetPathClosed)(AIArtHandle path, AIBoolean closed);
    /// The cubic Bezier of the piece that starts at anchor segNumber.
    AIErr (*GetPathBezier)(AIArtHandle path, ASInt16 segNumber, AIRealBezier* bezier);
};
