#include <gtest/gtest.h>

#include "settings/keys.h"
#include "settings/settings_gateway.h"
#include "support/fakes.h"

namespace vorsa {
namespace {

struct Gateway {
    Gateway() : store(files, clock, sleeper, shell, "/p"), settings(store, paths, opt) {
        paths.gFileIni = paths.gFileDati = "/p/Vorsa.ini";
        paths.gFileLock = "/p/Vorsa.ini.lck";
        paths.gFilePassword = "/tmp/pw";
    }
    std::optional<std::string> InFile(const KeyDef& d, const Idx& i = {}) {
        const KeyName n = Resolve(d, i);
        return store.profiles().Get(paths.Of(d.file), n.section, n.key);
    }
    MemoryFileAccess files;
    test::FakeClock clock;
    test::FakeSleeper sleeper;
    test::FakeShell shell;
    SettingsStore store;
    Paths paths;
    Options opt;
    SettingsGateway settings;
};

const KeyDef& Def(std::string_view section, std::string_view key) {
    const KeyDef* d = FindKey(section, key);
    if (!d) ADD_FAILURE() << "no option " << section << "/" << key;
    return d ? *d : keys::Formato;
}

/// Every option read from a damaged or missing value: what memory holds and what the file
/// holds afterwards.
TEST(SettingsGatewayTest, LoadCorrectsAndHealsAsEachKeyDeclares) {
    static const std::string t40(40, 'T'), t30(30, 'T');
    struct Case {
        const char* section;
        const char* key;
        int index;              // -1: not indexed
        const char* stored;     // nullptr: key missing
        const char* expected;   // value in memory, as the file would hold it
        const char* fileAfter;  // nullptr: key still missing
    };
    const Case cases[] = {
        {"STAMPA", "FORMATO", -1, "5", "5", "5"},
        {"STAMPA", "FORMATO", -1, "7", "2", "7"},  // out of range: default in memory, file kept
        {"STAMPA", "FORMATO", -1, nullptr, "2", nullptr},
        {"STAMPA", "FORMATO", -1, "abc", "2", "abc"},
        {"STAMPA", "FORMATO", -1, "0", "0", "0"},
        {"STAMPA", "ABILITATO", -1, "0", "0", "0"},
        {"STAMPA", "ABILITATO", -1, "2", "1", "2"},
        {"STAMPA", "ABILITATO", -1, nullptr, "1", nullptr},
        {"STAMPA", "TAGLIO_ALTERNATIVO", -1, "si", "0", "si"},
        {"STAMPA", "TITOLO", -1, t40.c_str(), t30.c_str(), t40.c_str()},
        {"STAMPA", "TITOLO", -1, nullptr, "", ""},  // created empty
        {"STAMPA", "COPIE#", 1, "0", "1", "0"},
        {"STAMPA", "COPIE#", 0, "99", "99", "99"},
        {"STAMPA", "TITOLO_UND#", 2, "0", "0", "0"},
        {"STAMPA", "TITOLO_UND#", 2, "x", "1", "x"},
        {"STAMPA", "MARGINE#", 3, "5000", "1000", "5000"},  // held at the edge, not reset
        {"STAMPA", "MARGINE#", 0, "-3", "0", "-3"},
        {"STAMPA", "RIEPILOGO#", 1, nullptr, "1", nullptr},
        {"PROGRAMMA", "SOGLIA_PRODOTTI", -1, "90", "15", "90"},
        {"PROGRAMMA", "BOTTONI-ALTEZZA", -1, "-5", "495", "-5"},
        {"PROGRAMMA", "NOME_VORSA", -1, "bar centrale", "BA", "bar centrale"},
        {"PROGRAMMA", "SEPARATORE", -1, nullptr, ";", ";"},
        {"PROGRAMMA", "SEPARATORE", -1, "|", "|", "|"},
        {"PROGRAMMA", "SEPARATORE", -1, ";;", ";", ";"},
        {"PROGRAMMA", "BORDI MAGNETICI", -1, nullptr, "1", "Si"},
        {"PROGRAMMA", "BORDI MAGNETICI", -1, "SI", "1", "SI"},
        {"PROGRAMMA", "AGGIORNAMENTI", -1, "no", "0", "no"},
        {"PROGRAMMA", "BORDI MAGNETICI SENSIBILITA", -1, "61", "20", "20"},
        {"MONETE", "S#", 3, nullptr, "0,5", "0,50"},
        {"MONETE", "S#", 3, "molti", "0,5", "molti"},
        {"MONETE", "S#", 9, "2.5", "2,5", "2.5"},
        {"MULTIVORSA", "TIMER_CICLI", -1, "1001", "200", "1001"},
        {"MULTIVORSA", "MASTER", -1, "01", "0", "01"},  // exactly "1" switches on
        {"COMANDA", "NUMERO", -1, "21", "2", "21"},
    };
    for (const auto& c : cases) {
        Gateway g;
        const KeyDef& d = Def(c.section, c.key);
        const Idx i = c.index < 0 ? Idx() : Idx(c.index);
        const KeyName n = Resolve(d, i);
        const std::string why = n.section + "/" + n.key + "=" + (c.stored ? c.stored : "(missing)");
        if (c.stored) g.store.ScriviIni(n.section, n.key, c.stored, g.paths.Of(d.file));
        g.settings.Load(d, i);
        EXPECT_EQ(d.show(g.opt, i), c.expected) << why;
        const auto after = g.InFile(d, i);
        if (c.fileAfter) {
            EXPECT_EQ(after.value_or("(missing)"), c.fileAfter) << why;
        } else {
            EXPECT_FALSE(after.has_value()) << why;
        }
    }
}

/// A fresh Options holds what loading every option from an empty file gives.
TEST(SettingsGatewayTest, DefaultsLiveInTheTableAndMatchAnEmptyFile) {
    Gateway g;
    const Options fresh;
    for (const KeyDef* d : AllKeys()) {
        if (!d->apply || d->section.find('#') != std::string_view::npos) continue;
        const bool indexed = d->key.find('#') != std::string_view::npos;
        for (int k = d->first; k < d->first + (indexed ? d->count : 1); ++k) {
            const Idx i = indexed ? Idx(k) : Idx();
            g.settings.Load(*d, i);
            EXPECT_EQ(d->show(g.opt, i), d->show(fresh, i)) << Resolve(*d, i).key;
        }
        if (d->kind == OptionKind::Int) {
            EXPECT_TRUE(d->def >= d->min && d->def <= d->max) << d->key;
        }
    }
}

/// What a dialog field does: one Set corrects, writes and updates memory.
TEST(SettingsGatewayTest, SetCorrectsWritesAndHoldsTheValue) {
    struct Case {
        const KeyDef* def;
        int index;
        const char* typed;
        const char* stored;
    };
    static const std::string x35(35, 'x');
    const Case cases[] = {
        {&keys::Formato, -1, "4", "4"},
        {&keys::Formato, -1, "9", "2"},
        {&keys::Copie, 1, " 3 ", "3"},
        {&keys::Copie, 1, "0", "1"},
        {&keys::StampaAbilitata, -1, "0", "0"},
        {&keys::Titolo, -1, x35.c_str(), nullptr},
        {&keys::Stampante, -1, "Epson TM-T20", "Epson TM-T20"},
        {&keys::Aggiornamenti, -1, "no", "No"},
        {&keys::Margine, 2, "2000", "1000"},
    };
    for (const auto& c : cases) {
        Gateway g;
        const Idx i = c.index < 0 ? Idx() : Idx(c.index);
        const std::string stored = c.stored ? c.stored : std::string(30, 'x');
        EXPECT_EQ(g.settings.Set(*c.def, c.typed, i), stored) << c.def->key;
        EXPECT_EQ(g.InFile(*c.def, i).value_or("(missing)"), stored) << c.def->key;
        Options reread;
        c.def->apply(reread, i, Correct(*c.def, stored));
        EXPECT_EQ(c.def->show(g.opt, i), c.def->show(reread, i)) << c.def->key;
    }
}

TEST(SettingsGatewayTest, KitchenOrderKeysTakeTwoIndices) {
    Gateway g;
    g.store.ScriviIni("COMANDA2", "MARGINE3", "12", g.paths.gFileIni);
    g.store.ScriviIni("COMANDA2", "OPZ3", "1", g.paths.gFileIni);
    g.store.ScriviIni("COMANDA2", "NOME", "Cucina calda e fredda", g.paths.gFileIni);
    for (const KeyDef* k : {&keys::ComandaMargine, &keys::ComandaOpzione, &keys::ComandaNome})
        g.settings.LoadAll(*k, 2);
    ASSERT_GE(g.opt.gComande.size(), 2u);
    EXPECT_EQ(g.opt.gComande[1].margini[3], 12);
    EXPECT_TRUE(g.opt.gComande[1].opz[2]);
    EXPECT_FALSE(g.opt.gComande[1].opz[0]);
    EXPECT_EQ(g.opt.gComande[1].nome, "Cucina calda e");
    EXPECT_EQ(g.opt.gComande[0].nome, "Comanda 1");
}

TEST(SettingsGatewayTest, IntoRange) {
    struct R {
        const char* text;
        int result;
    } cases[] = {{"5", 5}, {" 5 ", 5}, {"", 9},   {"x", 9},  {"5x", 9},
                 {"0", 9}, {"10", 10}, {"11", 9}, {"-1", 9}, {"99999999999999999999", 9}};
    for (const auto& c : cases) EXPECT_EQ(IntoRange(c.text, 9, 1, 10), c.result) << c.text;
}

}  // namespace
}  // namespace vorsa
