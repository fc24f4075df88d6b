#include <gtest/gtest.h>
#include <cmath>

#include "print_fixture.h"

namespace vorsa::test {
namespace {

// A POS 80 mm receipt: printable width 4536 twips, no margins; sizes name 12, title 11,
// price 8, text 10, quantity 25, total 11; the quantity column is 750 twips wide.
constexpr int kW = 4536;
// Settings read first win: tests change these through the options instead.
const char* kPos80 = "[STAMPA]\r\nFORMATO=2\r\n";

/// A POS 80 till printing only receipts (no summary, tickets or barcodes) unless asked.
void SoloScontrini(Banco& b) {
    b.opt().gTicketRitiro = false;
    b.opt().gRiepilogo[0] = false;
    b.opt().gTicketRitiroBarre = false;
}

struct Row {
    std::string text;
    int x, y, size;
};

std::vector<Row> Rows(const RecordedPage& p) {
    std::vector<Row> r;
    for (const PrintCall& c : p.calls)
        if (c.kind == PrintCall::Kind::Text) r.push_back({c.text, c.x, c.y, c.font.size});
    return r;
}

const PrintCall* Call(const RecordedPage& p, const std::string& text) {
    for (const PrintCall& c : p.calls)
        if (c.kind == PrintCall::Kind::Text && c.text == text) return &c;
    return nullptr;
}

std::vector<PrintCall> Lines(const RecordedPage& p) {
    std::vector<PrintCall> l;
    for (const PrintCall& c : p.calls)
        if (c.kind == PrintCall::Kind::Line) l.push_back(c);
    return l;
}

TEST(ReceiptLayout, Pos80ReceiptLandsWhereTheLayoutPutsIt) {
    Banco b(std::string(kPos80) + "TITOLO=Sagra\r\nTITOLO2=di Vorsa\r\nPIEDE=Grazie\r\n");
    SoloScontrini(b);
    b.opt().gTicketRitiroBarre = true;
    b.Conto({{101, 2}, {201, 3}}, 1234, "12", "senza cipolla");
    b.Commit();
    ASSERT_EQ(b.Docs().size(), 1u);
    const RecordedPage& p = b.Docs()[0].pages.at(0);

    const int gap = 50;
    const int yDate = H(11) + 2 * gap + H(11) + 3 * gap;
    const int yNum = yDate + H(10) + 3 * gap;
    const int itemTop = yNum + H(10) + 2 * gap + H(10);
    const int yPrice1 = itemTop + H(25) + 5;
    const int item2 = yPrice1 + H(8) + gap;  // the price column is the taller one
    const int yEnd = item2 + item2 - itemTop;
    const int hp = 28346;  // 500 mm
    const int footer = 2 * gap + H(10) + 3 * gap + H(11);
    const std::string num = "Scontrino: 1.234 - ";
    const int bw = 79 * 15;     // six characters of 13 units and the closing one
    const int quiet = 10 * 15;  // ten narrow bars between the text and the barcode
    const std::vector<Row> expected = {
        {"Sagra", (kW - 5 * CW(11)) / 2, 0, 11},
        {"di Vorsa", (kW - 8 * CW(11)) / 2, H(11) + 2 * gap, 11},
        {"Sabato 05/12/2026 - ore 16:01", (kW - 29 * CW(10)) / 2, yDate, 10},
        {num, (kW - 19 * CW(10) - quiet - bw) / 2, yNum, 10},
        {"Panino con salamella", 0, itemTop + gap, 12},
        {"2", kW - CW(25), itemTop + gap, 25},
        {"\x80 3,50", kW - 6 * CW(8), yPrice1, 8},
        {"Acqua", 0, item2 + gap, 12},
        {"3", kW - CW(25), item2 + gap, 25},
        {"\x80 1,00", kW - 6 * CW(8), item2 + H(25) + 5, 8},
        {"Qt\xE0", kW - 750 + (750 - 3 * CW(10)) / 2, itemTop - gap - H(10), 10},
        {"Pezzi: nr. 5  -  Importo: \x80 10,00", 0, yEnd + gap, 11},
        {"Tavolo: 12", 0, yEnd + gap + H(11) + 2 * gap, 12},
        {"senza cipolla", 0, yEnd + gap + H(11) + 2 * gap + H(12) + gap, 12},
        {num, (kW - 19 * CW(10) - quiet - bw) / 2, hp - footer + 2 * gap, 10},
        {"Grazie", (kW - 6 * CW(11)) / 2, hp - footer + 2 * gap + H(10) + 3 * gap, 11},
    };
    const std::vector<Row> got = Rows(p);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].text, expected[i].text) << i;
        EXPECT_EQ(got[i].x, expected[i].x) << got[i].text;
        EXPECT_EQ(got[i].y, expected[i].y) << got[i].text;
        EXPECT_EQ(got[i].size, expected[i].size) << got[i].text;
    }
    // Rules above each line, the quantity column's separator, the barcode after the number.
    const auto lines = Lines(p);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ((std::vector<int>{lines[0].x, lines[0].y, lines[0].x2, lines[0].y2}),
              (std::vector<int>{0, itemTop, kW, itemTop}));
    EXPECT_EQ(lines[1].y, item2);
    EXPECT_EQ((std::vector<int>{lines[2].x, lines[2].y, lines[2].x2, lines[2].y2}),
              (std::vector<int>{kW - 750, itemTop - gap - H(10), kW - 750, yEnd}));
    const PrintCall& bar = p.calls[4];
    ASSERT_EQ(bar.kind, PrintCall::Kind::Barcode);
    EXPECT_EQ(bar.x, (kW - 19 * CW(10) - quiet - bw) / 2 + 19 * CW(10) + quiet);
    EXPECT_EQ(bar.y, yNum);
    EXPECT_EQ(bar.w, bw);
    EXPECT_EQ(bar.h, H(10));
    EXPECT_TRUE(Call(p, "Sagra")->font.bold);
    EXPECT_TRUE(Call(p, "Sagra")->font.underline);
    EXPECT_FALSE(Call(p, "Panino con salamella")->font.underline);
}

