#include "platform/till_share.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/text.h"

extern char** environ;

namespace vorsa {

namespace {

class PosixCommandRunner final : public CommandRunner {
  public:
    int Run(const std::vector<std::string>& argv, int timeoutMs) override {
        if (argv.empty()) return -1;
        std::vector<char*> args;
        args.reserve(argv.size() + 1);
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);

        // Hidden: no terminal, no output in the till's log.
        posix_spawn_file_actions_t io;
        posix_spawn_file_actions_init(&io);
        for (int fd : {0, 1, 2})
            posix_spawn_file_actions_addopen(&io, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY,
                                             0);
        pid_t pid = 0;
        int in[2] = {-1, -1};
        if (input_ && ::pipe2(in, O_CLOEXEC) == 0) {
            posix_spawn_file_actions_adddup2(&io, in[0], 0);
        }
        const int rc = posix_spawnp(&pid, args[0], &io, nullptr, args.data(), environ);
        posix_spawn_file_actions_destroy(&io);
        if (in[0] >= 0) ::close(in[0]);
        if (in[1] >= 0) {
            if (rc == 0) {
                // A few short lines: they fit the pipe, so this never blocks.
                const char* p = input_->data();
                std::size_t left = input_->size();
                while (left > 0) {
                    const ssize_t n = ::write(in[1], p, left);
                    if (n <= 0 && errno != EINTR) break;
                    if (n > 0) {
                        p += n;
                        left -= static_cast<std::size_t>(n);
                    }
                }
            }
            ::close(in[1]);
        }
        if (rc != 0) return -1;

        const auto limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        int status = 0;
        for (;;) {
            const pid_t w = waitpid(pid, &status, WNOHANG);
            if (w == pid) break;
            if (w < 0 && errno != EINTR) return -1;
            if (std::chrono::steady_clock::now() >= limite) {
                // A command that hangs (an unreachable host) must not hold the till.
                kill(pid, SIGKILL);
                while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
                }
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    int RunWithInput(const std::vector<std::string>& argv, const std::string& input,
                     int timeoutMs) override {
        input_ = &input;
        const int rc = Run(argv, timeoutMs);
        input_ = nullptr;
        return rc;
    }

  private:
    const std::string* input_ = nullptr;
};

constexpr int kAttesaComandoMs = 10000;

/// "-s <conf>" when a private configuration is named.
void AggiungiConfigurazione(std::vector<std::string>& argv, const SambaConfig& c) {
    if (c.smbConf.empty()) return;
    argv.push_back("-s");
    argv.push_back(c.smbConf);
}

class SambaTillShare final : public TillShare {
  public:
    SambaTillShare(CommandRunner& runner, UserInfo& user, ShareProbe probe, SambaConfig config)
        : runner_(runner), user_(user), probe_(std::move(probe)), config_(std::move(config)) {}

    bool CreateTillShare(const std::string& folder, const std::string& share) override {
        // Awaited, unlike the hidden commands of old: the check right after then means
        // something instead of failing while the share is still being made.
        runner_.Run(ComandoCreaCondivisione(config_, share, Cp1252ToUtf8(folder), !password_),
                    kAttesaComandoMs);
        return probe_ && probe_(FileCondivisoLocale(share));
    }

    void ProteggiConPassword(bool on) override { password_ = on; }

    bool ImpostaPassword(const std::string& vecchia, const std::string& nuova) override {
        const PasswordCommand c = ComandoCambiaPassword(config_, ::geteuid() == 0,
                                                        Cp1252ToUtf8(vecchia), Cp1252ToUtf8(nuova));
        return runner_.RunWithInput(c.argv, c.input, kAttesaComandoMs) == 0;
    }

    void DeleteTillShare(const std::string& share) override {
        runner_.Run(ComandoEliminaCondivisione(config_, share), kAttesaComandoMs);
    }

    std::vector<std::string> ListLocalAddresses() override { return vorsa::ListLocalAddresses(); }

    std::string CurrentUserName() override { return user_.NetworkUserName(); }

