#pragma once
// The state of the printers the till uses and of the jobs it sent, behind a seam, and the rules
// that turn it into the notice the operator sees. Texts are Windows-1252.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorsa {

/// Sconosciuta: the spooler could not be asked (not running, not answering).
enum class QueueState { Pronta, InStampa, Ferma, Assente, Sconosciuta };

struct PrinterState {
    QueueState stato = QueueState::Assente;
    bool accetta = false;
    /// The spooler's state reasons as it gives them ("media-empty-error", "offline-report").
    std::vector<std::string> motivi;
};

/// What became of a job. NonInviato: nothing was handed to the spooler yet.
enum class JobResult { NonInviato, InCorso, Completato, Annullato, Interrotto, Fermato };

/// Reads printer and job state from the spooler. Calls are short: the window polls them.
class PrinterStates {
  public:
    virtual ~PrinterStates() = default;
    virtual PrinterState Stato(const std::string& stampante) = 0;
    /// Highest id of the printer's jobs created before second `primaDi` (Unix time; 0: none).
    /// The till's next jobs on it are those above: taken by time, a job already sent when this
    /// is asked still counts as the till's.
    virtual int UltimoLavoro(const std::string& stampante, std::int64_t primaDi) = 0;
    /// Ids of the printer's jobs above `dopo`, oldest first.
    virtual std::vector<int> LavoriDopo(const std::string& stampante, int dopo) = 0;
    virtual JobResult Esito(int lavoro) = 0;
};

/// A notice about one slip on one printer.
struct PrintNotice {
    std::string titolo;
    std::string testo;
    /// The slip did not come out and will not by itself: offer to print it again once the
    /// printer is back.
    bool offriRistampa = false;
};

/// The notice for slip `foglio` ("Scontrino", "Comanda Cucina") on `stampante`, before its job
/// (NonInviato) or after; none while all is well or once the spooler completed the job.
std::optional<PrintNotice> RegolaAvviso(const std::string& stampante, const std::string& foglio,
                                        const PrinterState& stato, JobResult esito);

/// The state reasons an operator can act on, in Italian; the rest as the spooler names them.
std::string MotiviLeggibili(const std::vector<std::string>& motivi);

/// The slip's name in a notice: "Scontrino", or "Comanda <nome>".
std::string NomeFoglio(int comanda, const std::string& nomeComanda);

/// Ready green, printing amber, stopped, missing or refusing red; grey while the spooler
/// cannot be asked, rather than a guess.
enum class Light { Verde, Ambra, Rossa, Grigia };
Light SpiaDi(const PrinterState& stato);

}  // namespace vorsa
