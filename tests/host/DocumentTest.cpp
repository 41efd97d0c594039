#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "host/document/Document.h"
#include "host/document/HitTesting.h"
#include "host/platform/SuiteRegistry.h"

namespace {

AIPathSegment anchor(float h, float v) {
    return {{h, v}, {h, v}, {h, v}, true};
}

bool same(AIRealPoint a, AIRealPoint b) {
    return a.h == b.h && a.v == b.v;
}
bool same(const AIPathSegment& a, const AIPathSegment& b) {
    return same(a.p, b.p) && same(a.in, b.in) && same(a.out, b.out) && a.corner == b.corner;
}

class DocumentSuites : public testing::Test {
protected:
    void SetUp() override {
        document.registerSuites(registry);
        art = static_cast<const AIArtSuite*>(acquire(kAIArtSuite, kAIArtSuiteVersion));
        path = static_cast<const AIPathSuite*>(acquire(kAIPathSuite, kAIPathSuiteVersion));
        layers = static_cast<const AILayerSuite*>(acquire(kAILayerSuite, kAILayerSuiteVersion));
    }

    const void* acquire(const char* name, ASInt32 version) {
        const void* table = nullptr;
        EXPECT_EQ(registry.acquire(name, version, &table), kNoErr);
        return table;
    }

    AIArtHandle newPath() {
        AIArtHandle made = nullptr;
        EXPECT_EQ(art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &made), kNoErr);
        return made;
    }

    std::vector<AIPathSegment> segments(AIArtHandle handle) { return document.findArt(handle)->shape.segments; }

    host::SuiteRegistry registry;
    host::Document document;
    const AIArtSuite* art = nullptr;
    const AIPathSuite* path = nullptr;
    const AILayerSuite* layers = nullptr;
};

TEST_F(DocumentSuites, NewArtIsAnEmptyPathOnTopOfTheCurrentLayer) {
    AIArtHandle first = newPath();
    AIArtHandle second = newPath();
    EXPECT_EQ(document.artAt(0), first);
    EXPECT_EQ(document.artAt(-1), second);
    EXPECT_EQ(document.artAt(2), nullptr);
    EXPECT_EQ(document.artAt(-3), nullptr);
    ASInt16 type = kUnknownArt, count = -1;
    EXPECT_EQ(art->GetArtType(second, &type), kNoErr);
    EXPECT_EQ(type, kPathArt);
    EXPECT_EQ(path->GetPathSegmentCount(second, &count), kNoErr);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(art->ValidArt(second, true));

    AIArtHandle refused = first;
    EXPECT_EQ(art->NewArt(kGroupArt, kPlaceAboveAll, nullptr, &refused), kBadParameterErr);
    EXPECT_EQ(art->NewArt(kPathArt, kPlaceInsideOnTop, nullptr, &refused), kBadParameterErr);
    EXPECT_EQ(art->NewArt(kPathArt, kPlaceAbove, nullptr, &refused), kBadParameterErr);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(document.artCount(), 2u);

    EXPECT_EQ(art->DisposeArt(first), kNoErr);
    EXPECT_FALSE(art->ValidArt(first, true));
    EXPECT_EQ(document.artAt(0), second);
}

TEST_F(DocumentSuites, PlacesArtRelativeToOtherArt) {
    AIArtHandle bottom = newPath(), top = newPath();
    AIArtHandle above = nullptr, below = nullptr, lowest = nullptr;
    // Many insertions into the same gap renumber the layer without changing its order.
    for (int i = 0; i < 40; ++i) ASSERT_EQ(art->NewArt(kPathArt, kPlaceAbove, bottom, &above), kNoErr);
    ASSERT_EQ(art->NewArt(kPathArt, kPlaceBelow, top, &below), kNoErr);
    ASSERT_EQ(art->NewArt(kPathArt, kPlaceBelowAll, nullptr, &lowest), kNoErr);
    EXPECT_EQ(document.artAt(0), lowest);
    EXPECT_EQ(document.artAt(1), bottom);
    EXPECT_EQ(document.artAt(2), above);
    EXPECT_EQ(document.artAt(-2), below);
    EXPECT_EQ(document.artAt(-1), top);
    EXPECT_LT(document.paintRank(bottom), document.paintRank(above));
}

