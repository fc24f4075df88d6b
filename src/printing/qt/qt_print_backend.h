#pragma once
// The printing back end on QPrinter and QPainter: the installed (CUPS) printers, or PDF files
// for a preview and for tests. Paper forms become the custom page size of the next page;
// "Courier New" is drawn with Liberation Mono, sized in pixels under a twip transform.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "printing/qt/qt_forms_backend.h"

class QPrinter;
class QPainter;

namespace vorsa {

struct QtPrintOptions {
    /// Lists a printer of this name that writes PDF files (empty: none).
    std::string pdfPrinter;
    /// Folder of the PDF files; also turns every printer into a PDF preview when
    /// `previewAll` is set. Empty: the system's temporary folder.
    std::string pdfFolder;
    bool previewAll = false;
};

/// A finished document: the printer it went to, the PDF written (empty for a printer job)
/// and its pages.
struct QtDocument {
    std::string printer;
    std::string pdfPath;
    int pages = 0;
};

class QtPrintBackend : public QtFormsBackend {
  public:
    explicit QtPrintBackend(QtPrintOptions options = {});
    ~QtPrintBackend() override;
    QtPrintBackend(const QtPrintBackend&) = delete;
    QtPrintBackend& operator=(const QtPrintBackend&) = delete;

    const std::vector<QtDocument>& Documents() const { return documents_; }

    std::vector<std::string> Printers() override;
    std::string DefaultPrinter() override;
    void SetCurrentPrinter(const std::string& name) override;
    std::string CurrentPrinter() override { return current_; }
    void SetResolution(int dpi) override;
    DeviceCaps Caps() override;

    bool CanOpenPrinter(const std::string& printer) override;

    void SetFont(const PrintFont& font) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    void DrawText(int x, int y, const std::string& text) override;
    void DrawLine(int x1, int y1, int x2, int y2) override;
    bool DrawPicture(const std::string& path, int x, int y, int w, int h) override;
    void DrawBarcode(const BarcodePicture& picture, int x, int y, int w, int h) override;
    void NewPage() override;
    void EndDoc() override;

  private:
    bool IsPdf(const std::string& printer) const;
    PaperForm PageOf(const std::string& printer);
    Stripes StripsOf(const std::string& printer);
    /// A page to draw on: starts the document or the pending page.
    bool EnsurePage();
    void ApplyTransform();
    void RefreshPrinters();

    QtPrintOptions options_;
    std::vector<std::string> printers_;
    std::string current_;
    int dpi_ = 600;
    std::map<std::string, Stripes> strips_;
    std::map<std::string, PaperForm> defaultPages_;
    QtFonts font_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    std::string docPrinter_;
    std::string docPath_;
    int docPages_ = 0;
    bool pagePending_ = false;
    bool failed_ = false;
    int sequence_ = 0;
    std::vector<QtDocument> documents_;
};

}  // namespace vorsa
