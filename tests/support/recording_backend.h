#pragma once
// A printer that records every call with its coordinates in twips, for checking layouts
// exactly. Its font is a monospace one with an advance of 0.6 em ("Courier New" and its metric
// twin Liberation Mono): one character is size x 20 x 0.6 twips wide, a line 1.1328 em high.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "printing/form_store.h"
#include "printing/print_backend.h"

namespace vorsa {

struct PrintCall {
    enum class Kind { Text, Line, Picture, Barcode, NewPage, EndDoc };
    Kind kind = Kind::Text;
    std::string printer;
    int x = 0, y = 0;    // text, picture and barcode: top-left; line: start
    int x2 = 0, y2 = 0;  // line: end
    int w = 0, h = 0;    // picture and barcode size
    std::string text;    // text, or the picture's path
    PrintFont font;      // text only
    PaperForm page;      // page size in effect at the call
    BarcodePicture barcode;
};

/// One printed page and one spooler job, as a printer would deliver them.
struct RecordedPage {
    PaperForm size;
    std::vector<PrintCall> calls;
    std::vector<std::string> Texts() const;
    /// The calls of one kind; the text calls whose text equals `text`.
    std::vector<PrintCall> Of(PrintCall::Kind kind) const;
    std::vector<PrintCall> Find(const std::string& text) const;
    bool Has(const std::string& text) const { return !Find(text).empty(); }
};
struct RecordedDocument {
    std::string printer;
    std::vector<RecordedPage> pages;
};

/// A 600 dpi printer without unprintable strips.
class RecordingBackend : public PrintBackend {
  public:
    explicit RecordingBackend(std::vector<std::string> printers = {"Stampante"},
                              std::string defaultPrinter = "Stampante");

    // Set-up of the simulated system.
    std::vector<std::string> printers;
    std::string defaultPrinter;
    std::set<std::string> unopenable;        // printers the spooler cannot open
    int addFormError = kFormOk;              // forced result of AddForm when not 0
    std::set<std::string> loadablePictures;  // paths DrawPicture can load

    // What happened.
    std::vector<PrintCall> calls;
    std::vector<std::string> formLog;  // "add P NAME WxL", "delete P NAME", "select P NAME"
    int requestedDpi = 0;
    FormStore forms;

    /// The documents as the spooler would receive them: empty pages and empty documents are
    /// dropped (a NewPage right before EndDoc prints nothing).
    std::vector<RecordedDocument> Documents() const;
    void Clear() {
        calls.clear();
        formLog.clear();
    }

    std::vector<std::string> Printers() override { return printers; }
    std::string DefaultPrinter() override { return defaultPrinter; }
    void SetCurrentPrinter(const std::string& name) override { current_ = name; }
    std::string CurrentPrinter() override { return current_; }
    void SetResolution(int dpi) override { requestedDpi = dpi; }
    DeviceCaps Caps() override;

    bool CanOpenPrinter(const std::string& printer) override;
    std::optional<std::vector<PaperForm>> EnumForms(const std::string& printer) override;
    int AddForm(const std::string& printer, const PaperForm& form) override;
    bool DeleteForm(const std::string& printer, const std::string& name) override;
    bool SelectForm(const std::string& printer, const std::string& name) override;

    void SetFont(const PrintFont& font) override { font_ = font; }
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string&) override { return LineHeight(font_.size); }
    void DrawText(int x, int y, const std::string& text) override;
    void DrawLine(int x1, int y1, int x2, int y2) override;
    bool DrawPicture(const std::string& path, int x, int y, int w, int h) override;
    void DrawBarcode(const BarcodePicture& picture, int x, int y, int w, int h) override;
    void NewPage() override { Record(PrintCall::Kind::NewPage); }
    void EndDoc() override { Record(PrintCall::Kind::EndDoc); }

    /// The metrics, for tests: width of n characters and line height at a size.
    static int CharWidth(int size) { return size * 12; }
    static int LineHeight(int size) { return (size * 20 * 145 + 64) / 128; }

  private:
    PrintCall& Record(PrintCall::Kind kind, int x = 0, int y = 0, int w = 0, int h = 0);
    PaperForm Page() const;
    std::string current_;
    PrintFont font_;
};

}  // namespace vorsa
