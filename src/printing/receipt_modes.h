#pragma once
// What a committed bill prints: the receipts in one of the four modes with their copies, the
// transaction summary, the pickup tickets and then the kitchen orders; the reprint of the last
// bill and the printer test.
#include <string>

#include "printing/print_list.h"
#include "printing/receipt_layout.h"

namespace vorsa {

class KitchenOrders;

/// STAMPA/CUMULATIVO.
enum class ReceiptMode { Cumulativo = 0, Separato = 1, CumulativoGruppi = 2, Avanzato = 3 };

class ReceiptModes {
  public:
    ReceiptModes(ReceiptLayout& layout, KitchenOrders& orders);

    /// The list the next printing uses; kept for the reprint.
    void SetList(PrintList list);
    const PrintList& List() const { return list_; }

    /// Commit printing: COPIE0 runs of receipts, COPIE1 summaries, pickup tickets, the copy
    /// mark for later printings, then the kitchen orders.
    void PrintBill();
    /// The receipts of the list in the current mode, ended as one document.
    void PrintReceipts();
    void PrintTransactionSummary();
    void PrintPickupTickets();
    void PrintPickupTicket(const std::string& groupName);
    /// The last bill again, marked as a copy once it has been printed: receipts once, the
    /// summary and the pickup tickets, no kitchen orders.
    void Reprint();
    /// btn_StampaTest: one receipt of twelve test lines under the test titles.
    void PrinterTest();

    /// Largest detail size of the summary at which every detail line fits.
    int SummaryDetailSize();
    /// Height of the summary's and the ticket's own rows.
    int SummaryBodyHeight();
    int TicketBodyHeight(const std::string& groupName);

  private:
    /// The number of the pickup ticket, and its closing text.
    std::string TicketNumber() const;
    std::string TicketText() const;
    void UseList();
    void GroupedPass(ReceiptMode mode);
    void AdvancedPass();
    void SingleLineReceipt(const PrintEntry& e);
    void OpenReceipt(const std::vector<const PrintEntry*>& lines,
                     const std::string& groupName = "");
    void CloseReceipt(bool totalAlways, bool tableAlways);
    bool LastOfSectionReceipt(std::size_t i) const;

    ReceiptLayout& layout_;
    KitchenOrders& orders_;
    PrintList list_;
    Currency amount_;
    long long pieces_ = 0;
};

}  // namespace vorsa
