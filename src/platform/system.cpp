#include "platform/system.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/text.h"

namespace vorsa {
namespace {

class SystemClock : public Clock {
  public:
    DateTime Now() override {
        const std::time_t now = std::time(nullptr);
        std::tm tm{};
        DateTime t;
        if (::localtime_r(&now, &tm) == nullptr) return t;
        t.year = tm.tm_year + 1900;
        t.month = tm.tm_mon + 1;
        t.day = tm.tm_mday;
        t.hour = tm.tm_hour;
        t.minute = tm.tm_min;
        t.second = tm.tm_sec;
        t.weekday = tm.tm_wday;
        return t;
    }

    long long Millis() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

class SystemSleeper : public Sleeper {
  public:
    void Sleep(int ms) override {
        if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

class SystemUserInfo : public UserInfo {
  public:
    std::string NetworkUserName() override {
        long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
        std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
        passwd pw{};
        passwd* result = nullptr;
        int rc;
        while ((rc = ::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &result)) ==
                   ERANGE &&
               buffer.size() < (1u << 20)) {
            buffer.resize(buffer.size() * 2);
        }
        if (rc != 0 || result == nullptr || result->pw_name == nullptr) return {};
        return Utf8ToCp1252(result->pw_name);
    }
    std::string MachineId() override {
        for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
            std::ifstream in(path);
            std::string id;
            if (in >> id && !id.empty()) return id;
        }
        char host[256] = {};
        if (::gethostname(host, sizeof host - 1) == 0) return host;
        return {};
    }
};

class FlockGuard : public InstanceGuard {
  public:
    explicit FlockGuard(int fd) : fd_(fd) {}
    ~FlockGuard() override { ::close(fd_); }
    FlockGuard(const FlockGuard&) = delete;
    FlockGuard& operator=(const FlockGuard&) = delete;

  private:
    int fd_;
};

}  // namespace

std::string FormatDateTime(const DateTime& t) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d:%02d", t.day, t.month, t.year,
                  t.hour, t.minute, t.second);
    return buffer;
}

std::unique_ptr<Clock> MakeSystemClock() {
    return std::make_unique<SystemClock>();
}
std::unique_ptr<Sleeper> MakeSystemSleeper() {
    return std::make_unique<SystemSleeper>();
}
std::unique_ptr<UserInfo> MakeSystemUserInfo() {
    return std::make_unique<SystemUserInfo>();
}

std::string SystemTempFolder() {
    std::error_code ec;
    const std::filesystem::path dir = std::filesystem::temp_directory_path(ec);
    if (ec || !std::filesystem::is_directory(dir, ec) || ec) return {};
    std::string text = Utf8ToCp1252(dir.string());
    if (text.empty()) return {};
    if (text.back() != '/') text += '/';
    return text;
}

std::unique_ptr<InstanceGuard> InstanceGuard::Acquire(const std::string& folder) {
    int fd;
    do {
        fd = ::open(Cp1252ToUtf8(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return nullptr;
    // The lock lives on the folder's open description: nothing is written, and it goes away
    // with the process.
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<FlockGuard>(fd);
}

}  // namespace vorsa

namespace vorsa {

std::string CartellaProgramma(std::string_view exeFolder, std::string_view home,
                              std::string_view chosen) {
    auto senzaBarra = [](std::string_view p) {
        while (p.size() > 1 && p.back() == '/') p.remove_suffix(1);
        return std::string(p);
    };
    if (!chosen.empty()) return senzaBarra(chosen);
    const bool installato = exeFolder.rfind("/usr/", 0) == 0 || exeFolder.rfind("/opt/", 0) == 0;
    if (installato && !home.empty()) return senzaBarra(home) + "/Vorsa";
    return senzaBarra(exeFolder);
}

}  // namespace vorsa
