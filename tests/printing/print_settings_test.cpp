// The printer part of the settings panel: what the controls show for each choice and what
// lands in the settings file.
#include "printing/print_settings.h"

#include <gtest/gtest.h>

#include "print_fixture.h"

namespace vorsa::test {
namespace {

struct Vista final : PrintSettingsView {
    std::vector<std::string> stampanti;
    std::string stampante;
    int formato = -1;
    bool listeAbilitate = false;
    bool larghezzaAbilitata = false;
    std::string larghezza;
    bool grigia = false;
    bool avviso = false;
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
    EXPECT_EQ(v.stampante, "Cucina");
    EXPECT_EQ(v.formato, 2);
    EXPECT_TRUE(v.listeAbilitate);
    EXPECT_FALSE(v.avviso);
    EXPECT_FALSE(v.larghezzaAbilitata);
    EXPECT_TRUE(v.grigia);

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
