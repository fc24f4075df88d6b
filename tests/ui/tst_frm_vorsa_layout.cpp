// The main window's layout on screen: the rules' twips land on the widgets as pixels, the
// layout follows resizes, controls are anchored to the bottom, the window's height and top;
// moved or resized near the work area's edges, the window snaps to them.
#include <QDebug>
#include <QScreen>

#include "frm_vorsa_scene.h"
#include "support/qt_checks.h"
#include "ui/widgets/c_magnetic_wnd.h"

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

/// Every control the window rules place lies where their twips say, in pixels; one line per
/// control out of place. The twips themselves are the window rules' core tests.
QStringList FuoriPosto(const Scena& s) {
    const WindowLayout& l = s.frm->LayoutCorrente();
    QList<std::pair<QString, TwipsRect>> posti = {
        {QStringLiteral("lst_spesa"), l.lstSpesa},
        {QStringLiteral("txtTavolo"), l.txtTavolo},
        {QStringLiteral("lbl_totale"), l.lblTotale},
        {QStringLiteral("box_Pagato"), l.boxPagato},
        {QStringLiteral("lbl_resto"), l.lblResto},
        {QStringLiteral("box_Codice"), l.boxCodice},
        {Nome("frm_gestione", 0), l.gestione},
        {Nome("frm_gestione", 2), l.pagamento},
        {Nome("lblUltimoScontrino", 0), l.lblUltimoScontrino},
    };
    for (int i = 0; i < 5; ++i) posti.push_back({Nome("lbl_conf_code", i), l.confCode});
    for (int n = 1; n <= 7; ++n) posti.push_back({Nome("lbl_azioni_code", n), l.lblAzioniCode[n]});
    QStringList faults;
    for (const auto& [name, r] : posti) {
        const QWidget* w = s.frm->findChild<QWidget*>(name);
        const QRect atteso(Px(r.left), Py(r.top), std::max(Px(r.width), 0),
                           std::max(Py(r.height), 0));
        if (!w)
            faults << name + QStringLiteral(": missing");
        else if (QRect(s.InFinestra(*w), w->size()) != atteso)
            faults << name + " at " + QDebug::toString(QRect(s.InFinestra(*w), w->size()));
    }
    return faults;
}

/// The window's frame settled at `x`, `y` after its move events ran.
bool Vale(const QWidget& w, int x, int y) {
    QTest::qWait(50);
    return w.frameGeometry().topLeft() == QPoint(x, y);
}

}  // namespace

class TstFrmVorsaLayout : public QObject {
    Q_OBJECT
  private slots:
    void fewArticlesAndSnapBack() {
        Scena s;
        QVERIFY(s.Avvia(kLetto + kNormale + Sezioni(5, 10, 4)));
        QTRY_VERIFY(s.Assestata());
        QCOMPARE(s.frm->height(), Py(8290));  // few articles: the minimum height
        // Narrowed below the minimum: snaps back and lays out for the minimum.
        s.frm->resize(600, 300);
        QTRY_VERIFY(s.frm->width() == Px(15380) && s.Assestata());
        QCOMPARE(s.frm->height(), Py(8290));
    }

    void panelByWidth() {
        // 1093 px are 16395 twips, 1094 px 16410: either side of the wide panel's threshold.
        for (int pixels : {1093, 1094}) {
            Scena s;
            QVERIFY(s.Avvia(kLetto + kNormale + kCatalogo));
            s.frm->resize(pixels, s.frm->height());
            QTRY_VERIFY(s.frm->width() == pixels && s.Assestata());
            QCOMPARE(s.frm->LayoutCorrente().largo, pixels == 1094);
            QCOMPARE(s.frm->Layout().gLarghezzaGriglia, s.frm->LayoutCorrente().pannello);
            VERIFY_NO_FAULTS(FuoriPosto(s));
        }
    }

