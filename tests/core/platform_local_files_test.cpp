#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <future>

#include "platform/file_access.h"
#include "platform/profile_store.h"
#include "platform/system.h"
#include "platform/text.h"
#include "support/fakes.h"
#include "support/kill_loop.h"

namespace vorsa {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::InChild;
using test::Slurp;
using test::Succeeded;

std::string KeyOf(int process, int i) {
    return "P" + std::to_string(process) + "_" + std::to_string(i);
}

class LocalFilesTest : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    // Names in the folder, to prove that no temporary file was left behind.
    std::vector<std::string> Listing() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    const test::TempDir temp_{"vorsa_platform_"};
    const std::string dir_ = temp_.path;
    std::unique_ptr<FileAccess> files_ = MakeLocalFileAccess(false);
};

TEST_F(LocalFilesTest, ReplaceReadStampFoldersRemoveListAndRename) {
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
    EXPECT_FALSE(files_->CreateFolder(p));
    EXPECT_EQ(files_->ReadAll(Path("sub")).status, ReadStatus::Error);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"Citt\xC3\xA0.ini", "sub"}));
    EXPECT_TRUE(files_->Remove(p));
    EXPECT_FALSE(files_->Remove(p));  // gone

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
    EXPECT_TRUE(Succeeded(InChild([&] {
        // A file size limit makes writes fail with EFBIG, as a full disk would.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        auto local = MakeLocalFileAccess(true);
        ProfileStore store(*local);
        const bool replaced = local->ReplaceAll(p, std::string(100000, 'x'));
        const bool set = store.Set(p, "S", "big", std::string(100000, 'y'));
        return !replaced && !set && store.Get(p, "S", "big") == std::nullopt;
    })));
    EXPECT_EQ(Slurp(p), original);
    EXPECT_EQ(Listing(), std::vector<std::string>{"a.ini"});
}

TEST_F(LocalFilesTest, LockFollowsTheFileARenameReplaced) {
    const std::string p = Path("a.ini");
    auto second = MakeLocalFileAccess(false);
    auto third = MakeLocalFileAccess(false);
    auto held = files_->LockExclusive(p);
    ASSERT_NE(held, nullptr);
    // Another object of this process waits.
    auto waiter = std::async(std::launch::async, [&] { return second->LockExclusive(p); });
    EXPECT_EQ(waiter.wait_for(100ms), std::future_status::timeout);
    ASSERT_TRUE(files_->ReplaceAll(p, "new"));  // a new inode takes the name meanwhile
    held.reset();
    ASSERT_EQ(waiter.wait_for(5s), std::future_status::ready);
    auto got = waiter.get();
    // The waiter must now hold the lock of the file the name points at.
    auto late = std::async(std::launch::async, [&] { return third->LockExclusive(p); });
    EXPECT_EQ(late.wait_for(100ms), std::future_status::timeout);
    got.reset();
    EXPECT_EQ(late.wait_for(5s), std::future_status::ready);
}

TEST_F(LocalFilesTest, TwoProcessesLoseNoKey) {
    const std::string p = Path("shared.ini");
    constexpr int kKeys = 200;
    auto writer = [&](int c) {
        return [&p, c] {
            auto local = MakeLocalFileAccess(false);
            ProfileStore store(*local);
            bool ok = true;
            for (int i = 0; i < kKeys; ++i)
                ok = store.Set(p, "Shared", KeyOf(c, i), std::to_string(i)) && ok;
            return ok;
        };
    };
    const pid_t children[] = {InChild(writer(0)), InChild(writer(1))};
    for (pid_t child : children) EXPECT_TRUE(Succeeded(child));
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
    // Present from the start: on a slow machine no replace may finish before the first kill.
    ASSERT_TRUE(files_->ReplaceAll(ini, "[A]\r\n"));
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
        const char *exe, *home, *chosen, *folder;
    } cases[] = {
        {"/home/anna/vorsa/build/bin", "/home/anna", "", "/home/anna/vorsa/build/bin"},
        {"/usr/bin", "/home/anna", "", "/home/anna/Vorsa"},
        {"/usr/local/bin", "/home/anna/", "", "/home/anna/Vorsa"},
        {"/usr/bin", "/home/anna", "/srv/cassa1/", "/srv/cassa1"},
        {"/usr/bin", "", "", "/usr/bin"},  // no home: the only folder known
        {"/usrx/bin", "/home/anna", "", "/usrx/bin"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CartellaProgramma(c.exe, c.home, c.chosen), c.folder) << c.exe << " " << c.chosen;
}

