// The Qt back end sending a receipt to a real CUPS queue (a private spooler started by
// cups_queue.sh): the job's file in the spool is the PDF of the receipt.
#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "print_fixture.h"
#include "printing/qt/qt_print_backend.h"
#include "qt_print_helpers.h"

namespace vorsa::test {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> JobFiles(const fs::path& spool) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(spool)) {
        const std::string name = e.path().filename().string();
        if (name.size() > 4 && name[0] == 'd' && name.ends_with("-001")) files.push_back(e.path());
    }
    return files;
}

TEST(QtCups, ReceiptReachesTheQueueAsAPdfJobOfItsPageSize) {
    const char* spoolEnv = std::getenv("VORSA_CUPS_SPOOL");
    if (!spoolEnv || !std::getenv("CUPS_SERVER")) GTEST_SKIP() << "no private CUPS spooler";
    const fs::path spool(spoolEnv);

    QtPrintBackend backend;
    const auto printers = backend.Printers();
    ASSERT_NE(std::find(printers.begin(), printers.end(), "VorsaPDF"), printers.end());
    EXPECT_EQ(backend.DefaultPrinter(), "VorsaPDF");

    Banco b(
        "[STAMPA]\r\nSTAMPANTE=VorsaPDF\r\nTITOLO=Sagra di Vorsa\r\nTKT-RITIRO=0\r\n"
        "RIEPILOGO0=0\r\nFORMATO=2\r\n",
        {}, &backend);
    ASSERT_TRUE(b.printer().StampanteDisponibile());
    b.Conto({{101, 2}, {201, 1}}, 42);
    const std::size_t before = JobFiles(spool).size();
    b.Commit();
    ASSERT_EQ(backend.Documents().size(), 1u);
    EXPECT_EQ(backend.Documents()[0].printer, "VorsaPDF");
    EXPECT_TRUE(backend.Documents()[0].pdfPath.empty());

    std::vector<fs::path> jobs;
    for (int i = 0; i < 200 && (jobs = JobFiles(spool)).size() <= before; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(jobs.size(), before + 1) << "no job file in " << spool;
    std::sort(jobs.begin(), jobs.end());
    const std::string job = jobs.back().string();

    EXPECT_EQ(vorsa::test::Run("head -c 5 '" + job + "'"), "%PDF-");
    const std::string text = PdfText(job);
    std::size_t at = 0;
    for (const char* t :
         {"Sagra di Vorsa", "Scontrino: 42", "Panino con salamella", "Acqua", "Pezzi: nr. 3"}) {
        at = After(text, t, at);
        ASSERT_NE(at, std::string::npos) << t << "\n" << text;
    }
    const auto [w, h] = PdfPageSize(job);
    EXPECT_NEAR(w, 80.0 / 25.4 * 72.0, 1.0);
    EXPECT_NEAR(h, 500.0 / 25.4 * 72.0, 1.0);
    EXPECT_NE(vorsa::test::Run("lpstat -o VorsaPDF 2>/dev/null").find("VorsaPDF-"),
              std::string::npos);
}

}  // namespace
}  // namespace vorsa::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
