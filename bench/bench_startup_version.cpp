// Start-up to the main window with the version check on and its server hanging: the check is
// started before the window is built, so any wait it caused would show here in full. Arg 0 is
// the same start without the check, for comparison. Offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTcpServer>
#include <QtTest>
#include <memory>

#include "bench_qt.h"
#include "frm_vorsa_scene.h"
#include "platform/qt/qt_downloader.h"
#include "ui/notices/version_notice.h"

namespace {

using namespace vorsa;

void BM_AvvioConServerMuto(benchmark::State& state) {
    const bool controlla = state.range(0) != 0;
    QTcpServer muto;  // accepts connections and never answers
    muto.listen(QHostAddress::LocalHost, 0);
    int richieste = 0;  // requests that reached the server while the window came up
    QObject::connect(&muto, &QTcpServer::newConnection, [&] {
        while (muto.nextPendingConnection()) ++richieste;  // kept open, never answered
    });
    const std::string url =
        "http://127.0.0.1:" + std::to_string(muto.serverPort()) + "/prg/vorsa/versione.txt";
    QByteArray ini = test::kLetto + "MODE=0\r\nAGGIORNAMENTI=Si\r\n";
    for (auto _ : state) {
        test::TillFixture fx;
        fx.Write(QStringLiteral("Vorsa.ini"), ini);
        QtDownloader rete;
        ControllaVersione check(fx.till().store, fx.till().svc.files, rete, {1, 0, 0}, url);
        const StartupResult r = fx.Start();
        if (controlla && r.controllaVersione) AvviaControlloVersione(check, nullptr);
        FrmVorsa frm(fx.till());
        frm.Load();
        frm.show();
        if (!QTest::qWaitForWindowExposed(&frm)) state.SkipWithError("window not exposed");
        state.PauseTiming();
        frm.close();
        state.ResumeTiming();
    }
    state.counters["richieste"] = richieste;
}
BENCHMARK(BM_AvvioConServerMuto)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return vorsa::bench::QtBenchMain(argc, argv);
}
