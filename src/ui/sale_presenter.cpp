#include "ui/sale_presenter.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>

#include "platform/qt/twips.h"
#include "platform/text.h"
#include "ui/article_grid.h"
#include "ui/frm_vorsa.h"
#include "ui/payment_panel.h"
#include "ui/right_panel.h"
#include "ui/widgets/widget_helpers.h"

namespace vorsa {
namespace {

constexpr int kAltezzaNotaAperta = 1125;
constexpr int kAltezzaNota = 375;
constexpr int kLunghezzaNota = 120;

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

void PrompterQt::Avviso(const std::string& title, const std::string& text) {
    QMessageBox::warning(&frm_, Testo(title), TestoRighe(text), QMessageBox::Ok);
}

SalePresenter::SalePresenter(FrmVorsa& frm, Till& till, Prompter* prompter, PrintSeam* print)
    : QObject(&frm),
      frm_(frm),
      destro_(frm.Destro()),
      till_(till),
      ownPrompter_(prompter ? nullptr : std::make_unique<PrompterQt>(frm)),
      vendita_(std::make_unique<Sale>(till.PartiVendita(),
                                      SaleViews{frm, destro_, destro_, destro_, frm},
                                      prompter ? *prompter : *ownPrompter_, print)) {
    QLineEdit* codice = destro_.boxCodice;
    QLineEdit* pagato = destro_.boxPagato;
    connect(codice, &QLineEdit::textChanged, this,
            [this](const QString& t) { vendita_->CambioCodice(Cp1252(t)); });
    connect(pagato, &QLineEdit::textChanged, this,
            [this](const QString& t) { vendita_->CambioPagato(Cp1252(t)); });
    connect(destro_.tmrInput, &QTimer::timeout, this, [this] { SvuotaCodice(); });
    connect(&frm_.Griglia(), &ArticleGrid::ArticoloPremuto, this,
            [this](int s, int p) { Articolo(s, p); });
    for (int n = 1; n <= kNumeroAzioni; ++n)
        connect(destro_.cmdAzioni[static_cast<std::size_t>(n)], &QPushButton::clicked, this,
                [this, n] { Azione(n); });
    connect(&frm_.Pagamento(), &PaymentPanel::MonetaPremuta, this, [this](int n) { Moneta(n); });
    connect(&frm_.Pagamento(), &PaymentPanel::TastoPremuto, this,
            [this](int n) { Calcolatrice(n); });
    // Waiting sales go while the operator pauses: a delivery holds the window for as long as a
    // commit or more, and a key typed meanwhile would wait for it. F4 delivers them anyway.
    connect(&frm_, &FrmVorsa::Aggiornato, this, [this] {
        if (!inattivo_.isValid() || inattivo_.elapsed() >= kPausaConsegnaMs)
            vendita_->DopoAggiornamento();
    });
    connect(destro_.chkStampa, &QCheckBox::clicked, this,
            [this](bool on) { vendita_->ImpostaStampaAutomatica(on); });

    // The note is one line of at most 120 characters, whatever a paste or a drop brings.
    connect(destro_.txtCommento, &QPlainTextEdit::textChanged, this, [this] {
        QPlainTextEdit* nota = destro_.txtCommento;
        const QString testo = nota->toPlainText();
        QString riga = testo.left(kLunghezzaNota);
        riga.replace(QLatin1Char('\n'), QLatin1Char(' '))
            .replace(QLatin1Char('\t'), QLatin1Char(' '));
        if (riga == testo) return;
        const int cursore = std::min(nota->textCursor().position(), static_cast<int>(riga.size()));
        const QSignalBlocker blocca(nota);
        nota->setPlainText(riga);
        QTextCursor c = nota->textCursor();
        c.setPosition(cursore);
        nota->setTextCursor(c);
    });
    for (QObject* o :
         {static_cast<QObject*>(codice), static_cast<QObject*>(pagato),
          static_cast<QObject*>(destro_.lstSpesa), static_cast<QObject*>(destro_.txtTavolo),
          static_cast<QObject*>(destro_.txtCommento)})
        o->installEventFilter(this);
    for (QPushButton* b : frm_.Pagamento().Bottoni()) b->installEventFilter(this);
}

SalePresenter::~SalePresenter() = default;

void SalePresenter::Avvia() {
    destro_.chkStampa->setChecked(till_.opt.gStampaAbilitata);
    vendita_->ImpostaStampaAutomatica(till_.opt.gStampaAbilitata);
    destro_.ModoPagamento(false);
    vendita_->MostraInAttesa();
    destro_.boxCodice->setFocus();
}

void SalePresenter::SvuotaCodice() {
    destro_.tmrInput->stop();
    destro_.boxCodice->clear();
}

void SalePresenter::ChiudiCodicePendente() {
    if (destro_.tmrInput->isActive()) SvuotaCodice();
}

void SalePresenter::Articolo(int section, int position) {
    inattivo_.start();
    ChiudiCodicePendente();
    destro_.SetCodice(vendita_->CodiceArticolo(section, position));
    destro_.boxCodice->repaint();
    if (destro_.boxCodice->isEnabled()) destro_.boxCodice->setFocus();
}

void SalePresenter::Azione(int n) {
    inattivo_.start();
    ChiudiCodicePendente();
    destro_.SetCodice("F" + std::to_string(n));
    if (till_.gAzioni[kAzionePaga].stato)
        FocusPagato();
    else
        destro_.boxCodice->setFocus();
}

void SalePresenter::Moneta(int n) {
    // A code still shown would hide a second click on the same coin.
    ChiudiCodicePendente();
    vendita_->ClickMoneta(n);
    FocusPagato();
}

void SalePresenter::Calcolatrice(int tasto) {
    vendita_->ClickCalcolatrice(tasto);
    FocusPagato();
}

void SalePresenter::FocusPagato() {
    QLineEdit* p = destro_.boxPagato;
    p->setFocus();
    p->setCursorPosition(static_cast<int>(p->text().size()));
}

bool SalePresenter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    if (t == QEvent::KeyPress || t == QEvent::MouseButtonPress) inattivo_.start();
    if (t == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == destro_.boxCodice) return TastoCodice(key);
        if (watched == destro_.boxPagato) return TastoPagato(key);
        if (watched == destro_.txtCommento) {
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) return true;
            if (key->key() == Qt::Key_Escape) {
                destro_.boxCodice->setFocus();
                return true;
            }
            return false;
        }
        if (qobject_cast<QPushButton*>(watched)) return TastoFunzionePagato(key);
        return false;
    }
    if (t == QEvent::FocusIn && watched == destro_.lstSpesa) {
        // The bill list never keeps the focus.
        if (destro_.boxCodice->isEnabled())
            destro_.boxCodice->setFocus();
        else if (destro_.boxPagato->isEnabled())
            destro_.boxPagato->setFocus();
        return false;
    }
    if (watched == destro_.txtCommento) {
        QPlainTextEdit* nota = destro_.txtCommento;
        if (t == QEvent::FocusIn) {
            nota->raise();
            nota->resize(nota->width(), TwipsToPixelsY(kAltezzaNotaAperta));
        } else if (t == QEvent::FocusOut) {
            till_.conto.gCommento = Trim(Cp1252(nota->toPlainText()));
            nota->resize(nota->width(), TwipsToPixelsY(kAltezzaNota));
            nota->moveCursor(QTextCursor::Start);  // the closed box shows the note's start
        }
        return false;
    }
    if (t == QEvent::FocusOut && watched == destro_.txtTavolo)
        till_.conto.gTavolo = Trim(Cp1252(destro_.txtTavolo->text()));
    return false;
}

