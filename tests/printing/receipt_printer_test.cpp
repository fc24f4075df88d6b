// The printing seam driven by the sale rules: commit printing, F5 reprint, no printer.
#include <gtest/gtest.h>

#include "print_fixture.h"

namespace vorsa::test {
namespace {

/// A till whose sale rules print through a ReceiptPrinter on the recording back end.
struct Vendite : Banco {
    explicit Vendite(const std::string& ini, std::vector<std::string> printers = {"Stampante"})
        : Banco(ini, std::move(printers)) {
        vendita = std::make_unique<Vendita>(till().PartiVendita(), cassa.view.Views(),
                                            cassa.prompter, &printer());
        cassa.view.vendita = vendita.get();
    }
    /// Keys and codes typed one after the other, the timer running after each.
    void Premi(std::initializer_list<const char*> keys) {
        for (const char* k : keys) {
            cassa.Digita(k);
            cassa.Timer();
        }
    }
    int Count(const std::string& text) {
        int n = 0;
        for (const auto& d : Docs())
            for (const auto& p : d.pages) n += static_cast<int>(p.Find(text).size());
        return n;
    }
    std::unique_ptr<Vendita> vendita;
};

const char* kCucina = "[COMANDA1]\r\nABILITATO=1\r\nPRODOTTI=101\r\n";

TEST(ReceiptPrinter, CommitPrintsTheBillThenF5ReprintsItAsACopy) {
    Vendite v(kCucina);
    v.Premi({"101", "101", "201", "F1", "F4"});
    EXPECT_EQ(v.till().conto.gNumeroScontrino, 1);
    EXPECT_EQ(v.Count("Scontrino: 1 - "), 2);  // header and footer of the receipt
    EXPECT_EQ(v.Count("*** INIZIO COMANDA ***"), 1);
    EXPECT_EQ(v.Count("TICKET PER RITIRO"), 2);
    EXPECT_EQ(v.Count("Panino con salamella"), 2);  // the receipt and the kitchen order
    EXPECT_TRUE(v.till().conto.ultimoConto.gRistampaFatta);
    EXPECT_EQ(v.till().gAzioni[5].stato, false);

    v.backend.Clear();
    v.Premi({"F5"});
    EXPECT_EQ(v.Count("COPIA - Scontrino: 1 - "), 2);
    // The bill was emptied: the reprint comes from the snapshot of the committed bill.
    EXPECT_EQ(v.cassa.Art(101).quantity, 0);
    EXPECT_EQ(v.Count("2"), 1);
}

TEST(ReceiptPrinter, ManualPrintingFirstF5IsNotACopy) {
    Vendite v(std::string(kCucina) + "[STAMPA]\r\nABILITATO=0\r\n");
    v.till().gAzioni[5].password = "x";
    v.Premi({"201", "F1", "F4"});
    EXPECT_TRUE(v.backend.calls.empty());
    v.Premi({"F5"});
    EXPECT_TRUE(v.cassa.prompter.asked.empty());  // no password for the first print
    EXPECT_EQ(v.Count("Scontrino: 1 - "), 2);
    EXPECT_EQ(v.Count("COPIA - Scontrino: 1 - "), 0);
    EXPECT_EQ(v.Count("*** INIZIO COMANDA ***"), 0);
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
    Article& a = b.till().cat.gArticoli[2];
    a.variablePrice = true;
    a.price = Currency::FromUnits(-1);  // reset after the commit
    UltimoConto u;
    u.righe.push_back({2, 2, *ParseCurrency("9")});
    u.numero = 3;
    b.till().conto.ultimoConto = u;
    b.Commit();
    EXPECT_TRUE(b.Docs().at(0).pages.at(0).Has("\x80 4,50"));
}

}  // namespace
}  // namespace vorsa::test
