#pragma once
// frm_gestione(0): the statistics panel that F6 shows. The running figures with their title,
// the report files, the receipt viewer with "Storno", and the password cover. The rules are
// Statistics's and SummaryFiles's; this class owns the widgets and shows what they decide.
#include <QObject>
#include <array>
#include <functional>
#include <memory>

#include "data/sales_archive.h"
#include "data/statistics.h"
#include "data/summary_files.h"
#include "printing/stampa_statistiche.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QVBoxLayout;
class QWidget;

namespace vorsa {

class HourChart;
class Till;

class StatisticsPanel final : public QObject {
    Q_OBJECT
  public:
    /// What the panel calls outside itself.
    struct Actions {
        /// ChiediPassword(6): true when accepted.
        std::function<bool()> chiediPassword;
        /// cmd_Statistica(8); null: the button stays off.
        std::function<void(const StatisticsTexts&)> stampa;
        /// cmd_Statistica(2): the same as pressing F6.
        std::function<void()> esci;
        /// txt_Pwd(6) left: stores F6's password (empty: none).
        std::function<void(const std::string&)> salvaPassword;
        /// A function key (1..7; with Shift, Ctrl or Alt) typed into the title, as in the
        /// code box.
        std::function<void(int, bool)> tastoF;
    };
    StatisticsPanel(QFrame& panel, Till& till, Actions azioni, Prompter& domande);
    ~StatisticsPanel() override;

    /// F6 opened the panel: figures, files, the last receipt and the cover.
    void Apri();
    /// MostraStatistiche with the file list.
    void MostraStatistiche();

    /// The hours' chart, as last drawn.
    const HourChart& Grafico() const { return *grafico; }
    QTabWidget* schede() const { return schede_; }

    Statistics& regole() { return regole_; }
    SummaryFiles& file() { return file_; }

  signals:
    /// A command ran: the focus goes back to the code box.
    void Fatto();
    /// lbl_info(8), beside F6's password, was clicked.
    void InfoPremuta(int i);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The summary tab, row by row, then the tills' tab and the signals.
    void TitleRow(QVBoxLayout* v);
    void TotalsRows(QVBoxLayout* v);
    void CommandRow(QVBoxLayout* v);
    void ReceiptViewer(QVBoxLayout* v);
    void ReportFiles(QVBoxLayout* v);
    QWidget* TillsPage();
    void ConnectSignals();
    void Comando(int i);
    void Svuota();
    void SalvaRiepilogo();
    void RinominaRiepilogo();
    void CancellaRiepilogo();
    void ElencoFile();
    void CambioNumero(const QString& testo);
    void MostraVista(const ReceiptView& v);
    void PulisciVista();
    void Storno(bool spuntato);
    void MostraArchivio();
    std::string Selezionato() const;

    QLabel* lblTitolo = nullptr;
    QListWidget* lstStatistica = nullptr;
    QLabel* lblTotaleIncasso = nullptr;
    QLabel* lblTotaleScontrini = nullptr;
    std::array<QLabel*, 2> lblStatUltIns{};
    QLineEdit* txtStatCommento = nullptr;
    QLineEdit* txtPwd = nullptr;  // txt_Pwd(6)
    std::array<QPushButton*, 9> cmdStatistica{};
    QListWidget* lstFileRiepilogo = nullptr;
    QLineEdit* txtNumeroScontrino = nullptr;
    QCheckBox* chkScontrinoStorno = nullptr;
    QListWidget* lstScontrini = nullptr;
    QLabel* lblTotaleScontriniStornati = nullptr;
    std::array<QLabel*, 7> lblScontrini{};
    // Beyond the figures: one line per till, the hours, and the export.
    QListWidget* lstCasse = nullptr;
    QPushButton* cmdSalvaGrafico = nullptr;
    QPushButton* cmdEsportaCsv = nullptr;
    HourChart* grafico = nullptr;
    QFrame& panel_;
    Till& till_;
    Actions azioni_;
    Prompter& domande_;
    Statistics regole_;
    SummaryFiles file_;
    QTabWidget* schede_ = nullptr;  // "Riepilogo" and "Casse e orari"
    QWidget* contenuto_ = nullptr;
};

}  // namespace vorsa
