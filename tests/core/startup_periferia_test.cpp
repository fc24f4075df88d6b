// What start-up reads for the version check and the window snapping, and what it heals.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/profile_store.h"
#include "startup/startup.h"
#include "support/fakes.h"

namespace vorsa {
namespace {

constexpr const char* kFile = "/p/Vorsa.ini";

TEST(StartupPeriferiaTest, SwitchesAndSensitivityHealAsTheyAreRead) {
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
        {std::nullopt, std::nullopt, true, 20, "Si", "20"},
        {"no", "60", false, 60, "no", "60"},
        {"1", "35", false, 35, "1", "35"},    // only "si" in any case switches on
        {"Si ", "35", true, 35, "Si", "35"},  // the value is read trimmed
    };
    for (const auto& c : cases) {
        MemoryFileAccess files;
        test::FakeClock clock;
        test::FakeSleeper sleeper{&clock};
        test::FakeUser user;
        test::FakeShell shell;
        std::string ini = "[PROGRAMMA]\r\n";
        if (c.bordi)
            ini += "BORDI MAGNETICI=" + *c.bordi + "\r\nAGGIORNAMENTI=" + *c.bordi + "\r\n";
        if (c.sens) ini += "BORDI MAGNETICI SENSIBILITA=" + *c.sens + "\r\n";
        files.files[kFile] = ini;
        Till till(Services{files, clock, sleeper, user, shell}, "/p", {1, 4, 7});
        const StartupResult r = AvviaTill(till);
        const std::string what = c.bordi.value_or("(missing)") + "/" + c.sens.value_or("(missing)");
        EXPECT_EQ(till.opt.gBordiMagnetici, c.on) << what;
        EXPECT_EQ(till.opt.gAggiornamenti, c.on) << what;
        EXPECT_EQ(r.controllaVersione, c.on) << what;
        EXPECT_EQ(till.opt.gSensibilita, c.sensitivity) << what;
        ProfileStore p(files);
        EXPECT_EQ(p.Get(kFile, "PROGRAMMA", "BORDI MAGNETICI"), c.bordiAfter) << what;
        EXPECT_EQ(p.Get(kFile, "PROGRAMMA", "AGGIORNAMENTI"), c.bordiAfter) << what;
        EXPECT_EQ(p.Get(kFile, "PROGRAMMA", "BORDI MAGNETICI SENSIBILITA"), c.sensAfter) << what;
    }
}

}  // namespace
}  // namespace vorsa
