// The till's controls as assistive tools see them through QAccessible (what AT-SPI carries):
// the name is the caption or the label beside the control, the description its control name.
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <vector>

#include "frm_vorsa_scene.h"
#include "layout/stato_messaggi.h"
#include "support/qt_checks.h"
#include "ui/frm_messaggi.h"
#include "ui/pannello_stampa.h"
#include "ui/widget_helpers.h"

using namespace vorsa;
using namespace vorsa::test;

namespace {

struct Nodo {
    QString name;
    QString description;
    QAccessible::Role role;
    QObject* object;
    QString label;  // name of the control's label, through the "labelled by" relation
};

void Visita(QAccessibleInterface* iface, std::vector<Nodo>& out, int depth = 0) {
    if (!iface || !iface->isValid() || depth > 64) return;
    const auto labels = iface->relations(QAccessible::Label);
    out.push_back({iface->text(QAccessible::Name), iface->text(QAccessible::Description),
                   iface->role(), iface->object(),
                   labels.isEmpty() ? QString() : labels.front().first->text(QAccessible::Name)});
    for (int i = 0; i < iface->childCount(); ++i) Visita(iface->child(i), out, depth + 1);
}

/// The accessible tree from `root` down, as a screen reader walks it.
std::vector<Nodo> Albero(QObject* root) {
    std::vector<Nodo> out;
    Visita(QAccessible::queryAccessibleInterface(root), out);
    return out;
}

struct Atteso {
    QString description;
    QString name;
};

/// Every expected control occurs exactly once in the tree with its name; all failures at once.
QStringList Confronta(const std::vector<Nodo>& albero, const QList<Atteso>& attesi) {
    QStringList errori;
    for (const Atteso& a : attesi) {
        QStringList nomi;
        for (const Nodo& n : albero)
            if (n.description == a.description) nomi << n.name;
        if (nomi.size() != 1)
            errori << QStringLiteral("%1: found %2 times").arg(a.description).arg(nomi.size());
        else if (nomi.front() != a.name)
            errori << QStringLiteral("%1: name '%2', expected '%3'")
                          .arg(a.description, nomi.front(), a.name);
    }
    return errori;
}

}  // namespace

class TstAccessibilita : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QAccessible::setActive(true); }
    void mainWindow();
    void namesFollowTheTexts();
    void laterControls();
    void billLinesAsText();
    void printControls();
    void messageWindow();
};

void TstAccessibilita::mainWindow() {
    Scena s;
    QVERIFY(s.Avvia(kLetto + kCatalogo));
    // Inputs are named by the caption beside them; a value label by the value it shows.
    const QList<Atteso> attesi{
        {QStringLiteral("box_Codice"), QStringLiteral("Codice:")},
        {QStringLiteral("box_Pagato"), QStringLiteral("Pagato:")},
        {QStringLiteral("txtTavolo"), QStringLiteral("Tavolo:")},
        {QStringLiteral("txtCommento"), QStringLiteral("Nota:")},
        {QStringLiteral("lst_spesa"), QStringLiteral("lst_spesa")},  // no label beside it
        {QStringLiteral("lblUltimoScontrino(0)"), QStringLiteral("0,00")},
        {QString::fromUtf8("cmd_altro(1)"), QString::fromUtf8("Caff\u00e8")},
        {QStringLiteral("frm_Vorsa"), s.frm->windowTitle()},
    };
    const std::vector<Nodo> albero = Albero(s.frm.get());
    const QStringList errori = Confronta(albero, attesi) + UnnamedControls(*s.frm);
    QVERIFY2(errori.isEmpty(), qPrintable(errori.join(QLatin1Char('\n'))));
}

void TstAccessibilita::namesFollowTheTexts() {
    Scena s;
    QVERIFY(s.Avvia(kLetto + kCatalogo));
    PannelloDestro& d = s.frm->Destro();
    d.SetTotale("12,50");
    d.SetFeedbackCaption(kRiscontroCodice, "Codice?");
    d.SetActionCaption(1, "RIAPRI & PAGA");
    const QList<Atteso> attesi{
        {QStringLiteral("lbl_totale"), QStringLiteral("12,50")},
        {QStringLiteral("lbl_conf_code(2)"), QStringLiteral("Codice?")},
        {QStringLiteral("box_Codice"), QStringLiteral("Codice?")},
        {QStringLiteral("cmd_azioni(1)"), QStringLiteral("RIAPRI & PAGA")},
    };
    const QStringList errori = Confronta(Albero(s.frm.get()), attesi);
    QVERIFY2(errori.isEmpty(), qPrintable(errori.join(QLatin1Char('\n'))));
}

