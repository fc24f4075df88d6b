#include "printing/receipt_modes.h"

#include <set>

#include "printing/kitchen_orders.h"

namespace vorsa {

ReceiptModes::ReceiptModes(ReceiptLayout& layout, KitchenOrders& orders)
    : layout_(layout), orders_(orders) {}

void ReceiptModes::SetList(PrintList list) {
    list_ = std::move(list);
}

void ReceiptModes::UseList() {
    layout_.job =
        ReceiptData{list_.numero, list_.data, list_.tavolo, list_.commento, list_.provvisorio};
}

void ReceiptModes::PrintBill() {
    if (list_.Empty()) return;
    PrintInputs& in = layout_.In();
    UseList();
    layout_.Cursor().Backend().SetCurrentPrinter(layout_.Setup().printerName);
    for (int n = 0; n < in.opt.gCopie[0]; ++n) PrintReceipts();
    if (in.opt.gRiepilogo[0])
        for (int n = 0; n < in.opt.gCopie[1]; ++n) PrintTransactionSummary();
    if (in.opt.gTicketRitiro) PrintPickupTickets();
    in.conto.gRistampaFatta = true;
    orders_.PrintKitchenOrders(list_);
}

void ReceiptModes::Reprint() {
    PrintInputs& in = layout_.In();
    UseList();
    layout_.Cursor().Backend().SetCurrentPrinter(layout_.Setup().printerName);
    PrintReceipts();
    if (in.opt.gRiepilogo[0]) PrintTransactionSummary();
    if (in.opt.gTicketRitiro) PrintPickupTickets();
    const PrintProfile& p = layout_.Setup().profile;
    if (p.roll && in.opt.gCalcolaCarta >= 1) layout_.Setup().StampaInizializzaCancellaForm();
    in.conto.gRistampaFatta = true;
}

void ReceiptModes::OpenReceipt(const std::vector<const PrintEntry*>& lines,
                               const std::string& groupName) {
    PageContent c;
    c.kind = LayoutKind::MultiLine;
    c.lines = lines;
    c.groupName = groupName;
    layout_.StartReceiptPage(c);
}

void ReceiptModes::CloseReceipt(bool totalAlways, bool tableAlways) {
    const Options& o = layout_.In().opt;
    layout_.PrintQtyColumn();
    if (o.gStampaTotale && (totalAlways || pieces_ > 0)) {
        layout_.PrintTotalLine(amount_, pieces_);
        if (!tableAlways) layout_.PrintTableAndComment();
        amount_ = Currency{};
        pieces_ = 0;
    }
    if (tableAlways) layout_.PrintTableAndComment();
    layout_.FinishReceipt();
}

bool ReceiptModes::LastOfSectionReceipt(std::size_t i) const {
    // The receipt of a section goes on past flagged lines of the same section only.
    const auto& e = list_.entries;
    const int section = e[i].section;
    for (std::size_t j = i + 1; j < e.size(); ++j) {
        if (e[j].section != section) return true;
        if (!e[j].separate) return false;
    }
    return true;
}

void ReceiptModes::GroupedPass(ReceiptMode mode) {
    const auto& e = list_.entries;
    const bool bySection = mode == ReceiptMode::CumulativoGruppi;
    std::size_t lastUnflagged = e.size();
    for (std::size_t i = 0; i < e.size(); ++i)
        if (!e[i].separate) lastUnflagged = i;

    bool open = false;
    amount_ = Currency{};
    pieces_ = 0;
    for (std::size_t i = 0; i < e.size(); ++i) {
        if (e[i].separate) {
            if (bySection && open && LastOfSectionReceipt(i)) {
                CloseReceipt(true, false);
                open = false;
            }
            continue;
        }
        if (!open) {
            std::vector<const PrintEntry*> lines;
            for (std::size_t j = i; j < e.size(); ++j) {
                if (bySection && e[j].section != e[i].section) break;
                if (!e[j].separate) lines.push_back(&e[j]);
            }
            OpenReceipt(lines);
            layout_.PrintReceiptHeader("");
            open = true;
        }
        const bool last = bySection ? LastOfSectionReceipt(i) : i == lastUnflagged;
        layout_.PrintItemLine(&e[i], false, last);
        amount_ += e[i].lineAmount;
        pieces_ += e[i].quantity;
        if (bySection && last) {
            CloseReceipt(true, false);
            open = false;
        }
    }
    if (open) CloseReceipt(false, true);
}

void ReceiptModes::SingleLineReceipt(const PrintEntry& e) {
    const Options& o = layout_.In().opt;
    const int n = o.gScontriniQta ? e.quantity : 1;
    for (int k = 0; k < n; ++k) {
        PageContent c;
        c.kind = LayoutKind::SingleLine;
        c.lines = {&e};
        c.onePerQuantity = o.gScontriniQta;
        layout_.StartReceiptPage(c);
        layout_.PrintReceiptHeader("");
        layout_.PrintItemLine(&e, o.gScontriniQta, true);
        layout_.PrintQtyColumn();
        if (o.gStampaTotale && !o.gTotaleNoSingolo) {
            if (o.gScontriniQta)
                layout_.PrintTotalLine(e.unitPrice, 1);
            else
                layout_.PrintTotalLine(e.lineAmount, e.quantity);
        }
        layout_.PrintTableAndComment();
        layout_.FinishReceipt();
    }
}

void ReceiptModes::AdvancedPass() {
    const Catalogue& cat = layout_.In().cat;
    const auto& e = list_.entries;
    std::set<int> served;
    for (std::size_t g = 1; g < cat.gGruppi.size(); ++g) {
        const int number = cat.gGruppi[g].number;
        if (number == 0 || !served.insert(number).second) continue;
        std::vector<const PrintEntry*> lines;
        for (const PrintEntry& x : e)
            if (x.group == number) lines.push_back(&x);
        if (lines.empty()) continue;
        amount_ = Currency{};
        pieces_ = 0;
        OpenReceipt(lines, cat.gGruppi[g].name);
        layout_.PrintReceiptHeader(cat.gGruppi[g].name);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            layout_.PrintItemLine(lines[i], false, i + 1 == lines.size());
            amount_ += lines[i]->lineAmount;
            pieces_ += lines[i]->quantity;
        }
        CloseReceipt(true, true);
    }
    // A line whose group does not exist would otherwise never be printed.
    for (const PrintEntry& x : e)
        if (!EsisteGruppo(cat, x.group)) SingleLineReceipt(x);
}

