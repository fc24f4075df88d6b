// Product button layout: columns, button width, cell positions, section separators and the
// window height the buttons need.
#include "layout/grid_layout.h"

#include <gtest/gtest.h>

#include <climits>

namespace vorsa {
namespace {

struct ColonneCase {
    const char* name;
    int preferite, larghezza, bordo;
    int colonne, bottone;
};

class CalcolaColonneTest : public ::testing::TestWithParam<ColonneCase> {};

TEST_P(CalcolaColonneTest, ColumnsAndWidth) {
    const ColonneCase& c = GetParam();
    const Colonne r = CalcolaColonne(c.preferite, c.larghezza, c.bordo);
    EXPECT_EQ(r.colonne, c.colonne);
    EXPECT_EQ(r.larghezza, c.bottone);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CalcolaColonneTest,
    ::testing::Values(
        // (7860 - ((180 + 800) * 2 + 120)) / 2
        ColonneCase{"Defaults", 2, 7860, 120, 2, 2890},
        // Six give 310 < 501, five give 568.
        ColonneCase{"SixDropToFive", 6, 7860, 120, 5, 568},
        ColonneCase{"OneColumn", 1, 7860, 120, 1, 6760},
        ColonneCase{"WideWindow", 2, 20300, 120, 2, 9110},
        ColonneCase{"ExactlyMinimumStays", 2, 3082, 120, 2, 501},
        ColonneCase{"OneBelowMinimumDrops", 2, 3081, 120, 1, 1981},
        ColonneCase{"DivisionTruncates", 4, 7861, 120, 4, 955},
        // 7860 - 1102.5 = 6757.5 and 7861 - 1102.5 = 6758.5 both round to the even 6758.
        ColonneCase{"HalfRoundsToEvenUp", 1, 7860, 121, 1, 6758},
        ColonneCase{"HalfRoundsToEvenDown", 1, 7861, 121, 1, 6758},
        // One column at least, however narrow the button gets.
        ColonneCase{"HugeBorderOneColumn", 2, 7860, 100000, 1, 7860 - 250800},
        ColonneCase{"NoColumnsMeansOne", 0, 7860, 120, 1, 6760}),
    [](const auto& p) { return std::string(p.param.name); });

ParametriGriglia Defaults(std::array<int, 3> sizes, int larghezza = 7860) {
    ParametriGriglia p;
    p.larghezzaGriglia = larghezza;
    p.dimensioni = sizes;
    p.altezzaSchermo = 16200;
    return p;
}

struct CellaCase {
    const char* name;
    std::size_t section;
    int position;
    int riga, colonna, x, y;
};

class CellaTest : public ::testing::TestWithParam<CellaCase> {};

// Defaults, grid 7860, sections of 5, 10 and 4: button width 2890, two columns.
TEST_P(CellaTest, Position) {
    const CellaCase& c = GetParam();
    const Griglia g = DisponiGriglia(Defaults({5, 10, 4}));
    ASSERT_EQ(g.colonne, 2);
    ASSERT_EQ(g.larghezzaBottone, 2890);
    const CellaGriglia& cell =
        g.sezioni[c.section].celle.at(static_cast<std::size_t>(c.position - 1));
    EXPECT_EQ(cell.riga, c.riga);
    EXPECT_EQ(cell.colonna, c.colonna);
    EXPECT_EQ(cell.codice, (RettangoloTwips{c.x, c.y, 800, 240}));
    EXPECT_EQ(cell.prezzo, (RettangoloTwips{c.x, c.y + 240, 800, 240}));
    EXPECT_EQ(cell.linea, (RettangoloTwips{c.x, c.y + 495, 800, 0}));
    EXPECT_EQ(cell.bottone, (RettangoloTwips{c.x + 800 + 60, c.y, 2890, 495}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CellaTest,
    ::testing::Values(CellaCase{"FirstCell", 0, 1, 0, 1, 120, 50},
                      // x = (60 + 800 + 2890) * 1 + 120 * 2
                      CellaCase{"SecondColumn", 0, 2, 0, 2, 3990, 50},
                      CellaCase{"ThirdRow", 0, 5, 2, 1, 120, 1140},
                      // Section 1 starts below the separator at 1140 + 495 + 100 = 1735, at 1785.
                      CellaCase{"DrinksFirst", 1, 1, 0, 1, 120, 1835},
                      CellaCase{"DrinksThirdIsRowOneColumnOne", 1, 3, 1, 1, 120, 2380},
                      CellaCase{"DrinksLastRowFour", 1, 10, 4, 2, 3990, 4015},
                      // Section 2 starts at 4015 + 495 + 100 + 50 = 4660.
                      CellaCase{"OthersLast", 2, 4, 1, 2, 3990, 5255}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(DisponiGriglia, SeparatorsCloseEachSection) {
    const Griglia g = DisponiGriglia(Defaults({5, 10, 4}));
    EXPECT_EQ(g.sezioni[0].separatore, 1735);
    EXPECT_EQ(g.sezioni[1].separatore, 4610);
    EXPECT_EQ(g.sezioni[2].separatore, 5850);
}

TEST(DisponiGriglia, RowsWithThreeColumns) {
    ParametriGriglia p = Defaults({10, 1, 1}, 12000);
    p.colonne = 3;
    const Griglia g = DisponiGriglia(p);
    ASSERT_EQ(g.colonne, 3);
    const CellaGriglia& last = g.sezioni[0].celle.back();
    EXPECT_EQ(last.riga, 3);
    EXPECT_EQ(last.colonna, 1);
}

struct AltezzaCase {
    const char* name;
    std::array<int, 3> sizes;
    int schermo;
    int altezza;
};

class AltezzaTest : public ::testing::TestWithParam<AltezzaCase> {};

TEST_P(AltezzaTest, NeededHeight) {
    const AltezzaCase& c = GetParam();
    ParametriGriglia p = Defaults(c.sizes);
    p.altezzaSchermo = c.schermo;
    EXPECT_EQ(DisponiGriglia(p).altezzaNecessaria, c.altezza);
}

INSTANTIATE_TEST_SUITE_P(Cases, AltezzaTest,
                         ::testing::Values(
                             // 5255 + 495 + 600 = 6350, raised to the minimum window.
                             AltezzaCase{"FewArticlesMinimum", {5, 10, 4}, 16200, 8290},
                             // Last row of section 2 at 5750 + 4 * 495 + 5 * 50 = 7980.
                             AltezzaCase{"InBetween", {10, 10, 10}, 16200, 9075},
                             AltezzaCase{"CappedAtScreen", {80, 80, 80}, 16200, 16200},
                             AltezzaCase{"NoScreenNoCap", {80, 80, 80}, 0, 65205 + 495 + 600}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(DisponiGriglia, HugeBorderStillOneColumn) {
    ParametriGriglia p = Defaults({3, 3, 3});
    p.bordo = 100000;
    const Griglia g = DisponiGriglia(p);
    EXPECT_EQ(g.colonne, 1);
    EXPECT_LT(g.larghezzaBottone, kLarghezzaMinimaBottone);
    for (const SezioneGriglia& s : g.sezioni)
        for (const CellaGriglia& c : s.celle) {
            EXPECT_EQ(c.colonna, 1);
            EXPECT_EQ(c.codice.left, 100000);
        }
}

TEST(DisponiGriglia, LimitValuesSaturate) {
    ParametriGriglia p = Defaults({80, 80, 80});
    p.altezza = INT_MAX;
    p.interlinea = INT_MAX;
    p.bordo = INT_MAX;
    const Griglia g = DisponiGriglia(p);
    EXPECT_EQ(g.colonne, 1);
    EXPECT_EQ(g.altezzaNecessaria, 16200);
    EXPECT_EQ(g.sezioni[2].celle.back().codice.top, INT_MAX);
}

}  // namespace
}  // namespace vorsa
