#pragma once
// The seven function keys F1..F7.
#include <array>
#include <string>

#include "settings/options.h"

namespace vorsa {

class SettingsGateway;

struct Azione {
    std::string caption1;
    std::string caption2;
    int colour = 0;
    bool stato = false;
    bool enabled = true;
    std::string password;  // plain text; empty when none
};

inline constexpr int kNumeroAzioni = 7;

/// Index 1..7; index 0 unused.
using Azioni = std::array<Azione, kNumeroAzioni + 1>;

/// Reads AZIONI/F1..F7 (defaults written back when empty) and splits each label at the
/// separator into the two captions of at most 14 characters.
void CaricaAzioni(SettingsGateway& settings, Azioni& azioni);
/// Reads the passwords of F5..F7 from the password file.
void CaricaPassword(SettingsGateway& settings, Azioni& azioni);

}  // namespace vorsa
