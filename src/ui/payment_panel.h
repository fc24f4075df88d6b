#pragma once
// frm_gestione(2): the payment panel over the button area, with the coin buttons and the
// keypad. Hidden at rest.
#include <QFrame>
#include <QList>
#include <array>

#include "settings/options.h"

class QLabel;
class QPushButton;

namespace vorsa {

class PaymentPanel final : public QFrame {
    Q_OBJECT
  public:
    explicit PaymentPanel(QWidget* parent);

    /// The window's load step: the coins' captions and codes.
    void Carica(const Options& o);
    /// The coin buttons and the keypad keys 0..9, 10 (","), 11 ("Cancella"), for the sale
    /// presenter's key handling.
    QList<QPushButton*> Bottoni() const;

  signals:
    void MonetaPremuta(int n);
    void TastoPremuto(int n);

  private:
    std::array<QPushButton*, 10> cmdSoldi_{};
    std::array<QLabel*, 10> lblSoldi_{};
    std::array<QPushButton*, 12> cmdCalc_{};
};

}  // namespace vorsa
