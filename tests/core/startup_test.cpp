#include "startup/startup.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/text.h"
#include "support/fakes.h"

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

struct Machine {
    MemoryFileAccess files;
    test::FakeClock clock;
    test::FakeSleeper sleeper{&clock};
    test::FakeUser user;
    test::FakeShell shell;

    std::unique_ptr<Till> Start(const StartupHooks& hooks = {}, Version v = {1, 4, 7}) {
        auto till = std::make_unique<Till>(Services{files, clock, sleeper, user, shell}, "/p", v);
        AvviaTill(*till, hooks);
        return till;
    }
    std::string Ini() { return files.files[kIni]; }
    std::string Get(const char* section, const char* key, const char* file = kIni) {
        ProfileStore p(files);
        return p.Get(file, section, key).value_or("(missing)");
    }
};

TEST(StartupTest, FirstStartWritesACompleteFile) {
    Machine m;
    const std::string suffisso = m.Start()->opt.gLockSuffisso;
    const std::string ini = m.Ini();
    // Sections in the order start-up first writes them.
    std::vector<std::string> sections;
    for (const auto& line : Split(ReplaceAll(ini, "\r\n", "\n"), '\n'))
        if (!line.empty() && line[0] == '[') sections.push_back(line);
    EXPECT_EQ(sections,
              (std::vector<std::string>{"[NOTA]", "[MANGIARE]", "[BERE]", "[VARIE]", "[MONETE]",
                                        "[PROGRAMMA]", "[AZIONI]", "[MULTIVORSA]", "[STAMPA]"}));
    EXPECT_NE(ini.find("[NOTA]\r\n# Note 1:=" + std::string(68, '*') +
                       "\r\n# Note 2:=* In caso di necessit\xE0 o di comportamenti non previsti / "
                       "anomali   *\r\n"),
              std::string::npos);
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
    EXPECT_EQ(ini.substr(ini.size() - 2), "\r\n");
}

TEST(StartupTest, SecondStartChangesNothing) {
    Machine m;
    m.Start();
    const std::string first = m.Ini();
    const long replaces = m.files.replaceCount;
    m.Start();
    EXPECT_EQ(m.Ini(), first);
    EXPECT_EQ(m.files.replaceCount, replaces + 1);  // the readme only
}

TEST(StartupTest, ReadmeCarriesTheVersion) {
    Machine m;
    auto till = m.Start({}, {2, 0, 13});
    EXPECT_EQ(till->gVersione, "2.0.13");
    EXPECT_EQ(till->gNumeroVersione, 2013);
    EXPECT_EQ(till->gTitolo, "   Programma di gestione vorsa  -  NON FISCALE  -  (ver. 2.0.13)");
    const std::string readme = m.files.files["/p/Leggimi.txt"];
    EXPECT_NE(readme.find("\r\nVersione: 2.0.13\r\n"), std::string::npos) << readme;
}

TEST(StartupTest, PathsAndIdentity) {
    Machine m;
    m.user.name = "UnNomeUtenteMoltoLungoDavvero";
    auto till = m.Start();
    const Paths& p = till->paths;
    EXPECT_EQ(p.gFileIni, kIni);
    EXPECT_EQ(p.gFileDati, kIni);
    EXPECT_EQ(p.gFileLock, kLock);
    EXPECT_EQ(p.gCartellaStatistiche, "/p/Statistiche");
    EXPECT_EQ(p.gCartellaDati, "/p/Dati");
    const std::string temp = till->store.CartellaTemp();
    EXPECT_EQ(p.gFileTmp, temp + "VorsaTmp.txt");
    EXPECT_EQ(p.gFilePassword, "/p/." + NomeFilePassword(m.user.name));
    EXPECT_EQ(till->opt.gLockSuffisso.size(), 5u);
    EXPECT_EQ(till->opt.gIdentitaLock, "UnNomeUtenteMoltoLun" + till->opt.gLockSuffisso);
    EXPECT_EQ(till->opt.gNomeStazione, m.user.name);
}