TEST_F(DocumentSuites, SegmentCountDropsFromTheEndAndRepeatsTheLastAnchor) {
    AIArtHandle handle = newPath();
    ASSERT_EQ(path->SetPathSegmentCount(handle, 2), kNoErr);
    EXPECT_TRUE(same(segments(handle)[1], anchor(0, 0)));  // an empty path grows from the origin

    AIPathSegment written[2] = {anchor(5, 6), {{7, 8}, {6, 9}, {8, 7}, false}};
    ASSERT_EQ(path->SetPathSegments(handle, 0, 2, written), kNoErr);
    ASSERT_EQ(path->SetPathSegmentCount(handle, 4), kNoErr);
    auto grown = segments(handle);
    ASSERT_EQ(grown.size(), 4u);
    EXPECT_TRUE(same(grown[2], written[1]));
    EXPECT_TRUE(same(grown[3], written[1]));

    ASSERT_EQ(path->SetPathSegmentCount(handle, 1), kNoErr);
    auto shrunk = segments(handle);
    ASSERT_EQ(shrunk.size(), 1u);
    EXPECT_TRUE(same(shrunk[0], written[0]));

    EXPECT_EQ(path->SetPathSegmentCount(handle, -1), kOutOfRangeErr);
    EXPECT_EQ(segments(handle).size(), 1u);
}

TEST_F(DocumentSuites, SegmentAccessIsRangeChecked) {
    AIArtHandle handle = newPath();
    ASSERT_EQ(path->SetPathSegmentCount(handle, 3), kNoErr);
    AIPathSegment buffer[4] = {anchor(9, 9), anchor(9, 9), anchor(9, 9), anchor(9, 9)};
    for (auto [first, count] : {std::pair{-1, 1}, {2, 2}, {3, 1}, {0, 4}, {0, -1}}) {
        SCOPED_TRACE(testing::Message() << first << ", " << count);
        EXPECT_EQ(path->GetPathSegments(handle, first, count, buffer), kOutOfRangeErr);
        EXPECT_EQ(path->SetPathSegments(handle, first, count, buffer), kOutOfRangeErr);
    }
    EXPECT_TRUE(same(buffer[0], anchor(9, 9)));
    EXPECT_TRUE(same(segments(handle)[2], anchor(0, 0)));
    EXPECT_EQ(path->GetPathSegments(handle, 0, 1, nullptr), kBadParameterErr);
    EXPECT_EQ(path->GetPathSegments(handle, 3, 0, buffer), kNoErr);
}

TEST_F(DocumentSuites, CoordinatesNotFiniteOrBeyondTheLimitAreNeverStored) {
    AIArtHandle handle = newPath();
    ASSERT_EQ(path->SetPathSegmentCount(handle, 2), kNoErr);
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    // The first float beyond the limit: what a saved file could not give back.
    const float beyond = std::nextafter(static_cast<float>(host::kMaxCoordinate), inf);
    std::uint64_t revision = document.revision();
    for (AIPathSegment bad :
         {anchor(nan, 0), AIPathSegment{{1, 1}, {inf, 1}, {1, 1}, true}, AIPathSegment{{1, 1}, {1, 1}, {1, -inf}, true},
          anchor(0, -beyond), AIPathSegment{{1, 1}, {beyond, 1}, {1, 1}, true}}) {
        // A good anchor with a bad one: neither is written.
        AIPathSegment pair[2] = {anchor(3, 4), bad};
        EXPECT_EQ(path->SetPathSegments(handle, 0, 2, pair), kBadCoordinateErr);
    }
    EXPECT_TRUE(same(segments(handle)[0], anchor(0, 0)));
    EXPECT_EQ(document.revision(), revision);
    const auto limit = static_cast<float>(host::kMaxCoordinate);
    AIPathSegment atTheLimit[2] = {anchor(-limit, limit), anchor(limit, -limit)};
    EXPECT_EQ(path->SetPathSegments(handle, 0, 2, atTheLimit), kNoErr);

    EXPECT_THROW(document.addPath({{anchor(0, 0), anchor(nan, 1)}, false}), std::invalid_argument);
    EXPECT_THROW(document.addPath({{anchor(0, 0), anchor(1, beyond)}, false}), std::invalid_argument);
    EXPECT_THROW(document.addPath({std::vector<AIPathSegment>(host::kMaxSegmentCount + 1), false}),
                 std::invalid_argument);
    EXPECT_EQ(document.artCount(), 1u);
}

