// The executable started twice in one folder: the second leaves at once with code 0.
#include <QProcess>

#include "frm_vorsa_scene.h"

namespace {

/// Ends the process when the test leaves early.
struct Killer {
    QProcess& p;
    ~Killer() {
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
        }
    }
};

}  // namespace

class TstSingleInstance : public QObject {
    Q_OBJECT
  private slots:
    void secondInstanceLeaves() {
        vorsa::test::TillFixture dir;  // its folder only: the executable runs the till
        QVERIFY(dir.Valid());
        const QString exe = dir.FilePath(QStringLiteral("vorsa"));
        QVERIFY(QFile::copy(QStringLiteral(VORSA_EXE), exe));
        // The readme of this version counts as seen, so no document opens on the desktop; no
        // version check, so the test reaches no host.
        QVERIFY(dir.Write(QStringLiteral("Vorsa.ini"),
                          "[PROGRAMMA]\r\nEULA=100\r\nAGGIORNAMENTI=no\r\n"));
        const auto readIni = [&dir] { return dir.Read(QStringLiteral("Vorsa.ini")); };

        QProcess first;
        first.setProcessChannelMode(QProcess::ForwardedChannels);
        Killer killFirst{first};
        first.start(exe, {});
        QVERIFY(first.waitForStarted(10000));
        // Started up and its window loaded (the load step writes the code timer), then no write
        // for half a second: the start-up writes are over.
        QTRY_VERIFY_WITH_TIMEOUT(readIni().contains("TIMER_CODICI_MS="), 20000);
        QByteArray settled = readIni();
        for (int quiet = 0; quiet < 5;) {
            QTest::qWait(100);
            const QByteArray now = readIni();
            quiet = now == settled ? quiet + 1 : 0;
            settled = now;
        }
        QCOMPARE(first.state(), QProcess::Running);

        QProcess second;
        second.setProcessChannelMode(QProcess::ForwardedChannels);
        Killer killSecond{second};
        second.start(exe, {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        // The second one wrote nothing.
        QCOMPARE(readIni(), settled);
    }
};

QTEST_MAIN(TstSingleInstance)
#include "tst_single_instance.moc"
