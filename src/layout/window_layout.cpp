#include "layout/window_layout.h"

#include <algorithm>

namespace vorsa {

namespace {

struct Panel {
    int larghezza;  // from the panel's left edge to the window's right edge
    int lista;
    int commento;
    int fontPt;
    int valori;  // width of the totals, the amount box and the code box
};

constexpr Panel kStretto{7520, 7250, 4485, 26, 1755};
constexpr Panel kLargo{8500, 8200, 5465, 28, 2350};

// Offsets from the panel's left edge.
constexpr int kMargine = 120;
constexpr int kCodiceAzioneLeft = 120;
constexpr int kCodiceAzioneWidth = 420;
constexpr int kAzioneLeft = 600;
constexpr int kAzioneWidth = 2400;
constexpr int kAzioneHeight = 435;
constexpr int kInfoLeft = 3120;
constexpr int kInfoSize = 210;
constexpr int kInfoHeight = 315;
constexpr int kDidascaliaLeft = 3360;
constexpr int kCommentoLeft = 2675;

// Distances of the tops from the bottom edge.
constexpr std::array<int, 8> kAzioniDalFondo{0, 3750, 3270, 2790, 2310, 1770, 1350, 930};
constexpr int kRigaTavolo = 4290;
constexpr int kUltimo = 3750;
constexpr int kTotale = 3270;
constexpr int kPagato = 2640;
constexpr int kResto = 2010;
constexpr int kCodice = 1360;
constexpr int kConfCode = 1170;
constexpr int kStampa = 600;
constexpr int kAttesa = 450;
constexpr int kValoreHeight = 570;
constexpr int kCodiceHeight = 615;

/// The function keys with their key labels, and the waiting sales' line below them.
void PlaceActionKeys(WindowLayout& l, int x, int h) {
    for (int n = 1; n <= 7; ++n) {
        const int top = h - kAzioniDalFondo[static_cast<std::size_t>(n)];
        l.lblAzioniCode[static_cast<std::size_t>(n)] = {x + kCodiceAzioneLeft, top,
                                                        kCodiceAzioneWidth, kAzioneHeight};
        l.cmdAzioni[static_cast<std::size_t>(n)] = {x + kAzioneLeft, top, kAzioneWidth,
                                                    kAzioneHeight};
    }
    // Below F7, as wide as the function keys with their key labels.
    l.lblAttesa = {x + kCodiceAzioneLeft, h - kAttesa,
                   kAzioneLeft + kAzioneWidth - kCodiceAzioneLeft, kInfoHeight};
}

}  // namespace

WindowLayout CalcolaLayoutFinestra(int larghezza, int altezza) {
    WindowLayout l;
    l.larghezza = std::max(larghezza, kMinimoLarghezzaFinestra);
    l.altezza = std::max(altezza, kMinimoAltezzaFinestra);
    l.largo = l.larghezza > kSogliaPannelloLargo;
    const Panel& p = l.largo ? kLargo : kStretto;
    const int x = l.larghezza - p.larghezza;
    const int h = l.altezza;
    l.pannello = x;
    l.fontPt = p.fontPt;

    const int valoriLeft = x + p.larghezza - kMargine - p.valori;
    const int didascaliaWidth = valoriLeft - kMargine - (x + kDidascaliaLeft);
    const auto didascalia = [&](int fromBottom, int height) {
        return TwipsRect{x + kDidascaliaLeft, h - fromBottom, didascaliaWidth, height};
    };
    const auto valore = [&](int fromBottom, int height) {
        return TwipsRect{valoriLeft, h - fromBottom, p.valori, height};
    };
    const auto info = [&](int left, int fromBottom) {
        return TwipsRect{left, h - fromBottom, kInfoSize, kInfoHeight};
    };

    const int rigaTavolo = h - kRigaTavolo;
    l.lstSpesa = {x + kMargine, kMargine, p.lista, rigaTavolo - 2 * kMargine};
    l.lblTavolo = {x + kMargine, rigaTavolo + 30, 700, kInfoHeight};
    l.txtTavolo = {x + 840, rigaTavolo, 1050, 375};
    l.lblCommento = {x + 2015, rigaTavolo + 30, 600, kInfoHeight};
    l.txtCommento = {x + kCommentoLeft, rigaTavolo, p.commento, 375};
    l.info[4] = info(x + kCommentoLeft + p.commento + 30, kRigaTavolo - 30);

    PlaceActionKeys(l, x, h);
    l.lblUltimoCaption = didascalia(kUltimo, kAzioneHeight);
    l.lblUltimoScontrino = valore(kUltimo, kAzioneHeight);
    l.info[2] = info(x + kInfoLeft, kUltimo - 60);
    l.lblTotale = valore(kTotale, kValoreHeight);
    l.lblPagatoCaption = didascalia(kPagato, kValoreHeight);
    l.boxPagato = valore(kPagato, kValoreHeight);
    l.lblRestoCaption = didascalia(kResto, kValoreHeight);
    l.lblResto = valore(kResto, kValoreHeight);
    l.boxCodice = valore(kCodice, kCodiceHeight);
    l.confCode = didascalia(kConfCode, kAzioneHeight);
    l.info[3] = info(x + kInfoLeft, kConfCode - 60);
    // The switch's caption is long ("Stampa automatica NON ATTIVA"): it spans the values too.
    l.chkStampa = {x + kDidascaliaLeft, h - kStampa, valoriLeft + p.valori - (x + kDidascaliaLeft),
                   kInfoHeight};

    l.pagamento = {x - kDistanzaPagamento, kMargine, kDistanzaPagamento - kMargine,
                   h - 2 * kMargine};
    // Up to the right panel's edge: the grid's separator lines reach it.
    l.gestione = {kMargine, kMargine, x - kMargine, h - 2 * kMargine};
    return l;
}

WindowFit AdattaFinestra(int top, int altezzaNecessaria, int altezzaSchermo, bool statoNormale) {
    WindowFit a;
    a.spostaInAlto = static_cast<long long>(top) + altezzaNecessaria > altezzaSchermo;
    a.impostaAltezza = statoNormale;
    a.altezza = altezzaNecessaria;
    return a;
}

}  // namespace vorsa
