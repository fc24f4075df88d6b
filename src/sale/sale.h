#pragma once
// The sale: code entry, the current bill, payment, the function keys and the commit. The only
// place that changes the till's sale state; the main window forwards its events here.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/catalogue.h"
#include "data/records.h"
#include "sale/actions.h"
#include "sale/bill.h"
#include "sale/pending_sales.h"
#include "sale/sale_view.h"
#include "settings/settings_gateway.h"

namespace vorsa {

/// What a complete text in the code box stands for.
struct ParsedCode {
    enum class Kind { Nessuno, Articolo, Funzione, Moneta, Piu, Meno, Errore };
    Kind tipo = Kind::Nessuno;
    int valore = 0;  // section of an article, number of a function, digit of a coin
};

/// Interprets the text of the code box: "101" -> article of section 0, "F4" -> function 4,
/// "S3" -> coin 3, "+"/"-" -> quantity step, "F8"/"115" -> error; incomplete -> nothing.
ParsedCode InterpretaCodice(std::string_view text, const Catalogue& cat);

/// Character filter of the code box: the character to type, or 0 to refuse it.
char FiltroCodice(char ch, bool boxEmpty);

/// Key filter of the amount box. `text` and `caret` describe the box before the key.
struct FilterResult {
    char key = 0;                           // the character to type; 0 swallows it
    std::optional<std::string> nuovoTesto;  // replaces the text (caret at the end)
};
FilterResult FiltroImporto(char key, std::string_view text, int caret);

/// Whether keys through FiltroImporto could have typed `text` into an empty box; a paste or a
/// drop that could not is refused. "?" (a price asked at every sale) is allowed too.
bool ImportoDigitabile(std::string_view text);

/// Change shown for `pagato` typed against `totale`: "7,50", or "0,00" when paid is not more.
/// Nullopt when the display keeps its caption (empty text).
std::optional<std::string> CalcolaResto(std::string_view pagato, Currency totale);

/// Amount box after adding a coin: "" + 0,5 -> "0,5"; "10" + 0,5 -> "10,5".
std::string AggiungiMoneta(std::string_view pagato, Currency moneta);

/// Amount box after a keypad key 0..9, 10 (","), 11 ("Cancella").
std::string TastoCalcolatrice(std::string_view pagato, int tasto);

/// A bill line: quantity | name | amount, in the narrow or wide layout.
std::string RigaConto(const Article& a, bool wide);

/// What the sale works on, each piece by itself; Till::PartiVendita() assembles it.
struct SaleParts {
    Catalogue& cat;
    Options& opt;
    SettingsGateway& settings;
    Azioni& azioni;
    Bill& conto;
    Clock& clock;
    Sleeper& sleeper;
    const std::string& titolo;  // caption of the main window
    PendingSales& attesa;
};

/// A shared counter of held pieces as read from the lock file: missing or negative is 0.
long long ContatoreCondiviso(const std::optional<std::string>& testo);

/// Multi-till: the pieces this till holds in the shared counters (MULTIVORSA-TMP), as
/// (article index, pieces); those of a bill and those a failed give-back left.
std::vector<std::pair<int, long long>> PezziTenutiQui(SettingsGateway& settings);

/// Multi-till: gives back (article index, pieces) to the shared counters of held pieces (never
/// below 0), all in one locked write of the lock file, and clears this till's own record of
/// them. False when the lock file could not be written.
bool RestituisciPezzi(SettingsGateway& settings,
                      const std::vector<std::pair<int, long long>>& pezzi);

class Sale {
  public:
    Sale(SaleParts parts, SaleViews views, Prompter& prompter, PrintSeam* print = nullptr);

    // Code entry.
    void CambioCodice(const std::string& text);
    /// Key down in the code box, after the window emptied a code still shown.
    enum class KeyKind { Altro, F, Su, Giu, Sinistra, Destra };
    void TastoGiu(KeyKind tasto, int fNumber, bool modifier);
    /// Text a click on an article button or on cmd_azioni(n) puts into the code box.
    std::string CodiceArticolo(int section, int position) const;

    // The bill.
    void AggiungiArticolo(int section, std::string_view codeText);
    void AggiornaRigaConto(int index);
    void NuovoConto();

    // Payment.
    /// Key press in the amount box; returns the character to type (0 to swallow) and maybe a
    /// new text for the box.
    FilterResult TastoPagato(char key, std::string_view text, int caret);
    void CambioPagato(const std::string& text);
    void ClickMoneta(int n);
    void ClickCalcolatrice(int tasto);

