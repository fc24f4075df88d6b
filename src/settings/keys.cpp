#include "settings/keys.h"

#include "platform/text.h"

namespace vorsa {

int Idx::First() const {
    return n_ >= 1 ? static_cast<int>(Val(parts_[0])) : 0;
}
int Idx::Second() const {
    return n_ >= 2 ? static_cast<int>(Val(parts_[1])) : 0;
}

int IntoRange(std::string_view text, int def, int min, int max) {
    // An empty or non-numeric value keeps the default in force, like an out-of-range one.
    if (!IsInteger(text)) return def;
    const long long v = Val(text);
    return (v < min || v > max) ? def : static_cast<int>(v);
}

KeyName Resolve(const KeyDef& def, const Idx& idx) {
    KeyName n{std::string(def.section), std::string(def.key)};
    int next = 0;
    for (std::string* s : {&n.section, &n.key}) {
        const auto at = s->rfind('#');
        if (at == std::string::npos) continue;
        s->replace(at, 1, next < idx.Size() ? idx.Part(next) : std::string());
        ++next;
    }
    return n;
}

namespace {

/// The default text of index `i` of a '|'-separated list ("0,05|0,10|...").
std::string_view DefaultText(const KeyDef& d, int i) {
    std::string_view t = d.textDef;
    for (; i > 0; --i) {
        const auto bar = t.find('|');
        if (bar == std::string_view::npos) return t;
        t.remove_prefix(bar + 1);
    }
    return t.substr(0, t.find('|'));
}

}  // namespace

std::string Correct(const KeyDef& d, std::string_view v) {
    switch (d.kind) {
        case OptionKind::Int:
            return std::to_string(IntoRange(v, d.def, d.min, d.max));
        case OptionKind::Bool:
            return IntoRange(v, d.def, 0, 1) == 1 ? "1" : "0";
        case OptionKind::Flag:
            return v == "1" ? "1" : "0";
        case OptionKind::Title:
            return Left(v, 30);
        case OptionKind::Saturate: {
            const long long m = Val(v);
            return std::to_string(m <= d.min ? d.min : (m > d.max ? d.max : m));
        }
        case OptionKind::Amount:
            return ParseCurrency(v) ? std::string(v) : std::string();
        case OptionKind::Si:
            return v.empty() || ToLower(v) == "si" ? "1" : "0";
        case OptionKind::Text:
        case OptionKind::Record:
            return std::string(v);
    }
    return std::string(v);
}

namespace {

using O = Options;
constexpr OptionFile L = OptionFile::Local;
constexpr OptionFile D = OptionFile::Data;
constexpr OptionFile K = OptionFile::Lock;
constexpr OptionFile W = OptionFile::Password;
constexpr int kMaxInt = 2147483647;

// Where a corrected value goes in Options, and back.
template <auto F>
void PutInt(O& o, const Idx&, std::string_view v) {
    o.*F = static_cast<int>(Val(v));
}
template <auto F>
std::string ShowInt(const O& o, const Idx&) {
    return std::to_string(o.*F);
}
template <auto F>
void PutBool(O& o, const Idx&, std::string_view v) {
    o.*F = v == "1";
}
template <auto F>
std::string ShowBool(const O& o, const Idx&) {
    return o.*F ? "1" : "0";
}
template <auto F>
void PutText(O& o, const Idx&, std::string_view v) {
    o.*F = std::string(v);
}
template <auto F>
std::string ShowText(const O& o, const Idx&) {
    return o.*F;
}
template <auto F>
void PutIntAt(O& o, const Idx& i, std::string_view v) {
    (o.*F)[static_cast<std::size_t>(i.First())] = static_cast<int>(Val(v));
}
template <auto F>
std::string ShowIntAt(const O& o, const Idx& i) {
    return std::to_string((o.*F)[static_cast<std::size_t>(i.First())]);
}
template <auto F>
void PutBoolAt(O& o, const Idx& i, std::string_view v) {
    (o.*F)[static_cast<std::size_t>(i.First())] = v == "1";
}
template <auto F>
std::string ShowBoolAt(const O& o, const Idx& i) {
    return (o.*F)[static_cast<std::size_t>(i.First())] ? "1" : "0";
}

KeyDef Int(OptionFile f, std::string_view s, std::string_view k, int def, int min, int max,
           void (*put)(O&, const Idx&, std::string_view), std::string (*show)(const O&, const Idx&),
           bool writeBack = false) {
    return KeyDef{f, s, k, OptionKind::Int, def, min, max, writeBack, {}, 1, 0, put, show};
}
KeyDef Bool(OptionFile f, std::string_view s, std::string_view k, bool def,
            void (*put)(O&, const Idx&, std::string_view),
            std::string (*show)(const O&, const Idx&)) {
    return KeyDef{f, s, k, OptionKind::Bool, def ? 1 : 0, 0, 1, false, {}, 1, 0, put, show};
}
KeyDef Of(OptionFile f, std::string_view s, std::string_view k, OptionKind kind,
          void (*put)(O&, const Idx&, std::string_view) = nullptr,
          std::string (*show)(const O&, const Idx&) = nullptr) {
    return KeyDef{f, s, k, kind, 0, 0, 0, false, {}, 1, 0, put, show};
}
KeyDef Indexed(KeyDef d, int count, int first = 0) {
    d.count = count;
    d.first = first;
    return d;
}
KeyDef Record(OptionFile f, std::string_view s, std::string_view k) {
    return Of(f, s, k, OptionKind::Record);
}

constexpr std::string_view P = "PROGRAMMA", S = "STAMPA", M = "MULTIVORSA", C = "COMANDA#";

KitchenOrderConfig& Ko(O& o, const Idx& i) {
    const auto k = static_cast<std::size_t>(i.First() - 1);
    if (o.gComande.size() <= k) o.gComande.resize(k + 1);
    return o.gComande[k];
}
const KitchenOrderConfig* Ko(const O& o, const Idx& i) {
    const auto k = static_cast<std::size_t>(i.First() - 1);
    return k < o.gComande.size() ? &o.gComande[k] : nullptr;
}

}  // namespace

namespace keys {
// clang-format off
const KeyDef Rimanenza = Bool(L, P, "RIMANENZA", false, PutBool<&O::gMostraRimanenza>, ShowBool<&O::gMostraRimanenza>);
const KeyDef SogliaProdotti = Int(D, P, "SOGLIA_PRODOTTI", 15, 1, 89, PutInt<&O::gSogliaProdotti>, ShowInt<&O::gSogliaProdotti>);
const KeyDef SogliaTipo = Int(D, P, "SOGLIA_TIPO", 0, 0, 1, PutInt<&O::gSogliaTipo>, ShowInt<&O::gSogliaTipo>);
const KeyDef BottoniColonne = Int(L, P, "BOTTONI-COLONNE", 2, 1, kMaxInt, PutInt<&O::gBottoniColonne>, ShowInt<&O::gBottoniColonne>);
const KeyDef BottoniAltezza = Int(L, P, "BOTTONI-ALTEZZA", 495, 1, kMaxInt, PutInt<&O::gBottoniAltezza>, ShowInt<&O::gBottoniAltezza>);
const KeyDef BottoniBordo = Int(L, P, "BOTTONI-BORDO", 120, 1, kMaxInt, PutInt<&O::gBottoniBordo>, ShowInt<&O::gBottoniBordo>);
const KeyDef BottoniInterlinea = Int(L, P, "BOTTONI-INTERLINEA", 50, 1, kMaxInt, PutInt<&O::gBottoniInterlinea>, ShowInt<&O::gBottoniInterlinea>);
const KeyDef NomeVorsa = Of(L, P, "NOME_VORSA", OptionKind::Text,
    [](O& o, const Idx&, std::string_view v) { o.gPrefisso = Left(ToUpper(v), 2); }, ShowText<&O::gPrefisso>);
const KeyDef Separatore = KeyDef{D, P, "SEPARATORE", OptionKind::Text, 0, 0, 0, true, ";", 1, 0,
    [](O& o, const Idx&, std::string_view v) { o.gSeparatore = v.size() == 1 ? v[0] : ';'; },
    [](const O& o, const Idx&) { return std::string(1, o.gSeparatore); }};
const KeyDef BordiMagnetici = KeyDef{L, P, "BORDI MAGNETICI", OptionKind::Si, 1, 0, 0, true, "Si", 1, 0,
    PutBool<&O::gBordiMagnetici>, ShowBool<&O::gBordiMagnetici>};
const KeyDef Sensibilita = Int(L, P, "BORDI MAGNETICI SENSIBILITA", 20, 10, 60, PutInt<&O::gSensibilita>, ShowInt<&O::gSensibilita>, true);
const KeyDef Aggiornamenti = KeyDef{L, P, "AGGIORNAMENTI", OptionKind::Si, 1, 0, 0, true, "Si", 1, 0,
    PutBool<&O::gAggiornamenti>, ShowBool<&O::gAggiornamenti>};
const KeyDef VersioneIni = Record(L, P, "VERSIONE_INI");
const KeyDef TimerCodiciMs = KeyDef{L, P, "TIMER_CODICI_MS", OptionKind::Int, 300, 150, 60000, true};
const KeyDef Eula = Record(L, P, "EULA");
const KeyDef FinestraTop = KeyDef{L, P, "TOP", OptionKind::Int, 0, 0, 0};      // ranges follow the screen
const KeyDef FinestraLeft = KeyDef{L, P, "LEFT", OptionKind::Int, 0, 0, 0};
const KeyDef FinestraWidth = KeyDef{L, P, "WIDTH", OptionKind::Int, 15380, 15380, 0};
const KeyDef FinestraMode = KeyDef{L, P, "MODE", OptionKind::Int, 2, 0, 2};

const KeyDef Moneta = KeyDef{L, "MONETE", "S#", OptionKind::Amount, 0, 0, 0, true,
    "0,05|0,10|0,20|0,50|1|2|5|10|20|50", 10, 0,
    [](O& o, const Idx& i, std::string_view v) {
        o.gMonete[static_cast<std::size_t>(i.First())] = ParseCurrency(v).value_or(Currency{});
    },
    [](const O& o, const Idx& i) { return FormatCurrencyShort(o.gMonete[static_cast<std::size_t>(i.First())]); }};
const KeyDef EtichettaAzione = KeyDef{L, "AZIONI", "F#", OptionKind::Text, 0, 0, 0, true,
    "PAGA CONTO;RIAPRI CONTO|CANCELLA|STORNO|NUOVO CONTO|;IN CORSO...|STATISTICA|IMPOSTAZIONI", 7, 1};
const KeyDef PasswordAzione = Indexed(Record(W, "AZIONI", "PASSF#"), 3, 5);

const KeyDef StampaAbilitata = Bool(L, S, "ABILITATO", true, PutBool<&O::gStampaAbilitata>, ShowBool<&O::gStampaAbilitata>);
const KeyDef Stampante = Of(L, S, "STAMPANTE", OptionKind::Text, PutText<&O::receiptPrinterName>, ShowText<&O::receiptPrinterName>);
const KeyDef Formato = Int(L, S, "FORMATO", 2, 0, 6, PutInt<&O::gFormato>, ShowInt<&O::gFormato>);
const KeyDef LarghezzaPos = Of(L, S, "LARGHEZZA_POS", OptionKind::Text, PutText<&O::posWidth>, ShowText<&O::posWidth>);
const KeyDef CalcolaCarta = Int(L, S, "SCONTRINI_CALCOLACARTA", 0, 0, 3, PutInt<&O::gCalcolaCarta>, ShowInt<&O::gCalcolaCarta>);
const KeyDef Cumulativo = Int(L, S, "CUMULATIVO", 0, 0, 3, PutInt<&O::gCumulativo>, ShowInt<&O::gCumulativo>);
const KeyDef Copie = Indexed(Int(L, S, "COPIE#", 1, 1, 99, PutIntAt<&O::gCopie>, ShowIntAt<&O::gCopie>), 2);
const KeyDef Titolo = Of(L, S, "TITOLO", OptionKind::Title, PutText<&O::gTitoloScontrino>, ShowText<&O::gTitoloScontrino>);
const KeyDef Titolo2 = Of(L, S, "TITOLO2", OptionKind::Title, PutText<&O::gTitoloScontrino2>, ShowText<&O::gTitoloScontrino2>);
const KeyDef Piede = Of(L, S, "PIEDE", OptionKind::Title, PutText<&O::gPiede>, ShowText<&O::gPiede>);
const KeyDef TestoRitiro = Of(L, S, "TESTO-RITIRO", OptionKind::Title, PutText<&O::gTestoRitiro>, ShowText<&O::gTestoRitiro>);
const KeyDef TitoloSottolineato = Indexed(Bool(L, S, "TITOLO_UND#", true, PutBoolAt<&O::gTitoloSottolineato>, ShowBoolAt<&O::gTitoloSottolineato>), 3);
const KeyDef TaglioAlternativo = Bool(L, S, "TAGLIO_ALTERNATIVO", false, PutBool<&O::gTaglioAlternativo>, ShowBool<&O::gTaglioAlternativo>);
const KeyDef Progressivo = Bool(L, S, "PROGRESSIVO", true, PutBool<&O::gProgressivo>, ShowBool<&O::gProgressivo>);
const KeyDef ProgressivoPiede = Bool(L, S, "PROGRESSIVO_PIEDE", true, PutBool<&O::gProgressivoPiede>, ShowBool<&O::gProgressivoPiede>);
const KeyDef TicketRitiro = Bool(L, S, "TKT-RITIRO", true, PutBool<&O::gTicketRitiro>, ShowBool<&O::gTicketRitiro>);
const KeyDef TicketRitiroBarre = Bool(L, S, "TKT-RITIRO_BARRE", true, PutBool<&O::gTicketRitiroBarre>, ShowBool<&O::gTicketRitiroBarre>);
const KeyDef TicketRitiroGruppo = Bool(L, S, "TKT-RITIRO-GRP", true, PutBool<&O::gTicketRitiroGruppo>, ShowBool<&O::gTicketRitiroGruppo>);
const KeyDef RiduciCarattereRiga = Bool(L, S, "RIDUCI_CARATTERE_RIGA", true, PutBool<&O::gRiduciCarattereRiga>, ShowBool<&O::gRiduciCarattereRiga>);
const KeyDef Prezzi = Bool(L, S, "PREZZI", true, PutBool<&O::gStampaPrezzi>, ShowBool<&O::gStampaPrezzi>);
const KeyDef ScontriniQta = Bool(L, S, "SCONTRINI_QTA", true, PutBool<&O::gScontriniQta>, ShowBool<&O::gScontriniQta>);
const KeyDef ScontriniDataOra = Bool(L, S, "SCONTRINI_DATAORA", true, PutBool<&O::gScontriniDataOra>, ShowBool<&O::gScontriniDataOra>);
const KeyDef Totale = Bool(L, S, "TOTALE", true, PutBool<&O::gStampaTotale>, ShowBool<&O::gStampaTotale>);
const KeyDef TotaleNoSingolo = Bool(L, S, "TOTALE_NO_SINGOLO", true, PutBool<&O::gTotaleNoSingolo>, ShowBool<&O::gTotaleNoSingolo>);
const KeyDef NomeGruppo = Bool(L, S, "NOMEGRUPPO", true, PutBool<&O::gNomeGruppo>, ShowBool<&O::gNomeGruppo>);
const KeyDef Margine = KeyDef{L, S, "MARGINE#", OptionKind::Saturate, 0, 0, 1000, false, {}, 4, 0,
    PutIntAt<&O::gMargini>, ShowIntAt<&O::gMargini>};
const KeyDef Summary = Indexed(Bool(L, S, "RIEPILOGO#", true, PutBoolAt<&O::gRiepilogo>, ShowBoolAt<&O::gRiepilogo>), 2);
// A picture is used only when its file exists: start-up reads these four together.
const KeyDef Immagine = Indexed(Of(L, S, "IMMAGINE#", OptionKind::Text), 2);
const KeyDef ImmagineAltezza = Indexed(Of(L, S, "IMMAGINE_H#", OptionKind::Saturate), 2);
const KeyDef ImmagineLarghezza = Indexed(Of(L, S, "IMMAGINE_W#", OptionKind::Saturate), 2);
const KeyDef ImmaginePercento = KeyDef{L, S, "IMMAGINE_PERC#", OptionKind::Int, 100, 1, 255, false, {}, 2};
const KeyDef GruppiAvanzati = Of(D, "STAMPA AVANZATA", "GRUPPI", OptionKind::Text,
    [](O& o, const Idx&, std::string_view v) { o.advancedGroups = std::string(v); o.gStampaAvanzata = !v.empty(); },
    ShowText<&O::advancedGroups>);

const KeyDef NumeroComande = Int(L, "COMANDA", "NUMERO", 2, 1, 20, PutInt<&O::gNumeroComande>, ShowInt<&O::gNumeroComande>);
const KeyDef ComandaNome = KeyDef{L, C, "NOME", OptionKind::Text, 0, 0, 0, false, {}, 20, 1,
    [](O& o, const Idx& i, std::string_view v) {
        Ko(o, i).nome = v.empty() ? "Comanda " + std::to_string(i.First()) : Left(v, 14);
    },
    [](const O& o, const Idx& i) { const auto* k = Ko(o, i); return k ? k->nome : std::string(); }};
const KeyDef ComandaAbilitata = KeyDef{L, C, "ABILITATO", OptionKind::Flag, 0, 0, 0, false, {}, 20, 1,
    [](O& o, const Idx& i, std::string_view v) { Ko(o, i).abilitato = v == "1"; },
    [](const O& o, const Idx& i) { const auto* k = Ko(o, i); return std::string(k && k->abilitato ? "1" : "0"); }};
const KeyDef ComandaProdotti = KeyDef{L, C, "PRODOTTI", OptionKind::Text, 0, 0, 0, false, {}, 20, 1,
    [](O& o, const Idx& i, std::string_view v) { Ko(o, i).prodotti = std::string(v); },
    [](const O& o, const Idx& i) { const auto* k = Ko(o, i); return k ? k->prodotti : std::string(); }};
const KeyDef ComandaStampante = KeyDef{L, C, "STAMPANTE", OptionKind::Text, 0, 0, 0, false, {}, 20, 1,
    [](O& o, const Idx& i, std::string_view v) { Ko(o, i).stampante = std::string(v); },
    [](const O& o, const Idx& i) { const auto* k = Ko(o, i); return k ? k->stampante : std::string(); }};
const KeyDef ComandaFormato = KeyDef{L, C, "FORMATO", OptionKind::Int, 0, 0, 6, false, {}, 20, 1,
    [](O& o, const Idx& i, std::string_view v) { Ko(o, i).formato = static_cast<int>(Val(v)); },
    [](const O& o, const Idx& i) { const auto* k = Ko(o, i); return std::to_string(k ? k->formato : 0); }};
const KeyDef ComandaCalcolaCarta = KeyDef{L, C, "SCONTRINI_CALCOLACARTA", OptionKind::Int, 0, 0, 3, false, {}, 20, 1,
    [](O& o, const Idx& i, std::string_view v) { Ko(o, i).calcolaCarta = static_cast<int>(Val(v)); },
    [](const O& o, const Idx& i) { const auto* k = Ko(o, i); return std::to_string(k ? k->calcolaCarta : 0); }};
const KeyDef ComandaMargine = KeyDef{L, C, "MARGINE#", OptionKind::Int, 0, 0, 99, false, {}, 20, 1,
    [](O& o, const Idx& i, std::string_view v) {
        Ko(o, i).margini[static_cast<std::size_t>(i.Second() & 3)] = static_cast<int>(Val(v));
    },
    [](const O& o, const Idx& i) {
        const auto* k = Ko(o, i);
        return std::to_string(k ? k->margini[static_cast<std::size_t>(i.Second() & 3)] : 0);
    }};
// OPZ1..OPZ3 fill opz[0..2].
const KeyDef ComandaOpzione = KeyDef{L, C, "OPZ#", OptionKind::Int, 0, 0, 1, false, {}, 20, 1,
    [](O& o, const Idx& i, std::string_view v) {
        Ko(o, i).opz[static_cast<std::size_t>((i.Second() - 1) % 3)] = v == "1";
    },
    [](const O& o, const Idx& i) {
        const auto* k = Ko(o, i);
        return std::string(k && k->opz[static_cast<std::size_t>((i.Second() - 1) % 3)] ? "1" : "0");
    }};

const KeyDef MultiVorsa = Of(L, M, "ABILITATO", OptionKind::Flag, PutBool<&O::gMultiVorsa>, ShowBool<&O::gMultiVorsa>);
const KeyDef Principale = Of(L, M, "MASTER", OptionKind::Flag, PutBool<&O::gPrincipale>, ShowBool<&O::gPrincipale>);
const KeyDef SistemaRemoto = Of(L, M, "SISTEMA_REMOTO", OptionKind::Text, PutText<&O::gSistemaRemoto>, ShowText<&O::gSistemaRemoto>);
const KeyDef LockAttesaMs = Int(L, M, "TIMER_INTERVALLO", 20, 1, 1000, PutInt<&O::gLockAttesaMs>, ShowInt<&O::gLockAttesaMs>);
const KeyDef LockCicli = Int(L, M, "TIMER_CICLI", 200, 1, 1000, PutInt<&O::gLockCicli>, ShowInt<&O::gLockCicli>);
const KeyDef NomeStazione = Record(L, M, "NOME");
const KeyDef LockSuffisso = Record(L, M, "LOCKSUFF");
const KeyDef LockOrigine = Record(L, M, "LOCKORIGINE");  // computer and folder LOCKSUFF was made for
const KeyDef PasswordMulti = Record(L, M, "PASSWORD");   // the share's, scrambled (CodificaPassword)
const KeyDef WebAbilitato = Bool(L, "WEB", "ABILITATO", false, PutBool<&O::webEnabled>, ShowBool<&O::webEnabled>);
const KeyDef WebPorta = Int(L, "WEB", "PORTA", 8088, 1024, 65535, PutInt<&O::webPort>, ShowInt<&O::webPort>);
const KeyDef PinCucina = Record(L, "WEB", "PIN_CUCINA");    // scrambled (CodificaPassword)
const KeyDef PinIncassi = Record(L, "WEB", "PIN_INCASSI");
const KeyDef Stazione = Record(K, M, "#");            // lock identity -> station name
const KeyDef PezziCondivisi = Record(K, M, "#");      // article index -> pieces held by all tills
const KeyDef PezziTenuti = Record(L, "MULTIVORSA-TMP", "#");  // article index -> held here

const KeyDef Dimensione = KeyDef{D, "#", "DIMENSIONE", OptionKind::Record, 0, 1, 80};
const KeyDef Articolo = Record(D, "#", "#");          // section name, position -> article line
const KeyDef StatData = Record(D, "STATISTICHE", "DATA");
const KeyDef StatScontrini = Record(D, "STATISTICHE", "SCONTRINI");
const KeyDef StatCommento = Record(D, "STATISTICHE", "COMMENTO");
const KeyDef StatArticolo = Record(D, "STATISTICHE", "#");  // article code -> "qty;amount"
const KeyDef Scontrino = Record(D, "SCONTRINI", "#");       // receipt number -> archive record
const KeyDef ScontrinoCommento = Record(D, "SCONTRINI", "#_commento");
const KeyDef Storni = Record(D, "SCONTRINI", "STORNI");
const KeyDef Nota = Record(D, "NOTA", "# Note #:");
// Lock identity -> last of that till's waiting sales that reached the file; older tills ignore it.
const KeyDef Consegnate = Record(D, "VENDITE-CONSEGNATE", "#");
const KeyDef ScortaSuperata = Record(D, "SCORTA-SUPERATA", "#");  // code -> pieces sold beyond stock
// Receipt number -> when its order was marked ready for pickup; older tills ignore it.
const KeyDef Pronto = Record(D, "PRONTI", "#");
// clang-format on
}  // namespace keys

const std::vector<const KeyDef*>& AllKeys() {
    using namespace keys;
    static const std::vector<const KeyDef*> all = {&Rimanenza,
                                                   &SogliaProdotti,
                                                   &SogliaTipo,
                                                   &BottoniColonne,
                                                   &BottoniAltezza,
                                                   &BottoniBordo,
                                                   &BottoniInterlinea,
                                                   &NomeVorsa,
                                                   &Separatore,
                                                   &BordiMagnetici,
                                                   &Sensibilita,
                                                   &Aggiornamenti,
                                                   &VersioneIni,
                                                   &TimerCodiciMs,
                                                   &Eula,
                                                   &FinestraTop,
                                                   &FinestraLeft,
                                                   &FinestraWidth,
                                                   &FinestraMode,
                                                   &Moneta,
                                                   &EtichettaAzione,
                                                   &PasswordAzione,
                                                   &StampaAbilitata,
                                                   &Stampante,
                                                   &Formato,
                                                   &LarghezzaPos,
                                                   &CalcolaCarta,
                                                   &Cumulativo,
                                                   &Copie,
                                                   &Titolo,
                                                   &Titolo2,
                                                   &Piede,
                                                   &TestoRitiro,
                                                   &TitoloSottolineato,
                                                   &TaglioAlternativo,
                                                   &Progressivo,
                                                   &ProgressivoPiede,
                                                   &TicketRitiro,
                                                   &TicketRitiroBarre,
                                                   &TicketRitiroGruppo,
                                                   &RiduciCarattereRiga,
                                                   &Prezzi,
                                                   &ScontriniQta,
                                                   &ScontriniDataOra,
                                                   &Totale,
                                                   &TotaleNoSingolo,
                                                   &NomeGruppo,
                                                   &Margine,
                                                   &Summary,
                                                   &Immagine,
                                                   &ImmagineAltezza,
                                                   &ImmagineLarghezza,
                                                   &ImmaginePercento,
                                                   &GruppiAvanzati,
                                                   &NumeroComande,
                                                   &ComandaNome,
                                                   &ComandaAbilitata,
                                                   &ComandaProdotti,
                                                   &ComandaStampante,
                                                   &ComandaFormato,
                                                   &ComandaCalcolaCarta,
                                                   &ComandaMargine,
                                                   &ComandaOpzione,
                                                   &MultiVorsa,
                                                   &Principale,
                                                   &SistemaRemoto,
                                                   &LockAttesaMs,
                                                   &LockCicli,
                                                   &NomeStazione,
                                                   &LockSuffisso,
                                                   &LockOrigine,
                                                   &PasswordMulti,
                                                   &WebAbilitato,
                                                   &WebPorta,
                                                   &PinCucina,
                                                   &PinIncassi,
                                                   &Stazione,
                                                   &PezziCondivisi,
                                                   &PezziTenuti,
                                                   &Dimensione,
                                                   &Articolo,
                                                   &StatData,
                                                   &StatScontrini,
                                                   &StatCommento,
                                                   &StatArticolo,
                                                   &Scontrino,
                                                   &ScontrinoCommento,
                                                   &Storni,
                                                   &Nota,
                                                   &Consegnate,
                                                   &ScortaSuperata,
                                                   &Pronto};
    return all;
}

const KeyDef* FindKey(std::string_view section, std::string_view key) {
    for (const KeyDef* d : AllKeys())
        if (d->section == section && d->key == key && d->kind != OptionKind::Record) return d;
    return nullptr;
}

std::string DefaultOf(const KeyDef& d, const Idx& idx) {
    switch (d.kind) {
        case OptionKind::Int:
        case OptionKind::Bool:
        case OptionKind::Si:
            return std::to_string(d.def);
        case OptionKind::Saturate:
            return std::to_string(d.min);
        case OptionKind::Flag:
            return "0";
        default:
            return std::string(DefaultText(d, idx.Size() ? idx.First() - d.first : 0));
    }
}

Options::Options() {
    // Every option starts at its declared default; indexed ones at each index.
    for (const KeyDef* d : AllKeys()) {
        if (!d->apply) continue;
        if (d->section.find('#') != std::string_view::npos) continue;  // per kitchen order
        if (d->count == 1 && d->key.find('#') == std::string_view::npos) {
            d->apply(*this, {}, DefaultOf(*d, {}));
        } else {
            for (int i = d->first; i < d->first + d->count; ++i)
                d->apply(*this, i, DefaultOf(*d, i));
        }
    }
    gComande.assign(static_cast<std::size_t>(gNumeroComande), KitchenOrderConfig{});
    for (int k = 1; k <= gNumeroComande; ++k)
        gComande[static_cast<std::size_t>(k - 1)].nome = "Comanda " + std::to_string(k);
    headerImages = {};
    gNomeStazione.clear();
    lockSuffix.clear();
    multiTillPassword.clear();
    kitchenPin.clear();
    takingsPin.clear();
    gIdentitaLock.clear();
}

}  // namespace vorsa
