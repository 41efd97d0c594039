// The documents the benchmarks draw over: paths of 4 to 8 pieces, half of their
// anchors with curved handles, each in a square cell of its own, so that the
// density stays the same while the area grows with the number of paths.
#pragma once

#include <random>

#include "host/document/Document.h"

namespace documents {

/// Side of each path's cell, in document points.
constexpr double kCell = 60.0;

inline host::PathShape randomPath(std::mt19937& random, double left, double bottom) {
    std::uniform_real_distribution<double> inCell(0.0, kCell);
    std::uniform_int_distribution<int> pieces(4, 8);
    std::bernoulli_distribution curved(0.5);
    host::PathShape shape;
    const int count = pieces(random) + 1;
    for (int i = 0; i < count; ++i) {
        AIRealPoint p{static_cast<AIReal>(left + inCell(random)), static_cast<AIReal>(bottom + inCell(random))};
        AIPathSegment segment{p, p, p, true};
        if (curved(random)) {
            const AIReal dh = static_cast<AIReal>(inCell(random) / 4 - kCell / 8);
            const AIReal dv = static_cast<AIReal>(inCell(random) / 4 - kCell / 8);
            segment.in = {p.h - dh, p.v - dv};
            segment.out = {p.h + dh, p.v + dv};
            segment.corner = false;
        }
        shape.segments.push_back(segment);
    }
    return shape;
}

}  // namespace documents
