#pragma once
// Every key of the settings files, declared once: file, section, key, kind, default, range,
// write-back, and where its value lives in Options. Indexed keys carry '#' in their section or
// key name: "COPIE#" with index 1 is "COPIE1"; "COMANDA#"/"MARGINE#" takes two indices.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "settings/options.h"

namespace vorsa {

/// How a stored text becomes a value and what a bad one gives.
enum class OptionKind {
    Int,       // decimal integer in [min, max]; otherwise the default
    Bool,      // "0" or "1" after conversion to a number; otherwise the default
    Flag,      // on exactly when the value is "1"
    Text,      // any text, kept as it is
    Title,     // text cut to 30 characters in memory; a missing key is written back empty
    Saturate,  // a number held into [min, max]: below gives min, above gives max
    Amount,    // an amount ("2,3"); empty or unreadable gives the text default
    Si,        // on exactly when the value is "si" in any case; written as "Si" when missing
    Record,    // a data record or counter: no default, no clamp, not an option
};

/// The indices of an indexed key, taken in order by the '#' marks of section and key.
/// A section named by text (an article line's "MANGIARE") is given as text.
class Idx {
  public:
    Idx() = default;
    Idx(int a) : parts_{std::to_string(a), {}}, n_(1) {}  // NOLINT: an index reads naturally
    Idx(int a, int b) : parts_{std::to_string(a), std::to_string(b)}, n_(2) {}
    Idx(std::string_view name, int b) : parts_{std::string(name), std::to_string(b)}, n_(2) {}
    Idx(std::string_view name) : parts_{std::string(name), {}}, n_(1) {}  // NOLINT
    const std::string& Part(int i) const { return parts_[static_cast<std::size_t>(i)]; }
    int Size() const { return n_; }
    /// The first index as a number (0 when none).
    int First() const;
    int Second() const;

  private:
    std::array<std::string, 2> parts_{};
    int n_ = 0;
};

struct KeyDef {
    OptionFile file;
    std::string_view section;
    std::string_view key;
    OptionKind kind = OptionKind::Record;
    int def = 0;
    int min = 0;
    int max = 0;
    bool writeBack = false;      // a missing or out-of-range value is replaced in the file too
    std::string_view textDef{};  // default of Text, Amount and Title keys
    int count = 1;               // indices 0..count-1 (or first..first+count-1)
    int first = 0;
    /// Puts a value, already corrected by the kind's rule, into Options; null for records and
    /// for keys that start-up interprets itself (a picture that must exist, a window position).
    void (*apply)(Options&, const Idx&, std::string_view) = nullptr;
    /// The in-memory value as the file would hold it; null where apply is null.
    std::string (*show)(const Options&, const Idx&) = nullptr;
};

/// The section and key a definition names for `idx`.
struct KeyName {
    std::string section;
    std::string key;
};
KeyName Resolve(const KeyDef& def, const Idx& idx = {});

/// The declared default of `idx` as the file holds it.
std::string DefaultOf(const KeyDef& def, const Idx& idx = {});

/// The value the kind's rule makes of a stored text (`v` as read, trimmed).
std::string Correct(const KeyDef& def, std::string_view v);

/// Clamp rule shared by the numeric options: a value outside [min, max] (an empty or
/// non-numeric text reads as 0) gives `def`.
int IntoRange(std::string_view text, int def, int min, int max);

/// Every declared key; the option dialogs and the table test walk it.
const std::vector<const KeyDef*>& AllKeys();
/// The option with this section and key (indexed names given with '#'), or null.
const KeyDef* FindKey(std::string_view section, std::string_view key);

namespace keys {
// PROGRAMMA
extern const KeyDef Rimanenza, SogliaProdotti, SogliaTipo, BottoniColonne, BottoniAltezza,
    BottoniBordo, BottoniInterlinea, NomeVorsa, Separatore, BordiMagnetici, Sensibilita,
    Aggiornamenti, VersioneIni, TimerCodiciMs, Eula, FinestraTop, FinestraLeft, FinestraWidth,
    FinestraMode;
// MONETE, AZIONI
extern const KeyDef Moneta, EtichettaAzione, PasswordAzione;
// STAMPA
extern const KeyDef StampaAbilitata, Stampante, Formato, LarghezzaPos, CalcolaCarta, Cumulativo,
    Copie, Titolo, Titolo2, Piede, TestoRitiro, TitoloSottolineato, TaglioAlternativo, Progressivo,
    ProgressivoPiede, TicketRitiro, TicketRitiroBarre, TicketRitiroGruppo, RiduciCarattereRiga,
    Prezzi, ScontriniQta, ScontriniDataOra, Totale, TotaleNoSingolo, NomeGruppo, Margine, Summary,
    Immagine, ImmagineAltezza, ImmagineLarghezza, ImmaginePercento, GruppiAvanzati;
// COMANDA, COMANDAn
extern const KeyDef NumeroComande, ComandaNome, ComandaAbilitata, ComandaProdotti, ComandaStampante,
    ComandaFormato, ComandaCalcolaCarta, ComandaMargine, ComandaOpzione;
// MULTIVORSA (local file and lock file)
extern const KeyDef MultiVorsa, Principale, SistemaRemoto, LockAttesaMs, LockCicli, NomeStazione,
    LockSuffisso, LockOrigine, PasswordMulti, Stazione, PezziCondivisi, PezziTenuti;
// Catalogue and records of the data file
extern const KeyDef Dimensione, Articolo, StatData, StatScontrini, StatArticolo, Scontrino,
    ScontrinoCommento, Storni, Nota, StatCommento, Consegnate, ScortaSuperata, Pronto;
// WEB (local file): the pages the main till serves on the festival network
extern const KeyDef WebAbilitato, WebPorta, PinCucina, PinIncassi;
}  // namespace keys

}  // namespace vorsa
