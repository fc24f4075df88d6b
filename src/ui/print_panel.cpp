#include "ui/print_panel.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/text.h"
#include "printing/page_setup.h"
#include "sale/sale.h"
#include "settings/odd_values.h"
#include "settings/settings_gateway.h"
#include "ui/sale_presenter.h"
#include "ui/settings/frm_stampa_pers.h"
#include "ui/widgets/accessibility.h"
#include "ui/widgets/widget_helpers.h"

namespace vorsa {
namespace {

constexpr int kLeft = 600;
constexpr int kGrigioChiaro = 0xE0E0E0;

QLabel* Didascalia(QFrame& panel, const char* text, int top) {
    auto* l = new QLabel(QString::fromUtf8(text), &panel);
    Colloca(*l, kLeft, top, 2400, 300);
    return l;
}

}  // namespace

PrintPanel::PrintPanel(QFrame& panel, SettingsGateway& settings, ReceiptPrinter* printer,
                       Catalogue& catalogo, Prompter& domande, PasswordSaver salvaPassword)
    : QObject(&panel),
      panel_(panel),
      settings_(settings),
      printer_(printer),
      catalogo_(catalogo),
      domande_(domande),
      salvaPassword_(std::move(salvaPassword)),
      regole_(std::make_unique<PrintSettings>(settings, printer, *this)) {
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
    Colloca(*txtLarghezzaNastro, kLeft + 2100, 1140, 600, 330);
    txtLarghezzaNastro->installEventFilter(this);
    // The box holds centimetres; without the unit "10,5" reads as millimetres or inches.
    auto* unita = new QLabel(QStringLiteral("cm"), &panel);
    Colloca(*unita, kLeft + 2750, 1140, 300, 330);

    btnStampaTest = new QPushButton(QStringLiteral("T"), &panel);
    btnStampaTest->setObjectName(QStringLiteral("btn_StampaTest"));
    Colloca(*btnStampaTest, kLeft + 3100, 1140, 400, 330);
    cmdFormStampa = new QPushButton(QStringLiteral("OPZIONI DI STAMPA"), &panel);
    cmdFormStampa->setObjectName(QStringLiteral("cmdFormStampa"));
    Colloca(*cmdFormStampa, kLeft, 1560, 3000, 400);
    connect(cmdFormStampa, &QPushButton::clicked, this, [this] { OpzioniStampa(); });

    lblNessunaStampante = new QLabel(
        QString::fromUtf8("Nessuna stampante installata: gli scontrini non verranno stampati."),
        &panel);
    lblNessunaStampante->setObjectName(QStringLiteral("lblNessunaStampante"));
    lblNessunaStampante->setWordWrap(true);
    ImpostaColoreTesto(*lblNessunaStampante, 0xFF0000);
    Colloca(*lblNessunaStampante, kLeft, 2100, 4800, 600);

    connect(cboStampaFormato, qOverload<int>(&QComboBox::activated), this, [this](int row) {
        regole_->FormatoScelto(cboStampaFormato->itemData(row).toInt());
        emit Fatto();
    });
    connect(cboStampaLista, qOverload<int>(&QComboBox::activated), this, [this](int row) {
        regole_->StampanteScelta(Cp1252(cboStampaLista->itemText(row)));
        emit Fatto();
    });
    connect(btnStampaTest, &QPushButton::clicked, this, [this] {
        regole_->StampaTest();
        emit Fatto();
    });
    Carica();
    RendiAccessibile(panel);
}

PrintPanel::~PrintPanel() = default;

void PrintPanel::OpzioniStampa() {
    auto* dlg = new FrmStampaPers(settings_, printer_, &catalogo_, domande_, panel_.window(),
                                  [this](const std::string& p) {
                                      if (salvaPassword_) salvaPassword_(p);
                                  });
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->setWindowModality(Qt::ApplicationModal);
    connect(dlg, &QDialog::finished, this, [this] { emit Fatto(); });
    dlg->show();
}

void PrintPanel::Carica() {
    regole_->Carica();
}

void PrintPanel::MostraStampanti(const std::vector<std::string>& nomi, const std::string& scelta,
                                 bool abilitata) {
    cboStampaLista->clear();
    for (const auto& nome : nomi) cboStampaLista->addItem(Testo(nome));
    cboStampaLista->setCurrentText(Testo(scelta));
    cboStampaLista->setEnabled(abilitata);
    btnStampaTest->setEnabled(abilitata);
}

void PrintPanel::MostraFormati(const std::vector<std::pair<std::string, int>>& voci, int scelto,
                               bool abilitata) {
    cboStampaFormato->clear();
    for (const auto& [caption, code] : voci) {
        cboStampaFormato->addItem(Testo(caption), code);
        if (code == scelto) cboStampaFormato->setCurrentIndex(cboStampaFormato->count() - 1);
    }
    cboStampaFormato->setEnabled(abilitata);
}

void PrintPanel::MostraLarghezza(bool abilitata, const std::string& testo, bool grigia) {
    txtLarghezzaNastro->setEnabled(abilitata);
    txtLarghezzaNastro->setText(Testo(testo));
    ImpostaSfondo(*txtLarghezzaNastro, grigia ? kGrigioChiaro : -1);
}

void PrintPanel::MostraNessunaStampante(bool visibile) {
    lblNessunaStampante->setVisible(visibile);
}

bool PrintPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != txtLarghezzaNastro) return false;
    if (event->type() == QEvent::FocusOut) {
        regole_->LarghezzaConfermata(Cp1252(txtLarghezzaNastro->text()));
        const std::string w = Trim(Cp1252(txtLarghezzaNastro->text()));
        SegnalaValore(*txtLarghezzaNastro,
                      w.empty() ? std::string() : AvvisoValore(keys::LarghezzaPos, w));
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
