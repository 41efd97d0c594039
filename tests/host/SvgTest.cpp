#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "host/Host.h"
#include "host/document/History.h"
#include "host/document/Svg.h"

namespace {

namespace fs = std::filesystem;

AIPathSegment anchor(float h, float v) {
    return {{h, v}, {h, v}, {h, v}, true};
}

std::vector<AIRealPoint> anchorsOf(const host::PathShape& shape) {
    std::vector<AIRealPoint> points;
    for (const AIPathSegment& segment : shape.segments) points.push_back(segment.p);
    return points;
}

/// A file of one point per user unit.
std::string svg(const std::string& body) {
    return R"(<svg xmlns="http://www.w3.org/2000/svg" width="100pt" height="100pt" viewBox="0 0 100 100">)" + body +
           "</svg>";
}

/// The paths of a file, whatever their layer.
std::vector<host::PathShape> pathsOf(const std::string& text, const std::string& name = "the SVG text") {
    std::vector<host::PathShape> paths;
    for (host::SvgDrawing::Art& art : host::importSvgText(text, name).art) paths.push_back(std::move(art.shape));
    return paths;
}

void expectAnchors(const host::PathShape& shape, const std::vector<AIRealPoint>& wanted, const std::string& what) {
    std::vector<AIRealPoint> found = anchorsOf(shape);
    ASSERT_EQ(found.size(), wanted.size()) << what;
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_NEAR(found[i].h, wanted[i].h, 1e-4) << what << ", anchor " << i;
        EXPECT_NEAR(found[i].v, wanted[i].v, 1e-4) << what << ", anchor " << i;
    }
}

TEST(Svg, SavedDocumentOpensWithTheSameAnchors) {
    host::Document document;
    document.addPath({{anchor(0, 0), anchor(0.1f, -7.25f), anchor(12345.678f, 1e-3f)}, false});
    host::PathShape curve{{anchor(-3, 4), anchor(50, 50), anchor(80, -20)}, true};
    curve.segments[0].out = {-1.5f, 30};
    curve.segments[1].in = {20, 60.333f};
    curve.segments[2].out = {90, 0};  // the closing piece is a curve
    document.addPath(curve);
    document.addPath({{anchor(1, 1), anchor(2, 2), anchor(3, 1)}, true});
    // Closed paths whose last anchor lies on the first: SVG takes a final piece back to the start as the
    // closing one, which must not cost the path that anchor.
    document.addPath({{anchor(0, 0), anchor(10, 0), anchor(0, 0)}, true});
    document.addPath({{anchor(5, 5), anchor(5, 5), anchor(5, 5), anchor(5, 5)}, true});  // a circle scaled to 0
    host::PathShape curvedBack{{anchor(0, 0), anchor(10, 0), anchor(0, 0)}, true};
    curvedBack.segments[1].out = {10, 10};
    document.addPath(curvedBack);
    // The shortest text of this float reads, through a double, as the next float up.
    document.addPath({{anchor(7.03853069e-26f, -7.03853069e-26f)}, false});
    document.addPath({});  // nothing to write
    AILayerHandle top = document.addLayer("Layer 2");
    document.setCurrentLayer(top);
    document.addPath({{anchor(7, 7), anchor(8, 9)}, false});

    std::string text = host::exportSvg(document);
    std::vector<host::PathShape> read = pathsOf(text);
    std::vector<host::PathShape> written;
    document.forEachArt([&](AIArtHandle, const host::Document::Art& art) {
        if (!art.shape.segments.empty()) written.push_back(art.shape);
    });
    ASSERT_EQ(read.size(), written.size()) << text;
    for (std::size_t i = 0; i < read.size(); ++i)
        EXPECT_TRUE(host::sameShape(read[i], written[i])) << i << "\n" << text;
    // y points down in the file.
    EXPECT_NE(text.find("L0.1,7.25 "), std::string::npos) << text;
}

