// The main window after its load step and at unload: what the operator sees (the captions, the
// keypad, the "INFO POINT" boxes behind the lbl_info labels) and what lands in Vorsa.ini.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "frm_vorsa_scene.h"
#include "layout/info_testi.h"
#include "platform/profile_store.h"
#include "platform/text.h"
#include "support/qt_checks.h"

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

const QByteArray kMulti = Programma("MODE=0\r\n") + "[MULTIVORSA]\r\nABILITATO=1\r\nMASTER=1\r\n";

/// A started scene whose main window is the active one.
bool AvviaAttiva(Scena& s, const QByteArray& ini) {
    if (!s.Avvia(kCatalogo + ini)) return false;
    if (!QTest::qWaitFor([&] { return s.Assestata(); })) return false;
    s.frm->activateWindow();
    return QTest::qWaitForWindowActive(s.frm.get());
}

QTimer* TmrMultivorsa(const FrmVorsa& f) {
    return Ctl<QTimer>(f, QStringLiteral("tmrMultivorsa"));
}

}  // namespace

class TstFrmVorsa : public QObject {
    Q_OBJECT
  private slots:
    void feedbackLabels();
    void billAndTimers();
    void functionKeys();
    void coins();
    void products();
    void productCells();
    void showFeedback();
    void placement_data();
    void placement();
    void unloadRunsOnce();
    void multiTill_data();
    void multiTill();
    void anOpenShareIsSaidInRed();
    void waitingSalesAreCountedUnderTheKeys();
    void titleAndReadme();
    void keypad();
    void captions();
    void infoLabels();
    void infoBox();
    void multivorsaTimerRunsOnlyWhileTheWindowIsActive();
    void multivorsaTimerNeverRunsOnASingleTill();
    void multivorsaTickShowsWhatAnotherTillHolds();
};

void TstFrmVorsa::feedbackLabels() {
    Scena s;
    QVERIFY(s.Avvia(kLetto + kCatalogo));
    QTRY_VERIFY(s.Assestata());
    // All five at one place (the layout's tests), left of the code box; only the prompt at rest.
    for (int i = 0; i < 5; ++i) {
        QLabel* l = ConfCode(*s.frm, i);
        QCOMPARE(l->isVisible(), i == 2);
        QCOMPARE(l->pos(), ConfCode(*s.frm, 0)->pos());
        QVERIFY(l->geometry().right() < BoxCodice(*s.frm)->x());
    }
}

void TstFrmVorsa::billAndTimers() {
    Scena s;
    QVERIFY(s.Avvia(Programma("TIMER_CODICI_MS=450\r\n") + kCatalogo));
    // Only the resize timer runs, once, to lay the buttons out.
    QTRY_VERIFY(s.Assestata());
    for (const char* name : {"tmrInput", "tmrResize"}) {
        auto* t = s.frm->findChild<QTimer*>(QLatin1String(name));
        QVERIFY2(t, name);
        QVERIFY2(!t->isActive(), name);
    }
    QCOMPARE(s.frm->findChild<QTimer*>(QStringLiteral("tmrInput"))->interval(), 450);
    QCOMPARE(s.frm->findChild<QTimer*>(QStringLiteral("tmrResize"))->interval(), 100);
    for (int i = 0; i < 3; ++i) QVERIFY(Gestione(*s.frm, i)->isHidden());
    for (QLabel* l : {LblTotale(*s.frm), LblResto(*s.frm), LblUltimoScontrino(*s.frm)})
        QCOMPARE(l->text(), QStringLiteral("0,00"));
    QCOMPARE(BoxPagato(*s.frm)->text(), QStringLiteral("0,00"));
    QVERIFY(!BoxPagato(*s.frm)->isEnabled());
    QCOMPARE(ListaSpesa(*s.frm)->frameShape(), QFrame::NoFrame);
    QCOMPARE(ListaSpesa(*s.frm)->font().family(), QStringLiteral("Courier New"));
}

