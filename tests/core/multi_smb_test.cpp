// Several tills, each in its own process, on one data file served by a real smbd.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "platform/smb_file_access.h"
#include "sale_harness.h"
#include "support/smbd_server.h"

namespace vorsa {
namespace {

namespace fs = std::filesystem;

struct Child {
    pid_t pid = -1;
    int out = -1;
};

Child Spawn(const std::string& folder, int port, const std::string& user,
            const std::vector<std::string>& args) {
    int p[2];
    if (::pipe(p) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(p[1], 1);
        ::close(p[0]);
        ::close(p[1]);
        std::vector<std::string> all = {TILL_DRIVER, folder, std::to_string(port), user};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(TILL_DRIVER, argv.data());
        ::_exit(127);
    }
    ::close(p[1]);
    return {pid, p[0]};
}

std::string ReadLine(const Child& c) {
    std::string line;
    char ch;
    while (::read(c.out, &ch, 1) == 1 && ch != '\n') line += ch;
    return line;
}

/// Waits for the child and returns what it printed.
std::string Finish(Child& c) {
    std::string out;
    char buf[256];
    ssize_t n;
    while ((n = ::read(c.out, buf, sizeof buf)) > 0) out.append(buf, static_cast<std::size_t>(n));
    ::close(c.out);
    int status = 0;
    ::waitpid(c.pid, &status, 0);
    return out;
}

void Kill(Child& c) {
    if (c.pid > 0) ::kill(c.pid, SIGKILL);
    Finish(c);
}

class MultiTillTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::SmbdAvailable()) GTEST_SKIP() << "smbd is not installed";
        root = (fs::temp_directory_path() / ("vorsa-multi-" + std::to_string(::getpid()))).string();
        fs::remove_all(root);
        main = root + "/principale";
        server = std::make_unique<test::SmbdServer>(main);
        ASSERT_TRUE(server->ok());
    }
    void TearDown() override {
        server.reset();
        fs::remove_all(root);
    }
    void Write(const std::string& path, const std::string& text) {
        fs::create_directories(fs::path(path).parent_path());
        auto local = MakeLocalFileAccess(false);
        local->ReplaceAll(path, text);
    }
    std::string Secondary(int n, int cicli = 200) {
        const std::string f = root + "/secondaria" + std::to_string(n);
        Write(f + "/Vorsa.ini",
              "[MULTIVORSA]\r\nABILITATO=1\r\nSISTEMA_REMOTO=127.0.0.1\r\n"
              "TIMER_CICLI=" +
                  std::to_string(cicli) + "\r\n");
        return f;
    }
    /// The shared files as a till reads them: through the share.
    IniDocument Shared(const char* name) {
        test::FakeSleeper s;
        SmbOptions o;
        o.port = server->port();
        auto smb = MakeSmbFileAccess(s, o);
        const ReadResult r = smb->ReadAll(server->Path(name));
        EXPECT_EQ(r.status, ReadStatus::Ok) << name;
        // Whole lines only: a section, a key with its value, or nothing.
        for (const std::string& line : Split(r.bytes, '\n')) {
            EXPECT_EQ(line.find('\0'), std::string::npos) << name;
            const std::string t = Trim(line);
            EXPECT_TRUE(t.empty() || t.front() == '[' || t.find('=') != std::string::npos)
                << name << ": " << line;
        }
        EXPECT_EQ(IniDocument::Parse(r.bytes).Serialize(), r.bytes) << name;
        return IniDocument::Parse(r.bytes);
    }
    /// Receipts 1..n each once, statistics and stock as the receipts tell, no lock left.
    void ExpectConsistent(std::map<std::string, int>* perTill = nullptr,
                          long long expectedReceipts = -1) {
        const IniDocument doc = Shared("Vorsa.ini");
        const long long n = Val(doc.Get("STATISTICHE", "SCONTRINI").value_or("0"));
        if (expectedReceipts >= 0) {
            EXPECT_EQ(n, expectedReceipts);
        }
        std::map<int, long long> sold;
        for (long long r = 1; r <= n; ++r) {
            const auto rec = doc.Get("SCONTRINI", std::to_string(r));
            ASSERT_TRUE(rec.has_value()) << "receipt " << r << " of " << n;
            const ScontrinoArchiviato s = LeggiScontrino(*rec, ';');
            ASSERT_TRUE(s.valido) << *rec;
            if (perTill) ++(*perTill)[s.identita.substr(0, s.identita.size() - 5)];
            for (const auto& v : s.voci) sold[v.code] += v.quantity;
        }
        EXPECT_FALSE(doc.Get("SCONTRINI", std::to_string(n + 1)).has_value());
        for (const auto& [code, q] : sold) {
            const auto stat = Split(doc.Get("STATISTICHE", std::to_string(code)).value_or(""), ';');
            ASSERT_EQ(stat.size(), 2u) << code;
            EXPECT_EQ(Val(stat[0]), q) << code;
        }
        const auto panino = Split(doc.Get("MANGIARE", "1").value_or(""), ';');
        ASSERT_GE(panino.size(), 5u);
        EXPECT_EQ(Val(panino[4]), std::max(0LL, stock - sold[101]));  // sold beyond it: 0
        soldPanini = sold[101];
    }
    void ExpectLocksFree() {
        const IniDocument lock = Shared("Vorsa.ini.lck");
        const std::string text = lock.Serialize();
        EXPECT_EQ(text.find("-LOCKED"), std::string::npos) << text;
        EXPECT_EQ(text.find("[ERRORI]"), std::string::npos) << text;
        for (const char* n : {"1", "2", "3"})
            EXPECT_EQ(Val(lock.Get("MULTIVORSA", n).value_or("0")), 0) << n;
    }
    std::string Slurp(const std::string& path) {
        auto local = MakeLocalFileAccess(false);
        return local->ReadAll(path).bytes;
    }
    void Catalogue(int pieces) {
        stock = pieces;
        Write(main + "/Vorsa.ini", "[MANGIARE]\r\nDIMENSIONE=2\r\n1=Panino;3,5;1;0;" +
                                       std::to_string(pieces) + ";1;" + std::to_string(pieces) +
                                       ";0\r\n2=Acqua;1;1;0;-1;1;-1;0\r\n[BERE]\r\nDIMENSIONE=1\r\n"
                                       "1=Birra;3;1;0;-1;2;-1;0\r\n[VARIE]\r\nDIMENSIONE=1\r\n"
                                       "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n");
    }

    std::string root;
    std::string main;
    std::unique_ptr<test::SmbdServer> server;
    long long stock = 0;
    long long soldPanini = 0;
};

