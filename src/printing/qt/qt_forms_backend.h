#pragma once
// What the two Qt back ends (the printer and the on-screen preview) share about paper: the
// forms each printer holds, kept in memory as a spooler keeps them, and the device
// capabilities of a page size.
#include <QSize>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "printing/form_store.h"
#include "printing/print_backend.h"
#include "printing/qt/qt_drawing.h"

namespace vorsa {

class QtFormsBackend : public PrintBackend {
  public:
    /// Each fails (nothing, an error, false) for a printer CanOpenPrinter does not know.
    std::optional<std::vector<PaperForm>> EnumForms(const std::string& printer) override;
    int AddForm(const std::string& printer, const PaperForm& form) override;
    bool DeleteForm(const std::string& printer, const std::string& name) override;
    bool SelectForm(const std::string& printer, const std::string& name) override;

  protected:
    std::optional<PaperForm> SelectedForm(const std::string& printer) const {
        return forms_.Selected(printer);
    }
    void ForgetForms() { forms_ = FormStore{}; }
    /// Capabilities of a page of this size and strips; its whole points are computed once.
    DeviceCaps CapsOf(const PaperForm& page, const Stripes& strips, int dpi);

  private:
    FormStore forms_;
    /// Whole points of a page size in thousandths of mm, as Qt writes the page.
    std::map<std::pair<int, int>, QSize> points_;
};

}  // namespace vorsa
