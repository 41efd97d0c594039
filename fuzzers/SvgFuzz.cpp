// SVG import: an input holding '<' is an SVG file's text (host::importSvgText),
// any other input is path data given to a fresh document (Document::addSvgPath);
// path data never holds '<'. Refusals (host::SvgError, std::invalid_argument)
// are normal outcomes. What must hold for what was imported:
//   - every anchor and control point is finite, and from a file within
//     kMaxSvgCoordinate of the origin;
//   - no path has more than kMaxSegmentCount anchors;
//   - a document holding the paths, exported as SVG and imported again, gives
//     the same paths with the same anchors and control points, exactly: the
//     export writes each coordinate as text that the import, which reads a
//     double and rounds it to a float, turns back into the same float, so no
//     tolerance is needed. Path data beyond kMaxSvgCoordinate must be refused
//     by the import instead.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/Document.h"
#include "host/Svg.h"

namespace {

[[noreturn]] void fail(const std::string& what, std::string_view input) {
    std::fprintf(stderr, "SVG import: %s\ninput: %.*s\n", what.c_str(), static_cast<int>(input.size()), input.data());
    std::abort();
}

bool within(AIRealPoint point, double bound) {
    return std::isfinite(point.h) && std::isfinite(point.v) && std::fabs(point.h) <= bound &&
           std::fabs(point.v) <= bound;
}

/// True when every point of the paths lies within bound; aborts for a point that is not finite or a path
/// with too many anchors.
bool checkPaths(const std::vector<host::PathShape>& paths, double bound, std::string_view input) {
    bool inside = true;
    for (const host::PathShape& path : paths) {
        if (path.segments.empty()) fail("a path without anchors", input);
        if (path.segments.size() > host::kMaxSegmentCount)
            fail("a path of " + std::to_string(path.segments.size()) + " anchors", input);
        for (const AIPathSegment& segment : path.segments) {
            if (!host::isFinite(segment)) fail("a coordinate that is not finite", input);
            inside = inside && within(segment.p, bound) && within(segment.in, bound) && within(segment.out, bound);
        }
    }
    return inside;
}

std::string describe(AIRealPoint point) {
    return std::to_string(point.h) + "," + std::to_string(point.v);
}

bool samePoint(AIRealPoint a, AIRealPoint b) {
    return a.h == b.h && a.v == b.v;
}

/// Exports the paths as a document and imports the file again: the same paths must come back.
void checkRoundTrip(const std::vector<host::PathShape>& paths, std::string_view input) {
    host::Document document;
    for (const host::PathShape& path : paths) document.addPath(path);
    std::string exported = host::exportSvg(document);
    std::vector<host::PathShape> again;
    try {
        again = host::importSvgText(exported, "the exported file");
    } catch (const host::SvgError& error) {
        fail(std::string("the exported file does not import: ") + error.what() + "\n" + exported, input);
    }
    if (again.size() != paths.size())
        fail(std::to_string(paths.size()) + " paths came back as " + std::to_string(again.size()) + "\n" + exported,
             input);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const auto &before = paths[i], &after = again[i];
        std::string which = "path " + std::to_string(i);
        if (before.closed != after.closed) fail(which + " came back " + (after.closed ? "closed" : "open"), input);
        if (before.segments.size() != after.segments.size())
            fail(which + ": " + std::to_string(before.segments.size()) + " anchors came back as " +
                     std::to_string(after.segments.size()) + "\n" + exported,
                 input);
        for (std::size_t j = 0; j < before.segments.size(); ++j) {
            const AIPathSegment &a = before.segments[j], &b = after.segments[j];
            if (!samePoint(a.p, b.p) || !samePoint(a.in, b.in) || !samePoint(a.out, b.out))
                fail(which + ", anchor " + std::to_string(j) + ": " + describe(a.p) + " in " + describe(a.in) +
                         " out " + describe(a.out) + " came back as " + describe(b.p) + " in " + describe(b.in) +
                         " out " + describe(b.out) + "\n" + exported,
                     input);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<host::PathShape> paths;
    if (text.find('<') != std::string::npos) {
        try {
            paths = host::importSvgText(text);
        } catch (const host::SvgError&) {
            return 0;
        }
        if (!checkPaths(paths, host::kMaxSvgCoordinate, text))
            fail("a coordinate beyond " + std::to_string(host::kMaxSvgCoordinate), text);
        checkRoundTrip(paths, text);
        return 0;
    }

    host::Document document;
    try {
        document.addSvgPath(text);
    } catch (const std::invalid_argument&) {
        return 0;
    }
    document.forEachArt([&](AIArtHandle, const host::Document::Art& art) { paths.push_back(art.shape); });
    if (checkPaths(paths, host::kMaxSvgCoordinate, text)) {
        checkRoundTrip(paths, text);
        return 0;
    }
    // Path data reaches the whole float range, which an SVG file may not.
    host::Document beyond;
    for (const host::PathShape& path : paths) beyond.addPath(path);
    try {
        host::importSvgText(host::exportSvg(beyond));
    } catch (const host::SvgError&) {
        return 0;
    }
    fail("an exported coordinate beyond " + std::to_string(host::kMaxSvgCoordinate) + " was imported", text);
}
