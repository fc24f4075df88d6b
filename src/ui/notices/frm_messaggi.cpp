#include "ui/notices/frm_messaggi.h"

#include "ui/widgets/fitted_labels.h"

#include <QCloseEvent>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "platform/qt/twips.h"
#include "ui/widgets/accessibility.h"

#include "ui/widgets/widget_helpers.h"

namespace vorsa {

namespace {

// Design measures, in twips.
constexpr int kLarghezza = 16680;
constexpr int kAltezza = 4440;
constexpr int kMargine = 120;
constexpr int kBottoniTop = 3510;
constexpr int kBottoneWidth = 2250;
constexpr int kBottoneHeight = 735;
constexpr std::array<int, 2> kBottoniLeft{4500, 9930};
static_assert(kSinistraBottoneSingolo + kBottoneWidth / 2 == kLarghezza / 2,
              "a lone button sits in the middle");

QLabel* Etichetta(QWidget* parent, const char* name, int pointSize, bool bold) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignCenter);
    l->setWordWrap(true);
    QFont f = l->font();
    f.setPointSize(pointSize);
    f.setBold(bold);
    l->setFont(f);
    return l;
}

}  // namespace

FrmMessaggi::FrmMessaggi(MessagesState& stato, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), stato_(stato) {
    setObjectName(QStringLiteral("frmMessaggi"));

    // Decorative frames: the outer border and the box around the texts.
    bordo_ = new QFrame(this);
    bordo_->setObjectName(QStringLiteral("fraMessaggi(0)"));
    bordo_->setFrameShape(QFrame::Box);
    bordo_->setLineWidth(2);
    riquadro_ = new QFrame(this);
    riquadro_->setObjectName(QStringLiteral("fraMessaggi(1)"));
    riquadro_->setFrameShape(QFrame::StyledPanel);

    tmrMessaggi_ = new QTimer(this);
    tmrMessaggi_->setObjectName(QStringLiteral("tmrMessaggi"));
    connect(tmrMessaggi_, &QTimer::timeout, this, &FrmMessaggi::TimerScaduto);

    lblTitolo_ = Etichetta(this, "lblTitolo", 18, true);
    lblTitolo_->setText(QStringLiteral("Titolo"));
    lblTesto_ = Etichetta(this, "lblTesto", 14, false);
    lblSuggerimento_ = Etichetta(this, "lblSuggerimento", 10, false);
    Disponi(kLarghezza);

    for (int i = 0; i < 2; ++i) {
        auto* b = new QPushButton(this);
        b->setObjectName(Indicizzato("btnMessaggi", i));
        QFont f(QStringLiteral("Arial"));
        f.setPointSize(12);
        f.setBold(true);
        b->setFont(f);
        Colloca(*b, kBottoniLeft[static_cast<std::size_t>(i)], kBottoniTop, kBottoneWidth,
                kBottoneHeight);
        connect(b, &QPushButton::clicked, this, [this, i] { Premuto(i); });
        btnMessaggi_[static_cast<std::size_t>(i)] = b;
    }
    // Closed windows go away; the owner only keeps a guarded pointer.
    connect(this, &QDialog::finished, this, &QObject::deleteLater);
    RendiAccessibile(*this);
}

void FrmMessaggi::Disponi(int larghezza) {
    setFixedSize(TwipsToPixelsX(larghezza), TwipsToPixelsY(kAltezza));
    Colloca(*bordo_, 0, 0, larghezza, kAltezza);
    Colloca(*riquadro_, kMargine / 2, kMargine / 2, larghezza - kMargine, kBottoniTop - kMargine);
    Colloca(*lblTitolo_, kMargine, kMargine, larghezza - 2 * kMargine, 615);
    Colloca(*lblTesto_, kMargine, 855, larghezza - 2 * kMargine, 1800);
    Colloca(*lblSuggerimento_, kMargine, 2715, larghezza - 2 * kMargine, 615);
}

void FrmMessaggi::TestoInRosso() {
    lblTesto_->setStyleSheet(QStringLiteral("color: red"));
}

