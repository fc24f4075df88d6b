#pragma once
// The advanced options dialog frmOpzioniAvanzate: till prefix, product button grid, stock
// threshold and remaining pieces. Every field writes its key through the settings gateway as
// soon as the operator leaves it; there is no OK or Cancel. The multi-till frame is shown but
// not yet wired.
#include <QDialog>
#include <array>
#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vorsa {

struct KeyDef;
class SettingsGateway;

/// The number a field's text begins with, as the button fields read it: its absolute value
/// rounded half to even; a text that is no number gives 0.
int NumeroCampo(const std::string& text);

class FrmOpzioniAvanzate final : public QDialog {
    Q_OBJECT
  public:
    /// `applicato` runs after every write with the key written, so the till follows at once.
    FrmOpzioniAvanzate(SettingsGateway& settings, QWidget* owner,
                       std::function<void(const KeyDef&)> applicato);
    ~FrmOpzioniAvanzate() override;

    /// Shows a help text; the default is an information box titled "INFO POINT".
    std::function<void(const QString& title, const QString& text)> mostraInfo;

    QLineEdit* txtVorsa = nullptr;
    std::array<QLineEdit*, 5> txtPulsanti{};
    QPushButton* cmdPulsantiDefault = nullptr;
    QLineEdit* txtSogliaPredefinita = nullptr;
    std::array<QRadioButton*, 2> optTipoSoglia{};
    QCheckBox* chkRimanenza = nullptr;
    QPushButton* cmdChiudi = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    /// A text field, its key and the entry rule that makes the stored text of the typed one.
    struct CampoTesto {
        QLineEdit* box;
        const KeyDef* key;
        std::function<std::string(const std::string&)> regola;
        std::function<void()> dopo;  // in-memory limit applied after the write
    };

    void CreaControlli();
    void Carica();
    void Esci(const CampoTesto& c);
    void Scrivi(const KeyDef& key, const std::string& value);
    void Predefiniti();

    SettingsGateway& settings_;
    std::function<void(const KeyDef&)> applicato_;
    std::vector<CampoTesto> campi_;
    QButtonGroup* gruppoSoglia_ = nullptr;
};

}  // namespace vorsa
