#include "printing/qt/qt_preview_backend.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vorsa {
namespace {

const QColor kRosso(220, 0, 0);
const QColor kFondo(160, 160, 160);          // around the paper
const QColor kNonStampabile(228, 228, 228);  // strips of the paper the printer cannot reach

constexpr double kMmPerInch = 25.4;
constexpr int kCornice = 40;  // twips of the red frame's pen

}  // namespace

QtPreviewBackend::QtPreviewBackend(double pixelPerMm) : ppm_(pixelPerMm) {}

QtPreviewBackend::~QtPreviewBackend() {
    Chiudi();
}

void QtPreviewBackend::Ricomincia(const std::string& printer, const Stripes& strips) {
    Chiudi();
    pagine_.clear();
    ForgetForms();
    printer_ = printer;
    strisce_ = strips;
}

int QtPreviewBackend::Fuori() const {
    int n = 0;
    for (const PreviewPage& p : pagine_)
        n += static_cast<int>(std::count_if(p.segni.begin(), p.segni.end(),
                                            [](const PreviewMark& s) { return s.fuori; }));
    return n;
}

void QtPreviewBackend::SetResolution(int dpi) {
    if (dpi > 0) dpi_ = dpi;
}

PaperForm QtPreviewBackend::Carta() {
    if (const auto f = SelectedForm(printer_)) return *f;
    return {"", 210000, 297000};
}

DeviceCaps QtPreviewBackend::Caps() {
    return CapsOf(Carta(), strisce_, dpi_);
}

void QtPreviewBackend::Chiudi() {
    if (painter_ && painter_->isActive()) painter_->end();
    painter_.reset();
    aperta_ = false;
}

PreviewPage& QtPreviewBackend::Pagina() {
    if (aperta_) return pagine_.back();
    Chiudi();
    PreviewPage p;
    p.carta = Carta();
    p.caps = Caps();
    const double wMm = p.carta.width / 1000.0;
    const double hMm = p.carta.length / 1000.0;
    const auto px = [this](double mm) { return static_cast<int>(std::lround(mm * ppm_)); };
    p.immagine = QImage(px(wMm + 2 * kBordoMm), px(hMm + 2 * kBordoMm), QImage::Format_RGB32);
    p.immagine.fill(kFondo);
    pagine_.push_back(std::move(p));
    PreviewPage& pagina = pagine_.back();
    painter_ = std::make_unique<QPainter>(&pagina.immagine);
    painter_->setRenderHint(QPainter::Antialiasing);
    painter_->setRenderHint(QPainter::TextAntialiasing);
    painter_->setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF carta(kBordoMm * ppm_, kBordoMm * ppm_, wMm * ppm_, hMm * ppm_);
    painter_->fillRect(carta, kNonStampabile);
    const double sx = (kBordoMm + strisce_.left * kMmPerInch) * ppm_;
    const double sy = (kBordoMm + strisce_.top * kMmPerInch) * ppm_;
    const double scala = ppm_ * kMmPerInch / kTwipsPerInch;
    const QRectF stampabile(sx, sy, PixelsToTwips(pagina.caps.horzRes, dpi_) * scala,
                            PixelsToTwips(pagina.caps.vertRes, dpi_) * scala);
    painter_->fillRect(stampabile, Qt::white);
    // Twips from the top-left of the printable area, as the printer's page has them.
    painter_->translate(sx, sy);
    painter_->scale(scala, scala);
    aperta_ = true;
    return pagina;
}

bool QtPreviewBackend::Segna(PreviewMark s) {
    PreviewPage& p = Pagina();
    const int larghezza = PixelsToTwips(p.caps.horzRes, dpi_);
    const int altezza = PixelsToTwips(p.caps.vertRes, dpi_);
    const int x1 = std::min(s.x, s.x + s.w), x2 = std::max(s.x, s.x + s.w);
    const int y1 = std::min(s.y, s.y + s.h), y2 = std::max(s.y, s.y + s.h);
    s.fuori = x1 < 0 || y1 < 0 || x2 > larghezza || y2 > altezza;
    const bool fuori = s.fuori;
    p.segni.push_back(std::move(s));
    return fuori;
}

void QtPreviewBackend::Cornice() {
    const PreviewMark& s = pagine_.back().segni.back();
    if (!s.fuori) return;
    const int x1 = std::min(s.x, s.x + s.w), x2 = std::max(s.x, s.x + s.w);
    const int y1 = std::min(s.y, s.y + s.h), y2 = std::max(s.y, s.y + s.h);
    painter_->setPen(QPen(kRosso, kCornice));
    painter_->setBrush(QColor(255, 0, 0, 110));
    painter_->drawRect(QRectF(x1, y1, std::max(x2 - x1, kCornice), std::max(y2 - y1, kCornice)));
    painter_->setBrush(Qt::NoBrush);
}

void QtPreviewBackend::DrawText(int x, int y, const std::string& text) {
    if (text.empty()) return;
    const int w = font_.Larghezza(text);
    const int h = font_.Altezza();
    const bool fuori = Segna({PreviewMark::Kind::Testo, x, y, w, h, text, font_.Font(), false});
    DisegnaTesto(*painter_, font_.Qt(), x, y, TestoQt(text), fuori ? kRosso : QColor(Qt::black));
    Cornice();
}

void QtPreviewBackend::DrawLine(int x1, int y1, int x2, int y2) {
    const bool fuori = Segna({PreviewMark::Kind::Linea, x1, y1, x2 - x1, y2 - y1, {}, {}, false});
    DisegnaLinea(*painter_, x1, y1, x2, y2, fuori ? kRosso : QColor(Qt::black));
    Cornice();
}

const QImage* QtPreviewBackend::Immagine(const std::string& path) {
    const QFileInfo info(TestoQt(path));
    if (!info.exists()) return nullptr;
    const qint64 stamp = info.lastModified().toMSecsSinceEpoch() ^ info.size();
    auto it = figure_.find(path);
    if (it == figure_.end() || it->second.stamp != stamp) {
        QImage image(info.filePath());
        if (image.isNull()) return nullptr;
        it = figure_.insert_or_assign(path, Figure{stamp, std::move(image)}).first;
    }
    return &it->second.image;
}

bool QtPreviewBackend::DrawPicture(const std::string& path, int x, int y, int w, int h) {
    const QImage* image = Immagine(path);
    if (!image) return false;
    Segna({PreviewMark::Kind::Immagine, x, y, w, h, path, {}, false});
    DisegnaImmagine(*painter_, *image, x, y, w, h);
    Cornice();
    return true;
}

void QtPreviewBackend::DrawBarcode(const BarcodePicture& picture, int x, int y, int w, int h) {
    if (picture.widthPx <= 0) return;
    const bool fuori = Segna({PreviewMark::Kind::Barre, x, y, w, h, {}, {}, false});
    DisegnaBarre(*painter_, picture, x, y, w, h, fuori ? kRosso : QColor(Qt::black));
    Cornice();
}

void QtPreviewBackend::NewPage() {
    Chiudi();
}

void QtPreviewBackend::EndDoc() {
    Chiudi();
}

}  // namespace vorsa
