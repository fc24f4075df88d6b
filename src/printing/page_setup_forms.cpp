// The spooler's paper forms of the receipt and kitchen-order printers.
#include <array>

#include "platform/text.h"
#include "printing/page_setup.h"

namespace vorsa {

std::string PageSetup::StampaInizializzaCreaNomeForm() {
    ++profile.formCounter;
    return std::string(kFormBase) + std::to_string(profile.formCounter);
}

void PageSetup::StampaInizializzaCancellaForm() {
    PrintBackend& b = cursor_.Backend();
    b.SetCurrentPrinter(printerName);
    if (!b.CanOpenPrinter(printerName)) return;  // the counter is kept
    for (int n = 1; n <= profile.formCounter; ++n)
        b.DeleteForm(printerName, std::string(kFormBase) + std::to_string(n));
    profile.formCounter = 0;
}

bool PageSetup::FindForm(const std::string& printer, const std::string& formName, PaperForm* size) {
    const auto forms = cursor_.Backend().EnumForms(printer);
    if (!forms) return false;
    for (const PaperForm& f : *forms) {
        if (!EqualsNoCase(f.name, formName)) continue;
        if (size) *size = f;
        return true;
    }
    return false;
}

bool PageSetup::AddCustomForm(const std::string& printer, std::int32_t width, std::int32_t length,
                              const std::string& formName) {
    PrintBackend& b = cursor_.Backend();
    if (!b.CanOpenPrinter(printer)) return false;
    const int error = b.AddForm(printer, PaperForm{formName, width, length});
    if (error == kFormOk) return true;
    if (error == kErrorAccessDenied)
        message_("Access Denied!", "You do not have permissions to add a form to " + printer);
    else
        message_("Error Adding Form", "Error: " + std::to_string(error));
    return false;
}

bool PageSetup::SelectForm(const std::string& printer, const std::string& formName) {
    PrintBackend& b = cursor_.Backend();
    if (!b.CanOpenPrinter(printer)) return false;
    return b.SelectForm(printer, formName);
}

void PageSetup::DeleteForm(const std::string& printer, const std::string& formName) {
    PrintBackend& b = cursor_.Backend();
    if (b.CanOpenPrinter(printer)) b.DeleteForm(printer, formName);
}

void PageSetup::EnsureForm(const std::string& printer, std::int32_t width, std::int32_t length,
                           const std::string& formName) {
    PaperForm found;
    if (FindForm(printer, formName, &found)) {
        if (found.width == width && found.length == length) return;
        DeleteForm(printer, formName);
    }
    AddCustomForm(printer, width, length, formName);
}

void PageSetup::CancellaTutteLeForm() {
    if (!printerAvailable) return;
    static constexpr std::array<std::string_view, 8> kVecchie = {
        "Vorsa",     "Vorsa-A4",      "Vorsa-A6",      "A6-Vorsa",
        "POS-Vorsa", "Vorsa-POS57mm", "Vorsa-POS80mm", kFormDummy};
    PrintBackend& b = cursor_.Backend();
    if (b.CanOpenPrinter(printerName)) {
        for (int n = 1; n <= profile.formCounter; ++n)
            b.DeleteForm(printerName, std::string(kFormBase) + std::to_string(n));
        for (std::string_view name : kVecchie) b.DeleteForm(printerName, std::string(name));
        profile.formCounter = 0;
    }
    for (std::size_t k = 1; k <= orders.size(); ++k)
        DeleteForm(StampanteComanda(static_cast<int>(k)),
                   std::string(kFormComanda) + std::to_string(k));
}

}  // namespace vorsa
