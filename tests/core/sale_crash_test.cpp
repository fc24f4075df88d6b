// A till killed at any moment of a commit, or of a void and its taking back, leaves the whole
// sale or void or none of it: the archive, the void list, the statistics and the stock agree.
// Killed during a grid change or a catalogue load it leaves one whole catalogue: every
// section's DIMENSIONE agrees with its article lines.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "data/statistics.h"
#include "editor_harness.h"
#include "support/kill_loop.h"

namespace vorsa {
namespace {

constexpr const char* kStock =
    "[MANGIARE]\r\nDIMENSIONE=3\r\n1=Panino;3,5;1;0;30000;1;30000;0\r\n2=Patatine;2;1;0;-1;1;-1;"
    "0\r\n3=Torta;2,5;1;1;30000;0;30000;0\r\n[BERE]\r\nDIMENSIONE=2\r\n"
    "1=Acqua;1;1;0;30000;2;30000;0\r\n2=Birra;3;1;0;-1;2;-1;0\r\n[VARIE]\r\nDIMENSIONE=1\r\n";
const char* const kBills[] = {"101 102 201", "103 103 202 202 101", "201", "102 101 101",
                              "101",         "201 201 103"};

/// A fresh folder holding a data file, removed at the end.
struct Cartella : test::TempDir {
    explicit Cartella(const char* dati = kStock) {
        std::filesystem::create_directories(path + "/Dati");
        MakeLocalFileAccess(false)->ReplaceAll(path + "/Vorsa.ini", dati);
    }
    std::string Get(const char* section, const char* key) const {
        auto files = MakeLocalFileAccess(false);
        return ProfileStore(*files).Get(path + "/Vorsa.ini", section, key).value_or("");
    }
};

/// The counter, the archive less the voided receipts, the statistics and the stock tell the
/// same story.
void ExpectConsistent(const std::string& folder, int round) {
    SCOPED_TRACE("round " + std::to_string(round));
    auto files = MakeLocalFileAccess(false);
    ProfileStore p(*files);
    const IniDocument& doc = p.Document(folder + "/Vorsa.ini");
    std::set<int> stornati;
    for (const Storno& s : LeggiStorni(doc.Get("SCONTRINI", "STORNI").value_or(""), ';')) {
        EXPECT_TRUE(s.revocabile);
        EXPECT_TRUE(stornati.insert(s.numero).second) << "listed twice";
    }
    const long long n = Val(doc.Get("STATISTICHE", "SCONTRINI").value_or("0"));
    std::map<int, std::pair<long long, Currency>> venduto;
    for (long long r = 1; r <= n; ++r) {
        const auto rec = doc.Get("SCONTRINI", std::to_string(r));
        ASSERT_TRUE(rec.has_value()) << "receipt " << r << " of " << n;
        const ArchivedReceipt s = LeggiScontrino(*rec, ';');
        ASSERT_TRUE(s.valido) << *rec;
        if (stornati.count(static_cast<int>(r))) continue;
        for (const auto& v : s.voci) {
            venduto[v.code].first += v.quantity;
            venduto[v.code].second += v.amount;
        }
    }
    EXPECT_FALSE(doc.Get("SCONTRINI", std::to_string(n + 1)).has_value());
    for (int code : {101, 102, 103, 201, 202}) {
        SCOPED_TRACE("code " + std::to_string(code));
        const auto stat =
            LeggiStatistica(doc.Get("STATISTICHE", std::to_string(code)).value_or("0;0"), ';');
        ASSERT_TRUE(stat.has_value());
        EXPECT_EQ(stat->quantity, venduto[code].first);
        EXPECT_EQ(stat->amount, venduto[code].second);
        const char* section = code < 200 ? "MANGIARE" : "BERE";
        const auto line = Split(doc.Get(section, std::to_string(code % 100)).value_or(""), ';');
        ASSERT_GE(line.size(), 5u);
        if (Val(line[4]) == -1) continue;  // unlimited
        EXPECT_EQ(Val(line[4]), 30000 - venduto[code].first);
    }
}

TEST(CrashTest, KilledDuringCommitsLeavesWholeSales) {
    const Cartella dir;
    test::KillLoop(
        25, 2, 40,
        [&](int) {
            auto files = MakeLocalFileAccess(true);
            test::Cassa c(*files, "", "cassiere", dir.path);
            c.vendita->ImpostaStampaAutomatica(false);
            for (int i = 0;; ++i) c.Batti(std::string(kBills[i % 4]) + " F1 F4");
        },
        [&](int round) { ExpectConsistent(dir.path, round); },
        [&] { return Val(dir.Get("STATISTICHE", "SCONTRINI")) > 0; });
    EXPECT_GT(Val(dir.Get("STATISTICHE", "SCONTRINI")), 0)
        << "no sale was ever committed: the test proved nothing";
}

TEST(CrashTest, KilledDuringVoidsLeavesWholeVoids) {
    const Cartella dir;
    {
        auto files = MakeLocalFileAccess(false);
        test::Cassa c(*files, "", "cassiere", dir.path);
        c.vendita->ImpostaStampaAutomatica(false);
        for (const char* bill : kBills) c.Batti(std::string(bill) + " F1 F4");
        ASSERT_EQ(c.Dati("STATISTICHE", "SCONTRINI"), "6");
    }
    int cambi = 0;
    std::string prima;
    test::KillLoop(
        25, 2, 40,
        [&](int round) {
            auto files = MakeLocalFileAccess(true);
            test::Cassa c(*files, "", "cassiere", dir.path);
            Statistics s(
                {c.till->cat, c.till->opt, c.till->settings, c.till->conto.gNumeroScontrino});
            std::mt19937 rng(static_cast<unsigned>(round));
            for (;;) {
                const int n = 1 + static_cast<int>(rng() % 6);
                s.CambiaStorno(n, !s.MostraScontrino(n).storno);
            }
        },
        [&](int round) {
            ExpectConsistent(dir.path, round);
            const std::string storni = dir.Get("SCONTRINI", "STORNI");
            cambi += storni != prima;
            prima = storni;
        },
        [&] { return cambi > 0; });
    EXPECT_GT(cambi, 0) << "no void ever reached the file: the test proved nothing";
}

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
    SCOPED_TRACE("round " + std::to_string(round));
    auto files = MakeLocalFileAccess(false);
    const std::string bytes = files->ReadAll(folder + "/Vorsa.ini").bytes;
    const IniDocument doc = IniDocument::Parse(bytes);
    Dimensioni d{};
    std::size_t s = 0;
    for (const char* name : {"MANGIARE", "BERE", "VARIE"}) {
        const std::string header = std::string("[") + name + "]";
        SCOPED_TRACE(name);
        EXPECT_EQ(bytes.find(header), bytes.rfind(header));
        const auto dim = doc.Get(name, "DIMENSIONE");
        EXPECT_TRUE(dim.has_value());
        d[s] = static_cast<int>(Val(dim.value_or("0")));
        for (int k = 1; k <= d[s]; ++k)
            EXPECT_TRUE(doc.Get(name, std::to_string(k)).has_value()) << k << " of " << d[s];
        EXPECT_FALSE(doc.Get(name, std::to_string(d[s] + 1)).has_value()) << "a line past " << d[s];
        ++s;
    }
    return d;
}

TEST(EditorCrashTest, KilledDuringGridChangesAndLoadsLeavesOneWholeCatalogue) {
    const Cartella dir(kInizio);
    MakeLocalFileAccess(false)->ReplaceAll(dir.path + "/Dati/festa.txt", kFesta);
    const std::set<Dimensioni> validi = {{3, 2, 1}, {5, 4, 2}, {2, 6, 3}, {4, 3, 2}};
    std::set<Dimensioni> visti;
    test::KillLoop(
        25, 5, 60, [&](int) { CambiaPerSempre(dir.path); },
        [&](int round) {
            const Dimensioni d = ExpectWhole(dir.path, round);
            EXPECT_EQ(validi.count(d), 1u)
                << "round " << round << ": " << d[0] << "," << d[1] << "," << d[2];
            visti.insert(d);
        });
    EXPECT_GT(visti.size(), 1u) << "the catalogue never changed: the test proved nothing";
    EXPECT_EQ(MakeLocalFileAccess(false)->ReadAll(dir.path + "/Dati/festa.txt").bytes, kFesta);
}

}  // namespace
}  // namespace vorsa
