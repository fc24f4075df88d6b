#pragma once
// The printer controls of the settings panel frm_gestione(1): receipt printer, paper format,
// custom roll width, test print and the print options button.
#include <QObject>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vorsa {

class ReceiptPrinter;
class SettingsGateway;

class PannelloStampa final : public QObject {
    Q_OBJECT
  public:
    /// `printer` null: printing is not available at all (shown as no printer installed).
    PannelloStampa(QFrame& panel, SettingsGateway& settings, ReceiptPrinter* printer);

    /// Fills the lists from the installed printers and the current format.
    void Carica();

    QComboBox* cboStampaLista = nullptr;
    QComboBox* cboStampaFormato = nullptr;
    QLineEdit* txtLarghezzaNastro = nullptr;
    QPushButton* btnStampaTest = nullptr;
    QPushButton* cmdFormStampa = nullptr;
    QLabel* lblNessunaStampante = nullptr;

  signals:
    /// A command ran: the focus goes back to the code box.
    void Fatto();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormatoScelto(int row);
    void StampanteScelta(int row);
    void LarghezzaConfermata();
    void AggiornaLarghezza();

    SettingsGateway& settings_;
    ReceiptPrinter* printer_;
};

}  // namespace vorsa
