#include "editor/catalogue_editor.h"

#include <algorithm>
#include <utility>

#include "editor/editor_lines.h"
#include "platform/text.h"
#include "settings/keys.h"

namespace vorsa {
namespace {

constexpr int kMinDimensione = 1;
constexpr int kMaxDimensione = 80;
constexpr const char* kTitoloCancella = "Cancellazione prodotti";

std::int16_t Int16(long long v) {
    return static_cast<std::int16_t>(std::clamp<long long>(v, -32768, 32767));
}

}  // namespace

CatalogueEditor::CatalogueEditor(EditorParts parts, EditorView& view)
    : cat_(parts.cat),
      opt_(parts.opt),
      settings_(parts.settings),
      files_(parts.files),
      clock_(parts.clock),
      prompter_(parts.prompter),
      view_(view) {}

long long CatalogueEditor::NumeroScontrini() {
    return Val(settings_.Read(keys::StatScontrini, {}, true));
}

int CatalogueEditor::PosizioneRiga(int row) const {
    if (row < 0 || row >= static_cast<int>(posizioni_.size())) return 0;
    return posizioni_[static_cast<std::size_t>(row)];
}

void CatalogueEditor::Avviso(const std::string& title, const std::string& text) {
    prompter_.MostraMessaggio(title, text, "", true, "", "OK", true, 0);
}

void CatalogueEditor::MostraDimensione(int s) {
    const Sezione& z = cat_.sezioni[static_cast<std::size_t>(s)];
    int fore = kColoreTestoFinestra;
    if (z.pendingSize > z.size) fore = kVerdeScuro;
    if (z.pendingSize < z.size) fore = kRossoDimensione;
    const int back = s == view_.SezioneScelta() ? kGialloChiaro : kBianco;
    view_.SetDimensione(s, CaptionDimensione(z.pendingSize, z.size), fore, back);
}

void CatalogueEditor::OpenCatalogueEditor() {
    view_.SetVociSezioni({});
    ClearArticleFields();
    const bool libero = NumeroScontrini() == 0;
    for (int i = 0; i <= 6; ++i) view_.AbilitaComandoB(i, libero);
    view_.AbilitaComandoB(3, true);  // with sales on record the grid may still grow
    view_.AbilitaComandoB(5, true);
    view_.SetCaptionB(1, "Cancella tutte le righe di...");
    std::vector<std::string> voci;
    for (const auto& z : cat_.sezioni) voci.push_back(z.name);
    voci.emplace_back("---------");
    voci.emplace_back("MONETE");
    view_.SetVociSezioni(voci);
    salvati_ = FillFileList(settings_.paths().gCartellaDati);
    view_.SetSalvati(salvati_);
    view_.ScegliSezione(0);
    SceltaSezione();
}

void CatalogueEditor::SceltaSezione() {
    ClearArticleFields();
    const int scelta = view_.SezioneScelta();
    int riga = -1;
    if (scelta == ultimaSezione_)
        riga = view_.RigaScelta();
    else
        ultimaSezione_ = scelta;
    posizioni_.clear();
    std::vector<std::string> righe;
    if (scelta >= 0 && scelta <= 2) {
        for (int s = 0; s < 3; ++s) MostraDimensione(s);
        view_.AbilitaCampi(true);
        const int primo = cat_.PrimoIndice(scelta);
        const int ultimo = primo + cat_.sezioni[static_cast<std::size_t>(scelta)].size - 1;
        const auto& paths = settings_.paths();
        for (int p = primo; p <= ultimo; ++p) {
            int usati = cat_.gArticoli[static_cast<std::size_t>(p)].quantity;
            if (opt_.gMultiVorsa) {
                // Pieces held by every till, as the lock file has them now. No repaint: the
                // product buttons stay locked while the panel is open.
                cat_.AggiornaArticolo(p, settings_.store(), opt_, paths, nullptr);
                usati = cat_.gArticoli[static_cast<std::size_t>(p)].sharedCount;
            }
            righe.push_back(RigaElenco(cat_.gArticoli[static_cast<std::size_t>(p)], usati));
            posizioni_.push_back(p);
        }
        view_.SetElenco(righe);
        if (riga >= 0 && !righe.empty())
            view_.ScegliRiga(std::min(riga, static_cast<int>(righe.size()) - 1));
        view_.SetCaptionB(
            1, "Cancella tutte le righe di " + cat_.sezioni[static_cast<std::size_t>(scelta)].name);
        return;
    }
    view_.AbilitaCampi(false);
    if (scelta == kVoceMonete) righe = RigheMonete(opt_);
    view_.SetElenco(righe);
}

void CatalogueEditor::ClickDimensione(int section) {
    view_.ScegliSezione(section);
    SceltaSezione();
}

void CatalogueEditor::ClickElenco() {
    ClearArticleFields();
    const int scelta = view_.SezioneScelta();
    if (scelta < 0 || scelta > 2) {
        view_.ScegliRiga(-1);
        return;
    }
    const int p = PosizioneRiga(view_.RigaScelta());
    if (p == 0) return;
    if (opt_.gMultiVorsa)
        cat_.AggiornaArticolo(p, settings_.store(), opt_, settings_.paths(), nullptr);
    const Article& a = cat_.gArticoli[static_cast<std::size_t>(p)];
    view_.SetCampo(0, a.name);
    view_.SetCampo(1, a.variablePrice ? "?" : FormatCurrencyShort(a.price));
    view_.SetCampo(2, std::to_string(a.pieces));
    view_.SetCampo(3, std::to_string(a.threshold));
    view_.SetAttivo(a.active);
}

void CatalogueEditor::EntraCampo(int i) {
    if (i == 1 && view_.Campo(1) == "0") view_.SetCampo(1, "");
}

void CatalogueEditor::EsceCampo(int i) {
    if (i < 0 || i > 3 || view_.RigaScelta() < 0) return;
    ArticleFieldValues campi;
    for (int k = 0; k < 4; ++k) campi[static_cast<std::size_t>(k)] = view_.Campo(k);
    if (i == 2) {
        if (const std::optional<std::string> c = PezziCorretti(campi[2])) {
            Avviso("Pezzi disponibili", "\"" + Trim(campi[2]) +
                                            "\" non \xE8 un numero di pezzi da -1 a 32767: \xE8 "
                                            "stato scritto " +
                                            *c + ".");
            campi[2] = *c;
        }
    }
    const bool separatore = NormalizzaCampo(i, campi, opt_);
    view_.SetCampo(i, campi[static_cast<std::size_t>(i)]);
    if (i == 2) view_.SetCampo(3, campi[3]);
    if (separatore) {
        Avviso("Nome prodotto", std::string("Il carattere \"") + opt_.gSeparatore +
                                    "\" separa i campi del prodotto e non pu\xF2 stare nel nome: "
                                    "\xE8 stato sostituito da uno spazio.");
    }
}

void CatalogueEditor::SaveArticle() {
    const int riga = view_.RigaScelta();
    const int p = PosizioneRiga(riga);
    if (p == 0) return;
    const std::string nome = NomeSicuro(view_.Campo(0), opt_.gSeparatore);
    if (!nome.empty()) {
        auto& st = settings_.store();
        // Between tills the line stays locked from before the change until it is written.
        const bool bloccato = opt_.gMultiVorsa && cat_.BloccaArticolo(p, st);
        Article& a = cat_.gArticoli[static_cast<std::size_t>(p)];
        a.name = nome;
        const std::string prezzo = Trim(view_.Campo(1));
        if (prezzo.empty()) {
            a.price = Currency{};
            a.pieces = 0;
            a.referencePieces = 0;
        } else {
            a.price = prezzo == "?" ? Currency::FromUnits(-1)
                                    : ParseCurrency(prezzo).value_or(Currency{});
            a.variablePrice = a.price == Currency::FromUnits(-1);
            a.pieces = Int16(Val(Trim(view_.Campo(2))));
            a.referencePieces = a.pieces;
            a.threshold = Int16(Val(Trim(view_.Campo(3))));
        }
        a.active = view_.Attivo();
        // The print group stays: a price change must not take the article out of its group.
        // Without advanced printing the group follows the separate-print flag, as at start-up.
        if (!opt_.gStampaAvanzata)
            a.printGroup = a.separatePrint ? 0 : static_cast<std::int16_t>(a.section + 1);
        cat_.ScriviArticolo(p, riga + 1, settings_.paths().gFileDati, bloccato, st, opt_);
        view_.AggiornaBottoni();
    }
    ClearArticleFields();
    SceltaSezione();
}

void CatalogueEditor::ToggleSeparatePrint() {
    const int p = PosizioneRiga(view_.RigaScelta());
    if (p == 0) return;
    Article& a = cat_.gArticoli[static_cast<std::size_t>(p)];
    // Without a name the save writes nothing, so the flag must not change in memory either.
    if (a.active && !Trim(view_.Campo(0)).empty()) {
        a.separatePrint = !a.separatePrint;
        SaveArticle();
    }
    SceltaSezione();
}

void CatalogueEditor::DeleteArticleRow() {
    const int riga = view_.RigaScelta();
    const int p = PosizioneRiga(riga);
    if (p == 0) return;
    Article& a = cat_.gArticoli[static_cast<std::size_t>(p)];
    a.name.clear();
    a.price = Currency{};
    a.variablePrice = false;
    a.active = false;
    a.separatePrint = false;
    a.pieces = -1;
    a.referencePieces = -1;
    a.threshold = 0;
    a.printGroup = 0;
    a.kitchenOrder = 0;
    settings_.Write(keys::Articolo, "",
                    Idx(cat_.sezioni[static_cast<std::size_t>(a.section)].name, riga + 1));
    view_.AggiornaBottoni();
    ClearArticleFields();
    SceltaSezione();
}

void CatalogueEditor::RicaricaDaFile() {
    auto& st = settings_.store();
    const auto& paths = settings_.paths();
    cat_.CaricaDimensioni(st, paths.gFileDati);
    cat_.CaricaProdotti(st, opt_, paths);
    cat_.AssegnaComande(opt_);
    cat_.CaricaGruppi(st, opt_, paths);
}

bool CatalogueEditor::ApriDati(const std::string& fallito) {
    if (settings_.store().IniziaTransazione(settings_.paths().gFileDati) ==
        SettingsStore::TransactionResult::Ok)
        return true;
    Avviso("ERRORE SALVATAGGIO", "\r\n" + fallito + "\r\n");
    return false;
}

void CatalogueEditor::DeleteSectionRows() {
    const int s = view_.SezioneScelta();
    if (s < 0 || s > 2) return;
    auto& st = settings_.store();
    const long fallite = st.scrittureFallite();
    const auto& paths = settings_.paths();
    const Sezione& z = cat_.sezioni[static_cast<std::size_t>(s)];
    if (!ApriDati("La sezione NON \xE8 stata cancellata.")) return;
    for (int n = 1; n <= z.size; ++n) settings_.Write(keys::Articolo, "", Idx(z.name, n));
    cat_.CaricaProdotti(st, opt_, paths);
    cat_.AssegnaComande(opt_);
    cat_.CaricaGruppi(st, opt_, paths);
    st.ChiudiTransazione();
    if (st.scrittureFallite() != fallite) {
        RicaricaDaFile();
        Avviso("ERRORE SALVATAGGIO", "\r\nLa sezione NON \xE8 stata cancellata.\r\n");
    }
    view_.AggiornaBottoni();
    ClearArticleFields();
    SceltaSezione();
}

void CatalogueEditor::ComandoB(int i) {
    const int s = view_.SezioneScelta();
    if (s < 0 || s > 2) return;
    const bool libero = NumeroScontrini() == 0;
    const bool distruttivo = i == 0 || i == 1 || i == 2 || i == 4 || i == 6;
    if (distruttivo && !libero) return;  // locked while receipts are on record
    const std::string& nome = cat_.sezioni[static_cast<std::size_t>(s)].name;
    Sezione& z = cat_.sezioni[static_cast<std::size_t>(s)];
    switch (i) {
        case 0:
            if (prompter_.ConfermaSiNo(kTitoloCancella,
                                       "La riga evidenziata verr\xE0 cancellata.  Procedere?"))
                DeleteArticleRow();
            break;
        case 1:
            if (prompter_.ConfermaSiNo(
                    kTitoloCancella, "La sezione *" + nome + "* verr\xE0 cancellata.  Procedere?"))
                DeleteSectionRows();
            break;
        case 2:
            if (view_.SalvatoScelto() < 0) break;
            if (prompter_.ConfermaSiNo(
                    kTitoloCancella,
                    "Tutti i dati attuali verranno sostituiti.\r\nNota: Per non perderli, prima di "
                    "procedere, salvarli con i tasti appositi.\r\n\r\nProcedere con il "
                    "caricamento?"))
                LoadSavedCatalogue();
            break;
        case 3:
        case 4: {
            const int nuovo = z.pendingSize + (i == 3 ? 1 : -1);
            z.pendingSize =
                static_cast<std::int16_t>(std::clamp(nuovo, kMinDimensione, kMaxDimensione));
            MostraDimensione(s);
            break;
        }
        case 5:
            ApplySizes(libero);
            break;
        case 6:
            if (prompter_.ConfermaSiNo(
                    "Inserimento dati di test",
                    "Tutti i dati attuali verranno rimpiazzati da dati di test.\r\nNota: Per non "
                    "perdere ci\xF2 che \xE8 stato inserito, prima di procedere, salvare con i "
                    "tasti appositi.\r\n\r\nProcedere con la sostituzione?"))
                LoadTestData();
            break;
        default:
            break;
    }
}

void CatalogueEditor::ApplySizes(bool libero) {
    int verso = 0;
    for (const auto& x : cat_.sezioni) {
        if (x.pendingSize < x.size) {
            verso = -1;
            break;
        }
        if (x.pendingSize > x.size) verso = 1;
    }
    if (verso < 0 && !libero) {
        // Sales on record name articles by their codes: the grid may only grow.
        Avviso("Ridimensionamento griglia prodotti",
               "\r\nCon scontrini registrati la griglia pu\xF2 solo crescere: nessuna "
               "modifica \xE8 stata applicata.");
    } else if (verso < 0) {
        if (prompter_.ConfermaSiNo("Ridimensionamento griglia prodotti",
                                   "La riduzione comporta la cancellazione dei dati "
                                   "eccedenti.  Procedere con il ridimensionamento?"))
            ApplyGridSize();
    } else if (verso > 0) {
        ApplyGridSize();
    }
    if (opt_.gMultiVorsa) {
        prompter_.MostraMessaggio("GRIGLIA PRODOTTI",
                                  " Al fine di rendere operative le modifiche introdotte, "
                                  "chiudere e riaprire le altre vorse",
                                  "", true, "", "OK", true, 0);
    }
}

void CatalogueEditor::ApplyGridSize() {
    auto& st = settings_.store();
    const long fallite = st.scrittureFallite();
    int totale = 0;
    for (const auto& z : cat_.sezioni) totale += z.pendingSize;
    std::vector<Article> nuovi(static_cast<std::size_t>(totale) + 1);
    nuovi[0] = cat_.gArticoli[0];
    std::size_t n = 0;
    std::size_t vecchio = 0;
    if (!ApriDati("La nuova griglia NON \xE8 stata salvata: resta quella di prima.")) return;
    for (std::int16_t s = 0; s < 3; ++s) {
        const Sezione& z = cat_.sezioni[static_cast<std::size_t>(s)];
        for (std::int16_t k = 1; k <= z.pendingSize; ++k) {
            ++n;
            if (k <= z.size) {
                nuovi[n] = cat_.gArticoli[++vecchio];
                continue;
            }
            Article a;
            a.pieces = 0;
            a.referencePieces = 0;
            a.code = static_cast<std::int16_t>(z.codeBase + k);
            a.position = k;
            a.section = s;
            a.listIndex = -1;
            nuovi[n] = a;
        }
        if (z.size > z.pendingSize) {
            for (int k = z.pendingSize + 1; k <= z.size; ++k)
                settings_.Delete(keys::Articolo, Idx(z.name, k));
            vecchio += static_cast<std::size_t>(z.size - z.pendingSize);
        }
    }
    cat_.gArticoli = std::move(nuovi);
    cat_.gNumeroArticoli = totale;
    for (auto& z : cat_.sezioni) {
        z.size = z.pendingSize;
        settings_.Write(keys::Dimensione, std::to_string(z.size), Idx(z.name));
    }
    // Other tills may have sold since this one last read: the lines go back with the stock the
    // file holds now, not the stock this till last saw.
    if (opt_.gMultiVorsa)
        for (int i = 1; i <= cat_.gNumeroArticoli; ++i)
            cat_.AggiornaArticolo(i, st, opt_, settings_.paths(), nullptr);
    WriteCatalogue(settings_.paths().gFileDati);
    st.ChiudiTransazione();
    if (st.scrittureFallite() != fallite) {
        RicaricaDaFile();
        Avviso("ERRORE SALVATAGGIO",
               "\r\nLa nuova griglia NON \xE8 stata salvata: resta quella di prima.\r\n");
    }
    for (int s = 0; s < 3; ++s)
        view_.SetDimensione(s, CaptionDimensione(cat_.sezioni[s].size, cat_.sezioni[s].size),
                            kColoreTestoFinestra, kBianco);
    view_.ScegliSezione(0);
    SceltaSezione();
    view_.RidisponiGriglia();
}

void CatalogueEditor::LoadTestData() {
    auto& st = settings_.store();
    const long fallite = st.scrittureFallite();
    Paths prova = settings_.paths();
    prova.gFileDati = settings_.paths().gFileTmp;
    const std::string sep(1, opt_.gSeparatore);
    if (!ApriDati("I dati di test NON sono stati salvati.")) return;
    for (std::size_t s = 0; s < 3; ++s) {
        const Sezione& z = cat_.sezioni[s];
        const std::string prezzo =
            FormatCurrencyShort(Currency::FromRaw(11300 + static_cast<std::int64_t>(s) * 100));
        for (int k = 1; k <= z.size; ++k) {
            st.ScriviIni(z.name, std::to_string(k),
                         "Prodotto " + z.name + " " + std::to_string(k) + " test" + sep + prezzo +
                             sep + "1" + sep + "0" + sep + "20" + sep,
                         prova.gFileDati);
        }
    }
    cat_.CaricaProdotti(st, opt_, prova);
    cat_.AssegnaComande(opt_);
    cat_.CaricaGruppi(st, opt_, settings_.paths());
    WriteCatalogue(settings_.paths().gFileDati);
    st.ChiudiTransazione();
    if (st.scrittureFallite() != fallite) {
        RicaricaDaFile();
        Avviso("ERRORE SALVATAGGIO", "\r\nI dati di test NON sono stati salvati.\r\n");
    }
    view_.AggiornaBottoni();
    view_.ScegliSezione(0);
    SceltaSezione();
    view_.DeselezionaSalvati();
}

void CatalogueEditor::ClearArticleFields() {
    for (int i = 0; i < 4; ++i) view_.SetCampo(i, "");
    view_.SetAttivo(false);
}

}  // namespace vorsa
