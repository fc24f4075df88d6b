#pragma once
// Printer trouble in the message window: the notices of the bill's slips, and the poll that
// follows their jobs. Never modal: the till goes on selling while a printer is put right.
#include <QObject>
#include <functional>

#include "printing/sorveglianza_stampe.h"

class QTimer;

namespace vorsa {

class Messaggi;

class AvvisiStampa final : public QObject {
    Q_OBJECT
  public:
    /// Polls the followed jobs every `intervalloMs`.
    AvvisiStampa(Messaggi& messaggi, StatoStampanti& stato, int intervalloMs = 1000,
                 QObject* parent = nullptr);

    SorveglianzaStampe& Sorveglianza() { return sorveglianza_; }
    /// Prints a kitchen order of the last bill again, marked as a copy.
    std::function<bool(int comanda)> ristampaComanda;
    /// The hint under a notice: how to print the slip again, when it is offered.
    static QString Suggerimento(const AvvisoStampa& a, const Foglio& f);

  private:
    void Avvisa(const AvvisoStampa& a, const Foglio& f);
    /// Asks whether to print the kitchen order again; once its printer is back, it does.
    void OffriRistampa(const AvvisoStampa& a, const Foglio& f);

    Messaggi& messaggi_;
    StatoStampanti& stato_;
    SorveglianzaStampe sorveglianza_;
    QTimer* timer_ = nullptr;
};

}  // namespace vorsa
