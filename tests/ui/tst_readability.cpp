// Readable at a glance: amounts whole in every layout, one feedback label at a time, enlarged
// keys on top, key labels readable on their colours, product names never cut at the start.
// Readable by assistive tools through QAccessible (what AT-SPI carries): the name is the
// caption or the label beside the control, the description its control name.
#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QStyleOptionFrame>

#include "frm_vorsa_scene.h"
#include "layout/colours.h"
#include "layout/messages_state.h"
#include "sale/sale.h"
#include "support/qt_checks.h"
#include "ui/notices/frm_messaggi.h"
#include "ui/widgets/widget_helpers.h"

using namespace vorsa;
using namespace vorsa::test;

namespace {

const QByteArray kLungo = "Panino con salamella alla griglia e cipolle rosse";  // 50

QByteArray Catalogo() {
    return "[MANGIARE]\r\nDIMENSIONE=3\r\n1=Panino;3,5;1;0;-1;1;-1;0\r\n2=" + kLungo +
           ";4;1;0;-1;1;-1;0\r\n3=Costata;1200;1;0;-1;1;-1;0\r\n"
           "[PROGRAMMA]\r\nEULA=100\r\nMODE=0\r\nWIDTH=15380\r\nTOP=0\r\nLEFT=0\r\n";
}

/// The width a widget really has for its text, as its style draws it.
int Spazio(QWidget& w) {
    if (auto* e = qobject_cast<QLineEdit*>(&w)) {
        QStyleOptionFrame o;
        o.initFrom(e);
        o.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        const QMargins m = e->textMargins();
        return e->style()->subElementRect(QStyle::SE_LineEditContents, &o, e).width() - m.left() -
               m.right();
    }
    return w.contentsRect().width();
}

QString Testo(QWidget& w) {
    if (auto* e = qobject_cast<QLineEdit*>(&w)) return e->text();
    return static_cast<QLabel&>(w).text();
}

int ColoreTesto(const QWidget& w) {
    return static_cast<int>(w.palette().color(QPalette::WindowText).rgb() & 0xFFFFFF);
}
int ColoreSfondo(const QWidget& w) {
    return static_cast<int>(w.palette().color(QPalette::Window).rgb() & 0xFFFFFF);
}

QString NomeAccessibile(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
}

}  // namespace

class TstLeggibilita : public QObject {
    Q_OBJECT

    std::unique_ptr<Scena> scena_;
    FrmVorsa& Frm() { return *scena_->frm; }

    void Avvia(int larghezza) {
        scena_ = std::make_unique<Scena>();
        QVERIFY(scena_->Avvia(Catalogo(), [](Till& t) { t.opt.gStampaAbilitata = false; }));
        scena_->Sale();
        Frm().resize(larghezza, Frm().height());
        QTRY_VERIFY(Frm().width() == larghezza && scena_->Assestata());
    }
    /// How many feedback labels show.
    int Riscontri() {
        int n = 0;
        for (int i = 0; i < 5; ++i) n += ConfCode(Frm(), i)->isVisible();
        return n;
    }

  private slots:
    void initTestCase() { QAccessible::setActive(true); }

    void cleanup() { scena_.reset(); }

    void amountsShowWhole() {
        for (int larghezza : {1026, 1400}) {  // the narrow and the wide panel
            Avvia(larghezza);
            for (const char* a : {"0,00", "9,99", "162,10", "999,99", "99.999,99"}) {
                Frm().Destro().SetTotale(a);
                Frm().Destro().SetResto(a);
                Frm().Destro().SetUltimoScontrino(a);
                Frm().Destro().ModoPagamento(true);
                BoxPagato(Frm())->setText(
                    QString::fromLatin1(a).remove(QLatin1Char('.')));  // typed
                for (QWidget* w : {static_cast<QWidget*>(LblTotale(Frm())),
                                   static_cast<QWidget*>(LblResto(Frm())),
                                   static_cast<QWidget*>(LblUltimoScontrino(Frm())),
                                   static_cast<QWidget*>(BoxPagato(Frm()))}) {
                    const QFontMetrics fm(w->font());
                    QVERIFY2(fm.horizontalAdvance(Testo(*w)) <= Spazio(*w),
                             qPrintable(w->objectName() + " cuts " + Testo(*w)));
                    QVERIFY2(fm.height() <= w->contentsRect().height(),
                             qPrintable(w->objectName()));
                }
            }
        }
    }

