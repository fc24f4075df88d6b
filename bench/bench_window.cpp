// Key to feedback in the real window (offscreen): the third digit of a code typed into
// box_Codice, until the feedback label, the bill line and the total are set and painted.
// Full catalogue (3 x 80 articles); the bill grows to a few hundred pieces. Measured bare, with
// the printer lights polling, with the lights and a bill's jobs being followed as well, and with
// the web pages served to 200 live screens while a phone reloads the takings every second.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>
#include <algorithm>
#include <chrono>
#include <map>
#include <thread>

#include "app/web_pages.h"
#include "bench_pubblico.h"
#include "bench_qt.h"
#include "bench_support.h"
#include "frm_vorsa_scene.h"
#include "ui/notices/messages.h"
#include "ui/notices/print_notices.h"
#include "ui/notices/printer_lights.h"
#include "ui/right_panel.h"
#include "ui/sale_presenter.h"

namespace {

using namespace vorsa;

QByteArray Catalogo() {
    QByteArray ini;
    for (const char* s : {"MANGIARE", "BERE", "VARIE"}) {
        ini += QByteArray("[") + s + "]\r\nDIMENSIONE=80\r\n";
        for (int p = 1; p <= 80; ++p)
            ini += QByteArray::number(p) + "=Articolo numero " + QByteArray::number(p) +
                   ";2,5;1;0;30000;1;30000;20\r\n";
    }
    return ini + "[PROGRAMMA]\r\nEULA=100\r\n";
}

double P99(const std::vector<double>& v) {
    std::vector<double> s(v);
    std::sort(s.begin(), s.end());
    return s[static_cast<std::size_t>(static_cast<double>(s.size() - 1) * 0.99)];
}

/// One window for all repetitions, so the bill grows as in a rush.
struct Banco {
    test::Scena scena;
    test::ScriptedPrompter prompter;
    std::unique_ptr<SalePresenter> cassa;
    std::unique_ptr<PrinterLights> spie;
    std::unique_ptr<PrintNotices> avvisi;
    std::unique_ptr<WebPages> web;
    std::unique_ptr<bench::Schermi> pubblico;
    int n = 0;
};

class Muto final : public Messages {
  public:
    std::int16_t MostraMessaggio(const QString&, const QString&, const QString&, bool,
                                 const QString&, const QString&, bool, int) override {
        return 7;
    }
};

/// A spooler read as slow as five CUPS printers (about 5 ms wall), off the window's thread.
class LettoreLento final : public PrinterStates {
  public:
    PrinterState Stato(const std::string&) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return {QueueState::Pronta, true, {}};
    }
    int UltimoLavoro(const std::string&, std::int64_t) override { return 0; }
    /// Five jobs of the bill, never finished: each poll asks about all five.
    std::vector<int> LavoriDopo(const std::string&, int) override { return {1, 2, 3, 4, 5}; }
    JobResult Esito(int) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return JobResult::InCorso;
    }
};

/// The window's keys bare (range 0), with the printer lights polling every 50 ms (1), and with
/// the lights and the notices following a bill's five jobs every 50 ms as well (2).
void BM_KeyToFeedback(benchmark::State& state) {
    static std::map<std::int64_t, Banco*> banchi;
    Banco*& banco = banchi[state.range(0)];
    if (!banco) {
        banco = new Banco;
        if (!banco->scena.Avvia(Catalogo())) {
            state.SkipWithError("window did not start");
            return;
        }
        banco->cassa = std::make_unique<SalePresenter>(*banco->scena.frm, banco->scena.fx.till(),
                                                       &banco->prompter);
        banco->cassa->Avvia();
        if (state.range(0)) {
            banco->spie = std::make_unique<PrinterLights>(
                [] { return std::make_unique<LettoreLento>(); }, 50);
            banco->spie->Imposta({"Banco", "Cucina", "Bar", "Griglia", "Dolci"});
            banco->spie->Affianca(&banco->scena.frm->Destro().PrintSwitch());
        }
        if (state.range(0) == 3) {
            static Muto muto;
            Till& till = banco->scena.fx.till();
            till.opt.webEnabled = true;
            till.opt.webPort = 20000 + getpid() % 20000;
            till.opt.takingsPin = "2468";
            banco->web = std::make_unique<WebPages>(till, muto);
            banco->pubblico = std::make_unique<bench::Schermi>(
                till.opt.webPort, 200,
                "GET /dati/incassi HTTP/1.1\r\nHost: x\r\nX-Pin: 2468\r\n\r\n");
        }
        if (state.range(0) == 2) {
            static Muto muto;
            banco->avvisi = std::make_unique<PrintNotices>(
                muto, [] { return std::make_unique<LettoreLento>(); }, 50);
        }
    }
    test::Scena& scena = banco->scena;
    QLineEdit* box = test::BoxCodice(*scena.frm);
    int& n = banco->n;
    for (auto _ : state) {
        // A bill printed now and then, so its jobs are always being followed.
        if (banco->avvisi && n % 10 == 0) {
            banco->avvisi->PrimaDiStampare({{"Cucina", "Comanda Cucina", 1, n}});
            banco->avvisi->DopoAverStampato();
        }
        const int k = n++ % 240;
        const int code = 101 + k / 80 * 100 + k % 80;
        const QByteArray digits = QByteArray::number(code);
        QTest::keyClick(box, digits[0]);
        QTest::keyClick(box, digits[1]);
        QElapsedTimer t;
        t.start();
        QTest::keyClick(box, digits[2]);
        QCoreApplication::processEvents();  // the label and the list line are painted
        state.SetIterationTime(static_cast<double>(t.nsecsElapsed()) / 1e9);
    }
    state.counters["bill_lines"] = static_cast<double>(test::ListaSpesa(*scena.frm)->count());
    if (banco->web) state.counters["web_screens"] = banco->web->Server().Clienti();
}
BENCHMARK(BM_KeyToFeedback)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(400)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("p99", P99)
    ->ComputeStatistics("max", vorsa::bench::Max)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return vorsa::bench::QtBenchMain(argc, argv);
}
