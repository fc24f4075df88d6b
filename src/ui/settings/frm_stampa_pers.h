#pragma once
// The print options dialog frmStampaPers: receipt mode and copies, what a receipt shows, the
// title, footer and pickup texts, pictures, margins, paper handling and the reprint password.
// Every control writes its key through the settings gateway on click or when it loses the
// focus; there is no OK button.
#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/key_writes.h"
#include "settings/keys.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace vorsa {

class Catalogue;
class Prompter;
class InfoLabel;
class PrintGroups;
class GroupsPage;
class ReceiptPrinter;
class PreviewView;
class SettingsGateway;

class FrmStampaPers final : public QDialog {
    Q_OBJECT
  public:
    /// `printer` null: no printing at all; `catalogo` null: no articles to assign to kitchen
    /// orders; `domande` asks the operator; `salvaPassword` stores the reprint password and
    /// puts it in force.
    FrmStampaPers(SettingsGateway& settings, ReceiptPrinter* printer, Catalogue* catalogo,
                  Prompter& domande, QWidget* owner,
                  std::function<void(const std::string&)> salvaPassword);
    ~FrmStampaPers() override;

    // The file chooser and the info box, the platform's by default; tests replace them.
    std::function<QString()> scegliImmagine;
    std::function<void(const QString& title, const QString& text)> mostraInfo;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    /// The pages: receipt, kitchen orders, advanced groups, preview.
    std::array<QRadioButton*, 4> optPrnOpz{};
    std::array<QRadioButton*, 4> optStampaCumulo{};
    std::array<QLineEdit*, 2> txtStampaCopie{};
    std::array<QCheckBox*, 2> chkStampaTotale{};
    std::array<QCheckBox*, 2> chkStampaRiepilogo{};
    std::array<QCheckBox*, 5> chkStampaProgressivo{};
    std::array<QCheckBox*, 3> chkTestoUnd{};
    std::array<QLineEdit*, 2> txtStampaTitolo{};
    QLineEdit* txtStampaPiede = nullptr;
    QLineEdit* txtTestoRitiro = nullptr;
    std::array<QPushButton*, 2> pic{};
    std::array<QLabel*, 2> lblPic{};
    std::array<QLineEdit*, 2> txtPercImg{};
    std::array<QLineEdit*, 4> txtMargine{};
    QComboBox* cboGestioneCarta = nullptr;
    QLineEdit* txtPwd = nullptr;
    QPushButton* cmdChiudi = nullptr;

    // "Comande" page: the configuration chosen in cboNomeComanda.
    QComboBox* cboNomeComanda = nullptr;
    std::array<QPushButton*, 3> cmdNumComande{};
    QCheckBox* chkAbilitaComanda = nullptr;
    QComboBox* cboStampantiComanda = nullptr;
    QComboBox* cboCartaComanda = nullptr;
    QComboBox* cboCalcolaCartaComanda = nullptr;
    std::array<QLineEdit*, 4> txtMargineComanda{};
    std::array<QCheckBox*, 3> chkOpzComanda{};
    QListWidget* lstProdottiComanda = nullptr;
    std::array<QPushButton*, 2> cmdSelRimComanda{};

    struct CheckItem {
        QCheckBox* box;
        const KeyDef* key;
        Idx idx;
    };
    struct TextField {
        QLineEdit* box;
        const KeyDef* key;
        Idx idx;
        std::function<void(const std::string& stored)> dopo;
    };
    /// A master box and the boxes it enables; `azzera`: unticking it also clears them.
    struct Dependency {
        QCheckBox* master;
        std::vector<QCheckBox*> dipendenti;
        bool azzera;
    };

    /// The platform's boxes behind the hooks above.
    void DefaultBoxes();
    using InfoLabels = std::array<InfoLabel*, 19>;
    QWidget* PaginaScontrino();
    InfoLabels MakeInfoLabels(QWidget* pagina);
    QGroupBox* ModeBox(QWidget* pagina, const InfoLabels& info);
    QGroupBox* ContentBox(QWidget* pagina, const InfoLabels& info);
    /// The boxes that come in arrays, with their keys and which enables which.
    void MakeArrayChecks();
    QGroupBox* TextsBox(QWidget* pagina, const InfoLabels& info);
    QGroupBox* PicturesAndPaperBox(QWidget* pagina, const InfoLabels& info);
    void AddPicture(int i, QGroupBox* altro, QGridLayout* ga, const InfoLabels& info);
    QWidget* PaginaComande();
    QHBoxLayout* OrderChoiceRow(QWidget* pagina);
    QGroupBox* OrderPrintBox(QWidget* pagina);
    QGroupBox* OrderArticlesBox(QWidget* pagina);
    QWidget* PaginaAvanzata();
    QWidget* PreviewPage();
    /// Prints the preview's sample again after an option changed.
    void Anteprima();
    /// The configuration being edited, 1-based.
    int Comanda() const;
    void CaricaComanda();
    void ElencoProdotti();
    void ScriviProdotti();
    void NumComande(int i);
    /// The next order sheet of the configuration measures its page again.
    void RicalcolaComanda();
    void Carica();
    void Spuntata(const CheckItem& s);
    /// Enables the dependent boxes; with `scritture`, clears those a master drops and adds
    /// their writes.
    void Dipendenze(std::vector<KeyWrite>* scritture);
    void Esci(const TextField& c);
    void ClickImmagine(int i);
    void MostraImmagine(int i);
    const CheckItem* Trova(const QCheckBox* box) const;

    SettingsGateway& settings_;
    ReceiptPrinter* printer_;
    Prompter& domande_;
    Catalogue* catalogo_;
    std::unique_ptr<PrintGroups> gruppi_;
    GroupsPage* paginaGruppi_ = nullptr;
    PreviewView* vista_ = nullptr;
    bool caricando_ = false;
    std::function<void(const std::string&)> salvaPassword_;
    std::vector<CheckItem> spunte_;
    std::vector<TextField> campi_;
    std::vector<Dependency> dipendenze_;
    QStackedWidget* pagine_ = nullptr;
    std::array<QLabel*, 2> infoComande_{};
};

}  // namespace vorsa
