#include "printing/receipt_layout.h"

#include <algorithm>

#include "platform/text.h"
#include "printing/code39.h"
#include "printing/print_format.h"

namespace vorsa {

NameRows SplitName(const std::string& name, int nameChars) {
    const int n = std::max(1, nameChars);
    const int len = static_cast<int>(name.size());
    NameRows r;
    if (len <= n) {
        r.first = name;
        return r;
    }
    r.twoRows = true;
    // p: 1-based position of the last blank among the first n + 1 characters, 0 for none.
    int p = 0;
    for (int i = std::min(len, n + 1); i >= 1; --i)
        if (name[static_cast<std::size_t>(i - 1)] == ' ') {
            p = i;
            break;
        }
    if (p > 0 && (len - p <= n || (n - 4 <= p && p <= n))) {
        r.first = name.substr(0, static_cast<std::size_t>(p - 1));
        r.second = " " + name.substr(static_cast<std::size_t>(p));
    } else {
        r.first = name.substr(0, static_cast<std::size_t>(n - 1)) + "_";
        r.second = "_" + name.substr(static_cast<std::size_t>(n - 1));
    }
    return r;
}

namespace {

// One cut of a comment: the first row and the rest.
std::pair<std::string, std::string> CutComment(const std::string& s, int chars) {
    const int n = std::max(1, chars);
    const int len = static_cast<int>(s.size());
    const auto lastBlank = [&]() {
        for (int i = std::min(len, n + 1); i >= 1; --i)
            if (s[static_cast<std::size_t>(i - 1)] == ' ') return i;
        return 0;
    };
    int p = lastBlank();
    if (p < 41) p = 41;
    // A row of 40 characters does not fit a narrower page: cut where it still fits.
    if (p > n + 1) {
        p = lastBlank();
        if (p == 0) p = n + 1;
    }
    if (p > len) return {s, ""};
    std::string first = s.substr(0, static_cast<std::size_t>(p - 1));
    // Only a blank at the cut is dropped, never a letter of the comment.
    const std::size_t restStart = s[static_cast<std::size_t>(p - 1)] == ' '
                                      ? static_cast<std::size_t>(p)
                                      : static_cast<std::size_t>(p - 1);
    return {first, s.substr(restStart)};
}

}  // namespace

std::vector<std::string> SplitComment(const std::string& comment, int chars) {
    const int n = std::max(1, chars);
    if (static_cast<int>(comment.size()) <= n) return {comment};
    auto [first, rest] = CutComment(comment, n);
    std::vector<std::string> rows{first};
    if (rest.empty()) return rows;
    if (static_cast<int>(rest.size()) <= n) {
        rows.push_back(rest);
        return rows;
    }
    auto [second, third] = CutComment(rest, n);
    rows.push_back(second);
    if (!third.empty()) rows.push_back(third);
    return rows;
}

ReceiptLayout::ReceiptLayout(PrintCursor& cursor, PageSetup& setup, PrintInputs in)
    : cursor_(cursor), setup_(setup), in_(in) {}

namespace {

std::string TrimBlanks(const std::string& s) {
    const std::size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// Rows no wider than `fits` allows. A row ends before a " - " when one fits, else at the last
// blank that fits but those beside a euro sign, so "Importo: € 1.388,50" stays whole; only a
// word longer than a whole row is cut, and then `cut` is set.
std::vector<std::string> Wrap(const std::string& text,
                              const std::function<bool(const std::string&)>& fits, bool& cut) {
    std::vector<std::string> rows;
    std::string rest = text;
    while (!rest.empty() && !fits(rest)) {
        std::size_t sep = std::string::npos, blank = std::string::npos;
        for (std::size_t i = 1; i < rest.size(); ++i) {
            // The euro sign stays with its amount, before or after it.
            if (rest[i] != ' ' || rest[i - 1] == kEuro[0]) continue;
            if (i + 1 < rest.size() && rest[i + 1] == kEuro[0]) continue;
            const std::string head = TrimBlanks(rest.substr(0, i));
            if (head.empty()) continue;
            if (!fits(head)) break;
            blank = i;
            if (i + 2 < rest.size() && rest[i + 1] == '-' && rest[i + 2] == ' ') sep = i;
        }
        std::size_t end = 0, next = 0;
        if (sep != std::string::npos) {
            end = sep;
            next = sep + 3;
        } else if (blank != std::string::npos) {
            end = blank;
            next = blank + 1;
        } else {
            std::size_t n = 1;
            while (n < rest.size() && fits(rest.substr(0, n + 1))) ++n;
            end = next = n;
            cut = true;
        }
        rows.push_back(TrimBlanks(rest.substr(0, end)));
        rest = TrimBlanks(rest.substr(next));
    }
    if (!rest.empty() || rows.empty()) rows.push_back(rest);
    return rows;
}

Margins OrderMargins(const std::vector<OrderPage>& o, int order) {
    return order >= 1 && static_cast<std::size_t>(order) <= o.size()
               ? o[static_cast<std::size_t>(order - 1)].margins
               : Margins{};
}

}  // namespace

std::string TotalText(Currency amount, long long pieces) {
    return "Pezzi: nr. " + FormatIntero(pieces) + "  -  Importo: " + std::string(kEuro) + " " +
           FormatImporto(amount);
}

FittedText ReceiptLayout::Fit(const std::string& text, int size, int width) {
    const int top = std::max(size, kMinFontSize);
    for (int s = top; s >= kMinFontSize; --s)
        if (cursor_.WidthAt(s, text) <= width) return {s, {text}};
    for (int s = top; s >= kMinFontSize; --s) {
        bool cut = false;
        auto rows = Wrap(
            text, [&](const std::string& r) { return cursor_.WidthAt(s, r) <= width; }, cut);
        if (!cut) return {s, rows};
    }
    bool cut = false;
    return {
        kMinFontSize,
        Wrap(
            text, [&](const std::string& r) { return cursor_.WidthAt(kMinFontSize, r) <= width; },
            cut)};
}

int ReceiptLayout::FittedHeight(const std::string& text, int size, int width) {
    const FittedText f = Fit(text, size, width);
    return static_cast<int>(f.rows.size()) * cursor_.HeightX(f.size);
}

int ReceiptLayout::Between() {
    return W() - prof().leftMargin - prof().rightMargin;
}

void ReceiptLayout::PrintRows(const std::string& text, int reserved, int left, int right,
                              Align align) {
    const FittedText f = Fit(text, cursor_.Font().size, W() - left - right - reserved);
    if (f.size != cursor_.Font().size) cursor_.SetSize(f.size);
    for (const std::string& row : f.rows) {
        const int w = cursor_.Width(row);
        const int last = std::max(left, W() - right - reserved - w);
        if (align == Align::Left)
            cursor_.X = left;
        else if (align == Align::Right)
            cursor_.X = last;
        else
            cursor_.X = std::clamp((W() - w - reserved) / 2, left, last);
        cursor_.Print(row);
    }
}

void ReceiptLayout::PrintCentered(const std::string& text, int reserved) {
    PrintCenteredWithin(text, reserved, prof().leftMargin, prof().rightMargin);
}

void ReceiptLayout::PrintCenteredWithin(const std::string& text, int reserved, int left,
                                        int right) {
    const int keep = cursor_.Font().size;
    PrintRows(text, reserved, left, right, Align::Centre);
    if (cursor_.Font().size != keep) cursor_.SetSize(keep);
}

void ReceiptLayout::PrintRight(const std::string& text) {
    const int keep = cursor_.Font().size;
    PrintRows(text, 0, prof().leftMargin, prof().rightMargin, Align::Right);
    if (cursor_.Font().size != keep) cursor_.SetSize(keep);
}

void ReceiptLayout::PrintRightInOrder(const std::string& text, int order) {
    const Margins m = OrderMargins(setup_.orders, order);
    const int keep = cursor_.Font().size;
    PrintRows(text, 0, m.left, m.right, Align::Right);
    if (cursor_.Font().size != keep) cursor_.SetSize(keep);
}

void ReceiptLayout::PrintLeft(const std::string& text, int gapTwips) {
    cursor_.Y += gapTwips;
    const int keep = cursor_.Font().size;
    PrintRows(text, 0, prof().leftMargin, prof().rightMargin, Align::Left);
    if (cursor_.Font().size != keep) cursor_.SetSize(keep);
}

void ReceiptLayout::PrintLeftInOrder(const std::string& text, int gapTwips, int order) {
    const Margins m = OrderMargins(setup_.orders, order);
    cursor_.Y += gapTwips;
    const int keep = cursor_.Font().size;
    PrintRows(text, 0, m.left, m.right, Align::Left);
    if (cursor_.Font().size != keep) cursor_.SetSize(keep);
}

int ReceiptLayout::BarcodeQuietZone(const BarcodePicture& picture) {
    return 10 * picture.unit * kTwipsPixelBarcode;
}

void ReceiptLayout::PrintWithBarcode(const std::string& text, const BarcodePicture& picture,
                                     bool centred, int left, int right, int minGap) {
    const int size = cursor_.Font().size;
    const int quiet = BarcodeQuietZone(picture);
    const int bw = LarghezzaBarcode(picture);
    const int h = cursor_.HeightX(size);
    const int between = std::max(minGap, quiet);
    const int tw = cursor_.Width(text);
    const int y0 = cursor_.Y;
    const int room = W() - left - right;
    if (tw + between + bw + quiet <= room) {
        const int x = centred ? std::clamp((W() - tw - between - bw) / 2, left,
                                           W() - right - quiet - bw - between - tw)
                              : left;
        cursor_.X = x;
        cursor_.Print(text);
        cursor_.Backend().DrawBarcode(picture, x + tw + between, y0, bw, h);
        return;
    }
    PrintRows(text, 0, left, right, centred ? Align::Centre : Align::Left);
    if (cursor_.Font().size != size) cursor_.SetSize(size);
    cursor_.Y += gap();
    cursor_.Backend().DrawBarcode(picture, std::max(left + quiet, (W() - bw) / 2), cursor_.Y, bw,
                                  h);
    cursor_.Y += h + gap();
}

int ReceiptLayout::WithBarcodeHeight(const std::string& text, int size,
                                     const BarcodePicture& picture, int left, int right,
                                     int minGap) {
    const int quiet = BarcodeQuietZone(picture);
    const int tw = cursor_.WidthAt(size, text);
    if (tw + std::max(minGap, quiet) + LarghezzaBarcode(picture) + quiet <= W() - left - right)
        return cursor_.HeightX(size);
    return FittedHeight(text, size, W() - left - right) + 2 * gap() + cursor_.HeightX(size);
}

void ReceiptLayout::StartReceiptPage(const PageContent& content) {
    setup_.PreparePrinter([&] { return ComputePaperLength(content); });
    SizeColumnFor(content);
    cursor_.Y = prof().topMargin;
    if (HasImage(0)) DrawReceiptImage(0);
    const Options& o = opt();
    if (o.gTitoloScontrino.empty()) return;
    cursor_.SetSize(prof().titleSize);
    cursor_.SetBold(true);
    cursor_.SetUnderline(o.gTitoloSottolineato[0]);
    PrintCentered(o.gTitoloScontrino, 0);
    if (!o.gTitoloScontrino2.empty()) {
        cursor_.Y += 2 * gap();
        cursor_.SetUnderline(o.gTitoloSottolineato[1]);
        PrintCentered(o.gTitoloScontrino2, 0);
    }
    cursor_.SetUnderline(false);
}

void ReceiptLayout::PrintReceiptHeader(const std::string& groupName) {
    const Options& o = opt();
    cursor_.SetBold(true);
    if (o.gScontriniDataOra) {
        cursor_.SetSize(prof().textSize);
        cursor_.Y += 3 * gap();
        PrintCentered(FormatDataOraScontrino(job.data), 0);
    }
    if (o.gProgressivo || in_.conto.gRistampaFatta) {
        cursor_.Y += 3 * gap();
        PrintReceiptNumber();
    }
    cursor_.SetSize(prof().textSize);
    const int extra = GroupNameExtra(groupName);
    cursor_.Y += 2 * gap() + cursor_.HeightX(prof().textSize) + extra;
    itemTop = cursor_.Y;
    if (o.gCumulativo == 3 && o.gNomeGruppo) {
        cursor_.Y = itemTop - gap() - cursor_.HeightX(prof().textSize) - extra;
        PrintCentered(groupName, QtyColumnWidth());
    }
    cursor_.Y = itemTop;
}

int ReceiptLayout::GroupNameExtra(const std::string& groupName) {
    if (opt().gCumulativo != 3 || !opt().gNomeGruppo || groupName.empty()) return 0;
    // A long name wraps upwards from the free row, pushing the first line down.
    const FittedText f = Fit(groupName, prof().textSize, Between() - QtyColumnWidth());
    const int rows = static_cast<int>(f.rows.size()) * cursor_.HeightX(f.size);
    return std::max(0, rows - cursor_.HeightX(prof().textSize));
}

void ReceiptLayout::PrepareBarcode() {
    barcode = DrawCode39(NumeroCodice(job.numero, job.provvisorio));
}

std::string ReceiptLayout::NumberText() {
    const Options& o = opt();
    std::string text = "COPIA";
    if (o.gProgressivo)
        text = std::string(in_.conto.gRistampaFatta ? "COPIA - Scontrino: " : "Scontrino: ") +
               o.gPrefisso + NumeroTesto(job.numero, job.provvisorio);
    if (o.gTicketRitiroBarre) text += " - ";
    return text;
}

void ReceiptLayout::PrintReceiptNumber() {
    // The number row is a text row: always at textSize, whatever printed before it.
    cursor_.SetSize(prof().textSize);
    const std::string text = NumberText();
    if (opt().gTicketRitiroBarre) {
        PrepareBarcode();
        PrintWithBarcode(text, barcode, true, prof().leftMargin, prof().rightMargin, 0);
    } else {
        PrintCentered(text, 0);
    }
}

int ReceiptLayout::NumberRowHeight() {
    const std::string text = NumberText();
    if (!opt().gTicketRitiroBarre) return FittedHeight(text, prof().textSize, Between());
    return WithBarcodeHeight(text, prof().textSize,
                             DrawCode39(NumeroCodice(job.numero, job.provvisorio)),
                             prof().leftMargin, prof().rightMargin, 0);
}

std::string ReceiptLayout::NameOf(const PrintEntry* entry) const {
    if (entry) return entry->name;
    const auto& a = in_.cat.gArticoli;
    return a.empty() || a[0].name.empty() ? std::string(kNomeTest) : a[0].name;
}

NameRows ReceiptLayout::RowsFor(const std::string& name) {
    // The names stop short of the quantity column, however wide its figures make it.
    const int x = cursor_.WidthAt(prof().nameSize, "X");
    const int room = x > 0 ? (Between() - QtyColumnWidth()) / x : prof().nameChars;
    const int n = std::max(1, std::min<int>(prof().nameChars, room));
    NameRows r = SplitName(name, n);
    r.secondSize = prof().nameSize;
    if (r.twoRows && static_cast<int>(r.second.size()) > n) {
        if (!opt().gRiduciCarattereRiga) {
            r.second = r.second.substr(0, static_cast<std::size_t>(n));
            return r;
        }
        const int limit =
            cursor_.WidthAt(prof().nameSize, std::string(static_cast<std::size_t>(n), 'X'));
        int s = prof().nameSize - 1;
        while (s > kMinFontSize && cursor_.WidthAt(s, r.second) >= limit) --s;
        if (s >= kMinFontSize && cursor_.WidthAt(s, r.second) < limit) {
            r.secondSize = s;
            return r;
        }
        // Smaller would not be read: the rest goes on further rows at the name size.
        bool cut = false;
        const auto rows = Wrap(
            r.second, [n](const std::string& t) { return static_cast<int>(t.size()) <= n; }, cut);
        r.second = rows.front();
        r.more.assign(rows.begin() + 1, rows.end());
    }
    return r;
}

std::string ReceiptLayout::QtyText(const PrintEntry* entry, bool onePerQuantity) const {
    if (!entry) return "99";
    return onePerQuantity ? "1" : std::to_string(entry->quantity);
}

std::string ReceiptLayout::PriceText(const PrintEntry* entry) const {
    std::string text(kEuro);
    if (!entry) return text + " " + FormatImporto(Currency::FromRaw(112200));
    if (entry->unitPrice < Currency::FromUnits(99)) text += " ";
    return text + FormatImporto(entry->unitPrice);
}

void ReceiptLayout::SizeColumnFor(const PageContent& content) {
    qtyColumn_ = 0;
    groupName_.clear();
    const bool receipt =
        content.kind == LayoutKind::MultiLine || content.kind == LayoutKind::SingleLine;
    if (!receipt) return;
    const int qtySize = 2 * prof().nameSize + 1;
    int widest = 0;
    const auto measure = [&](const PrintEntry* e, bool one) {
        widest = std::max(widest, cursor_.WidthAt(qtySize, QtyText(e, one)));
        if (opt().gStampaPrezzi)
            widest = std::max(widest, cursor_.WidthAt(prof().priceSize, PriceText(e)));
    };
    Currency amount;
    long long pieces = 0;
    for (const PrintEntry* e : content.lines) {
        measure(e, content.onePerQuantity);
        amount += content.onePerQuantity ? e->unitPrice : e->lineAmount;
        pieces += content.onePerQuantity ? 1 : e->quantity;
    }
    if (content.testLines > 0) measure(nullptr, false);
    // A figure keeps half a gap unit from the column's rule.
    if (widest + gap() / 2 > prof().qtyColumnWidth) qtyColumn_ = widest + gap() / 2;
    if (!content.lines.empty()) totalText_ = TotalText(amount, pieces);
    groupName_ = content.groupName;
}

int ReceiptLayout::QtyColumnWidth() {
    return std::max<int>(prof().qtyColumnWidth, qtyColumn_);
}

void ReceiptLayout::PrintItemLine(const PrintEntry* entry, bool onePerQuantity, bool last) {
    const Options& o = opt();
    if (!prof().roll) {
        int need = prof().bottomMargin + ItemLineHeight(entry, onePerQuantity);
        if (last) need += FooterHeight(true) + TotalLineHeight() + TableCommentHeight();
        if (need > Hp() - cursor_.Y) {
            PrintQtyColumn();
            cursor_.Y = 100;
            cursor_.SetSize(8);
            PrintRight("*");
            if (o.gTaglioAlternativo)
                cursor_.Backend().EndDoc();
            else
                cursor_.Backend().NewPage();
            const int column = qtyColumn_;
            StartReceiptPage(PageContent{});
            qtyColumn_ = column;
            PrintReceiptHeader("");
        }
    }

    const int nameSize = prof().nameSize;
    cursor_.SetSize(nameSize);
    cursor_.SetBold(true);
    cursor_.SetItalic(false);
    cursor_.Line(prof().leftMargin, cursor_.Y, W() - prof().rightMargin, cursor_.Y);
    cursor_.X = 0;
    const int yLine = cursor_.Y;
    cursor_.Y += gap();

    const NameRows rows = RowsFor(NameOf(entry));
    PrintLeft(rows.first, 0);
    if (rows.twoRows) {
        cursor_.SetSize(rows.secondSize);
        PrintLeft(rows.second, 0);
        cursor_.SetSize(nameSize);
        for (const std::string& row : rows.more) PrintLeft(row, 0);
    }
    const int yEnd = cursor_.Y;

    const int qtySize = 2 * nameSize + 1;
    cursor_.SetSize(qtySize);
    cursor_.Y = yLine + gap();
    PrintRight(QtyText(entry, onePerQuantity));

    if (o.gStampaPrezzi) {
        cursor_.Y = yLine + cursor_.HeightX(qtySize) + 5;
        cursor_.SetSize(prof().priceSize);
        PrintRight(PriceText(entry));
    }
    if (cursor_.Y < yEnd) cursor_.Y = yEnd;
    cursor_.Y += gap();
}

void ReceiptLayout::PrintQtyColumn() {
    const int yEndItems = cursor_.Y;
    cursor_.SetSize(prof().textSize);
    const int column = QtyColumnWidth();
    const int x0 = W() - column - prof().rightMargin;
    const int yHead = itemTop - gap() - cursor_.HeightX(prof().textSize);
    cursor_.Y = yHead;
    cursor_.X = x0 + (column - cursor_.Width("Qt\xE0")) / 2;
    cursor_.Print("Qt\xE0");
    cursor_.Line(x0, yHead, x0, yEndItems);
}

void ReceiptLayout::PrintTotalLine(Currency amount, long long pieces) {
    // totalSize fits 34 characters; a longer line shrinks, or splits before "Importo".
    cursor_.SetSize(prof().totalSize);
    PrintLeft(TotalText(amount, pieces), gap());
}

ReceiptLayout::CommentRows ReceiptLayout::LayoutComment() {
    CommentRows c;
    const std::string& comment = job.commento;
    c.size = prof().nameSize;
    setup_.profile.commentSize = prof().nameSize;
    if (comment.empty()) return c;
    const int avail = W() - prof().rightMargin - prof().leftMargin;
    const int len = static_cast<int>(comment.size());
    const auto charsAt = [&](int size) {
        const int x = cursor_.WidthAt(size, "X");
        return x > 0 ? avail / x : len;
    };
    int n = charsAt(c.size);
    if (n >= len) {
        c.rows = {comment};
        return c;
    }
    if (3 * n < len + 12) {
        // Not below the legible minimum: the rows wrap instead.
        c.size = std::max(kMinFontSize,
                          setup_.FitFontForCharacters((len + 12) / 3, prof().nameSize - 1));
        setup_.profile.commentSize = static_cast<std::int16_t>(c.size);
        n = charsAt(c.size);
    }
    c.rows = SplitComment(comment, n);
    return c;
}

void ReceiptLayout::PrintTableAndComment() {
    if (!job.tavolo.empty() || !job.commento.empty()) cursor_.Y += 2 * gap();
    if (!job.tavolo.empty()) {
        cursor_.SetSize(prof().nameSize);
        PrintLeft("Tavolo: " + job.tavolo, 0);
        cursor_.Y += gap();
    }
    if (!job.commento.empty()) {
        const CommentRows c = LayoutComment();
        cursor_.SetSize(c.size);
        for (const std::string& row : c.rows) PrintLeft(row, 0);
    }
}

void ReceiptLayout::PrintFooter(bool withNumber) {
    const Options& o = opt();
    cursor_.Y = Hp() - FooterHeight(withNumber);
    const bool piede = !o.gPiede.empty();
    const bool image = HasImage(1);
    const bool number = o.gProgressivo && o.gProgressivoPiede;
    if (piede || image || number) cursor_.Y += 2 * gap();
    if (withNumber && number) {
        PrintReceiptNumber();
        cursor_.Y += 3 * gap();
    }
    if (piede) {
        cursor_.SetSize(prof().titleSize);
        cursor_.SetUnderline(o.gTitoloSottolineato[2]);
        PrintCentered(o.gPiede, 0);
        cursor_.SetUnderline(false);
    }
    if (image && piede) cursor_.Y += 2 * gap();
    if (image) DrawReceiptImage(1);
}

void ReceiptLayout::FinishReceipt() {
    PrintFooter(true);
    if (opt().gTaglioAlternativo)
        cursor_.Backend().EndDoc();
    else
        cursor_.Backend().NewPage();
}

}  // namespace vorsa
