#pragma once
// What the sale hands to printing: the snapshot of the last committed bill, and the seam it
// prints through.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/currency.h"
#include "platform/system.h"

namespace vorsa {

/// Snapshot of the last committed bill, for printing and for the reprint key.
struct LastBill {
    struct Line {
        int index = 0;
        std::int16_t quantity = 0;
        Currency lineTotal;
    };
    std::vector<Line> righe;
    std::int32_t numero = 0;
    /// A sale still waiting for the main till prints this instead of its number: "P12".
    std::string provvisorio;
    DateTime data;
    Currency totale;
    std::string tavolo;
    std::string commento;
    /// A receipt of this bill has been printed: the next one is marked as a copy.
    bool gRistampaFatta = false;
};

/// Seam of receipt printing (receipts, summary, pickup tickets, kitchen orders). Without one,
/// no printer is available and nothing is printed.
class PrintSeam {
  public:
    virtual ~PrintSeam() = default;
    virtual bool StampanteDisponibile() = 0;
    /// Prints the snapshot of the last committed bill: everything the commit prints, or only
    /// the reprint of the reprint key.
    virtual void StampaUltimoConto(bool ristampa) = 0;
    /// Removes the numbered paper forms of the receipts (when the format computes a length).
    virtual void CancellaFormScontrini() = 0;
};

}  // namespace vorsa
