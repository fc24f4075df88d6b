// Saved catalogues in the folder Dati and the menu of the day: the bytes written, and what
// a damaged or foreign file does to the data file.
#include <gtest/gtest.h>

#include "editor_harness.h"

namespace vorsa {
namespace {

using test::CassaEditor;
using test::Sezione;

constexpr const char* kSalvato = "/p/Dati/Dati_del_06-12-2026.txt";
const std::string kVuota = ";0;0;0;-1;0;-1;0";  // an empty position as the writer stores it

struct Pannello : ::testing::Test, test::Pannello {};
using SavedCatalogueTest = Pannello;

TEST_F(SavedCatalogueTest, SavingWritesTheThreeSectionsAndAsksBeforeReplacing) {
    t.editor.SaveCatalogueCopy();
    const std::string atteso =
        Sezione("MANGIARE", 3,
                {"Panino;2,3;1;0;50;4;50;10", "Bibita grande;12,5;1;1;-1;5;-1;0", kVuota}) +
        Sezione("BERE", 2, {"Acqua;1;0;0;-1;5;-1;0", kVuota}) + Sezione("VARIE", 1, {kVuota});
    EXPECT_EQ(files.files[kSalvato], atteso);
    EXPECT_EQ(t.view.salvati, std::vector<std::string>{"Dati_del_06-12-2026"});
    EXPECT_TRUE(t.cassa.prompter.questions.empty());

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

    const std::string salvato = files.files[kSalvato];
    t.view.salvato = 0;
    t.cassa.prompter.confirmations = {true};
    t.editor.ComandoB(2);
    EXPECT_EQ(t.cat().sezioni[0].size, 5);
    EXPECT_EQ(t.cat().gNumeroArticoli, 8);
    EXPECT_EQ(t.cassa.Dati("MANGIARE", "DIMENSIONE"), "5");
    EXPECT_EQ(t.Riga("MANGIARE", 1), "Panino;2,3;1;0;50;4;50;10");
    EXPECT_EQ(t.Riga("MANGIARE", 5), kVuota);
    EXPECT_EQ(t.cat().gArticoli[t.cat().IndiceArticolo(201)].name, "Acqua");
    EXPECT_EQ(files.files[kSalvato], salvato) << "loading never changes the saved file";
    EXPECT_EQ(t.view.dimensioni[0].caption, "  5");
    EXPECT_EQ(t.view.salvato, -1);
    EXPECT_GE(t.view.ridisposizioni, 1);
}

TEST(SavedCatalogueFilesTest, DamagedFilesGetAClearOutcome) {
    const std::string mega(1 << 20, 'x');
    const struct {
        const char* what;
        std::string bytes;
        bool refused;  // a message, the data file untouched
        std::vector<std::pair<std::string, std::string>> lines;  // "SECTION/key" -> value
    } cases[] = {
        {"garbage",
         std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0garbage\xFF\xFE",
                     20),
         true,
         {}},
        {"empty", "", true, {}},
        {"only other sections", "[PROGRAMMA]\r\nSEPARATORE=|\r\n", true, {}},
        {"line of 1 MB",
         "[MANGIARE]\r\nDIMENSIONE=2\r\n1=" + mega + "\r\n2=Pane;1;1;0;-1;0;-1;0\r\n",
         false,
         {{"MANGIARE/DIMENSIONE", "2"},
          {"MANGIARE/1", std::string(50, 'x') + ";0;1;0;-1;0;-1;0"},
          {"MANGIARE/2", "Pane;1;1;0;-1;0;-1;0"},
          {"BERE/DIMENSIONE", "2"},
          {"BERE/1", kVuota}}},
        {"separator in a name",
         "[BERE]\r\nDIMENSIONE=1\r\n1=Vino;rosso;3;1;0;-1;5;-1;0\r\n",
         false,
         {{"BERE/DIMENSIONE", "1"}, {"BERE/1", "Vino rosso;3;1;0;-1;5;-1;0"}}},
        {"sizes out of range",
         "[MANGIARE]\r\nDIMENSIONE=0\r\n1=Pane;1;1;0;-1;0;-1;0\r\n[BERE]\r\nDIMENSIONE=81\r\n"
         "[VARIE]\r\nDIMENSIONE=due\r\n",
         false,
         {{"MANGIARE/DIMENSIONE", "3"},
          {"MANGIARE/1", "Pane;1;1;0;-1;0;-1;0"},
          {"BERE/DIMENSIONE", "2"},
          {"VARIE/DIMENSIONE", "1"}}},
        {"LF line ends and Windows-1252",
         "[VARIE]\nDIMENSIONE=2\n1=Caff\xE8;1,2;1;0;-1;0;-1;0\n2=T\xE8 freddo;2;1\n",
         false,
         {{"VARIE/1", "Caff\xE8;1,2;1;0;-1;0;-1;0"}, {"VARIE/2", "T\xE8 freddo;2;1;0;-1;0;-1;0"}}},
    };
    for (const auto& c : cases) {
        MemoryFileAccess files;
        CassaEditor t(files, test::kMenu);
        files.files["/p/Dati/x.txt"] = c.bytes;
        t.editor.OpenCatalogueEditor();
        ASSERT_EQ(t.view.salvati, std::vector<std::string>{"x"});
        t.view.salvato = 0;
        t.cassa.prompter.confirmations = {true};
        const std::string prima = t.Dati();
        t.editor.ComandoB(2);
        EXPECT_EQ(files.files["/p/Dati/x.txt"], c.bytes) << c.what;
        EXPECT_EQ(test::SenzaCatalogo(t.Dati()), test::SenzaCatalogo(prima)) << c.what;
        if (c.refused) {
            EXPECT_EQ(t.Dati(), prima) << c.what;
            EXPECT_EQ(t.cassa.prompter.messages.size(), 1u) << c.what;
            EXPECT_EQ(t.cat().gArticoli[1].name, "Panino") << c.what;
            continue;
        }
        EXPECT_TRUE(t.cassa.prompter.messages.empty()) << c.what;
        for (const auto& [where, value] : c.lines) {
            const auto slash = where.find('/');
            EXPECT_EQ(t.cassa.Dati(where.substr(0, slash).c_str(), where.substr(slash + 1)), value)
                << c.what << " " << where;
        }
    }
}

TEST(SavedCatalogueFilesTest, RenameKeepsNamesShortUniqueAndInsideTheFolder) {
    const struct {
        std::optional<std::string> answer;
        std::vector<std::string> after;
        const char* message;
    } cases[] = {
        {"1234567890123456789012345", {"1234567890123456789", "altro"}, nullptr},
        {"altro", {"altro", "festa"}, "Nome gi\xE0 esistente, il file NON \xE8 stato rinominato."},
        {"..\\..\\x", {"altro", "festa"}, "Nome non valido, il file NON \xE8 stato rinominato."},
        {std::nullopt, {"altro", "festa"}, nullptr},
        {"", {"altro", "festa"}, nullptr},
    };
    for (const auto& c : cases) {
        MemoryFileAccess files;
        CassaEditor t(files, test::kMenu);
        files.files["/p/Dati/festa.txt"] = "[MANGIARE]\r\nDIMENSIONE=1\r\n";
        files.files["/p/Dati/altro.txt"] = "[BERE]\r\nDIMENSIONE=1\r\n";
        t.editor.OpenCatalogueEditor();
        t.view.salvato = 1;  // "festa"
        t.cassa.prompter.answers = {c.answer};
        const auto prima = files.files;
        t.editor.RenameSavedCatalogue();
        EXPECT_EQ(t.view.salvati, c.after) << c.answer.value_or("(cancel)");
        EXPECT_EQ(t.view.salvato, -1);
        if (c.message) {
            ASSERT_EQ(t.cassa.prompter.messages.size(), 1u);
            EXPECT_EQ(t.cassa.prompter.messages[0], c.message);
            EXPECT_EQ(files.files, prima) << "nothing moved";
        } else {
            EXPECT_TRUE(t.cassa.prompter.messages.empty());
        }
    }
}

TEST(SavedCatalogueFilesTest, DeleteAsksAndDoubleClickOpens) {
    for (bool yes : {false, true}) {
        MemoryFileAccess files;
        CassaEditor t(files, test::kMenu);
        files.files["/p/Dati/festa.txt"] = "[MANGIARE]\r\nDIMENSIONE=1\r\n";
        t.editor.OpenCatalogueEditor();
        t.editor.ApriSalvato();
        EXPECT_TRUE(t.cassa.shell.opened.empty()) << "no row chosen";
        t.view.salvato = 0;
        t.editor.ApriSalvato();
        EXPECT_EQ(t.cassa.shell.opened, std::vector<std::string>{"/p/Dati/festa.txt"});
        t.cassa.prompter.confirmations = {yes};
        t.editor.DeleteSavedCatalogue();
        EXPECT_EQ(t.cassa.prompter.questions.size(), 1u);
        EXPECT_EQ(files.files.count("/p/Dati/festa.txt"), yes ? 0u : 1u);
        EXPECT_EQ(t.view.salvati.size(), yes ? 0u : 1u);
        EXPECT_EQ(t.view.salvato, -1);
    }
}

TEST(MenuReportTest, ListsNamedArticlesWithAlignedPricesAndOpensIt) {
    const std::string testa =
        "***********************\r\n*    INIZIO REPORT    *\r\n***********************\r\n\r\n"
        "Data e ora estrazione: domenica 06/12/2026 ore 19:45\r\n\r\nArticoli nel men\xF9:\r\n\r\n";
    const std::string coda =
        "\r\n***********************\r\n*     FINE REPORT     *\r\n***********************\r\n";
    auto pad = [](const std::string& s) { return s + std::string(52 - s.size(), ' '); };
    const struct {
        std::string catalogue;
        std::string body;
    } cases[] = {
        {"[MANGIARE]\r\nDIMENSIONE=4\r\n1=Panino;2,3;1;0;-1;0;-1;0\r\n2=Grigliata;12,5;0;0;-1;0;-1;"
         "0\r\n3=\r\n4=Pesce;-1;1;0;-1;0;-1;0\r\n[BERE]\r\nDIMENSIONE=1\r\n1=Magnum;150;1;0;-1;0;-"
         "1;"
         "0\r\n",
         pad("Panino") + "- \x80  2,30\r\n" + pad("Grigliata") + "- \x80 12,50\r\n" + pad("Pesce") +
             "-1,00\r\n" + pad("Magnum") + "150,00\r\n"},
        {"[MANGIARE]\r\nDIMENSIONE=1\r\n[BERE]\r\nDIMENSIONE=1\r\n[VARIE]\r\nDIMENSIONE=1\r\n",
         "   *** Non ci sono articoli ***\r\n"},
    };
    for (const auto& c : cases) {
        MemoryFileAccess files;
        CassaEditor t(files, c.catalogue);
        t.editor.WriteMenuReport();
        const std::string& tmp = t.cassa.till->paths.gFileTmp;
        EXPECT_EQ(files.files[tmp], testa + c.body + coda);
        EXPECT_EQ(t.cassa.shell.opened, std::vector<std::string>{tmp});
    }
}

}  // namespace
}  // namespace vorsa
