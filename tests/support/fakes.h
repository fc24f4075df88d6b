#pragma once
// Test doubles for time, sleeping, the user and the shell; and a real file read whole.
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/system.h"
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

}  // namespace vorsa::test
