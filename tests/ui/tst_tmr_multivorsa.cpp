// tmrMultivorsa: it runs every 2 seconds only while the main window is the active one in
// multi-till mode, and a tick repaints the product buttons from what another till wrote.
#include <QtTest>

#include "frm_vorsa_scene.h"
#include "platform/profile_store.h"

using namespace vorsa;
using namespace vorsa::test;

namespace {

const QByteArray kMulti = Programma("MODE=0\r\n") + "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n";

QTimer* Timer(const FrmVorsa& f) {
    return Ctl<QTimer>(f, QStringLiteral("tmrMultivorsa"));
}

}  // namespace

class TstTmrMultivorsa : public QObject {
    Q_OBJECT

    std::unique_ptr<Scena> scena_;

    void Avvia(const QByteArray& ini) {
        scena_ = std::make_unique<Scena>();
        QVERIFY(scena_->Avvia(kCatalogo + ini));
        QTRY_VERIFY(scena_->Assestata());
        scena_->frm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(scena_->frm.get()));
    }

  private slots:
    void cleanup() { scena_.reset(); }

    void runsOnlyWhileTheMainWindowIsActive() {
        Avvia(kMulti);
        QTimer* t = Timer(*scena_->frm);
        QVERIFY(t);
        QCOMPARE(t->interval(), 2000);
        QVERIFY(t->isActive());

        // Another window in front (an option dialog): no refresh behind it.
        QWidget altra;
        altra.resize(200, 100);
        altra.show();
        altra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&altra));
        QTRY_VERIFY(!t->isActive());

        altra.close();
        scena_->frm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(scena_->frm.get()));
        QTRY_VERIFY(t->isActive());
    }

    void neverRunsOnASingleTill() {
        Avvia(Programma("MODE=0\r\n"));
        QVERIFY(scena_->frm->isActiveWindow());
        QVERIFY(!Timer(*scena_->frm)->isActive());
    }

    void aTickShowsWhatAnotherTillHolds() {
        Avvia(kMulti);
        FrmVorsa& f = *scena_->frm;
        // Salsiccia (MANGIARE 4) has 5 pieces: another till's bill takes all of them.
        const int prima = f.ButtonColour(0, 4);
        auto files = MakeLocalFileAccess(false);
        ProfileStore altra(*files);
        QVERIFY(altra.Set(scena_->fx.till().paths.gFileLock, "MULTIVORSA", "4", "5"));

        QTimer* t = Timer(f);
        t->setInterval(10);
        t->start();
        QTRY_VERIFY(f.ButtonColour(0, 4) != prima);
        QCOMPARE(scena_->fx.till().cat.gArticoli[4].sharedCount, 5);
        // The timer carries on after the tick.
        QVERIFY(t->isActive());
    }
};

QTEST_MAIN(TstTmrMultivorsa)
#include "tst_tmr_multivorsa.moc"
