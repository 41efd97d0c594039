// Lengths between the document's points (1/72 inch) and the millimetres people type and read.
#pragma once

namespace units {
/// Millimetres per point.
constexpr double kMillimetresPerPoint = 25.4 / 72.0;
/// Points per millimetre, as its own quotient rather than the inverse of the other.
constexpr double kPointsPerMillimetre = 72.0 / 25.4;
/// One and five millimetres as points, the steps of the length fields' arrows.
constexpr float kOneMillimetreInPoints = static_cast<float>(kPointsPerMillimetre);
constexpr float kFiveMillimetresInPoints = static_cast<float>(5 * kPointsPerMillimetre);

constexpr double PointsFromMillimetres(double millimetres) {
    return millimetres / kMillimetresPerPoint;
}
constexpr double MillimetresFromPoints(double points) {
    return points * kMillimetresPerPoint;
}
}  // namespace units
