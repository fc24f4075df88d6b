#pragma once
// Code 39 barcodes drawn into the off-screen barcode picture.
#include <string>
#include <string_view>

#include "printing/print_backend.h"

namespace vorsa {

/// Design height of the off-screen picture in its pixels, and the twips of one of its pixels
/// (a 96 dpi picture): the unit is 1 pixel, so "7" is 40 pixels = 600 twips wide.
inline constexpr int kAltezzaBarcode = 40;
inline constexpr int kTwipsPixelBarcode = 15;

/// The pattern of a character: "1" narrow bar, "2" wide bar, a blank a wide space after the
/// bar before it: '0' -> "11 221", '$' -> "1 1 1 11"; start/stop ('*', codes 1 and 2)
/// -> "1 1221". Empty for characters outside the set and codes above 90.
std::string_view PatternCode39(unsigned char c);

/// Draws text (upper-cased, between start and stop marks) into a picture `heightPx` high:
/// unit = height / 40 rounded, at least 1; every bar is preceded by one white unit, wide
/// elements are two units; one white unit closes it. An empty text gives an empty picture.
BarcodePicture DrawCode39(std::string_view text, int heightPx = kAltezzaBarcode);

/// Printed width of the picture in twips.
inline int LarghezzaBarcode(const BarcodePicture& p) {
    return p.widthPx * kTwipsPixelBarcode;
}

}  // namespace vorsa
