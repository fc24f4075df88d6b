#pragma once
// The main window of the till. It composes the panels and applies what the core decides: the
// load and unload steps, the layout of the window and of the product buttons, the catalogue's
// painting (CatalogueView) and the panels' visibility (WindowView). The sale presenter wires
// keys and clicks to the sale rules through the panels.
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "data/catalogue.h"
#include "layout/window_layout.h"
#include "network/multi_till_refresh.h"
#include "sale/sale_view.h"
#include "sale/till.h"
#include "startup/startup.h"
#include "ui/notices/messages.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace vorsa {

class ArticleGrid;
class RightPanel;
class PaymentPanel;
class InfoLabel;

class FrmVorsa final : public QWidget, public CatalogueView, public WindowView {
    Q_OBJECT
  public:
    /// Shows an information box: parent, title, text. Replaceable so tests need no real box.
    using ShowInfo = std::function<void(QWidget*, const QString&, const QString&)>;

    /// `till` has been started by AvviaTill. Without `messaggi` notices go to the message
    /// window frmMessaggi.
    explicit FrmVorsa(Till& till, Messages* messaggi = nullptr, QWidget* parent = nullptr);
    ~FrmVorsa() override;

    /// The load step; runs once, by itself when the window is first shown.
    void Load();
    bool IsLoaded() const { return loaded_; }

    /// The window's placement as the unload step saves it.
    WindowPlacement Placement() const;

    /// Results of the last layout, in twips.
    struct Arrangement {
        int gColonne = 0;
        int gLarghezzaBottone = 0;
        int gAltezzaNecessaria = 0;
        int gLarghezzaGriglia = 15380;
    };
    const Arrangement& Layout() const { return layout_; }
    /// The window layout for the current size, as last applied.
    const WindowLayout& LayoutCorrente() const { return finestra_; }
    /// Lays the window out for its size again (as a resize does), then the buttons follow.
    void ReLayout() override { Ridimensiona(); }
    /// Lays the product buttons out for the current button area and catalogue sizes.
    void DisponiBottoni();

    /// lbl_info(i) was clicked: the "INFO POINT" box with its text.
    void MostraInfo(int i);
    void ImpostaFinestraInfo(ShowInfo f) { finestraInfo_ = std::move(f); }

    /// The panels; each owns its widgets.
    RightPanel& Destro() const { return *pannello_; }
    PaymentPanel& Pagamento() const { return *pagamento_; }
    ArticleGrid& Griglia() const { return *griglia_; }
    /// frm_gestione(kPannelloStatistica) and frm_gestione(kPannelloImpostazioni).
    QFrame& Gestione(int i) const { return *gestione_.at(static_cast<std::size_t>(i)); }
    Messages& messaggi() const { return messaggi_; }
    /// A panel is done: the operator goes on typing codes.
    void FocusCodeBox();

    // CatalogueView
    int ButtonColour(int section, int position) override;
    void SetButtonColour(int section, int position, int colour) override;
    bool ButtonEnabled(int section, int position) override;
    void SetButtonEnabled(int section, int position, bool enabled) override;
    void SetLabelsVisible(int section, int position, bool visible) override;
    void SetCodeLabel(int section, int position, const std::string& text) override;
    void SetPriceLabel(int section, int position, const PriceLabel& label) override;
    void ShowFeedback(int state) override;

    // WindowView
    void ShowPanel(int panel, bool visible) override;
    int WindowWidthTwips() override { return finestra_.larghezza; }
    void SetCaption(const std::string& text) override;
    void SetStampaCaption(const std::string& text) override;

  signals:
    /// After each tick of tmrMultivorsa: waiting sales can go to the main till.
    void Aggiornato();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    /// tmrMultivorsa runs only while this window is the active one.
    void changeEvent(QEvent* event) override;

  private:
    void CreaControlli();
    void ApplicaPosizione(const WindowPlacement& placement);
    /// The resize step: minimum size, right panel, then tmrResize.
    void Ridimensiona();
    /// tmrResize fired: buttons, then the window's top and height.
    void TimerResize();
    void Unload();
    /// tmrMultivorsa fired: the product buttons follow the shared files.
    void TimerMultivorsa();
    /// Runs tmrMultivorsa exactly when multi-till mode is on and this window is active.
    void SeguiAttivazione();

    Till& till_;
    WindowPlacement restored_;  // as read at load, to save unchanged values exactly
    std::unique_ptr<Messages> ownMessaggi_;
    Messages& messaggi_;
    bool loaded_ = false;
    bool unloaded_ = false;
    bool ridimensionando_ = false;
    Arrangement layout_;
    WindowLayout finestra_;
    ShowInfo finestraInfo_;

    QTimer* tmrResize_ = nullptr;
    QTimer* tmrMultivorsa_ = nullptr;
    MultiTillRefresh aggiornamento_;
    ArticleGrid* griglia_ = nullptr;
    RightPanel* pannello_ = nullptr;
    std::array<QFrame*, 2> gestione_{};  // frm_gestione(0) statistics, (1) settings
    PaymentPanel* pagamento_ = nullptr;  // frm_gestione(2)
};

}  // namespace vorsa
