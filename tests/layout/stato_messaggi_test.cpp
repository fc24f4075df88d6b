// The message window's rules: what it shows and the answer each way of closing gives.
#include "layout/stato_messaggi.h"

#include <gtest/gtest.h>

namespace vorsa {
namespace {

ParametriMessaggio Messaggio(bool buttons, const char* caption0, const char* hint = "",
                             int interval = 0) {
    ParametriMessaggio p;
    p.titolo = "T";
    p.testo = "Testo";
    p.suggerimento = hint;
    p.mostraBottoni = buttons;
    p.caption0 = caption0;
    p.caption1 = "OK";
    p.intervalloMs = interval;
    return p;
}

struct AspettoCase {
    const char* name;
    bool buttons;
    const char* caption0;
    const char* hint;
    int interval;
    bool hintVisible, timer, b0, b1, centred;
};

class AspettoTest : public ::testing::TestWithParam<AspettoCase> {};

TEST_P(AspettoTest, Shows) {
    const AspettoCase& c = GetParam();
    StatoMessaggi s;
    const AspettoMessaggio a = s.Carica(Messaggio(c.buttons, c.caption0, c.hint, c.interval));
    EXPECT_EQ(a.suggerimentoVisibile, c.hintVisible);
    EXPECT_EQ(a.timerAttivo, c.timer);
    EXPECT_EQ(a.intervalloMs, c.interval);
    EXPECT_EQ(a.bottone0Visibile, c.b0);
    EXPECT_EQ(a.bottone1Visibile, c.b1);
    EXPECT_EQ(a.bottone1AlCentro, c.centred);
    EXPECT_TRUE(s.Aperto());
    EXPECT_EQ(s.Risposta(), kNessunaRisposta);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AspettoTest,
    ::testing::Values(
        AspettoCase{"OneButtonCentred", true, "", "", 4000, false, true, false, true, true},
        AspettoCase{"BlankCaptionIsNoButton", true, "   ", "", 0, false, false, false, true, true},
        AspettoCase{"TwoButtons", true, "NO", "", 0, false, false, true, true, false},
        AspettoCase{"NoButtons", false, "NO", "", 0, false, false, false, false, false},
        AspettoCase{"HintShown", true, "", "SUGGERIMENTO", 0, true, false, false, true, true},
        AspettoCase{"BlankHintShown", true, "", "  ", 0, true, false, false, true, true},
        AspettoCase{"OneMsTimer", true, "", "", 1, false, true, false, true, true},
        AspettoCase{"NegativeNoTimer", true, "", "", -5, false, false, false, true, true}),
    [](const auto& p) { return std::string(p.param.name); });

struct RispostaCase {
    const char* name;
    bool buttons;
    const char* caption0;
    enum { Bottone0, Bottone1, Timer, Tasto } azione;
    bool chiude;
    std::int16_t risposta;
};

class RispostaTest : public ::testing::TestWithParam<RispostaCase> {};

TEST_P(RispostaTest, Answer) {
    const RispostaCase& c = GetParam();
    StatoMessaggi s;
    s.Carica(Messaggio(c.buttons, c.caption0));
    bool closed = true;
    switch (c.azione) {
        case RispostaCase::Bottone0:
            s.Premi(0);
            break;
        case RispostaCase::Bottone1:
            s.Premi(1);
            break;
        case RispostaCase::Timer:
            s.TimerScaduto();
            break;
        case RispostaCase::Tasto:
            closed = s.Tasto();
            break;
    }
    EXPECT_EQ(closed, c.chiude);
    EXPECT_EQ(s.Aperto(), !c.chiude);
    EXPECT_EQ(s.Risposta(), c.risposta);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RispostaTest,
    ::testing::Values(
        RispostaCase{"Button1", true, "NO", RispostaCase::Bottone1, true, 6},
        RispostaCase{"Button0", true, "NO", RispostaCase::Bottone0, true, 7},
        RispostaCase{"TimerWithTwoButtonsIsButton0", true, "NO", RispostaCase::Timer, true, 7},
        RispostaCase{"TimerWithOneButtonIsButton1", true, "", RispostaCase::Timer, true, 6},
        RispostaCase{"KeyWithoutButtons", false, "", RispostaCase::Tasto, true, 6},
        RispostaCase{"KeyWithoutButtonsSecondCaption", false, "NO", RispostaCase::Tasto, true, 7},
        RispostaCase{"KeyLeftToButtons", true, "", RispostaCase::Tasto, false, -1}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(StatoMessaggi, NextLoadForgetsTheAnswer) {
    StatoMessaggi s;
    s.Carica(Messaggio(true, "NO"));
    s.Premi(1);
    s.Carica(Messaggio(true, ""));
    EXPECT_TRUE(s.Aperto());
    EXPECT_FALSE(s.SecondoBottone());
    EXPECT_EQ(s.Risposta(), kNessunaRisposta);
    s.Scarica();
    EXPECT_FALSE(s.Aperto());
    EXPECT_EQ(s.Risposta(), kNessunaRisposta);
}

}  // namespace
}  // namespace vorsa
