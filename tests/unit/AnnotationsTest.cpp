// The annotation steps whose arithmetic the host does not show plainly: the label
// boxes and texts, the path outline, the guide search and the guide colour, against
// fake suites that log each drawing call.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Annotations.h"
#include "FakeDocument.h"
#include "IAIUnicodeString.h"
#include "IThrowException.h"
#include "LabelBox.h"
#include "OrvaneSuites.h"
#include "PlaneGeometry.h"
#include "Settings.h"
#include "Suites.h"

namespace {

std::vector<std::string> gLog;
std::map<std::uintptr_t, std::string> gStrings;
std::uintptr_t gLastString = 0;

// Text bounds of the fake drawer: 5 pixels a byte, 9 high.
constexpr int kByteWidth = 5;
constexpr int kTextHeight = 9;

AIUnicodeStringHandle toHandle(std::uintptr_t id) {
    return reinterpret_cast<AIUnicodeStringHandle>(id);
}
const std::string& textOf(AIUnicodeStringHandle text) {
    return gStrings.at(reinterpret_cast<std::uintptr_t>(text));
}

std::string rect(const AIRect& r) {
    std::ostringstream out;
    out << r.top << ' ' << r.left << ' ' << r.bottom << ' ' << r.right;
    return out.str();
}
std::string point(AIPoint p) {
    return std::to_string(p.h) + "," + std::to_string(p.v);
}

void log(const std::string& line) {
    gLog.push_back(line);
}

const AIAnnotatorDrawerSuite gDrawer = {
    [](AIAnnotatorDrawer*, const AIRGBColor& c) {
        log("color " + std::to_string(c.red) + " " + std::to_string(c.green) + " " + std::to_string(c.blue));
        return kNoErr;
    },
    [](AIAnnotatorDrawer*, AIReal width) {
        log("width " + std::to_string(static_cast<int>(width)));
        return kNoErr;
    },
    [](AIAnnotatorDrawer*, AIBoolean dashed) {
        log(dashed ? "dashed" : "solid");
        return kNoErr;
    },
    [](AIAnnotatorDrawer*, ASInt32 preset) {
        log("font " + std::to_string(preset));
        return kNoErr;
    },
    [](AIAnnotatorDrawer*, const AIPoint& a, const AIPoint& b) {
        log("line " + point(a) + " " + point(b));
        return kNoErr;
    },
    [](AIAnnotatorDrawer*, const AIRect& r, AIBoolean fill) {
        log(std::string(fill ? "fill ellipse " : "ellipse ") + rect(r));
        return kNoErr;
    },
    [](AIAnnotatorDrawer*, const AIRect& r, AIBoolean fill) {
        log(std::string(fill ? "fill rect " : "rect ") + rect(r));
        return kNoErr;
    },
    [](AIAnnotatorDrawer*, AIUnicodeStringHandle text, const AIPoint& at) {
        log("text " + textOf(text) + " at " + point(at));
        return kNoErr;
    },
    [](AIAnnotatorDrawer*, AIUnicodeStringHandle text, ASInt32 h, ASInt32 v, const AIRect& r) {
        log("text " + textOf(text) + " in " + rect(r) + " align " + std::to_string(h) + std::to_string(v));
        return kNoErr;
    },
    [](AIAnnotatorDrawer*, AIUnicodeStringHandle text, const AIPoint* origin, AIRect* bounds) {
        if (origin) return kBadParameterErr;
        *bounds = {0, 0, kTextHeight, static_cast<ASInt16>(kByteWidth * textOf(text).size())};
        return kNoErr;
    },
    [](AIAnnotatorDrawer*, const AIPoint& start, const AIAnnotatorBezierPiece* pieces, ASInt32 count, AIBoolean) {
        std::string line = "beziers " + point(start);
        for (ASInt32 i = 0; i < count; ++i)
            line +=
                " [" + point(pieces[i].control1) + " " + point(pieces[i].control2) + " " + point(pieces[i].end) + "]";
        log(line);
        return kNoErr;
    },
};

bool gRefuseStrings = false;

const AIUnicodeStringSuite gStringsSuite = {
    [](const char* text, ASInt32, AICharacterEncoding, AIUnicodeStringHandle* string) {
        if (gRefuseStrings) return kOutOfMemoryErr;
        gStrings[++gLastString] = text;
        *string = toHandle(gLastString);
        return kNoErr;
    },
    [](AIUnicodeStringHandle string) {
        return gStrings.erase(reinterpret_cast<std::uintptr_t>(string)) ? kNoErr : kBadHandleErr;
    },
    nullptr,
};

// The view: 1 pixel per point, artwork 0,0 at pixel 400,300.
const AIDocumentViewSuite gView = {
    nullptr,
    [](AIDocumentViewHandle, AIReal* zoom) {
        *zoom = 1.0f;
        return kNoErr;
    },
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    [](AIDocumentViewHandle, const AIRealPoint* p, AIPoint* view) {
        *view = {static_cast<ASInt16>(400 + std::lround(p->h)), static_cast<ASInt16>(300 - std::lround(p->v))};
        return kNoErr;
    },
    nullptr,
};

const AIRealMathSuite gMath = fake::mathSuite();
const AIPathSuite gPathsSuite = fake::pathSuite();
SPBasicSuite gBasic = fake::memorySuite();
using fake::addPath;
using fake::straight;

AIPathSegment curved(AIRealPoint p, AIRealPoint in, AIRealPoint out) {
    return {p, in, out, false};
}

class AnnotationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        sAIAnnotatorDrawer = &gDrawer;
        sAIUnicodeString = &gStringsSuite;
        sAIDocumentView = &gView;
        sMath = &gMath;
        sAIPath = &gPathsSuite;
        sSPBasic = &gBasic;
        gLog.clear();
        fake::reset();
        gRefuseStrings = false;
        settings.decimalSeparator = ',';
        state.lastPoint = {0.0f, 0.0f};
        state.segmentEnd = {141.73228f, 0.0f};
        state.segmentLength = 141.73228;
        state.shownAngle = geometry::kPi / 2;
        settings.scaleNumerator = settings.scaleDenominator = 1.0;
        settings.precision = 2;
        settings.labelSize = 1;
    }
    void TearDown() override {
        EXPECT_TRUE(gStrings.empty()) << "every string made for a label is disposed of";
        EXPECT_EQ(fake::liveBlocks, 0);
        sAIAnnotatorDrawer = nullptr;
        sAIUnicodeString = nullptr;
        sAIDocumentView = nullptr;
        sMath = nullptr;
        sAIPath = nullptr;
        sSPBasic = nullptr;
    }

    AIAnnotatorMessage message{};
    ToolState state;
    Settings settings;
};

