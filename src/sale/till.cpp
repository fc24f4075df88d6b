#include "sale/till.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "platform/text.h"

namespace vorsa {
namespace {

/// Digits of major, minor and revision one after the other: 1.4.7 -> 147.
std::int16_t NumeroVersione(const Version& v) {
    const std::string s =
        std::to_string(v.major) + std::to_string(v.minor) + std::to_string(v.revision);
    const long n = std::stol(s);
    return static_cast<std::int16_t>(n > 32767 ? 32767 : n);
}

}  // namespace

Till::Till(Services services, std::string programFolder, Version v)
    : svc(services),
      store(services.files, services.clock, services.sleeper, services.shell, programFolder),
      settings(store, paths, opt),
      version(v),
      gVersione(std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
                std::to_string(v.revision)),
      gNumeroVersione(NumeroVersione(v)),
      gTitolo("   Programma di gestione vorsa  -  NON FISCALE  -  (ver. " + gVersione + ")"),
      attesa(services.files, programFolder + "/" + kFileAttesa) {
    paths.programFolder = std::move(programFolder);
}

long long ContatoreCondiviso(const std::optional<std::string>& testo) {
    // Anyone on the share can write the lock file: a negative count holds no piece.
    return std::clamp<long long>(testo ? Val(*testo) : 0, 0,
                                 std::numeric_limits<std::int16_t>::max());
}

std::vector<std::pair<int, long long>> PezziTenutiQui(SettingsGateway& settings) {
    // One read of the till's own file for the whole section.
    const KeyName s = Resolve(keys::PezziTenuti, 1);
    std::vector<std::pair<int, long long>> tenuti;
    const IniDocument& doc = settings.store().profiles().Document(settings.paths().gFileIni);
    for (const auto& [chiave, valore] : doc.Entries(s.section)) {
        const long long n = Val(chiave);
        const long long q = std::max(0LL, Val(valore));
        if (n >= 1 && n <= std::numeric_limits<std::int16_t>::max() && q > 0)
            tenuti.emplace_back(static_cast<int>(n), q);
    }
    return tenuti;
}

bool RestituisciPezzi(SettingsGateway& settings,
                      const std::vector<std::pair<int, long long>>& pezzi) {
    if (pezzi.empty()) return true;
    std::vector<SettingsStore::SectionKey> chiavi;
    for (const auto& [n, q] : pezzi) {
        const KeyName k = Resolve(keys::PezziCondivisi, n);
        chiavi.emplace_back(k.section, k.key);
    }
    // Every counter in one locked write of the lock file, then this till's own record of them
    // in one write of its own file.
    const bool ok = settings.store().AggiornaFileLock(chiavi, [&](IniDocument& doc) {
        bool cambiato = false;
        for (std::size_t i = 0; i < pezzi.size(); ++i) {
            const auto& [sezione, chiave] = chiavi[i];
            const long long resto =
                std::max(0LL, ContatoreCondiviso(doc.Get(sezione, chiave)) - pezzi[i].second);
            cambiato = doc.Set(sezione, chiave, std::to_string(resto)) || cambiato;
        }
        return cambiato;
    });
    if (!ok) return false;
    SettingsStore& st = settings.store();
    st.IniziaBlocco();
    for (const auto& [n, q] : pezzi) settings.Write(keys::PezziTenuti, "0", n);
    return st.ChiudiBlocco();
}

}  // namespace vorsa
