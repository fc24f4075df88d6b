#include "data/catalogue.h"

#include <gtest/gtest.h>

#include <tuple>

#include "sale_harness.h"
#include "settings_bench.h"

namespace vorsa {
namespace {

constexpr const char* kIni = "/p/Vorsa.ini";
using K = std::pair<int, int>;

struct Bench : test::Impostazioni {
    explicit Bench(const std::string& ini = "") { Load(ini); }
    void Load(const std::string& ini) {
        files.files[kIni] = ini;
        cat.CaricaDimensioni(store, kIni);
        cat.CaricaProdotti(store, opt, paths);
    }
    Article& At(int code) { return cat.gArticoli[cat.IndiceArticolo(code)]; }
    std::string Line(const char* section, int position) {
        return store.LeggiIni(section, std::to_string(position), kIni, true);
    }
    Catalogue cat;
};

TEST(CatalogueTest, CodesMapToIndices) {
    Bench b;
    EXPECT_EQ(b.cat.gNumeroArticoli, 28);
    for (int code : {115, 211, 300, 305, 100, 0, -101, 999})
        EXPECT_EQ(b.cat.IndiceArticolo(code), -1) << code;

    b.Load(
        "[MANGIARE]\r\nDIMENSIONE=80\r\n[BERE]\r\nDIMENSIONE=80\r\n[VARIE]\r\nDIMENSIONE=80\r\n");
    EXPECT_EQ(b.cat.gNumeroArticoli, 240);
    const std::pair<int, int> pieni[] = {{180, 80}, {201, 81}, {380, 240}, {381, -1}};
    for (auto [code, index] : pieni) EXPECT_EQ(b.cat.IndiceArticolo(code), index) << code;
    for (int n = 1; n <= 240; ++n) EXPECT_EQ(b.cat.IndiceArticolo(b.cat.gArticoli[n].code), n);
}

TEST(CatalogueTest, BadSizesFallBackToDefaultsAndAreWrittenBack) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"81", 10, "10"}, {"80", 80, "80"}, {"0", 10, "10"},  {"abc", 10, "10"},
        {"", 10, "10"},   {"1", 1, "1"},    {"-3", 10, "10"}, {"99999999999", 10, "10"}};
    for (const auto& [value, size, stored] : cases) {
        Bench b(std::string("[BERE]\r\nDIMENSIONE=") + value + "\r\n");
        EXPECT_EQ(b.cat.sezioni[1].size, size) << value;
        EXPECT_EQ(b.cat.sezioni[1].pendingSize, size);
        EXPECT_EQ(b.store.LeggiIni("BERE", "DIMENSIONE", kIni), stored) << value;
    }
}

/// An article's fields as "name|price|flags|pieces|group|reference|threshold", flags "vas".
std::string Campi(const Article& a) {
    return a.name + "|" + std::to_string(a.price.raw) + "|" + (a.variablePrice ? "v" : "-") +
           (a.active ? "a" : "-") + (a.separatePrint ? "s" : "-") + "|" + std::to_string(a.pieces) +
           "|" + std::to_string(a.printGroup) + "|" + std::to_string(a.referencePieces) + "|" +
           std::to_string(a.threshold);
}

