// The catalogue editor: rebuilding an 80-row section list, and applying a grid change of 240
// positions in a data file that archives 20 000 receipts, with the durable flush on.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "editor_harness.h"

namespace {

using namespace vorsa;

std::string Folder(const char* name, int receipts) {
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("vorsa-bench-editor-" + std::string(name)))
            .string();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::string ini;
    for (const char* s : {"MANGIARE", "BERE", "VARIE"}) {
        ini += std::string("[") + s + "]\r\nDIMENSIONE=80\r\n";
        for (int p = 1; p <= 80; ++p)
            ini += std::to_string(p) + "=Articolo " + s + " " + std::to_string(p) +
                   ";2,5;1;0;300;1;300;10\r\n";
    }
    ini += "[STATISTICHE]\r\nSCONTRINI=" + std::to_string(receipts) + "\r\n[SCONTRINI]\r\n";
    for (int r = 1; r <= receipts; ++r)
        ini +=
            std::to_string(r) +
            "=101-2-5;102-1-2,5;103-1-2,5;201-3-3;06/12/2026 20:15:00-13-4-cassiere45:03-0-0-0\r\n";
    std::ofstream(dir + "/Vorsa.ini", std::ios::binary) << ini;
    return dir;
}

void BM_RebuildList80(benchmark::State& state) {
    const std::string dir = Folder("list", 0);
    auto files = MakeLocalFileAccess(true);
    test::CassaEditor t(*files, "", "cassiere", dir);
    t.editor.OpenCatalogueEditor();
    t.view.riga = 40;
    for (auto _ : state) {
        t.editor.SceltaSezione();
        benchmark::DoNotOptimize(t.view.elenco.data());
    }
    state.counters["rows"] = static_cast<double>(t.view.elenco.size());
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_RebuildList80)->Unit(benchmark::kMicrosecond);

void BM_ApplyGrid240(benchmark::State& state) {
    const std::string dir = Folder("apply", static_cast<int>(state.range(0)));
    auto files = MakeLocalFileAccess(true);
    test::CassaEditor t(*files, "", "cassiere", dir);
    t.editor.OpenCatalogueEditor();
    const long primaScritture = t.cassa.till->store.profiles().counters().writes;
    long applicazioni = 0;
    for (auto _ : state) {
        // 240 -> 239 -> 240 positions, in turn.
        Sezione& varie = t.cat().sezioni[2];
        varie.pendingSize = static_cast<std::int16_t>(varie.size == 80 ? 79 : 80);
        t.editor.ApplyGridSize();
        ++applicazioni;
    }
    state.counters["writes_per_apply"] =
        static_cast<double>(t.cassa.till->store.profiles().counters().writes - primaScritture) /
        static_cast<double>(applicazioni);
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(dir + "/Vorsa.ini")) / 1e6;
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ApplyGrid240)->Arg(0)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace

BENCHMARK_MAIN();
