// The main window's layout on screen: product buttons in twips converted to pixels, the right
// panel by window width, controls anchored to the bottom, the window's height and top.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "frm_vorsa_scene.h"

using namespace vorsa;
using namespace vorsa::test;

namespace {

const QByteArray kNormale = "MODE=0\r\nTOP=1500\r\nLEFT=0\r\nWIDTH=15380\r\n";

/// Sections of `a`, `b` and `c` positions, names only.
QByteArray Sezioni(int a, int b, int c) {
    QByteArray out;
    const char* names[] = {"MANGIARE", "BERE", "VARIE"};
    const int sizes[] = {a, b, c};
    for (int s = 0; s < 3; ++s) {
        out +=
            QByteArray("[") + names[s] + "]\r\nDIMENSIONE=" + QByteArray::number(sizes[s]) + "\r\n";
        for (int p = 1; p <= sizes[s]; ++p)
            out += QByteArray::number(p) + "=Art" + QByteArray::number(p) + ";1;1;0;-1;" +
                   QByteArray::number(s + 1) + ";-1;0\r\n";
    }
    return out;
}

}  // namespace

class TstFrmVorsaLayout : public QObject {
    Q_OBJECT
  private slots:
    void defaultGrid();
    void cells_data();
    void cells();
    void columns_data();
    void columns();
    void panelByWidth_data();
    void panelByWidth();
    void narrowedSnapsBack();
    void anchoredToBottom();
    void tallCatalogue();
    void maximised();
};

void TstFrmVorsaLayout::defaultGrid() {
    Scena s;
    QVERIFY(s.Avvia(Programma(kNormale) + kCatalogo));
    QTRY_VERIFY(s.Assestata());
    const FrmVorsa::Disposizione& d = s.frm->Layout();
    QCOMPARE(d.gLarghezzaGriglia, 7860);
    QCOMPARE(d.gColonne, 2);
    QCOMPARE(d.gLarghezzaBottone, 2890);
    // Few articles: the minimum height, and a normal window takes it.
    QCOMPARE(d.gAltezzaNecessaria, 8290);
    QCOMPARE(s.frm->height(), Py(8290));
    QCOMPARE(s.frm->width(), Px(15380));
}

void TstFrmVorsaLayout::cells_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("x");  // twips of the code label
    QTest::addColumn<int>("y");
    // Defaults, grid 7860: button width 2890, two columns; MANGIARE 5, BERE 10, VARIE 4.
    QTest::newRow("first") << "mangiare" << 1 << 120 << 50;
    QTest::newRow("second column") << "mangiare" << 2 << 3990 << 50;
    QTest::newRow("third row") << "mangiare" << 5 << 120 << 1140;
    QTest::newRow("drinks first") << "bere" << 1 << 120 << 1835;
    QTest::newRow("drinks 3: row 1 column 1") << "bere" << 3 << 120 << 2380;
    QTest::newRow("drinks 10: row 4 column 2") << "bere" << 10 << 3990 << 4015;
    QTest::newRow("others last") << "altro" << 4 << 3990 << 5255;
}

void TstFrmVorsaLayout::cells() {
    QFETCH(QString, section);
    QFETCH(int, position);
    QFETCH(int, x);
    QFETCH(int, y);
    Scena s;
    QVERIFY(s.Avvia(Programma(kNormale) + Sezioni(5, 10, 4)));
    QTRY_VERIFY(s.Assestata());
    const QString idx = QStringLiteral("(%1)").arg(position);
    auto* code = s.Trova<QLabel>("lbl_" + section + "_code" + idx);
    auto* price = s.Trova<QLabel>("lbl_" + section + "_prezzo" + idx);
    auto* line = s.Trova<QFrame>("lin_" + section + idx);
    auto* button = s.Trova<QPushButton>("cmd_" + section + idx);
    QVERIFY(code && price && line && button);
    QCOMPARE(s.InFinestra(*code), QPoint(Px(x), Py(y)));
    QCOMPARE(s.InFinestra(*price), QPoint(Px(x), Py(y + 240)));
    QCOMPARE(s.InFinestra(*line), QPoint(Px(x), Py(y + 495)));
    QCOMPARE(line->width(), Px(800));
    QCOMPARE(s.InFinestra(*button), QPoint(Px(x + 800 + 60), Py(y)));
    QCOMPARE(button->size(), QSize(Px(2890), Py(495)));
    QVERIFY(button->isVisible());
}

