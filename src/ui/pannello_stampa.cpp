#include "ui/pannello_stampa.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/text.h"
#include "printing/page_setup.h"
#include "printing/receipt_printer.h"
#include "sale/vendita.h"
#include "settings/settings_gateway.h"
#include "ui/accessibilita.h"
#include "ui/sale_presenter.h"
#include "ui/widget_helpers.h"

namespace vorsa {
namespace {

constexpr int kLeft = 600;
constexpr int kGrigioChiaro = 0xE0E0E0;
constexpr int kCodicePersonalizzato = 4;
constexpr const char* kLarghezzaDefault = "10,5";

QLabel* Didascalia(QFrame& panel, const char* text, int top) {
    auto* l = new QLabel(QString::fromUtf8(text), &panel);
    Colloca(*l, kLeft, top, 2400, 300);
    return l;
}

}  // namespace

PannelloStampa::PannelloStampa(QFrame& panel, SettingsGateway& settings, ReceiptPrinter* printer)
    : QObject(&panel), settings_(settings), printer_(printer) {
    Didascalia(panel, "Stampante scontrini:", 120);
    cboStampaLista = new QComboBox(&panel);
    cboStampaLista->setObjectName(QStringLiteral("cbo_StampaLista"));
    Colloca(*cboStampaLista, kLeft, 420, 4200, 330);

    Didascalia(panel, "Formato carta:", 840);
    cboStampaFormato = new QComboBox(&panel);
    cboStampaFormato->setObjectName(QStringLiteral("cbo_StampaFormato"));
    Colloca(*cboStampaFormato, kLeft, 1140, 2000, 330);
    txtLarghezzaNastro = new QLineEdit(&panel);
    txtLarghezzaNastro->setObjectName(QStringLiteral("txt_LarghezzaNastro"));
    Colloca(*txtLarghezzaNastro, kLeft + 2100, 1140, 900, 330);
    txtLarghezzaNastro->installEventFilter(this);

    btnStampaTest = new QPushButton(QStringLiteral("T"), &panel);
    btnStampaTest->setObjectName(QStringLiteral("btn_StampaTest"));
    Colloca(*btnStampaTest, kLeft + 3100, 1140, 400, 330);
    cmdFormStampa = new QPushButton(QStringLiteral("Opzioni di stampa..."), &panel);
    cmdFormStampa->setObjectName(QStringLiteral("cmdFormStampa"));
    Colloca(*cmdFormStampa, kLeft, 1560, 3000, 400);
    // The print options dialog comes later; until then the button says so by being off.
    cmdFormStampa->setEnabled(false);

    lblNessunaStampante = new QLabel(
        QString::fromUtf8("Nessuna stampante installata: gli scontrini non verranno stampati."),
        &panel);
    lblNessunaStampante->setObjectName(QStringLiteral("lblNessunaStampante"));
    lblNessunaStampante->setWordWrap(true);
    ImpostaColoreTesto(*lblNessunaStampante, 0xFF0000);
    Colloca(*lblNessunaStampante, kLeft, 2100, 4800, 600);

    connect(cboStampaFormato, qOverload<int>(&QComboBox::activated), this,
            &PannelloStampa::FormatoScelto);
    connect(cboStampaLista, qOverload<int>(&QComboBox::activated), this,
            &PannelloStampa::StampanteScelta);
    connect(btnStampaTest, &QPushButton::clicked, this, [this] {
        if (printer_) printer_->StampaTest();
        emit Fatto();
    });
    Carica();
    RendiAccessibile(panel);
}

void PannelloStampa::Carica() {
    const bool disponibile = printer_ && printer_->StampanteDisponibile();
    cboStampaLista->clear();
    if (printer_) {
        for (const auto& nome : printer_->Setup().printerList) cboStampaLista->addItem(Testo(nome));
        cboStampaLista->setCurrentText(Testo(printer_->Setup().printerName));
    }
    cboStampaFormato->clear();
    for (const FormatoVoce& f : kFormati) {
        cboStampaFormato->addItem(Testo(std::string(f.caption)), f.code);
        if (f.code == settings_.options().gFormato)
            cboStampaFormato->setCurrentIndex(cboStampaFormato->count() - 1);
    }
    for (QWidget* w :
         {static_cast<QWidget*>(cboStampaLista), static_cast<QWidget*>(cboStampaFormato),
          static_cast<QWidget*>(btnStampaTest)})
        w->setEnabled(disponibile);
    lblNessunaStampante->setVisible(!disponibile);
    AggiornaLarghezza();
}

void PannelloStampa::AggiornaLarghezza() {
    const bool personalizzato = cboStampaFormato->currentData().toInt() == kCodicePersonalizzato;
    txtLarghezzaNastro->setEnabled(personalizzato && cboStampaFormato->isEnabled());
    if (personalizzato) {
        const std::string w = Trim(settings_.Read(keys::LarghezzaPos));
        txtLarghezzaNastro->setText(Testo(w.empty() ? kLarghezzaDefault : w));
        ImpostaSfondo(*txtLarghezzaNastro, -1);
    } else {
        txtLarghezzaNastro->clear();
        ImpostaSfondo(*txtLarghezzaNastro, kGrigioChiaro);
    }
}

void PannelloStampa::FormatoScelto(int row) {
    const int code = cboStampaFormato->itemData(row).toInt();
    settings_.options().gFormato = code;
    if (printer_) printer_->SelezionaFormato(code);
    AggiornaLarghezza();
    emit Fatto();
}

void PannelloStampa::StampanteScelta(int row) {
    if (printer_) printer_->SelezionaStampante(Cp1252(cboStampaLista->itemText(row)));
    emit Fatto();
}

void PannelloStampa::LarghezzaConfermata() {
    std::string w = Trim(Cp1252(txtLarghezzaNastro->text()));
    if (w.empty()) {
        w = kLarghezzaDefault;
        txtLarghezzaNastro->setText(Testo(w));
    }
    settings_.Set(keys::LarghezzaPos, w);
    // A new width needs new capacities and forms.
    if (printer_ && settings_.options().gFormato == kCodicePersonalizzato)
        printer_->SelezionaFormato(kCodicePersonalizzato);
}

bool PannelloStampa::eventFilter(QObject* watched, QEvent* event) {
    if (watched != txtLarghezzaNastro) return false;
    if (event->type() == QEvent::FocusOut) {
        LarghezzaConfermata();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Tab) return false;
    const std::string t = Cp1252(key->text());
    if (t.size() != 1) return false;
    return ApplicaFiltro(*txtLarghezzaNastro,
                         FiltroImporto(t[0], Cp1252(txtLarghezzaNastro->text()),
                                       txtLarghezzaNastro->cursorPosition()));
}

}  // namespace vorsa
