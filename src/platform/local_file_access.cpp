#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

#include "platform/file_access.h"
#include "platform/text.h"

namespace vorsa {
namespace {

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
        temp.append(".").append(name).append(".tmp.").append(std::to_string(::getpid()));
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
        const std::string os = Cp1252ToUtf8(path);
        for (;;) {
            const int fd = OpenRetry(os.c_str(), O_RDWR | O_CREAT, 0644);
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

    std::vector<std::string> ListFiles(const std::string& folder) override {
        std::vector<std::string> names;
        const std::string os = Cp1252ToUtf8(folder);
        DIR* dir = ::opendir(os.c_str());
        if (!dir) return names;
        while (const dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            struct stat st {};
            if (::stat((os + "/" + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
            names.push_back(Utf8ToCp1252(name));
        }
        ::closedir(dir);
        std::sort(names.begin(), names.end());
        return names;
    }

    bool RenameNoReplace(const std::string& from, const std::string& to) override {
        const std::string a = Cp1252ToUtf8(from);
        const std::string b = Cp1252ToUtf8(to);
        // link() refuses an existing target, so two tills can never overwrite each other.
        if (::link(a.c_str(), b.c_str()) != 0) return false;
        if (::unlink(a.c_str()) != 0) {
            ::unlink(b.c_str());
            return false;
        }
        if (durable_) {
            const int dir = OpenRetry(FolderOf(b).c_str(), O_RDONLY | O_DIRECTORY);
            if (dir >= 0) {
                ::fsync(dir);
                ::close(dir);
            }
        }
        return true;
    }

  private:
    bool durable_;
};

}  // namespace

std::unique_ptr<FileAccess> MakeLocalFileAccess(bool durable) {
    return std::make_unique<LocalFileAccess>(durable);
}

}  // namespace vorsa
