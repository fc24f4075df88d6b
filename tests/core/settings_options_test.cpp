#include "settings/options.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "settings/settings_store.h"

namespace vorsa {
namespace {

const OptionDef& Def(std::string_view section, std::string_view key) {
    for (const auto& d : OptionTable())
        if (d.section == section && d.key == key) return d;
    ADD_FAILURE() << "no option " << section << "/" << key;
    return OptionTable().front();
}

struct Case {
    const char* section;
    const char* key;
    const char* stored;  // nullptr: key missing
    const char* expected;  // value in memory, as text
    const char* fileAfter;  // value in the file afterwards; nullptr: key missing
};

std::string InMemory(const OptionDef& d, const Options& o) {
    if (d.intField) return std::to_string(o.*d.intField);
    if (d.boolField) return (o.*d.boolField) ? "1" : "0";
    return o.*d.textField;
}

TEST(OptionsTest, ValuesDefaultsAndRanges) {
    static const std::string t40(40, 'T'), t30(30, 'T');
    const Case cases[] = {
        {"STAMPA", "FORMATO", "5", "5", "5"},
        {"STAMPA", "FORMATO", "7", "2", "7"},  // out of range: default in memory, file kept
        {"STAMPA", "FORMATO", nullptr, "2", nullptr},
        {"STAMPA", "FORMATO", "abc", "2", "abc"},
        {"STAMPA", "FORMATO", "0", "0", "0"},
        {"STAMPA", "ABILITATO", "0", "0", "0"},
        {"STAMPA", "ABILITATO", "2", "1", "2"},
        {"STAMPA", "ABILITATO", nullptr, "1", nullptr},
        {"STAMPA", "TAGLIO_ALTERNATIVO", "1", "1", "1"},
        {"STAMPA", "TAGLIO_ALTERNATIVO", "si", "0", "si"},
        {"STAMPA", "TITOLO", t40.c_str(), t30.c_str(), t40.c_str()},
        {"STAMPA", "TITOLO", nullptr, "", ""},  // created empty
        {"STAMPA", "PIEDE", "Grazie!", "Grazie!", "Grazie!"},
        {"PROGRAMMA", "SOGLIA_PRODOTTI", "0", "15", "0"},
        {"PROGRAMMA", "SOGLIA_PRODOTTI", "89", "89", "89"},
        {"PROGRAMMA", "SOGLIA_PRODOTTI", "90", "15", "90"},
        {"PROGRAMMA", "BOTTONI-COLONNE", "6", "6", "6"},
        {"PROGRAMMA", "BOTTONI-COLONNE", "0", "2", "0"},
        {"PROGRAMMA", "BOTTONI-ALTEZZA", "-5", "495", "-5"},
        {"PROGRAMMA", "RIMANENZA", "1", "1", "1"},
        {"PROGRAMMA", "RIMANENZA", "x", "0", "x"},
        {"MULTIVORSA", "TIMER_CICLI", "1000", "1000", "1000"},
        {"MULTIVORSA", "TIMER_CICLI", "1001", "200", "1001"},
        {"MULTIVORSA", "TIMER_INTERVALLO", "0", "20", "0"},
        {"MULTIVORSA", "MASTER", "1", "1", "1"},
        {"MULTIVORSA", "MASTER", "01", "0", "01"},  // exactly "1" switches on
        {"MULTIVORSA", "MASTER", "si", "0", "si"},
    };
    for (const auto& c : cases) {
        MemoryFileAccess files;
        test::FakeClock clock;
        test::FakeSleeper sleeper;
        test::FakeShell shell;
        SettingsStore store(files, clock, sleeper, shell, "/p");
        Paths paths;
        paths.gFileIni = paths.gFileDati = "/p/Vorsa.ini";
        if (c.stored) store.ScriviIni(c.section, c.key, c.stored, paths.gFileIni);
        Options o;
        const OptionDef& d = Def(c.section, c.key);
        LeggiOpzione(store, paths, d, o);
        EXPECT_EQ(InMemory(d, o), c.expected) << c.section << "/" << c.key << "=" << (c.stored ? c.stored : "(missing)");
        const auto after = store.profiles().Get(paths.gFileIni, c.section, c.key);
        if (c.fileAfter) {
            EXPECT_EQ(after.value_or("(missing)"), c.fileAfter) << c.key;
        } else {
            EXPECT_FALSE(after.has_value()) << c.key;
        }
    }
}

TEST(OptionsTest, EveryOptionHasExactlyOneTarget) {
    for (const auto& d : OptionTable()) {
        const int targets = (d.intField != nullptr) + (d.boolField != nullptr) + (d.textField != nullptr);
        EXPECT_EQ(targets, 1) << d.section << "/" << d.key;
        if (d.kind == OptionKind::Int) {
            EXPECT_TRUE(d.def >= d.min && d.def <= d.max) << d.key;
        }
    }
}

TEST(OptionsTest, IntoRange) {
    struct R {
        const char* text;
        int result;
    } cases[] = {{"5", 5}, {" 5 ", 5}, {"", 9}, {"x", 9}, {"5x", 9}, {"0", 9}, {"10", 10},
                 {"11", 9}, {"-1", 9}, {"99999999999999999999", 9}};
    for (const auto& c : cases) EXPECT_EQ(IntoRange(c.text, 9, 1, 10), c.result) << c.text;
}

}  // namespace
}  // namespace vorsa