TEST_F(MultiTillTest, FourTillsCommitTogetherWithoutGapOrDuplicate) {
    Catalogue(30000);
    const int kSales = 250;
    std::vector<Child> tills;
    const char* users[] = {"principale", "sec1", "sec2", "sec3"};
    for (int t = 0; t < 4; ++t)
        tills.push_back(Spawn(t == 0 ? main : Secondary(t), server->port(), users[t],
                              {"sell", std::to_string(kSales), "101", "102"}));
    for (auto& c : tills)
        EXPECT_EQ(Finish(c),
                  "committed " + std::to_string(kSales) + " failed 0 refused 0 waiting 0\n");
    std::map<std::string, int> perTill;
    ExpectConsistent(&perTill, 4 * kSales);
    for (const char* u : users) EXPECT_EQ(perTill[u], kSales) << u;
    EXPECT_EQ(soldPanini, 4 * kSales);
    const IniDocument doc = Shared("Vorsa.ini");
    const std::string n = std::to_string(4 * kSales);
    EXPECT_EQ(doc.Get("STATISTICHE", "102").value_or(""), n + ";" + n);
    EXPECT_EQ(doc.Get("STATISTICHE", "101").value_or(""), n + ";" + std::to_string(14 * kSales));
    ExpectLocksFree();
}

TEST_F(MultiTillTest, LimitedArticleRunsOutWithoutSellingMissingPieces) {
    Catalogue(60);
    std::vector<Child> tills;
    for (int t = 0; t < 4; ++t)
        tills.push_back(Spawn(t == 0 ? main : Secondary(t), server->port(),
                              "cassa" + std::to_string(t), {"sell", "40", "101"}));
    int committed = 0;
    for (auto& c : tills) {
        int ok = 0, failed = 0, refused = 0;
        ASSERT_EQ(std::sscanf(Finish(c).c_str(), "committed %d failed %d refused %d", &ok, &failed,
                              &refused),
                  3);
        // A bill that took a piece another till sold meanwhile is refused at F4, not sold.
        committed += ok;
    }
    ExpectConsistent(nullptr, committed);
    EXPECT_EQ(soldPanini, 60);  // 160 asked for, 60 there: all sold, none more
    ExpectLocksFree();
}

