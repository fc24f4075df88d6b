#include "printing/receipt_printer.h"

namespace vorsa {

ReceiptPrinter::ReceiptPrinter(PrintInputs in, PrintBackend& backend)
    : in_(in),
      cursor_(backend),
      setup_(cursor_, in.opt),
      layout_(cursor_, setup_, in),
      orders_(layout_),
      modes_(layout_, orders_) {
    setup_.LoadPrinterList();
}

bool ReceiptPrinter::StampanteDisponibile() {
    return setup_.printerAvailable;
}

void ReceiptPrinter::StampaUltimoConto(bool ristampa) {
    if (!setup_.printerAvailable) return;
    modes_.SetList(BuildPrintList(in_.conto, in_.cat));
    if (ristampa)
        modes_.Reprint();
    else
        modes_.PrintBill();
}

void ReceiptPrinter::CancellaFormScontrini() {
    if (!setup_.printerAvailable) return;
    const PrintProfile& p = setup_.profile;
    if (p.roll && in_.opt.gCalcolaCarta >= 1) setup_.StampaInizializzaCancellaForm();
}

void ReceiptPrinter::SelezionaFormato(int code) {
    setup_.SelezionaFormato(code);
    in_.settings.Set(keys::Formato, std::to_string(code));
}

bool ReceiptPrinter::SelezionaStampante(const std::string& name) {
    if (!setup_.SelezionaStampante(name)) return false;
    in_.settings.Set(keys::Stampante, name);
    return true;
}

void ReceiptPrinter::SelezionaCalcolaCarta(int mode) {
    in_.settings.Set(keys::CalcolaCarta, std::to_string(mode));
    if (setup_.printerAvailable) setup_.StampaInizializzaCancellaForm();
}

void ReceiptPrinter::StampaTest() {
    if (setup_.printerAvailable) modes_.PrinterTest();
}

void ReceiptPrinter::Chiudi() {
    setup_.CancellaTutteLeForm();
}

}  // namespace vorsa
