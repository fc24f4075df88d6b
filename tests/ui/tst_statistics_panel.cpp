// The statistics panel as the operator drives it: F6, the figures, the receipt viewer with
// "Storno", emptying, report files, the password cover, and the fit at the smallest window.
#include <QScrollBar>

#include "frm_vorsa_scene.h"
#include "support/qt_checks.h"
#include "ui/widgets/fitted_labels.h"
#include "ui/widgets/hour_chart.h"
#include "ui/widgets/widget_helpers.h"

using namespace vorsa;
using namespace vorsa::test;

namespace {

const QByteArray kDati =
    "[MANGIARE]\r\nDIMENSIONE=4\r\n1=Panino;3,5;1;0;-1;1;-1;0\r\n"
    "2=Patatine con un nome molto lungo per vedere il taglio;2;1;0;8;1;10;0\r\n"
    "[BERE]\r\nDIMENSIONE=2\r\n1=Acqua;1;1;0;-1;2;-1;0\r\n"
    "[STATISTICHE]\r\nDATA=12/06/2026 19:40:00\r\nSCONTRINI=3\r\n101=4;14\r\n102=2;4\r\n"
    "201=1;1\r\n"
    "[SCONTRINI]\r\n1=101-2-7;12/06/2026 19:00:00-7-5-cassa10:00-0-0-0\r\n"
    "2=102-2-4;201-1-1;12/06/2026 19:20:00-5--cassa10:00-0-0-0\r\n"
    "3=101-2-7;12/06/2026 19:40:00-7-12-cassa10:00-0-0-0\r\n3_commento=al tavolo\r\n"
    "[PROGRAMMA]\r\nEULA=100\r\nMODE=0\r\nWIDTH=15380\r\n";

}  // namespace

class TstPannelloStatistiche : public QObject {
    Q_OBJECT

    std::unique_ptr<Scena> scena_;
    bool password_ = false;
    int stampe_ = 0;

    QFrame* Pannello() { return Gestione(*scena_->frm, 0); }
    QPushButton* Cmd(int i) { return Ctl<QPushButton>(*Pannello(), Nome("cmd_Statistica", i)); }
    QLabel* Lbl(const char* name) { return Ctl<QLabel>(*Pannello(), QLatin1String(name)); }
    QLabel* Scontrini(int i) { return Ctl<QLabel>(*Pannello(), Nome("lblScontrini", i)); }
    QLineEdit* Numero() {
        return Ctl<QLineEdit>(*Pannello(), QStringLiteral("txt_Numero_Scontrino"));
    }
    QCheckBox* Storno() {
        return Ctl<QCheckBox>(*Pannello(), QStringLiteral("chkScontrinoStorno"));
    }
    QListWidget* Lista(const char* name) {
        return Ctl<QListWidget>(*Pannello(), QLatin1String(name));
    }
    void F6() { QTest::keyClicks(BoxCodice(*scena_->frm), QStringLiteral("F6")); }

    void Avvia(const std::function<void(Till&)>& prima = {}) {
        scena_ = std::make_unique<Scena>();
        QVERIFY(scena_->Avvia(kDati, prima));
        scena_->Statistics({[this] { return password_; },
                            [this](const StatisticsTexts&) { ++stampe_; },
                            [this] { scena_->cassa->vendita().EseguiAzione(kAzioneStatistica); },
                            {},
                            {}});
    }
    StatisticsPanel& P() { return *scena_->statistiche; }
    /// The files written in Statistiche whose names match `pattern`.
    QStringList Scritti(const char* pattern) {
        return QDir(scena_->fx.FilePath(QStringLiteral("Statistiche")))
            .entryList({QLatin1String(pattern)});
    }

  private slots:
    void init() { Avvia(); }
    void cleanup() { scena_.reset(); }

