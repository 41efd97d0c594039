#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/document/Document.h"
#include "host/document/History.h"
#include "host/document/HitTesting.h"
#include "host/platform/SuiteRegistry.h"

namespace {

AIPathSegment anchor(float h, float v) {
    return {{h, v}, {h, v}, {h, v}, true};
}

host::PathShape line(float h0, float v0, float h1, float v1) {
    return {{anchor(h0, v0), anchor(h1, v1)}, false};
}

/// What a person sees of the document: each layer's art in paint order, bottom first.
struct Art {
    AILayerHandle layer;
    host::PathShape shape;
    ASInt32 attributes;
    bool operator==(const Art& other) const {
        return layer == other.layer && attributes == other.attributes && host::sameShape(shape, other.shape);
    }
};
void PrintTo(const Art& art, std::ostream* out) {
    *out << "{";
    for (const AIPathSegment& segment : art.shape.segments) *out << " " << segment.p.h << "," << segment.p.v;
    *out << (art.shape.closed ? " Z" : "") << " }";
}

std::vector<Art> contents(const host::Document& document) {
    std::vector<Art> all;
    document.forEachArt([&](AIArtHandle, const host::Document::Art& art) {
        all.push_back({art.layer, art.shape, art.attributes});
    });
    return all;
}

class HistoryTest : public testing::Test {
protected:
    void SetUp() override {
        document.registerSuites(registry);
        const void* table = nullptr;
        ASSERT_EQ(registry.acquire(kAIArtSuite, kAIArtSuiteVersion, &table), kNoErr);
        art = static_cast<const AIArtSuite*>(table);
        ASSERT_EQ(registry.acquire(kAIPathSuite, kAIPathSuiteVersion, &table), kNoErr);
        path = static_cast<const AIPathSuite*>(table);
    }

    /// A plug-in's click: one more anchor to the path, made when there is none.
    AIArtHandle addAnchor(AIArtHandle handle, float h, float v) {
        host::History::Group step(history);
        if (!handle) {
            EXPECT_EQ(art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &handle), kNoErr);
        }
        ASInt16 count = 0;
        EXPECT_EQ(path->GetPathSegmentCount(handle, &count), kNoErr);
        EXPECT_EQ(path->SetPathSegmentCount(handle, static_cast<ASInt16>(count + 1)), kNoErr);
        AIPathSegment added = anchor(h, v);
        EXPECT_EQ(path->SetPathSegments(handle, count, 1, &added), kNoErr);
        return handle;
    }

    host::SuiteRegistry registry;
    host::Document document;
    host::HitTesting hitTesting{document};
    host::History history{document};
    const AIArtSuite* art = nullptr;
    const AIPathSuite* path = nullptr;
};

TEST_F(HistoryTest, UndoAndRedoRestoreEachStepUnderNewHandles) {
    EXPECT_FALSE(history.canUndo());
    AIArtHandle triangle = addAnchor(nullptr, 0, 0);
    addAnchor(triangle, 100, 0);
    addAnchor(triangle, 50, 80);
    auto drawn = contents(document);
    {
        host::History::Group step(history);
        ASSERT_EQ(path->SetPathClosed(triangle, true), kNoErr);
    }
    auto closed = contents(document);

    ASSERT_TRUE(history.undo());
    EXPECT_EQ(contents(document), drawn);
    // The tool's handle is gone: every call on it fails and changes nothing.
    EXPECT_FALSE(art->ValidArt(triangle, false));
    ASInt16 count = 0;
    EXPECT_EQ(path->GetPathSegmentCount(triangle, &count), kBadHandleErr);
    EXPECT_EQ(path->SetPathClosed(triangle, true), kBadHandleErr);
    AIArtHandle restored = document.artAt(0);
    EXPECT_NE(restored, triangle);
    EXPECT_TRUE(history.canRedo());

    ASSERT_TRUE(history.redo());
    EXPECT_EQ(contents(document), closed);
    EXPECT_FALSE(art->ValidArt(restored, false));
    EXPECT_NE(document.artAt(0), triangle);

    // Back to the empty document, one click at a time, then forward again.
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(history.undo());
    EXPECT_EQ(document.artCount(), 0u);
    EXPECT_FALSE(history.undo());
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(history.redo());
    EXPECT_EQ(contents(document), closed);
    EXPECT_FALSE(history.redo());
}

