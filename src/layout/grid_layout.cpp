#include "layout/grid_layout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vorsa {

namespace {

using Wide = std::int64_t;

/// Options allow values up to the int limit: sums run in 64 bits and come back saturated.
int Saturate(Wide v) {
    return static_cast<int>(
        std::clamp<Wide>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

Wide FloorDiv(Wide a, Wide b) {
    const Wide q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

/// A value given in half twips, rounded half to even.
Wide HalfToEven(Wide twice) {
    const Wide lower = FloorDiv(twice, 2);
    if (twice % 2 == 0) return lower;
    return lower % 2 == 0 ? lower : lower + 1;
}

/// A position given in half twips, rounded half up (half a twip is far below a pixel).
int HalfUp(Wide twice) {
    return Saturate(FloorDiv(twice + 1, 2));
}

TwipsRect Rect(Wide left, Wide top, Wide width, Wide height) {
    return {Saturate(left), Saturate(top), Saturate(width), Saturate(height)};
}

}  // namespace

int LarghezzaBottone(int colonne, int larghezzaGriglia, int bordo) {
    const Wide c = std::max(colonne, 1);
    const Wide b = bordo;
    // G - ((1.5 B + L) c + B), kept in half twips so 1.5 B stays exact.
    const Wide twice = 2 * Wide{larghezzaGriglia} - ((3 * b + 2 * kColonnaEtichette) * c + 2 * b);
    return Saturate(HalfToEven(twice) / c);
}

Columns CalcolaColonne(int preferite, int larghezzaGriglia, int bordo) {
    int c = std::max(preferite, 1);
    int w = LarghezzaBottone(c, larghezzaGriglia, bordo);
    while (w < kLarghezzaMinimaBottone && c > 1) {
        --c;
        w = LarghezzaBottone(c, larghezzaGriglia, bordo);
    }
    return {c, w};
}

Grid DisponiGriglia(const GridParams& p) {
    Grid g;
    const Columns col = CalcolaColonne(p.colonne, p.larghezzaGriglia, p.bordo);
    g.colonne = col.colonne;
    g.larghezzaBottone = col.larghezza;

    const Wide c = g.colonne;
    const Wide w = g.larghezzaBottone;
    const Wide b = p.bordo;
    const Wide a = p.altezza;
    const Wide gap = p.interlinea;
    const Wide label = kColonnaEtichette;

    Wide top = 0;
    Wide y = 0;  // top of the last row laid out; an empty section keeps the previous one
    for (std::size_t s = 0; s < g.sezioni.size(); ++s) {
        GridSection& sez = g.sezioni[s];
        const int size = std::max(p.dimensioni[s], 0);
        sez.celle.reserve(static_cast<std::size_t>(size));
        for (Wide pos = 1; pos <= size; ++pos) {
            const Wide r = (pos - 1) / c;
            const Wide k = pos - r * c;
            // x = (0.5 B + L + w)(k - 1) + B k, in half twips.
            const Wide x2 = (b + 2 * label + 2 * w) * (k - 1) + 2 * b * k;
            y = top + a * r + gap * (r + 1);
            const Wide x = HalfUp(x2);
            GridCell cell;
            cell.riga = Saturate(r);
            cell.colonna = Saturate(k);
            cell.codice = Rect(x, y, label, kAltezzaEtichetta);
            cell.prezzo = Rect(x, y + kScostamentoPrezzo, label, kAltezzaEtichetta);
            cell.linea = Rect(x, y + a, label, 0);
            cell.bottone = Rect(HalfUp(x2 + 2 * label + b), y, w, a);
            sez.celle.push_back(cell);
        }
        const Wide separatore = y + a + 2 * gap;
        sez.separatore = Saturate(separatore);
        top = separatore + gap;
    }

    Wide needed = y + a + kMargineFondo;
    needed = std::max<Wide>(needed, p.altezzaMinima);
    if (p.altezzaSchermo > 0) needed = std::min<Wide>(needed, p.altezzaSchermo);
    g.altezzaNecessaria = Saturate(needed);
    return g;
}

}  // namespace vorsa
