// Reading the state of five printers from CUPS, as the window's poll does. Needs a spooler:
// run under tests/printing/qt/cups_queue.sh, which gives a private one; the five queues are
// added here.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "printing/qt/cups_printer_states.h"

namespace {

/// The five queues, made once; none, and the benchmark skipped, without a spooler.
std::vector<std::string> Code(benchmark::State& state) {
    static std::vector<std::string> code;
    if (code.empty() && std::getenv("CUPS_SERVER")) {
        for (int i = 1; i <= 5; ++i) {
            const std::string q = "Bench" + std::to_string(getpid()) + "_" + std::to_string(i);
            const std::string cmd = "lpadmin -p " + q +
                                    " -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"
                                    " 2>/dev/null";
            if (std::system(cmd.c_str()) == 0) code.push_back(q);
        }
    }
    if (code.size() == 5) return code;
    state.SkipWithError("no private CUPS spooler (run under cups_queue.sh)");
    return {};
}

void BM_StatoCinqueStampanti(benchmark::State& state) {
    const std::vector<std::string> code = Code(state);
    if (code.empty()) return;
    vorsa::CupsPrinterStates cups;
    for (auto _ : state)
        for (const std::string& q : code) benchmark::DoNotOptimize(cups.Stato(q));
}
BENCHMARK(BM_StatoCinqueStampanti)->Unit(benchmark::kMillisecond);

void BM_LavoriDiCinqueStampanti(benchmark::State& state) {
    const std::vector<std::string> code = Code(state);
    if (code.empty()) return;
    vorsa::CupsPrinterStates cups;
    for (auto _ : state)
        for (const std::string& q : code)
            benchmark::DoNotOptimize(
                cups.UltimoLavoro(q, std::numeric_limits<std::int64_t>::max()));
}
BENCHMARK(BM_LavoriDiCinqueStampanti)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