TEST_F(DocumentSuites, BezierPiecesIncludeTheClosingOne) {
    AIPathSegment anchors[3] = {{{0, 0}, {-1, 0}, {1, 1}, false}, {{10, 0}, {9, 1}, {11, 1}, false}, anchor(10, 10)};
    AIArtHandle handle = document.addPath({{anchors[0], anchors[1], anchors[2]}, false});
    AIRealBezier bezier{};
    ASSERT_EQ(path->GetPathBezier(handle, 0, &bezier), kNoErr);
    EXPECT_TRUE(same(bezier.p0, {0, 0}) && same(bezier.p1, {1, 1}) && same(bezier.p2, {9, 1}) &&
                same(bezier.p3, {10, 0}));
    EXPECT_EQ(path->GetPathBezier(handle, 2, &bezier), kOutOfRangeErr);
    EXPECT_EQ(path->GetPathBezier(handle, -1, &bezier), kOutOfRangeErr);

    ASSERT_EQ(path->SetPathClosed(handle, true), kNoErr);
    AIBoolean closed = false;
    EXPECT_EQ(path->GetPathClosed(handle, &closed), kNoErr);
    EXPECT_TRUE(closed);
    ASSERT_EQ(path->GetPathBezier(handle, 2, &bezier), kNoErr);
    EXPECT_TRUE(same(bezier.p0, {10, 10}) && same(bezier.p1, {10, 10}) && same(bezier.p2, {-1, 0}) &&
                same(bezier.p3, {0, 0}));
    EXPECT_EQ(path->GetPathBezier(handle, 3, &bezier), kOutOfRangeErr);
}

TEST_F(DocumentSuites, DuplicateIsAnIndependentCopyPlacedByPaintOrder) {
    AIArtHandle original = document.addPath({{anchor(1, 2), anchor(3, 4)}, true});
    AIArtHandle other = newPath();
    ASSERT_EQ(art->SetArtUserAttr(original, kArtLocked, kArtLocked), kNoErr);
    AIArtHandle copy = nullptr, copyBelow = nullptr;
    ASSERT_EQ(art->DuplicateArt(original, kPlaceAboveAll, nullptr, &copy), kNoErr);
    ASSERT_EQ(art->DuplicateArt(original, kPlaceBelow, other, &copyBelow), kNoErr);
    EXPECT_EQ(document.artAt(-1), copy);
    EXPECT_EQ(document.artAt(1), copyBelow);

    AIPathSegment moved = anchor(50, 60);
    ASSERT_EQ(path->SetPathSegments(copy, 0, 1, &moved), kNoErr);
    ASSERT_EQ(path->SetPathClosed(copy, false), kNoErr);
    EXPECT_TRUE(same(segments(original)[0], anchor(1, 2)));
    EXPECT_TRUE(document.findArt(original)->shape.closed);
    ASInt32 attributes = 0;
    EXPECT_EQ(art->GetArtUserAttr(copy, kArtLocked, &attributes), kNoErr);
    EXPECT_EQ(attributes, kArtLocked);
}

TEST_F(DocumentSuites, UserAttributesChangeOnlyTheMaskedBits) {
    AIArtHandle handle = newPath();
    ASInt32 attributes = -1;
    ASSERT_EQ(art->SetArtUserAttr(handle, kArtLocked | kArtHidden, kArtLocked | kArtHidden), kNoErr);
    ASSERT_EQ(art->SetArtUserAttr(handle, kArtHidden, 0), kNoErr);
    EXPECT_EQ(art->GetArtUserAttr(handle, kArtLocked | kArtHidden | kArtSelected, &attributes), kNoErr);
    EXPECT_EQ(attributes, kArtLocked);
    EXPECT_EQ(art->SetArtUserAttr(handle, 0x100 | kArtLocked, 0), kBadParameterErr);
    EXPECT_EQ(art->GetArtUserAttr(handle, kArtLocked, &attributes), kNoErr);
    EXPECT_EQ(attributes, kArtLocked);
}