TEST(StartupTest, PasswordFileName) {
    EXPECT_EQ(NomeFilePassword("mario"), "~xXM_W^=adXbYe");  // "MARIO-PRENDO"
    EXPECT_EQ(NomeFilePassword("MARIO"), NomeFilePassword("mario"));
    EXPECT_EQ(NomeFilePassword("abcdefghijklmnop"),
              NomeFilePassword("abcdefghijklzzzz"));  // 12 count
    // 'Q' + 1 + 10 is '\\' and '#' + 2 + 10 is '/': both are dropped.
    EXPECT_EQ(NomeFilePassword("Q#").find_first_of("\\/"), std::string::npos);
    EXPECT_EQ(NomeFilePassword("Q#").size(), 2u + 10u);
}

TEST(StartupTest, APasswordFileOfTheTemporaryFolderIsTakenOverOnce) {
    Machine m;
    auto first = m.Start();
    const std::string vecchio = first->store.CartellaTemp() + NomeFilePassword(m.user.name);
    m.files.files.erase(first->paths.gFilePassword);
    m.files.files[vecchio] =
        "[AZIONI]\r\nPASSF7=" + CodificaPassword(kChiavePassword, "imp") + "\r\n";
    EXPECT_EQ(m.Start()->gAzioni[7].password, "imp");
    EXPECT_EQ(m.files.files.count(vecchio), 0u);
    EXPECT_EQ(m.Start()->gAzioni[7].password, "imp");
}

TEST(StartupTest, PasswordsAreReadFromThePasswordFile) {
    Machine m;
    auto first = m.Start();
    m.files.files[first->paths.gFilePassword] =
        "[AZIONI]\r\nPASSF6=" + CodificaPassword(kChiavePassword, "stat") + "\r\nPASSF7=rotto\r\n";
    auto till = m.Start();
    EXPECT_EQ(till->gAzioni[5].password, "");
    EXPECT_EQ(till->gAzioni[6].password, "stat");
    EXPECT_EQ(till->gAzioni[7].password, "");
}

TEST(StartupTest, SeparatorRules) {
    struct Case {
        const char* stored;
        char separator;
        const char* fileAfter;
        const char* f1caption1;
        const char* f1caption2;
    } cases[] = {
        // Characters of the records' own syntax would break prices, receipts and voids.
        {",", ';', ";", "PAGA CONTO", "RIAPRI CONTO"},
        {"-", ';', ";", "PAGA CONTO", "RIAPRI CONTO"},
        {"/", ';', ";", "PAGA CONTO", "RIAPRI CONTO"},
        {"7", ';', ";", "PAGA CONTO", "RIAPRI CONTO"},
        {"#", '#', "#", "PAGA CONTO;RIA", ""},
        {";;", ';', ";", "PAGA CONTO", "RIAPRI CONTO"},
        {"|", '|', "|", "PAGA CONTO;RIA", ""},
        {"", ';', ";", "PAGA CONTO", "RIAPRI CONTO"},
    };
    for (const auto& c : cases) {
        Machine m;
        m.files.files[kIni] = std::string("[PROGRAMMA]\r\nSEPARATORE=") + c.stored + "\r\n";
        auto till = m.Start();
        EXPECT_EQ(till->opt.gSeparatore, c.separator) << c.stored;
        EXPECT_EQ(m.Get("PROGRAMMA", "SEPARATORE"), c.fileAfter);
        EXPECT_EQ(till->gAzioni[1].caption1, c.f1caption1) << c.stored;
        EXPECT_EQ(till->gAzioni[1].caption2, c.f1caption2) << c.stored;
    }
}

