#pragma once
// Follows the slips of a bill from before their jobs until the spooler is done with them, and
// says when one did not come out.
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "printing/printer_states.h"

namespace vorsa {

/// One slip of a bill: the receipt printing (comanda 0) or kitchen order k.
struct Sheet {
    std::string stampante;
    std::string nome;  // "Scontrino", "Comanda Cucina"
    int comanda = 0;
    /// The receipt number of the bill it belongs to: a later bill makes it stale.
    std::int32_t conto = 0;
    friend bool operator==(const Sheet&, const Sheet&) = default;
};

/// What the printing tells around a bill's jobs. The window's version answers at once and asks
/// the spooler on a worker thread.
class PrintObserver {
  public:
    virtual ~PrintObserver() = default;
    /// Just before the slips' jobs are handed to the spooler.
    virtual void PrimaDiStampare(const std::vector<Sheet>& fogli) = 0;
    /// Just after.
    virtual void DopoAverStampato() = 0;
};

/// Asks the spooler in the caller's thread: every call waits for it.
class PrintWatch final : public PrintObserver {
  public:
    using Notify = std::function<void(const PrintNotice&, const Sheet&)>;
    /// Unix seconds, as the spooler stamps its jobs.
    using TimeSource = std::function<std::int64_t()>;
    /// Jobs still unfinished after this many polls are no longer followed.
    static constexpr int kGiriMassimi = 20;

    PrintWatch(PrinterStates& stato, Notify avvisa, TimeSource adesso = {});

    /// Before the jobs: a notice for each slip whose printer is missing, stopped, refusing
    /// jobs or cannot be asked; the jobs the printers held before second `prima` remembered.
    void PrimaDiStampare(const std::vector<Sheet>& fogli, std::int64_t prima);
    void PrimaDiStampare(const std::vector<Sheet>& fogli) override;
    /// After the jobs: the printers' new jobs are followed, in the order the slips were sent.
    void DopoAverStampato() override;
    /// One poll: a notice for each followed job the spooler aborted, cancelled or stopped.
    void Segui();
    bool Seguendo() const { return !lavori_.empty(); }

  private:
    struct Tracked {
        int id = 0;
        Sheet foglio;
        int giri = 0;
    };
    PrinterStates& stato_;
    Notify avvisa_;
    TimeSource adesso_;
    std::vector<Sheet> fogli_;  // sent and not already told about
    std::map<std::string, int> ultimi_;
    std::set<int> visti_;  // jobs already given to a bill's slips
    std::vector<Tracked> lavori_;
};

}  // namespace vorsa
