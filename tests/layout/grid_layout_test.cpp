// Product button layout: columns, button width, cell positions, section separators and the
// window height the buttons need.
#include "layout/grid_layout.h"

#include <gtest/gtest.h>

#include <climits>

namespace vorsa {
namespace {

TEST(CalcolaColonne, ColumnsAndWidth) {
    const struct {
        int preferite, larghezza, bordo;
        int colonne, bottone;
    } cases[] = {
        {2, 7860, 120, 2, 2890},  // (7860 - ((180 + 800) * 2 + 120)) / 2
        {6, 7860, 120, 5, 568},   // six give 310 < 501, five give 568
        {2, 3082, 120, 2, 501},   // exactly the minimum stays
        {2, 3081, 120, 1, 1981},  // one below drops a column
        {4, 7861, 120, 4, 955},   // the division truncates
        // 7860 - 1102.5 = 6757.5 and 7861 - 1102.5 = 6758.5 both round to the even 6758.
        {1, 7860, 121, 1, 6758},
        {1, 7861, 121, 1, 6758},
        {0, 7860, 120, 1, 6760},
    };
    for (const auto& c : cases) {
        const Columns r = CalcolaColonne(c.preferite, c.larghezza, c.bordo);
        EXPECT_EQ(std::make_pair(r.colonne, r.larghezza), std::make_pair(c.colonne, c.bottone))
            << c.preferite << " " << c.larghezza << " " << c.bordo;
    }
}

GridParams Defaults(std::array<int, 3> sizes, int larghezza = 7860) {
    GridParams p;
    p.larghezzaGriglia = larghezza;
    p.dimensioni = sizes;
    p.altezzaSchermo = 16200;
    return p;
}

// Defaults, grid 7860, sections of 5, 10 and 4: button width 2890, two columns.
TEST(DisponiGriglia, CellPositionsAndSeparators) {
    const Grid g = DisponiGriglia(Defaults({5, 10, 4}));
    ASSERT_EQ(g.colonne, 2);
    ASSERT_EQ(g.larghezzaBottone, 2890);
    const struct {
        std::size_t section;
        int position;
        int riga, colonna, x, y;
    } cases[] = {
        {0, 1, 0, 1, 120, 50},
        {0, 2, 0, 2, 3990, 50},  // x = (60 + 800 + 2890) * 1 + 120 * 2
        {0, 5, 2, 1, 120, 1140},
        // Section 1 starts below the separator at 1140 + 495 + 100 = 1735, at 1785.
        {1, 1, 0, 1, 120, 1835},
        {1, 10, 4, 2, 3990, 4015},
        // Section 2 starts at 4015 + 495 + 100 + 50 = 4660.
        {2, 4, 1, 2, 3990, 5255},
    };
    for (const auto& c : cases) {
        const GridCell& cell = g.sezioni[c.section].celle.at(std::size_t(c.position - 1));
        EXPECT_EQ(std::make_pair(cell.riga, cell.colonna), std::make_pair(c.riga, c.colonna));
        EXPECT_EQ(cell.codice, (TwipsRect{c.x, c.y, 800, 240}));
        EXPECT_EQ(cell.bottone, (TwipsRect{c.x + 800 + 60, c.y, 2890, 495}));
    }
    EXPECT_EQ((std::array<int, 3>{g.sezioni[0].separatore, g.sezioni[1].separatore,
                                  g.sezioni[2].separatore}),
              (std::array<int, 3>{1735, 4610, 5850}));
    // Three columns: the tenth button starts the fourth row.
    GridParams tre = Defaults({10, 1, 1}, 12000);
    tre.colonne = 3;
    const Grid g3 = DisponiGriglia(tre);
    ASSERT_EQ(g3.colonne, 3);
    EXPECT_EQ(std::make_pair(g3.sezioni[0].celle.back().riga, g3.sezioni[0].celle.back().colonna),
              std::make_pair(3, 1));
}

TEST(DisponiGriglia, NeededHeight) {
    const struct {
        std::array<int, 3> sizes;
        int schermo, altezza;
    } cases[] = {
        {{5, 10, 4}, 16200, 8290},     // 5255 + 495 + 600 = 6350, raised to the minimum window
        {{10, 10, 10}, 16200, 9075},   // last row of section 2 at 5750 + 4 * 495 + 5 * 50 = 7980
        {{80, 80, 80}, 16200, 16200},  // capped at the screen
        {{80, 80, 80}, 0, 65205 + 495 + 600},  // no screen, no cap
    };
    for (const auto& c : cases) {
        GridParams p = Defaults(c.sizes);
        p.altezzaSchermo = c.schermo;
        EXPECT_EQ(DisponiGriglia(p).altezzaNecessaria, c.altezza) << c.sizes[0] << " " << c.schermo;
    }
}

TEST(DisponiGriglia, HugeBorderStillOneColumnAndLimitValuesSaturate) {
    GridParams p = Defaults({3, 3, 3});
    p.bordo = 100000;
    const Grid g = DisponiGriglia(p);
    EXPECT_EQ(g.colonne, 1);
    EXPECT_LT(g.larghezzaBottone, kLarghezzaMinimaBottone);
    for (const GridSection& s : g.sezioni)
        for (const GridCell& c : s.celle)
            EXPECT_EQ(std::make_pair(c.colonna, c.codice.left), std::make_pair(1, 100000));

    p = Defaults({80, 80, 80});
    p.altezza = p.interlinea = p.bordo = INT_MAX;
    const Grid max = DisponiGriglia(p);
    EXPECT_EQ(max.colonne, 1);
    EXPECT_EQ(max.altezzaNecessaria, 16200);
    EXPECT_EQ(max.sezioni[2].celle.back().codice.top, INT_MAX);
}

}  // namespace
}  // namespace vorsa
