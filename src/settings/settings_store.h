#pragma once
// The one access layer to the settings files: keys, per-key advisory locks between tills kept
// in the lock file, and the small file helpers the rest of the till uses.
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_access.h"
#include "platform/profile_store.h"
#include "platform/system.h"

namespace vorsa {

/// What the lock protocol reads of the till's state (set by start-up).
struct LockSettings {
    bool gMultiVorsa = false;
    std::string gIdentitaLock;
    int gLockAttesaMs = 20;
    int gLockCicli = 200;
    std::string gFileLock;
};

class SettingsStore {
  public:
    SettingsStore(FileAccess& files, Clock& clock, Sleeper& sleeper, Shell& shell,
                  std::string programFolder);

    /// Value trimmed, at most 511 characters, empty when missing. Unless `direct`, with
    /// multi-till on it first waits for another till's lock on the same key.
    std::string LeggiIni(std::string_view section, std::string_view key, const std::string& file,
                         bool direct = false);
    /// Line breaks in the value become blanks; section, key and value are trimmed. A failed
    /// write is lost (reported by the return value only, which callers may ignore).
    bool ScriviIni(std::string_view section, std::string_view key, std::string_view value,
                   const std::string& file);
    /// A blank key deletes the whole section.
    bool CancellaChiave(std::string_view section, std::string_view key, const std::string& file);

    bool BloccaChiave(std::string_view section, std::string_view key);
    bool SbloccaChiave(std::string_view section, std::string_view key);

    /// (section, key) of a lock entry.
    using SectionKey = std::pair<std::string, std::string>;
    /// BloccaChiave of several keys in one write of the lock file: all of them are taken
    /// together once none is held by another till (no till can hold some and wait for the
    /// rest). When the wait runs out, the free ones are taken and each other one is logged.
    /// One result per key.
    std::vector<bool> BloccaChiavi(const std::vector<SectionKey>& chiavi);
    /// SbloccaChiave of several keys in one write of the lock file (after the flush).
    void SbloccaChiavi(const std::vector<SectionKey>& chiavi);
    /// Removes every lock entry of this till's identity from the lock file: entries a killed
    /// run left behind. One write, none when there are none.
    void SbloccaChiaviProprie();
    /// One read-modify-write of the lock file under its whole-file lock (the shared counters of
    /// held pieces): `change` sees the file as it is and returns whether it changed it. A key of
    /// `chiavi` that another till holds by entry is waited for, then taken over and logged.
    /// False when the lock file could not be written.
    bool AggiornaFileLock(const std::vector<SectionKey>& chiavi,
                          const std::function<bool(IniDocument&)>& change);

    /// A change of several keys of `file` as one transaction: from here to ChiudiTransazione
    /// this till alone holds the file, reads see it as it is under that lock, and it is written
    /// once at the end. Nothing is held unless Ok.
    enum class TransactionResult { Ok, Occupato, Illeggibile, Sparito };
    TransactionResult IniziaTransazione(const std::string& file);
    /// Writes and releases; false (counted as a failed write) when the write failed.
    bool ChiudiTransazione() { return Esito(profiles_.CommitTransaction()); }
    void AnnullaTransazione() { profiles_.AbortTransaction(); }
    /// Writes back the last whole copy of `file` this till read, when the file is gone or
    /// empty. Logged in ERRORI. False when there is no copy or it could not be written.
    bool RipristinaFile(const std::string& file);

    bool EsisteFile(const std::string& path);
    void CancellaFile(const std::string& path);
    std::string CreaCartella(const std::string& path);
    /// Ends with the path separator; falls back to the program folder's "temp".
    std::string CartellaTemp();
    void ApriConShell(const std::string& path);

    /// Writes collected between these go to each file once; see ProfileStore.
    void IniziaBlocco() { profiles_.BeginBatch(); }
    bool ChiudiBlocco() { return Esito(profiles_.CommitBatch()); }

    /// Writes that did not reach their file since the start (full disk, read-only file, share
    /// gone): callers that must not lose data compare it before and after.
    long scrittureFallite() const { return scrittureFallite_; }

    LockSettings lock;
    ProfileStore& profiles() { return profiles_; }
    Clock& clock() { return clock_; }

  private:
    void LogErrore(std::string_view value);
    bool Esito(bool ok) {
        if (!ok) ++scrittureFallite_;
        return ok;
    }
    std::string LockEntry(std::string_view section, std::string_view key);
    // Owners whose entry outlived a whole wait: a killed or hung till's. Their entries are
    // taken over at once from then on, so a dead till costs one wait, not one per key.
    std::set<std::string> scaduti_;

    FileAccess& files_;
    ProfileStore profiles_;
    Clock& clock_;
    Sleeper& sleeper_;
    Shell& shell_;
    std::string programFolder_;
    long scrittureFallite_ = 0;
};

/// Key filter of numeric entry boxes: sets `keyCode` to 0 to refuse the key.
/// `text` is the box's text and `caret` the caret position before the key.
void FiltroNumerico(int& keyCode, std::string_view text, int caret);

/// Scrambled form of a password under `key`: hex of (15 random digits + plain + 10 digits)
/// XORed with the key text.
std::string CodificaPassword(std::string_view key, std::string_view plain);
std::string DecodificaPassword(std::string_view key, std::string_view stored);
/// The fixed key text of the function-key passwords.
inline constexpr std::string_view kChiavePassword = "k4t2r9m5p3";

}  // namespace vorsa
