// Start-up on files in memory, and on damaged, strange or inaccessible real files: the till
// starts, says what the operator must do when sales cannot be kept, and never loses a line.
// Then the multi-till frame and the refresh tick on a started till: what the frame shows, what
// lands in Vorsa.ini and its lock file, which share commands run, and how much the tick reads.
#include "startup/startup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <tuple>

#include "network/multi_till_options.h"
#include "network/multi_till_refresh.h"
#include "platform/text.h"
#include "support/fakes.h"
#include "support/kill_loop.h"

namespace vorsa {
namespace {

constexpr const char* kIni = "/p/Vorsa.ini";
constexpr const char* kLock = "/p/Vorsa.ini.lck";
constexpr ScreenTwips kScreen{28800, 16200};  // 1920 x 1080 at 96 dpi

class FakeShare : public NetworkShare {
  public:
    bool ok = true;
    std::vector<std::string> shared;
    bool CondividiCartella(const std::string& folder) override {
        shared.push_back(folder);
        return ok;
    }
    std::string FileRemoto(const std::string& host) override {
        return "//" + host + "/vorsa$/Vorsa.ini";
    }
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
    /// A machine whose data file holds `ini` (none when empty).
    explicit Machine(const std::string& ini = "") {
        if (!ini.empty()) files.ReplaceAll(kIni, ini);
    }
    CountingFiles files;
    test::FakeClock clock;
    test::FakeSleeper sleeper{&clock};
    test::FakeUser user;
    test::FakeShell shell;

