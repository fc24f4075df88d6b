#include "printing/receipt_printer.h"

#include <algorithm>
#include <limits>

#include "platform/text.h"

namespace vorsa {

ReceiptPrinter::ReceiptPrinter(PrintInputs in, PrintBackend& backend, PrinterMessage message)
    : in_(in),
      cursor_(backend),
      setup_(cursor_, in.opt, std::move(message)),
      layout_(cursor_, setup_, in),
      orders_(layout_),
      modes_(layout_, orders_) {
    setup_.LoadPrinterList();
}

std::int32_t ReceiptPrinter::NumeroConto() const {
    // A waiting sale has no number yet: minus its provisional id keeps its printouts apart
    // from those of committed receipts and of other waiting sales.
    const std::string& p = in_.conto.provvisorio;
    if (p.empty()) return in_.gNumeroScontrino;
    return static_cast<std::int32_t>(
        -std::clamp<long long>(Val(p.substr(1)), 1, std::numeric_limits<std::int32_t>::max()));
}

bool ReceiptPrinter::StampanteDisponibile() {
    return setup_.printerAvailable;
}

void ReceiptPrinter::StampaUltimoConto(bool ristampa) {
    if (!setup_.printerAvailable) return;
    if (sorveglianza_) sorveglianza_->PrimaDiStampare(Fogli(ristampa));
    modes_.SetList(BuildPrintList(in_.conto, in_.cat));
    if (ristampa)
        modes_.Reprint();
    else
        modes_.PrintBill();
    if (sorveglianza_) sorveglianza_->DopoAverStampato();
}

std::vector<std::string> ReceiptPrinter::StampantiInUso() const {
    std::vector<std::string> v;
    if (!setup_.printerAvailable) return v;
    v.push_back(setup_.printerName);
    const auto& comande = in_.opt.gComande;
    for (int k = 1; k <= static_cast<int>(comande.size()); ++k)
        if (comande[static_cast<std::size_t>(k - 1)].abilitato)
            v.push_back(setup_.StampanteComanda(k));
    return v;
}

bool ReceiptPrinter::RistampaComanda(int k) {
    if (!setup_.printerAvailable || k < 1 || k > static_cast<int>(in_.opt.gComande.size()))
        return false;
    // A switched-off order printed nothing the first time: nothing to print again.
    if (!in_.opt.gComande[static_cast<std::size_t>(k - 1)].abilitato) return false;
    const PrintList list = BuildPrintList(in_.conto, in_.cat);
    if (orders_.Rows(k, list).empty()) return false;
    const std::string nome = in_.opt.gComande[static_cast<std::size_t>(k - 1)].nome;
    if (sorveglianza_)
        sorveglianza_->PrimaDiStampare(
            {{setup_.StampanteComanda(k), NomeFoglio(k, nome), k, NumeroConto()}});
    orders_.copia = true;
    orders_.PrintKitchenOrder(k, list);
    orders_.copia = false;
    setup_.DeleteForm(setup_.StampanteComanda(k), std::string(kFormComanda) + std::to_string(k));
    if (sorveglianza_) sorveglianza_->DopoAverStampato();
    return true;
}

std::vector<Sheet> ReceiptPrinter::Fogli(bool ristampa) {
    std::vector<Sheet> fogli;
    if (!setup_.printerAvailable) return fogli;
    const PrintList list = BuildPrintList(in_.conto, in_.cat);
    if (list.Empty()) return fogli;
    fogli.push_back({setup_.printerName, NomeFoglio(0, ""), 0, NumeroConto()});
    if (ristampa) return fogli;
    const auto& comande = in_.opt.gComande;
    for (int k = 1; k <= static_cast<int>(comande.size()); ++k) {
        const KitchenOrderConfig& c = comande[static_cast<std::size_t>(k - 1)];
        if (c.abilitato && !orders_.Rows(k, list).empty())
            fogli.push_back({setup_.StampanteComanda(k), NomeFoglio(k, c.nome), k, NumeroConto()});
    }
    return fogli;
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
