#pragma once
// Printer choice, paper formats and page geometry: margins, font sizes, characters per line,
// and the paper forms that give the printer the exact page of each job.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "printing/print_cursor.h"
#include "settings/options.h"

namespace vorsa {

/// One row of the receipt format table.
struct FormatRow {
    std::int32_t width = 105000;  // thousandths of mm
    std::int32_t length = 148000;
    bool roll = false;
    std::int16_t nameSize = 13, titleSize = 12, priceSize = 9, textSize = 11;
    std::int32_t qtyColumnWidth = 800;  // twips
};

/// The row of a receipt format code; code 4 ("POS pers.") takes its width from `larghezza`,
/// and below 8 cm the sizes of the 57 mm roll, below 10 cm those of the 80 mm roll.
/// Codes outside 1..6 give the A6 row.
FormatRow RigaFormato(int code, std::string_view larghezza);
/// Roll width of "POS pers." from the width text in centimetres: the leading number (digits
/// and at most one dot) rounded half to even, times 10000: "10,5" -> 100000, "11.5" -> 120000.
std::int32_t LarghezzaRotolo(std::string_view larghezza);
/// Captions of the format list in their order, each with its code.
struct FormatItem {
    std::string_view caption;
    int code;
};
extern const std::array<FormatItem, 7> kFormati;

/// Paper-length modes: the printer decides, or a short, medium or long computed length.
inline constexpr int kCartaStampante = 0;

struct Margins {
    std::int32_t top = 0, bottom = 0, left = 0, right = 0;
};

/// Margins in twips for margins set in whole millimetres (top, bottom, left, right) on a
/// device: each is the set distance less the device's unprintable strip, at least 0.
Margins MarginiStampante(const DeviceCaps& caps, const std::array<int, 4>& mm);

/// Paper length in thousandths of mm for content `heightTwips` high in paper-length mode 1
/// (short), 2 (medium) or 3 (long): the height rounded through tenths of a millimetre, scaled
/// with the allowance of the mode on the device's pixel grid, then rounded down to whole
/// millimetres plus 2 mm.
std::int32_t LunghezzaCarta(int heightTwips, int mode, const DeviceCaps& caps);

struct PrintProfile {
    std::int16_t formatCode = 0;
    std::int16_t printerIndex = 0;
    std::int32_t formWidth = 105000;
    std::int32_t formLength = 148000;
    bool roll = false;
    std::int16_t nameSize = 13, titleSize = 12, priceSize = 9, textSize = 11;
    std::int32_t qtyColumnWidth = 800;
    std::int16_t gapUnit = 50;
    std::int32_t topMargin = 0, bottomMargin = 0, leftMargin = 0, rightMargin = 0;
    std::int16_t nameChars = 0, textChars = 0, totalSize = 0, commentSize = 0;
    std::string lastFormName;
    std::int32_t lastFormLength = 0;
    std::int16_t formCounter = 0;
};

/// Page state of one kitchen-order configuration (its settings live in Options).
struct OrderPage {
    std::int16_t printerIndex = 0;
    Margins margins;
    std::int16_t lineSize = 0;
    std::int16_t fullSize = 0;
    std::int32_t formWidth = 105000;
    std::int32_t formLength = 148000;
    bool roll = false;
};

inline constexpr std::string_view kFormDummy = "VORSA-DUMMY";
inline constexpr std::string_view kFormBase = "VORSA-TMP";
inline constexpr std::string_view kFormComanda = "VORSA-COMANDA";
inline constexpr std::string_view kFontName = "Courier New";
inline constexpr int kRisoluzione = 600;

/// Tells the operator of a printer fault met while setting up the page (title, text).
using PrinterMessage = std::function<void(const std::string& title, const std::string& text)>;

class PageSetup {
  public:
    PageSetup(PrintCursor& cursor, Options& options, PrinterMessage message);

    PrintProfile profile;
    std::vector<OrderPage> orders;  // index k - 1 for configuration k
    std::vector<std::string> printerList;
    std::string printerName;  // the chosen receipt printer
    bool printerAvailable = false;

    // Printer and format choice.
    /// Lists the printers, chooses the one named in the options (else the system's default),
    /// looks up the kitchen-order printers and applies the current format.
    void LoadPrinterList();
    /// A new format code: capacities reset, forms deleted and margins recomputed.
    void SelezionaFormato(int code);
    /// A new printer chosen by name; false when no such printer is installed.
    bool SelezionaStampante(const std::string& name);
    /// Printer of kitchen-order configuration k: its own when installed, else the first one.
    std::string StampanteComanda(int k) const;

    // Page geometry.
    /// Starts a page run: profile of the format, capacities when unknown, the paper form.
    /// `paperLength` gives the length (thousandths of mm) the content needs, asked only for
    /// roll formats with a computed length.
    void PreparePrinter(const std::function<std::int32_t()>& paperLength);
    void ComputeMargins();
    /// Margin `i` (0 top, 1 bottom, 2 left, 3 right) was changed in the options: a side margin
    /// changes how many characters a line holds, so the line sizes are measured again.
    void MarginChanged(int i);
    void ComputeLineCapacities();
    /// Largest size from `startSize` down to 0 at which n letters "X" are narrower than the
    /// width between the margins.
    int FitFontForCharacters(int n, int startSize);
    /// Printable width and height of the current page, in twips.
    int PrintableWidth();
    int PrintableHeight();
    /// Vertical size of one device pixel in twips.
    double PixelTwipsY();

    // Paper forms.
    std::string StampaInizializzaCreaNomeForm();
    void StampaInizializzaCancellaForm();
    bool FindForm(const std::string& printer, const std::string& formName, PaperForm* size);
    bool AddCustomForm(const std::string& printer, std::int32_t width, std::int32_t length,
                       const std::string& formName);
    bool SelectForm(const std::string& printer, const std::string& formName);
    /// Opens the printer, deletes the form if present, closes it.
    void DeleteForm(const std::string& printer, const std::string& formName);
    /// The form exists with exactly this size afterwards (a stale one of another size, left
    /// by an earlier run, is replaced).
    void EnsureForm(const std::string& printer, std::int32_t width, std::int32_t length,
                    const std::string& formName);
    /// Program exit: every form the receipts and kitchen orders may have created.
    void CancellaTutteLeForm();

    PrintCursor& Cursor() { return cursor_; }
    Options& Opt() { return opt_; }

  private:
    void ResetCapacities();
    PrintCursor& cursor_;
    Options& opt_;
    PrinterMessage message_;
};

}  // namespace vorsa