TEST_F(DocumentSuites, LockingLeavesTheAppearanceUnchanged) {
    AIArtHandle handle = newPath();
    const std::uint64_t revision = document.revision(), appearance = document.appearanceRevision();
    // A tool locks and unlocks the art under a hovering cursor: views need not repaint the art.
    ASSERT_EQ(art->SetArtUserAttr(handle, kArtLocked, kArtLocked), kNoErr);
    document.setLocked(handle, false);
    EXPECT_EQ(document.revision(), revision + 2);
    EXPECT_EQ(document.appearanceRevision(), appearance);
    ASSERT_EQ(art->SetArtUserAttr(handle, kArtLocked | kArtHidden, kArtHidden), kNoErr);
    document.setSelected(handle, true);
    EXPECT_EQ(document.appearanceRevision(), appearance + 2);
}

TEST_F(DocumentSuites, AnInstancesArtIsFoundButNeverChanged) {
    const host::PathShape line{{{{0, 0}, {0, 0}, {0, 0}, true}, {{10, 0}, {10, 0}, {10, 0}, true}}, false};
    AIArtHandle instance = document.insertPath(document.currentLayer(), nullptr, line, 0, {1, 0, 1, true});
    host::HitTesting hits(document);
    auto hit = [&] { return hits.hitTest(nullptr, {10, 0}, 1, kSegmentPointHitRequest).data.object == instance; };
    ASInt32 attributes = 0;
    EXPECT_EQ(art->GetArtUserAttr(instance, kArtLocked, &attributes), kNoErr);
    EXPECT_EQ(attributes, kArtLocked);
    EXPECT_TRUE(hit());
    // A tool locks the art to leave it out of a hit test; unlocked, the instance is still locked.
    ASSERT_EQ(art->SetArtUserAttr(instance, kArtLocked, kArtLocked), kNoErr);
    EXPECT_FALSE(hit());
    ASSERT_EQ(art->SetArtUserAttr(instance, kArtLocked, 0), kNoErr);
    EXPECT_TRUE(hit());
    EXPECT_EQ(art->GetArtUserAttr(instance, kArtLocked, &attributes), kNoErr);
    EXPECT_EQ(attributes, kArtLocked);

    const std::uint64_t revision = document.revision();
    AIPathSegment moved = line.segments[0];
    moved.p.h = 5;
    EXPECT_EQ(path->SetPathSegments(instance, 0, 1, &moved), host::kInstanceArtErr);
    EXPECT_EQ(path->SetPathSegmentCount(instance, 1), host::kInstanceArtErr);
    EXPECT_EQ(path->SetPathClosed(instance, true), host::kInstanceArtErr);
    EXPECT_EQ(art->DisposeArt(instance), host::kInstanceArtErr);
    ASSERT_NE(document.findArt(instance), nullptr);
    EXPECT_TRUE(same(segments(instance)[0], line.segments[0]));
    EXPECT_EQ(segments(instance).size(), 2u);
    EXPECT_FALSE(document.findArt(instance)->shape.closed);
    EXPECT_EQ(document.revision(), revision);
}

TEST_F(DocumentSuites, TheSelectionAndTheArtBelowFollowEveryChange) {
    AIArtHandle first = newPath();
    AIArtHandle second = newPath();
    EXPECT_EQ(document.artBelow(first), nullptr);
    EXPECT_EQ(document.artBelow(second), first);
    EXPECT_TRUE(document.selectedArt().empty());
    ASSERT_EQ(art->SetArtUserAttr(first, kArtSelected, kArtSelected), kNoErr);
    // A copy of selected art is selected too, and goes between the two.
    AIArtHandle copy = nullptr;
    ASSERT_EQ(art->DuplicateArt(first, kPlaceAbove, first, &copy), kNoErr);
    EXPECT_EQ(document.artBelow(second), copy);
    EXPECT_EQ(document.artBelow(copy), first);
    std::vector<AIArtHandle> selected(document.selectedArt().begin(), document.selectedArt().end());
    std::sort(selected.begin(), selected.end());
    std::vector<AIArtHandle> expected{first, copy};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(selected, expected);
    document.setSelected(first, false);
    ASSERT_EQ(art->DisposeArt(copy), kNoErr);
    EXPECT_TRUE(document.selectedArt().empty());
    EXPECT_EQ(document.artBelow(second), first);
    EXPECT_THROW(document.artBelow(copy), std::invalid_argument);
}

