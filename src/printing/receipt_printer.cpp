#include "printing/receipt_printer.h"

namespace vorsa {

ReceiptPrinter::ReceiptPrinter(Till& till, PrintBackend& backend)
    : till_(till),
      cursor_(backend),
      setup_(cursor_, till.opt),
      layout_(cursor_, setup_, till),
      orders_(layout_),
      modes_(layout_, orders_) {
    setup_.LoadPrinterList();
}

bool ReceiptPrinter::StampanteDisponibile() {
    return setup_.printerAvailable;
}

void ReceiptPrinter::StampaUltimoConto(bool ristampa) {
    if (!setup_.printerAvailable) return;
    modes_.SetList(BuildPrintList(till_.ultimoConto, till_.cat));
    if (ristampa)
        modes_.Reprint();
    else
        modes_.PrintBill();
}

void ReceiptPrinter::CancellaFormScontrini() {
    if (!setup_.printerAvailable) return;
    const PrintProfile& p = setup_.profile;
    if (p.roll && till_.opt.gCalcolaCarta >= 1) setup_.StampaInizializzaCancellaForm();
}

void ReceiptPrinter::SelezionaFormato(int code) {
    setup_.SelezionaFormato(code);
    till_.store.ScriviIni("STAMPA", "FORMATO", std::to_string(code), till_.paths.gFileIni);
}

bool ReceiptPrinter::SelezionaStampante(const std::string& name) {
    if (!setup_.SelezionaStampante(name)) return false;
    till_.store.ScriviIni("STAMPA", "STAMPANTE", name, till_.paths.gFileIni);
    return true;
}

void ReceiptPrinter::SelezionaCalcolaCarta(int mode) {
    till_.opt.gCalcolaCarta = mode;
    till_.store.ScriviIni("STAMPA", "SCONTRINI_CALCOLACARTA", std::to_string(mode),
                          till_.paths.gFileIni);
    if (setup_.printerAvailable) setup_.StampaInizializzaCancellaForm();
}

void ReceiptPrinter::StampaTest() {
    if (setup_.printerAvailable) modes_.PrinterTest();
}

void ReceiptPrinter::Chiudi() {
    setup_.CancellaTutteLeForm();
}

}  // namespace vorsa
