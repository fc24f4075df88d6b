// A till killed at any moment of a commit leaves the whole sale or none of it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <thread>

#include "sale_harness.h"

namespace vorsa {
namespace {

constexpr const char* kStock =
    "[MANGIARE]\r\nDIMENSIONE=3\r\n1=Panino;3,5;1;0;30000;1;30000;0\r\n2=Patatine;2;1;0;-1;1;-1;"
    "0\r\n"
    "3=Torta;2,5;1;1;30000;0;30000;0\r\n[BERE]\r\nDIMENSIONE=2\r\n1=Acqua;1;1;0;30000;2;30000;0\r\n"
    "2=Birra;3;1;0;-1;2;-1;0\r\n[VARIE]\r\nDIMENSIONE=1\r\n";

[[noreturn]] void SellForever(const std::string& folder) {
    auto files = MakeLocalFileAccess(true);
    test::Cassa c(*files, "", "cassiere", folder);
    c.vendita->ImpostaStampaAutomatica(false);
    const char* bills[] = {"101 102 201", "103 103 202 202 101", "201", "102 101 101"};
    for (int i = 0;; ++i) {
        for (const auto& code : Split(bills[i % 4], ' ')) {
            c.Digita(code);
            c.Timer();
        }
        c.Digita("F1");
        c.Timer();
        c.Digita("F4");
        c.Timer();
    }
}

struct Totale {
    long long quantity = 0;
    Currency amount;
};

/// Checks that the counter, the archive, the statistics and the stock tell the same story.
void ExpectConsistent(const std::string& folder, int round) {
    auto files = MakeLocalFileAccess(false);
    ProfileStore p(*files);
    const std::string ini = folder + "/Vorsa.ini";
    const IniDocument& doc = p.Document(ini);
    const long long n = Val(doc.Get("STATISTICHE", "SCONTRINI").value_or("0"));
    std::map<int, Totale> venduto;
    for (long long r = 1; r <= n; ++r) {
        const auto rec = doc.Get("SCONTRINI", std::to_string(r));
        ASSERT_TRUE(rec.has_value()) << "round " << round << ": receipt " << r << " of " << n;
        const ScontrinoArchiviato s = LeggiScontrino(*rec, ';');
        ASSERT_TRUE(s.valido) << *rec;
        for (const auto& v : s.voci) {
            venduto[v.code].quantity += v.quantity;
            venduto[v.code].amount += v.amount;
        }
    }
    EXPECT_FALSE(doc.Get("SCONTRINI", std::to_string(n + 1)).has_value()) << "round " << round;
    const std::pair<const char*, int> righe[] = {
        {"MANGIARE", 101}, {"MANGIARE", 102}, {"MANGIARE", 103}, {"BERE", 201}, {"BERE", 202}};
    for (auto [section, code] : righe) {
        const auto stat = Split(doc.Get("STATISTICHE", std::to_string(code)).value_or("0;0"), ';');
        ASSERT_EQ(stat.size(), 2u);
        EXPECT_EQ(Val(stat[0]), venduto[code].quantity) << "round " << round << " code " << code;
        EXPECT_EQ(*ParseCurrency(stat[1]), venduto[code].amount) << "round " << round;
        const auto line = Split(doc.Get(section, std::to_string(code % 100)).value_or(""), ';');
        ASSERT_GE(line.size(), 5u);
        const long long pieces = Val(line[4]);
        if (pieces != -1) {
            EXPECT_EQ(pieces, 30000 - venduto[code].quantity)
                << "round " << round << " code " << code;
        }
    }
}

TEST(CrashTest, KilledDuringCommitsLeavesWholeSales) {
    const std::string folder =
        (std::filesystem::temp_directory_path() / ("vorsa-crash-" + std::to_string(getpid())))
            .string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    {
        auto files = MakeLocalFileAccess(false);
        files->ReplaceAll(folder + "/Vorsa.ini", kStock);
    }
    std::mt19937 rng(20261206);
    std::uniform_int_distribution<int> pausa(2, 40);
    long long ultimo = 0;
    for (int round = 0; round < 25; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) SellForever(folder);
        std::this_thread::sleep_for(std::chrono::milliseconds(pausa(rng)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        ExpectConsistent(folder, round);
        if (HasFatalFailure() || HasFailure()) break;
        auto files = MakeLocalFileAccess(false);
        ProfileStore p(*files);
        ultimo = Val(p.Get(folder + "/Vorsa.ini", "STATISTICHE", "SCONTRINI").value_or("0"));
    }
    EXPECT_GT(ultimo, 0) << "no sale was ever committed: the test proved nothing";
    RecordProperty("receipts", static_cast<int>(ultimo));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vorsa
