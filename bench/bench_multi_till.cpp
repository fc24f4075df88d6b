// The 2-second refresh tick of a multi-till main till with 240 articles on local files: an
// unchanged pair of shared files (the usual case) and a pair that another till just changed.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "network/multi_till_refresh.h"
#include "platform/profile_store.h"
#include "startup/startup.h"
#include "support/fakes.h"

namespace {

using namespace vorsa;

struct Cassa240 {
    std::string dir;
    std::unique_ptr<FileAccess> files = MakeLocalFileAccess(true);
    test::FakeClock clock;
    test::FakeSleeper sleeper{&clock};
    test::FakeUser user;
    test::FakeShell shell;
    std::unique_ptr<Till> till;

    explicit Cassa240(const char* name)
        : dir((std::filesystem::temp_directory_path() / name).string()) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        std::string ini = "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n";
        for (const char* s : {"MANGIARE", "BERE", "VARIE"}) {
            ini += std::string("[") + s + "]\r\nDIMENSIONE=80\r\n";
            for (int n = 1; n <= 80; ++n)
                ini += std::to_string(n) + "=Articolo " + std::to_string(n) +
                       ";2,5;1;0;500;1;500;10\r\n";
        }
        std::ofstream(dir + "/Vorsa.ini", std::ios::binary) << ini;
        till = std::make_unique<Till>(Services{*files, clock, sleeper, user, shell}, dir,
                                      Version{1, 0, 0});
        AvviaTill(*till);
        // Every article held somewhere, as in a busy evening.
        ProfileStore p(*files);
        for (int n = 1; n <= 240; ++n)
            p.Set(till->paths.gFileLock, "MULTIVORSA", std::to_string(n), "1");
    }
    ~Cassa240() { std::filesystem::remove_all(dir); }
};

void BM_TickUnchanged(benchmark::State& state) {
    Cassa240 c("vorsa-bench-multi-a");
    Till& t = *c.till;
    MultiTillRefresh tick(*c.files, t.store, t.cat, t.opt, t.paths);
    tick.Tick(nullptr);
    long refreshed = 0;
    for (auto _ : state) refreshed += tick.Tick(nullptr) ? 1 : 0;
    state.counters["articles"] = t.cat.gNumeroArticoli;
    state.counters["refreshes"] = static_cast<double>(refreshed);
}
BENCHMARK(BM_TickUnchanged)->Unit(benchmark::kMicrosecond);

void BM_TickAfterAnotherTill(benchmark::State& state) {
    Cassa240 c("vorsa-bench-multi-b");
    Till& t = *c.till;
    MultiTillRefresh tick(*c.files, t.store, t.cat, t.opt, t.paths);
    ProfileStore altra(*c.files);
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        altra.Set(t.paths.gFileLock, "MULTIVORSA", "7", std::to_string(++n % 5));
        state.ResumeTiming();
        tick.Tick(nullptr);
    }
    state.counters["articles"] = t.cat.gNumeroArticoli;
}
BENCHMARK(BM_TickAfterAnotherTill)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
