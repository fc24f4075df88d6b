#pragma once
// Wires the sale rules to the main window: keys and clicks go to Vendita, and Vendita's
// requests (SaleView) land on the widgets. Questions to the operator go through a Prompter:
// the Qt one shows real boxes, tests script their own.
#include <QObject>
#include <memory>

#include "sale/sale_view.h"
#include "sale/till.h"
#include "sale/vendita.h"

class QKeyEvent;
class QLineEdit;

namespace vorsa {

class FrmVorsa;

/// Input boxes and Yes/No boxes of the platform, and the message window of the main window.
class PrompterQt final : public Prompter {
public:
    explicit PrompterQt(FrmVorsa& frm) : frm_(frm) {}
    std::optional<std::string> InputBox(const std::string& title, const std::string& prompt) override;
    bool ConfermaSiNo(const std::string& title, const std::string& text) override;
    int MostraMessaggio(const std::string& title, const std::string& text, const std::string& hint,
                        bool showButtons, const std::string& caption0, const std::string& caption1,
                        bool modal, int intervalMs) override;

private:
    FrmVorsa& frm_;
};

/// Applies the amount filter's verdict to a key typed into `box`: types the character it
/// passes, replaces the text, or swallows the key. True when the key was consumed.
bool ApplicaFiltro(QLineEdit& box, const EsitoFiltro& r);

class CassaFinestra final : public QObject, public SaleView {
    Q_OBJECT
public:
    /// `prompter` null: real boxes. `print` null: no printer.
    CassaFinestra(FrmVorsa& frm, Till& till, Prompter* prompter = nullptr,
                  PrintSeam* print = nullptr);
    ~CassaFinestra() override;

    /// After the window's load step: the automatic-printing switch is applied once.
    void Avvia();
    Vendita& vendita() { return *vendita_; }

    // CatalogueView, passed on to the window.
    int ButtonColour(int section, int position) override;
    void SetButtonColour(int section, int position, int colour) override;
    bool ButtonEnabled(int section, int position) override;
    void SetButtonEnabled(int section, int position, bool enabled) override;
    void SetLabelsVisible(int section, int position, bool visible) override;
    void SetCodeLabel(int section, int position, const std::string& text) override;
    void ShowFeedback(int state) override;

    // SaleView
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
    void SetPriceLabel(int section, int position, const Etichetta& label) override;
    void ClearTableAndComment() override;
    int WindowWidthTwips() override;
    void ModoPagamento(bool on) override;
    std::string Pagato() override;
    void SetPagato(const std::string& text) override;
    void SetResto(const std::string& text) override;
    void SetActionCaption(int n, const std::string& caption) override;
    void SetActionColour(int n, int colour) override;
    void SetActionEnabled(int n, bool enabled) override;
    void SetActionKeyColour(int n, int colour) override;
    void SetActionHeight(int n, int twips) override;
    void ShowPanel(int panel, bool visible) override;
    void ReLayout() override;
    void SetCaption(const std::string& text) override;
    void SetStampaCaption(const std::string& text) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// tmrInput's handler: empties the code box.
    void SvuotaCodice();
    /// Runs the handler now when a code is still shown, before the next input.
    void ChiudiCodicePendente();
    void Articolo(int section, int position);
    void Azione(int n);
    void Moneta(int n);
    void Calcolatrice(int tasto);
    bool TastoCodice(QKeyEvent* key);
    bool TastoPagato(QKeyEvent* key);
    bool TastoFunzionePagato(QKeyEvent* key);
    void FocusPagato();

    FrmVorsa& frm_;
    Till& till_;
    std::unique_ptr<Prompter> ownPrompter_;
    std::unique_ptr<Vendita> vendita_;
};

}  // namespace vorsa
