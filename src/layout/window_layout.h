#pragma once
// The main window's arrangement for a given size: the minimum size, the right panel in its
// narrow or wide form, the controls kept at fixed distances from the panel's left edge and
// from the bottom, and the button area left of the panel. All measures in twips.
#include <array>

#include "layout/twips_rect.h"

namespace vorsa {

inline constexpr int kMinimoLarghezzaFinestra = 15380;
inline constexpr int kMinimoAltezzaFinestra = 8290;
/// Wider windows get the wide panel.
inline constexpr int kSogliaPannelloLargo = 16400;
/// The payment frame's left edge, measured from the panel's left edge.
inline constexpr int kDistanzaPagamento = 7750;
/// tmrResize: the buttons are laid out once the size has settled.
inline constexpr int kIntervalloResizeMs = 100;

struct WindowLayout {
    int larghezza = 0;  // raised to the minimum
    int altezza = 0;
    bool largo = false;
    int pannello = 0;  // left edge of the right panel, also the button area's width
    int fontPt = 26;   // lbl_totale, lbl_resto, box_Pagato, box_Codice

    TwipsRect lstSpesa;
    TwipsRect lblTavolo, txtTavolo, lblCommento, txtCommento;
    std::array<TwipsRect, 8> lblAzioniCode{}, cmdAzioni{};  // 1..7
    TwipsRect lblUltimoCaption, lblUltimoScontrino;
    /// Under the function keys: how many sales wait for the main till.
    TwipsRect lblAttesa;
    TwipsRect lblTotale;
    TwipsRect lblPagatoCaption, boxPagato;
    TwipsRect lblRestoCaption, lblResto;
    TwipsRect boxCodice;
    TwipsRect confCode;  // lbl_conf_code(0..4), all at one place
    TwipsRect chkStampa;
    std::array<TwipsRect, 10> info{};  // only the panel's: 2, 3, 4
    TwipsRect pagamento;               // frm_gestione(2)
    TwipsRect gestione;                // frm_gestione(0) and (1)
};

/// Layout for a window of `larghezza` x `altezza`.
WindowLayout CalcolaLayoutFinestra(int larghezza, int altezza);

/// What the resize timer does to the window once the buttons are laid out.
struct WindowFit {
    bool spostaInAlto = false;    // move the window to top 0
    bool impostaAltezza = false;  // only a window in normal state takes the needed height
    int altezza = 0;
};
WindowFit AdattaFinestra(int top, int altezzaNecessaria, int altezzaSchermo, bool statoNormale);

}  // namespace vorsa