TEST(StartupTest, FunctionKeys) {
    Machine m;
    m.files.files[kIni] = "[AZIONI]\r\nF2=UNA DICITURA TROPPO LUNGA;ALTRA DICITURA LUNGA\r\n";
    auto till = m.Start();
    const struct {
        int n;
        const char* c1;
        const char* c2;
        int colour;
    } cases[] = {{1, "PAGA CONTO", "RIAPRI CONTO", 0x00FF00},
                 {2, "UNA DICITURA T", "ALTRA DICITURA", 0xFF00FF},
                 {3, "STORNO", "", 0xFF0000},
                 {4, "NUOVO CONTO", "", 0x00FFFF},
                 {5, "", "IN CORSO...", 0xFFFF00},
                 {6, "STATISTICA", "", 0},
                 {7, "IMPOSTAZIONI", "", 0}};
    for (const auto& c : cases) {
        const Azione& a = till->gAzioni[c.n];
        EXPECT_EQ(a.caption1, c.c1) << c.n;
        EXPECT_EQ(a.caption2, c.c2) << c.n;
        EXPECT_EQ(a.colour, c.colour) << c.n;
        EXPECT_TRUE(a.enabled);
        EXPECT_FALSE(a.stato);
    }
}

TEST(StartupTest, CoinsStatisticsAndReceiptCounter) {
    Machine m;
    m.files.files[kIni] =
        "[MONETE]\r\nS0=0.25\r\nS1=molti\r\n[STATISTICHE]\r\nSCONTRINI=-4\r\n101=3;7,5\r\n"
        "102=2;x\r\n103=abc\r\n201=12;36.4\r\n";
    auto till = m.Start();
    EXPECT_EQ(till->opt.gMonete[0], *ParseCurrency("0,25"));
    EXPECT_EQ(till->opt.gMonete[1], *ParseCurrency("0,10"));  // not a number: the default
    EXPECT_EQ(m.Get("MONETE", "S1"), "molti");                // and the file keeps it
    EXPECT_EQ(till->opt.gMonete[9], Currency::FromUnits(50));
    EXPECT_EQ(till->conto.gNumeroScontrino, 0);
    const Catalogue& c = till->cat;
    EXPECT_EQ(c.gArticoli[c.IndiceArticolo(101)].soldQuantity, 3);
    EXPECT_EQ(c.gArticoli[c.IndiceArticolo(101)].soldAmount, *ParseCurrency("7,5"));
    EXPECT_EQ(c.gArticoli[c.IndiceArticolo(102)].soldQuantity, 0);
    EXPECT_EQ(c.gArticoli[c.IndiceArticolo(103)].soldQuantity, 0);
    EXPECT_EQ(c.gArticoli[c.IndiceArticolo(201)].soldAmount, *ParseCurrency("36,4"));
    EXPECT_TRUE(c.gCatalogoCaricato);
}

