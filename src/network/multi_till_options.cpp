#include "network/multi_till_options.h"

#include "platform/text.h"

namespace vorsa {

namespace {

constexpr std::string_view kTitoloDialogo = "MULTI-VORSA";
constexpr std::string_view kSuggerimento =
    "SUGGERIMENTO: Verificare che la vorsa principale sia attiva e che tutti i paramentri della "
    "vorsa secondaria siano corretti";

}  // namespace

std::string FileRemoto(const std::string& host) {
    return "//" + host + "/" + std::string(kNomeCondivisione) + "/Vorsa.ini";
}

bool TastoVorsaRemota(int keyAscii) {
    return (keyAscii >= '0' && keyAscii <= '9') || keyAscii == '.' || keyAscii == 8 ||
           keyAscii == 9;
}

MultiTillOptions::MultiTillOptions(SettingsGateway& settings, TillShare& share, MultiTillView& view,
                                   bool sessioneCondivisa)
    : settings_(settings), share_(share), view_(view), sessioneCondivisa_(sessioneCondivisa) {}

void MultiTillOptions::Carica() {
    const Options& o = settings_.options();
    r_ = MultiTillFrame{};
    r_.lblNomePostazione = share_.CurrentUserName();
    r_.txtVorsaRemota = o.gSistemaRemoto;
    r_.lstIpAddress = share_.ListLocalAddresses();
    r_.chkMulti = o.gMultiVorsa;
    r_.sceltaAbilitata = o.gMultiVorsa;
    r_.txtNomeVorsa = o.gNomeStazione;
    r_.txtPasswordMulti = o.multiTillPassword;
    r_.senzaPassword = o.multiTillPassword.empty();
    if (o.gMultiVorsa) {
        r_.optVorsaPrinc = {!o.gPrincipale, o.gPrincipale};
        r_.frmOpt = r_.optVorsaPrinc;
    }
    view_.Mostra(r_);
}

void MultiTillOptions::Spegni() {
    // A run that shares its files with other tills keeps locking them until it restarts: a
    // till that stopped locking halfway through would lose other tills' updates.
    if (!sessioneCondivisa_) settings_.options().gMultiVorsa = false;
}

void MultiTillOptions::CambiaMulti(bool ticked) {
    settings_.Write(keys::MultiVorsa, ticked ? "1" : "0");
    if (ticked)
        settings_.options().gMultiVorsa = true;
    else
        Spegni();
    r_.chkMulti = ticked;
    r_.sceltaAbilitata = ticked;
    if (!ticked) {
        r_.frmOpt = {false, false};
        r_.optVorsaPrinc = {false, false};
        settings_.Delete(keys::PezziTenuti, Idx(std::string_view()));  // the whole section
    }
    view_.Mostra(r_);
}

void MultiTillOptions::ScegliRuolo(int i) {
    if (i != 0 && i != 1) return;
    const bool principale = i == 1;
    r_.optVorsaPrinc = {!principale, principale};
    r_.frmOpt = {!principale, principale};
    settings_.Set(keys::Principale, principale ? "1" : "0");
    view_.Mostra(r_);
    const std::string nome(kNomeCondivisione);
    if (!principale) {
        share_.DeleteTillShare(nome);
        return;
    }
    const std::string& cartella = settings_.paths().programFolder;
    if (share_.CreateTillShare(cartella, nome)) return;
    view_.Avvisa({true, "",
                  "ERRORE durante la creazione della condivisione indispensabile per rendere "
                  "disponibile la base dati alle altre postazioni.\r\n\r\nE' possibile agire in "
                  "due modi:\r\n1 - Usare un'altra postazione come vorsa master\r\n2 - "
                  "Condividere manualmente la cartella " +
                      cartella + " utilizzando il nome [ vorsa$ ] (senza le parentesi quadre)",
                  ""});
}

void MultiTillOptions::EsciVorsaRemota(const std::string& text) {
    r_.txtVorsaRemota = text;
    r_.lblVerifica = true;
    view_.Mostra(r_);
    Options& o = settings_.options();
    settings_.Set(keys::SistemaRemoto, Trim(text));
    if (!o.gSistemaRemoto.empty()) {
        if (settings_.store().EsisteFile(FileRemoto(o.gSistemaRemoto))) {
            view_.Avvisa({false, std::string(kTitoloDialogo),
                          "Vorsa principale raggiunta\r\n** PER DIVENTARE OPERATIVI, CHIUDERE E "
                          "RIAPRIRE IL PROGRAMMA **",
                          ""});
        } else {
            Spegni();
            o.gSistemaRemoto.clear();
            view_.Avvisa({false, std::string(kTitoloDialogo),
                          "Vorsa principale NON raggiungibile.\r\nIl programma \xE8 in "
                          "modalit\xE0 vorsa SINGOLA",
                          std::string(kSuggerimento)});
        }
    }
    r_.lblVerifica = false;
    view_.Mostra(r_);
}

void MultiTillOptions::EsciPassword(const std::string& text) {
    Options& o = settings_.options();
    const std::string nuova = Trim(text);
    if (nuova == o.multiTillPassword) return;
    if (o.gPrincipale) {
        const std::string vecchia =
            o.multiTillPassword.empty() ? std::string(kPasswordIniziale) : o.multiTillPassword;
        if (!nuova.empty() && !share_.ImpostaPassword(vecchia, nuova)) {
            r_.txtPasswordMulti = o.multiTillPassword;
            view_.Mostra(r_);
            view_.Avvisa({true, "",
                          "ERRORE: la password della condivisione non \xE8 stata cambiata.\r\n\r\n"
                          "Verificare che Samba sia attivo e che il comando di installazione sia "
                          "stato eseguito come amministratore (account \"" +
                              std::string(kUtenteCondivisione) + "\").",
                          ""});
            return;
        }
    }
    o.multiTillPassword = nuova;
    settings_.Write(keys::PasswordMulti,
                    nuova.empty() ? std::string() : CodificaPassword(kChiavePassword, nuova));
    r_.txtPasswordMulti = nuova;
    r_.senzaPassword = nuova.empty();
    view_.Mostra(r_);
    if (o.gPrincipale && o.gMultiVorsa) {
        share_.ProteggiConPassword(!nuova.empty());
        share_.CreateTillShare(settings_.paths().programFolder, std::string(kNomeCondivisione));
    }
}

void MultiTillOptions::EsciNomeVorsa(const std::string& text) {
    Options& o = settings_.options();
    o.gNomeStazione = Trim(text);
    r_.txtNomeVorsa = text;
    settings_.Write(keys::NomeStazione, o.gNomeStazione);
    if (o.gMultiVorsa) settings_.Write(keys::Stazione, o.gNomeStazione, Idx(o.gIdentitaLock));
}

}  // namespace vorsa
