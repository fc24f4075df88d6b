// The statistics panel's rules over a large evening: the panel with 240 sold articles, the
// viewer and a durable void (fsync of the file and its folder) with 20 000 archived receipts.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "data/sales_archive.h"
#include "data/statistics.h"
#include "sale_harness.h"

namespace {

using namespace vorsa;

std::string Folder(const std::string& name, int receipts) {
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("vorsa-bench-stat-" + name)).string();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::string ini;
    for (const char* sezione : {"MANGIARE", "BERE", "VARIE"}) {
        ini += std::string("[") + sezione + "]\r\nDIMENSIONE=80\r\n";
        for (int p = 1; p <= 80; ++p)
            ini += std::to_string(p) + "=Articolo con un nome di media lunghezza " +
                   std::to_string(p) + ";2,5;1;0;30000;1;30000;10\r\n";
    }
    ini += "[STATISTICHE]\r\nDATA=06/12/2026 23:59:00\r\nSCONTRINI=" + std::to_string(receipts) +
           "\r\n";
    for (int base : {100, 200, 300})
        for (int p = 1; p <= 80; ++p) ini += std::to_string(base + p) + "=20000;50000\r\n";
    ini += "[SCONTRINI]\r\n";
    for (int r = 1; r <= receipts; ++r)
        ini += std::to_string(r) +
               "=101-2-5;102-1-2,5;203-1-2,5;301-3-7,5;06/12/2026 20:15:00-17,5-4-cassiere45:03-"
               "0-0-0\r\n";
    std::ofstream(dir + "/Vorsa.ini", std::ios::binary) << ini;
    return dir;
}

struct Banco {
    Banco(const std::string& name, int receipts)
        : dir(Folder(name, receipts)),
          files(MakeLocalFileAccess(true)),
          c(*files, "", "cassiere", dir),
          stat({c.till->cat, c.till->opt, c.till->settings, c.till->conto.gNumeroScontrino}) {}
    ~Banco() { std::filesystem::remove_all(dir); }
    std::string dir;
    std::unique_ptr<FileAccess> files;
    test::Cassa c;
    Statistics stat;
};

void BM_MostraStatistiche240(benchmark::State& state) {
    Banco b("panel", 100);
    for (auto _ : state) benchmark::DoNotOptimize(b.stat.MostraStatistiche());
}
BENCHMARK(BM_MostraStatistiche240)->Unit(benchmark::kMillisecond);

void BM_MostraScontrino(benchmark::State& state) {
    Banco b("viewer", static_cast<int>(state.range(0)));
    int n = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(b.stat.MostraScontrino(n));
        n = n % static_cast<int>(state.range(0)) + 1;
    }
}
BENCHMARK(BM_MostraScontrino)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_StornoDurevole(benchmark::State& state) {
    Banco b("void", static_cast<int>(state.range(0)));
    bool storno = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(b.stat.CambiaStorno(17, storno));
        storno = !storno;
    }
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(b.dir + "/Vorsa.ini")) / 1e6;
}
BENCHMARK(BM_StornoDurevole)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_OreArchivio(benchmark::State& state) {
    Banco b("hours", static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            LeggiArchivio(b.c.till->settings, ';', b.c.till->conto.gNumeroScontrino, false));
}
BENCHMARK(BM_OreArchivio)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
