// The festival on a festival link: five till processes (one main, four secondaries) selling
// together through a private smbd, over a loopback shaped like festival Wi-Fi.
//   bench_festival [RECEIPTS=50000] [SECONDS=180] [TILLS=5] [shape=1]
// Run as root: it enters a private network namespace (unshare), sets its loopback to MTU 1500
// under a tbf qdisc of 20 Mbit/s (burst 32 KB), and talks to nothing but 127.0.0.1 there. Each
// till sells a bill about every 5 s; the tills start one after the other, each start-up timed.
// Reports commit times per till, how long the other tills took to show a sale (their 2-second
// refresh), the bytes on the link per sale (every refresh included), and checks that every
// sale is in the file once, numbered without a gap.
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "platform/file_access.h"
#include "support/smbd_server.h"

namespace {

using namespace vorsa;
namespace fs = std::filesystem;

const int kStock = 30000;

// Bytes sent on the loopback of this namespace (what crossed the shaped link).
long long LinkBytes() {
    std::ifstream in("/proc/net/dev");
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos || line.substr(0, colon).find("lo") == std::string::npos)
            continue;
        std::istringstream fields(line.substr(colon + 1));
        long long v[9] = {};
        for (long long& x : v) fields >> x;
        return v[8];  // after 8 receive fields
    }
    return 0;
}