TEST(ReceiptLayout, MarginsMoveLeftAndRightTexts) {
    // 10 mm left and 5 mm right: 567 and 283 twips on a device without unprintable strips.
    Banco b(std::string(kPos80) + "MARGINE0=2\r\nMARGINE2=10\r\nMARGINE3=5\r\n");
    SoloScontrini(b);
    b.Conto({{102, 1}}, 3, "4");
    b.Commit();
    const RecordedPage& p = b.Docs().at(0).pages.at(0);
    EXPECT_EQ(Call(p, "Patatine")->x, 567);
    EXPECT_EQ(Call(p, "1")->x, kW - CW(25) - 283);
    EXPECT_EQ(Call(p, "Tavolo: 4")->x, 567);
    EXPECT_EQ(Call(p, "Sabato 05/12/2026 - ore 16:01")->y, 113 + 150);  // top margin 2 mm
    const auto lines = Lines(p);
    EXPECT_EQ(lines[0].x, 567);
    EXPECT_EQ(lines[0].x2, kW - 283);
    EXPECT_EQ(lines[1].x, kW - 750 - 283);
}

TEST(ReceiptLayout, NameSplitting) {
    struct Case {
        const char* name;
        int chars;
        const char* first;
        const char* second;
    };
    for (const Case c : {
             Case{"PANINO CON SALSICCIA", 10, "PANINO CON", " SALSICCIA"},
             Case{"ABCDEFGHIJKLMNOPQRSTUVWXY", 10, "ABCDEFGHI_", "_JKLMNOPQRSTUVWXY"},
             Case{"PATATINE", 10, "PATATINE", ""},
             Case{"ABCDEFGHIJ", 10, "ABCDEFGHIJ", ""},
             // a blank in the last five positions of the first row
             Case{"PANINO GRANDE CON TUTTO", 10, "PANINO", " GRANDE CON TUTTO"},
             // the blank too early and the rest too long: hard split
             Case{"AB CDEFGHIJKLMNOPQ", 10, "AB CDEFGH_", "_IJKLMNOPQ"},
             // no room at all still splits without losing the name's start
             Case{"ABC", 0, "_", "_ABC"},
         }) {
        const NameRows r = SplitName(c.name, c.chars);
        EXPECT_EQ(r.first, c.first) << c.name;
        EXPECT_EQ(r.second, c.second) << c.name;
        EXPECT_EQ(r.twoRows, std::string(c.second) != "") << c.name;
    }
}

