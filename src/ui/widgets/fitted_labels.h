#pragma once
// Fitting texts into their widgets, measured with the font the widget really draws with: an
// amount is never cut, a product name wraps before it shrinks and is never cut at its start.
#include <QFont>
#include <QSize>
#include <QString>

class QLabel;
class QWidget;

namespace vorsa {

/// The smallest font size a fitted text may take, in points.
inline constexpr int kPuntiMinimi = 7;

/// Sets `w`'s font to the largest size up to `maxPt` at which `campione` fits the widget's text
/// area in width and height. Amounts use the widest one they can show.
void AdattaCarattere(QWidget& w, const QString& campione, int maxPt, bool grassetto = true);

/// The largest point size up to `maxPt` at which the label's text, wrapped at words, fits
/// its height; a long message shows whole rather than under its neighbours.
void AdattaTestoACapo(QLabel& l, int maxPt);

/// An amount widget's font: the size at which "999,99" fits, fitted once per layout, so
/// everyday amounts keep one size; only a wider amount (up to 99.999,99) makes it smaller.
/// Showing an everyday amount costs one measurement, not a new fit.
class FittedAmount {
  public:
    explicit FittedAmount(QWidget& w) : w_(w) {}
    /// After the widget was placed or resized: fits the everyday size, then `testo`.
    void Layout(int maxPt, const QString& testo);
    void Testo(const QString& testo);

  private:
    QWidget& w_;
    QFont comune_;
    int larghezzaComune_ = 0;
};

/// Width and height a text may take inside `w` (frame, margins and the line edit's padding
/// taken off).
QSize AreaTesto(const QWidget& w);

struct FittedCaption {
    QString testo;  // one line, or two joined by '\n'
    int punti = 0;
};

/// A product button's caption in `area` pixels: the whole name on one line at `base`'s size if
/// it fits, else on two lines broken at a blank, shrinking down to kPuntiMinimi; only a name
/// too long even then loses its end, marked with an ellipsis.
FittedCaption DidascaliaBottone(const QString& nome, const QFont& base, QSize area);

}  // namespace vorsa
