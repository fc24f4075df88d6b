// The printer controls of the settings panel: lists, the custom roll width and the notice
// when no printer is installed.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "frm_vorsa_scene.h"

using namespace vorsa;
using namespace vorsa::test;

class TstPannelloStampa : public QObject {
    Q_OBJECT

  private slots:
    void listsFollowThePrintersAndTheFormat() {
        Scena s;
        QVERIFY(s.Avvia(Programma("[STAMPA]\r\nSTAMPANTE=Cucina\r\nFORMATO=3\r\n")));
        s.Stampanti({"Banco", "Cucina"});
        auto* lista = Ctl<QComboBox>(*s.frm, QStringLiteral("cbo_StampaLista"));
        auto* formato = Ctl<QComboBox>(*s.frm, QStringLiteral("cbo_StampaFormato"));
        auto* larghezza = Ctl<QLineEdit>(*s.frm, QStringLiteral("txt_LarghezzaNastro"));
        QCOMPARE(lista->count(), 2);
        QCOMPARE(lista->currentText(), QStringLiteral("Cucina"));
        QCOMPARE(formato->currentIndex(), formato->findData(3));
        QVERIFY(!larghezza->isEnabled());
        QVERIFY(Ctl<QLabel>(*s.frm, QStringLiteral("lblNessunaStampante"))->isHidden());

        const int pers = formato->findData(4);  // the custom roll
        formato->setCurrentIndex(pers);
        emit formato->activated(pers);
        QVERIFY(larghezza->isEnabled());
        QCOMPARE(s.Chiave("STAMPA", "FORMATO"), QByteArray("4"));
        larghezza->setFocus();
        larghezza->clear();
        QTest::keyClicks(larghezza, QStringLiteral("8.255x"));  // decimal filter
        QCOMPARE(larghezza->text(), QStringLiteral("8,25"));
        BoxCodice(*s.frm)->setFocus();
        QCOMPARE(s.Chiave("STAMPA", "LARGHEZZA_POS"), QByteArray("8,25"));
        emit lista->activated(0);
        QCOMPARE(s.Chiave("STAMPA", "STAMPANTE"), QByteArray("Banco"));
    }

    void noPrinterInstalled() {
        Scena s;
        QVERIFY(s.Avvia(kLetto));
        s.Stampanti({});
        QVERIFY(Ctl<QLabel>(*s.frm, QStringLiteral("lblNessunaStampante"))->isVisible());
        QVERIFY(!Ctl<QComboBox>(*s.frm, QStringLiteral("cbo_StampaLista"))->isEnabled());
        QVERIFY(!Ctl<QPushButton>(*s.frm, QStringLiteral("btn_StampaTest"))->isEnabled());
    }
};

QTEST_MAIN(TstPannelloStampa)
#include "tst_pannello_stampa.moc"
