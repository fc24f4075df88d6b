#pragma once
// Wires the sale rules to the main window's panels: keys and clicks go to Sale, and
// Sale's requests land on the panels' views. Questions to the operator go through a
// Prompter: the Qt one shows real boxes, tests script their own.
#include <QElapsedTimer>
#include <QObject>
#include <memory>

#include "sale/sale.h"
#include "sale/sale_view.h"
#include "sale/till.h"

class QKeyEvent;
class QLineEdit;

namespace vorsa {

class FrmVorsa;
class RightPanel;

/// Input boxes and Yes/No boxes of the platform, and the message window of the main window.
class PrompterQt final : public Prompter {
  public:
    explicit PrompterQt(FrmVorsa& frm) : frm_(frm) {}
    std::optional<std::string> InputBox(const std::string& title,
                                        const std::string& prompt) override;
    bool ConfermaSiNo(const std::string& title, const std::string& text) override;
    int MostraMessaggio(const std::string& title, const std::string& text, const std::string& hint,
                        bool showButtons, const std::string& caption0, const std::string& caption1,
                        bool modal, int intervalMs) override;
    void Avviso(const std::string& title, const std::string& text) override;

  private:
    FrmVorsa& frm_;
};

/// Applies the amount filter's verdict to a key typed into `box`: types the character it
/// passes, replaces the text, or swallows the key. True when the key was consumed.
bool ApplicaFiltro(QLineEdit& box, const FilterResult& r);

/// The sale's presenter: keys and clicks on the panels go to Sale, which drives the panels
/// through their views (SaleViews).
class SalePresenter final : public QObject {
    Q_OBJECT
  public:
    /// `prompter` null: real boxes. `print` null: no printer.
    SalePresenter(FrmVorsa& frm, Till& till, Prompter* prompter = nullptr,
                  PrintSeam* print = nullptr);
    ~SalePresenter() override;

    /// After the window's load step: the automatic-printing switch is applied once.
    void Avvia();
    Sale& vendita() { return *vendita_; }

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
    RightPanel& destro_;
    Till& till_;
    std::unique_ptr<Prompter> ownPrompter_;
    std::unique_ptr<Sale> vendita_;
    QElapsedTimer inattivo_;  // since the operator's last key or click
};

/// How long the operator must have paused before waiting sales are delivered.
inline constexpr int kPausaConsegnaMs = 1500;

}  // namespace vorsa
