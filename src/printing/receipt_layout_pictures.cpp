// The header and footer pictures of the receipts, scaled by their percentage.
#include <cmath>

#include "printing/receipt_layout.h"

namespace vorsa {
namespace {

int Scaled(int natural, int percent) {
    return static_cast<int>(std::nearbyint(natural * static_cast<double>(percent) / 100.0));
}

}  // namespace

bool ReceiptLayout::HasImage(int i) {
    if (i < 0 || i > 1) return false;
    const HeaderImage& im = opt().headerImages[static_cast<std::size_t>(i)];
    return !im.path.empty() && in_.settings.store().EsisteFile(im.path);
}

int ReceiptLayout::ImageHeight(int i) {
    const HeaderImage& im = opt().headerImages[static_cast<std::size_t>(i)];
    return Scaled(im.height, im.percent);
}

void ReceiptLayout::DrawReceiptImage(int i) {
    if (!HasImage(i)) return;
    const HeaderImage& im = opt().headerImages[static_cast<std::size_t>(i)];
    const int w = Scaled(im.width, im.percent);
    const int h = Scaled(im.height, im.percent);
    const int x = (W() - w) / 2;
    if (i == 0) {
        cursor_.Backend().DrawPicture(im.path, x, prof().topMargin, w, h);
        cursor_.Y = prof().topMargin + h + 3 * gap();
    } else {
        cursor_.Backend().DrawPicture(im.path, x, cursor_.Y, w, h);
    }
}

}  // namespace vorsa
