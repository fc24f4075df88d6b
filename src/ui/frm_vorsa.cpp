#include "ui/frm_vorsa.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <algorithm>

#include "layout/info_texts.h"
#include "platform/qt/twips.h"
#include "platform/text.h"
#include "ui/article_grid.h"
#include "ui/notices/frm_messaggi.h"
#include "ui/payment_panel.h"
#include "ui/right_panel.h"
#include "ui/widgets/accessibility.h"
#include "ui/widgets/info_label.h"
#include "ui/widgets/widget_helpers.h"

namespace vorsa {

static_assert(kMinimoLarghezzaFinestra == kLarghezzaMinima &&
                  kMinimoAltezzaFinestra == kAltezzaMinima,
              "the layout and the load step agree on the minimum window");

namespace {

QTimer* MakeTimer(QObject* parent, const char* name) {
    auto* t = new QTimer(parent);
    t->setObjectName(QLatin1String(name));
    return t;
}

void InfoBox(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("msgInfo"));
    box.exec();
}

// Where the settings panel's own info labels sit inside frm_gestione(1), in twips.

}  // namespace

FrmVorsa::FrmVorsa(Till& till, Messages* messaggi, QWidget* parent)
    : QWidget(parent),
      till_(till),
      ownMessaggi_(messaggi == nullptr ? std::make_unique<QtMessages>(this) : nullptr),
      messaggi_(messaggi != nullptr ? *messaggi : *ownMessaggi_),
      finestraInfo_(InfoBox),
      aggiornamento_(till.svc.files, till.store, till.cat, till.opt, till.paths) {
    setObjectName(QStringLiteral("frm_Vorsa"));
    CreaControlli();
}

FrmVorsa::~FrmVorsa() = default;

void FrmVorsa::CreaControlli() {
    tmrResize_ = MakeTimer(this, "tmrResize");
    tmrResize_->setInterval(kIntervalloResizeMs);
    connect(tmrResize_, &QTimer::timeout, this, &FrmVorsa::TimerResize);
    tmrMultivorsa_ = MakeTimer(this, "tmrMultivorsa");
    connect(tmrMultivorsa_, &QTimer::timeout, this, &FrmVorsa::TimerMultivorsa);

    griglia_ = new ArticleGrid(this);
    pagamento_ = new PaymentPanel(this);
    pagamento_->hide();
    pannello_ = new RightPanel(*this, *pagamento_);

    for (int i = 0; i < 2; ++i) {
        auto* f = new QFrame(this);
        f->setObjectName(Indicizzato("frm_gestione", i));
        f->setFrameShape(QFrame::Box);
        f->setAutoFillBackground(true);
        f->hide();
        gestione_[static_cast<std::size_t>(i)] = f;
    }
    // The right panel has lbl_info(2..4); the panels place the others beside their fields.
    connect(pannello_, &RightPanel::InfoPremuta, this, &FrmVorsa::MostraInfo);
}

void FrmVorsa::showEvent(QShowEvent* event) {
    Load();
    QWidget::showEvent(event);
}

void FrmVorsa::Load() {
    if (loaded_) return;
    loaded_ = true;

    tmrResize_->stop();
    tmrMultivorsa_->stop();
    tmrMultivorsa_->setInterval(kIntervalloMultiVorsaMs);
    for (QFrame* f : gestione_) f->hide();
    pagamento_->hide();

    // Code timer, readme and window position as the core decides them.
    const LoadResult load = CaricaFinestra(till_, PrimaryScreenTwips());
    pannello_->Carica(till_.gAzioni, load.timerCodiciMs);
    ApplicaPosizione(load.placement);
    Ridimensiona();  // a hidden window gets its resize event only when shown

    pagamento_->Carica(till_.opt);

    // Products, laid out at once.
    griglia_->Carica(till_.cat, till_.opt);
    till_.cat.ColoraTutti(till_.opt, *this);
    TimerResize();
    RendiAccessibile(*this);

    // A data file that cannot be kept comes first: nothing sold would be saved.
    if (const auto avviso = AvvisoPerFile(till_.statoFileDati, till_.paths.gFileDati))
        messaggi_.MostraMessaggio(Testo(avviso->title), Testo(avviso->text), QString(), true,
                                  QString(), QStringLiteral("OK"), true, 0);

    // The multi-till outcome of start-up.
    if (const auto avviso = AvvisoPerStato(till_)) {
        if (avviso->allarme) messaggi_.ProssimoInRosso();
        messaggi_.MostraMessaggio(Testo(std::string(kTitoloMultiVorsa)), Testo(avviso->text),
                                  Testo(avviso->hint), true, QString(), QStringLiteral("OK"), true,
                                  avviso->closeAfterMs);
    }
    if (const auto avviso = AvvisoIdentita(till_))
        messaggi_.MostraMessaggio(Testo(std::string(kTitoloMultiVorsa)), Testo(avviso->text),
                                  Testo(avviso->hint), true, QString(), QStringLiteral("OK"), true,
                                  avviso->closeAfterMs);

    setWindowTitle(Testo(till_.gTitolo));
}

