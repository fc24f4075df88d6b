#pragma once
// Start-up's view of the network share, over the machine's share services: a main till
// publishes its program folder as vorsa$, a secondary till looks for the main till's file.
#include <string>

#include "network/opzioni_multi.h"
#include "platform/condivisione.h"
#include "startup/startup.h"

namespace vorsa {

class CondivisioneAvvio final : public NetworkShare {
  public:
    explicit CondivisioneAvvio(TillShare& share) : share_(share) {}
    bool CondividiCartella(const std::string& folder) override {
        return share_.CreateTillShare(folder, std::string(kNomeCondivisione));
    }
    std::string FileRemoto(const std::string& host) override { return vorsa::FileRemoto(host); }

  private:
    TillShare& share_;
};

}  // namespace vorsa
