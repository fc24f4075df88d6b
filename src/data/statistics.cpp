#include "data/statistics.h"

#include <algorithm>
#include <climits>
#include <map>

#include "data/records.h"
#include "platform/text.h"
#include "settings/settings_gateway.h"

namespace vorsa {
namespace {

std::string PadRight(std::string_view s, std::size_t width) {
    std::string r(s);
    if (r.size() < width) r.append(width - r.size(), ' ');
    return r;
}

std::string PadLeft(std::string_view s, std::size_t width) {
    std::string r(s);
    if (r.size() < width) r.insert(0, width - r.size(), ' ');
    return r;
}

/// Whole part of an amount as it is shown (rounded to cents), so the padding always matches
/// the digits on screen.
long long ParteIntera(Currency c) {
    const std::int64_t centesimi = (c.raw >= 0 ? c.raw + 50 : c.raw - 50) / 100;
    return centesimi / 100;
}

/// "06/12/2026 19:45:03" -> {"06/12/2026", "19:45"}; any other text stays whole as the date.
std::pair<std::string, std::string> DataOra(const std::string& testo) {
    const auto parti = Split(Trim(testo), ' ');
    if (parti.size() < 2) return {Trim(testo), ""};
    const auto d = Split(parti[0], '/');
    const auto h = Split(parti[1], ':');
    if (d.size() != 3 || h.size() < 2) return {Trim(testo), ""};
    for (const auto* v : {&d[0], &d[1], &d[2], &h[0], &h[1]})
        if (!IsInteger(*v)) return {Trim(testo), ""};
    auto due = [](const std::string& s) { return PadLeft(std::to_string(Val(s)), 2); };
    auto zero = [](std::string s) {
        std::replace(s.begin(), s.end(), ' ', '0');
        return s;
    };
    return {zero(due(d[0])) + "/" + zero(due(d[1])) + "/" + std::to_string(Val(d[2])),
            zero(due(h[0])) + ":" + zero(due(h[1]))};
}

bool Contiene(const std::vector<Storno>& storni, std::int32_t n, bool* revocabile) {
    for (const Storno& s : storni)
        if (s.numero == n) {
            if (revocabile) *revocabile = s.revocabile;
            return true;
        }
    return false;
}

std::int16_t Pezzi(long long v) {
    return static_cast<std::int16_t>(std::clamp<long long>(v, 0, SHRT_MAX));
}

}  // namespace

std::string FormatMigliaia(long long n) {
    std::string cifre = std::to_string(n < 0 ? -n : n);
    for (int i = static_cast<int>(cifre.size()) - 3; i > 0; i -= 3)
        cifre.insert(static_cast<std::size_t>(i), ".");
    return n < 0 ? "-" + cifre : cifre;
}

std::string RigaStatistica(std::string_view nome, std::int32_t quantita, Currency importo) {
    std::string colonna =
        nome.size() < 48 ? PadRight(nome, 47) : std::string(nome.substr(0, 45)) + "..";
    const long long intero = ParteIntera(importo);
    std::size_t spazi = 0;
    if (importo.raw >= 0) {
        if (intero <= 9)
            spazi = 4;
        else if (intero <= 99)
            spazi = 3;
        else if (intero <= 999)
            spazi = 2;
        else if (intero <= 9999)
            spazi = 1;
    }
    return "Nr. " + PadLeft(std::to_string(quantita), 4) + " " + colonna + " - Tot. " +
           std::string(kEuro) + ":" + std::string(spazi, ' ') + FormatCurrency(importo, true);
}

std::vector<std::string> RigheStrette(const std::vector<std::string>& righe, std::size_t massimo) {
    constexpr std::string_view kTot = " - Tot. ";
    constexpr std::size_t kNr = 9;  // "Nr. " + pieces + " ": never cut
    std::size_t comuni = std::string::npos;
    for (const std::string& r : righe) {
        const std::size_t at = r.find(kTot);
        if (at == std::string::npos) continue;
        std::size_t spazi = 0;
        while (spazi < at && r[at - 1 - spazi] == ' ') ++spazi;
        comuni = std::min(comuni, spazi);
    }
    if (comuni == std::string::npos) return righe;
    std::vector<std::string> out = righe;
    std::size_t lunga = 0;
    for (std::string& r : out) {
        if (const std::size_t at = r.find(kTot); at != std::string::npos) {
            r.erase(at - comuni, comuni);
            lunga = std::max(lunga, r.size());
        }
    }
    if (lunga <= massimo) return out;
    // Every name column loses the same width: first its blanks, then the name's end.
    const std::size_t taglio = lunga - massimo;
    for (std::string& r : out) {
        const std::size_t at = r.find(kTot);
        if (at == std::string::npos) continue;
        const std::size_t voluta = at > taglio + kNr ? at - taglio : kNr;
        std::string testa = r.substr(0, at);
        while (testa.size() > voluta && testa.back() == ' ') testa.pop_back();
        if (testa.size() > voluta)
            testa =
                voluta >= kNr + 3 ? testa.substr(0, voluta - 2) + ".." : testa.substr(0, voluta);
        r = testa + r.substr(at);
    }
    return out;
}

VoidTransition CambiaStorni(std::string_view lista, std::int32_t n, bool storno, char separatore) {
    std::vector<Storno> storni = LeggiStorni(lista, separatore);
    bool revocabile = false;
    const bool trovato = Contiene(storni, n, &revocabile);
    if (storno && !trovato) {
        storni.push_back({n, true});
        return {TestoStorni(storni, separatore), -1};
    }
    if (!storno && trovato && revocabile) {
        std::erase_if(storni, [n](const Storno& s) { return s.numero == n; });
        return {TestoStorni(storni, separatore), +1};
    }
    return {std::string(lista), 0};
}

NumberKey FiltroNumeroScontrino(int key, bool vuoto) {
    if (key == '\b' || key == '\t') return NumberKey::Passa;
    if (key < '0' || key > '9') return NumberKey::Scarta;
    if (key == '0' && vuoto) return NumberKey::Uno;
    return NumberKey::Passa;
}

void Statistics::RileggiNumero() {
    if (p_.opt.gMultiVorsa)
        p_.gNumeroScontrino = static_cast<std::int32_t>(
            std::clamp<long long>(Val(p_.settings.Read(keys::StatScontrini)), 0, INT32_MAX));
}

Summary Statistics::MostraStatistiche() {
    Summary r;
    const std::string data = p_.settings.Read(keys::StatData);
    if (!data.empty()) std::tie(r.data, r.ora) = DataOra(data);
    r.commento = p_.settings.Read(keys::StatCommento);
    Currency totale;
    Catalogue& cat = p_.cat;
    for (int n = 1; n <= cat.gNumeroArticoli; ++n) {
        if (p_.opt.gMultiVorsa) RicaricaArticolo(n);
        const Article& a = cat.gArticoli[n];
        if (a.soldQuantity <= 0) continue;
        r.righe.push_back({RigaStatistica(a.name, a.soldQuantity, a.soldAmount), n});
        totale += a.soldAmount;
    }
    r.totale = FormatCurrency(totale, true);
    r.scontrini = FormatMigliaia(p_.gNumeroScontrino);
    r.comandi = p_.gNumeroScontrino >= 1;
    return r;
}

void Statistics::RicaricaArticolo(int index) {
    Article& a = p_.cat.gArticoli[index];
    const auto s =
        LeggiStatistica(p_.settings.Read(keys::StatArticolo, a.code, true), p_.opt.gSeparatore);
    a.soldQuantity = s ? s->quantity : 0;
    a.soldAmount = s ? s->amount : Currency{};
    p_.cat.AggiornaArticolo(index, p_.settings.store(), p_.opt, p_.settings.paths(), nullptr);
}

bool Statistics::Svuota(Prompter& domande) {
    if (p_.gNumeroScontrino <= 0) return false;
    if (!domande.ConfermaSiNo("Cancella statistiche prodotti",
                              "Sicuro di voler cancellare le statistiche e gli scontrini?"))
        return false;
    SettingsStore& st = p_.settings.store();
    const long fallite = st.scrittureFallite();
    const std::string& dati = p_.settings.paths().gFileDati;
    if (st.IniziaTransazione(dati) != SettingsStore::TransactionResult::Ok) return false;
    st.CancellaChiave("STATISTICHE", "", dati);
    st.CancellaChiave("SCONTRINI", "", dati);
    st.CancellaChiave("PRONTI", "", dati);  // the web pages' ready marks go with their receipts
    st.ChiudiTransazione();
    if (st.scrittureFallite() != fallite) return false;  // the file still holds everything
    for (Article& a : p_.cat.gArticoli) {
        a.soldQuantity = 0;
        a.soldAmount = Currency{};
    }
    p_.gNumeroScontrino = 0;
    return true;
}

void Statistics::SalvaCommento(std::string_view testo) {
    p_.settings.Write(keys::StatCommento, testo);
}

Statistics::NumberResult Statistics::CambioNumero(std::string_view testo) {
    if (testo.empty()) return {"1", 0};
    RileggiNumero();
    const long long n = IsInteger(testo) ? Val(testo) : 0;
    if (n >= 1 && n <= p_.gNumeroScontrino) return {std::nullopt, static_cast<int>(n)};
    std::string ultimo = std::to_string(p_.gNumeroScontrino);
    if (ultimo == testo) return {std::nullopt, 0};  // no receipts: the box rests on 0
    return {std::move(ultimo), 0};
}

ReceiptView Statistics::MostraScontrino(int n) {
    ReceiptView v;
    v.numero = n;
    const char sep = p_.opt.gSeparatore;
    const std::string record = n >= 1 ? p_.settings.Read(keys::Scontrino, n) : std::string();
    const std::vector<Storno> storni = LeggiStorni(p_.settings.Read(keys::Storni), sep);
    v.stornati = FormatMigliaia(static_cast<long long>(storni.size()));
    if (record.empty()) return v;
    v.esiste = true;
    const ArchivedReceipt s = LeggiScontrino(record, sep);
    v.etichette[1] = FormatMigliaia(static_cast<long long>(s.voci.size()));
    if (p_.opt.gMultiVorsa && !s.identita.empty())
        v.etichette[0] = p_.settings.Read(keys::Stazione, Idx(s.identita), true);
    std::tie(v.etichette[2], v.etichette[3]) = DataOra(s.data);
    v.etichette[4] = FormatCurrency(s.totale, true);
    v.etichette[5] = s.tavolo;
    v.etichette[6] = p_.settings.Read(keys::ScontrinoCommento, n);

    bool revocabile = false;
    if (Contiene(storni, n, &revocabile)) {
        v.storno = true;
        v.stornoAbilitato = revocabile;
        v.rosso = true;
    }

    const Catalogue& cat = p_.cat;
    for (const auto& voce : s.voci) {
        const int index = cat.IndiceArticolo(voce.code);
        std::string nome;
        if (index >= 1 && index <= cat.gNumeroArticoli)
            nome = cat.gArticoli[static_cast<std::size_t>(index)].name;
        else
            nome = "codice " + std::to_string(voce.code) + " non pi\xF9 in catalogo";
        const long long intero = ParteIntera(voce.amount);
        const std::size_t spazi = voce.amount.raw < 0 ? 0 : intero <= 9 ? 2 : intero <= 99 ? 1 : 0;
        v.righe.push_back({"Nr. " + PadLeft(std::to_string(voce.quantity), 2) + " " +
                               PadRight(nome, 50) + " - Tot. " + std::string(kEuro) + ":" +
                               std::string(spazi, ' ') + FormatCurrency(voce.amount, true),
                           voce.code});
        v.voci.push_back({index >= 1 && index <= cat.gNumeroArticoli ? index : -1, voce.code,
                          voce.quantity, voce.amount});
    }
    return v;
}

Statistics::VoidResult Statistics::CambiaStorno(int n, bool spuntato) {
    RileggiNumero();
    if (p_.gNumeroScontrino == 0 || n < 1) return {MostraScontrino(n), true};
    SettingsStore& st = p_.settings.store();
    const long fallite = st.scrittureFallite();
    const char sep = p_.opt.gSeparatore;

    // The void list, the statistics and the stock change in one transaction on the data file,
    // as a sale does; lock entries are kept for tills of earlier versions.
    const bool multi = p_.opt.gMultiVorsa;
    std::vector<ViewItem> voci = MostraScontrino(n).voci;
    std::vector<SettingsStore::SectionKey> presi;
    if (multi) {
        std::vector<SettingsStore::SectionKey> chiavi;
        const KeyName storni = Resolve(keys::Storni);
        chiavi.emplace_back(storni.section, storni.key);
        for (const ViewItem& v : voci) {
            if (v.index < 1) continue;
            const KeyName k = Resolve(keys::StatArticolo, v.code);
            chiavi.emplace_back(k.section, k.key);
            const Article& a = p_.cat.gArticoli[static_cast<std::size_t>(v.index)];
            if (a.pieces >= 0)
                chiavi.emplace_back(p_.cat.sezioni[a.section].name, std::to_string(a.position));
        }
        const std::vector<bool> esito = st.BloccaChiavi(chiavi);
        for (std::size_t i = 0; i < chiavi.size(); ++i)
            if (esito[i]) presi.push_back(chiavi[i]);
    }
    if (st.IniziaTransazione(p_.settings.paths().gFileDati) !=
        SettingsStore::TransactionResult::Ok) {
        if (multi) st.SbloccaChiavi(presi);
        return {MostraScontrino(n), false};
    }
    const VoidTransition t =
        CambiaStorni(p_.settings.Read(keys::Storni, {}, true), n, spuntato, sep);
    if (t.segno != 0) {
        ApplicaScontrino(voci, t.segno);
        p_.settings.Write(keys::Storni, t.lista);
    } else {
        voci.clear();
    }
    st.ChiudiTransazione();
    if (multi) st.SbloccaChiavi(presi);
    const bool salvato = st.scrittureFallite() == fallite;
    if (!salvato)  // nothing reached the file: take the figures back from it
        for (const ViewItem& v : voci)
            if (v.index >= 1) RicaricaArticolo(v.index);
    return {MostraScontrino(n), salvato};
}

void Statistics::ApplicaScontrino(const std::vector<ViewItem>& voci, int segno) {
    Catalogue& cat = p_.cat;
    SettingsStore& st = p_.settings.store();
    const bool multi = p_.opt.gMultiVorsa;
    std::map<int, bool> riletto;
    for (const ViewItem& v : voci) {
        if (v.index < 1) continue;  // a code no longer in the catalogue has nothing to void
        Article& a = cat.gArticoli[static_cast<std::size_t>(v.index)];
        // Another till may have sold since this one last read: apply to the file's figures.
        if (multi && !riletto[v.code]) {
            RicaricaArticolo(v.index);
            riletto[v.code] = true;
        }
        a.soldQuantity = static_cast<std::int32_t>(std::clamp<long long>(
            static_cast<long long>(a.soldQuantity) + static_cast<long long>(segno) * v.quantity,
            INT32_MIN, INT32_MAX));
        a.soldAmount += v.amount * segno;
        if (a.pieces >= 0) a.pieces = Pezzi(static_cast<long long>(a.pieces) - segno * v.quantity);
        p_.settings.Write(keys::StatArticolo,
                          TestoStatistica({a.soldQuantity, a.soldAmount}, p_.opt.gSeparatore),
                          v.code);
        cat.ScriviArticolo(v.index, v.code - cat.sezioni[a.section].codeBase,
                           p_.settings.paths().gFileDati, false, st, p_.opt);
    }
}

}  // namespace vorsa
