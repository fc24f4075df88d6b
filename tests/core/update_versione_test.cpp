// The version check's rules: the comparison of the published version with the running one, and
// the temporary file's life around one check, and an answer after the till closed.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "settings_bench.h"
#include "update/controlla_versione.h"

namespace vorsa {
namespace {

TEST(VersioneTest, ComparesEachPartOnItsOwn) {
    const LocalVersion local{1, 4, 7};
    // Major and minor not smaller and the revision (all after the second character) greater;
    // a revision is a byte.
    for (const char* v : {"148", "1410", "248", "14255"})
        EXPECT_TRUE(VersionePiuNuova(local, v)) << v;
    // Minor grew but revision 0 is not above 7 (three separate tests), the same version, an
    // older major, empty, no revision, a non-digit anywhere, a revision beyond a byte (it used to
    // overflow).
    for (const char* v :
         {"150", "147", "038", "", "14", "14x", "1a8", "-148", "14256", "1499999999999999999999"})
        EXPECT_FALSE(VersionePiuNuova(local, v)) << v;
}

/// Answers when the test says so, as the network does later.
class ScaricatoreFinto : public Downloader {
  public:
    void Scarica(const std::string& url,
                 std::function<void(std::optional<std::string>)> done) override {
        richiesto = url;
        attesa = std::move(done);
    }
    std::string richiesto;
    std::function<void(std::optional<std::string>)> attesa;
};

TEST(VersioneTest, ReadsTheDownloadedFileAndDeletesIt) {
    const struct {
        std::optional<std::string> body;
        std::optional<bool> nuova;  // none: never told
        long scritture;  // the temporary file is written only for a download that arrived
        bool failWrites = false;
        bool chiusa = false;  // the till closed before the answer came
    } cases[] = {
        {"[VORSA]\r\nVersione=148\r\n", true, 1},
        {"[vorsa]\r\nversione = 1410 \r\n", true, 1},  // INI names ignore case, values trimmed
        {"[VORSA]\r\nVersione=\r\n", false, 1},
        {"[VORSA]\r\nAltro=999\r\n", false, 1},  // missing key
        {"\x01\x02\xff\xfe[VORSA", false, 1},
        {std::nullopt, false, 0},                         // failed download: nothing else happens
        {"[VORSA]\r\nVersione=148\r\n", false, 0, true},  // the file cannot be written
        {"[VORSA]\r\nVersione=148\r\n", std::nullopt, 0, false, true},
    };
    for (const auto& c : cases) {
        const std::string why = c.body.value_or("(failed)");
        test::Impostazioni s;
        MemoryFileAccess& files = s.files;
        files.failWrites = c.failWrites;
        ScaricatoreFinto rete;
        std::optional<bool> esito;
        std::optional<ControllaVersione> check(std::in_place, s.store, files, rete,
                                               LocalVersion{1, 4, 7});
        check->Avvia([&](bool nuova) { esito = nuova; });
        EXPECT_EQ(rete.richiesto, kIndirizzoVersione);
        if (c.chiusa) check.reset();
        rete.attesa(c.body);
        EXPECT_EQ(esito, c.nuova) << why;
        EXPECT_EQ(files.replaceCount, c.scritture) << why;
        EXPECT_FALSE(files.Exists(s.store.CartellaTemp() + "VerVorsa.txt")) << why;
    }
}

}  // namespace
}  // namespace vorsa