    void oneFeedbackLabelAtATime() {
        Avvia(1026);
        QCOMPARE(Riscontri(), 1);
        QVERIFY(ConfCode(Frm(), kRiscontroCodice)->isVisible());
        for (int stato : {kRiscontroErrore, kRiscontroOk, kStatoFinito, kStatoSottoScorta}) {
            Frm().Destro().ShowFeedback(stato);
            QCOMPARE(Riscontri(), 1);
            QVERIFY(ConfCode(Frm(), stato)->isVisible());
        }
        Frm().ShowFeedback(7);  // no such label: ignored
        QVERIFY(ConfCode(Frm(), kStatoSottoScorta)->isVisible());
    }

    void keyLabelsReadableAndEnlargedKeysOnTop() {
        Avvia(1026);
        const auto controlla = [this](const char* quando) {
            for (int n = 1; n <= kNumeroAzioni; ++n) {
                QLabel* l = LblAzioneCode(Frm(), n);
                const double c = Contrasto(ColoreTesto(*l), ColoreSfondo(*l));
                // Normal text needs 4.5:1; a disabled key's may be dimmer, but not below 3:1.
                const bool attivo = CmdAzione(Frm(), n)->isEnabled();
                QVERIFY2(c >= (attivo ? 4.5 : 3.0),
                         qPrintable(QStringLiteral("%1 F%2 %3").arg(quando).arg(n).arg(c)));
            }
        };
        controlla("start");
        // F4 is disabled at rest: its label does not look like the enabled ones.
        QVERIFY(ColoreTesto(*LblAzioneCode(Frm(), kAzioneNuovoConto)) !=
                ColoreTesto(*LblAzioneCode(Frm(), kAzioneCancella)));
        QTest::keyClicks(BoxCodice(Frm()), QStringLiteral("F6"));  // every other key goes off
        controlla("statistics open");
        // The key that is on takes its own colour, black for F6: its caption must still read.
        QPushButton* f6 = CmdAzione(Frm(), kAzioneStatistica);
        QVERIFY(
            Contrasto(static_cast<int>(f6->palette().color(QPalette::ButtonText).rgb() & 0xFFFFFF),
                      static_cast<int>(f6->palette().color(QPalette::Button).rgb() & 0xFFFFFF)) >=
            4.5);
        QTRY_VERIFY(!TmrInput(Frm())->isActive());
        QTest::keyClicks(BoxCodice(Frm()), QStringLiteral("F6"));
        controlla("statistics closed");
        // While paying the enlarged F1 and F4 lie on top: every point of each shows the key.
        QTest::keyClicks(BoxCodice(Frm()), QStringLiteral("101"));
        QTRY_VERIFY(!TmrInput(Frm())->isActive());
        QTest::keyClick(BoxCodice(Frm()), Qt::Key_F1);
        QVERIFY(BoxPagato(Frm())->isEnabled());
        for (int n : {kAzionePaga, kAzioneNuovoConto}) {
            QPushButton* b = CmdAzione(Frm(), n);
            QVERIFY(b->height() > CmdAzione(Frm(), kAzioneCancella)->height());
            for (double fy : {0.1, 0.5, 0.9})
                for (double fx : {0.1, 0.5, 0.9}) {
                    const QPoint p = b->mapTo(&Frm(), QPoint(static_cast<int>(b->width() * fx),
                                                             static_cast<int>(b->height() * fy)));
                    QCOMPARE(Frm().childAt(p), static_cast<QWidget*>(b));
                }
        }
        controlla("paying");
    }

