#include "DocumentFingerprint.h"

#include <bit>
#include <cstring>

namespace workbench {

namespace {

/// One round of a 64-bit mixer (SplitMix64's finaliser): nearby inputs give unrelated outputs, so that sums
/// of fingerprints do not cancel.
std::uint64_t mixed(std::uint64_t value) {
    value ^= value >> 30;
    value *= 0xbf58476d1ce4e5b9ULL;
    value ^= value >> 27;
    value *= 0x94d049bb133111ebULL;
    return value ^ (value >> 31);
}

std::uint64_t combined(std::uint64_t seed, std::uint64_t value) {
    return mixed(seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2)));
}

std::uint64_t bitsOf(AIReal coordinate) {
    // -0 and 0 are the same coordinate.
    return std::bit_cast<std::uint32_t>(coordinate + AIReal{0});
}

}  // namespace

DocumentFingerprint::DocumentFingerprint(host::Document& document) : document_(document) {
    document_.forEachArt(
        [&](AIArtHandle art, const host::Document::Art&) { follow(art, host::Document::Change::added); });
    observer_ = document_.addObserver([this](AIArtHandle art, host::Document::Change change) { follow(art, change); });
}

DocumentFingerprint::~DocumentFingerprint() {
    document_.removeObserver(observer_);
}

std::uint64_t DocumentFingerprint::fingerprintOf(AIArtHandle handle) const {
    const host::Document::Art& art = *document_.findArt(handle);
    if (art.shape.segments.empty()) return 0;
    std::uint64_t print = combined(reinterpret_cast<std::uintptr_t>(art.layer), art.shape.closed ? 1 : 0);
    for (const AIPathSegment& segment : art.shape.segments) {
        for (AIRealPoint point : {segment.p, segment.in, segment.out})
            print = combined(print, bitsOf(point.h) << 32 | bitsOf(point.v));
        print = combined(print, segment.corner != 0 ? 1 : 0);
    }
    // 0 stands for no path.
    return print == 0 ? 1 : print;
}

void DocumentFingerprint::follow(AIArtHandle art, host::Document::Change change) {
    auto known = fingerprints_.find(art);
    if (known != fingerprints_.end()) {
        sum_ -= known->second;
        if (known->second != 0) --paths_;
        fingerprints_.erase(known);
    }
    if (change == host::Document::Change::removed) return;
    const std::uint64_t print = fingerprintOf(art);
    fingerprints_.emplace(art, print);
    sum_ += print;
    if (print != 0) ++paths_;
}

DocumentFingerprint::Value DocumentFingerprint::value() const {
    return {document_.layerSet().layers, paths_, sum_};
}

}  // namespace workbench
