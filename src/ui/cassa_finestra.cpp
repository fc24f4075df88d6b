#include "ui/cassa_finestra.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/qt/twips.h"
#include "platform/text.h"
#include "ui/frm_vorsa.h"
#include "ui/griglia_prodotti.h"
#include "ui/pannello_pagamento.h"
#include "ui/widget_helpers.h"

namespace vorsa {
namespace {

constexpr int kAltezzaNotaAperta = 1125;
constexpr int kAltezzaNota = 375;
constexpr int kLunghezzaNota = 120;
constexpr int kGrigio = 0xC0C0C0;  // the disabled look of an entry box

int NumeroF(int key) { return key >= Qt::Key_F1 && key <= Qt::Key_F7 ? key - Qt::Key_F1 + 1 : 0; }

/// The typed character in Windows-1252; 8 and 9 for Backspace and Tab; 0 for none.
char Carattere(const QKeyEvent* e) {
    if (e->key() == Qt::Key_Backspace) return 8;
    if (e->key() == Qt::Key_Tab) return 9;
    const std::string t = Cp1252(e->text());
    return t.size() == 1 ? t[0] : 0;
}

}  // namespace

std::optional<std::string> PrompterQt::InputBox(const std::string& title,
                                                const std::string& prompt) {
    bool ok = false;
    const QString r = QInputDialog::getText(&frm_, Testo(title), TestoRighe(prompt),
                                            QLineEdit::Normal, QString(), &ok);
    if (!ok) return std::nullopt;
    return Cp1252(r);
}

bool PrompterQt::ConfermaSiNo(const std::string& title, const std::string& text) {
    return QMessageBox::warning(&frm_, Testo(title), TestoRighe(text),
                                QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

int PrompterQt::MostraMessaggio(const std::string& title, const std::string& text,
                                const std::string& hint, bool showButtons,
                                const std::string& caption0, const std::string& caption1,
                                bool modal, int intervalMs) {
    return frm_.messaggi().MostraMessaggio(Testo(title), Testo(text), Testo(hint), showButtons,
                                           Testo(caption0), Testo(caption1), modal, intervalMs);
}

CassaFinestra::CassaFinestra(FrmVorsa& frm, Till& till, Prompter* prompter, PrintSeam* print)
    : QObject(&frm),
      frm_(frm),
      till_(till),
      ownPrompter_(prompter ? nullptr : std::make_unique<PrompterQt>(frm)),
      vendita_(std::make_unique<Vendita>(till.PartiVendita(), *this, prompter ? *prompter : *ownPrompter_,
                                         print)) {
    QLineEdit* codice = frm_.BoxCodice();
    QLineEdit* pagato = frm_.BoxPagato();
    connect(codice, &QLineEdit::textChanged, this,
            [this](const QString& t) { vendita_->CambioCodice(Cp1252(t)); });
    connect(pagato, &QLineEdit::textChanged, this,
            [this](const QString& t) { vendita_->CambioPagato(Cp1252(t)); });
    connect(frm_.TmrInput(), &QTimer::timeout, this, [this] { SvuotaCodice(); });
    connect(&frm_.Griglia(), &GrigliaProdotti::ArticoloPremuto, this,
            [this](int s, int p) { Articolo(s, p); });
    for (int n = 1; n <= kNumeroAzioni; ++n)
        connect(frm_.CmdAzione(n), &QPushButton::clicked, this, [this, n] { Azione(n); });
    connect(&frm_.Pagamento(), &PannelloPagamento::MonetaPremuta, this,
            [this](int n) { Moneta(n); });
    connect(&frm_.Pagamento(), &PannelloPagamento::TastoPremuto, this,
            [this](int n) { Calcolatrice(n); });
    connect(frm_.ChkStampa(), &QCheckBox::clicked, this,
            [this](bool on) { vendita_->ImpostaStampaAutomatica(on); });

    frm_.TxtCommento()->setMaxLength(kLunghezzaNota);
    for (QObject* o : {static_cast<QObject*>(codice), static_cast<QObject*>(pagato),
                       static_cast<QObject*>(frm_.ListaSpesa()),
                       static_cast<QObject*>(frm_.TxtTavolo()),
                       static_cast<QObject*>(frm_.TxtCommento())})
        o->installEventFilter(this);
    for (int n = 0; n < 10; ++n) frm_.CmdSoldi(n)->installEventFilter(this);
    for (int n = 0; n < 12; ++n) frm_.CmdCalc(n)->installEventFilter(this);
}

CassaFinestra::~CassaFinestra() = default;

void CassaFinestra::Avvia() {
    frm_.ChkStampa()->setChecked(till_.opt.gStampaAbilitata);
    vendita_->ImpostaStampaAutomatica(till_.opt.gStampaAbilitata);
    ModoPagamento(false);
    frm_.BoxCodice()->setFocus();
}

void CassaFinestra::SvuotaCodice() {
    frm_.TmrInput()->stop();
    frm_.BoxCodice()->clear();
}

void CassaFinestra::ChiudiCodicePendente() {
    if (frm_.TmrInput()->isActive()) SvuotaCodice();
}

void CassaFinestra::Articolo(int section, int position) {
    ChiudiCodicePendente();
    SetCodice(vendita_->CodiceArticolo(section, position));
    frm_.BoxCodice()->repaint();
    if (frm_.BoxCodice()->isEnabled()) frm_.BoxCodice()->setFocus();
}

void CassaFinestra::Azione(int n) {
    ChiudiCodicePendente();
    SetCodice("F" + std::to_string(n));
    if (till_.gAzioni[1].stato) FocusPagato();
    else frm_.BoxCodice()->setFocus();
}

void CassaFinestra::Moneta(int n) {
    // A code still shown would hide a second click on the same coin.
    ChiudiCodicePendente();
    vendita_->ClickMoneta(n);
    FocusPagato();
}

void CassaFinestra::Calcolatrice(int tasto) {
    vendita_->ClickCalcolatrice(tasto);
    FocusPagato();
}

void CassaFinestra::FocusPagato() {
    QLineEdit* p = frm_.BoxPagato();
    p->setFocus();
    p->setCursorPosition(static_cast<int>(p->text().size()));
}

bool CassaFinestra::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    if (t == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == frm_.BoxCodice()) return TastoCodice(key);
        if (watched == frm_.BoxPagato()) return TastoPagato(key);
        if (watched == frm_.TxtCommento()) {
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return true;
            if (key->key() == Qt::Key_Escape) {
                frm_.BoxCodice()->setFocus();
                return true;
            }
            return false;
        }
        if (qobject_cast<QPushButton*>(watched)) return TastoFunzionePagato(key);
        return false;
    }
    if (t == QEvent::FocusIn && watched == frm_.ListaSpesa()) {
        // The bill list never keeps the focus.
        if (frm_.BoxCodice()->isEnabled()) frm_.BoxCodice()->setFocus();
        else if (frm_.BoxPagato()->isEnabled()) frm_.BoxPagato()->setFocus();
        return false;
    }
    if (watched == frm_.TxtCommento()) {
        QLineEdit* nota = frm_.TxtCommento();
        if (t == QEvent::FocusIn) {
            nota->raise();
            nota->resize(nota->width(), TwipsToPixelsY(kAltezzaNotaAperta));
        } else if (t == QEvent::FocusOut) {
            till_.conto.gCommento = Trim(Cp1252(nota->text()));
            nota->resize(nota->width(), TwipsToPixelsY(kAltezzaNota));
        }
        return false;
    }
    if (t == QEvent::FocusOut && watched == frm_.TxtTavolo())
        till_.conto.gTavolo = Trim(Cp1252(frm_.TxtTavolo()->text()));
    return false;
}

bool CassaFinestra::TastoCodice(QKeyEvent* e) {
    // Key down: a code still shown is emptied before the new key counts.
    ChiudiCodicePendente();
    const bool modificatore =
        (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0;
    if (const int f = NumeroF(e->key())) {
        vendita_->TastoGiu(Vendita::Tasto::F, f, modificatore);
        return true;
    }
    using T = Vendita::Tasto;
    switch (e->key()) {
        case Qt::Key_Up: vendita_->TastoGiu(T::Su, 0, modificatore); return true;
        case Qt::Key_Down: vendita_->TastoGiu(T::Giu, 0, modificatore); return true;
        case Qt::Key_Left: vendita_->TastoGiu(T::Sinistra, 0, modificatore); return true;
        case Qt::Key_Right: vendita_->TastoGiu(T::Destra, 0, modificatore); return true;
        default: break;
    }
    // Key press: only characters that can start or continue a code.
    const char ch = Carattere(e);
    const char c = FiltroCodice(ch, frm_.BoxCodice()->text().isEmpty());
    if (c == 0) return true;
    if (c == 8 || c == 9) return false;
    frm_.BoxCodice()->insert(Testo(std::string(1, c)));
    return true;
}

bool CassaFinestra::TastoFunzionePagato(QKeyEvent* e) {
    if (e->key() == Qt::Key_F1) {
        Azione(1);
        return true;
    }
    if (e->key() == Qt::Key_F4) {
        Azione(4);
        return true;
    }
    return false;
}

bool ApplicaFiltro(QLineEdit& box, const EsitoFiltro& r) {
    if (r.nuovoTesto) {
        box.setText(Testo(*r.nuovoTesto));
        box.setCursorPosition(static_cast<int>(box.text().size()));
        return true;
    }
    if (r.key == 0) return true;
    if (r.key == 8 || r.key == 9) return false;
    box.insert(Testo(std::string(1, r.key)));
    return true;
}

bool CassaFinestra::TastoPagato(QKeyEvent* e) {
    if (TastoFunzionePagato(e)) return true;
    const char ch = Carattere(e);
    if (ch == 0) return false;  // cursor keys and the like
    QLineEdit* box = frm_.BoxPagato();
    return ApplicaFiltro(*box, vendita_->TastoPagato(ch, Cp1252(box->text()), box->cursorPosition()));
}

int CassaFinestra::ButtonColour(int s, int p) { return frm_.ButtonColour(s, p); }
void CassaFinestra::SetButtonColour(int s, int p, int c) { frm_.SetButtonColour(s, p, c); }
bool CassaFinestra::ButtonEnabled(int s, int p) { return frm_.ButtonEnabled(s, p); }
void CassaFinestra::SetButtonEnabled(int s, int p, bool e) { frm_.SetButtonEnabled(s, p, e); }
void CassaFinestra::SetLabelsVisible(int s, int p, bool v) { frm_.SetLabelsVisible(s, p, v); }
void CassaFinestra::SetCodeLabel(int s, int p, const std::string& t) { frm_.SetCodeLabel(s, p, t); }
void CassaFinestra::ShowFeedback(int state) { frm_.ShowFeedback(state); }

void CassaFinestra::HideFeedback() {
    for (int i : {0, 1, 3, 4}) frm_.ConfCode(i)->hide();
}

void CassaFinestra::SetFeedbackCaption(int state, const std::string& caption) {
    frm_.ConfCode(state)->setText(Testo(caption));
}

void CassaFinestra::SetCodice(const std::string& text) { frm_.BoxCodice()->setText(Testo(text)); }

void CassaFinestra::StartInputTimer() { frm_.TmrInput()->start(); }

int CassaFinestra::ListCount() { return frm_.ListaSpesa()->count(); }
int CassaFinestra::ListSelected() { return frm_.ListaSpesa()->currentRow(); }
void CassaFinestra::SelectLine(int index) { frm_.ListaSpesa()->setCurrentRow(index); }

int CassaFinestra::ListCode(int index) {
    const QListWidgetItem* item = frm_.ListaSpesa()->item(index);
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

void CassaFinestra::SetListLine(int index, const std::string& text, int code) {
    QListWidget* list = frm_.ListaSpesa();
    QListWidgetItem* item = list->item(index);
    if (!item) {
        item = new QListWidgetItem(list);
    }
    item->setText(Testo(text));
    item->setData(Qt::UserRole, code);
    list->setCurrentRow(list->row(item));
}

void CassaFinestra::ClearList() { frm_.ListaSpesa()->clear(); }
void CassaFinestra::SetTotale(const std::string& t) { frm_.LblTotale()->setText(Testo(t)); }
void CassaFinestra::SetUltimoScontrino(const std::string& t) {
    frm_.LblUltimoScontrino()->setText(Testo(t));
}

void CassaFinestra::SetPriceLabel(int section, int position, const Etichetta& label) {
    GrigliaProdotti::Cella* c = frm_.Griglia().Trova(section, position);
    if (!c) return;
    c->price->setText(Testo(label.text));
    ImpostaColoreTesto(*c->price, label.colour);
}

void CassaFinestra::ClearTableAndComment() {
    frm_.TxtTavolo()->clear();
    frm_.TxtCommento()->clear();
}

int CassaFinestra::WindowWidthTwips() { return frm_.LayoutCorrente().larghezza; }

void CassaFinestra::ModoPagamento(bool on) {
    QLineEdit* pagato = frm_.BoxPagato();
    QLineEdit* codice = frm_.BoxCodice();
    frm_.Gestione(2)->setVisible(on);
    if (on) {
        pagato->clear();
        pagato->setEnabled(true);
        ImpostaSfondo(*pagato, kColoreBottone);
        codice->setEnabled(false);
        ImpostaSfondo(*codice, kGrigio);
        pagato->setFocus();
    } else {
        codice->setEnabled(true);
        ImpostaSfondo(*codice, kColoreBottone);
        pagato->setText(QStringLiteral("0,00"));
        pagato->setEnabled(false);
        ImpostaSfondo(*pagato, kGrigio);
        codice->setFocus();
    }
}

std::string CassaFinestra::Pagato() { return Cp1252(frm_.BoxPagato()->text()); }

void CassaFinestra::SetPagato(const std::string& text) {
    QLineEdit* p = frm_.BoxPagato();
    p->setText(Testo(text));
    p->setCursorPosition(static_cast<int>(p->text().size()));
}

void CassaFinestra::SetResto(const std::string& t) { frm_.LblResto()->setText(Testo(t)); }

void CassaFinestra::SetActionCaption(int n, const std::string& caption) {
    frm_.CmdAzione(n)->setText(SenzaMnemonico(Testo(caption)));
}

void CassaFinestra::SetActionColour(int n, int colour) {
    ImpostaSfondo(*frm_.CmdAzione(n), colour);
}

void CassaFinestra::SetActionEnabled(int n, bool enabled) {
    frm_.CmdAzione(n)->setEnabled(enabled);
}

void CassaFinestra::SetActionKeyColour(int n, int colour) {
    ImpostaColoreTesto(*frm_.LblAzioneCode(n), colour);
}

void CassaFinestra::SetActionHeight(int n, int twips) { frm_.ImpostaAltezzaAzione(n, twips); }

void CassaFinestra::ShowPanel(int panel, bool visible) {
    QFrame* f = frm_.Gestione(panel);
    if (panel == 0 && visible) f->move(0, TwipsToPixelsY(-140));
    f->setVisible(visible);
    if (visible) f->raise();
}

void CassaFinestra::ReLayout() { frm_.ReLayout(); }
void CassaFinestra::SetCaption(const std::string& text) { frm_.setWindowTitle(Testo(text)); }
void CassaFinestra::SetStampaCaption(const std::string& text) {
    frm_.ChkStampa()->setText(Testo(text));
}

}  // namespace vorsa
