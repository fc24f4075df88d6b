// The till as AppRoot puts it together, with the outside world faked: what each piece was
// given reaches the others (printer, panels, lights, the code box's focus).
#include <QInputDialog>
#include <QMessageBox>
#include <QTcpServer>

#include "app/app_root.h"
#include "app/web_pages.h"
#include "frm_vorsa_scene.h"
#include "platform/profile_store.h"
#include "settings/settings_store.h"
#include "ui/notices/printer_lights.h"

using namespace vorsa;
using namespace vorsa::test;

namespace {

/// Answers the next modal box: a password box with "rosso", a question with Yes.
void Rispondi() {
    QTimer::singleShot(100, [] {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* d = qobject_cast<QInputDialog*>(w)) {
            d->setTextValue(QStringLiteral("rosso"));
            d->accept();
        } else if (auto* m = qobject_cast<QMessageBox*>(w)) {
            m->button(QMessageBox::Yes)->click();
        }
    });
}

/// The whole till, shown, on a recording printer "Banco" and the catalogue.
struct Cassa {
    TillFixture fx;
    RecordingBackend backend{{"Banco"}, "Banco"};
    std::shared_ptr<Spooler> code = std::make_shared<Spooler>();
    ScriptedShare share;  // never asked for in a single till
    std::unique_ptr<AppRoot> root;

    /// Starts a single till with `ini` added; `prima` runs on the started till first.
    bool Avvia(const QByteArray& ini = {}, const std::function<void(Till&)>& prima = {}) {
        if (!fx.Write(QStringLiteral("Vorsa.ini"), kLetto + "MODE=0\r\n" + kCatalogo + ini))
            return false;
        fx.Start();
        if (prima) prima(fx.till());
        code->stampanti["Banco"] = {QueueState::Pronta, true, {}};
        root = std::make_unique<AppRoot>(
            fx.till(),
            AppServices{backend, [c = code] { return std::make_unique<StatesReader>(c); }, share});
        root->Show();
        return QTest::qWaitForWindowExposed(&root->Window());
    }
};

}  // namespace

class TstAppRoot : public QObject {
    Q_OBJECT
  private slots:
    void thePiecesReachEachOther() {
        Cassa cassa;
        QVERIFY(cassa.Avvia("[STAMPA]\r\nSTAMPANTE=Banco\r\n"));
        RecordingBackend& backend = cassa.backend;
        FrmVorsa& frm = cassa.root->Window();
        QTRY_VERIFY(BoxCodice(frm)->hasFocus());

        // The printer's lights sit beside the print switch and read the printer in use.
        auto* spie = Ctl<PrinterLights>(frm, QStringLiteral("spie_Stampanti"));
        QVERIFY(spie && spie->parentWidget() == ChkStampa(frm)->parentWidget());
        QTRY_COMPARE(spie->SpiaDi(0), Light::Verde);

        // The settings panel prints through the same printer, then hands the focus back.
        QTest::keyClick(BoxCodice(frm), Qt::Key_F7);
        QVERIFY(Gestione(frm, 1)->isVisible());
        backend.Clear();
        QTest::mouseClick(Ctl<QPushButton>(frm, QStringLiteral("btn_StampaTest")), Qt::LeftButton);
        QVERIFY(!backend.Documents().empty());
        QCOMPARE(backend.Documents().front().printer, std::string("Banco"));
        QVERIFY(BoxCodice(frm)->hasFocus());
    }

    void buttonsFollowAVoidAndADeletedRow() {
        const QByteArray venduto =
            "[STATISTICHE]\r\nSCONTRINI=1\r\n104=10;40\r\n[SCONTRINI]\r\n"
            "1=104-10-40;12/06/2026 19:00:00-40--cassa10:00-0-0-0\r\n";
        for (bool storno : {true, false}) {
            Cassa cassa;
            QVERIFY(cassa.Avvia(storno ? venduto : QByteArray()));
            FrmVorsa& frm = cassa.root->Window();
            if (storno) {
                // Salsiccia, 5 pieces under a threshold of 10: the void of 10 brings it back.
                QVERIFY(frm.ButtonColour(0, 4) != -1);
                QTest::keyClick(BoxCodice(frm), Qt::Key_F6);
                QCOMPARE(Ctl<QLineEdit>(frm, QStringLiteral("txt_Numero_Scontrino"))->text(),
                         QStringLiteral("1"));
                Ctl<QCheckBox>(frm, QStringLiteral("chkScontrinoStorno"))->click();
                QCOMPARE(frm.ButtonColour(0, 4), -1);
            } else {
                // Patatine, sold out: its row deleted, the empty position loses the colour.
                QVERIFY(frm.ButtonColour(0, 3) != -1);
                QTest::keyClick(BoxCodice(frm), Qt::Key_F7);
                Ctl<QListWidget>(frm, QStringLiteral("lst_Prodotti_Elenco"))->setCurrentRow(2);
                Rispondi();
                QTest::mouseClick(Ctl<QPushButton>(frm, QStringLiteral("cmd_Gestione_B(0)")),
                                  Qt::LeftButton);
                QTRY_COMPARE(frm.ButtonColour(0, 3), -1);
            }
        }
    }

