// The advanced options dialog, opened from the settings panel and driven through its widgets as
// the operator does: what each field shows after leaving it, what lands in Vorsa.ini, and what
// the till does with it at once. Its multi-till frame: the key filter of the main till's
// address, switching the mode off, choosing the role (with a scripted share service), and the
// frame's size in each of its states. The web pages' dialog it opens.
#include <QComboBox>
#include <QLayout>
#include <QRadioButton>

#include "frm_vorsa_scene.h"
#include "support/qt_checks.h"
#include "ui/settings/frm_opzioni_avanzate.h"
#include "ui/settings/frm_pagine_web.h"

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
const QByteArray kMulti =
    "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n[MULTIVORSA-TMP]\r\n1=2\r\n4=0\r\n";

}  // namespace

class TstFrmOpzioniAvanzate : public QObject {
    Q_OBJECT

    std::unique_ptr<Scena> scena_;
    ScriptedShare share_;
    std::unique_ptr<NetworkOptions> rete_;
    QPointer<FrmOpzioniAvanzate> dlg_;
    QStringList errori_;

    template <class W>
    W* C(const char* name, int i = -1) {
        return Ctl<W>(*dlg_, name, i);
    }
    QByteArray Chiave(const QByteArray& key) { return scena_->Chiave("PROGRAMMA", key); }
    QByteArray Multi(const QByteArray& key) { return scena_->Chiave("MULTIVORSA", key); }

    /// Opens the dialog on `ini`; with `rete` its multi-till frame works, on a scripted share.
    void Apri(const QByteArray& ini = kMenu, bool rete = false) {
        scena_ = std::make_unique<Scena>();
        QVERIFY(scena_->Avvia(ini, [](Till& t) { t.opt.gStampaAbilitata = false; }));
        share_ = ScriptedShare{};
        rete_.reset(new NetworkOptions{share_, scena_->messaggi, false});
        scena_->messaggi.calls.clear();
        QVERIFY(scena_->Impostazioni(rete ? rete_.get() : nullptr));
        dlg_ = scena_->Apri<FrmOpzioniAvanzate>("cmdOpzioniAvanzate", "frmOpzioniAvanzate");
        QVERIFY(dlg_ && dlg_->isModal());
        dlg_->mostraErrore = [this](const QString&, const QString& text) { errori_ << text; };
        errori_.clear();
    }

  private slots:
    void cleanup() {
        if (dlg_) dlg_->close();
        scena_.reset();
    }

