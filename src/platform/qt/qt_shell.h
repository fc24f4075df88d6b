#pragma once
// The desktop shell behind vorsa::Shell: documents open with their associated program.
#include <string>

#include "platform/system.h"

namespace vorsa {

class QtShell final : public Shell {
  public:
    /// `path` is Windows-1252, as the core hands it over.
    void Open(const std::string& path) override;
};

}  // namespace vorsa
