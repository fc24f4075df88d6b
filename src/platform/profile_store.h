#pragma once
// Cached, locked and batched access to INI profile files over a FileAccess.
// - A parsed file is cached and re-read only after its stamp changed.
// - Every change is a read-modify-write under the file's exclusive lock, written atomically, so
//   two processes changing different keys of one file lose nothing.
// - A batch collects changes and writes each file once at Commit(); reads see the batch.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_access.h"
#include "platform/ini_document.h"

namespace vorsa {

class ProfileStore {
  public:
    explicit ProfileStore(FileAccess& files);
    ~ProfileStore();
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    /// The current document of a file (the batch applied); an unreadable or missing file
    /// is an empty document.
    const IniDocument& Document(const std::string& path);
    /// False when the file exists but could not be read (no permission, a folder, an I/O
    /// error): such a file is never overwritten.
    bool Readable(const std::string& path);
    std::optional<std::string> Get(const std::string& path, std::string_view section,
                                   std::string_view key);

    /// False when the change could not be written (read-only file, full disk, gone share).
    /// Inside a batch the change is only recorded and these return true.
    bool Set(const std::string& path, std::string_view section, std::string_view key,
             std::string_view value);
    bool DeleteKey(const std::string& path, std::string_view section, std::string_view key);
    bool DeleteSection(const std::string& path, std::string_view section);

    /// One locked read-modify-write, never deferred by a batch (lock entries must be seen by
    /// other tills at once). `change` returns true when it modified the document; any batched
    /// changes of the same file are written with it. False on a failed write.
    bool Update(const std::string& path, const std::function<bool(IniDocument&)>& change);
    /// A file that must never come back by a plain write once it was there (the shared data
    /// file): when it goes or is emptied, writes fail, reads keep its last document, and only
    /// Restore or a transaction that finds it whole write it again.
    void Proteggi(const std::string& path) { protetti_.insert(path); }
    /// Update that may create the file, also one that was there and is gone: writing back a
    /// whole copy.
    bool Restore(const std::string& path, const std::function<bool(IniDocument&)>& change);

    /// What BeginTransaction found.
    enum class TxStatus { Ok, Busy, Unreadable, Gone };
    /// Holds the whole-file lock of `path` until CommitTransaction or AbortTransaction: the
    /// file is read afresh under it, every read of it sees it as it is, changes of any file are
    /// batched, and `path` is written once before its lock goes. Nothing is held unless Ok:
    /// Busy (the lock could not be had), Unreadable, or, with `mustExist`, Gone (the file is
    /// missing or empty: it is never created by a transaction, and the document this store
    /// last read of it stays in the cache, see LastGood).
    TxStatus BeginTransaction(const std::string& path, bool mustExist);
    /// Writes the batch (the transaction's file under its held lock) and releases the lock;
    /// false when a write failed.
    bool CommitTransaction();
    /// Drops the batch unwritten and releases the lock; the changed files are read afresh.
    void AbortTransaction();
    bool InTransaction() const { return txLock_ != nullptr; }
    /// The document of `path` as this store last read it whole (empty when never read).
    const IniDocument* LastGood(const std::string& path) const;
    /// Gives a file not read yet a last document, as if read from it once: while the file
    /// cannot be read, reads see this copy (a secondary till started while its main till is
    /// away sells from the catalogue it kept). Nothing is written with it.
    void Semina(const std::string& path, IniDocument doc);

    void BeginBatch();
    /// Writes every file changed in the batch once; false when any write failed.
    bool CommitBatch();
    bool InBatch() const;
    /// Writes the batched changes of one file now (the batch stays open).
    bool FlushFile(const std::string& path);
    /// Writes the batched changes of every file now (the batch stays open).
    bool FlushAll();

    /// Between these, a file whose stamp was checked once is not checked again: a refresh that
    /// reads hundreds of keys costs one change check per file, not one per key.
    void BeginSnapshot() { ++snapshotDepth_; }
    void EndSnapshot() {
        if (snapshotDepth_ > 0 && --snapshotDepth_ == 0) {
            checked_.clear();
            stamps_.clear();
        }
    }
    /// Inside a snapshot: `stamp` was just taken of `path` by the caller, and serves as this
    /// snapshot's change check of it (one stamp request less, each one a round trip on a share).
    void SnapshotStamp(const std::string& path, const std::optional<FileStamp>& stamp) {
        if (snapshotDepth_ > 0) stamps_[path] = stamp;
    }

    /// Counters for tests and benchmarks.
    struct Counters {
        long parses = 0;
        long writes = 0;
    };
    const Counters& counters() const { return counters_; }

  private:
    struct Op;
    struct Cached;
    Cached& Load(const std::string& path);
    bool Apply(const std::string& path, Op op);
    bool WriteLocked(const std::string& path, const std::function<bool(IniDocument&)>& change,
                     bool create = false);

    FileAccess& files_;
    std::map<std::string, std::unique_ptr<Cached>> cache_;
    std::map<std::string, std::vector<Op>> pending_;
    int batchDepth_ = 0;
    int snapshotDepth_ = 0;
    std::map<std::string, bool> checked_;
    std::map<std::string, std::optional<FileStamp>> stamps_;  // given by SnapshotStamp
    Counters counters_;
    std::set<std::string> protetti_;
    bool restoring_ = false;
    std::unique_ptr<FileLock> txLock_;
    std::string txPath_;
};

}  // namespace vorsa
