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
      version(v),
      gVersione(std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
                std::to_string(v.revision)),
      gNumeroVersione(NumeroVersione(v)),
      gTitolo("   Programma di gestione vorsa  -  NON FISCALE  -  (ver. " + gVersione + ")") {
    paths.programFolder = std::move(programFolder);
}

void Till::RestituisciPezzi(int index, long long pezzi) {
    const std::string k = std::to_string(index);
    store.BloccaChiave("MULTIVORSA", k);
    long long contatore = Val(store.LeggiIni("MULTIVORSA", k, paths.gFileLock, true)) - pezzi;
    if (contatore < 0) contatore = 0;
    store.ScriviIni("MULTIVORSA", k, std::to_string(contatore), paths.gFileLock);
    store.ScriviIni("MULTIVORSA-TMP", k, "0", paths.gFileIni);
    store.SbloccaChiave("MULTIVORSA", k);
}

}  // namespace vorsa
