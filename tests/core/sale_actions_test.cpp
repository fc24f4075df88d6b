// The function keys as the till's state machine, and the commit into the data file; waiting
// sales reach it each once, whatever the list beside them says.
#include <gtest/gtest.h>

#include <tuple>

#include "sale_harness.h"

namespace vorsa {
namespace {

using test::Cassa;
using test::kCatalogo;

/// Which actions are on and which are enabled, as "1......" strings for F1..F7.
std::string On(const Cassa& c) {
    std::string s;
    for (int n = 1; n <= 7; ++n) s += c.till->gAzioni[n].stato ? '1' : '.';
    return s;
}
std::string Enabled(const Cassa& c) {
    std::string s;
    for (int n = 1; n <= 7; ++n) {
        const bool e = c.till->gAzioni[n].enabled;
        EXPECT_EQ(c.view.actionEnabled[n], e) << "button " << n << " disagrees with its action";
        s += e ? 'E' : '.';
    }
    return s;
}

struct Banco : ::testing::Test {
    MemoryFileAccess files;
    Cassa c{files, kCatalogo};
};
using ActionsTest = Banco;
using OneTillCommitTest = Banco;

TEST(ActionsStateTest, StateTable) {
    // Name, keys, actions on, actions enabled, feedback lit ("0" error, "1" OK).
    const std::tuple<const char*, const char*, const char*, const char*, const char*> cases[] = {
        {"entering", "", ".......", "EEE.EEE", ""},
        {"paying", "101 F1", "1......", "E..E...", "1"},
        {"reopened", "101 F1 F1", ".......", "EEE.EEE", "1"},
        {"paying, empty bill", "F1", ".......", "EEE.EEE", "1"},
        {"voiding", "101 F3", "..1....", "..E....", "1"},
        {"void done", "101 F3 101", ".......", "EEE.EEE", "1"},
        {"statistics", "F6", ".....1.", ".....E.", "1"},
        {"statistics off", "F6 F6", ".......", "EEE.EEE", "1"},
        {"settings", "F7", "......1", "......E", "1"},
        {"settings off", "F7 F7", ".......", "EEE.EEE", "1"},
        {"committed", "101 F1 F4", ".......", "EEE.EEE", "1"},
        {"F4 while entering", "101 F4", ".......", "EEE.EEE", "0"},
        {"F1 while voiding", "101 F3 F1", "..1....", "..E....", "0"},
        {"clear empty bill", "F2", ".......", "EEE.EEE", "1"}};
    for (const auto& [name, keys, on, enabled, lights] : cases) {
        MemoryFileAccess files;
        Cassa c(files, kCatalogo);
        c.Batti(keys);
        EXPECT_EQ(On(c) + " " + c.Luci(), std::string(on) + " " + lights) << name;
        EXPECT_EQ(Enabled(c), enabled) << name;
        // Paying or with a panel open no product can be added; F1's caption says it ends payment.
        const bool paying = on[0] == '1';
        EXPECT_EQ(c.view.enabled[std::make_pair(0, 1)], !(paying || on[5] == '1' || on[6] == '1'))
            << name;
        EXPECT_FALSE(c.view.enabled[std::make_pair(0, 4)]) << name;  // inactive article
        const Azione& f1 = c.till->gAzioni[1];
        EXPECT_EQ(c.view.actionCaption[1], paying ? f1.caption2 : f1.caption1) << name;
        EXPECT_EQ(c.till->conto.gNumeroScontrino, std::string(name) == "committed" ? 1 : 0) << name;
    }
}

TEST(ActionsClearTest, ClearAsksWhenTheBillIsNotEmpty) {
    for (bool yes : {false, true}) {
        MemoryFileAccess files;
        Cassa c(files, kCatalogo);
        c.Digita("101");
        c.prompter.confirmations = {yes};
        c.Digita("F2");
        ASSERT_EQ(c.prompter.questions.size(), 1u);
        EXPECT_EQ(On(c) + c.Bill(), yes ? ".......= 0,00" : ".......101x1 = 3,50");
        EXPECT_EQ(c.Dati("STATISTICHE", "101"), "(missing)");
    }
}

TEST_F(ActionsTest, PasswordsReprintAndTheAutomaticPrintingSwitch) {
    c.till->gAzioni[7].password = "segreto";
    c.prompter.answers = {std::string("sbagliata")};
    c.Digita("F7");
    EXPECT_EQ(On(c) + std::to_string(c.prompter.messages.size()), ".......1");
    EXPECT_FALSE(c.view.panels[1]);
    c.prompter.answers = {std::string("segreto  ")};  // trailing blanks still match
    c.Timer();
    c.Digita("F7");
    EXPECT_EQ(On(c), "......1");
    EXPECT_TRUE(c.view.panels[1]);
    c.Timer();
    c.Digita("F7");
    EXPECT_FALSE(c.view.panels[1]);
    EXPECT_EQ(c.view.relayouts, 2);  // also when the refused F7 switched itself off

    // The reprint asks for its own.
    c.till->gAzioni[5].password = "p5";
    c.prompter.asked.clear();
    c.Batti("101 F1 F4");
    c.Timer();
    c.Digita("F5");  // no answer: no reprint
    EXPECT_EQ(std::make_pair(c.prompter.asked.size(), c.print.printed),
              std::make_pair(std::size_t{1}, 1));
    c.Timer();
    c.prompter.answers = {std::string("p5")};
    c.Digita("F5");
    EXPECT_EQ(std::make_pair(c.print.printed, c.print.reprints), std::make_pair(2, 1));

    // Passwords are stored scrambled; the automatic printing switch is stored too ("1" and the
    // captions: tst_cassa automaticPrintingSwitchesCaptions).
    c.vendita->ImpostaStampaAutomatica(false);
    EXPECT_EQ(c.Dati("STAMPA", "ABILITATO"), "0");
    c.vendita->PasswordSaver(6, "  stat ");
    ProfileStore p(files);
    const std::string stored = p.Get(c.till->paths.gFilePassword, "AZIONI", "PASSF6").value_or("");
    EXPECT_EQ(DecodificaPassword(kChiavePassword, stored), "stat");
    EXPECT_EQ(c.till->gAzioni[6].password, "stat");
    c.vendita->PasswordSaver(6, "   ");
    EXPECT_EQ(p.Get(c.till->paths.gFilePassword, "AZIONI", "PASSF6").value_or("(missing)"), "");
}

TEST_F(OneTillCommitTest, FirstCommitOfTheDay) {
    c.Batti("101 101 201 102");
    c.till->conto.gTavolo = "12";
    c.till->conto.gCommento = "senza ghiaccio";
    c.clock.now = {2026, 12, 6, 20, 15, 42, 0};
    const long writes = files.replaceCount;
    c.Batti("F1 F4");
    EXPECT_EQ(files.replaceCount, writes + 1);  // one atomic write for the whole sale
    const std::string ini = files.files["/p/Vorsa.ini"];
    EXPECT_EQ(test::Sezione(ini, "STATISTICHE"),
              "[STATISTICHE]\r\nDATA=06/12/2026 20:15:42\r\nSCONTRINI=1\r\n101=2;7\r\n"
              "102=1;2\r\n201=1;1\r\n");
    EXPECT_EQ(test::Sezione(ini, "SCONTRINI"),
              "[SCONTRINI]\r\n1=101-2-7;102-1-2;201-1-1;06/12/2026 20:15:42-10-12-" +
                  c.till->opt.gIdentitaLock + "-0-0-0\r\n1_commento=senza ghiaccio\r\nSTORNI=\r\n");
    // Limited stock 10 - 1; unlimited stays as it was.
    EXPECT_EQ(c.Dati("MANGIARE", "2") + "|" + c.Dati("MANGIARE", "1"),
              "Patatine;2;1;0;9;1;10;3|Panino con salamella;3,5;1;0;-1;1;-1;0");
    const auto& u = c.till->conto.ultimoConto;
    EXPECT_EQ(std::tie(c.view.ultimo, u.numero, u.tavolo, c.till->conto.gNumeroScontrino),
              std::make_tuple("10,00", 1, "12", 1));
    EXPECT_EQ(u.righe.size(), 3u);
    EXPECT_EQ(c.Art(101).soldQuantity, 2);
    EXPECT_EQ(c.till->conto.gTotaleConto, Currency{});
    EXPECT_EQ(c.till->conto.gCommento, "") << "the next bill starts without it";
}

TEST(CommitTest, ASaleThatCannotBeSavedIsReported) {
    // Between tills a sale the data file refuses waits in a list: a full disk refuses that too.
    for (const char* multi : {"", "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n"}) {
        MemoryFileAccess files;
        Cassa c(files, kCatalogo + std::string(multi));
        const std::string before = files.files["/p/Vorsa.ini"];
        files.failWrites = true;
        c.Batti("101 102 F1 F4");
        ASSERT_EQ(c.prompter.messages.size(), 1u) << multi;
        EXPECT_NE(c.prompter.messages[0].find("NON \xE8 stata salvata"), std::string::npos);
        EXPECT_EQ(files.files["/p/Vorsa.ini"], before);
        // Nothing printed with a number that is not in the file; the bill waits, still being paid.
        EXPECT_EQ(On(c) + c.Bill(), "1......101x1 102x1 = 5,50");
        // Memory agrees with the file again; nothing waits.
        EXPECT_EQ(std::make_tuple(c.print.printed, c.till->attesa.Quante(),
                                  c.till->conto.gNumeroScontrino, c.Art(101).soldQuantity,
                                  c.Art(102).pieces),
                  std::make_tuple(0, 0u, 0, 0, 10));
        files.failWrites = false;
        c.Timer();
        c.Digita("F4");                             // the same bill again
        EXPECT_EQ(c.prompter.messages.size(), 1u);  // a saved sale says nothing
        EXPECT_EQ(On(c) + c.Bill() + c.till->conto.ultimoConto.provvisorio, ".......= 0,00");
        EXPECT_EQ(c.Dati("STATISTICHE", "101"), "1;3,5");
        EXPECT_EQ(c.Dati("STATISTICHE", "SCONTRINI"), "1");
        EXPECT_EQ(c.Dati("SCONTRINI", "1").substr(0, 16), "101-1-3,5;102-1-");
    }
}

TEST(CommitTest, ArchiveRecordSurvivesOddTableTexts) {
    const std::tuple<const char*, const char*> cases[] = {
        {"", ""}, {"A-3", "A-3"}, {"tav;7", "tav 7"}, {"-;-", "- -"}};
    for (const auto& [tavolo, stored] : cases) {
        MemoryFileAccess files;
        Cassa c(files, kCatalogo);
        c.Batti("101 201");
        c.till->conto.gTavolo = tavolo;
        c.Batti("F1 F4");
        const ArchivedReceipt s = LeggiScontrino(c.Dati("SCONTRINI", "1"), ';');
        ASSERT_TRUE(s.valido && s.voci.size() == 2) << tavolo;
        EXPECT_EQ(c.Dati("SCONTRINI", "1_commento"), "(missing)") << "no comment, no line";
        EXPECT_EQ(std::tie(s.tavolo, s.totale), std::make_tuple(stored, *ParseCurrency("4,5")));
    }
}

TEST(CommitTest, TwoTillsShareCountersAndNumbering) {
    MemoryFileAccess files;
    const std::string multi = "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\nTIMER_CICLI=3\r\n";
    files.files["/p/Vorsa.ini"] = std::string(kCatalogo) + multi;
    Cassa a(files, "", "anna");
    Cassa b(files, "", "bruno");  // both on one data file, as through the share
    ASSERT_TRUE(a.till->opt.gMultiVorsa);
    a.Batti("202 202");  // Birra: 5 pieces
    ProfileStore p(files);
    const auto tenuti = [&] { return p.Get("/p/Vorsa.ini.lck", "MULTIVORSA", "16").value_or(""); };
    EXPECT_EQ(tenuti() + a.Dati("MULTIVORSA-TMP", "16"), "22");
    b.Batti("202 202 202 202");  // 2 held by anna, 3 by bruno: none left for the fourth
    EXPECT_EQ(b.Luci() + " " + b.Bill(), "3 202x3 = 9,00");

    a.Batti("F1 F4");
    b.Batti("F1 F4");
    EXPECT_EQ(a.Dati("STATISTICHE", "SCONTRINI") + " " + a.Dati("STATISTICHE", "202"), "2 5;15");
    EXPECT_EQ(a.Dati("BERE", "2"), "Birra;3;1;1;0;0;5;0");
    EXPECT_EQ(tenuti(), "0");
    EXPECT_NE(a.Dati("SCONTRINI", "1").find("anna"), std::string::npos);
    EXPECT_NE(a.Dati("SCONTRINI", "2").find("bruno"), std::string::npos);
    EXPECT_TRUE(test::LockLiberi(files.files["/p/Vorsa.ini.lck"]));
}

// A secondary till: a dead till's lock entries cost one wait, and articles with unlimited
// pieces none ever: nothing locks their catalogue lines, so nothing may wait to unlock them.
TEST(CommitTest, ADeadTillsEntriesCostOneWaitAndNoneAtStart) {
    MemoryFileAccess files;
    files.files["//cassa1/vorsa$/Vorsa.ini"] =
        std::string(kCatalogo) + "[STATISTICHE]\r\nSCONTRINI=4\r\n101=1;3,5\r\n";
    files.files["//cassa1/vorsa$/Vorsa.ini.lck"] =
        "[STATISTICHE]\r\nSCONTRINI-LOCKED=morto12345\r\n101-LOCKED=morto12345\r\n"
        "[SCONTRINI]\r\nSTORNI-LOCKED=brunoABCDE\r\n";
    // This till's own entry is one its killed run left: cleared by the load step.
    Cassa c(files, "[MULTIVORSA]\r\nABILITATO=1\r\nSISTEMA_REMOTO=cassa1\r\nLOCKSUFF=ABCDE\r\n",
            "bruno", "/q");
    CaricaFinestra(*c.till, ScreenTwips{20000, 12000});
    EXPECT_EQ(c.sleeper.count, 0);
    EXPECT_EQ(files.files["//cassa1/vorsa$/Vorsa.ini.lck"].find("brunoABCDE"), std::string::npos);
    EXPECT_EQ(c.till->conto.gNumeroScontrino, 4);
    c.vendita->ImpostaStampaAutomatica(false);
    c.Batti("101 F1 F4");
    EXPECT_EQ(c.sleeper.count, 200);  // one whole wait, then the entries are taken over
    c.Batti("101 201 F1 F4 101 F1 F4");
    EXPECT_EQ(c.sleeper.count, 200);  // and never waited for again
    EXPECT_EQ(c.Dati("STATISTICHE", "SCONTRINI") + " " + c.Dati("STATISTICHE", "101"), "7 4;14");
    const std::string lock = files.files["//cassa1/vorsa$/Vorsa.ini.lck"];
    EXPECT_EQ(lock.find("-LOCKED"), std::string::npos) << lock;
    EXPECT_NE(lock.find("=L - STATISTICHE - SCONTRINI"), std::string::npos) << lock;
}

TEST(CommitTest, APieceSoldElsewhereMeanwhileIsNotSoldTwice) {
    MemoryFileAccess files;
    files.files["//cassa1/vorsa$/Vorsa.ini"] = kCatalogo;
    Cassa c(files, "[MULTIVORSA]\r\nABILITATO=1\r\nSISTEMA_REMOTO=cassa1\r\n", "bruno", "/q");
    c.vendita->ImpostaStampaAutomatica(false);
    c.Digita("105");  // the last piece, held in this bill
    ASSERT_EQ(c.view.lines.size(), 1u);
    // Another till sold it and let its hold go between this bill taking it and F4.
    ProfileStore altra(files);
    altra.Set("//cassa1/vorsa$/Vorsa.ini", "MANGIARE", "5", "Ultimo pezzo;4;1;0;0;1;1;0");
    altra.Set("//cassa1/vorsa$/Vorsa.ini.lck", "MULTIVORSA", "5", "0");
    c.Batti("F1 F4");
    ASSERT_EQ(c.prompter.hints.size(), 1u);
    EXPECT_NE(c.prompter.hints[0].find("Ultimo pezzo: ne restano 0 pezzi"), std::string::npos);
    EXPECT_EQ(c.Dati("STATISTICHE", "SCONTRINI"), "(missing)");
    EXPECT_EQ(c.Bill(), "105x1 = 4,00");  // the bill waits for the operator
    EXPECT_EQ(c.Dati("MANGIARE", "5"), "Ultimo pezzo;4;1;0;0;1;1;0");
}

// What anyone on the share may leave in the data file: the till neither crashes nor writes a
// negative number, stock never goes below 0, and a refusal says so.
TEST(CommitTest, HostileValuesInTheDataFile) {
    const std::tuple<const char*, std::string, bool, const char*> cases[] = {
        {"counter at its maximum", "[STATISTICHE]\r\nSCONTRINI=2147483647\r\n", false,
         "2147483647"},
        {"counter past its maximum", "[STATISTICHE]\r\nSCONTRINI=99999999999999\r\n", false,
         "99999999999999"},
        {"negative counter", "[STATISTICHE]\r\nSCONTRINI=-10\r\n", true, "1"},
        {"negative statistics", "[STATISTICHE]\r\n105=-5;-3\r\n", true, "1"},
        {"a 10 MB line", "[VARIE]\r\nX=" + std::string(10 << 20, 'x') + "\r\n", true, "1"},
        {"a byte-order mark", "", true, "1"}};
    for (const auto& [name, extra, saved, numero] : cases) {
        MemoryFileAccess files;
        const bool bom = std::string(name) == "a byte-order mark";
        Cassa c(files, (bom ? "\xEF\xBB\xBF" : "") + std::string(kCatalogo) + extra);
        c.Batti("105 F1 F4");  // the last piece
        EXPECT_EQ(c.prompter.messages.empty(), saved) << name;
        EXPECT_EQ(c.Dati("STATISTICHE", "SCONTRINI"), numero) << name;
        EXPECT_TRUE(c.till->conto.gNumeroScontrino >= 0 && c.Art(105).pieces >= 0) << name;
        EXPECT_TRUE(saved || c.prompter.hints.at(0).find("massimo") != std::string::npos) << name;
    }
}

TEST_F(OneTillCommitTest, ADataFileDeletedMidEveningIsWrittenBackNotStartedAgain) {
    c.Batti("101 F1 F4 201 F1 F4");
    ASSERT_EQ(c.Dati("STATISTICHE", "SCONTRINI"), "2");
    for (const std::string gone : {"deleted", "emptied"}) {
        if (gone == "deleted")
            files.files.erase("/p/Vorsa.ini");
        else
            files.files["/p/Vorsa.ini"].clear();
        c.prompter.messages.clear();
        c.prompter.hints.clear();
        c.Batti("101 F1 F4");
        ASSERT_FALSE(c.prompter.messages.empty()) << gone;
        EXPECT_NE(c.prompter.messages[0].find("ripristinato"), std::string::npos) << gone;
    }
    // The numbering went on, and the archive holds every sale.
    EXPECT_EQ(c.Dati("STATISTICHE", "SCONTRINI") + " " + c.Dati("STATISTICHE", "101"), "4 3;10,5");
    for (const char* n : {"1", "2", "3", "4"}) EXPECT_NE(c.Dati("SCONTRINI", n), "(missing)") << n;
    EXPECT_EQ(c.Dati("MANGIARE", "2"), "Patatine;2;1;0;10;1;10;3");
}

const std::string kUno = "101-2-7;06/12/2026 20:15:00-7--cassiere12345-0-0-0";
const std::string kDue = "201-1-1;06/12/2026 20:16:00-1-T4-cassiere12345-0-0-0";
const std::string kDueAttese =
    "[ATTESA]\r\nULTIMO=2\r\n[P1]\r\nSCONTRINO=" + kUno + "\r\n[P2]\r\nSCONTRINO=" + kDue + "\r\n";

TEST(AttesaTest, EachWaitingSaleReachesTheFileOnce) {
    const std::tuple<const char*, std::string, long long, std::vector<std::string>> casi[] = {
        {"both", kDueAttese, 0, {kUno, kDue}},
        // Killed after the shared write, before the list was emptied.
        {"first-already-in", kDueAttese, 1, {kDue}},
        // A list whose counter went back (its file copied over): its sales are new ones.
        {"counter-back", kDueAttese, 7, {kUno, kDue}},
        // Damaged entries are passed over, never delivered as empty sales.
        {"damaged",
         "[P]\r\nSCONTRINO=x\r\n[Px1]\r\nSCONTRINO=x\r\n[P3]\r\nDATA=1\r\n[P4]\r\nSCONTRINO=" +
             kDue + "\r\n",
         0,
         {kDue}}};
    for (const auto& [name, lista, consegnate, attesi] : casi) {
        SCOPED_TRACE(name);
        MemoryFileAccess files;
        test::Cassa cassa(
            files, std::string(test::kCatalogo) + "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n");
        Till& t = *cassa.till;
        files.ReplaceAll("/p/" + std::string(kFileAttesa), lista);
        t.settings.Write(keys::Consegnate, std::to_string(consegnate), Idx(t.opt.gIdentitaLock));

        const auto n = static_cast<int>(attesi.size());
        EXPECT_EQ(cassa.vendita->ConsegnaInAttesa(), n);
        EXPECT_EQ(cassa.vendita->ConsegnaInAttesa(), 0);
        EXPECT_EQ(cassa.Dati("STATISTICHE", "SCONTRINI"), std::to_string(n));
        for (int r = 1; r <= n; ++r)
            EXPECT_EQ(cassa.Dati("SCONTRINI", std::to_string(r)), attesi[r - 1]);
        EXPECT_EQ(t.attesa.Quante(), 0u);
        // The next waiting sale never takes an id the file counts as delivered.
        EXPECT_GT(t.attesa.Accoda(kUno, "", "")->id, consegnate);
    }
}

}  // namespace
}  // namespace vorsa
