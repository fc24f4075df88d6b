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
