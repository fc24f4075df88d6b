#include "ui/frm_vorsa.h"

#include <QCheckBox>
#include <QCloseEvent>
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

#include "platform/qt/twips.h"
#include "platform/text.h"
#include "ui/etichetta_info.h"
#include "ui/frm_messaggi.h"
#include "ui/griglia_prodotti.h"
#include "layout/info_testi.h"
#include "ui/pannello_destro.h"
#include "ui/pannello_pagamento.h"
#include "ui/widget_helpers.h"

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
constexpr int kInfoGestioneLeft = 120;
constexpr int kInfoGestioneTop = 120;
constexpr int kInfoGestionePasso = 360;

}  // namespace

FrmVorsa::FrmVorsa(Till& till, Messaggi* messaggi, QWidget* parent)
    : QWidget(parent),
      till_(till),
      ownMessaggi_(messaggi == nullptr ? std::make_unique<FinestraMessaggi>(this) : nullptr),
      messaggi_(messaggi != nullptr ? *messaggi : *ownMessaggi_),
      finestraInfo_(InfoBox) {
    setObjectName(QStringLiteral("frm_Vorsa"));
    CreaControlli();
}

FrmVorsa::~FrmVorsa() = default;

void FrmVorsa::CreaControlli() {
    tmrInput_ = MakeTimer(this, "tmrInput");
    tmrMultivorsa_ = MakeTimer(this, "tmrMultivorsa");
    tmrResize_ = MakeTimer(this, "tmrResize");
    tmrResize_->setInterval(kIntervalloResizeMs);
    connect(tmrResize_, &QTimer::timeout, this, &FrmVorsa::TimerResize);

    griglia_ = new GrigliaProdotti(this);
    pannello_ = std::make_unique<PannelloDestro>(*this);

    for (int i = 0; i < 2; ++i) {
        auto* f = new QFrame(this);
        f->setObjectName(Indicizzato("frm_gestione", i));
        f->setFrameShape(QFrame::Box);
        f->setAutoFillBackground(true);
        f->hide();
        gestione_[static_cast<std::size_t>(i)] = f;
    }
    // The settings panel explains its fields; the right panel has lbl_info(2..4).
    int row = 0;
    for (int i : kIndiciInfo) {
        if (i >= 2 && i <= 4) continue;
        auto* l = new EtichettaInfo(i, gestione_[1]);
        Colloca(*l, kInfoGestioneLeft, kInfoGestioneTop + row++ * kInfoGestionePasso, 210, 315);
        connect(l, &EtichettaInfo::Premuta, this, &FrmVorsa::MostraInfo);
    }
    for (EtichettaInfo* l : pannello_->info)
        connect(l, &EtichettaInfo::Premuta, this, &FrmVorsa::MostraInfo);

    pagamento_ = new PannelloPagamento(this);
    pagamento_->hide();
}

void FrmVorsa::showEvent(QShowEvent* event) {
    Load();
    QWidget::showEvent(event);
}

