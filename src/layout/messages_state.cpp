#include "layout/messages_state.h"

#include "platform/text.h"

namespace vorsa {

MessageLook MessagesState::Carica(const MessageParams& p) {
    parametri_ = p;
    aperto_ = true;
    risposta_ = kNessunaRisposta;
    secondoBottone_ = !Trim(p.caption0).empty();

    MessageLook a;
    // Blanks are a hint too: only an empty one hides the label.
    a.suggerimentoVisibile = !p.suggerimento.empty();
    a.intervalloMs = p.intervalloMs;
    a.timerAttivo = p.intervalloMs >= 1;
    a.bottone0Visibile = p.mostraBottoni && secondoBottone_;
    a.bottone1Visibile = p.mostraBottoni;
    a.bottone1AlCentro = p.mostraBottoni && !secondoBottone_;
    return a;
}

void MessagesState::Premi(int i) {
    aperto_ = false;
    risposta_ = i == 1 ? kRispostaBottone1 : kRispostaBottone0;
}

void MessagesState::TimerScaduto() {
    Premi(secondoBottone_ ? 0 : 1);
}

bool MessagesState::Tasto() {
    if (parametri_.mostraBottoni) return false;
    TimerScaduto();
    return true;
}

}  // namespace vorsa
