#include "printing/form_store.h"

#include <algorithm>

#include "platform/text.h"

namespace vorsa {

std::vector<PaperForm> FormStore::Forms(const std::string& printer) const {
    const auto it = printers_.find(printer);
    return it == printers_.end() ? std::vector<PaperForm>{} : it->second.forms;
}

int FormStore::Add(const std::string& printer, const PaperForm& form) {
    auto& forms = printers_[printer].forms;
    const bool exists = std::any_of(forms.begin(), forms.end(), [&](const PaperForm& f) {
        return EqualsNoCase(f.name, form.name);
    });
    if (exists) return kErrorFileExists;
    forms.push_back(form);
    return kFormOk;
}

bool FormStore::Delete(const std::string& printer, const std::string& name) {
    auto it = printers_.find(printer);
    if (it == printers_.end()) return false;
    auto& forms = it->second.forms;
    const auto f = std::find_if(forms.begin(), forms.end(),
                                [&](const PaperForm& p) { return EqualsNoCase(p.name, name); });
    if (f == forms.end()) return false;
    forms.erase(f);
    return true;
}

void FormStore::Select(const std::string& printer, const std::string& name) {
    auto& p = printers_[printer];
    for (const PaperForm& f : p.forms)
        if (EqualsNoCase(f.name, name)) p.selected = f;
}

std::optional<PaperForm> FormStore::Selected(const std::string& printer) const {
    const auto it = printers_.find(printer);
    if (it == printers_.end()) return std::nullopt;
    return it->second.selected;
}

}  // namespace vorsa
