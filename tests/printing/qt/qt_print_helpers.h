#pragma once
// Running the poppler tools on the PDFs the Qt back end writes, finding a job's PDF in the
// private CUPS spooler of cups_queue.sh, and a recording back end that measures as Qt does.
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "printing/qt/qt_drawing.h"
#include "support/recording_backend.h"

namespace vorsa::test {

/// Output of a shell command; empty when it cannot run.
inline std::string Run(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return out;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe.get())) > 0) out.append(buf.data(), n);
    return out;
}

inline bool HaveTool(const std::string& tool) {
    return !Run("command -v " + tool + " 2>/dev/null").empty();
}

/// pdftotext -layout of a file, as UTF-8 text.
inline std::string PdfText(const std::string& path) {
    return Run("pdftotext -layout '" + path + "' - 2>/dev/null");
}

/// Whether the test runs under cups_queue.sh's private spooler.
inline bool Spooler() {
    return std::getenv("CUPS_SERVER") && std::getenv("VORSA_CUPS_SPOOL");
}

/// The file the spooler keeps of job `id`, waited for (about five seconds) until it reads as a
/// PDF.
inline std::string SpoolJob(int id) {
    char name[32];
    std::snprintf(name, sizeof name, "/d%05d-001", id);
    const std::string job = std::string(std::getenv("VORSA_CUPS_SPOOL")) + name;
    for (int i = 0; i < 100 && PdfText(job).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return job;
}

/// Page width and height in points of the first page, from pdfinfo.
inline std::pair<double, double> PdfPageSize(const std::string& path) {
    const std::string info = Run("pdfinfo '" + path + "' 2>/dev/null");
    std::smatch m;
    if (!std::regex_search(info, m, std::regex(R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)")))
        return {0, 0};
    return {std::stod(m[1]), std::stod(m[2])};
}

/// A word as pdftotext -bbox reports it, in points from the top-left of its page.
struct PdfWord {
    int page = 0;  // from 1
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    double pageWidth = 0, pageHeight = 0;
    std::string text;
};

/// Every word of every page, with the size of its page.
inline std::vector<PdfWord> PdfWords(const std::string& path) {
    const std::string html = Run("pdftotext -bbox '" + path + "' - 2>/dev/null");
    static const std::regex token(
        R"re(<page width="([0-9.]+)" height="([0-9.]+)">|<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
    std::vector<PdfWord> words;
    int page = 0;
    double pw = 0, ph = 0;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), token);
         it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        if (m[1].matched) {
            std::tie(page, pw, ph) = std::make_tuple(page + 1, std::stod(m[1]), std::stod(m[2]));
        } else {
            words.push_back({page, std::stod(m[3]), std::stod(m[4]), std::stod(m[5]),
                             std::stod(m[6]), pw, ph, m[7]});
        }
    }
    return words;
}

/// One row of pixels of a page rendered at 1440 dpi (a pixel per twip), `width` pixels from
/// the left edge, at `y` twips from the top; true where it is dark.
inline std::vector<bool> PdfPixelRow(const std::string& path, const std::string& scratch, int page,
                                     int y, int width) {
    const std::string p = std::to_string(page);
    Run("pdftoppm -r 1440 -gray -singlefile -f " + p + " -l " + p + " -x 0 -y " +
        std::to_string(y) + " -W " + std::to_string(width) + " -H 1 '" + path + "' '" + scratch +
        "' 2>/dev/null");
    std::ifstream in(scratch + ".pgm", std::ios::binary);
    std::string magic;
    int w = 0, h = 0, max = 0;
    in >> magic >> w >> h >> max;
    in.get();
    std::vector<bool> row;
    if (magic != "P5" || h < 1) return row;
    const std::vector<char> data((std::istreambuf_iterator<char>(in)), {});
    for (int x = 0; x < w && x < static_cast<int>(data.size()); ++x)
        row.push_back(static_cast<unsigned char>(data[static_cast<std::size_t>(x)]) < 128);
    return row;
}

/// The recording back end measuring with the Qt back ends' font and pages (whole points), so
/// the same layout decisions are taken and every coordinate can be compared exactly.
class RegistraConMisureQt final : public RecordingBackend {
  public:
    using RecordingBackend::RecordingBackend;
    DeviceCaps Caps() override {
        const auto f = forms.Selected(CurrentPrinter());
        return CapsPagina(PuntiPagina(f ? *f : PaperForm{"", 210000, 297000}), {},
                          requestedDpi > 0 ? requestedDpi : 600);
    }
    void SetFont(const PrintFont& font) override {
        RecordingBackend::SetFont(font);
        font_.Imposta(font);
    }
    int TextWidth(const std::string& text) override { return font_.Larghezza(text); }
    int TextHeight(const std::string&) override { return font_.Altezza(); }

  private:
    QtFonts font_;
};

}  // namespace vorsa::test
