// The message window frmMessaggi: what it shows, how it closes and what the call answers.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "platform/qt/twips.h"
#include "startup/startup.h"
#include "support/qt_checks.h"
#include "ui/frm_messaggi.h"
#include "ui/widget_helpers.h"

using namespace vorsa;

namespace {

/// The message windows on screen.
QList<FrmMessaggi*> Aperte() {
    QList<FrmMessaggi*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<FrmMessaggi*>(w); f && f->isVisible()) out.push_back(f);
    return out;
}

/// Runs `step` once a message window is on screen, from inside the modal call's own loop.
void QuandoAperta(std::function<void(FrmMessaggi&)> step) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, step] {
        const QList<FrmMessaggi*> open = Aperte();
        if (open.isEmpty()) return;
        poll->stop();
        poll->deleteLater();
        step(*open.front());
    });
    poll->start(5);
}

template <class W>
W* Trova(QWidget& w, const char* name) {
    return w.findChild<W*>(QLatin1String(name));
}

/// What the window looked like while it was open.
struct Vista {
    bool seen = false;
    bool open = false;
    QString title, text, hint;
    bool hintVisible = false;
    bool b0Visible = false, b1Visible = false;
    int b0Left = -1, b1Left = -1;
    QString b0Caption, b1Caption;
    bool timerActive = false;
    int interval = -1;
    int windows = 0;
};

Vista Guarda(FrmMessaggi& f, const MessaggiQt& owner) {
    Vista v;
    v.seen = true;
    v.open = owner.IsOpen();
    v.title = Trova<QLabel>(f, "lblTitolo")->text();
    v.text = Trova<QLabel>(f, "lblTesto")->text();
    v.hint = Trova<QLabel>(f, "lblSuggerimento")->text();
    v.hintVisible = Trova<QLabel>(f, "lblSuggerimento")->isVisible();
    QPushButton* b0 = Trova<QPushButton>(f, "btnMessaggi(0)");
    QPushButton* b1 = Trova<QPushButton>(f, "btnMessaggi(1)");
    v.b0Visible = b0->isVisible();
    v.b1Visible = b1->isVisible();
    v.b0Left = b0->x();
    v.b1Left = b1->x();
    v.b0Caption = b0->text();
    v.b1Caption = b1->text();
    QTimer* t = Trova<QTimer>(f, "tmrMessaggi");
    v.timerActive = t->isActive();
    v.interval = t->interval();
    v.windows = static_cast<int>(Aperte().size());
    return v;
}

int Px(int twips) {
    return TwipsToPixelsX(twips);
}

}  // namespace

class TstMessaggi : public QObject {
    Q_OBJECT
  private slots:
    void cleanup();
    void closesByItself_data();
    void closesByItself();
    void closedByTheOperator_data();
    void closedByTheOperator();
    void keysLeftToButtons();
    void replacesOpenWindow();
    void longNoticesShowWhole();
    void replacesWaitingModal();
};

void TstMessaggi::cleanup() {
    // A failed case must not leave a window for the next one.
    for (FrmMessaggi* f : Aperte()) delete f;
}

void TstMessaggi::closesByItself_data() {
    QTest::addColumn<QString>("caption0");
    QTest::addColumn<int>("answer");
    QTest::newRow("one button: as button 1") << QString() << 6;
    QTest::newRow("two buttons: as button 0") << QStringLiteral("NO") << 7;
}

void TstMessaggi::closesByItself() {
    QFETCH(QString, caption0);
    QFETCH(int, answer);
    MessaggiQt owner;
    Vista v;
    QuandoAperta([&](FrmMessaggi& f) { v = Guarda(f, owner); });
    const std::int16_t r = owner.MostraMessaggio(
        QStringLiteral("MULTI - VORSA"), QStringLiteral("\r\nVorsa principale riabilitata"),
        QStringLiteral("SUGGERIMENTO: prova"), true, caption0, QStringLiteral("OK"), true, 50);
    QCOMPARE(int{r}, answer);
    QVERIFY(v.seen);
    QVERIFY(v.open);
    QVERIFY(v.timerActive);
    QCOMPARE(v.interval, 50);
    QCOMPARE(v.title, QStringLiteral("MULTI - VORSA"));
    QCOMPARE(v.text, QStringLiteral("\nVorsa principale riabilitata"));
    QCOMPARE(v.b1Caption, QStringLiteral("OK"));
    QVERIFY(v.b1Visible && v.hintVisible);
    QCOMPARE(v.hint, QStringLiteral("SUGGERIMENTO: prova"));
    QCOMPARE(v.b0Visible, !caption0.isEmpty());
    // A lone button moves to the middle; a pair stays where designed.
    QCOMPARE(v.b1Left, caption0.isEmpty() ? Px(7215) : Px(9930));
    if (!caption0.isEmpty()) {
        QCOMPARE(v.b0Left, Px(4500));
        QCOMPARE(v.b0Caption, caption0);
    }
    QVERIFY(!owner.IsOpen());
    QCOMPARE(int{owner.Result()}, answer);
    QTRY_VERIFY(!owner.Finestra());
}

void TstMessaggi::closedByTheOperator_data() {
    QTest::addColumn<bool>("showButtons");
    QTest::addColumn<QString>("caption0");
    QTest::addColumn<int>("action");  // 0 or 1: that button; otherwise the key pressed
    QTest::addColumn<int>("answer");
    QTest::newRow("button 0") << true << "NO" << 0 << 7;
    QTest::newRow("no buttons, enter, caption0 set") << false << "NO" << int(Qt::Key_Return) << 7;
}

