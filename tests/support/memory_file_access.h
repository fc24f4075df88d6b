#pragma once
// In-memory files for tests: the same contract as the local files, with hooks to make
// operations fail (read-only file, full disk, unreachable share).
#include <map>
#include <set>
#include <string>

#include "platform/file_access.h"

namespace vorsa {

class MemoryFileAccess : public FileAccess {
  public:
    ReadResult ReadAll(const std::string& path) override;
    bool ReplaceAll(const std::string& path, std::string_view bytes) override;
    std::unique_ptr<FileLock> LockExclusive(const std::string& path) override;
    std::optional<FileStamp> Stamp(const std::string& path) override;
    bool Exists(const std::string& path) override;
    bool Remove(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    std::vector<std::string> ListFiles(const std::string& folder) override;
    bool RenameNoReplace(const std::string& from, const std::string& to) override;

    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    bool failWrites = false;  // every ReplaceAll fails, content unchanged
    bool failReads = false;   // every ReadAll reports an error
    long replaceCount = 0;
    int locksHeld = 0;

  private:
    std::map<std::string, std::uint64_t> versions_;
    std::uint64_t nextVersion_ = 1;
};

}  // namespace vorsa
