#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "EtatOutil.h"
#include "OrvaneSuites.h"
#include "Suites.h"
#include "Survol.h"

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

std::vector<Point> Liste() {
    std::vector<Point> points;
    for (const Souvenir_t* n = PtrPremierSouvenir; n; n = n->suivant) points.emplace_back(n->h, n->v);
    return points;
}

class SouvenirTest : public testing::Test {
protected:
    void SetUp() override {
        basicAvant_ = sSPBasic;
        admBasicAvant_ = sADMBasic;
        sSPBasic = &gBasic;
        sADMBasic = &gAdmBasic;
        gBlocsVivants = 0;
        gAllocationsAvantEchec = -1;
        gBips = 0;
        PtrPremierSouvenir = nullptr;
        NombreMaxSouvenirs = etat::kNombreMaxSouvenirs;
    }
    void TearDown() override {
        LibereSouvenirs();
        sSPBasic = basicAvant_;
        sADMBasic = admBasicAvant_;
    }

private:
    SPBasicSuite* basicAvant_ = nullptr;
    const ADMBasicSuite* admBasicAvant_ = nullptr;
};

TEST_F(SouvenirTest, NewestFirstAndEachPointOnce) {
    Souvenir({1, 1});
    Souvenir({2, 2});
    Souvenir({3, 3});
    Souvenir({2, 2});
    // Equal only when both coordinates are: a point sharing one is new.
    Souvenir({1, 3});
    EXPECT_EQ(Liste(), (std::vector<Point>{{1, 3}, {3, 3}, {2, 2}, {1, 1}}));
    EXPECT_EQ(gBlocsVivants, 4);
}

TEST_F(SouvenirTest, FullListDropsTheOldestWithoutAllocating) {
    for (int i = 0; i < etat::kNombreMaxSouvenirs; ++i) Souvenir({static_cast<AIReal>(i), 0});
    ASSERT_EQ(gBlocsVivants, etat::kNombreMaxSouvenirs);

    Souvenir({100, 0});
    const std::vector<Point> points = Liste();
    ASSERT_EQ(points.size(), static_cast<std::size_t>(etat::kNombreMaxSouvenirs));
    EXPECT_EQ(points.front(), Point(100, 0));
    EXPECT_EQ(points[1], Point(etat::kNombreMaxSouvenirs - 1, 0));
    EXPECT_EQ(points.back(), Point(1, 0));
    EXPECT_EQ(gBlocsVivants, etat::kNombreMaxSouvenirs);

    // A point still remembered is not new, even in a full list.
    Souvenir({5, 0});
    EXPECT_EQ(Liste(), points);
}

TEST_F(SouvenirTest, FailedAllocationBeepsAndChangesNothing) {
    Souvenir({1, 1});
    gAllocationsAvantEchec = 0;
    Souvenir({2, 2});
    EXPECT_EQ(gBips, 1);
    EXPECT_EQ(Liste(), std::vector<Point>{Point(1, 1)});

    LibereSouvenirs();
    Souvenir({3, 3});
    EXPECT_EQ(gBips, 2);
    EXPECT_EQ(PtrPremierSouvenir, nullptr);
}

TEST_F(SouvenirTest, ReleaseGivesEveryBlockBack) {
    for (int i = 0; i < 5; ++i) Souvenir({0, static_cast<AIReal>(i)});
    LibereSouvenirs();
    EXPECT_EQ(PtrPremierSouvenir, nullptr);
    EXPECT_EQ(gBlocsVivants, 0);
    LibereSouvenirs();
    EXPECT_EQ(gBlocsVivants, 0);
}

}  // namespace