void ReceiptModes::PrintReceipts() {
    const Options& o = layout_.In().opt;
    UseList();
    const auto mode = static_cast<ReceiptMode>(o.gCumulativo);
    if (mode == ReceiptMode::Avanzato) {
        AdvancedPass();
    } else {
        if (mode != ReceiptMode::Separato) GroupedPass(mode);
        for (const PrintEntry& x : list_.entries)
            if (mode == ReceiptMode::Separato || x.separate) SingleLineReceipt(x);
    }
    layout_.Cursor().Backend().EndDoc();
}

void ReceiptModes::PrinterTest() {
    PrintInputs& in = layout_.In();
    Options& o = in.opt;
    const std::string keep1 = o.gTitoloScontrino, keep2 = o.gTitoloScontrino2;
    o.gTitoloScontrino = "*****   TEST STAMPANTE   *****";
    o.gTitoloScontrino2 = "**    SECONDA RIGA TITOLO   **";
    layout_.job = ReceiptData{in.gNumeroScontrino, in.clock.Now(), "", "", ""};
    PageContent c;
    c.kind = LayoutKind::MultiLine;
    c.testLines = 12;
    layout_.Cursor().Backend().SetCurrentPrinter(layout_.Setup().printerName);
    layout_.StartReceiptPage(c);
    layout_.PrintReceiptHeader("");
    for (int i = 0; i < 12; ++i) layout_.PrintItemLine(nullptr, false, i == 11);
    layout_.PrintQtyColumn();
    layout_.PrintFooter(false);
    layout_.Cursor().Backend().EndDoc();
    o.gTitoloScontrino = keep1;
    o.gTitoloScontrino2 = keep2;
}

}  // namespace vorsa
