#include "ui/widgets/fitted_labels.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <algorithm>

namespace vorsa {
namespace {

/// Padding a line edit keeps around its text besides its frame (Qt's own constant is 2 per
/// side, plus the caret).
constexpr int kPaddingRiga = 6;
/// A push button keeps this much free at each side of its caption.
constexpr int kPaddingBottone = 4;

QFont ConPunti(QFont f, int pt) {
    f.setPointSize(pt);
    return f;
}

/// The two lines of `nome` broken at the blank that makes the longer line shortest.
QStringList DueRighe(const QString& nome, const QFontMetrics& fm) {
    const QStringList parole = nome.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList migliore{nome};
    int larghezzaMigliore = fm.horizontalAdvance(nome);
    for (qsizetype i = 1; i < parole.size(); ++i) {
        const QString a = parole.mid(0, i).join(QLatin1Char(' '));
        const QString b = parole.mid(i).join(QLatin1Char(' '));
        const int w = std::max(fm.horizontalAdvance(a), fm.horizontalAdvance(b));
        if (w < larghezzaMigliore) {
            larghezzaMigliore = w;
            migliore = {a, b};
        }
    }
    return migliore;
}

}  // namespace

QSize AreaTesto(const QWidget& w) {
    QSize s = w.contentsRect().size();
    if (qobject_cast<const QLineEdit*>(&w)) s -= QSize(2 * kPaddingRiga, 2);
    if (qobject_cast<const QPushButton*>(&w)) s -= QSize(2 * kPaddingBottone, 2);
    return s.expandedTo(QSize(0, 0));
}

void AdattaCarattere(QWidget& w, const QString& campione, int maxPt, bool grassetto) {
    QFont f = w.font();
    f.setBold(grassetto);
    const QSize area = AreaTesto(w);
    int pt = std::max(maxPt, 1);
    for (; pt > 1; --pt) {
        const QFontMetrics fm(ConPunti(f, pt));
        if (fm.horizontalAdvance(campione) <= area.width() && fm.height() <= area.height()) break;
    }
    w.setFont(ConPunti(f, pt));
}

void AdattaTestoACapo(QLabel& l, int maxPt) {
    QFont f = l.font();
    const QRect area = l.contentsRect();
    int pt = std::max(maxPt, 1);
    for (; pt > 6; --pt) {
        const QFontMetrics fm(ConPunti(f, pt));
        if (fm.boundingRect(area, Qt::TextWordWrap | Qt::AlignCenter, l.text()).height() <=
            area.height())
            break;
    }
    l.setFont(ConPunti(f, pt));
}

void FittedAmount::Layout(int maxPt, const QString& testo) {
    static const QString kComune = QStringLiteral("999,99");
    AdattaCarattere(w_, kComune, maxPt);
    comune_ = w_.font();
    larghezzaComune_ = QFontMetrics(comune_).horizontalAdvance(kComune);
    Testo(testo);
}

void FittedAmount::Testo(const QString& testo) {
    if (QFontMetrics(comune_).horizontalAdvance(testo) <= larghezzaComune_) {
        if (w_.font() != comune_) w_.setFont(comune_);
        return;
    }
    AdattaCarattere(w_, testo, comune_.pointSize());
}

FittedCaption DidascaliaBottone(const QString& nome, const QFont& base, QSize area) {
    const int basePt = std::max(base.pointSize(), kPuntiMinimi);
    for (int pt = basePt; pt >= kPuntiMinimi; --pt) {
        const QFontMetrics fm(ConPunti(base, pt));
        if (fm.horizontalAdvance(nome) <= area.width() && fm.height() <= area.height())
            return {nome, pt};
        if (2 * fm.lineSpacing() > area.height()) continue;
        const QStringList righe = DueRighe(nome, fm);
        if (righe.size() == 2 && fm.horizontalAdvance(righe[0]) <= area.width() &&
            fm.horizontalAdvance(righe[1]) <= area.width())
            return {righe.join(QLatin1Char('\n')), pt};
    }
    // Even the smallest size is too narrow: keep the start of the name, mark the cut at its end.
    const QFontMetrics fm(ConPunti(base, kPuntiMinimi));
    if (2 * fm.lineSpacing() > area.height())
        return {fm.elidedText(nome, Qt::ElideRight, area.width()), kPuntiMinimi};
    QStringList righe = DueRighe(nome, fm);
    if (righe.size() == 1) {
        // One long word: as much of it as fits, then the rest on the second line.
        const QString& parola = righe[0];
        qsizetype n = parola.size();
        while (n > 1 && fm.horizontalAdvance(parola.left(n)) > area.width()) --n;
        righe = QStringList{parola.left(n), parola.mid(n)};
    }
    righe[0] = fm.elidedText(righe[0], Qt::ElideRight, area.width());
    righe[1] = fm.elidedText(righe[1], Qt::ElideRight, area.width());
    return {righe.join(QLatin1Char('\n')), kPuntiMinimi};
}

}  // namespace vorsa