    // Function keys.
    void EseguiAzione(int n);
    bool ChiediPassword(int n);
    void PasswordSaver(int n, std::string_view text);
    void ImpostaStampaAutomatica(bool on);
    bool StatoAzione(int n) const { return azioni_[n].stato; }
    bool AbilitataAzione(int n) const { return azioni_[n].enabled; }

    // Commit.
    /// False when the sale could not be written to the data file: then nothing of it was.
    bool RegistraScontrino();
    /// Why the last RegistraScontrino failed, as the hint of the operator's message.
    const std::string& MotivoErrore() const { return motivo_; }

    // Sales waiting for the shared data file (multi-till).
    /// Delivers the waiting sales, oldest first, in one transaction: how many went in, or -1
    /// when the shared file could not be had (they all wait on).
    int ConsegnaInAttesa();
    /// Shows how many sales wait ("" when none).
    void MostraInAttesa();
    /// A main till tells its operator of pieces sold beyond the stock while a till was away.
    void AvvisaScortaSuperata();
    /// After a refresh tick: between bills, delivers the waiting sales and gives back held
    /// pieces a failed give-back left; a main till tells of stock exceeded.
    void DopoAggiornamento();

  private:
    // One handler per function key switched on, and the steps of switching one off.
    void Paga();
    void Cancella();
    void Storno();
    void Commit();
    void Ristampa();
    void Statistica();
    void Impostazioni();
    void Spegni(int n);
    void SequenzaCommit();
    bool ApriTransazioneDati();
    // The steps of RegistraScontrino for the articles `venduti` (their indices).
    /// The lock entries that tills of earlier versions wait on.
    std::vector<SettingsStore::SectionKey> LockKeys(const std::vector<int>& venduti) const;
    /// Inside the transaction: the last receipt number when the sale may go in; nullopt,
    /// with the transaction cancelled and the reason set, when it may not.
    std::optional<long long> LastNumberIfSellable(const std::vector<int>& venduti);
    /// Writes receipt `ultimo` + 1 with its statistics, stock and archive record.
    void WriteSale(const std::vector<int>& venduti, long long ultimo);
    /// After a write that did not reach the file: counter, statistics and stock as it holds.
    void RestoreFromFile(const std::vector<int>& venduti);
    std::optional<PendingSale> Accoda();
    /// Delivers one line of a waiting sale: its statistics and the stock the file holds; the
    /// pieces sold beyond that stock are added to `oltre` by code.
    void DeliverLine(const ArchivedReceipt::Item& voce, std::map<int, long long>& oltre);
    /// A piece and the shared counter: counted, refused (none free), not reached (the lock
    /// file is away), or not counted at all (unlimited article, single till).
    enum class Presa { Presa, Rifiutata, Irraggiungibile, NonContata };
    void AbilitaCommit();
    void MostraErrore();
    Presa AggiornaCondiviso(int index, int delta);
    void StatoDopoPasso(int index, int n, const char* segno);
    /// Pieces of article `index` counted as taken: this bill's on a single till, else the
    /// shared counter as read now (never fewer than this bill holds).
    int ReadSharedCount(int index);
    /// Asks the price of a variable-price article until one above 0 is typed; false on Cancel.
    bool AskPrice(Article& a);
    void ImpostaBottoni(int n, bool acceso);

    Catalogue& cat_;
    Options& opt_;
    SettingsGateway& settings_;
    Azioni& azioni_;
    Bill& conto_;
    Clock& clock_;
    Sleeper& sleeper_;
    const std::string& titolo_;
    SaleViews view_;
    Prompter& prompter_;
    PrintSeam* print_;
    PendingSales& attesa_;
    bool inAttesaF_ = false;
    bool inAttesaS_ = false;
    std::string motivo_;
    bool rifiutata_ = false;  // the last commit was refused by a rule, not by the network
};

/// The line shown while sales wait: "3 vendite in attesa di invio"; "" for none.
std::string TestoInAttesa(std::size_t quante);

inline constexpr int kAltezzaAzione = 435;
inline constexpr int kAltezzaAzionePagamento = 950;
inline constexpr int kColoreTastoAttivo = 0x800000;
inline constexpr int kColoreTastoSpento = 0xC0C0C0;

}  // namespace vorsa
