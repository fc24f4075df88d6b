#pragma once
// Test doubles for time, sleeping, the user and the shell; a real file read whole, and a
// fresh real folder.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/system.h"
#include "platform/till_share.h"
#include "support/memory_file_access.h"

namespace vorsa::test {

class FakeClock : public Clock {
  public:
    DateTime now{2026, 12, 6, 19, 45, 3, 0};
    long long millis = 0;
    DateTime Now() override { return now; }
    long long Millis() override { return millis; }
};

/// Counts sleeps instead of sleeping; `onSleep` lets a test act as another till meanwhile.
class FakeSleeper : public Sleeper {
  public:
    explicit FakeSleeper(FakeClock* clock = nullptr) : clock_(clock) {}
    int count = 0;
    long long totalMs = 0;
    std::function<void(int)> onSleep;
    void Sleep(int ms) override {
        ++count;
        totalMs += ms;
        if (clock_) clock_->millis += ms;
        if (onSleep) onSleep(count);
    }

  private:
    FakeClock* clock_;
};

class FakeUser : public UserInfo {
  public:
    std::string name = "cassiere";
    std::string NetworkUserName() override { return name; }
};

class FakeShell : public Shell {
  public:
    std::vector<std::string> opened;
    void Open(const std::string& path) override { opened.push_back(path); }
};

/// The bytes a real file holds, to check exactly what landed on disk.
inline std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// A share service that records what it is asked and succeeds unless told otherwise.
class ScriptedShare final : public TillShare {
  public:
    bool ok = true, passwordOk = true;
    std::vector<std::string> calls;
    bool CreateTillShare(const std::string& folder, const std::string& share) override {
        calls.push_back("create " + share + " " + folder);
        return ok;
    }
    void DeleteTillShare(const std::string& share) override { calls.push_back("delete " + share); }
    std::vector<std::string> ListLocalAddresses() override {
        return {"192.168.0.5", "10.1.2.3", "172.16.40.200"};
    }
    std::string CurrentUserName() override { return "cassa"; }
    void ProteggiConPassword(bool on) override { calls.push_back(on ? "protect" : "open"); }
    bool ImpostaPassword(const std::string& vecchia, const std::string& nuova) override {
        calls.push_back("password " + vecchia + " -> " + nuova);
        return passwordOk;
    }
};

/// A new empty folder in the system's temporary folder, removed with its content at the end.
struct TempDir {
    explicit TempDir(const std::string& prefix = "vorsa_test_") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
        if (::mkdtemp(pattern.data()) != nullptr) path = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path;
};

}  // namespace vorsa::test
