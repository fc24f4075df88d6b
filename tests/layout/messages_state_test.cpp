// The message window's rules: what it shows and the answer each way of closing gives.
#include "layout/messages_state.h"

#include <gtest/gtest.h>

namespace vorsa {
namespace {

MessageParams Messaggio(bool buttons, const char* caption0, const char* hint = "",
                        int interval = 0) {
    MessageParams p;
    p.titolo = "T";
    p.testo = "Testo";
    p.suggerimento = hint;
    p.mostraBottoni = buttons;
    p.caption0 = caption0;
    p.caption1 = "OK";
    p.intervalloMs = interval;
    return p;
}

TEST(MessagesState, Shows) {
    const struct {
        bool buttons;
        const char* caption0;
        const char* hint;
        int interval;
        bool hintVisible, timer, b0, b1, centred;
    } cases[] = {
        {true, "", "", 4000, false, true, false, true, true},   // one button, centred
        {true, "   ", "", 0, false, false, false, true, true},  // a blank caption is no button
        {true, "NO", "", 0, false, false, true, true, false},
        {false, "NO", "", 0, false, false, false, false, false},
        {true, "", "SUGGERIMENTO", 0, true, false, false, true, true},
        {true, "", "  ", 0, true, false, false, true, true},  // a blank hint shows too
        {true, "", "", -5, false, false, false, true, true},  // negative: no timer
    };
    for (const auto& c : cases) {
        MessagesState s;
        const MessageLook a = s.Carica(Messaggio(c.buttons, c.caption0, c.hint, c.interval));
        EXPECT_EQ((std::vector<bool>{a.suggerimentoVisibile, a.timerAttivo, a.bottone0Visibile,
                                     a.bottone1Visibile, a.bottone1AlCentro}),
                  (std::vector<bool>{c.hintVisible, c.timer, c.b0, c.b1, c.centred}))
            << c.buttons << " \"" << c.caption0 << "\" \"" << c.hint << "\" " << c.interval;
        EXPECT_EQ(a.intervalloMs, c.interval);
    }
}

TEST(MessagesState, Answer) {
    enum Azione { Bottone0, Bottone1, Timer, Tasto };
    const struct {
        bool buttons;
        const char* caption0;
        Azione azione;
        bool chiude;
        std::int16_t risposta;
    } cases[] = {
        {true, "NO", Bottone1, true, 6},
        {true, "NO", Bottone0, true, 7},
        {true, "NO", Timer, true, 7},  // the timer with two buttons is button 0
        {true, "", Timer, true, 6},    // with one button, button 1
        {false, "", Tasto, true, 6},   // a key without buttons
        {false, "NO", Tasto, true, 7},
        {true, "", Tasto, false, -1},  // a key is left to the buttons
    };
    for (const auto& c : cases) {
        MessagesState s;
        s.Carica(Messaggio(c.buttons, c.caption0));
        bool closed = true;
        if (c.azione == Bottone0 || c.azione == Bottone1) s.Premi(c.azione == Bottone0 ? 0 : 1);
        if (c.azione == Timer) s.TimerScaduto();
        if (c.azione == Tasto) closed = s.Tasto();
        EXPECT_EQ(closed, c.chiude) << c.azione << " " << c.caption0;
        EXPECT_EQ(s.Aperto(), !c.chiude) << c.azione << " " << c.caption0;
        EXPECT_EQ(s.Risposta(), c.risposta) << c.azione << " " << c.caption0;
    }
    // The next load forgets the answer.
    MessagesState s;
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