TEST(Svg, EachElementKindWithItsTransform) {
    struct Case {
        const char* element;
        std::vector<AIRealPoint> anchors;  // artwork coordinates: v = -y
        bool closed;
    };
    const float k = 0.70710678f;
    std::vector<Case> cases = {
        {R"~(<line x1="0" y1="0" x2="10" y2="0" transform="translate(5,5)"/>)~", {{5, -5}, {15, -5}}, false},
        {R"~(<polyline points="0,0 10,0 10 10" transform="scale(2)"/>)~", {{0, 0}, {20, 0}, {20, -20}}, false},
        {R"~(<polygon points="10,0 20,0 20,5" transform="rotate(90)"/>)~", {{0, -10}, {0, -20}, {-5, -20}}, true},
        {R"~(<polygon points="10,0 0,0" transform="rotate(90 10 0)"/>)~", {{10, 0}, {10, 10}}, true},
        {R"~(<rect x="1" y="2" width="3" height="4" transform="skewX(45)"/>)~",
         {{3, -2}, {6, -2}, {10, -6}, {7, -6}},
         true},
        {R"~(<rect width="10" height="10" transform="skewY(45)"/>)~", {{0, 0}, {10, -10}, {10, -20}, {0, -10}}, true},
        {R"~(<circle cx="10" cy="0" r="5" transform="matrix(1 0 0 1 0 -10)"/>)~",
         {{15, 10}, {10, 5}, {5, 10}, {10, 15}},
         true},
        {R"~(<ellipse cx="0" cy="0" rx="4" ry="2" transform="rotate(45)"/>)~",
         {{4 * k, -4 * k}, {-2 * k, -2 * k}, {-4 * k, 4 * k}, {2 * k, 2 * k}},
         true},
        {R"~(<path d="M 0 0 L 10 0 L 10 10 Z" transform="translate(10) rotate(90)"/>)~",
         {{10, 0}, {10, -10}, {0, -10}},
         true},
        {R"~(<g transform="translate(10,0)"><g transform="scale(2)"><line x2="1px"/></g></g>)~",
         {{10, 0}, {12, 0}},
         false},
    };
    for (const Case& c : cases) {
        std::vector<host::PathShape> shapes = pathsOf(svg(c.element));
        ASSERT_EQ(shapes.size(), 1u) << c.element;
        EXPECT_EQ(shapes[0].closed, c.closed) << c.element;
        expectAnchors(shapes[0], c.anchors, c.element);
    }

    // Rounded corners: a straight side and a quarter ellipse at each corner.
    std::vector<host::PathShape> rounded = pathsOf(svg(R"~(<rect width="20" height="10" rx="2"/>)~"));
    ASSERT_EQ(rounded.size(), 1u);
    expectAnchors(rounded[0], {{2, 0}, {18, 0}, {20, -2}, {20, -8}, {18, -10}, {2, -10}, {0, -8}, {0, -2}}, "rounded");
    // A transform on the root and on a nested svg; what is not geometry is passed over.
    // Without a viewBox a user unit is a px, 0.75 pt, and so is the shift of the root's transform.
    std::vector<host::PathShape> nested = pathsOf(
        R"~(<svg:svg xmlns:svg="http://www.w3.org/2000/svg" transform="translate(4 5)"><svg:defs><svg:rect width="1" height="1"/></svg:defs>)~"
        R"~(<svg:text>hi</svg:text><svg:svg><svg:line x1="1" y1="1" x2="2" y2="1"/></svg:svg></svg:svg>)~");
    ASSERT_EQ(nested.size(), 1u);
    expectAnchors(nested[0], {{3.75f, -4.5f}, {4.5f, -4.5f}}, "nested");
    // Empty shapes draw nothing.
    EXPECT_TRUE(pathsOf(svg(R"~(<rect width="0" height="5"/><circle r="0"/><path d=""/>)~")).empty());
    // An arc so thin (radii 1e9 apart) that it runs along its chord, turned by 30 degrees.
    std::vector<host::PathShape> thin = pathsOf(svg(R"~(<path d="M0 0 A1 1e-9 0 0 0 10 0" transform="rotate(30)"/>)~"));
    ASSERT_EQ(thin.size(), 1u);
    const float c = 0.8660254f;
    EXPECT_NEAR(thin[0].segments.back().p.h, 10 * c, 1e-4);
    EXPECT_NEAR(thin[0].segments.back().p.v, -5, 1e-4);
    for (const AIPathSegment& segment : thin[0].segments)
        for (AIRealPoint point : {segment.p, segment.in, segment.out})
            EXPECT_NEAR(point.h * 0.5f + point.v * c, 0, 1e-4) << point.h << "," << point.v;  // on the chord's line
}

