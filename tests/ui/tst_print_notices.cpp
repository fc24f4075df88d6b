// The printers watched off the window's thread. The lights follow the queues' states. The
// notices in the message window: one alone is never modal, and a lost kitchen order stays
// offered until it is printed again (only once its printer is back) or a later bill makes it
// stale.
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "frm_vorsa_scene.h"
#include "support/qt_checks.h"
#include "ui/notices/frm_messaggi.h"
#include "ui/notices/print_notices.h"
#include "ui/notices/printer_lights.h"

namespace vorsa {

using test::Spooler;
using test::StatesReader;

const PrinterState kPronta{QueueState::Pronta, true, {}};

struct Banco {
    std::shared_ptr<Spooler> sp = std::make_shared<Spooler>();
    test::RecordingMessaggi m;
    std::vector<int> ristampe;
    std::int32_t conto = 7;
    std::unique_ptr<PrintNotices> a;

    /// Notices go to `finestra`, or are recorded and closed with "Chiudi" unless scripted.
    explicit Banco(Messages* finestra = nullptr) {
        m.answer = 7;
        a = std::make_unique<PrintNotices>(
            finestra ? *finestra : m, [s = sp] { return std::make_unique<StatesReader>(s); },
            PrintNotices::Reprint{[this](int k) {
                                      ristampe.push_back(k);
                                      return true;
                                  },
                                  [this] { return conto; }},
            10);
    }
    void Stampante(const std::string& n, PrinterState s) {
        const std::lock_guard<std::mutex> lock(sp->m);
        sp->stampanti[n] = std::move(s);
    }
    Sheet Primi() const { return {"Cucina", "Comanda Primi", 3, conto}; }
    /// The kitchen order sent to a ready printer, its job ending as `esito`.
    void Stampato(JobResult esito) {
        Stampante("Cucina", kPronta);
        a->PrimaDiStampare({Primi()});
        {
            const std::lock_guard<std::mutex> lock(sp->m);
            sp->esiti[1] = esito;
        }
        a->DopoAverStampato();
    }
};

class TstAvvisiStampa : public QObject {
    Q_OBJECT
  private slots:
    void LightsFollowTheQueuesAndThePrintersInUse() {
        // Shared with reads that may still run after the test: they outlive the widget.
        const auto pc = std::make_shared<Spooler>();
        Spooler& code = *pc;
        code.stampanti["Banco"] = {QueueState::Pronta, true, {}};
        code.stampanti["Cucina"] = {QueueState::InStampa, true, {}};
        auto elenco = std::make_shared<std::vector<std::string>>(
            std::vector<std::string>{"Banco", "Cucina", "Banco", "Bar"});
        PrinterLights spie([pc] { return std::make_unique<StatesReader>(pc); }, 20);
        spie.Segui([elenco] { return *elenco; });
        QTRY_COMPARE(spie.SpiaDi(0), Light::Verde);
        QTRY_COMPARE(spie.SpiaDi(1), Light::Ambra);
        QCOMPARE(spie.SpiaDi(2), Light::Rossa);  // Bar: no such queue; Banco shown once
        // Each light says its printer and state (the words: the printer states' tests).
        QVERIFY(spie.Luce(2)->toolTip().startsWith(QStringLiteral("Bar: ")));
        QCOMPARE(spie.Luce(0)->accessibleName(), spie.Luce(0)->toolTip());
        QCOMPARE(spie.Luce(1)->accessibleDescription(), QStringLiteral("spia_Stampante(1)"));

        {
            const std::lock_guard<std::mutex> lock(code.m);
            code.stampanti["Banco"] = {QueueState::Ferma, true, {"media-empty-error"}};
            code.stampanti["Cucina"] = {QueueState::Pronta, false, {}};
            code.stampanti["Bar"] = {QueueState::Pronta, true, {}};
        }
        QTRY_COMPARE(spie.SpiaDi(0), Light::Rossa);
        QTRY_COMPARE(spie.SpiaDi(1), Light::Rossa);
        QTRY_COMPARE(spie.SpiaDi(2), Light::Verde);
        QVERIFY(spie.Luce(0)->toolTip().contains(QStringLiteral("carta esaurita")));  // reasons
        QVERIFY(spie.Luce(0)->styleSheet() != spie.Luce(2)->styleSheet());
        // The kitchen order is moved to another printer in the options, while running.
        *elenco = {"Banco", "Bar", "Banco"};
        QTRY_COMPARE(spie.findChildren<QLabel*>().size(), 2);
        QTRY_VERIFY(spie.Luce(1)->toolTip().startsWith(QStringLiteral("Bar: ")));
        // A third printer gets a third light.
        *elenco = {"Banco", "Bar", "Cucina"};
        QTRY_COMPARE(spie.findChildren<QLabel*>().size(), 3);
        QTRY_VERIFY(spie.Luce(2)->toolTip().startsWith(QStringLiteral("Cucina: ")));
    }

