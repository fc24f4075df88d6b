#pragma once
// Kitchen orders: after the receipts of a bill, every enabled configuration that covers an
// article of the bill prints one sheet on its own printer with only its own articles.
#include <cstdint>
#include <string_view>
#include <vector>

#include "printing/print_list.h"
#include "printing/receipt_layout.h"

namespace vorsa {

/// Form sizes of the kitchen-order formats 0..6 (4 to 6 are rolls).
PaperForm FormatoComanda(int code);

class KitchenOrders {
  public:
    explicit KitchenOrders(ReceiptLayout& layout);

    /// Sheets of every enabled configuration with an article of the bill, a pause, then the
    /// order forms removed from the printers.
    void PrintKitchenOrders(const PrintList& list);
    void PrepareOrderPrinter(int k, const PrintList& list);
    void PrintKitchenOrder(int k, const PrintList& list);
    /// The articles of order `k`: names on the left, quantities in their column.
    void PrintOrderRows(int k, const PrintList& list);
    void ComputeOrderMargins(int k);
    void ComputeOrderCapacities(int k);
    std::int32_t ComputeOrderPaperLength(int k, const PrintList& list);

    /// Article indices and quantities of configuration k's products in the bill, in the order
    /// of its product list.
    struct Row {
        int index = 0;
        int quantity = 0;
    };
    std::vector<Row> Rows(int k, const PrintList& list) const;

    /// Sheets printed while set are marked as a copy, so the kitchen does not cook twice.
    bool copia = false;

  private:
    std::string NumberText(const PrintList& list) const;
    /// Width of the quantity column of a sheet with these rows, and a quantity's size in it.
    int QtyColumn(const OrderPage& op, const std::vector<Row>& rows);
    int QtySize(const OrderPage& op, int quantity, int column);
    OrderPage& Page(int k);
    const KitchenOrderConfig& Config(int k) const;
    ReceiptLayout& layout_;
};

inline constexpr int kComandaSize = 14;
inline constexpr std::string_view kCopiaComanda = "*** COPIA ***";
inline constexpr int kComandaQtyWidth = 700;
/// Least distance from the receipt-number text to its barcode on the order sheet.
inline constexpr int kBarcodeGap = 600;

}  // namespace vorsa
