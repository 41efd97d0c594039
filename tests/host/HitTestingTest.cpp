#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <random>
#include <vector>

#include "host/document/Document.h"
#include "host/document/HitTesting.h"
#include "host/platform/SuiteRegistry.h"

namespace {

AIPathSegment anchor(AIRealPoint p) {
    return {p, p, p, true};
}

host::PathShape polyline(std::initializer_list<AIRealPoint> points, bool closed = false) {
    host::PathShape shape{{}, closed};
    for (AIRealPoint p : points) shape.segments.push_back(anchor(p));
    return shape;
}

class HitTests : public testing::Test {
protected:
    void SetUp() override {
        document.registerSuites(registry);
        hits.registerSuites(registry);
        suite = static_cast<const AIHitTestSuite*>(acquire(kAIHitTestSuite, kAIHitTestSuiteVersion));
        snap = static_cast<const AICursorSnapSuite*>(acquire(kAICursorSnapSuite, kAICursorSnapSuiteVersion));
        path = static_cast<const AIPathSuite*>(acquire(kAIPathSuite, kAIPathSuiteVersion));
        art = static_cast<const AIArtSuite*>(acquire(kAIArtSuite, kAIArtSuiteVersion));
    }

    const void* acquire(const char* name, ASInt32 version) {
        const void* table = nullptr;
        EXPECT_EQ(registry.acquire(name, version, &table), kNoErr);
        return table;
    }

    /// A hit test through the suite, as a plug-in makes it: the data and the type, the result released.
    host::HitResult test(AIRealPoint point, ASInt32 request, double tolerance = 8) {
        AIHitRef hit = nullptr;
        EXPECT_EQ(suite->HitTestEx(nullptr, &point, static_cast<AIReal>(tolerance), request, &hit), kNoErr);
        host::HitResult result;
        EXPECT_EQ(suite->GetHitData(hit, &result.data), kNoErr);
        result.type = suite->GetType(hit);
        EXPECT_EQ(suite->Release(hit), kNoErr);
        return result;
    }

    AIRealPoint snapped(AIRealPoint cursor, const char* control = host::HitTesting::kCrossingSnap) {
        AIRealPoint out{-1, -1};
        EXPECT_EQ(snap->Track(nullptr, cursor, nullptr, control, &out), kNoErr);
        return out;
    }

