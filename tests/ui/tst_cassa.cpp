// The till driven as an operator drives it: keys into box_Codice and box_Pagato, clicks on
// product, function, coin and keypad buttons; what the window shows and what lands in the file.
#include <QScrollBar>

#include "frm_vorsa_scene.h"
#include "ui/widgets/widget_helpers.h"

using namespace vorsa;
using namespace vorsa::test;

namespace {

const QByteArray kVendita =
    "[MANGIARE]\r\nDIMENSIONE=4\r\n1=Panino;3,5;1;0;-1;1;-1;0\r\n2=Bibita;-1\r\n"
    "3=Patatine;2;1;0;10;1;10;3\r\n4=Spento;1;0\r\n"
    "[BERE]\r\nDIMENSIONE=3\r\n1=Acqua;1;1;0;-1;2;-1;0\r\n2=Birra;3;1;0;2;2;2;0\r\n"
    "[PROGRAMMA]\r\nEULA=100\r\nMODE=0\r\nWIDTH=15380\r\n";

QString Line(const char* name, int pad, const char* tail) {
    return QString::fromLatin1(name).leftJustified(pad, ' ') + QString::fromLatin1(tail);
}

}  // namespace

class TstCassa : public QObject {
    Q_OBJECT

    std::unique_ptr<Scena> scena_;

    QLineEdit* codice() { return BoxCodice(*scena_->frm); }
    QLineEdit* pagato() { return BoxPagato(*scena_->frm); }
    QListWidget* lista() { return ListaSpesa(*scena_->frm); }
    bool Visibile(int i) { return ConfCode(*scena_->frm, i)->isVisible(); }
    void Digita(const char* keys) { QTest::keyClicks(codice(), QString::fromLatin1(keys)); }
    /// tmrInput fires.
    void Attendi() { QTRY_VERIFY(!TmrInput(*scena_->frm)->isActive()); }

  private slots:
    void init() {
        scena_ = std::make_unique<Scena>();
        QVERIFY(scena_->Avvia(kVendita, [](Till& t) { t.opt.gStampaAbilitata = false; }));
        scena_->Sale();
        TmrInput(*scena_->frm)->setInterval(150);
    }
    void cleanup() { scena_.reset(); }

    void typingACodeAddsAPiece() {
        Digita("0a5");  // cannot start a code (the filter's table: the code entry's core tests)
        QCOMPARE(codice()->text(), QString());
        Digita("101");
        QVERIFY(Visibile(1));
        QVERIFY(!Visibile(0));
        QCOMPARE(lista()->count(), 1);
        QCOMPARE(lista()->item(0)->text(), " 1|" + Line("Panino", 32, "|  3,50"));
        QCOMPARE(lista()->item(0)->data(Qt::UserRole).toInt(), 101);
        QCOMPARE(LblTotale(*scena_->frm)->text(), QStringLiteral("3,50"));
        QCOMPARE(codice()->text(), QStringLiteral("101"));
        Attendi();
        QCOMPARE(codice()->text(), QString());
        QVERIFY(!Visibile(1));
        QVERIFY(Visibile(2));
    }

    void fastScannerLosesNoDigit() {
        TmrInput(*scena_->frm)->setInterval(300);
        QString keys;
        for (int i = 0; i < 30; ++i) keys += QStringLiteral("201");
        QTest::keyClicks(codice(), keys, Qt::NoModifier, 5);
        QCOMPARE(scena_->fx.till().cat.gArticoli[5].quantity, std::int16_t(30));
        QCOMPARE(LblTotale(*scena_->frm)->text(), QStringLiteral("30,00"));
    }

    void clicksEnterCodes() {
        Bottone(*scena_->frm, 1, 1)->click();
        QCOMPARE(codice()->text(), QStringLiteral("201"));
        Bottone(*scena_->frm, 1, 1)->click();  // a pending code is emptied first
        QCOMPARE(lista()->item(0)->text().left(3), QStringLiteral(" 2|"));
        CmdAzione(*scena_->frm, 3)->click();  // storno
        QVERIFY(scena_->fx.till().gAzioni[3].stato);
        Bottone(*scena_->frm, 1, 1)->click();
        QCOMPARE(lista()->item(0)->text().left(3), QStringLiteral(" 1|"));
    }

    void arrowsAndQuantitySteps() {
        lista()->setFocus();  // the bill never keeps the focus
        QVERIFY(codice()->hasFocus());
        Digita("101");
        Digita("201");
        QTest::keyClick(codice(), Qt::Key_Up);
        QCOMPARE(lista()->currentRow(), 0);
        QTest::keyClick(codice(), Qt::Key_Right);
        QCOMPARE(lista()->item(0)->text().left(3), QStringLiteral(" 2|"));
    }

