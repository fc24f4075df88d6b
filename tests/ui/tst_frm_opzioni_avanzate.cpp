// The advanced options dialog, opened from the settings panel and driven through its widgets as
// the operator does: what each field shows after leaving it, what lands in Vorsa.ini, and what
// the till does with it at once.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <deque>

#include "frm_vorsa_scene.h"
#include "support/qt_checks.h"
#include "ui/frm_opzioni_avanzate.h"

using namespace vorsa;
using namespace vorsa::test;

namespace {

const QByteArray kMenu =
    "[MANGIARE]\r\nDIMENSIONE=6\r\n1=Panino;2,3;1;0;50;1;50;10\r\n2=Bibita;1;1;0;-1;1;-1;0\r\n"
    "3=Pizza;5;1;0;-1;1;-1;0\r\n4=Torta;3;1;0;-1;1;-1;0\r\n5=Vino;3;1;0;-1;1;-1;0\r\n"
    "6=Caffe;1;1;0;-1;1;-1;0\r\n"
    "[BERE]\r\nDIMENSIONE=1\r\n1=Acqua;1;0;0;-1;2;-1;0\r\n"
    "[VARIE]\r\nDIMENSIONE=1\r\n1=\r\n"
    "[PROGRAMMA]\r\nEULA=100\r\nMODE=0\r\nWIDTH=15380\r\nNOME_VORSA=X\r\n";

}  // namespace

class TstFrmOpzioniAvanzate : public QObject {
    Q_OBJECT

    std::unique_ptr<Scena> scena_;
    QPointer<FrmOpzioniAvanzate> dlg_;

    template <class W>
    W* C(const char* name, int i = -1) {
        return Ctl<W>(*dlg_, name, i);
    }
    QByteArray Chiave(const QByteArray& key) { return scena_->Chiave("PROGRAMMA", key); }

    void Apri(const QByteArray& ini = kMenu) {
        scena_ = std::make_unique<Scena>();
        QVERIFY(scena_->Avvia(ini, [](Till& t) { t.opt.gStampaAbilitata = false; }));
        QVERIFY(scena_->Impostazioni());
        dlg_ = scena_->Apri<FrmOpzioniAvanzate>("cmdOpzioniAvanzate", "frmOpzioniAvanzate");
        QVERIFY(dlg_ && dlg_->isModal());
    }

  private slots:
    void cleanup() {
        if (dlg_) dlg_->close();
        scena_.reset();
    }

    /// The dialog fits the smallest screen the till supports, with every text whole; the
    /// fields show the settings.
    void fitsTheSmallestScreenIsLoadedAndExplains() {
        Apri();
        dlg_->adjustSize();
        SaveScreenshot(*dlg_, dlg_->objectName() + QStringLiteral("-0"));
        VERIFY_NO_FAULTS(Misfits(*dlg_));
        QCOMPARE(C<QLineEdit>("txt_Vorsa")->text(), QStringLiteral("X"));
        QCOMPARE(C<QLineEdit>("txtPulsanti", 1)->text(), QStringLiteral("495"));
        QVERIFY(C<QRadioButton>("optTipoSoglia", 0)->isChecked());
        QVERIFY(!C<QCheckBox>("chkRimanenza")->isChecked());
        // Without the network services the multi-till frame is shown but inert.
        QVERIFY(!C<QCheckBox>("chkMulti")->isEnabled());
        // The info labels explain; "Chiudi" returns.
        QStringList testi;
        dlg_->mostraInfo = [&](const QString&, const QString& x) { testi << x; };
        QTest::mouseClick(C<QLabel>("lbl_info2", 8), Qt::LeftButton);
        QTest::mouseClick(C<QLabel>("lbl_info2", 6), Qt::LeftButton);
        QTest::mouseClick(C<QLabel>("lbl_info2", 9), Qt::LeftButton);
        QCOMPARE(testi.size(), 3);
        QVERIFY(!testi[0].isEmpty());
        QVERIFY(testi[1].contains(scena_->fx.Path()));
        QVERIFY(testi[2].isEmpty());
        QTest::mouseClick(C<QPushButton>("cmd_Chiudi"), Qt::LeftButton);
        QTRY_VERIFY(!dlg_);
    }

    /// Each field reaches its rule and its key (the corrections: the settings' tests).
    void fieldsFollowTheirEntryRules() {
        Apri();
        scena_->ScriviCampi(*dlg_, "PROGRAMMA",
                            {{"txt_Vorsa", -1, " a", "A", "NOME_VORSA=A"},
                             {"txtPulsanti", 0, "-3", "3", "BOTTONI-COLONNE=3"},
                             {"txtPulsanti", 1, "3.5", "4", "BOTTONI-ALTEZZA=4"},
                             {"txtPulsanti", 2, "", "120", "BOTTONI-BORDO=120"},
                             {"txtPulsanti", 3, "75", "75", "BOTTONI-INTERLINEA=75"},
                             {"txtSogliaPredefinita", -1, "95", "20", "SOGLIA_PRODOTTI=20"}});
        // A height of 4 twips is kept, and the field says what it will do.
        QVERIFY(!C<QLineEdit>("txtPulsanti", 1)->toolTip().isEmpty());
        QVERIFY(C<QLineEdit>("txtPulsanti", 3)->toolTip().isEmpty());
    }