    void f6ShowsTheFiguresAndTheLastReceipt() {
        QVERIFY(!Pannello()->isVisible());
        F6();
        QVERIFY(Pannello()->isVisible());
        // The lines' format: the statistics' core tests.
        QCOMPARE(Lista("lst_statistica")->count(), 3);
        QCOMPARE(Lbl("lbl_totale_incasso")->text(), QStringLiteral("19,00"));
        QCOMPARE(Lbl("lblTotaleScontrini")->text(), QStringLiteral("3"));
        QCOMPARE(Numero()->text(), QStringLiteral("3"));
        QCOMPARE(Scontrini(6)->text(), QStringLiteral("al tavolo"));
        QCOMPARE(Lista("lst_Scontrini")->count(), 1);
        QVERIFY(!Scontrini(0)->isVisible());  // one till: no till name
        for (int i : {0, 1, 2, 5, 6}) QVERIFY2(Cmd(i)->isEnabled(), qPrintable(QString::number(i)));
        QVERIFY(!Cmd(3)->isEnabled());  // no report yet
        QVERIFY(!Cmd(4)->isEnabled());
        QVERIFY(!Cmd(7)->isVisible());
        Cmd(8)->click();
        QCOMPARE(stampe_, 1);
        // The products are locked while the panel is up; F6 again closes it.
        Cmd(2)->click();
        QVERIFY(!Pannello()->isVisible());
    }

    void numberBoxArrowsStornoAndEmptying() {
        F6();
        QLineEdit* n = Numero();
        n->setFocus();
        n->selectAll();
        QTest::keyClicks(n, QStringLiteral("0"));  // its corrections: the viewer's core tests
        QCOMPARE(n->text(), QStringLiteral("1"));
        QCOMPARE(Scontrini(4)->text(), QStringLiteral("7,00"));
        QTest::keyClicks(n, QStringLiteral("3"));  // 13: beyond the last
        Cmd(5)->click();
        QCOMPARE(n->text(), QStringLiteral("2"));
        QCOMPARE(Scontrini(1)->text(), QStringLiteral("2"));
        QCOMPARE(Lista("lst_Scontrini")->item(1)->data(Qt::UserRole).toInt(), 201);
        // "Storno" on receipt 2 voids it and takes it back.
        const QColor normale = Lista("lst_Scontrini")->palette().color(QPalette::Base);
        Storno()->click();
        QVERIFY(Storno()->isChecked());
        QVERIFY(scena_->Sezione("SCONTRINI").contains("STORNI=*2"));  // the rest: core tests
        QCOMPARE(Lista("lst_Scontrini")->palette().color(QPalette::Base), QColor(255, 128, 128));
        QCOMPARE(Lbl("lblTotaleScontriniStornati")->text(), QStringLiteral("1"));
        QCOMPARE(Lista("lst_statistica")->count(), 1);  // voided down to 0: gone
        QCOMPARE(Lbl("lbl_totale_incasso")->text(), QStringLiteral("14,00"));

        Storno()->click();
        QVERIFY(!Storno()->isChecked());
        QCOMPARE(Lista("lst_Scontrini")->palette().color(QPalette::Base), normale);

        scena_->prompter.confirmations = {true};  // "no" and the bytes: the core tests
        Cmd(0)->click();
        QCOMPARE(Lista("lst_statistica")->count(), 0);
        QCOMPARE(Lbl("lbl_totale_incasso")->text(), QStringLiteral("0,00"));
        for (int i : {0, 1, 8}) QVERIFY(!Cmd(i)->isEnabled());
        Storno()->click();  // no receipts: the tick is undone
        QVERIFY(!Storno()->isChecked());
    }

