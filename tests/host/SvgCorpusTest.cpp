// The SVG files of tests/data/svg, made by editors, plotting and CAD programs
// and by hand: each opens with the paths, anchors, layers and bounding box its
// manifest records, and saved and opened again gives the same document.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/document/Svg.h"

namespace {

namespace fs = std::filesystem;

/// The manifest's bounding box is to a thousandth of a point.
constexpr double kBoxTolerance = 1e-3;

struct Found {
    std::size_t paths = 0, anchors = 0;
    std::vector<std::string> layers;
    /// left, bottom, right, top of every anchor and control point, in points (v up)
    std::vector<double> box{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
};

Found measure(const host::SvgDrawing& drawing) {
    Found found;
    for (const host::SvgDrawing::Layer& layer : drawing.layers) found.layers.push_back(layer.name);
    for (const host::SvgDrawing::Art& art : drawing.art) {
        ++found.paths;
        found.anchors += art.shape.segments.size();
        for (const AIPathSegment& segment : art.shape.segments)
            for (AIRealPoint point : {segment.p, segment.in, segment.out}) {
                found.box[0] = std::min<double>(found.box[0], point.h);
                found.box[1] = std::min<double>(found.box[1], point.v);
                found.box[2] = std::max<double>(found.box[2], point.h);
                found.box[3] = std::max<double>(found.box[3], point.v);
            }
    }
    return found;
}

TEST(SvgCorpus, EachFileOpensAsItsManifestSays) {
    const fs::path folder = ORVANE_SVG_DATA_DIR;
    nlohmann::json manifest = nlohmann::json::parse(std::ifstream(folder / "manifest.json"));
    std::size_t listed = 0;
    for (const nlohmann::json& entry : manifest) {
        std::string file = entry.at("file");
        SCOPED_TRACE(file);
        ++listed;
        host::SvgDrawing drawing = host::importSvg(folder / file);
        Found found = measure(drawing);
        nlohmann::json actual = {
            {"paths", found.paths}, {"anchors", found.anchors}, {"layers", found.layers}, {"box", found.box}};
        EXPECT_EQ(found.paths, entry.at("paths")) << actual;
        EXPECT_EQ(found.anchors, entry.at("anchors")) << actual;
        EXPECT_EQ(found.layers, entry.at("layers").get<std::vector<std::string>>()) << actual;
        std::vector<double> box = entry.at("box");
        ASSERT_EQ(box.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(found.box[i], box[i], kBoxTolerance) << actual;

        host::Document document;
        host::placeDrawing(document, std::move(drawing));
        host::Document reopened;
        host::placeDrawing(reopened, host::importSvgText(host::exportSvg(document), file + " saved"));
        EXPECT_EQ(reopened.dump(), document.dump());
    }
    // Every file of the folder is in the manifest.
    std::size_t files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) files += entry.path().extension() == ".svg";
    EXPECT_EQ(files, listed);
    EXPECT_GE(listed, 30u);
}

}  // namespace