    void columnsReLayTheGridAtOnceAndAreLimited() {
        Apri();
        FrmVorsa& f = *scena_->frm;
        QCOMPARE(Bottone(f, 0, 2)->y(), Bottone(f, 0, 1)->y());  // two columns
        QVERIFY(Bottone(f, 0, 3)->y() > Bottone(f, 0, 1)->y());
        Scrivi(C<QLineEdit>("txtPulsanti", 0), QStringLiteral("3"));
        // Three columns: the first three buttons now share a row.
        QCOMPARE(Bottone(f, 0, 3)->y(), Bottone(f, 0, 1)->y());
        QVERIFY(Bottone(f, 0, 4)->y() > Bottone(f, 0, 1)->y());
        Scrivi(C<QLineEdit>("txtPulsanti", 0), QStringLiteral("30"));
        QCOMPARE(Chiave("BOTTONI-COLONNE"), QByteArray("30"));
        QCOMPARE(scena_->fx.till().opt.gBottoniColonne, 20);
        // Reopened, the field shows what was typed.
        const QPointer<FrmOpzioniAvanzate> vecchio = dlg_;
        dlg_->close();
        QTRY_VERIFY(!vecchio);
        QTest::mouseClick(Ctl<QPushButton>(f, QStringLiteral("cmdOpzioniAvanzate")),
                          Qt::LeftButton);
        dlg_ = f.findChild<FrmOpzioniAvanzate*>(QStringLiteral("frmOpzioniAvanzate"));
        QTRY_VERIFY(dlg_ && dlg_->isVisible());
        QCOMPARE(C<QLineEdit>("txtPulsanti", 0)->text(), QStringLiteral("30"));
    }

    void defaultWritesTheFourKeys() {
        Apri(kMenu +
             "BOTTONI-COLONNE=5\r\nBOTTONI-ALTEZZA=300\r\nBOTTONI-BORDO=7\r\n"
             "BOTTONI-INTERLINEA=9\r\n");
        QCOMPARE(C<QLineEdit>("txtPulsanti", 0)->text(), QStringLiteral("5"));
        QTest::mouseClick(C<QPushButton>("cmdPulsantiDefault"), Qt::LeftButton);
        const char* chiavi[] = {"BOTTONI-COLONNE", "BOTTONI-ALTEZZA", "BOTTONI-BORDO",
                                "BOTTONI-INTERLINEA"};
        for (int i = 0; i < 4; ++i)  // the defaults' values: the settings' tests
            QCOMPARE(C<QLineEdit>("txtPulsanti", i)->text(),
                     QString::fromLatin1(Chiave(chiavi[i])));
        QCOMPARE(Chiave("BOTTONI-COLONNE"), QByteArray("2"));
        QCOMPARE(scena_->fx.till().opt.gBottoniAltezza, 495);
    }

    void thresholdTypeAndRemainingPiecesActAtOnce() {
        Apri();
        FrmVorsa& f = *scena_->frm;
        auto* pz = Ctl<QLabel>(f, Nome("lblSoglia", 0));
        auto* perc = Ctl<QLabel>(f, Nome("lblSoglia", 1));
        QVERIFY(pz->isVisible() && !perc->isVisible());
        QTest::mouseClick(C<QRadioButton>("optTipoSoglia", 1), Qt::LeftButton);
        QCOMPARE(Chiave("SOGLIA_TIPO"), QByteArray("1"));
        QVERIFY(!pz->isVisible() && perc->isVisible());
        QTest::mouseClick(C<QRadioButton>("optTipoSoglia", 0), Qt::LeftButton);
        QCOMPARE(Chiave("SOGLIA_TIPO"), QByteArray("0"));
        QVERIFY(pz->isVisible() && !perc->isVisible());
        // The remaining pieces' tick too is written on the click.
        auto* chk = C<QCheckBox>("chkRimanenza");
        QTest::mouseClick(chk, Qt::LeftButton);
        QCOMPARE(Chiave("RIMANENZA"), QByteArray("1"));
        QVERIFY(scena_->fx.till().opt.gMostraRimanenza);
        QTest::mouseClick(chk, Qt::LeftButton);
        QCOMPARE(Chiave("RIMANENZA"), QByteArray("0"));
    }
};

QTEST_MAIN(TstFrmOpzioniAvanzate)
#include "tst_frm_opzioni_avanzate.moc"
