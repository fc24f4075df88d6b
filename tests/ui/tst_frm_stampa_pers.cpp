// The settings panel's printer controls and the print options dialog opened there with
// "OPZIONI DI STAMPA", driven through their widgets: what each control shows, what lands in
// Vorsa.ini and what the next receipt is built from.
#include <QComboBox>
#include <QImage>
#include <QMimeData>
#include <QRadioButton>
#include <optional>

#include "frm_vorsa_scene.h"
#include "support/qt_checks.h"
#include "ui/settings/frm_stampa_pers.h"
#include "ui/settings/preview_view.h"
#include "ui/widgets/widget_helpers.h"

using namespace vorsa;
using namespace vorsa::test;

class TstFrmStampaPers : public QObject {
    Q_OBJECT

    std::unique_ptr<Scena> scena_;
    QPointer<FrmStampaPers> dlg_;
    QStringList passwords_;

    template <class W>
    W* C(const char* name, int i = -1) {
        return Ctl<W>(*dlg_, name, i);
    }
    QByteArray Chiave(const QByteArray& key) { return scena_->Chiave("STAMPA", key); }
    QList<QByteArray> Sezione(const QByteArray& s) { return scena_->Sezione(s); }

    void Apri(const QByteArray& stampa = {}, const QByteArray& altro = {}) {
        scena_ = std::make_unique<Scena>();
        QVERIFY(scena_->Avvia(kCatalogo + kLetto + "[STAMPA]\r\n" + stampa + altro));
        scena_->Stampanti(
            {"Banco"}, [this](const std::string& p) { passwords_ << QString::fromStdString(p); });
        dlg_ = scena_->Apri<FrmStampaPers>("cmdFormStampa", "frmStampaPers");
        QVERIFY(dlg_ && dlg_->isModal());
    }
    void Pagina(int i) { QTest::mouseClick(C<QRadioButton>("optPrnOpz", i), Qt::LeftButton); }
    void Comandi(int i) { QTest::mouseClick(C<QPushButton>("cmdNumComande", i), Qt::LeftButton); }
    /// A list's rows, "*" after a ticked one.
    QStringList Voci(QListWidget* l) {
        QStringList v;
        for (int r = 0; r < l->count(); ++r)
            v << l->item(r)->text() + (l->item(r)->checkState() == Qt::Checked ? "*" : "");
        return v;
    }
    /// Drags the article shown as `voce` from one list and drops it on the other, as the mouse
    /// does: the dragged rows are the source's selection, packed by the source list itself.
    bool Trascina(QListWidget* da, const QString& voce, QListWidget* a) {
        const QList<QListWidgetItem*> voci = da->findItems(voce, Qt::MatchExactly);
        if (voci.size() != 1) return false;
        QTest::mouseClick(da->viewport(), Qt::LeftButton, {}, da->visualItemRect(voci[0]).center());
        std::unique_ptr<QMimeData> mime(
            da->model()->mimeData(da->selectionModel()->selectedIndexes()));
        const QPoint p = a->viewport()->rect().center();
        const Qt::DropActions azioni = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent entra(p, azioni, mime.get(), Qt::LeftButton, {});
        QApplication::sendEvent(a->viewport(), &entra);
        QDragMoveEvent muovi(p, azioni, mime.get(), Qt::LeftButton, {});
        QApplication::sendEvent(a->viewport(), &muovi);
        QDropEvent lascia(QPointF(p), azioni, mime.get(), Qt::LeftButton, {});
        QApplication::sendEvent(a->viewport(), &lascia);
        QCoreApplication::processEvents();
        return entra.isAccepted() && lascia.isAccepted();
    }
    QByteArray Gruppi() { return Sezione("STAMPA AVANZATA").join('|'); }

  private slots:
    void panelListsFollowThePrintersAndTheFormat() {
        Scena s;
        QVERIFY(s.Avvia(kLetto + "[STAMPA]\r\nSTAMPANTE=Cucina\r\nFORMATO=3\r\n"));
        s.Stampanti({"Banco", "Cucina"});
        auto* lista = Ctl<QComboBox>(*s.frm, QStringLiteral("cbo_StampaLista"));
        auto* formato = Ctl<QComboBox>(*s.frm, QStringLiteral("cbo_StampaFormato"));
        auto* larghezza = Ctl<QLineEdit>(*s.frm, QStringLiteral("txt_LarghezzaNastro"));
        QCOMPARE(lista->count(), 2);
        QCOMPARE(lista->currentText(), QStringLiteral("Cucina"));
        QCOMPARE(formato->currentIndex(), formato->findData(3));
        QVERIFY(!larghezza->isEnabled());

        const int pers = formato->findData(4);  // the custom roll
        formato->setCurrentIndex(pers);
        emit formato->activated(pers);
        QVERIFY(larghezza->isEnabled());
        QCOMPARE(s.Chiave("STAMPA", "FORMATO"), QByteArray("4"));
        larghezza->setFocus();
        larghezza->clear();
        QTest::keyClicks(larghezza, QStringLiteral("8.255x"));  // decimal filter
        QCOMPARE(larghezza->text(), QStringLiteral("8,25"));
        BoxCodice(*s.frm)->setFocus();
        QCOMPARE(s.Chiave("STAMPA", "LARGHEZZA_POS"), QByteArray("8,25"));
        emit lista->activated(0);
        QCOMPARE(s.Chiave("STAMPA", "STAMPANTE"), QByteArray("Banco"));
    }