TEST(ReceiptLayout, LongSecondRowIsCutShrunkOrWrapped) {
    // A 4 cm custom roll: 2268 twips, nameSize 8 ("X" 96 twips), nameChars (2268 - 500) / 96
    // = 18. A name without blanks splits hard into 17 letters + "_" and "_" + the rest.
    const std::string abc = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string n50 = (abc + abc).substr(0, 50);
    struct Case {
        std::string name;
        bool riduci;
        std::vector<std::string> rows;  // after the first
        int size;                       // of the second row
    };
    for (const Case& c : {
             // Off: cut to nameChars, whatever the length.
             Case{n50, false, {"_" + n50.substr(17, 17)}, 8},
             // On: a row of 20 is shrunk until narrower than 18 "X" at 8 pt (1728 twips):
             // 1680 at 7 pt.
             Case{n50.substr(0, 36), true, {"_" + n50.substr(17, 19)}, 7},
             // 34 characters would need 4 pt: below 6 pt it wraps at the name size instead.
             Case{n50, true, {"_" + n50.substr(17, 17), n50.substr(34)}, 8},
         }) {
        Banco b(kPos80);
        SoloScontrini(b);
        b.opt().gFormato = 4;
        b.opt().gLarghezzaPos = "4";
        b.opt().gRiduciCarattereRiga = c.riduci;
        b.till().cat.gArticoli[1].name = c.name;
        b.Conto({{101, 1}});
        b.Commit();
        const RecordedPage& p = b.Docs().at(0).pages.at(0);
        ASSERT_EQ(b.printer().Setup().profile.nameChars, 18);
        const PrintCall* first = Call(p, c.name.substr(0, 17) + "_");
        ASSERT_NE(first, nullptr) << c.riduci;
        int y = first->y + H(8);
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            const PrintCall* r = Call(p, c.rows[i]);
            ASSERT_NE(r, nullptr) << c.rows[i];
            const int size = i == 0 ? c.size : 8;
            EXPECT_EQ(r->font.size, size) << c.rows[i];
            EXPECT_EQ(r->y, y) << c.rows[i];  // one under the other
            y += H(size);
        }
    }
}

