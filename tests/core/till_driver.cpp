// One till in its own process over the real SMB path, for the multi-till tests and benchmarks:
//   till_driver FOLDER PORT USER COMMAND [ARGS], the role from FOLDER/Vorsa.ini; one result line.
//   sell N CODE...       N sales of one piece of each code, a refresh tick after each, then the
//                        waiting sales delivered (up to 30 s); sellretry: the same, F4 again on a
//                        sale not saved (up to 30 s), then the printed numbers; queue: as sell,
//                        without delivering
//   deliver              delivers the waiting sales (up to 30 s)
//   sellforever CODE...  sells until killed
//   hold CODE K          K pieces in an open bill, then waits to be killed
//   start                start-up, the window's load step, one tick
//   freeze               takes the data file's lock, then stops itself (SIGSTOP)
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "network/multi_till_refresh.h"
#include "platform/smb_file_access.h"
#include "platform/system.h"
#include "sale_harness.h"

int main(int argc, char** argv) {
    using namespace vorsa;
    if (argc < 5) return 2;
    const std::string folder = argv[1];
    const std::string command = argv[4];
    const auto real = MakeSystemSleeper();
    Sleeper& sleeper = *real;
    auto local = MakeLocalFileAccess(false);
    auto smb = MakeSmbFileAccess(sleeper, {.port = std::atoi(argv[2])});
    RoutingFileAccess files(*local, *smb);
    // A main till reaches its own shared files through its share from the start, as the
    // executable does.
    files.AliasFolderIfShared(folder, "//127.0.0.1/vorsa$", {"Vorsa.ini", "Vorsa.ini.lck"});
    test::Cassa c(files, "", argv[3], folder, &sleeper);
    c.vendita->ImpostaStampaAutomatica(false);
    CaricaFinestra(*c.till, ScreenTwips{20000, 12000});
    std::vector<std::string> codes(argv + 5, argv + argc);
    Till& t = *c.till;
    MultiTillRefresh aggiornamento(files, t.store, t.cat, t.opt, t.paths);
    // What the window's refresh timer does.
    auto tick = [&] {
        if (!t.opt.gMultiVorsa) return;
        DopoAggiornamento(t, aggiornamento.Tick(nullptr));
        c.vendita->DopoAggiornamento();
    };
    auto consegna = [&] {
        for (int i = 0; t.opt.gMultiVorsa && t.attesa.Quante() > 0 && i < 300; ++i) {
            tick();
            if (t.attesa.Quante() > 0) sleeper.Sleep(100);
        }
        return t.attesa.Quante();
    };
    tick();  // the window's first refresh

    enum class Outcome { Salvata, NonSalvata, Rifiutata };
    bool riprova = false;
    std::string numeri;
    auto key = [&](const std::string& k) {
        c.Digita(k);
        c.Timer();
    };
    auto sale = [&](const std::vector<std::string>& cs) {
        for (const auto& code : cs) key(code);
        if (c.view.lines.empty()) return Outcome::Rifiutata;  // nothing left to sell
        key("F1");
        key("F4");
        // A sale not saved keeps its bill open, still being paid.
        for (int i = 0; riprova && !c.view.lines.empty() && i < 300; ++i) {
            sleeper.Sleep(100);
            key("F4");
        }
        if (!c.view.lines.empty()) {
            key("F1");  // give up: leave payment, clear the bill
            c.prompter.confirmations.push_back(true);
            key("F2");
            return Outcome::NonSalvata;
        }
        const LastBill& u = c.till->conto.ultimoConto;
        numeri += " " + (u.provvisorio.empty() ? std::to_string(u.numero) : u.provvisorio);
        if (t.attesa.Quante() > 0) c.vendita->DopoAggiornamento();
        return Outcome::Salvata;
    };

    if (command == "start") {
        const int stato = static_cast<int>(t.statoMultiVorsa);
        tick();
        std::printf("stato %d multi %d\n", stato, t.opt.gMultiVorsa ? 1 : 0);
        return 0;
    }
    if (command == "deliver") {
        const std::size_t prima = t.attesa.Quante();
        const std::size_t dopo = consegna();
        std::printf("delivered %zu left %zu\n", prima - dopo, dopo);
        return 0;
    }
    if (command == "freeze") {
        auto lock = files.LockExisting(c.till->paths.gFileDati);
        std::printf("frozen %d\n", lock ? 1 : 0);
        std::fflush(stdout);
        ::raise(SIGSTOP);
        return 0;
    }
    if (command == "hold" && codes.size() == 2) {
        for (int k = 0; k < std::atoi(codes[1].c_str()); ++k) key(codes[0]);
        std::printf("held %d\n", c.Art(std::atoi(codes[0].c_str())).quantity);
        std::fflush(stdout);
        for (;;) ::pause();
    }
    if (command == "sellforever") {
        for (;;) sale(codes);
    }
    riprova = command == "sellretry";
    if ((command == "sell" || command == "queue" || riprova) && !codes.empty()) {
        const int n = std::atoi(codes[0].c_str());
        codes.erase(codes.begin());
        int esiti[3] = {0, 0, 0};
        for (int i = 0; i < n; ++i) ++esiti[static_cast<int>(sale(codes))];
        const std::size_t attesa = command == "queue" ? t.attesa.Quante() : consegna();
        std::printf("committed %d failed %d refused %d waiting %zu\n", esiti[0], esiti[1], esiti[2],
                    attesa);
        if (riprova) std::printf("numeri%s\n", numeri.c_str());
        return 0;
    }
    return 2;
}
