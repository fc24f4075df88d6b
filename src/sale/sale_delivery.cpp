#include <algorithm>
#include <limits>
#include <map>
#include <vector>

#include "platform/text.h"
#include "sale/sale.h"

namespace vorsa {
namespace {

constexpr long long kMassimoScontrini = std::numeric_limits<std::int32_t>::max();

}  // namespace

std::string TestoInAttesa(std::size_t quante) {
    if (quante == 0) return {};
    if (quante == 1) return "1 vendita in attesa di invio";
    return std::to_string(quante) + " vendite in attesa di invio";
}

void Sale::MostraInAttesa() {
    view_.conto.SetInAttesa(TestoInAttesa(attesa_.Quante()));
}

std::optional<PendingSale> Sale::Accoda() {
    std::vector<ArchivedReceipt::Item> voci;
    for (int n = 1; n <= cat_.gNumeroArticoli; ++n) {
        const Article& a = cat_.gArticoli[n];
        if (a.quantity > 0) voci.push_back({a.code, a.quantity, a.lineTotal});
    }
    const std::string record = TestoScontrino(voci, conto_.gDataScontrino, conto_.gTotaleConto,
                                              conto_.gTavolo, opt_.gIdentitaLock, opt_.gSeparatore);
    auto v = attesa_.Accoda(record, conto_.gCommento, FormatDateTime(conto_.gDataScontrino));
    MostraInAttesa();
    return v;
}

int Sale::ConsegnaInAttesa() {
    std::vector<PendingSale> elenco = attesa_.Elenco();
    if (elenco.empty()) return 0;
    if (!ApriTransazioneDati()) return -1;
    SettingsStore& st = settings_.store();
    const char sep = opt_.gSeparatore;
    const Idx identita = Idx(opt_.gIdentitaLock);

    // Which of this till's sales the file holds already: a till killed between the shared
    // write and dropping them from its list finds them here and does not deliver them twice.
    const long long consegnate =
        std::max(0LL, Val(settings_.Read(keys::Consegnate, identita, true)));
    if (attesa_.Ultimo() < consegnate) {
        // The list's counter went back (its file was replaced): its sales are new ones.
        st.AnnullaTransazione();
        if (!attesa_.Rinumera(consegnate)) return -1;
        return ConsegnaInAttesa();
    }
    long long ultimo = std::max(0LL, Val(settings_.Read(keys::StatScontrini, {}, true)));
    std::map<int, long long> oltre;
    long long fatte = 0;
    long long ultimaId = consegnate;
    for (const PendingSale& v : elenco) {
        if (v.id <= consegnate) continue;
        if (ultimo >= kMassimoScontrini) break;  // the rest waits for the statistics to be emptied
        const int numero = static_cast<int>(++ultimo);
        const ArchivedReceipt s = LeggiScontrino(v.record, sep);
        for (const ArchivedReceipt::Item& voce : s.voci) DeliverLine(voce, oltre);
        settings_.Write(keys::Scontrino, v.record, numero);
        if (!v.commento.empty()) settings_.Write(keys::ScontrinoCommento, v.commento, numero);
        if (!v.data.empty()) settings_.Write(keys::StatData, v.data);
        ultimaId = v.id;
        ++fatte;
    }
    for (const auto& [code, pezzi] : oltre) {
        const long long prima =
            std::max(0LL, Val(settings_.Read(keys::ScortaSuperata, code, true)));
        settings_.Write(keys::ScortaSuperata, std::to_string(prima + pezzi), code);
    }
    settings_.Write(keys::StatScontrini, std::to_string(ultimo));
    settings_.Write(keys::Consegnate, std::to_string(ultimaId), identita);
    const long fallite = st.scrittureFallite();
    if (!st.ChiudiTransazione() || st.scrittureFallite() != fallite) {
        MostraInAttesa();
        return -1;
    }
    conto_.gNumeroScontrino = static_cast<std::int32_t>(ultimo);
    // Entries that a commit could not release while the share was away would hold up tills of
    // earlier versions: this till holds no key between commits.
    st.SbloccaChiaviProprie();
    // Dropped after the shared write: a kill in between leaves them listed, and the record of
    // delivered ids above skips them next time.
    attesa_.Togli(ultimaId);
    MostraInAttesa();
    return static_cast<int>(fatte);
}

void Sale::DeliverLine(const ArchivedReceipt::Item& voce, std::map<int, long long>& oltre) {
    SettingsStore& st = settings_.store();
    const std::string& dati = settings_.paths().gFileDati;
    const char sep = opt_.gSeparatore;
    vorsa::Statistica stat =
        LeggiStatistica(settings_.Read(keys::StatArticolo, voce.code, true), sep)
            .value_or(vorsa::Statistica{});
    stat.quantity = static_cast<std::int32_t>(
        std::min<long long>(static_cast<long long>(stat.quantity) + voce.quantity,
                            std::numeric_limits<std::int32_t>::max()));
    stat.amount += voce.amount;
    settings_.Write(keys::StatArticolo, TestoStatistica(stat, sep), voce.code);
    const int n = cat_.IndiceArticolo(voce.code);
    if (n < 1 || n > cat_.gNumeroArticoli) return;
    Article& a = cat_.gArticoli[n];
    a.soldQuantity = stat.quantity;
    a.soldAmount = stat.amount;
    // Only the pieces field of the line changes: the article as this till holds it
    // may carry a price typed for the bill still open.
    const std::string& sezione = cat_.sezioni[a.section].name;
    const std::string pos = std::to_string(a.position);
    std::vector<std::string> campi = Split(st.LeggiIni(sezione, pos, dati, true), sep);
    if (campi.size() < 5) return;
    const long long pezzi = Val(campi[4]);
    if (pezzi < 0 || Trim(campi[4]).empty()) return;  // unlimited
    if (voce.quantity > pezzi) oltre[voce.code] += voce.quantity - pezzi;
    a.pieces = static_cast<std::int16_t>(
        std::clamp<long long>(pezzi - voce.quantity, 0, std::numeric_limits<std::int16_t>::max()));
    campi[4] = std::to_string(a.pieces);
    std::string riga = campi[0];
    for (std::size_t i = 1; i < campi.size(); ++i) riga += sep + campi[i];
    st.ScriviIni(sezione, pos, riga, dati);
}

void Sale::DopoAggiornamento() {
    if (!opt_.gMultiVorsa) return;
    // Never under a bill being made: its pieces and prices stay as the operator sees them,
    // and its commit delivers the waiting sales first anyway.
    if (view_.conto.ListCount() == 0 && conto_.gTotaleConto == Currency{}) {
        if (attesa_.Quante() > 0) ConsegnaInAttesa();
        const auto tenuti = PezziTenutiQui(settings_);
        if (!tenuti.empty()) RestituisciPezzi(settings_, tenuti);
    }
    AvvisaScortaSuperata();
}

void Sale::AvvisaScortaSuperata() {
    if (!opt_.gPrincipale) return;
    const std::string& dati = settings_.paths().gFileDati;
    SettingsStore& st = settings_.store();
    const IniDocument& doc = st.profiles().Document(dati);
    const KeyName k = Resolve(keys::ScortaSuperata, 0);
    if (doc.Entries(k.section).empty()) return;
    if (st.IniziaTransazione(dati) != SettingsStore::TransactionResult::Ok) return;
    // Taken and cleared under the lock, so each excess is told once.
    const auto voci = st.profiles().Document(dati).Entries(k.section);
    st.profiles().DeleteSection(dati, k.section);
    if (!st.ChiudiTransazione()) return;
    std::string testo =
        "\r\nMentre la vorsa principale non era raggiungibile sono stati venduti "
        "pezzi oltre la scorta:";
    for (const auto& [codice, pezzi] : voci) {
        const int n = cat_.IndiceArticolo(static_cast<int>(Val(codice)));
        const std::string nome =
            n >= 1 && n <= cat_.gNumeroArticoli ? cat_.gArticoli[n].name : "Articolo " + codice;
        const long long q = Val(pezzi);
        testo += "\r\n  " + nome + " (" + Trim(codice) + "): " + std::to_string(q) +
                 (q == 1 ? " pezzo" : " pezzi") + " in pi\xF9";
    }
    prompter_.MostraMessaggio("SCORTA SUPERATA", testo,
                              "SUGGERIMENTO: Controllare il magazzino di questi articoli (F7)",
                              true, "", "OK", false, 0);
}

}  // namespace vorsa
