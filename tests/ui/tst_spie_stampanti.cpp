// The printer lights follow the queues' states, read off the window's thread.
#include <QCheckBox>
#include <QLabel>
#include <QStyleOptionButton>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

#include "frm_vorsa_scene.h"
#include "support/qt_checks.h"
#include "ui/spie_stampanti.h"

namespace vorsa {

using test::Lettore;
using test::Spooler;

class TstSpieStampanti : public QObject {
    Q_OBJECT
  private slots:
    void ColoursFollowTheQueues() {
        // Shared with reads that may still run after the test: they outlive the widget.
        const auto pc = std::make_shared<Spooler>();
        Spooler& code = *pc;
        code.stampanti["Banco"] = {StatoCoda::Pronta, true, {}};
        code.stampanti["Cucina"] = {StatoCoda::InStampa, true, {}};
        SpieStampanti spie([pc] { return std::make_unique<Lettore>(pc); }, 20);
        spie.Imposta({"Banco", "Cucina", "Banco", "Bar"});
        QTRY_COMPARE(spie.SpiaDi(0), Spia::Verde);
        QTRY_COMPARE(spie.SpiaDi(1), Spia::Ambra);
        QCOMPARE(spie.SpiaDi(2), Spia::Rossa);  // Bar: no such queue; Banco shown once
        // Each light says its printer and state (the words: the printer states' tests).
        QVERIFY(spie.Luce(2)->toolTip().startsWith(QStringLiteral("Bar: ")));
        QCOMPARE(spie.Luce(0)->accessibleName(), spie.Luce(0)->toolTip());
        QCOMPARE(spie.Luce(1)->accessibleDescription(), QStringLiteral("spia_Stampante(1)"));

        {
            const std::lock_guard<std::mutex> lock(code.m);
            code.stampanti["Banco"] = {StatoCoda::Ferma, true, {"media-empty-error"}};
            code.stampanti["Cucina"] = {StatoCoda::Pronta, false, {}};
            code.stampanti["Bar"] = {StatoCoda::Pronta, true, {}};
        }
        QTRY_COMPARE(spie.SpiaDi(0), Spia::Rossa);
        QTRY_COMPARE(spie.SpiaDi(1), Spia::Rossa);
        QTRY_COMPARE(spie.SpiaDi(2), Spia::Verde);
        QVERIFY(spie.Luce(0)->toolTip().contains(QStringLiteral("carta esaurita")));  // reasons
        QVERIFY(spie.Luce(0)->styleSheet() != spie.Luce(2)->styleSheet());
    }

    void LightsFollowThePrintersInUse() {
        const auto pc = std::make_shared<Spooler>();
        pc->stampanti["Banco"] = {StatoCoda::Pronta, true, {}};
        pc->stampanti["Bar"] = {StatoCoda::Ferma, true, {}};
        auto elenco =
            std::make_shared<std::vector<std::string>>(std::vector<std::string>{"Banco", "Cucina"});
        SpieStampanti spie([pc] { return std::make_unique<Lettore>(pc); }, 20);
        spie.Segui([elenco] { return *elenco; });
        QTRY_COMPARE(spie.SpiaDi(1), Spia::Rossa);
        QVERIFY(spie.Luce(1)->toolTip().startsWith(QStringLiteral("Cucina: ")));
        // The kitchen order is moved to another printer in the options, while running.
        *elenco = {"Banco", "Bar", "Banco"};
        QTRY_VERIFY(spie.Luce(1)->toolTip().startsWith(QStringLiteral("Bar: ")));
        QCOMPARE(spie.findChildren<QLabel*>().size(), 2);
        QCOMPARE(spie.SpiaDi(0), Spia::Verde);
        // A third printer gets a third light.
        *elenco = {"Banco", "Bar", "Cucina"};
        QTRY_COMPARE(spie.findChildren<QLabel*>().size(), 3);
        QTRY_VERIFY(spie.Luce(2)->toolTip().startsWith(QStringLiteral("Cucina: ")));
    }

    void InTheMainWindowTheLightsAreClearOfThePrintBoxText() {
        test::Scena scena;
        QVERIFY(scena.Avvia(test::kCatalogo + test::kLetto));
        const auto pc = std::make_shared<Spooler>();
        pc->stampanti["Banco"] = {StatoCoda::Pronta, true, {}};
        pc->stampanti["Cucina"] = {StatoCoda::Ferma, true, {}};
        pc->stampanti["Bar"] = {StatoCoda::Sconosciuta, false, {}};
        SpieStampanti spie([pc] { return std::make_unique<Lettore>(pc); }, 20);
        spie.Imposta({"Banco", "Cucina", "Bar"});
        QCheckBox* box = test::ChkStampa(*scena.frm);
        spie.Affianca(box);
        QTRY_COMPARE(spie.SpiaDi(1), Spia::Rossa);
        QTRY_COMPARE(spie.SpiaDi(2), Spia::Grigia);
        QVERIFY(spie.isVisible());
        QVERIFY(box->geometry().contains(spie.geometry()));
        QStyleOptionButton o;
        o.initFrom(box);
        const QRect testo = box->style()
                                ->subElementRect(QStyle::SE_CheckBoxContents, &o, box)
                                .translated(box->pos());
        QVERIFY(spie.geometry().left() >
                testo.left() + box->fontMetrics().horizontalAdvance(box->text()));
        test::SaveScreenshot(*scena.frm, QStringLiteral("spie_stampanti"));
    }

    void AReaderThatHangsLeavesTheWindowFree() {
        const auto fermo = std::make_shared<std::mutex>();
        fermo->lock();
        const auto pc = std::make_shared<Spooler>();
        Spooler& code = *pc;
        SpieStampanti spie(
            [fermo, pc] {
                const std::lock_guard<std::mutex> attende(*fermo);  // until the test lets go
                return std::make_unique<Lettore>(pc);
            },
            10);
        QElapsedTimer t;
        t.start();
        spie.Imposta({"Banco"});
        QTest::qWait(100);  // the window's events run while the read waits
        QVERIFY(t.elapsed() < 1000);
        QCOMPARE(spie.SpiaDi(0), Spia::Grigia);  // not read yet: unknown, not a guess
        {
            const std::lock_guard<std::mutex> lock(code.m);
            code.stampanti["Banco"] = {StatoCoda::Pronta, true, {}};
        }
        fermo->unlock();
        QTRY_COMPARE(spie.SpiaDi(0), Spia::Verde);
    }

    void ALightsReadInProgressEndsBeforeTheLightsGo() {
        // At the till's close a read still running is waited for: no thread of the lights
        // outlives them (and the application) to touch the spooler or the reader afterwards.
        const auto letture = std::make_shared<std::atomic<int>>(0);
        const auto finite = std::make_shared<std::atomic<int>>(0);
        const auto pc = std::make_shared<Spooler>();
        {
            SpieStampanti spie(
                [letture, finite, pc] {
                    ++*letture;
                    std::this_thread::sleep_for(std::chrono::milliseconds(150));
                    ++*finite;
                    return std::make_unique<Lettore>(pc);
                },
                10);
            spie.Imposta({"Banco"});
            QTRY_VERIFY(*letture > 0);
        }
        QCOMPARE(finite->load(), letture->load());
    }
};

}  // namespace vorsa

QTEST_MAIN(vorsa::TstSpieStampanti)
#include "tst_spie_stampanti.moc"
