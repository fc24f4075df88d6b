#include "settings/settings_gateway.h"

#include <utility>

#include "platform/text.h"

namespace vorsa {

ScopedKeyLock::ScopedKeyLock(SettingsStore& store, KeyName name, bool active)
    : store_(&store), name_(std::move(name)), held_(active) {
    if (held_) store_->BloccaChiave(name_.section, name_.key);
}

ScopedKeyLock::ScopedKeyLock(ScopedKeyLock&& other) noexcept
    : store_(other.store_), name_(std::move(other.name_)), held_(other.held_) {
    other.held_ = false;
}

void ScopedKeyLock::Release() {
    if (!held_) return;
    held_ = false;
    store_->SbloccaChiave(name_.section, name_.key);
}

std::string SettingsGateway::Read(const KeyDef& k, const Idx& i, bool direct) {
    const KeyName n = Resolve(k, i);
    return store_.LeggiIni(n.section, n.key, FileOf(k), direct);
}

bool SettingsGateway::Write(const KeyDef& k, std::string_view value, const Idx& i) {
    const KeyName n = Resolve(k, i);
    return store_.ScriviIni(n.section, n.key, value, FileOf(k));
}

bool SettingsGateway::Delete(const KeyDef& k, const Idx& i) {
    const KeyName n = Resolve(k, i);
    return store_.CancellaChiave(n.section, n.key, FileOf(k));
}

namespace {

/// The value in force for a stored text `v`, and whether the file must be healed with it.
struct Verdict {
    std::string value;
    bool heal = false;
};

Verdict Giudica(const KeyDef& k, const Idx& i, std::string_view v) {
    switch (k.kind) {
        case OptionKind::Amount:
            // A hand-edited value that is no amount keeps the default in force, in memory only.
            if (v.empty()) return {DefaultOf(k, i), true};
            return {ParseCurrency(v) ? std::string(v) : DefaultOf(k, i), false};
        case OptionKind::Si:
            if (v.empty()) return {"1", true};
            return {Correct(k, v), false};
        case OptionKind::Title:
            return {Correct(k, v), v.empty()};
        case OptionKind::Text:
            // The separator: one character, else the default written back. A character that
            // the records themselves use (digits, the decimal comma, the dashes, slashes and
            // colons of archived receipts, the stars of voids, blanks) would split their fields.
            if (k.writeBack &&
                (v.size() != 1 ||
                 std::string_view("0123456789,.-/:* \t").find(v[0]) != std::string_view::npos))
                return {DefaultOf(k, i), true};
            return {std::string(v), false};
        default: {
            std::string c = Correct(k, v);
            const bool heal = k.writeBack && c != v;
            return {std::move(c), heal};
        }
    }
}

/// What the file gets when a value is healed or set: the value itself, but "Si"/"No" for a
/// switch that is stored as a word.
std::string Stored(const KeyDef& k, const std::string& value) {
    if (k.kind == OptionKind::Si) return value == "1" ? "Si" : "No";
    return value;
}

}  // namespace

void SettingsGateway::Load(const KeyDef& k, const Idx& i) {
    const std::string v = Read(k, i);
    const Verdict d = Giudica(k, i, v);
    if (k.apply) k.apply(opt_, i, d.value);
    if (d.heal) Write(k, k.kind == OptionKind::Title ? std::string() : Stored(k, d.value), i);
}

void SettingsGateway::LoadAll(const KeyDef& k, int count) {
    if (k.section.find('#') == std::string_view::npos) {
        for (int n = k.first; n < k.first + k.count; ++n) Load(k, n);
        return;
    }
    // Kitchen orders 1..count; MARGINE0..3 and OPZ1..3 inside each.
    const bool inner = k.key.find('#') != std::string_view::npos;
    const int lo = k.key.rfind("OPZ", 0) == 0 ? 1 : 0;
    for (int o = 1; o <= count; ++o) {
        if (!inner)
            Load(k, o);
        else
            for (int m = lo; m <= 3; ++m) Load(k, Idx(o, m));
    }
}

std::string SettingsGateway::Set(const KeyDef& k, std::string_view value, const Idx& i) {
    const std::string v = Trim(value);
    const std::string c = Giudica(k, i, v).value;
    if (k.apply) k.apply(opt_, i, c);
    std::string stored = Stored(k, c);
    Write(k, stored, i);
    return stored;
}

ScopedKeyLock SettingsGateway::Lock(const KeyDef& k, const Idx& i) {
    return ScopedKeyLock(store_, Resolve(k, i), opt_.gMultiVorsa);
}

}  // namespace vorsa