    void fitsTheSmallestScreenIsLoadedAndExplains() {
        Apri();
        dlg_->adjustSize();
        SaveScreenshot(*dlg_, dlg_->objectName() + QStringLiteral("-0"));
        VERIFY_NO_FAULTS(Misfits(*dlg_));
        QCOMPARE(C<QLineEdit>("txt_Vorsa")->text(), QStringLiteral("X"));
        // Without the network services the multi-till frame is shown but inert.
        QVERIFY(!C<QCheckBox>("chkMulti")->isEnabled());
        // The info labels explain; "Chiudi" returns.
        QStringList testi;
        dlg_->mostraInfo = [&](const QString&, const QString& x) { testi << x; };
        QTest::mouseClick(C<QLabel>("lbl_info2", 6), Qt::LeftButton);
        QTest::mouseClick(C<QLabel>("lbl_info2", 9), Qt::LeftButton);
        QCOMPARE(testi.size(), 2);
        QVERIFY(testi[0].contains(scena_->fx.Path()));
        QVERIFY(testi[1].isEmpty());
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
                             {"txtSogliaPredefinita", -1, "95", "20", "SOGLIA_PRODOTTI=20"}});
        // A height of 4 twips is kept, and the field says what it will do.
        QVERIFY(!C<QLineEdit>("txtPulsanti", 1)->toolTip().isEmpty());
        QVERIFY(C<QLineEdit>("txtPulsanti", 3)->toolTip().isEmpty());

        // The threshold's type and the remaining pieces' tick act on the click.
        FrmVorsa& f = *scena_->frm;
        auto* pz = Ctl<QLabel>(f, Nome("lblSoglia", 0));
        auto* perc = Ctl<QLabel>(f, Nome("lblSoglia", 1));
        QVERIFY(pz->isVisible() && !perc->isVisible());
        QTest::mouseClick(C<QRadioButton>("optTipoSoglia", 1), Qt::LeftButton);
        QCOMPARE(Chiave("SOGLIA_TIPO"), QByteArray("1"));
        QVERIFY(!pz->isVisible() && perc->isVisible());
        QTest::mouseClick(C<QCheckBox>("chkRimanenza"), Qt::LeftButton);
        QCOMPARE(Chiave("RIMANENZA"), QByteArray("1"));
    }

    void columnsReLayTheGridAtOnceAreLimitedAndTakeTheDefault() {
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
        dlg_->close();
        QTRY_VERIFY(!dlg_);
        dlg_ = scena_->Apri<FrmOpzioniAvanzate>("cmdOpzioniAvanzate", "frmOpzioniAvanzate");
        QVERIFY(dlg_);
        QCOMPARE(C<QLineEdit>("txtPulsanti", 0)->text(), QStringLiteral("30"));
        // The default button writes the four keys and shows them (their values: the settings'
        // tests), at once.
        Scrivi(C<QLineEdit>("txtPulsanti", 3), QStringLiteral("9"));
        QTest::mouseClick(C<QPushButton>("cmdPulsantiDefault"), Qt::LeftButton);
        const char* chiavi[] = {"BOTTONI-COLONNE", "BOTTONI-ALTEZZA", "BOTTONI-BORDO",
                                "BOTTONI-INTERLINEA"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(C<QLineEdit>("txtPulsanti", i)->text(),
                     QString::fromLatin1(Chiave(chiavi[i])));
        QVERIFY(Chiave("BOTTONI-INTERLINEA") != "9");
        QCOMPARE(Bottone(f, 0, 3)->y(), Bottone(f, 0, 4)->y());  // two columns again
    }

    void remoteAddressTakesDigitsAndDotsOnly() {
        Apri(kMenu, true);
        Clicca(C<QCheckBox>("chkMulti"));
        Clicca(C<QRadioButton>("optVorsaPrinc", 0));
        QLineEdit* box = C<QLineEdit>("txtVorsaRemota");
        QVERIFY(box->isVisible());
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        // The key filter (its table: the multi-till core tests) sits on the box.
        QTest::keyClicks(box, QStringLiteral("192.x168.0.5"));
        QCOMPARE(box->text(), QStringLiteral("192.168.0.5"));

        // Leaving it stores the address and checks the main till, which does not answer here;
        // the check is announced meanwhile, and the dialog still fits the smallest screen.
        bool annunciata = false;
        scena_->messaggi.durante = [&] {
            annunciata = C<QLabel>("lblVerifica")->isVisible();
            QCoreApplication::processEvents();
            QVERIFY(dlg_->frameGeometry().height() <= 600 - 40);
            SaveScreenshot(*dlg_, QStringLiteral("multi-verifica"));
        };
        Lascia(box);
        QVERIFY(annunciata);
        QCOMPARE(Multi("SISTEMA_REMOTO"), QByteArray("192.168.0.5"));
        QCOMPARE(scena_->messaggi.calls.size(), std::size_t(1));
        QVERIFY(C<QLabel>("lblVerifica")->isHidden());
    }

    /// The password typed and left reaches the share's account and the red warning goes (what
    /// the files keep: the multi-till core tests); switching off deletes the held pieces.
    void passwordIsSetWhenLeftAndSwitchingOffDeletesTheHeldPieces() {
        Apri(kMenu + kMulti, true);
        QLineEdit* box = C<QLineEdit>("txtPasswordMulti");
        QCOMPARE(box->echoMode(), QLineEdit::Password);
        QVERIFY(C<QLabel>("lblSenzaPassword")->isVisible());
        Scrivi(box, QStringLiteral("segreta"));
        QCOMPARE(share_.calls.front(), "password vorsa -> segreta");
        QVERIFY(!C<QLabel>("lblSenzaPassword")->isVisible());
        const std::vector<std::string> prima = share_.calls;

        QVERIFY(C<QCheckBox>("chkMulti")->isChecked() && C<QWidget>("frmOpt", 1)->isVisible());
        QVERIFY(scena_->Ini().contains("[MULTIVORSA-TMP]"));

        Clicca(C<QCheckBox>("chkMulti"));
        QVERIFY(!C<QCheckBox>("chkMulti")->isChecked());
        QVERIFY(!scena_->Ini().contains("[MULTIVORSA-TMP]"));  // the rest of the bytes: core tests
        QVERIFY(!C<QWidget>("frmOpt", 0)->isVisible() && !C<QWidget>("frmOpt", 1)->isVisible());
        QVERIFY(!C<QRadioButton>("optVorsaPrinc", 1)->isEnabled() &&
                !C<QLabel>("lblSceltaMulti")->isEnabled());
        QVERIFY(share_.calls == prima);  // no share created nor removed
    }

    /// Off, main and secondary: each creates or removes the share, and fits the screen.
    void choosingTheRoleCreatesOrRemovesTheShare() {
        Apri(kMenu, true);
        QVERIFY(!C<QRadioButton>("optVorsaPrinc", 1)->isEnabled());
        Clicca(C<QCheckBox>("chkMulti"));
        QCOMPARE(Multi("ABILITATO"), QByteArray("1"));

        Clicca(C<QRadioButton>("optVorsaPrinc", 1));
        const std::string folder = scena_->fx.till().paths.programFolder;
        QVERIFY(share_.calls == std::vector<std::string>{"create vorsa$ " + folder});
        QCOMPARE(Multi("MASTER"), QByteArray("1"));
        QVERIFY(C<QWidget>("frmOpt", 1)->isVisible() && !C<QWidget>("frmOpt", 0)->isVisible());
        QCOMPARE(C<QLabel>("lblNomePostazione")->text(), QStringLiteral("cassa"));
        QCOMPARE(C<QListWidget>("lstIpAddress")->count(), 3);
        QVERIFY(errori_.isEmpty());
        // Its largest state fits the smallest screen, every text whole, grown to what the
        // frame now needs.
        dlg_->layout()->activate();
        QCoreApplication::processEvents();
        QVERIFY(dlg_->width() >= dlg_->minimumSizeHint().width() &&
                dlg_->height() >= dlg_->minimumSizeHint().height());
        SaveScreenshot(*dlg_, QStringLiteral("multi-principale"));
        VERIFY_NO_FAULTS(Misfits(*dlg_, true));

        Clicca(C<QRadioButton>("optVorsaPrinc", 0));
        QCOMPARE(share_.calls.back(), "delete vorsa$");
        QCOMPARE(Multi("MASTER"), QByteArray("0"));
        QVERIFY(C<QWidget>("frmOpt", 0)->isVisible() && !C<QWidget>("frmOpt", 1)->isVisible());

        // A share that does not answer: the critical box names the folder to share by hand.
        share_.ok = false;
        Clicca(C<QRadioButton>("optVorsaPrinc", 1));
        QCOMPARE(errori_.size(), 1);
        QVERIFY(errori_[0].contains(QString::fromStdString(folder)));
    }

    void webPagesDialogWritesItsKeysAndShowsTheAddresses() {
        Apri();
        // The button opens the dialog; it closes by its own "Chiudi".
        QTimer::singleShot(0, this, [] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(d && d->objectName() == QStringLiteral("frmPagineWeb"));
            Clicca(Ctl<QPushButton>(*d, "cmd_Chiudi"));
        });
        Clicca(C<QPushButton>("cmdPagineWeb"));

        Till& till = scena_->fx.till();
        FrmPagineWeb web(
            till.settings, [] { return std::vector<std::string>{"192.168.1.10"}; }, dlg_);
        web.show();
        auto* lista = Ctl<QListWidget>(web, "lstIndirizziWeb");
        QCOMPARE(lista->item(0)->text(), QStringLiteral("http://192.168.1.10:8088/numeri"));
        QVERIFY(!Ctl<QLabel>(web, "lblQrWeb")->pixmap().isNull());
        Clicca(Ctl<QCheckBox>(web, "chkWeb"));
        QCOMPARE(scena_->Chiave("WEB", "ABILITATO"), QByteArray("1"));
        auto* porta = Ctl<QLineEdit>(web, "txtPortaWeb");
        Scrivi(porta, QStringLiteral("80"));  // shown as the key corrects it
        QCOMPARE(porta->text(), QStringLiteral("8088"));
        Scrivi(porta, QStringLiteral("9090"));
        QCOMPARE(scena_->Chiave("WEB", "PORTA"), QByteArray("9090"));
        QCOMPARE(lista->item(2)->text(), QStringLiteral("http://192.168.1.10:9090/incassi"));
        // A PIN of the wrong size is refused and said; a good one is stored scrambled.
        auto* pin = Ctl<QLineEdit>(web, "txtPinCucina");
        Scrivi(pin, QStringLiteral("12"));
        QCOMPARE(scena_->Chiave("WEB", "PIN_CUCINA"), QByteArray("<none>"));
        QVERIFY(!Ctl<QLabel>(web, "lblNotaWeb")->text().isEmpty());
        Scrivi(pin, QStringLiteral("2468"));
        QCOMPARE(till.opt.kitchenPin, std::string("2468"));
        SaveScreenshot(web, QStringLiteral("frmPagineWeb"));
        VERIFY_NO_FAULTS(Misfits(web, true));

        // A secondary till does not serve them, and its dialog says so.
        till.opt.gMultiVorsa = true;
        till.opt.gPrincipale = false;
        FrmPagineWeb secondaria(
            till.settings, [] { return std::vector<std::string>{}; }, dlg_);
        QVERIFY(!Ctl<QCheckBox>(secondaria, "chkWeb")->isEnabled());
        QVERIFY(!Ctl<QLabel>(secondaria, "lblNotaWeb")->text().isEmpty());
    }
};

QTEST_MAIN(TstFrmOpzioniAvanzate)
#include "tst_frm_opzioni_avanzate.moc"
