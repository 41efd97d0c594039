#include "Echelle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "OrvanePrefs.h"

using echelle::Genre;
using echelle::kEntrees;

namespace {

std::string G(double valeur) {
    char texte[echelle::kTailleTexteG];
    TexteG(valeur, texte);
    return texte;
}

std::string Perso(double num, double den) {
    char texte[echelle::kTailleTextePerso];
    TexteEchellePerso(num, den, texte);
    return texte;
}

TEST(EchelleTest, EveryFixedEntryReadsAsItsFraction) {
    for (const auto& entree : kEntrees) {
        if (entree.genre != Genre::Fixe) continue;
        const bool un = entree.num == 1 && entree.den == 1;
        EXPECT_EQ(entree.texte, un ? "1" : G(entree.num) + "/" + G(entree.den));
    }
}

TEST(EchelleTest, ListLayout) {
    ASSERT_EQ(kEntrees.size(), 28u);
    for (std::size_t position : {11u, 13u, 25u}) EXPECT_EQ(kEntrees[position].genre, Genre::Separateur) << position;
    EXPECT_EQ(kEntrees[echelle::kPositionChoixPerso].genre, Genre::ChoixPerso);
    EXPECT_STREQ(kEntrees[echelle::kPositionChoixPerso].texte, "Custom Sca\xC9");
    EXPECT_EQ(kEntrees[echelle::kPositionPerso].genre, Genre::Perso);
    EXPECT_STREQ(kEntrees[0].texte, "1/125");
    EXPECT_STREQ(kEntrees[echelle::kPositionUn].texte, "1");
    EXPECT_STREQ(kEntrees[24].texte, "125/1");
}

TEST(EchelleTest, EachFixedPairMarksItsOwnEntry) {
    for (std::size_t position = 0; position < kEntrees.size(); ++position) {
        const auto& entree = kEntrees[position];
        if (entree.genre != Genre::Fixe) continue;
        EXPECT_EQ(PositionEchelle(entree.num, entree.den), static_cast<ASInt32>(position)) << entree.texte;
    }
}

TEST(EchelleTest, OtherPairsMarkTheCustomEntry) {
    EXPECT_EQ(PositionEchelle(3, 7), echelle::kPositionPerso);
    // The same ratio as a fixed entry is not the same pair.
    EXPECT_EQ(PositionEchelle(2, 2), echelle::kPositionPerso);
    EXPECT_EQ(PositionEchelle(2, 4), echelle::kPositionPerso);
    // A single-precision 0.1 is not the exact 1/10 either.
    EXPECT_EQ(PositionEchelle(1, 10.000000149011612), echelle::kPositionPerso);
    EXPECT_EQ(PositionEchelle(0, 0), echelle::kPositionPerso);
}

TEST(EchelleTest, TexteGWritesAsPercentG) {
    EXPECT_EQ(G(3.0 / 7.0), "0.428571");
    EXPECT_EQ(G(7.0 / 3.0), "2.33333");
    EXPECT_EQ(G(0.5), "0.5");
    EXPECT_EQ(G(3), "3");
    EXPECT_EQ(G(125), "125");
    EXPECT_EQ(G(0.0001), "0.0001");
    EXPECT_EQ(G(0.00001), "1e-05");
    EXPECT_EQ(G(999999), "999999");
    EXPECT_EQ(G(1000000), "1e+06");
    // Rounding to six digits may carry into the exponent form.
    EXPECT_EQ(G(999999.5), "1e+06");
    EXPECT_EQ(G(0.1f), "0.1");
    EXPECT_EQ(G(-2.5), "-2.5");
    EXPECT_EQ(G(-1.7976931348623157e308), "-1.79769e+308");
}

TEST(EchelleTest, TexteGAgreesWithTheCLibrary) {
    // The test runs in the C locale, where printf's "%g" is the reference.
    for (double valeur = 1.2345678e-7; valeur < 1e9; valeur *= 1.7) {
        for (double x : {valeur, -valeur, static_cast<double>(static_cast<float>(valeur))}) {
            char attendu[echelle::kTailleTexteG];
            std::snprintf(attendu, sizeof attendu, "%g", x);
            EXPECT_EQ(G(x), attendu);
        }
    }
}

TEST(EchelleTest, CustomEntryText) {
    EXPECT_EQ(Perso(3, 7), "3/7");
    EXPECT_EQ(Perso(0.5, 2), "0.5/2");
    EXPECT_EQ(Perso(1e-05, 1e+06), "1e-05/1e+06");
    // No custom scale yet.
    EXPECT_EQ(Perso(0, 7), "\xC9/\xC9");
    EXPECT_EQ(Perso(-1.7976931348623157e308, -1.7976931348623157e308), "-1.79769e+308/-1.79769e+308");
}

TEST(PrecisionApresGlisseTest, OneStepPerEventWithinZeroToSix) {
    // Rightward, still, and at the left edge: up.
    EXPECT_EQ(PrecisionApresGlisse(3, 10, 11), 4);
    EXPECT_EQ(PrecisionApresGlisse(3, 10, 10), 4);
    EXPECT_EQ(PrecisionApresGlisse(3, 5, 0), 4);
    // Leftward: down.
    EXPECT_EQ(PrecisionApresGlisse(3, 11, 10), 2);
    EXPECT_EQ(PrecisionApresGlisse(6, 24, 23), 5);
    // Never beyond the decimals the labels can show.
    EXPECT_EQ(PrecisionApresGlisse(6, 10, 11), 6);
    EXPECT_EQ(PrecisionApresGlisse(0, 11, 10), 0);
}

}  // namespace