TEST(StartupTest, SwitchesAndSensitivityHealAsTheyAreRead) {
    const struct {
        std::optional<std::string> bordi;  // also AGGIORNAMENTI; nullopt: key missing
        std::optional<std::string> sens;
        bool on;
        int sensitivity;
        const char* bordiAfter;
        const char* sensAfter;
    } cases[] = {
        {"Si", "20", true, 20, "Si", "20"},
        {"SI", "5", true, 20, "SI", "20"},   // below the range
        {"si", "70", true, 20, "si", "20"},  // above the range
        {"", "10", true, 10, "Si", "10"},    // empty: written "Si", on
        {std::nullopt, "abc", true, 20, "Si", "20"},
        {"no", "60", false, 60, "no", "60"},
        {"1", "35", false, 35, "1", "35"},    // only "si" in any case switches on
        {"Si ", "35", true, 35, "Si", "35"},  // the value is read trimmed
    };
    for (const auto& c : cases) {
        Machine m;
        std::string ini = "[PROGRAMMA]\r\n";
        if (c.bordi)
            ini += "BORDI MAGNETICI=" + *c.bordi + "\r\nAGGIORNAMENTI=" + *c.bordi + "\r\n";
        if (c.sens) ini += "BORDI MAGNETICI SENSIBILITA=" + *c.sens + "\r\n";
        m.files.files[kIni] = ini;
        auto till = std::make_unique<Till>(Services{m.files, m.clock, m.sleeper, m.user, m.shell},
                                           "/p", Version{1, 4, 7});
        const StartupResult r = AvviaTill(*till);
        const std::string what = c.bordi.value_or("(missing)") + "/" + c.sens.value_or("(missing)");
        EXPECT_EQ(till->opt.gBordiMagnetici, c.on) << what;
        EXPECT_EQ(till->opt.gAggiornamenti, c.on) << what;
        EXPECT_EQ(r.controllaVersione, c.on) << what;
        EXPECT_EQ(till->opt.gSensibilita, c.sensitivity) << what;
        EXPECT_EQ(m.Get("PROGRAMMA", "BORDI MAGNETICI"), c.bordiAfter) << what;
        EXPECT_EQ(m.Get("PROGRAMMA", "AGGIORNAMENTI"), c.bordiAfter) << what;
        EXPECT_EQ(m.Get("PROGRAMMA", "BORDI MAGNETICI SENSIBILITA"), c.sensAfter) << what;
    }
}

TEST(StartupTest, KitchenOrdersAndImages) {
    Machine m;
    m.files.files["/img/logo.jpg"] = "jpg";
    m.files.files[kIni] =
        "[COMANDA]\r\nNUMERO=3\r\n[COMANDA1]\r\nNOME=Cucina calda e fredda\r\nABILITATO=1\r\n"
        "PRODOTTI=101;102\r\nMARGINE2=100\r\nOPZ2=1\r\n[COMANDA3]\r\nPRODOTTI=102\r\n"
        "[STAMPA]\r\nIMMAGINE0=/img/logo.jpg\r\nIMMAGINE_H0=900\r\nIMMAGINE_W0=1800\r\n"
        "IMMAGINE1=/img/manca.jpg\r\n";
    auto till = m.Start();
    const Options& o = till->opt;
    ASSERT_EQ(o.gNumeroComande, 3);
    EXPECT_EQ(o.gComande[0].nome, "Cucina calda e");
    EXPECT_TRUE(o.gComande[0].abilitato);
    EXPECT_EQ(o.gComande[0].margini[2], 0);
    EXPECT_TRUE(o.gComande[0].opz[1]);
    EXPECT_EQ(o.gComande[1].nome, "Comanda 2");
    EXPECT_FALSE(o.gComande[1].abilitato);
    const Catalogue& c = till->cat;
    EXPECT_EQ(c.gArticoli[1].kitchenOrder, 1);
    EXPECT_EQ(c.gArticoli[2].kitchenOrder, 3);
    EXPECT_EQ(o.gImmagini[0].path, "/img/logo.jpg");
    EXPECT_EQ(o.gImmagini[0].height, 900);
    EXPECT_EQ(o.gImmagini[0].width, 1800);
    EXPECT_EQ(o.gImmagini[0].percent, 100);
    EXPECT_EQ(o.gImmagini[1].path, "");
}

TEST(StartupTest, UnwritableFileStartsOnDefaults) {
    Machine m;
    m.files.failWrites = true;
    auto till = m.Start();
    EXPECT_EQ(till->cat.gNumeroArticoli, 28);
    EXPECT_EQ(till->gAzioni[2].caption1, "CANCELLA");
    EXPECT_EQ(m.files.files.count(kIni), 0u);
    const LoadResult r = CaricaFinestra(*till, kScreen);
    EXPECT_EQ(r.placement.width, kLarghezzaMinima);
    ChiudiFinestra(*till, r.placement);
}