void TstFrmVorsa::functionKeys() {
    const char* captions[] = {"", "PAGA CONTO", "ANNULLA \xC3\x88", "PANE && VINO", "NUOVO CONTO"};
    Scena s;
    QVERIFY(s.Avvia(kLetto + "[AZIONI]\r\nF2=ANNULLA \xC8;BIS\r\nF3=PANE & VINO\r\n" + kCatalogo,
                    [](Till& t) { t.gAzioni[6].enabled = false; }));
    for (int n = 1; n <= 7; ++n) {
        QPushButton* b = CmdAzione(*s.frm, n);
        QVERIFY(b && LblAzioneCode(*s.frm, n));
        // From the settings in Windows-1252; '&' doubled so that it is no mnemonic.
        if (n <= 4) QCOMPARE(b->text(), QString::fromUtf8(captions[n]));
        QCOMPARE(b->isEnabled(), n != 4 && n != 6);  // F4 starts disabled; F6 disabled by the till
    }
}

void TstFrmVorsa::coins() {
    Scena s;
    QVERIFY(s.Avvia(kLetto + "[MONETE]\r\nS3=0,25\r\n" + kCatalogo));
    const QStringList captions{"0,05", "0,1", "0,2", "0,25", "1", "2", "5", "10", "20", "50"};
    for (int n = 0; n < 10; ++n) {
        auto* b = s.Trova<QPushButton>(QStringLiteral("cmdSoldi(%1)").arg(n));
        auto* l = s.Trova<QLabel>(QStringLiteral("lblSoldi(%1)").arg(n));
        QVERIFY(b && l);
        QCOMPARE(b->text(), captions[n] + QString::fromUtf8("  \u20ac"));
        QCOMPARE(l->text(), QStringLiteral("S%1").arg(n));
    }
}

void TstFrmVorsa::products() {
    const QString euro = QString::fromUtf8("\u20ac");
    const struct {
        int section, position;
        const char* prefix;
        QString caption, code, price;
        int priceColour, buttonColour;
        bool active;
    } rows[] = {
        {0, 1, "mangiare", "Panino", "Cod. 101", euro + " 2,50", 0x800000, -1, true},
        {0, 2, "mangiare", "Bibita", "Cod. 102", euro + "   ?", 0x0000FF, -1, true},  // variable
        {0, 3, "mangiare", "Patatine", "Cod. 103", euro + " 3,00", 0x800000, 0xFFFF00, true},
        {0, 4, "mangiare", "Salsiccia", "Cod. 104", euro + " 4,00", 0x800000, 0x80FFFF, true},
        {0, 5, "mangiare", "Vino", "Cod. 105", euro + " 3,00", 0x800000, -1, false},  // inactive
        {1, 2, "bere", "", "Cod. 202", euro + " 0,00", 0x800000, -1, false},  // empty position
        {2, 1, "altro", QString::fromUtf8("Caff\u00e8"), "Cod. 301", euro + " 1,20", 0x800000, -1,
         true},
    };
    Scena s;
    QVERIFY(s.Avvia(kLetto + kCatalogo));
    for (const auto& r : rows) {
        const QString idx = QStringLiteral("(%1)").arg(r.position);
        const QString prefix = QLatin1String(r.prefix);
        auto* b = s.Trova<QPushButton>("cmd_" + prefix + idx);
        auto* c = s.Trova<QLabel>("lbl_" + prefix + "_code" + idx);
        auto* p = s.Trova<QLabel>("lbl_" + prefix + "_prezzo" + idx);
        QVERIFY(b && c && p);
        QCOMPARE(b->text(), r.caption);
        QCOMPARE(b->isEnabled(), r.active);
        QCOMPARE(c->isVisible(), r.active);
        QCOMPARE(p->isVisible(), r.active);
        QCOMPARE(c->text(), r.code);
        QCOMPARE(p->text(), r.price);
        QCOMPARE(p->palette().color(QPalette::WindowText), Rgb(r.priceColour));
        QCOMPARE(s.frm->ButtonColour(r.section, r.position), r.buttonColour);
        VerificaSfondo(*b, QPalette::Button, r.buttonColour);
        QCOMPARE(b->height(), Px(495));
    }
    Scena rimanenza;
    QVERIFY(rimanenza.Avvia(kLetto + kCatalogo, [](Till& t) { t.opt.gMostraRimanenza = true; }));
    QCOMPARE(rimanenza.Trova<QLabel>(QStringLiteral("lbl_mangiare_code(4)"))->text(),
             QStringLiteral("Pz: 5"));
}

