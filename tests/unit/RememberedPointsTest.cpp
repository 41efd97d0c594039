#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "OrvaneSuites.h"
#include "PolylineTool.h"
#include "Suites.h"

namespace {

// A block allocator whose Nth allocation fails, and a beep that is counted.
int gLiveBlocks = 0;
int gAllocationsBeforeFailure = -1;
int gBeeps = 0;

ASErr AllocateBlock(std::size_t size, void** block) {
    *block = nullptr;
    if (gAllocationsBeforeFailure == 0) return kOutOfMemoryErr;
    if (gAllocationsBeforeFailure > 0) --gAllocationsBeforeFailure;
    *block = std::malloc(size);
    ++gLiveBlocks;
    return kNoErr;
}

ASErr FreeBlock(void* block) {
    if (block) --gLiveBlocks;
    std::free(block);
    return kNoErr;
}

void Beep() {
    ++gBeeps;
}

SPBasicSuite gBasic = {nullptr, nullptr, nullptr, &AllocateBlock, &FreeBlock, nullptr, nullptr};
ADMBasicSuite gAdmBasic = {&Beep, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

using Point = std::pair<AIReal, AIReal>;

std::vector<Point> ListOf(const RememberedPoints& remembered) {
    std::vector<Point> points;
    for (const RememberedPoints::Node* n = remembered.first(); n; n = n->next) points.emplace_back(n->h, n->v);
    return points;
}

class RememberedPointsTest : public testing::Test {
protected:
    void SetUp() override {
        savedBasic_ = sSPBasic;
        savedAdmBasic_ = sADMBasic;
        sSPBasic = &gBasic;
        sADMBasic = &gAdmBasic;
        gLiveBlocks = 0;
        gAllocationsBeforeFailure = -1;
        gBeeps = 0;
    }
    void TearDown() override {
        remembered.clear();
        sSPBasic = savedBasic_;
        sADMBasic = savedAdmBasic_;
    }

    RememberedPoints remembered;

private:
    SPBasicSuite* savedBasic_ = nullptr;
    const ADMBasicSuite* savedAdmBasic_ = nullptr;
};

TEST_F(RememberedPointsTest, NewestFirstAndEachPointOnce) {
    remembered.add({1, 1});
    remembered.add({2, 2});
    remembered.add({3, 3});
    remembered.add({2, 2});
    // Equal only when both coordinates are: a point sharing one is new.
    remembered.add({1, 3});
    EXPECT_EQ(ListOf(remembered), (std::vector<Point>{{1, 3}, {3, 3}, {2, 2}, {1, 1}}));
    EXPECT_EQ(gLiveBlocks, 4);
}

TEST_F(RememberedPointsTest, FullListDropsTheOldestWithoutAllocating) {
    for (int i = 0; i < tool::kMaximumRememberedPoints; ++i) remembered.add({static_cast<AIReal>(i), 0});
    ASSERT_EQ(gLiveBlocks, tool::kMaximumRememberedPoints);

    remembered.add({100, 0});
    const std::vector<Point> points = ListOf(remembered);
    ASSERT_EQ(points.size(), static_cast<std::size_t>(tool::kMaximumRememberedPoints));
    EXPECT_EQ(points.front(), Point(100, 0));
    EXPECT_EQ(points[1], Point(tool::kMaximumRememberedPoints - 1, 0));
    EXPECT_EQ(points.back(), Point(1, 0));
    EXPECT_EQ(gLiveBlocks, tool::kMaximumRememberedPoints);

    // A point still remembered is not new, even in a full list.
    remembered.add({5, 0});
    EXPECT_EQ(ListOf(remembered), points);
}

TEST_F(RememberedPointsTest, FailedAllocationBeepsAndChangesNothing) {
    remembered.add({1, 1});
    gAllocationsBeforeFailure = 0;
    remembered.add({2, 2});
    EXPECT_EQ(gBeeps, 1);
    EXPECT_EQ(ListOf(remembered), std::vector<Point>{Point(1, 1)});

    remembered.clear();
    remembered.add({3, 3});
    EXPECT_EQ(gBeeps, 2);
    EXPECT_EQ(remembered.first(), nullptr);
}

TEST_F(RememberedPointsTest, ReleaseGivesEveryBlockBack) {
    for (int i = 0; i < 5; ++i) remembered.add({0, static_cast<AIReal>(i)});
    remembered.clear();
    EXPECT_EQ(remembered.first(), nullptr);
    EXPECT_EQ(gLiveBlocks, 0);
    remembered.clear();
    EXPECT_EQ(gLiveBlocks, 0);
}

}  // namespace
