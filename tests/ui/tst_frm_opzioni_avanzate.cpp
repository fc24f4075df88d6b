// The advanced options dialog, opened from the settings panel and driven through its widgets as
// the operator does: what each field shows after leaving it, what lands in Vorsa.ini, and what
// the till does with it at once.
#include <QAccessible>
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
        return Ctl<W>(*dlg_, i < 0 ? QString::fromLatin1(name) : Nome(name, i));
    }
    QList<QByteArray> Programma() {
        return SectionLines(scena_->fx.Read(QStringLiteral("Vorsa.ini")), "PROGRAMMA");
    }
    QByteArray Chiave(const QByteArray& key) {
        for (const QByteArray& l : Programma())
            if (l.startsWith(key + "=")) return l.mid(key.size() + 1);
        return "<none>";
    }

    void Apri(const QByteArray& ini = kMenu) {
        scena_ = std::make_unique<Scena>();
        QVERIFY(scena_->Avvia(ini, [](Till& t) { t.opt.gStampaAbilitata = false; }));
        QVERIFY(scena_->Impostazioni());
        auto* cmd = Ctl<QPushButton>(*scena_->frm, QStringLiteral("cmdOpzioniAvanzate"));
        QVERIFY(cmd && cmd->isVisible());
        QCOMPARE(cmd->text(), QStringLiteral("ALTRE OPZIONI PROGRAMMA"));
        QTest::mouseClick(cmd, Qt::LeftButton);
        dlg_ = scena_->frm->findChild<FrmOpzioniAvanzate*>(QStringLiteral("frmOpzioniAvanzate"));
        QVERIFY(dlg_ && dlg_->isVisible() && dlg_->isModal());
    }
    /// Types into a field and leaves it, as the operator does with Tab.
    void Scrivi(QLineEdit* box, const QString& text) {
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
        C<QPushButton>("cmd_Chiudi")->setFocus();
        QTRY_VERIFY(!box->hasFocus());
    }

  private slots:
    void cleanup() {
        if (dlg_) dlg_->close();
        scena_.reset();
    }

    /// The dialog fits the smallest screen the till supports, with every text whole.
    void fitsTheSmallestScreen() {
        Apri();
        dlg_->adjustSize();
        SaveScreenshot(*dlg_, dlg_->objectName() + QStringLiteral("-0"));
        const QStringList faults = SmallestScreenMisfits(*dlg_);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void everyControlIsNamedAndLoaded() {
        Apri();
        QCOMPARE(C<QLineEdit>("txt_Vorsa")->text(), QStringLiteral("X"));
        QCOMPARE(C<QLineEdit>("txtPulsanti", 1)->text(), QStringLiteral("495"));
        QCOMPARE(C<QLineEdit>("txtSogliaPredefinita")->text(), QStringLiteral("15"));
        QVERIFY(C<QRadioButton>("optTipoSoglia", 0)->isChecked());
        QVERIFY(!C<QCheckBox>("chkRimanenza")->isChecked());

        const QStringList faults = UnnamedControls(*dlg_);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        const struct {
            const char* name;
            int i;
            const char* label;
        } etichette[] = {{"txt_Vorsa", -1, "Prefisso scontrino:"},
                         {"txtPulsanti", 0, "Numero colonne:"},
                         {"txtPulsanti", 3, "Spaziatura verticale:"},
                         {"txtSogliaPredefinita", -1, "Valore predefinito:"}};
        for (const auto& e : etichette) {
            QAccessibleInterface* a =
                QAccessible::queryAccessibleInterface(C<QWidget>(e.name, e.i));
            QCOMPARE(a->text(QAccessible::Name), QString::fromUtf8(e.label));
        }
        // Without the network services the multi-till frame is shown but inert.
        QVERIFY(!C<QCheckBox>("chkMulti")->isEnabled());
    }

    void fieldsFollowTheirEntryRules_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("stored");
        // One row per field: the correction rules themselves are the settings' core tests.
        QTest::newRow("prefix trimmed") << "txt_Vorsa" << -1 << " a"
                                        << "A" << QByteArray("NOME_VORSA=A");
        QTest::newRow("prefix cut to two") << "txt_Vorsa" << -1 << "abc"
                                           << "AB" << QByteArray("NOME_VORSA=AB");
        QTest::newRow("columns") << "txtPulsanti" << 0 << "-3"
                                 << "3" << QByteArray("BOTTONI-COLONNE=3");
        QTest::newRow("height") << "txtPulsanti" << 1 << "3.5"
                                << "4" << QByteArray("BOTTONI-ALTEZZA=4");
        QTest::newRow("spacing") << "txtPulsanti" << 2 << ""
                                 << "120" << QByteArray("BOTTONI-BORDO=120");
        QTest::newRow("line spacing") << "txtPulsanti" << 3 << "75"
                                      << "75" << QByteArray("BOTTONI-INTERLINEA=75");
        QTest::newRow("threshold above") << "txtSogliaPredefinita" << -1 << "95"
                                         << "20" << QByteArray("SOGLIA_PRODOTTI=20");
        QTest::newRow("threshold kept") << "txtSogliaPredefinita" << -1 << "90"
                                        << "90" << QByteArray("SOGLIA_PRODOTTI=90");
    }
    void fieldsFollowTheirEntryRules() {
        QFETCH(QString, field);
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QByteArray, stored);
        Apri();
        auto* box = C<QLineEdit>(qPrintable(field), index);
        Scrivi(box, typed);
        QCOMPARE(box->text(), shown);
        QVERIFY2(Programma().contains(stored), Programma().join(' ').constData());
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
        const QByteArray attesi[][2] = {{"BOTTONI-COLONNE", "2"},
                                        {"BOTTONI-ALTEZZA", "495"},
                                        {"BOTTONI-BORDO", "120"},
                                        {"BOTTONI-INTERLINEA", "50"}};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(Chiave(attesi[i][0]), attesi[i][1]);
            QCOMPARE(C<QLineEdit>("txtPulsanti", i)->text(), QString::fromLatin1(attesi[i][1]));
        }
        QCOMPARE(scena_->fx.till().opt.gBottoniAltezza, 495);
    }

    void thresholdTypeSwitchesTheLabelAtOnce() {
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
    }

    void remainingPiecesIsWrittenOnClick() {
        Apri();
        auto* chk = C<QCheckBox>("chkRimanenza");
        QTest::mouseClick(chk, Qt::LeftButton);
        QCOMPARE(Chiave("RIMANENZA"), QByteArray("1"));
        QVERIFY(scena_->fx.till().opt.gMostraRimanenza);
        QTest::mouseClick(chk, Qt::LeftButton);
        QCOMPARE(Chiave("RIMANENZA"), QByteArray("0"));
    }

    void infoLabelsExplainAndCloseReturns() {
        Apri();
        QStringList titoli, testi;
        dlg_->mostraInfo = [&](const QString& t, const QString& x) {
            titoli << t;
            testi << x;
        };
        QTest::mouseClick(C<QLabel>("lbl_info2", 8), Qt::LeftButton);
        QTest::mouseClick(C<QLabel>("lbl_info2", 6), Qt::LeftButton);
        QTest::mouseClick(C<QLabel>("lbl_info2", 9), Qt::LeftButton);
        QCOMPARE(titoli, QStringList(3, QStringLiteral("INFO POINT")));
        QVERIFY(testi[0].contains(QStringLiteral("rimanenza")));
        QVERIFY(testi[1].contains(scena_->fx.Path()));
        QVERIFY(testi[2].isEmpty());
        QTest::mouseClick(C<QPushButton>("cmd_Chiudi"), Qt::LeftButton);
        QTRY_VERIFY(!dlg_);
    }
};

QTEST_MAIN(TstFrmOpzioniAvanzate)
#include "tst_frm_opzioni_avanzate.moc"