TEST_F(AnnotationsTest, LabelsAtTheMiddleOfTheSegment) {
    EXPECT_EQ(DrawLengthLabel(&message, state, settings), kNoErr);
    // Middle at pixel 471,300; "L=50,00 mm" is 50 × 9: half-width 29, half-height 8.5.
    const std::vector<std::string> expected = {
        "font 1",
        "color 65535 65535 65535",
        "fill rect 285 442 302 500",
        "color 0 0 0",
        "rect 285 442 302 500",
        "text L=50,00 mm in 284 442 301 500 align 11",
        "color 0 0 0",
        "fill rect 303 442 320 500",
        "rect 303 442 320 500",
        "color 65535 65535 65535",
        "text a=90,00\xA1 in 302 442 319 500 align 11",
    };
    EXPECT_EQ(gLog, expected);
}

TEST_F(AnnotationsTest, SmallAndLargeTextsMoveTheBoxes) {
    settings.labelSize = 0;  // margin 2, angle box 4 pixels higher
    DrawLengthLabel(&message, state, settings);
    ASSERT_EQ(gLog.size(), 11u);
    EXPECT_EQ(gLog[0], "font 0");
    EXPECT_EQ(gLog[2], "fill rect 287 444 300 498");
    EXPECT_EQ(gLog[5], "text L=50,00 mm in 286 444 299 498 align 11");
    EXPECT_EQ(gLog[7], "fill rect 301 444 314 498");
    EXPECT_EQ(gLog[10], "text a=90,00\xA1 in 300 444 313 498 align 11");

    gLog.clear();
    settings.labelSize = 2;  // the length text one pixel higher still
    DrawLengthLabel(&message, state, settings);
    ASSERT_EQ(gLog.size(), 11u);
    EXPECT_EQ(gLog[0], "font 2");
    EXPECT_EQ(gLog[2], "fill rect 285 442 302 500");
    EXPECT_EQ(gLog[5], "text L=50,00 mm in 283 442 300 500 align 11");
    EXPECT_EQ(gLog[7], "fill rect 303 442 320 500");
}

/// The text of a logged "text ... in ..." line.
std::string drawnText(const std::string& line) {
    return line.substr(5, line.find(" in ") - 5);
}

