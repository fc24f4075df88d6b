// The SMB file access against a private smbd on 127.0.0.1, and the delta it sends; then
// several tills, each in its own process, on one data file served by it.
#include "platform/smb_file_access.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "platform/profile_store.h"
#include "sale_harness.h"
#include "support/fakes.h"
#include "support/kill_loop.h"
#include "support/smbd_server.h"

namespace vorsa {
namespace {

namespace fs = std::filesystem;
using test::Slurp;

std::string Apply(std::string_view oldBytes, const Delta& d) {
    std::string out(oldBytes.substr(0, d.first));
    for (const DeltaOp& op : d.ops)
        out += op.copy ? std::string(oldBytes.substr(op.from, op.length)) : op.literal;
    return out;
}

TEST(SmbUrlTest, NetworkPathsBecomeUrls) {
    const std::pair<const char*, const char*> cases[] = {
        {"\\\\cassa1\\vorsa$\\vorsa.ini", "smb://cassa1/vorsa$/vorsa.ini"},
        {"//192.168.0.5/vorsa$/vorsa.ini.lck", "smb://192.168.0.5/vorsa$/vorsa.ini.lck"},
        {"\\\\bar\\vorsa$\\Dati\\100%.txt", "smb://bar/vorsa$/Dati/100%25.txt"},
        {"\\\\bar\\vorsa$\\Citt\xE0.ini", "smb://bar/vorsa$/Citt\xC3\xA0.ini"},
        {"/p/Vorsa.ini", ""},
        {"///x", ""},
        {"C:\\Vorsa\\Vorsa.ini", ""},
    };
    for (const auto& [path, url] : cases) {
        EXPECT_EQ(SmbUrl(path), url) << path;
        EXPECT_EQ(IsNetworkPath(path), *url != '\0') << path;
    }
}

std::string Archive(int receipts) {
    std::string s = "[MANGIARE]\r\n1=Panino;3,5;1;0;40;1;40;0\r\n2=Birra;3;1;0;-1;1;-1;0\r\n";
    s += "[STATISTICHE]\r\nSCONTRINI=" + std::to_string(receipts) + "\r\n101=4;14\r\n";
    s += "[SCONTRINI]\r\n";
    for (int r = 1; r <= receipts; ++r)
        s += std::to_string(r) + "=101-1-3,5;06/12/2026 20:15:00-0-3,5-anna45:03-0-0-0\r\n";
    s += "[STORNI]\r\nLISTA=\r\n";
    return s;
}

TEST(DeltaTest, RebuildsTheNewBytesAndSendsOnlyWhatChanged) {
    const std::string old = Archive(2000);
    std::string shorter = old;
    shorter.erase(shorter.find("2=Birra"), shorter.find("[STAT") - shorter.find("2=Birra"));
    struct Case {
        const char* name;
        std::string before, after;
        std::uint64_t maxLiteral;
    } cases[] = {
        {"a line removed", old, shorter, 300},
        {"nothing changed", old, old, 0},
        {"from nothing", "", "[A]\r\nk=v\r\n", 20},
        {"to nothing", "[A]\r\nk=v\r\n", "", 0},
        {"no final line end", "[A]\r\nk=v", "[A]\r\nk=w", 20},
    };
    for (const auto& c : cases) {
        const Delta d = ComputeDelta(c.before, c.after);
        EXPECT_EQ(Apply(c.before, d), c.after) << c.name;
        EXPECT_LE(d.literalBytes, c.maxLiteral) << c.name;
    }
}

// The next sale of an Archive file: the counter goes up and a receipt is added.
std::string Sale(std::string s) {
    const std::size_t at = s.find("SCONTRINI=") + 10;
    const std::size_t end = s.find('\r', at);
    const std::string n = std::to_string(std::stoi(s.substr(at, end - at)) + 1);
    s.replace(at, end - at, n);
    s.insert(s.find("[STORNI]"), n + "=101-1-3,5;06/12/2026 21:00:00-0-3,5-bruno-0-0-0\r\n");
    return s;
}

TEST(ChangeLogTest, EntriesRoundTripAndProveThemselves) {
    const std::string before = Archive(500);
    const std::string after = Sale(before);
    const LogEntry e{.seq = 7,
                     .preSize = before.size(),
                     .preHash = ContentHash(before),
                     .postSize = after.size(),
                     .postHash = ContentHash(after),
                     .postMtimeNs = 1765000000123456000,
                     .delta = ComputeDelta(before, after)};
    LogEntry whole = e;
    whole.whole = true;
    const std::string one = EncodeLogEntry(e);
    const std::string log = one + EncodeLogEntry(whole);
    EXPECT_LT(one.size(), 400u);
    const auto parsed = ParseLog(log);
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[0].end, one.size());
    EXPECT_EQ(parsed[1].end, log.size());
    EXPECT_EQ(ApplyLogEntry(before, parsed[0]), after);
    EXPECT_FALSE(ApplyLogEntry(before, parsed[1]));  // no delta: the file must be read
    EXPECT_FALSE(ApplyLogEntry(after, parsed[0]));   // not the content it was made on
    std::string flipped = log;
    flipped[one.size() - 20] ^= 1;
    const std::pair<std::string, std::size_t> damaged[] = {
        {flipped, 0},  // a changed byte
        {one + "VORSAL1\n" + std::string(200, '\0'), 1},
        {std::string(5, 'x') + one, 0},
        {"", 0},
    };
    for (const auto& [bytes, entries] : damaged) EXPECT_EQ(ParseLog(bytes).size(), entries);
}

class SmbTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::SmbdAvailable()) GTEST_SKIP() << "smbd is not installed";
        root = (fs::temp_directory_path() / ("vorsa-smb-" + std::to_string(::getpid()))).string();
        fs::remove_all(root);
        folder = root + "/principale";
        server = std::make_unique<test::SmbdServer>(folder);
        ASSERT_TRUE(server->ok());
        const SmbOptions o{
            .port = server->port(), .lockWaitMs = 200, .readWaitMs = 50, .retryAfterMs = 1000};
        a = MakeSmbFileAccess(sleeperA, o);
        b = MakeSmbFileAccess(sleeperB, o);
    }
    void TearDown() override {
        a.reset();
        b.reset();
        server.reset();
        fs::remove_all(root);
    }
    std::string root, folder;  // folder: the main till's, served as vorsa$
    const std::string ini = "//127.0.0.1/vorsa$/Vorsa.ini";  // the data file in it
    std::unique_ptr<test::SmbdServer> server;
    test::FakeSleeper sleeperA;
    test::FakeSleeper sleeperB;
    std::unique_ptr<SmbFileAccess> a;
    std::unique_ptr<SmbFileAccess> b;
};