TEST_F(MultiTillTest, KilledTillGivesHeldPiecesBackAtItsNextStart) {
    Catalogue(50);
    const std::string s = Secondary(1);
    Child c = Spawn(s, server->port(), "sec1", {"hold", "101", "3"});
    ASSERT_EQ(ReadLine(c), "held 3");
    EXPECT_EQ(Shared("Vorsa.ini.lck").Get("MULTIVORSA", "1").value_or(""), "3");
    Kill(c);
    EXPECT_EQ(Shared("Vorsa.ini.lck").Get("MULTIVORSA", "1").value_or(""), "3");
    // The pieces are recorded in the secondary's own file, never in the main till's.
    EXPECT_EQ(Slurp(main + "/Vorsa.ini").find("MULTIVORSA-TMP"), std::string::npos);
    Child again = Spawn(s, server->port(), "sec1", {"start"});
    EXPECT_EQ(Finish(again), "stato 5 multi 1\n");
    EXPECT_EQ(Shared("Vorsa.ini.lck").Get("MULTIVORSA", "1").value_or(""), "0");
    const auto local = MakeLocalFileAccess(false);
    ProfileStore p(*local);
    EXPECT_EQ(p.Get(s + "/Vorsa.ini", "MULTIVORSA-TMP", "1").value_or(""), "0");
    ExpectLocksFree();
}

TEST_F(MultiTillTest, TillKilledMidCommitLeavesWholeSales) {
    Catalogue(30000);
    const std::string s = Secondary(1, 5);
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> pausa(400, 1200);
    long long last = 0;
    for (int round = 0; round < 12; ++round) {
        Child c = Spawn(s, server->port(), "sec1", {"sellforever", "101", "102", "201"});
        std::this_thread::sleep_for(std::chrono::milliseconds(pausa(rng)));
        Kill(c);
        ExpectConsistent();
        if (HasFailure()) break;
        last = soldPanini;
    }
    EXPECT_GT(last, 0) << "no sale was ever committed: the test proved nothing";
}

TEST_F(MultiTillTest, SecondaryStartedWhileTheMainTillIsDownSellsFromItsCatalogue) {
    Catalogue(10);
    const std::string s = Secondary(1);
    server->Stop();
    // Never connected: no catalogue of the main till to sell from, so single mode.
    Child alone = Spawn(s, server->port(), "sec1", {"start"});
    EXPECT_EQ(Finish(alone), "stato 4 multi 0\n");
    ASSERT_TRUE(server->Start());
    Child back = Spawn(s, server->port(), "sec1", {"start"});
    EXPECT_EQ(Finish(back), "stato 5 multi 1\n");
    // Down again at the next start: it sells the main till's articles (its own file has
    // none), and the sales arrive once the main till is back, without a restart.
    server->Stop();
    Child away = Spawn(s, server->port(), "sec1", {"start"});
    EXPECT_EQ(Finish(away), "stato 6 multi 1\n");
    Child sells = Spawn(s, server->port(), "sec1", {"sellretry", "3", "101", "201"});
    std::this_thread::sleep_for(std::chrono::seconds(2));
    ASSERT_TRUE(server->Start());
    EXPECT_EQ(Finish(sells), "committed 3 failed 0 refused 0 waiting 0\nnumeri P1 P2 P3\n");
    ExpectConsistent(nullptr, 3);
    EXPECT_EQ(soldPanini, 3);
}

TEST_F(MultiTillTest, ATillKilledWhileDeliveringDeliversEachSaleOnce) {
    Catalogue(30000);
    const std::string s = Secondary(1, 5);
    Child first = Spawn(s, server->port(), "sec1", {"sell", "2", "101"});
    EXPECT_EQ(Finish(first), "committed 2 failed 0 refused 0 waiting 0\n");
    server->Stop();
    Child queue = Spawn(s, server->port(), "sec1", {"queue", "20", "101", "102"});
    EXPECT_EQ(Finish(queue), "committed 20 failed 0 refused 0 waiting 20\n");
    ASSERT_TRUE(server->Start());
    // Killed at random moments of start-up and delivery: each time the file holds whole
    // sales only, and none twice.
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int> pausa(20, 400);
    for (int round = 0; round < 15 && !HasFailure(); ++round) {
        Child c = Spawn(s, server->port(), "sec1", {"deliver"});
        std::this_thread::sleep_for(std::chrono::milliseconds(pausa(rng)));
        Kill(c);
        ExpectConsistent();
    }
    Child last = Spawn(s, server->port(), "sec1", {"deliver"});
    const std::string out = Finish(last);
    EXPECT_NE(out.find("left 0"), std::string::npos) << out;
    ExpectConsistent(nullptr, 22);
    EXPECT_EQ(soldPanini, 22);
    EXPECT_EQ(Shared("Vorsa.ini").Get("STATISTICHE", "102").value_or(""), "20;20");
}

