// The statistics printout on the recording back end: what lands on the page.
#include <gtest/gtest.h>

#include <algorithm>

#include "print_fixture.h"
#include "printing/stampa_statistiche.h"

namespace vorsa {
namespace {

using test::Banco;

const StatisticsTexts kTesti{"05/12/2026", "15:58", "1.234,50", "12", "1"};

std::vector<std::string> Stampa(Banco& b, const StatisticsTexts& t = kTesti) {
    StampaStatistiche s(b.printer().Layout());
    s.Stampa(t);
    const auto& docs = b.Docs();
    if (docs.size() != 1 || docs[0].pages.size() != 1) return {"(not one page)"};
    return docs[0].pages[0].Texts();
}

int Line(const std::vector<std::string>& t, const std::string& s) {
    const auto it = std::find(t.begin(), t.end(), s);
    return it == t.end() ? -1 : static_cast<int>(it - t.begin());
}

TEST(StampaStatisticheTest, ArticleBlockOfFifteenPiecesAtTwoFifty) {
    Banco b("[STATISTICHE]\r\nCOMMENTO=Sagra d'estate\r\n");
    Article& a = b.cassa.Art(102);  // Patatine at 2,50
    a.soldQuantity = 15;
    a.soldAmount = *ParseCurrency("37,5");
    const auto t = Stampa(b);
    const auto nome = std::find(t.begin(), t.end(), "Patatine");
    ASSERT_LE(nome + 4, t.end()) << ::testing::PrintToString(t);
    EXPECT_EQ(std::vector<std::string>(nome + 1, nome + 4),
              (std::vector<std::string>{"  Prezzo unitario:    2,50 \x80",
                                        "  Quantit\xE0 totale:      15 pz",
                                        "  Incasso totale:    37,50 \x80"}));
    for (const char* r : {"Sagra d'estate", "Ultimo: 05/12/2026 ore 15:58",
                          "Incasso totale:    1.234,50 \x80",  // 8 characters stay whole
                          "Scontrini battuti:      12", "  di cui stornati:       1"})
        EXPECT_GE(Line(t, r), 0) << r;
    EXPECT_EQ(t.back(), "*** FINE REPORT ***");
    // One rule above each article block.
    EXPECT_EQ(b.Docs()[0].pages[0].Of(PrintCall::Kind::Line).size(), 1u);
}

TEST(StampaStatisticheTest, NoSoldArticleAndNoTitleThenAVariablePriceAndALongName) {
    Banco b;
    auto t = Stampa(b);
    const int titolo = Line(t, "STATISTICHE VENDUTO");
    ASSERT_GE(titolo, 0) << ::testing::PrintToString(t);
    // Heading, date, the last sale, three totals and the end: nothing else after the title.
    ASSERT_EQ(t.size() - static_cast<std::size_t>(titolo), 7u) << ::testing::PrintToString(t);
    EXPECT_EQ(t[static_cast<std::size_t>(titolo + 1)], "sabato 05/12/2026 ore 16:01");
    EXPECT_EQ(t[static_cast<std::size_t>(titolo + 2)], "Ultimo: 05/12/2026 ore 15:58");

    b.backend.Clear();
    Article& a = b.cassa.Art(103);  // Piatto del giorno, variable price outside a bill
    a.price = Currency::FromUnits(-1);
    a.variablePrice = true;
    a.name = "Piatto del giorno con contorno di verdure grigliate e patate al forno";
    a.soldQuantity = 1;
    a.soldAmount = Currency::FromUnits(12);
    t = Stampa(b);
    EXPECT_GE(Line(t, "  Prezzo unitario:   -1,00 \x80"), 0) << ::testing::PrintToString(t);
    // The name is printed whole over its rows.
    std::string righe, atteso;
    for (const std::string& r : t)
        for (char c : r)
            if (c != ' ' && c != '_') righe += c;
    for (char c : a.name)
        if (c != ' ') atteso += c;
    EXPECT_NE(righe.find(atteso), std::string::npos) << ::testing::PrintToString(t);
}

TEST(StampaStatisticheTest, NothingWithoutAPrinter) {
    Banco b("", {});
    StampaStatistiche s(b.printer().Layout());
    s.Stampa(kTesti);
    EXPECT_TRUE(b.Docs().empty());
}

}  // namespace
}  // namespace vorsa
