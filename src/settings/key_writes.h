#pragma once
// Option changes that touch several keys at once, each landing in its file in one write so a
// till killed halfway leaves the old values or the new ones, never a mix.
#include <string>
#include <vector>

#include "settings/keys.h"

namespace vorsa {

class SettingsGateway;

struct KeyWrite {
    const KeyDef* key;
    Idx idx;
    std::string value;
};

/// Sets every option (corrected, written and held in Options) in one batch.
void ImpostaInsieme(SettingsGateway& g, const std::vector<KeyWrite>& scritture);

/// Writes the values as they are, in one batch: for keys that start-up interprets itself.
void ScriviInsieme(SettingsGateway& g, const std::vector<KeyWrite>& scritture);

/// Kitchen-order configurations: a new one named "Comanda " and its number; false at the
/// limit of configurations.
bool AggiungiComanda(SettingsGateway& g);
/// Removes the last configuration with its section; false while only one exists.
bool RimuoviComanda(SettingsGateway& g);

}  // namespace vorsa
