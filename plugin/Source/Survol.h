// Hover detection: what existing art lies under the cursor, told by the cursor's
// shape and left in the hover results for the next click and the annotator; and the
// anchors passed over, remembered for the alignment guides.
#pragma once

#include "AIMessages.h"

// The tool's cursor resources.
namespace curseur {
constexpr ASInt32 kNormal = 1101;
constexpr ASInt32 kSurPoint = 1102;
constexpr ASInt32 kSurDroite = 1103;
constexpr ASInt32 kSurArc = 1104;
constexpr ASInt32 kSurCourbe = 1105;
constexpr ASInt32 kSurIntersection = 1106;
constexpr ASInt32 kSupprimerSegment = 1107;
constexpr ASInt32 kAjouterSegment = 1108;
}  // namespace curseur

/// Classifies what lies under the cursor, sets the cursor and the hover results;
/// gives the host's result of its last call.
ASErr Survol(AIToolMessage* message);

/// True when a and b lie within DistanceMagnetisme of each other, by the host's measure.
bool DansLaTolerance(AIRealPoint a, AIRealPoint b);

/// Remembers an anchor passed over: newest first, at most NombreMaxSouvenirs, each
/// point once. When the host has no memory left it beeps and nothing changes.
void Souvenir(AIRealPoint point);

/// Forgets every remembered point and gives their memory back to the host.
void LibereSouvenirs();
