#include "Utilitaires.h"

#include <cmath>

#include "EtatOutil.h"
#include "MathReelle.h"

namespace {

/// Length of the auxiliary vectors that give a second point on a line.
constexpr AIReal kLongueurConstruction = 100.0f;
constexpr AIReal kDemiPi = etat::kPi / 2.0f;
constexpr AIReal kPasEchantillon = 0.001f;
/// Largest difference, in document points, between a sample's distance to the centre and the radius.
constexpr AIReal kToleranceArc = 1.0f;

bool Egaux(AIRealPoint a, AIRealPoint b) {
    return a.h == b.h && a.v == b.v;
}

bool SansPoignee(const AIPathSegment& s) {
    return Egaux(s.in, s.p) && Egaux(s.out, s.p);
}

/// Relative tolerance of the chord test, far above single-precision noise and far
/// below the bend of any arc the tool could tell from a straight piece.
constexpr double kToleranceCorde = 1e-5;

/// Whether both control points lie on the line through the ends.
bool SurLaCorde(const AIRealBezier& b) {
    const double ch = static_cast<double>(b.p3.h) - b.p0.h;
    const double cv = static_cast<double>(b.p3.v) - b.p0.v;
    const double corde2 = ch * ch + cv * cv;
    auto ecart = [&](AIRealPoint c) {
        return std::fabs(ch * (static_cast<double>(c.v) - b.p0.v) - cv * (static_cast<double>(c.h) - b.p0.h));
    };
    // The cross product is the distance to the chord times its length.
    const double limite = kToleranceCorde * corde2;
    return corde2 > 0.0 && ecart(b.p1) <= limite && ecart(b.p2) <= limite;
}

bool EstFini(AIRealPoint p) {
    return std::isfinite(p.h) && std::isfinite(p.v);
}

}  // namespace

AIRealPoint PointIntersection(AIRealPoint p1, AIRealPoint p2, AIRealPoint p3, AIRealPoint p4) {
    const AIReal m1 = (p2.v - p1.v) / (p2.h - p1.h);
    const AIReal m2 = (p4.v - p3.v) / (p4.h - p3.h);
    const AIReal b1 = p1.v - p1.h * m1;
    const AIReal b2 = p3.v - p3.h * m2;
    if (p1.h != p2.h && p3.h != p4.h) {
        return {(b2 - b1) / (m1 - m2), (m1 * b2 - b1 * m2) / (m1 - m2)};
    }
    if (p1.h == p2.h) {
        return {p1.h, p1.h * m2 + b2};
    }
    return {p3.h, p3.h * m1 + b1};
}

void TrouveCentreRayonArc(const AIPathSegment& A, const AIPathSegment& B, AIPathSegment& centre, AIReal& rayon) {
    const AIRealPoint milieu = {(A.p.h + B.p.h) / 2.0f, (A.p.v + B.p.v) / 2.0f};
    const AIRealPoint surMediatrice =
        SommePoints(milieu, VecteurLongueurAngle(kLongueurConstruction, AngleEntrePoints(B.p, A.p) + kDemiPi));
    // A retracted incoming handle says nothing of the tangent; the outgoing one does.
    const AIReal tangente = Egaux(A.in, A.p) ? AngleEntrePoints(A.p, A.out) : AngleEntrePoints(A.p, A.in);
    const AIRealPoint surNormale = SommePoints(A.p, VecteurLongueurAngle(kLongueurConstruction, tangente + kDemiPi));
    centre.p = PointIntersection(A.p, surNormale, milieu, surMediatrice);
    rayon = DistanceEntrePoints(centre.p, A.p);
}

bool EstArcDeCercle([[maybe_unused]] AIArtHandle path, const AIPathSegment& A, const AIPathSegment& B, bool backwards) {
    if (SansPoignee(A) || SansPoignee(B)) {
        return false;
    }
    const AIRealBezier bezier = backwards ? AIRealBezier{A.p, A.in, B.out, B.p} : AIRealBezier{A.p, A.out, B.in, B.p};
    // A piece whose handles lie on its chord is straight: in single precision its
    // centre often lands far away but finite, and the sampling would pass it.
    if (SurLaCorde(bezier)) {
        return false;
    }
    TrouveCentreRayonArc(A, B, CentreProvisoire, SurRayon);
    const AIRealPoint centre = CentreProvisoire.p;
    const AIReal rayon = SurRayon;
    // A tangent parallel to the chord puts the centre at infinity; NaN distances would
    // then slip through the tolerance test below and pass the piece for an arc.
    if (!EstFini(centre) || !std::isfinite(rayon)) {
        return false;
    }
    for (AIReal t = 0.0f; t < 1.0f; t += kPasEchantillon) {
        const AIReal ecart = DistanceEntrePoints(PointDeBezier(bezier, t), centre) - rayon;
        if (ecart > kToleranceArc || ecart < -kToleranceArc) {
            return false;
        }
    }
    return true;
}