void FrmMessaggi::Carica(const MessageLook& a) {
    const MessageParams& p = stato_.Parametri();
    // A screen narrower than the window gets a narrower one: every line stays on it. The
    // buttons keep their places, which fit either width.
    const QWidget* sopra = parentWidget() ? parentWidget() : this;
    const int schermo =
        sopra->screen() ? PixelsToTwipsX(sopra->screen()->availableGeometry().width()) : kLarghezza;
    Disponi(std::min(kLarghezza, std::max(schermo, kBottoniLeft[1] + kBottoneWidth + kMargine)));
    lblTitolo_->setText(TestoRighe(p.titolo));
    lblTesto_->setText(TestoRighe(p.testo));
    lblSuggerimento_->setText(TestoRighe(p.suggerimento));
    AdattaTestoACapo(*lblTesto_, 14);
    AdattaTestoACapo(*lblSuggerimento_, 10);
    btnMessaggi_[1]->setText(SenzaMnemonico(Testo(p.caption1)));
    btnMessaggi_[0]->setText(SenzaMnemonico(Testo(p.caption0)));
    setWindowTitle(Testo(p.titolo));

    tmrMessaggi_->setInterval(std::max(a.intervalloMs, 0));
    if (a.timerAttivo)
        tmrMessaggi_->start();
    else
        tmrMessaggi_->stop();
    lblSuggerimento_->setVisible(a.suggerimentoVisibile);
    btnMessaggi_[0]->setVisible(a.bottone0Visibile);
    btnMessaggi_[1]->setVisible(a.bottone1Visibile);
    if (a.bottone1AlCentro)
        Colloca(*btnMessaggi_[1], kSinistraBottoneSingolo, kBottoniTop, kBottoneWidth,
                kBottoneHeight);
    // Without buttons the window itself takes the keys.
    setFocusPolicy(a.bottone1Visibile ? Qt::NoFocus : Qt::StrongFocus);
}

void FrmMessaggi::Premuto(int i) {
    stato_.Premi(i);
    Chiudi();
}

void FrmMessaggi::TimerScaduto() {
    tmrMessaggi_->stop();
    stato_.TimerScaduto();
    Chiudi();
}

void FrmMessaggi::keyPressEvent(QKeyEvent* event) {
    if (stato_.Tasto()) {
        tmrMessaggi_->stop();
        Chiudi();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FrmMessaggi::Scarica() {
    tmrMessaggi_->stop();
    Chiudi();
}

void FrmMessaggi::Chiudi() {
    chiusura_ = true;
    done(QDialog::Accepted);
}

void FrmMessaggi::closeEvent(QCloseEvent* event) {
    // Only the window's own ways of closing count; the system's close request is refused.
    if (chiusura_)
        event->accept();
    else
        event->ignore();
}

QtMessages::QtMessages(QWidget* parent) : parent_(parent) {}

QtMessages::~QtMessages() {
    if (frm_) {
        stato_.Scarica();
        frm_->Scarica();
        delete frm_.data();
    }
}

std::int16_t QtMessages::MostraMessaggio(const QString& title, const QString& text,
                                         const QString& hint, bool showButtons,
                                         const QString& caption0, const QString& caption1,
                                         bool modal, int intervalMs) {
    if (frm_) {
        stato_.Scarica();
        frm_->Scarica();
    }
    MessageParams p;
    p.titolo = Cp1252(title);
    p.testo = Cp1252(text);
    p.suggerimento = Cp1252(hint);
    p.mostraBottoni = showButtons;
    p.caption0 = Cp1252(caption0);
    p.caption1 = Cp1252(caption1);
    p.modale = modal;
    p.intervalloMs = intervalMs;

    auto* frm = new FrmMessaggi(stato_, parent_.data());
    frm_ = frm;
    if (std::exchange(rosso_, false)) frm->TestoInRosso();
    const unsigned mine = ++generazione_;
    frm->Carica(stato_.Carica(p));
    if (!modal) {
        frm->show();
        return stato_.Risposta();
    }
    frm->exec();
    // A message shown while this one waited has taken the window and the answer.
    return generazione_ == mine ? stato_.Risposta() : kNessunaRisposta;
}

}  // namespace vorsa
