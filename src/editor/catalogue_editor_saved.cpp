// Saved catalogues of the folder Dati, the catalogue writer and the menu report.
#include <algorithm>
#include <cstdio>

#include "editor/catalogue_editor.h"
#include "editor/editor_lines.h"
#include "platform/ini_document.h"
#include "platform/text.h"
#include "settings/keys.h"

namespace vorsa {
namespace {

constexpr std::size_t kMaxValore = 511;  // what the settings reader keeps of a value
/// A saved catalogue holds a few hundred short lines; anything far larger is no catalogue.
constexpr std::size_t kMaxFileSalvato = 16u << 20;

std::string DueCifre(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

bool FineTxt(const std::string& name) {
    return name.size() > 4 && EqualsNoCase(name.substr(name.size() - 4), ".txt");
}

}  // namespace

bool CatalogueEditor::WriteCatalogue(const std::string& file) {
    auto& st = settings_.store();
    const long fallite = st.scrittureFallite();
    const std::string sep(1, opt_.gSeparatore);
    st.IniziaBlocco();
    int n = 1;
    for (const auto& z : cat_.sezioni) {
        st.CancellaChiave(z.name, "", file);
        st.ScriviIni(z.name, "# Sintassi:",
                     "Formato: [sequenza]=[nome del pezzo]" + sep + "[prezzo]" + sep + "[stato]" +
                         sep + "[stampa separata]" + sep + "[pezzi disponibili]",
                     file);
        st.ScriviIni(z.name, "# Limiti  :", "Il [nome del pezzo] deve essere al max 50 caratteri",
                     file);
        st.ScriviIni(z.name, "# Nota    :",
                     "La 'DIMENSIONE' deve essere compatibile con il numero di pezzi", file);
        st.ScriviIni(z.name, "# Esempio :",
                     "1=Panino con salamella" + sep + "2,30" + sep + "1" + sep + "1" + sep + "0" +
                         sep + "10",
                     file);
        st.ScriviIni(z.name, "DIMENSIONE", std::to_string(z.pendingSize), file);
        for (int k = 1; k <= z.size; ++k, ++n) cat_.ScriviArticolo(n, k, file, false, st, opt_);
    }
    st.ChiudiBlocco();
    return st.scrittureFallite() == fallite;
}

std::vector<std::string> CatalogueEditor::FillFileList(const std::string& folder) {
    std::vector<std::string> nomi;
    for (const auto& f : files_.ListFiles(folder, ".txt")) {
        if (FineTxt(f)) nomi.push_back(f.substr(0, f.rfind('.')));
    }
    return nomi;
}

std::string CatalogueEditor::FileSalvato(int row) const {
    if (row < 0 || row >= static_cast<int>(salvati_.size())) return {};
    return settings_.paths().gCartellaDati + "/" + salvati_[static_cast<std::size_t>(row)] + ".txt";
}

void CatalogueEditor::SaveCatalogueCopy() {
    auto& st = settings_.store();
    const std::string& cartella = settings_.paths().gCartellaDati;
    st.CreaCartella(cartella);
    const DateTime oggi = clock_.Now();
    const std::string file = cartella + "/Dati_del_" + DueCifre(oggi.day) + "-" +
                             DueCifre(oggi.month) + "-" + std::to_string(oggi.year) + ".txt";
    if (st.EsisteFile(file) &&
        !prompter_.ConfermaSiNo("Sostituzione salvataggio prodotti",
                                "Esiste gi\xE0 un salvataggio con lo stesso nome, SOSTITUIRLO "
                                "?\r\n\r\nSe si preme SI, i dati gi\xE0 presenti verranno "
                                "sostituti da quelli attuali.")) {
        return;
    }
    if (!WriteCatalogue(file)) {
        Avviso("ERRORE SALVATAGGIO", "\r\nI dati NON sono stati salvati nella cartella Dati.\r\n");
    }
    salvati_ = FillFileList(cartella);
    view_.SetSalvati(salvati_);
}

std::optional<IniDocument> CatalogueEditor::ReadSavedCatalogue(const std::string& file) {
    // Everything is checked before the data file is touched: a file that is no catalogue
    // leaves the catalogue in force as it is.
    const ReadResult letto = files_.ReadAll(file);
    if (letto.status != ReadStatus::Ok || letto.bytes.size() > kMaxFileSalvato) {
        Avviso("CARICAMENTO DATI",
               "\r\nIl file non si pu\xF2 leggere: nessun dato \xE8 stato caricato.\r\n");
        return std::nullopt;
    }
    IniDocument doc = IniDocument::Parse(letto.bytes);
    bool catalogo = false;
    for (const auto& z : cat_.sezioni) catalogo = catalogo || doc.HasSection(z.name);
    if (!catalogo) {
        Avviso("CARICAMENTO DATI",
               "\r\nIl file non contiene le sezioni MANGIARE, BERE e VARIE: nessun dato \xE8 "
               "stato caricato.\r\n");
        return std::nullopt;
    }
    return doc;
}

void CatalogueEditor::LoadSavedCatalogue() {
    const std::string file = FileSalvato(view_.SalvatoScelto());
    if (file.empty()) return;
    auto& st = settings_.store();
    const auto& paths = settings_.paths();
    const char sep = opt_.gSeparatore;

    const std::optional<IniDocument> doc = ReadSavedCatalogue(file);
    if (!doc) {
        view_.DeselezionaSalvati();
        return;
    }
    const long fallite = st.scrittureFallite();
    if (!ApriDati("Il catalogo NON \xE8 stato caricato: resta quello di prima.")) {
        view_.DeselezionaSalvati();
        return;
    }
    for (auto& z : cat_.sezioni) {
        const std::string d = Trim(doc->Get(z.name, "DIMENSIONE").value_or(""));
        if (IsInteger(d) && Val(d) >= 1 && Val(d) <= 80) z.size = static_cast<std::int16_t>(Val(d));
        z.pendingSize = z.size;
        // The loader reads the data file, so the lines go there first (in this one write).
        st.CancellaChiave(z.name, "", paths.gFileDati);
        for (int k = 1; k <= z.size; ++k) {
            std::string riga = Trim(doc->Get(z.name, std::to_string(k)).value_or(""));
            if (riga.size() > kMaxValore) riga.resize(kMaxValore);
            st.ScriviIni(z.name, std::to_string(k), RigaRiparata(riga, sep), paths.gFileDati);
        }
    }
    int totale = 0;
    for (const auto& z : cat_.sezioni) totale += z.size;
    cat_.gNumeroArticoli = totale;
    cat_.gArticoli.resize(static_cast<std::size_t>(totale) + 1);
    cat_.CaricaProdotti(st, opt_, paths);
    cat_.AssegnaComande(opt_);
    cat_.CaricaGruppi(st, opt_, paths);
    WriteCatalogue(paths.gFileDati);
    st.ChiudiTransazione();
    if (st.scrittureFallite() != fallite) {
        RicaricaDaFile();
        Avviso("ERRORE SALVATAGGIO",
               "\r\nIl catalogo NON \xE8 stato caricato: resta quello di prima.\r\n");
    }
    for (int s = 0; s < 3; ++s) MostraDimensione(s);
    view_.RidisponiGriglia();
    view_.ScegliSezione(0);
    SceltaSezione();
    view_.DeselezionaSalvati();
}

void CatalogueEditor::RenameSavedCatalogue() {
    const std::string vecchio = FileSalvato(view_.SalvatoScelto());
    if (vecchio.empty()) return;
    const auto risposta = prompter_.InputBox("Rinomina file dati",
                                             "Inserire il nuovo nome da dare ai dati [19 car.]:");
    const RenameAnswer nome = ControllaNome(risposta.value_or(""));
    if (nome.rifiutato) {
        Avviso("Errore rinomina", "Nome non valido, il file NON \xE8 stato rinominato.");
    } else if (!nome.nome.empty()) {
        const std::string nuovo = settings_.paths().gCartellaDati + "/" + nome.nome + ".txt";
        if (settings_.store().EsisteFile(nuovo)) {
            Avviso("Errore rinomina", "Nome gi\xE0 esistente, il file NON \xE8 stato rinominato.");
        } else if (!files_.Rename(vecchio, nuovo)) {
            Avviso("Errore rinomina", "Il file NON \xE8 stato rinominato.");
        }
    }
    salvati_ = FillFileList(settings_.paths().gCartellaDati);
    view_.SetSalvati(salvati_);
    view_.DeselezionaSalvati();
}

void CatalogueEditor::DeleteSavedCatalogue() {
    const int riga = view_.SalvatoScelto();
    const std::string file = FileSalvato(riga);
    if (file.empty()) return;
    if (prompter_.ConfermaSiNo("Cancella file prodotti salvati",
                               "Vuoi cancellare il file con nome: ** " +
                                   ToUpper(salvati_[static_cast<std::size_t>(riga)]) + " ** ?")) {
        settings_.store().CancellaFile(file);
        salvati_ = FillFileList(settings_.paths().gCartellaDati);
        view_.SetSalvati(salvati_);
    }
    view_.DeselezionaSalvati();
}

void CatalogueEditor::ApriSalvato() {
    const std::string file = FileSalvato(view_.SalvatoScelto());
    if (!file.empty()) settings_.store().ApriConShell(file);
}

std::string CatalogueEditor::TestoMenu() {
    const DateTime t = clock_.Now();
    std::vector<std::string> r = {"***********************", "*    INIZIO REPORT    *",
                                  "***********************", ""};
    r.push_back("Data e ora estrazione: " + std::string(NomeGiorno(t.weekday)) + " " +
                DueCifre(t.day) + "/" + DueCifre(t.month) + "/" + std::to_string(t.year) + " ore " +
                DueCifre(t.hour) + ":" + DueCifre(t.minute));
    r.insert(r.end(), {"", "Articoli nel men\xF9:", ""});
    bool alcuno = false;
    for (int n = 1; n <= cat_.gNumeroArticoli; ++n) {
        const Article& a = cat_.gArticoli[static_cast<std::size_t>(n)];
        if (a.name.empty()) continue;
        alcuno = true;
        const Currency prezzo = a.variablePrice ? Currency::FromUnits(-1) : a.price;
        std::string riga = PadDestra(a.name, 52);
        if (prezzo >= Currency{} && prezzo < Currency::FromUnits(10))
            riga += std::string("- ") + std::string(kEuro) + "  ";
        else if (prezzo >= Currency::FromUnits(10) && prezzo < Currency::FromUnits(100))
            riga += std::string("- ") + std::string(kEuro) + " ";
        riga += FormatCurrency(prezzo);
        r.push_back(riga);
    }
    if (!alcuno) r.emplace_back("   *** Non ci sono articoli ***");
    r.insert(r.end(),
             {"", "***********************", "*     FINE REPORT     *", "***********************"});
    std::string testo;
    for (const auto& riga : r) testo += riga + "\r\n";
    return testo;
}

void CatalogueEditor::WriteMenuReport() {
    const std::string& file = settings_.paths().gFileTmp;
    if (!files_.ReplaceAll(file, TestoMenu())) {
        Avviso("Men\xF9 del giorno", "\r\nIl report NON \xE8 stato scritto.\r\n");
        return;
    }
    settings_.store().ApriConShell(file);
}

}  // namespace vorsa
