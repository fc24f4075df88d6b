#include "platform/text.h"
#include "sale/vendita.h"

namespace vorsa {
namespace {

constexpr std::string_view kAttiva = "     -     *** STAMPA   AUTOMATICA   ATTIVA ***";
constexpr std::string_view kNonAttiva = "     -     *** STAMPA   AUTOMATICA   NON   ATTIVA ***";

}  // namespace

void Vendita::ImpostaBottoni(int n, bool acceso) {
    Azioni& az = till_.gAzioni;
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
    Azione& a = till_.gAzioni[n];
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
                till_.cat.AbilitaArticoli(false, view_);
                view_.ModoPagamento(false);
                view_.SetActionHeight(1, kAltezzaAzione);
                view_.SetActionHeight(4, kAltezzaAzione);
                break;
            case 6:
                till_.cat.AbilitaArticoli(false, view_);
                view_.ShowPanel(0, false);
                break;
            case 7:
                view_.ReLayout();
                till_.cat.AbilitaArticoli(false, view_);
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
            if (till_.gTotaleConto <= Currency{}) {
                EseguiAzione(1);
                return;
            }
            view_.SetActionHeight(1, kAltezzaAzionePagamento);
            view_.SetActionHeight(4, kAltezzaAzionePagamento);
            till_.gAzioni[4].enabled = true;
            view_.SetActionEnabled(4, true);
            view_.SetActionColour(4, till_.gAzioni[4].colour);
            view_.SetActionKeyColour(4, kColoreTastoAttivo);
            till_.cat.AbilitaArticoli(true, view_);
            view_.ModoPagamento(true);
            return;
        case 2:
            if (till_.gTotaleConto > Currency{}) {
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
                (!till_.gRistampaFatta || ChiediPassword(5))) {
                print_->StampaUltimoConto(true);
                print_->CancellaFormScontrini();
                till_.gRistampaFatta = true;
            }
            EseguiAzione(5);
            return;
        case 6:
            till_.cat.AbilitaArticoli(true, view_);
            if (till_.opt.gMultiVorsa)
                till_.gNumeroScontrino = static_cast<std::int32_t>(
                    Val(till_.store.LeggiIni("STATISTICHE", "SCONTRINI", till_.paths.gFileDati)));
            view_.ShowPanel(0, true);
            return;
        case 7:
            if (!ChiediPassword(7)) {
                EseguiAzione(7);
                return;
            }
            till_.cat.AbilitaArticoli(true, view_);
            view_.ShowPanel(1, true);
            return;
        default:
            return;
    }
}

void Vendita::SequenzaCommit() {
    till_.gDataScontrino = till_.svc.clock.Now();
    view_.SetUltimoScontrino(FormatCurrency(till_.gTotaleConto, true));
    if (!RegistraScontrino()) {
        // The receipt still prints and the bill is emptied, but the operator must know that
        // this sale is missing from the statistics and the archive.
        prompter_.MostraMessaggio(
            "ERRORE SALVATAGGIO",
            "\r\nLa vendita NON \xE8 stata salvata nel file dei dati (statistiche, magazzino, "
            "archivio scontrini).\r\n",
            "SUGGERIMENTO: Verificare lo spazio libero sul disco, che il file " +
                till_.paths.gFileDati + " sia scrivibile e che la rete sia raggiungibile",
            true, "", "OK", true, 0);
    }

    UltimoConto& u = till_.ultimoConto;
    u = UltimoConto{};
    for (int n = 1; n <= till_.cat.gNumeroArticoli; ++n) {
        const Article& a = till_.cat.gArticoli[n];
        if (a.quantity > 0) u.righe.push_back({n, a.quantity, a.lineTotal});
    }
    u.numero = till_.gNumeroScontrino;
    u.data = till_.gDataScontrino;
    u.totale = till_.gTotaleConto;
    u.tavolo = till_.gTavolo;
    u.commento = till_.gCommento;

    till_.gRistampaFatta = false;
    if (till_.opt.gStampaAbilitata && print_ && print_->StampanteDisponibile()) {
        print_->StampaUltimoConto(false);
        till_.gRistampaFatta = true;
    }
    NuovoConto();
    view_.SetActionHeight(1, kAltezzaAzione);
    view_.SetActionHeight(4, kAltezzaAzione);
    EseguiAzione(4);
    EseguiAzione(1);
}

bool Vendita::ChiediPassword(int n) {
    const std::string& password = till_.gAzioni[n].password;
    if (password.empty()) return true;
    const auto risposta = prompter_.InputBox("RICHIESTA PASSWORD", "Inserisci la pasword");
    if (risposta && Trim(*risposta) == password) return true;
    prompter_.MostraMessaggio("RICHIESTA PASSWORD", "\r\nPASSWORD ERRATA", "", true, "", "OK",
                              true, 0);
    return false;
}

void Vendita::SalvaPassword(int n, std::string_view text) {
    const std::string p = Trim(text);
    till_.gAzioni[n].password = p;
    till_.store.ScriviIni("AZIONI", "PASSF" + std::to_string(n),
                          p.empty() ? std::string() : CodificaPassword(kChiavePassword, p),
                          till_.paths.gFilePassword);
}

void Vendita::ImpostaStampaAutomatica(bool on) {
    till_.opt.gStampaAbilitata = on;
    view_.SetCaption(till_.gTitolo + std::string(on ? kAttiva : kNonAttiva));
    till_.gAzioni[5].caption1 = on ? "RISTAMPA ULTIMO" : "STAMPA MANUALE";
    view_.SetStampaCaption(on ? "Stampa automatica ATTIVA" : "Stampa automatica NON ATTIVA");
    view_.SetActionCaption(5, till_.gAzioni[5].caption1);
    till_.store.ScriviIni("STAMPA", "ABILITATO", on ? "1" : "0", till_.paths.gFileIni);
}

}  // namespace vorsa