TEST_F(HistoryTest, StepsAreActionsThatChangedSomething) {
    AIArtHandle handle = document.addPath(line(0, 0, 10, 0));
    {
        // Changed and changed back: no step.
        host::History::Group step(history);
        document.setLocked(handle, true);
        document.setLocked(handle, false);
        AIArtHandle scrap = document.addPath(line(1, 1, 2, 2));
        document.disposeArt(scrap);
    }
    {
        // Selecting is no change to undo.
        host::History::Group step(history);
        ASSERT_EQ(art->SetArtUserAttr(handle, kArtSelected, kArtSelected), kNoErr);
    }
    // The change made outside any action is a step of its own.
    EXPECT_EQ(history.canUndo(), true);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(document.artCount(), 0u);
    EXPECT_FALSE(history.undo());

    // Nested groups make one step; a new step forgets what was undone.
    ASSERT_TRUE(history.redo());
    {
        host::History::Group outer(history);
        document.setLocked(document.artAt(0), true);
        {
            host::History::Group inner(history);
            document.addPath(line(5, 5, 6, 6));
        }
    }
    EXPECT_FALSE(history.canRedo());
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(document.artCount(), 1u);
    EXPECT_EQ(document.findArt(document.artAt(0))->attributes & kArtLocked, 0);
}

TEST_F(HistoryTest, RestoredArtGoesBackInItsPlaceInEveryLayer) {
    AILayerHandle bottom = document.currentLayer();
    document.addPath(line(0, 0, 1, 0));
    document.addPath(line(0, 1, 1, 1));
    AILayerHandle top = document.addLayer("Layer 2");
    document.setCurrentLayer(top);
    document.addPath(line(0, 2, 1, 2));
    document.setCurrentLayer(bottom);
    std::vector<std::vector<Art>> states{contents(document)};
    // Inserting again and again just above the same art renumbers the layer's paint order.
    for (int i = 0; i < 40; ++i) {
        host::History::Group step(history);
        AIArtHandle made = nullptr;
        ASSERT_EQ(art->NewArt(kPathArt, kPlaceAbove, document.artAt(i % 2), &made), kNoErr);
        host::PathShape shape = line(static_cast<float>(i), 10, 0, 0);
        ASSERT_EQ(path->SetPathSegmentCount(made, 2), kNoErr);
        ASSERT_EQ(path->SetPathSegments(made, 0, 2, shape.segments.data()), kNoErr);
        AIArtHandle victim = document.artAt(i % 3 ? 0 : -1);
        if (i % 5 == 4 && victim != made) document.disposeArt(victim);
        states.push_back(contents(document));
    }
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(history.undo());
        ASSERT_EQ(contents(document), states[i - 1]) << "after undoing step " << i;
    }
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(history.redo());
        ASSERT_EQ(contents(document), states[i]) << "after redoing step " << i;
    }
}

/// The layers as a person sees them in the layers panel, topmost first, and the current one's name.
std::vector<std::string> layerRows(const host::Document& document) {
    std::vector<std::string> rows;
    for (const host::Document::LayerState& layer : document.layerSet().layers)
        rows.push_back(layer.name + (layer.locked ? " locked" : "") + (layer.hidden ? " hidden" : "") +
                       (layer.layer == document.currentLayer() ? " current" : ""));
    return rows;
}

TEST_F(HistoryTest, EachLayerChangeIsAStepUndoneAndRedoneWithTheArt) {
    AILayerHandle first = document.currentLayer();
    document.addPath(line(0, 0, 1, 0));
    history.clear();
    using Rows = std::vector<std::string>;
    std::vector<std::pair<Rows, std::vector<Art>>> states{{layerRows(document), contents(document)}};
    AILayerHandle second = nullptr;
    auto step = [&](const std::function<void()>& change) {
        {
            host::History::Group group(history);
            change();
        }
        states.emplace_back(layerRows(document), contents(document));
    };
    step([&] { second = document.addLayerAboveCurrent("Layer 2"); });
    step([&] {
        document.addPath(line(0, 5, 1, 5));
        document.addPath(line(0, 6, 1, 6));
    });
    step([&] { document.setLayerName(second, "Walls"); });
    step([&] { document.setLayerLocked(first, true); });
    step([&] { document.setLayerHidden(second, true); });
    step([&] { document.moveLayer(first, 0); });
    step([&] { document.deleteLayer(second); });
    ASSERT_EQ(states.back().first, (Rows{"Layer 1 locked current"}));
    ASSERT_EQ(states.back().second.size(), 1u);

    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(history.undo());
        ASSERT_EQ(layerRows(document), states[i - 1].first) << "after undoing step " << i;
        ASSERT_EQ(contents(document), states[i - 1].second) << "after undoing step " << i;
    }
    EXPECT_FALSE(history.canUndo());
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(history.redo());
        ASSERT_EQ(layerRows(document), states[i].first) << "after redoing step " << i;
        ASSERT_EQ(contents(document), states[i].second) << "after redoing step " << i;
    }
    // The deleted layer kept its handle: undone again, its art is back in it, in order.
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(document.layerPosition(second), 1u);
    EXPECT_EQ(document.findLayer(second)->art.size(), 2u);
}

