// The main window after its load step and at unload: what the operator sees (the captions, the
// keypad, the "INFO POINT" boxes behind the lbl_info labels) and what lands in Vorsa.ini.
#include <QAbstractButton>
#include <QApplication>

#include "frm_vorsa_scene.h"
#include "layout/info_texts.h"
#include "platform/profile_store.h"
#include "ui/widgets/widget_helpers.h"

using namespace vorsa;
using namespace vorsa::test;

namespace {

QColor Rgb(int rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

/// Background as painted: a colour of its own, or none (-1) for the default look.
void VerificaSfondo(const QWidget& w, QPalette::ColorRole role, int rgb) {
    if (rgb < 0) {
        QVERIFY2(!w.autoFillBackground(), qPrintable(w.objectName()));
        QCOMPARE(w.palette().color(role), QApplication::palette(&w).color(role));
    } else {
        QVERIFY2(w.autoFillBackground(), qPrintable(w.objectName()));
        QCOMPARE(w.palette().color(role), Rgb(rgb));
    }
}

QString Info(int i, const Till& till) {
    const std::string utf8 = Cp1252ToUtf8(TestoInfo(i, till.paths.gFilePassword));
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

const QByteArray kMulti = kLetto + "MODE=0\r\n" + "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n";

/// A started scene whose main window is the active one.
bool AvviaAttiva(Scena& s, const QByteArray& ini) {
    if (!s.Avvia(kCatalogo + ini)) return false;
    if (!QTest::qWaitFor([&] { return s.Assestata(); })) return false;
    s.frm->activateWindow();
    return QTest::qWaitForWindowActive(s.frm.get());
}

QTimer* TmrMultivorsa(const FrmVorsa& f) {
    return Ctl<QTimer>(f, "tmrMultivorsa");
}

}  // namespace

class TstFrmVorsa : public QObject {
    Q_OBJECT
  private slots:
    void startUp() {
        Scena s;
        // No EULA yet: the readme of this version opens once, through the shell.
        QVERIFY(s.Avvia("[PROGRAMMA]\r\nTIMER_CODICI_MS=450\r\n" + kCatalogo));
        QCOMPARE(s.fx.shell.opened.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(s.fx.shell.opened.front()),
                 s.fx.FilePath(QStringLiteral("Leggimi.txt")));
        // Only the resize timer runs, once, to lay the buttons out; the code timer as set.
        QTRY_VERIFY(s.Assestata());
        QVERIFY(!TmrInput(*s.frm)->isActive());
        QCOMPARE(TmrInput(*s.frm)->interval(), 450);
        for (int i = 0; i < 3; ++i) QVERIFY(Gestione(*s.frm, i)->isHidden());
        QVERIFY(!BoxPagato(*s.frm)->isEnabled());
        // The bill's columns line up only in a fixed-pitch font.
        QVERIFY(QFontInfo(ListaSpesa(*s.frm)->font()).fixedPitch());
        // The keypad and the coins live in the payment panel, hidden at rest.
        QFrame* pagamento = Gestione(*s.frm, 2);
        QVERIFY(!CmdCalc(*s.frm, 0)->isVisible());
        pagamento->show();
        for (int n = 0; n < 12; ++n)
            for (QWidget* b : {static_cast<QWidget*>(CmdCalc(*s.frm, n)),
                               static_cast<QWidget*>(CmdSoldi(*s.frm, n % 10))}) {
                QCOMPARE(b->parentWidget(), pagamento);
                QVERIFY(b->isVisible() && pagamento->rect().contains(b->geometry()));
            }
    }

    void functionKeys() {
        const char* captions[] = {"", "PAGA CONTO", "ANNULLA \xC3\x88", "PANE && VINO",
                                  "NUOVO CONTO"};
        Scena s;
        QVERIFY(s.Avvia(kLetto + "[AZIONI]\r\nF2=ANNULLA \xC8;BIS\r\nF3=PANE & VINO\r\n" +
                            "[MONETE]\r\nS3=0,25\r\n" + kCatalogo,
                        [](Till& t) { t.gAzioni[6].enabled = false; }));
        for (int n = 1; n <= 7; ++n) {
            QPushButton* b = CmdAzione(*s.frm, n);
            QVERIFY(b && LblAzioneCode(*s.frm, n));
            // From the settings in Windows-1252; '&' doubled so that it is no mnemonic.
            if (n <= 4) QCOMPARE(b->text(), QString::fromUtf8(captions[n]));
            QCOMPARE(b->isEnabled(),
                     n != 4 && n != 6);  // F4 starts disabled; F6 disabled by the till
        }
        QVERIFY(CmdSoldi(*s.frm, 3)->text().startsWith(QStringLiteral("0,25")));  // a coin set
    }

    void products() {
        const QString euro = QString::fromUtf8("\u20ac");
        const struct {
            int section, position;
            const char* prefix;
            QString caption, code, price;
            int priceColour, buttonColour;
            bool active;
        } rows[] = {
            {0, 1, "mangiare", "Panino", "Cod. 101", euro + " 2,50", 0x800000, -1, true},
            {0, 3, "mangiare", "Patatine", "Cod. 103", euro + " 3,00", 0x800000, 0xFFFF00, true},
            {0, 5, "mangiare", "Vino", "Cod. 105", euro + " 3,00", 0x800000, -1,
             false},                                                              // inactive
            {1, 2, "bere", "", "Cod. 202", euro + " 0,00", 0x800000, -1, false},  // empty position
            {2, 1, "altro", QString::fromUtf8("Caff\u00e8"), "Cod. 301", euro + " 1,20", 0x800000,
             -1, true},
        };
        Scena s;
        QVERIFY(s.Avvia(kLetto + kCatalogo));
        for (const auto& r : rows) {
            const QString idx = QStringLiteral("(%1)").arg(r.position);
            const QString prefix = QLatin1String(r.prefix);
            auto* b = Ctl<QPushButton>(*s.frm, "cmd_" + prefix + idx);
            auto* c = Ctl<QLabel>(*s.frm, "lbl_" + prefix + "_code" + idx);
            auto* p = Ctl<QLabel>(*s.frm, "lbl_" + prefix + "_prezzo" + idx);
            QVERIFY(b && c && p);
            QCOMPARE(b->text(), r.caption);
            QCOMPARE(b->isEnabled(), r.active);
            QCOMPARE(c->isVisible(), r.active);
            QCOMPARE(p->isVisible(), r.active);
            QCOMPARE(c->text(), r.code);
            QCOMPARE(p->text(), r.price);
            QCOMPARE(p->palette().color(QPalette::WindowText), Rgb(r.priceColour));
            VerificaSfondo(*b, QPalette::Button, r.buttonColour);
        }
    }

    void placement() {
        // TOP, LEFT, MODE and WIDTH in twips as read, the operator's move, and as saved.
        const struct {
            const char* ini;
            QRect moveTo;
            const char* saved;
        } rows[] = {
            {"1500 3000 0 18000", {}, "1500 3000 0 18000"},
            {"1500 3000 1 18000", {}, "1500 3000 1 18000"},
            {"1500 3000 2 18000", {}, "1500 3000 2 18000"},
            {"1507 3001 0 18004", {}, "1507 3001 0 18004"},  // no whole pixels, kept when not moved
            {"1500 3000 0 18000", QRect(300, 150, 1100, 600), "2250 4500 0 16500"},
        };
        const QList<QByteArray> keys{"TOP", "LEFT", "MODE", "WIDTH"};
        for (const auto& r : rows) {
            const QList<QByteArray> v = QByteArray(r.ini).split(' ');
            QByteArray ini;
            for (int i = 0; i < 4; ++i) ini += keys[i] + "=" + v[i] + "\r\n";
            Scena s;
            QVERIFY(s.Avvia(kLetto + ini + kCatalogo));
            QCOMPARE(s.frm->isMinimized(), v[2] == "1");
            QCOMPARE(s.frm->isMaximized(), v[2] == "2");
            QCOMPARE(s.frm->normalGeometry(), QRect(200, 100, 1200, Px(kAltezzaMinima)));
            QVERIFY(s.frm->minimumWidth() == Px(kLarghezzaMinima) &&
                    s.frm->minimumHeight() == Px(kAltezzaMinima));
            if (r.moveTo.isValid()) s.frm->setGeometry(r.moveTo);
            QVERIFY(s.frm->close());
            QByteArray saved;
            for (const QByteArray& k : keys) saved += " " + s.Chiave("PROGRAMMA", k);
            QCOMPARE(saved.mid(1), QByteArray(r.saved));
            // Unload runs once: what happens after it reaches no file.
            const QByteArray first = s.Ini();
            s.frm->setGeometry(400, 300, 1300, 700);
            s.frm->setWindowState(Qt::WindowMaximized);
            s.frm->close();
            s.frm.reset();
            QCOMPARE(s.Ini(), first);
        }
    }

    void multiTill() {
        // Each start-up outcome (its words: the start-up tests) is said once, as a modal notice
        // with one "OK"; an open share (no password here) in red.
        for (int stato = 0; stato <= 5; ++stato) {
            Scena s;
            QVERIFY(s.Avvia(kLetto + kCatalogo, [&](Till& t) {
                t.statoMultiVorsa = static_cast<MultiTillState>(stato);
            }));
            const auto avviso = AvvisoPerStato(s.fx.till());
            QCOMPARE(s.messaggi.calls.size(), std::size_t{avviso ? 1u : 0u});
            if (!avviso) continue;
            const auto& call = s.messaggi.calls.front();
            QCOMPARE(call.text, Testo(avviso->text));
            QCOMPARE(call.hint, Testo(avviso->hint));
            QVERIFY(call.showButtons && call.caption0.isEmpty() && call.modal);
            QCOMPARE(call.caption1, QStringLiteral("OK"));
            QCOMPARE(call.intervalMs, avviso->closeAfterMs);
            QCOMPARE(call.rosso, avviso->allarme);
        }
    }

    void infoLabelsExplain() {
        Scena s;
        QVERIFY(s.Avvia(kLetto + "MODE=0\r\n" + kCatalogo));
        QTRY_VERIFY(s.Assestata());
        QStringList titles, texts;
        s.frm->ImpostaFinestraInfo([&](QWidget*, const QString& t, const QString& x) {
            titles.push_back(t);
            texts.push_back(x);
        });
        QVERIFY(s.Impostazioni());  // the editor places its own labels
        for (int i : kIndiciInfo) {
            if (i == 8) continue;  // beside F6's password, on the statistics panel
            auto* label = Ctl<QLabel>(*s.frm, QStringLiteral("lbl_info(%1)").arg(i));
            QVERIFY(label && label->isVisible());
            QTest::mouseClick(label, Qt::LeftButton);
            QCOMPARE(titles.takeLast(), QStringLiteral("INFO POINT"));
            QCOMPARE(texts.takeLast(), Info(i, s.fx.till()));  // CR LF as a line break
        }
    }

    // tmrMultivorsa runs every 2 seconds only while the main window is the active one in
    // multi-till mode, and a tick repaints the product buttons from what another till wrote.
    void multivorsaTimerRunsOnlyWhileActiveAndRepaints() {
        Scena s;
        QVERIFY(AvviaAttiva(s, kMulti));
        QTimer* t = TmrMultivorsa(*s.frm);
        QVERIFY(t);
        QCOMPARE(t->interval(), 2000);
        QVERIFY(t->isActive());
        // Another window in front (an option dialog): no refresh behind it.
        QWidget altra;
        altra.resize(200, 100);
        altra.show();
        altra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&altra));
        QTRY_VERIFY(!t->isActive());
        altra.close();
        s.frm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(s.frm.get()));
        QTRY_VERIFY(t->isActive());
        // Salsiccia (MANGIARE 4) has 5 pieces: another till's bill takes all of them.
        FrmVorsa& f = *s.frm;
        const int prima = f.ButtonColour(0, 4);
        auto files = MakeLocalFileAccess(false);
        ProfileStore altraCassa(*files);
        QVERIFY(altraCassa.Set(s.fx.till().paths.gFileLock, "MULTIVORSA", "4", "5"));
        t->setInterval(10);
        t->start();
        QTRY_VERIFY(f.ButtonColour(0, 4) != prima);
        QCOMPARE(s.fx.till().cat.gArticoli[4].sharedCount, 5);
        QVERIFY(t->isActive());  // the timer carries on after the tick
        // Never on a single till.
        Scena singola;
        QVERIFY(AvviaAttiva(singola, kLetto + "MODE=0\r\n"));
        QVERIFY(!TmrMultivorsa(*singola.frm)->isActive());
    }
};

QTEST_MAIN(TstFrmVorsa)
#include "tst_frm_vorsa.moc"
