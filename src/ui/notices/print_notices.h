#pragma once
// Printer trouble in the message window: the notices of the bill's slips, the poll that
// follows their jobs, and the kitchen orders offered again. The spooler is asked on a worker
// thread (libcups can wait seconds on a spooler that does not answer); its answers come back
// to the window's thread as queued calls. Never modal for a notice alone: the till goes on
// selling while a printer is put right.
#include <QObject>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "printing/print_watch.h"
#include "ui/notices/cups_worker.h"

class QTimer;

namespace vorsa {

class Messages;

class PrintNotices final : public QObject, public PrintObserver {
    Q_OBJECT
  public:
    /// Makes the reader used on the worker thread (libcups keeps its connection per thread).
    using StatesReader = std::function<std::unique_ptr<PrinterStates>()>;
    /// A kitchen order that did not come out, offered again until it is printed or a later
    /// bill makes it stale.
    struct Offer {
        PrintNotice avviso;
        Sheet foglio;
        std::optional<bool> pronta;  // its printer as last seen (not yet: unset)
    };

    /// How a kitchen order that did not come out is printed again.
    struct Reprint {
        /// Prints a kitchen order of the last bill again, marked as a copy.
        std::function<bool(int comanda)> comanda;
        /// The receipt number of the last bill (unset: offers never go stale).
        std::function<std::int32_t()> contoAttuale;
    };

    /// Polls the followed jobs every `intervalloMs`; offers a reprint through `ristampa`.
    PrintNotices(Messages& messaggi, StatesReader crea, Reprint ristampa, int intervalloMs = 1000,
                 QObject* parent = nullptr);
    /// Notices only: nothing is offered for reprint.
    PrintNotices(Messages& messaggi, StatesReader crea, int intervalloMs = 1000,
                 QObject* parent = nullptr);
    ~PrintNotices() override;

    /// Return at once: the checks run on the worker, their notices come later.
    void PrimaDiStampare(const std::vector<Sheet>& fogli) override;
    void DopoAverStampato() override;

    /// The hint under a notice: how to print the slip again, when it is offered.
    static QString Suggerimento(const PrintNotice& a, const Sheet& f);

    /// The offers still open, stale ones dropped.
    const std::vector<Offer>& Offerte();
    /// Shows the first open offer again (the operator asked for it).
    void Riproponi();
    /// Whether the worker still follows jobs, as of its last answer.
    bool Seguendo() const { return seguendo_; }

  signals:
    /// The worker answered (a check, a poll).
    void Risposto();

  private:
    struct Worker;
    /// Runs `lavoro` on the worker with its reader and follower.
    void AlLavoratore(std::function<void(Worker&)> lavoro);
    void Giro();
    void Avvisa(const PrintNotice& a, const Sheet& f);
    void Offri(Sheet f, const QString& hint);
    /// The printer of an offer answered "Ristampa" for: printed if it is back.
    void Verificata(const Sheet& f, const PrinterState& s);

    Messages& messaggi_;
    StatesReader crea_;
    Reprint ristampa_;
    std::unique_ptr<Worker> lavoratore_;  // touched on the worker thread only
    QTimer* timer_ = nullptr;
    bool occupato_ = false;
    bool seguendo_ = false;
    bool offrendo_ = false;
    std::vector<Offer> offerte_;
    CupsWorker worker_;  // last: stopped and joined before what its jobs use goes
};

}  // namespace vorsa
