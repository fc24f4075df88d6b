// The catalogue editor as the operator drives it: list lines, form fields, saves, deletions
// and the size of the grid, checked on the panel and in the bytes of Vorsa.ini.
#include <gtest/gtest.h>

#include <tuple>

#include "editor/editor_lines.h"
#include "editor_harness.h"

namespace vorsa {
namespace {

using test::CassaEditor;
using test::kMenu;
using test::Sezione;

struct Pannello : ::testing::Test, test::Pannello {};
using EditorPanelTest = Pannello;

std::string Pad(const std::string& s, std::size_t n) {
    return s + std::string(n - s.size(), ' ');
}

Article Art(const char* name, long long priceRaw, bool active, bool separate, int pieces,
            int threshold) {
    Article a;
    a.name = name;
    a.price = Currency::FromRaw(priceRaw);
    a.variablePrice = priceRaw == -10000;
    a.active = active;
    a.separatePrint = separate;
    a.pieces = static_cast<std::int16_t>(pieces);
    a.threshold = static_cast<std::int16_t>(threshold);
    return a;
}

TEST(EditorLinesTest, ListLineShowsMarksPriceAndPieces) {
    const std::string vuota = "* Nessun prodotto in questa posizione *";
    const std::tuple<Article, int, std::string> cases[] = {
        {Art("Panino", 23000, true, false, 50, 10), 0,
         " [A-] " + Pad("Panino", 50) + " - \x80:  2,30 - Pz:   50 (avv.  10)"},
        {Art("Panino", 23000, true, false, 50, 0), 12,
         " [A-] " + Pad("Panino", 50) + " - \x80:  2,30 - Pz:   38"},
        {Art("Bibita", 125000, false, true, -1, 0), 3,
         " [-s] " + Pad("Bibita", 50) + " - \x80: 12,50 - Pz:   -1"},
        {Art("Cena", 1500000, true, true, -1, 0), 0,
         " [As] " + Pad("Cena", 50) + " - \x80: - Pz:   -1"},
        {Art("Pesce", -10000, true, false, 7, 150), 0,
         " [A-] " + Pad("Pesce", 50) + " - \x80:     ? - Pz:    7 (avv. 150)"},
        {Art("", 0, false, false, 0, 0), 0,
         " [  ] " + Pad(vuota, 50) + " - \x80:  0,00 - Pz:    0"}};
    for (const auto& [a, used, line] : cases) EXPECT_EQ(RigaElenco(a, used), line) << a.name;
}

TEST(EditorLinesTest, LeavingAFieldNormalisesIt) {
    Options o;
    o.gSogliaProdotti = 15;
    const std::tuple<int, ArticleFieldValues, ArticleFieldValues, bool> cases[] = {
        {1, {"Pane", "  ", "5", "3"}, {"Pane", "0", "5", "3"}, false},
        {2, {"Pane", "1", "-7", "4"}, {"Pane", "1", "-1", "0"}, false},
        {2, {"Pane", "1", "0", "12"}, {"Pane", "1", "0", "0"}, false},
        {2, {"Pane", "1", "5", ""}, {"Pane", "1", "5", "15"}, false},
        {2, {"Pane", "1", "5", "3"}, {"Pane", "1", "5", "3"}, false},
        {3, {"Pane", "1", "5", ""}, {"Pane", "1", "5", "15"}, false},
        {3, {"Pane", "1", "-1", "9"}, {"Pane", "1", "-1", "0"}, false},
        {0, {"  Pane  ", "1", "5", "3"}, {"Pane", "1", "5", "3"}, false},
        {0, {"Pane;salame", "1", "5", "3"}, {"Pane salame", "1", "5", "3"}, true},
        {0, {std::string(60, 'x'), "1", "", ""}, {std::string(50, 'x'), "1", "", ""}, false}};
    for (const auto& [field, before, after, separator] : cases) {
        ArticleFieldValues f = before;
        EXPECT_EQ(NormalizzaCampo(field, f, o), separator) << before[field];
        EXPECT_EQ(f, after) << "field " << field << " from '" << before[field] << "'";
    }
}

TEST_F(EditorPanelTest, OpeningShowsSectionsSizesAndTheChosenSection) {
    t.cat().sezioni[1].pendingSize = 5;  // a "+" pressed before the panel was closed
    t.editor.OpenCatalogueEditor();
    EXPECT_EQ(t.view.voci.size(), 5u);
    EXPECT_EQ(t.view.sezione, 0);
    const auto& d = t.view.dimensioni;  // the chosen section lit, a pending size marked
    EXPECT_EQ(std::tie(d[0].caption, d[0].back, d[1].caption, d[1].fore, d[2].back),
              std::make_tuple("  3", kGialloChiaro, "*  5", kVerdeScuro, kBianco));
    ASSERT_EQ(t.view.elenco.size(), 3u);
    EXPECT_NE(t.view.captionB[1].find("MANGIARE"), std::string::npos);
    EXPECT_EQ(t.view.comandiB, (std::array<bool, 7>{true, true, true, true, true, true, true}));

    t.Scegli(0, 1);  // the same section again keeps the row, another starts without
    EXPECT_EQ(t.view.campi, (std::array<std::string, 4>{"Bibita grande", "12,5", "-1", "0"}));
    t.Scegli(0);
    EXPECT_EQ(t.view.riga, 1);
    t.Scegli(1);
    EXPECT_EQ(t.view.riga, -1);
    EXPECT_NE(t.view.captionB[1].find("BERE"), std::string::npos);

    t.Scegli(kVoceMonete, 2);  // the coins: no fields, no row
    EXPECT_FALSE(t.view.campiAbilitati);
    ASSERT_EQ(t.view.elenco.size(), 16u);
    EXPECT_EQ(t.view.elenco[0].rfind("S0 = ", 0), 0u);
    EXPECT_EQ(t.view.riga, -1);
    EXPECT_EQ(t.view.campi, (test::ScriptedEditorView{}.campi));
}

TEST(EditorPanelSaveTest, SaveArticleWritesTheLineAndKeepsItsPrintGroup) {
    const std::tuple<const char*, std::array<std::string, 4>, bool, const char*> cases[] = {
        {"price change", {"Panino", "2,8", "40", "10"}, true, "Panino;2,8;1;0;40;4;40;10"},
        {"variable price", {"Panino", "?", "-1", "0"}, true, "Panino;-1;1;0;-1;4;-1;0"},
        {"switched off", {"Panino", "2,3", "50", "10"}, false, "Panino;2,3;0;0;50;4;50;10"},
        {"empty price", {"Panino", "", "50", "10"}, true, "Panino;0;1;0;0;4;0;10"},
        {"no name", {"", "9", "9", "9"}, true, "Panino;2,3;1;0;50;4;50;10"},
        {"separator in name", {"Pane;burro", "1", "-1", "0"}, true, "Pane burro;1;1;0;-1;4;-1;0"}};
    for (const auto& [what, fields, active, line] : cases) {
        test::Pannello p;
        CassaEditor& t = p.t;
        t.Scegli(0, 0);
        t.view.campi = fields;
        t.view.attivo = active;
        std::string atteso = t.Dati();  // with only that line changed
        const std::string vecchia = "1=Panino;2,3;1;0;50;4;50;10\r\n";
        atteso.replace(atteso.find(vecchia), vecchia.size(), std::string("1=") + line + "\r\n");
        t.editor.SaveArticle();
        EXPECT_EQ(t.Dati(), atteso) << what;
        EXPECT_EQ(t.view.riga, 0) << what;  // the same row stays selected
        EXPECT_EQ(t.view.campi[0], "") << what;
    }
}

TEST_F(EditorPanelTest, FieldsOnEntryAndExit) {
    t.Scegli(0, 2);
    t.view.campi = {"Pesce", "?", "-1", "0"};
    t.view.attivo = true;
    t.editor.SaveArticle();  // a "?" price shows as "?"
    t.Scegli(0, 2);
    EXPECT_EQ(t.view.campi[1], "?");
    // Entering a price field that says "0" empties it.
    t.view.campi[1] = "0";
    t.editor.EntraCampo(1);
    EXPECT_EQ(t.view.campi[1], "");
    // A separator in the name is replaced, and said.
    t.view.campi[0] = "Pane;salame";
    t.editor.EsceCampo(0);
    EXPECT_EQ(t.view.campi[0], "Pane salame");
    EXPECT_EQ(t.cassa.prompter.messages.size(), 1u);
    // Pieces the till cannot keep as typed are said, not silently 0 or 32767.
    const std::tuple<const char*, const char*, bool> pezzi[] = {
        {"abc", "0", true},  {"1,5", "0", true},  {"40000", "32767", true},
        {"12", "12", false}, {"-5", "-1", false}, {"", "-1", false}};
    for (const auto& [scritto, tenuto, detto] : pezzi) {
        const std::size_t prima = t.cassa.prompter.messages.size();
        t.view.campi[2] = scritto;
        t.editor.EsceCampo(2);
        EXPECT_EQ(t.view.campi[2], tenuto) << scritto;
        EXPECT_EQ(t.cassa.prompter.messages.size(), prima + (detto ? 1 : 0)) << scritto;
    }
}

TEST_F(EditorPanelTest, SeparatePrintTogglesActiveArticlesAndTheirGroup) {
    for (int row : {0, 1}) {
        t.Scegli(0, row);
        t.editor.ToggleSeparatePrint();
    }
    EXPECT_EQ(t.Righe("MANGIARE", 2), "Panino;2,3;1;1;50;4;50;10|Bibita grande;12,5;1;0;-1;5;-1;0");
    t.Scegli(1, 0);  // Acqua is switched off
    const std::string prima = t.Dati();
    t.editor.ToggleSeparatePrint();
    EXPECT_EQ(t.Dati(), prima);
    EXPECT_FALSE(t.cat().gArticoli[t.cat().IndiceArticolo(201)].separatePrint);

    // Without advanced printing the group follows separate print.
    test::Pannello senza(std::string(kMenu).substr(std::string(kMenu).find("[MANGIARE]")));
    CassaEditor& u = senza.t;
    u.Scegli(1, 0);
    u.view.attivo = true;
    u.editor.SaveArticle();
    EXPECT_EQ(u.Line("BERE", 1), "Acqua;1;1;0;-1;2;-1;0");
    for (const char* riga : {"Acqua;1;1;1;-1;0;-1;0", "Acqua;1;1;0;-1;2;-1;0"}) {
        u.Scegli(1, 0);
        u.editor.ToggleSeparatePrint();
        EXPECT_EQ(u.Line("BERE", 1), riga);
    }
}

TEST(EditorPanelDeleteTest, RowAndSectionDeletionAskFirst) {
    const std::string tutte = "Panino;2,3;1;0;50;4;50;10|Bibita grande;12,5;1;1;-1;5;-1;0|";
    const std::tuple<int, bool, std::string> cases[] = {
        {0, false, tutte},
        {0, true, "|Bibita grande;12,5;1;1;-1;5;-1;0|"},
        {1, false, tutte},
        {1, true, "||"}};
    for (const auto& [command, yes, mangiare] : cases) {
        test::Pannello p;
        CassaEditor& t = p.t;
        t.Scegli(0, 0);
        t.cassa.prompter.confirmations = {yes};
        const long scritture = p.files.replaceCount;
        t.editor.ComandoB(command);
        ASSERT_EQ(t.cassa.prompter.questions.size(), 1u);
        EXPECT_EQ(t.Righe("MANGIARE", 3), mangiare) << command << yes;
        EXPECT_EQ(t.Line("BERE", 1), "Acqua;1;0;0;-1;5;-1;0");
        EXPECT_EQ(p.files.replaceCount - scritture, yes ? 1 : 0) << "one write or none";
        EXPECT_EQ(t.view.elenco[0].substr(0, 6) == " [  ] ", yes);
    }
}

TEST_F(EditorPanelTest, PlusAndMinusClampAndMark) {
    const std::tuple<int, int, int, const char*, int> cases[] = {
        {0, 3, 1, "*  4", kVerdeScuro},         {0, 4, 1, "  3", kColoreTestoFinestra},
        {0, 4, 1, "*  2", kRossoDimensione},    {0, 4, 5, "*  1", kRossoDimensione},
        {0, 3, 2, "  3", kColoreTestoFinestra}, {2, 3, 100, "* 80", kVerdeScuro}};
    for (const auto& [section, command, presses, caption, fore] : cases) {
        t.Scegli(section);
        for (int k = 0; k < presses; ++k) t.editor.ComandoB(command);
        EXPECT_EQ(t.view.dimensioni[section].caption, caption);
        EXPECT_EQ(t.view.dimensioni[section].fore, fore) << caption;
    }
    EXPECT_EQ(t.cat().sezioni[2].size, 1) << "only the pending size changes";
}

TEST(EditorPanelGridTest, ShrinkAndGrowAskOnceAndApplyAsOneWrite) {
    for (bool yes : {false, true}) {
        test::Pannello p;
        CassaEditor& t = p.t;
        t.Scegli(0);
        t.editor.ComandoB(4);  // MANGIARE 3 -> 2
        t.Scegli(1);
        t.editor.ComandoB(3);  // BERE 2 -> 3
        t.cassa.prompter.confirmations = {yes};
        const std::string prima = t.Dati();
        t.editor.ComandoB(5);
        EXPECT_EQ(t.cassa.prompter.questions.size(), 1u);
        if (!yes) {
            EXPECT_EQ(t.Dati(), prima);
            EXPECT_EQ(t.cat().gNumeroArticoli, 6);
            continue;
        }
        EXPECT_EQ(t.Catalogo(),
                  Sezione("MANGIARE", 2,
                          {"Panino;2,3;1;0;50;4;50;10", "Bibita grande;12,5;1;1;-1;5;-1;0"}) +
                      Sezione("BERE", 3,
                              {"Acqua;1;0;0;-1;5;-1;0", ";0;0;0;-1;0;-1;0", ";0;0;0;0;0;0;0"}) +
                      Sezione("VARIE", 1, {";0;0;0;-1;0;-1;0"}));
        EXPECT_EQ(test::SenzaCatalogo(t.Dati()), test::SenzaCatalogo(prima));
        // The articles of the later sections keep their rows and codes.
        EXPECT_EQ(t.cat().gArticoli[t.cat().IndiceArticolo(201)].name, "Acqua");
        EXPECT_EQ(std::make_pair(t.cat().IndiceArticolo(203), t.cat().IndiceArticolo(103)),
                  std::make_pair(5, -1));
    }
}

TEST(EditorPanelGridTest, ReceiptsOnRecordLockTheDestructiveCommands) {
    test::Pannello p(std::string(kMenu) + "[STATISTICHE]\r\nSCONTRINI=3\r\n");
    CassaEditor& t = p.t;
    t.Scegli(0, 0);
    t.cassa.prompter.confirmations = {true, true, true};
    const std::string prima = t.Dati();
    for (int i : {0, 1, 2, 4, 6}) t.editor.ComandoB(i);
    EXPECT_EQ(t.Dati(), prima);
    EXPECT_TRUE(t.cassa.prompter.questions.empty());
    // A shrink chosen before the first sale cannot be applied any more; growth can.
    t.cat().sezioni[0].pendingSize = 2;
    t.editor.ComandoB(5);
    EXPECT_EQ(t.Dati(), prima);
    EXPECT_EQ(t.cassa.prompter.messages.size(), 1u);
    t.cat().sezioni[0].pendingSize = 4;
    t.editor.ComandoB(5);
    EXPECT_EQ(t.cassa.Dati("MANGIARE", "DIMENSIONE") + " " + t.Line("MANGIARE", 4),
              "4 ;0;0;0;0;0;0;0");
}

TEST_F(EditorPanelTest, TestDataReplaceTheCatalogue) {
    t.cassa.prompter.confirmations = {true};
    t.editor.ComandoB(6);
    EXPECT_EQ(t.Catalogo(), Sezione("MANGIARE", 3,
                                    {"Prodotto MANGIARE 1 test;1,13;1;0;20;0;-1;0",
                                     "Prodotto MANGIARE 2 test;1,13;1;0;20;0;-1;0",
                                     "Prodotto MANGIARE 3 test;1,13;1;0;20;0;-1;0"}) +
                                Sezione("BERE", 2,
                                        {"Prodotto BERE 1 test;1,14;1;0;20;0;-1;0",
                                         "Prodotto BERE 2 test;1,14;1;0;20;0;-1;0"}) +
                                Sezione("VARIE", 1, {"Prodotto VARIE 1 test;1,15;1;0;20;0;-1;0"}));
}

struct DueCasse : ::testing::Test {
    MemoryFileAccess files;
    CassaEditor a{
        files, "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\nTIMER_CICLI=50\r\n" + std::string(kMenu),
        "anna"};
    CassaEditor b{files, "", "bruno"};
};
using EditorMultiTest = DueCasse;

TEST_F(EditorMultiTest, SaveHoldsTheArticleLockUntilTheLineIsWritten) {
    a.editor.OpenCatalogueEditor();
    a.Scegli(0, 0);
    // Bruno holds Panino's line while selling it.
    ASSERT_TRUE(b.cat().BloccaArticolo(1, b.cassa.till->store));
    std::vector<std::string> visto;
    a.cassa.sleeper.onSleep = [&](int n) {
        visto.push_back(a.Line("MANGIARE", 1));
        if (n == 3) {
            b.cassa.till->store.ScriviIni("MANGIARE", "1", "Panino;2,3;1;0;47;4;50;10",
                                          "/p/Vorsa.ini");
            b.cassa.till->store.SbloccaChiave("MANGIARE", "1");
        }
    };
    a.view.campi = {"Panino", "2,5", "60", "10"};
    a.view.attivo = true;
    a.editor.SaveArticle();
    ASSERT_EQ(visto.size(), 3u) << "the save waited for Bruno's lock";
    EXPECT_EQ(visto[0], "Panino;2,3;1;0;50;4;50;10");
    EXPECT_EQ(a.Line("MANGIARE", 1), "Panino;2,5;1;0;60;4;60;10");
    ProfileStore p(files);
    EXPECT_FALSE(p.Get("/p/Vorsa.ini.lck", "MANGIARE", "1-LOCKED").has_value())
        << "released after the write";
}

TEST_F(EditorMultiTest, PiecesHeldOrSoldByAnotherTillSurviveTheEditor) {
    b.cassa.vendita->ImpostaStampaAutomatica(false);
    b.cassa.Batti("101 101");                     // Bruno takes two Panini into his bill
    a.cat().AbilitaArticoli(true, a.cassa.view);  // F7 locks the product buttons
    a.editor.OpenCatalogueEditor();               // Anna has read 50 Panini, 2 of them held
    EXPECT_FALSE((a.cassa.view.enabled[{0, 1}])) << "refreshing the list unlocked a button";
    EXPECT_EQ(a.view.elenco[0],
              " [A-] " + Pad("Panino", 50) + " - \x80:  2,30 - Pz:   48 (avv.  10)");
    b.cassa.Batti("F1 F4");
    ASSERT_EQ(Split(a.Line("MANGIARE", 1), ';')[4], "48");
    a.editor.ComandoB(3);
    a.editor.ComandoB(5);
    EXPECT_EQ(a.cassa.Dati("MANGIARE", "DIMENSIONE"), "4");
    EXPECT_EQ(Split(a.Line("MANGIARE", 1), ';')[4], "48") << "the grid change undid a sale";
    EXPECT_EQ(a.cassa.prompter.messages.size(), 1u) << "restart the other tills";
}

constexpr const char* kSalvato = "/p/Dati/Dati_del_06-12-2026.txt";
const std::string kVuota = ";0;0;0;-1;0;-1;0";  // an empty position as the writer stores it

using SavedCatalogueTest = Pannello;

TEST_F(SavedCatalogueTest, SavingWritesTheThreeSectionsAndAsksBeforeReplacing) {
    t.editor.SaveCatalogueCopy();
    const std::string atteso =
        Sezione("MANGIARE", 3,
                {"Panino;2,3;1;0;50;4;50;10", "Bibita grande;12,5;1;1;-1;5;-1;0", kVuota}) +
        Sezione("BERE", 2, {"Acqua;1;0;0;-1;5;-1;0", kVuota}) + Sezione("VARIE", 1, {kVuota});
    EXPECT_EQ(files.files[kSalvato], atteso);

    const std::string vecchio = "[MANGIARE]\r\nDIMENSIONE=1\r\n1=Vecchio;1;1;0;-1;0;-1;0\r\n";
    for (bool yes : {false, true}) {
        files.files[kSalvato] = vecchio;
        t.cassa.prompter.confirmations = {yes};
        t.editor.SaveCatalogueCopy();
        EXPECT_EQ(t.cassa.prompter.questions.size(), yes ? 2u : 1u);
        EXPECT_EQ(files.files[kSalvato], yes ? atteso : vecchio);
    }
}

TEST_F(SavedCatalogueTest, PendingGrowthIsSavedAndLoadsAsALargerGrid) {
    t.editor.ComandoB(3);
    t.editor.ComandoB(3);  // MANGIARE 3 -> 5, not applied
    t.editor.SaveCatalogueCopy();
    EXPECT_NE(files.files[kSalvato].find("DIMENSIONE=5\r\n1=Panino"), std::string::npos);
    EXPECT_EQ(files.files[kSalvato].find("4="), std::string::npos);

    t.view.salvato = 0;
    t.cassa.prompter.confirmations = {true};
    t.editor.ComandoB(2);
    EXPECT_EQ(std::make_tuple(t.cat().sezioni[0].size, t.cat().gNumeroArticoli, t.view.salvato),
              std::make_tuple(std::int16_t{5}, 8, -1));
    EXPECT_EQ(t.cassa.Dati("MANGIARE", "DIMENSIONE") + t.view.dimensioni[0].caption, "5  5");
    EXPECT_EQ(t.Line("MANGIARE", 1) + "|" + t.Line("MANGIARE", 5),
              "Panino;2,3;1;0;50;4;50;10|" + kVuota);
    EXPECT_EQ(t.cat().gArticoli[t.cat().IndiceArticolo(201)].name, "Acqua");
    EXPECT_GE(t.view.ridisposizioni, 1);
}

TEST(SavedCatalogueFilesTest, DamagedFilesGetAClearOutcome) {
    const std::string mega(1 << 20, 'x');
    const std::tuple<const char*, std::string, bool, std::string> cases[] = {
        {"garbage",
         std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0garbage\xFF\xFE",
                     20),
         true, ""},
        {"only other sections", "[PROGRAMMA]\r\nSEPARATORE=|\r\n", true, ""},
        {"line of 1 MB",
         "[MANGIARE]\r\nDIMENSIONE=2\r\n1=" + mega + "\r\n2=Pane;1;1;0;-1;0;-1;0\r\n", false,
         "MANGIARE/DIMENSIONE=2|MANGIARE/1=" + std::string(50, 'x') +
             ";0;1;0;-1;0;-1;0|MANGIARE/2=Pane;1;1;0;-1;0;-1;0|BERE/DIMENSIONE=2|BERE/1=" + kVuota},
        {"separators in a name and at the end",
         "[BERE]\r\nDIMENSIONE=2\r\n1=Vino;rosso;3;1;0;-1;5;-1;0\r\n2=Birra;3;1;0;-1;5;-1;0;;\r\n",
         false, "BERE/DIMENSIONE=2|BERE/1=Vino rosso;3;1;0;-1;5;-1;0|BERE/2=Birra;3;1;0;-1;5;-1;0"},
        {"sizes out of range",
         "[MANGIARE]\r\nDIMENSIONE=0\r\n1=Pane;1;1;0;-1;0;-1;0\r\n[BERE]\r\nDIMENSIONE=81\r\n"
         "[VARIE]\r\nDIMENSIONE=due\r\n",
         false,
         "MANGIARE/DIMENSIONE=3|MANGIARE/1=Pane;1;1;0;-1;0;-1;0|BERE/DIMENSIONE=2|VARIE/"
         "DIMENSIONE=1"},
        {"LF line ends and Windows-1252",
         "[VARIE]\nDIMENSIONE=2\n1=Caff\xE8;1,2;1;0;-1;0;-1;0\n2=T\xE8 freddo;2;1\n", false,
         "VARIE/1=Caff\xE8;1,2;1;0;-1;0;-1;0|VARIE/2=T\xE8 freddo;2;1;0;-1;0;-1;0"}};
    for (const auto& [what, bytes, refused, lines] : cases) {
        MemoryFileAccess files;
        CassaEditor t(files, kMenu);
        files.files["/p/Dati/x.txt"] = bytes;
        t.editor.OpenCatalogueEditor();
        ASSERT_EQ(t.view.salvati, std::vector<std::string>{"x"});
        t.view.salvato = 0;
        t.cassa.prompter.confirmations = {true};
        const std::string prima = t.Dati();
        t.editor.ComandoB(2);
        EXPECT_EQ(files.files["/p/Dati/x.txt"], bytes) << what;
        EXPECT_EQ(test::SenzaCatalogo(t.Dati()), test::SenzaCatalogo(prima)) << what;
        if (refused) {
            EXPECT_EQ(t.Dati(), prima) << what;
            EXPECT_EQ(t.cassa.prompter.messages.size(), 1u) << what;
            EXPECT_EQ(t.cat().gArticoli[1].name, "Panino") << what;
            continue;
        }
        EXPECT_TRUE(t.cassa.prompter.messages.empty()) << what;
        for (const std::string& riga : Split(lines, '|')) {
            const auto slash = riga.find('/'), eq = riga.find('=');
            EXPECT_EQ(
                t.cassa.Dati(riga.substr(0, slash).c_str(), riga.substr(slash + 1, eq - slash - 1)),
                riga.substr(eq + 1))
                << what << " " << riga;
        }
    }
}

TEST(SavedCatalogueFilesTest, RenameKeepsNamesShortUniqueAndInsideTheFolder) {
    const char* nonValido = "Nome non valido, il file NON \xE8 stato rinominato.";
    const std::tuple<std::optional<std::string>, std::vector<std::string>, const char*> cases[] = {
        {"1234567890123456789012345", {"1234567890123456789", "altro"}, nullptr},
        {"altro", {"altro", "festa"}, "Nome gi\xE0 esistente, il file NON \xE8 stato rinominato."},
        {"..\\..\\x", {"altro", "festa"}, nonValido},
        {"a/b", {"altro", "festa"}, nonValido},
        {std::string("a\0b", 3), {"altro", "festa"}, nonValido},
        {std::nullopt, {"altro", "festa"}, nullptr},
        {"   ", {"altro", "festa"}, nullptr}};
    for (const auto& [answer, after, message] : cases) {
        MemoryFileAccess files;
        CassaEditor t(files, kMenu);
        files.files["/p/Dati/festa.txt"] = "[MANGIARE]\r\nDIMENSIONE=1\r\n";
        files.files["/p/Dati/altro.txt"] = "[BERE]\r\nDIMENSIONE=1\r\n";
        t.editor.OpenCatalogueEditor();
        t.view.salvato = 1;  // "festa"
        t.cassa.prompter.answers = {answer};
        const auto prima = files.files;
        t.editor.RenameSavedCatalogue();
        EXPECT_EQ(t.view.salvati, after) << answer.value_or("(cancel)");
        if (message) {
            ASSERT_EQ(t.cassa.prompter.messages.size(), 1u);
            EXPECT_EQ(t.cassa.prompter.messages[0], message);
            EXPECT_EQ(files.files, prima) << "nothing moved";
        } else {
            EXPECT_TRUE(t.cassa.prompter.messages.empty());
        }
    }
}

TEST(SavedCatalogueFilesTest, DeleteAsksAndDoubleClickOpens) {
    for (bool yes : {false, true}) {
        MemoryFileAccess files;
        CassaEditor t(files, kMenu);
        files.files["/p/Dati/festa.txt"] = "[MANGIARE]\r\nDIMENSIONE=1\r\n";
        t.editor.OpenCatalogueEditor();
        t.view.salvato = 0;
        t.editor.ApriSalvato();
        EXPECT_EQ(t.cassa.shell.opened, std::vector<std::string>{"/p/Dati/festa.txt"});
        t.cassa.prompter.confirmations = {yes};
        t.editor.DeleteSavedCatalogue();
        EXPECT_EQ(t.cassa.prompter.questions.size(), 1u);
        EXPECT_EQ(files.files.count("/p/Dati/festa.txt"), yes ? 0u : 1u);
        EXPECT_EQ(t.view.salvati.size(), yes ? 0u : 1u);
    }
}

TEST(MenuReportTest, ListsNamedArticlesWithAlignedPricesAndOpensIt) {
    auto pad = [](const std::string& s) { return s + std::string(52 - s.size(), ' '); };
    const std::tuple<std::string, std::string> cases[] = {
        {"[MANGIARE]\r\nDIMENSIONE=4\r\n1=Panino;2,3;1;0;-1;0;-1;0\r\n"
         "2=Grigliata;12,5;0;0;-1;0;-1;0\r\n3=\r\n4=Pesce;-1;1;0;-1;0;-1;0\r\n"
         "[BERE]\r\nDIMENSIONE=1\r\n1=Magnum;150;1;0;-1;0;-1;0\r\n",
         pad("Panino") + "- \x80  2,30\r\n" + pad("Grigliata") + "- \x80 12,50\r\n" + pad("Pesce") +
             "-1,00\r\n" + pad("Magnum") + "150,00\r\n"},
        {"[MANGIARE]\r\nDIMENSIONE=1\r\n[BERE]\r\nDIMENSIONE=1\r\n[VARIE]\r\nDIMENSIONE=1\r\n",
         "   *** Non ci sono articoli ***\r\n"}};
    for (const auto& [catalogue, body] : cases) {
        MemoryFileAccess files;
        CassaEditor t(files, catalogue);
        t.editor.WriteMenuReport();
        const std::string& tmp = t.cassa.till->paths.gFileTmp;
        EXPECT_EQ(files.files[tmp], test::Report("", "Articoli nel men\xF9:\r\n\r\n" + body));
    }
}

}  // namespace
}  // namespace vorsa
