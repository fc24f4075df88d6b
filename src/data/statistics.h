#pragma once
// The sales statistics panel's rules: what the panel shows of the running figures, emptying
// them, the title, and the receipt viewer with its voids. Texts are Windows-1252.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/catalogue.h"
#include "platform/currency.h"
#include "platform/prompter.h"
#include "platform/system.h"

namespace vorsa {

class SettingsGateway;

/// "#,##0": 1234 -> "1.234".
std::string FormatMigliaia(long long n);

/// One list line with its item data (article index or code).
struct ListRow {
    std::string testo;
    int dato = 0;
};

/// What the statistics side of the panel shows.
struct Summary {
    std::string data;  // lbl_stat_ult_ins(0), "dd/MM/yyyy"
    std::string ora;   // lbl_stat_ult_ins(1), "hh:mm"
    std::string commento;
    std::vector<ListRow> righe;  // lst_statistica, item data = article index
    std::string totale;          // lbl_totale_incasso
    std::string scontrini;       // lblTotaleScontrini
    bool comandi = false;        // cmd_Statistica(0), (1) and (8)
};

/// One line of lst_statistica: "Nr. " + pieces in 4 + " " + name in 47 + " - Tot. €:" + amount.
std::string RigaStatistica(std::string_view nome, std::int32_t quantita, Currency importo);

/// The lines as a list shows them: the blanks before " - Tot. " that every line has (the names
/// are padded to the longest possible) are dropped, and names that still make a line longer
/// than `massimo` characters are cut ("..") so that a readable font fits the list. The totals
/// still line up; files and printouts keep the full lines.
std::vector<std::string> RigheStrette(const std::vector<std::string>& righe,
                                      std::size_t massimo = std::string::npos);

/// An item of the receipt shown, as the void applies it. `index` is -1 for a code that no
/// longer lies in the catalogue.
struct ViewItem {
    int index = -1;
    int code = 0;
    int quantity = 0;
    Currency amount;
};

/// What the receipt viewer shows.
struct ReceiptView {
    int numero = 0;
    bool esiste = false;
    std::array<std::string, 7> etichette;  // lblScontrini(0..6)
    std::vector<ListRow> righe;            // lst_Scontrini, item data = code
    std::vector<ViewItem> voci;
    std::string stornati = "0";  // lblTotaleScontriniStornati
    bool storno = false;         // chkScontrinoStorno ticked
    bool stornoAbilitato = true;
    bool rosso = false;  // lst_Scontrini light red: a voided receipt
};

/// How the void list changes when the operator sets receipt `n` to voided (`storno`) or not,
/// and what the statistics must do: -1 void, +1 take the void back, 0 nothing.
struct VoidTransition {
    std::string lista;
    int segno = 0;
};
/// Only real changes act: voiding a receipt already voided, or taking back one that is not
/// voided or voided for good, leaves the list as it is and applies nothing.
VoidTransition CambiaStorni(std::string_view lista, std::int32_t n, bool storno, char separatore);

/// The key filter of txt_Numero_Scontrino.
enum class NumberKey { Passa, Scarta, Uno };
/// `vuoto`: the box holds no text once the selection is replaced.
NumberKey FiltroNumeroScontrino(int key, bool vuoto);

/// What the pieces of the statistics panel need of the till.
struct StatisticsParts {
    Catalogue& cat;
    const Options& opt;
    SettingsGateway& settings;
    std::int32_t& gNumeroScontrino;
};

class Statistics {
  public:
    explicit Statistics(StatisticsParts parti) : p_(parti) {}

    /// The panel from the file and the in-memory figures (articles re-read between tills).
    Summary MostraStatistiche();
    /// cmd_Statistica(0): asks when there is something to empty; Yes deletes statistics,
    /// archive and void list in one write. True when they were emptied.
    bool Svuota(Prompter& domande);
    /// txt_Stat_Commento lost the focus.
    void SalvaCommento(std::string_view testo);

    /// txt_Numero_Scontrino changed to `testo`: the text the box must take instead (it runs
    /// the change again), or nullopt when `mostra` is the receipt to show (0: none).
    struct NumberResult {
        std::optional<std::string> testo;
        int mostra = 0;
    };
    NumberResult CambioNumero(std::string_view testo);

    ReceiptView MostraScontrino(int n);

    /// "Storno" ticked or unticked on receipt `n`: the void list, the statistics of every line
    /// and the stock change together. The viewer shows what the file now holds; `salvato` is
    /// false when the change could not be written (nothing changed then).
    struct VoidResult {
        ReceiptView vista;
        bool salvato = true;
    };
    VoidResult CambiaStorno(int n, bool spuntato);

  private:
    void RileggiNumero();
    void ApplicaScontrino(const std::vector<ViewItem>& voci, int segno);
    void RicaricaArticolo(int index);

    StatisticsParts p_;
};

}  // namespace vorsa
