// The print options dialog's receipt preview redrawn after one option change: POS 80 mm, a
// sample of 10 article lines, the pickup ticket with its barcode and the summary, drawn through
// the preview back end into the picture the dialog shows. Goal: at most 30 ms, so the preview
// follows typing.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "bench_qt.h"
#include "sale_harness.h"
#include "settings/settings_gateway.h"
#include "ui/settings/preview_view.h"

namespace {

using namespace vorsa;

const char* kIni =
    "[STAMPA]\r\nFORMATO=2\r\nTITOLO=Sagra di Vorsa\r\nTITOLO2=Festa d'estate\r\n"
    "PIEDE=Grazie e arrivederci\r\nTKT-RITIRO=1\r\nTKT-RITIRO_BARRE=1\r\nPROGRESSIVO=1\r\n"
    "RIEPILOGO0=1\r\nSCONTRINI_CALCOLACARTA=1\r\n";

void BM_AnteprimaDopoUnaModifica(benchmark::State& state) {
    MemoryFileAccess files;
    test::Cassa c(files, kIni);
    SettingsGateway& settings = c.till->settings;
    PreviewView vista(settings, [] { return std::string("Vorsa PDF"); });
    vista.righe = 10;
    vista.adesso = [] { return DateTime{2026, 7, 18, 20, 30, 0, 6}; };
    vista.Ridisegna();
    bool prezzi = true;
    for (auto _ : state) {
        prezzi = !prezzi;
        settings.Set(keys::Prezzi, prezzi ? "1" : "0");
        vista.Ridisegna();
    }
    state.counters["pages"] = static_cast<double>(vista.Backend().Pagine().size());
}
BENCHMARK(BM_AnteprimaDopoUnaModifica)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return vorsa::bench::QtBenchMain(argc, argv);
}
