// The multi-till frame's rules and the refresh tick, on a started till in memory: what the frame
// shows, what lands in Vorsa.ini and its lock file, which share commands run, and how much the
// tick reads.
#include <gtest/gtest.h>

#include "network/aggiorna_multi.h"
#include "network/opzioni_multi.h"
#include "platform/text.h"
#include "startup/startup.h"
#include "support/fakes.h"

namespace vorsa {
namespace {

constexpr const char* kIni = "/p/Vorsa.ini";
constexpr const char* kLock = "/p/Vorsa.ini.lck";

class FakeTillShare : public TillShare {
  public:
    bool ok = true;
    std::vector<std::string> calls;
    bool CreateTillShare(const std::string& folder, const std::string& share) override {
        calls.push_back("create " + share + " " + folder);
        return ok;
    }
    void DeleteTillShare(const std::string& share) override { calls.push_back("delete " + share); }
    std::vector<std::string> ListLocalAddresses() override { return {"10.0.0.7", "192.168.1.20"}; }
    std::string CurrentUserName() override { return "cassiere"; }
    void ProteggiConPassword(bool on) override { calls.push_back(on ? "protect" : "open"); }
    bool ImpostaPassword(const std::string& vecchia, const std::string& nuova) override {
        calls.push_back("password " + vecchia + " -> " + nuova);
        return passwordOk;
    }
    bool passwordOk = true;
};

class StartupShare : public NetworkShare {
  public:
    bool CondividiCartella(const std::string&) override { return true; }
    std::string FileRemoto(const std::string& host) override { return vorsa::FileRemoto(host); }
};

class RecordingView : public VistaMulti {
  public:
    std::vector<RiquadroMulti> shown;
    std::vector<AvvisoOpzioniMulti> notices;
    void Mostra(const RiquadroMulti& r) override { shown.push_back(r); }
    void Avvisa(const AvvisoOpzioniMulti& a) override { notices.push_back(a); }
};

/// Counts what reaches the files, to tell a metadata check from a read.
class CountingFiles : public MemoryFileAccess {
  public:
    int reads = 0;
    int stamps = 0;
    ReadResult ReadAll(const std::string& path) override {
        ++reads;
        return MemoryFileAccess::ReadAll(path);
    }
    std::optional<FileStamp> Stamp(const std::string& path) override {
        ++stamps;
        return MemoryFileAccess::Stamp(path);
    }
};

struct Machine {
    CountingFiles files;
    test::FakeClock clock;
    test::FakeSleeper sleeper{&clock};
    test::FakeUser user;
    test::FakeShell shell;
    StartupShare startupShare;
    std::unique_ptr<Till> till;
    FakeTillShare share;
    RecordingView view;
    std::unique_ptr<OpzioniMulti> frame;

