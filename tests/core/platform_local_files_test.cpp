#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/file_access.h"
#include "platform/profile_store.h"
#include "platform/system.h"
#include "platform/text.h"
#include "support/kill_loop.h"

namespace vorsa {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string KeyOf(int process, int i) {
    std::string key = "P";
    return key.append(std::to_string(process)).append("_").append(std::to_string(i));
}

class LocalFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vorsa_platform_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        files_ = MakeLocalFileAccess(false);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    static std::string Slurp(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Names in the folder, to prove that no temporary file was left behind.
    std::vector<std::string> Listing() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir_;
    std::unique_ptr<FileAccess> files_;
};

TEST_F(LocalFilesTest, ReplaceReadStampFoldersAndRemove) {
    const std::string p = Path("Citt\xE0.ini");  // Windows-1252 name, UTF-8 on disk
    EXPECT_EQ(files_->ReadAll(p).status, ReadStatus::Missing);
    EXPECT_FALSE(files_->Stamp(p).has_value());
    ASSERT_TRUE(MakeLocalFileAccess(true)->ReplaceAll(p, std::string("x\0y", 3)));
    EXPECT_EQ(Slurp(dir_ + "/Citt\xC3\xA0.ini"), std::string("x\0y", 3));
    const auto first = files_->Stamp(p);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->size, 3u);
    EXPECT_EQ(files_->Stamp(p), first);
    ASSERT_TRUE(files_->ReplaceAll(p, std::string("x\0y", 3)));  // same bytes, new version
    EXPECT_NE(files_->Stamp(p), first);
    EXPECT_EQ(files_->ReadAll(p).bytes, std::string("x\0y", 3));

    EXPECT_TRUE(files_->CreateFolder(Path("sub")));
    EXPECT_TRUE(files_->CreateFolder(Path("sub")));  // an existing folder is fine
    EXPECT_TRUE(files_->Exists(Path("sub")));
    EXPECT_FALSE(files_->CreateFolder(p));
    EXPECT_EQ(files_->ReadAll(Path("sub")).status, ReadStatus::Error);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"Citt\xC3\xA0.ini", "sub"}));
    EXPECT_TRUE(files_->Remove(p));
    EXPECT_FALSE(files_->Remove(p));
    EXPECT_FALSE(files_->Exists(p));
}

TEST_F(LocalFilesTest, ListFilesAndRenameWithoutReplacing) {
    ASSERT_TRUE(files_->ReplaceAll(Path("b.txt"), "b"));
    ASSERT_TRUE(files_->ReplaceAll(Path("a.TXT"), "a"));
    ASSERT_TRUE(files_->ReplaceAll(Path("c.csv"), "c"));
    ASSERT_TRUE(files_->ReplaceAll(Path("Caff\xE8.txt"), "\xE8"));
    ASSERT_TRUE(files_->CreateFolder(Path("cartella.txt")));
    EXPECT_EQ(files_->ListFiles(dir_, ".txt"),
              (std::vector<std::string>{"Caff\xE8.txt", "a.TXT", "b.txt"}));
    EXPECT_TRUE(files_->ListFiles(Path("manca"), ".txt").empty());

    EXPECT_FALSE(files_->Rename(Path("b.txt"), Path("a.TXT")));  // taken: nothing replaced
    EXPECT_EQ(Slurp(Path("a.TXT")), "a");
    EXPECT_EQ(Slurp(Path("b.txt")), "b");
    EXPECT_TRUE(files_->Rename(Path("b.txt"), Path("d.txt")));
    EXPECT_EQ(Slurp(Path("d.txt")), "b");
    EXPECT_FALSE(files_->Exists(Path("b.txt")));
    EXPECT_FALSE(files_->Rename(Path("b.txt"), Path("e.txt")));  // gone
}

TEST_F(LocalFilesTest, ImpossibleReplacesAndLocksFail) {
    ASSERT_TRUE(files_->CreateFolder(Path("adir")));
    EXPECT_FALSE(files_->ReplaceAll(Path("missing/a.ini"), "x"));
    EXPECT_FALSE(files_->ReplaceAll(Path("adir"), "x"));
    EXPECT_EQ(files_->LockExclusive(Path("missing/a.ini")), nullptr);
    EXPECT_EQ(files_->LockExclusive(Path("adir")), nullptr);
    EXPECT_TRUE(fs::is_empty(Path("adir")));
    EXPECT_EQ(Listing(), std::vector<std::string>{"adir"});
    EXPECT_NE(files_->LockExclusive(Path("new.ini")), nullptr);  // creates the file
    EXPECT_TRUE(files_->Exists(Path("new.ini")));
}

