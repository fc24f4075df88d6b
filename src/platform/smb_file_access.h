#pragma once
// Files on another computer's share through libsmbclient (the kernel here has no CIFS), and a
// file access that sends network paths there and everything else to the local files.
//
// Whole-file lock: an open of the file itself that denies every other open (share mode
// DENY_ALL), which Windows clients respect too. Readers open denying writers, so a reader never
// meets a write in progress. A replace writes in place under the lock: the new bytes from the
// first change on are first assembled in a journal beside the file (the unchanged bulk copied by
// the server itself, only the changed bytes sent), the journal is sealed by a rename, then the
// server copies it over the file. A writer killed before the seal leaves the file untouched; one
// killed after it leaves a sealed journal that the next lock holder, or any reader, applies.
//
// Change log: a writer of a large file then appends what it changed (the same delta) to a small
// log beside it, and the other tills bring their copy up to date from the log instead of reading
// the file again. The file stays exactly what a local till writes; the log only describes it.
// Each entry names the content it starts from and the content and stamp it leads to (hashes of
// the whole file), so a reader applies it only to the very bytes it was made on, and trusts the
// result only when the file's stamp is the last entry's: a change by anything that writes no log
// (another version, a hand edit, a restored copy, a writer killed before its entry) leaves
// another stamp, and the reader reads the whole file as before.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_access.h"
#include "platform/system.h"

namespace vorsa {

/// "smb://host/share/rest" for "\\host\share\rest" or "//host/share/rest" (Windows-1252 in,
/// UTF-8 out, '%' escaped); empty for any other path.
std::string SmbUrl(std::string_view path);

struct SmbOptions {
    int port = 0;             // 0: the standard ports
    int timeoutMs = 4000;     // one request to the server
    int lockWaitMs = 4000;    // waiting for another holder of a whole-file lock
    int readWaitMs = 1000;    // a reader waiting for a writer (a refresh must not freeze)
    int retryMs = 2;          // pause between two attempts to open a file another holds
    int retryAfterMs = 2000;  // after the server stopped answering, calls fail at once so long
};

/// What crossed the network, counted by the file access itself.
struct SmbCounters {
    long long sent = 0;            // file bytes written to the server
    long long received = 0;        // file bytes read from the server
    long long copiedOnServer = 0;  // bytes the server copied itself (never on the wire)
    long requests = 0;             // calls into libsmbclient (each at least one round trip)
    long fullReads = 0;
    long replaces = 0;
    long readOnlyCleared = 0;  // shared files whose read-only attribute was taken off
    long journalsRefused = 0;  // journals that did not prove themselves, removed unapplied
    long logRefreshes = 0;     // reads answered from the cached copy and the change log
};

class SmbFileAccess : public FileAccess {
  public:
    virtual const SmbCounters& counters() const = 0;
    virtual void ResetCounters() = 0;
    /// Errno of the last operation that failed (0 when none since the last call).
    virtual int TakeLastError() = 0;
    /// Logs in as `user` with `password` from now on (Windows-1252); an empty user is a guest.
    virtual void SetCredentials(const std::string& user, const std::string& password) = 0;
};

/// One libsmbclient context (guest access). `sleeper` paces the retries on a held file.
std::unique_ptr<SmbFileAccess> MakeSmbFileAccess(Sleeper& sleeper, SmbOptions options = {});

/// Network paths to `smb`, the rest to `local`. An alias sends one local path to a network
/// path: a main till reaches its own shared files through its share, so its writes and those
/// of the other tills exclude each other in one place (the file server).
class RoutingFileAccess : public FileAccess {
  public:
    RoutingFileAccess(FileAccess& local, FileAccess& smb) : local_(local), smb_(smb) {}
    void Alias(const std::string& localPath, const std::string& networkPath);
    /// What the share at a network folder is to a local folder.
    enum class Location {
        Servita,        // it serves the folder, and a file made through it lands there
        NonServita,     // it does not answer, or serves another folder
        NonScrivibile,  // it serves the folder but cannot write into it (the share's user)
    };
    /// Decides for sure, not by comparing sizes: a file made through the share must appear in
    /// the local folder (or, when the share cannot make one, a file made here must appear
    /// through it). When served, aliases every name of `names` in the folder.
    Location AliasFolderIfShared(const std::string& localFolder, const std::string& networkFolder,
                                 const std::vector<std::string>& names);
    void ClearAliases() { aliases_.clear(); }

    ReadResult ReadAll(const std::string& path) override;
    bool ReplaceAll(const std::string& path, std::string_view bytes) override;
    std::unique_ptr<FileLock> LockExclusive(const std::string& path) override;
    std::unique_ptr<FileLock> LockExisting(const std::string& path) override;
    std::optional<FileStamp> Stamp(const std::string& path) override;
    bool Exists(const std::string& path) override;
    bool Remove(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    int RemoveStaleTemps(const std::string& path) override;
    bool CanReplace(const std::string& path) override;
    std::vector<std::string> ListFiles(const std::string& folder, std::string_view suffix) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool StampAfterReplaceIsOwn(const std::string& path) override;

  private:
    std::pair<FileAccess*, std::string> Route(const std::string& path);

    FileAccess& local_;
    FileAccess& smb_;
    std::map<std::string, std::string> aliases_;  // upper-cased local path -> network path
};

/// One piece of a replace: copy `length` bytes of the old file from `from`, or send `literal`.
struct DeltaOp {
    bool copy = false;
    std::uint64_t from = 0;
    std::uint64_t length = 0;
    std::string literal;
};

/// The new bytes from `first` (the first byte that differs) on, as copies of the old bytes and
/// literal runs. Unchanged lines are copied wherever they sit in the old file; copies shorter
/// than `minCopy` are sent as literals.
struct Delta {
    std::uint64_t first = 0;
    std::vector<DeltaOp> ops;
    std::uint64_t literalBytes = 0;
};
Delta ComputeDelta(std::string_view oldBytes, std::string_view newBytes,
                   std::uint64_t minCopy = 256);

/// Hash of a whole file's content (FNV-1a over 64-bit words, the length mixed in).
std::uint64_t ContentHash(std::string_view bytes);

/// One entry of a change log: the delta that took the file from the content `preHash` to the
/// content `postHash`, and the file's size and write time right after it. `whole`: no delta
/// (the writer did not know what it wrote over); a reader reads the file.
struct LogEntry {
    std::uint64_t seq = 0;  // one more than the entry the writer's copy came from (0: read whole)
    std::uint64_t preSize = 0;
    std::uint64_t preHash = 0;
    std::uint64_t postSize = 0;
    std::uint64_t postHash = 0;
    std::int64_t postMtimeNs = 0;
    bool whole = false;
    Delta delta;
    std::uint64_t end = 0;  // parsed: offset after the entry in the bytes read
};
std::string EncodeLogEntry(const LogEntry& entry);
/// The entries of `log` from its start, up to the first that does not prove itself (a torn or
/// foreign tail ends the log there).
std::vector<LogEntry> ParseLog(std::string_view log);
/// `oldBytes` with the entry's delta applied, when it is the content the entry starts from and
/// the result is the content it leads to (`oldHashChecked`: the caller compared the hashes).
std::optional<std::string> ApplyLogEntry(std::string_view oldBytes, const LogEntry& entry,
                                         bool oldHashChecked = false);

}  // namespace vorsa
