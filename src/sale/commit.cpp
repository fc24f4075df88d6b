#include <algorithm>

#include "platform/text.h"
#include "sale/vendita.h"

namespace vorsa {
namespace {

constexpr std::string_view kStat = "STATISTICHE";
constexpr std::string_view kArchivio = "SCONTRINI";

}  // namespace

std::string TestoScontrino(const Till& till) {
    const char sep = till.opt.gSeparatore;
    std::string t;
    for (int n = 1; n <= till.cat.gNumeroArticoli; ++n) {
        const Article& a = till.cat.gArticoli[n];
        if (a.quantity <= 0) continue;
        t += std::to_string(a.code) + "-" + std::to_string(a.quantity) + "-" +
             FormatCurrencyShort(a.lineTotal) + sep;
    }
    // A separator in the table text would split the record at the wrong place.
    std::string tavolo = till.gTavolo;
    for (char& c : tavolo)
        if (c == sep) c = ' ';
    t += FormatDateTime(till.gDataScontrino) + "-" + FormatCurrencyShort(till.gTotaleConto) + "-" +
         tavolo + "-" + till.opt.gIdentitaLock + "-0-0-0";
    return t;
}

ScontrinoArchiviato LeggiScontrino(std::string_view record, char separatore) {
    ScontrinoArchiviato s;
    const auto parti = Split(record, separatore);
    for (std::size_t i = 0; i + 1 < parti.size(); ++i) {
        const auto campi = Split(parti[i], '-');
        if (campi.size() != 3 || !IsInteger(campi[0]) || !IsInteger(campi[1])) continue;
        s.voci.push_back({static_cast<int>(Val(campi[0])), static_cast<int>(Val(campi[1])),
                          ParseCurrency(campi[2]).value_or(Currency{})});
    }
    // date-total-table-identity-0-0-0, where only the table may hold further dashes.
    const auto campi = Split(parti.back(), '-');
    if (campi.size() < 7) return s;
    const std::size_t n = campi.size();
    s.data = campi[0];
    s.totale = ParseCurrency(campi[1]).value_or(Currency{});
    s.identita = campi[n - 4];
    for (std::size_t i = 2; i < n - 4; ++i) s.tavolo += (i > 2 ? "-" : "") + campi[i];
    s.valido = campi[n - 3] == "0" && campi[n - 2] == "0" && campi[n - 1] == "0";
    return s;
}

bool Vendita::RegistraScontrino() {
    auto& st = till_.store;
    const long fallite = st.scrittureFallite();
    Catalogue& cat = till_.cat;
    const Paths& p = till_.paths;
    const char sep = till_.opt.gSeparatore;
    const bool multi = till_.opt.gMultiVorsa;

    // On a single till the whole sale reaches the file in one atomic write: all of it or none.
    st.IniziaBlocco();
    if (multi) {
        st.BloccaChiave(kStat, "DATA");
        st.BloccaChiave(kStat, "SCONTRINI");
        for (int n = 1; n <= cat.gNumeroArticoli; ++n) {
            if (cat.gArticoli[n].quantity <= 0) continue;
            st.BloccaChiave(kStat, std::to_string(cat.gArticoli[n].code));
            cat.BloccaArticolo(n, st);
        }
        till_.gNumeroScontrino =
            static_cast<std::int32_t>(Val(st.LeggiIni(kStat, "SCONTRINI", p.gFileDati)));
    }
    ++till_.gNumeroScontrino;
    st.ScriviIni(kStat, "DATA", FormatDateTime(till_.svc.clock.Now()), p.gFileDati);
    st.ScriviIni(kStat, "SCONTRINI", std::to_string(till_.gNumeroScontrino), p.gFileDati);
    if (multi) {
        st.SbloccaChiave(kStat, "DATA");
        st.SbloccaChiave(kStat, "SCONTRINI");
    }

    for (int n = 1; n <= cat.gNumeroArticoli; ++n) {
        Article& a = cat.gArticoli[n];
        if (a.quantity <= 0) continue;
        const std::string chiave = std::to_string(a.code);
        if (multi) {
            const auto campi = Split(st.LeggiIni(kStat, chiave, p.gFileDati), sep);
            a.soldQuantity = 0;
            a.soldAmount = Currency{};
            if (campi.size() >= 2 && IsInteger(campi[0])) {
                a.soldQuantity = static_cast<std::int32_t>(Val(campi[0]));
                a.soldAmount = ParseCurrency(campi[1]).value_or(Currency{});
            }
            cat.AggiornaArticolo(n, st, till_.opt, p, &view_);
        }
        a.soldQuantity += a.quantity;
        a.soldAmount += a.lineTotal;
        if (a.pieces >= 0) a.pieces = static_cast<std::int16_t>(a.pieces - a.quantity);
        st.ScriviIni(kStat, chiave,
                     std::to_string(a.soldQuantity) + sep + FormatCurrencyShort(a.soldAmount),
                     p.gFileDati);
        if (multi) st.SbloccaChiave(kStat, chiave);
        cat.ScriviArticolo(n, a.code - cat.sezioni[a.section].codeBase, p.gFileDati, true, st,
                           till_.opt);
    }

    const std::string numero = std::to_string(till_.gNumeroScontrino);
    st.ScriviIni(kArchivio, numero, TestoScontrino(till_), p.gFileDati);
    if (!till_.gCommento.empty())
        st.ScriviIni(kArchivio, numero + "_commento", till_.gCommento, p.gFileDati);

    if (multi) st.BloccaChiave(kArchivio, "STORNI");
    st.ScriviIni(kArchivio, "STORNI",
                 ReplaceAll(st.LeggiIni(kArchivio, "STORNI", p.gFileDati), "*", ""), p.gFileDati);
    if (multi) st.SbloccaChiave(kArchivio, "STORNI");
    st.ChiudiBlocco();
    if (st.scrittureFallite() == fallite) return true;

    // Nothing reached the file: take the counter, statistics and stock back from it, so the
    // next sale neither skips a receipt number nor counts this one.
    till_.gNumeroScontrino = static_cast<std::int32_t>(
        std::max<long long>(0, Val(st.LeggiIni(kStat, "SCONTRINI", p.gFileDati, true))));
    for (int n = 1; n <= cat.gNumeroArticoli; ++n) {
        Article& a = cat.gArticoli[n];
        if (a.quantity <= 0) continue;
        const auto campi = Split(st.LeggiIni(kStat, std::to_string(a.code), p.gFileDati, true), sep);
        const bool letto = campi.size() == 2 && IsInteger(campi[0]);
        a.soldQuantity = letto ? static_cast<std::int32_t>(Val(campi[0])) : 0;
        a.soldAmount = letto ? ParseCurrency(campi[1]).value_or(Currency{}) : Currency{};
        cat.AggiornaArticolo(n, st, till_.opt, p, &view_);  // the stock the file holds
    }
    return false;
}

}  // namespace vorsa
