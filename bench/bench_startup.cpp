// Start-up of a till over real files: full catalogue (240 articles), statistics for each, and a
// receipt archive of a busy festival. Warm start (the file exists and is healthy).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "startup/startup.h"

namespace {

using namespace vorsa;

class NoShell : public Shell {
  public:
    void Open(const std::string&) override {}
};

std::string MakeFolder(int receipts) {
    const std::string dir = std::filesystem::temp_directory_path() /
                            ("vorsa-bench-startup-" + std::to_string(receipts));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::string ini;
    for (const char* s : {"MANGIARE", "BERE", "VARIE"}) {
        ini += std::string("[") + s + "]\r\nDIMENSIONE=80\r\n";
        for (int p = 1; p <= 80; ++p)
            ini +=
                std::to_string(p) + "=Articolo " + std::to_string(p) + ";2,5;1;0;500;1;500;20\r\n";
    }
    ini += "[STATISTICHE]\r\nSCONTRINI=" + std::to_string(receipts) + "\r\n";
    for (int base : {100, 200, 300})
        for (int p = 1; p <= 80; ++p) ini += std::to_string(base + p) + "=12;30\r\n";
    ini += "[SCONTRINI]\r\n";
    for (int r = 1; r <= receipts; ++r)
        ini += std::to_string(r) +
               "=06/12/2026 20:15:00;101-2-2,5;201-1-3;Tavolo 4-cassiere-0-0-0\r\n";
    std::ofstream(dir + "/Vorsa.ini", std::ios::binary) << ini;
    return dir;
}

void BM_WarmStart(benchmark::State& state) {
    const std::string dir = MakeFolder(static_cast<int>(state.range(0)));
    auto files = MakeLocalFileAccess(true);
    auto clock = MakeSystemClock();
    auto sleeper = MakeSystemSleeper();
    auto user = MakeSystemUserInfo();
    NoShell shell;
    {
        Till first(Services{*files, *clock, *sleeper, *user, shell}, dir, {1, 0, 0});
        AvviaTill(first);  // heals the file once
    }
    for (auto _ : state) {
        Till till(Services{*files, *clock, *sleeper, *user, shell}, dir, {1, 0, 0});
        AvviaTill(till);
        benchmark::DoNotOptimize(till.cat.gNumeroArticoli);
    }
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(dir + "/Vorsa.ini")) / 1e6;
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_WarmStart)->Arg(0)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
