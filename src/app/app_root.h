#pragma once
// The till's window and everything around it, put together in one place: the receipt printer,
// the main window, the sale presenter, the panels, the printer notices and lights. Each piece
// gets what it uses in its constructor, so none is wired later or left without a part.
#include <memory>

#include "printing/print_backend.h"
#include "ui/notices/print_notices.h"

namespace vorsa {

class FrmVorsa;
class WebPages;
class ReceiptPrinter;
class SalePresenter;
class Till;
class TillShare;

/// The outside world the window needs besides the till's own services.
struct AppServices {
    PrintBackend& printBackend;
    /// Makes a reader of the printers' state for a worker thread.
    PrintNotices::StatesReader printerStateReader;
    /// The Samba share of the multi-till options.
    TillShare& share;
};

class AppRoot {
  public:
    /// `till` has been started by AvviaTill.
    AppRoot(Till& till, AppServices services);
    ~AppRoot();
    AppRoot(const AppRoot&) = delete;
    AppRoot& operator=(const AppRoot&) = delete;

    /// The window's load step, the snapping to the screen's edges, then the window shows and
    /// the code box takes keys.
    void Show();

    FrmVorsa& Window() const;
    ReceiptPrinter& Printer() const;
    SalePresenter& Sale() const;
    WebPages& Web() const;

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace vorsa
