// The receipt preview: the sample bill drawn by the preview back end is the one the printing
// layouts produce (checked against the recording back end for the same settings), measured as
// the printing back end measures, and what falls off the paper is marked in red.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "print_fixture.h"
#include "printing/qt/qt_preview_backend.h"
#include "printing/receipt_preview.h"
#include "qt_print_helpers.h"

namespace vorsa::test {
namespace {

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

bool Rosso(QRgb c) {
    return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90;
}

int PuntiRossi(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += Rosso(img.pixel(x, y));
    return n;
}

TEST(QtAnteprima, APictureWiderThanThePaperIsMarkedInRed) {
    const struct {
        const char* name;
        int widthTwips;
        bool fuori;
    } casi[] = {{"fits", 1800, false}, {"wider than 57 mm", 6000, true}};
    for (const auto& c : casi) {
        SCOPED_TRACE(c.name);
        Banco b(
            "[STAMPA]\r\nFORMATO=3\r\nSCONTRINI_CALCOLACARTA=1\r\nTKT-RITIRO=0\r\nRIEPILOGO0=0\r\n",
            {"Anteprima"});
        Figure figura(b, 300, 60, c.widthTwips, 600);
        ReceiptPreview campione(b.till().settings);
        QtPreviewBackend anteprima(4.0);
        anteprima.Ricomincia("Anteprima", {});
        campione.Stampa(anteprima, b.opt(), 2, kQuando);
        ASSERT_FALSE(anteprima.Pagine().empty());
        const PreviewPage& p = anteprima.Pagine().front();
        ASSERT_FALSE(p.segni.empty());
        const PreviewMark& s = p.segni.front();
        ASSERT_EQ(s.tipo, PreviewMark::Kind::Immagine);
        EXPECT_EQ(s.fuori, c.fuori);
        EXPECT_EQ(anteprima.Fuori(), c.fuori ? 1 : 0);
        // The frame shows beside the paper, on the border around it.
        const int bordo = static_cast<int>(QtPreviewBackend::kBordoMm * 4.0);
        const QImage sinistra = p.immagine.copy(0, 0, bordo - 2, p.immagine.height());
        EXPECT_EQ(PuntiRossi(sinistra) > 0, c.fuori);
        EXPECT_EQ(PuntiRossi(p.immagine) > 0, c.fuori);
    }
}

}  // namespace
}  // namespace vorsa::test
