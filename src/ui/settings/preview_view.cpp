#include "ui/settings/preview_view.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "settings/settings_gateway.h"
#include "ui/widgets/widget_helpers.h"

namespace vorsa {
namespace {

// The paper at its real size on a screen of 96 dpi.
constexpr double kPixelPerMm = 96.0 / 25.4;
constexpr int kSpazio = 6;  // pixels between the pages

DateTime Ora() {
    const QDateTime t = QDateTime::currentDateTime();
    const QDate d = t.date();
    const QTime o = t.time();
    return {d.year(), d.month(), d.day(), o.hour(), o.minute(), o.second(), d.dayOfWeek() % 7};
}

}  // namespace

PreviewCanvas::PreviewCanvas(QWidget* parent) : QWidget(parent) {}

void PreviewCanvas::Mostra(const std::vector<PreviewPage>& pagine) {
    pagine_ = &pagine;
    int w = 0, h = 0;
    for (const PreviewPage& p : pagine) {
        w = std::max(w, p.immagine.width());
        h += p.immagine.height() + kSpazio;
    }
    resize(std::max(w, 1), std::max(h - kSpazio, 1));
    update();
}

QImage PreviewCanvas::Immagine() const {
    QImage i(size(), QImage::Format_RGB32);
    i.fill(Qt::black);
    QPainter p(&i);
    Disegna(p, rect());
    return i;
}

void PreviewCanvas::Disegna(QPainter& p, const QRect& dove) const {
    p.fillRect(dove, palette().color(QPalette::Dark));
    if (!pagine_) return;
    int y = 0;
    for (const PreviewPage& pg : *pagine_) {
        const QRect r((width() - pg.immagine.width()) / 2, y, pg.immagine.width(),
                      pg.immagine.height());
        // Only the pages in sight: a long roll is mostly scrolled away.
        if (r.intersects(dove)) p.drawImage(r.topLeft(), pg.immagine);
        y += pg.immagine.height() + kSpazio;
    }
}

void PreviewCanvas::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    Disegna(p, event->rect());
}

PreviewView::PreviewView(SettingsGateway& settings, std::function<std::string()> stampante,
                         QWidget* parent)
    : QWidget(parent),
      adesso(Ora),
      settings_(settings),
      stampante_(std::move(stampante)),
      campione_(settings),
      backend_(kPixelPerMm) {
    setObjectName(QStringLiteral("paginaAnteprima"));
    auto* riga = new QHBoxLayout(this);
    riga->setContentsMargins(0, 0, 0, 0);
    scorri_ = new QScrollArea(this);
    scorri_->setObjectName(QStringLiteral("scrAnteprima"));
    scorri_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scorri_->setBackgroundRole(QPalette::Dark);
    picAnteprima = new PreviewCanvas(scorri_);
    picAnteprima->setObjectName(QStringLiteral("picAnteprima"));
    picAnteprima->setAccessibleName(QStringLiteral("Anteprima dello scontrino"));
    scorri_->setWidget(picAnteprima);
    riga->addWidget(scorri_, 3);

    lblAnteprima = new QLabel(this);
    lblAnteprima->setObjectName(QStringLiteral("lblAnteprima"));
    lblAnteprima->setWordWrap(true);
    lblAnteprima->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    lblAnteprima->setTextFormat(Qt::RichText);
    riga->addWidget(lblAnteprima, 2);
}

PreviewView::~PreviewView() = default;

void PreviewView::Ridisegna() {
    std::string printer = stampante_ ? stampante_() : std::string();
    if (printer.empty()) printer = "Anteprima";
    auto it = strisce_.find(printer);
    // Asking the system for a printer's page is slow: once per printer.
    if (it == strisce_.end()) it = strisce_.insert({printer, StrisceStampante(printer)}).first;
    backend_.Ricomincia(printer, it->second);
    campione_.Stampa(backend_, settings_.options(), righe, adesso());

    const auto& pagine = backend_.Pagine();
    picAnteprima->Mostra(pagine);

    const int fuori = backend_.Fuori();
    QString testo =
        QStringLiteral(
            "<p>Scontrino di esempio stampato con le opzioni attuali sulla "
            "stampante <b>%1</b>: %2 %3.</p>")
            .arg(Testo(printer).toHtmlEscaped())
            .arg(pagine.size())
            .arg(pagine.size() == 1 ? QStringLiteral("foglio") : QStringLiteral("fogli"));
    if (!pagine.empty()) {
        const PaperForm& c = pagine.front().carta;
        testo += QStringLiteral("<p>Carta: %1 x %2 mm.</p>")
                     .arg(c.width / 1000.0, 0, 'f', 0)
                     .arg(c.length / 1000.0, 0, 'f', 0);
    }
    testo += fuori > 0 ? QStringLiteral(
                             "<p style=\"color:#dc0000\"><b>%1 fuori dalla carta (in "
                             "rosso): %2.</b></p>")
                             .arg(fuori == 1 ? QStringLiteral("Un elemento cade")
                                             : QStringLiteral("%1 elementi cadono").arg(fuori))
                             .arg(fuori == 1 ? QStringLiteral("non verrebbe stampato per intero")
                                             : QStringLiteral("non verrebbero stampati per intero"))
                       : QStringLiteral("<p>Tutto entra nella carta.</p>");
    lblAnteprima->setText(testo);
}

}  // namespace vorsa