TEST(StartupTest, UnwritableFileIsLeftAsItWas) {
    Machine m;
    const std::string before = "[MANGIARE]\r\nDIMENSIONE=99\r\n1=Panino;2.5\r\n";
    m.files.files[kIni] = before;
    m.files.failWrites = true;
    auto till = m.Start();
    EXPECT_EQ(till->cat.sezioni[0].size, 14);
    EXPECT_EQ(till->cat.gArticoli[1].name, "Panino");
    ChiudiFinestra(*till, CaricaFinestra(*till, kScreen).placement);
    EXPECT_EQ(m.Ini(), before);
}

TEST(StartupTest, OddValuesInEveryOptionFallBackToDefaults) {
    const std::string odd[] = {"abc",
                               "-99999999999999999999",
                               "99999999999999999999",
                               std::string("\xFF\xFE\x80", 3),
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
            Machine m;
            m.files.files[kIni] = "[" + name.section + "]\r\n" + name.key + "=" + v + "\r\n";
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
        const char* top;
        const char* left;
        const char* width;
        const char* mode;
        WindowPlacement expected;
    } cases[] = {
        {"100", "200", "20000", "0", {100, 200, 20000, 0}},
        {"-1", "-1", "15000", "5", {0, 0, 15380, 2}},
        {"15200", "28300", "28300", "1", {15200, 28300, 28300, 1}},
        {"15201", "28301", "28301", "2", {0, 0, 15380, 2}},
        {"", "", "", "", {0, 0, 15380, 2}},
        {"x", "1e3", "15380.5", "2.5", {0, 0, 15380, 2}},
    };
    for (const auto& c : cases) {
        Machine m;
        m.files.files[kIni] = std::string("[PROGRAMMA]\r\nTOP=") + c.top + "\r\nLEFT=" + c.left +
                              "\r\nWIDTH=" + c.width + "\r\nMODE=" + c.mode + "\r\n";
        auto till = m.Start();
        const WindowPlacement p = CaricaFinestra(*till, kScreen).placement;
        EXPECT_EQ(p.top, c.expected.top) << c.top;
        EXPECT_EQ(p.left, c.expected.left) << c.left;
        EXPECT_EQ(p.width, c.expected.width) << c.width;
        EXPECT_EQ(p.mode, c.expected.mode) << c.mode;
    }
}

TEST(StartupTest, CodeTimerIsHealed) {
    const std::pair<const char*, int> cases[] = {
        {"149", 300}, {"150", 150}, {"", 300}, {"abc", 300}, {"1000", 1000}};
    for (auto [stored, ms] : cases) {
        Machine m;
        m.files.files[kIni] = std::string("[PROGRAMMA]\r\nTIMER_CODICI_MS=") + stored + "\r\n";
        auto till = m.Start();
        EXPECT_EQ(CaricaFinestra(*till, kScreen).timerCodiciMs, ms) << stored;
        EXPECT_EQ(m.Get("PROGRAMMA", "TIMER_CODICI_MS"), std::to_string(ms));
    }
}

