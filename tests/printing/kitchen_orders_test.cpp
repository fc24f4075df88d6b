#include <gtest/gtest.h>

#include <algorithm>

#include "print_fixture.h"

namespace vorsa::test {
namespace {

const char* kComande =
    "[STAMPA]\r\nTKT-RITIRO=0\r\nRIEPILOGO0=0\r\n"
    "[COMANDA]\r\nNUMERO=3\r\n"
    "[COMANDA1]\r\nNOME=Cucina\r\nABILITATO=1\r\nSTAMPANTE=Cucina\r\nFORMATO=5\r\n"
    "PRODOTTI=101;102\r\nOPZ1=1\r\nOPZ2=1\r\n"
    "[COMANDA2]\r\nNOME=Bar\r\nABILITATO=1\r\nSTAMPANTE=Bar\r\nFORMATO=5\r\nPRODOTTI=201;101\r\n"
    "[COMANDA3]\r\nNOME=Griglia\r\nABILITATO=0\r\nSTAMPANTE=Cucina\r\nPRODOTTI=301\r\n";

struct Kitchen : Banco {
    Kitchen() : Banco(kComande, {"Stampante", "Cucina", "Bar"}) {
        cassa.clock.now = DateTime{2026, 12, 5, 18, 30, 0, 6};  // printed later than sold
    }
    /// The documents of one printer (kept until the next call).
    const std::vector<RecordedDocument>& On(const std::string& printer) {
        on.clear();
        for (const auto& doc : Docs())
            if (doc.printer == printer) on.push_back(doc);
        return on;
    }
    std::vector<RecordedDocument> on;
};

const std::string kComment = std::string(40, 'a') + std::string(40, 'b') + std::string(15, 'c');

TEST(KitchenOrders, OwnArticlesOnOwnPrinters) {
    Kitchen k;
    k.Vendi({{101, 2}, {201, 1}, {301, 1}}, 7, "12", kComment);
    const auto cucina = k.On("Cucina");
    const auto bar = k.On("Bar");  // copies: On() reuses its result
    ASSERT_EQ(cucina.size(), 1u);  // the disabled configuration on the same printer prints nothing
    ASSERT_EQ(bar.size(), 1u);
    EXPECT_EQ(cucina[0].pages[0].Texts(),
              (std::vector<std::string>{
                  "*** INIZIO COMANDA ***", "CUCINA", "sabato 05/12/2026 ore 18:30", "Scontrino: 7",
                  "Tavolo:    12", std::string(40, 'a'), std::string(40, 'b'), std::string(15, 'c'),
                  "Panino con salamella", "", "2", "*** FINE COMANDA ***"}));
    // Two configurations share article 101: both print it, each in the order of its list.
    EXPECT_EQ(bar[0].pages[0].Texts(),
              (std::vector<std::string>{
                  "*** INIZIO COMANDA ***", "BAR", "sabato 05/12/2026 ore 18:30", "Scontrino: 7",
                  "Acqua", "", "1", "Panino con salamella", "", "2", "*** FINE COMANDA ***"}));
    // The receipt shows the moment of the sale.
    const auto receipt = k.On("Stampante");
    ASSERT_EQ(receipt.size(), 1u);
    EXPECT_TRUE(receipt[0].pages[0].Has("Sabato 05/12/2026 - ore 16:01"));
}

TEST(KitchenOrders, NameAndCommentRowsOnAFormThatLivesOnlyWhileTheSheetPrints) {
    Kitchen k;
    k.till().cat.gArticoli[1].name = "Panino con salamella e cipolla";  // 30 characters
    k.Bill({{101, 1}}, 7, "", kComment);
    const int sleptBefore = k.cassa.sleeper.count;
    k.Commit();
    const RecordedPage& p = k.On("Cucina").at(0).pages.at(0);
    EXPECT_TRUE(p.Has("Panino con salamella e ci"));  // 25 characters
    EXPECT_TRUE(p.Has("polla"));                      // the other 5
    EXPECT_EQ(p.Find(std::string(15, 'c')).at(0).font.size, 9);
    EXPECT_FALSE(p.Has("Tavolo:    "));  // no table on this bill

    EXPECT_EQ(k.cassa.sleeper.count, sleptBefore + 1);
    EXPECT_EQ(k.cassa.sleeper.totalMs % 500, 0);
    const auto& log = k.backend.formLog;
    for (const char* step : {"add Cucina VORSA-COMANDA1 80000x500000",
                             "select Cucina VORSA-COMANDA1", "delete Cucina VORSA-COMANDA1"})
        EXPECT_NE(std::find(log.begin(), log.end(), step), log.end()) << step;
    EXPECT_TRUE(k.backend.forms.Forms("Cucina").empty());
}

/// The bottom of the lowest text of a page, and the page's length, in twips.
std::pair<int, int> BottomAndLength(const RecordedPage& p) {
    int bottom = 0;
    for (const auto& c : p.Of(PrintCall::Kind::Text))
        bottom = std::max(bottom, c.y + H(c.font.size));
    return {bottom, static_cast<int>(p.size.length * 1440.0 / 25400.0)};
}

TEST(KitchenOrders, ComputedLengthHoldsTheSheetAndTheReprintIsOneSheetMarkedAsACopy) {
    for (int mode = 0; mode <= 3; ++mode) {
        Kitchen k;
        k.opt().gComande[1].calcolaCarta = mode;
        k.opt().gComande[1].margini = {5, 5, 0, 0};
        k.Vendi({{101, 2}, {201, 1}}, 7);
        if (mode > 0) {
            const RecordedPage& p = k.On("Bar").at(0).pages.at(0);
            EXPECT_LT(p.size.length, 150000) << mode;  // not the nominal 500 mm
            const auto [bottom, length] = BottomAndLength(p);
            EXPECT_LE(bottom + 283, length) << mode;  // the bottom margin kept
        }
        const std::size_t before = k.Docs().size();
        ASSERT_TRUE(k.printer().RistampaComanda(2));
        ASSERT_EQ(k.Docs().size(), before + 1) << mode;
        const RecordedDocument& d = k.Docs().back();
        EXPECT_EQ(d.printer, "Bar");
        ASSERT_EQ(d.pages.size(), 1u);
        const auto t = d.pages[0].Texts();
        EXPECT_EQ(std::count(t.begin(), t.end(), "*** COPIA ***"), 1) << mode;
        EXPECT_NE(std::find(t.begin(), t.end(), "Acqua"), t.end()) << mode;
        EXPECT_EQ(t.back(), "*** FINE COMANDA ***");
        const auto [bottom, length] = BottomAndLength(d.pages[0]);
        EXPECT_LE(bottom, length) << mode;
        k.Commit();
        EXPECT_FALSE(k.Docs().back().pages[0].Has("*** COPIA ***"));
    }
}

TEST(KitchenOrders, NoSheetNorReprintWithoutOwnArticlesOrSwitchedOff) {
    Kitchen k;
    k.Vendi({{202, 1}, {301, 2}}, 7);
    EXPECT_TRUE(k.On("Cucina").empty());
    EXPECT_TRUE(k.On("Bar").empty());
    EXPECT_EQ(k.On("Stampante").size(), 1u);
    // Nor a reprint of an order without articles of the bill, nor of an unknown one.
    for (int n : {1, 2, 9}) EXPECT_FALSE(k.printer().RistampaComanda(n)) << n;
    EXPECT_EQ(k.Docs().size(), 1u);
    // Nor of an order switched off, whose articles the bill has.
    k.opt().gComande[1].abilitato = false;
    k.Vendi({{101, 1}, {201, 1}}, 8);
    EXPECT_TRUE(k.On("Bar").empty());
    EXPECT_FALSE(k.printer().RistampaComanda(2));
}

}  // namespace
}  // namespace vorsa::test