    explicit Machine(const std::string& ini, bool sessioneCondivisa = false) {
        files.ReplaceAll(kIni, ini);
        till = std::make_unique<Till>(Services{files, clock, sleeper, user, shell}, "/p",
                                      Version{1, 0, 0});
        AvviaTill(*till, StartupHooks{&startupShare});
        frame = std::make_unique<OpzioniMulti>(till->settings, share, view, sessioneCondivisa);
        frame->Carica();
    }
    std::string Get(const char* section, const char* key, const char* file = kIni) {
        ProfileStore p(files);
        return p.Get(file, section, key).value_or("(missing)");
    }
    const RiquadroMulti& Last() const { return view.shown.back(); }
};

std::string Multi(const std::string& keys) {
    return "[MULTIVORSA]\r\nLOCKSUFF=12345\r\n" + keys;
}

TEST(OpzioniMultiTest, LoadingShowsTheRoleInForce) {
    const struct {
        const char* keys;
        bool multi, principale;
    } cases[] = {
        {"", false, false},
        {"ABILITATO=1\r\nMASTER=1\r\n", true, true},
        // Role stored but mode off: no role shown, the choice locked.
        {"ABILITATO=0\r\nMASTER=1\r\n", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        Machine m(Multi(c.keys));
        const RiquadroMulti& r = m.Last();
        EXPECT_EQ(r.chkMulti, c.multi);
        EXPECT_EQ(r.sceltaAbilitata, c.multi);
        EXPECT_EQ(r.optVorsaPrinc, (std::array<bool, 2>{false, c.principale}));
        EXPECT_EQ(r.frmOpt, (std::array<bool, 2>{false, c.principale}));
        EXPECT_EQ(r.lblNomePostazione, "cassiere");
        EXPECT_EQ(r.lstIpAddress, (std::vector<std::string>{"10.0.0.7", "192.168.1.20"}));
        EXPECT_FALSE(r.lblVerifica);
    }
}

TEST(OpzioniMultiTest, SecondaryConnectedAtStartShowsItsFrame) {
    // The main till's file answers on the share before this till starts.
    CountingFiles files;
    files.ReplaceAll("//10.0.0.9/vorsa$/Vorsa.ini", "[NOTA]\r\n");
    files.ReplaceAll(kIni, Multi("ABILITATO=1\r\nMASTER=0\r\nSISTEMA_REMOTO=10.0.0.9\r\n"));
    test::FakeClock clock;
    test::FakeSleeper sleeper{&clock};
    test::FakeUser user;
    test::FakeShell shell;
    StartupShare s;
    Till till(Services{files, clock, sleeper, user, shell}, "/p", Version{1, 0, 0});
    AvviaTill(till, StartupHooks{&s});
    ASSERT_EQ(till.statoMultiVorsa, StatoMultiVorsa::SecondariaOk);
    FakeTillShare share;
    RecordingView view;
    OpzioniMulti frame(till.settings, share, view, true);
    frame.Carica();
    const RiquadroMulti& r = view.shown.back();
    EXPECT_TRUE(r.chkMulti && r.sceltaAbilitata);
    EXPECT_EQ(r.optVorsaPrinc, (std::array<bool, 2>{true, false}));
    EXPECT_EQ(r.frmOpt, (std::array<bool, 2>{true, false}));
    EXPECT_EQ(r.txtVorsaRemota, "10.0.0.9");
}

TEST(OpzioniMultiTest, SwitchingOffDeletesTheHeldPiecesAndLocksTheChoice) {
    for (bool condivisa : {false, true}) {
        SCOPED_TRACE(condivisa);
        Machine m(Multi("ABILITATO=1\r\nMASTER=1\r\n") +
                      "[MULTIVORSA-TMP]\r\n7=3\r\n12=0\r\n[PROGRAMMA]\r\nX=1\r\n",
                  condivisa);
        m.frame->CambiaMulti(false);
        EXPECT_EQ(m.Get("MULTIVORSA", "ABILITATO"), "0");
        EXPECT_EQ(m.Get("MULTIVORSA-TMP", "7"), "(missing)");
        EXPECT_EQ(m.files.files[kIni].find("[MULTIVORSA-TMP]"), std::string::npos);
        EXPECT_EQ(m.Get("PROGRAMMA", "X"), "1");
        const RiquadroMulti& r = m.Last();
        EXPECT_FALSE(r.chkMulti || r.sceltaAbilitata);
        EXPECT_EQ(r.frmOpt, (std::array<bool, 2>{false, false}));
        EXPECT_EQ(r.optVorsaPrinc, (std::array<bool, 2>{false, false}));
        // A run whose files other tills use keeps locking them until it restarts.
        EXPECT_EQ(m.till->opt.gMultiVorsa, condivisa);

        m.frame->CambiaMulti(true);
        EXPECT_EQ(m.Get("MULTIVORSA", "ABILITATO"), "1");
        EXPECT_TRUE(m.till->opt.gMultiVorsa);
        EXPECT_TRUE(m.Last().sceltaAbilitata);
        EXPECT_EQ(m.Last().frmOpt, (std::array<bool, 2>{false, false}));
    }
}

TEST(OpzioniMultiTest, ChoosingTheRoleSharesOrUnsharesTheFolder) {
    Machine m(Multi("ABILITATO=1\r\nMASTER=0\r\n"));
    m.frame->ScegliRuolo(1);
    EXPECT_EQ(m.share.calls, (std::vector<std::string>{"create vorsa$ /p"}));
    EXPECT_EQ(m.Get("MULTIVORSA", "MASTER"), "1");
    EXPECT_TRUE(m.till->opt.gPrincipale);
    EXPECT_EQ(m.Last().frmOpt, (std::array<bool, 2>{false, true}));
    EXPECT_TRUE(m.view.notices.empty());

    m.frame->ScegliRuolo(0);
    EXPECT_EQ(m.share.calls.back(), "delete vorsa$");
    EXPECT_EQ(m.Get("MULTIVORSA", "MASTER"), "0");
    EXPECT_FALSE(m.till->opt.gPrincipale);
    EXPECT_EQ(m.Last().frmOpt, (std::array<bool, 2>{true, false}));
    EXPECT_EQ(m.Last().optVorsaPrinc, (std::array<bool, 2>{true, false}));

    // A share that does not answer: the operator is told what to share by hand.
    m.share.ok = false;
    m.frame->ScegliRuolo(1);
    ASSERT_EQ(m.view.notices.size(), 1u);
    const AvvisoOpzioniMulti& a = m.view.notices[0];
    EXPECT_TRUE(a.critico);
    EXPECT_EQ(a.text.rfind("ERRORE durante la creazione della condivisione", 0), 0u);
    EXPECT_NE(a.text.find("la cartella /p utilizzando il nome [ vorsa$ ]"), std::string::npos);
    EXPECT_EQ(m.Get("MULTIVORSA", "MASTER"), "1");
}

TEST(OpzioniMultiTest, ThePasswordGoesToTheAccountTheShareAndTheOwnFileScrambled) {
    Machine m(Multi("ABILITATO=1\r\nMASTER=1\r\n"));
    EXPECT_TRUE(m.Last().senzaPassword);
    m.frame->EsciPassword(" segreta ");
    EXPECT_EQ(m.share.calls, (std::vector<std::string>{"password vorsa -> segreta", "protect",
                                                       "create vorsa$ /p"}));
    const std::string stored = m.Get("MULTIVORSA", "PASSWORD");
    EXPECT_EQ(DecodificaPassword(kChiavePassword, stored), "segreta");
    EXPECT_FALSE(m.Last().senzaPassword);
    // Changed again: the account's old password is the one set before.
    m.share.calls.clear();
    m.frame->EsciPassword("altra");
    EXPECT_EQ(m.share.calls.front(), "password segreta -> altra");
    // The account refuses: nothing stored, the field shows the password in force.
    m.share.calls.clear();
    m.share.passwordOk = false;
    m.frame->EsciPassword("terza");
    EXPECT_EQ(m.share.calls.size(), 1u);
    EXPECT_EQ(DecodificaPassword(kChiavePassword, m.Get("MULTIVORSA", "PASSWORD")), "altra");
    EXPECT_EQ(m.Last().txtPasswordMulti, "altra");
    ASSERT_EQ(m.view.notices.size(), 1u);
    EXPECT_TRUE(m.view.notices[0].critico);
    // Emptied: open to guests again, and the warning back.
    m.share.calls.clear();
    m.frame->EsciPassword("");
    EXPECT_EQ(m.share.calls, (std::vector<std::string>{"open", "create vorsa$ /p"}));
    EXPECT_EQ(m.Get("MULTIVORSA", "PASSWORD"), "");
    EXPECT_TRUE(m.Last().senzaPassword);

    // A secondary only stores it, for its next start.
    Machine s(Multi("ABILITATO=1\r\nMASTER=0\r\n"));
    s.frame->EsciPassword("segreta");
    EXPECT_TRUE(s.share.calls.empty());
    EXPECT_EQ(DecodificaPassword(kChiavePassword, s.Get("MULTIVORSA", "PASSWORD")), "segreta");
    Machine again(s.files.files[kIni]);
    EXPECT_EQ(again.till->opt.gPasswordMulti, "segreta");
    EXPECT_EQ(again.Last().txtPasswordMulti, "segreta");
}

TEST(OpzioniMultiTest, RemoteKeyFilter) {
    const struct {
        int key;
        bool passes;
    } cases[] = {{'0', true},  {'5', true},  {'9', true},   {'.', true},  {8, true},
                 {9, true},    {'a', false}, {'Z', false},  {',', false}, {' ', false},
                 {'/', false}, {':', false}, {'\\', false}, {13, false},  {0xE8, false}};
    for (const auto& c : cases) EXPECT_EQ(TastoVorsaRemota(c.key), c.passes) << c.key;
}

TEST(OpzioniMultiTest, CheckOfTheMainTillWhenLeavingTheField) {
    const struct {
        const char* typed;
        bool answers;
        const char* stored;
        bool notice;
        bool multiAfter;
    } cases[] = {
        {" 10.0.0.9 ", true, "10.0.0.9", true, true},
        {"10.0.0.8", false, "10.0.0.8", true, false},
        {"", false, "", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Machine m(Multi("ABILITATO=1\r\nMASTER=1\r\n"));
        if (c.answers) m.files.ReplaceAll("//10.0.0.9/vorsa$/Vorsa.ini", "[NOTA]\r\n");
        m.view.shown.clear();
        m.frame->EsciVorsaRemota(c.typed);
        EXPECT_EQ(m.Get("MULTIVORSA", "SISTEMA_REMOTO"), c.stored);
        // lblVerifica is up while the check runs, and gone after it.
        ASSERT_GE(m.view.shown.size(), 2u);
        EXPECT_TRUE(m.view.shown.front().lblVerifica);
        EXPECT_FALSE(m.Last().lblVerifica);
        EXPECT_EQ(m.view.notices.size(), c.notice ? 1u : 0u);
        EXPECT_EQ(m.till->opt.gMultiVorsa, c.multiAfter);
        if (!c.notice) continue;
        const AvvisoOpzioniMulti& a = m.view.notices[0];
        EXPECT_FALSE(a.critico);
        EXPECT_EQ(a.title, "MULTI-VORSA");
        if (c.answers) {
            EXPECT_EQ(a.text.rfind("Vorsa principale raggiunta\r\n", 0), 0u);
            EXPECT_EQ(m.till->opt.gSistemaRemoto, "10.0.0.9");
        } else {
            EXPECT_EQ(a.text.rfind("Vorsa principale NON raggiungibile.", 0), 0u);
            EXPECT_NE(a.hint.find("SUGGERIMENTO"), std::string::npos);
            EXPECT_EQ(m.till->opt.gSistemaRemoto, "");
        }
    }
}

TEST(OpzioniMultiTest, StationNameGoesToBothFiles) {
    Machine m(Multi("ABILITATO=1\r\nMASTER=1\r\n"));
    m.frame->EsciNomeVorsa("  Bar  ");
    EXPECT_EQ(m.Get("MULTIVORSA", "NOME"), "Bar");
    EXPECT_EQ(m.Get("MULTIVORSA", "cassiere12345", kLock), "Bar");
    EXPECT_EQ(m.till->opt.gNomeStazione, "Bar");

    // In single mode the lock file is not touched.
    Machine single(Multi(""));
    single.frame->EsciNomeVorsa("Cucina");
    EXPECT_EQ(single.Get("MULTIVORSA", "NOME"), "Cucina");
    EXPECT_EQ(single.files.files.count(kLock), 0u);
}

std::string Catalogo240() {
    std::string ini = Multi("ABILITATO=1\r\nMASTER=1\r\n");
    for (const char* s : {"MANGIARE", "BERE", "VARIE"}) {
        ini += std::string("[") + s + "]\r\nDIMENSIONE=80\r\n";
        for (int n = 1; n <= 80; ++n)
            ini += std::to_string(n) + "=Articolo " + std::to_string(n) + ";1;1;0;50;1;50;5\r\n";
    }
    return ini;
}

TEST(AggiornamentoMultiTest, RereadsOnlyWhenASharedFileChanged) {
    Machine m(Catalogo240());
    Till& t = *m.till;
    ASSERT_EQ(t.cat.gNumeroArticoli, 240);
    AggiornamentoMulti tick(m.files, t.store, t.cat, t.opt, t.paths);
    EXPECT_TRUE(tick.Tick(nullptr));  // the first tick reads everything

    m.files.reads = m.files.stamps = 0;
    EXPECT_FALSE(tick.Tick(nullptr));
    EXPECT_EQ(m.files.reads, 0);
    EXPECT_EQ(m.files.stamps, 2);

    // Another till holds 4 pieces of article 7: the next tick shows it.
    ProfileStore other(m.files);
    other.Set(kLock, "MULTIVORSA", "7", "4");
    EXPECT_TRUE(tick.Tick(nullptr));
    EXPECT_EQ(t.cat.gArticoli[7].sharedCount, 4);
    EXPECT_FALSE(tick.Tick(nullptr));

    // Another till sold out article 9 in the data file.
    other.Set(kIni, "MANGIARE", "9", "Articolo 9;1;1;0;0;1;50;5");
    EXPECT_TRUE(tick.Tick(nullptr));
    EXPECT_EQ(t.cat.gArticoli[9].pieces, 0);
}

TEST(AggiornamentoMultiTest, AMissingDataFileIsNotReadAndIsReadInFullWhenBack) {
    Machine m(Catalogo240());
    Till& t = *m.till;
    AggiornamentoMulti tick(m.files, t.store, t.cat, t.opt, t.paths);
    EXPECT_TRUE(tick.Tick(nullptr));
    const std::string saved = m.files.files[kIni];
    m.files.Remove(kIni);
    m.files.reads = 0;
    EXPECT_FALSE(tick.Tick(nullptr));
    EXPECT_EQ(m.files.reads, 0);
    m.files.ReplaceAll(kIni, saved);
    EXPECT_TRUE(tick.Tick(nullptr));
    EXPECT_FALSE(tick.Tick(nullptr));
}

}  // namespace
}  // namespace vorsa