TEST_F(LocalFilesTest, FullDiskKeepsTheOriginalFile) {
    const std::string p = Path("a.ini");
    const std::string original = "[S]\r\nk=original\r\n";
    ASSERT_TRUE(files_->ReplaceAll(p, original));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A file size limit makes writes fail with EFBIG, as a full disk would.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        auto local = MakeLocalFileAccess(true);
        ProfileStore store(*local);
        const bool replaced = local->ReplaceAll(p, std::string(100000, 'x'));
        const bool set = store.Set(p, "S", "big", std::string(100000, 'y'));
        const bool reverted = store.Get(p, "S", "big") == std::nullopt;
        ::_exit(!replaced && !set && reverted ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Slurp(p), original);
    EXPECT_EQ(Listing(), std::vector<std::string>{"a.ini"});
}

// Runs LockExclusive on another thread; acquired() tells whether it has returned yet.
class LockAttempt {
  public:
    LockAttempt(FileAccess& files, std::string path)
        : thread_([this, &files, path] {
              lock_ = files.LockExclusive(path);
              acquired_ = true;
          }) {}
    ~LockAttempt() { Release(); }
    bool acquired() const { return acquired_; }
    void Release() {
        if (thread_.joinable()) thread_.join();
        lock_.reset();
    }
    bool WaitAcquired() {
        for (int i = 0; i < 500 && !acquired_; ++i) std::this_thread::sleep_for(10ms);
        return acquired_;
    }

  private:
    std::atomic<bool> acquired_{false};
    std::unique_ptr<FileLock> lock_;
    std::thread thread_;
};

TEST_F(LocalFilesTest, LockFollowsTheFileARenameReplaced) {
    const std::string p = Path("a.ini");
    auto second = MakeLocalFileAccess(false);
    auto third = MakeLocalFileAccess(false);
    auto held = files_->LockExclusive(p);
    ASSERT_NE(held, nullptr);
    LockAttempt waiter(*second, p);  // another object of this process waits
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(waiter.acquired());
    ASSERT_TRUE(files_->ReplaceAll(p, "new"));  // a new inode takes the name meanwhile
    held.reset();
    ASSERT_TRUE(waiter.WaitAcquired());
    // The waiter must now hold the lock of the file the name points at.
    LockAttempt late(*third, p);
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(late.acquired());
    waiter.Release();
    EXPECT_TRUE(late.WaitAcquired());
}

TEST_F(LocalFilesTest, StoreUsesTheStampInsteadOfParsing) {
    const std::string p = Path("a.ini");
    ProfileStore store(*files_);
    EXPECT_TRUE(store.Set(p, "S", "k", "1"));
    const long parses = store.counters().parses;
    for (int i = 0; i < 10; ++i) EXPECT_EQ(store.Get(p, "S", "k"), "1");
    EXPECT_EQ(store.counters().parses, parses);
    ProfileStore other(*files_);
    EXPECT_TRUE(other.Set(p, "S", "k", "2"));
    EXPECT_EQ(store.Get(p, "S", "k"), "2");
}

