// The Qt back end writing real PDF files: texts and their order, page sizes. The receipt
// preview: the sample bill drawn by the preview back end is the one the printing layouts produce
// (checked against the recording back end for the same settings).
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <tuple>

#include "code39_reader.h"
#include "paper_matrix.h"
#include "print_fixture.h"
#include "printing/qt/qt_preview_backend.h"
#include "printing/qt/qt_print_backend.h"
#include "printing/receipt_preview.h"
#include "qt_print_helpers.h"

namespace vorsa::test {
namespace {

class QtPdf : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!HaveTool("pdftotext") || !HaveTool("pdfinfo")) GTEST_SKIP() << "poppler-utils missing";
        ASSERT_TRUE(dir.isValid());
        options.pdfPrinter = "Vorsa PDF";
        options.pdfFolder = dir.path().toStdString();
        backend = std::make_unique<QtPrintBackend>(options);
    }
    QTemporaryDir dir;
    QtPrintOptions options;
    std::unique_ptr<QtPrintBackend> backend;
};

TEST_F(QtPdf, Pos80ReceiptHasItsTextsInOrderOnAn80MmPage) {
    Banco b(
        "[STAMPA]\r\nSTAMPANTE=Vorsa PDF\r\nTITOLO=Sagra di Vorsa\r\nPIEDE=Grazie e arrivederci\r\n"
        "TKT-RITIRO=0\r\nRIEPILOGO0=0\r\nFORMATO=2\r\nSCONTRINI_CALCOLACARTA=1\r\n",
        {}, backend.get());
    b.Vendi({{101, 2}, {102, 1}, {201, 3}}, 1234, "12", "senza cipolla");
    ASSERT_EQ(backend->Documents().size(), 1u);
    const QtDocument& d = backend->Documents()[0];
    EXPECT_EQ(d.printer, "Vorsa PDF");
    EXPECT_EQ(d.pages, 1);

    const std::string text = PdfText(d.pdfPath);
    std::size_t at = 0;
    for (const char* t :
         {"Sagra di Vorsa", "Sabato 05/12/2026 - ore 16:01", "Scontrino: 1.234", "Qt\xC3\xA0",
          "Panino con salamella", "2", "\xE2\x82\xAC 3,50", "Patatine", "Acqua", "3",
          "\xE2\x82\xAC 1,00", "Pezzi: nr. 6", "Importo: \xE2\x82\xAC 12,50", "Tavolo: 12",
          "senza cipolla", "Scontrino: 1.234", "Grazie e arrivederci"}) {
        at = text.find(t, at);
        ASSERT_NE(at, std::string::npos) << "missing or out of order: " << t << "\n" << text;
    }
    // PDF sizes are whole points; a computed length is far shorter than the nominal 500 mm.
    const auto [w, h] = PdfPageSize(d.pdfPath);
    EXPECT_NEAR(w, 80.0 / 25.4 * 72.0, 1.0);
    EXPECT_GT(h, 50.0 / 25.4 * 72.0);
    EXPECT_LT(h, 200.0 / 25.4 * 72.0);

    // Sheets and a roll without a computed length give their own page sizes.
    const std::tuple<int, double, double> carte[] = {{1, 210, 297}, {0, 105, 148}, {3, 57, 500}};
    for (const auto& [formato, wMm, hMm] : carte) {
        Banco f("[STAMPA]\r\nSTAMPANTE=Vorsa PDF\r\nTKT-RITIRO=0\r\nRIEPILOGO0=0\r\n", {},
                backend.get());
        f.opt().gFormato = formato;
        f.Vendi({{102, 1}}, 3);
        const auto [fw, fh] = PdfPageSize(backend->Documents().back().pdfPath);
        EXPECT_NEAR(fw, wMm / 25.4 * 72.0, 1.0) << formato;
        EXPECT_NEAR(fh, hMm / 25.4 * 72.0, 1.0) << formato;
    }
}

TEST_F(QtPdf, TextWidthsAreThoseOfTheLayoutFont) {
    // Liberation Mono: 0.6 em advance; the layouts' line capacities rest on it.
    backend->SetFont(PrintFont{"Courier New", 10});
    EXPECT_NEAR(backend->TextWidth(std::string(34, 'X')), 34 * 120, 3);
    EXPECT_NEAR(backend->TextHeight("X"), RecordingBackend::LineHeight(10), 2);
}

