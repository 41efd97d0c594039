#include "Contraintes.h"

#include <cmath>

#include "EtatOutil.h"
#include "MathReelle.h"
#include "Reglages.h"

SegmentContraint ContraindreSegment(AIRealPoint clicUn, AIRealPoint curseur, AIReal angleAncien, bool option,
                                    bool shift, bool shiftAltInverse, double contrainteLongueur,
                                    double contrainteAngle) {
    SegmentContraint segment{};
    const AIReal longueur = DistanceEntrePoints(clicUn, curseur);
    segment.longueur = longueur;
    if (option == shiftAltInverse) {
        // The step is a length on the page, whatever the drawing scale.
        const auto pas = static_cast<AIReal>(contrainteLongueur / reglages::kMillimetresParPoint);
        segment.longueur = MultipleReel(longueur, pas, true);
    }

    // The angle step applies to the turn from the previous segment, not to the direction.
    AIReal virage = angleAncien - AngleEntrePoints(clicUn, curseur);
    if (shift == shiftAltInverse) {
        virage = MultipleReel(virage, DegreEnRadian(static_cast<AIReal>(contrainteAngle)), true);
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
