#include "data/riepilogo_casse.h"

#include <map>
#include <set>

#include "data/records.h"
#include "data/statistiche.h"
#include "platform/text.h"
#include "settings/settings_gateway.h"

namespace vorsa {
namespace {

/// "06/12/2026 19:45:03" -> that hour; false for any other text.
bool OraDi(const std::string& testo, DateTime* t) {
    const auto parti = Split(Trim(testo), ' ');
    if (parti.size() < 2) return false;
    const auto d = Split(parti[0], '/');
    const auto h = Split(parti[1], ':');
    if (d.size() != 3 || h.empty()) return false;
    for (const auto* v : {&d[0], &d[1], &d[2], &h[0]})
        if (!IsInteger(*v)) return false;
    *t = DateTime{static_cast<int>(Val(d[2])),
                  static_cast<int>(Val(d[1])),
                  static_cast<int>(Val(d[0])),
                  static_cast<int>(Val(h[0])),
                  0,
                  0};
    return t->month >= 1 && t->month <= 12 && t->day >= 1 && t->day <= 31 && t->hour >= 0 &&
           t->hour <= 23;
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

Archivio LeggiArchivio(SettingsGateway& settings, char separatore, std::int32_t ultimo,
                       bool nomiDaLock) {
    Archivio a;
    std::set<std::int32_t> stornati;
    for (const Storno& s : LeggiStorni(settings.Read(keys::Storni), separatore))
        stornati.insert(s.numero);
    std::map<std::string, std::size_t> posto;
    std::map<long long, OraVendite> ore;
    for (std::int32_t n = 1; n <= ultimo; ++n) {
        const std::string record = settings.Read(keys::Scontrino, n, true);
        if (record.empty()) continue;
        const ScontrinoArchiviato s = LeggiScontrino(record, separatore);
        const bool stornato = stornati.count(n) != 0;
        auto it = posto.find(s.identita);
        if (it == posto.end()) {
            it = posto.emplace(s.identita, a.casse.size()).first;
            TotaleCassa c;
            c.identita = s.identita;
            c.nome = nomiDaLock ? settings.Read(keys::Stazione, Idx(s.identita), true) : "";
            if (c.nome.empty()) c.nome = s.identita;
            c.primo = n;
            a.casse.push_back(c);
        }
        TotaleCassa& c = a.casse[it->second];
        c.ultimo = n;
        ++c.scontrini;
        if (stornato) ++c.stornati;
        if (!stornato) c.incasso += s.totale;
        DateTime ora;
        if (stornato || !OraDi(s.data, &ora)) continue;
        OraVendite& o = ore[Chiave(ora)];
        o.ora = ora;
        ++o.scontrini;
        o.incasso += s.totale;
    }
    if (ore.empty()) return a;
    // Every hour from the first to the last, the quiet ones too.
    for (DateTime t = ore.begin()->second.ora; Chiave(t) <= ore.rbegin()->first; t = OraDopo(t)) {
        const auto it = ore.find(Chiave(t));
        a.ore.push_back(it == ore.end() ? OraVendite{t, 0, {}} : it->second);
    }
    return a;
}

std::vector<std::string> RigheCasse(const std::vector<TotaleCassa>& casse) {
    std::vector<std::string> righe;
    for (const TotaleCassa& c : casse)
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
