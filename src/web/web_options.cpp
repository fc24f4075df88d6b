#include "web/web_options.h"

#include <algorithm>

namespace vorsa {

bool PinValido(std::string_view pin) {
    return pin.size() >= 4 && pin.size() <= 8 &&
           std::all_of(pin.begin(), pin.end(), [](char c) { return c >= '0' && c <= '9'; });
}

namespace {

std::string LeggiPin(SettingsGateway& settings, const KeyDef& key) {
    const std::string stored = settings.Read(key);
    if (stored.empty()) return {};
    std::string pin = DecodificaPassword(kChiavePassword, stored);
    return PinValido(pin) ? pin : std::string();
}

}  // namespace

void CaricaOpzioniWeb(SettingsGateway& settings) {
    settings.Load(keys::WebAbilitato);
    settings.Load(keys::WebPorta);
    Options& o = settings.options();
    o.kitchenPin = LeggiPin(settings, keys::PinCucina);
    o.takingsPin = LeggiPin(settings, keys::PinIncassi);
}

bool ImpostaPin(SettingsGateway& settings, const KeyDef& key, std::string_view pin) {
    if (!pin.empty() && !PinValido(pin)) return false;
    const bool ok = pin.empty() ? settings.Delete(key)
                                : settings.Write(key, CodificaPassword(kChiavePassword, pin));
    if (ok)
        (&key == &keys::PinCucina ? settings.options().kitchenPin : settings.options().takingsPin) =
            std::string(pin);
    return ok;
}

PinGuard::Outcome PinGuard::Prova(const std::string& indirizzo, std::string_view pin,
                                  std::string_view atteso, std::int64_t oraMs) {
    // Forget addresses whose block is over, so that a scan of the network cannot grow the map.
    if (errori_.size() > 4096)
        std::erase_if(errori_, [oraMs](const auto& e) { return e.second.finoA <= oraMs; });
    auto it = errori_.find(indirizzo);
    if (it != errori_.end() && it->second.finoA > oraMs) return Outcome::Bloccato;
    if (!atteso.empty() && pin == atteso) {
        if (it != errori_.end()) errori_.erase(it);
        return Outcome::Ok;
    }
    if (pin.empty()) return Outcome::Sbagliato;  // no guess: a page opened before its PIN
    Failures& e = errori_[indirizzo];
    if (e.finoA != 0) e = {};  // a block that is over starts the count again
    if (++e.volte >= kTentativi) e.finoA = oraMs + kAttesaMs;
    return Outcome::Sbagliato;
}

}  // namespace vorsa
