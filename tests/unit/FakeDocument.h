// Fake suites for the unit tests that drive the tool and the annotator without a host: a
// document of paths reached through the art and path suites, the host's block memory,
// counted, and the Real Math closeness test.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "AIArt.h"
#include "AIPath.h"
#include "AIRealMath.h"
#include "PlaneGeometry.h"
#include "SPBasic.h"

namespace fake {

struct Path {
    std::vector<AIPathSegment> anchors;
    bool closed = false;
    bool alive = true;
    bool locked = false;
};

/// The document's paths in the order they were made; a path's handle is its place from 1.
inline std::vector<Path> paths;
/// Blocks of host memory given out and not yet given back.
inline int liveBlocks = 0;

inline AIArtHandle handleOf(std::size_t index) {
    return reinterpret_cast<AIArtHandle>(static_cast<std::uintptr_t>(index + 1));
}

/// The path of a handle, null when it names none or one disposed of.
inline Path* pathOf(AIArtHandle art) {
    const auto index = reinterpret_cast<std::uintptr_t>(art);
    if (index < 1 || index > paths.size() || !paths[index - 1].alive) return nullptr;
    return &paths[index - 1];
}

inline AIArtHandle addPath(std::vector<AIPathSegment> anchors, bool closed) {
    paths.push_back({std::move(anchors), closed});
    return handleOf(paths.size() - 1);
}

inline AIPathSegment straight(AIRealPoint p) {
    return {p, p, p, true};
}

inline AIPathSuite pathSuite() {
    AIPathSuite suite{};
    suite.GetPathSegmentCount = [](AIArtHandle art, ASInt16* count) {
        const Path* path = pathOf(art);
        if (!path) return kBadHandleErr;
        *count = static_cast<ASInt16>(path->anchors.size());
        return kNoErr;
    };
    suite.SetPathSegmentCount = [](AIArtHandle art, ASInt16 count) {
        Path* path = pathOf(art);
        if (!path) return kBadHandleErr;
        path->anchors.resize(static_cast<std::size_t>(count));
        return kNoErr;
    };
    suite.GetPathSegments = [](AIArtHandle art, ASInt16 first, ASInt16 count, AIPathSegment* out) {
        const Path* path = pathOf(art);
        if (!path || first < 0 || first + count > static_cast<int>(path->anchors.size())) return kBadParameterErr;
        for (ASInt16 i = 0; i < count; ++i) out[i] = path->anchors[static_cast<std::size_t>(first + i)];
        return kNoErr;
    };
    suite.SetPathSegments = [](AIArtHandle art, ASInt16 first, ASInt16 count, const AIPathSegment* in) {
        Path* path = pathOf(art);
        if (!path || first < 0 || first + count > static_cast<int>(path->anchors.size())) return kBadParameterErr;
        for (ASInt16 i = 0; i < count; ++i) path->anchors[static_cast<std::size_t>(first + i)] = in[i];
        return kNoErr;
    };
    suite.GetPathClosed = [](AIArtHandle art, AIBoolean* closed) {
        const Path* path = pathOf(art);
        if (!path) return kBadHandleErr;
        *closed = path->closed;
        return kNoErr;
    };
    suite.SetPathClosed = [](AIArtHandle art, AIBoolean closed) {
        Path* path = pathOf(art);
        if (!path) return kBadHandleErr;
        path->closed = closed;
        return kNoErr;
    };
    suite.GetPathBezier = [](AIArtHandle art, ASInt16 n, AIRealBezier* piece) {
        const Path* path = pathOf(art);
        if (!path || n < 0 || n + 1 >= static_cast<int>(path->anchors.size())) return kBadParameterErr;
        const AIPathSegment& a = path->anchors[static_cast<std::size_t>(n)];
        const AIPathSegment& b = path->anchors[static_cast<std::size_t>(n + 1)];
        *piece = {a.p, a.out, b.in, b.p};
        return kNoErr;
    };
    return suite;
}

/// The host's block memory: every block counted until it is given back.
inline SPBasicSuite memorySuite() {
    SPBasicSuite suite{};
    suite.AllocateBlock = [](std::size_t size, void** block) {
        *block = std::malloc(size);
        ++liveBlocks;
        return kNoErr;
    };
    suite.FreeBlock = [](void* block) {
        std::free(block);
        --liveBlocks;
        return kNoErr;
    };
    return suite;
}

/// Real Math as far as the tool and the annotator use it.
inline AIRealMathSuite mathSuite() {
    AIRealMathSuite math{};
    math.AIRadianToDegree = [](AIReal radians) { return RadiansToDegrees(radians); };
    math.AIRealPointClose = [](const AIRealPoint* a, const AIRealPoint* b, AIReal tolerance) -> AIBoolean {
        return DistanceBetween(*a, *b) <= tolerance;
    };
    return math;
}

/// An empty document and no block given out.
inline void reset() {
    paths.clear();
    liveBlocks = 0;
}

}  // namespace fake
