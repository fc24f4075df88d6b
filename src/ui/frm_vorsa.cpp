#include "ui/frm_vorsa.h"

#include <QCloseEvent>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <algorithm>

#include "platform/qt/twips.h"
#include "platform/text.h"
#include "ui/widget_helpers.h"

namespace vorsa {

namespace {

// Design measures of the window, in twips.
constexpr int kConfTop = 6960;
constexpr int kConfLeft = 11340;
constexpr int kConfWidth = 1995;
constexpr int kConfHeight = 435;
constexpr int kLabelColumn = 800;
constexpr int kProductArea = 7880;
constexpr int kRightArea = 8000;

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

void Place(QWidget& w, int left, int top, int width, int height) {
    w.setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
                  TwipsToPixelsY(height));
}

QLabel* MakeLabel(QWidget* parent, const QString& name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QPushButton* MakeButton(QWidget* parent, const QString& name) {
    auto* b = new QPushButton(parent);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QTimer* MakeTimer(QObject* parent, const char* name) {
    auto* t = new QTimer(parent);
    t->setObjectName(QLatin1String(name));
    return t;
}

}  // namespace

FrmVorsa::FrmVorsa(Till& till, Messaggi* messaggi, QWidget* parent)
    : QWidget(parent),
      till_(till),
      ownMessaggi_(messaggi == nullptr ? std::make_unique<MessaggiBox>() : nullptr),
      messaggi_(messaggi != nullptr ? *messaggi : *ownMessaggi_) {
    setObjectName(QStringLiteral("frm_Vorsa"));
    CreaControlli();
}

FrmVorsa::~FrmVorsa() = default;

void FrmVorsa::CreaControlli() {
    tmrInput_ = MakeTimer(this, "tmrInput");
    tmrMultivorsa_ = MakeTimer(this, "tmrMultivorsa");
    tmrResize_ = MakeTimer(this, "tmrResize");

    for (int i = 0; i < 5; ++i) lblConfCode_[i] = MakeLabel(this, Indexed("lbl_conf_code", i));

    frmGestione_ = new QFrame(this);
    frmGestione_->setObjectName(QStringLiteral("frm_gestione"));
    Place(*frmGestione_, 0, 0, kProductArea, kAltezzaMinima);

    lstSpesa_ = new QListWidget(this);
    lstSpesa_->setObjectName(QStringLiteral("lst_spesa"));
    Place(*lstSpesa_, kRightArea, 120, 3200, 5000);

    lblTotale_ = MakeLabel(this, QStringLiteral("lbl_totale"));
    Place(*lblTotale_, kConfLeft, 120, kConfWidth, 600);
    lblResto_ = MakeLabel(this, QStringLiteral("lbl_resto"));
    Place(*lblResto_, kConfLeft, 840, kConfWidth, 600);
    lblUltimoScontrino_ = MakeLabel(this, Indexed("lblUltimoScontrino", 0));
    Place(*lblUltimoScontrino_, kConfLeft, 1560, kConfWidth, 600);

    boxCodice_ = new QLineEdit(this);
    boxCodice_->setObjectName(QStringLiteral("box_Codice"));
    Place(*boxCodice_, kConfLeft, 6420, kConfWidth, 435);

    for (int n = 1; n <= kNumeroAzioni; ++n) {
        lblAzioniCode_[n] = MakeLabel(this, Indexed("lbl_azioni_code", n));
        lblAzioniCode_[n]->setAlignment(Qt::AlignCenter);
        Place(*lblAzioniCode_[n], 13440, 120 + (n - 1) * 560, 380, 495);
        cmdAzioni_[n] = MakeButton(this, Indexed("cmd_azioni", n));
        Place(*cmdAzioni_[n], 13860, 120 + (n - 1) * 560, 1440, 495);
    }

    for (int n = 0; n < 10; ++n) {
        const int left = kRightArea + (n % 2) * 1640;
        const int top = 5280 + (n / 2) * 560;
        cmdSoldi_[n] = MakeButton(this, Indexed("cmdSoldi", n));
        Place(*cmdSoldi_[n], left, top, 1200, 495);
        lblSoldi_[n] = MakeLabel(this, Indexed("lblSoldi", n));
        Place(*lblSoldi_[n], left + 1220, top, 380, 495);
    }
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
    for (int i = 0; i < 5; ++i) {
        QLabel& l = *lblConfCode_[i];
        l.setText(QLatin1String(kConf[i].caption));
        l.setAlignment(Qt::AlignCenter);
        ImpostaSfondo(l, kConf[i].colour);
        l.hide();
        Place(l, kConfLeft, kConfTop, kConfWidth, kConfHeight);
    }
    lblConfCode_[2]->show();
    frmGestione_->hide();

    // 3. Empty bill.
    const QString zero = QStringLiteral("0,00");
    lblTotale_->setText(zero);
    lblResto_->setText(zero);
    lblUltimoScontrino_->setText(zero);

    // 4. Function keys.
    for (int n = 1; n <= kNumeroAzioni; ++n) {
        const Azione& a = till_.gAzioni[n];
        cmdAzioni_[n]->setText(SenzaMnemonico(Testo(a.caption1)));
        cmdAzioni_[n]->setEnabled(a.enabled);
        lblAzioniCode_[n]->setText(QStringLiteral("F%1").arg(n));
        ImpostaSfondo(*lblAzioniCode_[n], a.colour);
        // "F6" stays readable on the dark backgrounds.
        if (a.colour >= 0 && Colore(a.colour).lightness() < 128)
            ImpostaColoreTesto(*lblAzioniCode_[n], 0xFFFFFF);
    }
    cmdAzioni_[4]->setEnabled(false);

    // 5. The bill list.
    TogliBordoLista(*lstSpesa_);
    QFont listFont = lstSpesa_->font();
    listFont.setFamily(QStringLiteral("Courier New"));
    lstSpesa_->setFont(listFont);

    // 6-8, 10. Timer, readme and window position as the core decides them.
    const LoadResult load = CaricaFinestra(till_, PrimaryScreenTwips());
    tmrInput_->setInterval(load.timerCodiciMs);
    ApplicaPosizione(load.placement);

    // 9. Coins.
    for (int n = 0; n < 10; ++n) {
        cmdSoldi_[n]->setText(Testo(FormatCurrencyShort(till_.opt.gMonete[n]) + "  " +
                                    std::string(kEuro)));
        lblSoldi_[n]->setText(QStringLiteral("S%1").arg(n));
    }

    // 11. Products.
    CaricaProdotti();
    till_.cat.ColoraTutti(till_.opt, *this);

    // 12. Multi-till outcome.
    AvvisoMultiVorsa avviso;
    if (AvvisoPerStato(static_cast<int>(till_.statoMultiVorsa), till_.paths.programFolder,
                       avviso))
        messaggi_.MostraMessaggio(kTitoloMultiVorsa, avviso.text, avviso.hint,
                                  avviso.closeAfterMs);

    setWindowTitle(Testo(till_.gTitolo));
}

void FrmVorsa::ApplicaPosizione(const WindowPlacement& placement) {
    restored_ = placement;
    const int minWidth = TwipsToPixelsX(kLarghezzaMinima);
    const int minHeight = TwipsToPixelsY(kAltezzaMinima);
    setMinimumSize(minWidth, minHeight);
    setGeometry(TwipsToPixelsX(placement.left), TwipsToPixelsY(placement.top),
                std::max(TwipsToPixelsX(placement.width), minWidth),
                std::max(height(), minHeight));
    switch (placement.mode) {
        case 1: setWindowState(Qt::WindowMinimized); break;
        case 2: setWindowState(Qt::WindowMaximized); break;
        default: setWindowState(Qt::WindowNoState); break;
    }
}

void FrmVorsa::CaricaProdotti() {
    static constexpr std::array<std::array<const char*, 3>, 3> kNames{{
        {"cmd_mangiare", "lbl_mangiare_code", "lbl_mangiare_prezzo"},
        {"cmd_bere", "lbl_bere_code", "lbl_bere_prezzo"},
        {"cmd_altro", "lbl_altro_code", "lbl_altro_prezzo"},
    }};
    const Options& o = till_.opt;
    const int columns = std::max(1, o.gBottoniColonne);
    const int border = o.gBottoniBordo;
    const int rowHeight = o.gBottoniAltezza;
    const int cellWidth = (kProductArea - border * (columns + 1)) / columns;
    const int buttonWidth = std::max(cellWidth - kLabelColumn, 1);
    int top = border;

    for (int s = 0; s < 3; ++s) {
        const int size = till_.cat.sezioni[s].size;
        prodotti_[s].assign(static_cast<std::size_t>(std::max(size, 0)), Prodotto{});
        const int first = till_.cat.PrimoIndice(s);
        for (int pos = 1; pos <= size; ++pos) {
            const int index = first + pos - 1;
            const Article& art = till_.cat.gArticoli[static_cast<std::size_t>(index)];
            Prodotto& cell = prodotti_[s][static_cast<std::size_t>(pos - 1)];
            const int left = border + ((pos - 1) % columns) * (cellWidth + border);
            const int rowTop = top + ((pos - 1) / columns) * (rowHeight + o.gBottoniInterlinea);

            cell.code = MakeLabel(this, Indexed(kNames[s][1], pos));
            cell.code->setText(Testo(till_.cat.EtichettaCodice(index, till_.cat.Usati(index, o), o)));
            Place(*cell.code, left, rowTop, kLabelColumn, rowHeight / 2);

            const Etichetta prezzo = till_.cat.EtichettaPrezzo(index);
            cell.price = MakeLabel(this, Indexed(kNames[s][2], pos));
            cell.price->setText(Testo(prezzo.text));
            ImpostaColoreTesto(*cell.price, prezzo.colour);
            Place(*cell.price, left, rowTop + rowHeight / 2, kLabelColumn, rowHeight - rowHeight / 2);

            cell.button = MakeButton(this, Indexed(kNames[s][0], pos));
            cell.button->setText(SenzaMnemonico(Testo(art.name)));
            Place(*cell.button, left + kLabelColumn, rowTop, buttonWidth, rowHeight);

            const bool active = art.active;
            cell.button->setEnabled(active);
            cell.code->setVisible(active);
            cell.price->setVisible(active);
        }
        const int rows = (size + columns - 1) / columns;
        top += rows * (rowHeight + o.gBottoniInterlinea) + border;
    }
}

FrmVorsa::Prodotto* FrmVorsa::Cella(int section, int position) {
    if (section < 0 || section > 2) return nullptr;
    auto& cells = prodotti_[section];
    if (position < 1 || position > static_cast<int>(cells.size())) return nullptr;
    return &cells[static_cast<std::size_t>(position - 1)];
}

int FrmVorsa::ButtonColour(int section, int position) {
    const Prodotto* c = Cella(section, position);
    return c != nullptr ? c->colour : kColoreBottone;
}

void FrmVorsa::SetButtonColour(int section, int position, int colour) {
    Prodotto* c = Cella(section, position);
    if (c == nullptr) return;
    c->colour = colour;
    ImpostaSfondo(*c->button, colour);
}

bool FrmVorsa::ButtonEnabled(int section, int position) {
    const Prodotto* c = Cella(section, position);
    return c != nullptr && c->button->isEnabled();
}

void FrmVorsa::SetButtonEnabled(int section, int position, bool enabled) {
    if (Prodotto* c = Cella(section, position)) c->button->setEnabled(enabled);
}

void FrmVorsa::SetLabelsVisible(int section, int position, bool visible) {
    if (Prodotto* c = Cella(section, position)) {
        c->code->setVisible(visible);
        c->price->setVisible(visible);
    }
}

void FrmVorsa::SetCodeLabel(int section, int position, const std::string& text) {
    if (Prodotto* c = Cella(section, position)) c->code->setText(Testo(text));
}

void FrmVorsa::ShowFeedback(int state) {
    if (state >= 0 && state < static_cast<int>(lblConfCode_.size())) lblConfCode_[state]->show();
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
    ChiudiFinestra(till_, Placement());
}

}  // namespace vorsa
