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

/// The function keys by number, as cmd_azioni(1..7) and F1..F7 name them.
inline constexpr int kAzionePaga = 1;          // pay, or reopen the bill
inline constexpr int kAzioneCancella = 2;      // clear the bill
inline constexpr int kAzioneStorno = 3;        // take off one piece
inline constexpr int kAzioneNuovoConto = 4;    // commit
inline constexpr int kAzioneRistampa = 5;      // print the last receipt again
inline constexpr int kAzioneStatistica = 6;    // statistics panel
inline constexpr int kAzioneImpostazioni = 7;  // settings panel

/// The frames frm_gestione(0..2).
inline constexpr int kPannelloStatistica = 0;
inline constexpr int kPannelloImpostazioni = 1;
inline constexpr int kPannelloPagamento = 2;

/// Index 1..7; index 0 unused.
using Azioni = std::array<Azione, kNumeroAzioni + 1>;

/// Reads AZIONI/F1..F7 (defaults written back when empty) and splits each label at the
/// separator into the two captions of at most 14 characters.
void CaricaAzioni(SettingsGateway& settings, Azioni& azioni);
/// Reads the passwords of F5..F7 from the password file.
void CaricaPassword(SettingsGateway& settings, Azioni& azioni);

}  // namespace vorsa
