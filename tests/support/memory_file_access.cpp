#include "support/memory_file_access.h"

#include "platform/text.h"

#include <functional>

namespace vorsa {
namespace {

// Counts the locks held, so that tests see each one released.
struct MemoryLock : FileLock {
    explicit MemoryLock(int& h) : held(h) { ++held; }
    ~MemoryLock() override { --held; }
    int& held;
};

}  // namespace

ReadResult MemoryFileAccess::ReadAll(const std::string& path) {
    if (failReads) return {ReadStatus::Error, {}};
    auto it = files.find(path);
    if (it != files.end()) return {ReadStatus::Ok, it->second};
    if (folders.count(path) != 0) return {ReadStatus::Error, {}};
    return {ReadStatus::Missing, {}};
}

bool MemoryFileAccess::ReplaceAll(const std::string& path, std::string_view bytes) {
    if (failWrites || folders.count(path) != 0) return false;
    files[path] = std::string(bytes);
    versions_[path] = nextVersion_++;
    ++replaceCount;
    return true;
}

std::unique_ptr<FileLock> MemoryFileAccess::LockExclusive(const std::string& /*path*/) {
    return std::make_unique<MemoryLock>(locksHeld);
}

std::optional<FileStamp> MemoryFileAccess::Stamp(const std::string& path) {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    auto v = versions_.find(path);
    const std::uint64_t version = v == versions_.end() ? 0 : v->second;
    FileStamp stamp;
    stamp.inode = version;
    stamp.mtimeNs = static_cast<std::int64_t>(version);
    // Tests also edit `files` directly; the content hash makes such edits visible too.
    stamp.ctimeNs = static_cast<std::int64_t>(std::hash<std::string>{}(it->second) >> 1);
    stamp.size = it->second.size();
    return stamp;
}

bool MemoryFileAccess::Exists(const std::string& path) {
    return files.count(path) != 0 || folders.count(path) != 0;
}

bool MemoryFileAccess::Remove(const std::string& path) {
    versions_.erase(path);
    return files.erase(path) != 0;
}

bool MemoryFileAccess::CreateFolder(const std::string& path) {
    if (files.count(path) != 0) return false;
    folders.insert(path);
    return true;
}

std::vector<std::string> MemoryFileAccess::ListFiles(const std::string& folder,
                                                     std::string_view suffix) {
    std::vector<std::string> out;
    const std::string prefix = folder + "/";
    for (const auto& [path, bytes] : files) {
        if (path.rfind(prefix, 0) != 0) continue;
        const std::string name = path.substr(prefix.size());
        if (name.find('/') != std::string::npos || name.size() < suffix.size()) continue;
        if (EqualsNoCase(std::string_view(name).substr(name.size() - suffix.size()), suffix))
            out.push_back(name);
    }
    return out;
}

bool MemoryFileAccess::Rename(const std::string& from, const std::string& to) {
    if (failWrites || files.count(from) == 0 || Exists(to)) return false;
    files[to] = files[from];
    versions_[to] = nextVersion_++;
    Remove(from);
    return true;
}

}  // namespace vorsa
