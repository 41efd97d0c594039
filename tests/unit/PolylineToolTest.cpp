// The tool's click phases against a fake document: the first, second and next points, closing
// and finishing, removing the last segment and taking over an open path. The fake hit test
// finds anchors and straight pieces of the fake paths, as the host's does.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

#include "FakeDocument.h"
#include "OrvaneSuites.h"
#include "PlaneGeometry.h"
#include "PolylineTool.h"
#include "Settings.h"
#include "Suites.h"
#include "Units.h"

namespace {

using fake::handleOf;
using fake::pathOf;

AIArtHandle addPath(const std::vector<AIRealPoint>& points) {
    std::vector<AIPathSegment> anchors;
    for (AIRealPoint p : points) anchors.push_back(fake::straight(p));
    return fake::addPath(anchors, false);
}

using Point = std::pair<AIReal, AIReal>;
using Points = std::vector<Point>;

Point pointOf(AIRealPoint p) {
    return {p.h, p.v};
}

Points anchorsOf(AIArtHandle art) {
    Points points;
    for (const AIPathSegment& anchor : pathOf(art)->anchors) points.push_back(pointOf(anchor.p));
    return points;
}

AIReal distanceToPiece(AIRealPoint p, AIRealPoint a, AIRealPoint b) {
    const AIReal dh = b.h - a.h;
    const AIReal dv = b.v - a.v;
    const AIReal length = dh * dh + dv * dv;
    const AIReal t = length > 0 ? std::fmax(0.0f, std::fmin(1.0f, ((p.h - a.h) * dh + (p.v - a.v) * dv) / length)) : 0;
    return DistanceBetween(p, {a.h + t * dh, a.v + t * dv});
}

// One hit at a time: the handle of a result is its data, kept here until released.
AIToolHitData gHit{};
ASInt32 gHitType = kNothingHitType;

/// The newest unlocked path first, as the host tests the topmost art first.
ASErr hitTest(AIArtHandle, const AIRealPoint* point, AIReal tolerance, ASInt32 request, AIHitRef* result) {
    gHit = {};
    gHitType = kNothingHitType;
    for (std::size_t i = fake::paths.size(); i-- > 0;) {
        const fake::Path& path = fake::paths[i];
        if (!path.alive || path.locked) continue;
        const auto count = static_cast<ASInt16>(path.anchors.size());
        for (ASInt16 n = 0; n < count; ++n) {
            const AIRealPoint anchor = path.anchors[static_cast<std::size_t>(n)].p;
            if (request == kSegmentPointHitRequest && DistanceBetween(*point, anchor) <= tolerance) {
                gHit = {true, handleOf(i), n, 0, anchor};
                gHitType = kAnchorHitType;
            } else if (request == kPathOutlineHitRequest && n + 1 < count &&
                       distanceToPiece(*point, anchor, path.anchors[static_cast<std::size_t>(n + 1)].p) <= tolerance) {
                gHit = {true, handleOf(i), static_cast<ASInt16>(n + 1), 0, *point};
                gHitType = kSegmentHitType;
            }
            if (gHit.hit) {
                *result = reinterpret_cast<AIHitRef>(&gHit);
                return kNoErr;
            }
        }
    }
    *result = nullptr;
    return kNoErr;
}

AIHitTestSuite makeHitTest() {
    AIHitTestSuite suite{};
    suite.HitTestEx = hitTest;
    suite.GetHitData = [](AIHitRef, AIToolHitData* data) {
        *data = gHit;
        return kNoErr;
    };
    suite.GetType = [](AIHitRef) { return gHitType; };
    suite.Release = [](AIHitRef) { return kNoErr; };
    return suite;
}

AIArtSuite makeArt() {
    AIArtSuite suite{};
    suite.NewArt = [](ASInt16, ASInt16, AIArtHandle, AIArtHandle* art) {
        *art = fake::addPath({}, false);
        return kNoErr;
    };
    suite.DisposeArt = [](AIArtHandle art) {
        fake::Path* path = pathOf(art);
        if (!path) return kBadParameterErr;
        path->alive = false;
        return kNoErr;
    };
    suite.DuplicateArt = [](AIArtHandle art, ASInt16, AIArtHandle, AIArtHandle* copy) {
        const fake::Path* path = pathOf(art);
        if (!path) return kBadParameterErr;
        fake::paths.push_back(*path);
        *copy = handleOf(fake::paths.size() - 1);
        return kNoErr;
    };
    suite.ValidArt = [](AIArtHandle art, AIBoolean) -> AIBoolean { return pathOf(art) != nullptr; };
    suite.GetArtType = [](AIArtHandle art, ASInt16* type) {
        *type = pathOf(art) ? kPathArt : kUnknownArt;
        return kNoErr;
    };
    suite.SetArtUserAttr = [](AIArtHandle art, ASInt32, ASInt32 attr) {
        if (fake::Path* path = pathOf(art)) path->locked = attr != 0;
        return kNoErr;
    };
    suite.GetArtUserAttr = [](AIArtHandle art, ASInt32 which, ASInt32* attr) {
        const fake::Path* path = pathOf(art);
        if (!path) return kBadParameterErr;
        *attr = path->locked ? (which & kArtLocked) : 0;
        return kNoErr;
    };
    return suite;
}

AIDocumentViewSuite makeView() {
    AIDocumentViewSuite suite{};
    suite.GetNthDocumentView = [](ASInt32, AIDocumentViewHandle* view) {
        *view = reinterpret_cast<AIDocumentViewHandle>(1);
        return kNoErr;
    };
    suite.GetDocumentViewZoom = [](AIDocumentViewHandle, AIReal* zoom) {
        *zoom = 1.0f;
        return kNoErr;
    };
    suite.SetDocumentViewZoom = [](AIDocumentViewHandle, AIReal) { return kNoErr; };
    return suite;
}

ADMBasicSuite makeAdmBasic() {
    ADMBasicSuite suite{};
    suite.Beep = [] {};
    suite.SetPlatformCursor = [](SPPluginRef, ASInt32) {};
    return suite;
}

SPBasicSuite gBasic = fake::memorySuite();

const AIHitTestSuite gHitTest = makeHitTest();
const AIArtSuite gArt = makeArt();
const AIPathSuite gPathsSuite = fake::pathSuite();
const AIDocumentViewSuite gView = makeView();
const AIRealMathSuite gMath = fake::mathSuite();
const ADMBasicSuite gAdmBasic = makeAdmBasic();

/// The panel, hidden: the cursor drives the segment.
class HiddenPanel : public SegmentSource {
public:
    bool givesSegment() const override { return false; }
    TypedSegment typedSegment() const override { return {0.0, 0.0f}; }
};

class PolylineToolTest : public testing::Test {
protected:
    void SetUp() override {
        sAIHit = &gHitTest;
        sAIArt = &gArt;
        sAIPath = &gPathsSuite;
        sAIDocumentView = &gView;
        sMath = &gMath;
        sADMBasic = &gAdmBasic;
        sSPBasic = &gBasic;
        fake::reset();
        // No steps: the segment ends where the cursor is.
        settings.lengthStep = 0.0;
        settings.angleStep = 0.0;
        tool.select();
    }
    void TearDown() override {
        tool.deselect();
        EXPECT_EQ(fake::liveBlocks, 0) << "the remembered points give their memory back";
        sAIHit = nullptr;
        sAIArt = nullptr;
        sAIPath = nullptr;
        sAIDocumentView = nullptr;
        sMath = nullptr;
        sADMBasic = nullptr;
        sSPBasic = nullptr;
    }