    void productNamesWrapAndKeepTheirStart() {
        Avvia(1026);
        QPushButton* b = Bottone(Frm(), 0, 2);
        QVERIFY(b);
        const QStringList righe = b->text().split(QLatin1Char('\n'));
        QVERIFY(righe.size() <= 2);
        QVERIFY2(QString::fromLatin1(kLungo).startsWith(righe.first()) ||
                     righe.first().startsWith(QStringLiteral("Panino")),
                 qPrintable(b->text()));
        const QFontMetrics fm(b->font());
        QVERIFY(b->font().pointSize() >= 7);
        for (const QString& r : righe)
            QVERIFY2(fm.horizontalAdvance(r) <= b->contentsRect().width(), qPrintable(r));
        QVERIFY(fm.lineSpacing() * righe.size() <= b->height());
        QCOMPARE(b->toolTip(), QString::fromLatin1(kLungo));
    }

    /// Every window and panel of the till, walked as a screen reader walks it.
    void everyWindowAndPanelIsNamedAfterItsTexts() {
        Scena s;
        QVERIFY(s.Avvia(kLetto + kCatalogo));
        QVERIFY(s.Impostazioni());
        s.Statistics({});
        s.frm->Griglia().Dimensiona({7, 3, 1});  // cells made later are described at once
        QStringList faults = UnnamedControls(*s.frm);
        // On Linux Qt names a combo box by its entry: its caption comes by "labelled by".
        for (QComboBox* c : Gestione(*s.frm, 1)->findChildren<QComboBox*>())
            if (c->objectName().startsWith(QLatin1String("cbo_Stampa")) &&
                QAccessible::queryAccessibleInterface(c)->relations(QAccessible::Label).isEmpty())
                faults << c->objectName() + QStringLiteral(": no caption");
        const std::pair<const char*, const char*> dialoghi[] = {
            {"cmdFormStampa", "frmStampaPers"}, {"cmdOpzioniAvanzate", "frmOpzioniAvanzate"}};
        for (const auto& [button, name] : dialoghi) {
            QDialog* d = s.Apri<QDialog>(button, name);
            QVERIFY2(d, name);
            faults += UnnamedControls(*d);
            d->close();
        }
        MessagesState stato;
        FrmMessaggi messaggio(stato);
        messaggio.Carica(stato.Carica({"T", "x", "h", true, "No", "OK", true, 0}));
        VERIFY_NO_FAULTS(faults + UnnamedControls(messaggio));

        // Names and the bill's lines follow the texts.
        RightPanel& d = s.frm->Destro();
        d.SetTotale("12,50");
        d.SetFeedbackCaption(kRiscontroCodice, "Codice?");
        d.SetActionCaption(1, "RIAPRI & PAGA");
        QCOMPARE(NomeAccessibile(LblTotale(*s.frm)), QStringLiteral("12,50"));
        QCOMPARE(NomeAccessibile(ConfCode(*s.frm, kRiscontroCodice)), QStringLiteral("Codice?"));
        // The code box is named by the feedback label beside it.
        QCOMPARE(NomeAccessibile(BoxCodice(*s.frm)), QStringLiteral("Codice?"));
        QCOMPARE(NomeAccessibile(CmdAzione(*s.frm, 1)), QStringLiteral("RIAPRI & PAGA"));
        // The bill's lines are read as their text.
        const QStringList righe{QStringLiteral("  1 Panino          2,50"),
                                QString::fromUtf8("  2 Caff\u00e8           2,40")};
        for (int i = 0; i < righe.size(); ++i)
            s.frm->Destro().SetListLine(i, Cp1252(righe[i]), 101 + i);
        QAccessibleInterface* lista = QAccessible::queryAccessibleInterface(ListaSpesa(*s.frm));
        QStringList letti;
        for (int i = 0; i < lista->childCount(); ++i)
            if (lista->child(i)->role() == QAccessible::ListItem)
                letti << lista->child(i)->text(QAccessible::Name);
        QCOMPARE(letti, righe);
    }
};

QTEST_MAIN(TstLeggibilita)
#include "tst_readability.moc"
