#pragma once
// Every option of the settings files, declared once with its file, key, default and range,
// read once at start-up into one Options object owned by the till.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/currency.h"

namespace vorsa {

class SettingsStore;

/// Which settings file an option lives in.
enum class OptionFile { Local, Data, Lock, Password };

/// Paths derived at start-up from the program folder.
struct Paths {
    std::string programFolder;  // P, without a trailing separator
    std::string gFileIni;
    std::string gFileDati;
    std::string gFileLock;
    std::string gCartellaStatistiche;
    std::string gCartellaDati;
    std::string gFileTmp;
    std::string gFilePassword;

    const std::string& Of(OptionFile f) const;
};

/// One header picture of the receipt.
struct HeaderImage {
    std::string path;  // empty when not used
    int height = 0;
    int width = 0;
    int percent = 0;
};

/// One kitchen-order configuration (sections COMANDA1, COMANDA2, ...).
struct KitchenOrderConfig {
    std::string nome;
    bool abilitato = false;
    std::string prodotti;
    std::string stampante;
    int formato = 0;
    int calcolaCarta = 0;
    std::array<int, 4> margini{};
    std::array<bool, 3> opz{};
};

struct Options {
    // PROGRAMMA
    char gSeparatore = ';';
    bool gMostraRimanenza = false;
    std::string gPrefisso;
    int gSogliaProdotti = 15;
    int gSogliaTipo = 0;
    int gBottoniColonne = 2;
    int gBottoniAltezza = 495;
    int gBottoniBordo = 120;
    int gBottoniInterlinea = 50;
    bool gBordiMagnetici = true;
    int gSensibilita = 20;
    bool gAggiornamenti = true;

    // MONETE
    std::array<Currency, 10> gMonete{};

    // STAMPA
    bool gStampaAbilitata = true;
    std::string gStampante;
    int gFormato = 2;
    std::string gLarghezzaPos;
    int gCalcolaCarta = 0;
    int gCumulativo = 0;
    std::array<int, 2> gCopie{1, 1};
    std::string gTitoloScontrino;
    std::string gTitoloScontrino2;
    std::string gPiede;
    std::string gTestoRitiro;
    std::array<bool, 3> gTitoloSottolineato{true, true, true};
    bool gTaglioAlternativo = false;
    bool gProgressivo = true;
    bool gProgressivoPiede = true;
    bool gTicketRitiro = true;
    bool gTicketRitiroBarre = true;
    bool gTicketRitiroGruppo = true;
    bool gRiduciCarattereRiga = true;
    bool gStampaPrezzi = true;
    bool gScontriniQta = true;
    bool gScontriniDataOra = true;
    bool gStampaTotale = true;
    bool gTotaleNoSingolo = true;
    bool gNomeGruppo = true;
    std::array<int, 4> gMargini{};
    std::array<bool, 2> gRiepilogo{true, true};
    std::array<HeaderImage, 2> gImmagini{};

    // STAMPA AVANZATA
    std::string gGruppiAvanzati;  // the raw GRUPPI list
    bool gStampaAvanzata = false;

    // COMANDA
    int gNumeroComande = 2;
    std::vector<KitchenOrderConfig> gComande;  // index 0 is order 1

    // MULTIVORSA
    bool gMultiVorsa = false;
    bool gPrincipale = false;
    std::string gSistemaRemoto;
    std::string gNomeStazione;
    std::string gLockSuffisso;
    std::string gIdentitaLock;
    int gLockAttesaMs = 20;
    int gLockCicli = 200;
};

/// Kinds of simple options and how a bad value is handled.
enum class OptionKind {
    Int,       // decimal integer in [min, max]; otherwise the default
    Bool,      // "0" or "1" after conversion to a number; otherwise the default
    Flag,      // on exactly when the value is "1"
    Text,      // any text, kept as it is
    Title,     // text cut to 30 characters in memory; a missing key is written back empty
};

struct OptionDef {
    OptionFile file;
    std::string_view section;
    std::string_view key;
    OptionKind kind;
    int def = 0;
    int min = 0;
    int max = 0;
    bool writeBack = false;  // an out-of-range value is replaced in the file too
    // Exactly one target is set.
    int Options::* intField = nullptr;
    bool Options::* boolField = nullptr;
    std::string Options::* textField = nullptr;
};

/// The table of simple options (the special ones are read by LeggiOpzioni's own steps).
const std::vector<OptionDef>& OptionTable();

/// Reads one simple option into `o`, writing back where its definition says so.
void LeggiOpzione(SettingsStore& store, const Paths& paths, const OptionDef& def, Options& o);

/// Default labels of the function keys F1..F7 and the default coin values S0..S9.
extern const std::array<std::string_view, 7> kEtichetteAzioni;
extern const std::array<std::string_view, 10> kMoneteDefault;

/// Clamp rule shared by the numeric options: a value outside [min, max] (an empty or
/// non-numeric text reads as 0) gives `def`.
int IntoRange(std::string_view text, int def, int min, int max);

}  // namespace vorsa
