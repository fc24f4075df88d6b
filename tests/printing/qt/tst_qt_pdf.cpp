// The Qt back end writing real PDF files: texts and their order, page sizes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "print_fixture.h"
#include "printing/qt/qt_print_backend.h"
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
    b.Conto({{101, 2}, {102, 1}, {201, 3}}, 1234, "12", "senza cipolla");
    b.Commit();
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
        const std::size_t next = After(text, t, at);
        ASSERT_NE(next, std::string::npos) << "missing or out of order: " << t << "\n" << text;
        at = next;
    }
    const auto [w, h] = PdfPageSize(d.pdfPath);
    EXPECT_NEAR(w, 80.0 / 25.4 * 72.0, 1.0);  // PDF sizes are whole points
    // A computed length: far shorter than the nominal 500 mm roll.
    EXPECT_GT(h, 50.0 / 25.4 * 72.0);
    EXPECT_LT(h, 200.0 / 25.4 * 72.0);
}

TEST_F(QtPdf, SheetFormatsGiveTheirPageSizes) {
    struct Case {
        int formato;
        double wMm, hMm;
    };
    for (const Case c : {Case{1, 210, 297}, Case{0, 105, 148}, Case{3, 57, 500}}) {
        Banco b("[STAMPA]\r\nSTAMPANTE=Vorsa PDF\r\nTKT-RITIRO=0\r\nRIEPILOGO0=0\r\n", {},
                backend.get());
        b.opt().gFormato = c.formato;
        b.Conto({{102, 1}}, 3);
        const std::size_t before = backend->Documents().size();
        b.Commit();
        ASSERT_EQ(backend->Documents().size(), before + 1);
        const auto [w, h] = PdfPageSize(backend->Documents().back().pdfPath);
        EXPECT_NEAR(w, c.wMm / 25.4 * 72.0, 1.0) << c.formato;
        EXPECT_NEAR(h, c.hMm / 25.4 * 72.0, 1.0) << c.formato;
    }
}

TEST_F(QtPdf, TextWidthsAreThoseOfTheLayoutFont) {
    // Liberation Mono: 0.6 em advance; the layouts' line capacities rest on it.
    backend->SetFont(PrintFont{"Courier New", 10});
    EXPECT_NEAR(backend->TextWidth(std::string(34, 'X')), 34 * 120, 3);
    EXPECT_NEAR(backend->TextHeight("X"), RecordingBackend::LineHeight(10), 2);
}

TEST_F(QtPdf, WithoutAnyPrinterNothingIsPrinted) {
    QtPrintBackend none(QtPrintOptions{"", dir.path().toStdString(), false});
    if (!none.Printers().empty()) GTEST_SKIP() << "printers are installed here";
    Banco b("", {}, &none);
    EXPECT_FALSE(b.printer().StampanteDisponibile());
    b.Conto({{101, 1}});
    b.Commit();
    EXPECT_TRUE(none.Documents().empty());
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.pdf"}).isEmpty());
}

}  // namespace
}  // namespace vorsa::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
