#pragma once
// The options of the settings files as the till holds them in memory; their keys, defaults and
// ranges are declared once in settings/keys.h.
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

/// The options in memory. A new Options holds every key's default from the key table.
struct Options {
    Options();

    // PROGRAMMA
    char gSeparatore;
    bool gMostraRimanenza;
    std::string gPrefisso;
    int gSogliaProdotti;
    int gSogliaTipo;
    int gBottoniColonne;
    int gBottoniAltezza;
    int gBottoniBordo;
    int gBottoniInterlinea;
    bool gBordiMagnetici;
    int gSensibilita;
    bool gAggiornamenti;

    // MONETE
    std::array<Currency, 10> gMonete;

    // STAMPA
    bool gStampaAbilitata;
    std::string receiptPrinterName;
    int gFormato;
    std::string posWidth;
    int gCalcolaCarta;
    int gCumulativo;
    std::array<int, 2> gCopie;
    std::string gTitoloScontrino;
    std::string gTitoloScontrino2;
    std::string gPiede;
    std::string gTestoRitiro;
    std::array<bool, 3> gTitoloSottolineato;
    bool gTaglioAlternativo;
    bool gProgressivo;
    bool gProgressivoPiede;
    bool gTicketRitiro;
    bool gTicketRitiroBarre;
    bool gTicketRitiroGruppo;
    bool gRiduciCarattereRiga;
    bool gStampaPrezzi;
    bool gScontriniQta;
    bool gScontriniDataOra;
    bool gStampaTotale;
    bool gTotaleNoSingolo;
    bool gNomeGruppo;
    std::array<int, 4> gMargini;
    std::array<bool, 2> gRiepilogo;
    std::array<HeaderImage, 2> headerImages;

    // STAMPA AVANZATA
    std::string advancedGroups;  // the raw GRUPPI list
    bool gStampaAvanzata = false;

    // COMANDA
    int gNumeroComande;
    std::vector<KitchenOrderConfig> gComande;  // index 0 is order 1

    // MULTIVORSA
    bool gMultiVorsa;
    bool gPrincipale;
    std::string gSistemaRemoto;
    std::string multiTillPassword;  // the share's password, plain; empty: guests
    std::string gNomeStazione;
    std::string lockSuffix;
    std::string gIdentitaLock;
    int gLockAttesaMs;
    int gLockCicli;

    // WEB
    bool webEnabled;
    int webPort;
    std::string kitchenPin;  // plain; empty: the page is closed
    std::string takingsPin;
};

}  // namespace vorsa
