// One till of the festival benchmark (bench_festival), in its own process on the real SMB path:
//   festival_till FOLDER PORT USER SECONDS OFFSET_MS
// Starts up and prints "ready <start-up ms>", waits for a line on stdin, then sells a bill every
// 5 s (the first after OFFSET_MS) for SECONDS and refreshes its buttons every 2 s as the window's
// timer does, for 6 s longer. Then prints what it saw, one line each:
//   sale <end ns> <ms> <receipt number; 0 when not saved, -1 when waiting to be delivered>
//   seen <end ns> <sales shown by the free stock of article 101>
//   smb <file bytes sent and received>
// and, on stderr, what its SMB file access counted.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "network/multi_till_refresh.h"
#include "platform/smb_file_access.h"
#include "sale_harness.h"

namespace {

class RealSleeper : public vorsa::Sleeper {
  public:
    void Sleep(int ms) override { ::usleep(static_cast<useconds_t>(ms) * 1000); }
};

long long NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vorsa;
    if (argc != 6) return 2;
    const std::string folder = argv[1];
    const long long seconds = std::atoll(argv[4]);
    const long long offsetMs = std::atoll(argv[5]);
    RealSleeper sleeper;
    SmbOptions o;
    o.port = std::atoi(argv[2]);
    const long long t0 = NowNs();
    auto local = MakeLocalFileAccess(false);
    auto smb = MakeSmbFileAccess(sleeper, o);
    RoutingFileAccess files(*local, *smb);
    files.AliasFolderIfShared(folder, "//127.0.0.1/vorsa$", {"Vorsa.ini", "Vorsa.ini.lck"});
    test::Cassa c(files, "", argv[3], folder, &sleeper);
    c.vendita->ImpostaStampaAutomatica(false);
    CaricaFinestra(*c.till, ScreenTwips{20000, 12000});
    std::printf("ready %.1f\n", static_cast<double>(NowNs() - t0) / 1e6);
    std::fflush(stdout);
    std::string go;
    if (!std::getline(std::cin, go)) return 3;

    Till& t = *c.till;
    MultiTillRefresh refresh(files, t.store, t.cat, t.opt, t.paths);
    const int stock = 30000;
    std::vector<std::string> out;
    smb->ResetCounters();
    const long long start = NowNs();
    const long long stopSelling = start + seconds * 1000000000LL;
    const long long stop = stopSelling + 6000000000LL;
    long long nextSale = start + offsetMs * 1000000LL;
    long long nextTick = start;
    for (;;) {
        const long long next = std::min(nextSale < stopSelling ? nextSale : stop, nextTick);
        if (next >= stop) break;
        const long long wait = next - NowNs();
        if (wait > 0) ::usleep(static_cast<useconds_t>(wait / 1000));
        if (next == nextTick) {  // what the window's refresh timer does
            DopoAggiornamento(t, refresh.Tick(nullptr));
            c.vendita->DopoAggiornamento();
            out.push_back("seen " + std::to_string(NowNs()) + " " +
                          std::to_string(stock - c.Art(101).pieces));
            nextTick += 2000000000LL;
            continue;
        }
        nextSale += 5000000000LL;
        for (const char* code : {"101", "102", "201"}) {
            c.Digita(code);
            c.Timer();
        }
        c.Digita("F1");
        c.Timer();
        const long long a = NowNs();
        c.Digita("F4");
        c.Timer();
        const long long b = NowNs();
        int numero = 0;
        if (c.view.lines.empty()) {
            const LastBill& u = t.conto.ultimoConto;
            numero = u.provvisorio.empty() ? static_cast<int>(u.numero) : -1;
        } else {  // not saved: the bill goes
            c.Digita("F1");
            c.Timer();
            c.prompter.confirmations.push_back(true);
            c.Digita("F2");
            c.Timer();
        }
        char line[96];
        std::snprintf(line, sizeof line, "sale %lld %.2f %d", b, static_cast<double>(b - a) / 1e6,
                      numero);
        out.emplace_back(line);
    }
    for (const auto& l : out) std::printf("%s\n", l.c_str());
    const SmbCounters& k = smb->counters();
    std::printf("smb %lld\n", k.sent + k.received);
    std::fprintf(stderr, "%s: sent %lld received %lld, %ld whole reads, %ld from the log\n",
                 argv[3], k.sent, k.received, k.fullReads, k.logRefreshes);
    return 0;
}