// A sealed journal as a writer leaves it: magic, first changed byte, new size, FNV-1a of the
// body, body.
std::string Journal(std::uint64_t first, std::uint64_t size, const std::string& body) {
    std::uint64_t sum = 14695981039346656037ull;
    for (const char c : body) {
        sum ^= static_cast<unsigned char>(c);
        sum *= 1099511628211ull;
    }
    std::string j = "VORSAJ2\n";
    for (std::uint64_t v : {first, size, sum})
        for (int i = 0; i < 8; ++i) j += static_cast<char>((v >> (8 * i)) & 0xFF);
    return j + body;
}

TEST_F(SmbTest, FilesRoundTripByteForByte) {
    EXPECT_EQ(a->ReadAll(ini).status, ReadStatus::Missing);
    EXPECT_FALSE(a->Exists(ini));
    const std::string big = Archive(3000);
    ASSERT_TRUE(a->ReplaceAll(ini, big));
    EXPECT_EQ(Slurp(folder + "/Vorsa.ini"), big);
    ReadResult r = b->ReadAll("\\\\127.0.0.1\\vorsa$\\vorsa.ini");  // either spelling, any case
    EXPECT_EQ(r.status, ReadStatus::Ok);
    EXPECT_EQ(r.bytes, big);

    // A sale: only the changed bytes travel, the server copies the rest.
    const std::string sale = Sale(big);
    b->ResetCounters();
    ASSERT_TRUE(b->ReplaceAll(ini, sale));
    EXPECT_EQ(Slurp(folder + "/Vorsa.ini"), sale);
    EXPECT_LT(b->counters().sent, 1000);
    EXPECT_EQ(b->counters().received, 0);
    EXPECT_GT(b->counters().copiedOnServer, 150000);
    EXPECT_FALSE(fs::exists(folder + "/.Vorsa.ini.sealed"));
    EXPECT_FALSE(fs::exists(folder + "/.Vorsa.ini.journal"));

    // Shorter, and a change that keeps the size: both seen by the other till's stamp.
    for (const std::string& next : {std::string("[A]\r\nk=1\r\n"), std::string("[A]\r\nk=2\r\n")}) {
        const auto before = a->Stamp(ini);
        {
            auto held = b->LockExclusive(ini);  // as the profile store writes
            ASSERT_TRUE(b->ReplaceAll(ini, next));
        }
        EXPECT_EQ(Slurp(folder + "/Vorsa.ini"), next);
        EXPECT_NE(a->Stamp(ini), before) << next;
        EXPECT_EQ(a->ReadAll(ini).bytes, next);
    }
    EXPECT_TRUE(a->Rename(ini, server->Path("Altro.ini")));
    EXPECT_EQ(a->ListFiles("//127.0.0.1/vorsa$", ".ini"), std::vector<std::string>{"Altro.ini"});
    EXPECT_TRUE(a->Remove(server->Path("Altro.ini")));
    EXPECT_FALSE(fs::exists(folder + "/Altro.ini"));
}

TEST_F(SmbTest, MainTillReachesItsOwnFilesThroughTheShare) {
    const auto local = MakeLocalFileAccess(false);
    RoutingFileAccess routed(*local, *a);
    const std::string here = folder + "/Vorsa.ini";
    ASSERT_TRUE(local->ReplaceAll(here, "[A]\r\nk=1\r\n"));
    using Location = RoutingFileAccess::Location;
    // Another folder with the same file in it is not this one, however alike the files.
    const std::string altra = fs::path(folder).parent_path().string() + "/altra";
    fs::create_directories(altra);
    ASSERT_TRUE(local->ReplaceAll(altra + "/Vorsa.ini", "[A]\r\nk=1\r\n"));
    EXPECT_EQ(routed.AliasFolderIfShared(altra, "//127.0.0.1/vorsa$", {"Vorsa.ini"}),
              Location::NonServita);
    // Decided the same way every time, and nothing left behind by the probe.
    for (int i = 0; i < 5; ++i) {
        routed.ClearAliases();
        ASSERT_EQ(routed.AliasFolderIfShared(folder, "//127.0.0.1/vorsa$", {"Vorsa.ini"}),
                  Location::Servita);
    }
    for (const auto& e : fs::directory_iterator(folder))
        EXPECT_EQ(e.path().filename().string().rfind(".vorsa-sede", 0), std::string::npos);
    // Now the main till's writes wait for a secondary's lock like every other till's.
    auto lock = b->LockExclusive(server->Path("vorsa.ini"));
    ASSERT_TRUE(lock);
    sleeperA.onSleep = [&](int n) {
        if (n == 3) lock.reset();
    };
    EXPECT_TRUE(routed.ReplaceAll(here, "[A]\r\nk=2\r\n"));
    EXPECT_EQ(sleeperA.count, 3);
    EXPECT_EQ(Slurp(here), "[A]\r\nk=2\r\n");
    EXPECT_EQ(routed.ReadAll(folder + "/vorsa.INI").bytes, "[A]\r\nk=2\r\n");
}

