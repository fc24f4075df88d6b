#include "ui/right_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "layout/colours.h"
#include "platform/qt/twips.h"
#include "platform/text.h"
#include "sale/sale.h"
#include "ui/payment_panel.h"
#include "ui/widgets/fitted_labels.h"
#include "ui/widgets/info_label.h"
#include "ui/widgets/widget_helpers.h"

namespace vorsa {

namespace {

QLabel* NuovaEtichetta(QWidget& parent, const QString& name, const QString& text = QString()) {
    auto* l = new QLabel(&parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    return l;
}

QLabel* Didascalia(QWidget& parent, const char* name, const char* text, QWidget* buddy) {
    QLabel* l = NuovaEtichetta(parent, QLatin1String(name), QLatin1String(text));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setBuddy(buddy);
    return l;
}

QLineEdit* Casella(QWidget& parent, const char* name) {
    auto* e = new QLineEdit(&parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

constexpr int kGrigio = 0xC0C0C0;  // the disabled look of an entry box

}  // namespace

RightPanel::RightPanel(QWidget& window, PaymentPanel& pagamento)
    : QObject(&window), pagamento_(pagamento) {
    lstSpesa = new QListWidget(&window);
    lstSpesa->setObjectName(QStringLiteral("lst_spesa"));
    // One font, one line per item: rewriting a line must not re-measure the whole bill.
    lstSpesa->setUniformItemSizes(true);
    txtTavolo = Casella(window, "txtTavolo");
    txtCommento = new QPlainTextEdit(&window);
    txtCommento->setObjectName(QStringLiteral("txtCommento"));
    txtCommento->setTabChangesFocus(true);
    txtCommento->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    txtCommento->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtCommento->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtCommento->document()->setDocumentMargin(1);  // one line fits the closed box
    lblTavolo_ = Didascalia(window, "lblTavolo", "Tavolo:", txtTavolo);
    lblNota_ = Didascalia(window, "lblNota", "Nota:", txtCommento);

    for (int n = 1; n <= kNumeroAzioni; ++n) {
        const auto i = static_cast<std::size_t>(n);
        lblAzioniCode_[i] = NuovaEtichetta(window, Indicizzato("lbl_azioni_code", n));
        lblAzioniCode_[i]->setAlignment(Qt::AlignCenter);
        cmdAzioni[i] = new QPushButton(&window);
        cmdAzioni[i]->setObjectName(Indicizzato("cmd_azioni", n));
        cmdAzioni[i]->setFocusPolicy(Qt::NoFocus);
    }

    MakeTotals(window);
    boxCodice = Casella(window, "box_Codice");

    for (int i = 0; i < 5; ++i)
        lblConfCode_[static_cast<std::size_t>(i)] =
            NuovaEtichetta(window, Indicizzato("lbl_conf_code", i));

    chkStampa = new QCheckBox(QStringLiteral("Stampa"), &window);
    chkStampa->setObjectName(QStringLiteral("chk_Stampa"));
    chkStampa->setFocusPolicy(Qt::NoFocus);

    for (int i = 2; i <= 4; ++i) {
        auto* l = new InfoLabel(i, &window);
        info[static_cast<std::size_t>(i - 2)] = l;
        connect(l, &InfoLabel::Premuta, this, &RightPanel::InfoPremuta);
    }

    // Typed amounts get their font as they grow, like the totals.
    connect(boxPagato, &QLineEdit::textChanged, this,
            [this](const QString& t) { pagato_->Testo(t); });

    totale_ = std::make_unique<FittedAmount>(*lblTotale_);
    resto_ = std::make_unique<FittedAmount>(*lblResto_);
    pagato_ = std::make_unique<FittedAmount>(*boxPagato);

    tmrInput = new QTimer(&window);
    tmrInput->setObjectName(QStringLiteral("tmrInput"));
}

void RightPanel::MakeTotals(QWidget& window) {
    lblUltimoScontrino_ = NuovaEtichetta(window, Indicizzato("lblUltimoScontrino", 0));
    lblUltimoScontrino_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblScontrinoPrecedente_ = NuovaEtichetta(window, QStringLiteral("lblScontrinoPrecedente"),
                                             QStringLiteral("Scontrino precedente:"));
    lblScontrinoPrecedente_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblScontrinoPrecedente_->setBuddy(lblUltimoScontrino_);
    lblAttesa_ = NuovaEtichetta(window, QStringLiteral("lbl_Attesa"));
    lblAttesa_->setAlignment(Qt::AlignCenter);
    ImpostaColoreTesto(*lblAttesa_, 0xC00000);  // red: sales not yet in the evening's totals
    lblAttesa_->hide();
    lblTotale_ = NuovaEtichetta(window, QStringLiteral("lbl_totale"));
    lblTotale_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    boxPagato = Casella(window, "box_Pagato");
    boxPagato->setAlignment(Qt::AlignRight);
    lblPagato_ = Didascalia(window, "lblPagato", "Pagato:", boxPagato);
    lblResto_ = NuovaEtichetta(window, QStringLiteral("lbl_resto"));
    lblResto_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblRestoTitolo_ = Didascalia(window, "lblRestoTitolo", "Resto:", lblResto_);
}

RightPanel::~RightPanel() = default;

void RightPanel::Carica(const Azioni& azioni, int timerCodiciMs) {
    tmrInput->stop();
    tmrInput->setInterval(timerCodiciMs);

    // Feedback labels: all at one place, only "Codice:" visible.
    struct Config {
        const char* caption;
        int colour;
    };
    static constexpr std::array<Config, 5> kConf{{{"ERRORE", 0xFF0000},
                                                  {"O K", 0x00FF00},
                                                  {"Codice:", -1},
                                                  {"FINITO", kGiallo},
                                                  {"OK", kAzzurro}}};
    for (std::size_t i = 0; i < kConf.size(); ++i) {
        QLabel& l = *lblConfCode_[i];
        l.setText(QLatin1String(kConf[i].caption));
        l.setAlignment(Qt::AlignCenter);
        ImpostaSfondo(l, kConf[i].colour);
        l.hide();
    }
    lblConfCode_[kRiscontroCodice]->show();

    // Empty bill; the amount box waits for the payment.
    const QString zero = QStringLiteral("0,00");
    lblTotale_->setText(zero);
    lblResto_->setText(zero);
    lblUltimoScontrino_->setText(zero);
    boxPagato->setText(zero);
    boxPagato->setEnabled(false);

    for (int n = 1; n <= kNumeroAzioni; ++n) {
        const Azione& a = azioni[static_cast<std::size_t>(n)];
        QPushButton& b = *cmdAzioni[static_cast<std::size_t>(n)];
        QLabel& code = *lblAzioniCode_[static_cast<std::size_t>(n)];
        b.setText(SenzaMnemonico(Testo(a.caption1)));
        code.setText(QStringLiteral("F%1").arg(n));
        sfondoAzioni_[static_cast<std::size_t>(n)] = a.colour;
        ImpostaSfondo(code, a.colour);
        SetActionEnabled(n, a.enabled && n != kAzioneNuovoConto);
        SetActionKeyColour(
            n, a.enabled && n != kAzioneNuovoConto ? kColoreTastoAttivo : kColoreTastoSpento);
    }
    cmdAzioni[kAzioneNuovoConto]->setEnabled(false);

    TogliBordoLista(*lstSpesa);
    QFont listFont = lstSpesa->font();
    listFont.setFamily(QStringLiteral("Courier New"));
    lstSpesa->setFont(listFont);
}

void RightPanel::Applica(const WindowLayout& l) {
    Colloca(*lstSpesa, l.lstSpesa);
    Colloca(*lblTavolo_, l.lblTavolo);
    Colloca(*txtTavolo, l.txtTavolo);
    Colloca(*lblNota_, l.lblCommento);
    Colloca(*txtCommento, l.txtCommento);
    for (int n = 1; n <= kNumeroAzioni; ++n) {
        const auto i = static_cast<std::size_t>(n);
        Colloca(*lblAzioniCode_[i], l.lblAzioniCode[i]);
        // Payment mode changes the keys' height; a new layout only moves them.
        TwipsRect r = l.cmdAzioni[i];
        if (altezzaAzioni_[i] > 0) r.height = altezzaAzioni_[i];
        Colloca(*cmdAzioni[i], r);
    }
    Colloca(*lblScontrinoPrecedente_, l.lblUltimoCaption);
    Colloca(*lblUltimoScontrino_, l.lblUltimoScontrino);
    Colloca(*lblAttesa_, l.lblAttesa);
    Colloca(*lblTotale_, l.lblTotale);
    Colloca(*lblPagato_, l.lblPagatoCaption);
    Colloca(*boxPagato, l.boxPagato);
    Colloca(*lblRestoTitolo_, l.lblRestoCaption);
    Colloca(*lblResto_, l.lblResto);
    Colloca(*boxCodice, l.boxCodice);
    for (QLabel* c : lblConfCode_) Colloca(*c, l.confCode);
    Colloca(*chkStampa, l.chkStampa);
    for (InfoLabel* i : info) Colloca(*i, l.info[static_cast<std::size_t>(i->Indice())]);

    // Amounts are measured in the font each box really draws with.
    totale_->Layout(l.fontPt, lblTotale_->text());
    resto_->Layout(l.fontPt, lblResto_->text());
    pagato_->Layout(l.fontPt, boxPagato->text());
    AdattaCarattere(*boxCodice, QStringLiteral("F7 999"), l.fontPt);
    AdattaCarattere(*lblAttesa_, QStringLiteral("999 vendite in attesa di invio"), l.fontPt);
    AdattaCarattere(*lblUltimoScontrino_, QStringLiteral("99.999,99"),
                    QApplication::font(lblUltimoScontrino_).pointSize(), false);
    RaiseEnlargedKeys();
}

void RightPanel::SetActionHeight(int n, int twips) {
    if (n < 1 || n > kNumeroAzioni) return;
    const auto i = static_cast<std::size_t>(n);
    altezzaAzioni_[i] = twips;
    QPushButton& b = *cmdAzioni[i];
    b.resize(b.width(), TwipsToPixelsY(twips));
    RaiseEnlargedKeys();
}

void RightPanel::RaiseEnlargedKeys() {
    // An enlarged key (F1 and F4 while paying) reaches over its neighbours: it goes on top.
    for (std::size_t i = 1; i < cmdAzioni.size(); ++i)
        if (altezzaAzioni_[i] > kAltezzaAzione) cmdAzioni[i]->raise();
}

void RightPanel::ShowFeedback(int state) {
    // The labels share one place: only one of them may show, or they overprint.
    if (state < 0 || state >= static_cast<int>(lblConfCode_.size())) return;
    for (std::size_t i = 0; i < lblConfCode_.size(); ++i)
        lblConfCode_[i]->setVisible(static_cast<int>(i) == state);
}

void RightPanel::HideFeedback() {
    ShowFeedback(kRiscontroCodice);
}

void RightPanel::SetFeedbackCaption(int state, const std::string& caption) {
    lblConfCode_.at(static_cast<std::size_t>(state))->setText(Testo(caption));
}

void RightPanel::SetCodice(const std::string& text) {
    boxCodice->setText(Testo(text));
}

void RightPanel::StartInputTimer() {
    tmrInput->start();
}

int RightPanel::ListCount() {
    return lstSpesa->count();
}
int RightPanel::ListSelected() {
    return lstSpesa->currentRow();
}
void RightPanel::SelectLine(int index) {
    lstSpesa->setCurrentRow(index);
}

int RightPanel::ListCode(int index) {
    const QListWidgetItem* item = lstSpesa->item(index);
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

void RightPanel::SetListLine(int index, const std::string& text, int code) {
    QListWidgetItem* item = lstSpesa->item(index);
    if (!item) item = new QListWidgetItem(lstSpesa);
    item->setText(Testo(text));
    item->setData(Qt::UserRole, code);
    lstSpesa->setCurrentRow(lstSpesa->row(item));
}

void RightPanel::ClearList() {
    lstSpesa->clear();
}
void RightPanel::SetTotale(const std::string& t) {
    lblTotale_->setText(Testo(t));
    totale_->Testo(lblTotale_->text());
}
void RightPanel::SetUltimoScontrino(const std::string& t) {
    lblUltimoScontrino_->setText(Testo(t));
}

void RightPanel::SetInAttesa(const std::string& text) {
    lblAttesa_->setText(Testo(text));
    lblAttesa_->setAccessibleName(lblAttesa_->text());
    lblAttesa_->setVisible(!text.empty());
}

void RightPanel::ClearTableAndComment() {
    txtTavolo->clear();
    txtCommento->clear();
}

void RightPanel::ModoPagamento(bool on) {
    pagamento_.setVisible(on);
    if (on) {
        boxPagato->clear();
        boxPagato->setEnabled(true);
        ImpostaSfondo(*boxPagato, kColoreBottone);
        boxCodice->setEnabled(false);
        ImpostaSfondo(*boxCodice, kGrigio);
        boxPagato->setFocus();
    } else {
        boxCodice->setEnabled(true);
        ImpostaSfondo(*boxCodice, kColoreBottone);
        boxPagato->setText(QStringLiteral("0,00"));
        boxPagato->setEnabled(false);
        ImpostaSfondo(*boxPagato, kGrigio);
        boxCodice->setFocus();
    }
}

std::string RightPanel::Pagato() {
    return Cp1252(boxPagato->text());
}

void RightPanel::SetPagato(const std::string& text) {
    boxPagato->setText(Testo(text));
    boxPagato->setCursorPosition(static_cast<int>(boxPagato->text().size()));
}

void RightPanel::SetResto(const std::string& t) {
    lblResto_->setText(Testo(t));
    resto_->Testo(lblResto_->text());
}

void RightPanel::SetActionCaption(int n, const std::string& caption) {
    cmdAzioni.at(static_cast<std::size_t>(n))->setText(SenzaMnemonico(Testo(caption)));
}

void RightPanel::SetActionColour(int n, int colour) {
    QPushButton& b = *cmdAzioni.at(static_cast<std::size_t>(n));
    ImpostaSfondo(b, colour);
    // A key switched on takes its own colour; F6 and F7 are black, where the caption would vanish.
    if (colour >= 0) ImpostaColoreTesto(b, ColoreLeggibile(0x000000, colour, 7.0));
}

void RightPanel::SetActionEnabled(int n, bool enabled) {
    cmdAzioni.at(static_cast<std::size_t>(n))->setEnabled(enabled);
}

void RightPanel::SetActionKeyColour(int n, int colour) {
    // The key colours are dark red and grey; on a black or red key label either would vanish.
    // A key in use must read at a glance; a disabled one may stay dimmer, as disabled text does.
    const auto i = static_cast<std::size_t>(n);
    const double minimo = colour == kColoreTastoSpento ? 3.0 : 7.0;
    ImpostaColoreTesto(*lblAzioniCode_.at(i), ColoreLeggibile(colour, sfondoAzioni_.at(i), minimo));
}

void RightPanel::SetStampaCaption(const std::string& text) {
    chkStampa->setText(Testo(text));
}

void RightPanel::StopInputTimer() {
    tmrInput->stop();
}

void RightPanel::FocusCodeBox() {
    boxCodice->setFocus();
}

QWidget& RightPanel::PrintSwitch() const {
    return *chkStampa;
}

}  // namespace vorsa