TEST_F(DocumentSuites, StaleAndForeignHandlesChangeNothing) {
    AIArtHandle kept = document.addPath({{anchor(1, 1), anchor(2, 2)}, false});
    AIArtHandle gone = newPath();
    ASSERT_EQ(art->DisposeArt(gone), kNoErr);
    host::Document other;
    AIArtHandle foreign = other.addPath({{anchor(1, 1)}, false});
    int local = 0;
    auto madeUp = reinterpret_cast<AIArtHandle>(&local);
    nlohmann::json before = document.dump();
    std::uint64_t revision = document.revision();

    for (AIArtHandle bad : {gone, foreign, madeUp, AIArtHandle{}}) {
        AIArtHandle made = kept;
        ASInt16 type = 77, count = 77;
        ASInt32 attributes = 77;
        AIBoolean closed = 7;
        AIPathSegment segment = anchor(9, 9);
        AIRealBezier bezier{};
        EXPECT_FALSE(art->ValidArt(bad, true));
        EXPECT_EQ(art->DisposeArt(bad), kBadHandleErr);
        EXPECT_EQ(art->DuplicateArt(bad, kPlaceAboveAll, nullptr, &made), kBadHandleErr);
        EXPECT_EQ(made, nullptr);
        if (bad) {
            made = kept;
            EXPECT_EQ(art->NewArt(kPathArt, kPlaceAbove, bad, &made), kBadHandleErr);
            EXPECT_EQ(made, nullptr);
            EXPECT_EQ(art->DuplicateArt(kept, kPlaceBelow, bad, &made), kBadHandleErr);
        }
        EXPECT_EQ(art->GetArtType(bad, &type), kBadHandleErr);
        EXPECT_EQ(art->SetArtUserAttr(bad, kArtLocked, kArtLocked), kBadHandleErr);
        EXPECT_EQ(art->GetArtUserAttr(bad, kArtLocked, &attributes), kBadHandleErr);
        EXPECT_EQ(path->GetPathSegmentCount(bad, &count), kBadHandleErr);
        EXPECT_EQ(path->SetPathSegmentCount(bad, 3), kBadHandleErr);
        EXPECT_EQ(path->GetPathSegments(bad, 0, 1, &segment), kBadHandleErr);
        EXPECT_EQ(path->SetPathSegments(bad, 0, 1, &segment), kBadHandleErr);
        EXPECT_EQ(path->GetPathClosed(bad, &closed), kBadHandleErr);
        EXPECT_EQ(path->SetPathClosed(bad, true), kBadHandleErr);
        EXPECT_EQ(path->GetPathBezier(bad, 0, &bezier), kBadHandleErr);
        EXPECT_EQ(type, 77);
        EXPECT_EQ(count, 77);
        EXPECT_EQ(attributes, 77);
        EXPECT_EQ(closed, 7);
        EXPECT_TRUE(same(segment, anchor(9, 9)));
        EXPECT_THROW(document.setLocked(bad, true), std::invalid_argument);
        EXPECT_THROW(document.disposeArt(bad), std::invalid_argument);
    }

    AIRGBColor color{1, 2, 3};
    AILayerHandle foreignLayer = other.currentLayer();
    EXPECT_EQ(layers->GetLayerColor(foreignLayer, &color), kBadHandleErr);
    EXPECT_EQ(layers->SetLayerColor(foreignLayer, &color), kBadHandleErr);
    EXPECT_EQ(layers->GetLayerColor(nullptr, &color), kBadHandleErr);
    EXPECT_EQ(color.red, 1);

    EXPECT_EQ(document.dump(), before);
    EXPECT_EQ(document.revision(), revision);
    EXPECT_EQ(other.findArt(foreign)->shape.segments.size(), 1u);
}