    host::SuiteRegistry registry;
    host::Document document;
    host::DocumentViews views;
    host::HitTesting hits{document, &views};
    const AIHitTestSuite* suite = nullptr;
    const AICursorSnapSuite* snap = nullptr;
    const AIPathSuite* path = nullptr;
    const AIArtSuite* art = nullptr;
};

TEST_F(HitTests, AnchorRequestFindsTheNearestAnchorWithinTheTolerance) {
    AIArtHandle line = document.addPath(polyline({{0, 0}, {100, 0}, {100, 100}}));
    host::HitResult found = test({97, 4}, kSegmentPointHitRequest);
    EXPECT_TRUE(found.data.hit);
    EXPECT_EQ(found.data.object, line);
    EXPECT_EQ(found.data.segment, 1);
    EXPECT_EQ(found.data.point.h, 100);
    EXPECT_EQ(found.data.point.v, 0);
    EXPECT_NE(found.type, kSegmentHitType);

    for (AIRealPoint away : {AIRealPoint{50, 1}, AIRealPoint{106, 6}}) {
        host::HitResult nothing = test(away, kSegmentPointHitRequest);
        EXPECT_FALSE(nothing.data.hit);
        EXPECT_EQ(nothing.data.object, nullptr);
        EXPECT_NE(nothing.type, kSegmentHitType);
    }
}

TEST_F(HitTests, ExactlyAtTheToleranceIsWithinIt) {
    AIArtHandle line = document.addPath(polyline({{0, 0}, {100, 0}}));
    // 3-4-5: the anchor lies exactly 5 away.
    EXPECT_EQ(test({3, 4}, kSegmentPointHitRequest, 5).data.object, line);
    EXPECT_FALSE(test({3, 4}, kSegmentPointHitRequest, 4.99).data.hit);
    EXPECT_EQ(test({50, 8}, kPathOutlineHitRequest, 8).type, kSegmentHitType);
    EXPECT_NE(test({50, 8}, kPathOutlineHitRequest, 7.99).type, kSegmentHitType);

    // A tolerance of 0 finds what lies exactly under the point, and nothing beside it.
    host::HitResult on = test({100, 0}, kSegmentPointHitRequest, 0);
    EXPECT_EQ(on.data.object, line);
    EXPECT_EQ(on.data.segment, 1);
    EXPECT_FALSE(test({100, 0.001f}, kSegmentPointHitRequest, 0).data.hit);
    EXPECT_EQ(test({50, 0}, kPathOutlineHitRequest, 0).type, kSegmentHitType);
}

TEST_F(HitTests, TolerancesAreViewPixels) {
    AIArtHandle line = document.addPath(polyline({{0, 0}, {100, 0}}));
    document.addPath(polyline({{50, -50}, {50, 50}}));
    // Zoomed in to 4, 8 pixels are 2 points.
    views.setZoom(4);
    EXPECT_EQ(test({100, 2}, kSegmentPointHitRequest).data.object, line);
    EXPECT_FALSE(test({100, 2.01f}, kSegmentPointHitRequest).data.hit);
    EXPECT_NE(test({20, 2.01f}, kPathOutlineHitRequest).type, kSegmentHitType);
    EXPECT_EQ(snapped({53, 0}).h, 53);
    EXPECT_NEAR(snapped({51.5f, 0}).h, 50, 1e-4);
    // Zoomed out to 0.5, they are 16 points.
    views.setZoom(0.5f);
    EXPECT_EQ(test({100, 16}, kSegmentPointHitRequest).data.object, line);
    EXPECT_EQ(test({20, 15}, kPathOutlineHitRequest).type, kSegmentHitType);
    EXPECT_NEAR(snapped({62, 6}).h, 50, 1e-4);
    // The C++ interface keeps document points.
    EXPECT_FALSE(hits.hitTest(nullptr, {100, 16}, 8, kSegmentPointHitRequest).data.hit);
}

TEST_F(HitTests, OutlineRequestNamesThePieceByTheAnchorThatEndsIt) {
    AIArtHandle line = document.addPath(polyline({{0, 0}, {100, 0}, {100, 100}}));
    host::HitResult first = test({50, 3}, kPathOutlineHitRequest);
    EXPECT_TRUE(first.data.hit);
    EXPECT_EQ(first.data.object, line);
    EXPECT_EQ(first.type, kSegmentHitType);
    EXPECT_EQ(first.data.segment, 1);
    EXPECT_NEAR(first.data.point.h, 50, 1e-4);
    EXPECT_NEAR(first.data.point.v, 0, 1e-4);
    EXPECT_NEAR(first.data.t, 0.5, 1e-6);
    EXPECT_EQ(test({104, 60}, kPathOutlineHitRequest).data.segment, 2);
    EXPECT_NE(test({50, 9}, kPathOutlineHitRequest).type, kSegmentHitType);

    // Five anchors, closed: the closing piece runs from anchor 4 back to anchor 0.
    AIArtHandle pentagon = document.addPath(polyline({{300, 0}, {400, 0}, {450, 80}, {350, 150}, {250, 80}}, true));
    host::HitResult closing = test({274, 39}, kPathOutlineHitRequest);
    EXPECT_EQ(closing.data.object, pentagon);
    EXPECT_EQ(closing.type, kSegmentHitType);
    EXPECT_EQ(closing.data.segment, 0);
    EXPECT_EQ(test({300, 116}, kPathOutlineHitRequest).data.segment, 4);
}

TEST_F(HitTests, TopmostUnlockedVisibleArtWins) {
    AILayerHandle bottomLayer = document.currentLayer();
    AILayerHandle topLayer = document.addLayer("Top");
    document.setCurrentLayer(topLayer);
    AIArtHandle upper = document.addPath(polyline({{0, 0}, {100, 0}}));
    document.setCurrentLayer(bottomLayer);
    // Added later, but on the lower layer.
    AIArtHandle lower = document.addPath(polyline({{0, 1}, {100, 1}}));
    AIArtHandle lowest = document.addPath(polyline({{0, -1}, {100, -1}}));
    ASSERT_EQ(document.artAt(-1), lowest);

    EXPECT_EQ(test({50, 0.5f}, kPathOutlineHitRequest).data.object, upper);
    document.setLocked(upper, true);
    EXPECT_EQ(test({50, 0.5f}, kPathOutlineHitRequest).data.object, lowest);
    ASSERT_EQ(art->SetArtUserAttr(lowest, kArtHidden, kArtHidden), kNoErr);
    EXPECT_EQ(test({50, 0.5f}, kPathOutlineHitRequest).data.object, lower);
    EXPECT_EQ(test({100, 0.5f}, kSegmentPointHitRequest).data.object, lower);
    document.setLocked(lower, true);
    EXPECT_FALSE(test({50, 0.5f}, kPathOutlineHitRequest).data.hit);
    EXPECT_FALSE(test({100, 0}, kSegmentPointHitRequest).data.hit);

    // Locked art is not found even when it is the art asked about.
    AIRealPoint point{50, 0};
    AIHitRef hit = nullptr;
    ASSERT_EQ(suite->HitTestEx(upper, &point, 8, kPathOutlineHitRequest, &hit), kNoErr);
    EXPECT_NE(suite->GetType(hit), kSegmentHitType);
    EXPECT_EQ(suite->Release(hit), kNoErr);
}

TEST_F(HitTests, TheIndexFollowsEveryChangeOfTheDocument) {
    AIArtHandle handle = nullptr;
    ASSERT_EQ(art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &handle), kNoErr);
    EXPECT_FALSE(test({0, 0}, kSegmentPointHitRequest).data.hit);  // no anchors yet
    ASSERT_EQ(path->SetPathSegmentCount(handle, 2), kNoErr);
    AIPathSegment moved[2] = {anchor({500, 500}), anchor({600, 500})};
    ASSERT_EQ(path->SetPathSegments(handle, 0, 2, moved), kNoErr);
    EXPECT_FALSE(test({0, 0}, kSegmentPointHitRequest).data.hit);
    EXPECT_EQ(test({550, 503}, kPathOutlineHitRequest).data.object, handle);
    ASSERT_EQ(path->SetPathClosed(handle, true), kNoErr);
    ASSERT_EQ(art->DisposeArt(handle), kNoErr);
    EXPECT_FALSE(test({550, 503}, kPathOutlineHitRequest).data.hit);
}