void TstFrmVorsaLayout::columns_data() {
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("width");
    QTest::newRow("six drop to five") << QByteArray("BOTTONI-COLONNE=6\r\n") << 5 << 568;
    QTest::newRow("one") << QByteArray("BOTTONI-COLONNE=1\r\n") << 1 << 6760;
    QTest::newRow("huge border: one column")
        << QByteArray("BOTTONI-BORDO=100000\r\n") << 1 << 7860 - 250800;
}

void TstFrmVorsaLayout::columns() {
    QFETCH(QByteArray, keys);
    QFETCH(int, columns);
    QFETCH(int, width);
    Scena s;
    QVERIFY(s.Avvia(Programma(kNormale + keys) + Sezioni(6, 1, 1)));
    QTRY_VERIFY(s.Assestata());
    QCOMPARE(s.frm->Layout().gColonne, columns);
    QCOMPARE(s.frm->Layout().gLarghezzaBottone, width);
    auto* first = s.frm->Bottone(0, 1);
    auto* next = s.frm->Bottone(0, columns + 1);  // first of the second row
    QVERIFY(first && next);
    QCOMPARE(first->width(), std::max(Px(width), 0));
    QCOMPARE(next->x(), first->x());
    QVERIFY(next->y() > first->y());
    if (columns > 1) QCOMPARE(s.frm->Bottone(0, 2)->y(), first->y());
}

void TstFrmVorsaLayout::panelByWidth_data() {
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("wide");
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("comment");
    QTest::addColumn<int>("font");
    QTest::addColumn<int>("valueWidth");
    // 1093 px are 16395 twips, 1094 px 16410: either side of 16400.
    QTest::newRow("narrow") << 1093 << false << 7250 << 4485 << 26 << 1755;
    QTest::newRow("wide") << 1094 << true << 8200 << 5465 << 28 << 2350;
}

void TstFrmVorsaLayout::panelByWidth() {
    QFETCH(int, pixels);
    QFETCH(bool, wide);
    QFETCH(int, list);
    QFETCH(int, comment);
    QFETCH(int, font);
    QFETCH(int, valueWidth);
    Scena s;
    QVERIFY(s.Avvia(Programma(kNormale) + kCatalogo));
    s.frm->resize(pixels, s.frm->height());
    QTRY_VERIFY(s.frm->width() == pixels && s.Assestata());
    const int w = PixelsToTwipsX(pixels);
    const int panel = w - (wide ? 8500 : 7520);
    QCOMPARE(s.frm->Layout().gLarghezzaGriglia, panel);
    auto* lista = s.Trova<QListWidget>(QStringLiteral("lst_spesa"));
    QCOMPARE(lista->width(), Px(list));
    QCOMPARE(lista->x(), Px(panel + 120));
    QCOMPARE(s.Trova<QLineEdit>(QStringLiteral("txtCommento"))->width(), Px(comment));
    for (const char* name : {"lbl_totale", "lbl_resto", "box_Pagato", "box_Codice"}) {
        auto* c = s.frm->findChild<QWidget*>(QLatin1String(name));
        QVERIFY2(c, name);
        QCOMPARE(c->font().pointSize(), font);
        QCOMPARE(c->width(), Px(valueWidth));
        QVERIFY2(c->geometry().right() < s.frm->width(), name);
    }
    auto* pagamento = s.Trova<QFrame>(QStringLiteral("frm_gestione(2)"));
    QCOMPARE(pagamento->x(), Px(panel - 7750));
    // The buttons follow the new button area.
    QCOMPARE(s.frm->Layout().gLarghezzaBottone, (panel - 2080) / 2);
}