TEST_F(DocumentSuites, LayersHaveANameAColourAndACurrentOne) {
    ASInt32 count = 0;
    AILayerHandle nth = nullptr, current = nullptr;
    EXPECT_EQ(layers->CountLayers(&count), kNoErr);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(layers->GetNthLayer(0, &nth), kNoErr);
    EXPECT_EQ(layers->GetCurrentLayer(&current), kNoErr);
    EXPECT_EQ(nth, current);
    EXPECT_EQ(document.findLayer(current)->name, "Layer 1");
    AIRGBColor color{};
    EXPECT_EQ(layers->GetLayerColor(current, &color), kNoErr);
    EXPECT_EQ(color.red, 19275);
    EXPECT_EQ(color.green, 32125);
    EXPECT_EQ(color.blue, 65535);
    const AIRGBColor red{65535, 0, 0};
    EXPECT_EQ(layers->SetLayerColor(current, &red), kNoErr);
    EXPECT_EQ(document.findLayer(current)->color.green, 0);

    AILayerHandle top = document.addLayer("Top");
    EXPECT_EQ(layers->GetNthLayer(0, &nth), kNoErr);
    EXPECT_EQ(nth, top);
    EXPECT_EQ(layers->GetNthLayer(2, &nth), kOutOfRangeErr);
    EXPECT_EQ(nth, nullptr);
    EXPECT_EQ(layers->GetNthLayer(-1, &nth), kOutOfRangeErr);
}

TEST_F(DocumentSuites, ObserversHearEveryChangeOfArt) {
    std::vector<std::pair<AIArtHandle, host::Document::Change>> heard;
    int id = document.addObserver(
        [&](AIArtHandle handle, host::Document::Change change) { heard.emplace_back(handle, change); });
    AIArtHandle handle = newPath();
    ASSERT_EQ(path->SetPathSegmentCount(handle, 1), kNoErr);
    ASSERT_EQ(path->SetPathSegmentCount(handle, 1), kNoErr);  // no change, nothing heard
    document.setLocked(handle, true);
    ASSERT_EQ(art->DisposeArt(handle), kNoErr);
    document.removeObserver(id);
    newPath();
    using Change = host::Document::Change;
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_EQ(heard[0], std::pair(handle, Change::added));
    EXPECT_EQ(heard[1], std::pair(handle, Change::edited));
    EXPECT_EQ(heard[2], std::pair(handle, Change::edited));
    EXPECT_EQ(heard[3], std::pair(handle, Change::removed));
}

TEST(Document, DumpsLayersArtAndShortestFloats) {
    host::Document document;
    AIArtHandle handle = document.addPath({{{{0.1f, -2.5f}, {0.1f, -2.5f}, {1e-7f, 3}, false}}, true});
    document.setLocked(handle, true);
    nlohmann::json expected = nlohmann::json::parse(R"({"current": 0, "layers": [{"name": "Layer 1",
        "color": [19275, 32125, 65535], "locked": false, "hidden": false,
        "art": [{"type": "path", "closed": true, "locked": true, "hidden": false,
                 "segments": [{"p": [0.1, -2.5], "in": [0.1, -2.5], "out": [1e-7, 3.0], "corner": false}]}]}]})");
    EXPECT_EQ(document.dump(), expected);
    EXPECT_NE(document.dump().dump().find("[0.1,-2.5]"), std::string::npos);
}

TEST(Document, ReadsSvgPathData) {
    host::Document document;
    auto added = document.addSvgPath("M0 0 L10 0 L10 10 Z M20 20 C 25 30 35 30 40 20 Q 50 10 60 20");
    ASSERT_EQ(added.size(), 2u);
    const host::PathShape& triangle = document.findArt(added[0])->shape;
    EXPECT_TRUE(triangle.closed);
    ASSERT_EQ(triangle.segments.size(), 3u);
    for (const AIPathSegment& segment : triangle.segments) {
        EXPECT_TRUE(same(segment.in, segment.p));
        EXPECT_TRUE(same(segment.out, segment.p));
    }
    EXPECT_TRUE(same(triangle.segments[2].p, {10, 10}));

    const host::PathShape& curve = document.findArt(added[1])->shape;
    EXPECT_FALSE(curve.closed);
    ASSERT_EQ(curve.segments.size(), 3u);
    EXPECT_TRUE(same(curve.segments[0].out, {25, 30}));
    EXPECT_TRUE(same(curve.segments[1].in, {35, 30}));
    // The quadratic piece as a cubic: control points two thirds of the way to its one control point.
    EXPECT_NEAR(curve.segments[1].out.h, 40 + 20.0 / 3, 1e-4);
    EXPECT_NEAR(curve.segments[2].in.h, 60 - 20.0 / 3, 1e-4);
    EXPECT_NEAR(curve.segments[2].in.v, 20 - 20.0 / 3, 1e-4);

    // A curve back to the start of a closed subpath ends on its first anchor.
    auto loop = document.addSvgPath("M0 0 C 0 10 10 10 10 0 C 10 -10 0 -10 0 0 Z");
    const host::PathShape& round = document.findArt(loop.at(0))->shape;
    ASSERT_EQ(round.segments.size(), 2u);
    EXPECT_TRUE(same(round.segments[0].in, {0, -10}));

    std::size_t count = document.artCount();
    // Numbers beyond the double range read as infinite, in lines, quadratic pieces and arcs alike.
    for (const char* bad : {"M 1 2 L", "garbage", "", "M0 0 L10 0 M 5 5 L 1e39 0", "M0 0 Q5 15 1e400 2",
                            "M0 0 A10 10 0 0 0 1e400 0", "M0 0 A1e400 10 0 0 0 5 0"})
        EXPECT_THROW(document.addSvgPath(bad), std::invalid_argument) << bad;
    EXPECT_EQ(document.artCount(), count);
}

