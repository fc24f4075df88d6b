#include "ui/avvisi_stampa.h"

#include <QTimer>

#include "ui/messaggi.h"
#include "ui/widget_helpers.h"

namespace vorsa {

AvvisiStampa::AvvisiStampa(Messaggi& messaggi, StatoStampanti& stato, int intervalloMs,
                           QObject* parent)
    : QObject(parent),
      messaggi_(messaggi),
      stato_(stato),
      sorveglianza_(stato, [this](const AvvisoStampa& a, const Foglio& f) { Avvisa(a, f); }),
      timer_(new QTimer(this)) {
    timer_->setInterval(intervalloMs);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (sorveglianza_.Seguendo()) sorveglianza_.Segui();
    });
    timer_->start();
}

QString AvvisiStampa::Suggerimento(const AvvisoStampa& a, const Foglio& f) {
    if (!a.offriRistampa) return QString();
    if (f.comanda == 0)
        return QStringLiteral(
            "Quando la stampante \u00E8 di nuovo pronta, F5 ristampa lo scontrino.");
    return QStringLiteral("Quando la stampante \u00E8 di nuovo pronta, ristampare la comanda.");
}

void AvvisiStampa::Avvisa(const AvvisoStampa& a, const Foglio& f) {
    if (a.offriRistampa && f.comanda > 0 && ristampaComanda) {
        // Asked after the bill's printing has returned, never in the middle of it.
        QTimer::singleShot(0, this, [this, a, f] { OffriRistampa(a, f); });
        return;
    }
    messaggi_.MostraMessaggio(Testo(a.titolo), Testo(a.testo), Suggerimento(a, f), true, QString(),
                              QStringLiteral("OK"), false, 0);
}

void AvvisiStampa::OffriRistampa(const AvvisoStampa& a, const Foglio& f) {
    QString hint = Suggerimento(a, f);
    for (;;) {
        const int r = messaggi_.MostraMessaggio(Testo(a.titolo), Testo(a.testo), hint, true,
                                                QStringLiteral("Chiudi"),
                                                QStringLiteral("Ristampa"), true, 0);
        if (r != 6) return;
        if (SpiaDi(stato_.Stato(f.stampante)) != Spia::Rossa) {
            ristampaComanda(f.comanda);
            return;
        }
        hint = QStringLiteral("La stampante non è ancora pronta.");
    }
}

}  // namespace vorsa
