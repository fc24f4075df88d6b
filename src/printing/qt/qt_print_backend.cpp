#include "printing/qt/qt_print_backend.h"

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QString>
#include <algorithm>
#include <cmath>

#include "platform/text.h"

namespace vorsa {
namespace {

QString Q(const std::string& cp1252) {
    return QString::fromUtf8(Cp1252ToUtf8(cp1252).c_str());
}

std::string S(const QString& s) {
    return Utf8ToCp1252(s.toUtf8().toStdString());
}

QPageLayout LayoutOf(const PaperForm& page) {
    const QPageSize size(QSizeF(page.width / 1000.0, page.length / 1000.0), QPageSize::Millimeter,
                         QString(), QPageSize::ExactMatch);
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

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

}  // namespace

QtPrintBackend::QtPrintBackend(QtPrintOptions options)
    : options_(std::move(options)), qfont_(std::make_unique<QFont>()) {
    if (options_.pdfFolder.empty()) options_.pdfFolder = S(QDir::tempPath());
    RefreshPrinters();
    current_ = DefaultPrinter();
    SetFont(font_);
}

QtPrintBackend::~QtPrintBackend() {
    if (painter_ && painter_->isActive()) painter_->end();
}

void QtPrintBackend::RefreshPrinters() {
    printers_.clear();
    for (const QString& n : QPrinterInfo::availablePrinterNames()) printers_.push_back(S(n));
    if (!options_.pdfPrinter.empty()) printers_.push_back(options_.pdfPrinter);
}

std::vector<std::string> QtPrintBackend::Printers() {
    RefreshPrinters();
    return printers_;
}

std::string QtPrintBackend::DefaultPrinter() {
    const std::string d = S(QPrinterInfo::defaultPrinterName());
    if (!d.empty()) return d;
    return printers_.empty() ? std::string() : printers_.front();
}

void QtPrintBackend::SetCurrentPrinter(const std::string& name) {
    current_ = name;
}

void QtPrintBackend::SetResolution(int dpi) {
    if (dpi > 0) dpi_ = dpi;
}

bool QtPrintBackend::IsPdf(const std::string& printer) const {
    return options_.previewAll || (!options_.pdfPrinter.empty() && printer == options_.pdfPrinter);
}

QtPrintBackend::Strips QtPrintBackend::StripsOf(const std::string& printer) {
    if (IsPdf(printer)) return {};
    const auto it = strips_.find(printer);
    if (it != strips_.end()) return it->second;
    Strips s;
    const QPrinterInfo info = QPrinterInfo::printerInfo(Q(printer));
    if (!info.isNull()) {
        QPrinter p(info, QPrinter::HighResolution);
        const QPageLayout l = p.pageLayout();
        const QMarginsF m = l.minimumMargins();
        s = {ToInches(m.left(), l.units()), ToInches(m.top(), l.units()),
             ToInches(m.right(), l.units()), ToInches(m.bottom(), l.units())};
    }
    strips_[printer] = s;
    return s;
}

PaperForm QtPrintBackend::PageOf(const std::string& printer) {
    if (const auto f = forms_.Selected(printer)) return *f;
    // No form selected: the printer's own default page.
    const auto it = defaultPages_.find(printer);
    if (it != defaultPages_.end()) return it->second;
    PaperForm page{"", 210000, 297000};
    if (!IsPdf(printer)) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(Q(printer));
        if (!info.isNull()) {
            const QSizeF mm = info.defaultPageSize().size(QPageSize::Millimeter);
            if (mm.width() > 0 && mm.height() > 0)
                page = {"", static_cast<int>(std::lround(mm.width() * 1000)),
                        static_cast<int>(std::lround(mm.height() * 1000))};
        }
    }
    defaultPages_[printer] = page;
    return page;
}

DeviceCaps QtPrintBackend::Caps() {
    const PaperForm page = PageOf(current_);
    const Strips s = StripsOf(current_);
    DeviceCaps c;
    c.dpiX = c.dpiY = dpi_;
    // The page Qt really makes: its size in whole points (A4 is 595 pt, not 595.28), so a
    // text set flush to the right margin does not end past the edge of the page.
    auto it = points_.find({page.width, page.length});
    if (it == points_.end()) {
        const QSize p = LayoutOf(page).pageSize().sizePoints();
        it = points_.insert({{page.width, page.length}, {p.width(), p.height()}}).first;
    }
    c.physicalWidth = static_cast<int>(std::lround(it->second.first * dpi_ / 72.0));
    c.physicalHeight = static_cast<int>(std::lround(it->second.second * dpi_ / 72.0));
    c.offsetX = static_cast<int>(std::lround(s.left * dpi_));
    c.offsetY = static_cast<int>(std::lround(s.top * dpi_));
    c.horzRes =
        std::max(0, c.physicalWidth - c.offsetX - static_cast<int>(std::lround(s.right * dpi_)));
    c.vertRes =
        std::max(0, c.physicalHeight - c.offsetY - static_cast<int>(std::lround(s.bottom * dpi_)));
    return c;
}

bool QtPrintBackend::CanOpenPrinter(const std::string& printer) {
    return std::find(printers_.begin(), printers_.end(), printer) != printers_.end();
}

std::optional<std::vector<PaperForm>> QtPrintBackend::EnumForms(const std::string& printer) {
    if (!CanOpenPrinter(printer)) return std::nullopt;
    return forms_.Forms(printer);
}

int QtPrintBackend::AddForm(const std::string& printer, const PaperForm& form) {
    if (!CanOpenPrinter(printer)) return 1801;
    return forms_.Add(printer, form);
}

bool QtPrintBackend::DeleteForm(const std::string& printer, const std::string& name) {
    return CanOpenPrinter(printer) && forms_.Delete(printer, name);
}

bool QtPrintBackend::SelectForm(const std::string& printer, const std::string& name) {
    if (!CanOpenPrinter(printer)) return false;
    forms_.Select(printer, name);
    return true;
}

void QtPrintBackend::SetFont(const PrintFont& font) {
    // Built when next drawn or measured: layouts set many sizes only to measure at them.
    if (font == font_ && !fontDirty_) return;
    font_ = font;
    fontDirty_ = true;
}

const QFont& QtPrintBackend::CurrentFont() {
    if (!fontDirty_) return *qfont_;
    QFont f;
    if (EqualsNoCase(font_.name, "Courier New"))
        f.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    else
        f.setFamily(Q(font_.name));
    // Sizes in twips: under the twip transform a point size would follow the device's dpi.
    f.setPixelSize(std::max(1, font_.size * 20));
    f.setBold(font_.bold);
    f.setItalic(font_.italic);
    f.setUnderline(font_.underline);
    *qfont_ = f;
    fontDirty_ = false;
    if (painter_ && painter_->isActive()) painter_->setFont(f);
    return *qfont_;
}

namespace {

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

const QFontMetricsF& QtPrintBackend::Measure() {
    const bool same = measure_ && measured_.name == font_.name && measured_.bold == font_.bold &&
                      measured_.italic == font_.italic;
    if (!same) {
        QFont f = CurrentFont();
        f.setPixelSize(kMeasurePixels);
        measure_ = std::make_unique<QFontMetricsF>(f);
        measured_ = font_;
    }
    return *measure_;
}

int QtPrintBackend::TextWidth(const std::string& text) {
    if (font_.size <= 0) return 0;
    return Up(Measure().horizontalAdvance(Q(text)) * Scale(font_));
}

int QtPrintBackend::TextHeight(const std::string&) {
    if (font_.size <= 0) return 0;
    return Up(Measure().height() * Scale(font_));
}

void QtPrintBackend::ApplyTransform() {
    const Strips s = StripsOf(docPrinter_);
    painter_->resetTransform();
    painter_->translate(s.left * dpi_, s.top * dpi_);
    painter_->scale(dpi_ / 1440.0, dpi_ / 1440.0);
    painter_->setFont(CurrentFont());
}

bool QtPrintBackend::EnsurePage() {
    if (failed_) return false;
    if (painter_ && painter_->isActive()) {
        if (pagePending_) {
            // A new size takes effect on the page started after it is set.
            printer_->setPageLayout(LayoutOf(PageOf(docPrinter_)));
            printer_->newPage();
            ApplyTransform();
            pagePending_ = false;
            ++docPages_;
        }
        return true;
    }
    docPrinter_ = current_;
    if (IsPdf(docPrinter_)) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        docPath_ = options_.pdfFolder + "/vorsa-" + std::to_string(++sequence_) + ".pdf";
        printer_->setOutputFileName(Q(docPath_));
    } else {
        const QPrinterInfo info = QPrinterInfo::printerInfo(Q(docPrinter_));
        if (info.isNull()) {
            failed_ = true;
            return false;
        }
        printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        docPath_.clear();
    }
    printer_->setResolution(dpi_);
    printer_->setFullPage(true);
    printer_->setDocName(QStringLiteral("Vorsa"));
    printer_->setPageLayout(LayoutOf(PageOf(docPrinter_)));
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        failed_ = true;
        return false;
    }
    ApplyTransform();
    docPages_ = 1;
    pagePending_ = false;
    return true;
}