bool SalePresenter::TastoCodice(QKeyEvent* e) {
    // Key down: a code still shown is emptied before the new key counts.
    ChiudiCodicePendente();
    const bool modificatore =
        (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0;
    if (const int f = NumeroF(e->key())) {
        vendita_->TastoGiu(Sale::KeyKind::F, f, modificatore);
        return true;
    }
    using T = Sale::KeyKind;
    switch (e->key()) {
        case Qt::Key_Up:
            vendita_->TastoGiu(T::Su, 0, modificatore);
            return true;
        case Qt::Key_Down:
            vendita_->TastoGiu(T::Giu, 0, modificatore);
            return true;
        case Qt::Key_Left:
            vendita_->TastoGiu(T::Sinistra, 0, modificatore);
            return true;
        case Qt::Key_Right:
            vendita_->TastoGiu(T::Destra, 0, modificatore);
            return true;
        default:
            break;
    }
    // Key press: only characters that can start or continue a code.
    const char ch = Carattere(e);
    const char c = FiltroCodice(ch, destro_.boxCodice->text().isEmpty());
    if (c == 0) return true;
    if (c == 8 || c == 9) return false;
    destro_.boxCodice->insert(Testo(std::string(1, c)));
    return true;
}

bool SalePresenter::TastoFunzionePagato(QKeyEvent* e) {
    if (e->key() == Qt::Key_F1) {
        Azione(kAzionePaga);
        return true;
    }
    if (e->key() == Qt::Key_F4) {
        Azione(kAzioneNuovoConto);
        return true;
    }
    return false;
}

bool ApplicaFiltro(QLineEdit& box, const FilterResult& r) {
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

bool SalePresenter::TastoPagato(QKeyEvent* e) {
    if (TastoFunzionePagato(e)) return true;
    const char ch = Carattere(e);
    if (ch == 0) return false;  // cursor keys and the like
    QLineEdit* box = destro_.boxPagato;
    return ApplicaFiltro(*box,
                         vendita_->TastoPagato(ch, Cp1252(box->text()), box->cursorPosition()));
}

}  // namespace vorsa
