#include "support/recording_backend.h"

#include <utility>

namespace vorsa {

std::vector<std::string> RecordedPage::Texts() const {
    std::vector<std::string> t;
    for (const PrintCall& c : Of(PrintCall::Kind::Text)) t.push_back(c.text);
    return t;
}

std::vector<PrintCall> RecordedPage::Of(PrintCall::Kind kind) const {
    std::vector<PrintCall> found;
    for (const PrintCall& c : calls)
        if (c.kind == kind) found.push_back(c);
    return found;
}

std::vector<PrintCall> RecordedPage::Find(const std::string& text) const {
    std::vector<PrintCall> found;
    for (const PrintCall& c : Of(PrintCall::Kind::Text))
        if (c.text == text) found.push_back(c);
    return found;
}

RecordingBackend::RecordingBackend(std::vector<std::string> p, std::string d)
    : printers(std::move(p)), defaultPrinter(std::move(d)) {
    if (!printers.empty()) current_ = defaultPrinter.empty() ? printers.front() : defaultPrinter;
}

PaperForm RecordingBackend::Page() const {
    // A printer with no form selected prints on A4.
    return forms.Selected(current_).value_or(PaperForm{"", 210000, 297000});
}

DeviceCaps RecordingBackend::Caps() {
    DeviceCaps c;
    c.horzRes = c.physicalWidth = MicronsToPixels(Page().width, c.dpiX);
    c.vertRes = c.physicalHeight = MicronsToPixels(Page().length, c.dpiY);
    return c;
}

bool RecordingBackend::CanOpenPrinter(const std::string& printer) {
    if (unopenable.count(printer)) return false;
    for (const auto& p : printers)
        if (p == printer) return true;
    return false;
}

std::optional<std::vector<PaperForm>> RecordingBackend::EnumForms(const std::string& printer) {
    if (!CanOpenPrinter(printer)) return std::nullopt;
    return forms.Forms(printer);
}

int RecordingBackend::AddForm(const std::string& printer, const PaperForm& form) {
    if (!CanOpenPrinter(printer)) return 1801;  // invalid printer name
    if (addFormError != kFormOk) return addFormError;
    const int r = forms.Add(printer, form);
    if (r == kFormOk)
        formLog.push_back("add " + printer + " " + form.name + " " + std::to_string(form.width) +
                          "x" + std::to_string(form.length));
    return r;
}

bool RecordingBackend::DeleteForm(const std::string& printer, const std::string& name) {
    if (!CanOpenPrinter(printer)) return false;
    const bool ok = forms.Delete(printer, name);
    if (ok) formLog.push_back("delete " + printer + " " + name);
    return ok;
}

bool RecordingBackend::SelectForm(const std::string& printer, const std::string& name) {
    if (!CanOpenPrinter(printer)) return false;
    forms.Select(printer, name);
    formLog.push_back("select " + printer + " " + name);
    return true;
}

int RecordingBackend::TextWidth(const std::string& text) {
    return static_cast<int>(text.size()) * CharWidth(font_.size);
}

PrintCall& RecordingBackend::Record(PrintCall::Kind kind, int x, int y, int w, int h) {
    PrintCall& c = calls.emplace_back();
    c.kind = kind;
    c.printer = current_;
    c.page = Page();
    c.x = x;
    c.y = y;
    c.w = w;
    c.h = h;
    return c;
}

void RecordingBackend::DrawText(int x, int y, const std::string& text) {
    PrintCall& c = Record(PrintCall::Kind::Text, x, y);
    c.text = text;
    c.font = font_;
}

void RecordingBackend::DrawLine(int x1, int y1, int x2, int y2) {
    PrintCall& c = Record(PrintCall::Kind::Line, x1, y1);
    c.x2 = x2;
    c.y2 = y2;
}

bool RecordingBackend::DrawPicture(const std::string& path, int x, int y, int w, int h) {
    if (!loadablePictures.count(path)) return false;
    Record(PrintCall::Kind::Picture, x, y, w, h).text = path;
    return true;
}

void RecordingBackend::DrawBarcode(const BarcodePicture& picture, int x, int y, int w, int h) {
    Record(PrintCall::Kind::Barcode, x, y, w, h).barcode = picture;
}

std::vector<RecordedDocument> RecordingBackend::Documents() const {
    // One open document per printer, as each printer has its own job.
    std::vector<RecordedDocument> done;
    std::map<std::string, RecordedDocument> open;
    std::map<std::string, bool> pagePending;
    for (const PrintCall& c : calls) {
        RecordedDocument& d = open[c.printer];
        d.printer = c.printer;
        if (c.kind == PrintCall::Kind::NewPage) {
            if (!d.pages.empty()) pagePending[c.printer] = true;
        } else if (c.kind == PrintCall::Kind::EndDoc) {
            if (!d.pages.empty()) done.push_back(std::move(d));
            open.erase(c.printer);
            pagePending.erase(c.printer);
        } else {
            if (d.pages.empty() || pagePending[c.printer]) {
                d.pages.push_back(RecordedPage{c.page, {}});
                pagePending[c.printer] = false;
            }
            d.pages.back().calls.push_back(c);
        }
    }
    return done;
}

}  // namespace vorsa
