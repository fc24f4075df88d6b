// The Qt back end on a real CUPS spooler (a private one started by cups_queue.sh): a receipt's
// job in the spool is its PDF; the queue's state as the till sees it, and the notice of a sale
// whose slips cannot print, with the sale saved whole all the same.
#include <gtest/gtest.h>

#include <cups/cups.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QLabel>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <thread>

#include "print_fixture.h"
#include "printing/qt/cups_printer_states.h"
#include "printing/qt/qt_print_backend.h"
#include "qt_print_helpers.h"
#include "ui/notices/messages.h"
#include "ui/notices/print_notices.h"
#include "ui/notices/printer_lights.h"

namespace vorsa::test {
namespace {

const char* kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
constexpr std::int64_t kSempre = std::numeric_limits<std::int64_t>::max();

void Esegui(const std::string& cmd) {
    ASSERT_EQ(std::system((cmd + " 2>/dev/null").c_str()), 0) << cmd;
}

/// A new queue of a name no other test run uses; its jobs are held, so nothing leaves it. A
/// broken one's device fails on every job, and its jobs are then aborted.
std::string NuovaCoda(const std::string& base, bool guasta = false) {
    static int n = 0;
    const std::string name = base + std::to_string(getpid()) + "_" + std::to_string(++n);
    Esegui("lpadmin -p " + name + " -E " +
           (guasta ? "-v vorsa-guasta:/ -o printer-error-policy=abort-job"
                   : "-v cups-pdf:/ -P " + std::string(kPpd) +
                         " -o job-hold-until-default=indefinite"));
    return name;
}

/// Waits, with the window's events running, until `fatto` or about five seconds.
template <class F>
bool Attendi(F fatto) {
    for (int i = 0; i < 200 && !fatto(); ++i) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return fatto();
}

TEST(QtCups, ReceiptReachesTheQueueAsAPdfJobOfItsPageSize) {
    if (!Spooler()) GTEST_SKIP() << "no private CUPS spooler";
    QtPrintBackend backend;
    const auto printers = backend.Printers();
    ASSERT_NE(std::find(printers.begin(), printers.end(), "VorsaPDF"), printers.end());
    EXPECT_EQ(backend.DefaultPrinter(), "VorsaPDF");

    Banco b(
        "[STAMPA]\r\nSTAMPANTE=VorsaPDF\r\nTITOLO=Sagra di Vorsa\r\nTKT-RITIRO=0\r\n"
        "RIEPILOGO0=0\r\nFORMATO=2\r\n",
        {}, &backend);
    ASSERT_TRUE(b.printer().StampanteDisponibile());
    b.Vendi({{101, 2}, {201, 1}}, 42);
    ASSERT_EQ(backend.Documents().size(), 1u);

    // The queue is new to this run: its only job is the receipt.
    const std::string queued = vorsa::test::Run("lpstat -o VorsaPDF 2>/dev/null");
    std::smatch id;
    ASSERT_TRUE(std::regex_search(queued, id, std::regex("VorsaPDF-([0-9]+)"))) << queued;
    const std::string job = SpoolJob(std::stoi(id[1]));
    const std::string text = PdfText(job);
    std::size_t at = 0;
    for (const char* t :
         {"Sagra di Vorsa", "Scontrino: 42", "Panino con salamella", "Acqua", "Pezzi: nr. 3"}) {
        at = text.find(t, at);
        ASSERT_NE(at, std::string::npos) << t << "\n" << text;
    }
    const auto [w, h] = PdfPageSize(job);
    EXPECT_NEAR(w, 80.0 / 25.4 * 72.0, 1.0);
    EXPECT_NEAR(h, 500.0 / 25.4 * 72.0, 1.0);
}

// The queue's state as the till reads it, and the light a worker shows for it.
TEST(StatoCups, QueueStatesAndTheLightsThatFollowThem) {
    if (!Spooler()) GTEST_SKIP() << "no private CUPS spooler";
    CupsPrinterStates cups;
    const std::string q = NuovaCoda("Stato");
    PrinterLights spie([] { return std::make_unique<CupsPrinterStates>(); }, 20);
    spie.Imposta({q});
    const struct {
        const char* comando;
        QueueState stato;
        bool accetta;
        const char* motivi;
        Light spia;
    } passi[] = {{"", QueueState::Pronta, true, "", Light::Verde},
                 {"cupsdisable ", QueueState::Ferma, true, "messa in pausa", Light::Rossa},
                 {"cupsenable ", QueueState::Pronta, true, "", Light::Verde},
                 {"cupsreject ", QueueState::Pronta, false, "", Light::Rossa},
                 {"lpadmin -x ", QueueState::Assente, false, "", Light::Rossa}};
    for (const auto& p : passi) {
        if (*p.comando) Esegui(p.comando + q);
        const PrinterState s = cups.Stato(q);
        EXPECT_EQ(std::tie(s.stato, s.accetta), std::tie(p.stato, p.accetta)) << p.comando;
        EXPECT_EQ(MotiviLeggibili(s.motivi), p.motivi) << p.comando;
        EXPECT_TRUE(Attendi([&] { return spie.SpiaDi(0) == p.spia; })) << p.comando;
    }
    // Each read runs on a thread of its own: this reader's asks a spooler that is not there,
    // and the state is unknown, not missing.
    PrinterLights muta(
        [] {
            cupsSetServer("/tmp/vorsa-nessun-cups.sock");
            return std::make_unique<CupsPrinterStates>();
        },
        20);
    muta.Imposta({q});
    EXPECT_TRUE(Attendi([&] { return muta.Luce(0)->toolTip().contains("non risponde"); }));
    EXPECT_EQ(muta.SpiaDi(0), Light::Grigia);
}

TEST(StatoCups, JobsOfAQueueAndTheirOutcome) {
    if (!Spooler()) GTEST_SKIP() << "no private CUPS spooler";
    CupsPrinterStates cups;
    const std::string q = NuovaCoda("Lavori");
    EXPECT_EQ(cups.UltimoLavoro(q, kSempre), 0);
    Esegui("echo prova | lp -d " + q + " >/dev/null");
    const int id = cups.UltimoLavoro(q, kSempre);
    ASSERT_GT(id, 0);
    // Taken by time: a job created from a given second on is not counted as already there.
    const std::int64_t ora = std::time(nullptr);
    EXPECT_EQ(cups.UltimoLavoro(q, ora - 60), 0);
    EXPECT_EQ(cups.UltimoLavoro(q, ora + 60), id);
    EXPECT_EQ(cups.LavoriDopo(q, 0), std::vector<int>{id});
    EXPECT_TRUE(cups.LavoriDopo(q, id).empty());
    EXPECT_EQ(cups.Esito(id), JobResult::InCorso);  // held in the queue
    Esegui("cancel " + q + "-" + std::to_string(id));
    EXPECT_EQ(cups.Esito(id), JobResult::Annullato);
    // libcups keeps its server per thread: asked of a spooler that is not there, a job is
    // still followed, not taken as done.
    JobResult e = JobResult::Completato;
    std::thread([&] {
        cupsSetServer("/tmp/vorsa-nessun-cups.sock");
        e = CupsPrinterStates().Esito(id);
    }).join();
    EXPECT_EQ(e, JobResult::InCorso);
}

/// The Qt back end, made before the till that prints on it.
struct ConQt {
    QtPrintBackend qt;
};

/// A till whose sale prints on real queues through the Qt back end, followed by libcups.
struct Vendita1 : ConQt, Vendite {
    Vendita1(const std::string& banco, const std::string& cucina)
        : Vendite("[STAMPA]\r\nSTAMPANTE=" + banco +
                      "\r\nTKT-RITIRO=0\r\nRIEPILOGO0=0\r\nFORMATO=5\r\n[COMANDA]\r\nNUMERO=1\r\n"
                      "[COMANDA1]\r\nNOME=Cucina\r\nABILITATO=1\r\nSTAMPANTE=" +
                      cucina + "\r\nFORMATO=5\r\nPRODOTTI=101\r\n",
                  {}, &qt),
          sorv(cups, [this](const PrintNotice& a, const Sheet& f) {
              avvisi.push_back(a.testo);
              ristampe.push_back(a.offriRistampa);
              fogli.push_back(f);
          }) {
        printer().Sorveglia(&sorv);
    }
    void Vendi() { Premi({"101", "201", "F1", "F4"}); }
    /// The sale is in the till's file as a good one is: counted and archived.
    void SaleIntera() {
        const std::string ini = files.files["/p/Vorsa.ini"];
        EXPECT_NE(ini.find("SCONTRINI=1\r\n101=1;"), std::string::npos) << ini;
        EXPECT_NE(ini.find("\r\n1=101-1-"), std::string::npos) << ini;
        EXPECT_EQ(till().conto.gNumeroScontrino, 1);
    }

