// The options' gateway: each key corrected, healed and held as its table says; options of
// several keys set together, whole in the file even when the till is killed midway.
#include <gtest/gtest.h>

#include <set>

#include "platform/ini_document.h"
#include "platform/text.h"
#include "settings/key_writes.h"
#include "settings/keys.h"
#include "settings/odd_values.h"
#include "settings_bench.h"
#include "support/kill_loop.h"

namespace vorsa {
namespace {

/// One till's settings, with the file a key lands in.
struct Gateway : test::Impostazioni {
    using Impostazioni::Impostazioni;
    std::optional<std::string> InFile(const KeyDef& d, const Idx& i = {}) {
        const KeyName n = Resolve(d, i);
        return store.profiles().Get(paths.Of(d.file), n.section, n.key);
    }
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
        const char *section, *key;
        int index;              // -1: not indexed
        const char* stored;     // nullptr: key missing
        const char* expected;   // value in memory, as the file would hold it
        const char* fileAfter;  // nullptr: key still missing
    };
    const Case cases[] = {
        {"STAMPA", "FORMATO", -1, "7", "2", "7"},  // out of range: default in memory, file kept
        {"STAMPA", "FORMATO", -1, nullptr, "2", nullptr},
        {"STAMPA", "ABILITATO", -1, "0", "0", "0"},
        {"STAMPA", "ABILITATO", -1, "2", "1", "2"},
        {"STAMPA", "TITOLO", -1, t40.c_str(), t30.c_str(), t40.c_str()},
        {"STAMPA", "TITOLO", -1, nullptr, "", ""},          // created empty
        {"STAMPA", "MARGINE#", 3, "5000", "1000", "5000"},  // held at the edge, not reset
        {"PROGRAMMA", "NOME_VORSA", -1, "bar centrale", "BA", "bar centrale"},
        {"PROGRAMMA", "SEPARATORE", -1, nullptr, ";", ";"},
        {"PROGRAMMA", "SEPARATORE", -1, "|", "|", "|"},
        {"PROGRAMMA", "SEPARATORE", -1, ";;", ";", ";"},
        {"PROGRAMMA", "SEPARATORE", -1, ",", ";", ";"},  // the records' own syntax
        {"PROGRAMMA", "BORDI MAGNETICI", -1, nullptr, "1", "Si"},
        {"PROGRAMMA", "BORDI MAGNETICI", -1, "SI", "1", "SI"},
        {"PROGRAMMA", "BORDI MAGNETICI", -1, "", "1", "Si"},
        {"PROGRAMMA", "BORDI MAGNETICI", -1, "1", "0", "1"},  // only "si" in any case is on
        {"PROGRAMMA", "BORDI MAGNETICI SENSIBILITA", -1, "61", "20", "20"},
        {"MONETE", "S#", 3, nullptr, "0,5", "0,50"},
        {"MONETE", "S#", 3, "molti", "0,5", "molti"},
        {"MONETE", "S#", 9, "2.5", "2,5", "2.5"},
        {"MULTIVORSA", "MASTER", -1, "01", "0", "01"},  // exactly "1" switches on
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

/// What a dialog field does: one Set corrects, writes and updates memory.
TEST(SettingsGatewayTest, SetCorrectsWritesAndHoldsTheValue) {
    struct Case {
        const KeyDef* def;
        int index;
        const char *typed, *stored;
    };
    static const std::string x35(35, 'x');
    const Case cases[] = {
        {&keys::Formato, -1, "9", "2"},
        {&keys::Copie, 1, " 3 ", "3"},
        {&keys::Titolo, -1, x35.c_str(), nullptr},
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

TEST(ValoriInsolitiTest, UnusableValuesAreNamedUsableOnesAreNot) {
    const struct {
        const KeyDef& key;
        const char* value;
        bool avviso;
    } cases[] = {
        {keys::BottoniAltezza, "1", true},  {keys::BottoniBordo, "999", false},
        {keys::BottoniBordo, "1500", true}, {keys::BottoniInterlinea, "5000", true},
        {keys::Margine, "1000", true},      {keys::Margine, "5", false},
        {keys::LarghezzaPos, "2,5", true},  {keys::LarghezzaPos, "7,5", false},
        {keys::Copie, "0", false},
    };
    for (const auto& c : cases) {
        const std::string a = AvvisoValore(c.key, c.value);
        EXPECT_EQ(!a.empty(), c.avviso) << c.key.key << "=" << c.value;
        if (c.avviso) {
            EXPECT_NE(a.find(c.value), std::string::npos) << a;  // names the value
        }
    }
}

TEST(ScrittureTest, KitchenOrdersAreAddedUpToTwentyAndRemovedDownToOne) {
    Gateway c;
    ASSERT_EQ(c.opt.gComande.size(), 2u);  // two configurations when nothing is stored
    EXPECT_TRUE(RimuoviComanda(c.settings));
    EXPECT_FALSE(RimuoviComanda(c.settings));
    EXPECT_EQ(c.opt.gComande.size(), 1u);
    EXPECT_EQ(c.settings.Read(keys::NumeroComande), "1");
    for (int n = 2; n <= 20; ++n) ASSERT_TRUE(AggiungiComanda(c.settings)) << n;
    EXPECT_FALSE(AggiungiComanda(c.settings));
    EXPECT_EQ(c.opt.gComande.size(), 20u);
    EXPECT_EQ(c.settings.Read(keys::ComandaNome, Idx(20)), "Comanda 20");
    EXPECT_EQ(c.settings.Read(keys::NumeroComande), "20");

    c.settings.Set(keys::ComandaProdotti, "101;102", Idx(20));
    ASSERT_TRUE(RimuoviComanda(c.settings));
    const IniDocument doc = IniDocument::Parse(c.files.ReadAll("/p/Vorsa.ini").bytes);
    EXPECT_FALSE(doc.HasSection("COMANDA20"));
    EXPECT_TRUE(doc.HasSection("COMANDA19"));
    EXPECT_EQ(c.settings.Read(keys::NumeroComande), "19");
}

TEST(ScrittureTest, OptionsSetTogetherAreCorrectedAndHeld) {
    Gateway c;
    ImpostaInsieme(c.settings, {{&keys::Copie, Idx(1), "100"},
                                {&keys::Progressivo, {}, "0"},
                                {&keys::BottoniAltezza, {}, "300"}});
    EXPECT_EQ(c.settings.Read(keys::Copie, Idx(1)), "1");
    EXPECT_FALSE(c.opt.gProgressivo);
    EXPECT_EQ(c.opt.gBottoniAltezza, 300);
    ScriviInsieme(c.settings, {{&keys::ImmagineAltezza, Idx(0), "1500"}});
    EXPECT_EQ(c.settings.Read(keys::ImmagineAltezza, Idx(0)), "1500");  // as given
}

// The pickup ticket options turned off and on together, and configurations added and removed,
// for ever; killed at random moments.
[[noreturn]] void CambiaPerSempre(const std::string& folder) {
    auto files = MakeLocalFileAccess(true);
    Gateway c(files.get(), folder);
    c.opt.gComande.resize(static_cast<std::size_t>(Val(c.settings.Read(keys::NumeroComande))));
    const KeyDef* gruppo[] = {&keys::Progressivo, &keys::TicketRitiro, &keys::TicketRitiroGruppo,
                              &keys::TicketRitiroBarre, &keys::ProgressivoPiede};
    for (int i = 0;; ++i) {
        std::vector<KeyWrite> s;
        for (const KeyDef* k : gruppo) s.push_back({k, {}, i % 2 ? "1" : "0"});
        ImpostaInsieme(c.settings, s);
        if (i % 6 < 3)
            AggiungiComanda(c.settings);
        else
            RimuoviComanda(c.settings);
    }
}

TEST(ScrittureTest, KilledWhileWritingLeavesEveryGroupWhole) {
    const test::TempDir dir;
    const std::string& folder = dir.path;
    MakeLocalFileAccess(false)->ReplaceAll(folder + "/Vorsa.ini",
                                           "[COMANDA]\r\nNUMERO=2\r\n[COMANDA1]\r\nNOME=Cucina\r\n"
                                           "[COMANDA2]\r\nNOME=Bar\r\n");
    std::set<std::string> visti;
    test::KillLoop(
        25, 5, 60, [&](int) { CambiaPerSempre(folder); },
        [&](int round) {
            const IniDocument doc = IniDocument::Parse(
                MakeLocalFileAccess(false)->ReadAll(folder + "/Vorsa.ini").bytes);
            std::set<std::string> valori;
            for (const char* k : {"PROGRESSIVO", "TKT-RITIRO", "TKT-RITIRO-GRP", "TKT-RITIRO_BARRE",
                                  "PROGRESSIVO_PIEDE"})
                valori.insert(doc.Get("STAMPA", k).value_or("-"));
            EXPECT_EQ(valori.size(), 1u) << "round " << round;
            const int n = static_cast<int>(Val(doc.Get("COMANDA", "NUMERO").value_or("0")));
            EXPECT_GE(n, 1) << "round " << round;
            for (int k = 1; k <= 21; ++k)
                EXPECT_EQ(doc.HasSection("COMANDA" + std::to_string(k)), k <= n)
                    << "round " << round << ": configuration " << k << " of " << n;
            visti.insert(*valori.begin() + "/" + std::to_string(n));
        });
    EXPECT_GT(visti.size(), 1u) << "nothing ever changed: the test proved nothing";
}

}  // namespace
}  // namespace vorsa
