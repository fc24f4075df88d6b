#include <gtest/gtest.h>

#include "platform/profile_store.h"
#include "support/memory_file_access.h"

namespace vorsa {
namespace {

const std::string kPath = "till/Vorsa.ini";
const std::string kOther = "till/Other.ini";

class ProfileStoreTest : public ::testing::Test {
  protected:
    MemoryFileAccess files;
    ProfileStore store{files};
};

TEST_F(ProfileStoreTest, ParsesOnlyWhenTheFileChanged) {
    files.files[kPath] = "[S]\r\nk=1\r\n";
    for (int i = 0; i < 3; ++i) EXPECT_EQ(store.Get(kPath, "s", "K"), "1");
    EXPECT_EQ(store.counters().parses, 1);
    files.files[kPath] = "[S]\r\nk=2\r\n";  // another till changed it
    EXPECT_EQ(store.Get(kPath, "S", "k"), "2");
    EXPECT_EQ(store.counters().parses, 2);
}

TEST_F(ProfileStoreTest, SnapshotChecksEachFileOnceButWritesStayFresh) {
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

TEST_F(ProfileStoreTest, UnreadableFileKeepsWhatItLastShowed) {
    files.files[kPath] = "[S]\r\nk=1\r\n";
    EXPECT_EQ(store.Get(kPath, "S", "k"), "1");
    files.files[kPath] = "[S]\r\nk=2\r\n";
    files.failReads = true;  // the share went away
    for (int i = 0; i < 2; ++i) EXPECT_EQ(store.Get(kPath, "S", "k"), "1");
    EXPECT_FALSE(store.Readable(kPath));
    EXPECT_FALSE(store.Set(kPath, "S", "k", "3"));
    EXPECT_EQ(store.Get(kOther, "S", "k"), std::nullopt);  // never read: nothing to show
    files.failReads = false;
    EXPECT_EQ(store.Get(kPath, "S", "k"), "2");
}

TEST_F(ProfileStoreTest, WritesOnlyRealChangesAndMergesOthers) {
    EXPECT_TRUE(store.Set(kPath, "S", "k", "1"));
    EXPECT_TRUE(store.Set(kPath, "S", "k", "1"));
    EXPECT_TRUE(store.DeleteKey(kPath, "S", "absent"));
    EXPECT_EQ(files.replaceCount, 1);
    EXPECT_EQ(store.counters().writes, 1);
    files.files[kPath] += "other=2\r\n";  // written elsewhere after our last read
    EXPECT_TRUE(store.Set(kPath, "S", "mine", "3"));
    EXPECT_EQ(files.files[kPath], "[S]\r\nk=1\r\nother=2\r\nmine=3\r\n");
    EXPECT_TRUE(store.DeleteSection(kPath, "S"));
    EXPECT_EQ(files.files[kPath], "");
    EXPECT_EQ(files.locksHeld, 0);
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

TEST_F(ProfileStoreTest, BatchReadsItsWritesAndWritesEachFileOnce) {
    files.files[kPath] = "[S]\r\nk=1\r\n";
    store.BeginBatch();
    store.Set(kPath, "S", "a", "1");
    store.Set(kOther, "T", "c", "3");
    store.BeginBatch();  // nested: only the outer commit writes
    store.DeleteKey(kPath, "S", "k");
    EXPECT_TRUE(store.CommitBatch());
    EXPECT_TRUE(store.InBatch());
    EXPECT_EQ(store.Get(kPath, "s", "A"), "1");
    EXPECT_EQ(store.Get(kPath, "S", "k"), std::nullopt);
    files.files[kPath] += "theirs=y\r\n";  // another till writes during the batch
    EXPECT_EQ(store.Get(kPath, "S", "a"), "1");
    EXPECT_EQ(files.replaceCount, 0);
    EXPECT_TRUE(store.CommitBatch());
    EXPECT_FALSE(store.InBatch());
    EXPECT_EQ(files.replaceCount, 2);
    EXPECT_EQ(files.files[kPath], "[S]\r\ntheirs=y\r\na=1\r\n");
    EXPECT_EQ(files.files[kOther], "[T]\r\nc=3\r\n");
}

TEST_F(ProfileStoreTest, FlushAndUpdateWriteAtOnce) {
    store.BeginBatch();
    store.Set(kPath, "S", "a", "1");
    store.Set(kOther, "T", "b", "2");
    EXPECT_TRUE(store.FlushFile(kOther));
    EXPECT_TRUE(store.FlushFile(kOther));  // nothing left to write
    EXPECT_EQ(files.replaceCount, 1);
    EXPECT_TRUE(store.Update(kPath, [](IniDocument& doc) {
        EXPECT_EQ(doc.Get("S", "a"), "1");  // sees the batch
        return doc.Set("Locks", "Till1", "busy");
    }));
    EXPECT_EQ(files.files[kPath], "[S]\r\na=1\r\n[Locks]\r\nTill1=busy\r\n");
    EXPECT_TRUE(store.InBatch());
    EXPECT_TRUE(store.CommitBatch());
    EXPECT_EQ(files.replaceCount, 2);
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

TEST_F(ProfileStoreTest, StoresOnOneFolderLoseNothing) {
    ProfileStore other(files);
    EXPECT_TRUE(store.Set(kPath, "S", "a", "1"));
    EXPECT_EQ(other.Get(kPath, "S", "a"), "1");
    EXPECT_TRUE(other.Set(kPath, "S", "b", "2"));
    EXPECT_TRUE(store.Set(kPath, "S", "c", "3"));
    EXPECT_EQ(files.files[kPath], "[S]\r\na=1\r\nb=2\r\nc=3\r\n");
}

}  // namespace
}  // namespace vorsa