TEST_F(HistoryTest, MakingALayerCurrentIsNoStepAndTheLastLayerStays) {
    AILayerHandle first = document.currentLayer();
    AILayerHandle second = document.addLayer("Layer 2");
    history.clear();
    {
        host::History::Group group(history);
        document.setCurrentLayer(second);
    }
    EXPECT_FALSE(history.canUndo());
    {
        host::History::Group group(history);
        document.deleteLayer(second);
    }
    // The current layer passes to the one below the deleted one, and comes back with the undo.
    EXPECT_EQ(document.currentLayer(), first);
    EXPECT_THROW(document.deleteLayer(first), std::invalid_argument);
    EXPECT_THROW(document.setCurrentLayer(second), std::invalid_argument);
    EXPECT_THROW(document.insertPath(second, nullptr, line(0, 0, 1, 1), 0), std::invalid_argument);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(document.currentLayer(), second);
    EXPECT_EQ(document.layerCount(), 2u);
}

TEST_F(HistoryTest, MovedArtIsOneStep) {
    AIArtHandle a = document.addPath(line(0, 0, 10, 0));
    document.addPath(line(0, 5, 10, 5));
    history.clear();
    auto before = contents(document);
    {
        host::History::Group group(history);
        document.translateArt({a, document.artAt(1)}, 3, -2);
    }
    EXPECT_EQ(document.findArt(document.artAt(0))->shape.segments[1].p.h, 13.0f);
    EXPECT_EQ(document.findArt(document.artAt(1))->shape.segments[0].p.v, 3.0f);
    // One art that can't move keeps the others where they are.
    auto moved = contents(document);
    const auto farOut = static_cast<AIReal>(host::kMaxCoordinate * 0.9);
    document.addPath(line(farOut, 0, 0, 0));
    EXPECT_THROW(document.translateArt({document.artAt(0), document.artAt(2)}, farOut, 0), std::invalid_argument);
    document.disposeArt(document.artAt(2));
    EXPECT_EQ(contents(document), moved);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(contents(document), before);
    EXPECT_FALSE(history.canUndo());
}

TEST_F(HistoryTest, TheHitTestIndexFollowsUndo) {
    document.addPath(line(-10, 0, 10, 0));
    document.addPath(line(0, -10, 0, 10));
    ASSERT_TRUE(hitTesting.nearestCrossing({1, 1}));
    {
        host::History::Group step(history);
        document.disposeArt(document.artAt(1));
    }
    EXPECT_FALSE(hitTesting.nearestCrossing({1, 1}));
    ASSERT_TRUE(history.undo());
    EXPECT_TRUE(hitTesting.nearestCrossing({1, 1}));
    AIArtHandle restored = document.artAt(1);
    EXPECT_EQ(hitTesting.hitTest(restored, {0, 5}, 1, kAllHitRequest).type,
              hitTesting.hitTestLinear(restored, {0, 5}, 1, kAllHitRequest).type);
    EXPECT_NE(hitTesting.hitTest(nullptr, {0, 5}, 1, kAllHitRequest).type, kNothingHitType);
}

