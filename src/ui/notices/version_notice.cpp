#include "ui/notices/version_notice.h"

#include <QMessageBox>
#include <QPointer>

#include "platform/text.h"

namespace vorsa {

void AvviaControlloVersione(ControllaVersione& check, QWidget* parent) {
    QPointer<QWidget> finestra(parent);
    check.Avvia([finestra](bool nuova) {
        if (!nuova) return;
        auto* box =
            new QMessageBox(QMessageBox::Information,
                            QString::fromStdString(Cp1252ToUtf8(std::string(kTitoloNuovaVersione))),
                            QString::fromStdString(Cp1252ToUtf8(TestoNuovaVersione()))
                                .replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                            QMessageBox::Ok, finestra.data());
        box->setObjectName(QStringLiteral("msgNuovaVersione"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    });
}

}  // namespace vorsa