TEST(Document, HugeArcsTakeFewPieces) {
    host::Document document;
    // Beyond a double's range the pieces don't join: refused, nothing added.
    EXPECT_THROW(document.addSvgPath("m-01e732 2 t101e732 2 t20 0 Z"), std::invalid_argument);
    EXPECT_EQ(document.artCount(), 0u);
    // Beyond the coordinates a file may give: refused, once cut into a few pieces.
    EXPECT_THROW(document.addSvgPath("M0 0 A1e30 1e30 0 1 0 1e30 1e30"), std::invalid_argument);
    EXPECT_EQ(document.artCount(), 0u);
    // Pieces within the floats' resolution at the arc's size, not within 0.01 point.
    auto huge = document.addSvgPath("M0 0 A2e6 2e6 0 1 0 2e6 2e6");
    const host::PathShape& shape = document.findArt(huge.at(0))->shape;
    EXPECT_LE(shape.segments.size(), 64u);
    EXPECT_NEAR(shape.segments.back().p.h, 2e6, 1);
    // A small arc keeps the finer tolerance: a half circle of radius 100 as cubics within 0.01 of it.
    auto half = document.addSvgPath("M-100 0 A100 100 0 0 0 100 0");
    const host::PathShape& round = document.findArt(half.at(0))->shape;
    for (std::size_t i = 0; i + 1 < round.segments.size(); ++i) {
        AIRealBezier b = host::pieceBezier(round, i);
        for (double t : {0.25, 0.5, 0.75}) {
            double u = 1 - t;
            auto at = [&](float p0, float p1, float p2, float p3) {
                return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
            };
            double h = at(b.p0.h, b.p1.h, b.p2.h, b.p3.h), v = at(b.p0.v, b.p1.v, b.p2.v, b.p3.v);
            EXPECT_NEAR(std::hypot(h, v), 100, 0.01) << "piece " << i << " at " << t;
        }
    }
}

}  // namespace

namespace {

TEST(Document, ALockedOrHiddenLayersArtCannotBeHit) {
    host::Document document;
    AILayerHandle layer = document.currentLayer();
    AIArtHandle art = document.addPath({{{{0, 0}, {0, 0}, {0, 0}, true}, {{10, 0}, {10, 0}, {10, 0}, true}}, false});
    host::HitTesting hits(document);
    auto hit = [&] { return hits.hitTest(nullptr, {5, 0}, 1, kAllHitRequest).type != kNothingHitType; };
    EXPECT_TRUE(hit());
    std::uint64_t painted = document.appearanceRevision();
    document.setLayerLocked(layer, true);
    EXPECT_FALSE(hit());
    EXPECT_EQ(document.appearanceRevision(), painted) << "a lock changes nothing on screen";
    EXPECT_EQ(document.findArt(art)->attributes, 0) << "the art's own attributes stay";
    document.setLayerLocked(layer, false);
    document.setLayerHidden(layer, true);
    EXPECT_FALSE(hit());
    EXPECT_GT(document.appearanceRevision(), painted);
    EXPECT_EQ(document.userAttributes(*document.findArt(art)), kArtHidden);
    EXPECT_THROW(document.setLayerName(nullptr, "x"), std::invalid_argument);
}

}  // namespace
