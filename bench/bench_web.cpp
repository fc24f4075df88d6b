// The web pages under a festival's load: 200 screens follow /numeri live while the kitchen
// presses PRONTO. Measured: from the press (the request leaving the kitchen's phone) until the
// last of the 200 screens has the number. The till, its data file and the server are the real
// ones; the screens are plain sockets on 127.0.0.1 read by a thread of their own.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <string>

#include "app/web_pages.h"
#include "bench_pubblico.h"
#include "bench_qt.h"
#include "bench_support.h"
#include "frm_vorsa_scene.h"

namespace {

using namespace vorsa;

constexpr int kSchermi = 200;
constexpr int kScontrini = 2000;

QByteArray Serata(int porta) {
    QByteArray ini =
        "[PROGRAMMA]\r\nEULA=100\r\n[MANGIARE]\r\nDIMENSIONE=1\r\n1=Panino;4,5;1;0;-1;1;-1;0\r\n"
        "[BERE]\r\nDIMENSIONE=1\r\n1=Acqua;1;1;0;-1;2;-1;0\r\n[VARIE]\r\nDIMENSIONE=1\r\n1=\r\n"
        "[COMANDA]\r\nNUMERO=1\r\n[COMANDA1]\r\nABILITATO=1\r\nPRODOTTI=101\r\n[WEB]\r\n"
        "ABILITATO=1\r\nPORTA=" +
        QByteArray::number(porta) +
        "\r\n[STATISTICHE]\r\nSCONTRINI=" + QByteArray::number(kScontrini) + "\r\n[SCONTRINI]\r\n";
    for (int n = 1; n <= kScontrini; ++n)
        ini += QByteArray::number(n) + "=101-2-9;201-1-1;08/12/2026 20:00:00-10-" +
               QByteArray::number(n % 40) + "-cassa-0-0-0\r\n";
    return ini;
}

class Muto final : public Messages {
  public:
    std::int16_t MostraMessaggio(const QString&, const QString&, const QString&, bool,
                                 const QString&, const QString&, bool, int) override {
        return 7;
    }
};

void BM_ProntoAlCentesimoSchermo(benchmark::State& state) {
    const int porta = 20000 + getpid() % 20000;
    test::TillFixture fx;
    fx.Write(QStringLiteral("Vorsa.ini"), Serata(porta));
    fx.Start();
    fx.till().opt.kitchenPin = "2468";
    Muto muto;
    WebPages web(fx.till(), muto);
    if (!web.Server().Attivo()) {
        state.SkipWithError("the server did not start");
        return;
    }
    bench::Schermi schermi(porta, kSchermi);
    QElapsedTimer attesa;
    attesa.start();
    while (web.Server().Clienti() < schermi.Collegati() && attesa.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    int numero = 0;
    for (auto _ : state) {
        ++numero;
        schermi.Attendi(numero);
        QElapsedTimer t;
        t.start();
        const int cucina = bench::Connetti(porta);
        const std::string corpo = "codice=" + std::to_string(numero);
        bench::Invia(cucina,
                     "POST /cucina/pronto HTTP/1.1\r\nHost: x\r\nX-Pin: 2468\r\nContent-Type: "
                     "application/x-www-form-urlencoded\r\nContent-Length: " +
                         std::to_string(corpo.size()) + "\r\n\r\n" + corpo);
        while (schermi.Arrivati() < schermi.Collegati() && t.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        state.SetIterationTime(static_cast<double>(t.nsecsElapsed()) / 1e9);
        close(cucina);
        if (schermi.Arrivati() < schermi.Collegati()) state.SkipWithError("a screen missed it");
    }
    state.counters["screens"] = schermi.Collegati();
}
BENCHMARK(BM_ProntoAlCentesimoSchermo)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(30)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("max", vorsa::bench::Max)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return vorsa::bench::QtBenchMain(argc, argv);
}
