// The advanced print groups as the print options dialog edits them: what the lists hold, what
// lands in Vorsa.ini, and what the next start of the till reads back from it.
#include "printing/print_groups.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "print_fixture.h"

namespace vorsa::test {
namespace {

// kCatalogoStampa: 101 Panino con salamella, 102 Patatine, 103 Piatto del giorno (printed
// separately), 104 Costine, 201 Acqua, 202 Birra, 301 Gadget.
struct Gruppi {
    explicit Gruppi(const std::string& extra = "")
        : banco(extra), gruppi(banco.till().cat, banco.till().settings) {}
    std::string File() { return banco.files.ReadAll("/p/Vorsa.ini").bytes; }
    int Indice(int code) { return banco.till().cat.IndiceArticolo(code); }
    std::vector<int> Codici(const std::vector<int>& indici) {
        std::vector<int> v;
        for (int i : indici) v.push_back(banco.till().cat.gArticoli[i].code);
        return v;
    }
    std::string Elenco() {
        std::string s;
        for (const PrintGroup& g : gruppi.Gruppi())
            s += (s.empty() ? "" : " ") + g.name + "=" + std::to_string(g.number);
        return s;
    }
    Banco banco;
    PrintGroups gruppi;
};

TEST(PrintGroups, WithoutTheKeyOneGroupPerSectionAndSeparateArticlesInNone) {
    Gruppi g;
    EXPECT_EQ(g.Elenco(), "MANGIARE=1 BERE=2 VARIE=3");
    EXPECT_EQ(g.Codici(g.gruppi.ArticoliDi(1)), (std::vector<int>{101, 102, 104}));
    EXPECT_EQ(g.Codici(g.gruppi.ArticoliDi(2)), (std::vector<int>{201, 202}));
    EXPECT_EQ(g.Codici(g.gruppi.SenzaGruppo()), (std::vector<int>{103}));
    // Nothing is written until the operator changes something.
    EXPECT_EQ(g.File().find("STAMPA AVANZATA"), std::string::npos);
}

TEST(PrintGroups, EveryButtonWritesTheList) {
    const struct {
        const char* name;
        std::string gruppi;  // the stored list before ("" = key absent)
        std::function<bool(Gruppi&)> azione;
        bool fatto;
        std::string dopo;  // the stored list after
    } casi[] = {
        {"add to the defaults", "", [](Gruppi& g) { return g.gruppi.Aggiungi("Bar"); }, true,
         "MANGIARE-1;BERE-2;VARIE-3;Bar-4"},
        {"add takes the smallest free number", "A-1;B-3",
         [](Gruppi& g) { return g.gruppi.Aggiungi("C"); }, true, "A-1;B-3;C-2"},
        {"add with an empty name", "A-1", [](Gruppi& g) { return g.gruppi.Aggiungi("  "); }, false,
         "A-1"},
        {"a dash or separator in a name", "A-1",
         [](Gruppi& g) { return g.gruppi.Aggiungi("Bar-Cucina;2"); }, true, "A-1;Bar Cucina 2-2"},
        {"rename", "A-1;B-3", [](Gruppi& g) { return g.gruppi.Rinomina(1, "Griglia"); }, true,
         "A-1;Griglia-3"},
        {"rename to nothing", "A-1;B-3", [](Gruppi& g) { return g.gruppi.Rinomina(1, ""); }, false,
         "A-1;B-3"},
        {"delete", "A-1;B-3", [](Gruppi& g) { return g.gruppi.Elimina(0, "A"); }, true, "B-3"},
        {"delete without its name", "A-1;B-3", [](Gruppi& g) { return g.gruppi.Elimina(0, ""); },
         false, "A-1;B-3"},
        {"delete the only group", "A-1", [](Gruppi& g) { return g.gruppi.Elimina(0, "A"); }, false,
         "A-1"},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.name);
        Gruppi g(c.gruppi.empty() ? "" : "[STAMPA AVANZATA]\r\nGRUPPI=" + c.gruppi + "\r\n");
        EXPECT_EQ(c.azione(g), c.fatto);
        if (c.fatto || !c.gruppi.empty()) {
            EXPECT_NE(g.File().find("[STAMPA AVANZATA]\r\nGRUPPI=" + c.dopo + "\r\n"),
                      std::string::npos)
                << g.File();
        }
        EXPECT_EQ(g.banco.opt().advancedGroups, c.dopo.empty() ? "" : c.dopo);
    }
}

TEST(PrintGroups, TheListUsesTheTillsSeparatorAndKeepsOtherSeparatorsInNames) {
    Gruppi g("[PROGRAMMA]\r\nSEPARATORE=|\r\n");
    ASSERT_TRUE(g.gruppi.Aggiungi("Bar;Cucina"));
    EXPECT_NE(g.File().find("GRUPPI=MANGIARE-1|BERE-2|VARIE-3|Bar;Cucina-4\r\n"),
              std::string::npos);
}

TEST(PrintGroups, AMovedArticleKeepsItsGroupOnItsLine) {
    Gruppi g;
    ASSERT_TRUE(g.gruppi.Aggiungi("Bar"));
    ASSERT_TRUE(g.gruppi.Sposta({g.Indice(202), g.Indice(103)}, 4));
    ASSERT_TRUE(g.gruppi.Sposta({g.Indice(101)}, 0));
    EXPECT_FALSE(g.gruppi.Sposta({g.Indice(102)}, 9));  // no group 9
    EXPECT_FALSE(g.gruppi.Sposta({g.Indice(102)}, 1));  // already there
    EXPECT_EQ(g.Codici(g.gruppi.ArticoliDi(4)), (std::vector<int>{103, 202}));
    EXPECT_EQ(g.Codici(g.gruppi.SenzaGruppo()), (std::vector<int>{101}));
    for (const char* riga :
         {"2=Birra;3;1;0;-1;4;-1;0\r\n", "3=Piatto del giorno;120;1;1;-1;4;-1;0\r\n",
          "1=Panino con salamella;3,5;1;0;-1;0;-1;0\r\n"})
        EXPECT_NE(g.File().find(riga), std::string::npos) << g.File();

    // The next start reads the same groups and articles back.
    Cassa dopo(g.banco.files, "");
    const Catalogue& cat = dopo.till->cat;
    ASSERT_EQ(cat.gNumeroGruppi, 4);
    EXPECT_EQ(std::tie(cat.gGruppi[4].name, cat.gGruppi[4].number), std::make_tuple("Bar", 4));
    EXPECT_EQ((std::vector<int>{dopo.Art(202).printGroup, dopo.Art(103).printGroup,
                                dopo.Art(101).printGroup, dopo.Art(102).printGroup}),
              (std::vector<int>{4, 4, 0, 1}));
}

TEST(PrintGroups, ArticlesOfADeletedOrUnknownGroupAreInNoGroupUntilMoved) {
    Gruppi g("[STAMPA AVANZATA]\r\nGRUPPI=Cucina-1;Bar-2;Altro-3\r\n");
    g.banco.cassa.Art(301).printGroup = 7;  // a group the list does not hold
    ASSERT_TRUE(g.gruppi.Elimina(1, "Bar"));
    EXPECT_EQ(g.Elenco(), "Cucina=1 Altro=3");
    EXPECT_EQ(g.Codici(g.gruppi.SenzaGruppo()), (std::vector<int>{201, 202, 301}));
    EXPECT_NE(g.File().find("1=Acqua;1;1;0;-1;0;-1;0\r\n"), std::string::npos);
    EXPECT_NE(g.File().find("2=Birra;3;1;0;-1;0;-1;0\r\n"), std::string::npos);
    ASSERT_TRUE(g.gruppi.Sposta({g.Indice(301)}, 3));
    EXPECT_EQ(g.Codici(g.gruppi.ArticoliDi(3)), (std::vector<int>{301}));
}

TEST(PrintGroups, DiscardingEverythingEmptiesTheListAndEveryArticlesGroup) {
    Gruppi g("[STAMPA AVANZATA]\r\nGRUPPI=Cucina-1;Bar-2;Altro-3\r\n");
    g.gruppi.Annulla();
    EXPECT_EQ(g.Elenco(), "");
    EXPECT_TRUE(g.gruppi.ArticoliDi(1).empty());
    EXPECT_EQ(g.gruppi.SenzaGruppo().size(), 7u);
    const std::string f = g.File();
    EXPECT_NE(f.find("[STAMPA AVANZATA]\r\nGRUPPI=\r\n"), std::string::npos) << f;
    EXPECT_NE(f.find("1=Gadget;5;1;0;-1;0;-1;0\r\n"), std::string::npos) << f;
    EXPECT_FALSE(g.banco.opt().gStampaAvanzata);
    // A group added afterwards starts the numbering again.
    ASSERT_TRUE(g.gruppi.Aggiungi("Nuovo"));
    EXPECT_NE(g.File().find("GRUPPI=Nuovo-1\r\n"), std::string::npos);
    EXPECT_TRUE(g.banco.opt().gStampaAvanzata);
}

}  // namespace
}  // namespace vorsa::test
