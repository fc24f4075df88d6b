#include "update/controlla_versione.h"

#include <utility>

namespace vorsa {

std::string TestoNuovaVersione() {
    return "E' stata rilasciata una vuova versione del programma, \xE8 possibile scaricarla "
           "da:\r\n\r\n" +
           std::string(kIndirizzoVersione);
}

namespace {

/// Decimal value of the digits, nullopt above a byte: the old code overflowed there.
std::optional<int> Byte(std::string_view digits) {
    int v = 0;
    for (const char c : digits) {
        v = v * 10 + (c - '0');
        if (v > 255) return std::nullopt;
    }
    return v;
}

}  // namespace

bool VersionePiuNuova(const LocalVersion& local, std::string_view remote) {
    if (remote.empty()) return false;
    for (const char c : remote)
        if (c < '0' || c > '9') return false;
    const std::optional<int> major = Byte(remote.substr(0, 1));
    const std::optional<int> minor = Byte(remote.size() > 1 ? remote.substr(1, 1) : "");
    const std::optional<int> revision = Byte(remote.size() > 2 ? remote.substr(2) : "");
    if (!major || !minor || !revision) return false;
    return local.major <= *major && local.minor <= *minor && local.revision < *revision;
}

ControllaVersione::ControllaVersione(SettingsStore& store, FileAccess& files,
                                     Downloader& scaricatore, LocalVersion local, std::string url)
    : store_(store),
      files_(files),
      scaricatore_(scaricatore),
      local_(local),
      url_(std::move(url)) {}

void ControllaVersione::Avvia(std::function<void(bool)> esito) {
    std::weak_ptr<bool> vivo = vivo_;
    scaricatore_.Scarica(url_,
                         [this, vivo, esito = std::move(esito)](std::optional<std::string> body) {
                             if (vivo.expired()) return;  // the till closed before the answer came
                             const bool nuova = body && Valuta(*body);
                             if (esito) esito(nuova);
                         });
}

bool ControllaVersione::Valuta(const std::string& body) {
    const std::string target = store_.CartellaTemp() + "VerVorsa.txt";
    // Replaced atomically: a name planted in the shared temporary folder is not followed.
    if (!files_.ReplaceAll(target, body)) return false;
    const std::string remote = store_.LeggiIni("VORSA", "Versione", target, true);
    const bool nuova = VersionePiuNuova(local_, remote);
    store_.CancellaFile(target);
    return nuova;
}

}  // namespace vorsa