TEST_F(MultiTillTest, MainTillGoneMidEventSalesWaitAndArriveOnce) {
    Catalogue(3);
    test::FakeSleeper smbSleeper;
    SmbOptions o;
    o.port = server->port();
    auto local = MakeLocalFileAccess(false);
    auto smb = MakeSmbFileAccess(smbSleeper, o);
    RoutingFileAccess files(*local, *smb);
    const std::string s = Secondary(1);
    test::Cassa c(files, "", "sec1", s);
    ASSERT_EQ(c.till->statoMultiVorsa, StatoMultiVorsa::SecondariaOk);
    c.vendita->ImpostaStampaAutomatica(false);
    for (const char* k : {"101", "F1", "F4"}) c.Digita(k);
    EXPECT_EQ(c.Dati("STATISTICHE", "SCONTRINI"), "1");

    server->Stop();
    c.sleeper.count = 0;
    // Two bills while the main till is away, 3 panini where 2 are left: both close as usual,
    // print a provisional number and wait, with no box to confirm.
    for (const char* k : {"101", "101", "F1", "F4"}) c.Digita(k);
    EXPECT_EQ(c.till->conto.ultimoConto.provvisorio, "P1");
    for (const char* k : {"101", "F1", "F4"}) c.Digita(k);
    EXPECT_EQ(c.till->conto.ultimoConto.provvisorio, "P2");
    EXPECT_TRUE(c.view.lines.empty());
    EXPECT_TRUE(c.prompter.messages.empty());
    EXPECT_EQ(c.view.inAttesa, "2 vendite in attesa di invio");
    // Nothing waited: neither the key locks nor the whole-file locks.
    EXPECT_EQ(c.sleeper.count, 0);
    EXPECT_EQ(smbSleeper.count, 0);
    const std::string lista = Slurp(s + "/VorsaAttesa.ini");

    ASSERT_TRUE(server->Start());
    // The refresh ticks: the share is tried again a moment after it stopped answering.
    for (int i = 0; i < 50 && !c.view.inAttesa.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        c.vendita->DopoAggiornamento();
    }
    EXPECT_EQ(c.view.inAttesa, "");
    ExpectConsistent(nullptr, 3);
    EXPECT_EQ(soldPanini, 4);  // one beyond the stock, which ends at 0
    EXPECT_EQ(Shared("Vorsa.ini").Get("SCORTA-SUPERATA", "101").value_or(""), "1");
    // Killed after the shared write, before its list was emptied: nothing is delivered twice.
    Write(s + "/VorsaAttesa.ini", lista);
    c.vendita->DopoAggiornamento();
    ExpectConsistent(nullptr, 3);
    EXPECT_EQ(c.view.inAttesa, "");

    // The main till's operator is told which article went beyond its stock, once.
    test::Cassa principale(files, "", "principale", main);
    principale.vendita->DopoAggiornamento();
    principale.vendita->DopoAggiornamento();
    ASSERT_EQ(principale.prompter.messages.size(), 1u);
    EXPECT_NE(principale.prompter.messages[0].find("Panino (101): 1 pezzo in pi"),
              std::string::npos)
        << principale.prompter.messages[0];
    EXPECT_FALSE(Shared("Vorsa.ini").HasSection("SCORTA-SUPERATA"));
}

TEST_F(MultiTillTest, ATillFrozenHoldingTheFileHoldsUpTheOthersOnlyUntilItIsGone) {
    Catalogue(30000);
    Child other = Spawn(Secondary(1), server->port(), "secondaria", {"sellretry", "150", "101"});
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    Child frozen = Spawn(main, server->port(), "principale", {"freeze"});
    ASSERT_EQ(ReadLine(frozen), "frozen 1");
    // While it is frozen the other till cannot commit: each F4 fails after the lock wait and
    // the bill stays open. It sells on as soon as the frozen till's connection is gone (a
    // killed process at once; a computer that stopped answering once smbd's keepalive drops
    // it).
    auto numero = [&] {
        return Val(IniDocument::Parse(Slurp(main + "/Vorsa.ini"))
                       .Get("STATISTICHE", "SCONTRINI")
                       .value_or("0"));
    };
    const long long prima = numero();
    std::this_thread::sleep_for(std::chrono::seconds(5));
    EXPECT_EQ(numero(), prima);
    EXPECT_LT(prima, 150) << "the sales ended before the freeze: the test proved nothing";
    Kill(frozen);
    const std::string out = Finish(other);
    EXPECT_EQ(out.substr(0, out.find('\n') + 1), "committed 150 failed 0 refused 0 waiting 0\n")
        << out;
    ExpectConsistent(nullptr, 150);
    ExpectLocksFree();
}

