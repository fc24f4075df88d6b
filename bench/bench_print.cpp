// A 10-line POS 80 mm receipt: the layout alone on the recording back end, and the layout with
// the Qt back end writing a PDF file. Figures are per printed page.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "bench_qt.h"
#include "printing/qt/qt_print_backend.h"
#include "printing/receipt_printer.h"
#include "sale_harness.h"
#include "support/recording_backend.h"

namespace {

using namespace vorsa;

std::string Catalogo() {
    std::string ini =
        "[STAMPA]\r\nSTAMPANTE=Vorsa PDF\r\nTITOLO=Sagra di Vorsa\r\nPIEDE=Grazie\r\n"
        "TKT-RITIRO=0\r\nRIEPILOGO0=0\r\nFORMATO=2\r\nSCONTRINI_QTA=0\r\n"
        "[MANGIARE]\r\nDIMENSIONE=10\r\n";
    for (int i = 1; i <= 10; ++i)
        ini += std::to_string(i) + "=Articolo numero " + std::to_string(i) + ";" +
               std::to_string(i) + ",5;1;0;-1;1;-1;0\r\n";
    return ini;
}

void Bill(Till& till) {
    LastBill u;
    for (int i = 1; i <= 10; ++i)
        u.righe.push_back({i, static_cast<std::int16_t>(i % 3 + 1),
                           till.cat.gArticoli[static_cast<std::size_t>(i)].price * (i % 3 + 1)});
    u.numero = 1234;
    u.tavolo = "12";
    till.conto.ultimoConto = u;
}

void PrintPages(benchmark::State& state, PrintBackend& backend, Till& till,
                const std::function<int()>& pages) {
    ReceiptPrinter printer(till.PartiStampa(), backend,
                           [](const std::string&, const std::string&) {});
    Bill(till);
    auto* recording = dynamic_cast<RecordingBackend*>(&backend);
    for (auto _ : state) {
        if (recording) recording->Clear();  // keep only the last receipt's calls
        till.conto.ultimoConto.gRistampaFatta = false;
        printer.StampaUltimoConto(false);
    }
    state.counters["pages"] = pages();
    state.SetItemsProcessed(state.iterations());
}

void BM_ReceiptLayoutRecording(benchmark::State& state) {
    MemoryFileAccess files;
    test::Cassa c(files, Catalogo());
    RecordingBackend backend({"Vorsa PDF"}, "Vorsa PDF");
    PrintPages(state, backend, *c.till, [&] {
        const auto docs = backend.Documents();
        return docs.empty() ? 0 : static_cast<int>(docs.back().pages.size());
    });
    benchmark::DoNotOptimize(backend.calls.size());
}
BENCHMARK(BM_ReceiptLayoutRecording)->Unit(benchmark::kMillisecond);

void BM_ReceiptToPdf(benchmark::State& state) {
    QTemporaryDir dir;
    MemoryFileAccess files;
    test::Cassa c(files, Catalogo());
    QtPrintBackend backend(QtPrintOptions{"Vorsa PDF", dir.path().toStdString(), false});
    PrintPages(state, backend, *c.till,
               [&] { return backend.Documents().empty() ? 0 : backend.Documents().back().pages; });
}
BENCHMARK(BM_ReceiptToPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return vorsa::bench::QtBenchMain(argc, argv);
}
