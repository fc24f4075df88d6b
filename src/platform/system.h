#pragma once
// Time, sleeping, the user, the shell and the single-instance guard, behind interfaces so
// tests run with a fixed clock and no real waits.
#include <chrono>
#include <memory>
#include <string>
#include <string_view>

namespace vorsa {

struct DateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    int weekday = 0;  // 0 = Sunday
};

/// Screen size in twips.
struct ScreenTwips {
    int width = 0;
    int height = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual DateTime Now() = 0;
    /// Milliseconds from an arbitrary origin, monotonic.
    virtual long long Millis() = 0;
};

class Sleeper {
  public:
    virtual ~Sleeper() = default;
    virtual void Sleep(int ms) = 0;
};

class UserInfo {
  public:
    virtual ~UserInfo() = default;
    /// The user's login name, Windows-1252; empty when the system reports none.
    virtual std::string NetworkUserName() = 0;
    /// What tells this computer from another (its machine id); empty when unknown.
    virtual std::string MachineId() { return {}; }
};

/// Opens a document with the program the desktop associates with it.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual void Open(const std::string& path) = 0;
};

/// Short date and time text as the till writes it: "06/12/2026 19:45:03".
std::string FormatDateTime(const DateTime& t);

std::unique_ptr<Clock> MakeSystemClock();
std::unique_ptr<Sleeper> MakeSystemSleeper();
std::unique_ptr<UserInfo> MakeSystemUserInfo();

/// The system's temporary folder (Windows-1252, ending with '/'); empty when none is usable.
std::string SystemTempFolder();

/// The program folder, where Vorsa.ini and its folders live (UTF-8 paths):
/// - `chosen` when not empty (the VORSA_CARTELLA environment variable);
/// - for a program installed under /usr or /opt, which the user cannot write to, the folder
///   "Vorsa" in the user's home, so every user of the machine has their own till;
/// - otherwise the executable's own folder, as when the till runs from where it was built.
std::string CartellaProgramma(std::string_view exeFolder, std::string_view home,
                              std::string_view chosen);

/// Holds the single-instance guard of one program folder until destroyed. Acquire returns
/// null when another process holds it. Nothing is written to the folder.
class InstanceGuard {
  public:
    virtual ~InstanceGuard() = default;
    static std::unique_ptr<InstanceGuard> Acquire(const std::string& folder);
};

}  // namespace vorsa
