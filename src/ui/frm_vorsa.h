#pragma once
// The main window of the till. It applies what the core decides: the load and unload steps,
// and the catalogue's painting through CatalogueView.
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "app/core/startup.h"
#include "sale/catalogue.h"
#include "ui/messaggi.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace vorsa {

class FrmVorsa final : public QWidget, public CatalogueView {
    Q_OBJECT
public:
    /// `till` has been started by AvviaTill. Without `messaggi` notices go to message boxes.
    explicit FrmVorsa(Till& till, Messaggi* messaggi = nullptr, QWidget* parent = nullptr);
    ~FrmVorsa() override;

    /// The load step; runs once, by itself when the window is first shown.
    void Load();
    bool IsLoaded() const { return loaded_; }

    /// The window's placement as the unload step saves it.
    WindowPlacement Placement() const;

    // CatalogueView
    int ButtonColour(int section, int position) override;
    void SetButtonColour(int section, int position, int colour) override;
    bool ButtonEnabled(int section, int position) override;
    void SetButtonEnabled(int section, int position, bool enabled) override;
    void SetLabelsVisible(int section, int position, bool visible) override;
    void SetCodeLabel(int section, int position, const std::string& text) override;
    void ShowFeedback(int state) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    /// One product cell: the button and its two labels.
    struct Prodotto {
        QPushButton* button = nullptr;
        QLabel* code = nullptr;
        QLabel* price = nullptr;
        int colour = kColoreBottone;
    };

    void CreaControlli();
    void CaricaProdotti();
    void ApplicaPosizione(const WindowPlacement& placement);
    void Unload();
    Prodotto* Cella(int section, int position);

    Till& till_;
    WindowPlacement restored_;  // as read at load, to save unchanged values exactly
    std::unique_ptr<Messaggi> ownMessaggi_;
    Messaggi& messaggi_;
    bool loaded_ = false;
    bool unloaded_ = false;

    QTimer* tmrInput_ = nullptr;
    QTimer* tmrMultivorsa_ = nullptr;
    QTimer* tmrResize_ = nullptr;
    std::array<QLabel*, 5> lblConfCode_{};
    QWidget* frmGestione_ = nullptr;
    QLabel* lblTotale_ = nullptr;
    QLabel* lblResto_ = nullptr;
    QLabel* lblUltimoScontrino_ = nullptr;
    QListWidget* lstSpesa_ = nullptr;
    QLineEdit* boxCodice_ = nullptr;
    std::array<QPushButton*, kNumeroAzioni + 1> cmdAzioni_{};  // 1..7
    std::array<QLabel*, kNumeroAzioni + 1> lblAzioniCode_{};   // 1..7
    std::array<QPushButton*, 10> cmdSoldi_{};
    std::array<QLabel*, 10> lblSoldi_{};
    std::array<std::vector<Prodotto>, 3> prodotti_;  // index position - 1
};

}  // namespace vorsa
