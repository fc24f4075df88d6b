#pragma once
// Receipt printing for one till over one printing back end: the seam the sale rules call
// (availability, commit printing and F5 reprint, removal of the receipt forms), plus what the
// print settings and the program exit need.
#include <string>

#include "printing/kitchen_orders.h"
#include "printing/page_setup.h"
#include "printing/print_cursor.h"
#include "printing/print_seam.h"
#include "printing/print_watch.h"
#include "printing/receipt_layout.h"
#include "printing/receipt_modes.h"

namespace vorsa {

class ReceiptPrinter : public PrintSeam {
  public:
    /// Loads the printer list at once: with no printer installed nothing is ever printed.
    /// `message` tells the operator of a paper form the printer refused.
    ReceiptPrinter(PrintInputs in, PrintBackend& backend, PrinterMessage message);

    bool StampanteDisponibile() override;
    /// The snapshot of the last committed bill: the whole commit printing (copies, summary,
    /// pickup tickets, kitchen orders), or the reprint while F5 is on.
    void StampaUltimoConto(bool ristampa) override;
    /// Removes the numbered receipt forms when the format is a roll with a computed length.
    void CancellaFormScontrini() override;

    /// Print settings: the format code and the printer, stored in the settings file too.
    void SelezionaFormato(int code);
    bool SelezionaStampante(const std::string& name);
    /// A new paper-length mode removes the numbered forms.
    void SelezionaCalcolaCarta(int mode);
    /// btn_StampaTest.
    void StampaTest();
    /// Program exit: every paper form this program may have created.
    void Chiudi();

    /// The slips the last bill prints: the receipt printing, then (not on a reprint) each
    /// kitchen order with an article of the bill.
    std::vector<Sheet> Fogli(bool ristampa);
    /// The receipt printer and each enabled kitchen order's printer, as chosen now.
    std::vector<std::string> StampantiInUso() const;
    /// Kitchen order k of the last bill again, marked as a copy; false when it has nothing of
    /// the bill or no printer.
    bool RistampaComanda(int k);
    /// The receipt number of the last bill, the one a reprint prints.
    std::int32_t NumeroConto() const;
    /// The bill's printing is checked before and followed after by `s` (none: not followed).
    void Sorveglia(PrintObserver* s) { sorveglianza_ = s; }

    PageSetup& Setup() { return setup_; }
    ReceiptLayout& Layout() { return layout_; }
    ReceiptModes& Modes() { return modes_; }
    KitchenOrders& Orders() { return orders_; }

  private:
    PrintInputs in_;
    PrintCursor cursor_;
    PageSetup setup_;
    ReceiptLayout layout_;
    KitchenOrders orders_;
    ReceiptModes modes_;
    PrintObserver* sorveglianza_ = nullptr;
};

}  // namespace vorsa
