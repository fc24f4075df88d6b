// The main window's layout for its size: minimum size, narrow and wide right panel, controls
// anchored to the panel's edge and to the bottom.
#include "layout/window_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace vorsa {
namespace {

struct PannelloCase {
    const char* name;
    int w, h;
    int larghezza, altezza;
    bool largo;
    int pannello, lista, commento, font, valori;
};

class PannelloTest : public ::testing::TestWithParam<PannelloCase> {};

TEST_P(PannelloTest, PanelBySize) {
    const PannelloCase& c = GetParam();
    const LayoutFinestra l = CalcolaLayoutFinestra(c.w, c.h);
    EXPECT_EQ(l.larghezza, c.larghezza);
    EXPECT_EQ(l.altezza, c.altezza);
    EXPECT_EQ(l.largo, c.largo);
    EXPECT_EQ(l.pannello, c.pannello);
    EXPECT_EQ(l.lstSpesa.width, c.lista);
    EXPECT_EQ(l.txtCommento.width, c.commento);
    EXPECT_EQ(l.fontPt, c.font);
    for (const RettangoloTwips& r : {l.lblTotale, l.lblResto, l.boxPagato, l.boxCodice})
        EXPECT_EQ(r.width, c.valori);
    EXPECT_EQ(l.pagamento.left, c.pannello - 7750);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PannelloTest,
    ::testing::Values(
        PannelloCase{"Minimum", 15380, 8290, 15380, 8290, false, 7860, 7250, 4485, 26, 1755},
        PannelloCase{"NarrowedSnapsBack", 10000, 5000, 15380, 8290, false, 7860, 7250, 4485, 26,
                     1755},
        PannelloCase{"LastNarrow", 16400, 9000, 16400, 9000, false, 8880, 7250, 4485, 26, 1755},
        PannelloCase{"FirstWide", 16401, 9000, 16401, 9000, true, 7901, 8200, 5465, 28, 2350},
        PannelloCase{"FullScreen", 28800, 16200, 28800, 16200, true, 20300, 8200, 5465, 28, 2350}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(LayoutFinestra, TopsFromTheBottom) {
    for (int h : {8290, 9000, 16200}) {
        const LayoutFinestra l = CalcolaLayoutFinestra(15380, h);
        const std::array<int, 8> fromBottom{0, 3750, 3270, 2790, 2310, 1770, 1350, 930};
        for (std::size_t n = 1; n <= 7; ++n) {
            EXPECT_EQ(l.cmdAzioni[n].top, h - fromBottom[n]) << "cmd_azioni " << n;
            EXPECT_EQ(l.lblAzioniCode[n].top, h - fromBottom[n]) << "lbl_azioni_code " << n;
        }
        EXPECT_EQ(l.boxCodice.top, h - 1360);
        EXPECT_EQ(l.confCode.top, h - 1170);
        // The list takes what is left above the table row.
        EXPECT_EQ(l.lstSpesa.top, 120);
        EXPECT_EQ(l.lstSpesa.top + l.lstSpesa.height + 120, l.txtCommento.top);
    }
}

TEST(LayoutFinestra, ControlsKeepTheirOffsetFromThePanel) {
    const LayoutFinestra a = CalcolaLayoutFinestra(15380, 8290);
    const LayoutFinestra b = CalcolaLayoutFinestra(16400, 8290);
    for (auto member :
         {&LayoutFinestra::lstSpesa, &LayoutFinestra::boxCodice, &LayoutFinestra::txtCommento,
          &LayoutFinestra::confCode, &LayoutFinestra::pagamento}) {
        EXPECT_EQ((a.*member).left - a.pannello, (b.*member).left - b.pannello);
    }
}

constexpr std::size_t kPrimoTasto = 18;  // index of cmd_azioni(1) in PanelRects

std::vector<RettangoloTwips> PanelRects(const LayoutFinestra& l) {
    std::vector<RettangoloTwips> v{
        l.lstSpesa,         l.lblTavolo,        l.txtTavolo,          l.lblCommento,
        l.txtCommento,      l.lblUltimoCaption, l.lblUltimoScontrino, l.lblTotale,
        l.lblPagatoCaption, l.boxPagato,        l.lblRestoCaption,    l.lblResto,
        l.boxCodice,        l.confCode,         l.chkStampa,          l.info[2],
        l.info[3],          l.info[4]};
    for (std::size_t n = 1; n <= 7; ++n) {
        v.push_back(l.cmdAzioni[n]);
        v.push_back(l.lblAzioniCode[n]);
    }
    return v;
}

bool Overlap(const RettangoloTwips& a, const RettangoloTwips& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

TEST(LayoutFinestra, PanelFitsAndNothingOverlaps) {
    for (int w : {15380, 16400, 16401, 28800}) {
        const LayoutFinestra l = CalcolaLayoutFinestra(w, 8290);
        const std::vector<RettangoloTwips> v = PanelRects(l);
        for (std::size_t i = 0; i < v.size(); ++i) {
            EXPECT_GE(v[i].left, l.pannello) << "control " << i << " at width " << w;
            EXPECT_LE(v[i].left + v[i].width, l.larghezza) << "control " << i << " at width " << w;
            EXPECT_LE(v[i].top + v[i].height, l.altezza) << "control " << i;
            for (std::size_t j = i + 1; j < v.size(); ++j) {
                // F5..F7 sit 420 twips apart with the keys' 435: neighbours touch by 15.
                const bool neighbourKeys = i >= kPrimoTasto + 8 && j == i + 2;
                if (!neighbourKeys) {
                    EXPECT_FALSE(Overlap(v[i], v[j])) << i << " and " << j << " at width " << w;
                }
            }
        }
        // The payment frame lies over the button area, left of the panel.
        EXPECT_LE(l.pagamento.left + l.pagamento.width, l.pannello);
        EXPECT_GE(l.pagamento.left, 0);
    }
}

struct AdattaCase {
    const char* name;
    int top, needed, screen;
    bool normale;
    bool inAlto, altezza;
};

class AdattaTest : public ::testing::TestWithParam<AdattaCase> {};

TEST_P(AdattaTest, MoveAndHeight) {
    const AdattaCase& c = GetParam();
    const AdattamentoFinestra a = AdattaFinestra(c.top, c.needed, c.screen, c.normale);
    EXPECT_EQ(a.spostaInAlto, c.inAlto);
    EXPECT_EQ(a.impostaAltezza, c.altezza);
    EXPECT_EQ(a.altezza, c.needed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AdattaTest,
    ::testing::Values(AdattaCase{"Fits", 1500, 8290, 16200, true, false, true},
                      AdattaCase{"ExactlyFits", 7910, 8290, 16200, true, false, true},
                      AdattaCase{"TooLowMovesUp", 7911, 8290, 16200, true, true, true},
                      AdattaCase{"MaximisedKeepsHeight", 0, 16200, 16200, false, false, false}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace vorsa
