#include "support/recording_backend.h"

#include <utility>

namespace vorsa {

std::vector<std::string> RecordedPage::Texts() const {
    std::vector<std::string> t;
    for (const PrintCall& c : calls)
        if (c.kind == PrintCall::Kind::Text) t.push_back(c.text);
    return t;
}

std::vector<PrintCall> RecordedPage::Find(const std::string& text) const {
    std::vector<PrintCall> found;
    for (const PrintCall& c : calls)
        if (c.kind == PrintCall::Kind::Text && c.text == text) found.push_back(c);
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
    const auto it = devices.find(current_);
    const Device d = it == devices.end() ? Device{} : it->second;
    const PaperForm page = Page();
    DeviceCaps c;
    c.dpiX = c.dpiY = d.dpi;
    c.physicalWidth = MicronsToPixels(page.width, d.dpi);
    c.physicalHeight = MicronsToPixels(page.length, d.dpi);
    c.offsetX = d.left;
    c.offsetY = d.top;
    c.horzRes = c.physicalWidth - d.left - d.right;
    c.vertRes = c.physicalHeight - d.top - d.bottom;
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

int RecordingBackend::TextHeight(const std::string&) {
    return LineHeight(font_.size);
}

PrintCall RecordingBackend::Base(PrintCall::Kind kind) {
    PrintCall c;
    c.kind = kind;
    c.printer = current_;
    c.page = Page();
    return c;
}

void RecordingBackend::DrawText(int x, int y, const std::string& text) {
    PrintCall c = Base(PrintCall::Kind::Text);
    c.x = x;
    c.y = y;
    c.text = text;
    c.font = font_;
    calls.push_back(std::move(c));
}

void RecordingBackend::DrawLine(int x1, int y1, int x2, int y2) {
    PrintCall c = Base(PrintCall::Kind::Line);
    c.x = x1;
    c.y = y1;
    c.x2 = x2;
    c.y2 = y2;
    calls.push_back(std::move(c));
}

bool RecordingBackend::DrawPicture(const std::string& path, int x, int y, int w, int h) {
    if (!loadablePictures.count(path)) return false;
    PrintCall c = Base(PrintCall::Kind::Picture);
    c.x = x;
    c.y = y;
    c.w = w;
    c.h = h;
    c.text = path;
    calls.push_back(std::move(c));
    return true;
}

void RecordingBackend::DrawBarcode(const BarcodePicture& picture, int x, int y, int w, int h) {
    PrintCall c = Base(PrintCall::Kind::Barcode);
    c.x = x;
    c.y = y;
    c.w = w;
    c.h = h;
    c.barcode = picture;
    calls.push_back(std::move(c));
}

void RecordingBackend::NewPage() {
    calls.push_back(Base(PrintCall::Kind::NewPage));
}

void RecordingBackend::EndDoc() {
    calls.push_back(Base(PrintCall::Kind::EndDoc));
}

std::vector<RecordedDocument> RecordingBackend::Documents() const {
    // One open document per printer, as each printer has its own job.
    std::vector<RecordedDocument> done;
    std::map<std::string, RecordedDocument> open;
    std::map<std::string, bool> pagePending;
    for (const PrintCall& c : calls) {
        RecordedDocument& d = open[c.printer];
        d.printer = c.printer;
        switch (c.kind) {
            case PrintCall::Kind::NewPage:
                if (!d.pages.empty()) pagePending[c.printer] = true;
                break;
            case PrintCall::Kind::EndDoc:
                if (!d.pages.empty()) done.push_back(std::move(d));
                open.erase(c.printer);
                pagePending.erase(c.printer);
                break;
            default:
                if (d.pages.empty() || pagePending[c.printer]) {
                    d.pages.push_back(RecordedPage{c.page, {}});
                    pagePending[c.printer] = false;
                }
                d.pages.back().calls.push_back(c);
                break;
        }
    }
    return done;
}

std::vector<PrintCall> RecordingBackend::TextCalls() const {
    std::vector<PrintCall> t;
    for (const PrintCall& c : calls)
        if (c.kind == PrintCall::Kind::Text) t.push_back(c);
    return t;
}

}  // namespace vorsa