TEST(System, ClockSleeperAndTempFolder) {
    auto clock = MakeSystemClock();
    const long long before = clock->Millis();
    MakeSystemSleeper()->Sleep(20);
    EXPECT_GE(clock->Millis() - before, 20);
    const std::string temp = SystemTempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '/');
}

// The profile store on files in memory.
const std::string kPath = "till/Vorsa.ini";
const std::string kOther = "till/Other.ini";

class ProfileStoreTest : public ::testing::Test {
  protected:
    MemoryFileAccess files;
    ProfileStore store{files};
};

TEST_F(ProfileStoreTest, ParsesOnlyChangedFilesOnceASnapshotAndKeepsWhatItShowedWhenUnreadable) {
    files.files[kPath] = "[S]\r\nk=1\r\n";
    for (int i = 0; i < 3; ++i) EXPECT_EQ(store.Get(kPath, "s", "K"), "1");
    EXPECT_EQ(store.counters().parses, 1);
    files.files[kPath] = "[S]\r\nk=2\r\n";  // another till changed it
    EXPECT_EQ(store.Get(kPath, "S", "k"), "2");
    EXPECT_EQ(store.counters().parses, 2);
    files.files[kPath] = "[S]\r\nk=3\r\n";
    files.failReads = true;  // the share went away
    for (int i = 0; i < 2; ++i) EXPECT_EQ(store.Get(kPath, "S", "k"), "2");
    EXPECT_FALSE(store.Readable(kPath));
    EXPECT_FALSE(store.Set(kPath, "S", "k", "4"));
    EXPECT_EQ(store.Get(kOther, "S", "k"), std::nullopt);  // never read: nothing to show
    files.failReads = false;
    EXPECT_EQ(store.Get(kPath, "S", "k"), "3");

    // A snapshot (one refresh) checks each file once; a write still merges the real file.
    files.files[kPath] = "[S]\r\nk=1\r\n";
    store.BeginSnapshot();
    EXPECT_EQ(store.Get(kPath, "S", "k"), "1");
    files.files[kPath] = "[S]\r\nk=2\r\n";  // another till, during the refresh
    EXPECT_EQ(store.Get(kPath, "S", "k"), "1");
    EXPECT_TRUE(store.Set(kPath, "S", "j", "3"));  // a write merges the real file
    EXPECT_EQ(files.files[kPath], "[S]\r\nk=2\r\nj=3\r\n");
    files.files[kPath] = "[S]\r\nk=4\r\n";
    store.EndSnapshot();
    EXPECT_EQ(store.Get(kPath, "S", "k"), "4");
}

TEST_F(ProfileStoreTest, FailuresLeaveNoTrace) {
    files.files[kPath] = "[S]\r\nk=1\r\n";
    files.failWrites = true;
    EXPECT_FALSE(store.Set(kPath, "S", "k", "2"));
    EXPECT_EQ(store.Get(kPath, "S", "k"), "1");
    store.BeginBatch();
    store.Set(kPath, "S", "k", "3");
    EXPECT_EQ(store.Get(kPath, "S", "k"), "3");
    EXPECT_FALSE(store.CommitBatch());
    EXPECT_EQ(store.Get(kPath, "S", "k"), "1");
    EXPECT_FALSE(store.Update(kPath, [](IniDocument& d) { return d.Set("S", "u", "1"); }));
    EXPECT_EQ(store.Get(kPath, "S", "u"), std::nullopt);
    files.failWrites = false;
    EXPECT_TRUE(store.Set(kPath, "S", "z", "9"));  // dropped changes do not come back
    EXPECT_EQ(files.files[kPath], "[S]\r\nk=1\r\nz=9\r\n");

    files.failReads = true;  // an unreadable file is never overwritten with a guess
    files.files[kPath] = "[S]\r\nk=5\r\n";
    EXPECT_FALSE(store.Set(kPath, "S", "x", "1"));
    EXPECT_EQ(files.files[kPath], "[S]\r\nk=5\r\n");
    EXPECT_EQ(files.locksHeld, 0);
}

