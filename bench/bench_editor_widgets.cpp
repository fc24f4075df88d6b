// The 80-row section list of the catalogue editor rebuilt in the real panel (offscreen): the
// operator picks the section again, until the list is filled and painted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QtTest>

#include "bench_qt.h"
#include "frm_vorsa_scene.h"
#include "ui/editor_panel.h"
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

void BM_RebuildList80Widgets(benchmark::State& state) {
    test::Scena scena;
    if (!scena.Avvia(Catalogo())) {
        state.SkipWithError("window did not start");
        return;
    }
    test::ScriptedPrompter prompter;
    SalePresenter cassa(*scena.frm, scena.fx.till(), &prompter);
    cassa.Avvia();
    EditorPanel editor(*scena.frm, scena.fx.till(), cassa.vendita(), prompter);
    QTest::keyClick(test::BoxCodice(*scena.frm), Qt::Key_F7);
    auto* lista = scena.frm->findChild<QListWidget*>(QStringLiteral("lst_Prodotti_Elenco"));
    auto* sezioni = scena.frm->findChild<QComboBox*>(QStringLiteral("cbo_Sezioni"));
    lista->setCurrentRow(40);
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        emit sezioni->activated(0);
        QCoreApplication::processEvents();  // the list is painted
        state.SetIterationTime(static_cast<double>(t.nsecsElapsed()) / 1e9);
    }
    state.counters["rows"] = lista->count();
}
BENCHMARK(BM_RebuildList80Widgets)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return vorsa::bench::QtBenchMain(argc, argv);
}
