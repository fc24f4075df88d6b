#pragma once
// The dialog of the web pages, opened from the advanced options: its frame "Pagine web" sets
// whether the till serves them, the port and the two PINs, and lists each page's address on
// this computer's network addresses with a QR code to open it from a phone. On a secondary till
// the frame says that the main till serves them. Every field writes its key when left.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vorsa {

class SettingsGateway;

/// The pages' addresses on each of `indirizzi` at `porta`, in the order the frame lists them.
std::vector<std::string> IndirizziPagine(const std::vector<std::string>& indirizzi, int porta);

class FrmPagineWeb final : public QDialog {
    Q_OBJECT
  public:
    /// `indirizzi` lists this computer's network addresses (without the loopback).
    FrmPagineWeb(SettingsGateway& settings, std::function<std::vector<std::string>()> indirizzi,
                 QWidget* owner);

  private:
    void CreaControlli();
    void Carica();
    void MostraIndirizzi();
    void EsciPin(QLineEdit* box, bool cucina);

    SettingsGateway& settings_;
    std::function<std::vector<std::string>()> indirizzi_;
    QCheckBox* chkWeb = nullptr;
    QLineEdit* txtPortaWeb = nullptr;
    QLineEdit* txtPinCucina = nullptr;
    QLineEdit* txtPinIncassi = nullptr;
    QListWidget* lstIndirizziWeb = nullptr;
    QLabel* lblQrWeb = nullptr;
    QLabel* lblNotaWeb = nullptr;
    QPushButton* cmdChiudi = nullptr;
};

}  // namespace vorsa
