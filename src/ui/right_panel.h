#pragma once
// The right panel of the main window: the bill list, table and note, the function keys, the
// totals, the amount box, the code box with its feedback labels and the print switch. Its
// controls are children of the window itself, placed by WindowLayout. The sale drives it
// through BillView, PaymentView and ActionKeysView; only its presenter reaches the widgets.
#include <QObject>
#include <array>
#include <memory>

#include "layout/window_layout.h"
#include "sale/actions.h"
#include "sale/sale_view.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QWidget;

namespace vorsa {

class InfoLabel;
class PaymentPanel;
class FittedAmount;

class RightPanel final : public QObject,
                         public BillView,
                         public PaymentView,
                         public ActionKeysView {
    Q_OBJECT
  public:
    /// `pagamento` is frm_gestione(2), shown while paying.
    RightPanel(QWidget& window, PaymentPanel& pagamento);
    ~RightPanel() override;

    /// The window's load step for this panel: feedback labels, empty totals, function keys,
    /// the bill list's font and the code timer.
    void Carica(const Azioni& azioni, int timerCodiciMs);
    /// Moves every control where the layout puts it; the function keys keep their height.
    void Applica(const WindowLayout& l);

    // BillView
    void HideFeedback() override;
    void SetFeedbackCaption(int state, const std::string& caption) override;
    void SetCodice(const std::string& text) override;
    void StartInputTimer() override;
    int ListCount() override;
    int ListSelected() override;
    void SelectLine(int index) override;
    int ListCode(int index) override;
    void SetListLine(int index, const std::string& text, int code) override;
    void ClearList() override;
    void SetTotale(const std::string& text) override;
    void SetUltimoScontrino(const std::string& text) override;
    void ClearTableAndComment() override;
    void SetInAttesa(const std::string& text) override;
    /// Makes lbl_conf_code(state) visible.
    void ShowFeedback(int state);

    // PaymentView
    void ModoPagamento(bool on) override;
    std::string Pagato() override;
    void SetPagato(const std::string& text) override;
    void SetResto(const std::string& text) override;

    // ActionKeysView
    void SetActionCaption(int n, const std::string& caption) override;
    void SetActionColour(int n, int colour) override;
    void SetActionEnabled(int n, bool enabled) override;
    void SetActionKeyColour(int n, int colour) override;
    /// Height of cmd_azioni(n) in twips, kept by later layouts.
    void SetActionHeight(int n, int twips) override;

    void SetStampaCaption(const std::string& text);

    /// The unload step: tmrInput does not fire on a closed window.
    void StopInputTimer();
    /// Gives the focus back to box_Codice, where the operator types the next code.
    void FocusCodeBox();
    /// chk_Stampa, for what sits beside it (the printers' lights).
    QWidget& PrintSwitch() const;

  signals:
    /// lbl_info(i) of this panel was clicked.
    void InfoPremuta(int i);

  private:
    // The sale presenter wires the widgets' events; nothing else reaches them.
    friend class SalePresenter;

    void RaiseEnlargedKeys();
    /// The last receipt, the waiting sales, the total, the paid amount and the change.
    void MakeTotals(QWidget& window);

    QListWidget* lstSpesa = nullptr;
    QLineEdit* txtTavolo = nullptr;
    QPlainTextEdit* txtCommento = nullptr;                    // wraps in the height it grows to
    std::array<QPushButton*, kNumeroAzioni + 1> cmdAzioni{};  // 1..7
    QLineEdit* boxPagato = nullptr;
    QLineEdit* boxCodice = nullptr;
    QCheckBox* chkStampa = nullptr;
    QTimer* tmrInput = nullptr;
    std::array<InfoLabel*, 3> info{};  // lbl_info(2), (3), (4)
    QLabel* lblTavolo_ = nullptr;
    QLabel* lblNota_ = nullptr;
    std::array<QLabel*, kNumeroAzioni + 1> lblAzioniCode_{};  // 1..7
    QLabel* lblScontrinoPrecedente_ = nullptr;
    QLabel* lblUltimoScontrino_ = nullptr;
    QLabel* lblAttesa_ = nullptr;
    QLabel* lblTotale_ = nullptr;
    QLabel* lblPagato_ = nullptr;
    QLabel* lblRestoTitolo_ = nullptr;
    QLabel* lblResto_ = nullptr;
    std::array<QLabel*, 5> lblConfCode_{};
    PaymentPanel& pagamento_;
    std::array<int, kNumeroAzioni + 1> altezzaAzioni_{};  // 0: the layout's height
    std::array<int, kNumeroAzioni + 1> sfondoAzioni_{};   // background of lbl_azioni_code(n)
    std::unique_ptr<FittedAmount> totale_, resto_, pagato_;
};

}  // namespace vorsa