void TstFrmVorsa::productCells() {
    Scena s;
    QVERIFY(s.Avvia(kLetto + kCatalogo));
    // One cell per position of each section's size, and none beyond.
    const std::array<std::pair<const char*, int>, 3> sizes{
        {{"mangiare", 5}, {"bere", 2}, {"altro", 4}}};
    QList<QRect> seen;
    for (const auto& [name, size] : sizes) {
        for (int p = 1; p <= size + 1; ++p) {
            auto* b =
                s.Trova<QPushButton>(QStringLiteral("cmd_%1(%2)").arg(QLatin1String(name)).arg(p));
            QCOMPARE(b != nullptr, p <= size);
            if (b) {
                QVERIFY2(!seen.contains(b->geometry()), qPrintable(b->objectName()));
                seen.push_back(b->geometry());
                QVERIFY(s.frm->rect().contains(b->geometry().topLeft()));
            }
        }
    }
}

void TstFrmVorsa::showFeedback() {
    Scena s;
    QVERIFY(s.Avvia(kLetto + kCatalogo));
    auto* finito = s.Trova<QLabel>(QStringLiteral("lbl_conf_code(3)"));
    QVERIFY(!finito->isVisible());
    s.frm->ShowFeedback(3);
    QVERIFY(finito->isVisible());
    s.frm->ShowFeedback(7);  // no such label: ignored
    // Setting a colour and going back to the default look.
    s.frm->SetButtonColour(0, 1, kGiallo);
    QCOMPARE(s.frm->ButtonColour(0, 1), kGiallo);
    s.frm->SetButtonColour(0, 1, kColoreBottone);
    QCOMPARE(s.frm->ButtonColour(0, 1), kColoreBottone);
    VerificaSfondo(*s.Trova<QPushButton>(QStringLiteral("cmd_mangiare(1)")), QPalette::Button, -1);
}

void TstFrmVorsa::placement_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QRect>("geometry");  // normal geometry in pixels at 96 dpi
    QTest::addColumn<QRect>("moveTo");    // moved by the operator before closing, when valid
    QTest::addColumn<QList<QByteArray>>("saved");
    const int h = Px(kAltezzaMinima);
    QTest::newRow("normal") << QByteArray("TOP=1500\r\nLEFT=3000\r\nMODE=0\r\nWIDTH=18000\r\n") << 0
                            << QRect(200, 100, 1200, h) << QRect()
                            << QList<QByteArray>{"TOP=1500", "LEFT=3000", "MODE=0", "WIDTH=18000"};
    QTest::newRow("minimised") << QByteArray("TOP=1500\r\nLEFT=3000\r\nMODE=1\r\nWIDTH=18000\r\n")
                               << 1 << QRect(200, 100, 1200, h) << QRect()
                               << QList<QByteArray>{"TOP=1500", "LEFT=3000", "MODE=1",
                                                    "WIDTH=18000"};
    QTest::newRow("maximised") << QByteArray("TOP=1500\r\nLEFT=3000\r\nMODE=2\r\nWIDTH=18000\r\n")
                               << 2 << QRect(200, 100, 1200, h) << QRect()
                               << QList<QByteArray>{"TOP=1500", "LEFT=3000", "MODE=2",
                                                    "WIDTH=18000"};
    // Twips that are no whole pixel come back unchanged when the window did not move.
    QTest::newRow("odd twips kept")
        << QByteArray("TOP=1507\r\nLEFT=3001\r\nMODE=0\r\nWIDTH=18004\r\n") << 0
        << QRect(200, 100, 1200, h) << QRect()
        << QList<QByteArray>{"TOP=1507", "LEFT=3001", "MODE=0", "WIDTH=18004"};
    QTest::newRow("moved by the operator")
        << QByteArray("TOP=1500\r\nLEFT=3000\r\nMODE=0\r\nWIDTH=18000\r\n") << 0
        << QRect(200, 100, 1200, h) << QRect(300, 150, 1100, 600)
        << QList<QByteArray>{"TOP=2250", "LEFT=4500", "MODE=0", "WIDTH=16500"};
}

