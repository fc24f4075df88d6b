#pragma once
// The catalogue editor of the settings panel frm_gestione(1): sections, articles, stock, the
// size of the product grid, test data, and the saved catalogues of the folder Dati. Every
// change is written to the data file before the panel shows it; a change of several keys is
// one write of the file.
#include <optional>
#include <string>
#include <vector>

#include "data/catalogue.h"
#include "platform/file_access.h"
#include "platform/ini_document.h"
#include "platform/prompter.h"
#include "platform/system.h"
#include "settings/settings_gateway.h"

namespace vorsa {

/// Items of cbo_Sezioni after the three sections.
inline constexpr int kVoceSeparatore = 3;  // "---------"
inline constexpr int kVoceMonete = 4;      // "MONETE"

/// Colours of lbl_NewDim; kColoreTestoFinestra is the system window-text colour.
inline constexpr int kColoreTestoFinestra = -2;
inline constexpr int kBianco = 0xFFFFFF;
inline constexpr int kGialloChiaro = 0xFFFFC0;
inline constexpr int kVerdeScuro = 0x008000;
inline constexpr int kRossoDimensione = 0xC00000;

/// What the rules show on the panel; the Qt panel implements it, tests script it.
class EditorView {
  public:
    virtual ~EditorView() = default;
    virtual void SetVociSezioni(const std::vector<std::string>& items) = 0;
    /// cbo_Sezioni index, -1 when none.
    virtual int SezioneScelta() = 0;
    /// Sets the cbo_Sezioni index without raising its click.
    virtual void ScegliSezione(int index) = 0;
    virtual void SetElenco(const std::vector<std::string>& lines) = 0;
    virtual int RigaScelta() = 0;
    /// Selects a row of lst_Prodotti_Elenco without raising its click; -1 deselects.
    virtual void ScegliRiga(int row) = 0;
    virtual std::string Campo(int i) = 0;
    virtual void SetCampo(int i, const std::string& text) = 0;
    virtual bool Attivo() = 0;
    virtual void SetAttivo(bool on) = 0;
    /// txt_Prodotto_New(0..3) and chk_Prodotto_Stato.
    virtual void AbilitaCampi(bool on) = 0;
    virtual void SetDimensione(int section, const std::string& caption, int fore, int back) = 0;
    virtual void AbilitaComandoB(int i, bool on) = 0;
    virtual void SetCaptionB(int i, const std::string& caption) = 0;
    virtual void SetSalvati(const std::vector<std::string>& names) = 0;
    virtual int SalvatoScelto() = 0;
    virtual void DeselezionaSalvati() = 0;
    /// The main window re-lays its product buttons out after the table changed.
    virtual void RidisponiGriglia() = 0;
    /// Captions, prices and states of the product buttons follow an edited article.
    virtual void AggiornaBottoni() = 0;
};

/// What the editor works on.
struct EditorParts {
    Catalogue& cat;
    Options& opt;
    SettingsGateway& settings;
    FileAccess& files;
    Clock& clock;
    Prompter& prompter;
};

class CatalogueEditor {
  public:
    CatalogueEditor(EditorParts parts, EditorView& view);

    // The panel (handlers of frm_Vorsa).
    void OpenCatalogueEditor();
    void SceltaSezione();  // cbo_Sezioni_Click
    void ClickDimensione(int section);
    void ClickElenco();  // lst_Prodotti_Elenco_Click
    /// txt_Prodotto_New_GotFocus: the price field drops a lone "0" for typing.
    void EntraCampo(int i);
    void EsceCampo(int i);
    void SaveArticle();
    void ToggleSeparatePrint();
    void ComandoB(int i);  // cmd_Gestione_B_Click
    void DeleteArticleRow();
    void DeleteSectionRows();
    void ApplyGridSize();
    /// cmd_Gestione_B(5): applies the sizes the operator set; `libero`: no receipt on record,
    /// so the grid may shrink too.
    void ApplySizes(bool libero);
    void LoadTestData();
    void ClearArticleFields();

    /// A saved catalogue read and checked before the data file is touched; nullopt, with the
    /// operator told, for a file that is no catalogue (the one in force stays as it is).
    std::optional<IniDocument> ReadSavedCatalogue(const std::string& file);
    // Saved catalogues.
    /// Writes the three sections of the catalogue into `file` with one write; false when the
    /// write failed.
    bool WriteCatalogue(const std::string& file);
    /// Names of the "*.txt" files of a folder, without the extension.
    std::vector<std::string> FillFileList(const std::string& folder);
    void SaveCatalogueCopy();
    void LoadSavedCatalogue();
    void RenameSavedCatalogue();
    void DeleteSavedCatalogue();
    /// Double click on lst_Prodotti_Salvati.
    void ApriSalvato();
    void WriteMenuReport();
    /// The text of the menu report as written to the temporary file.
    std::string TestoMenu();

    /// Receipts on record (STATISTICHE/SCONTRINI): destructive commands are locked while
    /// there are any.
    long long NumeroScontrini();
    /// Global position shown in list row `row`, 0 when none.
    int PosizioneRiga(int row) const;
    const std::vector<std::string>& Salvati() const { return salvati_; }

  private:
    void MostraDimensione(int s);
    void Avviso(const std::string& title, const std::string& text);
    /// The catalogue in memory again as the data file holds it (after a failed write).
    void RicaricaDaFile();
    /// Starts a catalogue change as a transaction on the data file, as a sale is; false, with
    /// the operator told `fallito`, when this till cannot have the file now.
    bool ApriDati(const std::string& fallito);
    std::string FileSalvato(int row) const;

    Catalogue& cat_;
    Options& opt_;
    SettingsGateway& settings_;
    FileAccess& files_;
    Clock& clock_;
    Prompter& prompter_;
    EditorView& view_;
    int ultimaSezione_ = -1;
    std::vector<int> posizioni_;  // item data of lst_Prodotti_Elenco
    std::vector<std::string> salvati_;
};

}  // namespace vorsa