TEST_F(SmbTest, LockExcludesOtherTillsReadersAndWriters) {
    ASSERT_TRUE(a->ReplaceAll(ini, "[A]\r\nk=1\r\n"));
    auto lock = a->LockExclusive(ini);
    ASSERT_TRUE(lock);
    ASSERT_TRUE(a->ReplaceAll(ini, "[A]\r\nk=2\r\n"));
    // The other till waits while the lock is held, and goes on as soon as it is released.
    sleeperB.onSleep = [&](int n) {
        if (n == 5) lock.reset();
    };
    const ReadResult r = b->ReadAll(ini);
    EXPECT_EQ(sleeperB.count, 5);
    EXPECT_EQ(r.bytes, "[A]\r\nk=2\r\n");
    // A lock that is never released: the wait ends and nothing is written.
    auto again = a->LockExclusive(ini);
    sleeperB.count = 0;
    sleeperB.onSleep = nullptr;
    EXPECT_FALSE(b->LockExclusive(ini));
    EXPECT_FALSE(b->ReplaceAll(ini, "[A]\r\nk=3\r\n"));
    EXPECT_GE(sleeperB.count, 100);
    EXPECT_EQ(Slurp(folder + "/Vorsa.ini"), "[A]\r\nk=2\r\n");
    // A hung holder costs a reader (the refresh) a short wait once, then none for a while.
    sleeperB.count = 0;
    EXPECT_EQ(b->ReadAll(ini).status, ReadStatus::Error);
    EXPECT_EQ(sleeperB.count, 25);
    EXPECT_EQ(b->ReadAll(ini).status, ReadStatus::Error);
    EXPECT_EQ(sleeperB.count, 25);
}

TEST_F(SmbTest, AKilledWritersJournalIsFinishedWhenSealedAndDroppedWhenUnproved) {
    const std::string before = "[A]\r\nk=1\r\n[B]\r\nx=yyyyyyyy\r\n";
    const std::string after = "[A]\r\nk=22\r\n[B]\r\nx=y\r\n";
    ASSERT_TRUE(a->ReplaceAll(ini, before));
    // What a writer killed between sealing and copying leaves: the half-copied file and the
    // sealed journal holding the new bytes from the first change (offset 7) on.
    const std::string journal = Journal(7, after.size(), after.substr(7));
    std::ofstream(folder + "/.Vorsa.ini.sealed", std::ios::binary) << journal;
    std::ofstream(folder + "/Vorsa.ini", std::ios::binary) << "[A]\r\nk=22\r\n[B]\r\nx=yy";
    EXPECT_EQ(b->ReadAll(ini).bytes, after);  // a reader sees the sale whole
    EXPECT_TRUE(fs::exists(folder + "/.Vorsa.ini.sealed"));
    { auto lock = b->LockExclusive(ini); }  // the next writer finishes it
    EXPECT_EQ(Slurp(folder + "/Vorsa.ini"), after);
    EXPECT_FALSE(fs::exists(folder + "/.Vorsa.ini.sealed"));
    // An unsealed journal is the start of a replace that never happened.
    std::ofstream(folder + "/.Vorsa.ini.journal", std::ios::binary) << journal.substr(0, 20);
    EXPECT_EQ(b->ReadAll(ini).bytes, after);

    // A journal that does not prove itself is dropped unapplied, by a reader and by a writer.
    std::string badSum = Journal(7, 10, "2\r\n");
    badSum[24] = static_cast<char>(badSum[24] ^ 1);
    const std::string cases[] = {
        "",                                                // empty
        std::string("VORSAJ2\n") + std::string(24, '\0'),  // a header and nothing: truncates
        "VORSAJ2\n" + std::string(26, 'x'),                // 34 bytes of garbage
        Journal(7, 10, "2\r\n").substr(0, 32),             // the body missing
        Journal(7, 10, "2\r\n") + "x",                     // one byte too many
        badSum,                                            // checksum off
        Journal(400, 403, "abc"),                          // starts past the end of the file
    };
    const long refused = b->counters().journalsRefused;
    for (const std::string& planted : cases) {
        ASSERT_TRUE(a->ReplaceAll(ini, before));
        for (bool reader : {true, false}) {
            std::ofstream(folder + "/.Vorsa.ini.sealed", std::ios::binary) << planted;
            if (reader) {
                EXPECT_EQ(b->ReadAll(ini).bytes, before) << planted.size();
            } else {
                auto lock = b->LockExclusive(ini);
                EXPECT_TRUE(lock) << planted.size();
            }
            EXPECT_EQ(Slurp(folder + "/Vorsa.ini"), before) << planted.size();
            EXPECT_FALSE(fs::exists(folder + "/.Vorsa.ini.sealed")) << planted.size();
        }
    }
    EXPECT_EQ(b->counters().journalsRefused - refused, 14);
}

