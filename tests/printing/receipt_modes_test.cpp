#include <gtest/gtest.h>

#include <algorithm>

#include "print_fixture.h"

namespace vorsa::test {
namespace {

const char* kAvanzata = "[STAMPA AVANZATA]\r\nGRUPPI=Cucina-1;Bar-2\r\n";
const char* kCucina = "[COMANDA1]\r\nABILITATO=1\r\nPRODOTTI=101\r\n";

/// A till in a receipt mode (3 with advanced groups) without summary or tickets, and the bill
/// of these tests: two food lines (one printed separately), a drink and an other.
struct Modo : Banco {
    explicit Modo(int mode, bool qta = false) : Banco(mode == 3 ? kAvanzata : "") {
        opt().gCumulativo = mode;
        opt().gScontriniQta = qta;
        opt().gRiepilogo[0] = false;
        opt().gTicketRitiro = false;
        Bill(*this);
    }
    static void Bill(Banco& b) { b.Bill({{101, 2}, {103, 2}, {201, 3}, {301, 1}}, 7); }
};

TEST(ReceiptModes, ReceiptsPerModeAndUnitReceipts) {
    const struct {
        int mode;
        bool qta;
        int receipts;
    } cases[] = {{0, false, 2}, {0, true, 3}, {1, false, 4}, {1, true, 8},
                 {2, false, 4}, {2, true, 5}, {3, false, 3}, {3, true, 3}};
    for (const auto& c : cases) {
        for (const bool taglio : {false, true}) {
            Modo b(c.mode, c.qta);
            b.opt().gTaglioAlternativo = taglio;
            b.Commit();
            // One document per run of receipts, or one per receipt when each is cut.
            EXPECT_EQ(Tally(b), (std::vector<int>{c.receipts, taglio ? c.receipts : 1, 0, 0, 0}))
                << c.mode << " qta " << c.qta << " taglio " << taglio;
        }
    }
    // Unit receipts show a quantity of one.
    Modo b(1, true);
    b.Vendi({{201, 5}});
    ASSERT_EQ(b.Docs().at(0).pages.size(), 5u);
    for (const auto& p : b.Docs()[0].pages) EXPECT_TRUE(p.Has("1") && !p.Has("5"));
}

TEST(ReceiptModes, TotalLinesFollowTheReceiptsTheyClose) {
    const auto T = [](int pezzi, const char* importo) {
        return "Pezzi: nr. " + std::to_string(pezzi) + "  -  Importo: \x80 " + importo;
    };
    const struct {
        int mode;
        bool qta, noSingolo, totale;
        std::vector<std::string> totals;
    } cases[] = {
        {0, false, true, true, {T(6, "15,00")}},
        {0, false, false, true, {T(6, "15,00"), T(2, "240,00")}},
        {0, true, false, true, {T(6, "15,00"), T(1, "120,00"), T(1, "120,00")}},
        {2, false, true, true, {T(2, "7,00"), T(3, "3,00"), T(1, "5,00")}},
        {3, false, true, true, {T(4, "247,00"), T(3, "3,00")}},
        {0, false, false, false, {}},
    };
    for (const auto& c : cases) {
        Modo b(c.mode, c.qta);
        b.opt().gTotaleNoSingolo = c.noSingolo;
        b.opt().gStampaTotale = c.totale;
        b.Commit();
        std::vector<std::string> totals;
        for (const auto& t : AllTexts(b))
            if (t.starts_with("Pezzi: nr.")) totals.push_back(t);
        EXPECT_EQ(totals, c.totals) << "mode " << c.mode;
    }
}

TEST(ReceiptModes, CopiesSummaryTicketsAndKitchenOrders) {
    const struct {
        int copie0, copie1;
        bool riepilogo, ticket, gruppo;
        std::vector<int> n;
    } cases[] = {
        {1, 1, true, true, true, {2, 1, 1, 3, 1}},
        {2, 1, true, true, true, {4, 2, 1, 3, 1}},
        {1, 2, true, true, false, {2, 1, 2, 1, 1}},
        {0, 1, true, true, true, {0, 0, 1, 3, 1}},  // no receipts, the rest still prints
        {1, 1, false, false, true, {2, 1, 0, 0, 1}},
    };
    for (const auto& c : cases) {
        Banco b(kCucina);
        b.opt().gCopie = {c.copie0, c.copie1};
        b.opt().gRiepilogo[0] = c.riepilogo;
        b.opt().gTicketRitiro = c.ticket;
        b.opt().gTicketRitiroGruppo = c.gruppo;
        b.opt().gScontriniQta = false;
        Modo::Bill(b);
        b.Commit();
        EXPECT_EQ(Tally(b), c.n) << c.copie0 << c.copie1;
        // In this order: receipts, summaries, tickets, then the kitchen orders.
        EXPECT_TRUE(b.Docs().back().pages[0].Has("*** INIZIO COMANDA ***"));
        EXPECT_EQ(b.Docs().front().pages[0].Has("Qt\xE0"), c.copie0 > 0);
    }
}

TEST(ReceiptModes, PickupTicketsPerGroup) {
    const struct {
        int mode;
        bool gruppo;
        std::vector<std::string> groups;  // the ticket's group row, "" for none
    } cases[] = {{2, true, {"MANGIARE", "BERE", "VARIE"}},
                 {2, false, {""}},
                 {3, true, {"Cucina", "Bar", ""}}};
    for (const auto& c : cases) {
        Modo b(c.mode);
        b.opt().gTicketRitiro = true;
        b.opt().gTicketRitiroGruppo = c.gruppo;
        b.opt().gCopie[0] = 0;
        b.opt().gPrefisso = "A";
        b.opt().gTestoRitiro = "Ritirare al banco";
        b.Commit();
        const auto& docs = b.Docs();
        ASSERT_EQ(docs.size(), c.groups.size()) << c.mode;
        for (std::size_t i = 0; i < docs.size(); ++i) {
            // Title, date, time, number, [group], text, footer number.
            std::vector<std::string> head = {"TICKET PER RITIRO", "Data: ....... sabato 05/12/2026",
                                             "Ora: ........ 16:01", "A7 "};
            if (!c.groups[i].empty()) head.push_back(c.groups[i]);
            head.push_back("Ritirare al banco");
            auto t = docs[i].pages.at(0).Texts();
            t.resize(std::min(t.size(), head.size()));
            EXPECT_EQ(t, head) << c.mode;
        }
    }
}

TEST(ReceiptModes, SummaryRows) {
    Banco b("[STAMPA]\r\nTKT-RITIRO_BARRE=1\r\n");
    b.opt().gCopie[0] = 0;
    b.opt().gTicketRitiro = false;
    Modo::Bill(b);
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
    EXPECT_EQ(p.Of(PrintCall::Kind::Barcode).size(), 1u);
}

TEST(ReceiptModes, ReprintIsACopyWithoutRepetitionsOrKitchenOrdersAndAnEmptyBillPrintsNothing) {
    Banco b(kCucina);
    b.opt().gCopie = {2, 2};
    b.opt().gCalcolaCarta = 1;
    b.opt().gScontriniQta = false;
    Modo::Bill(b);
    b.Commit();
    b.backend.Clear();
    b.printer().StampaUltimoConto(true);
    EXPECT_EQ(Tally(b), (std::vector<int>{2, 1, 1, 3, 0}));
    // Header and footer number rows of both receipts are copies.
    EXPECT_EQ(Occurrences(b, "COPIA - Scontrino: 7 - "), 4);
    EXPECT_EQ(Occurrences(b, "Scontrino: 7 - "), 0);
    EXPECT_TRUE(b.backend.forms.Forms("Stampante").empty());  // computed-length forms removed
    // An empty bill prints nothing at all.
    b.backend.Clear();
    b.Vendi({});
    EXPECT_TRUE(b.Docs().empty());
}

TEST(ReceiptPrinter, CommitPrintsTheBillThenF5ReprintsItAsACopy) {
    Vendite v(kCucina);
    v.Premi({"101", "101", "201", "F1", "F4"});
    EXPECT_EQ(v.till().conto.gNumeroScontrino, 1);
    EXPECT_EQ(Occurrences(v, "Scontrino: 1 - "), 2);  // header and footer of the receipt
    EXPECT_EQ(Occurrences(v, "*** INIZIO COMANDA ***"), 1);
    EXPECT_EQ(Occurrences(v, "TICKET PER RITIRO"), 2);
    EXPECT_EQ(Occurrences(v, "Panino con salamella"), 2);  // the receipt and the kitchen order

    v.backend.Clear();
    v.Premi({"F5"});
    EXPECT_EQ(Occurrences(v, "COPIA - Scontrino: 1 - "), 2);
    // The bill was emptied: the reprint comes from the snapshot of the committed bill.
    EXPECT_EQ(v.cassa.Art(101).quantity, 0);
    EXPECT_EQ(Occurrences(v, "2"), 1);
}

TEST(ReceiptPrinter, ManualPrintingFirstF5IsNotACopy) {
    Vendite v(std::string(kCucina) + "[STAMPA]\r\nABILITATO=0\r\n");
    v.till().gAzioni[5].password = "x";
    v.Premi({"201", "F1", "F4"});
    EXPECT_TRUE(v.backend.calls.empty());
    v.Premi({"F5"});
    EXPECT_TRUE(v.cassa.prompter.asked.empty());  // no password for the first print
    EXPECT_EQ(Occurrences(v, "Scontrino: 1 - "), 2);
    EXPECT_EQ(Occurrences(v, "COPIA - Scontrino: 1 - "), 0);
    EXPECT_EQ(Occurrences(v, "*** INIZIO COMANDA ***"), 0);
}

TEST(ReceiptPrinter, NoPrinterInstalledPrintsNothing) {
    Vendite v(kCucina, {});
    EXPECT_FALSE(v.printer().StampanteDisponibile());
    v.Premi({"101", "F1", "F4", "F5"});
    v.printer().StampaTest();
    EXPECT_EQ(v.till().conto.gNumeroScontrino, 1);
    EXPECT_TRUE(v.backend.calls.empty());
    EXPECT_TRUE(v.backend.formLog.empty());
}

TEST(ReceiptPrinter, NewBillRemovesTheComputedLengthForms) {
    Vendite v("[STAMPA]\r\nSCONTRINI_CALCOLACARTA=2\r\n");
    v.Premi({"101", "F1", "F4"});
    EXPECT_GE(v.printer().Setup().profile.lastFormName.size(), 10u);
    EXPECT_TRUE(v.backend.forms.Forms("Stampante").empty());  // deleted when the bill emptied
    EXPECT_EQ(v.printer().Setup().profile.formCounter, 0);

    Vendite fixed("[STAMPA]\r\nSCONTRINI_CALCOLACARTA=0\r\n");
    fixed.Premi({"101", "F1", "F4"});
    EXPECT_EQ(fixed.backend.forms.Forms("Stampante").size(), 1u);  // kept for the next bill
}

TEST(ReceiptPrinter, VariablePriceShowsThePriceCharged) {
    Banco b("[STAMPA]\r\nTKT-RITIRO=0\r\nRIEPILOGO0=0\r\n");
    b.Bill({{102, 2}}, 3);
    b.till().conto.ultimoConto.righe[0].lineTotal = *ParseCurrency("9");
    b.cassa.Art(102).variablePrice = true;
    b.cassa.Art(102).price = Currency::FromUnits(-1);  // reset after the commit
    b.Commit();
    EXPECT_TRUE(b.Docs().at(0).pages.at(0).Has("\x80 4,50"));
}

}  // namespace
}  // namespace vorsa::test
