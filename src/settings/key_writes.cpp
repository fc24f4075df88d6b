#include "settings/key_writes.h"

#include "settings/settings_gateway.h"

namespace vorsa {

void ImpostaInsieme(SettingsGateway& g, const std::vector<KeyWrite>& scritture) {
    g.store().IniziaBlocco();
    for (const KeyWrite& s : scritture) g.Set(*s.key, s.value, s.idx);
    g.store().ChiudiBlocco();
}

void ScriviInsieme(SettingsGateway& g, const std::vector<KeyWrite>& scritture) {
    g.store().IniziaBlocco();
    for (const KeyWrite& s : scritture) g.Write(*s.key, s.value, s.idx);
    g.store().ChiudiBlocco();
}

bool AggiungiComanda(SettingsGateway& g) {
    const int n = static_cast<int>(g.options().gComande.size());
    if (n >= keys::NumeroComande.max) return false;
    ImpostaInsieme(g, {{&keys::NumeroComande, {}, std::to_string(n + 1)},
                       {&keys::ComandaNome, Idx(n + 1), "Comanda " + std::to_string(n + 1)}});
    return true;
}

bool RimuoviComanda(SettingsGateway& g) {
    Options& o = g.options();
    const int n = static_cast<int>(o.gComande.size());
    if (n < 2) return false;
    g.store().IniziaBlocco();
    g.store().profiles().DeleteSection(g.FileOf(keys::ComandaNome),
                                       Resolve(keys::ComandaNome, Idx(n)).section);
    g.Set(keys::NumeroComande, std::to_string(n - 1));
    g.store().ChiudiBlocco();
    o.gComande.pop_back();
    return true;
}

}  // namespace vorsa
