#include <array>

#include "platform/text.h"
#include "sale/sale.h"

namespace vorsa {
namespace {

constexpr std::string_view kAttiva = "     -     *** STAMPA   AUTOMATICA   ATTIVA ***";
constexpr std::string_view kNonAttiva = "     -     *** STAMPA   AUTOMATICA   NON   ATTIVA ***";

}  // namespace

void Sale::ImpostaBottoni(int n, bool acceso) {
    Azioni& az = azioni_;
    for (int k = 1; k <= kNumeroAzioni; ++k) {
        az[k].enabled = !acceso;
        view_.azioni.SetActionEnabled(k, !acceso);
        view_.azioni.SetActionKeyColour(k, acceso ? kColoreTastoSpento : kColoreTastoAttivo);
    }
    if (acceso) {
        az[n].enabled = true;
        view_.azioni.SetActionEnabled(n, true);
        view_.azioni.SetActionKeyColour(n, kColoreTastoAttivo);
    } else {
        az[kAzioneNuovoConto].enabled = false;
        view_.azioni.SetActionEnabled(kAzioneNuovoConto, false);
        view_.azioni.SetActionColour(kAzioneNuovoConto, kColoreBottone);
        view_.azioni.SetActionKeyColour(kAzioneNuovoConto, kColoreTastoSpento);
    }
}

void Sale::EseguiAzione(int n) {
    if (n < kAzionePaga || n > kNumeroAzioni) return;
    Azione& a = azioni_[n];
    if (!a.enabled) {
        MostraErrore();
        return;
    }
    view_.catalogo.ShowFeedback(kRiscontroOk);
    a.stato = !a.stato;

    if (!a.stato) {
        view_.azioni.SetActionColour(n, kColoreBottone);
        ImpostaBottoni(n, false);
        view_.azioni.SetActionCaption(n, a.caption1);
        Spegni(n);
        return;
    }
    view_.azioni.SetActionColour(n, a.colour);
    ImpostaBottoni(n, true);
    if (!a.caption2.empty()) view_.azioni.SetActionCaption(n, a.caption2);
    using Handler = void (Sale::*)();
    static constexpr std::array<Handler, kNumeroAzioni + 1> kAccendi = {
        nullptr,       &Sale::Paga,     &Sale::Cancella,   &Sale::Storno,
        &Sale::Commit, &Sale::Ristampa, &Sale::Statistica, &Sale::Impostazioni};
    (this->*kAccendi[static_cast<std::size_t>(n)])();
}

void Sale::Spegni(int n) {
    switch (n) {
        case kAzionePaga:
            cat_.AbilitaArticoli(false, view_.catalogo);
            view_.pagamento.ModoPagamento(false);
            view_.azioni.SetActionHeight(kAzionePaga, kAltezzaAzione);
            view_.azioni.SetActionHeight(kAzioneNuovoConto, kAltezzaAzione);
            break;
        case kAzioneStatistica:
            cat_.AbilitaArticoli(false, view_.catalogo);
            view_.finestra.ShowPanel(kPannelloStatistica, false);
            break;
        case kAzioneImpostazioni:
            view_.finestra.ReLayout();
            cat_.AbilitaArticoli(false, view_.catalogo);
            view_.finestra.ShowPanel(kPannelloImpostazioni, false);
            break;
        default:
            break;
    }
}

void Sale::Paga() {
    if (conto_.gTotaleConto <= Currency{}) {
        EseguiAzione(kAzionePaga);
        return;
    }
    view_.azioni.SetActionHeight(kAzionePaga, kAltezzaAzionePagamento);
    view_.azioni.SetActionHeight(kAzioneNuovoConto, kAltezzaAzionePagamento);
    AbilitaCommit();
    cat_.AbilitaArticoli(true, view_.catalogo);
    view_.pagamento.ModoPagamento(true);
}

void Sale::AbilitaCommit() {
    Azione& commit = azioni_[kAzioneNuovoConto];
    commit.enabled = true;
    view_.azioni.SetActionEnabled(kAzioneNuovoConto, true);
    view_.azioni.SetActionColour(kAzioneNuovoConto, commit.colour);
    view_.azioni.SetActionKeyColour(kAzioneNuovoConto, kColoreTastoAttivo);
}

void Sale::Cancella() {
    if (conto_.gTotaleConto > Currency{}) {
        if (prompter_.ConfermaSiNo("Cancella elenco prodotti",
                                   "Sicuro di voler cancellare i prodotti elencati?\r\n\r\n"
                                   "I prodotti NON entreranno nella statistica del venduto."))
            NuovoConto();
    } else {
        NuovoConto();
    }
    EseguiAzione(kAzioneCancella);
}

void Sale::Storno() {
    // Stays on until the next article takes one piece off; nothing to take from an empty bill.
    if (view_.conto.ListCount() == 0) EseguiAzione(kAzioneStorno);
}

void Sale::Commit() {
    SequenzaCommit();
}

void Sale::Ristampa() {
    if (print_ && print_->StampanteDisponibile() &&
        (!conto_.ultimoConto.gRistampaFatta || ChiediPassword(kAzioneRistampa))) {
        print_->StampaUltimoConto(true);
        print_->CancellaFormScontrini();
        conto_.ultimoConto.gRistampaFatta = true;
    }
    EseguiAzione(kAzioneRistampa);
}

void Sale::Statistica() {
    cat_.AbilitaArticoli(true, view_.catalogo);
    if (opt_.gMultiVorsa)
        conto_.gNumeroScontrino =
            static_cast<std::int32_t>(Val(settings_.Read(keys::StatScontrini)));
    view_.finestra.ShowPanel(kPannelloStatistica, true);
}

void Sale::Impostazioni() {
    if (!ChiediPassword(kAzioneImpostazioni)) {
        EseguiAzione(kAzioneImpostazioni);
        return;
    }
    cat_.AbilitaArticoli(true, view_.catalogo);
    view_.finestra.ShowPanel(kPannelloImpostazioni, true);
}

void Sale::SequenzaCommit() {
    conto_.gDataScontrino = clock_.Now();
    const bool multi = opt_.gMultiVorsa;
    // Sales reach the file in the order they were made: older waiting ones go first, and
    // while any still wait this one waits behind them.
    if (multi && attesa_.Quante() > 0) ConsegnaInAttesa();
    bool registrata = false;
    rifiutata_ = false;
    if (!multi || attesa_.Quante() == 0) registrata = RegistraScontrino();
    // The main till or its share is away: the sale is kept in this till's folder and goes
    // on as usual; it reaches the shared file once that answers.
    std::optional<PendingSale> inAttesa;
    if (!registrata && multi && !rifiutata_) inAttesa = Accoda();
    if (!registrata && !inAttesa) {
        // Nothing of the sale was written, so nothing prints: a receipt would carry a number
        // that another sale may get. The bill stays open, still being paid, for F4 again.
        prompter_.MostraMessaggio(
            "ERRORE SALVATAGGIO",
            "\r\nLa vendita NON \xE8 stata salvata nel file dei dati (statistiche, magazzino, "
            "archivio scontrini).\r\nIl conto resta aperto: premere F4 per riprovare.",
            motivo_, true, "", "OK", true, 0);
        EseguiAzione(kAzioneNuovoConto);
        ImpostaBottoni(kAzionePaga, true);
        AbilitaCommit();
        return;
    }
    view_.conto.SetUltimoScontrino(FormatCurrency(conto_.gTotaleConto, true));

    LastBill& u = conto_.ultimoConto;
    u = LastBill{};
    for (int n = 1; n <= cat_.gNumeroArticoli; ++n) {
        const Article& a = cat_.gArticoli[n];
        if (a.quantity > 0) u.righe.push_back({n, a.quantity, a.lineTotal});
    }
    // A waiting sale prints at once, the kitchen cannot wait, under a provisional number of
    // this till that no committed receipt can carry.
    u.numero = inAttesa ? 0 : conto_.gNumeroScontrino;
    if (inAttesa) u.provvisorio = inAttesa->Provvisorio();
    u.data = conto_.gDataScontrino;
    u.totale = conto_.gTotaleConto;
    u.tavolo = conto_.gTavolo;
    u.commento = conto_.gCommento;

    conto_.ultimoConto.gRistampaFatta = false;
    if (opt_.gStampaAbilitata && print_ && print_->StampanteDisponibile()) {
        print_->StampaUltimoConto(false);
        conto_.ultimoConto.gRistampaFatta = true;
    }
    NuovoConto();
    view_.azioni.SetActionHeight(kAzionePaga, kAltezzaAzione);
    view_.azioni.SetActionHeight(kAzioneNuovoConto, kAltezzaAzione);
    EseguiAzione(kAzioneNuovoConto);
    EseguiAzione(kAzionePaga);
}

bool Sale::ChiediPassword(int n) {
    const std::string& password = azioni_[n].password;
    if (password.empty()) return true;
    const auto risposta = prompter_.InputBox("RICHIESTA PASSWORD", "Inserisci la pasword");
    if (risposta && Trim(*risposta) == password) return true;
    prompter_.MostraMessaggio("RICHIESTA PASSWORD", "\r\nPASSWORD ERRATA", "", true, "", "OK", true,
                              0);
    return false;
}

void Sale::PasswordSaver(int n, std::string_view text) {
    const std::string p = Trim(text);
    azioni_[n].password = p;
    settings_.Write(keys::PasswordAzione,
                    p.empty() ? std::string() : CodificaPassword(kChiavePassword, p), n);
}

void Sale::ImpostaStampaAutomatica(bool on) {
    view_.finestra.SetCaption(titolo_ + std::string(on ? kAttiva : kNonAttiva));
    azioni_[kAzioneRistampa].caption1 = on ? "RISTAMPA ULTIMO" : "STAMPA MANUALE";
    view_.finestra.SetStampaCaption(on ? "Stampa automatica ATTIVA"
                                       : "Stampa automatica NON ATTIVA");
    view_.azioni.SetActionCaption(kAzioneRistampa, azioni_[kAzioneRistampa].caption1);
    settings_.Set(keys::StampaAbilitata, on ? "1" : "0");
}

}  // namespace vorsa
