// Twips <-> pixels at the screen's logical resolution.
#include <QtTest>

#include "platform/qt/twips.h"

using namespace vorsa;

class TstTwips : public QObject {
    Q_OBJECT
  private slots:
    void conversions_data() {
        QTest::addColumn<int>("twips");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("backToTwips");
        QTest::newRow("one inch at 96") << 1440 << 96.0 << 96 << 1440;
        QTest::newRow("minimum width at 96") << 15380 << 96.0 << 1025 << 15375;
        QTest::newRow("rounds to nearest") << 7 << 96.0 << 0 << 0;
        QTest::newRow("rounds up from half") << 8 << 96.0 << 1 << 15;
        QTest::newRow("splash width at 144") << 5235 << 144.0 << 524 << 5240;
    }

    void conversions() {
        QFETCH(int, twips);
        QFETCH(double, dpi);
        QFETCH(int, pixels);
        QFETCH(int, backToTwips);
        QCOMPARE(TwipsToPixels(twips, dpi), pixels);
        QCOMPARE(PixelsToTwips(pixels, dpi), backToTwips);
    }

    void primaryScreen() {
        // The test screen: 1920 x 1080 pixels at 96 dpi.
        QCOMPARE(LogicalDpiX(), 96.0);
        QCOMPARE(TwipsToPixelsX(1440), 96);
        QCOMPARE(PixelsToTwipsY(96), 1440);
        const ScreenTwips s = PrimaryScreenTwips();
        QCOMPARE(s.width, 1920 * 15);
        QCOMPARE(s.height, 1080 * 15);
    }
};

QTEST_MAIN(TstTwips)
#include "tst_twips.moc"
