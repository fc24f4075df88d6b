#pragma once
// A till over in-memory files with receipt printing on a recording back end.
#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "printing/receipt_printer.h"
#include "sale_harness.h"
#include "support/recording_backend.h"

namespace vorsa::test {

/// The catalogue of the printing tests: names of various lengths, one separately printed
/// article, prices below and above 99.
inline const char* kCatalogoStampa =
    "[MANGIARE]\r\nDIMENSIONE=6\r\n"
    "1=Panino con salamella;3,5;1;0;-1;1;-1;0\r\n"
    "2=Patatine;2,5;1;0;-1;1;-1;0\r\n"
    "3=Piatto del giorno;120;1;1;-1;1;-1;0\r\n"
    "4=Costine;1234,5;1;0;-1;1;-1;0\r\n"
    "[BERE]\r\nDIMENSIONE=4\r\n1=Acqua;1;1;0;-1;2;-1;0\r\n2=Birra;3;1;0;-1;2;-1;0\r\n"
    "[VARIE]\r\nDIMENSIONE=2\r\n1=Gadget;5;1;0;-1;3;-1;0\r\n";

struct Banco {
    explicit Banco(const std::string& extraIni = "",
                   std::vector<std::string> printers = {"Stampante"}, PrintBackend* other = nullptr)
        : cassa(files, std::string(kCatalogoStampa) + extraIni), backend(printers), other_(other) {
        cassa.clock.now = DateTime{2026, 12, 5, 16, 1, 0, 6};  // a Saturday
    }
    Till& till() { return *cassa.till; }
    std::vector<std::string> avvisi;  // "title|text" of the printer's messages
    Options& opt() { return cassa.till->opt; }
    /// The printer, created after the options are set as the test wants them.
    ReceiptPrinter& printer() {
        if (!rp)
            rp = std::make_unique<ReceiptPrinter>(
                till().PartiStampa(), other_ ? *other_ : backend,
                [this](const std::string& t, const std::string& m) {
                    avvisi.push_back(t + "|" + m);
                });
        return *rp;
    }
    /// The snapshot of a committed bill: (code, quantity) lines, in catalogue order.
    void Bill(std::initializer_list<std::pair<int, int>> righe, int numero = 7,
              std::string tavolo = "", std::string commento = "") {
        LastBill u;
        for (const auto& [code, q] : righe) {
            const int i = till().cat.IndiceArticolo(code);
            const Article& a = till().cat.gArticoli[static_cast<std::size_t>(i)];
            u.righe.push_back({i, static_cast<std::int16_t>(q), a.price * q});
        }
        u.numero = numero;
        u.data = DateTime{2026, 12, 5, 16, 1, 0, 6};
        u.tavolo = std::move(tavolo);
        u.commento = std::move(commento);
        till().conto.ultimoConto = u;
        till().conto.gNumeroScontrino = numero;
    }
    /// Prints the last bill as the commit does.
    void Commit() {
        till().conto.ultimoConto.gRistampaFatta = false;
        printer().StampaUltimoConto(false);
        till().conto.ultimoConto.gRistampaFatta = true;
    }
    void Vendi(std::initializer_list<std::pair<int, int>> righe, int numero = 7,
               std::string tavolo = "", std::string commento = "") {
        Bill(righe, numero, std::move(tavolo), std::move(commento));
        Commit();
    }
    /// The documents printed so far (kept until the next call).
    const std::vector<RecordedDocument>& Docs() {
        docs_ = backend.Documents();
        return docs_;
    }

    MemoryFileAccess files;
    Cassa cassa;
    RecordingBackend backend;
    std::unique_ptr<ReceiptPrinter> rp;

  private:
    PrintBackend* other_;
    std::vector<RecordedDocument> docs_;
};

/// The printing seam driven by the sale rules (commit printing, F5 reprint, no printer): a
/// till whose sale rules print through its ReceiptPrinter.
struct Vendite : Banco {
    explicit Vendite(const std::string& ini, std::vector<std::string> printers = {"Stampante"},
                     PrintBackend* other = nullptr)
        : Banco(ini, std::move(printers), other) {
        vendita = std::make_unique<Sale>(till().PartiVendita(), cassa.view.Views(), cassa.prompter,
                                         &printer());
        cassa.view.vendita = vendita.get();
    }
    /// Keys and codes typed one after the other, the timer running after each.
    void Premi(std::initializer_list<const char*> keys) {
        for (const char* k : keys) {
            cassa.Digita(k);
            cassa.Timer();
        }
    }
    std::unique_ptr<Sale> vendita;
};

/// Receipts (pages with the quantity column), documents holding them, summaries, pickup
/// tickets and whole kitchen orders printed so far.
inline std::vector<int> Tally(Banco& b) {
    std::vector<int> n(5, 0);
    for (const auto& d : b.Docs()) {
        bool receipt = false;
        for (const auto& p : d.pages) {
            receipt = receipt || p.Has("Qt\xE0");
            n[0] += p.Has("Qt\xE0");
            n[2] += p.Has("RIEPILOGO TRANSAZIONE");
            n[3] += p.Has("TICKET PER RITIRO");
            n[4] += p.Has("*** FINE COMANDA ***");
        }
        n[1] += receipt;
    }
    return n;
}

inline std::vector<std::string> AllTexts(Banco& b) {
    std::vector<std::string> t;
    for (const auto& d : b.Docs())
        for (const auto& p : d.pages)
            for (const auto& s : p.Texts()) t.push_back(s);
    return t;
}

inline long Occurrences(Banco& b, const std::string& text) {
    const auto t = AllTexts(b);
    return std::count(t.begin(), t.end(), text);
}

/// Line height and character width of the recording back end.
inline int H(int size) {
    return RecordingBackend::LineHeight(size);
}
inline int CW(int size) {
    return RecordingBackend::CharWidth(size);
}

}  // namespace vorsa::test
