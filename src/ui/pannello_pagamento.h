#pragma once
// frm_gestione(2): the payment panel over the button area, with the coin buttons and the
// keypad. Hidden at rest.
#include <QFrame>
#include <array>

class QLabel;
class QPushButton;

namespace vorsa {

class PannelloPagamento final : public QFrame {
    Q_OBJECT
  public:
    explicit PannelloPagamento(QWidget* parent);

    QPushButton* Moneta(int n) const { return cmdSoldi_.at(static_cast<std::size_t>(n)); }
    QLabel* CodiceMoneta(int n) const { return lblSoldi_.at(static_cast<std::size_t>(n)); }
    /// Keypad keys 0..9, 10 (","), 11 ("Cancella").
    QPushButton* Tasto(int n) const { return cmdCalc_.at(static_cast<std::size_t>(n)); }

  signals:
    void MonetaPremuta(int n);
    void TastoPremuto(int n);

  private:
    std::array<QPushButton*, 10> cmdSoldi_{};
    std::array<QLabel*, 10> lblSoldi_{};
    std::array<QPushButton*, 12> cmdCalc_{};
};

}  // namespace vorsa
