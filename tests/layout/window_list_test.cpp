// Window snapping on rectangles: touching, glue, moves and resizes near the work area's edges
// and near other windows.
#include "layout/window_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace vorsa::magnetic {

void PrintTo(const WindowRect& r, std::ostream* os) {
    *os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace {

const WindowRect kArea{0, 0, 1920, 1040};

WindowRect Finestra(int left, int top, int w = 800, int h = 600) {
    return WindowRect{left, top, left + w, top + h};
}

TEST(BordiMagneticiTest, MovingSnapsToTheWorkAreaAndToOtherWindowsWithinTheDistance) {
    const WindowRect lontana = Finestra(3000, 3000);  // out of reach
    const struct {
        WindowRect altra, proposto, atteso;
    } cases[] = {
        {lontana, Finestra(15, 200), Finestra(0, 200)},   // 15 px from the left edge: snaps
        {lontana, Finestra(25, 200), Finestra(25, 200)},  // 25 px: stays where the cursor put it
        {lontana, Finestra(20, 200), Finestra(20, 200)},  // exactly the distance: no snap
        {lontana, Finestra(-19, 200), Finestra(0, 200)},  // past the edge snaps back
        {lontana, Finestra(1105, 200), Finestra(1120, 200)},  // right edge 1905 -> 1920
        {lontana, Finestra(300, 12), Finestra(300, 0)},       // top
        {lontana, Finestra(300, 430), Finestra(300, 440)},    // bottom 1030 -> 1040
        // right edge 10 px short of the other's left edge
        {Finestra(1000, 100, 400, 400), Finestra(190, 150), Finestra(200, 150)},
        // the other window is far below: no snap to it
        {Finestra(1000, 900, 400, 100), Finestra(190, 100, 800, 200), Finestra(190, 100, 800, 200)},
        // near the work area's left (12) and the other's right (7): the other is later
        {WindowRect{-300, 100, 5, 500}, Finestra(12, 150), Finestra(5, 150)},
    };
    const std::vector<WindowEntry> voci{{1, 0, false}, {2, 0, false}};
    for (const auto& c : cases)
        EXPECT_EQ(Sposta(voci, {Finestra(500, 500), c.altra}, kArea, 0, c.proposto, 20).finestra,
                  c.atteso);
}

TEST(BordiMagneticiTest, TouchingNeedsASharedEdgeValueAndNoGap) {
    const WindowRect a{0, 0, 100, 100};
    const struct {
        WindowRect b;
        bool tocca;
    } cases[] = {
        {{100, 0, 200, 100}, true},   // side by side
        {{101, 0, 201, 100}, false},  // one pixel apart
        {{0, 100, 100, 200}, true},   // one above the other
        {{0, 500, 100, 600}, false},  // equal left edges but far apart
        {{50, 0, 150, 100}, true},    // overlapping with equal tops
        {{50, 50, 150, 150}, false},  // overlapping, no edge shared
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Toccano(a, c.b), c.tocca);
        EXPECT_EQ(Toccano(c.b, a), c.tocca);
    }
}

TEST(BordiMagneticiTest, GlueFollowsParentsAndTouchingSiblings) {
    // 1 parent; 4 touches 2, 3 touches 4, 2 touches the parent: listed so that one pass is
    // not enough. 5 touches the parent but belongs to another; 6 is a loose child.
    std::vector<WindowEntry> voci{{1, 0, true},  {3, 1, false}, {4, 1, false},
                                  {2, 1, false}, {5, 9, false}, {6, 1, false}};
    const std::vector<WindowRect> rett{
        {100, 100, 500, 500},    // 1
        {900, 100, 1000, 200},   // 3: right of 4
        {700, 100, 900, 200},    // 4: right of 2
        {500, 100, 700, 200},    // 2: right of the parent
        {100, 500, 500, 600},    // 5: below the parent, other parent
        {1500, 100, 1600, 200},  // 6: far away
    };
    CalcolaIncollati(voci, rett);
    const std::vector<bool> attese{false, true, true, true, false, false};
    for (std::size_t i = 0; i < voci.size(); ++i) EXPECT_EQ(voci[i].glue, attese[i]) << i;
    EXPECT_EQ(IncollateA(voci, 0), attese);
    EXPECT_EQ(IncollateA(voci, 3), std::vector<bool>(6, false));
}

TEST(BordiMagneticiTest, GluedWindowsMoveWithTheParentAndPullItToAnEdge) {
    const std::vector<WindowEntry> voci{{1, 0, false}, {2, 1, true}};
    const std::vector<WindowRect> rett{{1000, 100, 1400, 500}, {1400, 100, 1700, 300}};
    // +30: nothing near; the child follows.
    Displacement s = Sposta(voci, rett, kArea, 0, WindowRect{1030, 100, 1430, 500}, 20);
    EXPECT_EQ(s.finestra, (WindowRect{1030, 100, 1430, 500}));
    EXPECT_EQ(s.rett[1], (WindowRect{1430, 100, 1730, 300}));
    // +205: the child's right edge comes 15 px from the work area's: the group snaps by 15.
    s = Sposta(voci, rett, kArea, 0, WindowRect{1205, 100, 1605, 500}, 20);
    EXPECT_EQ(s.finestra, (WindowRect{1220, 100, 1620, 500}));
    EXPECT_EQ(s.rett[1], (WindowRect{1620, 100, 1920, 300}));
}

TEST(BordiMagneticiTest, TheDraggedEdgeIsReadFromTheChangeAndOnlyItSnaps) {
    const WindowRect r{100, 100, 500, 400};
    // Every edge 8 to 12 px inside the work area's; only the dragged ones move onto it.
    const WindowRect proposto{10, 12, 1910, 1030};
    const struct {
        int lato;
        WindowRect dopo;    // r with that edge dragged
        WindowRect atteso;  // proposto sized by that edge
    } cases[] = {
        {kSinistro, {90, 100, 500, 400}, {0, 12, 1910, 1030}},
        {kDestro, {100, 100, 510, 400}, {10, 12, 1920, 1030}},
        {kAlto, {100, 90, 500, 400}, {10, 0, 1910, 1030}},
        {kAltoSinistro, {90, 90, 500, 400}, {0, 0, 1910, 1030}},
        {kAltoDestro, {100, 90, 510, 400}, {10, 0, 1920, 1030}},
        {kBasso, {100, 100, 500, 410}, {10, 12, 1910, 1040}},
        {kBassoSinistro, {90, 100, 500, 410}, {0, 12, 1910, 1040}},
        {kBassoDestro, {100, 100, 510, 410}, {10, 12, 1920, 1040}},
        {0, {120, 130, 520, 430}, proposto},  // a move
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LatoTrascinato(r, c.dopo), c.lato);
        EXPECT_EQ(Ridimensiona({proposto}, kArea, 0, proposto, c.lato, 20), c.atteso) << c.lato;
    }
    // To another window's far edge; a later window out of reach does not undo that snap.
    const std::vector<WindowRect> tre{
        {300, 300, 700, 700}, {0, 300, 290, 700}, {1500, 300, 1600, 700}};
    EXPECT_EQ(Ridimensiona(tre, kArea, 0, WindowRect{295, 300, 700, 700}, kSinistro, 20),
              (WindowRect{290, 300, 700, 700}));
}

TEST(BordiMagneticiTest, TheListRefusesDuplicatesAndForgetsRemovedParents) {
    WindowList e;
    // Braces evaluate in order: empty, added, the same twice, no window, two children, the
    // parent removed.
    EXPECT_EQ((std::vector<bool>{e.Rimuovi(1), e.Aggiungi(1, 0), e.Aggiungi(1, 0), e.Aggiungi(0, 0),
                                 e.Aggiungi(2, 1), e.Aggiungi(3, 1), e.Rimuovi(1)}),
              (std::vector<bool>{false, true, false, false, true, true, true}));
    ASSERT_EQ(e.voci().size(), 2u);
    EXPECT_EQ(e.voci()[0].hWnd, 2u);
    EXPECT_EQ(e.voci()[0].hWndParent + e.voci()[1].hWndParent, 0u);
}

}  // namespace
}  // namespace vorsa::magnetic
