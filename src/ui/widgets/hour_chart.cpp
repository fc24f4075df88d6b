#include "ui/widgets/hour_chart.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "data/statistics.h"
#include "ui/widgets/widget_helpers.h"

namespace vorsa {
namespace {

constexpr int kBarra = 0x6FA8DC;
constexpr int kMigliore = 0x1F5F9F;

}  // namespace

HourChart::HourChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("img_GraficoOre"));
    setAccessibleName(QStringLiteral("Grafico di scontrini e incasso per ora"));
    setMinimumHeight(90);
}

void HourChart::MostraOre(std::vector<SalesHour> ore) {
    ore_ = std::move(ore);
    update();
}

QImage HourChart::Immagine(QSize size) const {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setFont(font());
    Disegna(p, img.rect());
    return img;
}

void HourChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    Disegna(p, rect());
}

void HourChart::Disegna(QPainter& p, QRect area) const {
    const QFontMetrics fm = p.fontMetrics();
    if (ore_.empty()) {
        p.drawText(area, Qt::AlignCenter, QStringLiteral("Nessuno scontrino"));
        return;
    }
    Currency massimo;
    std::size_t migliore = 0;
    for (std::size_t i = 0; i < ore_.size(); ++i)
        if (ore_[i].incasso > massimo) {
            massimo = ore_[i].incasso;
            migliore = i;
        }
    const int riga = fm.height();
    QRect barre = area.adjusted(4, riga + 4, -4, -(riga + 4));
    const int n = static_cast<int>(ore_.size());
    // Few hours keep slim bars, centred, rather than one wall of colour.
    const int passo =
        std::clamp(barre.width() / n, 1, 4 * fm.horizontalAdvance(QLatin1Char('0')) + 8);
    barre.setLeft(barre.left() + (barre.width() - passo * n) / 2);
    barre.setWidth(passo * n);
    // Hour labels only as often as they fit side by side.
    const int ogni =
        std::max(1, (fm.horizontalAdvance(QStringLiteral("00")) + 4 + passo - 1) / passo);
    for (int i = 0; i < n; ++i) {
        const SalesHour& o = ore_[static_cast<std::size_t>(i)];
        const double quota =
            massimo.raw > 0 ? static_cast<double>(o.incasso.raw) / static_cast<double>(massimo.raw)
                            : 0.0;
        const int h = static_cast<int>(quota * barre.height());
        const QRect barra(barre.left() + i * passo + 1, barre.bottom() - h, std::max(1, passo - 2),
                          h);
        p.fillRect(barra, Colore(static_cast<std::size_t>(i) == migliore ? kMigliore : kBarra));
        const QRect colonna(barre.left() + i * passo, area.top(), passo,
                            barre.bottom() - h - area.top());
        if (o.scontrini > 0 && passo >= fm.horizontalAdvance(QString::number(o.scontrini)))
            p.drawText(colonna, Qt::AlignHCenter | Qt::AlignBottom, QString::number(o.scontrini));
        if (i % ogni == 0)
            p.drawText(QRect(barre.left() + i * passo - passo, barre.bottom() + 2, 3 * passo, riga),
                       Qt::AlignHCenter | Qt::AlignTop,
                       QStringLiteral("%1").arg(o.ora.hour, 2, 10, QLatin1Char('0')));
    }
    p.drawLine(barre.bottomLeft(), barre.bottomRight());
    const SalesHour& m = ore_[migliore];
    p.drawText(area.adjusted(4, 0, -4, 0), Qt::AlignTop | Qt::AlignLeft,
               QStringLiteral("Ora migliore: %1-%2, incasso %3")
                   .arg(m.ora.hour, 2, 10, QLatin1Char('0'))
                   .arg((m.ora.hour + 1) % 24, 2, 10, QLatin1Char('0'))
                   .arg(Testo(FormatCurrency(m.incasso, true))));
}

}  // namespace vorsa
