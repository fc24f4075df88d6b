// The start-up splash window.
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QtTest>

#include "platform/qt/twips.h"
#include "ui/frm_splash.h"

class TstFrmSplash : public QObject {
    Q_OBJECT
  private slots:
    void looks();
};

void TstFrmSplash::looks() {
    vorsa::FrmSplash splash;
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QCOMPARE(splash.objectName(), QStringLiteral("frm_Splash"));
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(splash.size(), QSize(vorsa::TwipsToPixelsX(5235), vorsa::TwipsToPixelsY(735)));
    const auto labels = splash.findChildren<QLabel*>();
    QCOMPARE(labels.size(), 1);
    const QLabel* l = labels.front();
    QCOMPARE(l->text(), QStringLiteral("Caricamento in corso..."));
    QCOMPARE(l->alignment(), Qt::AlignCenter);
    QCOMPARE(l->frameShape(), QFrame::Box);
    QCOMPARE(l->geometry(), splash.rect());
    QVERIFY(l->isVisible());
    // Centred on the screen.
    QCOMPARE(splash.frameGeometry().center(),
             QGuiApplication::primaryScreen()->availableGeometry().center());
}

QTEST_MAIN(TstFrmSplash)
#include "tst_frm_splash.moc"
