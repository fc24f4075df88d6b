#pragma once
// Start-up's view of the network share, over the machine's share services: a main till
// publishes its program folder as vorsa$, a secondary till looks for the main till's file.
#include <cerrno>
#include <string>

#include "network/multi_till_options.h"
#include "platform/smb_file_access.h"
#include "platform/till_share.h"
#include "startup/startup.h"

namespace vorsa {

class StartupShare final : public NetworkShare {
  public:
    StartupShare(TillShare& share, SmbFileAccess& smb) : share_(share), smb_(smb) {}
    bool CondividiCartella(const std::string& folder) override {
        return share_.CreateTillShare(folder, std::string(kNomeCondivisione));
    }
    std::string FileRemoto(const std::string& host) override { return vorsa::FileRemoto(host); }
    void UsaPassword(const std::string& password) override {
        smb_.SetCredentials(password.empty() ? std::string() : std::string(kUtenteCondivisione),
                            password);
        share_.ProteggiConPassword(!password.empty());
    }
    bool PasswordRifiutata() override {
        const int err = smb_.TakeLastError();
        return err == EACCES || err == EPERM;
    }

  private:
    TillShare& share_;
    SmbFileAccess& smb_;
};

}  // namespace vorsa
