#include "printing/print_backend.h"

namespace vorsa {

int PixelsToTwips(int pixels, int dpi) {
    if (dpi <= 0) return 0;
    const long long n = static_cast<long long>(pixels) * kTwipsPerInch;
    return static_cast<int>((n + (n >= 0 ? dpi / 2 : -dpi / 2)) / dpi);
}

int MicronsToPixels(int thousandthsMm, int dpi) {
    const long long n = static_cast<long long>(thousandthsMm) * dpi;
    return static_cast<int>((n + 12700) / 25400);
}

}  // namespace vorsa