void FrmVorsa::ApplicaPosizione(const WindowPlacement& placement) {
    restored_ = placement;
    const int minWidth = TwipsToPixelsX(kLarghezzaMinima);
    const int minHeight = TwipsToPixelsY(kAltezzaMinima);
    setMinimumSize(minWidth, minHeight);
    setGeometry(TwipsToPixelsX(placement.left), TwipsToPixelsY(placement.top),
                std::max(TwipsToPixelsX(placement.width), minWidth), std::max(height(), minHeight));
    switch (placement.mode) {
        case 1:
            setWindowState(Qt::WindowMinimized);
            break;
        case 2:
            setWindowState(Qt::WindowMaximized);
            break;
        default:
            setWindowState(Qt::WindowNoState);
            break;
    }
}

void FrmVorsa::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (loaded_ && !unloaded_) Ridimensiona();
}

void FrmVorsa::Ridimensiona() {
    if (isMinimized() || ridimensionando_) return;
    ridimensionando_ = true;
    const WindowLayout l = CalcolaLayoutFinestra(PixelsToTwipsX(width()), PixelsToTwipsY(height()));
    // A pixel is 15 twips: only a size short of the minimum by whole pixels is raised.
    const int w = std::max(width(), TwipsToPixelsX(l.larghezza));
    const int h = std::max(height(), TwipsToPixelsY(l.altezza));
    if (w != width() || h != height()) resize(w, h);

    finestra_ = l;
    pannello_->Applica(l);
    Colloca(*pagamento_, l.pagamento);
    for (QFrame* f : gestione_) Colloca(*f, l.gestione);
    // The panels cover the button area.
    for (QFrame* f : gestione_) f->raise();
    pagamento_->raise();
    layout_.gLarghezzaGriglia = l.pannello;
    ridimensionando_ = false;
    tmrResize_->start(kIntervalloResizeMs);
}

void FrmVorsa::DisponiBottoni() {
    GridParams p;
    p.colonne = till_.opt.gBottoniColonne;
    p.altezza = till_.opt.gBottoniAltezza;
    p.bordo = till_.opt.gBottoniBordo;
    p.interlinea = till_.opt.gBottoniInterlinea;
    p.larghezzaGriglia = layout_.gLarghezzaGriglia;
    for (std::size_t s = 0; s < 3; ++s) p.dimensioni[s] = till_.cat.sezioni[s].size;
    p.altezzaSchermo = PrimaryScreenTwips().height;
    p.altezzaMinima = kAltezzaMinima;
    const vorsa::Grid g = DisponiGriglia(p);

    griglia_->Dimensiona(p.dimensioni);
    griglia_->Applica(g, layout_.gLarghezzaGriglia,
                      std::max(g.altezzaNecessaria, PixelsToTwipsY(height())));
    griglia_->lower();
    layout_.gColonne = g.colonne;
    layout_.gLarghezzaBottone = g.larghezzaBottone;
    layout_.gAltezzaNecessaria = g.altezzaNecessaria;
}

void FrmVorsa::TimerResize() {
    DisponiBottoni();
    const bool normale =
        !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    const WindowFit a = AdattaFinestra(PixelsToTwipsY(pos().y()), layout_.gAltezzaNecessaria,
                                       PrimaryScreenTwips().height, normale);
    if (a.spostaInAlto) move(pos().x(), 0);
    if (a.impostaAltezza) resize(width(), TwipsToPixelsY(a.altezza));
    tmrResize_->stop();
}

void FrmVorsa::MostraInfo(int i) {
    const std::string testo = TestoInfo(i, till_.paths.gFilePassword);
    if (testo.empty()) return;
    finestraInfo_(
        this, QString::fromLatin1(kTitoloInfo.data(), static_cast<qsizetype>(kTitoloInfo.size())),
        TestoRighe(testo));
}

int FrmVorsa::ButtonColour(int section, int position) {
    const ArticleGrid::Cell* c = griglia_->Trova(section, position);
    return c != nullptr ? c->colour : kColoreBottone;
}

