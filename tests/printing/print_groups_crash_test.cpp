// A till killed at any moment while the print groups are edited leaves a group list and article
// lines that agree: no article carries the number of a group the list does not hold.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "printing/print_groups.h"
#include "sale_harness.h"
#include "support/kill_loop.h"

namespace vorsa {
namespace {

constexpr const char* kCatalogo =
    "[MANGIARE]\r\nDIMENSIONE=3\r\n1=Panino;3,5;1;0;-1;1;-1;0\r\n2=Patatine;2;1;0;-1;1;-1;0\r\n"
    "3=Torta;2,5;1;1;-1;0;-1;0\r\n[BERE]\r\nDIMENSIONE=2\r\n1=Acqua;1;1;0;-1;2;-1;0\r\n"
    "2=Birra;3;1;0;-1;2;-1;0\r\n[VARIE]\r\nDIMENSIONE=1\r\n1=Gadget;5;1;0;-1;3;-1;0\r\n";

[[noreturn]] void EditForever(const std::string& folder) {
    auto files = MakeLocalFileAccess(true);
    test::Cassa c(*files, "", "cassiere", folder);
    PrintGroups g(c.till->cat, c.till->settings);
    std::vector<int> tutti;
    for (int n = 1; n <= c.till->cat.gNumeroArticoli; ++n) tutti.push_back(n);
    for (int i = 0;; ++i) {
        if (g.Gruppi().empty()) g.Aggiungi("Primo");
        g.Aggiungi("Cucina " + std::to_string(i));
        const std::vector<PrintGroup> gruppi = g.Gruppi();
        // Everything into the new group, then the group deleted: its articles to no group.
        g.Sposta(tutti, gruppi.back().number);
        g.Elimina(static_cast<int>(gruppi.size()) - 1, gruppi.back().name);
        g.Sposta({1, 4}, gruppi.front().number);
        if (i % 7 == 6) g.Annulla();
    }
}

void ExpectConsistent(const std::string& folder, int round) {
    auto files = MakeLocalFileAccess(false);
    ProfileStore p(*files);
    const IniDocument& doc = p.Document(folder + "/Vorsa.ini");
    std::set<long long> numeri;
    const auto lista = doc.Get("STAMPA AVANZATA", "GRUPPI");
    if (lista && !lista->empty())
        for (const std::string& voce : Split(*lista, ';')) {
            const auto trattino = voce.find('-');
            ASSERT_NE(trattino, std::string::npos) << "round " << round << ": " << *lista;
            numeri.insert(Val(voce.substr(trattino + 1)));
        }
    const std::pair<const char*, int> righe[] = {{"MANGIARE", 1}, {"MANGIARE", 2}, {"MANGIARE", 3},
                                                 {"BERE", 1},     {"BERE", 2},     {"VARIE", 1}};
    for (auto [section, position] : righe) {
        const auto line = Split(doc.Get(section, std::to_string(position)).value_or(""), ';');
        ASSERT_GE(line.size(), 6u) << "round " << round;
        const long long gruppo = Val(line[5]);
        if (!lista || lista->empty()) continue;  // one group per section
        EXPECT_TRUE(gruppo == 0 || numeri.count(gruppo))
            << "round " << round << ": " << section << "/" << position << " in group " << gruppo
            << " of " << lista.value_or("");
    }
}

TEST(GruppiStampaCrash, KilledWhileEditingLeavesListAndArticlesInAgreement) {
    const std::string folder =
        (std::filesystem::temp_directory_path() / ("vorsa-gruppi-" + std::to_string(getpid())))
            .string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    {
        auto files = MakeLocalFileAccess(false);
        files->ReplaceAll(folder + "/Vorsa.ini", kCatalogo);
    }
    bool scritto = false;
    test::KillLoop(
        25, 20, 160, [&folder](int) { EditForever(folder); },
        [&](int round) {
            ExpectConsistent(folder, round);
            auto files = MakeLocalFileAccess(false);
            ProfileStore p(*files);
            scritto =
                scritto || p.Get(folder + "/Vorsa.ini", "STAMPA AVANZATA", "GRUPPI").has_value();
        });
    EXPECT_TRUE(scritto) << "no group list was ever written: the test proved nothing";
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vorsa
