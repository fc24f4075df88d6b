// The share services: the command lines they run, the check that follows, the address list,
// and the command runner itself on real programs.
#include "platform/till_share.h"

#include <gtest/gtest.h>

#include <chrono>

#include "support/fakes.h"

namespace vorsa {
namespace {

using Argv = std::vector<std::string>;

class ScriptedRunner : public CommandRunner {
  public:
    std::vector<Argv> runs;
    int status = 0;
    int Run(const Argv& argv, int) override {
        runs.push_back(argv);
        return status;
    }
};

// The private configuration's forms (and root's password change) run against a real smbd in
// the Samba tests; these are the system's and a user's, which those tests cannot reach.
TEST(CondivisioneTest, CommandLines) {
    const SambaConfig system;
    EXPECT_EQ(
        ComandoCreaCondivisione(system, "vorsa$", "/a b/c"),
        (Argv{"net", "usershare", "add", "vorsa$", "/a b/c", "Vorsa", "S-1-1-0:F", "guest_ok=y"}));
    EXPECT_EQ(ComandoCreaCondivisione(system, "vorsa$", "/v", false).back(), "guest_ok=n");
    // A till run by a user changes the account's password through smbd, with the old one; the
    // passwords go to the standard input only.
    const PasswordCommand utente = ComandoCambiaPassword(system, false, "vecchia", "nuova");
    EXPECT_EQ(utente.argv, (Argv{"smbpasswd", "-s", "-r", "127.0.0.1", "-U", "vorsa"}));
    EXPECT_EQ(utente.input, "vecchia\nnuova\nnuova\n");
}

TEST(CondivisioneTest, CreateRunsTheCommandThenChecksTheShare) {
    for (bool answers : {true, false}) {
        ScriptedRunner runner;
        test::FakeUser user;
        std::vector<std::string> probed;
        auto share = MakeSambaTillShare(runner, user,
                                        [&](const std::string& p) {
                                            // The check comes after the share was made.
                                            EXPECT_EQ(runner.runs.size(), 1u);
                                            probed.push_back(p);
                                            return answers;
                                        },
                                        {});
        // The folder is Windows-1252 inside the till and UTF-8 for the system.
        EXPECT_EQ(share->CreateTillShare("/home/caff\xE8/Vorsa", "vorsa$"), answers);
        ASSERT_EQ(runner.runs.size(), 1u);
        EXPECT_EQ(runner.runs[0][4], "/home/caff\xC3\xA8/Vorsa");
        EXPECT_EQ(probed, (std::vector<std::string>{"//127.0.0.1/vorsa$/vorsa.ini"}));

        share->DeleteTillShare("vorsa$");
        EXPECT_EQ(runner.runs.back(), (Argv{"net", "usershare", "delete", "vorsa$"}));
    }
}

TEST(CondivisioneTest, SmbclientProbe) {
    ScriptedRunner runner;
    const ShareProbe probe = SmbclientProbe(runner, {"/t/smb.conf", 4445});
    EXPECT_TRUE(probe("//127.0.0.1/vorsa$/vorsa.ini"));
    EXPECT_EQ(runner.runs.back(), (Argv{"smbclient", "-s", "/t/smb.conf", "-p", "4445", "-N",
                                        "//127.0.0.1/vorsa$", "-c", "ls \"vorsa.ini\""}));
    runner.status = 1;
    EXPECT_FALSE(probe("//127.0.0.1/vorsa$/vorsa.ini"));
    // Paths that are no share path, or that smbclient's command language would split, are
    // never handed to it.
    runner.runs.clear();
    for (const char* p :
         {"/p/Vorsa.ini", "//host", "//host/share", "//host/share/", "//h/s/a;rm b", "//h/s/a\"b"})
        EXPECT_FALSE(probe(p)) << p;
    EXPECT_TRUE(runner.runs.empty());
}

TEST(CondivisioneTest, Addresses) {
    auto ip = [](unsigned a, unsigned b, unsigned c, unsigned d) {
        return static_cast<std::uint32_t>(a << 24 | b << 16 | c << 8 | d);
    };
    const struct {
        std::vector<std::uint32_t> in;
        std::vector<std::string> out;
    } cases[] = {
        // Ordered as numbers, not as text; an address on two interfaces listed once.
        {{ip(192, 168, 10, 1), ip(192, 168, 9, 200), ip(192, 168, 9, 200)},
         {"192.168.9.200", "192.168.10.1"}},
        {{ip(127, 0, 1, 1), ip(255, 255, 255, 255), ip(0, 0, 0, 0)},
         {"0.0.0.0", "255.255.255.255"}},
    };
    for (const auto& c : cases) EXPECT_EQ(IndirizziIPv4(c.in), c.out);

    // This machine: never a loopback address, each one dotted.
    for (const std::string& a : ListLocalAddresses()) {
        EXPECT_NE(a.rfind("127.", 0), 0u) << a;
        EXPECT_EQ(std::count(a.begin(), a.end(), '.'), 3) << a;
    }
}

TEST(CondivisioneTest, RunnerRunsRealProgramsAndStopsHangingOnes) {
    auto runner = MakeCommandRunner();
    EXPECT_EQ(runner->Run({"true"}, 5000), 0);
    EXPECT_EQ(runner->Run({"sh", "-c", "exit 3"}, 5000), 3);
    EXPECT_EQ(runner->Run({"no-such-program-vorsa"}, 5000), -1);
    EXPECT_EQ(runner->Run({}, 5000), -1);
    // Arguments reach the program untouched, without a shell in between.
    EXPECT_EQ(runner->Run({"test", "a b;c", "=", "a b;c"}, 5000), 0);
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(runner->Run({"sleep", "10"}, 200), -1);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
}

TEST(CondivisioneTest, EnvironmentPointsAtAPrivateSamba) {
    setenv("VORSA_SMB_CONF", "/t/smb.conf", 1);
    setenv("VORSA_SMB_PORT", "4445", 1);
    EXPECT_EQ(SambaConfigFromEnvironment().smbConf, "/t/smb.conf");
    EXPECT_EQ(SambaConfigFromEnvironment().port, 4445);
    setenv("VORSA_SMB_PORT", "99999", 1);
    EXPECT_EQ(SambaConfigFromEnvironment().port, 0);
    unsetenv("VORSA_SMB_CONF");
    unsetenv("VORSA_SMB_PORT");
    EXPECT_EQ(SambaConfigFromEnvironment().smbConf, "");
}

}  // namespace
}  // namespace vorsa
