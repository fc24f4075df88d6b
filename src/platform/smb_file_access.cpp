#include "platform/smb_file_access.h"

#include <libsmbclient.h>

#include <sys/stat.h>
#include <sys/time.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "platform/text.h"

namespace vorsa {

std::string SmbUrl(std::string_view path) {
    if (!IsNetworkPath(path)) return {};
    std::string rest(path.substr(2));
    std::replace(rest.begin(), rest.end(), '\\', '/');
    std::string url = "smb://";
    for (char c : Cp1252ToUtf8(rest)) {
        if (c == '%')
            url += "%25";
        else
            url += c;
    }
    return url;
}

namespace {

constexpr std::size_t kChunk = 1 << 20;
// A write the server receives as one request lands whole or not at all, even when the writer
// is killed while sending it.
constexpr std::uint64_t kSingleWrite = 60 * 1024;
constexpr char kJournalMagic[8] = {'V', 'O', 'R', 'S', 'A', 'J', '2', '\n'};
// Magic, first changed byte, new size, checksum of the body. A journal is applied only when all
// of them agree with its body: anything else found under that name is dropped unapplied.
constexpr std::size_t kJournalHeader = 32;

std::uint64_t Checksum(std::string_view bytes) {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a, 64 bits
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

std::string FolderOf(const std::string& url) {
    return url.substr(0, url.rfind('/'));
}
std::string NameOf(const std::string& url) {
    return url.substr(url.rfind('/') + 1);
}
// Hidden companions beside the file: the journal being built and the sealed one.
std::string JournalUrl(const std::string& url) {
    return FolderOf(url) + "/." + NameOf(url) + ".journal";
}
std::string SealedUrl(const std::string& url) {
    return FolderOf(url) + "/." + NameOf(url) + ".sealed";
}
std::string LogUrl(const std::string& url) {
    return FolderOf(url) + "/." + NameOf(url) + ".log";
}
// The log before it last began again: a reader whose place is in it finds the rest there.
std::string OldLogUrl(const std::string& url) {
    return LogUrl(url) + ".old";
}

// Files this large get a change log; smaller ones are read whole, which costs about as much.
constexpr std::uint64_t kLogFrom = 64 * 1024;
// A log longer than this is set aside as the old log and a new one begins: a reader reads at
// most the rest of the old one and the new one.
constexpr std::uint64_t kLogRestart = 24 * 1024;

FileStamp StampOf(const struct stat& st) {
    FileStamp s;
    s.device = static_cast<std::uint64_t>(st.st_dev);
    s.inode = static_cast<std::uint64_t>(st.st_ino);
    s.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.ctimeNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    s.size = static_cast<std::uint64_t>(st.st_size);
    return s;
}

void PutU64(std::string& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}
std::uint64_t GetU64(const char* p) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

// libsmbclient calls the progress callback of a server-side copy unconditionally.
int GoOn(off_t, void*) {
    return 1;
}

struct Credentials {
    std::string user;      // UTF-8; empty: a guest
    std::string password;  // UTF-8
};

void Copia(const std::string& from, char* to, int size) {
    if (size <= 0) return;
    const std::size_t n = std::min(from.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(to, from.data(), n);
    to[n] = '\0';
}

void Autentica(SMBCCTX* ctx, const char*, const char*, char* wg, int wglen, char* un, int unlen,
               char* pw, int pwlen) {
    // A guest unless the share has a password; then the tills' account.
    const auto* c = static_cast<const Credentials*>(smbc_getOptionUserData(ctx));
    Copia({}, wg, wglen);
    Copia(c ? c->user : std::string(), un, unlen);
    Copia(c ? c->password : std::string(), pw, pwlen);
}

class SmbAccess;

class SmbLock : public FileLock {
  public:
    SmbLock(SmbAccess& owner, std::string url) : owner_(owner), url_(std::move(url)) {}
    ~SmbLock() override;
    SmbLock(const SmbLock&) = delete;
    SmbLock& operator=(const SmbLock&) = delete;

  private:
    SmbAccess& owner_;
    std::string url_;
};

class SmbAccess : public SmbFileAccess {
  public:
    SmbAccess(Sleeper& sleeper, SmbOptions options) : sleeper_(sleeper), options_(options) {
        ctx_ = smbc_new_context();
        if (!ctx_) return;
        smbc_setOptionDebugToStderr(ctx_, 1);
        smbc_setDebug(ctx_, 0);
        smbc_setTimeout(ctx_, options_.timeoutMs);
        smbc_setOptionUseKerberos(ctx_, 0);
        smbc_setOptionFallbackAfterKerberos(ctx_, 1);
        smbc_setFunctionAuthDataWithContext(ctx_, Autentica);
        smbc_setOptionUserData(ctx_, &credenziali_);
        if (options_.port > 0) smbc_setPort(ctx_, static_cast<std::uint16_t>(options_.port));
        if (!smbc_init_context(ctx_)) {
            smbc_free_context(ctx_, 0);
            ctx_ = nullptr;
        }
    }
    ~SmbAccess() override {
        for (auto& [url, h] : held_)
            if (h.file) smbc_getFunctionClose(ctx_)(ctx_, h.file);
        if (ctx_) smbc_free_context(ctx_, 1);
    }
    SmbAccess(const SmbAccess&) = delete;
    SmbAccess& operator=(const SmbAccess&) = delete;

    const SmbCounters& counters() const override { return counters_; }
    void ResetCounters() override { counters_ = {}; }
    int TakeLastError() override { return std::exchange(lastError_, 0); }
    void SetCredentials(const std::string& user, const std::string& password) override {
        Credentials nuove{Cp1252ToUtf8(user), Cp1252ToUtf8(password)};
        if (nuove.user == credenziali_.user && nuove.password == credenziali_.password) return;
        credenziali_ = std::move(nuove);
        // Connections made with the old ones would go on being used.
        if (ctx_ && held_.empty()) smbc_getFunctionPurgeCachedServers(ctx_)(ctx_);
        downUntil_.clear();
    }

    ReadResult ReadAll(const std::string& path) override {
        const std::string url = SmbUrl(path);
        if (!Usable(url)) return {ReadStatus::Error, {}};
        if (auto h = held_.find(url); h != held_.end()) return ReadHeld(url, h->second);
        // Denying writers keeps a replace out while the file is read; readers share. A reader
        // waits a short while only: a holder that hangs must not freeze the refresh, and after
        // it gave up once the reads fail at once for a while (the cached copy stays shown).
        const auto now = std::chrono::steady_clock::now();
        if (auto b = busyUntil_.find(url); b != busyUntil_.end()) {
            if (now < b->second) {
                lastError_ = EBUSY;
                return {ReadStatus::Error, {}};
            }
            busyUntil_.erase(b);
        }
        // A file never read yet (start-up) is waited for like a lock.
        int err = 0;
        SMBCFILE* f = OpenWaiting(url, O_RDONLY, SMBC_SHAREMODE_DENY_WRITE, err,
                                  known_.count(url) ? options_.readWaitMs : options_.lockWaitMs);
        if (!f && err == EBUSY)
            busyUntil_[url] = now + std::chrono::milliseconds(options_.retryAfterMs);
        if (!f) return {err == ENOENT ? ReadStatus::Missing : ReadStatus::Error, {}};
        ReadResult r{ReadStatus::Ok, {}};
        struct stat st {};
        bool ok = Fstat(f, st);
        std::optional<FileStamp> stamp = StampOf(st);
        // While the file is open here no writer holds it, so the log matches the file: the
        // cached copy brought up to date by it is the file, unless a sealed journal waits.
        if (ok && FromLog(url, *stamp, r.bytes) && !SealedThere(url)) {
            Close(f);
            return r;
        }
        std::uint64_t logSize = 0;
        if (ok) {
            logSize = LogSize(url);
            ok = ReadFrom(f, 0, r.bytes, static_cast<std::uint64_t>(st.st_size));
        }
        if (ok) {
            // A writer killed after sealing its journal: the sealed bytes are the file.
            std::string journal;
            if (ReadSealed(url, journal)) {
                // No writer can hold the file while it is open here: a journal that does not
                // prove itself is a leftover, or planted, and goes.
                if (ApplyJournal(journal, r.bytes))
                    stamp.reset();
                else
                    DropSealed(url);
            }
        }
        Close(f);
        if (!ok) return {ReadStatus::Error, {}};
        ++counters_.fullReads;
        Remember(url, r.bytes, stamp, logSize);
        return r;
    }

    bool ReplaceAll(const std::string& path, std::string_view bytes) override {
        const std::string url = SmbUrl(path);
        if (!Usable(url)) return false;
        std::unique_ptr<FileLock> own;
        if (held_.find(url) == held_.end()) {
            own = LockExclusive(path);
            if (!own) return false;
        }
        Held& held = held_.at(url);
        SMBCFILE* h = held.file;
        FileStamp now;
        if (!HeldStamp(held, now)) return false;
        const std::uint64_t oldSize = now.size;
        std::optional<LogEntry> plan = PlanReplace(url, now, bytes);
        if (!plan) return true;
        LogEntry& entry = *plan;
        const Delta& delta = entry.delta;
        ++counters_.replaces;
        known_.erase(url);
        const bool logged = std::max<std::uint64_t>(oldSize, bytes.size()) >= kLogFrom;
        bool ok;
        // Written through the held handle, the server gives the file the time of the close, not
        // the one set below, and the log's entry would not name the file: a logged file always
        // goes by journal, whose copies on the server leave the time alone.
        if (!logged && bytes.size() >= oldSize && bytes.size() - delta.first <= kSingleWrite) {
            ok = WriteAt(h, delta.first, bytes.substr(delta.first));
        } else {
            ok = WriteJournal(url, h, delta, bytes) &&
                 ApplySealed(url, h, oldSize, Span{delta.first, bytes.size()});
        }
        held.stamp.reset();
        if (!ok) return false;
        // A new size already tells the other tills; an equal one needs a new write time. A
        // logged file always gets one, exact to the microsecond: the stamp in its entry then
        // names these bytes, and a later write by anyone else leaves another.
        if (bytes.size() == oldSize || logged) Touch(url);
        FileStamp after;
        if (!HeldStamp(held, after)) return true;
        // Only after the file: a writer killed in between leaves a log that does not match the
        // file's stamp, and readers read the file.
        entry.postSize = bytes.size();
        entry.postHash = ContentHash(bytes);
        entry.postMtimeNs = after.mtimeNs;
        const std::uint64_t logEnd = logged ? AppendLog(url, entry) : 0;
        Remember(url, std::string(bytes), after, logEnd);
        Known& k = known_.at(url);
        k.hash = entry.postHash;
        k.seq = entry.seq;
        return true;
    }

    std::unique_ptr<FileLock> LockExclusive(const std::string& path) override {
        return Lock(path, true);
    }
    std::unique_ptr<FileLock> LockExisting(const std::string& path) override {
        return Lock(path, false);
    }

    std::unique_ptr<FileLock> Lock(const std::string& path, bool create) {
        const std::string url = SmbUrl(path);
        if (!Usable(url)) return nullptr;
        if (auto h = held_.find(url); h != held_.end()) {
            ++h->second.depth;
            return std::make_unique<SmbLock>(*this, url);
        }
        int err = 0;
        const int flags = create ? O_RDWR | O_CREAT : O_RDWR;
        SMBCFILE* f = OpenWaiting(url, flags, SMBC_SHAREMODE_DENY_ALL, err);
        if (!f && err == EACCES && ClearReadOnly(url))
            f = OpenWaiting(url, flags, SMBC_SHAREMODE_DENY_ALL, err);
        if (!f) return nullptr;
        held_[url] = Held{f, 1, std::nullopt};
        // A writer killed after sealing its journal: finish its replace before anything else.
        std::string journal;
        if (ReadSealed(url, journal)) {
            struct stat st {};
            if (!Fstat(f, st)) {
                Unlock(url);
                return nullptr;
            }
            const auto size = static_cast<std::uint64_t>(st.st_size);
            if (!JournalValid(journal, size)) {
                DropSealed(url);
            } else if (!ApplySealed(
                           url, f, size,
                           Span{GetU64(journal.data() + 8), GetU64(journal.data() + 16)})) {
                Unlock(url);
                return nullptr;
            }
            held_[url].stamp.reset();
            known_.erase(url);
        }
        return std::make_unique<SmbLock>(*this, url);
    }

    void Unlock(const std::string& url) {
        auto h = held_.find(url);
        if (h == held_.end()) return;
        if (--h->second.depth > 0) return;
        Close(h->second.file);
        held_.erase(h);
    }

    std::optional<FileStamp> Stamp(const std::string& path) override {
        const std::string url = SmbUrl(path);
        if (!Usable(url)) return std::nullopt;
        struct stat st {};
        if (auto h = held_.find(url); h != held_.end()) {
            FileStamp held;
            if (!HeldStamp(h->second, held)) return std::nullopt;
            return held;
        }
        // Reading attributes only is never refused by another till's lock: one round trip.
        ++counters_.requests;
        if (smbc_getFunctionStat(ctx_)(ctx_, url.c_str(), &st) != 0) {
            Fail(errno);
            return std::nullopt;
        }
        return StampOf(st);
    }

    bool StampAfterReplaceIsOwn(const std::string& path) override {
        return held_.count(SmbUrl(path)) > 0;
    }

    bool Exists(const std::string& path) override {
        const std::string url = SmbUrl(path);
        if (!Usable(url)) return false;
        if (held_.count(url)) return true;
        struct stat st {};
        ++counters_.requests;
        if (smbc_getFunctionStat(ctx_)(ctx_, url.c_str(), &st) == 0) return true;
        Fail(errno);
        return false;
    }

    bool Remove(const std::string& path) override {
        const std::string url = SmbUrl(path);
        if (!Usable(url)) return false;
        known_.erase(url);
        return Unlink(url);
    }

    bool CreateFolder(const std::string& path) override {
        const std::string url = SmbUrl(path);
        if (!Usable(url)) return false;
        ++counters_.requests;
        if (smbc_getFunctionMkdir(ctx_)(ctx_, url.c_str(), 0755) == 0) return true;
        if (errno != EEXIST) {
            Fail(errno);
            return false;
        }
        struct stat st {};
        return smbc_getFunctionStat(ctx_)(ctx_, url.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }

    bool CanReplace(const std::string& path) override {
        const std::string url = SmbUrl(path);
        if (!Usable(url)) return false;
        struct stat st {};
        ++counters_.requests;
        if (smbc_getFunctionStat(ctx_)(ctx_, url.c_str(), &st) == 0) return !S_ISDIR(st.st_mode);
        return smbc_getFunctionStat(ctx_)(ctx_, FolderOf(url).c_str(), &st) == 0;
    }

    std::vector<std::string> ListFiles(const std::string& folder,
                                       std::string_view suffix) override {
        std::vector<std::string> out;
        const std::string url = SmbUrl(folder);
        if (!Usable(url)) return out;
        ++counters_.requests;
        SMBCFILE* d = smbc_getFunctionOpendir(ctx_)(ctx_, url.c_str());
        if (!d) return out;
        while (smbc_dirent* e = smbc_getFunctionReaddir(ctx_)(ctx_, d)) {
            if (e->smbc_type != SMBC_FILE) continue;
            const std::string name = Utf8ToCp1252(e->name);
            if (name.size() < suffix.size() ||
                !EqualsNoCase(std::string_view(name).substr(name.size() - suffix.size()), suffix))
                continue;
            out.push_back(name);
        }
        smbc_getFunctionClosedir(ctx_)(ctx_, d);
        std::sort(out.begin(), out.end());
        return out;
    }

    bool Rename(const std::string& from, const std::string& to) override {
        const std::string a = SmbUrl(from);
        const std::string b = SmbUrl(to);
        if (!Usable(a) || b.empty()) return false;
        struct stat st {};
        ++counters_.requests;
        if (smbc_getFunctionStat(ctx_)(ctx_, b.c_str(), &st) == 0) return false;
        known_.erase(a);
        return RenameUrl(a, b);
    }

  private:
    // After a server stopped answering, every call to it fails at once for a while instead of
    // waiting out the time-out again: a till whose main till is gone must not freeze. Other
    // servers are not affected.
    bool Usable(const std::string& url) {
        if (!ctx_ || url.empty()) return false;
        const std::size_t slash = url.find('/', 6);
        host_ = ToUpper(url.substr(6, slash == std::string::npos ? std::string::npos : slash - 6));
        auto d = downUntil_.find(host_);
        if (d != downUntil_.end()) {
            if (std::chrono::steady_clock::now() < d->second) {
                lastError_ = EHOSTDOWN;
                return false;
            }
            downUntil_.erase(d);
        }
        return true;
    }
    void Fail(int err) {
        lastError_ = err;
        switch (err) {
            case ETIMEDOUT:
            case ECONNREFUSED:
            case ECONNRESET:
            case ECONNABORTED:
            case ENETRESET:
            case ESHUTDOWN:
            case EHOSTUNREACH:
            case EHOSTDOWN:
            case ENETUNREACH:
            case ENETDOWN:
            case ENOTCONN:
            case EPIPE:
            case EIO:
                downUntil_[host_] = std::chrono::steady_clock::now() +
                                    std::chrono::milliseconds(options_.retryAfterMs);
                break;
            default:
                break;
        }
    }

    struct Held {
        SMBCFILE* file = nullptr;
        int depth = 0;
        std::optional<FileStamp> stamp;  // the file's stamp while held, once known
    };
    // While this till holds the file nobody else can change it: its stamp is asked once.
    bool HeldStamp(Held& h, FileStamp& out) {
        if (!h.stamp) {
            struct stat st {};
            if (!Fstat(h.file, st)) return false;
            h.stamp = StampOf(st);
        }
        out = *h.stamp;
        return true;
    }
    struct Known {
        std::string bytes;
        std::optional<FileStamp> stamp;
        std::optional<std::uint64_t> hash;  // of bytes, once asked
        std::uint64_t logEnd = 0;           // where this copy's place in the change log ends
        std::uint64_t seq = 0;              // of the last entry that led to this copy
    };
    static std::uint64_t HashOf(Known& k) {
        if (!k.hash) k.hash = ContentHash(k.bytes);
        return *k.hash;
    }

    /// A read of a file this till holds locked.
    ReadResult ReadHeld(const std::string& url, Held& held) {
        ReadResult r{ReadStatus::Ok, {}};
        FileStamp st;
        if (!HeldStamp(held, st)) return {ReadStatus::Error, {}};
        // Nobody else can write while this till holds the file: the log is as it left it.
        if (FromLog(url, st, r.bytes)) return r;
        const std::uint64_t logSize = LogSize(url);
        if (!ReadFrom(held.file, 0, r.bytes, st.size)) return {ReadStatus::Error, {}};
        ++counters_.fullReads;
        Remember(url, r.bytes, st, logSize);
        return r;
    }

    /// What replacing `url` (now at `now`) with `bytes` writes and logs: the change from the
    /// cached copy when that copy is the file, else the whole file; nullopt when the file
    /// holds these bytes already.
    std::optional<LogEntry> PlanReplace(const std::string& url, const FileStamp& now,
                                        std::string_view bytes) {
        Known* base = nullptr;
        if (auto k = known_.find(url); k != known_.end() && k->second.stamp == now)
            base = &k->second;
        LogEntry entry;
        entry.whole = base == nullptr;
        if (base) {
            if (base->bytes == bytes) return std::nullopt;
            entry.delta = ComputeDelta(base->bytes, bytes);
            entry.preSize = base->bytes.size();
            entry.preHash = HashOf(*base);
            entry.seq = base->seq + 1;
        } else {
            entry.delta.first = 0;
            entry.delta.literalBytes = bytes.size();
            entry.delta.ops.push_back(DeltaOp{false, 0, bytes.size(), std::string(bytes)});
        }
        return entry;
    }

    SMBCFILE* Open(const std::string& url, int flags, smbc_share_mode mode) {
        smbc_setOptionOpenShareMode(ctx_, mode);
        ++counters_.requests;
        SMBCFILE* f = smbc_getFunctionOpen(ctx_)(ctx_, url.c_str(), flags, 0644);
        const int err = errno;
        smbc_setOptionOpenShareMode(ctx_, SMBC_SHAREMODE_DENY_NONE);
        errno = err;
        if (!f) Fail(err);
        return f;
    }

    // Retries while another client holds the file (sharing violation), up to `waitMs` (the
    // lock wait when not given).
    SMBCFILE* OpenWaiting(const std::string& url, int flags, smbc_share_mode mode, int& err,
                          int waitMs = -1) {
        if (waitMs < 0) waitMs = options_.lockWaitMs;
        long waited = 0;
        for (;;) {
            SMBCFILE* f = Open(url, flags, mode);
            if (f) return f;
            err = errno;
            if (err != EBUSY || waited >= waitMs) return nullptr;
            sleeper_.Sleep(options_.retryMs);
            waited += options_.retryMs;
        }
    }

    void Close(SMBCFILE* f) {
        ++counters_.requests;
        smbc_getFunctionClose(ctx_)(ctx_, f);
    }

    bool Fstat(SMBCFILE* f, struct stat& st) {
        ++counters_.requests;
        if (smbc_getFunctionFstat(ctx_)(ctx_, f, &st) == 0) return true;
        Fail(errno);
        return false;
    }

    bool Seek(SMBCFILE* f, std::uint64_t at) {
        // Only moves the client's own offset: no request.
        return smbc_getFunctionLseek(ctx_)(ctx_, f, static_cast<off_t>(at), SEEK_SET) >= 0;
    }

    // Reads to the end; with the size known, no extra request to find the end.
    bool ReadFrom(SMBCFILE* f, std::uint64_t at, std::string& out,
                  std::optional<std::uint64_t> size = std::nullopt) {
        if (!Seek(f, at)) return false;
        out.clear();
        std::vector<char> buffer(kChunk);
        for (;;) {
            if (size && out.size() >= *size - at) return true;
            ++counters_.requests;
            const ssize_t n = smbc_getFunctionRead(ctx_)(ctx_, f, buffer.data(), buffer.size());
            if (n < 0) {
                Fail(errno);
                return false;
            }
            if (n == 0) return true;
            counters_.received += n;
            out.append(buffer.data(), static_cast<std::size_t>(n));
        }
    }

    bool WriteAt(SMBCFILE* f, std::uint64_t at, std::string_view bytes) {
        if (!Seek(f, at)) return false;
        while (!bytes.empty()) {
            const std::size_t part = std::min(bytes.size(), kChunk);
            ++counters_.requests;
            const ssize_t n = smbc_getFunctionWrite(ctx_)(ctx_, f, bytes.data(), part);
            if (n <= 0) {
                Fail(errno);
                return false;
            }
            counters_.sent += n;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    // Server-side copy from the current offsets of both files.
    bool Copy(SMBCFILE* from, SMBCFILE* to, std::uint64_t length) {
        if (length == 0) return true;
        ++counters_.requests;
        const off_t n =
            smbc_getFunctionSplice(ctx_)(ctx_, from, to, static_cast<off_t>(length), GoOn, nullptr);
        if (n != static_cast<off_t>(length)) {
            Fail(errno);
            return false;
        }
        counters_.copiedOnServer += static_cast<long long>(length);
        return true;
    }

    bool Unlink(const std::string& url) {
        ++counters_.requests;
        if (smbc_getFunctionUnlink(ctx_)(ctx_, url.c_str()) == 0) return true;
        Fail(errno);
        return false;
    }

    bool RenameUrl(const std::string& a, const std::string& b) {
        ++counters_.requests;
        if (smbc_getFunctionRename(ctx_)(ctx_, a.c_str(), ctx_, b.c_str()) == 0) return true;
        Fail(errno);
        return false;
    }

    // Anyone on the share may set the read-only attribute of a shared file; the tills need to
    // write it, so the attribute goes (what the account may not do, it cannot undo here).
    bool ClearReadOnly(const std::string& url) {
        struct stat st {};
        ++counters_.requests;
        if (smbc_getFunctionStat(ctx_)(ctx_, url.c_str(), &st) != 0 || S_ISDIR(st.st_mode) ||
            (st.st_mode & S_IWUSR) != 0)
            return false;
        ++counters_.requests;
        if (smbc_getFunctionChmod(ctx_)(ctx_, url.c_str(), 0644) != 0) return false;
        ++counters_.readOnlyCleared;
        return true;
    }

    // The write time is set by hand: the server may put off updating it until the file is
    // closed, and a refresh must see every change, also one that keeps the size.
    void Touch(const std::string& url) {
        struct timeval tv[2]{};
        ::gettimeofday(&tv[0], nullptr);
        tv[1] = tv[0];
        ++counters_.requests;
        smbc_getFunctionUtimes(ctx_)(ctx_, url.c_str(), tv);
    }

    void Remember(const std::string& url, std::string bytes, std::optional<FileStamp> stamp,
                  std::uint64_t logEnd = 0) {
        if (!stamp) {
            known_.erase(url);
            return;
        }
        known_[url] = Known{std::move(bytes), stamp, std::nullopt, logEnd, 0};
    }

    bool SealedThere(const std::string& url) {
        SMBCFILE* s = Open(SealedUrl(url), O_RDONLY, SMBC_SHAREMODE_DENY_NONE);
        if (!s) return false;
        Close(s);
        return true;
    }

    // The change log's length now (0 when there is none): a copy read whole starts there.
    std::uint64_t LogSize(const std::string& url) {
        SMBCFILE* l = Open(LogUrl(url), O_RDONLY, SMBC_SHAREMODE_DENY_NONE);
        if (!l) return 0;
        struct stat st {};
        const bool ok = Fstat(l, st);
        Close(l);
        return ok ? static_cast<std::uint64_t>(st.st_size) : 0;
    }

    // A read that returns less than asked has met the end: no further request to learn it.
    bool ReadLog(const std::string& logUrl, std::uint64_t from, std::string& log) {
        SMBCFILE* l = Open(logUrl, O_RDONLY, SMBC_SHAREMODE_DENY_NONE);
        if (!l) return false;
        bool ok = Seek(l, from);
        std::vector<char> buffer(kLogRestart * 4);
        while (ok) {
            ++counters_.requests;
            const ssize_t n = smbc_getFunctionRead(ctx_)(ctx_, l, buffer.data(), buffer.size());
            ok = n >= 0;
            if (n <= 0) break;
            counters_.received += n;
            log.append(buffer.data(), static_cast<std::size_t>(n));
            if (static_cast<std::size_t>(n) < buffer.size()) break;
        }
        Close(l);
        return ok;
    }

    // The cached copy of `url` brought to the file whose stamp is `now` by the change log, with
    // no writer able to change either meanwhile. False when that cannot be proved: no copy, no
    // log, entries missing, or the file changed after the log's last entry.
    bool FromLog(const std::string& url, const FileStamp& now, std::string& out) {
        auto it = known_.find(url);
        if (it == known_.end() || !it->second.stamp) return false;
        Known& k = it->second;
        if (*k.stamp == now) {
            out = k.bytes;
            return true;
        }
        if (std::max(k.bytes.size(), now.size) < kLogFrom) return false;
        // From this copy's place on; when nothing is there, the log began again meanwhile: the
        // rest of the old log from that place, then the new one from its start.
        std::string log;
        if (!ReadLog(LogUrl(url), k.logEnd, log)) return false;
        const std::vector<LogEntry> next = ParseLog(log);
        if (!next.empty() && !Chain(k, next, now, out, k.logEnd)) return false;
        if (next.empty()) {
            std::string old;
            log.clear();
            if (!ReadLog(OldLogUrl(url), k.logEnd, old) || !ReadLog(LogUrl(url), 0, log))
                return false;
            std::vector<LogEntry> entries = ParseLog(log);
            if (entries.empty()) return false;
            std::vector<LogEntry> both = ParseLog(old);
            both.insert(both.end(), entries.begin(), entries.end());
            if (!Chain(k, both, now, out, 0)) return false;
        }
        ++counters_.logRefreshes;
        return true;
    }

    // Applies the entries that follow this copy, one after the other; the result counts only
    // when it is the content of the log's last entry and the file still has that entry's stamp.
    bool Chain(Known& k, const std::vector<LogEntry>& entries, const FileStamp& now,
               std::string& out, std::uint64_t from) {
        if (entries.empty()) return false;
        const LogEntry& last = entries.back();
        if (last.whole || last.postSize != now.size || last.postMtimeNs != now.mtimeNs)
            return false;
        std::string bytes;
        const std::string* cur = &k.bytes;
        std::uint64_t hash = HashOf(k);
        for (const LogEntry& e : entries) {
            if (e.whole || e.preSize != cur->size() || e.preHash != hash) continue;
            std::optional<std::string> next = ApplyLogEntry(*cur, e, true);
            if (!next) return false;
            bytes = std::move(*next);
            cur = &bytes;
            hash = e.postHash;
        }
        if (hash != last.postHash || cur->size() != last.postSize) return false;
        if (cur == &bytes) k.bytes = std::move(bytes);
        out = k.bytes;
        k.stamp = now;
        k.hash = hash;
        k.logEnd = from + last.end;
        k.seq = last.seq;
        return true;
    }

    // Appends the entry under the file's lock, as one write (whole or not at all); a log grown
    // long is set aside first and a new one begins with it. Returns where the log ends now, 0
    // when it could not be written.
    std::uint64_t AppendLog(const std::string& url, LogEntry& entry) {
        std::string bytes = EncodeLogEntry(entry);
        if (bytes.size() > kSingleWrite) {
            entry.whole = true;
            bytes = EncodeLogEntry(entry);
        }
        const std::string lurl = LogUrl(url);
        SMBCFILE* l = Open(lurl, O_RDWR | O_CREAT, SMBC_SHAREMODE_DENY_NONE);
        if (!l) return 0;
        struct stat st {};
        bool ok = Fstat(l, st);
        std::uint64_t at = static_cast<std::uint64_t>(st.st_size);
        if (ok && at > kLogRestart) {
            // Killed in between, there is no log or an empty one: readers read the file.
            Close(l);
            Unlink(OldLogUrl(url));
            if (!RenameUrl(lurl, OldLogUrl(url))) return 0;
            l = Open(lurl, O_RDWR | O_CREAT | O_TRUNC, SMBC_SHAREMODE_DENY_NONE);
            if (!l) return 0;
            at = 0;
        }
        ok = ok && WriteAt(l, at, bytes);
        Close(l);
        return ok ? at + bytes.size() : 0;
    }

    // Builds the journal: header, then the new bytes from the first change on, the unchanged
    // ones copied by the server from the file itself. Sealed by a rename once complete.
    bool WriteJournal(const std::string& url, SMBCFILE* h, const Delta& delta,
                      std::string_view bytes) {
        const std::uint64_t newSize = bytes.size();
        const std::string jurl = JournalUrl(url);
        SMBCFILE* j = Open(jurl, O_RDWR | O_CREAT | O_TRUNC, SMBC_SHAREMODE_DENY_NONE);
        if (!j) return false;
        std::string header(kJournalMagic, sizeof kJournalMagic);
        PutU64(header, delta.first);
        PutU64(header, newSize);
        PutU64(header, Checksum(bytes.substr(delta.first)));
        bool ok = WriteAt(j, 0, header);
        for (const DeltaOp& op : delta.ops) {
            if (!ok) break;
            if (op.copy) {
                ok = Seek(h, op.from) && Copy(h, j, op.length);
            } else {
                ok = WriteAt(j, smbc_getFunctionLseek(ctx_)(ctx_, j, 0, SEEK_CUR), op.literal);
            }
        }
        Close(j);
        if (!ok) {
            Unlink(jurl);
            return false;
        }
        const std::string surl = SealedUrl(url);
        if (!RenameUrl(jurl, surl)) {
            Unlink(jurl);
            return false;
        }
        return true;
    }

    // Copies a sealed journal over the file (the server does the copying), then drops it.
    struct Span {
        std::uint64_t first;
        std::uint64_t newSize;
    };
    bool ApplySealed(const std::string& url, SMBCFILE* h, std::uint64_t oldSize, Span span) {
        const std::string surl = SealedUrl(url);
        SMBCFILE* s = Open(surl, O_RDONLY, SMBC_SHAREMODE_DENY_NONE);
        if (!s) return false;
        bool ok = span.first <= span.newSize && Seek(s, kJournalHeader) && Seek(h, span.first) &&
                  Copy(s, h, span.newSize - span.first);
        if (ok && span.newSize < oldSize) {
            ++counters_.requests;
            ok = smbc_getFunctionFtruncate(ctx_)(ctx_, h, static_cast<off_t>(span.newSize)) == 0;
        }
        Close(s);
        // Kept when the copy failed half-way: the next lock holder finishes it.
        if (ok) Unlink(surl);
        return ok;
    }

    void DropSealed(const std::string& url) {
        Unlink(SealedUrl(url));
        ++counters_.journalsRefused;
    }

    // Whatever lies under the sealed journal's name, when something does.
    bool ReadSealed(const std::string& url, std::string& journal) {
        SMBCFILE* s = Open(SealedUrl(url), O_RDONLY, SMBC_SHAREMODE_DENY_NONE);
        if (!s) return false;
        const bool ok = ReadFrom(s, 0, journal);
        Close(s);
        return ok;
    }

    // A journal proves itself by its magic, a body as long as its header says, a checksum
    // that matches and a first changed byte inside the file it belongs to.
    static bool JournalValid(const std::string& journal, std::uint64_t fileSize) {
        if (journal.size() < kJournalHeader ||
            std::memcmp(journal.data(), kJournalMagic, sizeof kJournalMagic) != 0)
            return false;
        const std::uint64_t first = GetU64(journal.data() + 8);
        const std::uint64_t newSize = GetU64(journal.data() + 16);
        const std::string_view body = std::string_view(journal).substr(kJournalHeader);
        return first <= fileSize && first <= newSize && body.size() == newSize - first &&
               Checksum(body) == GetU64(journal.data() + 24);
    }

    static bool ApplyJournal(const std::string& journal, std::string& bytes) {
        if (!JournalValid(journal, bytes.size())) return false;
        bytes.resize(GetU64(journal.data() + 8));
        bytes.append(journal, kJournalHeader, std::string::npos);
        return true;
    }

    Sleeper& sleeper_;
    SmbOptions options_;
    Credentials credenziali_;
    SMBCCTX* ctx_ = nullptr;
    // Names on the share match without regard to case.
    struct NoCaseLess {
        bool operator()(const std::string& a, const std::string& b) const {
            return ToUpper(a) < ToUpper(b);
        }
    };
    std::map<std::string, Held, NoCaseLess> held_;
    std::map<std::string, Known, NoCaseLess> known_;
    SmbCounters counters_;
    int lastError_ = 0;
    std::map<std::string, std::chrono::steady_clock::time_point> downUntil_;
    std::map<std::string, std::chrono::steady_clock::time_point, NoCaseLess> busyUntil_;
    std::string host_;  // of the call under way
};

SmbLock::~SmbLock() {
    owner_.Unlock(url_);
}

}  // namespace

std::unique_ptr<SmbFileAccess> MakeSmbFileAccess(Sleeper& sleeper, SmbOptions options) {
    return std::make_unique<SmbAccess>(sleeper, options);
}

}  // namespace vorsa
