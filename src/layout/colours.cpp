#include "layout/colours.h"

#include <algorithm>
#include <cmath>

namespace vorsa {
namespace {

constexpr int kFacciaBottone = 0xF0F0F0;

double Luminanza(int rgb) {
    if (rgb < 0) rgb = kFacciaBottone;
    const auto canale = [](int c) {
        const double v = c / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * canale((rgb >> 16) & 0xFF) + 0.7152 * canale((rgb >> 8) & 0xFF) +
           0.0722 * canale(rgb & 0xFF);
}

int Mescola(int rgb, int verso, double t) {
    int out = 0;
    for (int shift : {16, 8, 0}) {
        const int a = (rgb >> shift) & 0xFF;
        const int b = (verso >> shift) & 0xFF;
        out |= static_cast<int>(std::lround(a + (b - a) * t)) << shift;
    }
    return out;
}

}  // namespace

double Contrasto(int a, int b) {
    const double la = Luminanza(a), lb = Luminanza(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int ColoreLeggibile(int testo, int sfondo, double minimo) {
    if (testo < 0) testo = 0;
    if (Contrasto(testo, sfondo) >= minimo) return testo;
    // Toward black on light backgrounds, toward white on dark ones: the side with more room.
    const int verso = Contrasto(0x000000, sfondo) >= Contrasto(0xFFFFFF, sfondo) ? 0 : 0xFFFFFF;
    for (int passo = 1; passo <= 20; ++passo) {
        const int c = Mescola(testo, verso, passo / 20.0);
        if (Contrasto(c, sfondo) >= minimo) return c;
    }
    return verso;
}

}  // namespace vorsa
