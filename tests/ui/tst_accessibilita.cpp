// The till's controls as assistive tools see them through QAccessible (what AT-SPI carries):
// the name is the caption or the label beside the control, the description its control name.
#include <QAccessible>
#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QtTest>

#include "frm_vorsa_scene.h"
#include "layout/stato_messaggi.h"
#include "support/qt_checks.h"
#include "ui/frm_messaggi.h"
#include "ui/widget_helpers.h"

using namespace vorsa;
using namespace vorsa::test;

namespace {

QString NomeAccessibile(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
}

}  // namespace

class TstAccessibilita : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QAccessible::setActive(true); }

    /// Every window and panel of the till, walked as a screen reader walks it.
    void everyWindowAndPanelIsNamed() {
        Scena s;
        QVERIFY(s.Avvia(kLetto + kCatalogo));
        QVERIFY(s.Impostazioni());
        s.Statistiche({});
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
        StatoMessaggi stato;
        FrmMessaggi messaggio(stato);
        messaggio.Carica(stato.Carica({"T", "x", "h", true, "No", "OK", true, 0}));
        VERIFY_NO_FAULTS(faults + UnnamedControls(messaggio));
    }

    void namesAndBillLinesFollowTheTexts() {
        Scena s;
        QVERIFY(s.Avvia(kLetto + kCatalogo));
        PannelloDestro& d = s.frm->Destro();
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

QTEST_MAIN(TstAccessibilita)
#include "tst_accessibilita.moc"