    void AReaderThatHangsLeavesTheWindowFree() {
        const auto fermo = std::make_shared<std::mutex>();
        fermo->lock();
        const auto pc = std::make_shared<Spooler>();
        Spooler& code = *pc;
        PrinterLights spie(
            [fermo, pc] {
                const std::lock_guard<std::mutex> attende(*fermo);  // until the test lets go
                return std::make_unique<StatesReader>(pc);
            },
            10);
        QElapsedTimer t;
        t.start();
        spie.Imposta({"Banco"});
        QTest::qWait(100);  // the window's events run while the read waits
        QVERIFY(t.elapsed() < 1000);
        QCOMPARE(spie.SpiaDi(0), Light::Grigia);  // not read yet: unknown, not a guess
        {
            const std::lock_guard<std::mutex> lock(code.m);
            code.stampanti["Banco"] = {QueueState::Pronta, true, {}};
        }
        fermo->unlock();
        QTRY_COMPARE(spie.SpiaDi(0), Light::Verde);
    }

    void ALightsReadInProgressEndsBeforeTheLightsGo() {
        // At the till's close a read still running is waited for: no thread of the lights
        // outlives them (and the application) to touch the spooler or the reader afterwards.
        const auto letture = std::make_shared<std::atomic<int>>(0);
        const auto finite = std::make_shared<std::atomic<int>>(0);
        const auto pc = std::make_shared<Spooler>();
        {
            PrinterLights spie(
                [letture, finite, pc] {
                    ++*letture;
                    std::this_thread::sleep_for(std::chrono::milliseconds(150));
                    ++*finite;
                    return std::make_unique<StatesReader>(pc);
                },
                10);
            spie.Imposta({"Banco"});
            QTRY_VERIFY(*letture > 0);
        }
        QCOMPARE(finite->load(), letture->load());
    }

    void NoticesAloneAreNotModalAndOfferNothing() {
        // The receipt's printer missing points to F5; a stopped kitchen queue says why.
        const struct {
            Sheet foglio;
            PrinterState stato;
            const char* testo;
            bool f5;
        } casi[] = {{{"Banco", "Scontrino", 0, 7}, {}, "\"Banco\" non trovata", true},
                    {{"Cucina", "Comanda Primi", 3, 7},
                     {QueueState::Ferma, true, {"media-empty-error"}},
                     "carta esaurita",
                     false}};
        for (const auto& c : casi) {
            Banco b;
            b.Stampante(c.foglio.stampante, c.stato);
            b.a->PrimaDiStampare({c.foglio});
            QTRY_COMPARE(b.m.calls.size(), std::size_t{1});
            QVERIFY(!b.m.calls[0].modal);
            QVERIFY(b.m.calls[0].text.contains(QString::fromUtf8(c.testo)));
            QCOMPARE(b.m.calls[0].hint.contains(QStringLiteral("F5")), c.f5);
            QVERIFY(b.ristampe.empty() && b.a->Offerte().empty());
        }
    }

    void ChecksRunOffTheWindowsThreadAndNeverHoldIt() {
        Banco b;
        b.sp->fermo.lock();  // the spooler hangs
        QElapsedTimer t;
        t.start();
        b.a->PrimaDiStampare({{"Banco", "Scontrino", 0, 7}});
        b.a->DopoAverStampato();
        QVERIFY(t.elapsed() < 500);
        QTest::qWait(100);  // the window's events run while the worker waits
        QVERIFY(b.m.calls.empty());
        b.sp->fermo.unlock();
        QTRY_COMPARE(b.m.calls.size(), std::size_t{1});
        const std::lock_guard<std::mutex> lock(b.sp->m);
        QVERIFY(!b.sp->fili.empty());
        for (const Qt::HANDLE f : b.sp->fili) QVERIFY(f != QThread::currentThreadId());
    }

    void AnAbortedKitchenOrderIsOfferedUntilItIsPrintedAgain() {
        Banco b;
        b.Stampato(JobResult::Interrotto);  // the device failed, the queue looks fine
        // Followed by the poll; asked once it returned, and closed.
        QTRY_COMPARE(b.m.calls.size(), std::size_t{1});
        QVERIFY(b.m.calls[0].modal);
        QCOMPARE(b.m.calls[0].caption1, QStringLiteral("Ristampa"));
        QVERIFY(b.m.calls[0].text.contains(QStringLiteral("Comanda Primi")));
        QTRY_VERIFY(!b.a->Seguendo());
        QTest::qWait(80);
        QCOMPARE(b.m.calls.size(), std::size_t{1});  // not asked again by itself
        QCOMPARE(b.a->Offerte().size(), std::size_t{1});
        // Asked for by the operator and accepted: printed once the printer answered.
        b.m.risposte = {6};
        b.a->Riproponi();
        QTRY_COMPARE(b.ristampe, std::vector<int>{3});
        QCOMPARE(b.m.calls.size(), std::size_t{2});
        QVERIFY(b.a->Offerte().empty());  // printed: not offered again
        b.a->Riproponi();
        QCOMPARE(b.m.calls.size(), std::size_t{2});
    }