void TstFrmVorsa::placement() {
    QFETCH(QByteArray, ini);
    QFETCH(int, mode);
    QFETCH(QRect, geometry);
    QFETCH(QRect, moveTo);
    QFETCH(QList<QByteArray>, saved);
    Scena s;
    QVERIFY(s.Avvia(Programma(ini) + kCatalogo));
    QCOMPARE(s.frm->isMinimized(), mode == 1);
    QCOMPARE(s.frm->isMaximized(), mode == 2);
    QCOMPARE(s.frm->normalGeometry(), geometry);
    QVERIFY(s.frm->minimumWidth() == Px(kLarghezzaMinima) &&
            s.frm->minimumHeight() == Px(kAltezzaMinima));
    if (moveTo.isValid()) s.frm->setGeometry(moveTo);
    QVERIFY(s.frm->close());
    QList<QByteArray> lines = SectionLines(s.fx.Read(QStringLiteral("Vorsa.ini")), "PROGRAMMA");
    QList<QByteArray> placementLines;
    for (const QByteArray& l : lines)
        for (const char* k : {"TOP=", "LEFT=", "MODE=", "WIDTH="})
            if (l.startsWith(k)) placementLines.push_back(l);
    QCOMPARE(placementLines, saved);
}

void TstFrmVorsa::unloadRunsOnce() {
    Scena s;
    QVERIFY(s.Avvia(Programma("MODE=0\r\n") + kCatalogo));
    QVERIFY(s.frm->close());
    const QByteArray first = s.fx.Read(QStringLiteral("Vorsa.ini"));
    QVERIFY(first.contains("\r\nMODE=0\r\n"));
    s.frm->setGeometry(400, 300, 1300, 700);
    s.frm->setWindowState(Qt::WindowMaximized);
    s.frm->close();
    s.frm.reset();
    QCOMPARE(s.fx.Read(QStringLiteral("Vorsa.ini")), first);
}

void TstFrmVorsa::multiTill_data() {
    QTest::addColumn<int>("stato");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hint");  // "%1" stands for the program folder
    QTest::addColumn<int>("intervalMs");
    const QString unreachableText = QString::fromUtf8(
        "Vorsa secondaria DISABILITATA, la vorsa principale NON \u00e8 raggiungibile.\r\n"
        "Il programma \u00e8 in modalit\u00e0 vorsa SINGOLA");
    const QString unreachableHint = QStringLiteral(
        "SUGGERIMENTO: Verificare che la vorsa principale sia attiva e che tutti i paramentri "
        "della vorsa secondaria siano corretti");
    QTest::newRow("0 single: nothing") << 0 << QString() << QString() << -1;
    QTest::newRow("1 main ok") << 1 << "\r\nVorsa principale riabilitata senza problemi"
                               << "" << 4000;
    QTest::newRow("2 main not shared")
        << 2 << "Vorsa principale riabilitata, MA ci sono problemi nella condivisione di rete"
        << QString::fromUtf8(
               "SUGGERIMENTO: Verificare se la cartella %1 \u00e8 condivisa con "
               "nome [ vorsa$ ]")
        << 0;
    QTest::newRow("3 no remote name") << 3 << unreachableText << unreachableHint << 0;
    QTest::newRow("4 remote missing") << 4 << unreachableText << unreachableHint << 0;
    QTest::newRow("5 secondary ok") << 5 << "\r\nVorsa secondaria riabilitata senza problemi"
                                    << "" << 4000;
}

void TstFrmVorsa::multiTill() {
    QFETCH(int, stato);
    QFETCH(QString, text);
    QFETCH(QString, hint);
    QFETCH(int, intervalMs);
    Scena s;
    QVERIFY(s.Avvia(kLetto + kCatalogo, [stato](Till& t) {
        t.statoMultiVorsa = static_cast<StatoMultiVorsa>(stato);
        t.opt.gPasswordMulti = "segreta";  // an open share adds its warning
    }));
    if (intervalMs < 0) {
        QVERIFY(s.messaggi.calls.empty());
        return;
    }
    QCOMPARE(s.messaggi.calls.size(), std::size_t{1});
    const auto& call = s.messaggi.calls.front();
    QCOMPARE(call.title, QStringLiteral("MULTI - VORSA"));
    QCOMPARE(call.text, text);
    if (hint.contains(QLatin1String("%1"))) hint = hint.arg(s.fx.Path());
    QCOMPARE(call.hint, hint);
    // A modal notice with its single "OK" button.
    QVERIFY(call.showButtons);
    QCOMPARE(call.caption0, QString());
    QCOMPARE(call.caption1, QStringLiteral("OK"));
    QVERIFY(call.modal);
    QCOMPARE(call.intervalMs, intervalMs);
    QVERIFY(!call.rosso);
}