// Two tills selling at the same moment while something is wrong with the share, its lock file
// or the tills themselves: every sale saved once, numbers distinct and without gaps, no
// receipt printed with a number another sale has, and no lock entry left behind.
class MultiTillFaultTest : public MultiTillTest,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(MultiTillFaultTest, TwoTillsStayExact) {
    const std::string guasto = GetParam();
    Catalogue(30000);
    const std::string s = Secondary(1);
    std::string utenti[2] = {"principale", "secondaria"};
    auto aggiungi = [&](const std::string& ini, const std::string& testo) {
        Write(ini, Slurp(ini) + testo);
    };
    if (guasto == "voci-orfane") {
        // A till killed mid-commit left its entries on every key of a sale.
        Write(main + "/Vorsa.ini.lck",
              "[STATISTICHE]\r\nDATA-LOCKED=morto12345\r\nSCONTRINI-LOCKED=morto12345\r\n"
              "101-LOCKED=morto12345\r\n[SCONTRINI]\r\nSTORNI-LOCKED=morto12345\r\n");
    } else if (guasto == "stessa-identita") {
        // A prepared folder copied from one laptop to the other before the first start.
        utenti[1] = utenti[0];
        aggiungi(main + "/Vorsa.ini", "LOCKSUFF=ABCDE\r\n");
        Write(s + "/Vorsa.ini", Slurp(s + "/Vorsa.ini") + "LOCKSUFF=ABCDE\r\n");
    } else if (guasto == "lock-sola-lettura") {
        Write(main + "/Vorsa.ini.lck", "[MULTIVORSA]\r\n");
        const std::string setmode = "smbclient -N -p " + std::to_string(server->port()) +
                                    " //127.0.0.1/vorsa$ -c 'setmode Vorsa.ini.lck +r' "
                                    ">/dev/null 2>&1";
        ASSERT_EQ(std::system(setmode.c_str()), 0);
    }
    // Enough sales that the share's outage falls among them.
    const int kSales = guasto == "condivisione-giu" ? 150 : 25;
    Child tills[2] = {
        Spawn(main, server->port(), utenti[0], {"sellretry", std::to_string(kSales), "101", "102"}),
        Spawn(s, server->port(), utenti[1], {"sellretry", std::to_string(kSales), "101", "102"})};
    if (guasto == "condivisione-giu") {
        // Both tills at work, then the share goes.
        for (int i = 0; i < 100 && Val(IniDocument::Parse(Slurp(main + "/Vorsa.ini"))
                                           .Get("STATISTICHE", "SCONTRINI")
                                           .value_or("0")) < 6;
             ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        server->Stop();
        std::this_thread::sleep_for(std::chrono::seconds(5));
        ASSERT_TRUE(server->Start());
    }
    std::multiset<long long> numeri;
    std::multiset<long long> provvisori;
    for (auto& c : tills) {
        const std::string out = Finish(c);
        EXPECT_EQ(out.substr(0, out.find('\n') + 1),
                  "committed " + std::to_string(kSales) + " failed 0 refused 0 waiting 0\n")
            << out;
        const auto righe = Split(out, '\n');
        ASSERT_GE(righe.size(), 2u) << out;
        for (const auto& n : Split(righe[1], ' '))
            if (n != "numeri" && !n.empty()) (n[0] == 'P' ? provvisori : numeri).insert(Val(n));
    }
    // What was printed: every committed number once, none twice, and the sales that had to
    // wait under numbers of their own.
    EXPECT_EQ(numeri.size() + provvisori.size(), 2u * kSales);
    EXPECT_EQ(std::set<long long>(numeri.begin(), numeri.end()).size(), numeri.size());
    for (long long n : numeri) EXPECT_TRUE(n >= 1 && n <= 2 * kSales) << n;
    if (guasto == "condivisione-giu") {
        EXPECT_FALSE(provvisori.empty()) << "the share went down between sales: none waited";
    }
    ExpectConsistent(nullptr, 2 * kSales);
    EXPECT_EQ(soldPanini, 2 * kSales);
    const std::string lock = Shared("Vorsa.ini.lck").Serialize();
    EXPECT_EQ(lock.find("-LOCKED"), std::string::npos) << lock;
}

INSTANTIATE_TEST_SUITE_P(Guasti, MultiTillFaultTest,
                         ::testing::Values("nessuno", "voci-orfane", "stessa-identita",
                                           "lock-sola-lettura", "condivisione-giu"),
                         [](const auto& p) {
                             std::string n = p.param;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

}  // namespace
}  // namespace vorsa