TEST(ReceiptLayout, TotalLineKeepsItsFiguresWholeOnThePaper) {
    struct Case {
        int formato;
        const char* roll;  // cm, for "POS pers."
        int quantity;
        std::int64_t price;  // ten-thousandths of a euro
        const char* pieces;
        const char* amount;
    };
    for (const Case c :
         {Case{2, "", 10, 100000, "10", "100,00"}, Case{2, "", 1, 13885000, "1", "1.388,50"},
          Case{3, "", 100, 138850, "100", "1.388,50"}, Case{4, "4", 100, 138850, "100", "1.388,50"},
          Case{0, "", 1, 13885000, "1", "1.388,50"}}) {
        Banco b;
        SoloScontrini(b);
        b.opt().gFormato = c.formato;
        b.opt().gLarghezzaPos = c.roll;
        b.opt().gTotaleNoSingolo = false;
        b.till().cat.gArticoli[1].price = Currency::FromRaw(c.price);
        b.Conto({{101, c.quantity}});
        b.Commit();
        const RecordedPage& p = b.Docs().at(0).pages.at(0);
        const int w = static_cast<int>(p.size.width * 1440.0 / 25400.0);
        const std::string pezzi = std::string("Pezzi: nr. ") + c.pieces;
        const std::string importo = std::string("Importo: \x80 ") + c.amount;
        bool hasPezzi = false, hasImporto = false;
        for (const PrintCall& t : p.calls) {
            if (t.kind != PrintCall::Kind::Text) continue;
            const bool mine =
                t.text.rfind(pezzi, 0) == 0 || t.text.find(importo) != std::string::npos;
            if (!mine) continue;
            hasPezzi = hasPezzi || t.text == pezzi || t.text.rfind(pezzi + " ", 0) == 0;
            // The amount ends its row: nothing of it went on the next one.
            const std::size_t at = t.text.find(importo);
            hasImporto =
                hasImporto || (at != std::string::npos && at + importo.size() == t.text.size());
            EXPECT_GE(t.font.size, 6) << t.text;
            EXPECT_LE(t.x + static_cast<int>(t.text.size()) * CW(t.font.size), w)
                << c.formato << ": " << t.text;
        }
        EXPECT_TRUE(hasPezzi) << c.formato << " " << c.amount;
        EXPECT_TRUE(hasImporto) << c.formato << " " << c.amount;
    }
}

TEST(ReceiptLayout, FittingShrinksToSixPointsThenWraps) {
    struct Case {
        std::string text;
        int size, width;
        int fitted;                     // size the rows get
        std::vector<std::string> rows;  // empty: the text on one row
    };
    const std::string total = "Pezzi: nr. 103  -  Importo: \x80 1.388,50";
    for (const Case& c : {
             // Fits: untouched.
             Case{"Sagra di Vorsa", 12, 3000, 12, {}},
             // Shrinks while one row fits: 14 characters in 1800 twips need 10 pt.
             Case{"Sagra di Vorsa", 12, 1800, 10, {}},
             // Not even at 6 pt: split after the " - ", the amount whole, at the largest size.
             Case{total, 11, 2268, 9, {"Pezzi: nr. 103", "Importo: \x80 1.388,50"}},
             // The euro sign is not left at the end or the start of a row.
             Case{"Totale merce: 1.388,50 \x80", 7, 1500, 7, {"Totale merce:", "1.388,50 \x80"}},
             Case{"Nr. 1 Acqua (\x80 1,00)", 7, 1000, 7, {"Nr. 1 Acqua", "(\x80 1,00)"}},
             // A word longer than a row at 6 pt is the only thing ever cut.
             Case{std::string(30, 'A'), 8, 1440, 6, {std::string(20, 'A'), std::string(10, 'A')}},
             // Below 6 pt a computed size is raised to it.
             Case{"Tavolo: 12", 4, 3000, 6, {}},
         }) {
        Banco b;
        const FittedText f = b.printer().Layout().Fit(c.text, c.size, c.width);
        EXPECT_EQ(f.size, c.fitted) << c.text;
        EXPECT_EQ(f.rows, c.rows.empty() ? std::vector<std::string>{c.text} : c.rows) << c.text;
        for (const std::string& r : f.rows)
            EXPECT_LE(static_cast<int>(r.size()) * CW(f.size), c.width) << r;
    }
}