void TstFrmVorsa::anOpenShareIsSaidInRed() {
    Scena s;
    QVERIFY(s.Avvia(kLetto + kCatalogo,
                    [](Till& t) { t.statoMultiVorsa = StatoMultiVorsa::PrincipaleOk; }));
    QCOMPARE(s.messaggi.calls.size(), std::size_t{1});
    const auto& call = s.messaggi.calls.front();
    QVERIFY(call.rosso);
    QVERIFY(call.text.contains(QStringLiteral("password")));
    QCOMPARE(call.intervalMs, 0);  // stays until confirmed
}

void TstFrmVorsa::waitingSalesAreCountedUnderTheKeys() {
    Scena s;
    QVERIFY(s.Avvia(kLetto + kCatalogo));
    s.frm->showNormal();
    s.frm->resize(s.frm->minimumSize());
    QTRY_VERIFY(s.Assestata());
    auto* l = s.Trova<QLabel>(QStringLiteral("lbl_Attesa"));
    QVERIFY(l && !l->isVisible());
    s.frm->Destro().SetInAttesa("128 vendite in attesa di invio");
    QVERIFY(l->isVisible());
    QCOMPARE(l->accessibleName(), l->text());
    QCOMPARE(l->palette().color(QPalette::WindowText).red(), 0xC0);
    // Whole, inside the window, below F7 and clear of the printing switch.
    QVERIFY(l->fontMetrics().horizontalAdvance(l->text()) <= l->contentsRect().width());
    const QRect f7 = s.Trova<QPushButton>(QStringLiteral("cmd_azioni(7)"))->geometry();
    QVERIFY(l->geometry().top() > f7.bottom());
    QVERIFY(l->geometry().bottom() < s.frm->height());
    QVERIFY(
        !l->geometry().intersects(s.Trova<QCheckBox>(QStringLiteral("chk_Stampa"))->geometry()));
    SaveScreenshot(*s.frm, QStringLiteral("vendite_in_attesa"));
    s.frm->Destro().SetInAttesa("");
    QVERIFY(!l->isVisible());
}

void TstFrmVorsa::titleAndReadme() {
    Scena s;
    // No EULA yet: the readme of this version opens once, through the shell.
    QVERIFY(s.Avvia(kCatalogo));
    QCOMPARE(s.frm->windowTitle(),
             QStringLiteral("   Programma di gestione vorsa  -  NON FISCALE  -  (ver. 1.0.0)"));
    QCOMPARE(s.fx.shell.opened.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(s.fx.shell.opened.front()),
             s.fx.FilePath(QStringLiteral("Leggimi.txt")));
    s.frm->hide();
    s.frm->show();
    s.frm->Load();
    QCOMPARE(s.fx.shell.opened.size(), std::size_t{1});
}

void TstFrmVorsa::keypad() {
    Scena s;
    QVERIFY(s.Avvia(kLetto + kCatalogo));
    // The keypad and the coins live in the payment panel, hidden at rest.
    QVERIFY(!CmdCalc(*s.frm, 0)->isVisible());
    Gestione(*s.frm, 2)->show();
    for (int n = 0; n < 12; ++n) {
        QPushButton* b = CmdCalc(*s.frm, n);
        QCOMPARE(b->text(), n < 10    ? QString::number(n)
                            : n == 10 ? QStringLiteral(",")
                                      : QStringLiteral("Cancella"));
        QCOMPARE(b->parentWidget(), Gestione(*s.frm, 2));
        QCOMPARE(CmdSoldi(*s.frm, n % 10)->parentWidget(), Gestione(*s.frm, 2));
        QVERIFY(b->isVisible());
        QVERIFY(Gestione(*s.frm, 2)->geometry().contains(s.InFinestra(*b)));
    }
}

