#pragma once
// Arrangement of the product buttons of the three sections: how many columns fit the button
// area, how wide a button is, where each cell goes and how tall the window needs to be.
// All measures in twips.
#include <array>
#include <vector>

#include "layout/twips_rect.h"

namespace vorsa {

/// Width of the code and price labels left of each button.
inline constexpr int kColonnaEtichette = 800;
/// Narrower buttons make the grid drop a column.
inline constexpr int kLarghezzaMinimaBottone = 501;
/// The price label sits this far below the code label.
inline constexpr int kScostamentoPrezzo = 240;
inline constexpr int kAltezzaEtichetta = 240;
/// Room below the last row.
inline constexpr int kMargineFondo = 600;
/// Button area before the window first lays itself out.
inline constexpr int kLarghezzaGrigliaIniziale = 15380;

struct GridParams {
    int colonne = 2;      // preferred columns
    int altezza = 495;    // button height
    int bordo = 120;      // B
    int interlinea = 50;  // gap between rows
    int larghezzaGriglia = kLarghezzaGrigliaIniziale;
    std::array<int, 3> dimensioni{};  // positions of each section
    int altezzaSchermo = 0;           // caps the needed height
    int altezzaMinima = 8290;         // the window's minimum height
};

/// One product cell: code label, price label, the short line under the labels, the button.
struct GridCell {
    int riga = 0;     // 0-based
    int colonna = 1;  // 1-based
    TwipsRect codice;
    TwipsRect prezzo;
    TwipsRect linea;  // height 0: a horizontal line
    TwipsRect bottone;
};

struct GridSection {
    std::vector<GridCell> celle;  // index position - 1
    int separatore = 0;           // top of the line closing the section
};

struct Grid {
    int colonne = 1;
    int larghezzaBottone = 0;  // may be below the minimum, even negative, with one column
    int altezzaNecessaria = 0;
    std::array<GridSection, 3> sezioni;
};

/// Columns and button width: the preferred columns, one fewer while a button would be
/// narrower than kLarghezzaMinimaBottone, never fewer than one.
struct Columns {
    int colonne = 1;
    int larghezza = 0;
};
Columns CalcolaColonne(int preferite, int larghezzaGriglia, int bordo);

/// Button width for `colonne` columns: the numerator rounded half to even, then divided with
/// truncation, as the layout always did.
int LarghezzaBottone(int colonne, int larghezzaGriglia, int bordo);

/// Every cell of the three sections, the separators and the needed window height.
Grid DisponiGriglia(const GridParams& p);

}  // namespace vorsa
