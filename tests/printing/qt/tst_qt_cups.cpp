// The Qt back end sending a receipt to a real CUPS queue (a private spooler started by
// cups_queue.sh): the job's file in the spool is the PDF of the receipt.
#include <gtest/gtest.h>

#include <algorithm>

#include "print_fixture.h"
#include "printing/qt/qt_print_backend.h"
#include "qt_print_helpers.h"

namespace vorsa::test {
namespace {

TEST(QtCups, ReceiptReachesTheQueueAsAPdfJobOfItsPageSize) {
    if (!Spooler()) GTEST_SKIP() << "no private CUPS spooler";
    QtPrintBackend backend;
    const auto printers = backend.Printers();
    ASSERT_NE(std::find(printers.begin(), printers.end(), "VorsaPDF"), printers.end());
    EXPECT_EQ(backend.DefaultPrinter(), "VorsaPDF");

    Banco b(
        "[STAMPA]\r\nSTAMPANTE=VorsaPDF\r\nTITOLO=Sagra di Vorsa\r\nTKT-RITIRO=0\r\n"
        "RIEPILOGO0=0\r\nFORMATO=2\r\n",
        {}, &backend);
    ASSERT_TRUE(b.printer().StampanteDisponibile());
    b.Vendi({{101, 2}, {201, 1}}, 42);
    ASSERT_EQ(backend.Documents().size(), 1u);
    EXPECT_EQ(backend.Documents()[0].printer, "VorsaPDF");
    EXPECT_TRUE(backend.Documents()[0].pdfPath.empty());

    // The queue is new to this run: its only job is the receipt.
    const std::string queued = vorsa::test::Run("lpstat -o VorsaPDF 2>/dev/null");
    std::smatch id;
    ASSERT_TRUE(std::regex_search(queued, id, std::regex("VorsaPDF-([0-9]+)"))) << queued;
    const std::string job = SpoolJob(std::stoi(id[1]));
    EXPECT_EQ(vorsa::test::Run("head -c 5 '" + job + "'"), "%PDF-");
    const std::string text = PdfText(job);
    std::size_t at = 0;
    for (const char* t :
         {"Sagra di Vorsa", "Scontrino: 42", "Panino con salamella", "Acqua", "Pezzi: nr. 3"}) {
        at = text.find(t, at);
        ASSERT_NE(at, std::string::npos) << t << "\n" << text;
    }
    const auto [w, h] = PdfPageSize(job);
    EXPECT_NEAR(w, 80.0 / 25.4 * 72.0, 1.0);
    EXPECT_NEAR(h, 500.0 / 25.4 * 72.0, 1.0);
}

}  // namespace
}  // namespace vorsa::test
