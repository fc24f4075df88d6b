#include "platform/text.h"
#include "sale/vendita.h"

namespace vorsa {
namespace {

constexpr std::string_view kAttiva = "     -     *** STAMPA   AUTOMATICA   ATTIVA ***";
constexpr std::string_view kNonAttiva = "     -     *** STAMPA   AUTOMATICA   NON   ATTIVA ***";

}  // namespace

void Vendita::ImpostaBottoni(int n, bool acceso) {
    Azioni& az = azioni_;
    for (int k = 1; k <= kNumeroAzioni; ++k) {
        az[k].enabled = !acceso;
        view_.SetActionEnabled(k, !acceso);
        view_.SetActionKeyColour(k, acceso ? kColoreTastoSpento : kColoreTastoAttivo);
    }
    if (acceso) {
        az[n].enabled = true;
        view_.SetActionEnabled(n, true);
        view_.SetActionKeyColour(n, kColoreTastoAttivo);
    } else {
        az[4].enabled = false;
        view_.SetActionEnabled(4, false);
        view_.SetActionColour(4, kColoreBottone);
        view_.SetActionKeyColour(4, kColoreTastoSpento);
    }
}

void Vendita::EseguiAzione(int n) {
    if (n < 1 || n > kNumeroAzioni) return;
    Azione& a = azioni_[n];
    if (!a.enabled) {
        MostraErrore();
        return;
    }
    view_.ShowFeedback(1);
    a.stato = !a.stato;

    if (!a.stato) {
        view_.SetActionColour(n, kColoreBottone);
        ImpostaBottoni(n, false);
        view_.SetActionCaption(n, a.caption1);
        switch (n) {
            case 1:
                cat_.AbilitaArticoli(false, view_);
                view_.ModoPagamento(false);
                view_.SetActionHeight(1, kAltezzaAzione);
                view_.SetActionHeight(4, kAltezzaAzione);
                break;
            case 6:
                cat_.AbilitaArticoli(false, view_);
                view_.ShowPanel(0, false);
                break;
            case 7:
                view_.ReLayout();
                cat_.AbilitaArticoli(false, view_);
                view_.ShowPanel(1, false);
                break;
            default:
                break;
        }
        return;
    }

    view_.SetActionColour(n, a.colour);
    ImpostaBottoni(n, true);
    if (!a.caption2.empty()) view_.SetActionCaption(n, a.caption2);
    switch (n) {
        case 1:
            if (conto_.gTotaleConto <= Currency{}) {
                EseguiAzione(1);
                return;
            }
            view_.SetActionHeight(1, kAltezzaAzionePagamento);
            view_.SetActionHeight(4, kAltezzaAzionePagamento);
            azioni_[4].enabled = true;
            view_.SetActionEnabled(4, true);
            view_.SetActionColour(4, azioni_[4].colour);
            view_.SetActionKeyColour(4, kColoreTastoAttivo);
            cat_.AbilitaArticoli(true, view_);
            view_.ModoPagamento(true);
            return;
        case 2:
            if (conto_.gTotaleConto > Currency{}) {
                if (prompter_.ConfermaSiNo(
                        "Cancella elenco prodotti",
                        "Sicuro di voler cancellare i prodotti elencati?\r\n\r\n"
                        "I prodotti NON entreranno nella statistica del venduto."))
                    NuovoConto();
            } else {
                NuovoConto();
            }
            EseguiAzione(2);
            return;
        case 3:
            if (view_.ListCount() == 0) EseguiAzione(3);
            return;
        case 4:
            SequenzaCommit();
            return;
        case 5:
            if (print_ && print_->StampanteDisponibile() &&
                (!conto_.ultimoConto.gRistampaFatta || ChiediPassword(5))) {
                print_->StampaUltimoConto(true);
                print_->CancellaFormScontrini();
                conto_.ultimoConto.gRistampaFatta = true;
            }
            EseguiAzione(5);
            return;
        case 6:
            cat_.AbilitaArticoli(true, view_);
            if (opt_.gMultiVorsa)
                conto_.gNumeroScontrino = static_cast<std::int32_t>(
                    Val(settings_.Read(keys::StatScontrini)));
            view_.ShowPanel(0, true);
            return;
        case 7:
            if (!ChiediPassword(7)) {
                EseguiAzione(7);
                return;
            }
            cat_.AbilitaArticoli(true, view_);
            view_.ShowPanel(1, true);
            return;
        default:
            return;
    }
}

void Vendita::SequenzaCommit() {
    conto_.gDataScontrino = clock_.Now();
    view_.SetUltimoScontrino(FormatCurrency(conto_.gTotaleConto, true));
    if (!RegistraScontrino()) {
        // The receipt still prints and the bill is emptied, but the operator must know that
        // this sale is missing from the statistics and the archive.
        prompter_.MostraMessaggio(
            "ERRORE SALVATAGGIO",
            "\r\nLa vendita NON \xE8 stata salvata nel file dei dati (statistiche, magazzino, "
            "archivio scontrini).\r\n",
            "SUGGERIMENTO: Verificare lo spazio libero sul disco, che il file " +
                settings_.paths().gFileDati + " sia scrivibile e che la rete sia raggiungibile",
            true, "", "OK", true, 0);
    }

    UltimoConto& u = conto_.ultimoConto;
    u = UltimoConto{};
    for (int n = 1; n <= cat_.gNumeroArticoli; ++n) {
        const Article& a = cat_.gArticoli[n];
        if (a.quantity > 0) u.righe.push_back({n, a.quantity, a.lineTotal});
    }
    u.numero = conto_.gNumeroScontrino;
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
    view_.SetActionHeight(1, kAltezzaAzione);
    view_.SetActionHeight(4, kAltezzaAzione);
    EseguiAzione(4);
    EseguiAzione(1);
}

bool Vendita::ChiediPassword(int n) {
    const std::string& password = azioni_[n].password;
    if (password.empty()) return true;
    const auto risposta = prompter_.InputBox("RICHIESTA PASSWORD", "Inserisci la pasword");
    if (risposta && Trim(*risposta) == password) return true;
    prompter_.MostraMessaggio("RICHIESTA PASSWORD", "\r\nPASSWORD ERRATA", "", true, "", "OK",
                              true, 0);
    return false;
}

void Vendita::SalvaPassword(int n, std::string_view text) {
    const std::string p = Trim(text);
    azioni_[n].password = p;
    settings_.Write(keys::PasswordAzione,
                    p.empty() ? std::string() : CodificaPassword(kChiavePassword, p), n);
}

void Vendita::ImpostaStampaAutomatica(bool on) {
    view_.SetCaption(titolo_ + std::string(on ? kAttiva : kNonAttiva));
    azioni_[5].caption1 = on ? "RISTAMPA ULTIMO" : "STAMPA MANUALE";
    view_.SetStampaCaption(on ? "Stampa automatica ATTIVA" : "Stampa automatica NON ATTIVA");
    view_.SetActionCaption(5, azioni_[5].caption1);
    settings_.Set(keys::StampaAbilitata, on ? "1" : "0");
}

}  // namespace vorsa
