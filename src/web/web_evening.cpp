#include "web/web_evening.h"

#include <algorithm>
#include <cstdio>

#include "data/sales_archive.h"
#include "platform/text.h"

namespace vorsa {

namespace {

/// Length of the valid UTF-8 sequence at the start of `s`, 0 when there is none.
std::size_t Utf8Len(std::string_view s) {
    const auto c = static_cast<unsigned char>(s[0]);
    const std::size_t n = c < 0x80                 ? 1
                          : c >= 0xC2 && c <= 0xDF ? 2
                          : c >= 0xE0 && c <= 0xEF ? 3
                          : c >= 0xF0 && c <= 0xF4 ? 4
                                                   : 0;
    if (n == 0 || s.size() < n) return 0;
    for (std::size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0;
    const auto c1 = static_cast<unsigned char>(s.size() > 1 ? s[1] : 0);
    if ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 > 0x9F) || (c == 0xF0 && c1 < 0x90) ||
        (c == 0xF4 && c1 > 0x8F))
        return 0;  // overlong, surrogate or beyond U+10FFFF
    return n;
}

}  // namespace

std::string JsonUtf8(std::string_view utf8) {
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = Utf8Len(utf8.substr(i));
        if (n == 0) {
            out += "\uFFFD";  // U+FFFD as UTF-8
            ++i;
            continue;
        }
        if (n > 1) {
            out.append(utf8.substr(i, n));
            i += n;
            continue;
        }
        const char ch = utf8[i++];
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '<':
                out += "\\u003c";
                break;
            case '>':
                out += "\\u003e";
                break;
            case '&':
                out += "\\u0026";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += ch;
                }
        }
    }
    return out + "\"";
}

namespace {

/// "dd/mm/yyyy hh:mm:ss" -> "hh:mm".
std::string Ora(const std::string& data) {
    return data.size() >= 16 ? data.substr(11, 5) : std::string();
}

/// "dd/mm/yyyy hh:mm:ss" -> "yyyy/mm/dd hh:mm:ss", which sorts in time order.
std::string Ordinabile(const std::string& data) {
    if (data.size() < 13) return "?";
    return data.substr(6, 4) + "/" + data.substr(3, 2) + "/" + data.substr(0, 2) + data.substr(10);
}

/// The hour of a date, as Ordinabile sorts it: "yyyy/mm/dd hh".
std::string ChiaveOra(const std::string& data) {
    return Ordinabile(data).substr(0, 13);
}

std::string Cents(Currency c) {
    return std::to_string((c.raw >= 0 ? c.raw + 50 : c.raw - 50) / 100);
}

std::string Importo(Currency c) {
    return "\"" + FormatCurrency(c, true) + "\",\"centesimi\":" + Cents(c);
}

std::string Entries(const IniDocument& doc, std::map<std::int32_t, std::string>& out) {
    std::string testo;
    out.clear();
    for (const auto& [k, v] : doc.Entries("PRONTI")) {
        testo += k + '=' + v + '\n';
        if (IsInteger(k) && Val(k) >= 1 && Val(k) <= INT32_MAX)
            out.emplace(static_cast<std::int32_t>(Val(k)), v);
    }
    return testo;
}

}  // namespace

void WebEvening::Ricomincia() {
    scontrini_.clear();
}

bool WebEvening::LeggiNuovi(std::int32_t ultimo) {
    // The statistics were emptied (fewer receipts, or the last one read is another now).
    if (static_cast<std::size_t>(ultimo) < scontrini_.size() ||
        (!scontrini_.empty() && settings_.Read(keys::Scontrino, static_cast<int>(scontrini_.size()),
                                               true) != scontrini_.back().record))
        Ricomincia();
    if (static_cast<std::size_t>(ultimo) == scontrini_.size()) return false;
    const char sep = settings_.options().gSeparatore;
    for (auto n = static_cast<std::int32_t>(scontrini_.size()) + 1; n <= ultimo; ++n) {
        ReadReceipt l;
        l.record = settings_.Read(keys::Scontrino, n, true);
        l.dati = LeggiScontrino(l.record, sep);
        l.commento = settings_.Read(keys::ScontrinoCommento, n, true);
        scontrini_.push_back(std::move(l));
    }
    return true;
}

bool WebEvening::Aggiorna() {
    ProfileStore& p = settings_.store().profiles();
    p.BeginSnapshot();
    const long long ultimo = Val(settings_.Read(keys::StatScontrini, {}, true));
    bool nuovo = LeggiNuovi(static_cast<std::int32_t>(std::clamp<long long>(ultimo, 0, 1'000'000)));
    std::string storni = settings_.Read(keys::Storni, {}, true);
    if (storni != storni_) {
        stornati_.clear();
        for (const Storno& s : LeggiStorni(storni, settings_.options().gSeparatore))
            stornati_.insert(s.numero);
        storni_ = std::move(storni);
        nuovo = true;
    }
    std::map<std::int32_t, std::string> pronti;
    std::string testo = Entries(p.Document(settings_.paths().gFileDati), pronti);
    if (testo != prontiTesto_) {
        pronti_ = std::move(pronti);
        prontiTesto_ = std::move(testo);
        nuovo = true;
    }
    p.EndSnapshot();
    return nuovo;
}

