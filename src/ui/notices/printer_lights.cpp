#include "ui/notices/printer_lights.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>

#include "ui/widgets/widget_helpers.h"

namespace vorsa {
namespace {

constexpr int kDiametro = 14;

QString Colore(Light s) {
    switch (s) {
        case Light::Verde:
            return QStringLiteral("#2e7d32");
        case Light::Ambra:
            return QStringLiteral("#ff8f00");
        case Light::Grigia:
            return QStringLiteral("#9e9e9e");
        case Light::Rossa:
            break;
    }
    return QStringLiteral("#c62828");
}

}  // namespace

PrinterLights::PrinterLights(StatesReader crea, int intervalloMs, QWidget* parent)
    : QWidget(parent),
      crea_(std::move(crea)),
      timer_(new QTimer(this)),
      worker_(QStringLiteral("vorsa-spie")) {
    setObjectName(QStringLiteral("spie_Stampanti"));
    setAccessibleName(QStringLiteral("Stampanti"));
    setAccessibleDescription(objectName());
    auto* l = new QHBoxLayout(this);
    l->setContentsMargins(2, 2, 2, 2);
    l->setSpacing(4);
    timer_->setInterval(intervalloMs);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (elenco_) {
            std::vector<std::string> v = elenco_();
            std::vector<std::string> unici;
            for (std::string& n : v)
                if (!n.empty() && std::find(unici.begin(), unici.end(), n) == unici.end())
                    unici.push_back(std::move(n));
            if (unici != stampanti_) {
                Imposta(unici);
                return;
            }
        }
        Aggiorna();
    });
    timer_->start();
}

PrinterLights::~PrinterLights() = default;

void PrinterLights::Imposta(const std::vector<std::string>& stampanti) {
    stampanti_.clear();
    for (const std::string& s : stampanti)
        if (!s.empty() && std::find(stampanti_.begin(), stampanti_.end(), s) == stampanti_.end())
            stampanti_.push_back(s);
    for (QLabel* l : luci_) delete l;
    luci_.clear();
    spie_.assign(stampanti_.size(), Light::Grigia);
    for (std::size_t i = 0; i < stampanti_.size(); ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(Indicizzato("spia_Stampante", static_cast<int>(i)));
        l->setFixedSize(kDiametro, kDiametro);
        l->setAccessibleDescription(l->objectName());
        layout()->addWidget(l);
        luci_.push_back(l);
    }
    // Unknown until the spooler answers.
    Mostra(std::vector<PrinterState>(stampanti_.size(), {QueueState::Sconosciuta, false, {}}));
    Colloca();
    Aggiorna();
}

void PrinterLights::Segui(std::function<std::vector<std::string>()> elenco) {
    elenco_ = std::move(elenco);
    if (elenco_) Imposta(elenco_());
}

void PrinterLights::mousePressEvent(QMouseEvent* event) {
    emit Cliccate();
    QWidget::mousePressEvent(event);
}

void PrinterLights::Affianca(QWidget* ancora) {
    ancora_ = ancora;
    setParent(ancora->parentWidget());
    ancora->installEventFilter(this);
    Colloca();
    show();
}

bool PrinterLights::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ancora_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
                               event->type() == QEvent::Show || event->type() == QEvent::Hide))
        Colloca();
    return QWidget::eventFilter(watched, event);
}

void PrinterLights::Colloca() {
    if (!ancora_) return;
    adjustSize();
    const QRect r = ancora_->geometry();
    move(r.right() - width() + 1, r.top() + (r.height() - height()) / 2);
    setVisible(!ancora_->isHidden());
    raise();
}

void PrinterLights::Aggiorna() {
    if (inLettura_ || stampanti_.empty()) return;
    inLettura_ = true;
    worker_.Run([this, crea = crea_, nomi = stampanti_] {
        std::vector<PrinterState> stati;
        if (const auto lettore = crea())
            for (const std::string& n : nomi) stati.push_back(lettore->Stato(n));
        // Answered on the window's thread; dropped if the lights are gone by then.
        QMetaObject::invokeMethod(
            this,
            [this, stati, nomi] {
                inLettura_ = false;
                if (nomi == stampanti_)
                    Mostra(stati);
                else
                    Aggiorna();  // re-listed while reading: read the new list
                emit Aggiornate();
            },
            Qt::QueuedConnection);
    });
}

QString PrinterLights::Descrizione(const std::string& stampante, const PrinterState& s) {
    QString stato;
    if (s.stato == QueueState::Sconosciuta)
        stato = QStringLiteral("stato sconosciuto, il servizio di stampa non risponde");
    else if (s.stato == QueueState::Assente)
        stato = QStringLiteral("non trovata");
    else if (!s.accetta)
        stato = QStringLiteral("non accetta lavori");
    else if (s.stato == QueueState::Ferma)
        stato = QStringLiteral("ferma");
    else if (s.stato == QueueState::InStampa)
        stato = QStringLiteral("in stampa");
    else
        stato = QStringLiteral("pronta");
    const std::string motivi = MotiviLeggibili(s.motivi);
    if (!motivi.empty() && s.stato != QueueState::Assente && s.stato != QueueState::Sconosciuta)
        stato += " (" + Testo(motivi) + ")";
    return Testo(stampante) + QStringLiteral(": ") + stato;
}

void PrinterLights::Mostra(const std::vector<PrinterState>& stati) {
    for (std::size_t i = 0; i < luci_.size() && i < stati.size(); ++i) {
        spie_[i] = vorsa::SpiaDi(stati[i]);
        QLabel* l = luci_[i];
        l->setStyleSheet(QStringLiteral("background:%1; border-radius:%2px;")
                             .arg(Colore(spie_[i]))
                             .arg(kDiametro / 2));
        const QString d = Descrizione(stampanti_[i], stati[i]);
        l->setToolTip(d);
        l->setAccessibleName(d);
    }
}

}  // namespace vorsa
