#pragma once
// Paper forms kept per printer, for back ends without a form spooler: the forms a till adds
// and the one selected for each printer's next page.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "printing/print_backend.h"

namespace vorsa {

class FormStore {
  public:
    std::vector<PaperForm> Forms(const std::string& printer) const;
    /// Adds a form; an existing name (compared without case) is an error, as in a spooler.
    int Add(const std::string& printer, const PaperForm& form);
    bool Delete(const std::string& printer, const std::string& name);
    /// Selects a form by name; an unknown name leaves the page as it was.
    void Select(const std::string& printer, const std::string& name);
    /// Size of the selected form, if any is selected and still exists.
    std::optional<PaperForm> Selected(const std::string& printer) const;

  private:
    struct PrinterForms {
        std::vector<PaperForm> forms;
        std::optional<PaperForm> selected;  // the size survives the form's deletion
    };
    std::map<std::string, PrinterForms> printers_;
};

inline constexpr int kErrorFileExists = 80;

}  // namespace vorsa
