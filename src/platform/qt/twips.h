#pragma once
// Twips (1/1440 inch) are the unit of every stored position; widgets work in pixels of the
// screen's logical resolution.
#include "platform/system.h"

namespace vorsa {

/// Logical dots per inch of the primary screen (96 when there is no screen).
double LogicalDpiX();
double LogicalDpiY();

/// px = twips * dpi / 1440, rounded to the nearest pixel.
int TwipsToPixels(int twips, double dpi);
/// twips = px * 1440 / dpi, rounded to the nearest twip.
int PixelsToTwips(int pixels, double dpi);

/// Horizontal and vertical conversions at the primary screen's resolution.
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);

/// The primary screen's available geometry (without task bars) in twips.
ScreenTwips PrimaryScreenTwips();

}  // namespace vorsa
