#include "printing/print_settings.h"

#include "platform/text.h"
#include "printing/page_setup.h"
#include "printing/receipt_printer.h"
#include "settings/settings_gateway.h"

namespace vorsa {

PrintSettings::PrintSettings(SettingsGateway& settings, ReceiptPrinter* printer,
                             PrintSettingsView& view)
    : settings_(settings), printer_(printer), view_(view) {}

void PrintSettings::Carica() {
    const bool disponibile = printer_ && printer_->StampanteDisponibile();
    std::vector<std::string> nomi;
    std::string scelta;
    if (printer_) {
        nomi = printer_->Setup().printerList;
        scelta = printer_->Setup().printerName;
    }
    view_.MostraStampanti(nomi, scelta, disponibile);
    std::vector<std::pair<std::string, int>> voci;
    for (const FormatItem& f : kFormati) voci.emplace_back(std::string(f.caption), f.code);
    view_.MostraFormati(voci, settings_.options().gFormato, disponibile);
    view_.MostraNessunaStampante(!disponibile);
    AggiornaLarghezza();
}

void PrintSettings::AggiornaLarghezza() {
    const bool disponibile = printer_ && printer_->StampanteDisponibile();
    if (settings_.options().gFormato != kCodicePersonalizzato) {
        view_.MostraLarghezza(false, "", true);
        return;
    }
    const std::string w = Trim(settings_.Read(keys::LarghezzaPos));
    view_.MostraLarghezza(disponibile, w.empty() ? kLarghezzaDefault : w, false);
}

void PrintSettings::FormatoScelto(int code) {
    settings_.options().gFormato = code;
    if (printer_) printer_->SelezionaFormato(code);
    AggiornaLarghezza();
}

void PrintSettings::StampanteScelta(const std::string& nome) {
    if (printer_) printer_->SelezionaStampante(nome);
}

void PrintSettings::LarghezzaConfermata(const std::string& testo) {
    std::string w = Trim(testo);
    if (w.empty()) w = kLarghezzaDefault;
    settings_.Set(keys::LarghezzaPos, w);
    // A new width needs new capacities and forms.
    if (printer_ && settings_.options().gFormato == kCodicePersonalizzato)
        printer_->SelezionaFormato(kCodicePersonalizzato);
    AggiornaLarghezza();
}

void PrintSettings::StampaTest() {
    if (printer_) printer_->StampaTest();
}

}  // namespace vorsa
