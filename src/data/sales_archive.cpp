#include "data/sales_archive.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "data/records.h"
#include "data/statistics.h"
#include "platform/text.h"
#include "settings/settings_gateway.h"

namespace vorsa {
namespace {

/// "06/12/2026 19:45:03" -> that hour; false for any other text.
bool OraDi(const std::string& testo, DateTime* t) {
    int d = 0, m = 0, y = 0, h = 0;
    char fine = 0;
    if (std::sscanf(testo.c_str(), " %d/%d/%d %d%c", &d, &m, &y, &h, &fine) != 5 || fine != ':')
        return false;
    *t = DateTime{y, m, d, h, 0, 0};
    return m >= 1 && m <= 12 && d >= 1 && d <= 31 && h >= 0 && h <= 23;
}

long long Chiave(const DateTime& t) {
    return ((static_cast<long long>(t.year) * 100 + t.month) * 100 + t.day) * 100 + t.hour;
}

bool Bisestile(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

DateTime OraDopo(DateTime t) {
    static constexpr int kGiorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (++t.hour < 24) return t;
    t.hour = 0;
    const int giorni = kGiorni[t.month - 1] + (t.month == 2 && Bisestile(t.year) ? 1 : 0);
    if (++t.day <= giorni) return t;
    t.day = 1;
    if (++t.month <= 12) return t;
    t.month = 1;
    ++t.year;
    return t;
}

std::string CampoCsv(const std::string& s) {
    if (s.find_first_of(";\"\r\n") == std::string::npos) return s;
    return "\"" + ReplaceAll(s, "\"", "\"\"") + "\"";
}

}  // namespace

std::string NomeCassa(const Options& o) {
    if (!o.gMultiVorsa && !Trim(o.gPrefisso).empty()) return Trim(o.gPrefisso);
    return o.gNomeStazione;
}

namespace {

/// The archived receipts 1..ultimo by number, "" where missing: one pass over the section
/// rather than one look-up per receipt.
std::vector<std::string> ArchivedRecords(SettingsGateway& settings, std::int32_t ultimo) {
    std::vector<std::string> records(static_cast<std::size_t>(std::max(ultimo, 0)) + 1);
    for (auto& [key, value] :
         settings.store().profiles().Document(settings.paths().gFileDati).Entries("SCONTRINI")) {
        if (!IsInteger(key)) continue;
        const long long n = Val(key);
        if (n >= 1 && n <= ultimo) records[static_cast<std::size_t>(n)] = std::move(value);
    }
    return records;
}

/// Every hour from the first with sales to the last, the quiet ones too.
std::vector<SalesHour> EveryHour(const std::map<long long, SalesHour>& ore) {
    std::vector<SalesHour> tutte;
    if (ore.empty()) return tutte;
    for (DateTime t = ore.begin()->second.ora; Chiave(t) <= ore.rbegin()->first; t = OraDopo(t)) {
        const auto it = ore.find(Chiave(t));
        tutte.push_back(it == ore.end() ? SalesHour{t, 0, {}} : it->second);
    }
    return tutte;
}

}  // namespace

SalesArchive LeggiArchivio(SettingsGateway& settings, char separatore, std::int32_t ultimo,
                           bool nomiDaLock, const std::string& identitaPropria,
                           const std::string& nomeProprio) {
    SalesArchive a;
    std::set<std::int32_t> stornati;
    for (const Storno& s : LeggiStorni(settings.Read(keys::Storni), separatore))
        stornati.insert(s.numero);
    std::map<std::string, std::size_t> posto;
    auto ultima = posto.end();
    std::map<long long, SalesHour> ore;
    const std::vector<std::string> records = ArchivedRecords(settings, ultimo);
    for (std::int32_t n = 1; n <= ultimo; ++n) {
        const std::string& record = records[static_cast<std::size_t>(n)];
        if (Trim(record).empty()) continue;
        // Only the trailer counts here: date, total and identity.
        const std::size_t fine = record.rfind(separatore);
        const ArchivedReceipt s =
            LeggiScontrino(fine == std::string::npos ? std::string_view(record)
                                                     : std::string_view(record).substr(fine + 1),
                           separatore);
        const bool stornato = stornati.count(n) != 0;
        // Receipts of one till come in runs: most look-ups hit the last till.
        auto it =
            ultima != posto.end() && ultima->first == s.identita ? ultima : posto.find(s.identita);
        if (it == posto.end()) {
            it = posto.emplace(s.identita, a.casse.size()).first;
            TillTotal c;
            c.identita = s.identita;
            c.nome = nomiDaLock ? settings.Read(keys::Stazione, Idx(s.identita), true) : "";
            // An identity reads like a time ("mario52:28"): this till says its own name.
            if (c.nome.empty() && !nomeProprio.empty() && s.identita == identitaPropria)
                c.nome = nomeProprio;
            if (c.nome.empty()) c.nome = s.identita;
            c.primo = n;
            a.casse.push_back(c);
        }
        ultima = it;
        TillTotal& c = a.casse[it->second];
        c.ultimo = n;
        ++c.scontrini;
        if (stornato) ++c.stornati;
        if (!stornato) c.incasso += s.totale;
        DateTime ora;
        if (stornato || !OraDi(s.data, &ora)) continue;
        SalesHour& o = ore[Chiave(ora)];
        o.ora = ora;
        ++o.scontrini;
        o.incasso += s.totale;
    }
    a.ore = EveryHour(ore);
    return a;
}

std::vector<std::string> RigheCasse(const std::vector<TillTotal>& casse) {
    std::vector<std::string> righe;
    righe.reserve(casse.size());
    for (const TillTotal& c : casse)
        righe.push_back(c.nome + ": scontrini " + std::to_string(c.primo) + "-" +
                        std::to_string(c.ultimo) + " (" + FormatMigliaia(c.scontrini) +
                        ", stornati " + FormatMigliaia(c.stornati) + "), incasso " +
                        FormatCurrency(c.incasso, true));
    return righe;
}

std::string CsvVenduto(const Catalogue& cat) {
    std::string t =
        "\xEF\xBB\xBF"
        "Codice;Articolo;Pezzi;Importo\r\n";
    for (int n = 1; n <= cat.gNumeroArticoli; ++n) {
        const Article& a = cat.gArticoli[static_cast<std::size_t>(n)];
        if (a.soldQuantity <= 0) continue;
        t += std::to_string(a.code) + ";" + CampoCsv(Cp1252ToUtf8(a.name)) + ";" +
             std::to_string(a.soldQuantity) + ";" + FormatCurrency(a.soldAmount) + "\r\n";
    }
    return t;
}

}  // namespace vorsa