double Pct(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const auto i = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

struct Till {
    pid_t pid = -1;
    FILE* in = nullptr;   // its stdin
    FILE* out = nullptr;  // its stdout
    double startMs = 0;
    std::vector<std::pair<long long, int>> seen;  // (ns, sales shown)
    long long smb = 0;
};

struct Sale {
    long long endNs;
    double ms;
    int numero;
    int till;
};

Till Spawn(const std::string& folder, int port, int n, int seconds, int offsetMs) {
    int toChild[2], fromChild[2];
    if (::pipe(toChild) != 0 || ::pipe(fromChild) != 0) std::exit(1);
    Till t;
    t.pid = ::fork();
    if (t.pid == 0) {
        ::dup2(toChild[0], 0);
        ::dup2(fromChild[1], 1);
        for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]}) ::close(fd);
        const std::string p = std::to_string(port), user = "cassa" + std::to_string(n);
        const std::string s = std::to_string(seconds), o = std::to_string(offsetMs);
        ::execl(FESTIVAL_TILL, FESTIVAL_TILL, folder.c_str(), p.c_str(), user.c_str(), s.c_str(),
                o.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    t.in = ::fdopen(toChild[1], "w");
    t.out = ::fdopen(fromChild[0], "r");
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    const int receipts = argc > 1 ? std::atoi(argv[1]) : 50000;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 180;
    const int tills = argc > 3 ? std::atoi(argv[3]) : 5;
    const bool shape = argc > 4 ? std::atoi(argv[4]) != 0 : true;
    if (::geteuid() != 0) {
        std::fprintf(stderr, "bench_festival: run as root (network namespace, tc)\n");
        return 2;
    }
    if (::unshare(CLONE_NEWNET) != 0) {
        std::perror("unshare");
        return 2;
    }
    std::string net = "ip link set lo mtu 1500 && ip link set lo up";
    if (shape) net += " && tc qdisc add dev lo root tbf rate 20mbit burst 32kb latency 200ms";
    if (std::system(net.c_str()) != 0) return 2;

    const std::string root =
        (fs::temp_directory_path() / ("vorsa-festival-" + std::to_string(::getpid()))).string();
    fs::remove_all(root);
    std::vector<std::string> folders = {root + "/principale"};
    fs::create_directories(folders[0]);
    auto local = MakeLocalFileAccess(false);
    local->ReplaceAll(folders[0] + "/Vorsa.ini", bench::FestivalDataFile(receipts, kStock));
    for (int t = 1; t < tills; ++t) {
        folders.push_back(root + "/secondaria" + std::to_string(t));
        fs::create_directories(folders.back());
        local->ReplaceAll(folders.back() + "/Vorsa.ini",
                          "[MULTIVORSA]\r\nABILITATO=1\r\nSISTEMA_REMOTO=127.0.0.1\r\n");
    }
    test::SmbdServer server(folders[0]);
    if (!server.ok()) return 2;
    std::printf("festival: %d receipts (%.1f MB), %d tills, %d s, link %s\n", receipts,
                static_cast<double>(fs::file_size(folders[0] + "/Vorsa.ini")) / 1e6, tills, seconds,
                shape ? "20 Mbit/s tbf, MTU 1500" : "loopback");

    // One after the other, so that each start-up is timed alone.
    std::vector<Till> ts;
    for (int t = 0; t < tills; ++t) {
        ts.push_back(Spawn(folders[t], server.port(), t, seconds, 1000 * t * 5 / tills));
        if (std::fscanf(ts.back().out, "ready %lf", &ts.back().startMs) != 1) {
            std::fprintf(stderr, "till %d did not start\n", t);
            return 1;
        }
    }
    const long long before = LinkBytes();
    for (Till& t : ts) {
        std::fputs("go\n", t.in);
        std::fflush(t.in);
    }
    std::vector<Sale> sales;
    for (int t = 0; t < tills; ++t) {
        char word[16];
        long long ns = 0;
        while (std::fscanf(ts[t].out, "%15s", word) == 1) {
            if (std::string(word) == "sale") {
                Sale s{0, 0, 0, t};
                if (std::fscanf(ts[t].out, "%lld %lf %d", &s.endNs, &s.ms, &s.numero) == 3)
                    sales.push_back(s);
            } else if (std::string(word) == "seen") {
                int n = 0;
                if (std::fscanf(ts[t].out, "%lld %d", &ns, &n) == 2) ts[t].seen.push_back({ns, n});
            } else if (std::string(word) == "smb") {
                if (std::fscanf(ts[t].out, "%lld", &ts[t].smb) != 1) ts[t].smb = 0;
            }
        }
    }
    for (Till& t : ts) ::waitpid(t.pid, nullptr, 0);
    const long long linkBytes = LinkBytes() - before;

    // Commit times per till.
    int saved = 0, failed = 0, waited = 0;
    for (int t = 0; t < tills; ++t) {
        std::vector<double> ms;
        int f = 0, w = 0;
        for (const Sale& s : sales)
            if (s.till == t) {
                ms.push_back(s.ms);
                f += s.numero == 0;
                w += s.numero < 0;
            }
        saved += static_cast<int>(ms.size()) - f;
        failed += f;
        waited += w;
        std::printf(
            "till %d (%s): start-up %.0f ms, %zu sales, %d not saved, %d waited, commit p50 %.1f "
            "ms p99 %.1f ms max %.1f ms, file bytes over SMB %.1f MB\n",
            t, t == 0 ? "main" : "secondary", ts[t].startMs, ms.size(), f, w, Pct(ms, 0.5),
            Pct(ms, 0.99), Pct(ms, 1.0), static_cast<double>(ts[t].smb) / 1e6);
    }
    // How long until each other till showed each sale: sales are numbered in commit order, and
    // each sells one piece of article 101, so sale number n shows once n - receipts are gone.
    std::vector<double> lag;
    int unseen = 0;
    for (const Sale& s : sales) {
        if (s.numero <= 0) continue;
        for (int t = 0; t < tills; ++t) {
            if (t == s.till) continue;
            auto it = std::find_if(ts[t].seen.begin(), ts[t].seen.end(),
                                   [&](const auto& e) { return e.second >= s.numero - receipts; });
            if (it == ts[t].seen.end()) {
                ++unseen;
                continue;
            }
            lag.push_back(std::max(0.0, static_cast<double>(it->first - s.endNs) / 1e6));
        }
    }
    std::printf(
        "shown by the other tills after: p50 %.0f ms, p99 %.0f ms, max %.0f ms (%d never)\n",
        Pct(lag, 0.5), Pct(lag, 0.99), Pct(lag, 1.0), unseen);
    std::printf("link: %.1f MB in all, %.1f KB per sale (%d sales)\n",
                static_cast<double>(linkBytes) / 1e6,
                saved ? static_cast<double>(linkBytes) / 1e3 / saved : 0.0, saved);

    // Every sale in the file once, numbered on from the archive without a gap.
    std::ifstream file(folders[0] + "/Vorsa.ini", std::ios::binary);
    std::string line;
    bool inArchive = false;
    std::map<int, int> count;
    while (std::getline(file, line)) {
        if (!line.empty() && line[0] == '[') {
            inArchive = line.rfind("[SCONTRINI]", 0) == 0;
            continue;
        }
        if (inArchive && !line.empty() && std::isdigit(static_cast<unsigned char>(line[0])))
            ++count[std::atoi(line.substr(0, line.find('=')).c_str())];
    }
    int dup = 0, gap = 0;
    for (const auto& [n, k] : count) dup += k > 1;
    for (int n = 1; n <= receipts + saved; ++n) gap += count.count(n) == 0;
    std::set<int> numbers;
    for (const Sale& s : sales)
        if (s.numero > 0) numbers.insert(s.numero);
    // A sale that waited got its number when it arrived.
    const bool whole = dup == 0 && gap == 0 && static_cast<int>(count.size()) == receipts + saved &&
                       static_cast<int>(numbers.size()) == saved - waited;
    std::printf("file: %zu receipts (%d to %d), %d duplicated, %d missing: %s\n", count.size(),
                count.empty() ? 0 : count.begin()->first, count.empty() ? 0 : count.rbegin()->first,
                dup, gap, whole ? "every sale once, no gap" : "WRONG");
    server.Stop();
    fs::remove_all(root);
    return whole && failed == 0 ? 0 : 1;
}
