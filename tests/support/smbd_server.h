#pragma once
// A private smbd for tests: serves a temporary folder as the share "vorsa$" on 127.0.0.1 at a
// free port, with its own configuration and state in a temporary folder. Stopped by its PID.
#include <sys/types.h>
#include <string>

namespace vorsa::test {

class SmbdServer {
  public:
    /// Starts smbd serving `folder` (created when missing; none when empty) with `global` added
    /// to its [global] section; check ok() afterwards.
    explicit SmbdServer(std::string folder, const std::string& global = "");
    ~SmbdServer();
    SmbdServer(const SmbdServer&) = delete;
    SmbdServer& operator=(const SmbdServer&) = delete;

    bool ok() const { return pid_ > 0; }
    int port() const { return port_; }
    std::string conf() const { return state_ + "/smb.conf"; }
    const std::string& folder() const { return folder_; }
    /// "//127.0.0.1/vorsa$/" + name, as the till names files on the share.
    std::string Path(const std::string& name) const { return "//127.0.0.1/vorsa$/" + name; }
    /// Stops smbd (the main till goes away); Start() serves the same folder again on the same
    /// port.
    void Stop();
    bool Start();

  private:
    std::string folder_;
    std::string state_;
    int port_ = 0;
    pid_t pid_ = -1;
};

/// True when smbd is installed here.
bool SmbdAvailable();

}  // namespace vorsa::test
