// A till killed at any moment of a void or its taking back leaves the receipt fully voided or
// not at all: the void list, the statistics and the stock always agree with the archive.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "data/statistiche.h"
#include "sale_harness.h"

namespace vorsa {
namespace {

constexpr const char* kStock =
    "[MANGIARE]\r\nDIMENSIONE=3\r\n1=Panino;3,5;1;0;30000;1;30000;0\r\n2=Patatine;2;1;0;-1;1;-1;"
    "0\r\n3=Torta;2,5;1;0;30000;0;30000;0\r\n[BERE]\r\nDIMENSIONE=2\r\n"
    "1=Acqua;1;1;0;30000;2;30000;0\r\n2=Birra;3;1;0;-1;2;-1;0\r\n[VARIE]\r\nDIMENSIONE=1\r\n";
constexpr int kScontrini = 6;

[[noreturn]] void VoidForever(const std::string& folder, unsigned seed) {
    auto files = MakeLocalFileAccess(true);
    test::Cassa c(*files, "", "cassiere", folder);
    Statistiche s({c.till->cat, c.till->opt, c.till->settings, c.till->conto.gNumeroScontrino});
    std::mt19937 rng(seed);
    for (;;) {
        const int n = 1 + static_cast<int>(rng() % kScontrini);
        s.CambiaStorno(n, !s.MostraScontrino(n).storno);
    }
}

void ExpectConsistent(const std::string& folder, int round) {
    auto files = MakeLocalFileAccess(false);
    ProfileStore p(*files);
    const IniDocument& doc = p.Document(folder + "/Vorsa.ini");
    std::set<int> stornati;
    for (const Storno& s : LeggiStorni(doc.Get("SCONTRINI", "STORNI").value_or(""), ';')) {
        EXPECT_TRUE(s.revocabile) << "round " << round;
        EXPECT_TRUE(stornati.insert(s.numero).second) << "round " << round << ": listed twice";
    }
    std::map<int, std::pair<long long, Currency>> venduto;
    for (int r = 1; r <= kScontrini; ++r) {
        const auto rec = doc.Get("SCONTRINI", std::to_string(r));
        ASSERT_TRUE(rec.has_value()) << "round " << round << ": receipt " << r;
        if (stornati.count(r)) continue;
        for (const auto& v : LeggiScontrino(*rec, ';').voci) {
            venduto[v.code].first += v.quantity;
            venduto[v.code].second += v.amount;
        }
    }
    const std::pair<const char*, int> righe[] = {
        {"MANGIARE", 101}, {"MANGIARE", 102}, {"MANGIARE", 103}, {"BERE", 201}, {"BERE", 202}};
    for (auto [section, code] : righe) {
        const auto stat =
            LeggiStatistica(doc.Get("STATISTICHE", std::to_string(code)).value_or("0;0"), ';');
        ASSERT_TRUE(stat.has_value());
        EXPECT_EQ(stat->quantity, venduto[code].first) << "round " << round << " code " << code;
        EXPECT_EQ(stat->amount, venduto[code].second) << "round " << round << " code " << code;
        const auto line = Split(doc.Get(section, std::to_string(code % 100)).value_or(""), ';');
        ASSERT_GE(line.size(), 5u);
        if (Val(line[4]) != -1) {
            EXPECT_EQ(Val(line[4]), 30000 - venduto[code].first)
                << "round " << round << " " << code;
        }
    }
}

TEST(CrashTest, KilledDuringVoidsLeavesWholeVoids) {
    const std::string folder =
        (std::filesystem::temp_directory_path() / ("vorsa-storni-" + std::to_string(getpid())))
            .string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    {
        auto files = MakeLocalFileAccess(false);
        test::Cassa c(*files, kStock, "cassiere", folder);
        c.vendita->ImpostaStampaAutomatica(false);
        const char* bills[] = {"101 102 201", "103 103 202 202 101", "201", "102 101 101",
                               "101",         "201 201 103"};
        for (const char* bill : bills) {
            for (const auto& code : Split(bill, ' ')) {
                c.Digita(code);
                c.Timer();
            }
            c.Digita("F1");
            c.Timer();
            c.Digita("F4");
            c.Timer();
        }
        ASSERT_EQ(c.Dati("STATISTICHE", "SCONTRINI"), std::to_string(kScontrini));
    }
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> pausa(2, 40);
    int cambi = 0;
    std::string prima;
    for (int round = 0; round < 25; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) VoidForever(folder, static_cast<unsigned>(round));
        std::this_thread::sleep_for(std::chrono::milliseconds(pausa(rng)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        ExpectConsistent(folder, round);
        if (HasFailure()) break;
        auto files = MakeLocalFileAccess(false);
        ProfileStore p(*files);
        const std::string storni = p.Get(folder + "/Vorsa.ini", "SCONTRINI", "STORNI").value_or("");
        if (storni != prima) ++cambi;
        prima = storni;
    }
    EXPECT_GT(cambi, 0) << "no void ever reached the file: the test proved nothing";
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vorsa
