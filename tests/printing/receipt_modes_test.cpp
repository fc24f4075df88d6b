#include <gtest/gtest.h>

#include "print_fixture.h"

namespace vorsa::test {
namespace {

struct Count {
    int receipts = 0;  // pages with the quantity column
    int receiptDocs = 0;
    int summaries = 0;
    int tickets = 0;
    int kitchen = 0;
};

Count Tally(Banco& b) {
    Count c;
    for (const auto& d : b.Docs()) {
        bool receipt = false;
        for (const auto& p : d.pages) {
            if (p.Has("Qt\xE0")) {
                ++c.receipts;
                receipt = true;
            }
            if (p.Has("RIEPILOGO TRANSAZIONE")) ++c.summaries;
            if (p.Has("TICKET PER RITIRO")) ++c.tickets;
            if (p.Has("*** INIZIO COMANDA ***")) ++c.kitchen;
        }
        c.receiptDocs += receipt ? 1 : 0;
    }
    return c;
}

std::vector<std::string> AllTexts(Banco& b) {
    std::vector<std::string> t;
    for (const auto& d : b.Docs())
        for (const auto& p : d.pages)
            for (const auto& s : p.Texts()) t.push_back(s);
    return t;
}

int Occurrences(Banco& b, const std::string& text) {
    int n = 0;
    for (const auto& s : AllTexts(b)) n += s == text ? 1 : 0;
    return n;
}

// The bill of these tests: two food lines (one printed separately), a drink and an other.
void Bill(Banco& b) {
    b.Conto({{101, 2}, {103, 2}, {201, 3}, {301, 1}}, 7);
}

const char* kAvanzata = "[STAMPA AVANZATA]\r\nGRUPPI=Cucina-1;Bar-2\r\n";

TEST(ReceiptModes, ReceiptsPerModeAndUnitReceipts) {
    struct Case {
        int mode;
        bool qta;
        int receipts;
    };
    for (const Case c :
         {Case{0, false, 2}, Case{0, true, 3}, Case{1, false, 4}, Case{1, true, 8},
          Case{2, false, 4}, Case{2, true, 5}, Case{3, false, 3}, Case{3, true, 3}}) {
        for (const bool taglio : {false, true}) {
            Banco b(c.mode == 3 ? kAvanzata : "");
            b.opt().gCumulativo = c.mode;
            b.opt().gScontriniQta = c.qta;
            b.opt().gTaglioAlternativo = taglio;
            b.opt().gRiepilogo[0] = false;
            b.opt().gTicketRitiro = false;
            Bill(b);
            b.Commit();
            const Count n = Tally(b);
            EXPECT_EQ(n.receipts, c.receipts) << c.mode << " qta " << c.qta;
            // One document per run of receipts, or one per receipt when each is cut.
            EXPECT_EQ(n.receiptDocs, taglio ? c.receipts : 1) << c.mode << " qta " << c.qta;
            EXPECT_EQ(b.Docs().size(), static_cast<std::size_t>(n.receiptDocs));
        }
    }
}

TEST(ReceiptModes, TotalLinesFollowTheReceiptsTheyClose) {
    struct Case {
        int mode;
        bool qta, noSingolo;
        std::vector<std::string> totals;
    };
    const std::string e = "\x80 ";
    const auto T = [&e](int pezzi, const char* importo) {
        return "Pezzi: nr. " + std::to_string(pezzi) + "  -  Importo: " + e + importo;
    };
    for (const Case& c : std::vector<Case>{
             {0, false, true, {T(6, "15,00")}},
             {0, false, false, {T(6, "15,00"), T(2, "240,00")}},
             {0, true, false, {T(6, "15,00"), T(1, "120,00"), T(1, "120,00")}},
             {2, false, true, {T(2, "7,00"), T(3, "3,00"), T(1, "5,00")}},
             {3, false, true, {T(4, "247,00"), T(3, "3,00")}},
         }) {
        Banco b(c.mode == 3 ? kAvanzata : "");
        b.opt().gCumulativo = c.mode;
        b.opt().gScontriniQta = c.qta;
        b.opt().gTotaleNoSingolo = c.noSingolo;
        b.opt().gRiepilogo[0] = false;
        b.opt().gTicketRitiro = false;
        Bill(b);
        b.Commit();
        std::vector<std::string> totals;
        for (const auto& t : AllTexts(b))
            if (t.rfind("Pezzi: nr.", 0) == 0) totals.push_back(t);
        EXPECT_EQ(totals, c.totals) << "mode " << c.mode;
    }
    Banco off;
    off.opt().gStampaTotale = false;
    Bill(off);
    off.Commit();
    for (const auto& t : AllTexts(off)) EXPECT_NE(t.rfind("Pezzi: nr.", 0), 0u) << t;
}

TEST(ReceiptModes, UnitReceiptsShowQuantityOne) {
    Banco b;
    b.opt().gCumulativo = 1;
    b.opt().gTicketRitiro = false;
    b.opt().gRiepilogo[0] = false;
    b.Conto({{201, 5}});
    b.Commit();
    const auto& docs = b.Docs();
    ASSERT_EQ(docs.size(), 1u);
    ASSERT_EQ(docs[0].pages.size(), 5u);
    for (const auto& p : docs[0].pages) {
        EXPECT_TRUE(p.Has("1"));
        EXPECT_FALSE(p.Has("5"));
    }
}

TEST(ReceiptModes, CopiesSummaryTicketsAndKitchenOrders) {
    struct Case {
        int copie0, copie1;
        bool riepilogo, ticket, gruppo;
        Count n;
    };
    for (const Case& c : std::vector<Case>{
             {1, 1, true, true, true, {2, 1, 1, 3, 1}},
             {2, 1, true, true, true, {4, 2, 1, 3, 1}},
             {1, 2, true, true, false, {2, 1, 2, 1, 1}},
             {0, 1, true, true, true, {0, 0, 1, 3, 1}},  // no receipts, the rest still prints
             {1, 1, false, false, true, {2, 1, 0, 0, 1}},
         }) {
        Banco b("[COMANDA1]\r\nABILITATO=1\r\nPRODOTTI=101\r\n");
        b.opt().gCopie = {c.copie0, c.copie1};
        b.opt().gRiepilogo[0] = c.riepilogo;
        b.opt().gTicketRitiro = c.ticket;
        b.opt().gTicketRitiroGruppo = c.gruppo;
        b.opt().gScontriniQta = false;
        Bill(b);
        b.Commit();
        const Count n = Tally(b);
        EXPECT_EQ(n.receipts, c.n.receipts) << c.copie0 << c.copie1;
        EXPECT_EQ(n.receiptDocs, c.n.receiptDocs) << c.copie0 << c.copie1;
        EXPECT_EQ(n.summaries, c.n.summaries) << c.copie0 << c.copie1;
        EXPECT_EQ(n.tickets, c.n.tickets) << c.copie0 << c.copie1;
        EXPECT_EQ(n.kitchen, c.n.kitchen) << c.copie0 << c.copie1;
        // In this order: receipts, summaries, tickets, then the kitchen orders.
        const auto& docs = b.Docs();
        EXPECT_TRUE(docs.back().pages[0].Has("*** INIZIO COMANDA ***"));
        if (c.copie0 > 0) {
            EXPECT_TRUE(docs.front().pages[0].Has("Qt\xE0"));
        }
    }
}

TEST(ReceiptModes, PickupTicketsPerGroup) {
    struct Case {
        int mode;
        bool gruppo;
        std::vector<std::string> groups;  // the ticket's group row, "" for none
    };
    for (const Case& c : std::vector<Case>{{2, true, {"MANGIARE", "BERE", "VARIE"}},
                                           {0, true, {"MANGIARE", "BERE", "VARIE"}},
                                           {2, false, {""}},
                                           {3, true, {"Cucina", "Bar", ""}}}) {
        Banco b(c.mode == 3 ? kAvanzata : "");
        b.opt().gCumulativo = c.mode;
        b.opt().gTicketRitiroGruppo = c.gruppo;
        b.opt().gCopie[0] = 0;
        b.opt().gRiepilogo[0] = false;
        Bill(b);
        b.Commit();
        const auto& docs = b.Docs();
        ASSERT_EQ(docs.size(), c.groups.size()) << c.mode;
        for (std::size_t i = 0; i < docs.size(); ++i) {
            const auto t = docs[i].pages.at(0).Texts();
            // Title, "TICKET PER RITIRO", date, time, number, [group], text, footer number.
            ASSERT_GE(t.size(), 5u);
            EXPECT_EQ(t[0], "TICKET PER RITIRO");
            EXPECT_EQ(t[1], "Data: ....... sabato 05/12/2026");
            EXPECT_EQ(t[2], "Ora: ........ 16:01");
            EXPECT_EQ(t[3], "7 ");
            const bool named = !c.groups[i].empty();
            if (named) {
                EXPECT_EQ(t[4], c.groups[i]);
            }
            EXPECT_EQ(t[named ? 5 : 4], "Attendere la chiamata");
        }
    }
}

TEST(ReceiptModes, TicketTextAndNumberRow) {
    Banco b(
        "[STAMPA]\r\nTESTO-RITIRO=Ritirare al banco\r\nTKT-RITIRO_BARRE=0\r\n"
        "[PROGRAMMA]\r\nNOME_VORSA=A\r\n");
    b.opt().gCopie[0] = 0;
    b.opt().gRiepilogo[0] = false;
    b.opt().gTicketRitiroGruppo = false;
    b.Conto({{101, 1}}, 1234);
    b.Commit();
    const auto& p = b.Docs().at(0).pages.at(0);
    const auto num = p.Find("A1.234");
    ASSERT_EQ(num.size(), 1u);
    EXPECT_EQ(num[0].font.size, 40);  // four times textSize
    EXPECT_EQ(num[0].x, (4536 - 6 * CW(40)) / 2);
    EXPECT_TRUE(p.Has("Ritirare al banco"));
}

TEST(ReceiptModes, SummaryRows) {
    Banco b("[STAMPA]\r\nTKT-RITIRO_BARRE=1\r\n");
    b.opt().gCopie[0] = 0;
    b.opt().gTicketRitiro = false;
    Bill(b);
    b.Commit();
    const auto& p = b.Docs().at(0).pages.at(0);
    const std::string e = "\x80";
    EXPECT_EQ(p.Texts(), (std::vector<std::string>{
                             "RIEPILOGO TRANSAZIONE", "Data: ....... sabato 05/12/2026",
                             "Ora: ........ 16:01", "Progressivo:  7", "Numero righe: 4",
                             "Totale pezzi: 8", "Totale merce: 255,00 " + e,
                             "Dettaglio:", " Nr. 2 Panino con salamella (" + e + " 3,50)",
                             " Nr. 2 Piatto del giorno (" + e + " 120,00)",
                             " Nr. 3 Acqua (" + e + " 1,00)", " Nr. 1 Gadget (" + e + " 5,00)"}));
    // The barcode of this bill's number, centred, as high as an "X" at twice the title size.
    const PrintCall& bar = p.calls.back();
    ASSERT_EQ(bar.kind, PrintCall::Kind::Barcode);
    EXPECT_EQ(bar.w, 40 * 15);
    EXPECT_EQ(bar.x, (4536 - 600) / 2);
    EXPECT_EQ(bar.h, H(22));
    // The detail size is the largest at which 8 "X" + name + 10 "X" fit for every line: the
    // longest name makes 38 characters, 4560 twips at 10 pt, 4104 at 9 pt.
    EXPECT_EQ(p.Find(" Nr. 3 Acqua (" + e + " 1,00)")[0].font.size, 9);
}

TEST(ReceiptModes, AnEmptyBillPrintsNothing) {
    Banco b("[COMANDA1]\r\nABILITATO=1\r\nPRODOTTI=101\r\n");
    b.Conto({});
    b.Commit();
    EXPECT_TRUE(b.Docs().empty());
}

TEST(ReceiptModes, ReprintIsACopyWithoutRepetitionsOrKitchenOrders) {
    Banco b("[COMANDA1]\r\nABILITATO=1\r\nPRODOTTI=101\r\n");
    b.opt().gCopie = {2, 2};
    b.opt().gCalcolaCarta = 1;
    b.opt().gScontriniQta = false;
    Bill(b);
    b.Commit();
    const Count first = Tally(b);
    EXPECT_EQ(first.receiptDocs, 2);
    EXPECT_EQ(Occurrences(b, "COPIA - Scontrino: 7 - "), 0);
    b.backend.Clear();
    b.printer().StampaUltimoConto(true);
    const Count again = Tally(b);
    EXPECT_EQ(again.receiptDocs, 1);
    EXPECT_EQ(again.receipts, 2);
    EXPECT_EQ(again.summaries, 1);
    EXPECT_EQ(again.tickets, 3);
    EXPECT_EQ(again.kitchen, 0);
    // Header and footer number rows of both receipts are copies.
    EXPECT_EQ(Occurrences(b, "COPIA - Scontrino: 7 - "), 4);
    EXPECT_EQ(Occurrences(b, "Scontrino: 7 - "), 0);
    EXPECT_TRUE(b.backend.forms.Forms("Stampante").empty());  // computed-length forms removed
}

TEST(ReceiptModes, PrinterTestPage) {
    Banco b("[STAMPA]\r\nTITOLO=Sagra\r\nTITOLO2=Due\r\n");
    b.opt().gFormato = 6;  // A7: the 32-digit test name splits hard
    b.cassa.clock.now = DateTime{2026, 12, 6, 19, 45, 0, 0};
    b.printer().StampaTest();
    const auto& docs = b.Docs();
    ASSERT_EQ(docs.size(), 1u);
    int lines = 0, nines = 0;
    for (const auto& p : docs[0].pages) {
        EXPECT_TRUE(p.Has("*****   TEST STAMPANTE   *****"));
        EXPECT_TRUE(p.Has("**    SECONDA RIGA TITOLO   **"));
        EXPECT_TRUE(p.Has("Domenica 06/12/2026 - ore 19:45"));  // printed now
        lines += static_cast<int>(p.Find("1234567890123456789012345_").size());
        nines += static_cast<int>(p.Find("99").size());
        EXPECT_EQ(p.Find("\x80 11,22").size(), p.Find("99").size());
        EXPECT_FALSE(p.Has("Grazie"));
    }
    EXPECT_EQ(lines, 12);
    EXPECT_EQ(nines, 12);
    EXPECT_GT(docs[0].pages.size(), 1u);  // twelve lines overflow an A7 sheet
    EXPECT_EQ(b.opt().gTitoloScontrino, "Sagra");
    EXPECT_EQ(b.opt().gTitoloScontrino2, "Due");
}

}  // namespace
}  // namespace vorsa::test
