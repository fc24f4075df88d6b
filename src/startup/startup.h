#pragma once
// The start-up sequence and the main window's load and unload steps, as plain functions over a
// Till; the Qt layer calls them and applies the results to the widgets.
#include <optional>
#include <string>
#include <string_view>

#include "sale/till.h"

namespace vorsa {

/// Seam of the multi-till network share (publishing the program folder, reaching the main
/// till's files). Until that exists, start-up runs with none: a main till reports that sharing
/// failed and a secondary till cannot reach its main till.
class NetworkShare {
  public:
    virtual ~NetworkShare() = default;
    /// Shares the program folder as "vorsa$"; true on success.
    virtual bool CondividiCartella(const std::string& folder) = 0;
    /// Path of the main till's settings file on `host`, as FileAccess understands it.
    virtual std::string FileRemoto(const std::string& host) = 0;
    /// The share's password (empty: guests), before anything is shared or reached.
    virtual void UsaPassword(const std::string& /*password*/) {}
    /// After the main till's file could not be reached: was it the password it refused?
    virtual bool PasswordRifiutata() { return false; }
};

struct StartupHooks {
    NetworkShare* share = nullptr;
};

/// What start-up asks the window layer to do afterwards.
struct StartupResult {
    // Run the version check; it answers later, after the main window is up (update/).
    bool controllaVersione = false;
};

inline constexpr const char* kFileCopiaPrincipale = "VorsaPrincipale.ini";

/// A secondary till keeps a copy of its main till's file, but for the receipt archive, in its
/// own folder (kFileCopiaPrincipale), written when it changed: started while the main till is
/// away, it sells from that catalogue. Nothing for other tills.
void SalvaCopiaPrincipale(Till& till);

/// After a tick of the refresh timer (`aggiornato`: the buttons were read again from the
/// shared files): keeps the copy of the main till's file, and a secondary till started while
/// its main till was away joins it. True when it just joined.
bool DopoAggiornamento(Till& till, bool aggiornato);

/// Readme text written into the program folder at every start.
std::string TestoLeggimi(const Till& till);

/// Name of the per-user password file: "~x" followed by 12 scrambled characters of the user.
std::string NomeFilePassword(std::string_view userName);

/// Start-up of the till: derives the paths, writes the readme and the notes, reads every
/// option, decides the multi-till role, loads the catalogue and the statistics. Never fails: every
/// read has a default and defaults are written back.
StartupResult AvviaTill(Till& till, const StartupHooks& hooks = {});

/// What the operator is told about the multi-till outcome of start-up (Windows-1252).
struct MultiTillNotice {
    std::string text;
    std::string hint;
    int closeAfterMs = 0;  // 0: stays until confirmed
    bool allarme = false;  // shown in red: the data is open to anyone on the network
};
inline constexpr std::string_view kTitoloMultiVorsa = "MULTI - VORSA";

/// The notice for a data file the till cannot keep; nullopt when all is well.
struct DataFileNotice {
    std::string title;
    std::string text;
};
std::optional<DataFileNotice> AvvisoPerFile(DataFileState stato, std::string_view file);

/// The notice for a multi-till status; nullopt for a single till (nothing to say).
std::optional<MultiTillNotice> AvvisoPerStato(MultiTillState stato,
                                              const std::string& programFolder);

/// The same for the till as start-up left it: a share that cannot write the folder says so.
std::optional<MultiTillNotice> AvvisoPerStato(const Till& till);

/// The notice for a program folder found copied from another till's, which took a new lock
/// identity by itself; nullopt otherwise.
std::optional<MultiTillNotice> AvvisoIdentita(const Till& till);

/// Window geometry in twips and state (0 normal, 1 minimised, 2 maximised).
struct WindowPlacement {
    int top = 0;
    int left = 0;
    int width = 15380;
    int mode = 2;
};

inline constexpr int kLarghezzaMinima = 15380;
inline constexpr int kAltezzaMinima = 8290;

/// The options of the load step, corrected and written back where the rules say.
struct LoadResult {
    int timerCodiciMs = 300;
    WindowPlacement placement;
    bool apriLeggimi = false;  // first start of this version and the readme exists
};

/// Load step of the main window, the parts that are rules: the code timer, the readme of a new
/// version (opened through the shell), the window position and the multi-till recovery.
LoadResult CaricaFinestra(Till& till, ScreenTwips screen);

/// Unload step: hands back held pieces, saves the window position, deletes the scratch file.
void ChiudiFinestra(Till& till, const WindowPlacement& placement);

}  // namespace vorsa
