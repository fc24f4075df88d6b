// Key to feedback in the real window (offscreen): the third digit of a code typed into
// box_Codice, until the feedback label, the bill line and the total are set and painted.
// Full catalogue (3 x 80 articles); the bill grows to a few hundred pieces.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>
#include <algorithm>

#include "frm_vorsa_scene.h"
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
    test::PrompterMuto prompter;
    std::unique_ptr<SalePresenter> cassa;
    int n = 0;
};

void BM_KeyToFeedback(benchmark::State& state) {
    static Banco* banco = nullptr;
    if (!banco) {
        banco = new Banco;
        if (!banco->scena.Avvia(Catalogo())) {
            state.SkipWithError("window did not start");
            return;
        }
        banco->cassa = std::make_unique<SalePresenter>(*banco->scena.frm, banco->scena.fx.till(),
                                                       &banco->prompter);
        banco->cassa->Avvia();
    }
    test::Scena& scena = banco->scena;
    QLineEdit* box = test::BoxCodice(*scena.frm);
    int& n = banco->n;
    for (auto _ : state) {
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
}
BENCHMARK(BM_KeyToFeedback)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(400)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("p99", P99)
    ->ComputeStatistics("max",
                        [](const std::vector<double>& v) {
                            return *std::max_element(v.begin(), v.end());
                        })
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
