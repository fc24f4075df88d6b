#pragma once
// What the two Qt back ends (the printer and the on-screen preview) share, so the preview
// shows what the printer gets: the font of a PrintFont under a twip transform, its metrics,
// the device capabilities of a page and the drawing of each call.
#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>
#include <memory>
#include <string>

#include "printing/print_backend.h"

class QFontMetricsF;
class QImage;
class QPainter;

namespace vorsa {

/// Windows-1252 text as a QString, and back.
QString TestoQt(const std::string& cp1252);
std::string TestoCp1252(const QString& s);

/// Unprintable strips of a page, in inches.
struct Stripes {
    double left = 0, top = 0, right = 0, bottom = 0;
};

/// The unprintable strips of an installed printer's default page; none for a name the system
/// does not know.
Stripes StrisceStampante(const std::string& printer);

/// The size QPrinter really gives a page: whole points (A4 is 595 pt, not 595.28), so a text
/// set flush to the right margin does not end past the edge of the page.
QSize PuntiPagina(const PaperForm& page);
/// Capabilities of a page of that size with `strips` at `dpi`.
DeviceCaps CapsPagina(const QSize& points, const Stripes& strips, int dpi);

/// The current font of a Qt back end: built when next drawn or measured, and measured on the
/// font's design scaled to the size, rounded up to whole twips.
class QtFonts {
  public:
    QtFonts();
    ~QtFonts();
    QtFonts(const QtFonts&) = delete;
    QtFonts& operator=(const QtFonts&) = delete;

    /// True when the font changed (the painter's font needs setting again).
    bool Imposta(const PrintFont& font);
    const PrintFont& Font() const { return font_; }
    /// The QFont, sized in twips: under the twip transform a point size would follow the dpi.
    const QFont& Qt();
    int Larghezza(const std::string& text);
    int Altezza();

  private:
    const QFontMetricsF& Misura();
    PrintFont font_;
    QFont qfont_;
    bool dirty_ = true;
    std::unique_ptr<QFontMetricsF> misura_;
    PrintFont misurato_;
};

// The drawing of each call on a painter under the twip transform, in black unless told.
void DisegnaTesto(QPainter& p, const QFont& font, int x, int y, const QString& text,
                  const QColor& colour = Qt::black);
void DisegnaLinea(QPainter& p, int x1, int y1, int x2, int y2, const QColor& colour = Qt::black);
void DisegnaImmagine(QPainter& p, const QImage& image, int x, int y, int w, int h);
void DisegnaBarre(QPainter& p, const BarcodePicture& picture, int x, int y, int w, int h,
                  const QColor& colour = Qt::black);

}  // namespace vorsa
