#include "support/smbd_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace vorsa::test {
namespace {

constexpr const char* kSmbd = "/usr/sbin/smbd";

int FreePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(s);
    return port;
}

bool Answers(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}

}  // namespace

bool SmbdAvailable() {
    return ::access(kSmbd, X_OK) == 0;
}

SmbdServer::SmbdServer(std::string folder, const std::string& global) : folder_(std::move(folder)) {
    namespace fs = std::filesystem;
    state_ = (fs::temp_directory_path() /
              ("vorsa-smbd-" + std::to_string(::getpid()) + "-" + std::to_string(FreePort())))
                 .string();
    fs::remove_all(state_);
    for (const char* d : {"private", "lock", "state", "cache", "pid", "ncalrpc"})
        fs::create_directories(state_ + "/" + d);
    if (!folder_.empty()) fs::create_directories(folder_);
    port_ = FreePort();
    const passwd* pw = ::getpwuid(::getuid());
    const std::string user = pw ? pw->pw_name : "root";
    std::ofstream out(conf());
    out << "[global]\n"
        << "  interfaces = lo\n  bind interfaces only = yes\n"
        << "  smb ports = " << port_ << "\n"
        << "  disable netbios = yes\n  server role = standalone server\n"
        << "  map to guest = Bad User\n  guest account = " << user << "\n"
        << "  private dir = " << state_ << "/private\n"
        << "  lock directory = " << state_ << "/lock\n"
        << "  state directory = " << state_ << "/state\n"
        << "  cache directory = " << state_ << "/cache\n"
        << "  pid directory = " << state_ << "/pid\n"
        << "  ncalrpc dir = " << state_ << "/ncalrpc\n"
        << "  log file = " << state_ << "/log.%m\n  log level = 0\n"
        << "  socket options = TCP_NODELAY SO_KEEPALIVE TCP_KEEPIDLE=5 TCP_KEEPINTVL=2 "
           "TCP_KEEPCNT=3\n"
        << "  load printers = no\n  printcap name = /dev/null\n  disable spoolss = yes\n"
        << global;
    if (!folder_.empty())
        out << "[vorsa$]\n  path = " << folder_ << "\n  guest ok = yes\n  read only = no\n"
            << "  force user = " << user << "\n";
    out.close();
    Start();
}

bool SmbdServer::Start() {
    if (pid_ > 0) return true;
    const std::string conf = this->conf();
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        // smbd makes its own process group, so stopping it never reaches the test.
        ::execl(kSmbd, kSmbd, "--foreground", "-s", conf.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    pid_ = child;
    for (int i = 0; i < 500; ++i) {
        if (Answers(port_)) return true;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Stop();
    return false;
}

void SmbdServer::Stop() {
    if (pid_ <= 0) return;
    // Its process group holds the per-client smbd children as well.
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    // The port is free again once nothing answers there.
    for (int i = 0; i < 200 && Answers(port_); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

SmbdServer::~SmbdServer() {
    Stop();
    std::filesystem::remove_all(state_);
}

}  // namespace vorsa::test