    void moveTo(AIRealPoint cursor) {
        AIToolMessage message{};
        message.cursor = cursor;
        tool.trackCursor(&message, settings, panel);
    }
    ASErr clickAt(AIRealPoint cursor) {
        moveTo(cursor);
        AIToolMessage message{};
        message.cursor = cursor;
        return tool.mouseDown(&message, settings, panel);
    }
    /// Whether the tool used the key.
    bool press(ASUInt32 key) {
        AIToolKeyMessage message{};
        message.character = key;
        tool.keyDown(&message, settings, panel);
        return message.used != 0;
    }
    /// Three anchors: (0,0), (100,0), (100,50).
    void drawThreePoints() {
        clickAt({0, 0});
        clickAt({100, 0});
        clickAt({100, 50});
        ASSERT_EQ(tool.pointsPlaced(), 3);
    }

    PolylineTool tool;
    Settings settings;
    HiddenPanel panel;
};

TEST_F(PolylineToolTest, FirstSecondAndNextPointsBuildOnePath) {
    EXPECT_EQ(clickAt({0, 0}), kNoErr);
    EXPECT_EQ(tool.pointsPlaced(), 1);
    EXPECT_TRUE(fake::paths.empty()) << "the first point makes no art yet";

    // A click on the first point again would add a segment of no length.
    clickAt({0, 0});
    EXPECT_EQ(tool.pointsPlaced(), 1);
    EXPECT_TRUE(fake::paths.empty());

    clickAt({100, 0});
    EXPECT_EQ(tool.pointsPlaced(), 2);
    ASSERT_EQ(fake::paths.size(), 1u);
    EXPECT_EQ(anchorsOf(tool.path()), (Points{{0, 0}, {100, 0}}));

    clickAt({100, 50});
    EXPECT_EQ(tool.pointsPlaced(), 3);
    EXPECT_EQ(anchorsOf(tool.path()), (Points{{0, 0}, {100, 0}, {100, 50}}));
    EXPECT_EQ(pointOf(tool.state().lastPoint), (Point{100, 50}));
}

TEST_F(PolylineToolTest, ClickOnTheFirstPointClosesOnTheLastFinishes) {
    drawThreePoints();
    const AIArtHandle closedPath = tool.path();
    clickAt({3, -2});  // within the tolerance of the first point: the click snaps to it
    EXPECT_EQ(tool.pointsPlaced(), 0);
    EXPECT_TRUE(pathOf(closedPath)->closed);
    EXPECT_EQ(anchorsOf(closedPath).size(), 3u) << "closing adds no anchor";

    drawThreePoints();
    const AIArtHandle finishedPath = tool.path();
    clickAt({100, 50});
    EXPECT_EQ(tool.pointsPlaced(), 0);
    EXPECT_FALSE(pathOf(finishedPath)->closed);
    EXPECT_EQ(anchorsOf(finishedPath).size(), 3u);
}

TEST_F(PolylineToolTest, ClickOnTheLastSegmentRemovesIt) {
    drawThreePoints();
    moveTo({100, 25});
    EXPECT_TRUE(tool.state().hover.is(Hover::Kind::LastSegment));
    clickAt({100, 25});
    EXPECT_EQ(tool.pointsPlaced(), 2);
    EXPECT_EQ(anchorsOf(tool.path()), (Points{{0, 0}, {100, 0}}));
    // The polyline goes on from the anchor now last.
    EXPECT_EQ(pointOf(tool.state().lastPoint), (Point{100, 0}));
    clickAt({100, -40});
    EXPECT_EQ(anchorsOf(tool.path()), (Points{{0, 0}, {100, 0}, {100, -40}}));
}

TEST_F(PolylineToolTest, ClickOnAnOpenEndTakesThePathOver) {
    const AIArtHandle existing = addPath({{0, 0}, {50, 0}, {50, 50}});
    // Its first anchor: the path is reversed, so that new segments join at that end.
    clickAt({0, 0});
    EXPECT_EQ(tool.path(), existing);
    EXPECT_EQ(tool.pointsPlaced(), 3);
    EXPECT_EQ(anchorsOf(existing), (Points{{50, 50}, {50, 0}, {0, 0}}));
    EXPECT_EQ(pointOf(tool.state().origin), (Point{50, 50}));

    clickAt({-60, 0});
    const Points extended = anchorsOf(existing);
    ASSERT_EQ(extended.size(), 4u);
    EXPECT_EQ(Points(extended.begin(), extended.begin() + 3), (Points{{50, 50}, {50, 0}, {0, 0}}));
    EXPECT_NEAR(extended[3].first, -60.0f, 1e-4f);
    EXPECT_NEAR(extended[3].second, 0.0f, 1e-4f);
    EXPECT_EQ(tool.pointsPlaced(), 4);
}

TEST_F(PolylineToolTest, AVanishedPathEndsThePolylineForTheDrawingAndTheNextClick) {
    drawThreePoints();
    const AIArtHandle gone = tool.path();
    pathOf(gone)->alive = false;
    // What the annotator draws is what the next click finds: no polyline under way.
    EXPECT_EQ(tool.currentState().pointsPlaced, 0);
    EXPECT_EQ(tool.pointsPlaced(), 3) << "the drawing pass only reads";
    clickAt({200, 200});
    EXPECT_EQ(tool.pointsPlaced(), 1);
    EXPECT_EQ(pointOf(tool.state().origin), (Point{200, 200}));
}

TEST_F(PolylineToolTest, TheNextClickSnapsToTheGuidesFoundWhereTheCursorMoved) {
    drawThreePoints();
    // Passed over, (100,0) is remembered. A cursor 4 pixels beside it, away from any art,
    // finds the vertical guide through it, and the click lands on the guide.
    moveTo({100, 0});
    moveTo({96, 120});
    ASSERT_TRUE(tool.state().guides.vertical.found);
    clickAt({96, 120});
    EXPECT_EQ(anchorsOf(tool.path()).back(), (Point{100, 120}));
}

}  // namespace