void TstAccessibilita::laterControls() {
    Scena s;
    QVERIFY(s.Avvia(kLetto + kCatalogo));
    // The grid grows when the catalogue does; its new cells are described at once.
    s.frm->Griglia().Dimensiona({7, 3, 1});
    const std::vector<Nodo> albero = Albero(s.frm.get());
    const QStringList errori = Confronta(albero, {{QStringLiteral("cmd_mangiare(7)"), QString()},
                                                  {QStringLiteral("cmd_bere(3)"), QString()}}) +
                               UnnamedControls(*s.frm);
    QVERIFY2(errori.isEmpty(), qPrintable(errori.join(QLatin1Char('\n'))));
}

void TstAccessibilita::billLinesAsText() {
    Scena s;
    QVERIFY(s.Avvia(kLetto + kCatalogo));
    const QStringList righe{QStringLiteral("  1 Panino          2,50"),
                            QString::fromUtf8("  2 Caff\u00e8           2,40")};
    for (int i = 0; i < righe.size(); ++i)
        s.frm->Destro().SetListLine(i, Cp1252(righe[i]), 101 + i);
    QStringList letti;
    for (const Nodo& n : Albero(ListaSpesa(*s.frm)))
        if (n.role == QAccessible::ListItem) letti << n.name;
    QCOMPARE(letti, righe);
}

void TstAccessibilita::printControls() {
    Scena s;
    QVERIFY(s.Avvia(kLetto));
    PannelloStampa p(*Gestione(*s.frm, 1), s.fx.till().settings, nullptr, s.fx.till().cat, {});
    const std::vector<Nodo> albero = Albero(s.frm.get());
    const QStringList errori =
        Confronta(
            albero,
            {
                {QStringLiteral("txt_LarghezzaNastro"), QStringLiteral("txt_LarghezzaNastro")},
                {QStringLiteral("btn_StampaTest"), QStringLiteral("T")},
                {QStringLiteral("cmdFormStampa"), QStringLiteral("OPZIONI DI STAMPA")},
            }) +
        UnnamedControls(*s.frm);
    QVERIFY2(errori.isEmpty(), qPrintable(errori.join(QLatin1Char('\n'))));
    // On Linux Qt names a combo box by its current entry and points to its caption through the
    // "labelled by" relation, as screen readers expect.
    const QList<Atteso> etichette{
        {QStringLiteral("cbo_StampaLista"), QStringLiteral("Stampante scontrini:")},
        {QStringLiteral("cbo_StampaFormato"), QStringLiteral("Formato carta:")},
        {QStringLiteral("box_Codice"), QStringLiteral("Codice:")},
        {QStringLiteral("txtTavolo"), QStringLiteral("Tavolo:")},
    };
    for (const Atteso& a : etichette) {
        const auto it = std::find_if(albero.begin(), albero.end(), [&a](const Nodo& n) {
            return n.description == a.description;
        });
        QVERIFY2(it != albero.end(), qPrintable(a.description));
        QCOMPARE(it->label, a.name);
    }
}

void TstAccessibilita::messageWindow() {
    StatoMessaggi stato;
    ParametriMessaggio p;
    p.titolo = "RICHIESTA PASSWORD";
    p.testo = "\r\nPASSWORD ERRATA\r\n";
    p.mostraBottoni = true;
    p.caption0 = "No";
    p.caption1 = "OK";
    p.modale = true;
    auto* frm = new FrmMessaggi(stato);
    frm->Carica(stato.Carica(p));
    const std::vector<Nodo> albero = Albero(frm);
    const QStringList errori =
        Confronta(albero,
                  {
                      {QStringLiteral("frmMessaggi"), QStringLiteral("RICHIESTA PASSWORD")},
                      {QStringLiteral("lblTitolo"), QStringLiteral("RICHIESTA PASSWORD")},
                      {QStringLiteral("lblTesto"), QStringLiteral("\nPASSWORD ERRATA\n")},
                      {QStringLiteral("btnMessaggi(0)"), QStringLiteral("No")},
                      {QStringLiteral("btnMessaggi(1)"), QStringLiteral("OK")},
                  }) +
        UnnamedControls(*frm);
    delete frm;
    QVERIFY2(errori.isEmpty(), qPrintable(errori.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TstAccessibilita)
#include "tst_accessibilita.moc"
