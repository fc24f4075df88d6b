#include "printing/kitchen_orders.h"

#include <algorithm>
#include <array>

#include "platform/text.h"
#include "printing/code39.h"
#include "printing/print_format.h"

namespace vorsa {

PaperForm FormatoComanda(int code) {
    static constexpr std::array<std::array<int, 2>, 7> kSizes = {{{210000, 297000},
                                                                  {148000, 210000},
                                                                  {105000, 148000},
                                                                  {73000, 105000},
                                                                  {57000, 500000},
                                                                  {80000, 500000},
                                                                  {120000, 500000}}};
    const auto s = kSizes[static_cast<std::size_t>(code >= 0 && code <= 6 ? code : 0)];
    return PaperForm{"", s[0], s[1]};
}

KitchenOrders::KitchenOrders(ReceiptLayout& layout) : layout_(layout) {}

OrderPage& KitchenOrders::Page(int k) {
    auto& orders = layout_.Setup().orders;
    if (orders.size() < layout_.In().opt.gComande.size())
        orders.resize(layout_.In().opt.gComande.size());
    return orders[static_cast<std::size_t>(k - 1)];
}

const KitchenOrderConfig& KitchenOrders::Config(int k) const {
    return layout_.In().opt.gComande[static_cast<std::size_t>(k - 1)];
}

std::vector<KitchenOrders::Row> KitchenOrders::Rows(int k, const PrintList& list) const {
    const PrintInputs& in = layout_.In();
    std::vector<Row> rows;
    for (const std::string& voce : Split(Config(k).prodotti, in.opt.gSeparatore)) {
        if (!IsInteger(voce)) continue;
        const int index = in.cat.IndiceArticolo(static_cast<int>(Val(voce)));
        if (index < 1) continue;
        for (const PrintEntry& e : list.entries)
            if (e.articleIndex == index && e.quantity > 0) rows.push_back({index, e.quantity});
    }
    return rows;
}

void KitchenOrders::PrintKitchenOrders(const PrintList& list) {
    PrintInputs& in = layout_.In();
    const int n = static_cast<int>(in.opt.gComande.size());
    for (int k = 1; k <= n; ++k)
        if (Config(k).abilitato && !Rows(k, list).empty()) PrintKitchenOrder(k, list);
    in.sleeper.Sleep(500);
    PageSetup& s = layout_.Setup();
    for (int k = 1; k <= n; ++k)
        s.DeleteForm(s.StampanteComanda(k), std::string(kFormComanda) + std::to_string(k));
}

void KitchenOrders::ComputeOrderMargins(int k) {
    PrintBackend& b = layout_.Cursor().Backend();
    b.SetCurrentPrinter(layout_.Setup().StampanteComanda(k));
    Page(k).margins = MarginiStampante(b.Caps(), Config(k).margini);
}

void KitchenOrders::ComputeOrderCapacities(int k) {
    OrderPage& op = Page(k);
    PrintCursor& c = layout_.Cursor();
    const int avail = layout_.W() - op.margins.right - op.margins.left;
    const auto fit = [&](int chars, int width) {
        const std::string xs(static_cast<std::size_t>(chars), 'X');
        for (int s = kComandaSize; s > 0; --s)
            if (c.WidthAt(s, xs) < width) return s;
        return 0;
    };
    op.lineSize = static_cast<std::int16_t>(fit(26, avail - kComandaQtyWidth));
    op.fullSize = static_cast<std::int16_t>(fit(40, avail));
}

std::int32_t KitchenOrders::ComputeOrderPaperLength(int k, const PrintList& list) {
    const OrderPage& op = Page(k);
    const KitchenOrderConfig& cfg = Config(k);
    PrintCursor& c = layout_.Cursor();
    const int gap = layout_.Setup().profile.gapUnit;
    const int width = layout_.W() - op.margins.left - op.margins.right;
    const auto fitted = [&](const std::string& text, int size) {
        return layout_.FittedHeight(text, size, width);
    };
    // The sheet shows the moment it prints: measured with the longest day name, "mercoledì".
    DateTime longest = list.data;
    longest.weekday = 3;
    int h = op.margins.top + fitted("*** INIZIO COMANDA ***", kComandaSize) + 3 * gap +
            fitted(ToUpper(cfg.nome), kComandaSize) + gap +
            (copia ? fitted(std::string(kCopiaComanda), kComandaSize) + gap : 0) +
            fitted(FormatDataOraComanda(longest), 10) + 4 * gap;
    const std::string numero = NumberText(list);
    if (layout_.Setup().Opt().gTicketRitiroBarre)
        h += layout_.WithBarcodeHeight(numero, 13, DrawCode39(list.NumeroCodice()), op.margins.left,
                                       op.margins.right, kBarcodeGap);
    else
        h += fitted(numero, 13);
    if (!list.tavolo.empty() && cfg.opz[0]) h += 2 * gap + fitted("Tavolo:    " + list.tavolo, 13);
    if (!list.commento.empty() && cfg.opz[1])
        for (std::size_t from = 0; from < list.commento.size() && from < 120; from += 40)
            h += gap + fitted(list.commento.substr(from, 40), op.fullSize);
    const std::vector<Row> products = Rows(k, list);
    const int column = QtyColumn(op, products);
    for (const Row& r : products) {
        const int qty = c.HeightX(QtySize(op, r.quantity, column));
        h += 4 * gap + std::max(3 * gap + qty, 2 * gap + 2 * c.HeightX(op.lineSize));
    }
    h += 3 * gap + fitted("*** FINE COMANDA ***", kComandaSize) + op.margins.bottom;
    return LunghezzaCarta(h, cfg.calcolaCarta, c.Backend().Caps());
}

std::string KitchenOrders::NumberText(const PrintList& list) const {
    return "Scontrino: " + layout_.Setup().Opt().gPrefisso + list.NumeroTesto();
}

int KitchenOrders::QtyColumn(const OrderPage& op, const std::vector<Row>& rows) {
    // As wide as the widest quantity at twice the name size, as far as the 25-character name
    // rows leave room; never narrower than the format's 700 twips.
    PrintCursor& c = layout_.Cursor();
    const int half = layout_.Setup().profile.gapUnit / 2;
    int widest = 0;
    for (const Row& r : rows)
        widest = std::max(widest, c.WidthAt(2 * op.lineSize, std::to_string(r.quantity)) + half);
    const int names = c.WidthAt(op.lineSize, std::string(25, 'X'));
    const int room = layout_.W() - op.margins.left - op.margins.right - names;
    return std::max(kComandaQtyWidth, std::min(widest, room));
}

int KitchenOrders::QtySize(const OrderPage& op, int quantity, int column) {
    // Smaller only when even the widened column cannot hold the figure.
    const std::string q = std::to_string(quantity);
    const int room = column - layout_.Setup().profile.gapUnit / 2;
    int size = 2 * op.lineSize;
    while (size > kMinFontSize && layout_.Cursor().WidthAt(size, q) > room) --size;
    return size;
}

void KitchenOrders::PrepareOrderPrinter(int k, const PrintList& list) {
    PageSetup& s = layout_.Setup();
    PrintCursor& c = layout_.Cursor();
    PrintBackend& b = c.Backend();
    OrderPage& op = Page(k);
    const KitchenOrderConfig& cfg = Config(k);
    const std::string printer = s.StampanteComanda(k);
    b.SetCurrentPrinter(printer);
    c.SetFontName(std::string(kFontName));
    c.SetBold(true);
    b.SetResolution(kRisoluzione);
    const PaperForm f = FormatoComanda(cfg.formato);
    op.formWidth = f.width;
    op.formLength = f.length;
    op.roll = cfg.formato >= 4 && cfg.formato <= 6;

    const std::string dummy(kFormDummy);
    if (op.lineSize == 0) {
        s.EnsureForm(printer, op.formWidth, op.formLength, dummy);
        s.SelectForm(printer, dummy);
        if (s.printerAvailable) ComputeOrderMargins(k);
        ComputeOrderCapacities(k);
        s.DeleteForm(printer, dummy);
    }
    if (op.roll && cfg.calcolaCarta > 0) {
        // Measured on a page of the sheet's width: the printer may still have a receipt's.
        s.EnsureForm(printer, op.formWidth, op.formLength, dummy);
        s.SelectForm(printer, dummy);
        op.formLength = ComputeOrderPaperLength(k, list);
        s.DeleteForm(printer, dummy);
    }
    const std::string name = std::string(kFormComanda) + std::to_string(k);
    s.EnsureForm(printer, op.formWidth, op.formLength, name);
    s.SelectForm(printer, name);
}

void KitchenOrders::PrintOrderRows(int k, const PrintList& list) {
    const PrintInputs& in = layout_.In();
    PrintCursor& c = layout_.Cursor();
    const int gap = layout_.Setup().profile.gapUnit;
    const OrderPage& op = Page(k);
    const int w = layout_.W();
    const int column = QtyColumn(op, Rows(k, list));
    bool first = true;
    for (const Row& r : Rows(k, list)) {
        const Article& a = in.cat.gArticoli[static_cast<std::size_t>(r.index)];
        c.Y += 2 * gap;
        if (!first) c.Line(0, c.Y, w, c.Y);
        first = false;
        c.Y += 2 * gap;
        const int yRow = c.Y;
        c.SetSize(op.lineSize);
        layout_.PrintLeftInOrder(Left(a.name, 25), gap, k);
        layout_.PrintLeftInOrder(a.name.size() > 25 ? a.name.substr(25, 25) : "", gap, k);
        const int yNames = c.Y;
        c.SetSize(QtySize(op, r.quantity, column));
        c.Y = yRow + gap;
        layout_.PrintRightInOrder(std::to_string(r.quantity), k);
        // A quantity made smaller for the column can end above the names.
        c.Y = std::max(c.Y + 2 * gap, yNames);
        const int x = w - column - op.margins.right;
        c.Line(x, yRow, x, c.Y);
    }
}

void KitchenOrders::PrintKitchenOrder(int k, const PrintList& list) {
    PrintInputs& in = layout_.In();
    const Options& o = in.opt;
    const KitchenOrderConfig& cfg = Config(k);
    PrintCursor& c = layout_.Cursor();
    const int gap = layout_.Setup().profile.gapUnit;

    c.Backend().SetCurrentPrinter(layout_.Setup().StampanteComanda(k));
    PrepareOrderPrinter(k, list);
    const OrderPage& op = Page(k);

    const int left = op.margins.left, right = op.margins.right;
    c.Y = op.margins.top;
    c.SetSize(kComandaSize);
    layout_.PrintCenteredWithin("*** INIZIO COMANDA ***", 0, left, right);
    c.Y += 3 * gap;
    layout_.PrintCenteredWithin(ToUpper(cfg.nome), 0, left, right);
    if (copia) {
        c.Y += gap;
        layout_.PrintCenteredWithin(std::string(kCopiaComanda), 0, left, right);
    }
    c.SetSize(10);
    c.Y += gap;
    // The moment of printing; the receipt shows the moment of the sale.
    layout_.PrintCenteredWithin(FormatDataOraComanda(in.clock.Now()), 0, left, right);

    c.SetSize(13);
    c.Y += 4 * gap;
    if (o.gTicketRitiroBarre)
        layout_.PrintWithBarcode(NumberText(list), DrawCode39(list.NumeroCodice()), false, left,
                                 right, kBarcodeGap);
    else
        layout_.PrintLeftInOrder(NumberText(list), 0, k);
    if (!list.tavolo.empty() && cfg.opz[0])
        layout_.PrintLeftInOrder("Tavolo:    " + list.tavolo, 2 * gap, k);
    if (!list.commento.empty() && cfg.opz[1]) {
        c.SetSize(op.fullSize);
        for (std::size_t from = 0; from < list.commento.size() && from < 120; from += 40)
            layout_.PrintLeftInOrder(list.commento.substr(from, 40), gap, k);
    }

    PrintOrderRows(k, list);
    c.Y += 3 * gap;
    c.SetSize(kComandaSize);
    layout_.PrintCenteredWithin("*** FINE COMANDA ***", 0, left, right);
    c.Backend().EndDoc();
}

}  // namespace vorsa