    std::unique_ptr<Till> Start(const StartupHooks& hooks = {}, Version v = {1, 4, 7}) {
        auto till = std::make_unique<Till>(Services{files, clock, sleeper, user, shell}, "/p", v);
        esito = AvviaTill(*till, hooks);
        return till;
    }
    StartupResult esito;
    std::string Ini() { return files.files[kIni]; }
    std::string Get(const char* section, const char* key, const char* file = kIni) {
        ProfileStore p(files);
        return p.Get(file, section, key).value_or("(missing)");
    }
};

TEST(StartupTest, FirstStartWritesACompleteFile) {
    Machine m;
    const std::string suffisso = m.Start()->opt.lockSuffix;
    const std::string ini = m.Ini();
    EXPECT_LT(ini.find("\r\n[MANGIARE]\r\n"), ini.find("\r\n[BERE]\r\n"));
    EXPECT_NE(
        ini.find("[BERE]\r\nDIMENSIONE=10\r\n1=\r\n2=\r\n3=\r\n4=\r\n5=\r\n6=\r\n7=\r\n8=\r\n"
                 "9=\r\n10=\r\n[VARIE]\r\nDIMENSIONE=4\r\n1=\r\n2=\r\n3=\r\n4=\r\n[MONETE]\r\n"
                 "S0=0,05\r\nS1=0,10\r\nS2=0,20\r\nS3=0,50\r\nS4=1\r\nS5=2\r\nS6=5\r\nS7=10\r\n"
                 "S8=20\r\nS9=50\r\n[PROGRAMMA]\r\nSEPARATORE=;\r\nVERSIONE_INI=1\r\n"
                 "BORDI MAGNETICI=Si\r\nBORDI MAGNETICI SENSIBILITA=20\r\nAGGIORNAMENTI=Si\r\n"
                 "[AZIONI]\r\nF1=PAGA CONTO;RIAPRI CONTO\r\nF2=CANCELLA\r\nF3=STORNO\r\n"
                 "F4=NUOVO CONTO\r\nF5=;IN CORSO...\r\nF6=STATISTICA\r\nF7=IMPOSTAZIONI\r\n"
                 "[MULTIVORSA]\r\nLOCKSUFF=" +
                 suffisso + "\r\nLOCKORIGINE="),
        std::string::npos)
        << ini;
    EXPECT_NE(ini.find("\r\n[STAMPA]\r\nTITOLO=\r\nTITOLO2=\r\nPIEDE=\r\nTESTO-RITIRO=\r\n"),
              std::string::npos);
    EXPECT_EQ(m.Get("MANGIARE", "DIMENSIONE"), "14");
    EXPECT_EQ(m.Get("MANGIARE", "14"), "");
    EXPECT_EQ(m.Get("MANGIARE", "15"), "(missing)");
    // A second start changes nothing.
    const long replaces = m.files.replaceCount;
    m.Start();
    EXPECT_EQ(m.Ini(), ini);
    EXPECT_EQ(m.files.replaceCount, replaces + 1);  // the readme only
}

TEST(StartupTest, PathsIdentityAndPasswords) {
    Machine m;
    m.user.name = "UnNomeUtenteMoltoLungoDavvero";
    auto first = m.Start();
    EXPECT_EQ(first->paths.gFilePassword, "/p/." + NomeFilePassword(m.user.name));
    EXPECT_EQ(first->opt.gIdentitaLock, "UnNomeUtenteMoltoLun" + first->opt.lockSuffix);
    EXPECT_EQ(NomeFilePassword("mario"), "~xXM_W^=adXbYe");  // "MARIO-PRENDO"
    EXPECT_EQ(NomeFilePassword("MARIO"), NomeFilePassword("mario"));
    EXPECT_EQ(NomeFilePassword("abcdefghijklmnop"),
              NomeFilePassword("abcdefghijklzzzz"));  // 12 count
    // 'Q' + 1 + 10 is '\\' and '#' + 2 + 10 is '/': both are dropped.
    EXPECT_EQ(NomeFilePassword("Q#").find_first_of("\\/"), std::string::npos);
    EXPECT_EQ(NomeFilePassword("Q#").size(), 2u + 10u);

    // The passwords come from that file; a damaged one is no password.
    m.files.files[first->paths.gFilePassword] =
        "[AZIONI]\r\nPASSF6=" + CodificaPassword(kChiavePassword, "stat") + "\r\nPASSF7=rotto\r\n";
    auto till = m.Start();
    EXPECT_EQ(till->gAzioni[6].password, "stat");
    EXPECT_EQ(till->gAzioni[7].password, "");
    // An older till kept the file in the temporary folder: it is taken over, then removed.
    const std::string vecchio = first->store.CartellaTemp() + NomeFilePassword(m.user.name);
    m.files.files.erase(first->paths.gFilePassword);
    m.files.files[vecchio] =
        "[AZIONI]\r\nPASSF7=" + CodificaPassword(kChiavePassword, "imp") + "\r\n";
    EXPECT_EQ(m.Start()->gAzioni[7].password, "imp");
    EXPECT_EQ(m.files.files.count(vecchio), 0u);
    EXPECT_EQ(m.Start()->gAzioni[7].password, "imp");
}

TEST(StartupTest, CoinsStatisticsKitchenOrdersAndImages) {
    Machine m(
        "[MONETE]\r\nS0=0.25\r\n[STATISTICHE]\r\nSCONTRINI=-4\r\n101=3;7,5\r\n"
        "102=2;x\r\n103=abc\r\n201=12;36.4\r\n[COMANDA]\r\nNUMERO=3\r\n[COMANDA1]\r\n"
        "NOME=Cucina calda e fredda\r\nABILITATO=1\r\nPRODOTTI=101;102\r\nMARGINE2=100\r\n"
        "OPZ2=1\r\n[COMANDA3]\r\nPRODOTTI=102\r\nMARGINE3=12\r\n[STAMPA]\r\n"
        "IMMAGINE0=/img/logo.jpg\r\nIMMAGINE_H0=900\r\nIMMAGINE_W0=1800\r\n"
        "IMMAGINE1=/img/manca.jpg\r\n");
    m.files.files["/img/logo.jpg"] = "jpg";
    auto till = m.Start();
    const Options& o = till->opt;
    EXPECT_EQ(o.gMonete[0], *ParseCurrency("0,25"));
    EXPECT_EQ(till->conto.gNumeroScontrino, 0);
    const Catalogue& c = till->cat;
    EXPECT_EQ(c.gArticoli[c.IndiceArticolo(101)].soldQuantity, 3);
    EXPECT_EQ(c.gArticoli[c.IndiceArticolo(101)].soldAmount, *ParseCurrency("7,5"));
    EXPECT_EQ(c.gArticoli[c.IndiceArticolo(102)].soldQuantity, 0);
    EXPECT_EQ(c.gArticoli[c.IndiceArticolo(103)].soldQuantity, 0);
    EXPECT_EQ(c.gArticoli[c.IndiceArticolo(201)].soldAmount, *ParseCurrency("36,4"));

    ASSERT_EQ(o.gNumeroComande, 3);
    EXPECT_TRUE(o.gComande[0].abilitato);
    EXPECT_EQ(o.gComande[0].margini[2], 0);
    EXPECT_TRUE(o.gComande[0].opz[1]);
    EXPECT_EQ(o.gComande[2].margini[3], 12);
    EXPECT_EQ(c.gArticoli[2].kitchenOrder, 3);
    EXPECT_EQ(o.headerImages[0].path, "/img/logo.jpg");
    EXPECT_EQ(o.headerImages[1].path, "");
}

TEST(StartupTest, UnwritableFileStartsOnDefaultsAndIsLeftAsItWas) {
    Machine m;
    m.files.failWrites = true;
    auto till = m.Start();
    EXPECT_EQ(till->cat.gNumeroArticoli, 28);
    EXPECT_EQ(m.files.files.count(kIni), 0u);
    EXPECT_EQ(CaricaFinestra(*till, kScreen).placement.width, kLarghezzaMinima);
    const std::string before = "[MANGIARE]\r\nDIMENSIONE=99\r\n1=Panino;2.5\r\n";
    m.files.files[kIni] = before;
    till = m.Start();
    EXPECT_EQ(till->cat.sezioni[0].size, 14);
    EXPECT_EQ(till->cat.gArticoli[1].name, "Panino");
    ChiudiFinestra(*till, CaricaFinestra(*till, kScreen).placement);
}

TEST(StartupTest, OddValuesInEveryOptionFallBackToDefaults) {
    const std::string odd[] = {"abc",
                               "-99999999999999999999",
                               "99999999999999999999",
                               "\xFF\xFE\x80",
                               std::string(600, '7'),
                               "1,5",
                               "-1",
                               "1e9",
                               "0x10"};
    for (const KeyDef* d : AllKeys()) {
        if (!d->show || d->section.find('#') != std::string_view::npos) continue;
        const Idx idx = d->key.find('#') == std::string_view::npos ? Idx() : Idx(d->first);
        const KeyName name = Resolve(*d, idx);
        for (const auto& v : odd) {
            Machine m("[" + name.section + "]\r\n" + name.key + "=" + v + "\r\n");
            auto till = m.Start();
            const std::string shown = d->show(till->opt, idx);
            const std::string cut = v.substr(0, 511);
            const std::string why = name.section + "/" + name.key + "=" + v;
            if (d->kind == OptionKind::Int) {
                const long long n = Val(cut);
                const bool inRange = IsInteger(cut) && n >= d->min && n <= d->max;
                EXPECT_EQ(shown, inRange ? std::to_string(n) : std::to_string(d->def)) << why;
            } else if (d->kind == OptionKind::Bool) {
                EXPECT_EQ(shown, d->def == 1 || (IsInteger(cut) && Val(cut) == 1) ? "1" : "0")
                    << why;
            } else if (d->kind == OptionKind::Flag || d->kind == OptionKind::Si) {
                EXPECT_EQ(shown, "0") << why;
            } else if (d->kind == OptionKind::Title) {
                EXPECT_EQ(shown, cut.substr(0, 30)) << why;
            } else if (d->kind == OptionKind::Amount) {
                const auto a = ParseCurrency(cut);
                EXPECT_EQ(shown, a ? FormatCurrencyShort(*a) : d->show(Options(), idx)) << why;
            }
            EXPECT_EQ(CaricaFinestra(*till, kScreen).placement.width, kLarghezzaMinima);
        }
    }
}

TEST(StartupTest, WindowPlacementIsCorrected) {
    struct Case {
        const char *top, *left, *width, *mode;
        std::array<int, 4> expected;  // top, left, width, mode
    } cases[] = {
        {"-1", "-1", "15000", "5", {0, 0, 15380, 2}},
        {"15200", "28300", "28300", "1", {15200, 28300, 28300, 1}},
        {"15201", "28301", "28301", "2", {0, 0, 15380, 2}},
        {"x", "1e3", "15380.5", "2.5", {0, 0, 15380, 2}},
    };
    for (const auto& c : cases) {
        Machine m(std::string("[PROGRAMMA]\r\nTOP=") + c.top + "\r\nLEFT=" + c.left +
                  "\r\nWIDTH=" + c.width + "\r\nMODE=" + c.mode + "\r\n");
        const WindowPlacement p = CaricaFinestra(*m.Start(), kScreen).placement;
        EXPECT_EQ((std::array{p.top, p.left, p.width, p.mode}), c.expected) << c.top << c.left;
    }
}

TEST(StartupTest, CodeTimerIsHealedAndTheVersionCheckFollowsItsSwitch) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"149", 300, "Si"}, {"150", 150, "no"}, {"abc", 300, "si"}};
    for (auto [stored, ms, aggiornamenti] : cases) {
        Machine m(std::string("[PROGRAMMA]\r\nTIMER_CODICI_MS=") + stored +
                  "\r\nAGGIORNAMENTI=" + aggiornamenti + "\r\n");
        EXPECT_EQ(CaricaFinestra(*m.Start(), kScreen).timerCodiciMs, ms) << stored;
        EXPECT_EQ(m.Get("PROGRAMMA", "TIMER_CODICI_MS"), std::to_string(ms));
        EXPECT_EQ(m.esito.controllaVersione, *aggiornamenti != 'n') << aggiornamenti;
    }
}

