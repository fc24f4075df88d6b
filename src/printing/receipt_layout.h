#pragma once
// One receipt page and the text primitives every printout uses: header picture and titles,
// date and number, article lines with the quantity column, total line, table and comment, and
// the footer anchored to the bottom of the page.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/catalogue.h"
#include "platform/system.h"
#include "printing/page_setup.h"
#include "printing/print_list.h"
#include "printing/print_seam.h"
#include "settings/settings_gateway.h"

namespace vorsa {

enum class LayoutKind {
    MultiLine = 1,
    SingleLine = 2,
    PickupTicket = 3,
    Summary = 4,
    Statistics = 5
};

/// What a page run will hold, for the paper length of roll formats.
struct PageContent {
    LayoutKind kind = LayoutKind::MultiLine;
    std::vector<const PrintEntry*> lines;  // article lines of receipts; none for the test
    int testLines = 0;                     // printer test lines
    bool onePerQuantity = false;
    /// Ticket and summary: the height of their own rows, measured on the prepared page.
    std::function<int()> bodyHeight;
    /// Receipt of an advanced group: the name its header shows.
    std::string groupName;
};

/// The rows of an article name: one or two, the second maybe at a smaller size.
struct NameRows {
    std::string first;
    std::string second;  // empty when the name fits one row
    bool twoRows = false;
    int secondSize = 0;  // font size of the second row
    /// Rows after the second, at the name size, when even the smallest size would not fit it.
    std::vector<std::string> more;
};

/// The smallest size a text is shrunk to before it wraps instead. 6 pt Courier is as big as the
/// small font of thermal roll printers (9 x 17 dots at 203 dpi) and the price size the 57 mm
/// roll uses anyway: still read at arm's length, where 4 pt and below is not.
inline constexpr int kMinFontSize = 6;

/// A text fitted to a width: the size it is printed at and its rows.
struct FittedText {
    int size = 0;
    std::vector<std::string> rows;
};

/// Splits a name longer than nameChars (at least 1) at a blank near the end of the first row or
/// after which the rest fits, else hard with "_" at both sides of the cut. A second row still
/// too long is cut to nameChars (`riduci` off) or given a smaller size by the caller.
NameRows SplitName(const std::string& name, int nameChars);

/// Rows of a comment printed `chars` characters wide: the last blank among the first chars + 1
/// characters ends a row, but not before position 41 unless the row would not fit; a blank at
/// the cut is dropped. At most three rows.
std::vector<std::string> SplitComment(const std::string& comment, int chars);

/// The bill a page run prints.
struct ReceiptData {
    std::int32_t numero = 0;
    DateTime data;
    std::string tavolo;
    std::string commento;
    std::string provvisorio;
};

inline constexpr std::string_view kNomeTest = "12345678901234567890123456789012";

/// What printouts read of the till, each piece by itself.
struct PrintInputs {
    Options& opt;  // the printer test swaps the titles for a moment
    const Catalogue& cat;
    SettingsGateway& settings;  // print settings chosen on the panel; pictures' files
    Clock& clock;
    Sleeper& sleeper;
    LastBill& conto;  // the last committed bill and its copy flag
    const std::int32_t& gNumeroScontrino;
};

class ReceiptLayout {
  public:
    ReceiptLayout(PrintCursor& cursor, PageSetup& setup, PrintInputs in);

    ReceiptData job;
    /// picBarCode39: the barcode last drawn.
    BarcodePicture barcode;
    std::int32_t itemTop = 0;

    // Text primitives: each prints one text and ends the line.
    void PrintCentered(const std::string& text, int reserved);
    void PrintRight(const std::string& text);
    void PrintRightInOrder(const std::string& text, int order);
    void PrintLeft(const std::string& text, int gap);
    void PrintLeftInOrder(const std::string& text, int gap, int order);

    // A receipt, in this order.
    void StartReceiptPage(const PageContent& content);
    void PrintReceiptHeader(const std::string& groupName);
    /// entry null prints the printer test line; `last` when it is the receipt's last line.
    void PrintItemLine(const PrintEntry* entry, bool onePerQuantity, bool last);
    void PrintQtyColumn();
    void PrintTotalLine(Currency amount, long long pieces);
    void PrintTableAndComment();
    void FinishReceipt();

