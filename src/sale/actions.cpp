#include "sale/actions.h"

#include "platform/text.h"
#include "settings/settings_store.h"

namespace vorsa {
namespace {

constexpr std::size_t kLunghezzaCaption = 14;
constexpr std::array<int, kNumeroAzioni + 1> kColori = {
    0, 0x00FF00, 0xFF00FF, 0xFF0000, 0x00FFFF, 0xFFFF00, 0x000000, 0x000000};

}  // namespace

void CaricaAzioni(SettingsStore& store, const Options& o, const Paths& paths, Azioni& azioni) {
    for (int n = 1; n <= kNumeroAzioni; ++n) {
        Azione& a = azioni[n];
        a.stato = false;
        a.enabled = true;
        a.password.clear();
        a.colour = kColori[n];
        const std::string chiave = "F" + std::to_string(n);
        std::string label = store.LeggiIni("AZIONI", chiave, paths.gFileIni);
        if (label.empty()) {
            label = kEtichetteAzioni[n - 1];
            store.ScriviIni("AZIONI", chiave, label, paths.gFileIni);
        }
        const auto sep = label.find(o.gSeparatore);
        if (sep == std::string::npos) {
            a.caption1 = Left(label, kLunghezzaCaption);
            a.caption2.clear();
        } else {
            a.caption1 = Left(label.substr(0, sep), kLunghezzaCaption);
            a.caption2 = Left(label.substr(sep + 1), kLunghezzaCaption);
        }
    }
}

void CaricaPassword(SettingsStore& store, const Paths& paths, Azioni& azioni) {
    for (int n = 5; n <= 7; ++n) {
        const std::string v =
            store.LeggiIni("AZIONI", "PASSF" + std::to_string(n), paths.gFilePassword);
        if (!v.empty()) azioni[n].password = DecodificaPassword(kChiavePassword, v);
    }
}

}  // namespace vorsa
