#pragma once
// A started till with its loaded main window, for the main window's tests.
#include <QFrame>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <memory>

#include "platform/qt/twips.h"
#include "test_support.h"
#include "ui/frm_vorsa.h"

namespace vorsa::test {

// Catalogue in Windows-1252: a plain article, a variable price, a finished one, one below its
// threshold, an inactive one, an empty position and an accented name.
inline const QByteArray kCatalogo =
    "[MANGIARE]\r\n"
    "DIMENSIONE=5\r\n"
    "1=Panino;2,5;1;0;-1;1;-1;0\r\n"
    "2=Bibita;-1\r\n"
    "3=Patatine;3;1;0;0;1;-1;0\r\n"
    "4=Salsiccia;4;1;0;5;1;-1;10\r\n"
    "5=Vino;3;0;0;-1;1;-1;0\r\n"
    "[BERE]\r\n"
    "DIMENSIONE=2\r\n"
    "1=Acqua;1;1;0;-1;2;-1;0\r\n"
    "[VARIE]\r\n"
    "1=Caff\xE8;1,2;1;0;-1;3;-1;0\r\n";

// The version the tests run as has seen its readme already.
inline const QByteArray kLetto = "[PROGRAMMA]\r\nEULA=100\r\n";

/// The one [PROGRAMMA] section with the readme seen and `keys` added.
inline QByteArray Programma(const QByteArray& keys) {
    return kLetto + keys;
}

inline int Px(int twips) {
    return TwipsToPixelsX(twips);
}
inline int Py(int twips) {
    return TwipsToPixelsY(twips);
}

/// A started till and its loaded main window; the window goes first.
struct Scena {
    TillFixture fx;
    RecordingMessaggi messaggi;
    std::unique_ptr<FrmVorsa> frm;

    bool Avvia(const QByteArray& ini, const std::function<void(Till&)>& prima = {}) {
        if (!fx.Valid() || !fx.Write(QStringLiteral("Vorsa.ini"), ini)) return false;
        fx.Start();
        if (prima) prima(fx.till());
        frm = std::make_unique<FrmVorsa>(fx.till(), &messaggi);
        frm->Load();
        frm->show();
        return QTest::qWaitForWindowExposed(frm.get()) || frm->isMinimized();
    }
    template <class W>
    W* Trova(const QString& name) const {
        return frm->findChild<W*>(name);
    }
    /// The window's size has settled and the buttons are laid out for it.
    bool Assestata() const {
        if (frm->TmrResize()->isActive()) return false;
        if (frm->isMaximized() && frm->width() != 1920) return false;
        const LayoutFinestra& l = frm->LayoutCorrente();
        return l.larghezza == std::max(PixelsToTwipsX(frm->width()), kMinimoLarghezzaFinestra) &&
               l.altezza == std::max(PixelsToTwipsY(frm->height()), kMinimoAltezzaFinestra);
    }
    /// Top-left of a control in the window's coordinates.
    QPoint InFinestra(const QWidget& w) const { return w.mapTo(frm.get(), QPoint(0, 0)); }
};

}  // namespace vorsa::test