    void noPrinterInstalled() {
        Scena s;
        QVERIFY(s.Avvia(kLetto));
        s.Stampanti({});
        QVERIFY(Ctl<QLabel>(*s.frm, QStringLiteral("lblNessunaStampante"))->isVisible());
        QVERIFY(!Ctl<QComboBox>(*s.frm, QStringLiteral("cbo_StampaLista"))->isEnabled());
        QVERIFY(!Ctl<QPushButton>(*s.frm, QStringLiteral("btn_StampaTest"))->isEnabled());
    }
    void cleanup() {
        if (dlg_) dlg_->close();
        scena_.reset();
        passwords_.clear();
    }

    void fitsTheSmallestScreenAndExplains() {
        Apri();
        for (int pagina = 0; pagina < 4; ++pagina) {
            Pagina(pagina);
            dlg_->adjustSize();
            SaveScreenshot(*dlg_, QStringLiteral("%1-%2").arg(dlg_->objectName()).arg(pagina));
            VERIFY_NO_FAULTS(Misfits(*dlg_));
        }
        // The info labels explain; "Chiudi" returns.
        Pagina(0);
        QStringList testi;
        dlg_->mostraInfo = [&](const QString&, const QString& x) { testi << x; };
        QTest::mouseClick(C<QLabel>("lbl_info2", 16), Qt::LeftButton);
        QCOMPARE(testi.size(), 1);
        QVERIFY(testi[0].contains(QString::fromStdString(scena_->fx.till().paths.gFilePassword)));
        QTest::mouseClick(C<QPushButton>("cmd_Chiudi"), Qt::LeftButton);
        QTRY_VERIFY(!dlg_);
    }

    /// A tick others depend on: unticked, it clears and greys them; ticked, gives them back.
    void ticksGateTheirDependants() {
        Apri(
            "PROGRESSIVO=1\r\nTKT-RITIRO=1\r\nTKT-RITIRO-GRP=1\r\nTKT-RITIRO_BARRE=1\r\n"
            "PROGRESSIVO_PIEDE=1\r\nRIEPILOGO0=1\r\nRIEPILOGO1=1\r\nTOTALE=1\r\n");
        const auto p = [this](int i) { return C<QCheckBox>("chk_StampaProgressivo", i); };
        const auto stato = [&] {  // x ticked, o free, - greyed
            QString s;
            for (int i = 1; i < 5; ++i)
                s += p(i)->isChecked() ? 'x' : p(i)->isEnabled() ? 'o' : '-';
            return s;
        };
        QCOMPARE(stato(), QStringLiteral("xxxx"));
        Clicca(p(0));
        QCOMPARE(stato(), QStringLiteral("----"));
        for (const char* k : {"PROGRESSIVO", "TKT-RITIRO", "TKT-RITIRO-GRP", "TKT-RITIRO_BARRE",
                              "PROGRESSIVO_PIEDE"})
            QCOMPARE(Chiave(k), QByteArray("0"));
        Clicca(p(0));  // "Uno per gruppo" waits for the pickup ticket
        QCOMPARE(stato(), QStringLiteral("o-oo"));
        Clicca(p(1));
        Clicca(p(2));
        QCOMPARE(stato(), QStringLiteral("xxoo"));
        QCOMPARE(Chiave("TKT-RITIRO-GRP"), QByteArray("1"));
        Clicca(p(1));
        QCOMPARE(stato(), QStringLiteral("o-oo"));
        QCOMPARE(Chiave("TKT-RITIRO-GRP"), QByteArray("0"));

        auto* prod = C<QCheckBox>("chk_StampaRiepilogo", 1);
        Clicca(C<QCheckBox>("chk_StampaRiepilogo", 0));
        QCOMPARE(Chiave("RIEPILOGO0"), QByteArray("0"));
        QVERIFY(!prod->isEnabled());
        Clicca(C<QCheckBox>("chk_StampaRiepilogo", 0));
        Clicca(prod);
        QCOMPARE(Chiave("RIEPILOGO1"), QByteArray("0"));
    }

