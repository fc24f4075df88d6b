#pragma once
// The typed way to the settings files: every read and write names a declared key (keys.h), and
// an option's Set corrects the value, writes it and updates Options in one call, so a dialog
// field is wired to its option by table.
#include <string>
#include <string_view>

#include "settings/keys.h"
#include "settings/options.h"
#include "settings/settings_store.h"

namespace vorsa {

/// A key lock between tills (BloccaChiave) released at scope exit. Inactive when the till runs
/// alone, as every lock of the sale is taken only in multi-till mode.
class ScopedKeyLock {
  public:
    ScopedKeyLock(SettingsStore& store, KeyName name, bool active);
    ScopedKeyLock(ScopedKeyLock&& other) noexcept;
    ScopedKeyLock(const ScopedKeyLock&) = delete;
    ScopedKeyLock& operator=(const ScopedKeyLock&) = delete;
    ScopedKeyLock& operator=(ScopedKeyLock&&) = delete;
    ~ScopedKeyLock() { Release(); }
    /// Unlocks now (flushing what was written under it); later calls do nothing.
    void Release();

  private:
    SettingsStore* store_;
    KeyName name_;
    bool held_;
};

class SettingsGateway {
  public:
    SettingsGateway(SettingsStore& store, const Paths& paths, Options& options)
        : store_(store), paths_(paths), opt_(options) {}

    std::string Read(const KeyDef& k, const Idx& i = {}, bool direct = false);
    bool Write(const KeyDef& k, std::string_view value, const Idx& i = {});
    bool Delete(const KeyDef& k, const Idx& i = {});

    /// Start-up read of an option: the value corrected by its kind into Options, and the file
    /// healed where the key says so.
    void Load(const KeyDef& k, const Idx& i = {});
    /// Every index of an indexed option (kitchen orders: 1..`count` of them).
    void LoadAll(const KeyDef& k, int count = -1);
    /// A dialog or panel sets an option: corrected, written and held in Options. Returns the
    /// value now in force, as the file holds it.
    std::string Set(const KeyDef& k, std::string_view value, const Idx& i = {});

    /// The lock of a shared key, taken only in multi-till mode.
    ScopedKeyLock Lock(const KeyDef& k, const Idx& i = {});

    SettingsStore& store() { return store_; }
    const Paths& paths() const { return paths_; }
    Options& options() { return opt_; }
    const std::string& FileOf(const KeyDef& k) const { return paths_.Of(k.file); }

  private:
    SettingsStore& store_;
    const Paths& paths_;
    Options& opt_;
};

}  // namespace vorsa
