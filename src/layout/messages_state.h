#pragma once
// The message window's rules without widgets: what its parameters show, which answer each way
// of closing gives, and whether it is open. One object per message window, so one message
// is open at a time.
#include <cstdint>
#include <string>

namespace vorsa {

/// Answers: btnMessaggi(1), btnMessaggi(0), and none yet.
inline constexpr std::int16_t kRispostaBottone1 = 6;
inline constexpr std::int16_t kRispostaBottone0 = 7;
inline constexpr std::int16_t kNessunaRisposta = -1;

/// A lone btnMessaggi(1) moves to the middle.
inline constexpr int kSinistraBottoneSingolo = 7215;

/// Texts are Windows-1252.
struct MessageParams {
    std::string titolo;
    std::string testo;
    std::string suggerimento;
    bool mostraBottoni = true;
    std::string caption0;
    std::string caption1;
    bool modale = true;
    int intervalloMs = 0;
};

/// What the window shows once loaded.
struct MessageLook {
    bool suggerimentoVisibile = false;
    bool timerAttivo = false;
    int intervalloMs = 0;
    bool bottone0Visibile = false;
    bool bottone1Visibile = false;
    bool bottone1AlCentro = false;  // at kSinistraBottoneSingolo instead of its design place
};

class MessagesState {
  public:
    /// The load step: takes the parameters, opens, forgets any earlier answer.
    MessageLook Carica(const MessageParams& p);

    /// Button `i` (0 or 1) pressed: closes with its answer.
    void Premi(int i);
    /// The timer elapsed: closes as button 0 when there is one, else as button 1.
    void TimerScaduto();
    /// A key reached the window; true when it closed it (only a window without buttons).
    bool Tasto();
    /// The window went away without an answer (replaced by the next message).
    void Scarica() { aperto_ = false; }

    bool Aperto() const { return aperto_; }
    std::int16_t Risposta() const { return risposta_; }
    bool SecondoBottone() const { return secondoBottone_; }
    const MessageParams& Parametri() const { return parametri_; }

  private:
    MessageParams parametri_;
    bool aperto_ = false;
    bool secondoBottone_ = false;
    std::int16_t risposta_ = kNessunaRisposta;
};

}  // namespace vorsa