TEST_F(SmbTest, AReaderFollowsTheChangeLogOrReadsTheFileWhole) {
    const std::string file = folder + "/Vorsa.ini";
    const std::string log = folder + "/.Vorsa.ini.log";
    std::string cur = Archive(3000);
    ASSERT_TRUE(a->ReplaceAll(ini, cur));
    // As a till commits: the file read under its lock (from the log), then written.
    auto sell = [&] {
        auto lock = a->LockExclusive(ini);
        ASSERT_EQ(a->ReadAll(ini).bytes, cur);
        cur = Sale(cur);
        ASSERT_TRUE(a->ReplaceAll(ini, cur));
    };
    auto write = [&](const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    };
    std::string oldLog;
    struct Case {
        const char* name;
        int sales;
        bool readEach;
        std::function<void()> then;
        int viaLog;
    } cases[] = {
        {"one sale", 1, false, nullptr, 1},
        {"entries missed", 5, false, nullptr, 1},
        {"entries missed while the log began again", 100, false, nullptr, 1},
        {"every sale while the log begins again", 120, true, nullptr, 120},
        {"log truncated", 1, false, [&] { fs::resize_file(log, fs::file_size(log) - 9); }, 0},
        {"log rewritten", 1, false, [&] { write(log, std::string(fs::file_size(log), 'x')); }, 0},
        {"log of an earlier state", 1, false, [&] { write(log, oldLog); }, 0},
        {"log gone", 1, false, [&] { fs::remove(log); }, 0},
        {"next sale after all that", 1, false, nullptr, 1},
        {"an addition at the end only", 0, false,
         [&] {
             auto lock = a->LockExclusive(ini);
             cur += "[X]\r\nk=v\r\n";
             ASSERT_TRUE(a->ReplaceAll(ini, cur));
         },
         1},
        {"file written by a till that keeps no log", 0, false,
         [&] {
             cur[cur.find("SCONTRINI=") + 10] = '9';  // same size
             write(file, cur);
         },
         0},
        {"next sale after it", 1, false, nullptr, 1},
        {"earlier copy restored with its time", 1, false,
         [&] {
             const std::string saved = cur;
             const auto time = fs::last_write_time(file);
             sell();
             write(file, saved);
             fs::last_write_time(file, time);
             cur = saved;
         },
         0},
    };
    ASSERT_EQ(b->ReadAll(ini).bytes, cur);
    for (const Case& c : cases) {
        const SmbCounters start = b->counters();
        oldLog = Slurp(log);
        for (int i = 0; i < c.sales; ++i) {
            sell();
            if (c.readEach) {
                ASSERT_EQ(b->ReadAll(ini).bytes, Slurp(file)) << c.name << i;
            }
        }
        if (c.then) c.then();
        EXPECT_EQ(b->ReadAll(ini).bytes, Slurp(file)) << c.name;
        EXPECT_EQ(Slurp(file), cur) << c.name;
        EXPECT_EQ(b->counters().logRefreshes - start.logRefreshes, c.viaLog) << c.name;
        if (c.viaLog > 0) {
            EXPECT_LT(b->counters().received - start.received, 400 * c.sales + 3000) << c.name;
        }
    }
    EXPECT_LT(fs::file_size(log), 30000u);
    // A till's own write is its copy: reading the file afterwards moves nothing.
    ProfileStore own(*a);
    ASSERT_TRUE(own.Set(ini, "STATISTICHE", "SCONTRINI", "4000"));
    a->ResetCounters();
    EXPECT_EQ(own.Get(ini, "STATISTICHE", "SCONTRINI"), "4000");
    EXPECT_EQ(a->counters().received, 0);
}

TEST_F(SmbTest, AReaderNeverTakesFromTheLogAChangeTheFileDoesNotHold) {
    ASSERT_TRUE(a->ReplaceAll(ini, Archive(3000)));
    ASSERT_TRUE(b->ReadAll(ini).status == ReadStatus::Ok);
    test::KillLoop(
        20, 80, 400,
        [&](int) {
            test::FakeSleeper sleeper;
            auto w = MakeSmbFileAccess(sleeper, {.port = server->port()});
            for (;;) {
                auto lock = w->LockExclusive(ini);
                const ReadResult r = w->ReadAll(ini);
                if (lock && r.status == ReadStatus::Ok) w->ReplaceAll(ini, Sale(r.bytes));
            }
        },
        [&](int round) {
            { auto finish = a->LockExclusive(ini); }  // a sealed journal left is applied
            EXPECT_EQ(b->ReadAll(ini).bytes, Slurp(folder + "/Vorsa.ini")) << round;
            // Then a clean change, whatever the load: the reader takes it from the log.
            const long dalLog = b->counters().logRefreshes;
            {
                auto lock = a->LockExclusive(ini);
                ASSERT_TRUE(lock) << round;
                ASSERT_TRUE(a->ReplaceAll(ini, Sale(a->ReadAll(ini).bytes))) << round;
            }
            EXPECT_EQ(b->ReadAll(ini).bytes, Slurp(folder + "/Vorsa.ini")) << round;
            EXPECT_EQ(b->counters().logRefreshes, dalLog + 1) << round;
        });
    RecordProperty("full_reads", static_cast<int>(b->counters().fullReads));
    // Some rounds were killed between the file and its entry: the reader read the file.
    EXPECT_GE(b->counters().fullReads, 2);
}