TEST_F(QtPdf, NothingLeavesThePaperInAnyModeOnAnyPaper) {
    if (!HaveTool("pdftoppm")) GTEST_SKIP() << "poppler-utils missing";
    const std::string scratch = dir.path().toStdString() + "/row";
    for (const Paper& paper : kPapers) {
        for (int mode = 0; mode <= 3; ++mode) {
            const std::string where = std::string(paper.name) + ", mode " + std::to_string(mode);
            // The same bill recorded with Qt's measures tells where each barcode went.
            RegistraConMisureQt twin({"Vorsa PDF"}, "Vorsa PDF");
            QtPrintBackend qt(options);
            for (PrintBackend* out : std::initializer_list<PrintBackend*>{&twin, &qt}) {
                Banco b(PaperIni(paper, mode, "Vorsa PDF"), {}, out);
                PaperBill(b);
                b.Commit();
            }
            const std::vector<RecordedDocument> docs = twin.Documents();
            // Receipts, summary, ticket and kitchen sheet at least.
            ASSERT_GE(docs.size(), 4u) << where;
            ASSERT_EQ(qt.Documents().size(), docs.size()) << where;
            int barcodes = 0;
            for (std::size_t d = 0; d < docs.size(); ++d) {
                const std::string& pdf = qt.Documents()[d].pdfPath;
                ASSERT_EQ(qt.Documents()[d].pages, static_cast<int>(docs[d].pages.size())) << pdf;
                const std::vector<PdfWord> words = PdfWords(pdf);
                ASSERT_FALSE(words.empty()) << where << ": " << pdf;
                for (const PdfWord& w : words)
                    EXPECT_TRUE(w.xMin >= 0 && w.yMin >= 0 && w.xMax <= w.pageWidth + 0.05 &&
                                w.yMax <= w.pageHeight + 0.05)
                        << where << ": \"" << w.text << "\" at " << w.xMin << ".." << w.xMax
                        << " x " << w.yMin << ".." << w.yMax << " on page " << w.page << " ("
                        << w.pageWidth << " x " << w.pageHeight << " pt) of " << pdf;
                // Every barcode reads back from the rendered PDF, quiet zones and stop included.
                const auto [pw, ph] = PdfPageSize(pdf);
                const int width = static_cast<int>(pw * 20);
                for (std::size_t p = 0; p < docs[d].pages.size(); ++p)
                    for (const PrintCall& b : docs[d].pages[p].Of(PrintCall::Kind::Barcode)) {
                        ++barcodes;
                        const std::string at =
                            where + ": barcode on page " + std::to_string(p + 1) + " of " + pdf;
                        EXPECT_TRUE(b.x >= 0 && b.y >= 0 && b.x + b.w <= width &&
                                    b.y + b.h <= static_cast<int>(ph * 20))
                            << at << " at " << b.x << "," << b.y;
                        const std::vector<bool> row = PdfPixelRow(
                            pdf, scratch, static_cast<int>(p) + 1, b.y + b.h / 2, width);
                        const Code39Read r = ReadCode39(row, b.x, b.x + b.w);
                        EXPECT_TRUE(r.ok) << at << ": " << r.why;
                        EXPECT_EQ(r.text, "1234") << at;
                        EXPECT_GE(r.quietLeft, 10.0) << at;
                        EXPECT_GE(r.quietRight, 10.0) << at;
                    }
            }
            EXPECT_GT(barcodes, 0) << where;
        }
    }
}

TEST_F(QtPdf, WithoutAnyPrinterNothingIsPrinted) {
    QtPrintBackend none(QtPrintOptions{"", dir.path().toStdString(), false});
    if (!none.Printers().empty()) GTEST_SKIP() << "printers are installed here";
    Banco b("", {}, &none);
    EXPECT_FALSE(b.printer().StampanteDisponibile());
    b.Vendi({{101, 1}});
    EXPECT_TRUE(none.Documents().empty());
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.pdf"}).isEmpty());
}

const DateTime kQuando{2026, 7, 18, 20, 30, 0, 6};

// The preview's drawings and the recorded calls of every page, in order, as comparable rows:
// the paper first, then kind, box (a line: start and extent) and the text with its font.
using Pagine = std::vector<std::vector<std::string>>;

