// The web pages' rules below the Qt line: the PINs and their guard, the ready marks in the data
// file (whole under kill -9), the scanned slip, and what each page is sent of the evening.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "core/settings_bench.h"
#include "support/kill_loop.h"
#include "web/ready_marks.h"
#include "web/web_evening.h"
#include "web/web_options.h"

namespace vorsa {
namespace {

constexpr const char* kCatalogo =
    "[MANGIARE]\r\nDIMENSIONE=2\r\n1=Panino;4,5;1;0;-1;1;-1;0\r\n2=<b>Patatine</b>;3;1;0;-1;1;-1;0"
    "\r\n[BERE]\r\nDIMENSIONE=1\r\n1=Acqua;1;1;0;-1;2;-1;0\r\n[VARIE]\r\nDIMENSIONE=0\r\n";

std::string Scontrino(const char* voci, const char* quando, const char* totale,
                      const char* tavolo = "", const char* identita = "cassaA") {
    return std::string(voci) + quando + "-" + totale + "-" + tavolo + "-" + identita + "-0-0-0";
}

/// A till's settings and catalogue over `f`, in memory or on disk; one kitchen order with 101
/// and 102.
struct Dati : test::Impostazioni {
    explicit Dati(FileAccess& f, const std::string& folder = "/p") : Impostazioni(&f, folder) {
        opt.gComande.assign(1, KitchenOrderConfig{});
        opt.gComande[0].abilitato = true;
        opt.gComande[0].prodotti = "101;102";
        opt.gNumeroComande = 1;
        cat.CaricaDimensioni(store, paths.gFileDati);
        cat.CaricaProdotti(store, opt, paths);
        cat.AssegnaComande(opt);
    }
    Catalogue cat;
};

TEST(WebPinTest, ValidStoredScrambledAndGuarded) {
    for (const auto& [pin, valido] :
         std::initializer_list<std::pair<const char*, bool>>{{"1234", true},
                                                             {"12345678", true},
                                                             {"123", false},
                                                             {"123456789", false},
                                                             {"12a4", false}})
        EXPECT_EQ(PinValido(pin), valido) << pin;

    MemoryFileAccess files;
    Dati d(files);
    ASSERT_TRUE(ImpostaPin(d.settings, keys::PinCucina, "2468"));
    EXPECT_FALSE(ImpostaPin(d.settings, keys::PinIncassi, "12"));
    const std::string ini = files.files["/p/Vorsa.ini"];
    EXPECT_EQ(ini.find("2468"), std::string::npos) << ini;
    EXPECT_EQ(ini.find("PIN_INCASSI"), std::string::npos) << ini;
    files.files["/p/Vorsa.ini"] += "PIN_INCASSI=rotto\r\nPORTA=80\r\nABILITATO=1\r\n";
    Dati letto(files);
    CaricaOpzioniWeb(letto.settings);
    EXPECT_EQ(letto.opt.kitchenPin, "2468");
    EXPECT_EQ(letto.opt.takingsPin, "");  // damaged: the page stays closed
    EXPECT_EQ(letto.opt.webPort, 8088);   // below 1024: the default
    EXPECT_TRUE(letto.opt.webEnabled);
    ASSERT_TRUE(ImpostaPin(letto.settings, keys::PinCucina, ""));
    EXPECT_EQ(files.files["/p/Vorsa.ini"].find("PIN_CUCINA"), std::string::npos);

    using E = PinGuard::Outcome;
    PinGuard g;
    EXPECT_EQ(g.Prova("a", "1111", "", 0), E::Sbagliato);  // no PIN set: nobody gets in
    EXPECT_EQ(g.Prova("a", "2468", "2468", 0), E::Ok);     // and that mistake is forgotten
    for (int i = 0; i < 20; ++i) EXPECT_EQ(g.Prova("a", "", "2468", 0), E::Sbagliato);
    for (int i = 0; i < PinGuard::kTentativi; ++i)
        EXPECT_EQ(g.Prova("a", "0000", "2468", 1000), E::Sbagliato) << i;
    EXPECT_EQ(g.Prova("a", "2468", "2468", 1000 + PinGuard::kAttesaMs - 1), E::Bloccato);
    EXPECT_EQ(g.Prova("b", "2468", "2468", 1000), E::Ok);  // another address is not blocked
    EXPECT_EQ(g.Prova("a", "0000", "2468", 1000 + PinGuard::kAttesaMs), E::Sbagliato);
    EXPECT_EQ(g.Prova("a", "2468", "2468", 1000 + PinGuard::kAttesaMs), E::Ok);
}

TEST(WebProntiTest, ScannedSlips) {
    const std::pair<const char*, std::int32_t> casi[] = {
        {"57", 57}, {"*57*", 57}, {" *12* \r\n", 12}, {"0", 0},   {"P12", 0},        {"*P3*", 0},
        {"", 0},    {"**", 0},    {"-4", 0},          {"1e3", 0}, {"9999999999", 0}, {"5 7", 0}};
    for (const auto& [codice, numero] : casi)
        EXPECT_EQ(NumeroScansionato(codice).value_or(0), numero) << codice;
}

TEST(WebProntiTest, AMarkIsOneTransactionAndRefusesWhatIsNotAnOpenReceipt) {
    MemoryFileAccess files;
    files.files["/p/Vorsa.ini"] =
        std::string(kCatalogo) +
        "[SCONTRINI]\r\n1=" + Scontrino("101-1-4,5;", "08/12/2026 20:01:00", "4,5") +
        "\r\n2=" + Scontrino("201-1-1;", "08/12/2026 20:02:00", "1") + "\r\nSTORNI=2\r\n";
    Dati d(files);
    d.clock.now = {2026, 12, 8, 21, 4, 5, 2};
    EXPECT_EQ(SegnaPronto(d.settings, 1, d.clock.now), ReadyResult::Segnato);
    const std::string dopo = files.files["/p/Vorsa.ini"];
    EXPECT_NE(dopo.find("\r\n[PRONTI]\r\n1=08/12/2026 21:04:05\r\n"), std::string::npos) << dopo;
    d.clock.now.minute = 30;
    const std::pair<std::int32_t, ReadyResult> casi[] = {{1, ReadyResult::GiaPronto},
                                                         {2, ReadyResult::Stornato},
                                                         {3, ReadyResult::Sconosciuto},
                                                         {0, ReadyResult::Sconosciuto}};
    for (const auto& [n, esito] : casi)
        EXPECT_EQ(SegnaPronto(d.settings, n, d.clock.now), esito) << n;
    EXPECT_EQ(files.files["/p/Vorsa.ini"], dopo);  // the first time stays
    ProfileStore(files).Set("/p/Vorsa.ini", "SCONTRINI", "3",
                            Scontrino("101-1-4,5;", "08/12/2026 20:03:00", "4,5"));
    files.failWrites = true;
    EXPECT_EQ(SegnaPronto(d.settings, 3, d.clock.now), ReadyResult::NonSalvato);
}

TEST(WebSerataTest, EachPageGetsItsFiguresEscaped) {
    EXPECT_EQ(JsonUtf8("a\"b\\c</script>&\n\x01"),
              R"("a\"b\\c\u003c/script\u003e\u0026\u000a\u0001")");
    EXPECT_EQ(JsonUtf8("caff\xC3\xA8 \xE2\x82\xAC"), "\"caff\xC3\xA8 \xE2\x82\xAC\"");
    EXPECT_EQ(JsonUtf8("\xFF\xC3(\xED\xA0\x80"), "\"\uFFFD\uFFFD(\uFFFD\uFFFD\uFFFD\"");
    EXPECT_EQ(JsonTesto("Caff\xE8 \x80"), "\"Caff\xC3\xA8 \xE2\x82\xAC\"");  // CP1252

    MemoryFileAccess files;
    files.files["/p/Vorsa.ini"] =
        std::string(kCatalogo) + "[STATISTICHE]\r\nSCONTRINI=4\r\n[SCONTRINI]\r\n1=" +
        Scontrino("101-2-9;201-1-1;", "08/12/2026 19:58:00", "10", "7") +
        "\r\n1_commento=senza <cipolla>\r\n2=" +
        Scontrino("201-3-3;", "08/12/2026 20:10:00", "3", "", "cassaB") +
        "\r\n3=" + Scontrino("102-1-3;", "08/12/2026 20:15:00", "3") +
        "\r\n4=" + Scontrino("101-1-4,5;", "08/12/2026 20:20:00", "4,5") + "\r\nSTORNI=3\r\n";
    Dati d(files);
    WebEvening s(d.settings, d.cat);
    EXPECT_TRUE(s.Aggiorna());
    EXPECT_FALSE(s.Aggiorna());  // nothing new
    EXPECT_EQ(s.JsonNumeri(), R"({"numeri":[]})");
    EXPECT_EQ(
        s.JsonCucina(),
        R"({"ordini":[{"numero":1,"ora":"19:58","tavolo":"7","nota":"senza \u003ccipolla\u003e",)"
        R"("righe":[{"nome":"Panino","pezzi":2}]},{"numero":4,"ora":"20:20","tavolo":"","nota":"",)"
        R"("righe":[{"nome":"Panino","pezzi":1}]}]})");
    EXPECT_EQ(s.JsonIncassi(),
              R"({"incasso":"17,50","centesimi":1750,"scontrini":3,"stornati":1,"casse":[)"
              R"({"nome":"cassaA","scontrini":2,"incasso":"14,50","centesimi":1450},)"
              R"({"nome":"cassaB","scontrini":1,"incasso":"3,00","centesimi":300}],"ore":[)"
              R"({"ora":"19:00","scontrini":1,"incasso":"10,00","centesimi":1000},)"
              R"({"ora":"20:00","scontrini":2,"incasso":"7,50","centesimi":750}],"articoli":[)"
              R"({"codice":201,"nome":"Acqua","pezzi":4,"incasso":"4,00","centesimi":400},)"
              R"({"codice":101,"nome":"Panino","pezzi":3,"incasso":"13,50","centesimi":1350}]})");

    // Marks: newest first, the kitchen forgets them; a new receipt comes in on its own.
    d.clock.now = {2026, 12, 8, 20, 30, 0, 2};
    ASSERT_EQ(SegnaPronto(d.settings, 4, d.clock.now), ReadyResult::Segnato);
    d.clock.now.minute = 31;
    ASSERT_EQ(SegnaPronto(d.settings, 1, d.clock.now), ReadyResult::Segnato);
    files.files["/p/Vorsa.ini"] =
        ReplaceAll(files.files["/p/Vorsa.ini"], "SCONTRINI=4", "SCONTRINI=5") + "[SCONTRINI]\r\n";
    ProfileStore(files).Set("/p/Vorsa.ini", "SCONTRINI", "5",
                            Scontrino("102-1-3;", "08/12/2026 20:40:00", "3"));
    EXPECT_TRUE(s.Aggiorna());
    EXPECT_EQ(s.JsonNumeri(),
              R"({"numeri":[{"numero":1,"ora":"20:31"},{"numero":4,"ora":"20:30"}]})");
    EXPECT_EQ(s.JsonCucina(),
              R"({"ordini":[{"numero":5,"ora":"20:40","tavolo":"","nota":"",)"
              R"("righe":[{"nome":"\u003cb\u003ePatatine\u003c/b\u003e","pezzi":1}]}]})");

    // Emptied statistics: everything is read again from the new first receipt.
    files.files["/p/Vorsa.ini"] = std::string(kCatalogo) +
                                  "[STATISTICHE]\r\nSCONTRINI=1\r\n[SCONTRINI]\r\n1=" +
                                  Scontrino("201-1-1;", "08/12/2026 22:00:00", "1") + "\r\n";
    EXPECT_TRUE(s.Aggiorna());
    EXPECT_EQ(s.JsonNumeri(), R"({"numeri":[]})");
    EXPECT_EQ(s.JsonCucina(), R"({"ordini":[]})");
}

// Killed while marking receipts one after the other, the till leaves every mark whole and the
// archive untouched; the marks are those of the first receipts, none missing in between.
TEST(WebProntiTest, KilledWhileMarkingLeavesWholeMarks) {
    const std::string cartella =
        (std::filesystem::temp_directory_path() / ("vorsa-pronti-" + std::to_string(getpid())))
            .string();
    std::filesystem::create_directories(cartella);
    std::string ini = std::string(kCatalogo) + "[STATISTICHE]\r\nSCONTRINI=300\r\n[SCONTRINI]\r\n";
    for (int n = 1; n <= 300; ++n)
        ini += std::to_string(n) + "=" + Scontrino("101-1-4,5;", "08/12/2026 20:00:00", "4,5") +
               "\r\n";
    const auto scrivi = [&] {
        ASSERT_TRUE(MakeLocalFileAccess(false)->ReplaceAll(cartella + "/Vorsa.ini", ini));
    };
    scrivi();
    int segnati = 0;
    test::KillLoop(
        30, 5, 60,
        [&](int) {
            auto files = MakeLocalFileAccess(true);
            Dati d(*files, cartella);
            for (int n = 1;; n = n % 300 + 1) SegnaPronto(d.settings, n, d.clock.now);
        },
        [&](int round) {
            auto files = MakeLocalFileAccess(false);
            ProfileStore p(*files);
            const IniDocument& doc = p.Document(cartella + "/Vorsa.ini");
            ASSERT_EQ(doc.Get("STATISTICHE", "SCONTRINI"), "300") << "round " << round;
            ASSERT_EQ(doc.Get("SCONTRINI", "300").value_or("").size(),
                      Scontrino("101-1-4,5;", "08/12/2026 20:00:00", "4,5").size());
            const auto pronti = doc.Entries("PRONTI");
            for (std::size_t i = 0; i < pronti.size(); ++i) {
                EXPECT_EQ(pronti[i].first, std::to_string(i + 1)) << "round " << round;
                EXPECT_EQ(pronti[i].second, "06/12/2026 19:45:03") << "round " << round;
            }
            segnati += static_cast<int>(pronti.size());
            scrivi();
        },
        [&] { return segnati > 0; });
    EXPECT_GT(segnati, 0);
    std::filesystem::remove_all(cartella);
}

}  // namespace
}  // namespace vorsa
