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
#include "printing/qt/qt_drawing.h"

namespace vorsa {
namespace {

QString Q(const std::string& cp1252) {
    return TestoQt(cp1252);
}

std::string S(const QString& s) {
    return TestoCp1252(s);
}

QPageLayout LayoutOf(const PaperForm& page) {
    const QPageSize size(QSizeF(page.width / 1000.0, page.length / 1000.0), QPageSize::Millimeter,
                         QString(), QPageSize::ExactMatch);
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

}  // namespace

QtPrintBackend::QtPrintBackend(QtPrintOptions options) : options_(std::move(options)) {
    if (options_.pdfFolder.empty()) options_.pdfFolder = S(QDir::tempPath());
    RefreshPrinters();
    current_ = DefaultPrinter();
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

Stripes QtPrintBackend::StripsOf(const std::string& printer) {
    if (IsPdf(printer)) return {};
    const auto it = strips_.find(printer);
    if (it != strips_.end()) return it->second;
    const Stripes s = StrisceStampante(printer);
    strips_[printer] = s;
    return s;
}

PaperForm QtPrintBackend::PageOf(const std::string& printer) {
    if (const auto f = SelectedForm(printer)) return *f;
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
    return CapsOf(PageOf(current_), StripsOf(current_), dpi_);
}

bool QtPrintBackend::CanOpenPrinter(const std::string& printer) {
    return std::find(printers_.begin(), printers_.end(), printer) != printers_.end();
}

void QtPrintBackend::SetFont(const PrintFont& font) {
    font_.Imposta(font);
}

int QtPrintBackend::TextWidth(const std::string& text) {
    return font_.Larghezza(text);
}

int QtPrintBackend::TextHeight(const std::string&) {
    return font_.Altezza();
}

void QtPrintBackend::ApplyTransform() {
    const Stripes s = StripsOf(docPrinter_);
    painter_->resetTransform();
    painter_->translate(s.left * dpi_, s.top * dpi_);
    painter_->scale(dpi_ / 1440.0, dpi_ / 1440.0);
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
    DisegnaTesto(*painter_, font_.Qt(), x, y, Q(text));
}

void QtPrintBackend::DrawLine(int x1, int y1, int x2, int y2) {
    if (!EnsurePage()) return;
    DisegnaLinea(*painter_, x1, y1, x2, y2);
}

bool QtPrintBackend::DrawPicture(const std::string& path, int x, int y, int w, int h) {
    const QImage image(Q(path));
    if (image.isNull() || !EnsurePage()) return false;
    DisegnaImmagine(*painter_, image, x, y, w, h);
    return true;
}

void QtPrintBackend::DrawBarcode(const BarcodePicture& picture, int x, int y, int w, int h) {
    if (picture.widthPx <= 0 || !EnsurePage()) return;
    DisegnaBarre(*painter_, picture, x, y, w, h);
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