TEST(StartupTest, ReadmeCarriesTheVersionAndOpensOnceAVersion) {
    Machine m;
    auto till = m.Start({}, {2, 0, 13});
    EXPECT_NE(m.files.files["/p/Leggimi.txt"].find("\r\nVersione: 2.0.13\r\n"), std::string::npos);
    till = m.Start({}, {1, 4, 7});
    EXPECT_TRUE(CaricaFinestra(*till, kScreen).apriLeggimi);
    EXPECT_EQ(m.shell.opened.back(), "/p/Leggimi.txt");
    till = m.Start({}, {1, 4, 7});
    EXPECT_FALSE(CaricaFinestra(*till, kScreen).apriLeggimi);
    EXPECT_EQ(m.shell.opened.size(), 1u);
    till = m.Start({}, {1, 5, 0});
    EXPECT_TRUE(CaricaFinestra(*till, kScreen).apriLeggimi);
    EXPECT_EQ(m.shell.opened.size(), 2u);
}

TEST(StartupTest, ClosingSavesThePlacementInOrder) {
    Machine m;
    auto till = m.Start();
    CaricaFinestra(*till, kScreen);
    m.files.files[till->paths.gFileTmp] = "scratch";
    ChiudiFinestra(*till, {120, 340, 16000, 0});
    const std::string ini = m.Ini();
    const auto at = ini.find("[PROGRAMMA]");
    const auto end = ini.find("\r\n[", at + 1);
    EXPECT_EQ(ini.substr(at, end - at),
              "[PROGRAMMA]\r\nSEPARATORE=;\r\nVERSIONE_INI=1\r\nBORDI MAGNETICI=Si\r\n"
              "BORDI MAGNETICI SENSIBILITA=20\r\nAGGIORNAMENTI=Si\r\nTIMER_CODICI_MS=300\r\n"
              "EULA=147\r\nTOP=120\r\nLEFT=340\r\nMODE=0\r\nWIDTH=16000");
    EXPECT_EQ(m.files.files.count(till->paths.gFileTmp), 0u);
}