void TstMessaggi::closedByTheOperator() {
    QFETCH(bool, showButtons);
    QFETCH(QString, caption0);
    QFETCH(int, action);
    QFETCH(int, answer);
    MessaggiQt owner;
    Vista v;
    QuandoAperta([&](FrmMessaggi& f) {
        v = Guarda(f, owner);
        if (action <= 1)
            QTest::mouseClick(f.Bottone(action), Qt::LeftButton);
        else
            QTest::keyClick(&f, static_cast<Qt::Key>(action));
    });
    const std::int16_t r =
        owner.MostraMessaggio(QStringLiteral("Conferma"), QStringLiteral("Sicuro?"), QString(),
                              showButtons, caption0, QStringLiteral("SI"), true, 0);
    QCOMPARE(int{r}, answer);
    QVERIFY(!v.timerActive);
    QCOMPARE(v.b0Visible, showButtons);
    QCOMPARE(v.b1Visible, showButtons);
    if (showButtons) {
        QCOMPARE(v.b0Caption, caption0);
        QCOMPARE(v.b1Caption, QStringLiteral("SI"));
    }
    QVERIFY(!owner.IsOpen());
}

void TstMessaggi::keysLeftToButtons() {
    MessaggiQt owner;
    QCOMPARE(int{owner.MostraMessaggio(QStringLiteral("A"), QStringLiteral("B"), QString(), true,
                                       QString(), QStringLiteral("OK"), false, 0)},
             -1);
    FrmMessaggi* f = owner.Finestra();
    QVERIFY(f && f->isVisible());
    QTest::keyClick(f, Qt::Key_Escape);
    QVERIFY(owner.IsOpen());
    QVERIFY(f->isVisible());
    QCOMPARE(int{owner.Result()}, -1);
    f->Bottone(1)->click();
    QVERIFY(!owner.IsOpen());
    QCOMPARE(int{owner.Result()}, 6);
    QTRY_VERIFY(!owner.Finestra());
}

void TstMessaggi::longNoticesShowWhole() {
    // The longest notices of the till, with a long folder in them.
    const std::string cartella = "/home/volontario-della-pro-loco/Documenti/Sagra/Vorsa";
    std::vector<std::pair<std::string, std::string>> avvisi;
    for (auto stato : {StatoFileDati::NonLeggibile, StatoFileDati::NonScrivibile})
        avvisi.emplace_back(AvvisoPerFile(stato, cartella + "/Vorsa.ini")->text, "");
    for (auto stato :
         {StatoMultiVorsa::PrincipaleSenzaCondivisione, StatoMultiVorsa::SecondariaInAttesa}) {
        const auto a = AvvisoPerStato(stato, cartella);
        avvisi.emplace_back(a->text, a->hint);
    }
    while (!avvisi.empty()) {
        const auto [testo, suggerimento] = avvisi.back();
        MessaggiQt owner;
        owner.MostraMessaggio(QStringLiteral("AVVISO"), Testo(testo), Testo(suggerimento), true,
                              QString(), QStringLiteral("OK"), false, 0);
        FrmMessaggi* f = owner.Finestra();
        QVERIFY(f && QTest::qWaitForWindowExposed(f));
        // Every line inside its label, measured with the font it is drawn with.
        for (const char* nome : {"lblTesto", "lblSuggerimento"}) {
            const QLabel* l = Trova<QLabel>(*f, nome);
            const QRect area = l->contentsRect();
            QVERIFY2(l->fontMetrics()
                             .boundingRect(area, Qt::TextWordWrap | Qt::AlignCenter, l->text())
                             .height() <= area.height(),
                     qPrintable(l->text()));
        }
        test::SaveScreenshot(*f, QStringLiteral("avviso-%1").arg(avvisi.size()));
        avvisi.pop_back();
        f->Bottone(1)->click();
    }
}

void TstMessaggi::replacesOpenWindow() {
    MessaggiQt owner;
    owner.MostraMessaggio(QStringLiteral("Primo"), QStringLiteral("1"), QString(), true, QString(),
                          QStringLiteral("OK"), false, 0);
    QPointer<FrmMessaggi> first = owner.Finestra();
    QVERIFY(first && first->isVisible());
    Vista v;
    QuandoAperta([&](FrmMessaggi& f) { v = Guarda(f, owner); });
    const std::int16_t r =
        owner.MostraMessaggio(QStringLiteral("Secondo"), QStringLiteral("2"), QString(), true,
                              QString(), QStringLiteral("OK"), true, 50);
    QCOMPARE(int{r}, 6);
    QCOMPARE(v.title, QStringLiteral("Secondo"));
    QCOMPARE(v.windows, 1);
    QVERIFY(!first || !first->isVisible());
}

void TstMessaggi::replacesWaitingModal() {
    MessaggiQt owner;
    QuandoAperta([&](FrmMessaggi&) {
        owner.MostraMessaggio(QStringLiteral("Secondo"), QStringLiteral("2"), QString(), true,
                              QString(), QStringLiteral("OK"), false, 0);
    });
    // The first call ends when its window is unloaded, without an answer of its own.
    const std::int16_t r =
        owner.MostraMessaggio(QStringLiteral("Primo"), QStringLiteral("1"), QString(), true,
                              QStringLiteral("NO"), QStringLiteral("SI"), true, 0);
    QCOMPARE(int{r}, -1);
    QVERIFY(owner.IsOpen());
    FrmMessaggi* second = owner.Finestra();
    QVERIFY(second);
    QTRY_COMPARE(Aperte().size(), qsizetype{1});
    QCOMPARE(Trova<QLabel>(*second, "lblTitolo")->text(), QStringLiteral("Secondo"));
    second->Bottone(1)->click();
    QCOMPARE(int{owner.Result()}, 6);
}

QTEST_MAIN(TstMessaggi)
#include "tst_messaggi.moc"
