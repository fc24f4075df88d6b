// The transaction summary and the pickup tickets of a bill.
#include <algorithm>
#include <vector>

#include "platform/text.h"
#include "printing/code39.h"
#include "printing/print_format.h"
#include "printing/receipt_modes.h"

namespace vorsa {
namespace {

std::string DetailLine(const PrintEntry& e, bool prices) {
    std::string line = " Nr. " + FormatIntero(e.quantity) + " " + e.name;
    if (prices) line += " (" + std::string(kEuro) + " " + FormatImporto(e.unitPrice) + ")";
    return line;
}

}  // namespace

int ReceiptModes::SummaryDetailSize() {
    const Options& o = layout_.In().opt;
    PageSetup& s = layout_.Setup();
    const int avail = layout_.W() - s.profile.rightMargin - s.profile.leftMargin;
    int size = s.profile.textSize;
    for (; size > 0; --size) {
        const bool fits =
            std::all_of(list_.entries.begin(), list_.entries.end(), [&](const PrintEntry& e) {
                const std::string probe =
                    std::string(8, 'X') + e.name + (o.gStampaPrezzi ? std::string(10, 'X') : "");
                return layout_.Cursor().WidthAt(size, probe) < avail;
            });
        if (fits) break;
    }
    return size;
}

int ReceiptModes::SummaryBodyHeight() {
    const Options& o = layout_.In().opt;
    const PrintProfile& p = layout_.Setup().profile;
    PrintCursor& c = layout_.Cursor();
    const int gap = p.gapUnit;
    const int row = c.HeightX(p.textSize);
    int h = c.HeightX(p.titleSize) + 4 * gap + row + 5 * (gap + row);
    if (o.gRiepilogo[1])
        h += gap + row + static_cast<int>(list_.entries.size()) * c.HeightX(SummaryDetailSize());
    if (o.gTicketRitiroBarre) h += 2 * gap + c.HeightX(2 * p.titleSize);
    return h;
}

void ReceiptModes::PrintTransactionSummary() {
    if (list_.Empty()) return;
    const Options& o = layout_.In().opt;
    UseList();
    PrintCursor& c = layout_.Cursor();
    PageContent content;
    content.kind = LayoutKind::Summary;
    // Measured on the prepared page, when the paper length is asked.
    content.bodyHeight = [this] { return SummaryBodyHeight(); };
    layout_.StartReceiptPage(content);
    const PrintProfile& p = layout_.Setup().profile;
    const int gap = p.gapUnit;
    const int detail = o.gRiepilogo[1] ? SummaryDetailSize() : p.textSize;

    c.SetSize(p.titleSize);
    layout_.PrintCentered("RIEPILOGO TRANSAZIONE", 0);
    c.SetSize(p.textSize);
    long long pezzi = 0;
    Currency merce;
    for (const PrintEntry& e : list_.entries) {
        pezzi += e.quantity;
        merce += e.lineAmount;
    }
    layout_.PrintLeft("Data: ....... " + FormatData(list_.data), 4 * gap);
    layout_.PrintLeft("Ora: ........ " + FormatOra(list_.data), gap);
    layout_.PrintLeft("Progressivo:  " + o.gPrefisso + FormatIntero(list_.numero), gap);
    layout_.PrintLeft("Numero righe: " + FormatIntero(static_cast<long long>(list_.entries.size())),
                      gap);
    layout_.PrintLeft("Totale pezzi: " + FormatIntero(pezzi), gap);
    layout_.PrintLeft("Totale merce: " + FormatImporto(merce) + " " + std::string(kEuro), gap);
    if (o.gRiepilogo[1]) {
        layout_.PrintLeft("Dettaglio:", gap);
        c.SetSize(detail);
        for (const PrintEntry& e : list_.entries)
            layout_.PrintLeft(DetailLine(e, o.gStampaPrezzi), 0);
    }
    layout_.PrintTableAndComment();
    if (o.gTicketRitiroBarre) {
        c.Y += 2 * gap;
        const int size = 2 * p.titleSize;
        c.SetSize(size);
        // The barcode of this bill, even when no receipt row drew it.
        layout_.PrepareBarcode();
        const int bw = LarghezzaBarcode(layout_.barcode);
        const int h = c.HeightX(size);
        c.Backend().DrawBarcode(layout_.barcode, (layout_.W() - bw) / 2, c.Y, bw, h);
        c.Y += h;
    }
    c.Backend().EndDoc();
}

int ReceiptModes::TicketBodyHeight(const std::string& groupName) {
    const PrintProfile& p = layout_.Setup().profile;
    PrintCursor& c = layout_.Cursor();
    const int gap = p.gapUnit;
    int h = c.HeightX(p.titleSize) + 4 * gap + c.HeightX(p.textSize) + gap + c.HeightX(p.textSize) +
            gap + c.HeightX(4 * p.textSize);
    if (!groupName.empty()) h += c.HeightX(2 * p.textSize) + 2 * gap;
    return h + c.HeightX(p.nameSize);
}

void ReceiptModes::PrintPickupTickets() {
    if (list_.Empty()) return;
    const PrintInputs& in = layout_.In();
    if (!in.opt.gTicketRitiroGruppo) {
        PrintPickupTicket("");
        return;
    }
    // Whole names, without case: a name that is part of another one still gets its ticket.
    std::vector<std::string> served;
    for (const PrintEntry& e : list_.entries) {
        const std::string group =
            in.opt.gCumulativo == static_cast<int>(ModoScontrini::Avanzato)
                ? NomeGruppo(in.cat, e.group)
                : in.cat.sezioni[static_cast<std::size_t>(std::clamp<int>(e.section, 0, 2))].name;
        const bool done = std::any_of(served.begin(), served.end(),
                                      [&](const std::string& s) { return EqualsNoCase(s, group); });
        if (done) continue;
        served.push_back(group);
        PrintPickupTicket(group);
    }
}

void ReceiptModes::PrintPickupTicket(const std::string& groupName) {
    const Options& o = layout_.In().opt;
    UseList();
    PrintCursor& c = layout_.Cursor();
    PageContent content;
    content.kind = LayoutKind::PickupTicket;
    content.bodyHeight = [this, &groupName] { return TicketBodyHeight(groupName); };
    layout_.StartReceiptPage(content);
    const PrintProfile& p = layout_.Setup().profile;
    const int gap = p.gapUnit;

    c.SetSize(p.titleSize);
    layout_.PrintCentered("TICKET PER RITIRO", 0);
    c.SetSize(p.textSize);
    layout_.PrintLeft("Data: ....... " + FormatData(list_.data), 4 * gap);
    layout_.PrintLeft("Ora: ........ " + FormatOra(list_.data), gap);
    c.Y += gap;
    const int size = 4 * p.textSize;
    c.SetSize(size);
    std::string text = o.gPrefisso + FormatIntero(list_.numero);
    if (o.gTicketRitiroBarre) {
        text += " ";
        layout_.PrepareBarcode();
        const int bw = LarghezzaBarcode(layout_.barcode);
        const int y0 = c.Y;
        layout_.PrintCentered(text, bw);
        const int tw = c.Width(text);
        c.Backend().DrawBarcode(layout_.barcode, (layout_.W() - tw - bw) / 2 + tw, y0, bw,
                                c.HeightX(size));
    } else {
        layout_.PrintCentered(text, 0);
    }
    if (!groupName.empty()) {
        c.SetSize(2 * p.textSize);
        layout_.PrintCentered(groupName, 0);
        c.Y += 2 * gap;
    }
    c.SetSize(p.nameSize);
    layout_.PrintCentered(o.gTestoRitiro.empty() ? "Attendere la chiamata" : o.gTestoRitiro, 0);
    layout_.PrintFooter(false);
    c.Backend().EndDoc();
}

}  // namespace vorsa
