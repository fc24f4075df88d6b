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
#include "layout/info_testi.h"
#include "platform/text.h"

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
    void names();
    void keypad();
    void captions();
    void infoLabels();
    void infoBox();
};

void TstFrmVorsaControlli::names() {
    QList<std::pair<QString, const char*>> names;
    for (const char* n : {"box_Codice", "box_Pagato", "txtTavolo", "txtCommento"})
        names.push_back({QLatin1String(n), "QLineEdit"});
    names.push_back({QStringLiteral("lst_spesa"), "QListWidget"});
    for (const char* n : {"lbl_totale", "lbl_resto", "lblUltimoScontrino(0)"})
        names.push_back({QLatin1String(n), "QLabel"});
    for (int i = 0; i < 5; ++i)
        names.push_back({QStringLiteral("lbl_conf_code(%1)").arg(i), "QLabel"});
    for (int n = 1; n <= 7; ++n) {
        names.push_back({QStringLiteral("cmd_azioni(%1)").arg(n), "QPushButton"});
        names.push_back({QStringLiteral("lbl_azioni_code(%1)").arg(n), "QLabel"});
    }
    for (int n = 0; n < 10; ++n) {
        names.push_back({QStringLiteral("cmdSoldi(%1)").arg(n), "QPushButton"});
        names.push_back({QStringLiteral("lblSoldi(%1)").arg(n), "QLabel"});
    }
    for (int n = 0; n < 12; ++n)
        names.push_back({QStringLiteral("cmdCalc(%1)").arg(n), "QPushButton"});
    names.push_back({QStringLiteral("chk_Stampa"), "QCheckBox"});
    for (int i : kIndiciInfo) names.push_back({QStringLiteral("lbl_info(%1)").arg(i), "QLabel"});
    for (int i = 0; i < 3; ++i)
        names.push_back({QStringLiteral("frm_gestione(%1)").arg(i), "QFrame"});
    for (const char* n : {"tmrInput", "tmrResize"}) names.push_back({QLatin1String(n), "QTimer"});
    Scena s;
    QVERIFY(s.Avvia(kLetto + kCatalogo));
    for (const auto& [name, type] : names) {
        const QList<QObject*> found = s.frm->findChildren<QObject*>(name);
        QVERIFY2(found.size() == 1, qPrintable(name));
        QVERIFY2(found.front()->inherits(type), qPrintable(name));
    }
    QVERIFY(!s.frm->findChild<QObject*>(QStringLiteral("lbl_info(7)")));  // there is none
}

void TstFrmVorsaControlli::keypad() {
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

void TstFrmVorsaControlli::captions() {
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

void TstFrmVorsaControlli::infoLabels() {
    Scena s;
    QVERIFY(s.Avvia(Programma("MODE=0\r\n") + kCatalogo));
    QTRY_VERIFY(s.Assestata());
    QStringList titles, texts;
    s.frm->ImpostaFinestraInfo([&](QWidget*, const QString& title, const QString& text) {
        titles.push_back(title);
        texts.push_back(text);
    });
    Gestione(*s.frm, 1)->show();  // the settings panel's own labels
    for (int i : kIndiciInfo) {
        auto* label = s.Trova<QLabel>(QStringLiteral("lbl_info(%1)").arg(i));
        QVERIFY(label && label->isVisible());
        QCOMPARE(label->text(), QStringLiteral("i"));
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(titles.takeLast(), QStringLiteral("INFO POINT"));
        QCOMPARE(texts.last(), Info(i, s.fx.till()));
        QVERIFY(!texts.takeLast().contains(QLatin1Char('\r')));
    }
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