    void PrintReceiptNumber();
    void PrintFooter(bool withNumber);
    /// Draws the barcode of the current receipt number into `barcode`.
    void PrepareBarcode();

    // Fitting to the paper: nothing is drawn beyond the margins.
    /// The text at `size` when it fits `width`, else at the largest smaller size down to
    /// kMinFontSize at which it fits one row, else wrapped: after a " - " first, then at a blank,
    /// inside a word only when nothing else fits. A size below kMinFontSize is raised to it.
    FittedText Fit(const std::string& text, int size, int width);
    /// Height of the rows of a fitted text.
    int FittedHeight(const std::string& text, int size, int width);
    /// Width between the receipt margins.
    int Between();
    /// PrintCentered between other margins (kitchen-order sheets).
    void PrintCenteredWithin(const std::string& text, int reserved, int left, int right);
    /// The text at the current size and the barcode after it on the same row, at least `minGap`
    /// and a quiet zone apart, with a quiet zone before the right margin; when they do not fit
    /// side by side, the text alone (fitted) and the barcode centred on its own row below.
    /// Centred as one row, or from the left margin.
    void PrintWithBarcode(const std::string& text, const BarcodePicture& picture, bool centred,
                          int left, int right, int minGap);
    int WithBarcodeHeight(const std::string& text, int size, const BarcodePicture& picture,
                          int left, int right, int minGap);
    /// Ten narrow bars: the white a scanner needs on both sides of a barcode.
    static int BarcodeQuietZone(const BarcodePicture& picture);
    /// Width of the quantity column on this receipt: the format's, or wider when a quantity or
    /// a price of its lines would not fit in it.
    int QtyColumnWidth();

    // Pictures: 0 header, 1 footer.
    bool HasImage(int i);
    int ImageHeight(int i);
    void DrawReceiptImage(int i);

    // Block heights in twips, as the printing uses them.
    std::int32_t ComputePaperLength(const PageContent& content);
    int TopHeight();
    int HeaderHeight();
    int ItemLineHeight(const PrintEntry* entry, bool onePerQuantity);
    int TotalLineHeight();
    int TableCommentHeight();
    int FooterHeight(bool withNumber);

    /// Printable width and height of the current page.
    int W() { return setup_.PrintableWidth(); }
    int Hp() { return setup_.PrintableHeight(); }
    PrintCursor& Cursor() { return cursor_; }
    PageSetup& Setup() { return setup_; }
    PrintInputs& In() { return in_; }

  private:
    enum class Align { Left, Centre, Right };
    /// Fitted between the margins, each row aligned; the size is kept for the next text.
    void PrintRows(const std::string& text, int reserved, int left, int right, Align align);
    /// Column width, total line and group name of the receipt that starts with this content.
    void SizeColumnFor(const PageContent& content);
    /// Height the group name takes beyond the free row above the first line.
    int GroupNameExtra(const std::string& groupName);
    std::string QtyText(const PrintEntry* entry, bool onePerQuantity) const;
    std::string PriceText(const PrintEntry* entry) const;
    std::string NumberText();
    int NumberRowHeight();
    int qtyColumn_ = 0;      // 0: the format's width
    std::string totalText_;  // the total line this receipt will print, for its height
    std::string groupName_;  // the group name this receipt will print, for its height

    struct CommentRows {
        int size = 0;
        std::vector<std::string> rows;
    };
    CommentRows LayoutComment();
    NameRows RowsFor(const std::string& name);
    std::string NameOf(const PrintEntry* entry) const;
    const Options& opt() const { return in_.opt; }
    const PrintProfile& prof() const { return setup_.profile; }
    int gap() const { return setup_.profile.gapUnit; }

    PrintCursor& cursor_;
    PageSetup& setup_;
    PrintInputs in_;
};

/// "Pezzi: nr. 12  -  Importo: € 25,00".
std::string TotalText(Currency amount, long long pieces);

}  // namespace vorsa
