#pragma once
// The printer controls of the settings panel frm_gestione(1): receipt printer, paper format,
// custom roll width, test print and the print options button. The rules are PrintSettings';
// this class owns the widgets and shows what the rules decide.
#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "printing/print_settings.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vorsa {

class Catalogue;
class Prompter;
class ReceiptPrinter;
class SettingsGateway;

class PrintPanel final : public QObject, public PrintSettingsView {
    Q_OBJECT
  public:
    /// Stores the reprint password typed in the print options dialog and puts it in force.
    using PasswordSaver = std::function<void(const std::string&)>;

    /// `printer` null: printing is not available at all (shown as no printer installed).
    /// `catalogo`: the articles the kitchen orders are assigned from; `domande` asks the
    /// operator in the print options dialog.
    PrintPanel(QFrame& panel, SettingsGateway& settings, ReceiptPrinter* printer,
               Catalogue& catalogo, Prompter& domande, PasswordSaver salvaPassword);

    ~PrintPanel() override;

    /// Fills the lists from the installed printers and the current format.
    void Carica();

    // PrintSettingsView
    void MostraStampanti(const std::vector<std::string>& nomi, const std::string& scelta,
                         bool abilitata) override;
    void MostraFormati(const std::vector<std::pair<std::string, int>>& voci, int scelto,
                       bool abilitata) override;
    void MostraLarghezza(bool abilitata, const std::string& testo, bool grigia) override;
    void MostraNessunaStampante(bool visibile) override;

  signals:
    /// A command ran: the focus goes back to the code box.
    void Fatto();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    /// Opens frmStampaPers, modal over the main window.
    void OpzioniStampa();

    QComboBox* cboStampaLista = nullptr;
    QComboBox* cboStampaFormato = nullptr;
    QLineEdit* txtLarghezzaNastro = nullptr;
    QPushButton* btnStampaTest = nullptr;
    QPushButton* cmdFormStampa = nullptr;
    QLabel* lblNessunaStampante = nullptr;
    QFrame& panel_;
    SettingsGateway& settings_;
    ReceiptPrinter* printer_;
    Catalogue& catalogo_;
    Prompter& domande_;
    PasswordSaver salvaPassword_;
    std::unique_ptr<PrintSettings> regole_;
};

}  // namespace vorsa