    void theF6AndF7PasswordsAreSetInTheirPanels() {
        Cassa cassa;
        QVERIFY(cassa.Avvia());
        TillFixture& fx = cassa.fx;
        FrmVorsa& frm = cassa.root->Window();
        const struct {
            Qt::Key key;
            int n;
            int panel;
        } casi[] = {{Qt::Key_F6, kAzioneStatistica, 0}, {Qt::Key_F7, kAzioneImpostazioni, 1}};
        for (const auto& c : casi) {
            QTest::keyClick(BoxCodice(frm), c.key);
            QVERIFY(Gestione(frm, c.panel)->isVisible());
            auto* box = Ctl<QLineEdit>(frm, QStringLiteral("txt_Pwd(%1)").arg(c.n));
            QVERIFY(box && box->isVisible());
            QCOMPARE(box->echoMode(), QLineEdit::Password);
            box->setFocus();
            QTest::keyClicks(box, QStringLiteral(" rosso "));
            BoxCodice(frm)->setFocus();  // leaving the box stores it, trimmed and scrambled
            ProfileStore letto(fx.till().svc.files);
            const std::string scritto =
                letto.Get(fx.till().paths.gFilePassword, "AZIONI", "PASSF" + std::to_string(c.n))
                    .value_or("");
            QCOMPARE(DecodificaPassword(kChiavePassword, scritto), std::string("rosso"));
            QTest::keyClick(BoxCodice(frm), c.key);
            QVERIFY(!Gestione(frm, c.panel)->isVisible());
        }
        // A function key typed into the statistics title works as in the code box, and the
        // title typed so far is kept.
        auto* titolo = Ctl<QLineEdit>(frm, QStringLiteral("txt_Stat_Commento"));
        Rispondi();
        QTest::keyClick(BoxCodice(frm), Qt::Key_F6);
        QTest::mouseClick(Ctl<QPushButton>(frm, QStringLiteral("cmd_Statistica(7)")),
                          Qt::LeftButton);
        titolo->setFocus();
        QTest::keyClicks(titolo, QStringLiteral("Sagra"));
        QTest::keyClick(titolo, Qt::Key_F6);
        QVERIFY(!Gestione(frm, 0)->isVisible());
        QVERIFY(fx.Read(QStringLiteral("Vorsa.ini")).contains("COMMENTO=Sagra"));

        // F7 now asks for its password: the right one opens the panel.
        Rispondi();
        QTest::keyClick(BoxCodice(frm), Qt::Key_F7);
        QVERIFY(Gestione(frm, 1)->isVisible());
    }

    void aWaitingSaleGoesAtATickOnceTheOperatorPauses() {
        Cassa cassa;
        QVERIFY(cassa.fx.Write(
            QStringLiteral("VorsaAttesa.ini"),
            "[P1]\r\nSCONTRINO=101-1-2,5;06/12/2026 20:15:00-2,5--cassa12345-0-0-0\r\n"));
        // A single till's state: no start-up notice to confirm.
        QVERIFY(cassa.Avvia("[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n",
                            [](Till& t) { t.statoMultiVorsa = MultiTillState::Singola; }));
        FrmVorsa& frm = cassa.root->Window();
        auto* attesa = Ctl<QLabel>(frm, QStringLiteral("lbl_Attesa"));
        QVERIFY(attesa->isVisible());
        auto* timer = Ctl<QTimer>(frm, QStringLiteral("tmrMultivorsa"));
        auto tick = [&] { QMetaObject::invokeMethod(timer, "timeout"); };

        // While keys come, the tick leaves it waiting; after a pause it goes in.
        QTest::keyClick(BoxCodice(frm), Qt::Key_1);
        tick();
        QVERIFY(attesa->isVisible());
        QTest::qWait(kPausaConsegnaMs + 100);
        tick();
        QVERIFY(!attesa->isVisible());
        QVERIFY(cassa.fx.Read(QStringLiteral("Vorsa.ini")).contains("1=101-1-2,5;06/12/2026"));
    }

    // The web server follows the options within a tick; a port already taken is told once and
    // the till sells on.
    void theWebServerFollowsItsOptions() {
        QTcpServer occupata;
        QVERIFY(occupata.listen(QHostAddress::Any));
        Cassa cassa;
        QVERIFY(cassa.Avvia(
            "[WEB]\r\nABILITATO=1\r\nPORTA=" + QByteArray::number(occupata.serverPort()) + "\r\n"));
        const WebServer& server = cassa.root->Web().Server();
        QVERIFY(!server.Attivo());
        QWidget* avviso = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("frmMessaggi") && w->isVisible()) avviso = w;
        QVERIFY(avviso);
        QVERIFY(Ctl<QLabel>(*avviso, QStringLiteral("lblTesto"))
                    ->text()
                    .contains(QString::number(occupata.serverPort())));
        Options& o = cassa.fx.till().opt;
        {  // a port free just now: the next one up may well be another program's
            QTcpServer libera;
            QVERIFY(libera.listen(QHostAddress::Any));
            o.webPort = libera.serverPort();
        }
        QTRY_VERIFY_WITH_TIMEOUT(server.Attivo(), 15000);
        QCOMPARE(server.Porta(), o.webPort);
        o.gMultiVorsa = true;  // a secondary does not serve them
        QTRY_VERIFY_WITH_TIMEOUT(!server.Attivo(), 15000);
    }
};

QTEST_MAIN(TstAppRoot)
#include "tst_app_root.moc"
