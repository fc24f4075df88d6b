#include "settings/options.h"

#include "platform/text.h"
#include "settings/settings_store.h"

namespace vorsa {

const std::string& Paths::Of(OptionFile f) const {
    switch (f) {
        case OptionFile::Local: return gFileIni;
        case OptionFile::Data: return gFileDati;
        case OptionFile::Lock: return gFileLock;
        case OptionFile::Password: return gFilePassword;
    }
    return gFileIni;
}

const std::array<std::string_view, 7> kEtichetteAzioni = {
    "PAGA CONTO;RIAPRI CONTO", "CANCELLA", "STORNO", "NUOVO CONTO",
    ";IN CORSO...", "STATISTICA", "IMPOSTAZIONI"};

const std::array<std::string_view, 10> kMoneteDefault = {"0,05", "0,10", "0,20", "0,50", "1",
                                                         "2",    "5",    "10",   "20",   "50"};

int IntoRange(std::string_view text, int def, int min, int max) {
    // An empty or non-numeric value keeps the default in force, like an out-of-range one.
    if (!IsInteger(text)) return def;
    const long long v = Val(text);
    return (v < min || v > max) ? def : static_cast<int>(v);
}

namespace {

using O = Options;
constexpr OptionFile L = OptionFile::Local;
constexpr OptionFile D = OptionFile::Data;
constexpr int kMaxInt = 2147483647;

OptionDef Int(OptionFile f, std::string_view s, std::string_view k, int O::* field, int def,
              int min, int max, bool writeBack = false) {
    OptionDef d{f, s, k, OptionKind::Int, def, min, max, writeBack};
    d.intField = field;
    return d;
}
OptionDef Bool(OptionFile f, std::string_view s, std::string_view k, bool O::* field, bool def) {
    OptionDef d{f, s, k, OptionKind::Bool, def ? 1 : 0};
    d.boolField = field;
    return d;
}
OptionDef Flag(OptionFile f, std::string_view s, std::string_view k, bool O::* field) {
    OptionDef d{f, s, k, OptionKind::Flag};
    d.boolField = field;
    return d;
}
OptionDef Text(OptionFile f, std::string_view s, std::string_view k, std::string O::* field,
               OptionKind kind = OptionKind::Text) {
    OptionDef d{f, s, k, kind};
    d.textField = field;
    return d;
}

std::vector<OptionDef> BuildTable() {
    const std::string_view P = "PROGRAMMA", S = "STAMPA", M = "MULTIVORSA";
    return {
        Bool(L, P, "RIMANENZA", &O::gMostraRimanenza, false),
        Int(D, P, "SOGLIA_PRODOTTI", &O::gSogliaProdotti, 15, 1, 89),
        Int(D, P, "SOGLIA_TIPO", &O::gSogliaTipo, 0, 0, 1),
        Int(L, P, "BOTTONI-COLONNE", &O::gBottoniColonne, 2, 1, kMaxInt),
        Int(L, P, "BOTTONI-ALTEZZA", &O::gBottoniAltezza, 495, 1, kMaxInt),
        Int(L, P, "BOTTONI-BORDO", &O::gBottoniBordo, 120, 1, kMaxInt),
        Int(L, P, "BOTTONI-INTERLINEA", &O::gBottoniInterlinea, 50, 1, kMaxInt),

        Bool(L, S, "ABILITATO", &O::gStampaAbilitata, true),
        Text(L, S, "STAMPANTE", &O::gStampante),
        Int(L, S, "FORMATO", &O::gFormato, 2, 0, 6),
        Text(L, S, "LARGHEZZA_POS", &O::gLarghezzaPos),
        Int(L, S, "SCONTRINI_CALCOLACARTA", &O::gCalcolaCarta, 0, 0, 3),
        Int(L, S, "CUMULATIVO", &O::gCumulativo, 0, 0, 3),
        Text(L, S, "TITOLO", &O::gTitoloScontrino, OptionKind::Title),
        Text(L, S, "TITOLO2", &O::gTitoloScontrino2, OptionKind::Title),
        Text(L, S, "PIEDE", &O::gPiede, OptionKind::Title),
        Text(L, S, "TESTO-RITIRO", &O::gTestoRitiro, OptionKind::Title),
        Bool(L, S, "TAGLIO_ALTERNATIVO", &O::gTaglioAlternativo, false),
        Bool(L, S, "PROGRESSIVO", &O::gProgressivo, true),
        Bool(L, S, "PROGRESSIVO_PIEDE", &O::gProgressivoPiede, true),
        Bool(L, S, "TKT-RITIRO", &O::gTicketRitiro, true),
        Bool(L, S, "TKT-RITIRO_BARRE", &O::gTicketRitiroBarre, true),
        Bool(L, S, "TKT-RITIRO-GRP", &O::gTicketRitiroGruppo, true),
        Bool(L, S, "RIDUCI_CARATTERE_RIGA", &O::gRiduciCarattereRiga, true),
        Bool(L, S, "PREZZI", &O::gStampaPrezzi, true),
        Bool(L, S, "SCONTRINI_QTA", &O::gScontriniQta, true),
        Bool(L, S, "SCONTRINI_DATAORA", &O::gScontriniDataOra, true),
        Bool(L, S, "TOTALE", &O::gStampaTotale, true),
        Bool(L, S, "TOTALE_NO_SINGOLO", &O::gTotaleNoSingolo, true),
        Bool(L, S, "NOMEGRUPPO", &O::gNomeGruppo, true),

        Text(D, "STAMPA AVANZATA", "GRUPPI", &O::gGruppiAvanzati),

        Flag(L, M, "MASTER", &O::gPrincipale),
        Text(L, M, "SISTEMA_REMOTO", &O::gSistemaRemoto),
        Int(L, M, "TIMER_INTERVALLO", &O::gLockAttesaMs, 20, 1, 1000),
        Int(L, M, "TIMER_CICLI", &O::gLockCicli, 200, 1, 1000),
    };
}

}  // namespace

const std::vector<OptionDef>& OptionTable() {
    static const std::vector<OptionDef> table = BuildTable();
    return table;
}

void LeggiOpzione(SettingsStore& store, const Paths& paths, const OptionDef& def, Options& o) {
    const std::string& file = paths.Of(def.file);
    const std::string v = store.LeggiIni(def.section, def.key, file);
    switch (def.kind) {
        case OptionKind::Int: {
            const int n = IntoRange(v, def.def, def.min, def.max);
            o.*def.intField = n;
            if (def.writeBack && v != std::to_string(n))
                store.ScriviIni(def.section, def.key, std::to_string(n), file);
            break;
        }
        case OptionKind::Bool:
            o.*def.boolField = IntoRange(v, def.def, 0, 1) == 1;
            break;
        case OptionKind::Flag:
            o.*def.boolField = v == "1";
            break;
        case OptionKind::Text:
            o.*def.textField = v;
            break;
        case OptionKind::Title:
            o.*def.textField = Left(v, 30);
            // The key is created empty so the file shows every text that can be set.
            if (v.empty()) store.ScriviIni(def.section, def.key, "", file);
            break;
    }
}

}  // namespace vorsa
