#include "platform/qt/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace vorsa {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kFallbackDpi = 96.0;

const QScreen* Primary() {
    return QGuiApplication::instance() != nullptr ? QGuiApplication::primaryScreen() : nullptr;
}
}  // namespace

double LogicalDpiX() {
    const QScreen* s = Primary();
    return s != nullptr && s->logicalDotsPerInchX() > 0 ? s->logicalDotsPerInchX() : kFallbackDpi;
}

double LogicalDpiY() {
    const QScreen* s = Primary();
    return s != nullptr && s->logicalDotsPerInchY() > 0 ? s->logicalDotsPerInchY() : kFallbackDpi;
}

int TwipsToPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

int PixelsToTwips(int pixels, double dpi) {
    if (dpi <= 0) dpi = kFallbackDpi;
    return static_cast<int>(std::lround(pixels * kTwipsPerInch / dpi));
}

int TwipsToPixelsX(int twips) {
    return TwipsToPixels(twips, LogicalDpiX());
}
int TwipsToPixelsY(int twips) {
    return TwipsToPixels(twips, LogicalDpiY());
}
int PixelsToTwipsX(int pixels) {
    return PixelsToTwips(pixels, LogicalDpiX());
}
int PixelsToTwipsY(int pixels) {
    return PixelsToTwips(pixels, LogicalDpiY());
}

ScreenTwips PrimaryScreenTwips() {
    const QScreen* s = Primary();
    if (s == nullptr) return {};
    const QRect r = s->availableGeometry();
    return ScreenTwips{PixelsToTwipsX(r.width()), PixelsToTwipsY(r.height())};
}

}  // namespace vorsa
