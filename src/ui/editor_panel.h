#pragma once
// The catalogue editor on the settings panel frm_gestione(1): sections, articles, the size of
// the product grid and the saved catalogues. The rules are CatalogueEditor's; this class owns
// the widgets, shows what the rules decide and forwards the function keys to the sale.
#include <QObject>
#include <array>
#include <memory>

#include "editor/catalogue_editor.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vorsa {

class FrmVorsa;
struct KeyDef;
struct NetworkOptions;
class Till;
class Sale;

class EditorPanel final : public QObject, public EditorView {
    Q_OBJECT
  public:
    /// `rete`: the network services of the advanced options' multi-till frame; without them
    /// the frame is shown inert.
    EditorPanel(FrmVorsa& frm, Till& till, Sale& vendita, Prompter& prompter,
                const NetworkOptions* rete = nullptr);
    ~EditorPanel() override;

    CatalogueEditor& regole() { return *regole_; }

    // EditorView
    void SetVociSezioni(const std::vector<std::string>& items) override;
    int SezioneScelta() override;
    void ScegliSezione(int index) override;
    void SetElenco(const std::vector<std::string>& lines) override;
    int RigaScelta() override;
    void ScegliRiga(int row) override;
    std::string Campo(int i) override;
    void SetCampo(int i, const std::string& text) override;
    bool Attivo() override;
    void SetAttivo(bool on) override;
    void AbilitaCampi(bool on) override;
    void SetDimensione(int section, const std::string& caption, int fore, int back) override;
    void AbilitaComandoB(int i, bool on) override;
    void SetCaptionB(int i, const std::string& caption) override;
    void SetSalvati(const std::vector<std::string>& names) override;
    int SalvatoScelto() override;
    void DeselezionaSalvati() override;
    void RidisponiGriglia() override;
    void AggiornaBottoni() override;

  signals:
    /// A command ran and the focus went back to the code box.
    void Fatto();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreaControlli();
    // The panel's parts, top to bottom; CommandRows returns the title below them.
    void SavedCataloguesColumn();
    void SectionsRow();
    void ArticleList();
    void ArticleFields();
    QLabel* CommandRows();
    void Collega();
    void Apri();
    void ComandoGestione(int i);
    /// After a command the focus goes back to box_Codice.
    void Ritorna();
    void TabellonePdf();
    /// Opens frmOpzioniAvanzate, modal over the main window.
    void OpzioniAvanzate();
    /// The till follows an option the dialog has just written.
    void Applicato(const KeyDef& key);
    void MostraSoglia();

    std::array<QLabel*, 3> lblNewDim{};
    std::array<QLineEdit*, 4> txtProdottoNew{};
    std::array<QLabel*, 2> lblSoglia{};
    QCheckBox* chkProdottoStato = nullptr;
    std::array<QPushButton*, 7> cmdGestione{};
    std::array<QPushButton*, 7> cmdGestioneB{};
    QComboBox* cboSezioni = nullptr;
    QListWidget* lstProdottiElenco = nullptr;
    QListWidget* lstProdottiSalvati = nullptr;
    /// The menu board as a PDF for posting at the stand, opened with the desktop's viewer.
    QPushButton* cmdMenuPdf = nullptr;
    QPushButton* cmdOpzioniAvanzate = nullptr;
    QLineEdit* txtPwd = nullptr;  // txt_Pwd(7)
    FrmVorsa& frm_;
    Till& till_;
    Sale& vendita_;
    const NetworkOptions* rete_;
    QFrame& panel_;
    std::unique_ptr<CatalogueEditor> regole_;
    bool impostando_ = false;  // the rules set a selection: no click handler runs
};

}  // namespace vorsa
