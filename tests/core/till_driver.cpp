// One till in its own process over the real SMB path, for the multi-till tests and benchmarks:
//   till_driver FOLDER PORT USER sell N CODE...   N sales of one piece of each code, a refresh
//                                                  tick after each; then waiting sales are
//                                                  delivered (up to 30 s)
//   till_driver FOLDER PORT USER sellretry N CODE...  the same, F4 again on a sale not saved
//                                                      (up to 30 s), then the printed numbers
//   till_driver FOLDER PORT USER queue N CODE...  as sell, without delivering at the end
//   till_driver FOLDER PORT USER deliver         delivers the waiting sales (up to 30 s)
//   till_driver FOLDER PORT USER sellforever CODE...
//   till_driver FOLDER PORT USER hold CODE K     K pieces in an open bill, then wait to be killed
//   till_driver FOLDER PORT USER start           start-up, the window's load step, one tick
//   till_driver FOLDER PORT USER freeze          takes the data file's lock, then stops itself
//                                                (SIGSTOP): a till frozen mid-commit
// The role comes from FOLDER/Vorsa.ini. Prints one line of results.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "network/aggiorna_multi.h"
#include "platform/smb_file_access.h"
#include "sale_harness.h"

namespace {

class RealSleeper : public vorsa::Sleeper {
  public:
    void Sleep(int ms) override { ::usleep(static_cast<useconds_t>(ms) * 1000); }
};

}  // namespace

int main(int argc, char** argv) {
    using namespace vorsa;
    if (argc < 5) return 2;
    const std::string folder = argv[1];
    const std::string user = argv[3];
    const std::string command = argv[4];
    RealSleeper sleeper;
    SmbOptions o;
    o.port = std::atoi(argv[2]);
    auto local = MakeLocalFileAccess(false);
    auto smb = MakeSmbFileAccess(sleeper, o);
    RoutingFileAccess files(*local, *smb);
    // A main till reaches its own shared files through its share from the start, as the
    // executable does.
    files.AliasFolderIfShared(folder, "//127.0.0.1/vorsa$", {"Vorsa.ini", "Vorsa.ini.lck"});
    test::Cassa c(files, "", user, folder, &sleeper);
    c.vendita->ImpostaStampaAutomatica(false);
    CaricaFinestra(*c.till, ScreenTwips{20000, 12000});
    std::vector<std::string> codes(argv + 5, argv + argc);
    Till& t = *c.till;
    AggiornamentoMulti aggiornamento(files, t.store, t.cat, t.opt, t.paths);
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

    enum class Esito { Salvata, NonSalvata, Rifiutata };
    bool riprova = false;
    std::string numeri;
    auto sale = [&](const std::vector<std::string>& cs) {
        for (const auto& code : cs) {
            c.Digita(code);
            c.Timer();
        }
        if (c.view.lines.empty()) return Esito::Rifiutata;  // nothing left to sell
        c.Digita("F1");
        c.Timer();
        c.Digita("F4");
        c.Timer();
        // A sale not saved keeps its bill open, still being paid.
        for (int i = 0; riprova && !c.view.lines.empty() && i < 300; ++i) {
            sleeper.Sleep(100);
            c.Digita("F4");
            c.Timer();
        }
        if (!c.view.lines.empty()) {
            c.Digita("F1");  // give up: leave payment, clear the bill
            c.Timer();
            c.prompter.confirmations.push_back(true);
            c.Digita("F2");
            c.Timer();
            return Esito::NonSalvata;
        }
        const UltimoConto& u = c.till->conto.ultimoConto;
        numeri += " " + (u.provvisorio.empty() ? std::to_string(u.numero) : u.provvisorio);
        if (t.attesa.Quante() > 0) c.vendita->DopoAggiornamento();
        return Esito::Salvata;
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
        for (int k = 0; k < std::atoi(codes[1].c_str()); ++k) {
            c.Digita(codes[0]);
            c.Timer();
        }
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