TEST_F(HistoryTest, AnySequenceOfStepsUndoesAndRedoesLikeSnapshotsOfEverything) {
    // The reference keeps the whole document after every step; the history keeps what each step changed.
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        auto below = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
        auto coordinate = [&] { return std::uniform_real_distribution<float>(-100, 100)(random); };
        std::vector<AILayerHandle> layers{document.currentLayer(), document.addLayer("Layer 2"),
                                          document.addLayer("Layer 3")};
        // The layers are the ground of this sequence, not a step of it.
        history.clear();
        std::vector<std::vector<Art>> snapshots{contents(document)};
        std::size_t now = 0;
        auto anyArt = [&]() -> AIArtHandle {
            std::vector<AIArtHandle> all;
            document.forEachArt([&](AIArtHandle handle, const host::Document::Art&) { all.push_back(handle); });
            return all.empty() ? nullptr : all[below(all.size())];
        };
        auto setAnchor = [&](AIArtHandle handle, ASInt16 index) {
            AIPathSegment moved = anchor(coordinate(), coordinate());
            EXPECT_EQ(path->SetPathSegments(handle, index, 1, &moved), kNoErr);
        };
        for (int event = 0; event < 250; ++event) {
            std::size_t kind = below(10);
            if (kind == 0) {
                ASSERT_EQ(history.undo(), now > 0);
                if (now > 0) --now;
            } else if (kind == 1) {
                ASSERT_EQ(history.redo(), now + 1 < snapshots.size());
                if (now + 1 < snapshots.size()) ++now;
            } else {
                host::History::Group step(history);
                for (std::size_t change = below(4) + 1; change > 0; --change) {
                    AIArtHandle some = anyArt();
                    std::size_t what = below(7);
                    if (what <= 1 || !some) {
                        // New art, placed anywhere, with an anchor of its own so that it never repeats a disposed one.
                        static constexpr ASInt16 kPlaces[] = {kPlaceAboveAll, kPlaceBelowAll, kPlaceAbove, kPlaceBelow};
                        ASInt16 place = some ? kPlaces[below(4)] : kPlaceAboveAll;
                        document.setCurrentLayer(layers[below(layers.size())]);
                        AIArtHandle made = nullptr;
                        ASSERT_EQ(art->NewArt(kPathArt, place, some, &made), kNoErr);
                        ASSERT_EQ(path->SetPathSegmentCount(made, 1), kNoErr);
                        setAnchor(made, 0);
                    } else if (what == 2) {
                        ASInt16 count = 0;
                        ASSERT_EQ(path->GetPathSegmentCount(some, &count), kNoErr);
                        ASSERT_EQ(path->SetPathSegmentCount(some, static_cast<ASInt16>(count + 1)), kNoErr);
                        setAnchor(some, count);
                    } else if (what == 3) {
                        setAnchor(some, 0);
                    } else if (what == 4) {
                        document.disposeArt(some);
                    } else if (what == 5) {
                        // Locked and unlocked again, as a hovering tool does: no change.
                        document.setLocked(some, !(document.findArt(some)->attributes & kArtLocked));
                        if (below(2)) document.setLocked(some, !(document.findArt(some)->attributes & kArtLocked));
                    } else {
                        ASSERT_EQ(path->SetPathClosed(some, !document.findArt(some)->shape.closed), kNoErr);
                    }
                }
            }
            std::vector<Art> seen = contents(document);
            if (kind >= 2 && seen != snapshots[now]) {
                snapshots.resize(++now);
                snapshots.push_back(seen);
            }
            ASSERT_EQ(seen, snapshots[now]) << "after event " << event;
            ASSERT_EQ(history.canUndo(), now > 0);
            ASSERT_EQ(history.canRedo(), now + 1 < snapshots.size());
        }
        // Undone to the start and redone to the end, every step on the way is as it was.
        for (; now > 0; --now) {
            ASSERT_TRUE(history.undo());
            ASSERT_EQ(contents(document), snapshots[now - 1]);
        }
        for (; now + 1 < snapshots.size(); ++now) {
            ASSERT_TRUE(history.redo());
            ASSERT_EQ(contents(document), snapshots[now + 1]);
        }
        history.clear();
    }
}

TEST(HostHistory, UndoIsRefusedInsideAnAction) {
    host::Host host{{ORVANE_PLUGINS_DIR, std::nullopt, [](const std::string&) {}}};
    host.edit([](host::Document& document) { document.addPath(line(0, 0, 1, 1)); });
    EXPECT_TRUE(host.canUndo());
    {
        host::History::Group step(host.history());
        EXPECT_THROW(host.undo(), host::HostError);
    }
    EXPECT_TRUE(host.undo());
    EXPECT_EQ(host.document().artCount(), 0u);
    EXPECT_FALSE(host.undo());
    EXPECT_TRUE(host.redo());
    EXPECT_EQ(host.document().artCount(), 1u);
}

}  // namespace
