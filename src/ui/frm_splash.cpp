#include "ui/frm_splash.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "platform/qt/twips.h"

namespace vorsa {

namespace {
constexpr int kWidth = 5235;
constexpr int kHeight = 735;
}  // namespace

FrmSplash::FrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frm_Splash"));
    const int w = TwipsToPixelsX(kWidth);
    const int h = TwipsToPixelsY(kHeight);
    setFixedSize(w, h);
    label_ = new QLabel(QStringLiteral("Caricamento in corso..."), this);
    label_->setObjectName(QStringLiteral("lbl_caricamento"));
    label_->setAlignment(Qt::AlignCenter);
    // The label covers the window, so its box is the window's border.
    label_->setFrameShape(QFrame::Box);
    label_->setGeometry(0, 0, w, h);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(w / 2, h / 2));
    }
}

}  // namespace vorsa
