// The statistics panel's rules: the lines and totals it shows, emptying, the receipt viewer,
// voids on statistics and stock, and the report files, down to the bytes in the files.
#include <gtest/gtest.h>

#include <tuple>

#include "data/sales_archive.h"
#include "data/statistics.h"
#include "data/summary_files.h"
#include "sale_harness.h"

namespace vorsa {
namespace {

using test::Cassa;
using test::Sezione;

// Articles: 101 unlimited at 3,5; 102 limited (8 pieces) at 2; 103 limited, 5 pieces.
// Receipt 3 names 102 twice; receipt 4 names 115, which lies outside the 14 positions.
constexpr const char* kDati =
    "[MANGIARE]\r\nDIMENSIONE=14\r\n"
    "1=Panino;3,5;1;0;-1;1;-1;0\r\n"
    "2=Patatine;2;1;0;8;1;10;0\r\n"
    "3=Torta;2,5;1;0;5;1;5;0\r\n"
    "[BERE]\r\nDIMENSIONE=2\r\n1=Acqua;1;1;0;-1;2;-1;0\r\n"
    "[STATISTICHE]\r\nDATA=06/12/2026 21:07:45\r\nSCONTRINI=4\r\n"
    "101=5;17,5\r\n102=5;10\r\n";

std::string ArchivioDati(const std::string& storni) {
    std::string s =
        "[SCONTRINI]\r\n"
        "1=101-2-7;06/12/2026 19:00:00-7-5-anna10:00-0-0-0\r\n"
        "2=102-2-4;06/12/2026 19:10:00-4--anna10:00-0-0-0\r\n"
        "3=102-1-2;102-2-4;06/12/2026 20:00:00-6-A-3-anna10:00-0-0-0\r\n"
        "4=115-1-3;101-3-10,5;06/12/2026 21:07:45-13,5--anna10:00-0-0-0\r\n"
        "4_commento=senza cipolla\r\n";
    if (!storni.empty()) s += "STORNI=" + storni + "\r\n";
    return s;
}

Statistics Di(Cassa& c) {
    return Statistics({c.till->cat, c.till->opt, c.till->settings, c.till->conto.gNumeroScontrino});
}

struct Banco {
    explicit Banco(const std::string& storni = "", const std::string& ini = "")
        : c(files, ini.empty() ? std::string(kDati) + ArchivioDati(storni) : ini), stat(Di(c)) {}
    std::string File() { return files.files["/p/Vorsa.ini"]; }
    MemoryFileAccess files;
    Cassa c;
    Statistics stat;
};

using Risposte = test::ScriptedPrompter;

TEST(StorniTest, UnvoidingANeverVoidedReceiptChangesNothingButDropsDamagedEntries) {
    const VoidTransition nulla = CambiaStorni("12", 7, false, ';');
    EXPECT_EQ(std::tie(nulla.lista, nulla.segno), std::make_tuple("12", 0));
    const VoidTransition guasta = CambiaStorni("12;x;*7", 7, false, ';');
    EXPECT_EQ(std::tie(guasta.lista, guasta.segno), std::make_tuple("12", +1));
}

TEST(StorniTest, VoidAndUnvoidMoveStatisticsStockAndListTogether) {
    // The void list before, the receipt voided, the articles' lines of [STATISTICHE] after the
    // void, MANGIARE/2 after it from its pieces on, and the void list after it.
    const std::tuple<const char*, const char*, int, const char*, const char*, const char*> casi[] =
        {{"unlimited pieces", "", 1, "101=3;10,5\r\n102=5;10\r\n", "8;1;10;0", "*1"},
         {"limited pieces come back", "1", 2, "101=5;17,5\r\n102=3;6\r\n", "10;1;10;0", "1;*2"},
         {"two lines of one article", "", 3, "101=5;17,5\r\n102=2;4\r\n", "11;1;10;0", "*3"},
         {"a code no longer in the catalogue", "", 4, "101=2;7\r\n102=5;10\r\n", "8;1;10;0", "*4"}};
    for (const auto& [nome, storni, numero, statistiche, patatine, lista] : casi) {
        Banco b(storni);
        const std::string prima = b.File();
        const std::string ricevuta = b.c.Dati("SCONTRINI", std::to_string(numero));
        const auto esito = b.stat.CambiaStorno(numero, true);
        EXPECT_TRUE(esito.salvato) << nome;
        const std::string dopo = b.File();
        EXPECT_EQ(Sezione(dopo, "STATISTICHE"),
                  "[STATISTICHE]\r\nDATA=06/12/2026 21:07:45\r\nSCONTRINI=4\r\n" +
                      std::string(statistiche))
            << nome;
        EXPECT_EQ(b.c.Dati("MANGIARE", "2"), "Patatine;2;1;0;" + std::string(patatine)) << nome;
        EXPECT_EQ(b.c.Dati("SCONTRINI", "STORNI"), lista) << nome;
        EXPECT_TRUE(esito.vista.storno && esito.vista.stornoAbilitato && esito.vista.rosso);
        // The archive itself never changes.
        EXPECT_EQ(b.c.Dati("SCONTRINI", std::to_string(numero)), ricevuta) << nome;

        // Taking it back before the next sale restores every byte but the emptied list.
        const auto indietro = b.stat.CambiaStorno(numero, false);
        EXPECT_FALSE(indietro.vista.storno) << nome;
        const std::string ripristinato = b.File();
        EXPECT_EQ(Sezione(ripristinato, "STATISTICHE"), Sezione(prima, "STATISTICHE")) << nome;
        EXPECT_EQ(Sezione(ripristinato, "MANGIARE"), Sezione(prima, "MANGIARE")) << nome;
        EXPECT_EQ(b.c.Dati("SCONTRINI", "STORNI"), *storni ? storni : "") << nome;
    }
}

TEST(StorniTest, FinalVoidsFailedWritesAndNoReceipts) {
    {
        Banco b;
        b.files.failWrites = true;  // a full disk changes nothing
        const auto esito = b.stat.CambiaStorno(2, true);
        EXPECT_FALSE(esito.salvato || esito.vista.storno);
        EXPECT_EQ(std::make_pair(b.c.Art(102).pieces, b.c.Art(102).soldQuantity),
                  std::make_pair(std::int16_t{8}, 5));
        b.files.failWrites = false;

        b.stat.CambiaStorno(2, true);
        EXPECT_EQ(b.c.Dati("SCONTRINI", "STORNI"), "*2");
        b.c.Batti("101 F1 F4");  // the next sale makes the void final
        EXPECT_EQ(b.c.Dati("SCONTRINI", "STORNI"), "2");
        const ReceiptView v = b.stat.MostraScontrino(2);
        EXPECT_TRUE(v.storno && !v.stornoAbilitato);
        const std::string prima = b.File();  // unticking a final void changes nothing
        EXPECT_TRUE(b.stat.CambiaStorno(2, false).vista.storno);
        EXPECT_EQ(b.File(), prima);
    }
    Banco b("", test::kCatalogo);  // no receipts: the tick is undone
    const std::string prima = b.File();
    EXPECT_FALSE(b.stat.CambiaStorno(1, true).vista.storno);
    EXPECT_EQ(b.File(), prima);
    EXPECT_EQ(b.stat.CambioNumero("1").testo, "0");
    EXPECT_EQ(b.stat.CambioNumero("0").testo, std::nullopt);  // rests on 0, nothing shown
    EXPECT_FALSE(b.stat.MostraScontrino(0).esiste);
}

TEST(ViewerTest, ShowsTheReceiptChosenInTheNumberBox) {
    Banco b("3;*4");
    const ReceiptView v = b.stat.MostraScontrino(4);
    ASSERT_TRUE(v.esiste);
    // The till's name (first) only between tills.
    EXPECT_EQ(v.etichette, (std::array<std::string, 7>{"", "2", "06/12/2026", "21:07", "13,50", "",
                                                       "senza cipolla"}));
    EXPECT_EQ(v.stornati, "2");
    EXPECT_TRUE(v.storno && v.stornoAbilitato && v.rosso);
    ASSERT_EQ(v.righe.size(), 2u);
    EXPECT_EQ(v.righe[0].testo, "Nr.  1 codice 115 non pi\xF9 in catalogo" + std::string(20, ' ') +
                                    " - Tot. \x80:  3,00");
    EXPECT_EQ(v.righe[0].dato, 115);  // the code, not an index
    EXPECT_EQ(v.righe[1].testo, "Nr.  3 Panino" + std::string(44, ' ') + " - Tot. \x80: 10,50");

    // A dash in the table text does not shift the fields.
    EXPECT_EQ(b.stat.MostraScontrino(3).etichette[5], "A-3");

    b.c.Art(101).name = "Panino nuovo";  // names are not archived: the current one shows
    EXPECT_NE(b.stat.MostraScontrino(1).righe[0].testo.find("Panino nuovo"), std::string::npos);

    // The number box over four receipts: what is typed, what it is set to, the receipt shown.
    const std::tuple<const char*, std::optional<std::string>, int> casi[] = {
        {"", "1", 0}, {"0", "4", 0}, {"9", "4", 0}, {"4", std::nullopt, 4}};
    for (const auto& [testo, nuovo, mostra] : casi) {
        const auto e = b.stat.CambioNumero(testo);
        EXPECT_EQ(std::tie(e.testo, e.mostra), std::tie(nuovo, mostra)) << testo;
    }
    const std::tuple<char, bool, NumberKey> tasti[] = {{'0', true, NumberKey::Uno},
                                                       {'a', false, NumberKey::Scarta},
                                                       {'\b', false, NumberKey::Passa}};
    for (auto [tasto, vuoto, esito] : tasti) EXPECT_EQ(FiltroNumeroScontrino(tasto, vuoto), esito);
}

TEST(RiepilogoTest, Lines) {
    const std::tuple<const char*, int, const char*, std::string> casi[] = {
        {"Birra", 3, "10,5", "Nr.    3 Birra" + std::string(42, ' ') + " - Tot. \x80:   10,50"},
        {"Acqua", 12, "9,999", "Nr.   12 Acqua" + std::string(42, ' ') + " - Tot. \x80:   10,00"},
        {"Vino", 100, "999,99", "Nr.  100 Vino" + std::string(43, ' ') + " - Tot. \x80:  999,99"},
        {"Vino", 2000, "1000", "Nr. 2000 Vino" + std::string(43, ' ') + " - Tot. \x80: 1.000,00"},
        {"Vino", 12345, "10000",
         "Nr. 12345 Vino" + std::string(43, ' ') + " - Tot. \x80:10.000,00"},
        {"Vino", 1, "-2", "Nr.    1 Vino" + std::string(43, ' ') + " - Tot. \x80:-2,00"}};
    for (const auto& [nome, qta, importo, riga] : casi)
        EXPECT_EQ(RigaStatistica(nome, qta, *ParseCurrency(importo)), riga) << nome;
    const std::string lungo(48, 'a');
    EXPECT_EQ(RigaStatistica(lungo, 1, Currency{}).substr(9, 48), std::string(45, 'a') + ".. ");
    const std::string giusto(47, 'b');
    EXPECT_EQ(RigaStatistica(giusto, 1, Currency{}).substr(9, 48), giusto + " ");
}

TEST(RiepilogoTest, ScreenLinesDropOnlyTheSharedPadding) {
    const std::string birra = RigaStatistica("Birra media", 3, *ParseCurrency("10,5"));
    const std::string vino = RigaStatistica("Vino", 12345, *ParseCurrency("10000"));
    const std::string lungo = RigaStatistica(std::string(47, 'b'), 1, Currency{});
    const std::vector<std::string> strette = RigheStrette({birra, "-----", vino});
    EXPECT_EQ(strette[0], "Nr.    3 Birra media - Tot. \x80:   10,50");
    EXPECT_EQ(strette[1], "-----");
    EXPECT_EQ(strette[2].find(" - Tot. "), strette[0].find(" - Tot. ") + 1);  // still in line
    EXPECT_EQ(RigheStrette({birra, lungo}), (std::vector<std::string>{birra, lungo}));
    // Too long for the list: every name column gives the same width, blanks first.
    const std::vector<std::string> corte = RigheStrette({birra, lungo}, 50);
    EXPECT_EQ(corte[0], birra.substr(0, 32) + birra.substr(56));
    EXPECT_EQ(corte[1], "Nr.    1 " + std::string(21, 'b') + ".." + lungo.substr(56));
    EXPECT_EQ(RigheStrette({birra}, 0)[0], "Nr.    3 " + birra.substr(56));
}

TEST(RiepilogoTest, PanelTotalsAndVoidedArticleDisappears) {
    Banco b;
    b.c.Art(201).soldQuantity = 1;
    b.c.Art(201).soldAmount = *ParseCurrency("12318,1");
    const Summary r = b.stat.MostraStatistiche();
    EXPECT_EQ(std::tie(r.totale, r.scontrini, r.data, r.ora),
              std::make_tuple("12.345,60", "4", "06/12/2026", "21:07"));
    ASSERT_EQ(r.righe.size(), 3u);
    EXPECT_EQ(r.righe[0].dato, b.c.till->cat.IndiceArticolo(101));

    b.c.Art(201).soldQuantity = 0;
    b.stat.CambiaStorno(1, true);  // 101 down to 3
    b.stat.CambiaStorno(4, true);  // 101 down to 0
    const Summary dopo = b.stat.MostraStatistiche();
    ASSERT_EQ(dopo.righe.size(), 1u);
    EXPECT_NE(dopo.righe[0].testo.find("Patatine"), std::string::npos);
    EXPECT_EQ(dopo.totale, "10,00");
}

TEST(RiepilogoTest, EmptyingYesNoAndFullDisk) {
    Banco b("*2");
    Risposte si;
    si.confirmations = {true, true};
    b.files.failWrites = true;  // the figures stay
    EXPECT_FALSE(b.stat.Svuota(si));
    EXPECT_EQ(std::make_pair(b.c.till->conto.gNumeroScontrino, b.c.Art(101).soldQuantity),
              std::make_pair(4, 5));
    b.files.failWrites = false;

    b.stat.SalvaCommento("Sagra 2026");
    EXPECT_EQ(b.stat.MostraStatistiche().commento, "Sagra 2026");
    const std::string prima = b.File();
    Risposte no;
    no.confirmations = {false};
    EXPECT_FALSE(b.stat.Svuota(no));
    EXPECT_EQ(b.File(), prima);
    EXPECT_EQ(no.questions.size(), 1u);

    b.files.files["/p/Vorsa.ini"] += "[PRONTI]\r\n1=06/12/2026 19:30:00\r\n";  // web marks
    const long scritture = b.files.replaceCount;
    EXPECT_TRUE(b.stat.Svuota(si));
    EXPECT_EQ(b.files.replaceCount - scritture, 1);
    const std::string dopo = b.File();
    EXPECT_EQ(Sezione(dopo, "STATISTICHE") + Sezione(dopo, "SCONTRINI") + Sezione(dopo, "PRONTI"),
              "(missing)(missing)(missing)");
    EXPECT_EQ(Sezione(dopo, "MANGIARE"), Sezione(prima, "MANGIARE"));  // stock untouched
    EXPECT_EQ(b.c.till->conto.gNumeroScontrino, 0);
    const Summary r = b.stat.MostraStatistiche();
    EXPECT_TRUE(r.righe.empty() && r.commento.empty() && r.data.empty() && !r.comandi);
    EXPECT_EQ(r.totale + " " + r.scontrini, "0,00 0");
}

TEST(MultiTillTest, VoidsBetweenTwoTillsOnOneFile) {
    MemoryFileAccess files;
    const std::string multi = "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\nTIMER_CICLI=3\r\n";
    files.files["/p/Vorsa.ini"] = std::string(kDati) + ArchivioDati("") + multi;
    Cassa a(files, "", "anna");
    Cassa b(files, "", "bruno");
    ASSERT_TRUE(a.till->opt.gMultiVorsa);
    Statistics sa = Di(a), sb = Di(b);
    b.Batti("102 F1 F4");  // receipt 5, by bruno: a does not know it yet
    EXPECT_EQ(sa.CambioNumero("5").mostra, 5);
    const ReceiptView v = sa.MostraScontrino(5);
    ProfileStore p(files);
    EXPECT_EQ(v.etichette[0],
              p.Get("/p/Vorsa.ini.lck", "MULTIVORSA", b.till->opt.gIdentitaLock).value_or("?"));
    EXPECT_FALSE(v.etichette[0].empty()) << "the till that made it";

    // a voids receipt 2 on statistics that b's sale changed meanwhile.
    sa.CambiaStorno(2, true);
    EXPECT_EQ(a.Dati("STATISTICHE", "102"), "4;8");
    EXPECT_EQ(a.Dati("MANGIARE", "2"), "Patatine;2;1;0;9;1;10;0");
    // b sees it, and ticking it again there voids nothing twice.
    EXPECT_TRUE(sb.CambiaStorno(2, true).vista.storno);
    EXPECT_EQ(a.Dati("STATISTICHE", "102") + " " + a.Dati("SCONTRINI", "STORNI"), "4;8 *2");
    EXPECT_TRUE(test::LockLiberi(files.files["/p/Vorsa.ini.lck"]));
}

TEST(ArchivioTest, PerTillTotalsAndHoursAcrossMidnight) {
    MemoryFileAccess files;
    const std::string archivio =
        "[STATISTICHE]\r\nSCONTRINI=6\r\n[SCONTRINI]\r\n"
        "1=101-1-3,5;06/12/2026 22:10:00-3,5--anna10:00-0-0-0\r\n"
        "2=101-2-7;06/12/2026 22:50:00-7--bruno11:00-0-0-0\r\n"
        "3=102-1-2;06/12/2026 23:05:00-2--anna10:00-0-0-0\r\n"
        "4=101-1-3,5;07/12/2026 01:30:00-3,5--carla12:00-0-0-0\r\n"
        "5=101-4-14;07/12/2026 01:45:00-14--anna10:00-0-0-0\r\n"
        "6=102-3-6;damaged-6--bruno11:00-0-0-0\r\n"
        "STORNI=3;*5\r\n";
    Cassa c(files, std::string(test::kCatalogo) + archivio);
    const SalesArchive a = LeggiArchivio(c.till->settings, ';', 6, false);
    // Bruno's damaged date still counts.
    ASSERT_EQ(RigheCasse(a.casse), (std::vector<std::string>{
                                       "anna10:00: scontrini 1-5 (3, stornati 2), incasso 3,50",
                                       "bruno11:00: scontrini 2-6 (2, stornati 0), incasso 13,00",
                                       "carla12:00: scontrini 4-4 (1, stornati 0), incasso 3,50"}));
    // 22, 23, 0 and 1 o'clock: the quiet midnight hour is there with nothing in it.
    // Receipt 3 at 23 was voided, receipt 5 at 1 too.
    std::string ore;  // day/hour: receipts, takings
    for (const SalesHour& h : a.ore)
        ore += std::to_string(h.ora.day) + "/" + std::to_string(h.ora.hour) + ": " +
               std::to_string(h.scontrini) + ", " + FormatCurrency(h.incasso) + " | ";
    EXPECT_EQ(ore, "6/22: 2, 10,50 | 6/23: 0, 0,00 | 7/0: 0, 0,00 | 7/1: 1, 3,50 | ");
}

TEST(ArchivioTest, CsvBytes) {
    MemoryFileAccess files;
    Cassa c(files, test::kCatalogo);
    c.Art(101).soldQuantity = 3;
    c.Art(101).soldAmount = *ParseCurrency("10,5");
    c.Art(201).soldQuantity = 1200;
    c.Art(201).soldAmount = *ParseCurrency("1200");
    c.Art(201).name = "Acqua \"frizzante\"; 0,5 l \xE8";
    EXPECT_EQ(CsvVenduto(c.till->cat),
              "\xEF\xBB\xBF"
              "Codice;Articolo;Pezzi;Importo\r\n"
              "101;Panino con salamella;3;10,50\r\n"
              "201;\"Acqua \"\"frizzante\"\"; 0,5 l \xC3\xA8\";1200;1200,00\r\n");
}

class RiepiloghiTest : public ::testing::Test {
  protected:
    MemoryFileAccess files;
    test::FakeShell shell;
    test::FakeClock clock;
    SummaryFiles rep{files, shell, clock, "/p/Statistiche"};
    Risposte r;
    SummaryData dati{"", "06/12/2026", "17,50", "4", "1", {"Nr.    5 Panino - Tot. \x80: 17,50"},
                     {}};
    const std::string file = "/p/Statistiche/Riepilogo_del_06-12-2026.txt";
};

TEST_F(RiepiloghiTest, ExactBytesWithAndWithoutTitle) {
    const std::string cifre =
        "Data ultima transazione: 06/12/2026\r\nTotale incasso: 17,50 \x80\r\n"
        "Numero scontrini battuti:  4\r\nNumero scontrini stornati: 1\r\n\r\n"
        "Lista articoli venduti:\r\n\r\n" +
        dati.righe[0] + "\r\n";
    dati.casse = {"anna: uno"};  // the tills' totals only for more than one
    ASSERT_TRUE(rep.Salva(dati, r));
    EXPECT_EQ(files.files[file], test::Report("", cifre));
    EXPECT_TRUE(r.questions.empty());

    dati.titolo = "Festa d'autunno \xE8";
    dati.casse.push_back("bruno: due");
    r.confirmations = {true};
    ASSERT_TRUE(rep.Salva(dati, r));
    EXPECT_EQ(files.files[file],
              test::Report("Titolo: Festa d'autunno \xE8\r\n\r\n",
                           cifre + "\r\nTotali per cassa:\r\n\r\nanna: uno\r\nbruno: due\r\n"));
    EXPECT_EQ(rep.Elenco(), std::vector<std::string>{"Riepilogo_del_06-12-2026"});
}

TEST_F(RiepiloghiTest, SecondSaveOnOneDayAsksAndFullDisk) {
    ASSERT_TRUE(rep.Salva(dati, r));
    const std::string primo = files.files[file];
    dati.totale = "99,00";
    r.confirmations = {false};
    EXPECT_FALSE(rep.Salva(dati, r));
    EXPECT_EQ(files.files[file], primo);
    EXPECT_EQ(r.questions.size(), 1u);

    files.failWrites = true;  // a full disk leaves the old report
    r.confirmations = {true};
    EXPECT_FALSE(rep.Salva(dati, r));
    EXPECT_EQ(files.files[file], primo);
    files.failWrites = false;

    dati.righe.clear();  // nothing sold: nothing written, nothing asked
    r.questions.clear();
    EXPECT_FALSE(rep.Salva(dati, r));
    EXPECT_TRUE(r.questions.empty());
}

TEST_F(RiepiloghiTest, RenameAndDelete) {
    ASSERT_TRUE(rep.Salva(dati, r));
    files.files["/p/Statistiche/Vecchio.txt"] = "x";
    files.files["/p/Statistiche/Nota.TXT"] = "not ours";
    EXPECT_EQ(rep.Elenco(), (std::vector<std::string>{"Riepilogo_del_06-12-2026", "Vecchio"}));

    r.answers = {std::string("Sagra di San Michele 2026 sera")};  // 30 characters
    EXPECT_TRUE(rep.Rinomina("Riepilogo_del_06-12-2026", r));
    EXPECT_EQ(rep.Elenco(), (std::vector<std::string>{"Sagra di San Michele 2026 ", "Vecchio"}));

    // A name in use, a bad name (refused as saved catalogues' names are) and a blank one are
    // refused and said; no answer changes nothing and says nothing.
    const std::pair<std::optional<std::string>, std::size_t> risposte[] = {
        {"Vecchio", 1}, {"../x", 2}, {"  ", 3}, {"", 3}, {std::nullopt, 3}};
    for (const auto& [risposta, avvisi] : risposte) {
        r.answers = {risposta};
        EXPECT_FALSE(rep.Rinomina("Sagra di San Michele 2026 ", r)) << risposta.value_or("-");
        EXPECT_EQ(r.avvisi.size(), avvisi) << risposta.value_or("-");
    }
    EXPECT_EQ(files.files.count("/p/x.txt"), 0u);
    EXPECT_EQ(rep.Elenco(), (std::vector<std::string>{"Sagra di San Michele 2026 ", "Vecchio"}));

    r.confirmations = {false, true, true};
    EXPECT_FALSE(rep.Cancella("Vecchio", r));
    EXPECT_TRUE(rep.Cancella("Vecchio", r) && rep.Cancella("Sagra di San Michele 2026 ", r));
    EXPECT_TRUE(rep.Elenco().empty());
}

}  // namespace
}  // namespace vorsa