TEST_F(HitTests, ResultsAndArgumentsAreChecked) {
    AIArtHandle line = document.addPath(polyline({{0, 0}, {10, 0}}));
    AIArtHandle gone = document.addPath(polyline({{0, 0}, {10, 0}}));
    document.disposeArt(gone);
    AIRealPoint point{5, 0};
    AIHitRef hit = nullptr;
    ASSERT_EQ(suite->HitTestEx(line, &point, 2, kPathOutlineHitRequest, &hit), kNoErr);
    EXPECT_EQ(hits.liveResults(), 1u);
    EXPECT_EQ(suite->Release(hit), kNoErr);
    EXPECT_EQ(hits.liveResults(), 0u);
    AIToolHitData data{};
    data.segment = 77;
    EXPECT_EQ(suite->GetHitData(hit, &data), kBadHandleErr);
    EXPECT_EQ(data.segment, 77);
    EXPECT_EQ(suite->GetType(hit), kNothingHitType);
    EXPECT_EQ(suite->Release(hit), kBadHandleErr);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    AIRealPoint notFinite{nan, 0};
    hit = reinterpret_cast<AIHitRef>(&data);
    EXPECT_EQ(suite->HitTestEx(gone, &point, 2, kPathOutlineHitRequest, &hit), kBadHandleErr);
    EXPECT_EQ(hit, nullptr);
    EXPECT_EQ(suite->HitTestEx(nullptr, &notFinite, 2, kPathOutlineHitRequest, &hit), kBadCoordinateErr);
    EXPECT_EQ(suite->HitTestEx(nullptr, &point, -1, kPathOutlineHitRequest, &hit), kBadParameterErr);
    EXPECT_EQ(suite->HitTestEx(nullptr, &point, nan, kPathOutlineHitRequest, &hit), kBadParameterErr);
    EXPECT_EQ(suite->HitTestEx(nullptr, &point, 2, 5, &hit), kBadParameterErr);
    EXPECT_EQ(suite->HitTestEx(nullptr, nullptr, 2, kPathOutlineHitRequest, &hit), kBadParameterErr);
    EXPECT_EQ(hits.liveResults(), 0u);

    AIRealPoint out{1, 2};
    EXPECT_EQ(snap->Track(nullptr, notFinite, nullptr, "A i o", &out), kBadCoordinateErr);
    EXPECT_EQ(snap->Track(nullptr, point, nullptr, nullptr, &out), kBadParameterErr);
    EXPECT_EQ(snap->Track(nullptr, point, nullptr, "A i o", nullptr), kBadParameterErr);
}