  private:
    CommandRunner& runner_;
    UserInfo& user_;
    ShareProbe probe_;
    SambaConfig config_;
    bool password_ = false;
};

}  // namespace

std::unique_ptr<CommandRunner> MakeCommandRunner() {
    return std::make_unique<PosixCommandRunner>();
}

SambaConfig SambaConfigFromEnvironment() {
    SambaConfig c;
    if (const char* conf = std::getenv("VORSA_SMB_CONF")) c.smbConf = conf;
    if (const char* port = std::getenv("VORSA_SMB_PORT")) {
        const long long p = Val(port);
        if (p > 0 && p < 65536) c.port = static_cast<int>(p);
    }
    return c;
}

std::vector<std::string> ComandoCreaCondivisione(const SambaConfig& config,
                                                 const std::string& share,
                                                 const std::string& folderUtf8, bool ospiti) {
    std::vector<std::string> argv{"net"};
    AggiungiConfigurazione(argv, config);
    // Full control for everyone and guests let in: every till of the network reads and
    // writes the data file, as the Windows share with "everyone:F" did. Everyone is given by
    // its SID: the name would have to be looked up through a running smbd.
    for (const char* a : {"usershare", "add"}) argv.emplace_back(a);
    argv.push_back(share);
    argv.push_back(folderUtf8);
    argv.emplace_back("Vorsa");
    argv.emplace_back("S-1-1-0:F");
    argv.emplace_back(ospiti ? "guest_ok=y" : "guest_ok=n");
    return argv;
}

PasswordCommand ComandoCambiaPassword(const SambaConfig& config, bool root,
                                      const std::string& vecchia, const std::string& nuova) {
    PasswordCommand c;
    c.argv = {"smbpasswd"};
    if (!config.smbConf.empty()) {
        c.argv.emplace_back("-c");
        c.argv.push_back(config.smbConf);
    }
    c.argv.emplace_back("-s");
    if (root) {
        c.argv.emplace_back("-a");
        c.argv.emplace_back(kUtenteCondivisione);
    } else {
        for (const char* a : {"-r", "127.0.0.1", "-U"}) c.argv.emplace_back(a);
        c.argv.emplace_back(kUtenteCondivisione);
        c.input = vecchia + "\n";
    }
    c.input += nuova + "\n" + nuova + "\n";
    return c;
}

std::vector<std::string> ComandoEliminaCondivisione(const SambaConfig& config,
                                                    const std::string& share) {
    std::vector<std::string> argv{"net"};
    AggiungiConfigurazione(argv, config);
    argv.emplace_back("usershare");
    argv.emplace_back("delete");
    argv.push_back(share);
    return argv;
}

std::string FileCondivisoLocale(const std::string& share) {
    return "//127.0.0.1/" + share + "/vorsa.ini";
}

ShareProbe SmbclientProbe(CommandRunner& runner, const SambaConfig& config) {
    return [&runner, config](const std::string& path) {
        // "//host/share/dir/file": the service is "//host/share", the rest is the file.
        if (path.rfind("//", 0) != 0) return false;
        const auto host = path.find('/', 2);
        if (host == std::string::npos) return false;
        const auto share = path.find('/', host + 1);
        if (share == std::string::npos || share + 1 >= path.size()) return false;
        std::string file = path.substr(share + 1);
        // smbclient's own command language splits on blanks and takes ';' as a separator.
        if (file.find_first_of("\";\r\n") != std::string::npos) return false;
        std::vector<std::string> argv{"smbclient"};
        AggiungiConfigurazione(argv, config);
        if (config.port > 0) {
            argv.emplace_back("-p");
            argv.push_back(std::to_string(config.port));
        }
        argv.emplace_back("-N");
        argv.push_back(Cp1252ToUtf8(path.substr(0, share)));
        argv.emplace_back("-c");
        argv.push_back("ls \"" + Cp1252ToUtf8(file) + "\"");
        return runner.Run(argv, kAttesaComandoMs) == 0;
    };
}

std::unique_ptr<TillShare> MakeSambaTillShare(CommandRunner& runner, UserInfo& user,
                                              ShareProbe probe, SambaConfig config) {
    return std::make_unique<SambaTillShare>(runner, user, std::move(probe), std::move(config));
}

std::vector<std::string> IndirizziIPv4(std::vector<std::uint32_t> addresses) {
    std::sort(addresses.begin(), addresses.end());
    addresses.erase(std::unique(addresses.begin(), addresses.end()), addresses.end());
    std::vector<std::string> out;
    for (std::uint32_t a : addresses) {
        if ((a >> 24) == 127) continue;
        out.push_back(std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 0xFF) + "." +
                      std::to_string((a >> 8) & 0xFF) + "." + std::to_string(a & 0xFF));
    }
    return out;
}

std::vector<std::string> ListLocalAddresses() {
    std::vector<std::uint32_t> found;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return {};
    for (const ifaddrs* i = list; i != nullptr; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
        if (!(i->ifa_flags & IFF_UP)) continue;
        sockaddr_in in{};
        std::copy_n(reinterpret_cast<const char*>(i->ifa_addr), sizeof in,
                    reinterpret_cast<char*>(&in));
        found.push_back(ntohl(in.sin_addr.s_addr));
    }
    freeifaddrs(list);
    return IndirizziIPv4(std::move(found));
}

}  // namespace vorsa
