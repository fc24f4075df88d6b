// The message window frmMessaggi: what it shows, how it closes and what the call answers (the
// answers' rules themselves: the message state's tests).
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "startup/startup.h"
#include "ui/notices/frm_messaggi.h"
#include "ui/widgets/widget_helpers.h"

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

/// A message with buttons `no` (none when empty) and `si`, answered by the call.
int Mostra(QtMessages& m, const char* titolo, const char* testo, bool modale, int ms = 0,
           const char* no = "", const char* si = "OK", bool bottoni = true) {
    return m.MostraMessaggio(QLatin1String(titolo), QLatin1String(testo), QString(), bottoni,
                             QLatin1String(no), QLatin1String(si), modale, ms);
}

QString Testo(FrmMessaggi& f, const char* label) {
    return f.findChild<QLabel*>(QLatin1String(label))->text();
}

}  // namespace

class TstMessaggi : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() {
        // A failed case must not leave a window for the next one.
        for (FrmMessaggi* f : Aperte()) delete f;
    }

    void closesByItself() {
        // One button: the timer answers as it (two buttons: the message state's tests).
        QtMessages owner;
        QString titolo, testo, suggerimento;
        bool aperta = false, timer = false;
        QuandoAperta([&](FrmMessaggi& f) {
            aperta = owner.IsOpen();
            titolo = Testo(f, "lblTitolo");
            testo = Testo(f, "lblTesto");
            suggerimento = Testo(f, "lblSuggerimento");
            timer = f.findChild<QTimer*>(QStringLiteral("tmrMessaggi"))->isActive();
        });
        const std::int16_t r = owner.MostraMessaggio(
            QStringLiteral("MULTI - VORSA"), QStringLiteral("\r\nriabilitata"),
            QStringLiteral("prova"), true, QString(), QStringLiteral("OK"), true, 50);
        QCOMPARE(int{r}, 6);
        QVERIFY(aperta && timer);
        QCOMPARE(titolo, QStringLiteral("MULTI - VORSA"));
        QCOMPARE(testo, QStringLiteral("\nriabilitata"));  // CR LF as a line break
        QCOMPARE(suggerimento, QStringLiteral("prova"));
        QVERIFY(!owner.IsOpen());
        QCOMPARE(int{owner.Result()}, int{r});
        QTRY_VERIFY(!owner.Finestra());
    }

    void closedByTheOperator() {
        // Button 0 clicked; Return in a window without buttons: both answer as button 0.
        for (const bool bottoni : {true, false}) {
            QtMessages owner;
            bool visibili = !bottoni;
            QuandoAperta([&](FrmMessaggi& f) {
                visibili = f.Bottone(0)->isVisible() && f.Bottone(1)->isVisible();
                if (bottoni)
                    QTest::mouseClick(f.Bottone(0), Qt::LeftButton);
                else
                    QTest::keyClick(&f, Qt::Key_Return);
            });
            QCOMPARE(Mostra(owner, "Conferma", "Sicuro?", true, 0, "NO", "SI", bottoni), 7);
            QCOMPARE(visibili, bottoni);
            QVERIFY(!owner.IsOpen());
        }
    }

    void replacesOpenWindow() {
        QtMessages owner;
        Mostra(owner, "Primo", "1", false);
        QPointer<FrmMessaggi> first = owner.Finestra();
        QVERIFY(first && first->isVisible());
        QString titolo;
        qsizetype finestre = 0;
        QuandoAperta([&](FrmMessaggi& f) {
            titolo = Testo(f, "lblTitolo");
            finestre = Aperte().size();
        });
        QCOMPARE(Mostra(owner, "Secondo", "2", true, 50), 6);
        QCOMPARE(titolo, QStringLiteral("Secondo"));
        QCOMPARE(finestre, qsizetype{1});
        QVERIFY(!first || !first->isVisible());
    }

    void replacesWaitingModal() {
        QtMessages owner;
        QuandoAperta([&](FrmMessaggi&) { Mostra(owner, "Secondo", "2", false); });
        // The first call ends when its window is unloaded, without an answer of its own.
        QCOMPARE(Mostra(owner, "Primo", "1", true, 0, "NO", "SI"), -1);
        QVERIFY(owner.IsOpen());
        FrmMessaggi* second = owner.Finestra();
        QVERIFY(second);
        QTRY_COMPARE(Aperte().size(), qsizetype{1});
        QCOMPARE(Testo(*second, "lblTitolo"), QStringLiteral("Secondo"));
        second->Bottone(1)->click();
        QCOMPARE(int{owner.Result()}, 6);
    }

    // The till's longest notices, with a long folder in them: every line inside its label.
    void theLongestNoticesShowWhole() {
        const std::string cartella = "/home/volontario-della-pro-loco/Documenti/Sagra/Vorsa";
        std::vector<std::pair<std::string, std::string>> avvisi;
        for (auto stato : {DataFileState::NonLeggibile, DataFileState::NonScrivibile})
            avvisi.emplace_back(AvvisoPerFile(stato, cartella + "/Vorsa.ini")->text, "");
        for (auto stato :
             {MultiTillState::PrincipaleSenzaCondivisione, MultiTillState::SecondariaInAttesa}) {
            const auto a = AvvisoPerStato(stato, cartella);
            avvisi.emplace_back(a->text, a->hint);
        }
        for (const auto& [testo, suggerimento] : avvisi) {
            QtMessages owner;
            owner.MostraMessaggio(QStringLiteral("AVVISO"), ::Testo(testo), ::Testo(suggerimento),
                                  true, QString(), QStringLiteral("OK"), false, 0);
            FrmMessaggi* f = owner.Finestra();
            QVERIFY(f && QTest::qWaitForWindowExposed(f));
            for (const char* nome : {"lblTesto", "lblSuggerimento"}) {
                const QLabel* l = f->findChild<QLabel*>(QLatin1String(nome));
                QVERIFY2(l->heightForWidth(l->width()) <= l->height(), qPrintable(l->text()));
            }
        }
    }
};

QTEST_MAIN(TstMessaggi)
#include "tst_messaggi.moc"
