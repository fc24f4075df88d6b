// The main window's layout on screen: the rules' twips land on the widgets as pixels, the layout
// follows resizes, controls are anchored to the bottom, the window's height and top.
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
            out += QByteArray::number(p) + "=Art" + QByteArray::number(p) + ";1;1;0;-1;1;-1;0\r\n";
    }
    return out;
}

}  // namespace

class TstFrmVorsaLayout : public QObject {
    Q_OBJECT
  private slots:
    void cellsAndSnapBack();
    void columnsFromSettings();
    void panelByWidth();
    void anchoredToBottom();
    void tallCatalogue();
    void maximised();
};

void TstFrmVorsaLayout::cellsAndSnapBack() {
    Scena s;
    QVERIFY(s.Avvia(Programma(kNormale) + Sezioni(5, 10, 4)));
    QTRY_VERIFY(s.Assestata());
    QCOMPARE(s.frm->height(), Py(8290));  // few articles: the minimum height
    // Code label positions in twips: first cell, second column, last of the drinks.
    const struct {
        const char* section;
        int position, x, y;
    } cells[] = {{"mangiare", 1, 120, 50}, {"mangiare", 2, 3990, 50}, {"bere", 10, 3990, 4015}};
    for (const auto& c : cells) {
        const QString id = QStringLiteral("%1(%2)").arg(QLatin1String(c.section)).arg(c.position);
        auto* code = s.Trova<QLabel>("lbl_" + QString(id).replace("(", "_code("));
        auto* price = s.Trova<QLabel>("lbl_" + QString(id).replace("(", "_prezzo("));
        auto* line = s.Trova<QFrame>("lin_" + id);
        auto* button = s.Trova<QPushButton>("cmd_" + id);
        QVERIFY2(code && price && line && button, qPrintable(id));
        QCOMPARE(s.InFinestra(*code), QPoint(Px(c.x), Py(c.y)));
        QCOMPARE(s.InFinestra(*price), QPoint(Px(c.x), Py(c.y + 240)));
        QCOMPARE(s.InFinestra(*line), QPoint(Px(c.x), Py(c.y + 495)));
        QCOMPARE(s.InFinestra(*button), QPoint(Px(c.x + 860), Py(c.y)));
        QCOMPARE(button->size(), QSize(Px(2890), Py(495)));
    }
    // Narrowed below the minimum: snaps back and lays out for the minimum.
    s.frm->resize(600, 300);
    QTRY_VERIFY(s.frm->width() == Px(15380) && s.Assestata());
    QCOMPARE(s.frm->height(), Py(8290));
    QCOMPARE(s.frm->Layout().gLarghezzaGriglia, 7860);
    QCOMPARE(s.frm->Layout().gLarghezzaBottone, 2890);
}

void TstFrmVorsaLayout::columnsFromSettings() {
    Scena s;
    QVERIFY(s.Avvia(Programma(kNormale + "BOTTONI-COLONNE=6\r\n") + Sezioni(6, 1, 1)));
    QTRY_VERIFY(s.Assestata());
    QCOMPARE(s.frm->Layout().gColonne, 5);  // six would be too narrow
    auto* first = Bottone(*s.frm, 0, 1);
    QCOMPARE(first->width(), Px(568));
    QCOMPARE(Bottone(*s.frm, 0, 5)->y(), first->y());
    QCOMPARE(Bottone(*s.frm, 0, 6)->x(), first->x());
    QVERIFY(Bottone(*s.frm, 0, 6)->y() > first->y());
}

void TstFrmVorsaLayout::panelByWidth() {
    // 1093 px are 16395 twips, 1094 px 16410: either side of 16400.
    const struct {
        int pixels;
        bool wide;
        int list, font, valueWidth;
    } cases[] = {{1093, false, 7250, 26, 1755}, {1094, true, 8200, 28, 2350}};
    for (const auto& c : cases) {
        Scena s;
        QVERIFY(s.Avvia(Programma(kNormale) + kCatalogo));
        s.frm->resize(c.pixels, s.frm->height());
        QTRY_VERIFY(s.frm->width() == c.pixels && s.Assestata());
        const int panel = PixelsToTwipsX(c.pixels) - (c.wide ? 8500 : 7520);
        QCOMPARE(s.frm->Layout().gLarghezzaGriglia, panel);
        QCOMPARE(s.frm->Layout().gLarghezzaBottone, (panel - 2080) / 2);
        QCOMPARE(ListaSpesa(*s.frm)->width(), Px(c.list));
        QCOMPARE(ListaSpesa(*s.frm)->x(), Px(panel + 120));
        for (QWidget* w :
             {static_cast<QWidget*>(LblTotale(*s.frm)), static_cast<QWidget*>(BoxCodice(*s.frm))}) {
            // The layout's size at most: a box smaller than its text takes a smaller font.
            QVERIFY(w->font().pointSize() <= c.font);
            QCOMPARE(w->width(), Px(c.valueWidth));
        }
        QCOMPARE(Gestione(*s.frm, 2)->x(), Px(panel - 7750));
    }
}

void TstFrmVorsaLayout::anchoredToBottom() {
    Scena s;
    // Ten rows of buttons: 9075 twips needed, more than the minimum.
    QVERIFY(s.Avvia(Programma(kNormale) + Sezioni(10, 10, 10)));
    QTRY_VERIFY(s.Assestata());
    QCOMPARE(s.frm->height(), Py(9075));
    const int h = s.frm->LayoutCorrente().altezza;
    const int fromBottom[] = {0, 3750, 3270, 2790, 2310, 1770, 1350, 930};
    for (int n = 1; n <= 7; ++n) {
        QCOMPARE(CmdAzione(*s.frm, n)->y(), Py(h - fromBottom[n]));
        QCOMPARE(LblAzioneCode(*s.frm, n)->y(), Py(h - fromBottom[n]));
    }
    QCOMPARE(BoxCodice(*s.frm)->y(), Py(h - 1360));
    for (int i = 0; i < 5; ++i) QCOMPARE(ConfCode(*s.frm, i)->y(), Py(h - 1170));
    QCOMPARE(ListaSpesa(*s.frm)->height(), Py(h - 4530));
    QVERIFY(Bottone(*s.frm, 2, 10)->geometry().bottom() < s.frm->height());
}

void TstFrmVorsaLayout::tallCatalogue() {
    Scena s;
    QVERIFY(s.Avvia(Programma(kNormale) + Sezioni(80, 80, 80)));
    // Capped at the screen, and the window moved up to make room.
    QTRY_VERIFY(s.Assestata() && s.frm->y() == 0);
    QCOMPARE(s.frm->height(), 1080);
    QVERIFY(Bottone(*s.frm, 2, 80));
    QVERIFY(!Bottone(*s.frm, 2, 81));
}

void TstFrmVorsaLayout::maximised() {
    Scena s;
    QVERIFY(s.Avvia(Programma("MODE=2\r\nTOP=1500\r\n") + kCatalogo));
    QTRY_VERIFY(s.Assestata());
    QCOMPARE(s.frm->Layout().gLarghezzaGriglia, 1920 * 15 - 8500);
    // A maximised window keeps its height; the needed height stays the minimum.
    QCOMPARE(s.frm->height(), 1080);
    QCOMPARE(s.frm->Layout().gAltezzaNecessaria, 8290);
    QCOMPARE(BoxCodice(*s.frm)->y(), Py(1080 * 15 - 1360));
}

QTEST_MAIN(TstFrmVorsaLayout)
#include "tst_frm_vorsa_layout.moc"
