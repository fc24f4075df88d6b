// The menu board on A4: what is listed, prices flush with the right margin, long names kept
// clear of their prices in one type size, page breaks.
#include <gtest/gtest.h>

#include <algorithm>

#include "printing/menu_board.h"
#include "support/recording_backend.h"

namespace vorsa {
namespace {

constexpr int kA4 = 11906;  // twips
constexpr int kA4Alto = 16838;
constexpr int kMargine = 1134;

Catalogue Menu(const std::vector<std::vector<Article>>& sezioni) {
    Catalogue c;
    c.gArticoli.assign(1, Article{});
    for (std::size_t s = 0; s < 3; ++s) {
        const auto& righe = s < sezioni.size() ? sezioni[s] : std::vector<Article>{};
        c.sezioni[s].size = static_cast<std::int16_t>(std::max<std::size_t>(righe.size(), 1));
        for (std::size_t k = 0; k < static_cast<std::size_t>(c.sezioni[s].size); ++k)
            c.gArticoli.push_back(k < righe.size() ? righe[k] : Article{});
    }
    c.gNumeroArticoli = static_cast<int>(c.gArticoli.size()) - 1;
    return c;
}

Article A(const std::string& name, long long raw, bool active = true) {
    Article a;
    a.name = name;
    a.price = Currency::FromRaw(raw);
    a.variablePrice = raw == -10000;
    a.active = active;
    return a;
}

TEST(MenuBoardTest, ListsActiveArticlesUnderTheirSectionsWithAlignedPrices) {
    RecordingBackend b;
    const Catalogue c = Menu({{A("Panino", 23000), A("Spento", 10000, false), A("", 0)},
                              {A("Acqua", 10000), A("Pesce", -10000)},
                              {}});
    EXPECT_EQ(StampaTabellone(c, b), 3);
    const auto docs = b.Documents();
    ASSERT_EQ(docs.size(), 1u);
    ASSERT_EQ(docs[0].pages.size(), 1u);
    const RecordedPage& p = docs[0].pages[0];
    EXPECT_EQ(p.Texts(), (std::vector<std::string>{"Men\xF9 del giorno", "MANGIARE", "\x80 2,30",
                                                   "Panino", "BERE", "\x80 1,00", "Acqua",
                                                   "prezzo alla cassa", "Pesce"}));
    // Each price on its name's line.
    const std::pair<const char*, std::string> righe[] = {
        {"Panino", "\x80 2,30"}, {"Acqua", "\x80 1,00"}, {"Pesce", "prezzo alla cassa"}};
    for (const auto& [nome, prezzo] : righe)
        EXPECT_EQ(p.Find(prezzo).at(0).y, p.Find(nome).at(0).y) << prezzo;
}

TEST(MenuBoardTest, LongNamesWrapAndLongListsGoOnNewPages) {
    RecordingBackend b;
    std::vector<Article> molti;
    for (int k = 1; k <= 80; ++k)
        molti.push_back(A(k == 1   ? "Grigliata mista con verdure, patate e salse varie"
                          : k == 2 ? std::string(50, 'N')
                                   : "Articolo " + std::to_string(k),
                          150000));
    EXPECT_EQ(StampaTabellone(Menu({molti}), b), 80);
    const auto docs = b.Documents();
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_GE(docs[0].pages.size(), 3u);
    // Inside the margins; names in the board's one size and clear of their prices.
    const int prezzoX = docs[0].pages[0].Find("\x80 15,00").at(0).x;
    for (const auto& page : docs[0].pages) {
        for (const auto& t : page.Of(PrintCall::Kind::Text)) {
            const int right = t.x + static_cast<int>(t.text.size()) * t.font.size * 12;
            EXPECT_GE(t.y, kMargine);
            EXPECT_LE(t.y + t.font.size * 20 * 11328 / 10000, kA4Alto - kMargine) << t.text;
            EXPECT_LE(right, kA4 - kMargine) << t.text;
            if (t.font.bold) continue;
            EXPECT_EQ(t.font.size, 18) << t.text;
            if (t.x < prezzoX) {
                EXPECT_LE(right + 567, prezzoX) << t.text;
            }
        }
    }
    // Long names wrap, between words where they can.
    const std::vector<std::string> testi = docs[0].pages[0].Texts();
    const auto i = std::find(testi.begin(), testi.end(), "Grigliata mista con verdure,");
    ASSERT_LE(i + 5, testi.end());
    EXPECT_EQ(*(i - 1), "\x80 15,00");  // the price first, on the name's first line
    EXPECT_EQ(*(i + 1), "patate e salse varie");
    EXPECT_EQ(*(i + 3) + *(i + 4), std::string(50, 'N'));
}

TEST(MenuBoardTest, AnEmptyCatalogueSaysSo) {
    RecordingBackend b;
    EXPECT_EQ(StampaTabellone(Menu({}), b), 0);
    const auto docs = b.Documents();
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_TRUE(docs[0].pages.at(0).Has("*** Non ci sono articoli ***"));
}

}  // namespace
}  // namespace vorsa
