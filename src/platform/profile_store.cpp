#include "platform/profile_store.h"

#include <utility>

namespace vorsa {

struct ProfileStore::Op {
    enum class Kind { Set, DeleteKey, DeleteSection };
    Kind kind;
    std::string section;
    std::string key;
    std::string value;

    bool ApplyTo(IniDocument& doc) const {
        switch (kind) {
            case Kind::Set:
                return doc.Set(section, key, value);
            case Kind::DeleteKey:
                return doc.DeleteKey(section, key);
            case Kind::DeleteSection:
                return doc.DeleteSection(section);
        }
        return false;
    }
};

// The document is the file as last read plus this store's pending batch operations.
struct ProfileStore::Cached {
    IniDocument doc;
    std::optional<FileStamp> stamp;
    bool valid = false;   // false: must be read again before use
    bool dirty = false;   // pending operations changed the document
    bool loaded = false;  // doc holds what the file held at some read
    bool seen = false;    // the file was read with something in it: it is never created again
};

ProfileStore::ProfileStore(FileAccess& files) : files_(files) {}
ProfileStore::~ProfileStore() = default;

ProfileStore::Cached& ProfileStore::Load(const std::string& path) {
    auto& slot = cache_[path];
    if (!slot) slot = std::make_unique<Cached>();
    Cached& c = *slot;
    if (snapshotDepth_ > 0 && c.valid && checked_.count(path)) return c;
    // Under the transaction's lock nobody else can change the file: it was read once.
    if (txLock_ && c.valid && path == txPath_) return c;
    // Stamp before reading: a change racing with the read then shows as a new stamp later.
    const auto given = stamps_.find(path);
    std::optional<FileStamp> stamp = given != stamps_.end() ? given->second : files_.Stamp(path);
    if (snapshotDepth_ > 0) checked_[path] = true;
    if (c.valid && c.stamp == stamp) return c;
    ReadResult read = files_.ReadAll(path);
    if (c.seen && protetti_.count(path) && !restoring_ &&
        (read.status == ReadStatus::Missing ||
         (read.status == ReadStatus::Ok && read.bytes.empty()))) {
        // A guarded file gone or emptied keeps showing what it last held, as an unreadable one
        // does, and that copy stays for writing it back.
        c.valid = false;
        c.stamp = stamp;
        return c;
    }
    if (read.status == ReadStatus::Ok) {
        c.doc = IniDocument::Parse(read.bytes);
        ++counters_.parses;
    } else if (read.status == ReadStatus::Missing || !c.loaded) {
        c.doc = IniDocument();
    }
    c.loaded = c.loaded || read.status != ReadStatus::Error;
    c.seen = c.seen || (read.status == ReadStatus::Ok && !read.bytes.empty());
    // A file that cannot be read now (a share gone away) keeps showing what it last held;
    // it is never written until it can be read again.
    c.valid = read.status != ReadStatus::Error;
    c.stamp = stamp;
    c.dirty = false;
    auto ops = pending_.find(path);
    if (ops != pending_.end()) {
        for (const Op& op : ops->second) c.dirty = op.ApplyTo(c.doc) || c.dirty;
    }
    return c;
}

const IniDocument& ProfileStore::Document(const std::string& path) {
    return Load(path).doc;
}

bool ProfileStore::Readable(const std::string& path) {
    return Load(path).valid;
}

std::optional<std::string> ProfileStore::Get(const std::string& path, std::string_view section,
                                             std::string_view key) {
    return Load(path).doc.Get(section, key);
}

bool ProfileStore::Set(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view value) {
    return Apply(path,
                 Op{Op::Kind::Set, std::string(section), std::string(key), std::string(value)});
}

bool ProfileStore::DeleteKey(const std::string& path, std::string_view section,
                             std::string_view key) {
    return Apply(path, Op{Op::Kind::DeleteKey, std::string(section), std::string(key), {}});
}

bool ProfileStore::DeleteSection(const std::string& path, std::string_view section) {
    return Apply(path, Op{Op::Kind::DeleteSection, std::string(section), {}, {}});
}

bool ProfileStore::Update(const std::string& path,
                          const std::function<bool(IniDocument&)>& change) {
    return WriteLocked(path, change);
}

ProfileStore::TxStatus ProfileStore::BeginTransaction(const std::string& path, bool mustExist) {
    if (txLock_) return TxStatus::Busy;  // one at a time
    std::unique_ptr<FileLock> lock =
        mustExist ? files_.LockExisting(path) : files_.LockExclusive(path);
    if (!lock) return mustExist && !files_.Exists(path) ? TxStatus::Gone : TxStatus::Busy;
    auto& slot = cache_[path];
    if (!slot) slot = std::make_unique<Cached>();
    Cached& c = *slot;
    const std::optional<FileStamp> stamp = files_.Stamp(path);
    if (!(c.valid && c.stamp == stamp && stamp)) {
        // Read here rather than through Load, so that a file found gone leaves the last
        // document read of it in the cache.
        ReadResult read = files_.ReadAll(path);
        if (read.status == ReadStatus::Error) return TxStatus::Unreadable;
        if (mustExist && (read.status == ReadStatus::Missing || read.bytes.empty()))
            return TxStatus::Gone;
        c.doc = read.status == ReadStatus::Ok ? IniDocument::Parse(read.bytes) : IniDocument();
        if (read.status == ReadStatus::Ok) ++counters_.parses;
        c.loaded = true;
        c.seen = c.seen || read.status == ReadStatus::Ok;
        c.valid = true;
        c.stamp = stamp;
        c.dirty = false;
        auto ops = pending_.find(path);
        if (ops != pending_.end())
            for (const Op& op : ops->second) c.dirty = op.ApplyTo(c.doc) || c.dirty;
    }
    txLock_ = std::move(lock);
    txPath_ = path;
    ++batchDepth_;
    return TxStatus::Ok;
}

bool ProfileStore::CommitTransaction() {
    if (!txLock_) return false;
    if (batchDepth_ > 0) --batchDepth_;
    // The transaction's file first, under its held lock, then whatever else it changed.
    const bool own = FlushFile(txPath_);
    txLock_.reset();
    txPath_.clear();
    const bool rest = batchDepth_ > 0 || FlushAll();
    return own && rest;
}

void ProfileStore::AbortTransaction() {
    if (!txLock_) return;
    if (batchDepth_ > 0) --batchDepth_;
    if (batchDepth_ == 0) {
        for (const auto& [path, ops] : pending_) {
            auto it = cache_.find(path);
            if (it != cache_.end()) it->second->valid = false;
        }
        pending_.clear();
    }
    txLock_.reset();
    txPath_.clear();
}

const IniDocument* ProfileStore::LastGood(const std::string& path) const {
    auto it = cache_.find(path);
    if (it == cache_.end() || !it->second->loaded) return nullptr;
    return &it->second->doc;
}

void ProfileStore::Semina(const std::string& path, IniDocument doc) {
    auto& slot = cache_[path];
    if (!slot) slot = std::make_unique<Cached>();
    if (slot->loaded) return;
    slot->doc = std::move(doc);
    slot->loaded = true;
    slot->seen = true;
    slot->valid = false;
    slot->stamp.reset();
}

void ProfileStore::BeginBatch() {
    ++batchDepth_;
}

bool ProfileStore::CommitBatch() {
    if (batchDepth_ > 0) --batchDepth_;
    if (batchDepth_ > 0) return true;
    return FlushAll();
}

bool ProfileStore::FlushAll() {
    std::vector<std::string> paths;
    for (const auto& [path, ops] : pending_) paths.push_back(path);
    bool ok = true;
    for (const auto& path : paths) ok = FlushFile(path) && ok;
    return ok;
}

bool ProfileStore::InBatch() const {
    return batchDepth_ > 0;
}

bool ProfileStore::FlushFile(const std::string& path) {
    auto it = pending_.find(path);
    if (it == pending_.end()) return true;
    if (it->second.empty()) {
        pending_.erase(it);
        return true;
    }
    return WriteLocked(path, nullptr);
}

bool ProfileStore::Apply(const std::string& path, Op op) {
    if (batchDepth_ > 0) {
        Cached& c = Load(path);
        c.dirty = op.ApplyTo(c.doc) || c.dirty;
        pending_[path].push_back(std::move(op));
        return true;
    }
    return WriteLocked(path, [&op](IniDocument& doc) { return op.ApplyTo(doc); });
}

bool ProfileStore::Restore(const std::string& path,
                           const std::function<bool(IniDocument&)>& change) {
    restoring_ = true;
    const bool ok = WriteLocked(path, change, true);
    restoring_ = false;
    return ok;
}

bool ProfileStore::WriteLocked(const std::string& path,
                               const std::function<bool(IniDocument&)>& change, bool create) {
    // A failed write drops the file's pending changes and forgets the edited document, so
    // the next read shows what the file really holds.
    auto fail = [this, &path]() {
        pending_.erase(path);
        auto it = cache_.find(path);
        if (it != cache_.end()) it->second->valid = false;
        return false;
    };
    // The transaction's file is written under the lock the transaction holds.
    const bool held = txLock_ && path == txPath_;
    // A file that was there and is gone (deleted on the share mid-evening) is not brought back
    // by whatever key is written next, holding that key alone: it is written back whole, or
    // not at all.
    auto it = cache_.find(path);
    const bool seen = it != cache_.end() && it->second->seen && protetti_.count(path);
    const std::unique_ptr<FileLock> lock =
        held ? nullptr : (seen && !create ? files_.LockExisting(path) : files_.LockExclusive(path));
    if (!held && !lock) return fail();
    if (!held) {  // under the lock the file is always checked afresh
        checked_.erase(path);
        stamps_.erase(path);
    }
    Cached& c = Load(path);       // fresh under the lock, pending operations replayed
    if (!c.valid) return fail();  // never overwrite a file that could not be read
    if (seen && !create && c.doc.Sections().empty()) return fail();  // emptied meanwhile
    bool changed = c.dirty;
    if (change && change(c.doc)) changed = true;
    pending_.erase(path);
    c.dirty = false;
    if (!changed) return true;
    const std::string bytes = c.doc.Serialize();
    if (!files_.ReplaceAll(path, bytes)) return fail();
    ++counters_.writes;
    c.seen = c.seen || !bytes.empty();
    std::optional<FileStamp> stamp = files_.Stamp(path);
    if (files_.StampAfterReplaceIsOwn(path)) {
        c.valid = stamp.has_value();
    } else {
        // Another writer may already have replaced the file after our rename, so the new
        // stamp is trusted only when the file still holds exactly what was written.
        ReadResult check = files_.ReadAll(path);
        c.valid = check.status == ReadStatus::Ok && check.bytes == bytes;
    }
    c.stamp = stamp;
    return true;
}

}  // namespace vorsa
