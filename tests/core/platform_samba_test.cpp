// The main till's share against a real smbd with a private configuration, on 127.0.0.1 only:
// `net usershare` publishes the program folder, smbclient finds vorsa.ini there as a guest, and
// the share is gone after DeleteTillShare; a main till starting says whether its share answers.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/smb_file_access.h"
#include "platform/till_share.h"
#include "startup/startup_share.h"
#include "support/fakes.h"
#include "support/smbd_server.h"

namespace vorsa {
namespace {

namespace fs = std::filesystem;

class PrivateSamba : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* p : {"net", "smbclient"})
            if (std::system((std::string("command -v ") + p + " >/dev/null").c_str()) != 0)
                GTEST_SKIP() << p << " is not installed";
        if (!test::SmbdAvailable()) GTEST_SKIP() << "smbd is not installed";
        if (geteuid() != 0) GTEST_SKIP() << "net usershare needs root or the sambashare group";
        char tmpl[] = "/tmp/vorsa_samba_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        // The tills' account walks down to the shared folder.
        fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
        fs::create_directory(dir_ / "prog");
        // As the set-up command makes the system's: root:sambashare, 1770.
        const fs::path us = dir_ / "usershares";
        fs::create_directory(us);
        if (const group* g = getgrnam("sambashare")) {
            ASSERT_EQ(chown(us.c_str(), 0, g->gr_gid), 0);
        }
        ASSERT_EQ(chmod(us.c_str(), 01770), 0);
        std::ofstream(dir_ / "prog" / "Vorsa.ini") << "[NOTA]\r\n";
        smbd_ = std::make_unique<test::SmbdServer>(
            "", "  usershare path = " + us.string() +
                    "\n  usershare max shares = 10\n  usershare allow guests = yes\n");
        ASSERT_TRUE(smbd_->ok());
        config_ = {smbd_->conf(), smbd_->port()};
    }
    void TearDown() override {
        smbd_.reset();
        if (!dir_.empty()) fs::remove_all(dir_);
    }
    /// A till started in `folder` on `files`, its share handled by `avvio`.
    std::unique_ptr<Till> Start(FileAccess& files, NetworkShare& avvio, const std::string& folder) {
        auto till = std::make_unique<Till>(Services{files, clock_, sleeper_, user_, shell_}, folder,
                                           Version{1, 0, 0});
        AvviaTill(*till, StartupHooks{&avvio});
        return till;
    }

    fs::path dir_;
    std::unique_ptr<test::SmbdServer> smbd_;
    SambaConfig config_;
    std::unique_ptr<CommandRunner> runner_ = MakeCommandRunner();
    test::FakeClock clock_;
    test::FakeSleeper sleeper_{&clock_};
    test::FakeUser user_;
    test::FakeShell shell_;
};

TEST_F(PrivateSamba, CreateAnswersAndDeleteRemoves) {
    const ShareProbe probe = SmbclientProbe(*runner_, config_);
    auto share = MakeSambaTillShare(*runner_, user_, probe, config_);
    const std::string folder = (dir_ / "prog").string();

    EXPECT_FALSE(probe("//127.0.0.1/vorsa$/vorsa.ini"));
    EXPECT_TRUE(share->CreateTillShare(folder, "vorsa$"));
    // The share holds the program folder, not just a name: another file is not found.
    EXPECT_TRUE(probe("//127.0.0.1/vorsa$/Vorsa.ini"));
    EXPECT_FALSE(probe("//127.0.0.1/vorsa$/altro.ini"));
    // Creating it again (the till restarts as main) is no error.
    EXPECT_TRUE(share->CreateTillShare(folder, "vorsa$"));

    share->DeleteTillShare("vorsa$");
    EXPECT_FALSE(probe("//127.0.0.1/vorsa$/vorsa.ini"));
    share->DeleteTillShare("vorsa$");  // a missing share is no error
    EXPECT_FALSE(share->CreateTillShare((dir_ / "missing").string(), "vorsa$"));
}