void TstFrmVorsaLayout::narrowedSnapsBack() {
    Scena s;
    QVERIFY(s.Avvia(Programma("MODE=0\r\nWIDTH=18000\r\n") + kCatalogo));
    QTRY_VERIFY(s.Assestata());
    QCOMPARE(s.frm->Layout().gLarghezzaGriglia, 18000 - 8500);
    s.frm->resize(600, 300);
    QTRY_VERIFY(s.frm->width() == Px(15380) && s.Assestata());
    QCOMPARE(s.frm->height(), Py(8290));
    QCOMPARE(s.frm->LayoutCorrente().larghezza, 15380);
    QCOMPARE(s.frm->Layout().gLarghezzaGriglia, 7860);
    QCOMPARE(s.frm->Layout().gLarghezzaBottone, 2890);
}

void TstFrmVorsaLayout::anchoredToBottom() {
    Scena s;
    // Ten rows of buttons: 9075 twips needed, more than the minimum.
    QVERIFY(s.Avvia(Programma(kNormale) + Sezioni(10, 10, 10)));
    QTRY_VERIFY(s.Assestata());
    QCOMPARE(s.frm->Layout().gAltezzaNecessaria, 9075);
    QCOMPARE(s.frm->height(), Py(9075));
    const int h = s.frm->LayoutCorrente().altezza;
    QCOMPARE(h, PixelsToTwipsY(Py(9075)));
    const int fromBottom[] = {0, 3750, 3270, 2790, 2310, 1770, 1350, 930};
    for (int n = 1; n <= 7; ++n) {
        QCOMPARE(s.frm->CmdAzione(n)->y(), Py(h - fromBottom[n]));
        QCOMPARE(s.frm->LblAzioneCode(n)->y(), Py(h - fromBottom[n]));
    }
    QCOMPARE(s.frm->BoxCodice()->y(), Py(h - 1360));
    for (int i = 0; i < 5; ++i) QCOMPARE(s.frm->ConfCode(i)->y(), Py(h - 1170));
    // The list takes the height left above the table and note row.
    auto* lista = s.frm->ListaSpesa();
    QCOMPARE(lista->y(), Py(120));
    QCOMPARE(lista->height(), Py(h - 4530));
    QVERIFY(lista->geometry().bottom() < s.frm->TxtCommento()->y());
    // The last row of buttons fits above the bottom.
    QVERIFY(s.frm->Bottone(2, 10)->geometry().bottom() < s.frm->height());
}

void TstFrmVorsaLayout::tallCatalogue() {
    Scena s;
    QVERIFY(s.Avvia(Programma(kNormale) + Sezioni(80, 80, 80)));
    // Capped at the screen, and the window moved up to make room.
    QTRY_VERIFY(s.Assestata() && s.frm->y() == 0);
    QCOMPARE(s.frm->Layout().gAltezzaNecessaria, 1080 * 15);
    QCOMPARE(s.frm->height(), 1080);
    QVERIFY(s.frm->Bottone(2, 80));
    QVERIFY(!s.frm->Bottone(2, 81));
}

void TstFrmVorsaLayout::maximised() {
    Scena s;
    QVERIFY(s.Avvia(Programma("MODE=2\r\nTOP=1500\r\n") + kCatalogo));
    QTRY_VERIFY(s.Assestata());
    QCOMPARE(s.frm->width(), 1920);
    QCOMPARE(s.frm->Layout().gLarghezzaGriglia, 1920 * 15 - 8500);
    // A maximised window keeps its height; the needed height stays the minimum.
    QCOMPARE(s.frm->height(), 1080);
    QCOMPARE(s.frm->Layout().gAltezzaNecessaria, 8290);
    QCOMPARE(s.frm->BoxCodice()->y(), Py(1080 * 15 - 1360));
}

QTEST_MAIN(TstFrmVorsaLayout)
#include "tst_frm_vorsa_layout.moc"