TEST(ReceiptLayout, PricesAndQuantities) {
    struct Case {
        const char* price;
        const char* text;
    };
    // Up to 99,99 a blank after the euro sign; from 99 the wider text without it.
    for (const Case c : {Case{"2,5", "\x80 2,50"},
                         Case{"1234,5",
                              "\x80"
                              "1.234,50"},
                         Case{"98,99", "\x80 98,99"},
                         Case{"99",
                              "\x80"
                              "99,00"}}) {
        Banco b(kPos80);
        SoloScontrini(b);
        b.till().cat.gArticoli[2].price = *ParseCurrency(c.price);
        b.Conto({{102, 3}});
        b.Commit();
        const RecordedPage& p = b.Docs().at(0).pages.at(0);
        const PrintCall* t = Call(p, c.text);
        ASSERT_NE(t, nullptr) << c.price;
        EXPECT_EQ(t->x, kW - CW(8) * static_cast<int>(std::string(c.text).size()));
        EXPECT_NE(Call(p, "3"), nullptr);  // quantity of the line
    }
    Banco off(std::string(kPos80) + "PREZZI=0\r\n");
    SoloScontrini(off);
    off.Conto({{102, 3}});
    off.Commit();
    const RecordedPage& p = off.Docs().at(0).pages.at(0);
    // Without prices no price row: the euro sign is left only in the total line.
    for (const auto& r : Rows(p)) {
        if (r.text.rfind("Pezzi", 0) != 0) {
            EXPECT_EQ(r.text.find('\x80'), std::string::npos) << r.text;
        }
    }
    EXPECT_NE(Call(p, "Pezzi: nr. 3  -  Importo: \x80 7,50"), nullptr);
}

TEST(ReceiptLayout, TitlesAndNumberRow) {
    struct Case {
        const char* ini;
        bool copy;
        std::vector<std::string> texts;  // the texts above the first article
    };
    const std::string d = "Sabato 05/12/2026 - ore 16:01";
    for (const Case& c : std::vector<Case>{
             {"TITOLO=Uno\r\nTITOLO2=Due\r\n", false, {"Uno", "Due", d, "Scontrino: 7"}},
             {"TITOLO=\r\nTITOLO2=Due\r\n", false, {d, "Scontrino: 7"}},
             {"PROGRESSIVO=1\r\n", true, {d, "COPIA - Scontrino: 7"}},
             {"PROGRESSIVO=0\r\n", true, {d, "COPIA"}},
             {"PROGRESSIVO=0\r\n", false, {d}},
             {"SCONTRINI_DATAORA=0\r\n", false, {"Scontrino: 7"}},
             {"\r\n[PROGRAMMA]\r\nNOME_VORSA=b2\r\n", false, {d, "Scontrino: B27"}},
         }) {
        Banco b(std::string(kPos80) + "PIEDE=\r\nPROGRESSIVO_PIEDE=0\r\n" + c.ini);
        SoloScontrini(b);
        b.Conto({{102, 1}}, 7);
        b.till().conto.ultimoConto.gRistampaFatta = c.copy;
        b.printer().Modes().SetList(BuildPrintList(b.till().conto.ultimoConto, b.till().cat));
        b.printer().Modes().PrintReceipts();
        const auto rows = Rows(b.Docs().at(0).pages.at(0));
        std::vector<std::string> head;
        for (const auto& r : rows) {
            if (r.text == "Patatine") break;
            if (r.text != "Qt\xE0") head.push_back(r.text);
        }
        EXPECT_EQ(head, c.texts) << c.ini;
    }
}

TEST(ReceiptLayout, CommentSplitting) {
    const std::string words60 = "aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk llll";
    struct Case {
        std::string comment;
        int chars;
        std::vector<std::string> rows;
    };
    const std::string c95 =
        "uno due tre quattro cinque sei sette otto nove dieci undici dodici tredici quattordici "
        "quindici";
    for (const Case& c : std::vector<Case>{
             {"breve", 30, {"breve"}},
             // 50 wide: the last blank among the first 51 characters, never before 41
             {words60, 50, {words60.substr(0, 49), words60.substr(50)}},
             {"x" + std::string(59, 'y'), 50, {"x" + std::string(39, 'y'), std::string(20, 'y')}},
             // 30 wide: a row of 40 would run off the page, so the cut is where it fits
             {words60, 30, {words60.substr(0, 29), words60.substr(30, 29)}},
             // 40 wide: rows are never cut before position 41, and a letter at the cut is kept
             {c95, 40, {c95.substr(0, 40), c95.substr(40, 40), c95.substr(80)}},
         }) {
        EXPECT_EQ(SplitComment(c.comment, c.chars), c.rows) << c.comment << " / " << c.chars;
    }
}

