#pragma once
// The main of the benchmarks that need a QApplication: offscreen unless a platform is chosen.
#include <benchmark/benchmark.h>

#include <QApplication>

namespace vorsa::bench {

inline int QtBenchMain(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace vorsa::bench
