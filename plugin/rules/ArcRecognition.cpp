#include "ArcRecognition.h"

#include <cmath>

#include "PlaneGeometry.h"

namespace {

/// Length of the auxiliary vectors that give a second point on a line.
constexpr AIReal kConstructionLength = 100.0f;
constexpr AIReal kHalfPi = geometry::kPi / 2.0f;
constexpr AIReal kSampleStep = 0.001f;
/// Largest difference, in document points, between a sample's distance to the centre and the radius.
constexpr AIReal kArcTolerance = 1.0f;

bool Equal(AIRealPoint a, AIRealPoint b) {
    return a.h == b.h && a.v == b.v;
}

bool WithoutHandles(const AIPathSegment& s) {
    return Equal(s.in, s.p) && Equal(s.out, s.p);
}

/// Relative tolerance of the chord test, far above single-precision noise and far
/// below the bend of any arc the tool could tell from a straight piece.
constexpr double kChordTolerance = 1e-5;

/// Whether both control points lie on the line through the ends.
bool OnTheChord(const AIRealBezier& b) {
    const double ch = static_cast<double>(b.p3.h) - b.p0.h;
    const double cv = static_cast<double>(b.p3.v) - b.p0.v;
    const double chord2 = ch * ch + cv * cv;
    auto distance = [&](AIRealPoint c) {
        return std::fabs(ch * (static_cast<double>(c.v) - b.p0.v) - cv * (static_cast<double>(c.h) - b.p0.h));
    };
    // The cross product is the distance to the chord times its length.
    const double limit = kChordTolerance * chord2;
    return chord2 > 0.0 && distance(b.p1) <= limit && distance(b.p2) <= limit;
}

bool IsFinite(AIRealPoint p) {
    return std::isfinite(p.h) && std::isfinite(p.v);
}

}  // namespace

AIRealPoint LineIntersection(AIRealPoint p1, AIRealPoint p2, AIRealPoint p3, AIRealPoint p4) {
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

Circle TangentCircle(const AIPathSegment& a, const AIPathSegment& b) {
    const AIRealPoint middle = {(a.p.h + b.p.h) / 2.0f, (a.p.v + b.p.v) / 2.0f};
    const AIRealPoint onBisector =
        AddPoints(middle, VectorOfLengthAndAngle(kConstructionLength, AngleBetween(b.p, a.p) + kHalfPi));
    // A retracted incoming handle says nothing of the tangent; the outgoing one does.
    const AIReal tangent = Equal(a.in, a.p) ? AngleBetween(a.p, a.out) : AngleBetween(a.p, a.in);
    const AIRealPoint onNormal = AddPoints(a.p, VectorOfLengthAndAngle(kConstructionLength, tangent + kHalfPi));
    const AIRealPoint centre = LineIntersection(a.p, onNormal, middle, onBisector);
    return {centre, DistanceBetween(centre, a.p)};
}

ArcRecognition RecogniseArc(const AIPathSegment& a, const AIPathSegment& b, bool backwards) {
    ArcRecognition result;
    if (WithoutHandles(a) || WithoutHandles(b)) return result;
    const AIRealBezier bezier = backwards ? AIRealBezier{a.p, a.in, b.out, b.p} : AIRealBezier{a.p, a.out, b.in, b.p};
    // A piece whose handles lie on its chord is straight: in single precision its
    // centre often lands far away but finite, and the sampling would pass it.
    if (OnTheChord(bezier)) return result;
    result.circle = TangentCircle(a, b);
    const AIRealPoint centre = result.circle.centre;
    const AIReal radius = result.circle.radius;
    // A tangent parallel to the chord puts the centre at infinity; NaN distances would
    // then slip through the tolerance test below and pass the piece for an arc.
    if (!IsFinite(centre) || !std::isfinite(radius)) return result;
    for (AIReal t = 0.0f; t < 1.0f; t += kSampleStep) {
        const AIReal deviation = DistanceBetween(BezierPoint(bezier, t), centre) - radius;
        if (deviation > kArcTolerance || deviation < -kArcTolerance) return result;
    }
    result.isArc = true;
    return result;
}
