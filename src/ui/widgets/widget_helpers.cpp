#include "ui/widgets/widget_helpers.h"

#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

#include "platform/qt/twips.h"
#include "platform/text.h"

namespace vorsa {

QString Testo(const std::string& cp1252) {
    const std::string utf8 = Cp1252ToUtf8(cp1252);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string Cp1252(const QString& text) {
    return Utf8ToCp1252(text.toUtf8().toStdString());
}

QString TestoRighe(const std::string& cp1252) {
    return Testo(cp1252).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void Colloca(QWidget& w, int left, int top, int width, int height) {
    w.setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), std::max(TwipsToPixelsX(width), 0),
                  std::max(TwipsToPixelsY(height), 0));
}

void Colloca(QWidget& w, const TwipsRect& r) {
    Colloca(w, r.left, r.top, r.width, r.height);
}

QLabel* Didascalia(const char* text, QWidget* buddy) {
    auto* l = new QLabel(QString::fromUtf8(text));
    l->setBuddy(buddy);
    return l;
}

QString Indicizzato(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QColor Colore(int rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

int NumeroF(int qtKey) {
    return qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F7 ? qtKey - Qt::Key_F1 + 1 : 0;
}

void SegnalaValore(QWidget& campo, const std::string& avviso) {
    constexpr int kGialloChiaro = 0xFFFFC0;
    QPalette pal = campo.palette();
    pal.setColor(QPalette::Base,
                 avviso.empty() ? QPalette().color(QPalette::Base) : Colore(kGialloChiaro));
    campo.setPalette(pal);
    const QString testo = QString::fromLatin1(avviso.data(), static_cast<qsizetype>(avviso.size()));
    campo.setToolTip(testo);
    if (!avviso.empty() && campo.isVisible())
        QToolTip::showText(campo.mapToGlobal(QPoint(0, campo.height())), testo, &campo);
}

void ImpostaSfondo(QWidget& w, int rgb) {
    if (rgb < 0) {
        // A palette with no role of its own inherits everything again.
        w.setPalette(QPalette());
        w.setAutoFillBackground(false);
        return;
    }
    QPalette pal = w.palette();
    pal.setColor(QPalette::Button, Colore(rgb));
    pal.setColor(QPalette::Window, Colore(rgb));
    w.setPalette(pal);
    w.setAutoFillBackground(true);
}

void ImpostaColoreTesto(QWidget& w, int rgb) {
    QPalette pal = w.palette();
    pal.setColor(QPalette::WindowText, Colore(rgb));
    pal.setColor(QPalette::ButtonText, Colore(rgb));
    w.setPalette(pal);
}

void TogliBordoLista(QListWidget& list) {
    list.setFrameShape(QFrame::NoFrame);
}

QString SenzaMnemonico(const QString& caption) {
    QString s = caption;
    return s.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QPushButton* RigaChiudi(QDialog& dialog, QVBoxLayout& root) {
    auto* chiudi = new QPushButton(QStringLiteral("Chiudi"), &dialog);
    chiudi->setObjectName(QStringLiteral("cmd_Chiudi"));
    auto* basso = new QHBoxLayout;
    basso->addStretch();
    basso->addWidget(chiudi);
    root.addLayout(basso);
    QObject::connect(chiudi, &QPushButton::clicked, &dialog, &QDialog::accept);
    return chiudi;
}

}  // namespace vorsa
