#include "ui/settings/frm_pagine_web.h"

#include <qrencode.h>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/settings_gateway.h"
#include "ui/widgets/accessibility.h"
#include "ui/widgets/widget_helpers.h"
#include "web/web_options.h"

namespace vorsa {

std::vector<std::string> IndirizziPagine(const std::vector<std::string>& indirizzi, int porta) {
    std::vector<std::string> out;
    for (const std::string& a : indirizzi)
        for (const char* pagina : {"numeri", "cucina", "incassi"})
            out.push_back("http://" + a + ":" + std::to_string(porta) + "/" + pagina);
    return out;
}

namespace {

// Large enough for a phone's camera across a desk.
constexpr int kLatoQr = 220;

/// The QR code of `testo`, black on white with its quiet zone, `lato` pixels square.
QPixmap CodiceQr(const std::string& testo, int lato) {
    QRcode* qr = QRcode_encodeString(testo.c_str(), 0, QR_ECLEVEL_M, QR_MODE_8, 1);
    if (!qr) return {};
    const int n = qr->width, bordo = 4, tot = n + 2 * bordo;
    QImage img(tot, tot, QImage::Format_Mono);
    img.fill(1);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            if (qr->data[y * n + x] & 1) img.setPixel(x + bordo, y + bordo, 0);
    QRcode_free(qr);
    return QPixmap::fromImage(img.scaled(lato, lato, Qt::KeepAspectRatio, Qt::FastTransformation));
}

QLineEdit* Campo(const char* nome, int lunghezza, bool segreto) {
    auto* t = new QLineEdit;
    t->setObjectName(QString::fromLatin1(nome));
    t->setMaxLength(lunghezza);
    if (segreto) t->setEchoMode(QLineEdit::Password);
    return t;
}

}  // namespace

FrmPagineWeb::FrmPagineWeb(SettingsGateway& settings,
                           std::function<std::vector<std::string>()> indirizzi, QWidget* owner)
    : QDialog(owner), settings_(settings), indirizzi_(std::move(indirizzi)) {
    setObjectName(QStringLiteral("frmPagineWeb"));
    setWindowTitle(QStringLiteral("Pagine web"));
    setModal(true);
    CreaControlli();
    Carica();
    RendiAccessibile(*this);
}

void FrmPagineWeb::CreaControlli() {
    auto* root = new QVBoxLayout(this);
    auto* frame = new QGroupBox(QStringLiteral("Pagine web"));
    frame->setObjectName(QStringLiteral("fraWeb"));
    root->addWidget(frame);
    chkWeb = new QCheckBox(QStringLiteral("Pubblica le pagine web"));
    chkWeb->setObjectName(QStringLiteral("chkWeb"));
    txtPortaWeb = Campo("txtPortaWeb", 5, false);
    txtPinCucina = Campo("txtPinCucina", 8, true);
    txtPinIncassi = Campo("txtPinIncassi", 8, true);
    lstIndirizziWeb = new QListWidget;
    lstIndirizziWeb->setObjectName(QStringLiteral("lstIndirizziWeb"));
    lstIndirizziWeb->setMinimumWidth(300);
    lblQrWeb = new QLabel;
    lblQrWeb->setObjectName(QStringLiteral("lblQrWeb"));
    lblQrWeb->setFixedSize(kLatoQr, kLatoQr);
    lblNotaWeb = new QLabel;
    lblNotaWeb->setObjectName(QStringLiteral("lblNotaWeb"));
    lblNotaWeb->setWordWrap(true);

    auto* g = new QGridLayout(frame);
    g->addWidget(chkWeb, 0, 0, 1, 2);
    g->addWidget(Didascalia("Porta:", txtPortaWeb), 1, 0);
    g->addWidget(txtPortaWeb, 1, 1);
    g->addWidget(Didascalia("PIN cucina:", txtPinCucina), 2, 0);
    g->addWidget(txtPinCucina, 2, 1);
    g->addWidget(Didascalia("PIN incassi:", txtPinIncassi), 3, 0);
    g->addWidget(txtPinIncassi, 3, 1);
    g->addWidget(Didascalia("Indirizzi delle pagine:", lstIndirizziWeb), 4, 0, 1, 2);
    g->addWidget(lstIndirizziWeb, 5, 0, 1, 2);
    g->addWidget(lblQrWeb, 0, 2, 6, 1);
    g->addWidget(lblNotaWeb, 6, 0, 1, 3);
    cmdChiudi = RigaChiudi(*this, *root);

    connect(chkWeb, &QCheckBox::clicked, this,
            [this](bool on) { settings_.Set(keys::WebAbilitato, on ? "1" : "0"); });
    connect(txtPortaWeb, &QLineEdit::editingFinished, this, [this] {
        txtPortaWeb->setText(Testo(settings_.Set(keys::WebPorta, Cp1252(txtPortaWeb->text()))));
        MostraIndirizzi();
    });
    connect(txtPinCucina, &QLineEdit::editingFinished, this,
            [this] { EsciPin(txtPinCucina, true); });
    connect(txtPinIncassi, &QLineEdit::editingFinished, this,
            [this] { EsciPin(txtPinIncassi, false); });
    connect(lstIndirizziWeb, &QListWidget::currentTextChanged, this, [this](const QString& a) {
        lblQrWeb->setPixmap(a.isEmpty() ? QPixmap() : CodiceQr(a.toStdString(), kLatoQr));
        lblQrWeb->setToolTip(a);
    });
}

void FrmPagineWeb::Carica() {
    const Options& o = settings_.options();
    chkWeb->setChecked(o.webEnabled);
    txtPortaWeb->setText(QString::number(o.webPort));
    txtPinCucina->setText(Testo(o.kitchenPin));
    txtPinIncassi->setText(Testo(o.takingsPin));
    const bool secondaria = o.gMultiVorsa && !o.gPrincipale;
    for (QWidget* w : std::initializer_list<QWidget*>{chkWeb, txtPortaWeb, txtPinCucina,
                                                      txtPinIncassi, lstIndirizziWeb})
        w->setEnabled(!secondaria);
    lblNotaWeb->setText(secondaria ? QStringLiteral("Su una cassa secondaria le pagine web "
                                                    "restano spente: le serve la cassa principale.")
                                   : QString());
    MostraIndirizzi();
}

void FrmPagineWeb::MostraIndirizzi() {
    const int scelto = std::max(0, lstIndirizziWeb->currentRow());
    lstIndirizziWeb->clear();
    for (const std::string& a : IndirizziPagine(indirizzi_(), settings_.options().webPort))
        lstIndirizziWeb->addItem(QString::fromStdString(a));
    if (lstIndirizziWeb->count() > 0)
        lstIndirizziWeb->setCurrentRow(std::min(scelto, lstIndirizziWeb->count() - 1));
}

void FrmPagineWeb::EsciPin(QLineEdit* box, bool cucina) {
    const std::string pin = Cp1252(box->text());
    if (ImpostaPin(settings_, cucina ? keys::PinCucina : keys::PinIncassi, pin)) {
        lblNotaWeb->clear();
        return;
    }
    const Options& o = settings_.options();
    box->setText(Testo(cucina ? o.kitchenPin : o.takingsPin));
    lblNotaWeb->setText(PinValido(pin)
                            ? QStringLiteral("PIN non salvato: il file non si pu\u00f2 scrivere.")
                            : QStringLiteral("Il PIN deve avere da 4 a 8 cifre."));
}

}  // namespace vorsa