    void titleReportFilesTillsHoursAndExport() {
        F6();
        QLineEdit* titolo = Ctl<QLineEdit>(*Pannello(), QStringLiteral("txt_Stat_Commento"));
        titolo->setFocus();
        QTest::keyClicks(titolo, QStringLiteral("Sagra"));
        BoxCodice(*scena_->frm)->setFocus();
        QVERIFY(scena_->Sezione("STATISTICHE").contains("COMMENTO=Sagra"));

        Cmd(1)->click();
        QListWidget* files = Lista("lst_FileRiepilogo");
        QCOMPARE(files->count(), 1);
        QCOMPARE(files->item(0)->text(), QStringLiteral("Riepilogo_del_12-06-2026"));
        QVERIFY(scena_->fx.Read(QStringLiteral("Statistiche/Riepilogo_del_12-06-2026.txt"))
                    .contains("Titolo: Sagra\r\n"));
        QVERIFY(Cmd(3)->isEnabled() && Cmd(4)->isEnabled());

        files->setCurrentRow(0);
        scena_->prompter.answers = {std::string("Sagra di San Michele 2026 sera")};
        Cmd(4)->click();
        QCOMPARE(files->item(0)->text(), QStringLiteral("Sagra di San Michele 2026 "));

        files->setCurrentRow(0);
        emit files->itemDoubleClicked(files->item(0));
        QCOMPARE(scena_->fx.shell.opened.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(scena_->fx.shell.opened[0])
                    .endsWith(QStringLiteral("/Statistiche/Sagra di San Michele 2026 .txt")));

        files->setCurrentRow(0);
        scena_->prompter.confirmations = {true};
        Cmd(3)->click();
        QCOMPARE(files->count(), 0);
        QVERIFY(!Cmd(3)->isEnabled());
        QVERIFY(!Cmd(4)->isEnabled());

        P().schede()->setCurrentIndex(1);
        QListWidget* casse = Ctl<QListWidget>(*Pannello(), QStringLiteral("lst_Casse"));
        QCOMPARE(casse->count(), 1);
        QVERIFY(casse->item(0)->text().endsWith(QStringLiteral("19,00")));
        QCOMPARE(P().Grafico().ore().size(), std::size_t(1));  // all at 19

        Ctl<QPushButton>(*Pannello(), QStringLiteral("cmd_EsportaCsv"))->click();
        Ctl<QPushButton>(*Pannello(), QStringLiteral("cmd_EsportaCsv"))->click();
        // Each export a file of its own, none over another.
        const QStringList esportati = Scritti("Venduto_del_12-06-2026_ore_*.csv");
        QCOMPARE(esportati.size(), 2);
        const QByteArray csv = scena_->fx.Read(QStringLiteral("Statistiche/") + esportati[0]);
        QVERIFY(
            csv.startsWith("\xEF\xBB\xBF"
                           "Codice;Articolo;Pezzi;Importo\r\n101;Panino;4;14,00\r\n"));
        Ctl<QPushButton>(*Pannello(), QStringLiteral("cmd_SalvaGrafico"))->click();
        const QStringList grafici = Scritti("Grafico_del_12-06-2026_ore_*.png");
        QCOMPARE(grafici.size(), 1);
        const QByteArray png = scena_->fx.Read(QStringLiteral("Statistiche/") + grafici[0]);
        QVERIFY(png.startsWith("\x89PNG"));
        QCOMPARE(scena_->fx.shell.opened.size(), std::size_t(4));  // and the report above
        // The images and the CSV are no reports.
        QCOMPARE(Lista("lst_FileRiepilogo")->count(), 0);
    }

    void passwordCover() {
        Avvia([](Till& t) { t.gAzioni[kAzioneStatistica].password = "segreto"; });
        F6();
        QVERIFY(Cmd(7)->isVisible());
        QVERIFY(!Lista("lst_statistica")->isVisible());
        QCOMPARE(Cmd(7)->geometry(),
                 Ctl<QWidget>(*Pannello(), QStringLiteral("frm_statistica"))->geometry());
        password_ = false;
        Cmd(7)->click();
        QVERIFY(Cmd(7)->isVisible());
        QVERIFY(!Lista("lst_statistica")->isVisible());
        password_ = true;
        Cmd(7)->click();
        QVERIFY(!Cmd(7)->isVisible());
        QVERIFY(Lista("lst_statistica")->isVisible());
        // Closed and opened again: covered again.
        F6();
        F6();
        QVERIFY(Cmd(7)->isVisible());
    }

    void fitsTheSmallestWindow() {
        scena_->frm->resize(Px(kMinimoLarghezzaFinestra), Py(kMinimoAltezzaFinestra));
        QTRY_VERIFY(scena_->Assestata());
        F6();
        Numero()->setText(QStringLiteral("2"));
        SaveScreenshot(*scena_->frm, QStringLiteral("pannello_statistiche"));
        VERIFY_NO_FAULTS(Misfits(*Pannello(), false, 0));
        // The lists' lines show whole, in a readable font.
        for (const char* nome : {"lst_statistica", "lst_Scontrini"}) {
            QListWidget* l = Lista(nome);
            for (int i = 0; i < l->count(); ++i)
                QVERIFY2(l->fontMetrics().horizontalAdvance(l->item(i)->text()) <=
                             l->viewport()->width(),
                         nome);
            QVERIFY2(l->font().pointSize() >= 9, nome);  // even with the longest names
        }
        QSignalSpy info(scena_->statistiche.get(), &StatisticsPanel::InfoPremuta);
        QTest::mouseClick(Ctl<QLabel>(*Pannello(), QStringLiteral("lbl_info(8)")), Qt::LeftButton);
        QCOMPARE(info.value(0).value(0).toInt(), 8);
    }
};

QTEST_MAIN(TstPannelloStatistiche)
#include "tst_statistics_panel.moc"