void FrmVorsa::Load() {
    if (loaded_) return;
    loaded_ = true;

    // 1. Timers stay stopped until a sale needs them.
    tmrInput_->stop();
    tmrMultivorsa_->stop();
    tmrResize_->stop();
    tmrMultivorsa_->setInterval(2000);

    // 2. Feedback labels: all at one place, only "Codice:" visible.
    struct Conf {
        const char* caption;
        int colour;
    };
    static constexpr std::array<Conf, 5> kConf{{{"ERRORE", 0xFF0000},
                                                {"O K", 0x00FF00},
                                                {"Codice:", -1},
                                                {"FINITO", kGiallo},
                                                {"OK", kAzzurro}}};
    for (std::size_t i = 0; i < kConf.size(); ++i) {
        QLabel& l = *pannello_->lblConfCode[i];
        l.setText(QLatin1String(kConf[i].caption));
        l.setAlignment(Qt::AlignCenter);
        ImpostaSfondo(l, kConf[i].colour);
        l.hide();
    }
    pannello_->lblConfCode[2]->show();
    for (QFrame* f : gestione_) f->hide();
    pagamento_->hide();

    // 3. Empty bill; the amount box waits for the payment.
    const QString zero = QStringLiteral("0,00");
    pannello_->lblTotale->setText(zero);
    pannello_->lblResto->setText(zero);
    pannello_->lblUltimoScontrino->setText(zero);
    pannello_->boxPagato->setText(zero);
    pannello_->boxPagato->setEnabled(false);

    // 4. Function keys.
    for (int n = 1; n <= kNumeroAzioni; ++n) {
        const Azione& a = till_.gAzioni[static_cast<std::size_t>(n)];
        QPushButton& b = *CmdAzione(n);
        QLabel& code = *LblAzioneCode(n);
        b.setText(SenzaMnemonico(Testo(a.caption1)));
        b.setEnabled(a.enabled);
        code.setText(QStringLiteral("F%1").arg(n));
        ImpostaSfondo(code, a.colour);
        // "F6" stays readable on the dark backgrounds.
        if (a.colour >= 0 && Colore(a.colour).lightness() < 128) ImpostaColoreTesto(code, 0xFFFFFF);
    }
    CmdAzione(4)->setEnabled(false);

    // 5. The bill list.
    TogliBordoLista(*pannello_->lstSpesa);
    QFont listFont = pannello_->lstSpesa->font();
    listFont.setFamily(QStringLiteral("Courier New"));
    pannello_->lstSpesa->setFont(listFont);

    // 6-8, 10. Timer, readme and window position as the core decides them.
    const LoadResult load = CaricaFinestra(till_, PrimaryScreenTwips());
    tmrInput_->setInterval(load.timerCodiciMs);
    ApplicaPosizione(load.placement);
    Ridimensiona();  // a hidden window gets its resize event only when shown

    // 9. Coins.
    for (int n = 0; n < 10; ++n) {
        CmdSoldi(n)->setText(
            Testo(FormatCurrencyShort(till_.opt.gMonete[static_cast<std::size_t>(n)]) + "  " +
                  std::string(kEuro)));
        LblSoldi(n)->setText(QStringLiteral("S%1").arg(n));
    }

    // 11. Products, laid out at once.
    griglia_->Carica(till_.cat, till_.opt);
    till_.cat.ColoraTutti(till_.opt, *this);
    TimerResize();

    // 12. Multi-till outcome.
    AvvisoMultiVorsa avviso;
    if (AvvisoPerStato(static_cast<int>(till_.statoMultiVorsa), till_.paths.programFolder, avviso))
        messaggi_.MostraMessaggio(kTitoloMultiVorsa, avviso.text, avviso.hint, true, QString(),
                                  QStringLiteral("OK"), true, avviso.closeAfterMs);

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
    const LayoutFinestra l =
        CalcolaLayoutFinestra(PixelsToTwipsX(width()), PixelsToTwipsY(height()));
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
    ParametriGriglia p;
    p.colonne = till_.opt.gBottoniColonne;
    p.altezza = till_.opt.gBottoniAltezza;
    p.bordo = till_.opt.gBottoniBordo;
    p.interlinea = till_.opt.gBottoniInterlinea;
    p.larghezzaGriglia = layout_.gLarghezzaGriglia;
    for (std::size_t s = 0; s < 3; ++s) p.dimensioni[s] = till_.cat.sezioni[s].size;
    p.altezzaSchermo = PrimaryScreenTwips().height;
    p.altezzaMinima = kAltezzaMinima;
    const vorsa::Griglia g = DisponiGriglia(p);

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
    const AdattamentoFinestra a =
        AdattaFinestra(PixelsToTwipsY(pos().y()), layout_.gAltezzaNecessaria,
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

QLineEdit* FrmVorsa::BoxCodice() const {
    return pannello_->boxCodice;
}
QLineEdit* FrmVorsa::BoxPagato() const {
    return pannello_->boxPagato;
}
QListWidget* FrmVorsa::ListaSpesa() const {
    return pannello_->lstSpesa;
}
QLabel* FrmVorsa::LblTotale() const {
    return pannello_->lblTotale;
}
QLabel* FrmVorsa::LblResto() const {
    return pannello_->lblResto;
}
QLabel* FrmVorsa::LblUltimoScontrino() const {
    return pannello_->lblUltimoScontrino;
}
QLabel* FrmVorsa::ConfCode(int i) const {
    return pannello_->lblConfCode.at(static_cast<std::size_t>(i));
}
QPushButton* FrmVorsa::CmdAzione(int n) const {
    return pannello_->cmdAzioni.at(static_cast<std::size_t>(n));
}
QLabel* FrmVorsa::LblAzioneCode(int n) const {
    return pannello_->lblAzioniCode.at(static_cast<std::size_t>(n));
}
void FrmVorsa::ImpostaAltezzaAzione(int n, int twips) {
    pannello_->ImpostaAltezzaAzione(n, twips);
}
QPushButton* FrmVorsa::CmdSoldi(int n) const {
    return pagamento_->Moneta(n);
}
QLabel* FrmVorsa::LblSoldi(int n) const {
    return pagamento_->CodiceMoneta(n);
}
QPushButton* FrmVorsa::CmdCalc(int n) const {
    return pagamento_->Tasto(n);
}
QLineEdit* FrmVorsa::TxtTavolo() const {
    return pannello_->txtTavolo;
}
QLineEdit* FrmVorsa::TxtCommento() const {
    return pannello_->txtCommento;
}
QCheckBox* FrmVorsa::ChkStampa() const {
    return pannello_->chkStampa;
}
QFrame* FrmVorsa::Gestione(int i) const {
    if (i == 2) return pagamento_;
    return gestione_.at(static_cast<std::size_t>(i));
}

QPushButton* FrmVorsa::Bottone(int section, int position) {
    GrigliaProdotti::Cella* c = griglia_->Trova(section, position);
    return c != nullptr ? c->button : nullptr;
}

int FrmVorsa::ButtonColour(int section, int position) {
    const GrigliaProdotti::Cella* c = griglia_->Trova(section, position);
    return c != nullptr ? c->colour : kColoreBottone;
}

void FrmVorsa::SetButtonColour(int section, int position, int colour) {
    GrigliaProdotti::Cella* c = griglia_->Trova(section, position);
    if (c == nullptr) return;
    c->colour = colour;
    ImpostaSfondo(*c->button, colour);
}

bool FrmVorsa::ButtonEnabled(int section, int position) {
    const GrigliaProdotti::Cella* c = griglia_->Trova(section, position);
    return c != nullptr && c->button->isEnabled();
}

void FrmVorsa::SetButtonEnabled(int section, int position, bool enabled) {
    if (GrigliaProdotti::Cella* c = griglia_->Trova(section, position))
        c->button->setEnabled(enabled);
}

void FrmVorsa::SetLabelsVisible(int section, int position, bool visible) {
    if (GrigliaProdotti::Cella* c = griglia_->Trova(section, position)) {
        c->code->setVisible(visible);
        c->price->setVisible(visible);
    }
}

void FrmVorsa::SetCodeLabel(int section, int position, const std::string& text) {
    if (GrigliaProdotti::Cella* c = griglia_->Trova(section, position))
        c->code->setText(Testo(text));
}

void FrmVorsa::ShowFeedback(int state) {
    if (state >= 0 && state < static_cast<int>(pannello_->lblConfCode.size()))
        pannello_->lblConfCode[static_cast<std::size_t>(state)]->show();
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

void FrmVorsa::Unload() {
    if (!loaded_ || unloaded_) return;
    unloaded_ = true;
    tmrInput_->stop();
    tmrResize_->stop();
    ChiudiFinestra(till_, Placement());
}

}  // namespace vorsa
