// A till killed at any moment of a grid change or a catalogue load leaves one whole catalogue:
// every section's DIMENSIONE agrees with its article lines.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <set>

#include "editor_harness.h"
#include "support/kill_loop.h"

namespace vorsa {
namespace {

constexpr const char* kInizio =
    "[MANGIARE]\r\nDIMENSIONE=3\r\n1=Panino;3,5;1;0;-1;1;-1;0\r\n2=Patatine;2;1;0;-1;1;-1;0\r\n"
    "3=Torta;2,5;1;1;40;0;40;0\r\n[BERE]\r\nDIMENSIONE=2\r\n1=Acqua;1;1;0;-1;2;-1;0\r\n"
    "2=Birra;3;1;0;-1;2;-1;0\r\n[VARIE]\r\nDIMENSIONE=1\r\n1=Spilla;1;1;0;-1;3;-1;0\r\n";
constexpr const char* kFesta =
    "[MANGIARE]\r\nDIMENSIONE=4\r\n1=Polenta;4;1;0;-1;1;-1;0\r\n2=Funghi;5;1;0;-1;1;-1;0\r\n"
    "[BERE]\r\nDIMENSIONE=3\r\n1=Vino;2;1;0;-1;2;-1;0\r\n[VARIE]\r\nDIMENSIONE=2\r\n";
using Dimensioni = std::array<int, 3>;
constexpr std::array<Dimensioni, 3> kGriglie{{{5, 4, 2}, {2, 6, 3}, {3, 2, 1}}};

[[noreturn]] void CambiaPerSempre(const std::string& folder) {
    auto files = MakeLocalFileAccess(true);
    test::CassaEditor t(*files, "", "cassiere", folder);
    t.editor.OpenCatalogueEditor();
    for (std::size_t i = 0;; ++i) {
        const Dimensioni& d = kGriglie[i % kGriglie.size()];
        for (std::size_t s = 0; s < 3; ++s)
            t.cat().sezioni[s].pendingSize = static_cast<std::int16_t>(d[s]);
        t.view.ScegliSezione(0);
        t.cassa.prompter.confirmations = {true};
        t.editor.ComandoB(5);
        if (i % 2 == 1) {
            t.view.salvato = 0;
            t.cassa.prompter.confirmations = {true};
            t.editor.ComandoB(2);
        }
        t.cassa.prompter.questions.clear();
    }
}

/// The sizes of the catalogue the file holds; fails when a section is not whole.
Dimensioni ExpectWhole(const std::string& folder, int round) {
    auto files = MakeLocalFileAccess(false);
    const std::string bytes = files->ReadAll(folder + "/Vorsa.ini").bytes;
    const IniDocument doc = IniDocument::Parse(bytes);
    Dimensioni d{};
    std::size_t s = 0;
    for (const char* name : {"MANGIARE", "BERE", "VARIE"}) {
        const std::string header = std::string("[") + name + "]";
        EXPECT_EQ(bytes.find(header), bytes.rfind(header)) << "round " << round << ": " << name;
        const auto dim = doc.Get(name, "DIMENSIONE");
        EXPECT_TRUE(dim.has_value()) << "round " << round << ": " << name;
        d[s] = static_cast<int>(Val(dim.value_or("0")));
        for (int k = 1; k <= d[s]; ++k)
            EXPECT_TRUE(doc.Get(name, std::to_string(k)).has_value())
                << "round " << round << ": " << name << "/" << k << " of " << d[s];
        EXPECT_FALSE(doc.Get(name, std::to_string(d[s] + 1)).has_value())
            << "round " << round << ": " << name << " has a line past " << d[s];
        ++s;
    }
    return d;
}

TEST(EditorCrashTest, KilledDuringGridChangesAndLoadsLeavesOneWholeCatalogue) {
    const std::string folder = (std::filesystem::temp_directory_path() /
                                ("vorsa-editor-crash-" + std::to_string(getpid())))
                                   .string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder + "/Dati");
    {
        auto files = MakeLocalFileAccess(false);
        files->ReplaceAll(folder + "/Vorsa.ini", kInizio);
        files->ReplaceAll(folder + "/Dati/festa.txt", kFesta);
    }
    const std::set<Dimensioni> validi = {{3, 2, 1}, {5, 4, 2}, {2, 6, 3}, {4, 3, 2}};
    std::set<Dimensioni> visti;
    test::KillLoop(
        25, 5, 60, [&](int) { CambiaPerSempre(folder); },
        [&](int round) {
            const Dimensioni d = ExpectWhole(folder, round);
            EXPECT_EQ(validi.count(d), 1u)
                << "round " << round << ": " << d[0] << "," << d[1] << "," << d[2];
            visti.insert(d);
        });
    EXPECT_GT(visti.size(), 1u) << "the catalogue never changed: the test proved nothing";
    auto files = MakeLocalFileAccess(false);
    EXPECT_EQ(files->ReadAll(folder + "/Dati/festa.txt").bytes, kFesta);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vorsa
