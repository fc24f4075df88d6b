// Code entry, the bill and payment, driven key by key.
#include <gtest/gtest.h>

#include <tuple>

#include "sale_harness.h"

namespace vorsa {
namespace {

using test::kCatalogo;
using T = ParsedCode::Kind;

struct Banco : ::testing::Test {
    MemoryFileAccess files;
    test::Cassa c{files, kCatalogo};
};
using CodeEntryTest = Banco;
using BillTest = Banco;
using PaymentTest = Banco;

TEST_F(CodeEntryTest, InterpretsCompleteTextsAndButtons) {
    const std::tuple<const char*, T, int> cases[] = {
        {"", T::Nessuno, 0},     {"1", T::Nessuno, 0},    {"10", T::Nessuno, 0},
        {"101", T::Articolo, 0}, {"114", T::Articolo, 0}, {"115", T::Errore, 0},
        {"201", T::Articolo, 1}, {"210", T::Articolo, 1}, {"300", T::Errore, 0},
        {"304", T::Articolo, 2}, {"305", T::Errore, 0},   {"1+5", T::Errore, 0},
        {"F1", T::Funzione, 1},  {"F7", T::Funzione, 7},  {"F8", T::Errore, 0},
        {"S0", T::Moneta, 0},    {"S9", T::Moneta, 9},    {"Sx", T::Errore, 0},
        {"+", T::Piu, 0},        {"-", T::Meno, 0},       {"1011", T::Nessuno, 0}};
    for (const auto& [text, tipo, valore] : cases) {  // sections of 14, 10 and 4
        const ParsedCode r = InterpretaCodice(text, c.till->cat);
        EXPECT_EQ(std::tie(r.tipo, r.valore), std::tie(tipo, valore)) << text;
    }
    const auto codice = [&](int s, int p) { return c.vendita->CodiceArticolo(s, p); };
    EXPECT_EQ(std::make_tuple(codice(1, 3), codice(0, 14), codice(2, 1)),
              std::make_tuple("203", "114", "301"));
}

TEST(CodeFilterTest, CharacterFilter) {
    const std::tuple<char, bool, char> cases[] = {
        {'1', true, '1'}, {'0', true, 0},  {'0', false, '0'}, {'4', true, 0},  {'9', false, '9'},
        {'F', true, 'F'}, {'F', false, 0}, {'f', true, 'F'},  {'f', false, 0}, {'+', false, '+'},
        {'-', true, '-'}, {'a', true, 0},  {8, false, 8}};
    for (const auto& [key, empty, result] : cases)
        EXPECT_EQ(FiltroCodice(key, empty), result) << key << " empty " << empty;
}

TEST_F(CodeEntryTest, TypingCodesFillsTheBill) {
    c.Digita("101");
    EXPECT_EQ(c.Luci() + " " + c.Bill(), "1 101x1 = 3,50");
    c.Digita("2");  // the next key first empties the shown code
    EXPECT_EQ(c.view.codice + c.Luci(), "2");
    c.Digita("01");
    EXPECT_EQ(c.Bill(), "101x1 201x1 = 4,50");
    c.Digita("115");  // no such article; F8 is parsed to the same error
    EXPECT_EQ(c.Luci(), "0");
    c.Digita("0");  // refused in an empty box
    EXPECT_EQ(c.view.codice, "");
    c.Timer();
    EXPECT_EQ(c.Luci(), "");
    EXPECT_EQ(c.Bill(), "101x1 201x1 = 4,50");
}

TEST_F(CodeEntryTest, ArrowsModifiersAndQuantityCeiling) {
    const auto tasto = [&](Sale::KeyKind t, int volte = 1) {
        for (int i = 0; i < volte; ++i) c.vendita->TastoGiu(t, 0, false);
    };
    c.Batti("101 201 102");
    ASSERT_EQ(c.view.selected, 2);
    tasto(Sale::KeyKind::Giu);  // on the last line: nothing
    EXPECT_EQ(c.view.selected, 2);
    tasto(Sale::KeyKind::Su, 3);  // the third on the first line: nothing
    EXPECT_EQ(c.view.selected, 0);
    tasto(Sale::KeyKind::Destra);  // "+" on 101
    EXPECT_EQ(c.Bill(), "101x2 201x1 102x1 = 10,00");
    c.Timer();
    tasto(Sale::KeyKind::Sinistra);  // "-" on 101: storno of one piece
    EXPECT_EQ(c.Bill(), "101x1 201x1 102x1 = 6,50");
    EXPECT_FALSE(c.till->gAzioni[3].stato);
    c.view.selected = -1;
    c.Timer();
    tasto(Sale::KeyKind::Destra);
    EXPECT_EQ(c.Luci() + " " + c.Bill(), "0 101x1 201x1 102x1 = 6,50");

    c.Timer();
    c.Art(201).quantity = 32766;  // the quantity never overflows
    c.Digita("201");
    EXPECT_EQ(c.Luci() + " " + std::to_string(c.Art(201).quantity), "1 32767");
    c.Digita("201");
    EXPECT_EQ(c.Luci() + " " + std::to_string(c.Art(201).quantity), "0 32767");

    c.vendita->TastoGiu(Sale::KeyKind::F, 1, true);  // a modifier silences the F keys
    EXPECT_FALSE(c.till->gAzioni[1].stato);
    c.Premi(1);
    EXPECT_TRUE(c.till->gAzioni[1].stato);
}

TEST_F(BillTest, StockStatesWhileSelling) {
    c.Batti("102 102 102 102 102 102");  // Patatine: 10 pieces, threshold 3
    EXPECT_EQ(c.Luci(), "1");
    c.Digita("102");  // 7th: 3 left
    EXPECT_EQ(c.Luci() + c.view.feedbackCaption[4], "4OK  -3");
    EXPECT_EQ(c.view.ButtonColour(0, 2), kAzzurro);
    c.Digita("105");  // the last piece: added and finished
    EXPECT_EQ(c.Luci() + " " + c.Bill(), "3 102x7 105x1 = 18,00");
    EXPECT_EQ(c.view.ButtonColour(0, 5), kGiallo);
    c.Digita("105");  // nothing left: not added
    EXPECT_EQ(c.Luci() + " " + c.Bill(), "3 102x7 105x1 = 18,00");
    c.Digita("104");  // inactive
    EXPECT_EQ(c.Luci() + " " + c.Bill(), "0 102x7 105x1 = 18,00");
}

TEST_F(BillTest, StornoTakesOnePieceAndEnds) {
    c.Digita("F3");  // on an empty bill it ends at once
    EXPECT_FALSE(c.till->gAzioni[3].stato);
    EXPECT_TRUE(c.view.actionEnabled[1]);
    c.Batti("101 102 F3");
    EXPECT_TRUE(c.till->gAzioni[3].stato);
    c.Digita("101");
    EXPECT_FALSE(c.till->gAzioni[3].stato);
    EXPECT_EQ(c.Bill(), "101x0 102x1 = 2,00");
    EXPECT_EQ(c.view.lines[0].first, " 0|Panino con salamella" + std::string(12, ' ') + "|  0,00");
    c.Batti("F3 104");  // inactive: ends storno all the same
    EXPECT_FALSE(c.till->gAzioni[3].stato);
    EXPECT_TRUE(c.view.feedback[0]);
    c.Batti("F3 101");  // quantity 0: nothing changes
    EXPECT_EQ(c.Bill(), "101x0 102x1 = 2,00");
    EXPECT_FALSE(c.till->gAzioni[3].stato);
}

// A long name gives way to the amount, cut with "..", never the amount to the name.
TEST(BillLineTest, LongNamesAndLargeAmounts) {
    const std::tuple<std::size_t, const char*, bool, std::size_t, const char*> cases[] = {
        {32, "9,99", false, 32, "|  9,99"},
        {33, "10", false, 32, "| 10,00"},
        {37, "99,99", true, 37, "| 99,99"},
        {38, "100", true, 36, "|100,00"},
        {10, "1234,5", false, 32, "|1234,50"}};
    for (const auto& [nameLength, amount, wide, nameColumn, tail] : cases) {
        Article a;
        a.name = std::string(nameLength, 'N');
        a.quantity = 1;
        a.lineTotal = *ParseCurrency(amount);
        const std::string line = RigaConto(a, wide);
        const std::size_t bar1 = line.find('|'), bar2 = line.find('|', bar1 + 1);
        EXPECT_EQ(bar2 - bar1 - 1, nameColumn) << line;
        EXPECT_EQ(line.substr(bar2), tail) << line;
        EXPECT_EQ(line.substr(bar2 - 2, 2) == "..", nameLength > (wide ? 37u : 32u)) << line;
    }
}

TEST_F(BillTest, VariablePriceIsAskedOncePerBillAndNewBillEmptiesEverything) {
    c.prompter.answers = {std::string("abc"), std::string("0"), std::string("2.5")};
    c.Digita("103");
    EXPECT_EQ(c.prompter.asked.size(), 3u);
    EXPECT_EQ(c.view.priceLabels[std::make_pair(0, 3)].text, "\x80 2,50");
    c.Digita("103");
    EXPECT_EQ(c.prompter.asked.size(), 3u);  // kept for this bill
    EXPECT_EQ(c.Bill(), "103x2 = 5,00");

    c.till->conto.gTavolo = "12";
    c.vendita->NuovoConto();
    EXPECT_EQ(c.Art(103).listIndex, -1);
    EXPECT_EQ(c.Bill(), "= 0,00");
    EXPECT_EQ(c.till->conto.gTavolo, "");
    EXPECT_EQ(c.view.tableCleared, 1);
    EXPECT_EQ(c.sleeper.totalMs, 500);  // automatic printing is on
    EXPECT_EQ(c.view.priceLabels[std::make_pair(0, 3)].text, "\x80   ?");
    for (const auto& nulla : {std::optional<std::string>(), std::optional<std::string>("")}) {
        c.prompter.answers = {nulla};  // Cancel or an empty answer: nothing is added
        c.Digita("103");
        EXPECT_EQ(c.Art(103).quantity, 0);
    }
}

TEST(AmountTest, FilterChangeKeypadAndCoins) {
    const std::tuple<const char*, int, char, char, const char*> cases[] = {
        {"", 0, '.', 0, "0,"},         {"5", 1, '.', ',', nullptr},
        {"5,2", 3, ',', 0, nullptr},   {"999", 3, '1', 0, nullptr},
        {"99", 2, '1', '1', nullptr},  {"5,25", 4, '1', 0, nullptr},
        {"5,2", 3, '5', '5', nullptr}, {"5,25", 0, '1', '1', nullptr},
        {"123,4", 0, '1', 0, nullptr}, {"1", 1, 'a', 0, nullptr},
        {"1", 1, 8, 8, nullptr}};
    for (const auto& [text, caret, key, typed, replaced] : cases) {
        const FilterResult r = FiltroImporto(key, text, caret);
        EXPECT_EQ(r.key, typed) << text << " + " << key;
        EXPECT_EQ(r.nuovoTesto.value_or("-"), replaced ? replaced : "-") << text;
    }
    // A pasted price passes only as the keys could have typed it.
    for (const char* ok : {"", "?", "3", "12,5", "999,99", "0,"})
        EXPECT_TRUE(ImportoDigitabile(ok)) << ok;
    for (const char* no : {"abc", "1,2,3", "1000", "1.5", "-1", "2,345", "??", " 3"})
        EXPECT_FALSE(ImportoDigitabile(no)) << no;

    const Currency totale = *ParseCurrency("12,5");
    const std::pair<const char*, const char*> resti[] = {
        {"20", "7,50"}, {"12", "0,00"},    {"12,5", "0,00"},     {",", "0,00"},
        {"0,", "0,00"}, {"150", "137,50"}, {"999,99", "987,49"}, {"", "-"}};
    for (auto [paid, change] : resti)
        EXPECT_EQ(CalcolaResto(paid, totale).value_or("-"), change) << paid;
    EXPECT_EQ(*CalcolaResto("20", Currency{}), "0,00");

    const std::tuple<const char*, int, const char*> tasti[] = {
        {"", 0, "0,"},     {"1", 0, "10"},   {"", 10, "0,"},       {"1,5", 10, "1,5"},
        {"12", 10, "12,"}, {"12,5", 11, ""}, {"9999", 7, "99997"},  // the keypad has no digit limit
    };
    for (auto [testo, tasto, dopo] : tasti)
        EXPECT_EQ(TastoCalcolatrice(testo, tasto), dopo) << testo << " " << tasto;
    EXPECT_EQ(AggiungiMoneta("0", *ParseCurrency("0,05")), "0,05");
}

TEST_F(PaymentTest, PayingWithCoinsAndKeys) {
    c.Batti("101 101 F1");
    ASSERT_TRUE(c.view.pagamento);
    EXPECT_EQ(c.view.pagato, "");
    c.vendita->ClickMoneta(7);
    c.Timer();
    c.vendita->ClickMoneta(6);
    EXPECT_EQ(c.view.pagato + " " + c.view.resto, "15 8,00");
    c.Timer();
    c.vendita->ClickCalcolatrice(11);
    EXPECT_EQ(c.view.pagato, "");
}

TEST_F(PaymentTest, FAndSCodesTypedInTheAmountBox) {
    c.Batti("201 F1");
    c.Timer();
    EXPECT_EQ(c.vendita->TastoPagato('s', "", 0).key, 0);
    EXPECT_EQ(c.view.codice, "S");
    EXPECT_EQ(c.vendita->TastoPagato('8', "", 0).key, 0);
    EXPECT_EQ(c.view.pagato, "20");
    c.Timer();
    EXPECT_EQ(c.vendita->TastoPagato('S', "20", 2).key, 0);
    c.vendita->TastoPagato('x', "20", 2);  // not a digit: the pending code is dropped
    EXPECT_EQ(c.view.codice + "|" + c.view.pagato, "|20");
    EXPECT_EQ(c.vendita->TastoPagato('5', "20", 2).key, '5');  // plain digits are typed
    c.vendita->TastoPagato('F', "20", 2);
    c.vendita->TastoPagato('4', "20", 2);  // F then 4 commits like the F4 key
    EXPECT_FALSE(c.view.pagamento);
    EXPECT_EQ(c.Dati("STATISTICHE", "SCONTRINI"), "1");
    EXPECT_TRUE(c.view.lines.empty());
}

}  // namespace
}  // namespace vorsa
