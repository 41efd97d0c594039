#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "OrvaneSuites.h"
#include "Suites.h"
#include "PolylineTool.h"

namespace {

// A block allocator whose Nth allocation fails, and a beep that is counted.
int gBlocsVivants = 0;
int gAllocationsAvantEchec = -1;
int gBips = 0;

ASErr AlloueBloc(std::size_t taille, void** bloc) {
    *bloc = nullptr;
    if (gAllocationsAvantEchec == 0) return kOutOfMemoryErr;
    if (gAllocationsAvantEchec > 0) --gAllocationsAvantEchec;
    *bloc = std::malloc(taille);
    ++gBlocsVivants;
    return kNoErr;
}

ASErr LibereBloc(void* bloc) {
    if (bloc) --gBlocsVivants;
    std::free(bloc);
    return kNoErr;
}

void Bip() {
    ++gBips;
}

SPBasicSuite gBasic = {nullptr, nullptr, nullptr, &AlloueBloc, &LibereBloc, nullptr, nullptr};
ADMBasicSuite gAdmBasic = {&Bip, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

using Point = std::pair<AIReal, AIReal>;

std::vector<Point> Liste(const RememberedPoints& remembered) {
    std::vector<Point> points;
    for (const RememberedPoints::Node* n = remembered.first(); n; n = n->next) points.emplace_back(n->h, n->v);
    return points;
}

class RememberedPointsTest : public testing::Test {
protected:
    void SetUp() override {
        basicAvant_ = sSPBasic;
        admBasicAvant_ = sADMBasic;
        sSPBasic = &gBasic;
        sADMBasic = &gAdmBasic;
        gBlocsVivants = 0;
        gAllocationsAvantEchec = -1;
        gBips = 0;
    }
    void TearDown() override {
        remembered.clear();
        sSPBasic = basicAvant_;
        sADMBasic = admBasicAvant_;
    }

    RememberedPoints remembered;

private:
    SPBasicSuite* basicAvant_ = nullptr;
    const ADMBasicSuite* admBasicAvant_ = nullptr;
};

TEST_F(RememberedPointsTest, NewestFirstAndEachPointOnce) {
    remembered.add({1, 1});
    remembered.add({2, 2});
    remembered.add({3, 3});
    remembered.add({2, 2});
    // Equal only when both coordinates are: a point sharing one is new.
    remembered.add({1, 3});
    EXPECT_EQ(Liste(remembered), (std::vector<Point>{{1, 3}, {3, 3}, {2, 2}, {1, 1}}));
    EXPECT_EQ(gBlocsVivants, 4);
}

TEST_F(RememberedPointsTest, FullListDropsTheOldestWithoutAllocating) {
    for (int i = 0; i < tool::kMaximumRememberedPoints; ++i) remembered.add({static_cast<AIReal>(i), 0});
    ASSERT_EQ(gBlocsVivants, tool::kMaximumRememberedPoints);

    remembered.add({100, 0});
    const std::vector<Point> points = Liste(remembered);
    ASSERT_EQ(points.size(), static_cast<std::size_t>(tool::kMaximumRememberedPoints));
    EXPECT_EQ(points.front(), Point(100, 0));
    EXPECT_EQ(points[1], Point(tool::kMaximumRememberedPoints - 1, 0));
    EXPECT_EQ(points.back(), Point(1, 0));
    EXPECT_EQ(gBlocsVivants, tool::kMaximumRememberedPoints);

    // A point still remembered is not new, even in a full list.
    remembered.add({5, 0});
    EXPECT_EQ(Liste(remembered), points);
}

TEST_F(RememberedPointsTest, FailedAllocationBeepsAndChangesNothing) {
    remembered.add({1, 1});
    gAllocationsAvantEchec = 0;
    remembered.add({2, 2});
    EXPECT_EQ(gBips, 1);
    EXPECT_EQ(Liste(remembered), std::vector<Point>{Point(1, 1)});

    remembered.clear();
    remembered.add({3, 3});
    EXPECT_EQ(gBips, 2);
    EXPECT_EQ(remembered.first(), nullptr);
}

TEST_F(RememberedPointsTest, ReleaseGivesEveryBlockBack) {
    for (int i = 0; i < 5; ++i) remembered.add({0, static_cast<AIReal>(i)});
    remembered.clear();
    EXPECT_EQ(remembered.first(), nullptr);
    EXPECT_EQ(gBlocsVivants, 0);
    remembered.clear();
    EXPECT_EQ(gBlocsVivants, 0);
}

}  // namespace