TEST(StartupTest, MultiTillRoles) {
    using S = MultiTillState;
    const char* kMain = "ABILITATO=1\r\nMASTER=1\r\n";
    const char* kSec = "ABILITATO=1\r\nSISTEMA_REMOTO=cassa1\r\n";
    struct Case {
        const char* section;
        bool share, shareOk, remoteExists;  // share: hooks with a share
        S stato;
        bool multiOn;
    } cases[] = {
        {kMain, true, true, false, S::PrincipaleOk, true},
        {kMain, true, false, false, S::PrincipaleSenzaCondivisione, true},
        {kMain, false, false, false, S::PrincipaleSenzaCondivisione, true},
        {"ABILITATO=1\r\n", true, true, false, S::SecondariaSenzaNome, false},
        {kSec, true, true, false, S::SecondariaIrraggiungibile, false},
        {kSec, true, true, true, S::SecondariaOk, true},
        {"ABILITATO=0\r\nMASTER=1\r\n", true, true, false, S::Singola, false},
    };
    for (const auto& c : cases) {
        Machine m(std::string("[MULTIVORSA]\r\nNOME=Bar\r\n") + c.section);
        if (c.remoteExists)
            m.files.files["//cassa1/vorsa$/Vorsa.ini"] = "[BERE]\r\nDIMENSIONE=2\r\n1=Birra;3\r\n";
        FakeShare share;
        share.ok = c.shareOk;
        StartupHooks hooks;
        if (c.share) hooks.share = &share;
        auto till = m.Start(hooks);
        EXPECT_EQ(till->statoMultiVorsa, c.stato) << c.section;
        EXPECT_EQ(till->opt.gMultiVorsa, c.multiOn) << c.section;
        EXPECT_EQ(till->store.lock.gMultiVorsa, c.multiOn);
        const std::string dati = c.remoteExists ? "//cassa1/vorsa$/Vorsa.ini" : kIni;
        EXPECT_EQ(till->paths.gFileDati, dati);
        EXPECT_EQ(till->paths.gFileLock, dati + ".lck");
        if (std::string(c.section).find("ABILITATO=1") != std::string::npos) {
            // The station is registered in the local lock file before the role is decided.
            EXPECT_EQ(m.Get("MULTIVORSA", till->opt.gIdentitaLock.c_str(), kLock), "Bar")
                << c.section;
        }
        if (c.stato == MultiTillState::SecondariaOk) {
            // Sizes come from the local file; articles from the main till's.
            EXPECT_EQ(till->cat.sezioni[1].size, 10);
            EXPECT_EQ(till->cat.gArticoli[till->cat.IndiceArticolo(201)].name, "Birra");
        }
    }
}