    void tallCatalogue() {
        Scena s;
        QVERIFY(s.Avvia(kLetto + kNormale + Sezioni(80, 80, 80)));
        // Capped at the screen, and the window moved up to make room.
        QTRY_VERIFY(s.Assestata() && s.frm->y() == 0);
        QCOMPARE(s.frm->height(), 1080);
        QVERIFY(Bottone(*s.frm, 2, 80));
        QVERIFY(!Bottone(*s.frm, 2, 81));
    }

    void maximised() {
        Scena s;
        QVERIFY(s.Avvia(kLetto + "MODE=2\r\nTOP=1500\r\n" + kCatalogo));
        QTRY_VERIFY(s.Assestata());
        QCOMPARE(s.frm->Layout().gLarghezzaGriglia, 1920 * 15 - 8500);
        // A maximised window keeps its height; the needed height stays the minimum.
        QCOMPARE(s.frm->height(), 1080);
        VERIFY_NO_FAULTS(FuoriPosto(s));
    }

    void movedOrResizedTheWindowSnapsToTheWorkArea() {
        if (!cMagneticWnd::PiattaformaConsente())
            QSKIP("this window system does not let the till place its window");
        // The distances themselves are the snapping rules' core tests; here the window obeys
        // the options as start-up read them.
        Scena s;
        QVERIFY(s.Avvia(
            kLetto + "MODE=0\r\nTOP=3000\r\nLEFT=3000\r\nWIDTH=15380\r\n" +
            "BORDI MAGNETICI=Si\r\nBORDI MAGNETICI SENSIBILITA=20\r\n"));  // away from the edges
        const std::unique_ptr<cMagneticWnd> m = AttivaBordiMagnetici(*s.frm, s.fx.till().opt);
        QVERIFY(m && m->SnapWidth() == 20);
        QTRY_VERIFY(s.Assestata());
        const QPoint origine = s.frm->screen()->availableGeometry().topLeft();
        s.frm->move(origine + QPoint(-9, 7));  // near the corner
        QTRY_VERIFY(Vale(*s.frm, origine.x(), origine.y()));
        // The left edge dragged near the work area's lands there; the right edge stays.
        s.frm->move(origine + QPoint(200, 100));
        QTRY_VERIFY(Vale(*s.frm, origine.x() + 200, origine.y() + 100));
        const QRect g = s.frm->geometry();
        s.frm->setGeometry(origine.x() + 14, g.y(), g.right() - (origine.x() + 14) + 1, g.height());
        QTRY_COMPARE(s.frm->geometry().left(), origine.x());
        QCOMPARE(s.frm->geometry().right(), g.right());
    }

    void theSameWindowIsAddedOnceAndForgottenWhenGone() {
        QWidget a;
        QWidget b;
        QWidget figlio(&a);
        cMagneticWnd m;
        // Duplicates and the empty list: the snapping rules' core tests.
        QVERIFY(m.AddWindow(&a));
        QVERIFY(!m.AddWindow(nullptr));
        QVERIFY(!m.AddWindow(&figlio));      // not a window of its own
        QVERIFY(!m.AddWindow(&b, &figlio));  // a parent must be a window too
        QVERIFY(m.AddWindow(&b, &a));
        QVERIFY(m.RemoveWindow(&a));
        QVERIFY(m.RemoveWindow(&b));
        // A managed window that goes away is forgotten, not moved later.
        auto c = std::make_unique<QWidget>();
        QVERIFY(m.AddWindow(c.get()));
        c.reset();
        auto d = std::make_unique<QWidget>();  // may even reuse the old address
        QVERIFY(m.AddWindow(d.get()));
        QVERIFY(m.RemoveWindow(d.get()));
        QVERIFY(!m.RemoveWindow(d.get()));  // empty: the destroyed one was dropped
    }
};

QTEST_MAIN(TstFrmVorsaLayout)
#include "tst_frm_vorsa_layout.moc"