TEST_F(SmbTest, MainTillGoneFailsFastAndComesBack) {
    ASSERT_TRUE(a->ReplaceAll(ini, "[A]\r\nk=1\r\n"));
    server->Stop();
    EXPECT_EQ(a->ReadAll(ini).status, ReadStatus::Error);
    RecordProperty("first_errno", a->TakeLastError());
    // Once the server did not answer, the next calls do not even ask it: no freeze.
    // (libsmbclient may first report the dead connection it cached in some other way.)
    EXPECT_FALSE(a->ReplaceAll(ini, "[A]\r\nk=2\r\n"));
    const long asked = a->counters().requests;
    EXPECT_FALSE(a->ReplaceAll(ini, "[A]\r\nk=2\r\n"));
    EXPECT_FALSE(a->Stamp(ini).has_value());
    EXPECT_FALSE(a->Exists(ini));
    EXPECT_FALSE(a->LockExclusive(ini));
    EXPECT_EQ(a->counters().requests, asked);
    EXPECT_NE(a->TakeLastError(), 0);
    ASSERT_TRUE(server->Start());
    // A server that does not answer holds up no other: "localhost" is another name here.
    EXPECT_EQ(a->ReadAll("//localhost/vorsa$/Vorsa.ini").bytes, "[A]\r\nk=1\r\n");
    server->Stop();
    ASSERT_TRUE(server->Start());
    usleep(1100 * 1000);
    EXPECT_EQ(a->ReadAll(ini).bytes, "[A]\r\nk=1\r\n");
    EXPECT_TRUE(a->ReplaceAll(ini, "[A]\r\nk=3\r\n"));
    EXPECT_EQ(Slurp(folder + "/Vorsa.ini"), "[A]\r\nk=3\r\n");
}

struct Child {
    pid_t pid = -1;
    int out = -1;
};

/// Becomes a till_driver process.
[[noreturn]] void Exec(const std::string& folder, int port, const std::string& user,
                       const std::vector<std::string>& args) {
    std::vector<std::string> all = {TILL_DRIVER, folder, std::to_string(port), user};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(TILL_DRIVER, argv.data());
    ::_exit(127);
}

Child Spawn(const std::string& folder, int port, const std::string& user,
            const std::vector<std::string>& args) {
    int p[2];
    if (::pipe(p) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(p[1], 1);
        ::close(p[0]);
        ::close(p[1]);
        Exec(folder, port, user, args);
    }
    ::close(p[1]);
    return {pid, p[0]};
}

std::string ReadLine(const Child& c) {
    std::string line;
    char ch;
    while (::read(c.out, &ch, 1) == 1 && ch != '\n') line += ch;
    return line;
}

/// Waits for the child and returns what it printed.
std::string Finish(Child c) {
    std::string out;
    char buf[256];
    ssize_t n;
    while ((n = ::read(c.out, buf, sizeof buf)) > 0) out.append(buf, static_cast<std::size_t>(n));
    ::close(c.out);
    int status = 0;
    ::waitpid(c.pid, &status, 0);
    return out;
}

void Kill(Child c) {
    if (c.pid > 0) ::kill(c.pid, SIGKILL);
    Finish(c);
}

class MultiTillTest : public SmbTest {
  protected:
    void Write(const std::string& path, const std::string& text) {
        fs::create_directories(fs::path(path).parent_path());
        MakeLocalFileAccess(false)->ReplaceAll(path, text);
    }
    std::string Secondary(int n, int cicli = 200) {
        const std::string f = root + "/secondaria" + std::to_string(n);
        Write(f + "/Vorsa.ini",
              "[MULTIVORSA]\r\nABILITATO=1\r\nSISTEMA_REMOTO=127.0.0.1\r\n"
              "TIMER_CICLI=" +
                  std::to_string(cicli) + "\r\n");
        return f;
    }
    /// The shared files as a till reads them: through the share.
    IniDocument Shared(const char* name) {
        test::FakeSleeper s;
        auto smb = MakeSmbFileAccess(s, {.port = server->port()});
        const ReadResult r = smb->ReadAll(server->Path(name));
        EXPECT_EQ(r.status, ReadStatus::Ok) << name;
        // Whole lines only: a section, a key with its value, or nothing.
        for (const std::string& line : Split(r.bytes, '\n')) {
            EXPECT_EQ(line.find('\0'), std::string::npos) << name;
            const std::string t = Trim(line);
            EXPECT_TRUE(t.empty() || t.front() == '[' || t.find('=') != std::string::npos)
                << name << ": " << line;
        }
        EXPECT_EQ(IniDocument::Parse(r.bytes).Serialize(), r.bytes) << name;
        return IniDocument::Parse(r.bytes);
    }
    /// Receipts 1..n each once, statistics and stock as the receipts tell, no lock left.
    void ExpectConsistent(std::map<std::string, int>* perTill = nullptr,
                          long long expectedReceipts = -1) {
        const IniDocument doc = Shared("Vorsa.ini");
        const long long n = Val(doc.Get("STATISTICHE", "SCONTRINI").value_or("0"));
        if (expectedReceipts >= 0) {
            EXPECT_EQ(n, expectedReceipts);
        }
        std::map<int, long long> sold;
        for (long long r = 1; r <= n; ++r) {
            const auto rec = doc.Get("SCONTRINI", std::to_string(r));
            ASSERT_TRUE(rec.has_value()) << "receipt " << r << " of " << n;
            const ArchivedReceipt s = LeggiScontrino(*rec, ';');
            ASSERT_TRUE(s.valido) << *rec;
            if (perTill) ++(*perTill)[s.identita.substr(0, s.identita.size() - 5)];
            for (const auto& v : s.voci) sold[v.code] += v.quantity;
        }
        EXPECT_FALSE(doc.Get("SCONTRINI", std::to_string(n + 1)).has_value());
        for (const auto& [code, q] : sold) {
            const auto stat = Split(doc.Get("STATISTICHE", std::to_string(code)).value_or(""), ';');
            ASSERT_EQ(stat.size(), 2u) << code;
            EXPECT_EQ(Val(stat[0]), q) << code;
        }
        const auto panino = Split(doc.Get("MANGIARE", "1").value_or(""), ';');
        ASSERT_GE(panino.size(), 5u);
        EXPECT_EQ(Val(panino[4]), std::max(0LL, stock - sold[101]));  // sold beyond it: 0
        soldPanini = sold[101];
    }
    void ExpectLocksFree() {
        const IniDocument lock = Shared("Vorsa.ini.lck");
        const std::string text = lock.Serialize();
        EXPECT_EQ(text.find("-LOCKED"), std::string::npos) << text;
        EXPECT_EQ(text.find("[ERRORI]"), std::string::npos) << text;
        for (const char* n : {"1", "2", "3"})
            EXPECT_EQ(Val(lock.Get("MULTIVORSA", n).value_or("0")), 0) << n;
    }
    /// Runs a till to its end: what it printed.
    std::string Run(const std::string& in, const std::string& user,
                    const std::vector<std::string>& args) {
        return Finish(Spawn(in, server->port(), user, args));
    }
    long long Receipts() {
        return Val(IniDocument::Parse(Slurp(folder + "/Vorsa.ini"))
                       .Get("STATISTICHE", "SCONTRINI")
                       .value_or("0"));
    }
    void Catalogue(int pieces, int cicli = 200) {
        stock = pieces;
        Write(folder + "/Vorsa.ini",
              "[MANGIARE]\r\nDIMENSIONE=2\r\n1=Panino;3,5;1;0;" + std::to_string(pieces) + ";1;" +
                  std::to_string(pieces) +
                  ";0\r\n2=Acqua;1;1;0;-1;1;-1;0\r\n[BERE]\r\nDIMENSIONE=1\r\n"
                  "1=Birra;3;1;0;-1;2;-1;0\r\n[VARIE]\r\nDIMENSIONE=1\r\n"
                  "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\nTIMER_CICLI=" +
                  std::to_string(cicli) + "\r\n");
    }

