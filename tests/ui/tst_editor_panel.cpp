// The catalogue editor on the settings panel, driven through its widgets as the operator does:
// F7, the section list, the fields, the buttons; checked on screen and in Vorsa.ini.
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>

#include "frm_vorsa_scene.h"
#include "support/qt_checks.h"

using namespace vorsa;
using namespace vorsa::test;

namespace {

const QByteArray kMenu =
    "[MANGIARE]\r\nDIMENSIONE=3\r\n1=Panino;2,3;1;0;50;1;50;10\r\n"
    "2=Bibita grande;12,5;1;1;-1;1;-1;0\r\n3=\r\n"
    "[BERE]\r\nDIMENSIONE=2\r\n1=Acqua;1;0;0;-1;2;-1;0\r\n2=\r\n"
    "[VARIE]\r\nDIMENSIONE=1\r\n1=\r\n"
    "[PROGRAMMA]\r\nEULA=100\r\nMODE=0\r\nWIDTH=15380\r\n";

QString Riga(const char* marks, const char* name, const char* tail) {
    return QString::fromLatin1(marks) + QString::fromUtf8(name).leftJustified(50, ' ') +
           QString::fromUtf8(tail);
}

}  // namespace

class TstPannelloEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<Scena> scena_;

    QFrame* panel() { return Gestione(*scena_->frm, 1); }
    template <class W>
    W* C(const char* name, int i = -1) {
        return Ctl<W>(*scena_->frm, name, i);
    }

    void Avvia(const QByteArray& ini) {
        scena_ = std::make_unique<Scena>();
        QVERIFY(scena_->Avvia(ini, [](Till& t) { t.opt.gStampaAbilitata = false; }));
        QVERIFY(scena_->Impostazioni());
    }
    void ScegliRiga(int row) { C<QListWidget>("lst_Prodotti_Elenco")->setCurrentRow(row); }
    QLineEdit* Campo(int i) { return C<QLineEdit>("txt_Prodotto_New", i); }
    void Premi(const char* name, int i) {
        QTest::mouseClick(C<QPushButton>(name, i), Qt::LeftButton);
    }

  private slots:
    void cleanup() { scena_.reset(); }

    void f7OpensAndClosesThePanelThatFitsTheSmallestWindow() {
        Avvia(kMenu);
        auto* cbo = C<QComboBox>("cbo_Sezioni");
        QVERIFY(cbo->hasFocus());
        QCOMPARE(cbo->count(), 5);  // three sections, the actions and the coins
        QVERIFY(C<QComboBox>("cbo_StampaLista") != nullptr);  // the printer controls stay
        SaveScreenshot(*scena_->frm, QStringLiteral("pannello_editor"));
        VERIFY_NO_FAULTS(Misfits(*panel()));
        // The function keys work inside the panel: F7 closes it.
        QTest::keyClick(C<QListWidget>("lst_Prodotti_Elenco"), Qt::Key_F7);
        QVERIFY(!panel()->isVisible());
        QVERIFY(!scena_->cassa->vendita().StatoAzione(7));
    }

    /// The rules of lines, fields, deletions and the grid are the editor's core tests; here
    /// the widgets reach them: the line shown, a field's filter, a save, a question, a colour.
    void listFieldsAndButtonsReachTheEditor() {
        Avvia(kMenu);
        auto* lista = C<QListWidget>("lst_Prodotti_Elenco");
        QCOMPARE(lista->count(), 3);
        QCOMPARE(lista->item(0)->text(),
                 Riga(" [A-] ", "Panino", " - \xE2\x82\xAC:  2,30 - Pz:   50 (avv.  10)"));
        ScegliRiga(1);
        QCOMPARE(Campo(0)->text(), QStringLiteral("Bibita grande"));
        QCOMPARE(Campo(1)->text(), QStringLiteral("12,5"));
        QVERIFY(C<QCheckBox>("chk_Prodotto_Stato")->isChecked());

        // A field left is normalised; "?" passes the price filter.
        Campo(1)->setFocus();
        Campo(1)->clear();
        Campo(2)->setFocus();
        QCOMPARE(Campo(1)->text(), QStringLiteral("0"));
        Campo(1)->setFocus();
        QCOMPARE(Campo(1)->text(), QString());
        QTest::keyClicks(Campo(1), QStringLiteral("?x"));
        QCOMPARE(Campo(1)->text(), QStringLiteral("?"));
        // The context menu's paste goes round the key filter: a price it brings is taken back.
        Campo(1)->clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("1,2,3"));
        Campo(1)->paste();
        QCOMPARE(Campo(1)->text(), QString());
        QGuiApplication::clipboard()->setText(QStringLiteral("12,5"));
        Campo(1)->paste();
        QCOMPARE(Campo(1)->text(), QStringLiteral("12,5"));
        Campo(1)->setText(QStringLiteral("?"));
        Campo(0)->setText(QStringLiteral("Pesce"));
        Campo(2)->setText(QStringLiteral("-1"));
        Premi("cmd_Gestione", 1);
        QVERIFY(scena_->Sezione("MANGIARE").contains("2=Pesce;-1;1;1;-1;0;-1;0"));
        QCOMPARE(lista->currentRow(), 1);
        QVERIFY(BoxCodice(*scena_->frm)->hasFocus());
        QCOMPARE(Bottone(*scena_->frm, 0, 2)->text(), QStringLiteral("Pesce"));

        // Deleting a row asks through the prompter; its button goes off at once.
        ScegliRiga(0);
        scena_->prompter.confirmations = {true};
        Premi("cmd_Gestione_B", 0);
        QVERIFY(scena_->Sezione("MANGIARE").contains("1="));
        QVERIFY(!Bottone(*scena_->frm, 0, 1)->isEnabled());
        QCOMPARE(scena_->prompter.questions.size(), 1u);
    }

    void plusMinusAndApplyChangeTheGrid() {
        Avvia(kMenu);
        auto* dim = C<QLabel>("lbl_NewDim", 0);
        Premi("cmd_Gestione_B", 4);
        QCOMPARE(dim->text(), QStringLiteral("*  2"));
        QCOMPARE(dim->palette().color(QPalette::WindowText), QColor(192, 0, 0));
        Premi("cmd_Gestione_B", 3);
        QCOMPARE(dim->text(), QStringLiteral("  3"));
        QTest::mouseClick(C<QLabel>("lbl_NewDim", 1), Qt::LeftButton);
        QCOMPARE(C<QComboBox>("cbo_Sezioni")->currentIndex(), 1);
        Premi("cmd_Gestione_B", 3);
        Premi("cmd_Gestione_B", 3);
        QCOMPARE(C<QLabel>("lbl_NewDim", 1)->text(), QStringLiteral("*  4"));
        QVERIFY(Bottone(*scena_->frm, 1, 3) == nullptr);
        Premi("cmd_Gestione_B", 5);
        // The lines: the editor's core tests.
        QVERIFY(scena_->Sezione("BERE").contains("DIMENSIONE=4"));
        QVERIFY(Bottone(*scena_->frm, 1, 4) != nullptr);
        QCOMPARE(C<QLabel>("lbl_NewDim", 1)->text(), QStringLiteral("  4"));
    }

    void receiptsLockTheDestructiveButtons() {
        Avvia(kMenu + "[STATISTICHE]\r\nSCONTRINI=2\r\n");
        for (int i = 0; i < 7; ++i)
            QCOMPARE(C<QPushButton>("cmd_Gestione_B", i)->isEnabled(), i == 3 || i == 5);
    }

    void savedCataloguesThroughTheButtons() {
        Avvia(kMenu);
        Premi("cmd_Gestione", 3);
        auto* salvati = C<QListWidget>("lst_Prodotti_Salvati");
        QCOMPARE(salvati->count(), 1);
        QCOMPARE(salvati->item(0)->text(), QStringLiteral("Dati_del_12-06-2026"));
        QVERIFY(scena_->fx.Read(QStringLiteral("Dati/Dati_del_12-06-2026.txt"))
                    .startsWith("[MANGIARE]\r\n# Sintassi:="));
        salvati->setCurrentRow(0);
        scena_->prompter.answers = {std::string("Sagra")};
        Premi("cmd_Gestione", 6);
        QCOMPARE(salvati->item(0)->text(), QStringLiteral("Sagra"));
        salvati->setCurrentRow(0);
        Premi("cmd_Gestione", 2);
        QCOMPARE(scena_->fx.shell.opened.size(), 1u);
        QVERIFY(scena_->fx.shell.opened[0].ends_with("VorsaTmp.txt"));
        QTest::mouseClick(C<QPushButton>("cmd_MenuPdf"), Qt::LeftButton);
        QCOMPARE(scena_->fx.shell.opened.size(), 2u);
        QFile pdf(QString::fromStdString(Cp1252ToUtf8(scena_->fx.shell.opened[1])));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        QVERIFY(BoxCodice(*scena_->frm)->hasFocus());
    }
};

QTEST_MAIN(TstPannelloEditor)
#include "tst_editor_panel.moc"
