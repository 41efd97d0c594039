// The segment under construction, from the last placed point to the cursor, brought to
// the length and angle steps.
#pragma once

#include "AITypes.h"

struct SegmentContraint {
    double longueur;        // document points
    AIReal angleDeLaLigne;  // direction, radians
    AIReal angleRelatif;    // shown angle, 0 to pi: pi straight on, 0 doubling back
    AIRealPoint clicDeux;   // end of the segment
};

/// The segment from clicUn towards curseur. Its length goes up to a multiple of
/// contrainteLongueur (millimetres on the page) when option equals shiftAltInverse; its
/// turn from angleAncien goes up to a multiple of contrainteAngle (degrees) when shift
/// equals shiftAltInverse. A value already on a multiple, or a step of 0, leaves the value
/// as it is.
SegmentContraint ContraindreSegment(AIRealPoint clicUn, AIRealPoint curseur, AIReal angleAncien, bool option,
                                    bool shift, bool shiftAltInverse, double contrainteLongueur,
                                    double contrainteAngle);

/// ClicUn + the vector of length (single precision) and direction.
AIRealPoint BoutDuSegment(AIRealPoint clicUn, double longueur, AIReal angle);