TEST_F(LocalFilesTest, TwoProcessesLoseNoKey) {
    const std::string p = Path("shared.ini");
    constexpr int kKeys = 200;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            auto local = MakeLocalFileAccess(false);
            ProfileStore store(*local);
            bool ok = true;
            for (int i = 0; i < kKeys; ++i) {
                ok = store.Set(p, "Shared", KeyOf(c, i), std::to_string(i)) && ok;
            }
            ::_exit(ok ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // Key names are distinct, so the count alone proves that none was lost.
    ProfileStore reader(*files_);
    EXPECT_EQ(reader.Document(p).Entries("Shared").size(), 2u * kKeys);
    EXPECT_EQ(reader.Get(p, "Shared", KeyOf(1, kKeys - 1)), std::to_string(kKeys - 1));
    EXPECT_EQ(Listing(), std::vector<std::string>{"shared.ini"});
}

TEST_F(LocalFilesTest, InstanceGuardIsExclusivePerFolder) {
    ASSERT_TRUE(files_->CreateFolder(Path("other")));
    auto first = InstanceGuard::Acquire(dir_);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(InstanceGuard::Acquire(dir_), nullptr);
    EXPECT_NE(InstanceGuard::Acquire(Path("other")), nullptr);
    first.reset();
    EXPECT_NE(InstanceGuard::Acquire(dir_), nullptr);
    EXPECT_EQ(InstanceGuard::Acquire(Path("missing")), nullptr);
    EXPECT_EQ(Listing(), std::vector<std::string>{"other"});  // nothing written
}

// Temporary files of replaces killed mid-way go at start-up; live ones and strangers stay.
TEST_F(LocalFilesTest, StaleTempsOfKilledReplacesAreRemoved) {
    const std::string ini = Path("Vorsa.ini");
    ASSERT_TRUE(files_->ReplaceAll(ini, "[A]\r\nK=1\r\n"));
    struct Entry {
        std::string name;
        bool folder;
        int ageSeconds;
        bool locked;  // a writer still holds it
        bool removed;
    };
    const std::vector<Entry> entries = {
        {".Vorsa.ini.tmp.4242.1", false, 3600, false, true},
        {".Vorsa.ini.tmp.4242.2", false, 31, false, true},
        {".Vorsa.ini.tmp.4242.3", false, 5, false, false},    // may be a remote writer's
        {".Vorsa.ini.tmp.4242.4", false, 3600, true, false},  // live local writer
        {".Vorsa.ini.tmp.dir", true, 3600, false, false},
        {".Altro.ini.tmp.1.1", false, 3600, false, false},
        {"Vorsa.ini.tmp.1.1", false, 3600, false, false},
        {".Vorsa.ini.bak", false, 3600, false, false},
    };
    std::vector<int> locks;
    for (const Entry& e : entries) {
        const std::string path = Path(e.name);
        if (e.folder) {
            ASSERT_TRUE(fs::create_directory(path));
        } else {
            std::ofstream(path) << std::string(1000, 'x');
        }
        const timespec when[2] = {{std::time(nullptr) - e.ageSeconds, 0},
                                  {std::time(nullptr) - e.ageSeconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), when, 0), 0);
        if (e.locked) {
            locks.push_back(::open(path.c_str(), O_RDONLY));
            ASSERT_EQ(::flock(locks.back(), LOCK_EX), 0);
        }
    }
    EXPECT_EQ(files_->RemoveStaleTemps(ini), 2);
    for (const Entry& e : entries) EXPECT_EQ(fs::exists(Path(e.name)), !e.removed) << e.name;
    EXPECT_EQ(Slurp(ini), "[A]\r\nK=1\r\n");
    for (int fd : locks) ::close(fd);
    EXPECT_EQ(files_->RemoveStaleTemps(Path("missing/Vorsa.ini")), 0);
}

// The temps that killed writers really leave behind are recognised as dead.
TEST_F(LocalFilesTest, KilledWritersLeaveTempsThatStartUpRemoves) {
    const std::string ini = Path("Vorsa.ini");
    const std::string big(4 << 20, 'v');
    test::KillLoop(
        8, 5, 54,
        [&](int) {
            auto files = MakeLocalFileAccess(true);
            for (;;) files->ReplaceAll(ini, big);
        },
        [](int) {});
    // Age whatever was left, as the next start-up would find it after a while.
    int left = 0;
    for (const auto& e : fs::directory_iterator(dir_)) {
        if (e.path().filename() == "Vorsa.ini") continue;
        ++left;
        const timespec old[2] = {{1, 0}, {1, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, e.path().c_str(), old, 0), 0);
    }
    EXPECT_EQ(files_->RemoveStaleTemps(ini), left);
    EXPECT_EQ(Listing(), std::vector<std::string>{"Vorsa.ini"});
}

TEST(System, ProgramFolderOfABuiltAndOfAnInstalledTill) {
    struct Case {
        const char* exe;
        const char* home;
        const char* chosen;
        const char* folder;
    } cases[] = {
        {"/home/anna/vorsa/build/bin", "/home/anna", "", "/home/anna/vorsa/build/bin"},
        {"/usr/bin", "/home/anna", "", "/home/anna/Vorsa"},
        {"/usr/local/bin", "/home/anna/", "", "/home/anna/Vorsa"},
        {"/opt/vorsa/bin", "/root", "", "/root/Vorsa"},
        {"/usr/bin", "/home/anna", "/srv/cassa1/", "/srv/cassa1"},
        {"/usr/bin", "", "", "/usr/bin"},  // no home: the only folder known
        {"/usrx/bin", "/home/anna", "", "/usrx/bin"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CartellaProgramma(c.exe, c.home, c.chosen), c.folder) << c.exe << " " << c.chosen;
}

TEST(System, DateTimeClockUserAndTempFolder) {
    EXPECT_EQ(FormatDateTime({2026, 12, 6, 19, 45, 3, 0}), "06/12/2026 19:45:03");
    EXPECT_EQ(FormatDateTime({987, 1, 2, 0, 0, 0, 0}), "02/01/0987 00:00:00");
    auto clock = MakeSystemClock();
    EXPECT_GE(clock->Now().year, 2024);
    const long long before = clock->Millis();
    MakeSystemSleeper()->Sleep(20);
    EXPECT_GE(clock->Millis() - before, 20);
    EXPECT_FALSE(MakeSystemUserInfo()->NetworkUserName().empty());
    const std::string temp = SystemTempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '/');
}

}  // namespace
}  // namespace vorsa
