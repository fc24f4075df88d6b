#pragma once
// What the sale rules ask of the main window and of the operator. The window implements
// SaleView and Prompter; tests script them.
#include <optional>
#include <string>

#include "data/catalogue.h"
#include "printing/print_seam.h"

namespace vorsa {

class SaleView : public CatalogueView {
public:
    // Feedback labels lbl_conf_code(0..4).
    virtual void HideFeedback() = 0;  // 0, 1, 3 and 4; the prompt 2 stays
    virtual void SetFeedbackCaption(int state, const std::string& caption) = 0;

    // Code box. SetCodice runs the box's change handler, as typing does.
    virtual void SetCodice(const std::string& text) = 0;
    virtual void StartInputTimer() = 0;

    // Bill list lst_spesa; every line carries its article code.
    virtual int ListCount() = 0;
    virtual int ListSelected() = 0;  // -1 when none
    virtual void SelectLine(int index) = 0;
    virtual int ListCode(int index) = 0;
    /// Replaces line `index` (or appends it when index == ListCount()) and selects it.
    virtual void SetListLine(int index, const std::string& text, int code) = 0;
    virtual void ClearList() = 0;
    virtual void SetTotale(const std::string& text) = 0;
    virtual void SetUltimoScontrino(const std::string& text) = 0;
    virtual void SetPriceLabel(int section, int position, const Etichetta& label) = 0;
    virtual void ClearTableAndComment() = 0;
    virtual int WindowWidthTwips() = 0;

    // Payment.
    virtual void ModoPagamento(bool on) = 0;
    virtual std::string Pagato() = 0;
    /// Sets box_Pagato with the caret at the end; its change handler runs.
    virtual void SetPagato(const std::string& text) = 0;
    virtual void SetResto(const std::string& text) = 0;

    // Function keys.
    virtual void SetActionCaption(int n, const std::string& caption) = 0;
    virtual void SetActionColour(int n, int colour) = 0;  // kColoreBottone for the face colour
    virtual void SetActionEnabled(int n, bool enabled) = 0;
    virtual void SetActionKeyColour(int n, int colour) = 0;
    virtual void SetActionHeight(int n, int twips) = 0;
    /// Shows or hides frm_gestione(0) (statistics) or frm_gestione(1) (settings).
    virtual void ShowPanel(int panel, bool visible) = 0;
    virtual void ReLayout() = 0;
    virtual void SetCaption(const std::string& text) = 0;
    virtual void SetStampaCaption(const std::string& text) = 0;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    /// Input box; nullopt on Cancel.
    virtual std::optional<std::string> InputBox(const std::string& title,
                                                const std::string& prompt) = 0;
    /// Yes/No box with the warning icon and No as default; true for Yes.
    virtual bool ConfermaSiNo(const std::string& title, const std::string& text) = 0;
    /// The message window; returns 6 (button 1), 7 (button 0) or -1.
    virtual int MostraMessaggio(const std::string& title, const std::string& text,
                                const std::string& hint, bool showButtons,
                                const std::string& caption0, const std::string& caption1,
                                bool modal, int intervalMs) = 0;
};

}  // namespace vorsa