TEST(StartupTest, ReadmeOpensOnceAVersion) {
    Machine m;
    auto till = m.Start({}, {1, 4, 7});
    EXPECT_TRUE(CaricaFinestra(*till, kScreen).apriLeggimi);
    EXPECT_EQ(m.shell.opened, std::vector<std::string>{"/p/Leggimi.txt"});
    EXPECT_EQ(m.Get("PROGRAMMA", "EULA"), "147");
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
    struct Case {
        const char* section;
        bool share;  // hooks with a share
        bool shareOk;
        bool remoteExists;
        StatoMultiVorsa stato;
        bool multiOn;
        const char* dati;
    } cases[] = {
        {"ABILITATO=1\r\nMASTER=1\r\n", true, true, false, StatoMultiVorsa::PrincipaleOk, true,
         kIni},
        {"ABILITATO=1\r\nMASTER=1\r\n", true, false, false,
         StatoMultiVorsa::PrincipaleSenzaCondivisione, true, kIni},
        {"ABILITATO=1\r\nMASTER=1\r\n", false, false, false,
         StatoMultiVorsa::PrincipaleSenzaCondivisione, true, kIni},
        {"ABILITATO=1\r\n", true, true, false, StatoMultiVorsa::SecondariaSenzaNome, false, kIni},
        {"ABILITATO=1\r\nSISTEMA_REMOTO=cassa1\r\n", true, true, false,
         StatoMultiVorsa::SecondariaIrraggiungibile, false, kIni},
        {"ABILITATO=1\r\nSISTEMA_REMOTO=cassa1\r\n", true, true, true,
         StatoMultiVorsa::SecondariaOk, true, "//cassa1/vorsa$/Vorsa.ini"},
        {"ABILITATO=0\r\nMASTER=1\r\n", true, true, false, StatoMultiVorsa::Singola, false, kIni},
    };
    for (const auto& c : cases) {
        Machine m;
        m.files.files[kIni] = std::string("[MULTIVORSA]\r\nNOME=Bar\r\n") + c.section;
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
        EXPECT_EQ(till->paths.gFileDati, c.dati);
        EXPECT_EQ(till->paths.gFileLock, std::string(c.dati) + ".lck");
        if (std::string(c.section).find("ABILITATO=1") != std::string::npos) {
            // The station is registered in the local lock file before the role is decided.
            EXPECT_EQ(m.Get("MULTIVORSA", till->opt.gIdentitaLock.c_str(), kLock), "Bar")
                << c.section;
        }
        if (c.stato == StatoMultiVorsa::SecondariaOk) {
            // Sizes come from the local file; articles from the main till's.
            EXPECT_EQ(till->cat.sezioni[1].size, 10);
            EXPECT_EQ(till->cat.gArticoli[till->cat.IndiceArticolo(201)].name, "Birra");
        }
    }
}

TEST(StartupTest, CrashedStationGivesBackReservedPieces) {
    Machine m;
    m.files.files[kIni] =
        "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n[MULTIVORSA-TMP]\r\n7=3\r\n8=5\r\n9=\r\n";
    m.files.files[kLock] = "[MULTIVORSA]\r\n7=10\r\n8=2\r\n";
    auto till = m.Start();
    CaricaFinestra(*till, kScreen);
    EXPECT_EQ(m.Get("MULTIVORSA", "7", kLock), "7");
    EXPECT_EQ(m.Get("MULTIVORSA", "8", kLock), "0");  // never below zero
    EXPECT_EQ(m.Get("MULTIVORSA-TMP", "7"), "0");
    EXPECT_EQ(m.Get("MULTIVORSA-TMP", "8"), "0");
    EXPECT_EQ(m.Get("MULTIVORSA", "7-LOCKED", kLock), "(missing)");
    EXPECT_EQ(m.files.files[kLock].find("ERRORI"), std::string::npos);
}

TEST(StartupTest, ClosingHandsBackPiecesInTheBill) {
    Machine m;
    m.files.files[kIni] =
        "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n[MANGIARE]\r\n1=A;1;1;0;20;1;20;0\r\n"
        "2=B;1;1;0;-1;1;-1;0\r\n";
    m.files.files[kLock] = "[MULTIVORSA]\r\n1=6\r\n2=4\r\n";
    auto till = m.Start();
    // The bill holds 2 counted pieces of A and 3 of B, unlimited, so never counted.
    till->cat.gArticoli[1].quantity = 2;
    till->cat.gArticoli[2].quantity = 3;
    till->settings.Write(keys::PezziTenuti, "2", 1);
    ChiudiFinestra(*till, {});
    EXPECT_EQ(m.Get("MULTIVORSA", "1", kLock), "4");
    EXPECT_EQ(m.Get("MULTIVORSA", "2", kLock), "4");
    EXPECT_EQ(m.Get("MULTIVORSA-TMP", "1"), "0");
}

}  // namespace
}  // namespace vorsa