const Article* WebEvening::ArticoloCucina(int code) const {
    const int i = cat_.IndiceArticolo(code);
    if (i <= 0) return nullptr;
    const Article& a = cat_.gArticoli[static_cast<std::size_t>(i)];
    const auto& comande = settings_.options().gComande;
    const std::size_t k = a.kitchenOrder;
    return k >= 1 && k <= comande.size() && comande[k - 1].abilitato ? &a : nullptr;
}

std::string WebEvening::JsonNumeri() const {
    std::vector<std::pair<std::string, std::int32_t>> marcati;
    for (const auto& [n, quando] : pronti_)
        if (static_cast<std::size_t>(n) <= scontrini_.size() && !Stornato(n))
            marcati.emplace_back(Ordinabile(quando), n);
    std::sort(marcati.begin(), marcati.end(), std::greater<>());
    std::string out = "{\"numeri\":[";
    for (std::size_t i = 0; i < marcati.size() && i < 10; ++i)
        out += (i ? ",{\"numero\":" : "{\"numero\":") + std::to_string(marcati[i].second) +
               ",\"ora\":" + JsonTesto(Ora(pronti_.at(marcati[i].second))) + "}";
    return out + "]}";
}

std::string WebEvening::JsonCucina() const {
    std::string out = "{\"ordini\":[";
    bool primo = true;
    for (std::size_t i = 0; i < scontrini_.size(); ++i) {
        const auto n = static_cast<std::int32_t>(i + 1);
        const ArchivedReceipt& s = scontrini_[i].dati;
        if (Stornato(n) || pronti_.count(n)) continue;
        std::string righe;
        for (const auto& v : s.voci)
            if (const Article* a = ArticoloCucina(v.code))
                righe += (righe.empty() ? "{\"nome\":" : ",{\"nome\":") + JsonTesto(a->name) +
                         ",\"pezzi\":" + std::to_string(v.quantity) + "}";
        if (righe.empty()) continue;  // nothing of it goes to the kitchen
        out += primo ? "" : ",";
        primo = false;
        out += "{\"numero\":" + std::to_string(n) + ",\"ora\":" + JsonTesto(Ora(s.data)) +
               ",\"tavolo\":" + JsonTesto(s.tavolo) +
               ",\"nota\":" + JsonTesto(scontrini_[i].commento) + ",\"righe\":[" + righe + "]}";
    }
    return out + "]}";
}

std::string WebEvening::JsonIncassi() const {
    struct Sum {
        std::int32_t scontrini = 0;
        Currency incasso;
    };
    Sum totale;
    std::int32_t stornati = 0;
    std::map<std::string, Sum> casse, ore;
    std::map<int, std::pair<std::int32_t, Currency>> articoli;  // code -> pieces, amount
    for (std::size_t i = 0; i < scontrini_.size(); ++i) {
        const ArchivedReceipt& s = scontrini_[i].dati;
        if (Stornato(static_cast<std::int32_t>(i + 1))) {
            ++stornati;
            continue;
        }
        for (Sum* m : {&totale, &casse[s.identita], &ore[ChiaveOra(s.data)]}) {
            ++m->scontrini;
            m->incasso += s.totale;
        }
        for (const auto& v : s.voci) {
            articoli[v.code].first += v.quantity;
            articoli[v.code].second += v.amount;
        }
    }
    std::string out = "{\"incasso\":" + Importo(totale.incasso) +
                      ",\"scontrini\":" + std::to_string(totale.scontrini) +
                      ",\"stornati\":" + std::to_string(stornati) + ",\"casse\":[";
    bool primo = true;
    const Options& o = settings_.options();
    for (const auto& [identita, m] : casse) {
        // As the statistics panel names them: the name a till registered, this till's own.
        std::string nome =
            o.gMultiVorsa ? settings_.Read(keys::Stazione, Idx(identita), true) : std::string();
        if (nome.empty() && identita == o.gIdentitaLock) nome = NomeCassa(o);
        if (nome.empty()) nome = identita;
        out += std::string(primo ? "" : ",") + "{\"nome\":" + JsonTesto(nome) +
               ",\"scontrini\":" + std::to_string(m.scontrini) +
               ",\"incasso\":" + Importo(m.incasso) + "}";
        primo = false;
    }
    out += "],\"ore\":[";
    primo = true;
    for (const auto& [ora, m] : ore) {
        out += std::string(primo ? "" : ",") +
               "{\"ora\":" + JsonTesto(ora.size() > 11 ? ora.substr(11) + ":00" : ora) +
               ",\"scontrini\":" + std::to_string(m.scontrini) +
               ",\"incasso\":" + Importo(m.incasso) + "}";
        primo = false;
    }
    std::vector<std::pair<std::int32_t, int>> classifica;
    for (const auto& [code, a] : articoli) classifica.emplace_back(a.first, code);
    std::stable_sort(classifica.begin(), classifica.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    out += "],\"articoli\":[";
    for (std::size_t i = 0; i < classifica.size() && i < 10; ++i) {
        const int code = classifica[i].second;
        const int a = cat_.IndiceArticolo(code);
        const std::string nome =
            a > 0 ? cat_.gArticoli[static_cast<std::size_t>(a)].name : std::to_string(code);
        out += std::string(i ? "," : "") + "{\"codice\":" + std::to_string(code) +
               ",\"nome\":" + JsonTesto(nome) +
               ",\"pezzi\":" + std::to_string(classifica[i].first) +
               ",\"incasso\":" + Importo(articoli.at(code).second) + "}";
    }
    return out + "]}";
}

}  // namespace vorsa
