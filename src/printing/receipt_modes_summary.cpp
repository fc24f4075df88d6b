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

// The rows under the summary's title, each printed with a gap of one gapUnit but the first.
std::vector<std::string> SummaryRows(const PrintList& list, const std::string& prefisso) {
    long long pezzi = 0;
    Currency merce;
    for (const PrintEntry& e : list.entries) {
        pezzi += e.quantity;
        merce += e.lineAmount;
    }
    return {"Data: ....... " + FormatData(list.data),
            "Ora: ........ " + FormatOra(list.data),
            "Progressivo:  " + prefisso + list.NumeroTesto(),
            "Numero righe: " + FormatIntero(static_cast<long long>(list.entries.size())),
            "Totale pezzi: " + FormatIntero(pezzi),
            "Totale merce: " + FormatImporto(merce) + " " + std::string(kEuro)};
}

}  // namespace

int ReceiptModes::SummaryDetailSize() {
    const Options& o = layout_.In().opt;
    PageSetup& s = layout_.Setup();
    const int avail = layout_.W() - s.profile.rightMargin - s.profile.leftMargin;
    // Not below the legible minimum: a detail line that still does not fit wraps.
    int size = s.profile.textSize;
    for (; size > kMinFontSize; --size) {
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
    const int width = layout_.Between();
    int h = layout_.FittedHeight("RIEPILOGO TRANSAZIONE", p.titleSize, width) + 4 * gap - gap;
    for (const std::string& row : SummaryRows(list_, o.gPrefisso))
        h += gap + layout_.FittedHeight(row, p.textSize, width);
    if (o.gRiepilogo[1]) {
        h += gap + layout_.FittedHeight("Dettaglio:", p.textSize, width);
        const int detail = SummaryDetailSize();
        for (const PrintEntry& e : list_.entries)
            h += layout_.FittedHeight(DetailLine(e, o.gStampaPrezzi), detail, width);
    }
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
    const std::vector<std::string> rows = SummaryRows(list_, o.gPrefisso);
    for (std::size_t i = 0; i < rows.size(); ++i)
        layout_.PrintLeft(rows[i], i == 0 ? 4 * gap : gap);
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
        const int x = std::max(p.leftMargin + ReceiptLayout::BarcodeQuietZone(layout_.barcode),
                               (layout_.W() - bw) / 2);
        c.Backend().DrawBarcode(layout_.barcode, x, c.Y, bw, h);
        c.Y += h;
    }
    c.Backend().EndDoc();
}

int ReceiptModes::TicketBodyHeight(const std::string& groupName) {
    const Options& o = layout_.Setup().Opt();
    const PrintProfile& p = layout_.Setup().profile;
    const int gap = p.gapUnit;
    const int width = layout_.Between();
    int h = layout_.FittedHeight("TICKET PER RITIRO", p.titleSize, width) + 4 * gap +
            layout_.FittedHeight("Data: ....... " + FormatData(list_.data), p.textSize, width) +
            gap +
            layout_.FittedHeight("Ora: ........ " + FormatOra(list_.data), p.textSize, width) + gap;
    const std::string number = TicketNumber();
    if (o.gTicketRitiroBarre)
        h += layout_.WithBarcodeHeight(number, 4 * p.textSize, DrawCode39(list_.NumeroCodice()),
                                       p.leftMargin, p.rightMargin, 0);
    else
        h += layout_.FittedHeight(number, 4 * p.textSize, width);
    if (!groupName.empty()) h += layout_.FittedHeight(groupName, 2 * p.textSize, width) + 2 * gap;
    return h + layout_.FittedHeight(TicketText(), p.nameSize, width);
}

std::string ReceiptModes::TicketNumber() const {
    const Options& o = layout_.Setup().Opt();
    return o.gPrefisso + list_.NumeroTesto() + (o.gTicketRitiroBarre ? " " : "");
}

std::string ReceiptModes::TicketText() const {
    const Options& o = layout_.Setup().Opt();
    return o.gTestoRitiro.empty() ? "Attendere la chiamata" : o.gTestoRitiro;
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
            in.opt.gCumulativo == static_cast<int>(ReceiptMode::Avanzato)
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
    c.SetSize(4 * p.textSize);
    if (o.gTicketRitiroBarre) {
        layout_.PrepareBarcode();
        layout_.PrintWithBarcode(TicketNumber(), layout_.barcode, true, p.leftMargin, p.rightMargin,
                                 0);
    } else {
        layout_.PrintCentered(TicketNumber(), 0);
    }
    if (!groupName.empty()) {
        c.SetSize(2 * p.textSize);
        layout_.PrintCentered(groupName, 0);
        c.Y += 2 * gap;
    }
    c.SetSize(p.nameSize);
    layout_.PrintCentered(TicketText(), 0);
    layout_.PrintFooter(false);
    c.Backend().EndDoc();
}

}  // namespace vorsa
