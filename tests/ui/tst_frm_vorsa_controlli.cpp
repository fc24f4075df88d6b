// Every control of the main window by its name, the captions of the fixed ones, and the
// "INFO POINT" boxes behind the lbl_info labels.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "frm_vorsa_scene.h"
#include "platform/text.h"
#include "ui/info_testi.h"

using namespace vorsa;
using namespace vorsa::test;

namespace {

QString Info(int i, const Till& till) {
    const std::string utf8 = Cp1252ToUtf8(TestoInfo(i, till.paths.gFilePassword));
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

class TstFrmVorsaControlli : public QObject {
    Q_OBJECT
  private slots:
    void names_data();
    void names();
    void keypad_data();
    void keypad();
    void captions_data();
    void captions();
    void infoLabels_data();
    void infoLabels();
    void infoBox();
};

void TstFrmVorsaControlli::names_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("type");
    const auto add = [](const QString& n, const char* t) {
        QTest::newRow(qPrintable(n)) << n << QByteArray(t);
    };
    for (const char* n : {"box_Codice", "box_Pagato", "txtTavolo", "txtCommento"})
        add(QLatin1String(n), "QLineEdit");
    add(QStringLiteral("lst_spesa"), "QListWidget");
    for (const char* n : {"lbl_totale", "lbl_resto", "lblUltimoScontrino(0)"})
        add(QLatin1String(n), "QLabel");
    for (int i = 0; i < 5; ++i) add(QStringLiteral("lbl_conf_code(%1)").arg(i), "QLabel");
    for (int n = 1; n <= 7; ++n) {
        add(QStringLiteral("cmd_azioni(%1)").arg(n), "QPushButton");
        add(QStringLiteral("lbl_azioni_code(%1)").arg(n), "QLabel");
    }
    for (int n = 0; n < 10; ++n) {
        add(QStringLiteral("cmdSoldi(%1)").arg(n), "QPushButton");
        add(QStringLiteral("lblSoldi(%1)").arg(n), "QLabel");
    }
    for (int n = 0; n < 12; ++n) add(QStringLiteral("cmdCalc(%1)").arg(n), "QPushButton");
    add(QStringLiteral("chk_Stampa"), "QCheckBox");
    for (int i : kIndiciInfo) add(QStringLiteral("lbl_info(%1)").arg(i), "QLabel");
    for (int i = 0; i < 3; ++i) add(QStringLiteral("frm_gestione(%1)").arg(i), "QFrame");
    for (const char* n : {"tmrInput", "tmrResize", "tmrMultivorsa"})
        add(QLatin1String(n), "QTimer");
}

void TstFrmVorsaControlli::names() {
    QFETCH(QString, name);
    QFETCH(QByteArray, type);
    Scena s;
    QVERIFY(s.Avvia(kLetto + kCatalogo));
    const QList<QObject*> found = s.frm->findChildren<QObject*>(name);
    QCOMPARE(found.size(), qsizetype{1});
    QVERIFY2(found.front()->inherits(type.constData()), found.front()->metaObject()->className());
    // There is no lbl_info(7).
    QVERIFY(!s.frm->findChild<QObject*>(QStringLiteral("lbl_info(7)")));
}

void TstFrmVorsaControlli::keypad_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("caption");
    for (int n = 0; n < 10; ++n) QTest::addRow("%d", n) << n << QString::number(n);
    QTest::newRow("comma") << 10 << ",";
    QTest::newRow("clear") << 11 << "Cancella";
}

void TstFrmVorsaControlli::keypad() {
    QFETCH(int, n);
    QFETCH(QString, caption);
    Scena s;
    QVERIFY(s.Avvia(kLetto + kCatalogo));
    QPushButton* b = s.frm->CmdCalc(n);
    QCOMPARE(b->objectName(), QStringLiteral("cmdCalc(%1)").arg(n));
    QCOMPARE(b->text(), caption);
    // The keypad and the coins live in the payment panel, hidden at rest.
    QCOMPARE(b->parentWidget(), s.frm->Gestione(2));
    QCOMPARE(s.frm->CmdSoldi(n % 10)->parentWidget(), s.frm->Gestione(2));
    QVERIFY(!b->isVisible());
    s.frm->Gestione(2)->show();
    QVERIFY(b->isVisible());
    QVERIFY(s.frm->Gestione(2)->geometry().contains(s.InFinestra(*b)));
}

void TstFrmVorsaControlli::captions_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("buddy");
    QTest::newRow("table") << "Tavolo:"
                           << "txtTavolo";
    QTest::newRow("note") << "Nota:"
                          << "txtCommento";
    QTest::newRow("paid") << "Pagato:"
                          << "box_Pagato";
    QTest::newRow("change") << "Resto:"
                            << "lbl_resto";
    QTest::newRow("last receipt") << "Scontrino precedente:"
                                  << "lblUltimoScontrino(0)";
}

void TstFrmVorsaControlli::captions() {
    QFETCH(QString, caption);
    QFETCH(QString, buddy);
    Scena s;
    QVERIFY(s.Avvia(Programma("MODE=0\r\n") + kCatalogo));
    QTRY_VERIFY(s.Assestata());
    QLabel* label = nullptr;
    for (QLabel* l : s.frm->findChildren<QLabel*>())
        if (l->text() == caption) label = l;
    QVERIFY(label);
    QVERIFY(label->isVisible());
    QVERIFY(label->buddy());
    QCOMPARE(label->buddy()->objectName(), buddy);
    // The caption sits left of its control, on the same line.
    const QWidget* control = label->buddy();
    QVERIFY(label->geometry().right() < control->x());
    QVERIFY(qAbs(label->geometry().center().y() - control->geometry().center().y()) <= 2);
}

void TstFrmVorsaControlli::infoLabels_data() {
    QTest::addColumn<int>("i");
    for (int i : kIndiciInfo) QTest::addRow("%d", i) << i;
}

void TstFrmVorsaControlli::infoLabels() {
    QFETCH(int, i);
    Scena s;
    QVERIFY(s.Avvia(Programma("MODE=0\r\n") + kCatalogo));
    QTRY_VERIFY(s.Assestata());
    struct Shown {
        QString title, text;
    };
    std::vector<Shown> shown;
    s.frm->ImpostaFinestraInfo([&shown](QWidget*, const QString& title, const QString& text) {
        shown.push_back({title, text});
    });
    auto* label = s.Trova<QLabel>(QStringLiteral("lbl_info(%1)").arg(i));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("i"));
    // The settings panel's own labels are reachable once the panel is open.
    if (!label->isVisible()) s.frm->Gestione(1)->show();
    QVERIFY(label->isVisible());
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(shown.size(), std::size_t{1});
    QCOMPARE(shown.front().title, QStringLiteral("INFO POINT"));
    QCOMPARE(shown.front().text, Info(i, s.fx.till()));
    QVERIFY(!shown.front().text.contains(QLatin1Char('\r')));
}

void TstFrmVorsaControlli::infoBox() {
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

QTEST_MAIN(TstFrmVorsaControlli)
#include "tst_frm_vorsa_controlli.moc"