TEST(ReceiptLayout, LongCommentIsPrintedSmallerOnThreeRows) {
    Banco b(kPos80);
    SoloScontrini(b);
    const std::string comment(95, 'c');
    b.Conto({{102, 1}}, 7, "", comment);
    b.Commit();
    // 31 characters of 12 pt fit; 3 x 31 < 95 + 12, so the size fits (95 + 12) / 3 = 35
    // characters: 10 pt (35 x 120 = 4200 < 4536), 37 characters a row, and no row is longer
    // than that nor a character lost.
    const auto rows = Rows(b.Docs().at(0).pages.at(0));
    std::vector<std::pair<std::string, int>> got;
    for (const auto& r : rows)
        if (!r.text.empty() && r.text[0] == 'c') got.push_back({r.text, r.size});
    EXPECT_EQ(got, (std::vector<std::pair<std::string, int>>{{std::string(37, 'c'), 10},
                                                             {std::string(37, 'c'), 10},
                                                             {std::string(21, 'c'), 10}}));
}

TEST(ReceiptLayout, SheetOverflowContinuesOnANewPageWithTheHeader) {
    // A7 is 105 mm long: twelve lines do not fit one page.
    Banco b("[STAMPA]\r\nFORMATO=6\r\nTITOLO=Sagra\r\n");
    SoloScontrini(b);
    b.Conto({{101, 1}, {102, 1}, {104, 1}, {201, 1}, {202, 1}, {301, 1}}, 7);
    b.Commit();
    ASSERT_EQ(b.Docs().size(), 1u);
    const auto& pages = b.Docs()[0].pages;
    ASSERT_EQ(pages.size(), 2u);
    const PrintCall* star = Call(pages[0], "*");
    ASSERT_NE(star, nullptr);
    EXPECT_EQ(star->y, 100);
    EXPECT_EQ(star->x, 4138 - CW(8));  // top right corner of 73 mm (1724 px), 8 pt
    EXPECT_EQ(star->font.size, 8);
    EXPECT_NE(Call(pages[0], "Qt\xE0"), nullptr);  // the column is closed on each page
    EXPECT_EQ(Call(pages[0], "Grazie"), nullptr);
    for (const auto& p : pages) {
        EXPECT_NE(Call(p, "Sagra"), nullptr);
        EXPECT_NE(Call(p, "Scontrino: 7"), nullptr);
    }
    // Every article once, and the footer number only on the last page.
    int items = 0;
    for (const auto& p : pages)
        for (const char* n :
             {"Panino con salamella", "Patatine", "Costine", "Acqua", "Birra", "Gadget"})
            items += Call(p, n) ? 1 : 0;
    EXPECT_EQ(items, 6);
    EXPECT_EQ(pages[1].Find("Scontrino: 7").size(), 2u);
    // Nothing printed below the page: the bottom of the last text is inside it.
    for (const auto& p : pages)
        for (const auto& r : Rows(p)) EXPECT_LE(r.y + H(r.size), 5953) << r.text;
}

