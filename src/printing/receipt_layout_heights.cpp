// Heights of the receipt blocks, computed with the fonts and gaps the printing uses, and the
// paper length a roll needs for them.
#include <algorithm>

#include "printing/print_format.h"
#include "printing/receipt_layout.h"

namespace vorsa {

int ReceiptLayout::TopHeight() {
    const Options& o = opt();
    int h = prof().topMargin;
    if (HasImage(0)) h += ImageHeight(0) + 3 * gap();
    if (!o.gTitoloScontrino.empty()) {
        h += FittedHeight(o.gTitoloScontrino, prof().titleSize, Between());
        if (!o.gTitoloScontrino2.empty())
            h += 2 * gap() + FittedHeight(o.gTitoloScontrino2, prof().titleSize, Between());
    }
    return h;
}

int ReceiptLayout::HeaderHeight() {
    const Options& o = opt();
    const int row = cursor_.HeightX(prof().textSize);
    int h = 0;
    if (o.gScontriniDataOra)
        h += 3 * gap() + FittedHeight(FormatDataOraScontrino(job.data), prof().textSize, Between());
    if (o.gProgressivo || in_.conto.gRistampaFatta) h += 3 * gap() + NumberRowHeight();
    return h + 2 * gap() + row + GroupNameExtra(groupName_);
}

int ReceiptLayout::ItemLineHeight(const PrintEntry* entry, bool) {
    const NameRows rows = RowsFor(NameOf(entry));
    int name = gap() + cursor_.HeightX(prof().nameSize);
    if (rows.twoRows) name += cursor_.HeightX(rows.secondSize);
    name += static_cast<int>(rows.more.size()) * cursor_.HeightX(prof().nameSize);
    const int qtySize = 2 * prof().nameSize + 1;
    int qty = gap() + cursor_.HeightX(qtySize);
    if (opt().gStampaPrezzi) qty = cursor_.HeightX(qtySize) + 5 + cursor_.HeightX(prof().priceSize);
    return std::max(name, qty) + gap();
}

int ReceiptLayout::TotalLineHeight() {
    const std::string text = totalText_.empty() ? TotalText(Currency{}, 0) : totalText_;
    return gap() + FittedHeight(text, prof().totalSize, Between());
}

int ReceiptLayout::TableCommentHeight() {
    if (job.tavolo.empty() && job.commento.empty()) return 0;
    int h = 2 * gap();
    if (!job.tavolo.empty())
        h += FittedHeight("Tavolo: " + job.tavolo, prof().nameSize, Between()) + gap();
    if (!job.commento.empty()) {
        const CommentRows c = LayoutComment();
        for (const std::string& row : c.rows) h += FittedHeight(row, c.size, Between());
    }
    return h;
}

int ReceiptLayout::FooterHeight(bool withNumber) {
    const Options& o = opt();
    const bool piede = !o.gPiede.empty();
    const bool image = HasImage(1);
    const bool number = o.gProgressivo && o.gProgressivoPiede;
    int h = 0;
    if (piede || image || number) h += 2 * gap();
    if (withNumber && number) h += NumberRowHeight() + 3 * gap();
    if (piede) h += FittedHeight(o.gPiede, prof().titleSize, Between());
    if (image && piede) h += 2 * gap();
    if (image) h += ImageHeight(1);
    return h + prof().bottomMargin;
}

std::int32_t ReceiptLayout::ComputePaperLength(const PageContent& content) {
    SizeColumnFor(content);
    int h = TopHeight() + TotalLineHeight() + FooterHeight(true);
    if (content.bodyHeight) h += content.bodyHeight();
    const bool receipt =
        content.kind == LayoutKind::MultiLine || content.kind == LayoutKind::SingleLine;
    if (receipt) {
        h += HeaderHeight();
        for (const PrintEntry* e : content.lines) h += ItemLineHeight(e, content.onePerQuantity);
        for (int i = 0; i < content.testLines; ++i) h += ItemLineHeight(nullptr, false);
    }
    if (receipt || content.kind == LayoutKind::Summary) h += TableCommentHeight();
    return LunghezzaCarta(h, in_.opt.gCalcolaCarta, cursor_.Backend().Caps());
}

}  // namespace vorsa
