#include <algorithm>
#include <vector>

#include "platform/text.h"
#include "sale/vendita.h"

namespace vorsa {
bool Vendita::RegistraScontrino() {
    auto& st = settings_.store();
    const long fallite = st.scrittureFallite();
    const char sep = opt_.gSeparatore;
    const bool multi = opt_.gMultiVorsa;
    std::vector<int> venduti;
    for (int n = 1; n <= cat_.gNumeroArticoli; ++n)
        if (cat_.gArticoli[n].quantity > 0) venduti.push_back(n);

    // On a single till the whole sale reaches the file in one atomic write: all of it or none.
    // Between tills every key the sale changes is locked at once, in one write of the lock
    // file (DATA, SCONTRINI, each article's statistics and, for limited pieces, its catalogue
    // line, STORNI), and released at once after the sale was written in one write of the data
    // file: another till that takes any of these keys finds the whole sale.
    st.IniziaBlocco();
    std::vector<SettingsStore::Chiave> chiavi;
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
    std::vector<SettingsStore::Chiave> presi;
    if (multi) {
        const std::vector<bool> esito = st.BloccaChiavi(chiavi);
        for (std::size_t i = 0; i < chiavi.size(); ++i)
            if (esito[i]) presi.push_back(chiavi[i]);
    }
    if (multi)
        conto_.gNumeroScontrino =
            static_cast<std::int32_t>(Val(settings_.Read(keys::StatScontrini)));
    ++conto_.gNumeroScontrino;
    settings_.Write(keys::StatData, FormatDateTime(clock_.Now()));
    settings_.Write(keys::StatScontrini, std::to_string(conto_.gNumeroScontrino));

    std::vector<ScontrinoArchiviato::Voce> voci;
    for (std::size_t j = 0; j < venduti.size(); ++j) {
        const int n = venduti[j];
        Article& a = cat_.gArticoli[n];
        if (multi) {
            const auto r = LeggiStatistica(settings_.Read(keys::StatArticolo, a.code), sep);
            a.soldQuantity = r ? r->quantity : 0;
            a.soldAmount = r ? r->amount : Currency{};
            cat_.AggiornaArticolo(n, st, opt_, settings_.paths(), &view_.catalogo);
        }
        a.soldQuantity += a.quantity;
        a.soldAmount += a.lineTotal;
        if (a.pieces >= 0) a.pieces = static_cast<std::int16_t>(a.pieces - a.quantity);
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
    settings_.Write(keys::Storni, StorniDefinitivi(settings_.Read(keys::Storni)));

    if (multi) st.SbloccaChiavi(presi);  // flushes the whole sale first
    st.ChiudiBlocco();
    if (st.scrittureFallite() == fallite) return true;

    // Nothing reached the file: take the counter, statistics and stock back from it, so the
    // next sale neither skips a receipt number nor counts this one.
    conto_.gNumeroScontrino = static_cast<std::int32_t>(
        std::max<long long>(0, Val(settings_.Read(keys::StatScontrini, {}, true))));
    for (int n : venduti) {
        Article& a = cat_.gArticoli[n];
        const auto r = LeggiStatistica(settings_.Read(keys::StatArticolo, a.code, true), sep);
        a.soldQuantity = r ? r->quantity : 0;
        a.soldAmount = r ? r->amount : Currency{};
        cat_.AggiornaArticolo(n, st, opt_, settings_.paths(),
                              &view_.catalogo);  // the stock the file holds
    }
    return false;
}

}  // namespace vorsa
