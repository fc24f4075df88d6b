// The multi-till frame of the advanced options dialog, driven through its widgets as the
// operator does: the key filter of the main till's address, switching the mode off, choosing
// the role (with a scripted share service), and the frame's size in each of its states.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "frm_vorsa_scene.h"
#include "support/qt_checks.h"
#include "ui/frm_opzioni_avanzate.h"

using namespace vorsa;
using namespace vorsa::test;

namespace {

const QByteArray kSingola = Programma("MODE=0\r\n");
const QByteArray kPrincipale =
    Programma("MODE=0\r\n") +
    "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n[MULTIVORSA-TMP]\r\n1=2\r\n4=0\r\n";

}  // namespace

class TstOpzioniMulti : public QObject {
    Q_OBJECT

    std::unique_ptr<Scena> scena_;
    ScriptedShare share_;
    std::unique_ptr<ReteOpzioni> rete_;
    QPointer<FrmOpzioniAvanzate> dlg_;
    QStringList errori_;

    QByteArray Ini() { return scena_->Ini(); }
    QByteArray Chiave(const QByteArray& key) { return scena_->Chiave("MULTIVORSA", key); }

    void Apri(const QByteArray& ini) {
        scena_ = std::make_unique<Scena>();
        QVERIFY(scena_->Avvia(kCatalogo + ini));
        share_ = ScriptedShare{};
        rete_.reset(new ReteOpzioni{share_, scena_->messaggi, false});
        scena_->messaggi.calls.clear();
        QVERIFY(scena_->Impostazioni(rete_.get()));
        dlg_ = scena_->Apri<FrmOpzioniAvanzate>("cmdOpzioniAvanzate", "frmOpzioniAvanzate");
        QVERIFY(dlg_);
        dlg_->mostraErrore = [this](const QString&, const QString& text) { errori_ << text; };
        errori_.clear();
    }
    template <class W>
    W* D(const char* name, int i = -1) {
        return Ctl<W>(*dlg_, name, i);
    }
    void Clic(QAbstractButton* b) {
        QVERIFY(b && b->isEnabled() && b->isVisible());
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    }
    /// The dialog in the state `nome` fits the smallest screen, every text whole, as the
    /// operator sees it: grown to what the frame now needs.
    void Entra(const char* nome) {
        dlg_->layout()->activate();
        QCoreApplication::processEvents();
        QVERIFY(dlg_->width() >= dlg_->minimumSizeHint().width() &&
                dlg_->height() >= dlg_->minimumSizeHint().height());
        SaveScreenshot(*dlg_, QStringLiteral("multi-%1").arg(QLatin1String(nome)));
        VERIFY_NO_FAULTS(Misfits(*dlg_, true));
    }

  private slots:
    void cleanup() {
        if (dlg_) dlg_->close();
        scena_.reset();
    }