const char* const kLayered = R"~(<svg xmlns="http://www.w3.org/2000/svg"
    xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
    xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd" width="10in" height="10in" viewBox="0 0 720 720">
  <path d="M 0 0 L 1 0"/>
  <g id="a" inkscape:groupmode="layer" inkscape:label="Ground" sodipodi:insensitive="true"><path d="M 0 0 L 2 0"/></g>
  <g inkscape:groupmode="layer" id="b">
    <path d="M 0 0 C 1 2 3 4 5.5 0.1"/>
    <g inkscape:groupmode="layer" inkscape:label="inner" display="none" sodipodi:insensitive="true"><path d="M 0 0 L 4 0"/></g>
  </g>
  <g inkscape:groupmode="layer" inkscape:label="Top &amp; last" style="display:none"><path d="M 0 0 L 3 0"/></g>
  <g><g inkscape:groupmode="layer" inkscape:label="not top-level"/></g>
</svg>)~";

TEST(Svg, LayersOpenWithTheirNamesStatesAndArt) {
    host::SvgDrawing drawing = host::importSvgText(kLayered);
    ASSERT_EQ(drawing.layers.size(), 3u);
    EXPECT_EQ(drawing.layers[0].name, "Ground");
    EXPECT_TRUE(drawing.layers[0].locked);
    EXPECT_FALSE(drawing.layers[0].hidden);
    EXPECT_EQ(drawing.layers[1].name, "b");
    EXPECT_FALSE(drawing.layers[1].locked);
    EXPECT_EQ(drawing.layers[2].name, "Top & last");
    EXPECT_TRUE(drawing.layers[2].hidden);
    EXPECT_FALSE(drawing.currentLayer);

    // Placed in a document of two layers: they take the first two layers' names, a third one is added; the
    // art outside every layer goes to the current layer, which stays the bottom one.
    host::Document document;
    AILayerHandle bottom = document.layerAt(0);
    document.setCurrentLayer(bottom);
    document.addLayer("Layer 2");
    document.addPath({{anchor(9, 9)}, false});
    host::placeDrawing(document, drawing);
    nlohmann::json dump = document.dump();
    ASSERT_EQ(dump["layers"].size(), 3u) << dump;
    EXPECT_EQ(dump["layers"][2]["name"], "Ground");
    EXPECT_EQ(dump["layers"][2]["locked"], true);
    EXPECT_EQ(dump["layers"][2]["art"].size(), 2u) << "the loose path and the layer's";
    EXPECT_EQ(dump["layers"][2]["art"][0]["segments"][1]["p"], nlohmann::json::parse("[1,0]"));
    EXPECT_EQ(dump["layers"][1]["name"], "b");
    EXPECT_EQ(dump["layers"][1]["art"].size(), 2u);
    EXPECT_EQ(dump["layers"][1]["art"][1]["hidden"], true) << "a hidden sublayer's art";
    EXPECT_EQ(dump["layers"][1]["art"][1]["locked"], true);
    EXPECT_EQ(dump["layers"][0]["name"], "Top & last");
    EXPECT_EQ(dump["layers"][0]["hidden"], true);
    EXPECT_EQ(dump["current"], 2);
    EXPECT_EQ(document.layerAt(2), bottom);
    // Art of a locked or hidden layer counts as such; its own attributes do not change.
    const host::Document::Art* ground = document.findArt(document.findLayer(bottom)->art.rbegin()->second);
    EXPECT_EQ(ground->attributes, 0);
    EXPECT_EQ(document.userAttributes(*ground), kArtLocked);

    // Saved and opened again in a fresh document: the same document, anchors compared exactly. The loose
    // path stays loose in the file, and goes again into the current layer, which the file names.
    host::Document reopened;
    host::placeDrawing(reopened, host::importSvgText(host::exportSvg(document)));
    EXPECT_EQ(reopened.dump(), document.dump());
}

