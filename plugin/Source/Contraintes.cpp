#include "Contraintes.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "EtatOutil.h"
#include "MathReelle.h"
#include "Reglages.h"

namespace {

/// How far above a multiple, relative to the value, single-precision rounding may put a
/// value that is exactly on it.
constexpr AIReal kBruitDArrondi = 8 * std::numeric_limits<AIReal>::epsilon();
/// The same in absolute terms (points, radians): a long length farther than this above a
/// multiple is really above it and goes up a step.
constexpr AIReal kBruitDArrondiMax = 1e-3f;

/// The multiple of step at or above value. A value on a multiple but for rounding (a turn
/// of exactly 90°, a length of exactly two steps) stays there rather than going up a step.
AIReal MultipleAuDessus(AIReal value, AIReal step) {
    const AIReal dessous = MultipleReel(value, step, false);
    if (value - dessous <= std::min(kBruitDArrondi * std::fabs(value), kBruitDArrondiMax)) return dessous;
    return MultipleReel(value, step, true);
}

}  // namespace

SegmentContraint ContraindreSegment(AIRealPoint clicUn, AIRealPoint curseur, AIReal angleAncien, bool option,
                                    bool shift, bool shiftAltInverse, double contrainteLongueur,
                                    double contrainteAngle) {
    SegmentContraint segment{};
    const AIReal longueur = DistanceEntrePoints(clicUn, curseur);
    segment.longueur = longueur;
    if (option == shiftAltInverse) {
        // The step is a length on the page, whatever the drawing scale.
        const auto pas = static_cast<AIReal>(contrainteLongueur / reglages::kMillimetresParPoint);
        segment.longueur = MultipleAuDessus(longueur, pas);
    }

    // The angle step applies to the turn from the previous segment, not to the direction; a
    // turn is stepped the same whichever side of a half turn the two directions lie.
    AIReal virage = DansUnTour(angleAncien - AngleEntrePoints(clicUn, curseur));
    if (shift == shiftAltInverse) {
        virage = MultipleAuDessus(virage, DegreEnRadian(static_cast<AIReal>(contrainteAngle)));
    }
    segment.angleDeLaLigne = angleAncien - virage;

    segment.angleRelatif = std::fabs(etat::kPi - virage);
    if (segment.angleRelatif > etat::kPi) {
        segment.angleRelatif = std::fabs(etat::kDeuxPi - segment.angleRelatif);
    }

    segment.clicDeux = BoutDuSegment(clicUn, segment.longueur, segment.angleDeLaLigne);
    return segment;
}

AIRealPoint BoutDuSegment(AIRealPoint clicUn, double longueur, AIReal angle) {
    return SommePoints(clicUn, VecteurLongueurAngle(static_cast<AIReal>(longueur), angle));
}