    CupsPrinterStates cups;
    std::vector<std::string> avvisi;
    std::vector<bool> ristampe;
    std::vector<Sheet> fogli;
    PrintWatch sorv;
};

// A queue in trouble before the sale: told once with its slip, the sale saved whole.
TEST(StatoCups, AQueueInTroubleIsToldAndTheSaleIsWhole) {
    if (!Spooler()) GTEST_SKIP() << "no private CUPS spooler";
    const struct {
        const char* comando;
        bool cucina;  // the kitchen queue, else the receipt's
        const char* stato;
        const char* foglio;
        bool ristampa;  // a stopped queue keeps the job and prints it when it restarts
    } casi[] = {{"cupsdisable ", true, "\" ferma", "Comanda Cucina", false},
                {"cupsreject ", false, "\" non accetta", "Scontrino", true},
                {"lpadmin -x ", true, "\" non trovata", "Comanda Cucina", true}};
    for (const auto& c : casi) {
        SCOPED_TRACE(c.comando);
        const std::string banco = NuovaCoda("Banco"), cucina = NuovaCoda("Cucina");
        const std::string coda = c.cucina ? cucina : banco;
        Vendita1 v(banco, cucina);
        Esegui(c.comando + coda);
        v.Vendi();
        ASSERT_EQ(v.avvisi.size(), 1u);
        EXPECT_NE(v.avvisi[0].find("\"" + coda + c.stato), std::string::npos) << v.avvisi[0];
        EXPECT_NE(v.avvisi[0].find(c.foglio), std::string::npos) << v.avvisi[0];
        EXPECT_EQ(v.ristampe[0], c.ristampa);
        v.SaleIntera();
    }
}

TEST(StatoCups, ACancelledJobIsToldAfterwardsWithAReprintOffer) {
    if (!Spooler()) GTEST_SKIP() << "no private CUPS spooler";
    const std::string banco = NuovaCoda("Banco"), cucina = NuovaCoda("Cucina");
    Vendita1 v(banco, cucina);
    v.Vendi();
    EXPECT_TRUE(v.avvisi.empty());
    ASSERT_TRUE(v.sorv.Seguendo());  // held: still running
    Esegui("cancel -a " + cucina);
    for (int i = 0; i < 3 && v.avvisi.empty(); ++i) v.sorv.Segui();
    ASSERT_EQ(v.avvisi.size(), 1u);
    EXPECT_NE(v.avvisi[0].find("annullata"), std::string::npos) << v.avvisi[0];
    EXPECT_EQ(v.fogli[0].nome, "Comanda Cucina");
    EXPECT_TRUE(v.ristampe[0]);
    v.SaleIntera();
}

/// The message window as the till's notices reach it; "Chiudi" to every question.
class Finestra final : public Messages {
  public:
    std::int16_t MostraMessaggio(const QString&, const QString& testo, const QString&, bool,
                                 const QString&, const QString&, bool modale, int) override {
        testi.push_back(testo.toStdString());
        return modale ? 7 : -1;
    }
    std::vector<std::string> testi;
};

// A kitchen queue whose device fails aborts the job: the window's follower tells it from its
// worker afterwards, the queue having been ready before.
TEST(StatoCups, TheWindowsFollowerTellsAnAbortedKitchenOrderFromItsWorker) {
    if (!Spooler()) GTEST_SKIP() << "no private CUPS spooler";
    const std::string banco = NuovaCoda("Banco"), cucina = NuovaCoda("Cucina", true);
    Vendita1 v(banco, cucina);
    Finestra finestra;
    PrintNotices avvisi(
        finestra, [] { return std::make_unique<CupsPrinterStates>(); },
        PrintNotices::Reprint{[](int) { return true; }, [&v] { return v.printer().NumeroConto(); }},
        50);
    v.printer().Sorveglia(&avvisi);
    v.Vendi();
    ASSERT_TRUE(Attendi([&] { return !finestra.testi.empty(); }));
    ASSERT_EQ(finestra.testi.size(), 1u);
    EXPECT_NE(finestra.testi[0].find("\"" + cucina + "\": stampa interrotta"), std::string::npos)
        << finestra.testi[0];
    EXPECT_NE(finestra.testi[0].find("Comanda Cucina"), std::string::npos) << finestra.testi[0];
    // Closed, the kitchen order stays offered for this bill; the receipt's job is held in a
    // good queue: still followed, never told about.
    ASSERT_EQ(avvisi.Offerte().size(), 1u);
    EXPECT_EQ(avvisi.Offerte()[0].foglio.comanda, 1);
    EXPECT_TRUE(avvisi.Seguendo());
    v.SaleIntera();
}

TEST(StatoCups, KitchenOrderPrintedAgainOnceItsQueueIsBackIsOneCopy) {
    if (!Spooler()) GTEST_SKIP() << "no private CUPS spooler";
    if (!HaveTool("pdftotext")) GTEST_SKIP() << "no pdftotext";
    const std::string banco = NuovaCoda("Banco"), cucina = NuovaCoda("Cucina");
    Vendita1 v(banco, cucina);
    Esegui("cupsreject " + cucina);
    Esegui("cupsdisable " + cucina);
    v.Vendi();
    ASSERT_EQ(v.avvisi.size(), 1u);
    ASSERT_TRUE(v.ristampe[0]);
    Esegui("cupsenable " + cucina);
    Esegui("cupsaccept " + cucina);
    const int prima = v.cups.UltimoLavoro(cucina, kSempre);
    ASSERT_TRUE(v.printer().RistampaComanda(v.fogli[0].comanda));
    EXPECT_EQ(v.avvisi.size(), 1u);  // the queue is back: nothing more to tell
    const std::vector<int> nuovi = v.cups.LavoriDopo(cucina, prima);
    ASSERT_EQ(nuovi.size(), 1u);
    const std::string text = PdfText(SpoolJob(nuovi[0]));
    EXPECT_NE(text.find("COPIA"), std::string::npos) << text;
    EXPECT_EQ(text.find("COPIA"), text.rfind("COPIA")) << text;
    EXPECT_NE(text.find("CUCINA"), std::string::npos) << text;
    v.SaleIntera();
}

}  // namespace
}  // namespace vorsa::test
