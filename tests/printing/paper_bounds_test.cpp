// Nothing leaves the paper: every text, rule and bar of every printout lies on the page, no
// two texts overprint, no column rule crosses a figure, and every barcode reads back with its
// quiet zones. Checked on the recording back end, whose metrics are those of the real font.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "code39_reader.h"
#include "paper_matrix.h"

namespace vorsa::test {
namespace {

struct Box {
    int x0, y0, x1, y1;
    std::string text;
};

// The paper's size, give or take one pixel of the 600 dpi device the page is measured on.
int Twips(int thousandthsMm) {
    return static_cast<int>(std::ceil(thousandthsMm * 1440.0 / 25400.0)) + 1440 / 600;
}

// Where ink can be: blanks at either end carry none, and a row below overlaps the line gap
// under the text above it, not its glyphs (one em high).
Box InkOf(const PrintCall& c) {
    const int a = static_cast<int>(c.text.find_first_not_of(' '));
    const int b = static_cast<int>(c.text.find_last_not_of(' '));
    const int cw = CW(c.font.size);
    if (a < 0) return {c.x, c.y, c.x, c.y, c.text};
    return {c.x + a * cw, c.y, c.x + (b + 1) * cw, c.y + c.font.size * 20, c.text};
}

bool Overlap(const Box& a, const Box& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

/// Everything that is wrong with one page, one finding per line; its barcodes must read
/// `number`.
std::string Faults(const RecordedPage& page, const std::string& number = "1234") {
    std::string faults;
    const int pw = Twips(page.size.width);
    const int ph = Twips(page.size.length);
    std::vector<Box> texts;
    const auto off = [&](int x0, int y0, int x1, int y1) {
        return x0 < 0 || y0 < 0 || x1 > pw || y1 > ph;
    };
    for (const PrintCall& c : page.Of(PrintCall::Kind::Text)) {
        if (c.text.empty()) continue;
        texts.push_back(InkOf(c));
        // The advance box: from the top of the row to the line below.
        if (off(c.x, c.y, c.x + static_cast<int>(c.text.size()) * CW(c.font.size),
                c.y + H(c.font.size)))
            faults += "off the page: \"" + c.text + "\"\n";
        if (c.font.size < 6) faults += "below 6 pt: \"" + c.text + "\"\n";
    }
    for (std::size_t i = 0; i < texts.size(); ++i)
        for (std::size_t j = i + 1; j < texts.size(); ++j)
            if (Overlap(texts[i], texts[j]))
                faults += "overprinted: \"" + texts[i].text + "\" / \"" + texts[j].text + "\"\n";

    for (const PrintCall& c : page.calls) {
        if (c.kind == PrintCall::Kind::Line) {
            // A rule is a line with no width: it crosses a text it passes strictly inside.
            const Box r{std::min(c.x, c.x2), std::min(c.y, c.y2), std::max(c.x, c.x2),
                        std::max(c.y, c.y2), ""};
            if (off(r.x0, r.y0, r.x1, r.y1)) faults += "rule off the page\n";
            for (const Box& t : texts)
                if ((r.x0 < t.x1 && t.x0 < r.x1 && t.y0 < r.y0 && r.y0 < t.y1) ||
                    (r.y0 < t.y1 && t.y0 < r.y1 && t.x0 < r.x0 && r.x0 < t.x1))
                    faults += "rule crosses \"" + t.text + "\"\n";
        }
        if (c.kind != PrintCall::Kind::Barcode) continue;
        if (off(c.x, c.y, c.x + c.w, c.y + c.h)) faults += "barcode off the page\n";
        // A scan line across the middle of the bars, one cell per twip, over the whole width.
        std::vector<bool> row(static_cast<std::size_t>(std::max(pw, 0)), false);
        const int mid = c.y + c.h / 2;
        const auto ink = [&](double x0, double x1) {
            for (int x = static_cast<int>(std::lround(x0)); x < std::lround(x1); ++x)
                if (x >= 0 && x < pw) row[static_cast<std::size_t>(x)] = true;
        };
        for (const Box& t : texts)
            if (t.y0 <= mid && mid < t.y1) ink(t.x0, t.x1);
        const double scale = static_cast<double>(c.w) / c.barcode.widthPx;
        for (const auto& bar : c.barcode.bars)
            ink(c.x + bar.x * scale, c.x + (bar.x + bar.width) * scale);
        const Code39Read r = ReadCode39(row, c.x, c.x + c.w);
        if (!r.ok) faults += "barcode unreadable: " + r.why + "\n";
        if (r.text != number) faults += "barcode reads \"" + r.text + "\"\n";
        if (r.quietLeft < 10 || r.quietRight < 10)
            faults += "quiet zones " + std::to_string(r.quietLeft) + " and " +
                      std::to_string(r.quietRight) + " narrow bars\n";
    }
    return faults;
}

/// Checks every page printed since the last Clear(), none of them the nominal 500 mm of a roll;
/// returns how many barcodes they hold.
int CheckPages(Banco& b, const std::string& where) {
    int barcodes = 0;
    for (const RecordedDocument& d : b.Docs())
        for (const RecordedPage& p : d.pages) {
            barcodes += static_cast<int>(p.Of(PrintCall::Kind::Barcode).size());
            const std::string f = Faults(p);
            EXPECT_TRUE(f.empty()) << where << ":\n" << f;
            if (p.size.length == 500000) ADD_FAILURE() << where << ": a 500 mm page";
        }
    return barcodes;
}

TEST(Paper, NothingLeavesThePaperInAnyModeOnAnyPaper) {
    for (const Paper& paper : kPapers) {
        for (int mode = 0; mode <= 3; ++mode) {
            const std::string where = std::string(paper.name) + ", mode " + std::to_string(mode);
            Banco b(PaperIni(paper, mode, "Stampante"));
            PaperBill(b);
            b.Commit();
            // Everything printed, with two number rows per receipt and one on each other slip.
            const int receipts = mode == 1 ? 4 : 1;
            EXPECT_EQ(Tally(b), (std::vector<int>{receipts, 1, 1, 1, 1})) << where;
            EXPECT_EQ(CheckPages(b, where), 2 * receipts + 3) << where;
            // The total's figures whole when one receipt holds it: the count ends a word, the
            // amount its row.
            bool pezzi = false, importo = false;
            for (const std::string& t : AllTexts(b)) {
                pezzi = pezzi || t == "Pezzi: nr. 103" || t.starts_with("Pezzi: nr. 103 ");
                importo = importo || t.ends_with("Importo: \x80 1.388,50");
            }
            EXPECT_EQ(std::tie(pezzi, importo), std::make_tuple(mode != 1, mode != 1)) << where;

            // The reprint: every number row starts with the longer "COPIA - Scontrino: ".
            b.backend.Clear();
            b.printer().StampaUltimoConto(true);
            CheckPages(b, where + ", reprint");
            EXPECT_EQ(Occurrences(b, "COPIA - Scontrino: 1.234 - "), 2 * receipts) << where;
            // The printer's test page, whose number rows carry the till's last number; the
            // till's own title is back afterwards.
            if (mode > 0) continue;
            b.backend.Clear();
            b.printer().StampaTest();
            EXPECT_GT(CheckPages(b, where + ", test page"), 0);
            EXPECT_EQ(AllTexts(b).at(0), "*****   TEST STAMPANTE   *****") << where;
            EXPECT_EQ(b.opt().gTitoloScontrino, "Sagra della Polenta di Vorsa");
        }
    }
}

}  // namespace
}  // namespace vorsa::test