TEST_F(ProfileStoreTest, BatchReadsItsWritesWritesEachFileOnceUnlessFlushed) {
    files.files[kPath] = "[S]\r\nk=1\r\n";
    store.BeginBatch();
    store.Set(kPath, "S", "a", "1");
    store.Set(kOther, "T", "c", "3");
    store.BeginBatch();  // nested: only the outer commit writes
    store.DeleteKey(kPath, "S", "k");
    EXPECT_TRUE(store.CommitBatch());
    EXPECT_EQ(store.Get(kPath, "s", "A"), "1");
    EXPECT_EQ(store.Get(kPath, "S", "k"), std::nullopt);
    files.files[kPath] += "theirs=y\r\n";  // another till writes during the batch
    EXPECT_EQ(store.Get(kPath, "S", "a"), "1");
    EXPECT_EQ(files.replaceCount, 0);
    EXPECT_TRUE(store.CommitBatch());
    EXPECT_EQ(files.replaceCount, 2);
    EXPECT_EQ(files.files[kPath], "[S]\r\ntheirs=y\r\na=1\r\n");
    EXPECT_EQ(files.files[kOther], "[T]\r\nc=3\r\n");

    // Inside a batch, a flush or an update writes at once.
    store.BeginBatch();
    store.Set(kPath, "S", "b", "2");
    store.Set(kOther, "T", "b", "2");
    EXPECT_TRUE(store.FlushFile(kOther));
    EXPECT_TRUE(store.FlushFile(kOther));  // nothing left to write
    EXPECT_EQ(files.replaceCount, 3);
    EXPECT_TRUE(store.Update(kPath, [](IniDocument& doc) {
        EXPECT_EQ(doc.Get("S", "b"), "2");  // sees the batch
        return doc.Set("Locks", "Till1", "busy");
    }));
    EXPECT_EQ(files.files[kPath], "[S]\r\ntheirs=y\r\na=1\r\nb=2\r\n[Locks]\r\nTill1=busy\r\n");
    EXPECT_TRUE(store.CommitBatch());
    EXPECT_EQ(files.replaceCount, 4);
}

// A transaction reads under the file's lock, holds it to the one write, and never creates the
// file: one found gone (deleted or emptied on the share) is reported, not brought back holding
// a few keys, and neither is it by a plain write. The last document read stays for a restore.
TEST_F(ProfileStoreTest, ATransactionNeverBringsBackAFileThatWentAway) {
    files.files[kPath] = "[S]\r\nn=1\r\n";
    store.Proteggi(kPath);
    ASSERT_EQ(store.BeginTransaction(kPath, true), ProfileStore::TxStatus::Ok);
    EXPECT_EQ(files.locksHeld, 1);
    EXPECT_TRUE(store.Set(kPath, "S", "n", "2"));
    EXPECT_TRUE(store.Set(kOther, "S", "x", "1"));
    EXPECT_EQ(files.replaceCount, 0);  // nothing before the end
    EXPECT_TRUE(store.CommitTransaction());
    EXPECT_EQ(files.locksHeld, 0);
    EXPECT_EQ(files.files[kPath], "[S]\r\nn=2\r\n");
    EXPECT_EQ(files.files[kOther], "[S]\r\nx=1\r\n");

    for (const char* how : {"deleted", "emptied"}) {
        if (std::string(how) == "deleted")
            files.files.erase(kPath);
        else
            files.files[kPath].clear();
        EXPECT_EQ(store.BeginTransaction(kPath, true), ProfileStore::TxStatus::Gone) << how;
        EXPECT_EQ(files.locksHeld, 0);
        EXPECT_FALSE(store.Set(kPath, "S", "n", "3")) << how;
        EXPECT_TRUE(files.files.count(kPath) == 0 || files.files[kPath].empty()) << how;
        ASSERT_NE(store.LastGood(kPath), nullptr);
        EXPECT_EQ(store.LastGood(kPath)->Get("S", "n"), "2");
    }
    const IniDocument copia = *store.LastGood(kPath);
    EXPECT_TRUE(store.Restore(kPath, [&](IniDocument& d) {
        d = copia;
        return true;
    }));
    EXPECT_EQ(files.files[kPath], "[S]\r\nn=2\r\n");
    // A file nobody guards (a saved catalogue) is made again by a write, as ever.
    files.files.erase(kOther);
    EXPECT_TRUE(store.Set(kOther, "S", "x", "2"));
    EXPECT_EQ(files.files[kOther], "[S]\r\nx=2\r\n");
    // An abandoned transaction writes nothing and shows the file again.
    ASSERT_EQ(store.BeginTransaction(kPath, true), ProfileStore::TxStatus::Ok);
    store.Set(kPath, "S", "n", "9");
    store.AbortTransaction();
    EXPECT_EQ(store.Get(kPath, "S", "n"), "2");
    EXPECT_EQ(files.files[kPath], "[S]\r\nn=2\r\n");
}

}  // namespace
}  // namespace vorsa
