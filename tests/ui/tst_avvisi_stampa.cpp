// Printer notices in the message window: never modal for a notice alone; a lost kitchen order
// is offered again and printed only once its printer is back.
#include <QCoreApplication>
#include <QtTest>
#include <map>

#include "test_support.h"
#include "ui/avvisi_stampa.h"

namespace vorsa {

/// A spooler whose printers the test sets; its jobs complete or fail as told.
class SpoolerFinto final : public StatoStampanti {
  public:
    std::map<std::string, StatoStampante> stampanti;
    std::map<int, EsitoLavoro> esiti;
    StatoStampante Stato(const std::string& s) override {
        const auto it = stampanti.find(s);
        return it == stampanti.end() ? StatoStampante{} : it->second;
    }
    int UltimoLavoro(const std::string&) override { return 0; }
    std::vector<int> LavoriDopo(const std::string&, int) override {
        std::vector<int> v;
        for (const auto& [id, e] : esiti) v.push_back(id);
        return v;
    }
    EsitoLavoro Esito(int id) override { return esiti[id]; }
};

class TstAvvisiStampa : public QObject {
    Q_OBJECT
  private slots:
    void ReceiptNoticeIsNotModalAndPointsToF5() {
        test::RecordingMessaggi m;
        SpoolerFinto sp;
        AvvisiStampa a(m, sp, 10);
        a.Sorveglianza().PrimaDiStampare({{"Banco", "Scontrino", 0}});
        QCOMPARE(m.calls.size(), std::size_t{1});
        QVERIFY(!m.calls[0].modal);
        QVERIFY(m.calls[0].text.contains(QStringLiteral("\"Banco\" non trovata")));
        QVERIFY(m.calls[0].text.contains(QStringLiteral("Scontrino")));
        QVERIFY(m.calls[0].hint.contains(QStringLiteral("F5")));
    }

    void StoppedQueueNoticeOffersNothing() {
        test::RecordingMessaggi m;
        SpoolerFinto sp;
        sp.stampanti["Cucina"] = {StatoCoda::Ferma, true, {"media-empty-error"}};
        AvvisiStampa a(m, sp, 10);
        int ristampe = 0;
        a.ristampaComanda = [&](int) { return ++ristampe > 0; };
        a.Sorveglianza().PrimaDiStampare({{"Cucina", "Comanda Primi", 1}});
        QCoreApplication::processEvents();
        QCOMPARE(m.calls.size(), std::size_t{1});
        QVERIFY(m.calls[0].text.contains(QStringLiteral("carta esaurita")));
        QVERIFY(m.calls[0].hint.isEmpty());
        QCOMPARE(ristampe, 0);
    }

    void AbortedKitchenOrderIsPrintedAgainOnlyWhenThePrinterIsBack() {
        test::RecordingMessaggi m;
        SpoolerFinto sp;
        sp.stampanti["Cucina"] = {StatoCoda::Pronta, true, {}};
        AvvisiStampa a(m, sp, 10);
        std::vector<int> ristampe;
        a.ristampaComanda = [&](int k) {
            ristampe.push_back(k);
            return true;
        };
        a.Sorveglianza().PrimaDiStampare({{"Cucina", "Comanda Primi", 3}});
        sp.esiti[1] = EsitoLavoro::Interrotto;
        a.Sorveglianza().DopoAverStampato();
        // Followed by the window's timer; asked after the poll returned.
        QTRY_COMPARE(m.calls.size(), std::size_t{1});
        QVERIFY(m.calls[0].modal);
        QCOMPARE(m.calls[0].caption1, QStringLiteral("Ristampa"));
        QVERIFY(m.calls[0].text.contains(QStringLiteral("Comanda Primi")));
        QCOMPARE(ristampe, std::vector<int>{3});
        QVERIFY(!a.Sorveglianza().Seguendo());
    }

    void ReprintWaitsWhileThePrinterIsStillDown() {
        test::RecordingMessaggi m;
        SpoolerFinto sp;
        int ristampe = 0;
        // Missing at first; "Ristampa" is pressed once while still missing, then "Chiudi".
        int risposte = 0;
        struct Risponde final : Messaggi {
            test::RecordingMessaggi* m;
            int* n;
            std::int16_t MostraMessaggio(const QString& t, const QString& x, const QString& h,
                                         bool b, const QString& c0, const QString& c1, bool mo,
                                         int i) override {
                m->MostraMessaggio(t, x, h, b, c0, c1, mo, i);
                return ++*n == 1 ? 6 : 7;
            }
        } r;
        r.m = &m;
        r.n = &risposte;
        AvvisiStampa b(r, sp, 10);
        b.ristampaComanda = [&](int) { return ++ristampe > 0; };
        b.Sorveglianza().PrimaDiStampare({{"Cucina", "Comanda Primi", 1}});
        QTRY_COMPARE(m.calls.size(), std::size_t{2});
        QVERIFY(m.calls[1].hint.contains(QStringLiteral("non \u00E8 ancora pronta")));
        QCOMPARE(ristampe, 0);
    }
};

}  // namespace vorsa

QTEST_MAIN(vorsa::TstAvvisiStampa)
#include "tst_avvisi_stampa.moc"
