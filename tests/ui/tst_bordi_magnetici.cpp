// Window snapping in the real main window under the offscreen platform (one 1920 x 1080
// screen): moved or resized near the work area's edges, frm_Vorsa lands on them.
#include <QScreen>

#include "frm_vorsa_scene.h"
#include "ui/c_magnetic_wnd.h"

namespace vorsa {

using test::Programma;
using test::Scena;

class TstBordiMagnetici : public QObject {
    Q_OBJECT

    static QByteArray Ini(const QByteArray& bordi) {
        return Programma("MODE=0\r\nTOP=3000\r\nLEFT=3000\r\nWIDTH=15380\r\n" + bordi);
    }

    /// The window's frame settled at `x`, `y` after its move events ran.
    static bool Vale(const QWidget& w, int x, int y) {
        QTest::qWait(50);
        return w.frameGeometry().topLeft() == QPoint(x, y);
    }

  private slots:
    void init() {
        if (!cMagneticWnd::PiattaformaConsente())
            QSKIP("this window system does not let the till place its window");
    }

    void snapsToTheWorkAreaWithinTheSensitivity_data() {
        QTest::addColumn<QByteArray>("bordi");
        QTest::addColumn<QPoint>("spostamento");  // from the work area's top-left
        QTest::addColumn<QPoint>("atteso");
        // The distances themselves are the snapping rules' core tests; here the window obeys
        // the options as start-up read them.
        const QByteArray si = "BORDI MAGNETICI=Si\r\nBORDI MAGNETICI SENSIBILITA=20\r\n";
        QTest::newRow("corner") << si << QPoint(-9, 7) << QPoint(0, 0);
        QTest::newRow("healed 5 is 20")
            << QByteArray("BORDI MAGNETICI SENSIBILITA=5\r\n") << QPoint(15, 300) << QPoint(0, 300);
        QTest::newRow("off") << QByteArray("BORDI MAGNETICI=no\r\n") << QPoint(15, 300)
                             << QPoint(15, 300);
    }
    void snapsToTheWorkAreaWithinTheSensitivity() {
        QFETCH(QByteArray, bordi);
        QFETCH(QPoint, spostamento);
        QFETCH(QPoint, atteso);
        Scena s;
        QVERIFY(s.Avvia(Ini(bordi)));
        const std::unique_ptr<cMagneticWnd> m = AttivaBordiMagnetici(*s.frm, s.fx.till().opt);
        QCOMPARE(m != nullptr, s.fx.till().opt.gBordiMagnetici);
        if (m) QCOMPARE(m->SnapWidth(), 20);
        QTRY_VERIFY(s.Assestata());
        const QPoint origine = s.frm->screen()->availableGeometry().topLeft();
        s.frm->move(origine + spostamento);
        QTRY_VERIFY(Vale(*s.frm, origine.x() + atteso.x(), origine.y() + atteso.y()));
    }

    // The left edge dragged near the work area's: it lands there, the right edge stays.
    void resizingSnapsTheDraggedEdge() {
        Scena s;
        QVERIFY(s.Avvia(Ini("BORDI MAGNETICI=Si\r\n")));
        const std::unique_ptr<cMagneticWnd> m = AttivaBordiMagnetici(*s.frm, s.fx.till().opt);
        QTRY_VERIFY(s.Assestata());
        const QPoint origine = s.frm->screen()->availableGeometry().topLeft();
        s.frm->move(origine + QPoint(200, 100));
        QTRY_VERIFY(Vale(*s.frm, origine.x() + 200, origine.y() + 100));
        const QRect g = s.frm->geometry();
        s.frm->setGeometry(origine.x() + 14, g.y(), g.right() - (origine.x() + 14) + 1, g.height());
        QTRY_COMPARE(s.frm->geometry().left(), origine.x());
        QCOMPARE(s.frm->geometry().right(), g.right());
    }

    void theSameWindowIsAddedOnceAndForgottenWhenGone() {
        QWidget a;
        QWidget b;
        QWidget figlio(&a);
        cMagneticWnd m;
        QVERIFY(m.AddWindow(&a));
        QVERIFY(!m.AddWindow(&a));
        QVERIFY(!m.AddWindow(nullptr));
        QVERIFY(!m.AddWindow(&figlio));      // not a window of its own
        QVERIFY(!m.AddWindow(&b, &figlio));  // a parent must be a window too
        QVERIFY(m.AddWindow(&b, &a));
        QVERIFY(m.RemoveWindow(&a));
        QVERIFY(m.RemoveWindow(&b));
        QVERIFY(!m.RemoveWindow(&b));  // the list is empty
        // A managed window that goes away is forgotten, not moved later.
        auto c = std::make_unique<QWidget>();
        QVERIFY(m.AddWindow(c.get()));
        c.reset();
        auto d = std::make_unique<QWidget>();  // may even reuse the old address
        QVERIFY(m.AddWindow(d.get()));
        QVERIFY(m.RemoveWindow(d.get()));
        QVERIFY(!m.RemoveWindow(d.get()));  // empty: the destroyed one was dropped
    }
};

}  // namespace vorsa

QTEST_MAIN(vorsa::TstBordiMagnetici)
#include "tst_bordi_magnetici.moc"
