#pragma once
// One till's settings without the rest of the till.
#include <string>

#include "settings/settings_gateway.h"
#include "settings/settings_store.h"
#include "support/fakes.h"

namespace vorsa::test {

/// The store and gateway of a till in `folder`, over `shared` when given, else over its own
/// files in memory.
struct Impostazioni {
    explicit Impostazioni(FileAccess* shared = nullptr, const std::string& folder = "/p")
        : store(shared ? *shared : files, clock, sleeper, shell, folder),
          settings(store, paths, opt) {
        paths.gFileIni = paths.gFileDati = folder + "/Vorsa.ini";
        paths.gFileLock = store.lock.gFileLock = folder + "/Vorsa.ini.lck";
        paths.gFilePassword = folder + "/pw";
    }
    MemoryFileAccess files;
    FakeClock clock;
    FakeSleeper sleeper{&clock};
    FakeShell shell;
    SettingsStore store;
    Paths paths;
    Options opt;
    SettingsGateway settings;
};

}  // namespace vorsa::test
