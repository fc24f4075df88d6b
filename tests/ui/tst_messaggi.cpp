// The interim notice window: one "OK" button, not modal, closing by itself when asked to.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "ui/messaggi.h"

class TstMessaggi : public QObject {
    Q_OBJECT
private slots:
    void notice_data();
    void notice();
};

namespace {

QMessageBox* OpenBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
    return nullptr;
}

}  // namespace

void TstMessaggi::notice_data() {
    QTest::addColumn<QString>("hint");
    QTest::addColumn<int>("closeAfterMs");
    QTest::newRow("closes by itself") << QString() << 50;
    QTest::newRow("stays, with hint") << QStringLiteral("SUGGERIMENTO: prova") << 0;
}

void TstMessaggi::notice() {
    QFETCH(QString, hint);
    QFETCH(int, closeAfterMs);
    vorsa::MessaggiBox messaggi;
    messaggi.MostraMessaggio(QStringLiteral("MULTI - VORSA"), QStringLiteral("Testo"), hint,
                             closeAfterMs);
    QPointer<QMessageBox> box = OpenBox();
    QVERIFY(box);
    QCOMPARE(box->windowTitle(), QStringLiteral("MULTI - VORSA"));
    QCOMPARE(box->text(), QStringLiteral("Testo"));
    QCOMPARE(box->informativeText(), hint);
    QVERIFY(!box->isModal());
    const auto buttons = box->buttons();
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(box->standardButton(buttons.front()), QMessageBox::Ok);
    if (closeAfterMs > 0) {
        QTRY_VERIFY_WITH_TIMEOUT(!box || !box->isVisible(), 5000);
    } else {
        QTest::qWait(150);
        QVERIFY(box && box->isVisible());
        buttons.front()->click();
        QTRY_VERIFY(!box || !box->isVisible());
    }
}

QTEST_MAIN(TstMessaggi)
#include "tst_messaggi.moc"