void QtPrintBackend::DrawText(int x, int y, const std::string& text) {
    if (text.empty() || !EnsurePage()) return;
    const QFontMetricsF fm(CurrentFont());
    painter_->drawText(QPointF(x, y + fm.ascent()), Q(text));
}

void QtPrintBackend::DrawLine(int x1, int y1, int x2, int y2) {
    if (!EnsurePage()) return;
    painter_->setPen(QPen(Qt::black, 5));
    painter_->drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

bool QtPrintBackend::DrawPicture(const std::string& path, int x, int y, int w, int h) {
    const QImage image(Q(path));
    if (image.isNull() || !EnsurePage()) return false;
    painter_->drawImage(QRectF(x, y, w, h), image);
    return true;
}

void QtPrintBackend::DrawBarcode(const BarcodePicture& picture, int x, int y, int w, int h) {
    if (picture.widthPx <= 0 || !EnsurePage()) return;
    const double scale = static_cast<double>(w) / picture.widthPx;
    for (const BarcodePicture::Bar& b : picture.bars)
        painter_->fillRect(QRectF(x + b.x * scale, y, b.width * scale, h), Qt::black);
}

void QtPrintBackend::NewPage() {
    if (painter_ && painter_->isActive()) pagePending_ = true;
}

void QtPrintBackend::EndDoc() {
    if (painter_ && painter_->isActive()) {
        painter_->end();
        documents_.push_back({docPrinter_, docPath_, docPages_});
    }
    painter_.reset();
    printer_.reset();
    pagePending_ = false;
    failed_ = false;
}

}  // namespace vorsa