    long long stock = 0;
    long long soldPanini = 0;
};

TEST_F(MultiTillTest, FourTillsCommitTogetherWithoutGapOrDuplicate) {
    // A whole wait of 20 s, not 4: four tills under the sanitizers on two loaded cores may hold
    // a key that long, and a healthy till must still never take another's lock over.
    Catalogue(30000, 1000);
    const int kSales = 250;
    std::vector<Child> tills;
    const char* users[] = {"principale", "sec1", "sec2", "sec3"};
    for (int t = 0; t < 4; ++t)
        tills.push_back(Spawn(t == 0 ? folder : Secondary(t, 1000), server->port(), users[t],
                              {"sell", std::to_string(kSales), "101", "102"}));
    for (auto& c : tills)
        EXPECT_EQ(Finish(c),
                  "committed " + std::to_string(kSales) + " failed 0 refused 0 waiting 0\n");
    std::map<std::string, int> perTill;
    ExpectConsistent(&perTill, 4 * kSales);
    for (const char* u : users) EXPECT_EQ(perTill[u], kSales) << u;
    EXPECT_EQ(soldPanini, 4 * kSales);
    const IniDocument doc = Shared("Vorsa.ini");
    const std::string n = std::to_string(4 * kSales);
    EXPECT_EQ(doc.Get("STATISTICHE", "102").value_or(""), n + ";" + n);
    EXPECT_EQ(doc.Get("STATISTICHE", "101").value_or(""), n + ";" + std::to_string(14 * kSales));
    ExpectLocksFree();
}

TEST_F(MultiTillTest, LimitedArticleRunsOutWithoutSellingMissingPieces) {
    Catalogue(60);
    std::vector<Child> tills;
    for (int t = 0; t < 4; ++t)
        tills.push_back(Spawn(t == 0 ? folder : Secondary(t), server->port(),
                              "cassa" + std::to_string(t), {"sell", "40", "101"}));
    int committed = 0;
    for (auto& c : tills) {
        // A bill that took a piece another till sold meanwhile is refused at F4, not sold.
        int ok = 0;
        ASSERT_EQ(std::sscanf(Finish(c).c_str(), "committed %d", &ok), 1);
        committed += ok;
    }
    ExpectConsistent(nullptr, committed);
    EXPECT_EQ(soldPanini, 60);  // 160 asked for, 60 there: all sold, none more
    ExpectLocksFree();
}

TEST_F(MultiTillTest, KilledTillGivesHeldPiecesBackAtItsNextStart) {
    Catalogue(50);
    const std::string s = Secondary(1);
    Child c = Spawn(s, server->port(), "sec1", {"hold", "101", "3"});
    ASSERT_EQ(ReadLine(c), "held 3");
    Kill(c);
    EXPECT_EQ(Shared("Vorsa.ini.lck").Get("MULTIVORSA", "1").value_or(""), "3");
    // The pieces are recorded in the secondary's own file, never in the folder till's.
    EXPECT_EQ(Slurp(folder + "/Vorsa.ini").find("MULTIVORSA-TMP"), std::string::npos);
    EXPECT_EQ(Run(s, "sec1", {"start"}), "stato 5 multi 1\n");
    EXPECT_EQ(Shared("Vorsa.ini.lck").Get("MULTIVORSA", "1").value_or(""), "0");
    const auto local = MakeLocalFileAccess(false);
    ProfileStore p(*local);
    EXPECT_EQ(p.Get(s + "/Vorsa.ini", "MULTIVORSA-TMP", "1").value_or(""), "0");
    ExpectLocksFree();
}

TEST_F(MultiTillTest, TillKilledMidCommitLeavesWholeSales) {
    Catalogue(30000);
    const std::string s = Secondary(1, 5);
    test::KillLoop(
        12, 400, 1200,
        [&](int) {
            Exec(s, server->port(), "sec1", {"sellforever", "101", "102", "201"});
        },
        [&](int) { ExpectConsistent(); }, [&] { return soldPanini > 0; });
    EXPECT_GT(soldPanini, 0) << "no sale was ever committed: the test proved nothing";
}