TEST_F(PrivateSamba, AMainTillStartsSharedAndSaysSo) {
    std::ofstream(dir_ / "prog" / "Vorsa.ini") << "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n";
    auto files = MakeLocalFileAccess(false);
    auto share = MakeSambaTillShare(*runner_, user_, SmbclientProbe(*runner_, config_), config_);
    SmbOptions o;
    o.port = config_.port;
    auto smb = MakeSmbFileAccess(sleeper_, o);
    StartupShare avvio(*share, *smb);
    const std::string folder = (dir_ / "prog").string();

    auto till = Start(*files, avvio, folder);
    EXPECT_EQ(till->statoMultiVorsa, MultiTillState::PrincipaleOk);
    // Without a password the notice says, in red and until confirmed, that the data is open.
    const auto aperta = AvvisoPerStato(*till);
    ASSERT_TRUE(aperta);
    EXPECT_TRUE(aperta->allarme);
    EXPECT_EQ(aperta->closeAfterMs, 0);
    share->DeleteTillShare("vorsa$");

    // No smbd: the share is made but nobody answers; the notice names the folder to share.
    smbd_->Stop();
    till = Start(*files, avvio, folder);
    EXPECT_EQ(till->statoMultiVorsa, MultiTillState::PrincipaleSenzaCondivisione);
    const auto avviso = AvvisoPerStato(till->statoMultiVorsa, till->paths.programFolder);
    ASSERT_TRUE(avviso);
    EXPECT_EQ(avviso->hint, "SUGGERIMENTO: Verificare se la cartella " + folder +
                                " \xE8 condivisa con nome [ vorsa$ ]");
    EXPECT_EQ(avviso->closeAfterMs, 0);
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
    auto local = MakeLocalFileAccess(false);
    SmbOptions o;
    o.port = config_.port;
    o.lockWaitMs = 20;
    auto smb = MakeSmbFileAccess(sleeper_, o);
    RoutingFileAccess files(*local, *smb);
    auto share = MakeSambaTillShare(
        *runner_, user_, [&](const std::string& p) { return smb->Exists(p); }, config_);
    ASSERT_TRUE(share->ImpostaPassword("", "segreta1"));
    StartupShare avvio(*share, *smb);
    auto principale = Start(files, avvio, folder);
    ASSERT_EQ(principale->statoMultiVorsa, MultiTillState::PrincipaleOk);
    EXPECT_FALSE(AvvisoPerStato(*principale)->allarme);

    // A guest: nothing listed, read or written.
    EXPECT_FALSE(SmbclientProbe(*runner_, config_)("//127.0.0.1/vorsa$/Vorsa.ini"));
    auto ospite = MakeSmbFileAccess(sleeper_, o);
    EXPECT_EQ(ospite->ReadAll("//127.0.0.1/vorsa$/Vorsa.ini").status, ReadStatus::Error);
    EXPECT_FALSE(ospite->ReplaceAll("//127.0.0.1/vorsa$/Vorsa.ini", "[X]\r\n"));
    EXPECT_FALSE(ospite->Exists("//127.0.0.1/vorsa$/Vorsa.ini"));

    for (const char* password : {"segreta1", "sbagliata"}) {
        const fs::path sec = dir_ / (std::string("sec-") + password);
        fs::create_directory(sec);
        std::ofstream(sec / "Vorsa.ini")
            << "[MULTIVORSA]\r\nABILITATO=1\r\nSISTEMA_REMOTO=127.0.0.1\r\nPASSWORD="
            << CodificaPassword(kChiavePassword, password) << "\r\n";
        auto secondaria = Start(files, avvio, sec.string());
        const bool giusta = std::string(password) == "segreta1";
        EXPECT_EQ(secondaria->statoMultiVorsa, giusta ? MultiTillState::SecondariaOk
                                                      : MultiTillState::SecondariaIrraggiungibile);
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
