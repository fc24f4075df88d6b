#include "printing/qt/qt_forms_backend.h"

namespace vorsa {

namespace {

/// What a spooler answers for a printer it does not know (ERROR_INVALID_PRINTER_NAME).
constexpr int kErrorInvalidPrinterName = 1801;

}  // namespace

std::optional<std::vector<PaperForm>> QtFormsBackend::EnumForms(const std::string& printer) {
    if (!CanOpenPrinter(printer)) return std::nullopt;
    return forms_.Forms(printer);
}

int QtFormsBackend::AddForm(const std::string& printer, const PaperForm& form) {
    if (!CanOpenPrinter(printer)) return kErrorInvalidPrinterName;
    return forms_.Add(printer, form);
}

bool QtFormsBackend::DeleteForm(const std::string& printer, const std::string& name) {
    return CanOpenPrinter(printer) && forms_.Delete(printer, name);
}

bool QtFormsBackend::SelectForm(const std::string& printer, const std::string& name) {
    if (!CanOpenPrinter(printer)) return false;
    forms_.Select(printer, name);
    return true;
}

DeviceCaps QtFormsBackend::CapsOf(const PaperForm& page, const Stripes& strips, int dpi) {
    auto it = points_.find({page.width, page.length});
    if (it == points_.end())
        it = points_.insert({{page.width, page.length}, PuntiPagina(page)}).first;
    return CapsPagina(it->second, strips, dpi);
}

}  // namespace vorsa
