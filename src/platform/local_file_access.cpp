#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <ctime>

#include "platform/file_access.h"
#include "platform/text.h"

namespace vorsa {
namespace {

void SyncFolderOf(const std::string& osPath);

int OpenRetry(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool WriteAllFd(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// A replace holds an flock on its temporary file from creation to rename, so a temp whose lock
// can be had belongs to a dead writer. Writers reaching the folder through a file server leave
// no lock visible here; they finish within seconds, so a temp must also be this old.
constexpr std::time_t kTempStaleSeconds = 30;

std::string TempPrefix(const std::string& name) {
    return "." + name + ".tmp.";
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

class LocalLock : public FileLock {
  public:
    explicit LocalLock(int fd) : fd_(fd) {}
    ~LocalLock() override { ::close(fd_); }  // closing the description drops the flock
    LocalLock(const LocalLock&) = delete;
    LocalLock& operator=(const LocalLock&) = delete;

  private:
    int fd_;
};

class LocalFileAccess : public FileAccess {
  public:
    explicit LocalFileAccess(bool durable) : durable_(durable) {}

    ReadResult ReadAll(const std::string& path) override {
        const std::string os = Cp1252ToUtf8(path);
        const int fd = OpenRetry(os.c_str(), O_RDONLY);
        if (fd < 0) return {errno == ENOENT ? ReadStatus::Missing : ReadStatus::Error, {}};
        ReadResult result{ReadStatus::Ok, {}};
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_size > 0) {
            result.bytes.reserve(static_cast<std::size_t>(st.st_size));
        }
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR) continue;
                result = {ReadStatus::Error, {}};
                break;
            }
            if (n == 0) break;
            result.bytes.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(fd);
        return result;
    }

    bool ReplaceAll(const std::string& path, std::string_view bytes) override {
        const std::string os = Cp1252ToUtf8(path);
        const std::string folder = FolderOf(os);
        const std::size_t slash = os.rfind('/');
        const std::string name = slash == std::string::npos ? os : os.substr(slash + 1);
        if (name.empty()) return false;
        static std::atomic<unsigned long> counter{0};
        // Hidden, unique per process and call, in the target's own folder so the rename
        // stays on one file system.
        std::string temp = slash == std::string::npos ? std::string() : os.substr(0, slash + 1);
        temp.append(TempPrefix(name)).append(std::to_string(::getpid()));
        temp.append(".").append(std::to_string(++counter));

        // Keep the permissions of the file being replaced.
        mode_t mode = 0644;
        struct stat st {};
        if (::stat(os.c_str(), &st) == 0) {
            if (S_ISDIR(st.st_mode)) return false;
            mode = st.st_mode & 07777;
        }
        const int fd = OpenRetry(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL, mode);
        if (fd < 0) return false;
        ::flock(fd, LOCK_EX | LOCK_NB);  // tells RemoveStaleTemps this temp is alive
        bool ok = WriteAllFd(fd, bytes);
        if (ok && durable_) ok = ::fsync(fd) == 0;
        if (::close(fd) != 0) ok = false;
        if (ok) ok = ::rename(temp.c_str(), os.c_str()) == 0;
        if (!ok) {
            ::unlink(temp.c_str());
            return false;
        }
        if (durable_) {
            // The rename itself is durable only once the folder is flushed.
            const int dir = OpenRetry(folder.c_str(), O_RDONLY | O_DIRECTORY);
            if (dir >= 0) {
                ::fsync(dir);
                ::close(dir);
            }
        }
        return true;
    }

    std::unique_ptr<FileLock> LockExclusive(const std::string& path) override {
        return Lock(path, true);
    }
    std::unique_ptr<FileLock> LockExisting(const std::string& path) override {
        return Lock(path, false);
    }

    std::unique_ptr<FileLock> Lock(const std::string& path, bool create) {
        const std::string os = Cp1252ToUtf8(path);
        for (;;) {
            // Read-only opens can be locked too: a file marked read-only is still replaced by a
            // rename, which needs only the folder to be writable.
            int fd = OpenRetry(os.c_str(), create ? O_RDWR | O_CREAT : O_RDWR, 0644);
            if (fd < 0 && errno == EACCES) fd = OpenRetry(os.c_str(), O_RDONLY);
            if (fd < 0) return nullptr;
            int rc;
            do {
                rc = ::flock(fd, LOCK_EX);
            } while (rc != 0 && errno == EINTR);
            if (rc != 0) {
                ::close(fd);
                return nullptr;
            }
            // A replace renames a new inode over the path; a lock on the old one guards
            // nothing, so start again on whatever the path names now.
            struct stat held {
            }, current{};
            if (::fstat(fd, &held) == 0 && ::stat(os.c_str(), &current) == 0 &&
                held.st_dev == current.st_dev && held.st_ino == current.st_ino) {
                return std::make_unique<LocalLock>(fd);
            }
            ::close(fd);
        }
    }

    std::optional<FileStamp> Stamp(const std::string& path) override {
        struct stat st {};
        if (::stat(Cp1252ToUtf8(path).c_str(), &st) != 0) return std::nullopt;
        FileStamp s;
        s.device = static_cast<std::uint64_t>(st.st_dev);
        s.inode = static_cast<std::uint64_t>(st.st_ino);
        s.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        s.ctimeNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
        s.size = static_cast<std::uint64_t>(st.st_size);
        return s;
    }

    bool Exists(const std::string& path) override {
        struct stat st {};
        return ::stat(Cp1252ToUtf8(path).c_str(), &st) == 0;
    }

    bool Remove(const std::string& path) override {
        return ::unlink(Cp1252ToUtf8(path).c_str()) == 0;
    }

    bool CreateFolder(const std::string& path) override {
        const std::string os = Cp1252ToUtf8(path);
        if (::mkdir(os.c_str(), 0755) == 0) return true;
        if (errno != EEXIST) return false;
        struct stat st {};
        return ::stat(os.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }

    bool CanReplace(const std::string& path) override {
        const std::string os = Cp1252ToUtf8(path);
        struct stat st {};
        if (::stat(os.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return false;
        const std::size_t slash = os.rfind('/');
        std::string probe = slash == std::string::npos ? std::string() : os.substr(0, slash + 1);
        probe.append(TempPrefix(slash == std::string::npos ? os : os.substr(slash + 1)))
            .append(std::to_string(::getpid()))
            .append(".prova");
        const int fd = OpenRetry(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0) return false;
        ::close(fd);
        ::unlink(probe.c_str());
        return true;
    }

    int RemoveStaleTemps(const std::string& path) override {
        const std::string os = Cp1252ToUtf8(path);
        const std::size_t slash = os.rfind('/');
        const std::string folder = FolderOf(os);
        const std::string prefix =
            TempPrefix(slash == std::string::npos ? os : os.substr(slash + 1));
        DIR* dir = ::opendir(folder.c_str());
        if (dir == nullptr) return 0;
        const std::time_t now = std::time(nullptr);
        int removed = 0;
        while (const dirent* e = ::readdir(dir)) {
            const std::string entry = e->d_name;
            if (entry.compare(0, prefix.size(), prefix) != 0) continue;
            const std::string temp = folder + "/" + entry;
            const int fd = OpenRetry(temp.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
            if (fd < 0) continue;
            struct stat st {};
            if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                now - st.st_mtim.tv_sec >= kTempStaleSeconds &&
                ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(temp.c_str()) == 0) {
                ++removed;
            }
            ::close(fd);
        }
        ::closedir(dir);
        return removed;
    }

    std::vector<std::string> ListFiles(const std::string& folder,
                                       std::string_view suffix) override {
        std::vector<std::string> out;
        DIR* d = ::opendir(Cp1252ToUtf8(folder).c_str());
        if (!d) return out;
        while (const dirent* e = ::readdir(d)) {
            const std::string name = Utf8ToCp1252(e->d_name);
            if (name.size() < suffix.size() ||
                !EqualsNoCase(std::string_view(name).substr(name.size() - suffix.size()), suffix))
                continue;
            std::string path = folder;
            path.append("/").append(name);
            struct stat st {};
            if (::stat(Cp1252ToUtf8(path).c_str(), &st) == 0 && S_ISREG(st.st_mode))
                out.push_back(name);
        }
        ::closedir(d);
        std::sort(out.begin(), out.end());
        return out;
    }

    bool Rename(const std::string& from, const std::string& to) override {
        const std::string a = Cp1252ToUtf8(from);
        const std::string b = Cp1252ToUtf8(to);
        // A hard link never replaces an existing name, so a race cannot overwrite a report.
        if (::link(a.c_str(), b.c_str()) == 0) {
            ::unlink(a.c_str());
            if (durable_) SyncFolderOf(b);
            return true;
        }
        if (errno == EEXIST) return false;
        struct stat st {};
        if (::stat(b.c_str(), &st) == 0) return false;
        return ::rename(a.c_str(), b.c_str()) == 0;  // file systems without hard links
    }

  private:
    bool durable_;
};

void SyncFolderOf(const std::string& osPath) {
    const auto slash = osPath.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : osPath.substr(0, slash + 1);
    const int dir = OpenRetry(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace

std::unique_ptr<FileAccess> MakeLocalFileAccess(bool durable) {
    return std::make_unique<LocalFileAccess>(durable);
}

}  // namespace vorsa
