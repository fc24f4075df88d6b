#pragma once
// The web pages' options of this till's own Vorsa.ini ([WEB]) and the guard of their PINs.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "settings/settings_gateway.h"

namespace vorsa {

/// A PIN is 4 to 8 digits.
bool PinValido(std::string_view pin);

/// Reads [WEB] into Options. A PIN that does not decode to a valid one closes its page.
void CaricaOpzioniWeb(SettingsGateway& settings);
/// Stores a PIN scrambled, as the function keys' passwords are; an empty one removes it.
/// False, and nothing changes, for a PIN that is neither empty nor valid.
bool ImpostaPin(SettingsGateway& settings, const KeyDef& key, std::string_view pin);

/// Wrong PINs per address: after five in a row that address waits a minute. A right PIN
/// forgets the address's mistakes.
class PinGuard {
  public:
    enum class Outcome { Ok, Sbagliato, Bloccato };
    static constexpr int kTentativi = 5;
    static constexpr std::int64_t kAttesaMs = 60'000;

    /// `atteso` empty: the page has no PIN set and refuses everyone. A request without a PIN is
    /// refused without counting as a mistake.
    Outcome Prova(const std::string& indirizzo, std::string_view pin, std::string_view atteso,
                  std::int64_t oraMs);

  private:
    struct Failures {
        int volte = 0;
        std::int64_t finoA = 0;  // blocked until this time
    };
    std::map<std::string, Failures> errori_;
};

}  // namespace vorsa
