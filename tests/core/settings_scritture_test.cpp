// Option changes of several keys: the kitchen-order configurations added and removed, and a
// group of options set together, whole in the file even when the till is killed midway.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "platform/ini_document.h"
#include "platform/text.h"
#include "settings/keys.h"
#include "settings/scritture.h"
#include "settings/settings_gateway.h"
#include "support/fakes.h"
#include "support/kill_loop.h"

namespace vorsa {
namespace {

struct Cassa {
    Cassa(FileAccess& files, const std::string& folder)
        : store(files, clock, sleeper, shell, folder), settings(store, paths, opt) {
        paths.gFileIni = paths.gFileDati = folder + "/Vorsa.ini";
        paths.gFileLock = folder + "/Vorsa.ini.lck";
        paths.gFilePassword = folder + "/pw";
    }
    test::FakeClock clock;
    test::FakeSleeper sleeper;
    test::FakeShell shell;
    SettingsStore store;
    Paths paths;
    Options opt;
    SettingsGateway settings;
};

TEST(ScrittureTest, KitchenOrdersAreAddedUpToTwentyAndRemovedDownToOne) {
    MemoryFileAccess files;
    Cassa c(files, "/p");
    ASSERT_EQ(c.opt.gComande.size(), 2u);  // two configurations when nothing is stored
    EXPECT_TRUE(RimuoviComanda(c.settings));
    EXPECT_FALSE(RimuoviComanda(c.settings));
    EXPECT_EQ(c.opt.gComande.size(), 1u);
    EXPECT_EQ(c.settings.Read(keys::NumeroComande), "1");
    for (int n = 2; n <= 20; ++n) ASSERT_TRUE(AggiungiComanda(c.settings)) << n;
    EXPECT_FALSE(AggiungiComanda(c.settings));
    EXPECT_EQ(c.opt.gComande.size(), 20u);
    EXPECT_EQ(c.opt.gComande[19].nome, "Comanda 20");
    EXPECT_EQ(c.settings.Read(keys::ComandaNome, Idx(20)), "Comanda 20");
    EXPECT_EQ(c.settings.Read(keys::NumeroComande), "20");

    c.settings.Set(keys::ComandaProdotti, "101;102", Idx(20));
    ASSERT_TRUE(RimuoviComanda(c.settings));
    const IniDocument doc = IniDocument::Parse(files.ReadAll("/p/Vorsa.ini").bytes);
    EXPECT_FALSE(doc.HasSection("COMANDA20"));
    EXPECT_TRUE(doc.HasSection("COMANDA19"));
    EXPECT_EQ(c.settings.Read(keys::NumeroComande), "19");
}

TEST(ScrittureTest, OptionsSetTogetherAreCorrectedAndHeld) {
    MemoryFileAccess files;
    Cassa c(files, "/p");
    ImpostaInsieme(c.settings, {{&keys::Copie, Idx(1), "100"},
                                {&keys::Progressivo, {}, "0"},
                                {&keys::BottoniAltezza, {}, "300"}});
    EXPECT_EQ(c.settings.Read(keys::Copie, Idx(1)), "1");
    EXPECT_FALSE(c.opt.gProgressivo);
    EXPECT_EQ(c.opt.gBottoniAltezza, 300);
    ScriviInsieme(c.settings, {{&keys::ImmagineAltezza, Idx(0), "1500"}});
    EXPECT_EQ(c.settings.Read(keys::ImmagineAltezza, Idx(0)), "1500");  // as given
}

// The pickup ticket options turned off and on together, and configurations added and removed,
// for ever; killed at random moments.
[[noreturn]] void CambiaPerSempre(const std::string& folder) {
    auto files = MakeLocalFileAccess(true);
    Cassa c(*files, folder);
    c.opt.gComande.resize(static_cast<std::size_t>(Val(c.settings.Read(keys::NumeroComande))));
    const KeyDef* gruppo[] = {&keys::Progressivo, &keys::TicketRitiro, &keys::TicketRitiroGruppo,
                              &keys::TicketRitiroBarre, &keys::ProgressivoPiede};
    for (int i = 0;; ++i) {
        std::vector<Scrittura> s;
        for (const KeyDef* k : gruppo) s.push_back({k, {}, i % 2 ? "1" : "0"});
        ImpostaInsieme(c.settings, s);
        if (i % 6 < 3)
            AggiungiComanda(c.settings);
        else
            RimuoviComanda(c.settings);
    }
}

TEST(ScrittureTest, KilledWhileWritingLeavesEveryGroupWhole) {
    const std::string folder = (std::filesystem::temp_directory_path() /
                                ("vorsa-scritture-crash-" + std::to_string(getpid())))
                                   .string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    MakeLocalFileAccess(false)->ReplaceAll(folder + "/Vorsa.ini",
                                           "[COMANDA]\r\nNUMERO=2\r\n[COMANDA1]\r\nNOME=Cucina\r\n"
                                           "[COMANDA2]\r\nNOME=Bar\r\n");
    std::set<std::string> visti;
    test::KillLoop(
        25, 5, 60, [&](int) { CambiaPerSempre(folder); },
        [&](int round) {
            const IniDocument doc = IniDocument::Parse(
                MakeLocalFileAccess(false)->ReadAll(folder + "/Vorsa.ini").bytes);
            std::set<std::string> valori;
            for (const char* k : {"PROGRESSIVO", "TKT-RITIRO", "TKT-RITIRO-GRP", "TKT-RITIRO_BARRE",
                                  "PROGRESSIVO_PIEDE"})
                valori.insert(doc.Get("STAMPA", k).value_or("-"));
            EXPECT_EQ(valori.size(), 1u) << "round " << round;
            const int n = static_cast<int>(Val(doc.Get("COMANDA", "NUMERO").value_or("0")));
            EXPECT_GE(n, 1) << "round " << round;
            for (int k = 1; k <= 21; ++k)
                EXPECT_EQ(doc.HasSection("COMANDA" + std::to_string(k)), k <= n)
                    << "round " << round << ": configuration " << k << " of " << n;
            visti.insert(*valori.begin() + "/" + std::to_string(n));
        });
    EXPECT_GT(visti.size(), 1u) << "nothing ever changed: the test proved nothing";
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vorsa
