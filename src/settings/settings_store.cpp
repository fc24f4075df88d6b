#include "settings/settings_store.h"

#include <utility>

#include "platform/text.h"

namespace vorsa {
namespace {

constexpr std::size_t kMaxValore = 511;  // the profile read buffer holds 512 characters
constexpr std::string_view kSezioneErrori = "ERRORI";

std::string SenzaACapo(std::string_view value) {
    std::string v = ReplaceAll(value, "\r\n", " ");
    v = ReplaceAll(v, "\r", " ");
    v = ReplaceAll(v, "\n", " ");
    return Trim(v);
}

}  // namespace

SettingsStore::SettingsStore(FileAccess& files, Clock& clock, Sleeper& sleeper, Shell& shell,
                             std::string programFolder)
    : files_(files),
      profiles_(files),
      clock_(clock),
      sleeper_(sleeper),
      shell_(shell),
      programFolder_(std::move(programFolder)) {}

std::string SettingsStore::LeggiIni(std::string_view section, std::string_view key,
                                    const std::string& file, bool direct) {
    auto leggi = [&] {
        std::string v = profiles_.Get(file, Trim(section), Trim(key)).value_or(std::string());
        if (v.size() > kMaxValore) v.resize(kMaxValore);
        return Trim(v);
    };
    // Inside a transaction the whole file is this till's: no entry can matter.
    if (direct || !lock.gMultiVorsa || profiles_.InTransaction()) return leggi();

    std::string entry;
    for (int giro = 0; giro < lock.gLockCicli; ++giro) {
        entry = LockEntry(section, key);
        if (entry.empty() || entry == lock.gIdentitaLock) return leggi();
        if (scaduti_.count(entry)) return leggi();
        sleeper_.Sleep(lock.gLockAttesaMs);
    }
    // The other till kept its lock a whole wait: go ahead with the value as it is, log it, and
    // wait for none of its entries again (a killed till's would cost a wait at every read).
    scaduti_.insert(entry);
    std::string v = leggi();
    LogErrore("R - " + std::string(section) + " - " + v);
    return v;
}

bool SettingsStore::ScriviIni(std::string_view section, std::string_view key,
                              std::string_view value, const std::string& file) {
    const std::string s = Trim(section);
    const std::string k = Trim(key);
    if (s.empty() || k.empty()) return false;
    return Esito(profiles_.Set(file, s, k, SenzaACapo(value)));
}

bool SettingsStore::CancellaChiave(std::string_view section, std::string_view key,
                                   const std::string& file) {
    const std::string k = Trim(key);
    if (k.empty()) return Esito(profiles_.DeleteSection(file, Trim(section)));
    return Esito(profiles_.DeleteKey(file, Trim(section), k));
}

std::string SettingsStore::LockEntry(std::string_view section, std::string_view key) {
    return Trim(profiles_.Get(lock.gFileLock, Trim(section), Trim(key) + "-LOCKED")
                    .value_or(std::string()));
}

bool SettingsStore::BloccaChiave(std::string_view section, std::string_view key) {
    const std::string s = Trim(section);
    const std::string k = Trim(key) + "-LOCKED";
    for (int giro = 0; giro < lock.gLockCicli; ++giro) {
        bool preso = false;
        // Read and write of the entry under one file lock: two tills can never both win.
        const bool ok = profiles_.Update(lock.gFileLock, [&](IniDocument& doc) {
            const std::string entry = Trim(doc.Get(s, k).value_or(std::string()));
            if (!entry.empty() && entry != lock.gIdentitaLock) return false;
            preso = true;
            return doc.Set(s, k, lock.gIdentitaLock);
        });
        if (!ok) return false;  // lock file unreachable: waiting cannot help
        if (preso) return true;
        sleeper_.Sleep(lock.gLockAttesaMs);
    }
    LogErrore("L - " + s + " - " + Trim(key));
    return false;
}

bool SettingsStore::SbloccaChiave(std::string_view section, std::string_view key) {
    const std::string s = Trim(section);
    const std::string k = Trim(key) + "-LOCKED";
    // What was written under the lock must be on disk before another till may take it.
    if (profiles_.InBatch()) Esito(profiles_.FlushAll());
    // Only this till's own entry is removed, and at once: an entry that is missing or belongs
    // to another till will not turn into ours by waiting, so waiting would only freeze the till.
    bool tolto = false;
    profiles_.Update(lock.gFileLock, [&](IniDocument& doc) {
        const std::string entry = Trim(doc.Get(s, k).value_or(std::string()));
        if (entry.empty() || entry != lock.gIdentitaLock) return false;
        tolto = true;
        return doc.DeleteKey(s, k);
    });
    return tolto;
}

std::vector<bool> SettingsStore::BloccaChiavi(const std::vector<SectionKey>& chiavi) {
    std::vector<bool> presi(chiavi.size(), false);
    std::vector<bool> liberiAllaFine(chiavi.size(), true);
    auto entry = [](const IniDocument& doc, const SectionKey& c) {
        return Trim(doc.Get(Trim(c.first), Trim(c.second) + "-LOCKED").value_or(std::string()));
    };
    for (int giro = 0; giro <= lock.gLockCicli; ++giro) {
        const bool ultimo = giro == lock.gLockCicli;
        bool tutti = false;
        const bool ok = profiles_.Update(lock.gFileLock, [&](IniDocument& doc) {
            std::vector<bool> liberi(chiavi.size());
            tutti = true;
            for (std::size_t i = 0; i < chiavi.size(); ++i) {
                const std::string e = entry(doc, chiavi[i]);
                liberi[i] = e.empty() || e == lock.gIdentitaLock || scaduti_.count(e) > 0;
                if (!liberi[i] && ultimo) scaduti_.insert(e);
                tutti = tutti && liberi[i];
            }
            liberiAllaFine = liberi;
            if (!tutti && !ultimo) return false;
            // After a whole wait the entries still held are a dead or hung till's: they are
            // taken over (and logged below), which the data file's own lock makes safe.
            bool cambiato = false;
            for (std::size_t i = 0; i < chiavi.size(); ++i) {
                presi[i] = true;
                cambiato = doc.Set(Trim(chiavi[i].first), Trim(chiavi[i].second) + "-LOCKED",
                                   lock.gIdentitaLock) ||
                           cambiato;
            }
            return cambiato;
        });
        if (!ok || tutti) break;  // lock file unreachable, or all taken
        if (!ultimo) sleeper_.Sleep(lock.gLockAttesaMs);
    }
    for (std::size_t i = 0; i < chiavi.size(); ++i)
        if (!presi[i] || !liberiAllaFine[i])
            LogErrore("L - " + Trim(chiavi[i].first) + " - " + Trim(chiavi[i].second));
    return presi;
}

void SettingsStore::SbloccaChiavi(const std::vector<SectionKey>& chiavi) {
    if (chiavi.empty()) return;
    if (profiles_.InBatch()) Esito(profiles_.FlushAll());
    profiles_.Update(lock.gFileLock, [&](IniDocument& doc) {
        bool cambiato = false;
        for (const SectionKey& c : chiavi) {
            const std::string s = Trim(c.first);
            const std::string k = Trim(c.second) + "-LOCKED";
            if (Trim(doc.Get(s, k).value_or(std::string())) != lock.gIdentitaLock) continue;
            cambiato = doc.DeleteKey(s, k) || cambiato;
        }
        return cambiato;
    });
}

void SettingsStore::SbloccaChiaviProprie() {
    if (lock.gIdentitaLock.empty()) return;
    profiles_.Update(lock.gFileLock, [&](IniDocument& doc) {
        std::vector<SectionKey> proprie;
        for (const auto& sezione : doc.Sections())
            for (const auto& [k, v] : doc.Entries(sezione))
                if (k.size() > 7 &&
                    EqualsNoCase(std::string_view(k).substr(k.size() - 7), "-LOCKED") &&
                    Trim(v) == lock.gIdentitaLock)
                    proprie.emplace_back(sezione, k);
        for (const SectionKey& c : proprie) doc.DeleteKey(c.first, c.second);
        return !proprie.empty();
    });
}

bool SettingsStore::AggiornaFileLock(const std::vector<SectionKey>& chiavi,
                                     const std::function<bool(IniDocument&)>& change) {
    std::vector<SectionKey> prese;
    bool ok = false;
    for (int giro = 0; giro <= lock.gLockCicli; ++giro) {
        const bool ultimo = giro == lock.gLockCicli;
        bool attendi = false;
        prese.clear();
        ok = profiles_.Update(lock.gFileLock, [&](IniDocument& doc) {
            for (const SectionKey& c : chiavi) {
                const std::string e = Trim(
                    doc.Get(Trim(c.first), Trim(c.second) + "-LOCKED").value_or(std::string()));
                if (e.empty() || e == lock.gIdentitaLock) continue;
                if (!ultimo && !scaduti_.count(e)) {
                    attendi = true;
                    return false;
                }
                if (ultimo) scaduti_.insert(e);
                prese.push_back(c);  // a dead till's entry: taken over, so removed
                doc.DeleteKey(Trim(c.first), Trim(c.second) + "-LOCKED");
            }
            return change(doc) || !prese.empty();
        });
        if (!ok || !attendi) break;
        sleeper_.Sleep(lock.gLockAttesaMs);
    }
    for (const SectionKey& c : prese) LogErrore("L - " + Trim(c.first) + " - " + Trim(c.second));
    return ok;
}

SettingsStore::TransactionResult SettingsStore::IniziaTransazione(const std::string& file) {
    using T = ProfileStore::TxStatus;
    switch (profiles_.BeginTransaction(file, true)) {
        case T::Ok:
            return TransactionResult::Ok;
        case T::Busy:
            return TransactionResult::Occupato;
        case T::Unreadable:
            return TransactionResult::Illeggibile;
        case T::Gone:
            return TransactionResult::Sparito;
    }
    return TransactionResult::Occupato;
}

bool SettingsStore::RipristinaFile(const std::string& file) {
    const IniDocument* ultimo = profiles_.LastGood(file);
    if (!ultimo || ultimo->Sections().empty()) return false;
    const IniDocument copia = *ultimo;
    bool fatto = false;
    const bool ok = profiles_.Restore(file, [&](IniDocument& doc) {
        // Only a file still gone is replaced: another till may have restored it meanwhile.
        if (!doc.Sections().empty()) return false;
        doc = copia;
        fatto = true;
        return true;
    });
    if (ok && fatto) LogErrore("D - " + file + " - ripristinato dall'ultima copia letta");
    return ok && fatto;
}

void SettingsStore::LogErrore(std::string_view value) {
    const std::string chiave = FormatDateTime(clock_.Now());
    const std::string v = SenzaACapo(value);
    profiles_.Update(lock.gFileLock,
                     [&](IniDocument& doc) { return doc.Set(kSezioneErrori, chiave, v); });
}

bool SettingsStore::EsisteFile(const std::string& path) {
    return files_.Exists(path);
}

void SettingsStore::CancellaFile(const std::string& path) {
    files_.Remove(path);
}

std::string SettingsStore::CreaCartella(const std::string& path) {
    files_.CreateFolder(path);
    return path;
}

std::string SettingsStore::CartellaTemp() {
    std::string t = SystemTempFolder();
    if (t.empty()) t = CreaCartella(programFolder_ + "/temp");
    if (t.empty() || t.back() != '/') t += '/';
    return t;
}

void SettingsStore::ApriConShell(const std::string& path) {
    shell_.Open(path);
}

void FiltroNumerico(int& keyCode, std::string_view text, int caret) {
    if (keyCode == 8 || keyCode == 9) return;
    if (keyCode < '0' || keyCode > '9') {
        keyCode = 0;
        return;
    }
    if (keyCode != '0' || text.empty()) return;
    // No leading zeros: not before a number, not after a lone leading "0".
    if (caret == 0 || (caret == 1 && text.front() == '0')) keyCode = 0;
}

}  // namespace vorsa
