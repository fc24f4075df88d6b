#include "data/catalogue.h"
#include "settings/keys.h"

#include <algorithm>
#include <limits>

#include "platform/text.h"
#include "settings/keys.h"
#include "settings/settings_store.h"

namespace vorsa {
namespace {

constexpr std::string_view kNomeCampione = "12345678901234567890123456789012";
constexpr std::size_t kLunghezzaNome = 50;
constexpr std::size_t kCampiRiga = 8;

/// A numeric field as a 16-bit value; text that is no integer leaves `fallback`.
std::int16_t Int16(std::string_view field, std::int16_t fallback) {
    if (!IsInteger(field)) return fallback;
    const long long v = std::clamp<long long>(Val(field), std::numeric_limits<std::int16_t>::min(),
                                              std::numeric_limits<std::int16_t>::max());
    return static_cast<std::int16_t>(v);
}

/// A flag field: any non-zero integer is true; other text leaves `fallback`.
bool Flag(std::string_view field, bool fallback) {
    return IsInteger(field) ? Val(field) != 0 : fallback;
}

std::vector<std::string> Campi(std::string_view line, char sep) {
    std::vector<std::string> f = Split(line, sep);
    f.resize(kCampiRiga);  // missing fields are empty, extra ones ignored
    for (auto& c : f) c = Trim(c);
    return f;
}

}  // namespace

Catalogue::Catalogue() {
    sezioni[0] = {"MANGIARE", 100, 14, 14, 14};
    sezioni[1] = {"BERE", 200, 10, 10, 10};
    sezioni[2] = {"VARIE", 300, 4, 4, 4};
}

void Catalogue::CaricaDimensioni(SettingsStore& store, const std::string& file) {
    gNumeroArticoli = 0;
    for (auto& s : sezioni) {
        const std::string v = store.LeggiIni(s.name, "DIMENSIONE", file);
        const int n = IntoRange(v, s.defaultSize, 1, 80);
        if (v != std::to_string(n)) store.ScriviIni(s.name, "DIMENSIONE", std::to_string(n), file);
        s.size = static_cast<std::int16_t>(n);
        s.pendingSize = s.size;
        gNumeroArticoli += n;
    }
    gArticoli.assign(gNumeroArticoli + 1, Article{});
    Article& campione = gArticoli[0];
    campione.name = kNomeCampione;
    campione.lineTotal = Currency::FromUnits(1);
    campione.quantity = 10;
}

int Catalogue::IndiceArticolo(int code) const {
    int prima = 0;
    for (const auto& s : sezioni) {
        if (code >= s.codeBase + 1 && code <= s.codeBase + s.size) return code - s.codeBase + prima;
        prima += s.size;
    }
    return -1;
}

int Catalogue::PrimoIndice(int section) const {
    int n = 1;
    for (int s = 0; s < section; ++s) n += sezioni[s].size;
    return n;
}

void Catalogue::CaricaProdotti(SettingsStore& store, const Options& o, const Paths& paths) {
    const std::string& file = paths.gFileDati;
    int n = 1;
    for (std::int16_t s = 0; s < 3; ++s) {
        const Sezione& sez = sezioni[s];
        for (std::int16_t p = 1; p <= sez.size; ++p, ++n) {
            Article& a = gArticoli[n];
            a = Article{};
            a.code = static_cast<std::int16_t>(sez.codeBase + p);
            a.position = p;
            a.section = s;

            const std::string chiave = std::to_string(p);
            const std::string riga = store.LeggiIni(sez.name, chiave, file, true);
            if (riga.empty()) {
                // Every position gets its line, so the file shows where articles go.
                store.ScriviIni(sez.name, chiave, "", file);
            } else {
                const auto f = Campi(riga, o.gSeparatore);
                if (!f[1].empty()) a.price = ParseCurrency(f[1]).value_or(Currency{});
                const bool attivoLetto = !f[2].empty() && IsInteger(f[2]);
                if (attivoLetto) a.active = Flag(f[2], false);
                a.separatePrint = Flag(f[3], false);
                a.pieces = Int16(f[4], -1);
                a.referencePieces = Int16(f[6], -1);
                a.threshold = Int16(f[7], 0);
                a.variablePrice = a.price == Currency::FromUnits(-1);
                if (!f[0].empty()) {
                    a.name = Trim(Left(f[0], kLunghezzaNome));  // a cut may end in a blank
                    if (!attivoLetto) a.active = true;
                } else {
                    a.active = false;
                    a.pieces = 0;
                    a.referencePieces = 0;
                }
                if (!f[5].empty()) {
                    a.printGroup = Int16(f[5], 0);
                } else {
                    a.printGroup = 0;
                    ScriviArticolo(n, p, file, false, store, o);
                }
            }
            if (o.gMultiVorsa) {
                a.sharedCount = Int16(
                    store.LeggiIni("MULTIVORSA", std::to_string(n), paths.gFileLock, true), 0);
            }
        }
    }
}

void Catalogue::AggiornaArticolo(int index, SettingsStore& store, const Options& o,
                                 const Paths& paths, CatalogueView* view) {
    if (index < 1 || index > gNumeroArticoli) return;
    Article& a = gArticoli[index];
    const Sezione& sez = sezioni[a.section];
    const std::string riga =
        store.LeggiIni(sez.name, std::to_string(a.position), paths.gFileDati, true);
    if (!riga.empty()) {
        const auto f = Campi(riga, o.gSeparatore);
        if (!f[1].empty()) a.price = ParseCurrency(f[1]).value_or(a.price);
        if (!f[2].empty()) a.active = Flag(f[2], a.active);
        if (!f[4].empty()) a.pieces = Int16(f[4], a.pieces);
        if (!f[6].empty()) a.referencePieces = Int16(f[6], a.referencePieces);
        if (!f[7].empty()) a.threshold = Int16(f[7], a.threshold);
        a.variablePrice = a.price == Currency::FromUnits(-1);
    }
    // Anyone on the share can write the lock file: a negative count holds no piece.
    a.sharedCount = std::max<std::int16_t>(
        0, Int16(store.LeggiIni("MULTIVORSA", std::to_string(index), paths.gFileLock, true), 0));
    if (!view) return;
    if (view->ButtonEnabled(a.section, a.position) != a.active) {
        view->SetButtonEnabled(a.section, a.position, a.active);
        view->SetLabelsVisible(a.section, a.position, a.active);
    }
    if (o.gMostraRimanenza)
        view->SetCodeLabel(a.section, a.position, EtichettaCodice(index, a.sharedCount, o));
    // A position switched off or emptied loses the colour its last stock gave it.
    ColoraArticolo(a.active ? StatoArticolo(index, a.sharedCount, o) : kStatoNormale, a.section,
                   a.position, false, *view);
}

int Catalogue::StatoArticolo(int index, int used, const Options& o) const {
    const Article& a = gArticoli[index];
    if (a.pieces == -1) return kStatoNormale;
    const long long rimasti = static_cast<long long>(a.pieces) - used;
    if (rimasti < 1) return kStatoFinito;
    if (a.threshold > 0 && a.pieces >= 0)
        return SottoSoglia(index, rimasti, o) ? kStatoSottoScorta : kStatoNormale;
    return kStatoNormale;
}

bool Catalogue::SottoSoglia(int index, long long remaining, const Options& o) const {
    const Article& a = gArticoli[index];
    long long valore = remaining;
    // Without reference pieces there is no percentage; count pieces instead.
    if (o.gSogliaTipo == 1 && a.referencePieces > 0) {
        const long long num = remaining * 100;
        const long long ref = a.referencePieces;
        valore = num / ref;
        long long resto = num % ref;
        if (resto < 0) {  // floor division for a negative remainder
            resto += ref;
            --valore;
        }
        if (2 * resto > ref || (2 * resto == ref && valore % 2 != 0)) ++valore;
    }
    return valore <= a.threshold;
}

void Catalogue::ColoraArticolo(int state, int section, int position, bool show,
                               CatalogueView& view) const {
    int colore = kNero;
    if (state == kStatoNormale)
        colore = kColoreBottone;
    else if (state == kStatoFinito)
        colore = kGiallo;
    else if (state == kStatoSottoScorta)
        colore = kAzzurro;
    if (show) view.ShowFeedback(state);
    if (section < 0 || section > 2) return;
    if (view.ButtonColour(section, position) != colore)
        view.SetButtonColour(section, position, colore);
}

void Catalogue::AbilitaArticoli(bool lock, CatalogueView& view) const {
    for (int n = 1; n <= gNumeroArticoli; ++n) {
        const Article& a = gArticoli[n];
        view.SetButtonEnabled(a.section, a.position, !lock && a.active);
    }
}

void Catalogue::AssegnaComande(const Options& o) {
    for (int n = 1; n <= gNumeroArticoli; ++n) gArticoli[n].kitchenOrder = 0;
    const int numero = std::min<int>(o.gNumeroComande, static_cast<int>(o.gComande.size()));
    for (int k = 1; k <= numero; ++k) {
        const std::string& lista = o.gComande[k - 1].prodotti;
        if (lista.empty()) continue;
        for (const auto& voce : Split(lista, o.gSeparatore)) {
            if (!IsInteger(voce)) continue;
            const int n = IndiceArticolo(static_cast<int>(Val(voce)));
            if (n > 0) gArticoli[n].kitchenOrder = static_cast<std::uint8_t>(k);
        }
    }
}

void Catalogue::CaricaGruppi(SettingsStore& store, const Options& o, const Paths& paths) {
    gGruppi.assign(1, PrintGroup{});
    if (!o.gStampaAvanzata) {
        for (std::int16_t k = 1; k <= 3; ++k) gGruppi.push_back({k, sezioni[k - 1].name});
        gNumeroGruppi = 3;
        for (int n = 1; n <= gNumeroArticoli; ++n) {
            Article& a = gArticoli[n];
            a.printGroup = a.separatePrint ? 0 : static_cast<std::int16_t>(a.section + 1);
            // An empty position stays an empty line: a rewritten one would read back with
            // no pieces instead of unlimited ones.
            if (a.name.empty()) continue;
            const int pos = a.code - sezioni[a.section].codeBase;
            const std::string& sez = sezioni[a.section].name;
            // A line that already says so is left alone: rewriting it from what this till
            // loaded would undo the sales another till committed since.
            if (store.LeggiIni(sez, std::to_string(pos), paths.gFileDati, true) ==
                RigaArticolo(n, o.gSeparatore))
                continue;
            const bool bloccato = o.gMultiVorsa && BloccaArticolo(n, store);
            if (o.gMultiVorsa) {
                const std::int16_t gruppo = a.printGroup;
                AggiornaArticolo(n, store, o, paths, nullptr);
                a.printGroup = gruppo;
            }
            ScriviArticolo(n, pos, paths.gFileDati, bloccato, store, o);
        }
        return;
    }
    std::int16_t k = 0;
    for (const auto& voce : Split(o.advancedGroups, o.gSeparatore)) {
        ++k;
        const auto trattino = voce.find('-');
        if (trattino == std::string::npos) {
            gGruppi.push_back({k, Trim(voce)});  // no number given: the entry's position
        } else {
            gGruppi.push_back({Int16(voce.substr(trattino + 1), 0), voce.substr(0, trattino)});
        }
    }
    gNumeroGruppi = k;
}

std::string Catalogue::RigaArticolo(int index, char separatore) const {
    const Article& a = gArticoli[index];
    const std::string sep(1, separatore);
    std::string r = a.name;
    r += sep + (a.variablePrice ? std::string("-1") : FormatCurrencyShort(a.price));
    r += sep + (a.active ? "1" : "0");
    r += sep + (a.separatePrint ? "1" : "0");
    r += sep + std::to_string(a.pieces);
    r += sep + std::to_string(a.printGroup);
    r += sep + std::to_string(a.referencePieces);
    r += sep + std::to_string(a.threshold);
    return r;
}

void Catalogue::ScriviArticolo(int index, int position, const std::string& file, bool unlock,
                               SettingsStore& store, const Options& o) const {
    const std::string& sezione = sezioni[gArticoli[index].section].name;
    store.ScriviIni(sezione, std::to_string(position), RigaArticolo(index, o.gSeparatore), file);
    if (unlock && o.gMultiVorsa) store.SbloccaChiave(sezione, std::to_string(position));
}

bool Catalogue::BloccaArticolo(int index, SettingsStore& store) const {
    const Article& a = gArticoli[index];
    if (a.pieces < 0) return false;
    return store.BloccaChiave(sezioni[a.section].name, std::to_string(a.position));
}

int Catalogue::Usati(int index, const Options& o) const {
    const Article& a = gArticoli[index];
    return o.gMultiVorsa ? a.sharedCount : a.quantity;
}

std::string Catalogue::EtichettaCodice(int index, int used, const Options& o) const {
    const Article& a = gArticoli[index];
    if (o.gMostraRimanenza) return "Pz: " + std::to_string(a.pieces - used);
    return "Cod. " + std::to_string(a.code);
}

PriceLabel Catalogue::EtichettaPrezzo(int index) const {
    const Article& a = gArticoli[index];
    if (a.variablePrice) return {std::string(kEuro) + "   ?", kBlu};
    return {std::string(kEuro) + " " + FormatCurrency(a.price), kRossoScuro};
}

void Catalogue::ColoraTutti(const Options& o, CatalogueView& view) const {
    for (int n = 1; n <= gNumeroArticoli; ++n) {
        const Article& a = gArticoli[n];
        ColoraArticolo(a.active ? StatoArticolo(n, Usati(n, o), o) : kStatoNormale, a.section,
                       a.position, false, view);
    }
}

}  // namespace vorsa
