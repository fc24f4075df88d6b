// The version check's rules: the comparison of the published version with the running one, and
// the temporary file's life around one check.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "support/fakes.h"
#include "update/controlla_versione.h"

namespace vorsa {
namespace {

TEST(VersioneTest, ComparesEachPartOnItsOwn) {
    const VersioneLocale local{1, 4, 7};
    const struct {
        const char* remote;
        bool nuova;
    } cases[] = {
        {"148", true},     // revision 8 > 7
        {"150", false},    // minor grew, but revision 0 is not above 7: three separate tests
        {"1410", true},    // the revision is everything after the second character
        {"147", false},    // the same version
        {"248", true},     // major and minor not smaller, revision greater
        {"038", false},    // older major
        {"", false},       // empty
        {"14", false},     // no revision: 0
        {"14x", false},    // a non-digit anywhere reports nothing
        {"1a8", false},    //
        {"-148", false},   //
        {"14256", false},  // a revision beyond a byte is not a version (it used to overflow)
        {"14255", true},   // the largest revision a byte holds
        {"1499999999999999999999", false},
    };
    for (const auto& c : cases) EXPECT_EQ(VersionePiuNuova(local, c.remote), c.nuova) << c.remote;
}

/// Answers when the test says so, as the network does later.
class ScaricatoreFinto : public Scaricatore {
  public:
    void Scarica(const std::string& url,
                 std::function<void(std::optional<std::string>)> done) override {
        richiesto = url;
        attesa = std::move(done);
    }
    std::string richiesto;
    std::function<void(std::optional<std::string>)> attesa;
};

struct Banco {
    MemoryFileAccess files;
    test::FakeClock clock;
    test::FakeSleeper sleeper{&clock};
    test::FakeShell shell;
    SettingsStore store{files, clock, sleeper, shell, "/p"};
    ScaricatoreFinto rete;
    std::string target = store.CartellaTemp() + "VerVorsa.txt";
    std::optional<bool> esito;
    long scrittureViste = 0;

    /// One check answered with `body`; records whether the file was written.
    std::optional<bool> Controlla(std::optional<std::string> body) {
        ControllaVersione c(store, files, rete, {1, 4, 7});
        c.Avvia([this](bool nuova) { esito = nuova; });
        const long prima = files.replaceCount;
        rete.attesa(std::move(body));
        scrittureViste = files.replaceCount - prima;
        return esito;
    }
};

TEST(VersioneTest, ReadsTheDownloadedFileAndDeletesIt) {
    const struct {
        std::optional<std::string> body;
        bool nuova;
        long scritture;  // the temporary file is written only for a download that arrived
    } cases[] = {
        {"[VORSA]\r\nVersione=148\r\n", true, 1},
        {"[VORSA]\r\nVersione=150\r\n", false, 1},
        {"[vorsa]\r\nversione = 1410 \r\n", true, 1},  // INI names ignore case, values trimmed
        {"[VORSA]\r\nVersione=\r\n", false, 1},
        {"[VORSA]\r\nAltro=999\r\n", false, 1},  // missing key
        {"[ALTRO]\r\nVersione=999\r\n", false, 1},
        {"<html>not found</html>", false, 1},
        {"\x01\x02\xff\xfe[VORSA", false, 1},
        {std::nullopt, false, 0},  // failed download: nothing else happens
    };
    for (const auto& c : cases) {
        Banco b;
        EXPECT_EQ(b.Controlla(c.body), c.nuova) << c.body.value_or("(failed)");
        EXPECT_EQ(b.rete.richiesto, kIndirizzoVersione);
        EXPECT_EQ(b.scrittureViste, c.scritture);
        EXPECT_FALSE(b.files.Exists(b.target)) << c.body.value_or("(failed)");
    }
}

TEST(VersioneTest, TheAddressEndsWithTheVersionFilePath) {
    const std::string_view a = kIndirizzoVersione;
    EXPECT_TRUE(a.starts_with("http://") || a.starts_with("https://"));
    EXPECT_TRUE(a.ends_with("/prg/vorsa/versione.txt"));
    EXPECT_EQ(TestoNuovaVersione(),
              "E' stata rilasciata una vuova versione del programma, \xE8 possibile scaricarla "
              "da:\r\n\r\n" +
                  std::string(a));
}

TEST(VersioneTest, AnAnswerAfterTheTillClosedIsDropped) {
    Banco b;
    bool chiamato = false;
    {
        ControllaVersione c(b.store, b.files, b.rete, {1, 4, 7});
        c.Avvia([&](bool) { chiamato = true; });
    }
    b.rete.attesa("[VORSA]\r\nVersione=148\r\n");
    EXPECT_FALSE(chiamato);
    EXPECT_FALSE(b.files.Exists(b.target));
}

TEST(VersioneTest, AFileThatCannotBeWrittenReportsNothing) {
    Banco b;
    b.files.failWrites = true;
    EXPECT_EQ(b.Controlla("[VORSA]\r\nVersione=148\r\n"), false);
}

}  // namespace
}  // namespace vorsa
