#pragma once
// The sample bill of the print options dialog's preview: a few articles of a festival menu,
// printed with the options in force exactly as the reprint key prints a bill (receipts in the
// chosen mode, summary, pickup tickets), on whatever back end is given.
#include <cstdint>

#include "data/catalogue.h"
#include "platform/system.h"
#include "printing/print_backend.h"
#include "printing/print_seam.h"

namespace vorsa {

class SettingsGateway;

class ReceiptPreview {
  public:
    /// Articles of the sample, and its lines at most.
    static constexpr int kArticoli = 10;

    /// `settings`: where the pictures' files are looked up; nothing is written.
    explicit ReceiptPreview(SettingsGateway& settings);

    /// Prints the sample with `righe` article lines (1 to kArticoli) dated `quando` on
    /// `backend` under the options `opt`, which printing only reads (a copy is used).
    void Stampa(PrintBackend& backend, const Options& opt, int righe, const DateTime& quando);

    const Catalogue& Cat() const { return cat_; }

  private:
    SettingsGateway& settings_;
    Catalogue cat_;
};

}  // namespace vorsa
