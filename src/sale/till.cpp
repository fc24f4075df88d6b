#include "sale/till.h"

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
      gTitolo("   Programma di gestione vorsa  -  NON FISCALE  -  (ver. " + gVersione + ")") {
    paths.programFolder = std::move(programFolder);
}

void RestituisciPezzi(SettingsGateway& settings, int index, long long pezzi) {
    ScopedKeyLock lock = settings.Lock(keys::PezziCondivisi, index);
    long long contatore = Val(settings.Read(keys::PezziCondivisi, index, true)) - pezzi;
    if (contatore < 0) contatore = 0;
    settings.Write(keys::PezziCondivisi, std::to_string(contatore), index);
    settings.Write(keys::PezziTenuti, "0", index);
}

}  // namespace vorsa