void FrmVorsa::SetButtonColour(int section, int position, int colour) {
    ArticleGrid::Cell* c = griglia_->Trova(section, position);
    if (c == nullptr) return;
    c->colour = colour;
    ImpostaSfondo(*c->button, colour);
}

bool FrmVorsa::ButtonEnabled(int section, int position) {
    const ArticleGrid::Cell* c = griglia_->Trova(section, position);
    return c != nullptr && c->button->isEnabled();
}

void FrmVorsa::SetButtonEnabled(int section, int position, bool enabled) {
    if (ArticleGrid::Cell* c = griglia_->Trova(section, position)) c->button->setEnabled(enabled);
}

void FrmVorsa::SetLabelsVisible(int section, int position, bool visible) {
    if (ArticleGrid::Cell* c = griglia_->Trova(section, position)) {
        c->code->setVisible(visible);
        c->price->setVisible(visible);
    }
}

void FrmVorsa::SetCodeLabel(int section, int position, const std::string& text) {
    if (ArticleGrid::Cell* c = griglia_->Trova(section, position)) c->code->setText(Testo(text));
}

void FrmVorsa::SetPriceLabel(int section, int position, const PriceLabel& label) {
    if (ArticleGrid::Cell* c = griglia_->Trova(section, position)) {
        c->price->setText(Testo(label.text));
        ImpostaColoreTesto(*c->price, label.colour);
    }
}

void FrmVorsa::ShowFeedback(int state) {
    pannello_->ShowFeedback(state);
}

void FrmVorsa::ShowPanel(int panel, bool visible) {
    QFrame& f = Gestione(panel);
    // The statistics panel stands higher and further left, and keeps its right edge.
    if (panel == kPannelloStatistica && visible)
        f.setGeometry(0, TwipsToPixelsY(-140), f.geometry().right() + 1, f.height());
    f.setVisible(visible);
    if (visible) f.raise();
}

void FrmVorsa::SetCaption(const std::string& text) {
    setWindowTitle(Testo(text));
}

void FrmVorsa::SetStampaCaption(const std::string& text) {
    pannello_->SetStampaCaption(text);
}

WindowPlacement FrmVorsa::Placement() const {
    QRect r = normalGeometry();
    if (!r.isValid()) r = geometry();
    // A pixel is 15 twips at 96 dpi: keep the stored twips while the window stayed in place.
    const auto keep = [](int px, int twips, int (*toPx)(int), int (*toTwips)(int)) {
        return toPx(twips) == px ? twips : toTwips(px);
    };
    WindowPlacement p;
    p.top = keep(r.y(), restored_.top, TwipsToPixelsY, PixelsToTwipsY);
    p.left = keep(r.x(), restored_.left, TwipsToPixelsX, PixelsToTwipsX);
    p.width = keep(r.width(), restored_.width, TwipsToPixelsX, PixelsToTwipsX);
    const Qt::WindowStates st = windowState();
    p.mode = st.testFlag(Qt::WindowMinimized) ? 1 : st.testFlag(Qt::WindowMaximized) ? 2 : 0;
    return p;
}

void FrmVorsa::closeEvent(QCloseEvent* event) {
    Unload();
    QWidget::closeEvent(event);
}

void FrmVorsa::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) SeguiAttivazione();
}

void FrmVorsa::SeguiAttivazione() {
    // No refresh while another window (an option dialog, the editor's boxes) is in front.
    if (loaded_ && !unloaded_ && till_.opt.gMultiVorsa && isActiveWindow()) {
        if (!tmrMultivorsa_->isActive()) tmrMultivorsa_->start();
    } else {
        tmrMultivorsa_->stop();
    }
}

void FrmVorsa::TimerMultivorsa() {
    // Off while it runs, so ticks never overlap.
    tmrMultivorsa_->stop();
    if (DopoAggiornamento(till_, aggiornamento_.Tick(this))) {
        // The main till answers again: this till joined it without a restart.
        if (const auto avviso = AvvisoPerStato(till_))
            messaggi_.MostraMessaggio(Testo(std::string(kTitoloMultiVorsa)), Testo(avviso->text),
                                      Testo(avviso->hint), true, QString(), QStringLiteral("OK"),
                                      false, avviso->closeAfterMs);
    }
    emit Aggiornato();
    SeguiAttivazione();
}

void FrmVorsa::Unload() {
    if (!loaded_ || unloaded_) return;
    unloaded_ = true;
    pannello_->StopInputTimer();
    tmrMultivorsa_->stop();
    tmrResize_->stop();
    ChiudiFinestra(till_, Placement());
}

void FrmVorsa::FocusCodeBox() {
    pannello_->FocusCodeBox();
}

}  // namespace vorsa
