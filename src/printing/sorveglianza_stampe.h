#pragma once
// Follows the slips of a bill from before their jobs until the spooler is done with them, and
// says when one did not come out.
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "printing/stato_stampanti.h"

namespace vorsa {

/// One slip of a bill: the receipt printing (comanda 0) or kitchen order k.
struct Foglio {
    std::string stampante;
    std::string nome;  // "Scontrino", "Comanda Cucina"
    int comanda = 0;
    /// The receipt number of the bill it belongs to: a later bill makes it stale.
    std::int32_t conto = 0;
    friend bool operator==(const Foglio&, const Foglio&) = default;
};

/// What the printing tells around a bill's jobs. The window's version answers at once and asks
/// the spooler on a worker thread.
class OsservaStampe {
  public:
    virtual ~OsservaStampe() = default;
    /// Just before the slips' jobs are handed to the spooler.
    virtual void PrimaDiStampare(const std::vector<Foglio>& fogli) = 0;
    /// Just after.
    virtual void DopoAverStampato() = 0;
};

/// Asks the spooler in the caller's thread: every call waits for it.
class SorveglianzaStampe final : public OsservaStampe {
  public:
    using Avvisa = std::function<void(const AvvisoStampa&, const Foglio&)>;
    /// Unix seconds, as the spooler stamps its jobs.
    using Orologio = std::function<std::int64_t()>;
    /// Jobs still unfinished after this many polls are no longer followed.
    static constexpr int kGiriMassimi = 20;

    SorveglianzaStampe(StatoStampanti& stato, Avvisa avvisa, Orologio adesso = {});

    /// Before the jobs: a notice for each slip whose printer is missing, stopped, refusing
    /// jobs or cannot be asked; the jobs the printers held before second `prima` remembered.
    void PrimaDiStampare(const std::vector<Foglio>& fogli, std::int64_t prima);
    void PrimaDiStampare(const std::vector<Foglio>& fogli) override;
    /// After the jobs: the printers' new jobs are followed, in the order the slips were sent.
    void DopoAverStampato() override;
    /// One poll: a notice for each followed job the spooler aborted, cancelled or stopped.
    void Segui();
    bool Seguendo() const { return !lavori_.empty(); }

  private:
    struct Seguito {
        int id = 0;
        Foglio foglio;
        int giri = 0;
    };
    StatoStampanti& stato_;
    Avvisa avvisa_;
    Orologio adesso_;
    std::vector<Foglio> fogli_;  // sent and not already told about
    std::map<std::string, int> ultimi_;
    std::set<int> visti_;  // jobs already given to a bill's slips
    std::vector<Seguito> lavori_;
};

}  // namespace vorsa