TEST_F(AnnotationsTest, NegativeAnglesAndPrecisions) {
    state.shownAngle = -0.5f;
    settings.precision = 1;
    DrawLengthLabel(&message, state, settings);
    ASSERT_EQ(gLog.size(), 11u);
    EXPECT_EQ(drawnText(gLog[5]), "L=50,0 mm");
    EXPECT_EQ(drawnText(gLog[10]), "a=-28,6\xA1");

    gLog.clear();
    settings.precision = 0;
    state.shownAngle = 0.0f;
    DrawLengthLabel(&message, state, settings);
    ASSERT_EQ(gLog.size(), 11u);
    EXPECT_EQ(drawnText(gLog[5]), "L=50 mm");
    EXPECT_EQ(drawnText(gLog[10]), "a=0\xA1");
}

TEST_F(AnnotationsTest, AWiderAngleTextKeepsTheLengthBoxWidth) {
    state.segmentLength = 0.0;
    state.shownAngle = -3.0f;
    settings.precision = 3;
    DrawLengthLabel(&message, state, settings);
    ASSERT_EQ(gLog.size(), 11u);
    // "L=0,000 mm" is 50 wide, "a=-171,887°" 55: both boxes are 58 wide.
    EXPECT_EQ(gLog[2], "fill rect 285 442 302 500");
    EXPECT_EQ(gLog[10], "text a=-171,887\xA1 in 302 442 319 500 align 11");
}

TEST_F(AnnotationsTest, NoLabelsWithControlOrOverTheLastSegment) {
    state.control = true;
    EXPECT_EQ(DrawLengthLabel(&message, state, settings), kNoErr);
    state.control = false;
    state.hover.kind = Hover::Kind::LastSegment;
    EXPECT_EQ(DrawLengthLabel(&message, state, settings), kNoErr);
    EXPECT_TRUE(gLog.empty());
}

TEST_F(AnnotationsTest, UnicodeStringsAreDisposedOfAndTheirFailuresReported) {
    {
        ai::UnicodeString text("a=90\xA1");
        EXPECT_EQ(textOf(text.GetHandle()), "a=90\xA1");
    }
    EXPECT_TRUE(gStrings.empty());
    gRefuseStrings = true;
    try {
        ai::UnicodeString text("x");
        ADD_FAILURE() << "no exception";
    } catch (const ai::Error& failure) {
        EXPECT_EQ(static_cast<ASErr>(failure), kOutOfMemoryErr);
    }
    // A label that can't be made stops its step, which reports the host's code.
    EXPECT_EQ(DrawLengthLabel(&message, state, settings), kOutOfMemoryErr);
    EXPECT_EQ(gLog, std::vector<std::string>{"font 1"});
}

TEST_F(AnnotationsTest, OutlinesOfOpenAndClosedPaths) {
    const AIRGBColor layer = {19275, 32125, 65535};
    const AIArtHandle two = addPath({curved({0, 0}, {-1, -1}, {10, 20}), curved({100, 0}, {90, 20}, {101, 1})}, false);
    const AIArtHandle twoClosed =
        addPath({curved({0, 0}, {-1, -1}, {10, 20}), curved({100, 0}, {90, 20}, {101, 1})}, true);
    const AIArtHandle one = addPath({straight({5, 5})}, false);
    const AIArtHandle oneClosed = addPath({curved({0, 0}, {-10, 10}, {10, 10})}, true);
    const AIArtHandle none = addPath({}, true);

    DrawPathOutline(&message, layer, 2.0f, two);
    DrawPathOutline(&message, layer, 2.0f, twoClosed);
    DrawPathOutline(&message, layer, 2.0f, one);
    DrawPathOutline(&message, layer, 2.0f, oneClosed);
    DrawPathOutline(&message, layer, 2.0f, none);
    DrawPathOutline(&message, layer, 2.0f, nullptr);  // a path that is gone

    const std::string set = "width 2|color 19275 32125 65535|";
    std::string all;
    for (const std::string& line : gLog) all += line + "|";
    EXPECT_EQ(all, set + "beziers 400,300 [410,280 490,280 500,300]|" + set +
                       "beziers 400,300 [410,280 490,280 500,300] [501,299 399,301 400,300]|" + set +
                       "beziers 405,295|" + set + "beziers 400,300 [410,290 390,290 400,300]|" + set + set);
}

