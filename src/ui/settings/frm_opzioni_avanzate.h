#pragma once
// The advanced options dialog frmOpzioniAvanzate: till prefix, product button grid, stock
// threshold, remaining pieces and the multi-till frame. Every field writes its key through the
// settings gateway as soon as the operator leaves it; there is no OK or Cancel. The multi-till
// frame applies what the rules of network/multi_till_options decide.
#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "network/multi_till_options.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace vorsa {

struct KeyDef;
class InfoLabel;
class Messages;
class SettingsGateway;

/// What the multi-till frame needs besides the settings; without it the frame stays inert.
struct NetworkOptions {
    TillShare& share;
    Messages& messaggi;
    /// This run works with other tills' files (main till, or secondary on the main's file).
    bool sessioneCondivisa = false;
};

/// The number a field's text begins with, as the button fields read it: its absolute value
/// rounded half to even; a text that is no number gives 0.
int NumeroCampo(const std::string& text);

class FrmOpzioniAvanzate final : public QDialog, private MultiTillView {
    Q_OBJECT
  public:
    /// `applicato` runs after every write with the key written, so the till follows at once.
    FrmOpzioniAvanzate(SettingsGateway& settings, QWidget* owner,
                       std::function<void(const KeyDef&)> applicato,
                       const NetworkOptions* rete = nullptr);
    ~FrmOpzioniAvanzate() override;

    /// Shows a help text; the default is an information box titled "INFO POINT".
    std::function<void(const QString& title, const QString& text)> mostraInfo;
    /// Shows an error; the default is a message box with the critical-error icon.
    std::function<void(const QString& title, const QString& text)> mostraErrore;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QLineEdit* txtVorsa = nullptr;
    std::array<QLineEdit*, 5> txtPulsanti{};
    QPushButton* cmdPulsantiDefault = nullptr;
    QLineEdit* txtSogliaPredefinita = nullptr;
    std::array<QRadioButton*, 2> optTipoSoglia{};
    QCheckBox* chkRimanenza = nullptr;
    QPushButton* cmdChiudi = nullptr;
    QPushButton* cmdPagineWeb = nullptr;

    // The multi-till frame.
    QCheckBox* chkMulti = nullptr;
    QLabel* lblSceltaMulti = nullptr;
    std::array<QRadioButton*, 2> optVorsaPrinc{};  // (1) main till, (0) secondary
    QLineEdit* txtNomeVorsa = nullptr;
    QLineEdit* txtPasswordMulti = nullptr;
    QLabel* lblSenzaPassword = nullptr;
    std::array<QWidget*, 2> frmOpt{};
    QLabel* lblNomePostazione = nullptr;
    QListWidget* lstIpAddress = nullptr;
    QLineEdit* txtVorsaRemota = nullptr;
    QLabel* lblVerifica = nullptr;

    /// A text field, its key and the entry rule that makes the stored text of the typed one.
    struct TextField {
        QLineEdit* box;
        const KeyDef* key;
        std::function<std::string(const std::string&)> regola;
        std::function<void()> dopo;  // in-memory limit applied after the write
    };

    using InfoLabels = std::array<InfoLabel*, 10>;
    void CreaControlli();
    InfoLabels MakeInfoLabels();
    QGroupBox* ButtonsBox(const InfoLabels& info);
    QGroupBox* ThresholdBox(const InfoLabels& info);
    QGroupBox* OtherOptionsBox(const InfoLabels& info);
    /// The text fields: the key each writes and the rule that makes the stored text.
    void TextFieldRules();
    void CreaRiquadroMulti(QWidget* multi, const InfoLabels& info);
    /// The main till's frame (frmOpt(1)) and the secondary's (frmOpt(0)).
    QGroupBox* MainTillBox(QWidget* multi, const InfoLabels& info);
    QGroupBox* SecondaryTillBox(QWidget* multi, const InfoLabels& info);
    void ConnectMulti();
    void Carica();
    /// txtVorsaRemota's key filter; true when the key is discarded.
    bool ScartaTastoRemoto(QEvent* event);

    // MultiTillView
    void Mostra(const MultiTillFrame& r) override;
    void Avvisa(const MultiOptionsNotice& a) override;
    void Esci(const TextField& c);
    void Scrivi(const KeyDef& key, const std::string& value);
    void Predefiniti();

    SettingsGateway& settings_;
    std::function<void(const KeyDef&)> applicato_;
    std::vector<TextField> campi_;
    QButtonGroup* gruppoSoglia_ = nullptr;
    Messages* messaggi_ = nullptr;
    TillShare* share_ = nullptr;
    std::unique_ptr<MultiTillOptions> multi_;
    bool verificando_ = false;  // the check of the main till runs
};

}  // namespace vorsa
