// Commit of a 10-line bill into a data file that already archives N receipts, with the durable
// flush (fsync of the file and its folder) on. Only the F4 step is timed.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "sale_harness.h"

namespace {

using namespace vorsa;

std::string Folder(int receipts) {
    const std::string dir = (std::filesystem::temp_directory_path() /
                             ("vorsa-bench-commit-" + std::to_string(receipts)))
                                .string();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::string ini = "[MANGIARE]\r\nDIMENSIONE=14\r\n";
    for (int p = 1; p <= 14; ++p)
        ini +=
            std::to_string(p) + "=Articolo " + std::to_string(p) + ";2,5;1;0;30000;1;30000;10\r\n";
    ini += "[STATISTICHE]\r\nSCONTRINI=" + std::to_string(receipts) + "\r\n[SCONTRINI]\r\n";
    for (int r = 1; r <= receipts; ++r)
        ini +=
            std::to_string(r) +
            "=101-2-5;102-1-2,5;103-1-2,5;201-3-3;06/12/2026 20:15:00-13-4-cassiere45:03-0-0-0\r\n";
    std::ofstream(dir + "/Vorsa.ini", std::ios::binary) << ini;
    return dir;
}

void BM_Commit(benchmark::State& state) {
    const int receipts = static_cast<int>(state.range(0));
    const std::string dir = Folder(receipts);
    auto files = MakeLocalFileAccess(true);
    test::Cassa c(*files, "", "cassiere", dir);
    c.vendita->ImpostaStampaAutomatica(false);
    for (auto _ : state) {
        state.PauseTiming();
        for (int p = 1; p <= 10; ++p) {
            c.Digita(std::to_string(100 + p));
            c.Timer();
        }
        c.Digita("F1");
        c.Timer();
        state.ResumeTiming();
        c.Digita("F4");
        state.PauseTiming();
        c.Timer();
        state.ResumeTiming();
    }
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(dir + "/Vorsa.ini")) / 1e6;
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Commit)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50);

}  // namespace

BENCHMARK_MAIN();