TEST_F(MultiTillTest, SecondaryStartedWhileTheMainTillIsDownSellsFromItsCatalogue) {
    Catalogue(10);
    const std::string s = Secondary(1);
    server->Stop();
    // Never connected: no catalogue of the folder till to sell from, so single mode.
    EXPECT_EQ(Run(s, "sec1", {"start"}), "stato 4 multi 0\n");
    ASSERT_TRUE(server->Start());
    EXPECT_EQ(Run(s, "sec1", {"start"}), "stato 5 multi 1\n");
    // Down again at the next start: it sells the folder till's articles (its own file has
    // none), and the sales arrive once the folder till is back, without a restart.
    server->Stop();
    EXPECT_EQ(Run(s, "sec1", {"start"}), "stato 6 multi 1\n");
    Child sells = Spawn(s, server->port(), "sec1", {"sellretry", "3", "101", "201"});
    std::this_thread::sleep_for(std::chrono::seconds(2));
    ASSERT_TRUE(server->Start());
    EXPECT_EQ(Finish(sells), "committed 3 failed 0 refused 0 waiting 0\nnumeri P1 P2 P3\n");
    ExpectConsistent(nullptr, 3);
    EXPECT_EQ(soldPanini, 3);
}

TEST_F(MultiTillTest, ATillKilledWhileDeliveringDeliversEachSaleOnce) {
    Catalogue(30000);
    const std::string s = Secondary(1, 5);
    EXPECT_EQ(Run(s, "sec1", {"sell", "2", "101"}), "committed 2 failed 0 refused 0 waiting 0\n");
    server->Stop();
    EXPECT_EQ(Run(s, "sec1", {"queue", "20", "101", "102"}),
              "committed 20 failed 0 refused 0 waiting 20\n");
    ASSERT_TRUE(server->Start());
    // Killed at random moments of start-up and delivery: each time the file holds whole
    // sales only, and none twice.
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int> pausa(20, 400);
    for (int round = 0; round < 15 && !HasFailure(); ++round) {
        Child c = Spawn(s, server->port(), "sec1", {"deliver"});
        std::this_thread::sleep_for(std::chrono::milliseconds(pausa(rng)));
        Kill(c);
        ExpectConsistent();
    }
    const std::string out = Run(s, "sec1", {"deliver"});
    EXPECT_NE(out.find("left 0"), std::string::npos) << out;
    ExpectConsistent(nullptr, 22);
    EXPECT_EQ(soldPanini, 22);
    EXPECT_EQ(Shared("Vorsa.ini").Get("STATISTICHE", "102").value_or(""), "20;20");
}

TEST_F(MultiTillTest, MainTillGoneMidEventSalesWaitAndArriveOnce) {
    Catalogue(3);
    test::FakeSleeper smbSleeper;
    auto local = MakeLocalFileAccess(false);
    auto smb = MakeSmbFileAccess(smbSleeper, {.port = server->port()});
    RoutingFileAccess files(*local, *smb);
    const std::string s = Secondary(1);
    test::Cassa c(files, "", "sec1", s);
    ASSERT_EQ(c.till->statoMultiVorsa, MultiTillState::SecondariaOk);
    c.vendita->ImpostaStampaAutomatica(false);
    for (const char* k : {"101", "F1", "F4"}) c.Digita(k);
    EXPECT_EQ(c.Dati("STATISTICHE", "SCONTRINI"), "1");

    server->Stop();
    c.sleeper.count = 0;
    // Two bills while the folder till is away, 3 panini where 2 are left: both close as usual,
    // print a provisional number and wait, with no box to confirm.
    for (const char* k : {"101", "101", "F1", "F4"}) c.Digita(k);
    EXPECT_EQ(c.till->conto.ultimoConto.provvisorio, "P1");
    for (const char* k : {"101", "F1", "F4"}) c.Digita(k);
    EXPECT_EQ(c.till->conto.ultimoConto.provvisorio, "P2");
    EXPECT_TRUE(c.view.lines.empty());
    EXPECT_TRUE(c.prompter.messages.empty());
    EXPECT_EQ(c.view.inAttesa, "2 vendite in attesa di invio");
    // Nothing waited: neither the key locks nor the whole-file locks.
    EXPECT_EQ(c.sleeper.count, 0);
    EXPECT_EQ(smbSleeper.count, 0);
    const std::string lista = Slurp(s + "/VorsaAttesa.ini");

    ASSERT_TRUE(server->Start());
    // The refresh ticks: the share is tried again a moment after it stopped answering.
    for (int i = 0; i < 50 && !c.view.inAttesa.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        c.vendita->DopoAggiornamento();
    }
    EXPECT_EQ(c.view.inAttesa, "");
    ExpectConsistent(nullptr, 3);
    EXPECT_EQ(soldPanini, 4);  // one beyond the stock, which ends at 0
    EXPECT_EQ(Shared("Vorsa.ini").Get("SCORTA-SUPERATA", "101").value_or(""), "1");
    // Killed after the shared write, before its list was emptied: nothing is delivered twice.
    Write(s + "/VorsaAttesa.ini", lista);
    c.vendita->DopoAggiornamento();
    ExpectConsistent(nullptr, 3);
    EXPECT_EQ(c.view.inAttesa, "");

    // The folder till's operator is told which article went beyond its stock, once.
    test::Cassa principale(files, "", "principale", folder);
    principale.vendita->DopoAggiornamento();
    principale.vendita->DopoAggiornamento();
    ASSERT_EQ(principale.prompter.messages.size(), 1u);
    EXPECT_NE(principale.prompter.messages[0].find("Panino (101): 1 pezzo in pi"),
              std::string::npos)
        << principale.prompter.messages[0];
    EXPECT_FALSE(Shared("Vorsa.ini").HasSection("SCORTA-SUPERATA"));
}