    void AnOfferStaysWhileThePrinterIsDownAndReturnsWhenItIsBack() {
        Banco b;
        b.m.risposte = {6, 7};  // "Ristampa" while still missing, then "Chiudi"
        b.a->PrimaDiStampare({b.Primi()});
        QTRY_COMPARE(b.m.calls.size(), std::size_t{2});
        QVERIFY(b.m.calls[1].hint.contains(QStringLiteral("non \u00E8 ancora pronta")));
        QVERIFY(b.ristampe.empty());
        QCOMPARE(b.a->Offerte().size(), std::size_t{1});
        QTRY_VERIFY(b.a->Offerte()[0].pronta == false);  // polled while still missing
        QTest::qWait(60);                                // and asked nothing
        QCOMPARE(b.m.calls.size(), std::size_t{2});
        // Asked for by the operator: the same offer again.
        b.a->Riproponi();
        QCOMPARE(b.m.calls.size(), std::size_t{3});
        QCOMPARE(b.m.calls[2].text, b.m.calls[0].text);
        // The printer comes back: offered by itself, once, and printed when accepted.
        b.m.risposte = {6};
        b.Stampante("Cucina", kPronta);
        QTRY_COMPARE(b.ristampe, std::vector<int>{3});
        QCOMPARE(b.m.calls.size(), std::size_t{4});
        QVERIFY(b.m.calls[3].hint.contains(QStringLiteral("di nuovo pronta")));
        QVERIFY(b.a->Offerte().empty());
    }

    void ALaterBillMakesTheOfferStale() {
        Banco b;
        b.a->PrimaDiStampare({b.Primi()});
        QTRY_COMPARE(b.a->Offerte().size(), std::size_t{1});
        ++b.conto;  // the next bill: "Ristampa" would print its kitchen order, not this one
        QVERIFY(b.a->Offerte().empty());
        b.a->Riproponi();
        b.Stampante("Cucina", kPronta);
        QTest::qWait(60);
        QCOMPARE(b.m.calls.size(), std::size_t{1});
        QVERIFY(b.ristampe.empty());
    }

    void TheOfferInTheMessageWindowIsReadableAndClosedStaysOpen() {
        QtMessages finestra;
        Banco b(&finestra);
        QString titolo, testo, suggerimento, chiudi;
        bool intero = true;
        auto* guarda = new QTimer(b.a.get());
        connect(guarda, &QTimer::timeout, guarda, [&] {
            FrmMessaggi* f = finestra.Finestra();
            if (!f || !f->isVisible()) return;
            guarda->stop();
            for (QLabel* l : f->findChildren<QLabel*>()) {
                if (l->text().isEmpty() || !l->isVisible()) continue;
                // Every text fits its label: wrapped lines are not cut off.
                if (l->heightForWidth(l->width()) > l->height()) intero = false;
                if (l->objectName() == QStringLiteral("lblTitolo")) titolo = l->text();
                if (l->objectName() == QStringLiteral("lblTesto")) testo = l->text();
                if (l->objectName() == QStringLiteral("lblSuggerimento")) suggerimento = l->text();
            }
            test::SaveScreenshot(*f, QStringLiteral("offerta_ristampa"));
            chiudi = f->Bottone(0)->text();
            QTest::mouseClick(f->Bottone(0), Qt::LeftButton);
        });
        guarda->start(5);
        b.a->PrimaDiStampare({b.Primi()});
        QTRY_VERIFY(!chiudi.isEmpty());
        QCOMPARE(chiudi, QStringLiteral("Chiudi"));
        QVERIFY(titolo.contains(QStringLiteral("Cucina")));
        QVERIFY(testo.contains(QStringLiteral("Comanda Primi")));
        QVERIFY(suggerimento.contains(QStringLiteral("spie")));
        QVERIFY(intero);
        QTRY_VERIFY(!finestra.IsOpen());
        QCOMPARE(b.a->Offerte().size(), std::size_t{1});
    }
};

}  // namespace vorsa

QTEST_MAIN(vorsa::TstAvvisiStampa)
#include "tst_print_notices.moc"