TEST_F(PolylineToolTest, ATypedLengthIsPlacedAtTheDrawingScaleWhereverTheCursorPoints) {
    std::mt19937 random(24);
    std::uniform_real_distribution<double> decades(0.0, 4.0);
    std::uniform_int_distribution<int> scalePart(1, 100);
    std::uniform_real_distribution<double> turn(-geometry::kPi, geometry::kPi);
    for (int trial = 0; trial < 200; ++trial) {
        settings.scaleNumerator = scalePart(random);
        settings.scaleDenominator = scalePart(random);
        const double millimetres = std::pow(10.0, decades(random));
        char text[TypedEntry::kCapacity] = "";
        char* end = std::to_chars(text, text + sizeof text - 1, millimetres, std::chars_format::fixed).ptr;
        if (trial % 2 == 1) std::replace(text, end, '.', ',');

        clickAt({0, 0});
        const double direction = turn(random);
        moveTo({static_cast<AIReal>(100 * std::cos(direction)), static_cast<AIReal>(100 * std::sin(direction))});
        for (const char* c = text; *c != '\0'; ++c) ASSERT_TRUE(press(static_cast<unsigned char>(*c)));
        ASSERT_TRUE(press(kAIReturnKey));

        ASSERT_EQ(anchorsOf(tool.path()).size(), 2u) << text;
        const AIRealPoint placed = pathOf(tool.path())->anchors.back().p;
        const double measured = std::hypot(static_cast<double>(placed.h), static_cast<double>(placed.v));
        const double expected = units::PointsFromMillimetres(millimetres / settings.scale());
        EXPECT_NEAR(measured / expected, 1.0, 1e-5)
            << text << " mm at " << settings.scaleNumerator << "/" << settings.scaleDenominator;
        EXPECT_NEAR(std::atan2(placed.v, placed.h), direction, 1e-5) << text;
        // The next polyline starts afresh at the origin, not on this one's open end.
        tool.endPolyline();
        fake::paths.clear();
    }
}