    /// One field and one control of each kind reaches its rule and its key (the clamps: the
    /// settings' tests; the texts and the plain boxes: tables the dialog walks).
    void everyKindOfControlWritesItsKey() {
        Apri("COPIE0=3\r\nIMMAGINE_PERC0=70\r\nMARGINE0=5\r\n");
        scena_->ScriviCampi(*dlg_, "STAMPA",
                            {{"txt_StampaCopie", 0, "0", "1", "COPIE0=1"},
                             {"txtPercImg", 0, "", "100", "IMMAGINE_PERC0=100"},
                             {"txtMargine", 0, "1a2", "12", "MARGINE0=12"},
                             {"txt_StampaTitolo", 1, "Sagra", "Sagra", "TITOLO2=Sagra"},
                             {"txt_Pwd", 5, "segreto", "segreto", {}}});
        QCOMPARE(passwords_, QStringList{"segreto"});  // the reprint password goes to the till
        const struct {
            const char* name;
            int index;
            QByteArray key;
        } caselle[] = {{"chk_StampaPrezzi", -1, "PREZZI"},
                       {"chk_testo_und", 2, "TITOLO_UND2"},
                       {"chk_StampaTotale", 1, "TOTALE_NO_SINGOLO"}};
        for (const auto& k : caselle) {
            auto* c = C<QCheckBox>(k.name, k.index);
            const bool prima = c->isChecked();
            Clicca(c);
            QCOMPARE(Chiave(k.key), QByteArray(prima ? "0" : "1"));
            Clicca(c);
            QCOMPARE(Chiave(k.key), QByteArray(prima ? "1" : "0"));
        }
        QTest::mouseClick(C<QRadioButton>("opt_StampaCumulo", 2), Qt::LeftButton);
        QCOMPARE(Chiave("CUMULATIVO"), QByteArray("2"));
        auto* carta = C<QComboBox>("cboGestioneCarta");
        carta->setCurrentIndex(3);
        emit carta->activated(3);
        QCOMPARE(Chiave("SCONTRINI_CALCOLACARTA"), QByteArray("3"));
    }

    /// A file that is no picture is refused; a picture wider than the paper is marked in the
    /// preview until it is removed again.
    void picturesAreChosenCheckedAndRemoved() {
        Apri("FORMATO=3\r\nIMMAGINE_PERC0=80\r\n");
        const QString buona = scena_->fx.FilePath(QStringLiteral("striscione.png"));
        QImage img(1800, 120, QImage::Format_RGB32);
        img.fill(Qt::darkGreen);
        QVERIFY(img.save(buona));
        QVERIFY(scena_->fx.Write(QStringLiteral("rotta.jpg"), "not a picture"));
        QString scelta = scena_->fx.FilePath(QStringLiteral("rotta.jpg"));
        dlg_->scegliImmagine = [&] { return scelta; };
        QTest::mouseClick(C<QPushButton>("Pic", 0), Qt::LeftButton);
        QCOMPARE(scena_->prompter.avvisi.size(), 1u);
        QCOMPARE(Chiave("IMMAGINE0"), QByteArray("<none>"));
        QVERIFY(scena_->fx.till().opt.headerImages[0].path.empty());

        scelta = buona;
        QTest::mouseClick(C<QPushButton>("Pic", 0), Qt::LeftButton);
        QCOMPARE(Chiave("IMMAGINE0"), buona.toLocal8Bit());
        QVERIFY(Chiave("IMMAGINE_W0").toInt() > Chiave("IMMAGINE_H0").toInt());
        QVERIFY(Chiave("IMMAGINE_H0").toInt() > 0);
        const HeaderImage& im = scena_->fx.till().opt.headerImages[0];
        QCOMPARE(QString::fromStdString(im.path), buona);
        QVERIFY(C<QLabel>("lblPic", 0)->isHidden());
        Pagina(3);
        auto* vista = C<PreviewView>("paginaAnteprima");
        QVERIFY(vista->Backend().Fuori() > 0);
        const QString testo = C<QLabel>("lblAnteprima")->text();
        QVERIFY2(testo.contains(QStringLiteral("fuori dalla carta")), qPrintable(testo));
        SaveScreenshot(*dlg_, QStringLiteral("anteprima-fuori"));

        Pagina(0);
        scena_->prompter.confirmations = {true};
        QTest::mouseClick(C<QPushButton>("Pic", 0), Qt::LeftButton);  // asked, answered yes
        QCOMPARE(Chiave("IMMAGINE0"), QByteArray(""));
        QVERIFY(scena_->fx.till().opt.headerImages[0].path.empty());
        QVERIFY(!C<QLabel>("lblPic", 0)->isHidden());
        QCOMPARE(vista->Backend().Fuori(), 0);
    }