TEST_F(HitTests, SnapsToTheCrossingOfTwoPathsNearTheCursor) {
    AIArtHandle rising = document.addPath(polyline({{0, 0}, {100, 100}}));
    document.addPath(polyline({{0, 100}, {100, 0}}));
    AIRealPoint crossing = snapped({53, 48});
    EXPECT_NEAR(crossing.h, 50, 1e-4);
    EXPECT_NEAR(crossing.v, 50, 1e-4);

    // Too far from any crossing, another control string, or one of the paths locked: the cursor as it is.
    for (AIRealPoint cursor : {AIRealPoint{80, 80}, AIRealPoint{50, 60}}) {
        AIRealPoint unchanged = snapped(cursor);
        EXPECT_EQ(unchanged.h, cursor.h);
        EXPECT_EQ(unchanged.v, cursor.v);
    }
    EXPECT_EQ(snapped({53, 48}, "A").h, 53);
    document.setLocked(rising, true);
    EXPECT_EQ(snapped({53, 48}).h, 53);

    // A path crossing itself is no crossing of two paths.
    document.addPath(polyline({{200, 0}, {300, 100}, {300, 0}, {200, 100}}));
    EXPECT_EQ(snapped({251, 50}).h, 251);
}

TEST(Geometry, CrossingsOfACurveAndALine) {
    host::PathShape arch{{{{0, 0}, {0, 0}, {0, 20}, true}, {{20, 0}, {20, 20}, {20, 0}, true}}, false};
    std::vector<AIRealPoint> found = host::crossings(arch, polyline({{-5, 10}, {25, 10}}));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_NEAR(found[0].h + found[1].h, 20, 1e-4);
    EXPECT_NEAR(found[0].v, 10, 1e-4);
    auto nearest = host::nearestOnOutline(arch, {10, 40}, 30);
    ASSERT_TRUE(nearest);
    EXPECT_NEAR(nearest->point.h, 10, 1e-4);
    EXPECT_NEAR(nearest->point.v, 15, 1e-4);  // the top of the arch
    EXPECT_NEAR(nearest->t, 0.5, 1e-6);
}

// The index must give the answers of a plain scan, also after art was edited and removed.
TEST_F(HitTests, IndexAndLinearScanAgreeOnARandomDocument) {
    std::mt19937 random(20240607);
    std::uniform_real_distribution<float> coordinate(0, 1000), offset(-30, 30), unit(0, 1);
    std::uniform_int_distribution<int> anchors(1, 6);
    document.addLayer("Upper");
    std::vector<AIArtHandle> all;
    for (int i = 0; i < 400; ++i) {
        if (i == 200) document.setCurrentLayer(document.layerAt(0));
        host::PathShape shape{{}, unit(random) < 0.3f};
        AIRealPoint at{coordinate(random), coordinate(random)};
        for (int n = anchors(random); n > 0; --n) {
            AIRealPoint p{at.h + offset(random) * 3, at.v + offset(random) * 3};
            bool curved = unit(random) < 0.4f;
            AIRealPoint in = curved ? AIRealPoint{p.h + offset(random), p.v + offset(random)} : p;
            AIRealPoint out = curved ? AIRealPoint{p.h + offset(random), p.v + offset(random)} : p;
            shape.segments.push_back({p, in, out, !curved});
        }
        all.push_back(document.addPath(shape));
        if (unit(random) < 0.1f) document.setLocked(all.back(), true);
    }
    for (int i = 0; i < 40; ++i) {
        AIArtHandle handle = all[static_cast<std::size_t>(i) * 9];
        if (i % 2) {
            document.disposeArt(handle);
        } else {
            AIPathSegment moved = anchor({coordinate(random), coordinate(random)});
            ASSERT_EQ(path->SetPathSegments(handle, 0, 1, &moved), kNoErr);
        }
    }

    int found = 0;
    for (int i = 0; i < 1000; ++i) {
        AIRealPoint point{coordinate(random), coordinate(random)};
        double tolerance = std::vector<double>{1, 4, 8, 20}[static_cast<std::size_t>(i % 4)];
        for (ASInt32 request : {kSegmentPointHitRequest, kPathOutlineHitRequest, kAllHitRequest}) {
            host::HitResult indexed = hits.hitTest(nullptr, point, tolerance, request);
            host::HitResult scanned = hits.hitTestLinear(nullptr, point, tolerance, request);
            SCOPED_TRACE(testing::Message()
                         << point.h << ", " << point.v << " within " << tolerance << ", request " << request);
            ASSERT_EQ(indexed.data.hit, scanned.data.hit);
            ASSERT_EQ(indexed.data.object, scanned.data.object);
            ASSERT_EQ(indexed.data.segment, scanned.data.segment);
            ASSERT_EQ(indexed.data.t, scanned.data.t);
            ASSERT_EQ(indexed.data.point.h, scanned.data.point.h);
            ASSERT_EQ(indexed.data.point.v, scanned.data.point.v);
            ASSERT_EQ(indexed.type, scanned.type);
            found += indexed.data.hit;
        }
    }
    EXPECT_GT(found, 300);  // the comparison saw hits, not only misses
}

}  // namespace
