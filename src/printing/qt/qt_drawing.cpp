#include "printing/qt/qt_drawing.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>

#include "platform/text.h"

namespace vorsa {
namespace {

double ToInches(double v, QPageLayout::Unit unit) {
    switch (unit) {
        case QPageLayout::Millimeter:
            return v / 25.4;
        case QPageLayout::Inch:
            return v;
        case QPageLayout::Pica:
            return v / 6.0;
        case QPageLayout::Didot:
            return v * 0.376 / 25.4;
        case QPageLayout::Cicero:
            return v * 4.512 / 25.4;
        default:
            return v / 72.0;
    }
}

// Metrics of the font's design, measured large and scaled, then rounded up: the font's own
// rounding at the requested size came out a twip short, and a text set flush right or at the
// bottom of the page then ended past its edge.
constexpr int kMeasurePixels = 4000;

double Scale(const PrintFont& f) {
    return f.size * 20.0 / kMeasurePixels;
}

int Up(double twips) {
    return static_cast<int>(std::ceil(twips - 1e-6));
}

}  // namespace

QString TestoQt(const std::string& cp1252) {
    return QString::fromUtf8(Cp1252ToUtf8(cp1252).c_str());
}

std::string TestoCp1252(const QString& s) {
    return Utf8ToCp1252(s.toUtf8().toStdString());
}

Stripes StrisceStampante(const std::string& printer) {
    Stripes s;
    const QPrinterInfo info = QPrinterInfo::printerInfo(TestoQt(printer));
    if (info.isNull()) return s;
    QPrinter p(info, QPrinter::HighResolution);
    const QPageLayout l = p.pageLayout();
    const QMarginsF m = l.minimumMargins();
    return {ToInches(m.left(), l.units()), ToInches(m.top(), l.units()),
            ToInches(m.right(), l.units()), ToInches(m.bottom(), l.units())};
}

QSize PuntiPagina(const PaperForm& page) {
    const QPageSize size(QSizeF(page.width / 1000.0, page.length / 1000.0), QPageSize::Millimeter,
                         QString(), QPageSize::ExactMatch);
    return size.sizePoints();
}

DeviceCaps CapsPagina(const QSize& points, const Stripes& s, int dpi) {
    DeviceCaps c;
    c.dpiX = c.dpiY = dpi;
    c.physicalWidth = static_cast<int>(std::lround(points.width() * dpi / 72.0));
    c.physicalHeight = static_cast<int>(std::lround(points.height() * dpi / 72.0));
    c.offsetX = static_cast<int>(std::lround(s.left * dpi));
    c.offsetY = static_cast<int>(std::lround(s.top * dpi));
    c.horzRes =
        std::max(0, c.physicalWidth - c.offsetX - static_cast<int>(std::lround(s.right * dpi)));
    c.vertRes =
        std::max(0, c.physicalHeight - c.offsetY - static_cast<int>(std::lround(s.bottom * dpi)));
    return c;
}

QtFonts::QtFonts() = default;
QtFonts::~QtFonts() = default;

bool QtFonts::Imposta(const PrintFont& font) {
    // Built when next drawn or measured: layouts set many sizes only to measure at them.
    if (font == font_ && !dirty_) return false;
    font_ = font;
    dirty_ = true;
    return true;
}

const QFont& QtFonts::Qt() {
    if (!dirty_) return qfont_;
    QFont f;
    if (EqualsNoCase(font_.name, "Courier New"))
        f.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    else
        f.setFamily(TestoQt(font_.name));
    f.setPixelSize(std::max(1, font_.size * 20));
    f.setBold(font_.bold);
    f.setItalic(font_.italic);
    f.setUnderline(font_.underline);
    qfont_ = f;
    dirty_ = false;
    return qfont_;
}

const QFontMetricsF& QtFonts::Misura() {
    const bool same = misura_ && misurato_.name == font_.name && misurato_.bold == font_.bold &&
                      misurato_.italic == font_.italic;
    if (!same) {
        QFont f = Qt();
        f.setPixelSize(kMeasurePixels);
        misura_ = std::make_unique<QFontMetricsF>(f);
        misurato_ = font_;
    }
    return *misura_;
}

int QtFonts::Larghezza(const std::string& text) {
    if (font_.size <= 0) return 0;
    return Up(Misura().horizontalAdvance(TestoQt(text)) * Scale(font_));
}

int QtFonts::Altezza() {
    if (font_.size <= 0) return 0;
    return Up(Misura().height() * Scale(font_));
}

void DisegnaTesto(QPainter& p, const QFont& font, int x, int y, const QString& text,
                  const QColor& colour) {
    const QFontMetricsF fm(font);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QPointF(x, y + fm.ascent()), text);
}

void DisegnaLinea(QPainter& p, int x1, int y1, int x2, int y2, const QColor& colour) {
    p.setPen(QPen(colour, 5));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void DisegnaImmagine(QPainter& p, const QImage& image, int x, int y, int w, int h) {
    p.drawImage(QRectF(x, y, w, h), image);
}

void DisegnaBarre(QPainter& p, const BarcodePicture& picture, int x, int y, int w, int h,
                  const QColor& colour) {
    if (picture.widthPx <= 0) return;
    const double scale = static_cast<double>(w) / picture.widthPx;
    for (const BarcodePicture::Bar& b : picture.bars)
        p.fillRect(QRectF(x + b.x * scale, y, b.width * scale, h), colour);
}

}  // namespace vorsa