    void kitchenOrdersAreMeasuredTickedAddedRemovedAndRenamed() {
        Apri({}, "[COMANDA1]\r\nPRODOTTI=103\r\n");
        Pagina(1);
        // The format makes the sheet measure again.
        auto& pagine = scena_->printer->Setup().orders;
        pagine.resize(2);
        pagine[0].lineSize = 30;
        pagine[1].lineSize = 30;
        auto* carta = C<QComboBox>("cboCartaComanda");
        carta->setCurrentIndex(5);
        emit carta->activated(5);
        QVERIFY(Sezione("COMANDA1").contains("FORMATO=5"));
        QCOMPARE(pagine[0].lineSize, std::int16_t{0});
        QCOMPARE(pagine[1].lineSize, std::int16_t{30});
        pagine[0].lineSize = 30;
        Scrivi(C<QLineEdit>("txtMargineComanda", 2), QStringLiteral("4"));
        QTRY_COMPARE(pagine[0].lineSize, std::int16_t{0});
        QVERIFY(Sezione("COMANDA1").contains("MARGINE2=4"));
        Clicca(C<QCheckBox>("chkAbilitaComanda"));
        QVERIFY(Sezione("COMANDA1").contains("ABILITATO=1"));

        auto* lista = C<QListWidget>("lstProdottiComanda");
        QCOMPARE(Voci(lista).filter(QStringLiteral("*")), QStringList{"103  Patatine*"});
        QCOMPARE(lista->count(), 7);  // every article
        lista->item(5)->setCheckState(Qt::Checked);
        QVERIFY(Sezione("COMANDA1").contains("PRODOTTI=103;201"));

        // Only the chosen ones shown; a tick removed there keeps the hidden choices.
        Clicca(C<QCheckBox>("chkOpzComanda", 2));
        QVERIFY(Sezione("COMANDA1").contains("OPZ3=1"));
        QCOMPARE(Voci(lista), (QStringList{"103  Patatine*", "201  Acqua*"}));
        lista->item(0)->setCheckState(Qt::Unchecked);
        QVERIFY(Sezione("COMANDA1").contains("PRODOTTI=201"));

        Clicca(C<QCheckBox>("chkOpzComanda", 2));
        QTest::mouseClick(C<QPushButton>("cmdSelRimComanda", 0), Qt::LeftButton);
        QVERIFY(Sezione("COMANDA1").contains("PRODOTTI=101;102;103;104;105;201;301"));
        QTest::mouseClick(C<QPushButton>("cmdSelRimComanda", 1), Qt::LeftButton);
        QVERIFY(Sezione("COMANDA1").contains("PRODOTTI="));

        // The second configuration keeps its own list.
        auto* nomi = C<QComboBox>("cboNomeComanda");
        nomi->setCurrentIndex(1);
        emit nomi->activated(1);
        QVERIFY(!Voci(lista).join(' ').contains('*'));

        QCOMPARE(nomi->count(), 2);
        Comandi(0);
        QCOMPARE(nomi->count(), 1);
        Comandi(1);
        Comandi(1);
        QCOMPARE(nomi->count(), 3);
        QCOMPARE(nomi->currentText(), QStringLiteral("Comanda 3"));

        scena_->prompter.answers = {"", std::nullopt, "Griglia e piastra"};
        Comandi(2);  // empty answer
        Comandi(2);  // cancelled
        QCOMPARE(nomi->currentText(), QStringLiteral("Comanda 3"));
        QVERIFY(Sezione("COMANDA3").contains("NOME=Comanda 3"));
        Comandi(2);
        QCOMPARE(nomi->currentText(), QStringLiteral("Griglia e pias"));
        QVERIFY(Sezione("COMANDA3").contains("NOME=Griglia e pias"));

        Comandi(0);
        QVERIFY(!scena_->Ini().contains("[COMANDA3]"));
    }