// Pieces a crashed run still held go back at the next start; those in the bill, at closing.
TEST(StartupTest, HeldPiecesGoBackAfterACrashAndAtClosing) {
    Machine m(
        "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n[MULTIVORSA-TMP]\r\n7=3\r\n8=5\r\n9=\r\n"
        "[MANGIARE]\r\n1=A;1;1;0;20;1;20;0\r\n2=B;1;1;0;-1;1;-1;0\r\n");
    m.files.files[kLock] = "[MULTIVORSA]\r\n1=6\r\n2=4\r\n7=10\r\n8=2\r\n";
    auto till = m.Start();
    CaricaFinestra(*till, kScreen);
    EXPECT_EQ(m.Get("MULTIVORSA", "7", kLock), "7");
    EXPECT_EQ(m.Get("MULTIVORSA", "8", kLock), "0");  // never below zero
    EXPECT_EQ(m.Get("MULTIVORSA-TMP", "7"), "0");
    EXPECT_EQ(m.Get("MULTIVORSA-TMP", "8"), "0");
    EXPECT_EQ(m.Get("MULTIVORSA", "7-LOCKED", kLock), "(missing)");
    EXPECT_EQ(m.files.files[kLock].find("ERRORI"), std::string::npos);

    // The bill holds 2 counted pieces of A and 3 of B, unlimited, so never counted.
    till->cat.gArticoli[1].quantity = 2;
    till->cat.gArticoli[2].quantity = 3;
    till->settings.Write(keys::PezziTenuti, "2", 1);
    ChiudiFinestra(*till, {});
    EXPECT_EQ(m.Get("MULTIVORSA", "1", kLock), "4");
    EXPECT_EQ(m.Get("MULTIVORSA", "2", kLock), "4");
    EXPECT_EQ(m.Get("MULTIVORSA-TMP", "1"), "0");
}

namespace fs = std::filesystem;
using test::Slurp;

constexpr const char* kCatalogo =
    "[MANGIARE]\r\nDIMENSIONE=2\r\n1=Panino;3,5;1;0;-1;1;-1;0\r\n2=\r\n"
    "[BERE]\r\nDIMENSIONE=1\r\n1=Acqua;1;1;0;-1;2;-1;0\r\n[VARIE]\r\nDIMENSIONE=1\r\n1=\r\n";

std::vector<std::string> Lines(const std::string& bytes) {
    return Split(ReplaceAll(ReplaceAll(bytes, "\r\n", "\n"), "\r", "\n"), '\n');
}