TEST(Svg, AFileWithoutLayersLeavesTheLayersAlone) {
    host::Document document;
    AILayerHandle top = document.addLayer("Top");
    document.setLayerLocked(top, true);
    document.setCurrentLayer(top);
    host::placeDrawing(document, host::importSvgText(svg(R"(<line x2="1"/>)")));
    nlohmann::json dump = document.dump();
    EXPECT_EQ(dump["layers"][0]["name"], "Top");
    EXPECT_EQ(dump["layers"][0]["locked"], true);
    EXPECT_EQ(dump["layers"][0]["art"].size(), 1u);
    EXPECT_EQ(dump["layers"][1]["name"], "Layer 1");
}

TEST(Svg, TheCurrentLayerIsTheFilesAndRoundTrips) {
    std::string text = kLayered;
    text.insert(text.find("<path"), R"(<sodipodi:namedview inkscape:current-layer="b"/>)");
    host::SvgDrawing drawing = host::importSvgText(text);
    ASSERT_TRUE(drawing.currentLayer);
    EXPECT_EQ(*drawing.currentLayer, 1u);
    host::Document document;
    host::placeDrawing(document, std::move(drawing));
    EXPECT_EQ(document.dump()["current"], 1);
    EXPECT_EQ(document.dump()["layers"][1]["art"].size(), 3u) << "the loose path, in layer b";
    std::string saved = host::exportSvg(document);
    EXPECT_NE(saved.find(R"(inkscape:current-layer="b")"), std::string::npos) << saved;
    host::Document reopened;
    host::placeDrawing(reopened, host::importSvgText(saved));
    EXPECT_EQ(reopened.dump(), document.dump());
}

TEST(Svg, OnlyFilesThatAreNotSvgOrBeyondTheLimitsAreRefused) {
    std::string deep;
    for (int i = 0; i < 300; ++i) deep += "<g>";
    for (int i = 0; i < 300; ++i) deep += "</g>";
    struct Case {
        std::string text;
        const char* reason;
    };
    std::vector<Case> cases = {
        {"<svg><path d=\"M 0 0\"", "not XML"},
        {"plain text", "not XML"},
        {"<svg/><text data-q='\"'>after</text>", "outside the root"},
        {"<html><path d=\"M 0 0 L 1 1\"/></html>", "no svg root"},
        {svg(deep), "nested"},
    };
    for (const Case& c : cases) {
        try {
            pathsOf(c.text, "drawing.svg");
            ADD_FAILURE() << "accepted " << c.text.substr(0, 80);
        } catch (const host::SvgError& error) {
            std::string message = error.what();
            EXPECT_EQ(message.rfind("cannot open drawing.svg: ", 0), 0u) << message;
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        }
    }
}