TEST(CatalogueTest, ArticleLinesAreReadFieldByFieldAndAVariablePriceStays) {
    const std::string n50(50, 'N'), b49(49, 'B');
    // A cut that ends in a blank must not leave a name that the next start reads differently.
    const std::tuple<std::string, std::string, bool> cases[] = {
        {std::string(60, 'N') + ";1;1;0;-1;1;-1;0", n50 + "|10000|-a-|-1|1|-1|0", false},
        {b49 + "  B;1;1;0;-1;1;-1;0", b49 + "|10000|-a-|-1|1|-1|0", false},
        {"Panino;2.5;1;0;-1;1;-1;0", "Panino|25000|-a-|-1|1|-1|0", false},
        {"Bibita;-1", "Bibita|-10000|va-|-1|0|-1|0", true},
        {";2;1;0;5;1;5;1", "|20000|---|0|1|0|1", false},
        {"Torta;3;0;1;12;2;20;4;extra", "Torta|30000|--s|12|2|20|4", false},
        {"Vino  ;x;y;z;w;v;u;t", "Vino|0|-a-|-1|0|-1|0", false},
        {"Acqua;1;1;0;99999;1;-99999;0", "Acqua|10000|-a-|32767|1|-32768|0", false}};
    for (const auto& [line, fields, rewritten] : cases) {
        Bench b("[MANGIARE]\r\n1=" + line + "\r\n");
        EXPECT_EQ(Campi(b.At(101)), fields) << line;
        EXPECT_EQ(b.Line("MANGIARE", 1) != line, rewritten) << line;
    }
    // A custom separator splits the lines.
    Bench b;
    b.opt.gSeparatore = '|';
    b.Load("[MANGIARE]\r\n1=Pane; burro|1,5|1|0|8|1|8|2\r\n");
    EXPECT_EQ(Campi(b.At(101)), "Pane; burro|15000|-a-|8|1|8|2");
    // A price entered for the current bill is never written back: the article stays variable.
    // (Prices in their shortest form: OneTillCommitTest.FirstCommitOfTheDay.)
    b.Load("[MANGIARE]\r\n3=Vario|-1|1|0|-1|1|-1|0\r\n");
    b.cat.gArticoli[3].price = Currency::FromUnits(4);
    EXPECT_EQ(b.cat.RigaArticolo(3, '|'), "Vario|-1|1|0|-1|1|-1|0");
}

TEST(CatalogueTest, StockStates) {
    // Pieces, reference, threshold, its kind, pieces used, state. 5 of 8 left is 62.5 %: rounds
    // to 62; 3 of 8 is 37.5 %: rounds half to even, to 38.
    const std::tuple<int, int, int, int, int, int> cases[] = {
        {10, 10, 3, 0, 7, 4},   {10, 10, 3, 0, 6, 1}, {10, 10, 3, 0, 10, 3}, {0, 0, 0, 0, 0, 3},
        {-1, -1, 5, 0, 500, 1}, {10, 10, 0, 0, 9, 1}, {8, 0, 3, 1, 5, 4},    {8, -1, 3, 1, 4, 1},
        {8, 8, 62, 1, 3, 4},    {8, 8, 61, 1, 3, 1},  {8, 8, 37, 1, 5, 1},   {8, 8, 38, 1, 5, 4}};
    Bench b;
    Article& a = b.cat.gArticoli[1];
    for (const auto& [pieces, reference, threshold, tipo, used, state] : cases) {
        a.pieces = static_cast<std::int16_t>(pieces);
        a.referencePieces = static_cast<std::int16_t>(reference);
        a.threshold = static_cast<std::int16_t>(threshold);
        b.opt.gSogliaTipo = tipo;
        EXPECT_EQ(b.cat.StatoArticolo(1, used, b.opt), state)
            << pieces << "/" << reference << " thr " << threshold << " tipo " << tipo << " used "
            << used;
    }
}

TEST(CatalogueTest, ColoursFeedbackAndEnabling) {
    Bench b("[MANGIARE]\r\n1=Panino;2;1\r\n2=Spento;2;0\r\n");
    test::ScriptedView v;
    // Finished and running low: BillTest.StockStatesWhileSelling.
    const std::pair<int, int> cases[] = {{1, kColoreBottone}, {0, kNero}, {7, kNero}};
    for (auto [state, colour] : cases) {
        v.HideFeedback();
        b.cat.ColoraArticolo(state, 1, 2, true, v);
        EXPECT_EQ(v.ButtonColour(1, 2), colour) << state;
        EXPECT_TRUE(state > 4 || v.feedback[static_cast<std::size_t>(state)]) << state;
    }
    const int sets = v.colourSets;
    b.cat.ColoraArticolo(3, 5, 2, false, v);  // no such section
    EXPECT_EQ(v.colourSets, sets);

    b.cat.AbilitaArticoli(false, v);  // the active flag decides
    EXPECT_TRUE(v.enabled[K(0, 1)] && !v.enabled[K(0, 2)] && !v.enabled[K(0, 3)]);
}

