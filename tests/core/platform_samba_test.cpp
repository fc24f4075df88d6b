// The main till's share against a real smbd with a private configuration, on 127.0.0.1 only:
// `net usershare` publishes the program folder, smbclient finds vorsa.ini there as a guest, and
// the share is gone after DeleteTillShare; a main till starting says whether its share answers.
// smbd is started here and stopped by its PID.
#include <arpa/inet.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/condivisione.h"
#include "platform/smb_file_access.h"
#include "startup/condivisione_avvio.h"
#include "support/fakes.h"

extern char** environ;

namespace vorsa {
namespace {

namespace fs = std::filesystem;

bool OnPath(const char* program) {
    const std::string cmd = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

/// A TCP port nobody listens on now.
int FreePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t n = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &n);
    close(s);
    return ntohs(a.sin_port);
}

bool Listening(int port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    close(s);
    return ok;
}

class PrivateSamba : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* p : {"smbd", "net", "smbclient"})
            if (!OnPath(p)) GTEST_SKIP() << p << " is not installed";
        if (geteuid() != 0) GTEST_SKIP() << "net usershare needs root or the sambashare group";
        char tmpl[] = "/tmp/vorsa_samba_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        // The guest account walks down to the shared folder.
        fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
        for (const char* d : {"private", "lock", "state", "cache", "pid", "ncalrpc", "prog"})
            fs::create_directory(dir_ / d);
        // As the set-up command makes the system's: root:sambashare, 1770.
        const fs::path us = dir_ / "usershares";
        fs::create_directory(us);
        if (const group* g = getgrnam("sambashare")) {
            ASSERT_EQ(chown(us.c_str(), 0, g->gr_gid), 0);
        }
        ASSERT_EQ(chmod(us.c_str(), 01770), 0);
        std::ofstream(dir_ / "prog" / "Vorsa.ini") << "[NOTA]\r\n";

        port_ = FreePort();
        conf_ = (dir_ / "smb.conf").string();
        std::ofstream c(conf_);
        c << "[global]\n"
          << "  interfaces = lo\n  bind interfaces only = yes\n  disable netbios = yes\n"
          << "  smb ports = " << port_ << "\n  map to guest = Bad User\n";
        for (const char* d : {"private", "lock", "state", "cache", "pid", "ncalrpc"})
            c << "  "
              << (std::string(d) == "private"   ? "private dir"
                  : std::string(d) == "ncalrpc" ? "ncalrpc dir"
                                                : std::string(d) + " directory")
              << " = " << (dir_ / d).string() << "\n";
        c << "  log file = " << (dir_ / "log.%m").string() << "\n"
          << "  usershare path = " << us.string() << "\n"
          << "  usershare max shares = 10\n  usershare allow guests = yes\n";
        c.close();

        const std::string a0 = "smbd", a1 = "--foreground", a2 = "-s";
        char* argv[] = {const_cast<char*>(a0.c_str()), const_cast<char*>(a1.c_str()),
                        const_cast<char*>(a2.c_str()), const_cast<char*>(conf_.c_str()), nullptr};
        ASSERT_EQ(posix_spawnp(&smbd_, "smbd", nullptr, nullptr, argv, environ), 0);
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!Listening(port_)) {
            ASSERT_LT(std::chrono::steady_clock::now(), limit) << "smbd did not start";
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    void TearDown() override {
        StopSmbd();
        if (!dir_.empty()) fs::remove_all(dir_);
    }

    void StopSmbd() {
        if (smbd_ > 0) {
            kill(smbd_, SIGTERM);
            int status = 0;
            const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (waitpid(smbd_, &status, WNOHANG) == 0) {
                if (std::chrono::steady_clock::now() > limit) {
                    kill(smbd_, SIGKILL);
                    waitpid(smbd_, &status, 0);
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            smbd_ = 0;
        }
    }

    fs::path dir_;
    std::string conf_;
    int port_ = 0;
    pid_t smbd_ = 0;
};

TEST_F(PrivateSamba, CreateAnswersAndDeleteRemoves) {
    auto runner = MakeCommandRunner();
    test::FakeUser user;
    const SambaConfig config{conf_, port_};
    const ShareProbe probe = SmbclientProbe(*runner, config);
    auto share = MakeSambaTillShare(*runner, user, probe, config);
    const std::string folder = (dir_ / "prog").string();

    EXPECT_FALSE(probe("//127.0.0.1/vorsa$/vorsa.ini"));
    EXPECT_TRUE(share->CreateTillShare(folder, "vorsa$"));
    EXPECT_TRUE(fs::exists(dir_ / "usershares" / "vorsa$"));
    // The share holds the program folder, not just a name: another file is not found.
    EXPECT_TRUE(probe("//127.0.0.1/vorsa$/Vorsa.ini"));
    EXPECT_FALSE(probe("//127.0.0.1/vorsa$/altro.ini"));
    // Creating it again (the till restarts as main) is no error.
    EXPECT_TRUE(share->CreateTillShare(folder, "vorsa$"));

    share->DeleteTillShare("vorsa$");
    EXPECT_FALSE(fs::exists(dir_ / "usershares" / "vorsa$"));
    EXPECT_FALSE(probe("//127.0.0.1/vorsa$/vorsa.ini"));
    share->DeleteTillShare("vorsa$");  // a missing share is no error
}

TEST_F(PrivateSamba, AFolderThatIsNotThereGivesNoShare) {
    auto runner = MakeCommandRunner();
    test::FakeUser user;
    const SambaConfig config{conf_, port_};
    auto share = MakeSambaTillShare(*runner, user, SmbclientProbe(*runner, config), config);
    EXPECT_FALSE(share->CreateTillShare((dir_ / "missing").string(), "vorsa$"));
}

TEST_F(PrivateSamba, AMainTillStartsSharedAndSaysSo) {
    std::ofstream(dir_ / "prog" / "Vorsa.ini") << "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n";
    auto runner = MakeCommandRunner();
    auto files = MakeLocalFileAccess(false);
    test::FakeClock clock;
    test::FakeSleeper sleeper{&clock};
    test::FakeUser user;
    test::FakeShell shell;
    const SambaConfig config{conf_, port_};
    auto share = MakeSambaTillShare(*runner, user, SmbclientProbe(*runner, config), config);
    SmbOptions o;
    o.port = port_;
    auto smb = MakeSmbFileAccess(sleeper, o);
    CondivisioneAvvio avvio(*share, *smb);
    const std::string folder = (dir_ / "prog").string();
    auto start = [&] {
        auto till = std::make_unique<Till>(Services{*files, clock, sleeper, user, shell}, folder,
                                           Version{1, 0, 0});
        AvviaTill(*till, StartupHooks{&avvio});
        return till;
    };

    auto till = start();
    EXPECT_EQ(till->statoMultiVorsa, StatoMultiVorsa::PrincipaleOk);
    // Without a password the notice says, in red and until confirmed, that the data is open.
    const auto aperta = AvvisoPerStato(*till);
    ASSERT_TRUE(aperta);
    EXPECT_TRUE(aperta->allarme);
    EXPECT_EQ(aperta->closeAfterMs, 0);
    auto avviso = AvvisoPerStato(till->statoMultiVorsa, till->paths.programFolder);
    ASSERT_TRUE(avviso);
    EXPECT_EQ(avviso->text, "\r\nVorsa principale riabilitata senza problemi");
    EXPECT_EQ(avviso->closeAfterMs, 4000);
    share->DeleteTillShare("vorsa$");

    // No smbd: the share is made but nobody answers; the notice names the folder to share.
    StopSmbd();
    till = start();
    EXPECT_EQ(till->statoMultiVorsa, StatoMultiVorsa::PrincipaleSenzaCondivisione);
    avviso = AvvisoPerStato(till->statoMultiVorsa, till->paths.programFolder);
    ASSERT_TRUE(avviso);
    EXPECT_EQ(avviso->hint, "SUGGERIMENTO: Verificare se la cartella " + folder +
                                " \xE8 condivisa con nome [ vorsa$ ]");
    EXPECT_EQ(avviso->closeAfterMs, 0);
    EXPECT_TRUE(till->opt.gMultiVorsa);
}

// With a password the share admits the tills' account only: a guest can neither list, read nor
// write it, a secondary with the password sells, one with another password is told why.
TEST_F(PrivateSamba, APasswordKeepsGuestsOut) {
    if (!getpwnam(std::string(kUtenteCondivisione).c_str()))
        GTEST_SKIP() << "the set-up command makes the account " << kUtenteCondivisione;
    const std::string folder = (dir_ / "prog").string();
    std::ofstream(dir_ / "prog" / "Vorsa.ini")
        << "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\nPASSWORD="
        << CodificaPassword(kChiavePassword, "segreta1")
        << "\r\n[BERE]\r\nDIMENSIONE=1\r\n1=Birra;3;1;0;-1;1;-1;0\r\n";
    auto runner = MakeCommandRunner();
    auto local = MakeLocalFileAccess(false);
    test::FakeClock clock;
    test::FakeSleeper sleeper{&clock};
    test::FakeUser user;
    test::FakeShell shell;
    const SambaConfig config{conf_, port_};
    SmbOptions o;
    o.port = port_;
    o.lockWaitMs = 20;
    auto smb = MakeSmbFileAccess(sleeper, o);
    RoutingFileAccess files(*local, *smb);
    auto share = MakeSambaTillShare(
        *runner, user, [&](const std::string& p) { return smb->Exists(p); }, config);
    ASSERT_TRUE(share->ImpostaPassword("", "segreta1"));
    CondivisioneAvvio avvio(*share, *smb);
    auto start = [&](const std::string& cartella) {
        auto till = std::make_unique<Till>(Services{files, clock, sleeper, user, shell}, cartella,
                                           Version{1, 0, 0});
        AvviaTill(*till, StartupHooks{&avvio});
        return till;
    };
    auto principale = start(folder);
    ASSERT_EQ(principale->statoMultiVorsa, StatoMultiVorsa::PrincipaleOk);
    EXPECT_FALSE(AvvisoPerStato(*principale)->allarme);

    // A guest: nothing listed, read or written.
    EXPECT_FALSE(SmbclientProbe(*runner, config)("//127.0.0.1/vorsa$/Vorsa.ini"));
    auto ospite = MakeSmbFileAccess(sleeper, o);
    EXPECT_EQ(ospite->ReadAll("//127.0.0.1/vorsa$/Vorsa.ini").status, ReadStatus::Error);
    EXPECT_FALSE(ospite->ReplaceAll("//127.0.0.1/vorsa$/Vorsa.ini", "[X]\r\n"));
    EXPECT_FALSE(ospite->Exists("//127.0.0.1/vorsa$/Vorsa.ini"));

    for (const char* password : {"segreta1", "sbagliata"}) {
        const fs::path sec = dir_ / (std::string("sec-") + password);
        fs::create_directory(sec);
        std::ofstream(sec / "Vorsa.ini")
            << "[MULTIVORSA]\r\nABILITATO=1\r\nSISTEMA_REMOTO=127.0.0.1\r\nPASSWORD="
            << CodificaPassword(kChiavePassword, password) << "\r\n";
        auto secondaria = start(sec.string());
        const bool giusta = std::string(password) == "segreta1";
        EXPECT_EQ(secondaria->statoMultiVorsa, giusta ? StatoMultiVorsa::SecondariaOk
                                                      : StatoMultiVorsa::SecondariaIrraggiungibile);
        EXPECT_EQ(secondaria->passwordRifiutata, !giusta);
        if (giusta) {
            EXPECT_EQ(secondaria->cat.gArticoli[secondaria->cat.IndiceArticolo(201)].name, "Birra");
        } else {
            EXPECT_NE(AvvisoPerStato(*secondaria)->hint.find("password"), std::string::npos);
        }
    }
    share->DeleteTillShare("vorsa$");
}

}  // namespace
}  // namespace vorsa
