#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "platform/text.h"
#include "sale/sale.h"

namespace vorsa {

bool Sale::ApriTransazioneDati() {
    SettingsStore& st = settings_.store();
    const std::string& dati = settings_.paths().gFileDati;
    using T = SettingsStore::TransactionResult;
    T esito = st.IniziaTransazione(dati);
    if (esito == T::Sparito && !IsNetworkPath(dati) && st.RipristinaFile(dati)) {
        // The data file of this till (a main or single till) was deleted or emptied: it is
        // written back from the last whole copy read, so the numbering goes on.
        prompter_.MostraMessaggio(
            "FILE DEI DATI RIPRISTINATO",
            "\r\nIl file dei dati era stato cancellato o svuotato.\r\nE' stato ripristinato "
            "dall'ultima copia letta da questa vorsa.",
            "SUGGERIMENTO: Controllare le statistiche e non cancellare il file " + dati +
                " durante la serata",
            true, "", "OK", true, 0);
        esito = st.IniziaTransazione(dati);
    }
    switch (esito) {
        case T::Ok:
            return true;
        case T::Sparito:
            motivo_ = IsNetworkPath(dati)
                          ? "SUGGERIMENTO: Il file dei dati non c'\xE8 pi\xF9 sulla vorsa "
                            "principale (" +
                                opt_.gSistemaRemoto + "): avvisare chi la gestisce"
                          : "SUGGERIMENTO: Il file dei dati " + dati +
                                " \xE8 stato cancellato: riavviare il programma";
            return false;
        case T::Occupato:
        case T::Illeggibile:
            motivo_ = IsNetworkPath(dati)
                          ? "SUGGERIMENTO: La vorsa principale (" + opt_.gSistemaRemoto +
                                ") non risponde o \xE8 occupata: verificare che sia accesa e "
                                "collegata alla rete"
                          : "SUGGERIMENTO: Verificare che il file " + dati +
                                " sia leggibile e che la rete sia raggiungibile";
            return false;
    }
    return false;
}

bool Sale::RegistraScontrino() {
    auto& st = settings_.store();
    const long fallite = st.scrittureFallite();
    const bool multi = opt_.gMultiVorsa;
    std::vector<int> venduti;
    for (int n = 1; n <= cat_.gNumeroArticoli; ++n)
        if (cat_.gArticoli[n].quantity > 0) venduti.push_back(n);
    motivo_.clear();
    rifiutata_ = false;

    // Tills of earlier versions serialise by lock entries: every key the sale changes is
    // entered in one write of the lock file and released in another. What makes the sale
    // exclusive is the transaction on the data file below: the counter, statistics and stock
    // are read while this till alone holds the file, and the whole sale is written once before
    // it lets go. Nothing is written without it.
    std::vector<SettingsStore::SectionKey> presi;
    if (multi) {
        const std::vector<SettingsStore::SectionKey> chiavi = LockKeys(venduti);
        const std::vector<bool> esito = st.BloccaChiavi(chiavi);
        for (std::size_t i = 0; i < chiavi.size(); ++i)
            if (esito[i]) presi.push_back(chiavi[i]);
    }
    if (!ApriTransazioneDati()) {
        if (multi) st.SbloccaChiavi(presi);
        return false;
    }
    const std::optional<long long> ultimo = LastNumberIfSellable(venduti);
    if (!ultimo) {
        if (multi) st.SbloccaChiavi(presi);
        return false;
    }
    WriteSale(venduti, *ultimo);
    st.ChiudiTransazione();
    if (multi) st.SbloccaChiavi(presi);
    if (st.scrittureFallite() == fallite) return true;
    RestoreFromFile(venduti);
    return false;
}

std::vector<SettingsStore::SectionKey> Sale::LockKeys(const std::vector<int>& venduti) const {
    std::vector<SettingsStore::SectionKey> chiavi;
    auto chiave = [&chiavi](const KeyName& k) { chiavi.emplace_back(k.section, k.key); };
    chiave(Resolve(keys::StatData));
    chiave(Resolve(keys::StatScontrini));
    for (int n : venduti) {
        const Article& a = cat_.gArticoli[n];
        chiave(Resolve(keys::StatArticolo, a.code));
        if (a.pieces >= 0)
            chiavi.emplace_back(cat_.sezioni[a.section].name, std::to_string(a.position));
    }
    chiave(Resolve(keys::Storni));
    return chiavi;
}

std::optional<long long> Sale::LastNumberIfSellable(const std::vector<int>& venduti) {
    auto& st = settings_.store();
    const bool multi = opt_.gMultiVorsa;
    // The counter as the file holds it: never negative, and never past its maximum, where
    // one more would wrap to a negative number.
    long long ultimo = Val(settings_.Read(keys::StatScontrini, {}, true));
    if (!multi) ultimo = conto_.gNumeroScontrino;
    if (ultimo >= std::numeric_limits<std::int32_t>::max()) {
        st.AnnullaTransazione();
        rifiutata_ = true;
        motivo_ =
            "SUGGERIMENTO: Il numero degli scontrini (STATISTICHE/SCONTRINI) ha raggiunto il "
            "massimo: salvare e svuotare il riepilogo vendite (F6)";
        return std::nullopt;
    }
    // Another till may have sold the last pieces between this bill taking them and now (its
    // commit and the release of its held pieces are two steps): nothing is sold that the file
    // no longer holds, and the bill stays for the operator to take the missing pieces off.
    if (multi) {
        for (int n : venduti) {
            cat_.AggiornaArticolo(n, st, opt_, settings_.paths(), &view_.catalogo);
            const Article& a = cat_.gArticoli[n];
            if (a.pieces < 0 || a.pieces >= a.quantity) continue;
            st.AnnullaTransazione();
            rifiutata_ = true;
            motivo_ = "SUGGERIMENTO: " + a.name + ": ne restano " + std::to_string(a.pieces) +
                      " pezzi. Togliere quelli in pi\xF9 (F3) e premere di nuovo F4";
            return std::nullopt;
        }
    }
    return ultimo;
}

void Sale::WriteSale(const std::vector<int>& venduti, long long ultimo) {
    auto& st = settings_.store();
    const char sep = opt_.gSeparatore;
    const bool multi = opt_.gMultiVorsa;
    conto_.gNumeroScontrino = static_cast<std::int32_t>(std::max(0LL, ultimo) + 1);
    settings_.Write(keys::StatData, FormatDateTime(clock_.Now()));
    settings_.Write(keys::StatScontrini, std::to_string(conto_.gNumeroScontrino));

    std::vector<ArchivedReceipt::Item> voci;
    for (int n : venduti) {
        Article& a = cat_.gArticoli[n];
        if (multi) {
            const auto r = LeggiStatistica(settings_.Read(keys::StatArticolo, a.code, true), sep);
            a.soldQuantity = r ? r->quantity : 0;
            a.soldAmount = r ? r->amount : Currency{};  // the stock was read above
        }
        a.soldQuantity = static_cast<std::int32_t>(
            std::min<long long>(static_cast<long long>(a.soldQuantity) + a.quantity,
                                std::numeric_limits<std::int32_t>::max()));
        a.soldAmount += a.lineTotal;
        // Limited stock ends at 0: -1 would read as unlimited.
        if (a.pieces >= 0) a.pieces = static_cast<std::int16_t>(std::max(0, a.pieces - a.quantity));
        settings_.Write(keys::StatArticolo, TestoStatistica({a.soldQuantity, a.soldAmount}, sep),
                        a.code);
        cat_.ScriviArticolo(n, a.code - cat_.sezioni[a.section].codeBase,
                            settings_.paths().gFileDati, false, st, opt_);
        voci.push_back({a.code, a.quantity, a.lineTotal});
    }

    const int numero = conto_.gNumeroScontrino;
    settings_.Write(keys::Scontrino,
                    TestoScontrino(voci, conto_.gDataScontrino, conto_.gTotaleConto, conto_.gTavolo,
                                   opt_.gIdentitaLock, sep),
                    numero);
    if (!conto_.gCommento.empty())
        settings_.Write(keys::ScontrinoCommento, conto_.gCommento, numero);
    settings_.Write(keys::Storni, StorniDefinitivi(settings_.Read(keys::Storni, {}, true)));
}

void Sale::RestoreFromFile(const std::vector<int>& venduti) {
    auto& st = settings_.store();
    const char sep = opt_.gSeparatore;
    // Nothing reached the file: take the counter, statistics and stock back from it, so the
    // next sale neither skips a receipt number nor counts this one.
    conto_.gNumeroScontrino = static_cast<std::int32_t>(
        std::clamp<long long>(Val(settings_.Read(keys::StatScontrini, {}, true)), 0,
                              std::numeric_limits<std::int32_t>::max()));
    for (int n : venduti) {
        Article& a = cat_.gArticoli[n];
        const auto r = LeggiStatistica(settings_.Read(keys::StatArticolo, a.code, true), sep);
        a.soldQuantity = r ? r->quantity : 0;
        a.soldAmount = r ? r->amount : Currency{};
        cat_.AggiornaArticolo(n, st, opt_, settings_.paths(),
                              &view_.catalogo);  // the stock the file holds
    }
    if (motivo_.empty())
        motivo_ = IsNetworkPath(settings_.paths().gFileDati)
                      ? "SUGGERIMENTO: La vorsa principale (" + opt_.gSistemaRemoto +
                            ") non risponde: verificare che sia accesa e collegata alla rete"
                      : "SUGGERIMENTO: Verificare lo spazio libero sul disco, che il file " +
                            settings_.paths().gFileDati +
                            " sia scrivibile e che la rete sia raggiungibile";
}

}  // namespace vorsa
