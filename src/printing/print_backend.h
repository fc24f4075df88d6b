#pragma once
// The page-oriented printer the layouts draw on. Coordinates are twips from the top-left corner
// of the printable area; paper form sizes are thousandths of a millimetre. Text is Windows-1252.
#include <optional>
#include <string>
#include <vector>

namespace vorsa {

/// Twips per inch and per centimetre.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerCm = 567;

struct PrintFont {
    std::string name = "Courier New";
    int size = 10;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const PrintFont&, const PrintFont&) = default;
};

/// What the device reports for the page currently selected, in device pixels.
struct DeviceCaps {
    int horzRes = 0;        // printable width
    int vertRes = 0;        // printable height
    int physicalWidth = 0;  // whole sheet
    int physicalHeight = 0;
    int offsetX = 0;  // unprintable strip at the left
    int offsetY = 0;  // unprintable strip at the top
    int dpiX = 600;
    int dpiY = 600;
};

/// A paper form of the spooler: name and size in thousandths of a millimetre.
struct PaperForm {
    std::string name;
    int width = 0;
    int length = 0;
    friend bool operator==(const PaperForm&, const PaperForm&) = default;
};

/// The off-screen barcode picture: black bars over a white ground, in its own pixels.
struct BarcodePicture {
    struct Bar {
        int x = 0;
        int width = 0;
        friend bool operator==(const Bar&, const Bar&) = default;
    };
    int unit = 1;  // pixels of one narrow element
    int heightPx = 0;
    int widthPx = 0;  // 0 when empty
    std::vector<Bar> bars;
};

/// Result code of adding a form: 0 on success, else the system error number.
inline constexpr int kFormOk = 0;
inline constexpr int kErrorAccessDenied = 5;

class PrintBackend {
  public:
    virtual ~PrintBackend() = default;

    // Printers, in the system's order.
    virtual std::vector<std::string> Printers() = 0;
    /// Empty when the system has none.
    virtual std::string DefaultPrinter() = 0;
    /// The printer the next drawing goes to.
    virtual void SetCurrentPrinter(const std::string& name) = 0;
    virtual std::string CurrentPrinter() = 0;
    /// Print resolution asked from the driver (dots per inch); a device without it ignores it.
    virtual void SetResolution(int dpi) = 0;
    /// Capabilities of the current printer with its selected page.
    virtual DeviceCaps Caps() = 0;

    // The spooler's paper forms of one printer.
    /// False when the printer cannot be opened in the spooler.
    virtual bool CanOpenPrinter(const std::string& printer) = 0;
    /// Nullopt when the printer cannot be opened.
    virtual std::optional<std::vector<PaperForm>> EnumForms(const std::string& printer) = 0;
    /// kFormOk or a system error number.
    virtual int AddForm(const std::string& printer, const PaperForm& form) = 0;
    virtual bool DeleteForm(const std::string& printer, const std::string& name) = 0;
    /// Gives the printer's next page the form's size; false when the printer cannot be opened.
    virtual bool SelectForm(const std::string& printer, const std::string& name) = 0;

    // Drawing on the current printer. The first drawing starts a document.
    virtual void SetFont(const PrintFont& font) = 0;
    virtual int TextWidth(const std::string& text) = 0;
    virtual int TextHeight(const std::string& text) = 0;
    /// Draws text with its top-left corner at (x, y).
    virtual void DrawText(int x, int y, const std::string& text) = 0;
    /// A black line.
    virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;
    /// An image file (ICO, GIF, JPG, PNG) stretched to w x h; false when it cannot be loaded.
    virtual bool DrawPicture(const std::string& path, int x, int y, int w, int h) = 0;
    /// The barcode picture stretched to w x h.
    virtual void DrawBarcode(const BarcodePicture& picture, int x, int y, int w, int h) = 0;
    /// Ends the page; a page with nothing on it before EndDoc is not printed.
    virtual void NewPage() = 0;
    /// Ends the document: the spooler receives it as one job.
    virtual void EndDoc() = 0;
};

/// Device pixels to twips, rounded to the nearest twip.
int PixelsToTwips(int pixels, int dpi);
/// Thousandths of a millimetre to device pixels, rounded.
int MicronsToPixels(int thousandthsMm, int dpi);

}  // namespace vorsa
