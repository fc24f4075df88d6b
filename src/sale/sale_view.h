#pragma once
// What the sale rules ask of the main window and of the operator. The window implements
// SaleView and Prompter; tests script them.
#include <optional>
#include <string>

#include "data/catalogue.h"
#include "platform/prompter.h"
#include "printing/print_seam.h"

namespace vorsa {

/// The right panel's bill side: the code box with its feedback labels, the bill list lst_spesa
/// (every line carries its article code), the totals, table and note.
class BillView {
  public:
    virtual ~BillView() = default;
    virtual void HideFeedback() = 0;  // 0, 1, 3 and 4; the prompt 2 stays
    virtual void SetFeedbackCaption(int state, const std::string& caption) = 0;
    /// SetCodice runs the box's change handler, as typing does.
    virtual void SetCodice(const std::string& text) = 0;
    virtual void StartInputTimer() = 0;
    virtual int ListCount() = 0;
    virtual int ListSelected() = 0;  // -1 when none
    virtual void SelectLine(int index) = 0;
    virtual int ListCode(int index) = 0;
    /// Replaces line `index` (or appends it when index == ListCount()) and selects it.
    virtual void SetListLine(int index, const std::string& text, int code) = 0;
    virtual void ClearList() = 0;
    virtual void SetTotale(const std::string& text) = 0;
    virtual void SetUltimoScontrino(const std::string& text) = 0;
    virtual void ClearTableAndComment() = 0;
    /// The line telling how many sales wait for the main till; "" hides it.
    virtual void SetInAttesa(const std::string& /*text*/) {}
};

/// Payment: the amount box, the change and the payment panel frm_gestione(2).
class PaymentView {
  public:
    virtual ~PaymentView() = default;
    virtual void ModoPagamento(bool on) = 0;
    virtual std::string Pagato() = 0;
    /// Sets box_Pagato with the caret at the end; its change handler runs.
    virtual void SetPagato(const std::string& text) = 0;
    virtual void SetResto(const std::string& text) = 0;
};

/// The function keys cmd_azioni(1..7) and their key labels.
class ActionKeysView {
  public:
    virtual ~ActionKeysView() = default;
    virtual void SetActionCaption(int n, const std::string& caption) = 0;
    virtual void SetActionColour(int n, int colour) = 0;  // kColoreBottone for the face colour
    virtual void SetActionEnabled(int n, bool enabled) = 0;
    virtual void SetActionKeyColour(int n, int colour) = 0;
    virtual void SetActionHeight(int n, int twips) = 0;
};

/// The main window as a whole: its panels, layout and caption.
class WindowView {
  public:
    virtual ~WindowView() = default;
    /// Shows or hides frm_gestione(kPannelloStatistica) or frm_gestione(kPannelloImpostazioni).
    virtual void ShowPanel(int panel, bool visible) = 0;
    virtual void ReLayout() = 0;
    virtual int WindowWidthTwips() = 0;
    virtual void SetCaption(const std::string& text) = 0;
    virtual void SetStampaCaption(const std::string& text) = 0;
};

/// The views the sale drives, each implemented by the panel that owns its widgets.
struct SaleViews {
    CatalogueView& catalogo;
    BillView& conto;
    PaymentView& pagamento;
    ActionKeysView& azioni;
    WindowView& finestra;
};

/// All views in one object, for tests that script the whole window.
class SaleView : public CatalogueView,
                 public BillView,
                 public PaymentView,
                 public ActionKeysView,
                 public WindowView {
  public:
    SaleViews Views() { return {*this, *this, *this, *this, *this}; }
};

}  // namespace vorsa
