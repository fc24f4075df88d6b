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

namespace {

/// The panel's controls, found by name as a GUI test tool finds them.
struct Controlli {
    explicit Controlli(const FrmVorsa& f)
        : lista(Ctl<QComboBox>(f, QStringLiteral("cbo_StampaLista"))),
          formato(Ctl<QComboBox>(f, QStringLiteral("cbo_StampaFormato"))),
          larghezza(Ctl<QLineEdit>(f, QStringLiteral("txt_LarghezzaNastro"))),
          test(Ctl<QPushButton>(f, QStringLiteral("btn_StampaTest"))),
          nessuna(Ctl<QLabel>(f, QStringLiteral("lblNessunaStampante"))) {}
    QComboBox* lista;
    QComboBox* formato;
    QLineEdit* larghezza;
    QPushButton* test;
    QLabel* nessuna;
};

}  // namespace

class TstPannelloStampa : public QObject {
    Q_OBJECT

  private slots:
    void listsFollowThePrintersAndTheFormat() {
        Scena s;
        QVERIFY(s.Avvia(Programma("[STAMPA]\r\nSTAMPANTE=Cucina\r\nFORMATO=3\r\n")));
        RecordingBackend backend({"Banco", "Cucina"});
        ReceiptPrinter printer(s.fx.till().PartiStampa(), backend);
        PannelloStampa p(*Gestione(*s.frm, 1), s.fx.till().settings, &printer, s.fx.till().cat, {});
        const Controlli c(*s.frm);
        QCOMPARE(c.lista->count(), 2);
        QCOMPARE(c.lista->currentText(), QStringLiteral("Cucina"));
        QCOMPARE(c.formato->count(), 7);
        QCOMPARE(c.formato->itemText(0), QStringLiteral("A4"));
        QCOMPARE(c.formato->currentText(), QStringLiteral("POS 57mm"));
        QVERIFY(!c.larghezza->isEnabled());
        QVERIFY(c.nessuna->isHidden());

        const int pers = c.formato->findText(QStringLiteral("POS pers."));
        c.formato->setCurrentIndex(pers);
        emit c.formato->activated(pers);
        QVERIFY(c.larghezza->isEnabled());
        QCOMPARE(c.larghezza->text(), QStringLiteral("10,5"));
        QVERIFY(
            SectionLines(s.fx.Read(QStringLiteral("Vorsa.ini")), "STAMPA").contains("FORMATO=4"));

        c.larghezza->setFocus();
        c.larghezza->clear();
        QTest::keyClicks(c.larghezza, QStringLiteral("8.255x"));  // decimal filter
        QCOMPARE(c.larghezza->text(), QStringLiteral("8,25"));
        BoxCodice(*s.frm)->setFocus();
        QVERIFY(SectionLines(s.fx.Read(QStringLiteral("Vorsa.ini")), "STAMPA")
                    .contains("LARGHEZZA_POS=8,25"));

        emit c.lista->activated(0);
        QVERIFY(SectionLines(s.fx.Read(QStringLiteral("Vorsa.ini")), "STAMPA")
                    .contains("STAMPANTE=Banco"));
    }

    void noPrinterInstalled() {
        Scena s;
        QVERIFY(s.Avvia(kLetto));
        RecordingBackend backend(std::vector<std::string>{});
        ReceiptPrinter printer(s.fx.till().PartiStampa(), backend);
        PannelloStampa p(*Gestione(*s.frm, 1), s.fx.till().settings, &printer, s.fx.till().cat, {});
        const Controlli c(*s.frm);
        Gestione(*s.frm, 1)->show();
        QVERIFY(c.nessuna->isVisible());
        QVERIFY(c.nessuna->text().startsWith(QStringLiteral("Nessuna stampante installata")));
        QVERIFY(!c.lista->isEnabled());
        QVERIFY(!c.test->isEnabled());
    }
};

QTEST_MAIN(TstPannelloStampa)
#include "tst_pannello_stampa.moc"
