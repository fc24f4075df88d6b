// Qt's standard boxes speak Italian once Qt's own translation is installed.
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "ui/widgets/qt_translations.h"

namespace {

/// A button's caption without its mnemonic marker.
QString Testo(const QAbstractButton* b) {
    return b ? QString(b->text()).remove(QLatin1Char('&')) : QStringLiteral("<no button>");
}

QStringList CaptionsMessageBox() {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("t"), QStringLiteral("x"),
                    QMessageBox::Yes | QMessageBox::No);
    return {Testo(box.button(QMessageBox::Yes)), Testo(box.button(QMessageBox::No))};
}

QStringList CaptionsInputDialog() {
    QInputDialog d;
    d.setLabelText(QStringLiteral("x"));
    d.show();  // the dialog builds its buttons when first shown
    const auto* buttons = d.findChild<QDialogButtonBox*>();
    return {Testo(buttons ? buttons->button(QDialogButtonBox::Ok) : nullptr),
            Testo(buttons ? buttons->button(QDialogButtonBox::Cancel) : nullptr)};
}

}  // namespace

class TstTraduzioniQt : public QObject {
    Q_OBJECT
  private slots:
    void standardButtonsInItalian() {
        // Without the translation Qt speaks English: the check below tells the two apart.
        QCOMPARE(CaptionsMessageBox(), (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
        QCOMPARE(CaptionsInputDialog().at(1), QStringLiteral("Cancel"));

        QVERIFY2(vorsa::InstallaTraduzioniQt(*QCoreApplication::instance()),
                 "qtbase_it.qm missing: package qt6-translations-l10n");
        QCOMPARE(CaptionsMessageBox(),
                 (QStringList{QString::fromUtf8("S\u00ec"), QStringLiteral("No")}));
        QCOMPARE(CaptionsInputDialog(),
                 (QStringList{QStringLiteral("OK"), QStringLiteral("Annulla")}));
    }
};

QTEST_MAIN(TstTraduzioniQt)
#include "tst_qt_translations.moc"
