#pragma once
// The file system as the settings layer sees it. Paths are Windows-1252 text; the local
// implementation converts them to UTF-8 for the OS. A later SMB implementation serves
// network paths behind the same interface.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorsa {

/// Identity and version of a file's content; equal stamps mean an unchanged file.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t mtimeNs = 0;
    std::int64_t ctimeNs = 0;
    std::uint64_t size = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

/// Held exclusive lock; released on destruction.
class FileLock {
  public:
    virtual ~FileLock() = default;
};

enum class ReadStatus { Ok, Missing, Error };

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;
};

class FileAccess {
  public:
    virtual ~FileAccess() = default;
    virtual ReadResult ReadAll(const std::string& path) = 0;
    /// Replaces the whole file atomically (temporary file beside it, flush, rename): readers
    /// see the old or the new content, never a mix. False when nothing was replaced.
    virtual bool ReplaceAll(const std::string& path, std::string_view bytes) = 0;
    /// Exclusive OS-level lock for one read-modify-write of `path`, across processes and
    /// across objects of one process. Blocks until granted; null when it cannot be had.
    virtual std::unique_ptr<FileLock> LockExclusive(const std::string& path) = 0;
    /// LockExclusive of a file that must already be there: never creates it, so a till never
    /// brings back, empty, a shared file that somebody deleted. Null when it is missing.
    virtual std::unique_ptr<FileLock> LockExisting(const std::string& path) {
        return Exists(path) ? LockExclusive(path) : nullptr;
    }
    virtual std::optional<FileStamp> Stamp(const std::string& path) = 0;
    /// True for an existing file or folder.
    virtual bool Exists(const std::string& path) = 0;
    virtual bool Remove(const std::string& path) = 0;
    /// Creates a folder; an existing one is no error.
    virtual bool CreateFolder(const std::string& path) = 0;
    /// Removes the temporary files that replaces of `path` killed mid-way left beside it, but
    /// none that a live replace may still be writing. Returns how many went.
    virtual int RemoveStaleTemps(const std::string& /*path*/) { return 0; }
    /// Whether ReplaceAll(path) can work now: the path is no folder and a new file can be made
    /// beside it. Leaves nothing behind.
    virtual bool CanReplace(const std::string& /*path*/) { return true; }
    /// Names (without folder) of the plain files in `folder` whose name ends with `suffix`
    /// (case ignored), sorted; empty when the folder is missing.
    virtual std::vector<std::string> ListFiles(const std::string& folder,
                                               std::string_view suffix) = 0;
    /// Renames a file; false when `to` exists already or the rename failed.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    /// True when, under LockExclusive(path), the stamp taken right after ReplaceAll(path) can
    /// only be that of the bytes just written: no other writer can slip in before the lock is
    /// released, so the written file need not be read back to be trusted.
    virtual bool StampAfterReplaceIsOwn(const std::string& /*path*/) { return false; }
};

/// True for a path on another computer's share: "\\host\share..." or "//host/share...".
inline bool IsNetworkPath(std::string_view path) {
    if (path.size() < 3) return false;
    const bool back = path[0] == '\\' && path[1] == '\\';
    const bool fore = path[0] == '/' && path[1] == '/';
    return (back || fore) && path[2] != '\\' && path[2] != '/';
}

/// Local files. `durable` adds fsync of the file and its folder to every replace.
std::unique_ptr<FileAccess> MakeLocalFileAccess(bool durable = true);

}  // namespace vorsa
