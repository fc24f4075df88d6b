#include "sale/actions.h"

#include "platform/text.h"
#include "settings/settings_gateway.h"

namespace vorsa {
namespace {

constexpr std::size_t kLunghezzaCaption = 14;
constexpr std::array<int, kNumeroAzioni + 1> kColori = {0,        0x00FF00, 0xFF00FF, 0xFF0000,
                                                        0x00FFFF, 0xFFFF00, 0x000000, 0x000000};

}  // namespace

void CaricaAzioni(SettingsGateway& settings, Azioni& azioni) {
    const Options& o = settings.options();
    for (int n = 1; n <= kNumeroAzioni; ++n) {
        Azione& a = azioni[n];
        a.stato = false;
        a.enabled = true;
        a.password.clear();
        a.colour = kColori[n];
        std::string label = settings.Read(keys::EtichettaAzione, n);
        if (label.empty()) {
            label = DefaultOf(keys::EtichettaAzione, n);
            settings.Write(keys::EtichettaAzione, label, n);
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

void CaricaPassword(SettingsGateway& settings, Azioni& azioni) {
    for (int n = 5; n <= 7; ++n) {
        const std::string v = settings.Read(keys::PasswordAzione, n);
        if (!v.empty()) azioni[n].password = DecodificaPassword(kChiavePassword, v);
    }
}

}  // namespace vorsa