TEST(Svg, WhatCantBeDrawnIsPassedOverWithOneWarningAndTheRestOpens) {
    // Each case is followed by a line that opens whatever happens to the case.
    const std::string line = R"(<line x2="7"/>)";
    struct Case {
        std::string text;
        const char* reason;
        std::size_t paths;  ///< the line's included
    };
    std::vector<Case> cases = {
        {svg(R"~(<path d="M 0 0 L 1 1 L x 1"/>)~" + line), "drawn up to it", 2},
        {svg(R"~(<path d="m-01e732 2 t101e732 2 t20 0 Z"/>)~" + line), "numbers beyond any coordinate", 1},
        {svg(R"~(<line x1="inf" x2="1"/>)~" + line), "not a finite number", 1},
        {svg(R"~(<line x1="nan" x2="1"/>)~" + line), "not a finite number", 1},
        {svg(R"~(<line x1="1e999" x2="1"/>)~" + line), "not a finite number", 1},
        {svg(R"~(<circle r="1e300"/>)~" + line), "beyond", 1},
        {svg(R"~(<line x2="1" transform="scale(1e200)"/>)~" + line), "beyond", 1},
        {svg(R"~(<line x2="1" transform="frob(2)"/>)~" + line), "unknown transform", 1},
        {svg(R"~(<g transform="translate(1,2,3)"><line x2="1"/></g>)~" + line), "wrong number of values", 1},
        {svg(R"~(<line x2="1" transform="rotate(45"/>)~" + line), "malformed", 1},
        {svg(R"~(<line x2="5em"/>)~" + line), "sized with no font", 2},
        {svg(R"~(<line x2="5 parsecs"/>)~" + line), "the unit of \"5 parsecs\" is not known", 1},
        {R"~(<svg width="50%"><line x2="5%"/>)~" + line + "</svg>", "a share of a size the drawing does not give", 1},
        {R"~(<svg width="1in"><circle r="5%"/>)~" + line + "</svg>", "share", 1},
        {R"~(<svg><line x2="5vw"/>)~" + line + "</svg>", "share", 1},
        {svg(R"~(<line x2="2rem" y2="1ch"/>)~" + line), "y2 \"1ch\" is sized with no font", 2},
        {R"~(<svg><svg viewBox="0 0 1 1"/>)~" + line + "</svg>", "its viewBox needs a width and height", 1},
        {R"~(<svg width="-1mm">)~" + line + "</svg>", "a negative width; taken as absent", 1},
        {R"~(<svg width="0">)~" + line + "</svg>", "nothing is drawn", 0},
        {R"~(<svg viewBox="0 0 10 0">)~" + line + "</svg>", "nothing is drawn", 0},
        {R"~(<svg viewBox="0 0 -10 10">)~" + line + "</svg>", "negative", 1},
        {R"~(<svg viewBox="0 0 10">)~" + line + "</svg>", "a number is missing", 1},
        {R"~(<svg viewBox="0 0 10 10 10">)~" + line + "</svg>", "more than four", 1},
        {R"~(<svg viewBox="0 0 1 1" preserveAspectRatio="xMidYmid">)~" + line + "</svg>", "unknown alignment", 0},
        {svg(R"~(<svg width="-1"/>)~" + line), "negative width or height", 1},
        {std::string(
             R"~(<svg xmlns:i="http://www.inkscape.org/namespaces/inkscape"><g i:groupmode="layer" i:label=")~") +
             "\xff" + R"~("/>)~" + line + "</svg>",
         "name is not UTF-8", 1},
        {svg(R"~(<polyline points="1 2 3 4 5"/>)~" + line), "odd number", 2},
        {svg(R"~(<rect width="-1" height="2"/>)~" + line), "a negative width; not drawn", 1},
        {svg(R"~(<use href="#nowhere"/>)~" + line), "not in the file", 1},
        {svg(R"~(<g id="g"><use href="#g"/></g>)~" + line), "holds it", 1},
        {svg(R"~(<defs><g id="g"><rect width="-1" height="1"/></g></defs><use href="#g"/><use href="#g"/>)~" + line),
         "a negative width; not drawn", 1},
    };
    for (const Case& c : cases) {
        host::SvgDrawing drawing = host::importSvgText(c.text);
        EXPECT_EQ(drawing.art.size(), c.paths) << c.text;
        ASSERT_EQ(drawing.warnings.size(), 1u) << c.text;
        std::string told = host::describe(drawing.warnings[0]);
        EXPECT_NE(told.find(c.reason), std::string::npos) << told;
        EXPECT_EQ(told.find(c.reason), told.rfind(c.reason)) << "told once: " << told;
        EXPECT_GT(drawing.warnings[0].offset, 0u);
    }
}

class SvgFiles : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("orvane-svg-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    void write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

    fs::path folder;
};

TEST_F(SvgFiles, OpeningReplacesTheArtAndABadFileLeavesItAlone) {
    host::Host host{{ORVANE_PLUGINS_DIR, std::nullopt, [](const std::string&) {}}};
    host.edit([](host::Document& document) { document.addPath({{anchor(0, 0), anchor(1, 1)}, false}); });
    nlohmann::json before = host.document().dump();

    fs::path bad = folder / "bad.svg";
    write(bad, svg(R"~(<line x2="1"/><path d="M 0 0 L 1"/)~"));
    EXPECT_THROW(host.openSvg(bad), host::SvgError);
    EXPECT_THROW(host.openSvg(folder / "missing.svg"), host::SvgError);
    EXPECT_EQ(host.document().dump(), before);

    fs::path good = folder / "good.svg";
    write(good, svg(R"~(<line x2="1"/><circle r="2"/>)~"));
    host.openSvg(good);
    EXPECT_EQ(host.document().artCount(), 2u);
    EXPECT_FALSE(host.undo()) << "an opened file is a document of its own";

    // A layered file gives its layers, and only those.
    fs::path layered = folder / "layered.svg";
    write(layered, kLayered);
    host.openSvg(layered);
    EXPECT_EQ(host.document().layerCount(), 3u);

    // Saving replaces the file whole; a folder that does not exist fails and says where.
    fs::path saved = folder / "saved.svg";
    host.saveSvg(saved);
    EXPECT_EQ(host::importSvg(saved).art.size(), host.document().artCount());
    try {
        host.saveSvg(folder / "no" / "such.svg");
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const host::SvgError& error) {
        EXPECT_NE(std::string(error.what()).find("such.svg"), std::string::npos) << error.what();
    }
}

}  // namespace

namespace {

const char* const kKept =
    R"~(<svg xmlns="http://www.w3.org/2000/svg" xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape" width="100pt" height="100pt" viewBox="0 0 100 100">
  <g id="layer" inkscape:groupmode="layer" inkscape:label="Plan" transform="translate(10 0)">
    <rect id="box" class="wall" style="fill:red" x="0" y="0" width="10" height="20"/>
    <circle id="round" cx="50" cy="50" r="5"/>
    <path id="two" d="M 0 0 L 5 0 M 0 10 L 5 10"/>
    <path id="gone" d="M 0 0 L 1 1"/>
    <defs><line id="dash" x2="3"/></defs>
    <use id="copy" href="#dash" y="40"/>
    <text>kept</text>
  </g>
</svg>)~";

/// The art of the document whose file element has that id, in the order the element drew them.
std::vector<AIArtHandle> artOf(const host::Document& document, const std::string& text, const char* id) {
    pugi::xml_document xml;
    xml.load_string(text.c_str());
    std::vector<pugi::xml_node> all;
    struct Walker : pugi::xml_tree_walker {
        std::vector<pugi::xml_node>* all;
        bool for_each(pugi::xml_node& node) override {
            if (node.type() == pugi::node_element) all->push_back(node);
            return true;
        }
    } walker;
    walker.all = &all;
    all.push_back(xml.document_element());
    xml.document_element().traverse(walker);
    std::uint32_t element = 0;
    for (std::size_t i = 0; i < all.size(); ++i)
        if (std::string_view(all[i].attribute("id").value()) == id) element = static_cast<std::uint32_t>(i + 1);
    std::vector<AIArtHandle> found;
    document.forEachArt([&](AIArtHandle art, const host::Document::Art& each) {
        if (each.link.element == element) found.push_back(art);
    });
    return found;
}

pugi::xml_node byId(const pugi::xml_document& xml, const char* id) {
    return xml.find_node(
        [&](const pugi::xml_node& node) { return std::string_view(node.attribute("id").value()) == id; });
}

host::PathShape shifted(host::PathShape shape, float dh, float dv) {
    for (AIPathSegment& segment : shape.segments)
        for (AIRealPoint* point : {&segment.p, &segment.in, &segment.out}) *point = {point->h + dh, point->v + dv};
    return shape;
}

}  // namespace

TEST(Svg, EditsChangeOnlyTheElementsTheyTouch) {
    host::Document document;
    host::placeDrawing(document, host::importSvgText(kKept));
    ASSERT_EQ(document.artCount(), 6u) << "the rect, the circle, two subpaths, the lone path and the instance";
    auto only = [&](const char* id) {
        std::vector<AIArtHandle> art = artOf(document, kKept, id);
        EXPECT_EQ(art.size(), 1u) << id;
        return art.at(0);
    };
    // Moved whole, the rect and circle are still a rect and a circle; one anchor of the rect moved makes a path.
    document.setShape(only("box"), shifted(document.findArt(only("box"))->shape, 5, -5));
    document.setShape(only("round"), shifted(document.findArt(only("round"))->shape, -10, 0));
    document.disposeArt(artOf(document, kKept, "two").at(0));
    document.disposeArt(only("gone"));
    document.addPath({{anchor(0, 0), anchor(20, -20), anchor(40, 0)}, false});

    pugi::xml_document saved;
    ASSERT_TRUE(saved.load_string(host::exportSvg(document).c_str()));
    pugi::xml_node box = byId(saved, "box");
    EXPECT_STREQ(box.name(), "rect");
    EXPECT_STREQ(box.attribute("x").value(), "5") << "in the layer's user space, shifted by 10";
    EXPECT_STREQ(box.attribute("y").value(), "5");
    EXPECT_STREQ(box.attribute("width").value(), "10");
    EXPECT_STREQ(box.attribute("class").value(), "wall");
    EXPECT_STREQ(byId(saved, "round").name(), "circle");
    EXPECT_STREQ(byId(saved, "round").attribute("cx").value(), "40");
    EXPECT_STREQ(byId(saved, "round").attribute("r").value(), "5");
    EXPECT_STREQ(byId(saved, "two").attribute("d").value(), "M0,10 L5,10") << "the other subpath stays";
    EXPECT_FALSE(byId(saved, "gone")) << "its last subpath removed, the element goes";
    EXPECT_TRUE(byId(saved, "copy")) << "the instance is written as the use it is";
    EXPECT_EQ(saved.select_nodes("//line").size(), 1u) << "and never duplicated";
    pugi::xml_node added = byId(saved, "layer").last_child();
    EXPECT_STREQ(added.name(), "path") << "new art goes on top of its layer's group";
    EXPECT_STREQ(added.attribute("d").value(), "M-10,0 L10,20 L30,0");
    EXPECT_EQ(std::string_view(added.attribute("style").value()).find("fill:none;stroke:#000000"), 0u);

    // One anchor moved off the rectangle: a path, with what the element said of itself.
    host::PathShape bent = document.findArt(only("box"))->shape;
    bent.segments[2].p = bent.segments[2].in = bent.segments[2].out = {30, -40};
    document.setShape(only("box"), bent);
    ASSERT_TRUE(saved.load_string(host::exportSvg(document).c_str()));
    box = byId(saved, "box");
    EXPECT_STREQ(box.name(), "path");
    EXPECT_STREQ(box.attribute("style").value(), "fill:red");
    EXPECT_FALSE(box.attribute("width"));
    EXPECT_STREQ(box.attribute("d").value(), "M5,5 L15,5 L20,40 L5,25 Z");
    EXPECT_TRUE(host::unwritableEdits(document).empty());

    // The instance's art edited can't be written back: a save says so before writing over the original.
    document.setShape(only("copy"), shifted(document.findArt(only("copy"))->shape, 1, 1));
    ASSERT_EQ(host::unwritableEdits(document).size(), 1u);
    EXPECT_NE(host::unwritableEdits(document)[0].find("<use>"), std::string::npos);
}

TEST(Svg, LayersKeepTheirGroupsAndANewLayerGetsItsOwn) {
    host::Document document;
    host::placeDrawing(document, host::importSvgText(kKept));
    AILayerHandle plan = document.layerAt(0);
    document.setLayerName(plan, "Plan & walls");
    document.setLayerHidden(plan, true);
    AILayerHandle notes = document.addLayer("Notes");
    document.setCurrentLayer(notes);
    document.addPath({{anchor(0, 0), anchor(1, 0)}, false});

    std::string text = host::exportSvg(document);
    pugi::xml_document saved;
    ASSERT_TRUE(saved.load_string(text.c_str()));
    pugi::xml_node layer = byId(saved, "layer");
    EXPECT_STREQ(layer.attribute("inkscape:label").value(), "Plan & walls");
    EXPECT_STREQ(layer.attribute("style").value(), "display:none");
    pugi::xml_node added = layer.next_sibling("g");
    EXPECT_STREQ(added.attribute("inkscape:groupmode").value(), "layer");
    EXPECT_STREQ(added.attribute("inkscape:label").value(), "Notes");
    EXPECT_STREQ(added.first_child().attribute("d").value(), "M0,0 L1,0") << "in the root's user space";

    host::Document reopened;
    host::placeDrawing(reopened, host::importSvgText(text));
    EXPECT_EQ(reopened.layerCount(), 2u);
    EXPECT_EQ(reopened.findLayer(reopened.layerAt(1))->name, "Plan & walls");
    EXPECT_TRUE(reopened.findLayer(reopened.layerAt(1))->hidden);
}

TEST(Svg, ThePageIsTheRootsViewportAndADrawingBegunHereIsSavedAtItsPage) {
    // A viewBox that places the page off the origin moves the page, not the art.
    host::SvgDrawing drawing = host::importSvgText(
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="200pt" height="100pt" viewBox="10 20 200 100"/>)");
    EXPECT_EQ(drawing.page, (host::PageBox{10, -20, 200, 100}));
    EXPECT_TRUE(host::importSvgText(R"(<svg xmlns="http://www.w3.org/2000/svg" width="50%"/>)").page.empty());

    host::Document document;
    document.setPage({-5, 10, 300, 200});
    document.addPath({{anchor(0, 0), anchor(1000, 0)}, false});
    pugi::xml_document saved;
    ASSERT_TRUE(saved.load_string(host::exportSvg(document).c_str()));
    pugi::xml_node root = saved.document_element();
    EXPECT_STREQ(root.attribute("width").value(), "300pt");
    EXPECT_STREQ(root.attribute("height").value(), "200pt");
    EXPECT_STREQ(root.attribute("viewBox").value(), "-5 -10 300 200") << "the page, not the art beyond it";
    host::Document reopened;
    host::placeDrawing(reopened, host::importSvgText(host::exportSvg(document)));
    EXPECT_EQ(reopened.page(), document.page());
}

TEST(Svg, ADeletedLayerLeavesTheFileAndTheOthersTakeTheDocumentsOrder) {
    const std::string head =
        R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape" width="100pt" height="100pt" viewBox="0 0 100 100">
  <!-- kept -->
  )";
    const std::string ground =
        R"(<g id="ground" inkscape:groupmode="layer" inkscape:label="Ground"><path d="M 0 0 L 10 0"/></g>)";
    const std::string between = "\n  <defs><path id=\"mark\" d=\"M 0 0 L 0 5\"/></defs>\n  ";
    const std::string walls =
        R"(<g id="walls" inkscape:groupmode="layer"><rect width="5" height="5"/><text>a</text></g>)";
    const std::string roof =
        R"(<g id="roof" inkscape:groupmode="layer"><path d="M0,10 L9,10"/><use href="#mark"/></g>)";
    const std::string tail = "\n</svg>";
    const std::string file = head + ground + between + walls + "\n  " + roof + tail;

    host::Document document;
    host::placeDrawing(document, host::importSvgText(file));
    ASSERT_EQ(document.layerCount(), 3u);
    EXPECT_EQ(host::exportSvg(document), file) << "layers kept as they were are not touched";
    AILayerHandle roofLayer = document.layerAt(0);
    document.deleteLayer(document.layerAt(1));
    document.moveLayer(roofLayer, 1);

    // Walls goes with all it holds; roof, now the bottom layer, takes the place of the file's bottom group.
    const std::string text = host::exportSvg(document);
    EXPECT_EQ(text, head + roof + between + "\n  " + ground + tail);

    host::Document reopened;
    host::placeDrawing(reopened, host::importSvgText(text));
    ASSERT_EQ(reopened.layerCount(), 2u);
    EXPECT_EQ(reopened.findLayer(reopened.layerAt(0))->name, "Ground");
    EXPECT_EQ(reopened.findLayer(reopened.layerAt(1))->name, "roof");
    EXPECT_EQ(reopened.artCount(), 3u) << "the ground's path, the roof's path and its instance";
    reopened.setCurrentLayer(reopened.layerAt(1));
    EXPECT_EQ(reopened.findArt(reopened.artAt(0))->shape.segments.at(1).p.h, 9);
}