/// Starts a till in `folder` on real files: the data file's state and article 101's name.
std::pair<DataFileState, std::string> Avvia(const std::string& folder) {
    auto files = MakeLocalFileAccess(false);
    Machine m;  // for its clock, sleeper, user and shell
    Till till(Services{*files, m.clock, m.sleeper, m.user, m.shell}, folder, {1, 4, 7});
    AvviaTill(till);
    return {till.statoFileDati, till.cat.gArticoli[till.cat.IndiceArticolo(101)].name};
}

/// Runs `body` as an unprivileged user when the suite runs as root, who may read anything.
void SenzaPrivilegi(const std::function<void()>& body) {
    if (::geteuid() != 0) return body();
    EXPECT_TRUE(test::Succeeded(test::InChild([&] {
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        if (dropped) body();
        return dropped && !::testing::Test::HasFailure();
    }))) << "see the child's failures";
}

class DamagedFilesTest : public ::testing::Test {
  protected:
    void SetUp() override { ::chmod(dir_.c_str(), 0777); }  // the unprivileged cases work in it too
    void TearDown() override {
        ::chmod(dir_.c_str(), 0755);
        if (fs::exists(Ini())) ::chmod(Ini().c_str(), 0644);
    }
    std::string Ini() const { return dir_ + "/Vorsa.ini"; }
    void Write(const std::string& bytes) const { std::ofstream(Ini(), std::ios::binary) << bytes; }

    const test::TempDir temp_{"vorsa_damaged_"};
    const std::string dir_ = temp_.path;
};