TEST(CatalogueTest, LabelsOfAnArticle) {
    Bench b("[MANGIARE]\r\n1=Panino;2,3;1;0;10;1;10;0\r\n2=Vario;-1\r\n3=Caro;1234,5\r\n");
    EXPECT_EQ(b.cat.EtichettaCodice(1, 0, b.opt), "Cod. 101");
    const auto prezzo = [&](int n) { return b.cat.EtichettaPrezzo(n); };
    EXPECT_EQ(prezzo(1).text + "|" + prezzo(2).text + "|" + prezzo(3).text,
              "\x80 2,30|\x80   ?|\x80 1234,50");
    b.opt.gMostraRimanenza = true;
    EXPECT_EQ(b.cat.EtichettaCodice(1, 3, b.opt), "Pz: 7");
    EXPECT_EQ(b.cat.EtichettaCodice(2, 2, b.opt), "Pz: -3");  // unlimited shows a negative number
}

TEST(CatalogueTest, RefreshReadsStockAndSharedCounterAndRepaints) {
    Bench b("[MANGIARE]\r\n1=Panino;2;1;0;10;1;10;3\r\n");
    test::ScriptedView v;
    v.enabled[K(0, 1)] = false;
    b.files.files[kIni] = "[MANGIARE]\r\nDIMENSIONE=14\r\n1=Altro nome;2,5;1;1;4;9;10;3\r\n";
    b.files.files[b.paths.gFileLock] = "[MULTIVORSA]\r\n1=2\r\n";
    b.cat.AggiornaArticolo(1, b.store, b.opt, b.paths, &v);
    // Name, separate print and group stay.
    EXPECT_EQ(Campi(b.cat.gArticoli[1]), "Panino|25000|-a-|4|1|10|3");
    EXPECT_TRUE(v.enabled[K(0, 1)] && v.labels[K(0, 1)]);
    EXPECT_EQ(v.ButtonColour(0, 1), kAzzurro);  // 2 left, threshold 3

    // Switched off: the position loses the colour its stock gave it.
    b.files.files[kIni] = "[MANGIARE]\r\nDIMENSIONE=14\r\n1=Altro nome;2,5;0;1;4;9;10;3\r\n";
    b.cat.AggiornaArticolo(1, b.store, b.opt, b.paths, &v);
    EXPECT_EQ(v.ButtonColour(0, 1), kColoreBottone);
}

TEST(CatalogueTest, PrintGroupsAndKitchenOrders) {
    Bench b("[BERE]\r\n1=Birra;3;1;1;-1;7;-1;0\r\n2=Vino;4;1;0;-1;7;-1;0\r\n");
    b.opt.advancedGroups = "Cucina-4;Senza numero";
    b.cat.CaricaGruppi(b.store, b.opt, b.paths);
    const auto& g = b.cat.gGruppi;
    EXPECT_EQ(std::tie(b.cat.gNumeroGruppi, g[2].name, b.At(201).printGroup, b.At(202).printGroup),
              std::make_tuple(3, "BERE", 0, 2));
    // Empty positions stay empty.
    EXPECT_EQ(b.Line("BERE", 1) + "|" + b.Line("BERE", 2) + "|" + b.Line("BERE", 3),
              "Birra;3;1;1;-1;0;-1;0|Vino;4;1;0;-1;2;-1;0|");
    // An advanced entry without a number takes its position.
    b.opt.gStampaAvanzata = true;
    b.cat.CaricaGruppi(b.store, b.opt, b.paths);
    EXPECT_EQ(std::tie(b.cat.gNumeroGruppi, g[1].number, g[2].name, g[2].number),
              std::make_tuple(2, 4, "Senza numero", 2));

    // Of two kitchen orders listing an article the later one wins; odd entries are passed over.
    b.opt.gNumeroComande = 3;
    b.opt.gComande.resize(3);
    b.opt.gComande[0].prodotti = "101;102;999;abc;;201";
    b.opt.gComande[2].prodotti = "102";
    b.cat.AssegnaComande(b.opt);
    const std::pair<int, int> cases[] = {{101, 1}, {102, 3}, {201, 1}, {103, 0}};
    for (auto [code, list] : cases) EXPECT_EQ(b.At(code).kitchenOrder, list) << code;
}

}  // namespace
}  // namespace vorsa
