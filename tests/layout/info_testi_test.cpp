// The explanations behind lbl_info(i), word for word.
#include "layout/info_testi.h"

#include <gtest/gtest.h>

namespace vorsa {
namespace {

struct InfoCase {
    int indice;
    const char* testo;  // Windows-1252
};

class TestoInfoTest : public ::testing::TestWithParam<InfoCase> {};

TEST_P(TestoInfoTest, Wording) {
    EXPECT_EQ(TestoInfo(GetParam().indice, "/tmp/~xpwd"), GetParam().testo);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TestoInfoTest,
    ::testing::Values(
        InfoCase{0,
                 "Inserire il numero degli articoli disponibili, oppure \r\n-1 (meno uno) per "
                 "un numero articoli infinito\r\n\r\nNOTA: il numero \xE8 il numero di "
                 "prodotti CONSOLIDATI e non contempla il numero prodotti non ancora "
                 "pagati."},
        InfoCase{1,
                 "Inserire il prezzo del prodotto oppure \r\n? (punto di domanda) per "
                 "richiedere il prezzo ogni volta.  Il prezzo sar\xE0 unico nel singono "
                 "scontrino"},
        InfoCase{2, "Per vedere rapidamente il dettaglio dell'ultimo scontrino emesso, premi F6"},
        InfoCase{3,
                 "Per inserire e variare le quantit\xE0 dei prodotti, \xE8 possibile usare:"
                 "\r\n* Mouse, cliccando sui pulsanti\r\n* Lettore codici a barre (un "
                 "esempio di foglio \xE8 presente sul sito)\r\n* Tastiera, digitando il "
                 "codice dei prodotti\r\n* Freccie tastierino numerico, per incrementare o "
                 "diminuire rapidamente le quantit\xE0\r\n\r\nColore avvisi:\r\nVERDE: Tutto "
                 "bene, nulla da segnalare\r\nROSSO: Codice inserito errato\r\nAZZURRO: "
                 "Prodotto in sotto-scorta.  Anche il pulsante corrispondente diventa dello "
                 "stesso colore\r\nGIALLO: Prodotto terminato. Anche il pulsante "
                 "corrispondente diventa dello stesso colore"},
        InfoCase{4,
                 "E' possibile attribuire allo scontrino un tavolo ed un commento di max 120 "
                 "caratteri.  I dati verranno stampati in fondo agli scontrini."},
        InfoCase{5,
                 "TASTO T: Invia una stampa di test fittizia verso la stampante selezionata."
                 "\r\nSi usa principalmente per verificare se il programma comunica con la "
                 "stampante.\r\n\r\nPOS PERSONALIZZATO: Permette di definire una larghezza "
                 "personalizzata dello scontrino."},
        InfoCase{6,
                 "E' possibile impostare una soglia sotto la quale il sistema avvisa che si "
                 "\xE8 in stato di SOTTO-SCORTA.\r\nPer disabilitare, impostare 0 (zero)"},
        InfoCase{8,
                 "Password di protezione pannello impostazioni o statistiche.\r\nSe "
                 "impostata, verr\xE0 chiesto di digirarla per accedere al pannello di "
                 "impostazione. Per cancellarla, basta eliminare il testo.\r\n\r\nNOTA 1: "
                 "La password IMPOSTAZIONI e la password STATISTICHE, sono indipendenti."
                 "\r\nNOTA 2: La password non \xE8 a prova di scassinatore, serve come "
                 "protezione per modifiche accidentali.\r\n\r\nLe password sono memorizzate "
                 "qui: /tmp/~xpwd"},
        InfoCase{7, ""}, InfoCase{10, ""}, InfoCase{-1, ""}),
    [](const auto& p) {
        return p.param.indice < 0 ? std::string("Minus1") : std::to_string(p.param.indice);
    });

TEST(TestoInfo, PasswordLabelsShareTheirText) {
    EXPECT_EQ(TestoInfo(9, "C:\\x\\~abc"), TestoInfo(8, "C:\\x\\~abc"));
    EXPECT_NE(TestoInfo(9, "a"), TestoInfo(9, "b"));
}

TEST(TestoInfo, EveryExistingLabelHasText) {
    for (int i : kIndiciInfo) EXPECT_FALSE(TestoInfo(i, "f").empty()) << i;
}

}  // namespace
}  // namespace vorsa
