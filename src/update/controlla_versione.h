#pragma once
// Version check at start-up: fetch the published version file, read VORSA/Versione from it as
// an INI file, compare with the running version. Best-effort: every failure reads "no news".
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_access.h"
#include "settings/settings_store.h"

namespace vorsa {

/// The project's release page; the check downloads it and the notice shows it. The project has
/// no host of its own yet: the reserved ".example" name never resolves, so until a release host
/// replaces it the check quietly reports nothing.
inline constexpr std::string_view kIndirizzoVersione =
    "http://vorsa.example/prg/vorsa/versione.txt";

inline constexpr std::string_view kTitoloNuovaVersione = "Nuova versione programma";
/// Text of the notice (Windows-1252), the address after an empty line.
std::string TestoNuovaVersione();

/// The largest version file accepted; a longer body is not a version file.
inline constexpr std::size_t kMassimoFileVersione = 64 * 1024;
/// The whole download must end within this.
inline constexpr int kTimeoutVersioneMs = 3000;

/// Seam of the download: fetches `url` and calls `done` once, later, with the body, or with
/// nullopt when the download failed (refused, not found, timed out, too large).
class Downloader {
  public:
    virtual ~Downloader() = default;
    virtual void Scarica(const std::string& url,
                         std::function<void(std::optional<std::string>)> done) = 0;
};

struct LocalVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

/// "148" against 1.4.7 is newer: major and minor not smaller and revision greater, three
/// separate tests. Empty, non-digit or out-of-byte-range values report nothing.
bool VersionePiuNuova(const LocalVersion& local, std::string_view remote);

/// One check: downloads into the temporary folder's "VerVorsa.txt", reads it through the
/// settings layer, deletes it and reports. The object must outlive the answer.
class ControllaVersione {
  public:
    ControllaVersione(SettingsStore& store, FileAccess& files, Downloader& scaricatore,
                      LocalVersion local, std::string url = std::string(kIndirizzoVersione));
    ControllaVersione(const ControllaVersione&) = delete;
    ControllaVersione& operator=(const ControllaVersione&) = delete;
    /// Starts the check; `esito` is called once with true when a newer version exists.
    void Avvia(std::function<void(bool)> esito);

  private:
    bool Valuta(const std::string& body);

    SettingsStore& store_;
    FileAccess& files_;
    Downloader& scaricatore_;
    LocalVersion local_;
    std::string url_;
    // Tells a late answer that this object is gone.
    std::shared_ptr<bool> vivo_ = std::make_shared<bool>(true);
};

}  // namespace vorsa