    void payAndCommit() {
        Digita("101");
        Digita("101");
        Digita("201");
        QTest::keyClick(codice(), Qt::Key_F1);
        QVERIFY(Gestione(*scena_->frm, 2)->isVisible());
        QVERIFY(pagato()->isEnabled());
        QVERIFY(!codice()->isEnabled());
        QVERIFY(CmdAzione(*scena_->frm, 4)->isEnabled());
        QTest::keyClicks(pagato(), QStringLiteral("20"));
        QCOMPARE(LblResto(*scena_->frm)->text(), QStringLiteral("12,00"));
        QTest::keyClicks(pagato(), QStringLiteral(".555"));  // the amount's filter sits on the box
        QCOMPARE(pagato()->text(), QStringLiteral("20,55"));
        scena_->fx.till().conto.gTavolo = "7";
        QTest::keyClick(pagato(), Qt::Key_F4);
        QVERIFY(!Gestione(*scena_->frm, 2)->isVisible());
        QVERIFY(codice()->isEnabled());
        QCOMPARE(lista()->count(), 0);
        QCOMPARE(LblTotale(*scena_->frm)->text(), QStringLiteral("0,00"));
        QCOMPARE(LblUltimoScontrino(*scena_->frm)->text(), QStringLiteral("8,00"));
        QCOMPARE(pagato()->text(), QStringLiteral("0,00"));
        // The sale reached the file (its bytes: the commit's core tests).
        QVERIFY(scena_->Sezione("SCONTRINI").value(0).startsWith("1=101-2-7;201-1-1;12/06/2026"));
    }

    void coinsKeypadAndCodesInTheAmountBox() {
        Digita("201");
        QTest::keyClick(codice(), Qt::Key_F1);
        CmdSoldi(*scena_->frm, 9)->click();
        QCOMPARE(pagato()->text(), QStringLiteral("50"));
        CmdCalc(*scena_->frm, 11)->click();
        QCOMPARE(pagato()->text(), QString());
        CmdCalc(*scena_->frm, 10)->click();
        CmdCalc(*scena_->frm, 5)->click();
        QCOMPARE(pagato()->text(), QStringLiteral("0,5"));
        Attendi();
        QTest::keyClicks(pagato(), QStringLiteral("f4"));  // F then 4: commit
        QCOMPARE(scena_->fx.till().conto.gNumeroScontrino, 1);
        QVERIFY(!scena_->fx.till().gAzioni[1].stato);
    }

    void clearAsksFirst() {
        Digita("101");
        scena_->prompter.confirmations = {true};  // "no": the clearing's core tests
        QTest::keyClick(codice(), Qt::Key_F2);
        QCOMPARE(lista()->count(), 0);
        QVERIFY(CmdAzione(*scena_->frm, 1)->isEnabled());
    }

    void automaticPrintingSwitchesCaptions() {
        // The captions' words: the sale's core tests; here they follow the switch.
        const QString f5 = CmdAzione(*scena_->frm, 5)->text();
        const QString titolo = scena_->frm->windowTitle();
        const QString casella = ChkStampa(*scena_->frm)->text();
        ChkStampa(*scena_->frm)->click();
        QVERIFY(CmdAzione(*scena_->frm, 5)->text() != f5);
        QVERIFY(scena_->frm->windowTitle() != titolo);
        QVERIFY(ChkStampa(*scena_->frm)->text() != casella);
        QCOMPARE(scena_->Chiave("STAMPA", "ABILITATO"), QByteArray("1"));
    }

    void tableAndComment() {
        QLineEdit* tavolo = TxtTavolo(*scena_->frm);
        QPlainTextEdit* nota = TxtCommento(*scena_->frm);
        tavolo->setFocus();
        QTest::keyClicks(tavolo, QStringLiteral("  12 "));
        nota->setFocus();
        QCOMPARE(scena_->fx.till().conto.gTavolo, std::string("12"));
        QTest::keyClicks(nota, QStringLiteral("senza sale"));
        QTest::keyClick(nota, Qt::Key_Return);  // no line break
        QTest::keyClick(nota, Qt::Key_Escape);
        QVERIFY(codice()->hasFocus());
        QCOMPARE(scena_->fx.till().conto.gCommento, std::string("senza sale"));
        // A pasted note becomes one line of at most 120 characters, wrapped whole in the box.
        nota->setFocus();
        nota->selectAll();
        nota->insertPlainText(QStringLiteral("senza cipolla\n").repeated(10));
        QCOMPARE(nota->toPlainText(), QStringLiteral("senza cipolla ").repeated(9).left(120));
        QCOMPARE(nota->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(nota->verticalScrollBar()->maximum(), 0);
    }
};

QTEST_MAIN(TstCassa)
#include "tst_cassa.moc"