// Whatever the bytes and however large the file, the till starts, keeps every line it does
// not understand and still reads the catalogue that follows them.
TEST_F(DamagedFilesTest, StrangeContentIsKeptLineByLine) {
    std::mt19937 rng(15);
    std::string random(64 * 1024, '\0');
    for (char& c : random) c = static_cast<char>(rng());
    std::string cut = kCatalogo;
    cut.resize(cut.find("Acqua") + 3);  // a write cut short in the middle of a line
    std::string archivio = "[SCONTRINI]\r\n";
    const std::string record =
        "=101-1-3,5;06/12/2026 19:45:03-3,5-" + std::string(900, 'T') + "-CASSA-0-0-0\r\n";
    for (int n = 1; archivio.size() < (50u << 20); ++n) archivio += std::to_string(n) + record;

    struct Case {
        const char* name;
        std::string before;  // what precedes the catalogue
        std::string after;
        const char* primo;
    };
    const Case cases[] = {
        {"random bytes", random + "\r\n", kCatalogo, "Panino"},
        {"1 MB line", "[APPUNTI]\r\n" + std::string(1 << 20, 'x') + "\r\n", kCatalogo, "Panino"},
        {"50 MB archive", archivio, kCatalogo, "Panino"},
        {"truncated", "", cut, "Panino"},
        {"empty", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string original = c.before + c.after;
        Write(original);
        EXPECT_EQ(Avvia(dir_), std::make_pair(DataFileState::Ok, std::string(c.primo)));
        const std::string file = Slurp(Ini());
        // The lines before the catalogue are not the till's: each one is still there, in order.
        const std::vector<std::string> dopo = Lines(file);
        auto at = dopo.begin();
        for (const std::string& line : Lines(c.before)) {
            if (line.empty()) continue;
            at = std::find(at, dopo.end(), line);
            ASSERT_NE(at, dopo.end()) << "lost a line of " << line.size() << " bytes";
        }
        Avvia(dir_);
        EXPECT_EQ(Slurp(Ini()), file) << "a second start changes nothing";
        fs::remove(Ini());
    }
}

// Where nothing sold could be saved the operator is told, and the file is left as it was.
TEST_F(DamagedFilesTest, AnInaccessibleDataFileIsToldAndLeftAlone) {
    struct Case {
        const char* name;
        std::function<void(const std::string& dir)> prepare;
        DataFileState stato;
    };
    const Case cases[] = {
        {"a folder", [](const std::string& d) { fs::create_directory(d + "/Vorsa.ini"); },
         DataFileState::NonLeggibile},
        {"mode 000",
         [this](const std::string& d) {
             Write(kCatalogo);
             ::chmod((d + "/Vorsa.ini").c_str(), 0);
         },
         DataFileState::NonLeggibile},
        {"read-only folder",
         [this](const std::string& d) {
             Write(kCatalogo);
             ::chmod(d.c_str(), 0555);
         },
         DataFileState::NonScrivibile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare(dir_);
        SenzaPrivilegi([&] {
            EXPECT_EQ(Avvia(dir_).first, c.stato);
            const auto avviso = AvvisoPerFile(c.stato, Ini());
            ASSERT_TRUE(avviso.has_value());
            EXPECT_NE(avviso->text.find(Ini()), std::string::npos) << "names the file";
            EXPECT_NE(avviso->text.find("NON verranno salvate"), std::string::npos);
        });
        ::chmod(dir_.c_str(), 0777);
        if (fs::is_directory(Ini())) {
            EXPECT_TRUE(fs::is_empty(Ini()));
        } else {
            ::chmod(Ini().c_str(), 0644);
            EXPECT_EQ(Slurp(Ini()), kCatalogo) << "untouched";
        }
        fs::remove(Ini());
        for (const auto& e : fs::directory_iterator(dir_))
            EXPECT_NE(e.path().filename().string().rfind(".Vorsa.ini.tmp", 0), 0u)
                << "left behind: " << e.path();
    }
    EXPECT_FALSE(AvvisoPerFile(DataFileState::Ok, Ini()).has_value());
}

class RecordingView : public MultiTillView {
  public:
    std::vector<MultiTillFrame> shown;
    std::vector<MultiOptionsNotice> notices;
    void Mostra(const MultiTillFrame& r) override { shown.push_back(r); }
    void Avvisa(const MultiOptionsNotice& a) override { notices.push_back(a); }
};

struct Frame : Machine {
    FakeShare startupShare;
    std::unique_ptr<Till> till;
    test::ScriptedShare share;
    RecordingView view;
    std::unique_ptr<MultiTillOptions> frame;

    /// A shared session: the main till's file at 10.0.0.9 answers before this till starts.
    explicit Frame(const std::string& ini, bool sessioneCondivisa = false) {
        if (sessioneCondivisa) files.ReplaceAll("//10.0.0.9/vorsa$/Vorsa.ini", "[NOTA]\r\n");
        files.ReplaceAll(kIni, ini);
        till = Start(StartupHooks{&startupShare});
        frame = std::make_unique<MultiTillOptions>(till->settings, share, view, sessioneCondivisa);
        frame->Carica();
    }
    const MultiTillFrame& Last() const { return view.shown.back(); }
};

std::string Multi(const std::string& keys) {
    return "[MULTIVORSA]\r\nLOCKSUFF=12345\r\n" + keys;
}

TEST(OpzioniMultiTest, LoadingShowsTheRoleInForce) {
    const struct {
        const char* keys;
        bool multi, principale, secondaria;
    } cases[] = {
        {"", false, false, false},
        {"ABILITATO=1\r\nMASTER=1\r\n", true, true, false},
        // Role stored but mode off: no role shown, the choice locked.
        {"ABILITATO=0\r\nMASTER=1\r\n", false, false, false},
        {"ABILITATO=1\r\nMASTER=0\r\nSISTEMA_REMOTO=10.0.0.9\r\n", true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        Frame m(Multi(c.keys), c.secondaria);
        ASSERT_EQ(m.till->statoMultiVorsa == MultiTillState::SecondariaOk, c.secondaria);
        const MultiTillFrame& r = m.Last();
        EXPECT_EQ(r.chkMulti, c.multi);
        EXPECT_EQ(r.sceltaAbilitata, c.multi);
        EXPECT_EQ(r.optVorsaPrinc, (std::array<bool, 2>{c.secondaria, c.principale}));
        EXPECT_EQ(r.frmOpt, (std::array<bool, 2>{c.secondaria, c.principale}));
        EXPECT_EQ(r.txtVorsaRemota, c.secondaria ? "10.0.0.9" : "");
    }
}

TEST(OpzioniMultiTest, SwitchingOffDeletesTheHeldPiecesAndLocksTheChoice) {
    for (bool condivisa : {false, true}) {
        SCOPED_TRACE(condivisa);
        Frame m(Multi("ABILITATO=1\r\nMASTER=1\r\n") +
                    "[MULTIVORSA-TMP]\r\n7=3\r\n12=0\r\n[PROGRAMMA]\r\nX=1\r\n",
                condivisa);
        m.frame->CambiaMulti(false);
        EXPECT_EQ(m.Get("MULTIVORSA", "ABILITATO"), "0");
        EXPECT_EQ(m.files.files[kIni].find("[MULTIVORSA-TMP]"), std::string::npos);
        EXPECT_EQ(m.Get("PROGRAMMA", "X"), "1");
        const MultiTillFrame& r = m.Last();
        EXPECT_FALSE(r.chkMulti || r.sceltaAbilitata);
        EXPECT_EQ(r.frmOpt, (std::array<bool, 2>{false, false}));
        EXPECT_EQ(r.optVorsaPrinc, (std::array<bool, 2>{false, false}));
        // A run whose files other tills use keeps locking them until it restarts.
        EXPECT_EQ(m.till->opt.gMultiVorsa, condivisa);

        m.frame->CambiaMulti(true);
        EXPECT_EQ(m.Get("MULTIVORSA", "ABILITATO"), "1");
        EXPECT_TRUE(m.till->opt.gMultiVorsa);
        EXPECT_TRUE(m.Last().sceltaAbilitata);
    }
}

TEST(OpzioniMultiTest, ChoosingTheRoleSharesOrUnsharesTheFolder) {
    Frame m(Multi("ABILITATO=1\r\nMASTER=0\r\n"));
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
    const MultiOptionsNotice& a = m.view.notices[0];
    EXPECT_TRUE(a.critico);
    EXPECT_NE(a.text.find("/p"), std::string::npos);
    EXPECT_EQ(m.Get("MULTIVORSA", "MASTER"), "1");
}

TEST(OpzioniMultiTest, ThePasswordGoesToTheAccountTheShareAndTheOwnFileScrambled) {
    Frame m(Multi("ABILITATO=1\r\nMASTER=1\r\n"));
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
    Frame s(Multi("ABILITATO=1\r\nMASTER=0\r\n"));
    s.frame->EsciPassword("segreta");
    EXPECT_TRUE(s.share.calls.empty());
    EXPECT_EQ(DecodificaPassword(kChiavePassword, s.Get("MULTIVORSA", "PASSWORD")), "segreta");
}

TEST(OpzioniMultiTest, RemoteKeyFilter) {
    for (unsigned char k : std::string("059.\b\t")) EXPECT_TRUE(TastoVorsaRemota(k)) << int{k};
    for (unsigned char k : std::string("aZ, /:\\\r\xE8"))
        EXPECT_FALSE(TastoVorsaRemota(k)) << int{k};
}

TEST(OpzioniMultiTest, CheckOfTheMainTillWhenLeavingTheField) {
    const struct {
        const char* typed;
        bool answers;
        const char* stored;
        bool notice, multiAfter;
    } cases[] = {
        {" 10.0.0.9 ", true, "10.0.0.9", true, true},
        {"10.0.0.8", false, "10.0.0.8", true, false},
        {"", false, "", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Frame m(Multi("ABILITATO=1\r\nMASTER=1\r\n"));
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
        EXPECT_FALSE(m.view.notices[0].critico);
        EXPECT_EQ(m.till->opt.gSistemaRemoto, c.answers ? "10.0.0.9" : "");
    }
}

TEST(OpzioniMultiTest, StationNameGoesToBothFiles) {
    Frame m(Multi("ABILITATO=1\r\nMASTER=1\r\n"));
    m.frame->EsciNomeVorsa("  Bar  ");
    EXPECT_EQ(m.Get("MULTIVORSA", "NOME"), "Bar");
    EXPECT_EQ(m.Get("MULTIVORSA", "cassiere12345", kLock), "Bar");
    EXPECT_EQ(m.till->opt.gNomeStazione, "Bar");

    // In single mode the lock file is not touched.
    Frame single(Multi(""));
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
    Frame m(Catalogo240());
    Till& t = *m.till;
    ASSERT_EQ(t.cat.gNumeroArticoli, 240);
    MultiTillRefresh tick(m.files, t.store, t.cat, t.opt, t.paths);
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

    // A data file gone away is not read, and is read in full once back.
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
