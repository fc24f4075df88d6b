// The main window's layout for its size: minimum size, narrow and wide right panel, controls
// anchored to the panel's edge and to the bottom; the explanations behind lbl_info(i).
#include "layout/window_layout.h"

#include "layout/info_texts.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace vorsa {
namespace {

TEST(WindowLayout, PanelBySize) {
    // Up to 16400 the narrow panel, from 16401 the wide one; never below the minimum size.
    const struct {
        int w, h;
        int larghezza, altezza;
        bool largo;
        int pannello;
    } cases[] = {
        {10000, 5000, 15380, 8290, false, 7860},
        {16400, 9000, 16400, 9000, false, 8880},
        {16401, 9000, 16401, 9000, true, 7901},
        {28800, 16200, 28800, 16200, true, 20300},
    };
    for (const auto& c : cases) {
        const WindowLayout l = CalcolaLayoutFinestra(c.w, c.h);
        EXPECT_EQ((std::vector<int>{l.larghezza, l.altezza, l.largo, l.pannello}),
                  (std::vector<int>{c.larghezza, c.altezza, c.largo, c.pannello}))
            << c.w << "x" << c.h;
    }
}

TEST(WindowLayout, ControlsKeepTheirOffsetsFromTheBottom) {
    const WindowLayout a = CalcolaLayoutFinestra(15380, 8290);
    // Taller, the keys and the code box move down by as much; the list takes what is left
    // above the table row.
    for (int h : {9000, 16200}) {
        const WindowLayout t = CalcolaLayoutFinestra(15380, h);
        for (std::size_t n = 1; n <= 7; ++n) {
            EXPECT_EQ(t.cmdAzioni[n].top - a.cmdAzioni[n].top, h - 8290) << n;
            EXPECT_EQ(t.lblAzioniCode[n].top - a.lblAzioniCode[n].top, h - 8290) << n;
        }
        EXPECT_EQ(t.boxCodice.top - a.boxCodice.top, h - 8290);
        EXPECT_EQ(t.confCode.top - a.confCode.top, h - 8290);
        EXPECT_EQ(t.lstSpesa.top, a.lstSpesa.top);
        EXPECT_EQ(t.lstSpesa.top + t.lstSpesa.height + 120, t.txtCommento.top);
    }
}

constexpr std::size_t kPrimoTasto = 18;  // index of cmd_azioni(1) in PanelRects

std::vector<TwipsRect> PanelRects(const WindowLayout& l) {
    std::vector<TwipsRect> v{
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

bool Overlap(const TwipsRect& a, const TwipsRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

TEST(WindowLayout, PanelFitsAndNothingOverlaps) {
    for (int w : {15380, 16400, 16401, 28800}) {
        const WindowLayout l = CalcolaLayoutFinestra(w, 8290);
        const std::vector<TwipsRect> v = PanelRects(l);
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

TEST(TestoInfo, OnlyTheLabelsThatExistHaveTextAndThePasswordLabelsNameTheFile) {
    for (int i : kIndiciInfo) EXPECT_FALSE(TestoInfo(i, "f").empty()) << i;
    for (int i : {-1, 7, 10}) EXPECT_EQ(TestoInfo(i, "f"), "") << i;
    EXPECT_EQ(TestoInfo(9, "C:\\x\\~abc"), TestoInfo(8, "C:\\x\\~abc"));
    EXPECT_NE(TestoInfo(9, "a"), TestoInfo(9, "b"));
    EXPECT_TRUE(TestoInfo(8, "/tmp/~xpwd").ends_with("qui: /tmp/~xpwd"));
}

}  // namespace
}  // namespace vorsa
