// Heights of the receipt blocks, computed with the fonts and gaps the printing uses, and the
// paper length a roll needs for them.
#include <algorithm>

#include "printing/receipt_layout.h"

namespace vorsa {

int ReceiptLayout::TopHeight() {
    const Options& o = opt();
    int h = prof().topMargin;
    if (HasImage(0)) h += ImageHeight(0) + 3 * gap();
    if (!o.gTitoloScontrino.empty()) {
        h += cursor_.HeightX(prof().titleSize);
        if (!o.gTitoloScontrino2.empty()) h += 2 * gap() + cursor_.HeightX(prof().titleSize);
    }
    return h;
}

int ReceiptLayout::HeaderHeight() {
    const Options& o = opt();
    const int row = cursor_.HeightX(prof().textSize);
    int h = 0;
    if (o.gScontriniDataOra) h += 3 * gap() + row;
    if (o.gProgressivo || in_.conto.gRistampaFatta) h += 3 * gap() + row;
    return h + 2 * gap() + row;
}

int ReceiptLayout::ItemLineHeight(const PrintEntry* entry, bool) {
    const NameRows rows = RowsFor(NameOf(entry));
    int name = gap() + cursor_.HeightX(prof().nameSize);
    if (rows.twoRows) name += cursor_.HeightX(rows.secondSize);
    const int qtySize = 2 * prof().nameSize + 1;
    int qty = gap() + cursor_.HeightX(qtySize);
    if (opt().gStampaPrezzi) qty = cursor_.HeightX(qtySize) + 5 + cursor_.HeightX(prof().priceSize);
    return std::max(name, qty) + gap();
}

int ReceiptLayout::TotalLineHeight() {
    return gap() + cursor_.HeightX(prof().totalSize);
}

int ReceiptLayout::TableCommentHeight() {
    if (job.tavolo.empty() && job.commento.empty()) return 0;
    int h = 2 * gap();
    if (!job.tavolo.empty()) h += cursor_.HeightX(prof().nameSize) + gap();
    if (!job.commento.empty()) {
        const CommentRows c = LayoutComment();
        h += static_cast<int>(c.rows.size()) * cursor_.HeightX(c.size);
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
    if (withNumber && number) h += cursor_.HeightX(prof().textSize) + 3 * gap();
    if (piede) h += cursor_.HeightX(prof().titleSize);
    if (image && piede) h += 2 * gap();
    if (image) h += ImageHeight(1);
    return h + prof().bottomMargin;
}

std::int32_t ReceiptLayout::ComputePaperLength(const PageContent& content) {
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
