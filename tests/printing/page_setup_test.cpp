#include <gtest/gtest.h>

#include <tuple>

#include "print_fixture.h"
#include "printing/print_settings.h"

namespace vorsa::test {
namespace {

/// The font sizes and the quantity column of a row, to compare rows without restating the table.
std::vector<int> Misure(const FormatRow& r) {
    return {r.nameSize, r.titleSize, r.priceSize, r.textSize, r.qtyColumnWidth};
}

TEST(PageSetup, FormatRowsAndCustomRollWidths) {
    // Unknown codes print on A6.
    EXPECT_EQ(Misure(RigaFormato(-1, "")), Misure(RigaFormato(0, "")));
    EXPECT_EQ(RigaFormato(-1, "").width, 105000);
    // A custom roll prints like the standard roll of its width: POS 57 below 8 cm, POS 80
    // below 10 cm, the full sizes from 10 cm.
    for (const auto& [cm, like] : std::initializer_list<std::pair<const char*, int>>{
             {"4", 3}, {"7", 3}, {"8", 2}, {"9", 2}, {"10", 1}, {"12", 1}}) {
        const FormatRow r = RigaFormato(4, cm);
        EXPECT_EQ(r.width, LarghezzaRotolo(cm)) << cm;
        EXPECT_EQ(Misure(r), Misure(RigaFormato(like, ""))) << cm;
    }
    // The custom roll's width is the box's leading number.
    using W = std::pair<const char*, int>;
    for (const auto& [text, width] :
         {W{"10,5", 100000}, W{"11", 110000}, W{"10.5", 100000}, W{"11.5", 120000},
          W{"10.6", 110000}, W{" 9", 90000}, W{"", 0}, W{"abc", 0}, W{"8.2.1", 80000}})
        EXPECT_EQ(LarghezzaRotolo(text), width) << text;
    // An empty box on the till is ten centimetres.
    Banco b;
    b.opt().gFormato = 4;
    b.opt().posWidth = "  ";
    b.printer().Setup().PreparePrinter({});
    EXPECT_EQ(b.printer().Setup().profile.formWidth, 100000);
}

TEST(PageSetup, MarginsLessTheUnprintableStrips) {
    // 600 dpi: 5 mm = 118 px; 3 mm set on a 5 mm strip is 0, never negative.
    const struct {
        int mm, stripPx, twips;
    } cases[] = {{0, 0, 0}, {10, 0, 567}, {3, 118, 0}, {10, 118, 284}, {1, 0, 57}};
    for (const auto& c : cases) {
        DeviceCaps caps;
        caps.physicalWidth = 2000;
        caps.physicalHeight = 3000;
        caps.offsetX = caps.offsetY = c.stripPx;
        caps.horzRes = 2000 - 2 * c.stripPx;
        caps.vertRes = 3000 - 2 * c.stripPx;
        const Margins m = MarginiStampante(caps, {c.mm, c.mm, c.mm, c.mm});
        EXPECT_EQ((std::vector<int>{m.top, m.bottom, m.left, m.right}),
                  std::vector<int>(4, c.twips))
            << c.mm << "/" << c.stripPx;
    }
}

TEST(PageSetup, PaperLengthOfTheThreeModes) {
    DeviceCaps caps;  // 600 dpi: one pixel is 2.4 twips
    // 10 cm of content: short +0.9 %, medium +13 %, long +44 %, then whole mm + 2.
    EXPECT_EQ((std::vector<int>{LunghezzaCarta(5670, 1, caps), LunghezzaCarta(5670, 2, caps),
                                LunghezzaCarta(5670, 3, caps)}),
              (std::vector<int>{102000, 115000, 146000}));
    for (int h : {1, 567, 1000, 4321, 12345, 28000}) {
        const double mm = h * 25.4 / 1440;
        for (int mode = 1; mode <= 3; ++mode) {
            const int len = LunghezzaCarta(h, mode, caps);
            EXPECT_EQ(len % 1000, 0) << h;
            EXPECT_GE(len, static_cast<int>(mm) * 1000 + 2000) << h << " mode " << mode;
        }
    }
}

TEST(PageSetup, APos80RollKeepsOneNumberedFormAndItsPrintableWidth) {
    Banco b;
    b.opt().gFormato = 2;
    PageSetup& s = b.printer().Setup();
    s.PreparePrinter({});
    s.PreparePrinter({});
    EXPECT_EQ(b.backend.formLog,
              (std::vector<std::string>{
                  "add Stampante VORSA-DUMMY 80000x500000", "select Stampante VORSA-DUMMY",
                  "delete Stampante VORSA-DUMMY", "add Stampante VORSA-TMP1 80000x500000",
                  "select Stampante VORSA-TMP1", "select Stampante VORSA-TMP1"}));
    // 80 mm at 600 dpi: 1890 px = 4536 twips.
    EXPECT_EQ(std::make_pair(s.PrintableWidth(), b.backend.requestedDpi),
              std::make_pair(4536, 600));
}

TEST(PageSetup, ComputedLengthsGetANewFormOnlyWhenTheLengthChanges) {
    Banco b;
    b.opt().gFormato = 2;
    b.opt().gCalcolaCarta = 1;
    PageSetup& s = b.printer().Setup();
    int asked = 0;
    for (const int len : {120000, 120000, 150000, 150000, 90000}) {
        s.PreparePrinter([&] {
            ++asked;
            return len;
        });
        EXPECT_EQ(b.backend.forms.Selected("Stampante")->length, len);
    }
    EXPECT_EQ(asked, 5);
    EXPECT_EQ(s.profile.formCounter, 3);
    const auto forms = b.backend.forms.Forms("Stampante");
    ASSERT_EQ(forms.size(), 3u);
    EXPECT_EQ(forms[1], (PaperForm{"VORSA-TMP2", 80000, 150000}));
    b.printer().CancellaFormScontrini();
    EXPECT_TRUE(b.backend.forms.Forms("Stampante").empty());
    EXPECT_EQ(s.profile.formCounter, 0);
}

TEST(PageSetup, SheetFormatsReplaceAStaleFormAndKeepOneUntilTheFormatChanges) {
    Banco b;
    b.opt().gFormato = 1;
    b.backend.forms.Add("Stampante", {"vorsa-tmp1", 57000, 500000});  // left by an earlier run
    ReceiptPrinter& rp = b.printer();
    rp.Setup().PreparePrinter({});
    rp.Setup().PreparePrinter({});
    // The stale form of another size is replaced.
    EXPECT_EQ(b.backend.forms.Forms("Stampante"),
              (std::vector<PaperForm>{{"VORSA-TMP1", 210000, 297000}}));
    // Changing the format twice without printing leaves no numbered form behind.
    rp.SelezionaFormato(5);
    rp.SelezionaFormato(6);
    EXPECT_TRUE(b.backend.forms.Forms("Stampante").empty());
    EXPECT_EQ(rp.Setup().profile.nameChars, 0);
    EXPECT_EQ(b.cassa.Dati("STAMPA", "FORMATO"), "6");
    rp.Setup().PreparePrinter({});
    EXPECT_EQ(b.backend.forms.Forms("Stampante"),
              (std::vector<PaperForm>{{"VORSA-TMP1", 73000, 105000}}));
}

TEST(PageSetup, APrinterTheSpoolerCannotOpenPrintsOnItsOwnPage) {
    Banco b;
    b.backend.unopenable = {"Stampante"};
    b.opt().gFormato = 2;
    b.printer().Setup().profile.formCounter = 4;
    b.printer().Setup().StampaInizializzaCancellaForm();
    EXPECT_EQ(b.printer().Setup().profile.formCounter, 4);  // nothing deleted, counter kept
    b.Vendi({{101, 1}});
    EXPECT_TRUE(b.backend.formLog.empty());
    ASSERT_FALSE(b.Docs().empty());
    EXPECT_EQ(b.Docs()[0].pages[0].size.length, 297000);  // the driver's page
}

TEST(PageSetup, AddFormFailuresAreReported) {
    // Denied access names the printer; any other error its code.
    for (const auto& [error, piece] :
         std::initializer_list<std::pair<int, const char*>>{{5, "Stampante"}, {87, "87"}}) {
        Banco b;
        b.backend.addFormError = error;
        EXPECT_FALSE(b.printer().Setup().AddCustomForm("Stampante", 1000, 1000, "X"));
        ASSERT_EQ(b.avvisi.size(), 1u);
        EXPECT_NE(b.avvisi[0].find(piece), std::string::npos) << b.avvisi[0];
    }
}

TEST(PageSetup, PrinterChoice) {
    const struct {
        const char* saved;
        const char* chosen;
        int index;
    } cases[] = {{"Cassa", "Cassa", 1}, {"Sparita", "Ufficio", 2}, {"", "Ufficio", 2}};
    for (const auto& c : cases) {
        Banco b(std::string("[STAMPA]\r\nSTAMPANTE=") + c.saved +
                    "\r\n[COMANDA1]\r\nSTAMPANTE=Cucina\r\n[COMANDA2]\r\nSTAMPANTE=Altra\r\n",
                {"Cucina", "Cassa", "Ufficio"});
        b.backend.defaultPrinter = "Ufficio";
        PageSetup& s = b.printer().Setup();
        EXPECT_EQ(s.printerName, c.chosen) << c.saved;
        EXPECT_EQ(s.profile.printerIndex, c.index);
        EXPECT_EQ(s.StampanteComanda(1), "Cucina");
        EXPECT_EQ(s.StampanteComanda(2), "Cucina");  // not installed: the first printer
    }
    Banco none("", {});
    EXPECT_FALSE(none.printer().StampanteDisponibile());
    EXPECT_FALSE(none.printer().SelezionaStampante("Cassa"));
}

TEST(PageSetup, ProgramExitRemovesEveryForm) {
    Banco b("[COMANDA1]\r\nSTAMPANTE=Cucina\r\n", {"Stampante", "Cucina"});
    ReceiptPrinter& rp = b.printer();
    for (const char* f : {"Vorsa", "Vorsa-A4", "POS-Vorsa", "VORSA-DUMMY", "Altro"})
        b.backend.forms.Add("Stampante", {f, 1, 1});
    b.backend.forms.Add("Cucina", {"VORSA-COMANDA1", 1, 1});
    rp.Setup().PreparePrinter({});
    rp.Chiudi();
    EXPECT_EQ(b.backend.forms.Forms("Stampante"), (std::vector<PaperForm>{{"Altro", 1, 1}}));
    EXPECT_TRUE(b.backend.forms.Forms("Cucina").empty());
}

// The printer part of the settings panel: what the controls show for each choice and what
// lands in the settings file.
struct Vista final : PrintSettingsView {
    std::vector<std::string> stampanti;
    std::string stampante, larghezza;
    int formato = -1;
    bool listeAbilitate = false, larghezzaAbilitata = false, grigia = false, avviso = false;
    void MostraStampanti(const std::vector<std::string>& nomi, const std::string& scelta,
                         bool abilitata) override {
        stampanti = nomi;
        stampante = scelta;
        listeAbilitate = abilitata;
    }
    void MostraFormati(const std::vector<std::pair<std::string, int>>&, int scelto, bool) override {
        formato = scelto;
    }
    void MostraLarghezza(bool abilitata, const std::string& testo, bool g) override {
        larghezzaAbilitata = abilitata;
        larghezza = testo;
        grigia = g;
    }
    void MostraNessunaStampante(bool visibile) override { avviso = visibile; }
};

TEST(PrintSettings, TheWidthBoxFollowsTheFormatAndAnEmptyWidthTakesTheDefault) {
    Banco b("[STAMPA]\r\nFORMATO=2\r\nSTAMPANTE=Cucina\r\n", {"Banco", "Cucina"});
    Vista v;
    PrintSettings p(b.till().settings, &b.printer(), v);
    p.Carica();
    EXPECT_EQ(v.stampanti, (std::vector<std::string>{"Banco", "Cucina"}));
    EXPECT_EQ(std::tie(v.stampante, v.formato, v.listeAbilitate, v.avviso, v.larghezzaAbilitata),
              std::make_tuple("Cucina", 2, true, false, false));

    struct Passo {
        const char* azione;
        const char* valore;
        bool abilitata;
        const char* mostrata;
        const char* nelFile;  // STAMPA/LARGHEZZA_POS afterwards
    };
    const Passo passi[] = {
        {"formato", "4", true, "10,5", "(missing)"},  // the custom roll, no width stored yet
        {"larghezza", "", true, "10,5", "10,5"},      // an emptied box takes the default
        {"larghezza", " 7,5 ", true, "7,5", "7,5"},
        {"formato", "3", false, "", "7,5"},  // another format keeps the stored width
        {"formato", "4", true, "7,5", "7,5"},
    };
    for (const Passo& s : passi) {
        if (std::string(s.azione) == "formato")
            p.FormatoScelto(std::stoi(s.valore));
        else
            p.LarghezzaConfermata(s.valore);
        EXPECT_EQ(v.larghezzaAbilitata, s.abilitata) << s.azione << " " << s.valore;
        EXPECT_EQ(v.larghezza, s.mostrata) << s.azione << " " << s.valore;
        EXPECT_EQ(v.grigia, !s.abilitata) << s.azione << " " << s.valore;
        EXPECT_EQ(b.cassa.Locale("STAMPA", "LARGHEZZA_POS"), s.nelFile) << s.azione;
    }
    EXPECT_EQ(b.cassa.Locale("STAMPA", "FORMATO"), "4");
    p.StampanteScelta("Banco");
    EXPECT_EQ(b.cassa.Locale("STAMPA", "STAMPANTE"), "Banco");
}

TEST(PrintSettings, WithoutAPrinterTheControlsAreOffAndTheNoticeShows) {
    Banco b("[STAMPA]\r\nFORMATO=4\r\n", {});
    Vista v;
    PrintSettings p(b.till().settings, nullptr, v);
    p.Carica();
    EXPECT_TRUE(v.avviso);
    EXPECT_FALSE(v.listeAbilitate);
    EXPECT_FALSE(v.larghezzaAbilitata);  // custom roll, but nothing to print on
    p.StampaTest();                      // nothing happens, nothing breaks
    p.FormatoScelto(1);
    EXPECT_EQ(b.till().opt.gFormato, 1);
}

}  // namespace
}  // namespace vorsa::test
