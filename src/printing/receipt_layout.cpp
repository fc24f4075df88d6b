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

void ReceiptLayout::PrintCentered(const std::string& text, int reserved) {
    cursor_.X = (W() - cursor_.Width(text) - reserved) / 2;
    cursor_.Print(text);
}

void ReceiptLayout::PrintRight(const std::string& text) {
    cursor_.X = W() - cursor_.Width(text) - prof().rightMargin;
    cursor_.Print(text);
}

void ReceiptLayout::PrintRightInOrder(const std::string& text, int order) {
    const auto& o = setup_.orders;
    const int right = order >= 1 && static_cast<std::size_t>(order) <= o.size()
                          ? o[static_cast<std::size_t>(order - 1)].margins.right
                          : 0;
    cursor_.X = W() - cursor_.Width(text) - right;
    cursor_.Print(text);
}

void ReceiptLayout::PrintLeft(const std::string& text, int gapTwips) {
    cursor_.Y += gapTwips;
    cursor_.X = prof().leftMargin;
    cursor_.Print(text);
}

void ReceiptLayout::PrintLeftInOrder(const std::string& text, int gapTwips, int order) {
    const auto& o = setup_.orders;
    cursor_.Y += gapTwips;
    cursor_.X = order >= 1 && static_cast<std::size_t>(order) <= o.size()
                    ? o[static_cast<std::size_t>(order - 1)].margins.left
                    : 0;
    cursor_.Print(text);
}

void ReceiptLayout::StartReceiptPage(const PageContent& content) {
    setup_.PreparePrinter([&] { return ComputePaperLength(content); });
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
    cursor_.Y += 2 * gap() + cursor_.HeightX(prof().textSize);
    itemTop = cursor_.Y;
    if (o.gCumulativo == 3 && o.gNomeGruppo) {
        cursor_.Y = itemTop - gap() - cursor_.HeightX(prof().textSize);
        PrintCentered(groupName, prof().qtyColumnWidth);
    }
    cursor_.Y = itemTop;
}

void ReceiptLayout::PrepareBarcode() {
    barcode = DrawCode39(std::to_string(job.numero));
}

void ReceiptLayout::PrintReceiptNumber() {
    const Options& o = opt();
    // The number row is a text row: always at textSize, whatever printed before it.
    cursor_.SetSize(prof().textSize);
    const int y0 = cursor_.Y;
    std::string text;
    if (o.gProgressivo)
        text = std::string(in_.conto.gRistampaFatta ? "COPIA - Scontrino: " : "Scontrino: ") +
               o.gPrefisso + FormatIntero(job.numero);
    else
        text = "COPIA";
    if (o.gTicketRitiroBarre) {
        PrepareBarcode();
        text += " - ";
        const int bw = LarghezzaBarcode(barcode);
        PrintCentered(text, bw);
        const int tw = cursor_.Width(text);
        cursor_.Backend().DrawBarcode(barcode, (W() - tw - bw) / 2 + tw, y0, bw,
                                      cursor_.HeightX(prof().textSize));
    } else {
        PrintCentered(text, 0);
    }
}

std::string ReceiptLayout::NameOf(const PrintEntry* entry) const {
    if (entry) return entry->name;
    const auto& a = in_.cat.gArticoli;
    return a.empty() || a[0].name.empty() ? std::string(kNomeTest) : a[0].name;
}

NameRows ReceiptLayout::RowsFor(const std::string& name) {
    NameRows r = SplitName(name, prof().nameChars);
    r.secondSize = prof().nameSize;
    const int n = std::max<int>(1, prof().nameChars);
    if (r.twoRows && static_cast<int>(r.second.size()) > n) {
        if (!opt().gRiduciCarattereRiga) {
            r.second = r.second.substr(0, static_cast<std::size_t>(n));
        } else {
            const int limit =
                cursor_.WidthAt(prof().nameSize, std::string(static_cast<std::size_t>(n), 'X'));
            int s = prof().nameSize - 1;
            while (s > 1 && cursor_.WidthAt(s, r.second) >= limit) --s;
            r.secondSize = std::max(1, s);
        }
    }
    return r;
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
            StartReceiptPage(PageContent{});
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
    }
    const int yEnd = cursor_.Y;

    const int qtySize = 2 * nameSize + 1;
    cursor_.SetSize(qtySize);
    cursor_.Y = yLine + gap();
    std::string q = "99";
    if (entry) q = onePerQuantity ? "1" : std::to_string(entry->quantity);
    PrintRight(q);

    if (o.gStampaPrezzi) {
        cursor_.Y = yLine + cursor_.HeightX(qtySize) + 5;
        cursor_.SetSize(prof().priceSize);
        std::string text(kEuro);
        if (entry) {
            if (entry->unitPrice < Currency::FromUnits(99)) text += " ";
            text += FormatImporto(entry->unitPrice);
        } else {
            text += " " + FormatImporto(Currency::FromRaw(112200));
        }
        PrintRight(text);
    }
    if (cursor_.Y < yEnd) cursor_.Y = yEnd;
    cursor_.Y += gap();
}

void ReceiptLayout::PrintQtyColumn() {
    const int yEndItems = cursor_.Y;
    cursor_.SetSize(prof().textSize);
    const int x0 = W() - prof().qtyColumnWidth - prof().rightMargin;
    const int yHead = itemTop - gap() - cursor_.HeightX(prof().textSize);
    cursor_.Y = yHead;
    cursor_.X = x0 + (prof().qtyColumnWidth - cursor_.Width("Qt\xE0")) / 2;
    cursor_.Print("Qt\xE0");
    cursor_.Line(x0, yHead, x0, yEndItems);
}

void ReceiptLayout::PrintTotalLine(Currency amount, long long pieces) {
    const std::string text = "Pezzi: nr. " + FormatIntero(pieces) +
                             "  -  Importo: " + std::string(kEuro) + " " + FormatImporto(amount);
    cursor_.SetSize(prof().totalSize);
    PrintLeft(text, gap());
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
        c.size = setup_.FitFontForCharacters((len + 12) / 3, prof().nameSize - 1);
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