void TstFrmVorsa::captions() {
    const std::pair<const char*, const char*> pairs[] = {
        {"Tavolo:", "txtTavolo"},
        {"Nota:", "txtCommento"},
        {"Pagato:", "box_Pagato"},
        {"Resto:", "lbl_resto"},
        {"Scontrino precedente:", "lblUltimoScontrino(0)"}};
    Scena s;
    QVERIFY(s.Avvia(Programma("MODE=0\r\n") + kCatalogo));
    QTRY_VERIFY(s.Assestata());
    for (const auto& [caption, buddy] : pairs) {
        QLabel* label = nullptr;
        for (QLabel* l : s.frm->findChildren<QLabel*>())
            if (l->text() == QLatin1String(caption)) label = l;
        QVERIFY2(label && label->isVisible() && label->buddy(), caption);
        QCOMPARE(label->buddy()->objectName(), QLatin1String(buddy));
        // The caption sits left of its control, on the same line.
        const QWidget* control = label->buddy();
        QVERIFY(label->geometry().right() < control->x());
        QVERIFY(qAbs(label->geometry().center().y() - control->geometry().center().y()) <= 2);
    }
}

void TstFrmVorsa::infoLabels() {
    Scena s;
    QVERIFY(s.Avvia(Programma("MODE=0\r\n") + kCatalogo));
    QTRY_VERIFY(s.Assestata());
    QStringList titles, texts;
    s.frm->ImpostaFinestraInfo([&](QWidget*, const QString& title, const QString& text) {
        titles.push_back(title);
        texts.push_back(text);
    });
    QVERIFY(s.Impostazioni());  // the editor places its own labels
    for (int i : kIndiciInfo) {
        if (i == 8) continue;  // beside F6's password, on the statistics panel
        auto* label = s.Trova<QLabel>(QStringLiteral("lbl_info(%1)").arg(i));
        QVERIFY(label && label->isVisible());
        QCOMPARE(label->text(), QStringLiteral("i"));
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(titles.takeLast(), QStringLiteral("INFO POINT"));
        QCOMPARE(texts.last(), Info(i, s.fx.till()));
        QVERIFY(!texts.takeLast().contains(QLatin1Char('\r')));
    }
}

void TstFrmVorsa::infoBox() {
    Scena s;
    QVERIFY(s.Avvia(Programma("MODE=0\r\n") + kCatalogo));
    QTRY_VERIFY(s.Assestata());
    // The real box: read and closed from inside its own modal loop.
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title, text;
    bool seen = false;
    auto* poll = new QTimer(s.frm.get());
    connect(poll, &QTimer::timeout, poll, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll->stop();
        seen = true;
        icon = box->icon();
        title = box->windowTitle();
        text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    poll->start(5);
    QTest::mouseClick(s.Trova<QLabel>(QStringLiteral("lbl_info(3)")), Qt::LeftButton);
    QVERIFY(seen);
    QCOMPARE(icon, QMessageBox::Information);
    QCOMPARE(title, QStringLiteral("INFO POINT"));
    QCOMPARE(text, Info(3, s.fx.till()));
    QVERIFY(
        text.contains(QString::fromUtf8("quantit\u00e0 dei prodotti, \u00e8 possibile usare:\n")));
}

// tmrMultivorsa runs every 2 seconds only while the main window is the active one in
// multi-till mode, and a tick repaints the product buttons from what another till wrote.
void TstFrmVorsa::multivorsaTimerRunsOnlyWhileTheWindowIsActive() {
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
}

void TstFrmVorsa::multivorsaTimerNeverRunsOnASingleTill() {
    Scena s;
    QVERIFY(AvviaAttiva(s, Programma("MODE=0\r\n")));
    QVERIFY(!TmrMultivorsa(*s.frm)->isActive());
}

void TstFrmVorsa::multivorsaTickShowsWhatAnotherTillHolds() {
    Scena s;
    QVERIFY(AvviaAttiva(s, kMulti));
    FrmVorsa& f = *s.frm;
    // Salsiccia (MANGIARE 4) has 5 pieces: another till's bill takes all of them.
    const int prima = f.ButtonColour(0, 4);
    auto files = MakeLocalFileAccess(false);
    ProfileStore altra(*files);
    QVERIFY(altra.Set(s.fx.till().paths.gFileLock, "MULTIVORSA", "4", "5"));
    QTimer* t = TmrMultivorsa(f);
    t->setInterval(10);
    t->start();
    QTRY_VERIFY(f.ButtonColour(0, 4) != prima);
    QCOMPARE(s.fx.till().cat.gArticoli[4].sharedCount, 5);
    QVERIFY(t->isActive());  // the timer carries on after the tick
}

QTEST_MAIN(TstFrmVorsa)
#include "tst_frm_vorsa.moc"
