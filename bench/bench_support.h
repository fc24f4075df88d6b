#pragma once
// What several benchmarks share.
#include <algorithm>
#include <string>
#include <vector>

namespace vorsa::bench {

/// The slowest repetition, as a statistic beside the mean and median.
inline double Max(const std::vector<double>& v) {
    return *std::max_element(v.begin(), v.end());
}

/// A main till's data file at festival size: 240 articles (codes 1xx hold `stock` pieces, the
/// rest are unlimited) and `receipts` archived receipts of four lines each.
inline std::string FestivalDataFile(int receipts, int stock = 30000) {
    std::string ini;
    const char* sections[] = {"MANGIARE", "BERE", "VARIE"};
    for (int s = 0; s < 3; ++s) {
        ini += std::string("[") + sections[s] + "]\r\nDIMENSIONE=80\r\n";
        for (int p = 1; p <= 80; ++p)
            ini += std::to_string(p) + "=Articolo " + std::to_string(p) + ";2,5;1;0;" +
                   (s == 0 ? std::to_string(stock) : "-1") + ";1;30000;10\r\n";
    }
    ini += "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n";
    ini += "[STATISTICHE]\r\nSCONTRINI=" + std::to_string(receipts) + "\r\n[SCONTRINI]\r\n";
    for (int r = 1; r <= receipts; ++r)
        ini += std::to_string(r) +
               "=101-2-5;102-1-2,5;103-1-2,5;201-3-3;06/12/2026 20:15:00-13-4-cassiere45:03-0-0-"
               "0\r\n";
    return ini;
}

}  // namespace vorsa::bench
