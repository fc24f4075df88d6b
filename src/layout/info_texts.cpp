#include "layout/info_texts.h"

namespace vorsa {

namespace {
constexpr std::string_view kCrLf = "\r\n";
}

std::string TestoInfo(int indice, const std::string& filePassword) {
    std::string t;
    const auto add = [&t](std::string_view s) { t.append(s); };
    switch (indice) {
        case 0:
            add("Inserire il numero degli articoli disponibili, oppure ");
            add(kCrLf);
            add("-1 (meno uno) per un numero articoli infinito");
            add(kCrLf);
            add(kCrLf);
            add("NOTA: il numero \xE8 il numero di prodotti CONSOLIDATI e non contempla il "
                "numero prodotti non ancora pagati.");
            break;
        case 1:
            add("Inserire il prezzo del prodotto oppure ");
            add(kCrLf);
            add("? (punto di domanda) per richiedere il prezzo ogni volta.  Il prezzo sar\xE0 "
                "unico nel singono scontrino");
            break;
        case 2:
            add("Per vedere rapidamente il dettaglio dell'ultimo scontrino emesso, premi F6");
            break;
        case 3:
            add("Per inserire e variare le quantit\xE0 dei prodotti, \xE8 possibile usare:");
            add(kCrLf);
            add("* Mouse, cliccando sui pulsanti");
            add(kCrLf);
            add("* Lettore codici a barre (un esempio di foglio \xE8 presente sul sito)");
            add(kCrLf);
            add("* Tastiera, digitando il codice dei prodotti");
            add(kCrLf);
            add("* Freccie tastierino numerico, per incrementare o diminuire rapidamente le "
                "quantit\xE0");
            add(kCrLf);
            add(kCrLf);
            add("Colore avvisi:");
            add(kCrLf);
            add("VERDE: Tutto bene, nulla da segnalare");
            add(kCrLf);
            add("ROSSO: Codice inserito errato");
            add(kCrLf);
            add("AZZURRO: Prodotto in sotto-scorta.  Anche il pulsante corrispondente diventa "
                "dello stesso colore");
            add(kCrLf);
            add("GIALLO: Prodotto terminato. Anche il pulsante corrispondente diventa dello "
                "stesso colore");
            break;
        case 4:
            add("E' possibile attribuire allo scontrino un tavolo ed un commento di max 120 "
                "caratteri.  I dati verranno stampati in fondo agli scontrini.");
            break;
        case 5:
            add("TASTO T: Invia una stampa di test fittizia verso la stampante selezionata.");
            add(kCrLf);
            add("Si usa principalmente per verificare se il programma comunica con la "
                "stampante.");
            add(kCrLf);
            add(kCrLf);
            add("POS PERSONALIZZATO: Permette di definire una larghezza personalizzata dello "
                "scontrino.");
            break;
        case 6:
            add("E' possibile impostare una soglia sotto la quale il sistema avvisa che si \xE8 "
                "in stato di SOTTO-SCORTA.");
            add(kCrLf);
            add("Per disabilitare, impostare 0 (zero)");
            break;
        case 8:
        case 9:
            add("Password di protezione pannello impostazioni o statistiche.");
            add(kCrLf);
            add("Se impostata, verr\xE0 chiesto di digirarla per accedere al pannello di "
                "impostazione. Per cancellarla, basta eliminare il testo.");
            add(kCrLf);
            add(kCrLf);
            add("NOTA 1: La password IMPOSTAZIONI e la password STATISTICHE, sono "
                "indipendenti.");
            add(kCrLf);
            add("NOTA 2: La password non \xE8 a prova di scassinatore, serve come protezione per "
                "modifiche accidentali.");
            add(kCrLf);
            add(kCrLf);
            add("Le password sono memorizzate qui: ");
            add(filePassword);
            break;
        default:
            break;
    }
    return t;
}

}  // namespace vorsa
