// The keypad, the captions of the fixed controls, and the "INFO POINT" boxes behind the
// lbl_info labels.
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
    void keypad();
    void captions();
    void infoLabels();
    void infoBox();
};

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