TEST(ReceiptLayout, PicturesScaledAndCentred) {
    Banco b(std::string(kPos80) + "TITOLO=Sagra\r\nPIEDE=Grazie\r\n");
    SoloScontrini(b);
    b.files.ReplaceAll("/p/logo.jpg", "x");
    b.files.ReplaceAll("/p/piede.gif", "x");
    auto& im = b.opt().gImmagini;
    im[0] = HeaderImage{"/p/logo.jpg", 1000, 2000, 50};
    im[1] = HeaderImage{"/p/piede.gif", 600, 1200, 100};
    b.backend.loadablePictures = {"/p/logo.jpg", "/p/piede.gif"};
    b.Conto({{102, 1}});
    b.Commit();
    const RecordedPage& p = b.Docs().at(0).pages.at(0);
    std::vector<PrintCall> pics;
    for (const auto& c : p.calls)
        if (c.kind == PrintCall::Kind::Picture) pics.push_back(c);
    ASSERT_EQ(pics.size(), 2u);
    EXPECT_EQ((std::vector<int>{pics[0].x, pics[0].y, pics[0].w, pics[0].h}),
              (std::vector<int>{(kW - 1000) / 2, 0, 1000, 500}));
    EXPECT_EQ(Call(p, "Sagra")->y, 500 + 150);  // the title moves under the half-size picture
    const int hp = 28346;
    const int footer = 2 * 50 + H(10) + 150 + H(11) + 100 + 600;
    EXPECT_EQ(Call(p, "Grazie")->y, hp - footer + 100 + H(10) + 150);
    EXPECT_EQ((std::vector<int>{pics[1].x, pics[1].y, pics[1].w, pics[1].h}),
              (std::vector<int>{(kW - 1200) / 2, hp - 600, 1200, 600}));

    // A missing file reserves no room: the title starts at the top margin.
    Banco gone(std::string(kPos80) + "TITOLO=Sagra\r\n");
    SoloScontrini(gone);
    gone.opt().gImmagini[0] = HeaderImage{"/p/manca.jpg", 1000, 2000, 50};
    gone.Conto({{102, 1}});
    gone.Commit();
    EXPECT_EQ(Call(gone.Docs().at(0).pages.at(0), "Sagra")->y, 0);
}

TEST(ReceiptLayout, ComputedRollLengthHoldsTheContentAboveTheFooter) {
    for (int mode = 1; mode <= 3; ++mode) {
        Banco b(std::string(kPos80) + "TITOLO=Sagra\r\nPIEDE=Grazie\r\nMARGINE1=5\r\n");
        b.opt().gCalcolaCarta = mode;
        b.till().cat.gArticoli[1].name = "Panino con salamella e cipolle caramellate";
        b.Conto({{101, 2}, {102, 1}, {201, 3}, {301, 1}}, 12, "5",
                "una nota lunga per vedere che anche le righe del commento entrano nel conto");
        b.Commit();
        const auto docs = b.Docs();
        ASSERT_GE(docs.size(), 3u);
        for (const auto& d : docs) {
            const RecordedPage& p = d.pages.at(0);
            const int hp = static_cast<int>(std::lround(p.size.length * 1440.0 / 25400.0));
            EXPECT_LT(p.size.length, 200000) << mode;
            // The last row above the footer ends before the footer (or the page) starts.
            int footerTop = hp - 283;
            int contentBottom = 0;
            for (const auto& c : p.calls) {
                if (c.kind != PrintCall::Kind::Text) continue;
                if (c.text == "Grazie" || (c.y > hp / 2 && c.text.rfind("Scontrino", 0) == 0))
                    footerTop = std::min(footerTop, c.y);
                else
                    contentBottom = std::max(contentBottom, c.y + H(c.font.size));
            }
            EXPECT_LE(contentBottom, footerTop) << "mode " << mode << " " << p.Texts()[1];
        }
    }
}

TEST(ReceiptLayout, AdvancedGroupNameOverTheNameColumn) {
    Banco b(std::string(kPos80) + "CUMULATIVO=3\r\n[STAMPA AVANZATA]\r\nGRUPPI=Cucina-1;Bar-2\r\n");
    SoloScontrini(b);
    b.Conto({{102, 1}});
    b.Commit();
    const RecordedPage& p = b.Docs().at(0).pages.at(0);
    const PrintCall* g = Call(p, "Cucina");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->x, (kW - 6 * CW(10) - 750) / 2);
    EXPECT_EQ(g->y, Call(p, "Qt\xE0")->y);
}

}  // namespace
}  // namespace vorsa::test