TEST_F(MultiTillTest, ATillFrozenHoldingTheFileHoldsUpTheOthersOnlyUntilItIsGone) {
    Catalogue(30000);
    Child other = Spawn(Secondary(1), server->port(), "secondaria", {"sellretry", "150", "101"});
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    Child frozen = Spawn(folder, server->port(), "principale", {"freeze"});
    ASSERT_EQ(ReadLine(frozen), "frozen 1");
    // While it is frozen the other till cannot commit: each F4 fails after the lock wait and
    // the bill stays open. It sells on as soon as the frozen till's connection is gone (a
    // killed process at once; a computer that stopped answering once smbd's keepalive drops
    // it).
    const long long prima = Receipts();
    std::this_thread::sleep_for(std::chrono::seconds(5));
    EXPECT_EQ(Receipts(), prima);
    EXPECT_LT(prima, 150) << "the sales ended before the freeze: the test proved nothing";
    Kill(frozen);
    const std::string out = Finish(other);
    EXPECT_EQ(out.substr(0, out.find('\n') + 1), "committed 150 failed 0 refused 0 waiting 0\n")
        << out;
    ExpectConsistent(nullptr, 150);
    ExpectLocksFree();
}

// Two tills selling at the same moment while something is wrong with the share, its lock file
// or the tills themselves: every sale saved once, numbers distinct and without gaps, no
// receipt printed with a number another sale has, and no lock entry left behind.
class MultiTillFaultTest : public MultiTillTest,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(MultiTillFaultTest, TwoTillsStayExact) {
    const std::string guasto = GetParam();
    Catalogue(30000);
    const std::string s = Secondary(1);
    std::string utenti[2] = {"principale", "secondaria"};
    if (guasto == "voci-orfane") {
        // A till killed mid-commit left its entries on every key of a sale.
        Write(folder + "/Vorsa.ini.lck",
              "[STATISTICHE]\r\nDATA-LOCKED=morto12345\r\nSCONTRINI-LOCKED=morto12345\r\n"
              "101-LOCKED=morto12345\r\n[SCONTRINI]\r\nSTORNI-LOCKED=morto12345\r\n");
    } else if (guasto == "stessa-identita") {
        // A prepared folder copied from one laptop to the other before the first start.
        utenti[1] = utenti[0];
        for (const std::string& f : {folder + "/Vorsa.ini", s + "/Vorsa.ini"})
            Write(f, Slurp(f) + "LOCKSUFF=ABCDE\r\n");
    } else if (guasto == "lock-sola-lettura") {
        Write(folder + "/Vorsa.ini.lck", "[MULTIVORSA]\r\n");
        // What any guest on the network can do: mark a shared file read-only.
        const std::string setmode = "smbclient -N -p " + std::to_string(server->port()) +
                                    " //127.0.0.1/vorsa$ -c 'setmode Vorsa.ini.lck +r'";
        ASSERT_EQ(std::system((setmode + " >/dev/null 2>&1").c_str()), 0);
    }
    // Enough sales that the share's outage falls among them.
    const int kSales = guasto == "condivisione-giu" ? 150 : 25;
    Child tills[2] = {
        Spawn(folder, server->port(), utenti[0],
              {"sellretry", std::to_string(kSales), "101", "102"}),
        Spawn(s, server->port(), utenti[1], {"sellretry", std::to_string(kSales), "101", "102"})};
    if (guasto == "condivisione-giu") {
        // Both tills at work, then the share goes.
        for (int i = 0; i < 100 && Receipts() < 6; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        server->Stop();
        std::this_thread::sleep_for(std::chrono::seconds(5));
        ASSERT_TRUE(server->Start());
    }
    std::multiset<long long> numeri;
    std::multiset<long long> provvisori;
    for (auto& c : tills) {
        const std::string out = Finish(c);
        EXPECT_EQ(out.substr(0, out.find('\n') + 1),
                  "committed " + std::to_string(kSales) + " failed 0 refused 0 waiting 0\n")
            << out;
        const auto righe = Split(out, '\n');
        ASSERT_GE(righe.size(), 2u) << out;
        for (const auto& n : Split(righe[1], ' '))
            if (n != "numeri" && !n.empty()) (n[0] == 'P' ? provvisori : numeri).insert(Val(n));
    }
    // What was printed: every committed number once, none twice, and the sales that had to
    // wait under numbers of their own.
    EXPECT_EQ(numeri.size() + provvisori.size(), 2u * kSales);
    EXPECT_EQ(std::set<long long>(numeri.begin(), numeri.end()).size(), numeri.size());
    for (long long n : numeri) EXPECT_TRUE(n >= 1 && n <= 2 * kSales) << n;
    if (guasto == "condivisione-giu") {
        EXPECT_FALSE(provvisori.empty()) << "the share went down between sales: none waited";
    }
    ExpectConsistent(nullptr, 2 * kSales);
    EXPECT_EQ(soldPanini, 2 * kSales);
    const std::string lock = Shared("Vorsa.ini.lck").Serialize();
    EXPECT_EQ(lock.find("-LOCKED"), std::string::npos) << lock;
}

INSTANTIATE_TEST_SUITE_P(Guasti, MultiTillFaultTest,
                         ::testing::Values("nessuno", "voci-orfane", "stessa-identita",
                                           "lock-sola-lettura", "condivisione-giu"),
                         [](const auto& p) {
                             std::string n = p.param;
                             std::replace(n.begin(), n.end(), '-', '_');
                             return n;
                         });

}  // namespace
}  // namespace vorsa