std::string Line(int kind, int x, int y, int w, int h, const std::string& text,
                 const PrintFont& f = {}) {
    return std::to_string(kind) + " " + std::to_string(x) + "," + std::to_string(y) + " " +
           std::to_string(w) + "x" + std::to_string(h) + " " + text + " " + f.name +
           std::to_string(f.size) + (f.bold ? "b" : "") + (f.italic ? "i" : "") +
           (f.underline ? "u" : "");
}

Pagine Registrate(const RecordingBackend& b) {
    Pagine pagine;
    for (const RecordedDocument& d : b.Documents())
        for (const RecordedPage& p : d.pages) {
            auto& righe = pagine.emplace_back();
            righe.push_back(Line(-1, 0, 0, p.size.width, p.size.length, ""));
            // Both kinds list text, line, picture and barcode in this order.
            for (const PrintCall& c : p.calls) {
                const bool linea = c.kind == PrintCall::Kind::Line;
                righe.push_back(Line(static_cast<int>(c.kind), c.x, c.y, linea ? c.x2 - c.x : c.w,
                                     linea ? c.y2 - c.y : c.h, c.text, c.font));
            }
        }
    return pagine;
}

Pagine Disegnate(const QtPreviewBackend& b) {
    Pagine pagine;
    for (const PreviewPage& p : b.Pagine()) {
        auto& righe = pagine.emplace_back();
        righe.push_back(Line(-1, 0, 0, p.carta.width, p.carta.length, ""));
        for (const PreviewMark& s : p.segni) {
            const bool testo = s.tipo == PreviewMark::Kind::Testo;
            const bool barre = s.tipo == PreviewMark::Kind::Barre;
            righe.push_back(Line(static_cast<int>(s.tipo), s.x, s.y, testo ? 0 : s.w,
                                 testo ? 0 : s.h, barre ? "" : s.testo,
                                 testo ? s.font : PrintFont{}));
        }
    }
    return pagine;
}

/// A picture file on disk (for Qt) that the till's file access also finds.
struct Figure {
    Figure(Banco& b, int wPx, int hPx, int widthTwips, int heightTwips) {
        EXPECT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("logo.png")).toStdString();
        QImage img(wPx, hPx, QImage::Format_RGB32);
        img.fill(Qt::darkBlue);
        EXPECT_TRUE(img.save(QString::fromStdString(path)));
        b.files.ReplaceAll(path, "png");
        b.opt().headerImages[0] = HeaderImage{path, heightTwips, widthTwips, 100};
    }
    QTemporaryDir dir;
    std::string path;
};

struct Caso {
    const char* name;
    std::string stampa;  // keys of [STAMPA]
    int righe;
    bool figura;
};

TEST(QtAnteprima, DrawsTheCallsOfThePrintingLayouts) {
    const Caso casi[] = {
        {"POS 80 cumulative with titles and footer",
         "FORMATO=2\r\nTITOLO=Sagra di Vorsa\r\nTITOLO2=Festa\r\nPIEDE=Grazie\r\n"
         "SCONTRINI_CALCOLACARTA=1\r\nTKT-RITIRO=1\r\nTKT-RITIRO_BARRE=1\r\nRIEPILOGO0=1\r\n",
         10, true},
        {"A6 separate receipts without prices",
         "FORMATO=0\r\nCUMULATIVO=1\r\nPREZZI=0\r\n"
         "TKT-RITIRO=1\r\nTKT-RITIRO-GRP=1\r\nPROGRESSIVO_PIEDE=1\r\n",
         3, false},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.name);
        Banco b("[STAMPA]\r\n" + c.stampa, {"Anteprima"});
        std::unique_ptr<Figure> figura;
        if (c.figura) figura = std::make_unique<Figure>(b, 120, 40, 1800, 600);
        ReceiptPreview campione(b.till().settings);
        RegistraConMisureQt registra({"Anteprima"}, "Anteprima");
        if (figura) registra.loadablePictures.insert(figura->path);
        campione.Stampa(registra, b.opt(), c.righe, kQuando);
        QtPreviewBackend anteprima(3.0);
        anteprima.Ricomincia("Anteprima", {});
        campione.Stampa(anteprima, b.opt(), c.righe, kQuando);

        const Pagine attese = Registrate(registra);
        ASSERT_FALSE(attese.empty());
        EXPECT_EQ(Disegnate(anteprima), attese);
        EXPECT_EQ(anteprima.Fuori(), 0);
    }
}

}  // namespace
}  // namespace vorsa::test
