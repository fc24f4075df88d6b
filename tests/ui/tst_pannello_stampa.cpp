// The printer controls of the settings panel: lists, the custom roll width and the notice
// when no printer is installed.
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "frm_vorsa_scene.h"
#include "printing/receipt_printer.h"
#include "support/recording_backend.h"
#include "ui/pannello_stampa.h"

using namespace vorsa;
using namespace vorsa::test;

class TstPannelloStampa : public QObject {
    Q_OBJECT

  private slots:
    void listsFollowThePrintersAndTheFormat() {
        Scena s;
        QVERIFY(s.Avvia(Programma("[STAMPA]\r\nSTAMPANTE=Cucina\r\nFORMATO=3\r\n")));
        RecordingBackend backend({"Banco", "Cucina"});
        ReceiptPrinter printer(s.fx.till().PartiStampa(), backend);
        PannelloStampa p(*Gestione(*s.frm, 1), s.fx.till().settings, &printer, s.fx.till().cat, {});
        QCOMPARE(p.cboStampaLista->count(), 2);
        QCOMPARE(p.cboStampaLista->currentText(), QStringLiteral("Cucina"));
        QCOMPARE(p.cboStampaFormato->count(), 7);
        QCOMPARE(p.cboStampaFormato->itemText(0), QStringLiteral("A4"));
        QCOMPARE(p.cboStampaFormato->currentText(), QStringLiteral("POS 57mm"));
        QVERIFY(!p.txtLarghezzaNastro->isEnabled());
        QVERIFY(p.lblNessunaStampante->isHidden());

        const int pers = p.cboStampaFormato->findText(QStringLiteral("POS pers."));
        p.cboStampaFormato->setCurrentIndex(pers);
        emit p.cboStampaFormato->activated(pers);
        QVERIFY(p.txtLarghezzaNastro->isEnabled());
        QCOMPARE(p.txtLarghezzaNastro->text(), QStringLiteral("10,5"));
        QVERIFY(
            SectionLines(s.fx.Read(QStringLiteral("Vorsa.ini")), "STAMPA").contains("FORMATO=4"));

        p.txtLarghezzaNastro->setFocus();
        p.txtLarghezzaNastro->clear();
        QTest::keyClicks(p.txtLarghezzaNastro, QStringLiteral("8.255x"));  // decimal filter
        QCOMPARE(p.txtLarghezzaNastro->text(), QStringLiteral("8,25"));
        BoxCodice(*s.frm)->setFocus();
        QVERIFY(SectionLines(s.fx.Read(QStringLiteral("Vorsa.ini")), "STAMPA")
                    .contains("LARGHEZZA_POS=8,25"));

        emit p.cboStampaLista->activated(0);
        QVERIFY(SectionLines(s.fx.Read(QStringLiteral("Vorsa.ini")), "STAMPA")
                    .contains("STAMPANTE=Banco"));
    }

    void noPrinterInstalled() {
        Scena s;
        QVERIFY(s.Avvia(kLetto));
        RecordingBackend backend(std::vector<std::string>{});
        ReceiptPrinter printer(s.fx.till().PartiStampa(), backend);
        PannelloStampa p(*Gestione(*s.frm, 1), s.fx.till().settings, &printer, s.fx.till().cat, {});
        Gestione(*s.frm, 1)->show();
        QVERIFY(p.lblNessunaStampante->isVisible());
        QVERIFY(p.lblNessunaStampante->text().startsWith(
            QStringLiteral("Nessuna stampante installata")));
        QVERIFY(!p.cboStampaLista->isEnabled());
        QVERIFY(!p.btnStampaTest->isEnabled());
    }
};

QTEST_MAIN(TstPannelloStampa)
#include "tst_pannello_stampa.moc"
