#include <gtest/gtest.h>

#include <tuple>

#include "print_fixture.h"

namespace vorsa::test {
namespace {

// A POS 80 mm receipt: printable width 4536 twips, no margins; sizes name 12, title 11,
// price 8, text 10, quantity 25, total 11; the quantity column is 750 twips wide.
constexpr int kW = 4536;
// Settings read first win: tests change these through the options instead.
const char* kPos80 = "[STAMPA]\r\nFORMATO=2\r\n";

/// A POS 80 till printing only receipts (no summary, tickets or barcodes) unless asked.
struct Pos80 : Banco {
    explicit Pos80(const std::string& ini = "") : Banco(std::string(kPos80) + ini) {
        opt().gTicketRitiro = false;
        opt().gRiepilogo[0] = false;
        opt().gTicketRitiroBarre = false;
    }
    const RecordedPage& Page() { return Docs().at(0).pages.at(0); }
};

using Row = std::tuple<std::string, int, int, int>;  // text, x, y, size

std::vector<Row> Rows(const RecordedPage& p) {
    std::vector<Row> r;
    for (const PrintCall& c : p.Of(PrintCall::Kind::Text))
        r.emplace_back(c.text, c.x, c.y, c.font.size);
    return r;
}

std::vector<int> Box(const PrintCall& c) {
    return {c.x, c.y, c.w, c.h};
}

TEST(ReceiptLayout, Pos80ReceiptLandsWhereTheLayoutPutsIt) {
    Pos80 b("TITOLO=Sagra\r\nTITOLO2=di Vorsa\r\nPIEDE=Grazie\r\n");
    b.opt().gTicketRitiroBarre = true;
    b.Vendi({{101, 2}, {201, 3}}, 1234, "12", "senza cipolla");
    ASSERT_EQ(b.Docs().size(), 1u);
    const RecordedPage& p = b.Page();
    // Twips on the 4536-wide, 28346-long roll; the footer sits at the bottom of the page.
    const std::string num = "Scontrino: 1.234 - ";
    EXPECT_EQ(Rows(p), (std::vector<Row>{
                           {"Sagra", 1938, 0, 11},
                           {"di Vorsa", 1740, 349, 11},
                           {"Sabato 05/12/2026 - ore 16:01", 528, 748, 10},
                           {num, 460, 1125, 10},
                           {"Panino con salamella", 0, 1729, 12},
                           {"2", 4236, 1729, 25},
                           {"\x80 3,50", 3960, 2250, 8},
                           {"Acqua", 0, 2531, 12},
                           {"3", 4236, 2531, 25},
                           {"\x80 1,00", 3960, 3052, 8},
                           {"Qt\xE0", 3981, 1402, 10},
                           {"Pezzi: nr. 5  -  Importo: \x80 10,00", 0, 3333, 11},
                           {"Tavolo: 12", 0, 3682, 12},
                           {"senza cipolla", 0, 4004, 12},
                           {num, 460, 27720, 10},
                           {"Grazie", 1872, 28097, 11},
                       }));
    EXPECT_FALSE(p.Find("Panino con salamella")[0].font.underline);
}

TEST(ReceiptLayout, MarginsMoveLeftAndRightTexts) {
    // 10 mm left and 5 mm right: 567 and 283 twips on a device without unprintable strips.
    Pos80 b("MARGINE0=2\r\nMARGINE2=10\r\nMARGINE3=5\r\n");
    b.Vendi({{102, 1}}, 3, "4");
    const RecordedPage& p = b.Page();
    EXPECT_EQ(p.Find("Patatine").at(0).x, 567);
    EXPECT_EQ(p.Find("Sabato 05/12/2026 - ore 16:01").at(0).y, 113 + 150);  // top margin 2 mm
    const auto lines = p.Of(PrintCall::Kind::Line);
    EXPECT_EQ((std::vector<int>{lines.at(0).x, lines[0].x2, lines.at(1).x}),
              (std::vector<int>{567, kW - 283, kW - 750 - 283}));
}

TEST(ReceiptLayout, NameSplitting) {
    const struct {
        const char* name;
        int chars;
        const char* first;
        const char* second;
    } cases[] = {
        {"PANINO CON SALSICCIA", 10, "PANINO CON", " SALSICCIA"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXY", 10, "ABCDEFGHI_", "_JKLMNOPQRSTUVWXY"},
        {"ABCDEFGHIJ", 10, "ABCDEFGHIJ", ""},
        // a blank in the last five positions of the first row
        {"PANINO GRANDE CON TUTTO", 10, "PANINO", " GRANDE CON TUTTO"},
        // the blank too early and the rest too long: hard split
        {"AB CDEFGHIJKLMNOPQ", 10, "AB CDEFGH_", "_IJKLMNOPQ"},
        // no room at all still splits without losing the name's start
        {"ABC", 0, "_", "_ABC"},
    };
    for (const auto& c : cases) {
        const NameRows r = SplitName(c.name, c.chars);
        EXPECT_EQ(std::tie(r.first, r.second), std::make_tuple(c.first, c.second)) << c.name;
        EXPECT_EQ(r.twoRows, std::string(c.second) != "") << c.name;
    }
}

TEST(ReceiptLayout, LongSecondRowIsCutShrunkOrWrapped) {
    // A 4 cm custom roll: 2268 twips, nameSize 8 ("X" 96 twips), nameChars (2268 - 500) / 96
    // = 18. A name without blanks splits hard into 17 letters + "_" and "_" + the rest.
    const std::string abc = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string n50 = (abc + abc).substr(0, 50);
    const struct {
        std::string name;
        bool riduci;
        std::vector<std::string> rows;  // after the first
        int size;                       // of the second row
    } cases[] = {
        // Off: cut to nameChars, whatever the length.
        {n50, false, {"_" + n50.substr(17, 17)}, 8},
        // On: a row of 20 is shrunk until narrower than 18 "X" at 8 pt (1728 twips): 1680 at 7.
        {n50.substr(0, 36), true, {"_" + n50.substr(17, 19)}, 7},
        // 34 characters would need 4 pt: below 6 pt it wraps at the name size instead.
        {n50, true, {"_" + n50.substr(17, 17), n50.substr(34)}, 8},
    };
    for (const auto& c : cases) {
        Pos80 b;
        b.opt().gFormato = 4;
        b.opt().posWidth = "4";
        b.opt().gRiduciCarattereRiga = c.riduci;
        b.till().cat.gArticoli[1].name = c.name;
        b.Vendi({{101, 1}});
        ASSERT_EQ(b.printer().Setup().profile.nameChars, 18);
        EXPECT_TRUE(b.Page().Has(c.name.substr(0, 17) + "_"));
        for (std::size_t i = 0; i < c.rows.size(); ++i)
            EXPECT_EQ(b.Page().Find(c.rows[i]).at(0).font.size, i == 0 ? c.size : 8) << c.rows[i];
    }
}

TEST(ReceiptLayout, FittingShrinksToSixPointsThenWraps) {
    const std::string total = "Pezzi: nr. 103  -  Importo: \x80 1.388,50";
    const struct {
        std::string text;
        int size, width;
        int fitted;                     // size the rows get
        std::vector<std::string> rows;  // empty: the text on one row
    } cases[] = {
        // Fits: untouched.
        {"Sagra di Vorsa", 12, 3000, 12, {}},
        // Shrinks while one row fits: 14 characters in 1800 twips need 10 pt.
        {"Sagra di Vorsa", 12, 1800, 10, {}},
        // Not even at 6 pt: split after the " - ", the amount whole, at the largest size.
        {total, 11, 2268, 9, {"Pezzi: nr. 103", "Importo: \x80 1.388,50"}},
        // The euro sign is not left at the end or the start of a row.
        {"Totale merce: 1.388,50 \x80", 7, 1500, 7, {"Totale merce:", "1.388,50 \x80"}},
        {"Nr. 1 Acqua (\x80 1,00)", 7, 1000, 7, {"Nr. 1 Acqua", "(\x80 1,00)"}},
        // A word longer than a row at 6 pt is the only thing ever cut.
        {std::string(30, 'A'), 8, 1440, 6, {std::string(20, 'A'), std::string(10, 'A')}},
        // Below 6 pt a computed size is raised to it.
        {"Tavolo: 12", 4, 3000, 6, {}},
    };
    Banco b;
    for (const auto& c : cases) {
        const FittedText f = b.printer().Layout().Fit(c.text, c.size, c.width);
        EXPECT_EQ(f.size, c.fitted) << c.text;
        EXPECT_EQ(f.rows, c.rows.empty() ? std::vector<std::string>{c.text} : c.rows) << c.text;
        for (const std::string& r : f.rows)
            EXPECT_LE(static_cast<int>(r.size()) * CW(f.size), c.width) << r;
    }
}

TEST(ReceiptLayout, PricesAndQuantities) {
    // Up to 99,99 a blank after the euro sign; from 99 the wider text without it.
    const std::string e = "\x80";
    const std::pair<const char*, std::string> cases[] = {
        {"1234,5", e + "1.234,50"}, {"98,99", e + " 98,99"}, {"99", e + "99,00"}};
    for (const auto& [price, text] : cases) {
        Pos80 b;
        b.till().cat.gArticoli[2].price = *ParseCurrency(price);
        b.Vendi({{102, 3}});
        EXPECT_EQ(b.Page().Find(text).at(0).x, kW - CW(8) * static_cast<int>(text.size()));
        EXPECT_TRUE(b.Page().Has("3"));  // quantity of the line
    }
    // Without prices no price row: the euro sign is left only in the total line.
    Pos80 off("PREZZI=0\r\n");
    off.Vendi({{102, 3}});
    for (const auto& t : off.Page().Texts())
        EXPECT_TRUE(t.starts_with("Pezzi") || t.find('\x80') == std::string::npos) << t;
    EXPECT_TRUE(off.Page().Has("Pezzi: nr. 3  -  Importo: \x80 7,50"));
}

TEST(ReceiptLayout, TitlesAndNumberRow) {
    const std::string d = "Sabato 05/12/2026 - ore 16:01";
    const struct {
        const char* ini;
        bool copy;
        std::vector<std::string> texts;  // the texts above the first article
    } cases[] = {
        {"TITOLO=Uno\r\nTITOLO2=Due\r\n", false, {"Uno", "Due", d, "Scontrino: 7"}},
        {"TITOLO=\r\nTITOLO2=Due\r\n", false, {d, "Scontrino: 7"}},
        {"PROGRESSIVO=1\r\n", true, {d, "COPIA - Scontrino: 7"}},
        {"PROGRESSIVO=0\r\n", true, {d, "COPIA"}},
        {"PROGRESSIVO=0\r\n", false, {d}},
        {"SCONTRINI_DATAORA=0\r\n", false, {"Scontrino: 7"}},
        {"\r\n[PROGRAMMA]\r\nNOME_VORSA=b2\r\n", false, {d, "Scontrino: B27"}},
    };
    for (const auto& c : cases) {
        Pos80 b(std::string("PIEDE=\r\nPROGRESSIVO_PIEDE=0\r\n") + c.ini);
        b.Bill({{102, 1}}, 7);
        b.till().conto.ultimoConto.gRistampaFatta = c.copy;
        b.printer().Modes().SetList(BuildPrintList(b.till().conto.ultimoConto, b.till().cat));
        b.printer().Modes().PrintReceipts();
        std::vector<std::string> head;
        for (const auto& t : b.Page().Texts()) {
            if (t == "Patatine") break;
            if (t != "Qt\xE0") head.push_back(t);
        }
        EXPECT_EQ(head, c.texts) << c.ini;
    }
}

TEST(ReceiptLayout, CommentSplitting) {
    const std::string w60 = "aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk llll";
    const std::string c95 =
        "uno due tre quattro cinque sei sette otto nove dieci undici dodici tredici quattordici "
        "quindici";
    const struct {
        std::string comment;
        int chars;
        std::vector<std::string> rows;
    } cases[] = {
        // 50 wide: the last blank among the first 51 characters, never before 41
        {w60, 50, {w60.substr(0, 49), w60.substr(50)}},
        {"x" + std::string(59, 'y'), 50, {"x" + std::string(39, 'y'), std::string(20, 'y')}},
        // 30 wide: a row of 40 would run off the page, so the cut is where it fits
        {w60, 30, {w60.substr(0, 29), w60.substr(30, 29)}},
        // 40 wide: rows are never cut before position 41, and a letter at the cut is kept
        {c95, 40, {c95.substr(0, 40), c95.substr(40, 40), c95.substr(80)}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitComment(c.comment, c.chars), c.rows) << c.comment << " / " << c.chars;

    // On the receipt: 31 characters of 12 pt fit; 3 x 31 < 95 + 12, so the size fits
    // (95 + 12) / 3 = 35 characters: 10 pt (4200 < 4536), 37 characters a row, none lost.
    Pos80 b;
    b.Vendi({{102, 1}}, 7, "", std::string(95, 'c'));
    std::vector<std::pair<std::string, int>> got;
    for (const auto& [t, x, y, size] : Rows(b.Page()))
        if (t[0] == 'c') got.emplace_back(t, size);
    EXPECT_EQ(got, (std::vector<std::pair<std::string, int>>{{std::string(37, 'c'), 10},
                                                             {std::string(37, 'c'), 10},
                                                             {std::string(21, 'c'), 10}}));
}

TEST(ReceiptLayout, SheetOverflowContinuesOnANewPageWithTheHeader) {
    // A7 is 105 mm long: twelve lines do not fit one page.
    Pos80 b("TITOLO=Sagra\r\n");
    b.opt().gFormato = 6;
    b.Vendi({{101, 1}, {102, 1}, {104, 1}, {201, 1}, {202, 1}, {301, 1}}, 7);
    ASSERT_EQ(b.Docs().size(), 1u);
    const auto pages = b.Docs()[0].pages;
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(pages[0].Has("*"));       // the continuation mark
    EXPECT_TRUE(pages[0].Has("Qt\xE0"));  // the column is closed on each page
    EXPECT_FALSE(pages[0].Has("Grazie"));
    int items = 0;
    for (const auto& p : pages) {
        EXPECT_TRUE(p.Has("Sagra") && p.Has("Scontrino: 7"));
        for (const char* n :
             {"Panino con salamella", "Patatine", "Costine", "Acqua", "Birra", "Gadget"})
            items += p.Has(n) ? 1 : 0;
        // Nothing printed below the page: the bottom of the last text is inside it.
        for (const auto& [t, x, y, size] : Rows(p)) EXPECT_LE(y + H(size), 5953) << t;
    }
    EXPECT_EQ(items, 6);  // every article once, and the footer number only on the last page
    EXPECT_EQ(pages[1].Find("Scontrino: 7").size(), 2u);
}

TEST(ReceiptLayout, PicturesScaledAndCentred) {
    Pos80 b("TITOLO=Sagra\r\nPIEDE=Grazie\r\n");
    for (const char* f : {"/p/logo.jpg", "/p/piede.gif"}) {
        b.files.ReplaceAll(f, "x");
        b.backend.loadablePictures.insert(f);
    }
    b.opt().headerImages[0] = HeaderImage{"/p/logo.jpg", 1000, 2000, 50};
    b.opt().headerImages[1] = HeaderImage{"/p/piede.gif", 600, 1200, 100};
    b.Vendi({{102, 1}});
    const RecordedPage& p = b.Page();
    const auto pics = p.Of(PrintCall::Kind::Picture);
    ASSERT_EQ(pics.size(), 2u);
    EXPECT_EQ(Box(pics[0]), (std::vector<int>{1768, 0, 1000, 500}));
    EXPECT_EQ(Box(pics[1]), (std::vector<int>{1668, 28346 - 600, 1200, 600}));
    EXPECT_EQ(p.Find("Sagra").at(0).y, 650);  // the title moves under the half-size picture

    // A missing file reserves no room: the title starts at the top margin.
    Pos80 gone("TITOLO=Sagra\r\n");
    gone.opt().headerImages[0] = HeaderImage{"/p/manca.jpg", 1000, 2000, 50};
    gone.Vendi({{102, 1}});
    EXPECT_EQ(gone.Page().Find("Sagra").at(0).y, 0);
}

}  // namespace
}  // namespace vorsa::test