TEST_F(AnnotationsTest, ClosingHintTakesPrecedenceOverFinishing) {
    state.hover.kind = Hover::Kind::Anchor;
    state.hover.path = nullptr;
    const AIRGBColor layerColour = {65535, 0, 0};
    state.hover.hintPosition = {12.0f, -12.0f};
    state.origin = {0.0f, 0.0f};
    state.lastPoint = {5.0f, 0.0f};
    state.hover.point = {3.0f, 0.0f};  // within 8 points of both the first and the last point

    for (ASInt16 points : {1, 2, 3}) {
        gLog.clear();
        state.pointsPlaced = points;
        DrawClosingHint(&message, state, layerColour);
        ASSERT_GE(gLog.size(), 3u);
        EXPECT_EQ(gLog[0], "width 2");
        EXPECT_EQ(gLog[1], "ellipse 297 400 303 406");
        EXPECT_EQ(gLog[2], "width 1");
        // The hint goes 12 pixels below its anchor, moved left by 40 or 70.
        const std::vector<std::vector<std::string>> hints = {
            {},
            {"text Click to finish. at 372,324", "width 2", "color 65535 0 0"},
            {"text Click to create the polygon. at 342,324", "width 2", "color 65535 0 0"},
        };
        EXPECT_EQ(std::vector<std::string>(gLog.begin() + 3, gLog.end()), hints[points - 1]) << points << " points";
    }
    gLog.clear();
    state.hover.kind = Hover::Kind::Nothing;
    EXPECT_EQ(DrawClosingHint(&message, state, layerColour), kNoErr);
    EXPECT_TRUE(gLog.empty());
}

TEST(GuideSearch, FirstPointStrictlyWithinTheTolerance) {
    RememberedPoints::Node far = {nullptr, 50.0f, 58.0f};
    RememberedPoints::Node second = {&far, 30.0f, 55.0f};
    RememberedPoints::Node first = {&second, 10.0f, 100.0f};
    EXPECT_EQ(AlignedPoint(&first, 50.0f, 8.0f, &RememberedPoints::Node::v), &second);
    EXPECT_EQ(AlignedPoint(&first, 58.0f, 8.0f, &RememberedPoints::Node::v), &second);  // 3 away before 0 away
    EXPECT_EQ(AlignedPoint(&first, 63.0f, 8.0f, &RememberedPoints::Node::v), &far);
    EXPECT_EQ(AlignedPoint(&first, 66.0f, 8.0f, &RememberedPoints::Node::v), nullptr);  // exactly the tolerance
    EXPECT_EQ(AlignedPoint(&first, std::nextafter(66.0f, 0.0f), 8.0f, &RememberedPoints::Node::v), &far);
    EXPECT_EQ(AlignedPoint(&first, 14.0f, 4.0f, &RememberedPoints::Node::h), nullptr);  // 8 pixels at zoom 2
    EXPECT_EQ(AlignedPoint(&first, 13.5f, 4.0f, &RememberedPoints::Node::h), &first);
    EXPECT_EQ(AlignedPoint(nullptr, 0.0f, 8.0f, &RememberedPoints::Node::h), nullptr);
}

TEST(GuideColour, PreferenceValuesBecomeComponents) {
    EXPECT_EQ(GuideColourComponent(1.0), 65535);
    EXPECT_EQ(GuideColourComponent(0.5), 32767);
    EXPECT_EQ(GuideColourComponent(0.0), 0);
    EXPECT_EQ(GuideColourComponent(1.5), 32766);  // kept in 16 bits
    EXPECT_EQ(GuideColourComponent(-0.5), 32769);
    // Beyond what 32 bits hold the product means nothing: as if unreadable.
    EXPECT_EQ(GuideColourComponent(1e30), 0);
    EXPECT_EQ(GuideColourComponent(-1e300), 0);
    EXPECT_EQ(GuideColourComponent(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(LabelBox, EachEdgeTruncatedBeforeTheNext) {
    // The right edge comes from the truncated left: 10 + 6.5 gives 16, where 10.5 + 6.5 would give 17.
    AIRect box = LabelBox(300, 8.5f, 10.5f, 3.25f);
    EXPECT_EQ(box.top, 283);
    EXPECT_EQ(box.bottom, 300);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.right, 16);
    // Toward zero on both sides of it, and kept within 16 bits.
    EXPECT_EQ(TruncatedPixel(-2.7f), -2);
    EXPECT_EQ(TruncatedPixel(2.7f), 2);
    EXPECT_EQ(TruncatedPixel(40000.0f), 32767);
    EXPECT_EQ(TruncatedPixel(-40000.0f), -32768);
    box = LabelBox(5, -4.0f, 20.0f, -3.0f);  // edges come out in increasing order
    EXPECT_EQ(box.top, 5);
    EXPECT_EQ(box.bottom, 13);
    EXPECT_EQ(box.left, 14);
    EXPECT_EQ(box.right, 20);
}

}  // namespace