    void remoteAddressTakesDigitsAndDotsOnly() {
        Apri(kSingola);
        Clic(D<QCheckBox>("chkMulti"));
        Clic(D<QRadioButton>("optVorsaPrinc", 0));
        QLineEdit* box = D<QLineEdit>("txtVorsaRemota");
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
            annunciata = D<QLabel>("lblVerifica")->isVisible();
            QCoreApplication::processEvents();
            QVERIFY(dlg_->frameGeometry().height() <= 600 - 40);
            SaveScreenshot(*dlg_, QStringLiteral("multi-verifica"));
        };
        Lascia(box);
        QVERIFY(annunciata);
        QCOMPARE(Chiave("SISTEMA_REMOTO"), QByteArray("192.168.0.5"));
        QCOMPARE(scena_->messaggi.calls.size(), std::size_t(1));
        QCOMPARE(scena_->messaggi.calls[0].caption1, QStringLiteral("OK"));
        QVERIFY(D<QLabel>("lblVerifica")->isHidden());
    }

    void switchingOffDeletesTheHeldPieces() {
        Apri(kPrincipale);
        QVERIFY(D<QCheckBox>("chkMulti")->isChecked());
        QVERIFY(D<QRadioButton>("optVorsaPrinc", 1)->isChecked());
        QVERIFY(D<QWidget>("frmOpt", 1)->isVisible());
        QVERIFY(Ini().contains("[MULTIVORSA-TMP]"));

        Clic(D<QCheckBox>("chkMulti"));
        QVERIFY(!D<QCheckBox>("chkMulti")->isChecked());
        QVERIFY(!Ini().contains("[MULTIVORSA-TMP]"));  // the rest of the bytes: core tests
        QVERIFY(!D<QWidget>("frmOpt", 0)->isVisible() && !D<QWidget>("frmOpt", 1)->isVisible());
        QVERIFY(!D<QRadioButton>("optVorsaPrinc", 0)->isChecked() &&
                !D<QRadioButton>("optVorsaPrinc", 1)->isChecked());
        QVERIFY(!D<QRadioButton>("optVorsaPrinc", 1)->isEnabled() &&
                !D<QLabel>("lblSceltaMulti")->isEnabled());
        QVERIFY(share_.calls.isEmpty());
    }

    /// Off, main and secondary: each creates or removes the share, and fits the screen.
    void choosingTheRoleCreatesOrRemovesTheShare() {
        Apri(kSingola);
        Entra("spento");
        QVERIFY(!D<QRadioButton>("optVorsaPrinc", 1)->isEnabled());
        Clic(D<QCheckBox>("chkMulti"));
        QCOMPARE(Chiave("ABILITATO"), QByteArray("1"));

        Clic(D<QRadioButton>("optVorsaPrinc", 1));
        const QString folder = QString::fromStdString(scena_->fx.till().paths.programFolder);
        QCOMPARE(share_.calls, QStringList{"create vorsa$ " + folder});
        QCOMPARE(Chiave("MASTER"), QByteArray("1"));
        QVERIFY(D<QWidget>("frmOpt", 1)->isVisible() && !D<QWidget>("frmOpt", 0)->isVisible());
        QCOMPARE(D<QLabel>("lblNomePostazione")->text(), QStringLiteral("cassa"));
        QCOMPARE(D<QListWidget>("lstIpAddress")->count(), 3);
        QVERIFY(errori_.isEmpty());
        Entra("principale");

        Clic(D<QRadioButton>("optVorsaPrinc", 0));
        QCOMPARE(share_.calls.last(), QStringLiteral("delete vorsa$"));
        QCOMPARE(Chiave("MASTER"), QByteArray("0"));
        QVERIFY(D<QWidget>("frmOpt", 0)->isVisible() && !D<QWidget>("frmOpt", 1)->isVisible());
        QVERIFY(D<QRadioButton>("optVorsaPrinc", 0)->isChecked() &&
                !D<QRadioButton>("optVorsaPrinc", 1)->isChecked());
        Entra("secondaria");

        // A share that does not answer: the critical box names the folder to share by hand.
        share_.ok = false;
        Clic(D<QRadioButton>("optVorsaPrinc", 1));
        QCOMPARE(errori_.size(), 1);
        QVERIFY(errori_[0].contains(folder));
    }

    /// The password typed and left reaches the share's account and the red warning goes (what
    /// the files keep: the multi-till core tests).
    void passwordIsSetWhenLeft() {
        Apri(kPrincipale);
        QLineEdit* box = D<QLineEdit>("txtPasswordMulti");
        QCOMPARE(box->echoMode(), QLineEdit::Password);
        QVERIFY(D<QLabel>("lblSenzaPassword")->isVisible());
        Scrivi(box, QStringLiteral("segreta"));
        QCOMPARE(share_.calls.first(), QStringLiteral("password vorsa -> segreta"));
        QVERIFY(!D<QLabel>("lblSenzaPassword")->isVisible());
    }
};

QTEST_MAIN(TstOpzioniMulti)
#include "tst_opzioni_multi.moc"
