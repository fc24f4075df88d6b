#include "ui/notices/print_notices.h"

#include <QDateTime>
#include <QTimer>
#include <algorithm>

#include "ui/notices/messages.h"
#include "ui/widgets/widget_helpers.h"

namespace vorsa {

struct PrintNotices::Worker {
    std::unique_ptr<PrinterStates> stato;
    std::unique_ptr<PrintWatch> sorveglianza;
};

namespace {

bool Pronta(const PrinterState& s) {
    const Light spia = SpiaDi(s);
    return spia == Light::Verde || spia == Light::Ambra;
}

}  // namespace

PrintNotices::PrintNotices(Messages& messaggi, StatesReader crea, int intervalloMs, QObject* parent)
    : PrintNotices(messaggi, std::move(crea), Reprint{}, intervalloMs, parent) {}

PrintNotices::PrintNotices(Messages& messaggi, StatesReader crea, Reprint ristampa,
                           int intervalloMs, QObject* parent)
    : QObject(parent),
      messaggi_(messaggi),
      crea_(std::move(crea)),
      ristampa_(std::move(ristampa)),
      lavoratore_(std::make_unique<Worker>()),
      timer_(new QTimer(this)),
      worker_(QStringLiteral("vorsa-stampanti")) {
    timer_->setInterval(intervalloMs);
    connect(timer_, &QTimer::timeout, this, &PrintNotices::Giro);
    timer_->start();
}

PrintNotices::~PrintNotices() = default;

void PrintNotices::AlLavoratore(std::function<void(Worker&)> lavoro) {
    worker_.Run([this, lavoro = std::move(lavoro)] {
        Worker& l = *lavoratore_;
        if (!l.stato) {
            l.stato = crea_();
            l.sorveglianza = std::make_unique<PrintWatch>(
                *l.stato, [this](const PrintNotice& a, const Sheet& f) {
                    QMetaObject::invokeMethod(
                        this, [this, a, f] { Avvisa(a, f); }, Qt::QueuedConnection);
                });
        }
        lavoro(l);
        const bool seguendo = l.sorveglianza->Seguendo();
        QMetaObject::invokeMethod(
            this,
            [this, seguendo] {
                seguendo_ = seguendo;
                emit Risposto();
            },
            Qt::QueuedConnection);
    });
}

void PrintNotices::PrimaDiStampare(const std::vector<Sheet>& fogli) {
    // The time is taken now, before the jobs: the worker may ask after they were sent.
    const std::int64_t prima = QDateTime::currentSecsSinceEpoch();
    seguendo_ = true;
    AlLavoratore([fogli, prima](Worker& l) { l.sorveglianza->PrimaDiStampare(fogli, prima); });
}

void PrintNotices::DopoAverStampato() {
    AlLavoratore([](Worker& l) { l.sorveglianza->DopoAverStampato(); });
}

void PrintNotices::Giro() {
    if (occupato_ || (!seguendo_ && Offerte().empty())) return;
    occupato_ = true;
    std::vector<std::string> stampanti;
    for (const Offer& o : offerte_) stampanti.push_back(o.foglio.stampante);
    AlLavoratore([this, stampanti](Worker& l) {
        if (l.sorveglianza->Seguendo()) l.sorveglianza->Segui();
        std::map<std::string, PrinterState> stati;
        for (const std::string& s : stampanti)
            if (!stati.count(s)) stati[s] = l.stato->Stato(s);
        QMetaObject::invokeMethod(
            this,
            [this, stati] {
                occupato_ = false;
                // A printer back since the last look: its kitchen order is offered again.
                for (Offer& o : offerte_) {
                    const auto it = stati.find(o.foglio.stampante);
                    if (it == stati.end()) continue;
                    // Seen for the first time it is only noted: a printer that looks ready
                    // when its job was aborted is not offered again at once.
                    const std::optional<bool> era = o.pronta;
                    o.pronta = Pronta(it->second);
                    if (*o.pronta && era == false) {
                        const Sheet f = o.foglio;
                        Offri(f, QStringLiteral("La stampante \u00E8 di nuovo pronta."));
                        break;
                    }
                }
            },
            Qt::QueuedConnection);
    });
}

QString PrintNotices::Suggerimento(const PrintNotice& a, const Sheet& f) {
    if (!a.offriRistampa) return QString();
    if (f.comanda == 0)
        return QStringLiteral(
            "Quando la stampante \u00E8 di nuovo pronta, F5 ristampa lo scontrino.");
    return QStringLiteral(
        "Quando la stampante \u00E8 di nuovo pronta la ristampa viene riproposta; un clic "
        "sulle spie delle stampanti la ripropone subito.");
}

const std::vector<PrintNotices::Offer>& PrintNotices::Offerte() {
    if (ristampa_.contoAttuale) {
        const std::int32_t conto = ristampa_.contoAttuale();
        std::erase_if(offerte_, [conto](const Offer& o) { return o.foglio.conto != conto; });
    }
    return offerte_;
}

void PrintNotices::Avvisa(const PrintNotice& a, const Sheet& f) {
    if (a.offriRistampa && f.comanda > 0 && ristampa_.comanda) {
        // One offer per kitchen order; a newer bill's notice replaces the older ones.
        std::erase_if(offerte_, [&f](const Offer& o) {
            return o.foglio.comanda == f.comanda || o.foglio.conto != f.conto;
        });
        offerte_.push_back({a, f, std::nullopt});
        Offri(f, Suggerimento(a, f));
        return;
    }
    messaggi_.MostraMessaggio(Testo(a.titolo), Testo(a.testo), Suggerimento(a, f), true, QString(),
                              QStringLiteral("OK"), false, 0);
}

void PrintNotices::Riproponi() {
    if (Offerte().empty()) return;
    const Offer o = offerte_.front();
    Offri(o.foglio, Suggerimento(o.avviso, o.foglio));
}

void PrintNotices::Offri(Sheet f, const QString& hint) {
    if (offrendo_) return;  // one question at a time; the others stay open
    const std::vector<Offer>& aperte = Offerte();
    const auto it =
        std::find_if(aperte.begin(), aperte.end(), [&f](const Offer& o) { return o.foglio == f; });
    if (it == aperte.end()) return;
    const PrintNotice a = it->avviso;
    offrendo_ = true;
    const int r =
        messaggi_.MostraMessaggio(Testo(a.titolo), Testo(a.testo), hint, true,
                                  QStringLiteral("Chiudi"), QStringLiteral("Ristampa"), true, 0);
    offrendo_ = false;
    if (r != 6) return;  // dismissed: still open, offered again when asked or when it is back
    AlLavoratore([this, f](Worker& l) {
        const PrinterState s = l.stato->Stato(f.stampante);
        QMetaObject::invokeMethod(
            this, [this, f, s] { Verificata(f, s); }, Qt::QueuedConnection);
    });
}

void PrintNotices::Verificata(const Sheet& f, const PrinterState& s) {
    const auto it = std::find_if(offerte_.begin(), offerte_.end(),
                                 [&f](const Offer& o) { return o.foglio == f; });
    if (it == offerte_.end() || (ristampa_.contoAttuale && ristampa_.contoAttuale() != f.conto))
        return;
    if (!Pronta(s)) {
        it->pronta = false;
        Offri(f, QStringLiteral("La stampante non \u00E8 ancora pronta."));
        return;
    }
    // Printed again, it is followed as any slip: should it fail, a new notice offers it.
    offerte_.erase(it);
    ristampa_.comanda(f.comanda);
}

}  // namespace vorsa
