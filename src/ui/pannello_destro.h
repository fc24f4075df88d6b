#pragma once
// The right panel of the main window: the bill list, table and note, the function keys, the
// totals, the amount box, the code box with its feedback labels and the print switch. Its
// controls are children of the window itself, placed by LayoutFinestra.
#include <array>

#include "sale/actions.h"
#include "layout/window_layout.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace vorsa {

class EtichettaInfo;

class PannelloDestro {
  public:
    explicit PannelloDestro(QWidget& window);

    /// Moves every control where the layout puts it; the function keys keep their height.
    void Applica(const LayoutFinestra& l);
    /// Height of cmd_azioni(n) in twips, kept by later layouts.
    void ImpostaAltezzaAzione(int n, int twips);

    QListWidget* lstSpesa = nullptr;
    QLineEdit* txtTavolo = nullptr;
    QLineEdit* txtCommento = nullptr;
    QLabel* lblTavolo = nullptr;
    QLabel* lblNota = nullptr;
    std::array<QPushButton*, kNumeroAzioni + 1> cmdAzioni{};  // 1..7
    std::array<QLabel*, kNumeroAzioni + 1> lblAzioniCode{};   // 1..7
    QLabel* lblScontrinoPrecedente = nullptr;
    QLabel* lblUltimoScontrino = nullptr;
    QLabel* lblTotale = nullptr;
    QLabel* lblPagato = nullptr;
    QLineEdit* boxPagato = nullptr;
    QLabel* lblRestoTitolo = nullptr;
    QLabel* lblResto = nullptr;
    QLineEdit* boxCodice = nullptr;
    std::array<QLabel*, 5> lblConfCode{};
    QCheckBox* chkStampa = nullptr;
    std::array<EtichettaInfo*, 3> info{};  // lbl_info(2), (3), (4)

  private:
    std::array<int, kNumeroAzioni + 1> altezzaAzioni_{};  // 0: the layout's height
};

}  // namespace vorsa