    void groupsAreEditedAndArticlesDraggedBetweenTheLists() {
        Apri();
        Pagina(2);
        auto* gruppi = C<QListWidget>("lstGruppi");
        auto* delGruppo = C<QListWidget>("lstGruppiProdotti");
        auto* senza = C<QListWidget>("lstProdotti");
        const auto premi = [this](int i) {
            QTest::mouseClick(C<QPushButton>("cmdStampaAdv", i), Qt::LeftButton);
        };
        // At first the sections, the first one chosen, nothing written by looking.
        QCOMPARE(Voci(gruppi), (QStringList{"MANGIARE", "BERE", "VARIE"}));
        QCOMPARE(C<QLineEdit>("txtGruppoDel")->text(), QStringLiteral("MANGIARE"));

        Scrivi(C<QLineEdit>("txtGruppoAdd"), QStringLiteral("Bar"));
        premi(2);
        QCOMPARE(Gruppi(), QByteArray("GRUPPI=MANGIARE-1;BERE-2;VARIE-3;Bar-4"));
        QCOMPARE(gruppi->currentItem()->text(), QStringLiteral("Bar"));
        QVERIFY(Voci(delGruppo).isEmpty());

        // Acqua from BERE to no group, then into Bar.
        gruppi->setCurrentRow(1);
        QVERIFY(Trascina(delGruppo, QStringLiteral("201  Acqua"), senza));
        QTRY_COMPARE(Voci(senza), QStringList{"201  Acqua"});
        QVERIFY(Voci(delGruppo).isEmpty());
        QVERIFY(Sezione("BERE").contains("1=Acqua;1;1;0;-1;0;-1;0"));
        QVERIFY(!Trascina(senza, QStringLiteral("201  Acqua"), senza));  // onto its own list
        gruppi->setCurrentRow(3);
        QVERIFY(Trascina(senza, QStringLiteral("201  Acqua"), delGruppo));
        QTRY_COMPARE(Voci(delGruppo), QStringList{"201  Acqua"});
        QVERIFY(Voci(senza).isEmpty());
        QVERIFY(Sezione("BERE").contains("1=Acqua;1;1;0;-1;4;-1;0"));
        QCOMPARE(scena_->fx.till().cat.gArticoli[6].printGroup, std::int16_t{4});

        // Rename and delete reach the rules (their bytes: the groups' core tests).
        Scrivi(C<QLineEdit>("txtGruppoRen"), QStringLiteral("Bevande"));
        premi(0);
        QCOMPARE(C<QLineEdit>("txtGruppoDel")->text(), QStringLiteral("Bevande"));
        premi(1);
        QCOMPARE(Gruppi(), QByteArray("GRUPPI=MANGIARE-1;BERE-2;VARIE-3"));
        QVERIFY(Voci(senza).contains(QStringLiteral("201  Acqua")));
    }

    QStringList TestiAnteprima() {
        QStringList t;
        auto* vista = C<PreviewView>("paginaAnteprima");
        for (const PreviewPage& p : vista->Backend().Pagine())
            for (const PreviewMark& s : p.segni)
                if (s.tipo == PreviewMark::Kind::Testo) t << Testo(s.testo);
        return t;
    }

    void previewFollowsEveryChange() {
        Apri(
            "FORMATO=2\r\nPREZZI=1\r\nCUMULATIVO=0\r\nTKT-RITIRO=0\r\nRIEPILOGO0=0\r\n"
            "SCONTRINI_QTA=1\r\n");
        Pagina(3);
        auto* vista = C<PreviewView>("paginaAnteprima");
        QVERIFY(vista->isVisible());
        QCOMPARE(vista->Backend().Pagine().size(), std::size_t{1});
        QVERIFY(TestiAnteprima().contains(QString::fromUtf8("€ 3,50")));
        QVERIFY(!TestiAnteprima().contains(QStringLiteral("Sagra del paese")));
        QVERIFY(C<QLabel>("lblAnteprima")->text().contains(QStringLiteral("Tutto entra")));

        Pagina(0);
        Scrivi(C<QLineEdit>("txt_StampaTitolo", 0), QStringLiteral("Sagra del paese"));
        QVERIFY(TestiAnteprima().contains(QStringLiteral("Sagra del paese")));
        Clicca(C<QCheckBox>("chk_StampaPrezzi"));
        QVERIFY(!TestiAnteprima().contains(QString::fromUtf8("€ 3,50")));
        // Separate receipts, one per piece: 2 + 1 + 2 + 3 + 1 pieces in the sample's 5 lines
        // (the modes' counts: the receipt modes' tests).
        Clicca(C<QRadioButton>("opt_StampaCumulo", 1));
        QCOMPARE(vista->Backend().Pagine().size(), std::size_t{9});
        // Nothing of the sample reaches the file: the options only.
        QVERIFY(!scena_->Ini().contains("salamella"));
    }
};

QTEST_MAIN(TstFrmStampaPers)
#include "tst_frm_stampa_pers.moc"
