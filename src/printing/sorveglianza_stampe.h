#pragma once
// Follows the slips of a bill from before their jobs until the spooler is done with them, and
// says when one did not come out. Polled by the window: every call is short.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "printing/stato_stampanti.h"

namespace vorsa {

/// One slip of a bill: the receipt printing (comanda 0) or kitchen order k.
struct Foglio {
    std::string stampante;
    std::string nome;  // "Scontrino", "Comanda Cucina"
    int comanda = 0;
    friend bool operator==(const Foglio&, const Foglio&) = default;
};

class SorveglianzaStampe {
  public:
    using Avvisa = std::function<void(const AvvisoStampa&, const Foglio&)>;
    /// Jobs still unfinished after this many polls are no longer followed.
    static constexpr int kGiriMassimi = 20;

    SorveglianzaStampe(StatoStampanti& stato, Avvisa avvisa);

    /// Before the jobs: a notice for each slip whose printer is missing, stopped or refusing
    /// jobs, and each printer's last job remembered.
    void PrimaDiStampare(const std::vector<Foglio>& fogli);
    /// After the jobs: the printers' new jobs are followed, in the order the slips were sent.
    void DopoAverStampato();
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
    std::vector<Foglio> fogli_;  // sent and not already told about
    std::map<std::string, int> ultimi_;
    std::vector<Seguito> lavori_;
};

}  // namespace vorsa
