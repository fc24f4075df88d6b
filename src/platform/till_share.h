#pragma once
// What multi-till mode needs of the machine: publishing the program folder as a network share,
// the local IPv4 addresses and the user's name. Linux publishes through Samba's user shares
// (`net usershare`); everything runs through CommandRunner so tests script the commands.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/system.h"

namespace vorsa {

/// Runs a program (argv[0] looked up in PATH) without a shell and waits at most `timeoutMs`.
class CommandRunner {
  public:
    virtual ~CommandRunner() = default;
    /// Exit status; -1 when it could not start, was killed or ran out of time.
    virtual int Run(const std::vector<std::string>& argv, int timeoutMs) = 0;
    /// The same with `input` on the program's standard input (a password never goes on a
    /// command line, where every user of the machine can read it).
    virtual int RunWithInput(const std::vector<std::string>& argv, const std::string& /*input*/,
                             int timeoutMs) {
        return Run(argv, timeoutMs);
    }
};

/// The Samba account the tills log in with when the share has a password, and the password
/// the set-up command gives it until the organiser sets one.
inline constexpr std::string_view kUtenteCondivisione = "vorsa";
inline constexpr std::string_view kPasswordIniziale = "vorsa";

std::unique_ptr<CommandRunner> MakeCommandRunner();

/// The share of the program folder and the facts about this machine that the dialog shows.
class TillShare {
  public:
    virtual ~TillShare() = default;
    /// Publishes `folder` (Windows-1252) as `share`, readable and writable by every user of
    /// the network, then tells whether "\\127.0.0.1\<share>\vorsa.ini" answers.
    virtual bool CreateTillShare(const std::string& folder, const std::string& share) = 0;
    /// Removes the share from this machine; a missing share is no error.
    virtual void DeleteTillShare(const std::string& share) = 0;
    /// IPv4 addresses of this machine as dotted text, without the loopback ones.
    virtual std::vector<std::string> ListLocalAddresses() = 0;
    /// The network name of the logged-on user; empty when none.
    virtual std::string CurrentUserName() = 0;
    /// From now on the share admits the tills' account only (true) or every guest (false);
    /// takes effect at the next CreateTillShare.
    virtual void ProteggiConPassword(bool /*on*/) {}
    /// Gives the tills' account the password `nuova` (the account had `vecchia`); false when
    /// it could not be changed.
    virtual bool ImpostaPassword(const std::string& /*vecchia*/, const std::string& /*nuova*/) {
        return false;
    }
};

/// Where Samba is reached: `smbConf` is a private smb.conf for `net -s` and `smbclient -s`
/// (empty: the system's), `port` the SMB port the check connects to (0: the standard one).
struct SambaConfig {
    std::string smbConf;
    int port = 0;
};

/// The settings the environment gives: VORSA_SMB_CONF and VORSA_SMB_PORT (for tests and for a
/// machine that runs its own smbd).
SambaConfig SambaConfigFromEnvironment();

/// Tells whether a file on a share answers; the path is "//host/share/file".
using ShareProbe = std::function<bool(const std::string& path)>;

/// Checks a share path with the smbclient program as a guest: "//127.0.0.1/vorsa$/vorsa.ini".
ShareProbe SmbclientProbe(CommandRunner& runner, const SambaConfig& config);

/// Samba user shares: `net usershare add <share> <folder> "Vorsa" S-1-1-0:F guest_ok=y`
/// (S-1-1-0 is Everyone).
std::unique_ptr<TillShare> MakeSambaTillShare(CommandRunner& runner, UserInfo& user,
                                              ShareProbe probe, SambaConfig config);

/// The command lines of the Samba share, as run (UTF-8 folder).
/// `ospiti` false: the tills' account only (guest_ok=n).
std::vector<std::string> ComandoCreaCondivisione(const SambaConfig& config,
                                                 const std::string& share,
                                                 const std::string& folderUtf8, bool ospiti = true);
/// Changes the password of the tills' Samba account: as root directly (smbpasswd -a), as a
/// user through the local smbd with the old password (smbpasswd -r). The password lines go to
/// the standard input.
struct PasswordCommand {
    std::vector<std::string> argv;
    std::string input;
};
PasswordCommand ComandoCambiaPassword(const SambaConfig& config, bool root,
                                      const std::string& vecchia, const std::string& nuova);
std::vector<std::string> ComandoEliminaCondivisione(const SambaConfig& config,
                                                    const std::string& share);

/// The path the share check looks at: "//127.0.0.1/<share>/vorsa.ini".
std::string FileCondivisoLocale(const std::string& share);

/// Dotted texts of IPv4 addresses (host byte order), ascending, without duplicates and without
/// the loopback network 127.0.0.0/8, which no other till can reach.
std::vector<std::string> IndirizziIPv4(std::vector<std::uint32_t> addresses);

/// The addresses of this machine's interfaces that are up.
std::vector<std::string> ListLocalAddresses();

}  // namespace vorsa
