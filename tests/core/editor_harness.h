#pragma once
// A till with the catalogue editor over a scripted panel.
#include <array>
#include <string>
#include <vector>

#include "editor/catalogue_editor.h"
#include "platform/ini_document.h"
#include "sale_harness.h"

namespace vorsa::test {

/// Records what the rules show on the settings panel.
class ScriptedEditorView : public EditorView {
  public:
    struct Dimensione {
        std::string caption;
        int fore = 0, back = 0;
    };
    std::vector<std::string> voci, elenco, salvati;
    int sezione = -1, riga = -1, salvato = -1, ridisposizioni = 0, aggiornamenti = 0;
    std::array<std::string, 4> campi;
    bool attivo = false, campiAbilitati = true;
    std::array<Dimensione, 3> dimensioni;
    std::array<bool, 7> comandiB{};
    std::array<std::string, 7> captionB;

    void SetVociSezioni(const std::vector<std::string>& items) override {
        voci = items;
        sezione = -1;
    }
    int SezioneScelta() override { return sezione; }
    void ScegliSezione(int index) override { sezione = index; }
    void SetElenco(const std::vector<std::string>& lines) override {
        elenco = lines;
        riga = -1;
    }
    int RigaScelta() override { return riga; }
    void ScegliRiga(int row) override { riga = row; }
    std::string Campo(int i) override { return campi[static_cast<std::size_t>(i)]; }
    void SetCampo(int i, const std::string& text) override {
        campi[static_cast<std::size_t>(i)] = text;
    }
    bool Attivo() override { return attivo; }
    void SetAttivo(bool on) override { attivo = on; }
    void AbilitaCampi(bool on) override { campiAbilitati = on; }
    void SetDimensione(int s, const std::string& caption, int fore, int back) override {
        dimensioni[static_cast<std::size_t>(s)] = {caption, fore, back};
    }
    void AbilitaComandoB(int i, bool on) override { comandiB[static_cast<std::size_t>(i)] = on; }
    void SetCaptionB(int i, const std::string& c) override {
        captionB[static_cast<std::size_t>(i)] = c;
    }
    void SetSalvati(const std::vector<std::string>& names) override {
        salvati = names;
        salvato = -1;
    }
    int SalvatoScelto() override { return salvato; }
    void DeselezionaSalvati() override { salvato = -1; }
    void RidisponiGriglia() override { ++ridisposizioni; }
    void AggiornaBottoni() override { ++aggiornamenti; }
};

/// One till with its editor; several share `files` like tills on one data file.
struct CassaEditor {
    explicit CassaEditor(FileAccess& files, const std::string& ini,
                         const std::string& user = "cassiere", const std::string& folder = "/p")
        : cassa(files, ini, user, folder),
          editor(EditorParts{cassa.till->cat, cassa.till->opt, cassa.till->settings, files,
                             cassa.clock, cassa.prompter},
                 view) {}

    /// F7 opened the panel and the operator picked section `s`, row `row` (0-based).
    void Scegli(int s, int row = -1) {
        view.ScegliSezione(s);
        editor.SceltaSezione();
        if (row >= 0) {
            view.ScegliRiga(row);
            editor.ClickElenco();
        }
    }
    std::string Dati() { return cassa.files.ReadAll(cassa.till->paths.gFileDati).bytes; }
    /// The catalogue sections as the data file ends with them.
    std::string Catalogo() {
        const std::string d = Dati();
        const auto at = d.find("[MANGIARE]");
        return at == std::string::npos ? std::string() : d.substr(at);
    }
    std::string Line(const char* section, int k) { return cassa.Dati(section, std::to_string(k)); }
    /// Lines 1..n of a section joined by "|".
    std::string Righe(const char* section, int n) {
        std::string s = Line(section, 1);
        for (int k = 2; k <= n; ++k) s += "|" + Line(section, k);
        return s;
    }
    Catalogue& cat() { return cassa.till->cat; }

    Cassa cassa;
    ScriptedEditorView view;
    CatalogueEditor editor;
};

/// A data file without its three catalogue sections: what a catalogue change must keep.
inline std::string SenzaCatalogo(const std::string& bytes) {
    IniDocument d = IniDocument::Parse(bytes);
    for (const char* s : {"MANGIARE", "BERE", "VARIE"}) d.DeleteSection(s);
    return d.Serialize();
}

/// One catalogue section as WriteCatalogue writes it: the four note lines with ";" first.
inline std::string Sezione(const char* name, int dim, const std::vector<std::string>& lines) {
    std::string s = std::string("[") + name +
                    "]\r\n# Sintassi:=Formato: [sequenza]=[nome del pezzo];[prezzo];[stato];"
                    "[stampa separata];[pezzi disponibili]\r\n"
                    "# Limiti  :=Il [nome del pezzo] deve essere al max 50 caratteri\r\n"
                    "# Nota    :=La 'DIMENSIONE' deve essere compatibile con il numero di pezzi\r\n"
                    "# Esempio :=1=Panino con salamella;2,30;1;1;0;10\r\nDIMENSIONE=" +
                    std::to_string(dim) + "\r\n";
    for (std::size_t k = 0; k < lines.size(); ++k)
        s += std::to_string(k + 1) + "=" + lines[k] + "\r\n";
    return s;
}

/// Advanced printing keeps the print groups the lines give.
inline const char* kMenu =
    "[STAMPA AVANZATA]\r\nGRUPPI=Cucina-4;Bar-5\r\n"
    "[MANGIARE]\r\nDIMENSIONE=3\r\n1=Panino;2,3;1;0;50;4;50;10\r\n"
    "2=Bibita grande;12,5;1;1;-1;5;-1;0\r\n3=\r\n"
    "[BERE]\r\nDIMENSIONE=2\r\n1=Acqua;1;0;0;-1;5;-1;0\r\n2=\r\n"
    "[VARIE]\r\nDIMENSIONE=1\r\n1=\r\n";

/// A till alone on its files, its editor's panel open.
struct Pannello {
    explicit Pannello(const std::string& ini = kMenu) : t(files, ini) {
        t.editor.OpenCatalogueEditor();
    }
    MemoryFileAccess files;
    CassaEditor t;
};

}  // namespace vorsa::test
