#include "layout/window_list.h"

#include <algorithm>
#include <cstdlib>

namespace vorsa::magnetic {

bool Toccano(const WindowRect& a, const WindowRect& b) {
    const int w = std::max(a.right, b.right) - std::min(a.left, b.left);
    const int h = std::max(a.bottom, b.bottom) - std::min(a.top, b.top);
    if (w > a.Larghezza() + b.Larghezza() || h > a.Altezza() + b.Altezza()) return false;
    return a.left == b.left || a.left == b.right || a.right == b.left || a.right == b.right ||
           a.top == b.top || a.top == b.bottom || a.bottom == b.top || a.bottom == b.bottom;
}

namespace {

int IndiceDi(const std::vector<WindowEntry>& voci, Handle h) {
    for (std::size_t i = 0; i < voci.size(); ++i)
        if (voci[i].hWnd == h) return static_cast<int>(i);
    return -1;
}

/// One axis: the first pair of edges closer than `d` (p's low edge to r's low then high edge,
/// then p's high edge likewise) sets `delta`; otherwise it stays as it was.
void AgganciaAsse(int pLo, int pHi, int rLo, int rHi, int d, int& delta) {
    for (const int da : {pLo, pHi})
        for (const int a : {rLo, rHi})
            if (std::abs(da - a) < d) {
                delta = a - da;
                return;
            }
}

/// Horizontal and vertical corrections of `p` against `r`; each set only when a rule holds.
void Aggancia(const WindowRect& p, const WindowRect& r, int d, int& dx, int& dy) {
    if (p.top < r.bottom + d && p.bottom > r.top - d)
        AgganciaAsse(p.left, p.right, r.left, r.right, d, dx);
    if (p.left < r.right + d && p.right > r.left - d)
        AgganciaAsse(p.top, p.bottom, r.top, r.bottom, d, dy);
}

WindowRect Trasla(WindowRect r, int dx, int dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
    return r;
}

/// Moves `out` onto the first edge within `d` of `v`; leaves it alone otherwise, so an
/// earlier rectangle's snap stands.
void Bordo(int v, int primo, int secondo, int d, int& out) {
    if (std::abs(v - primo) < d)
        out = primo;
    else if (std::abs(v - secondo) < d)
        out = secondo;
}

}  // namespace

void CalcolaIncollati(std::vector<WindowEntry>& voci, const std::vector<WindowRect>& rett) {
    for (WindowEntry& v : voci) v.glue = false;
    for (std::size_t i = 0; i < voci.size(); ++i) {
        const int p = IndiceDi(voci, voci[i].hWndParent);
        if (voci[i].hWndParent != 0 && p >= 0 &&
            Toccano(rett[i], rett[static_cast<std::size_t>(p)]))
            voci[i].glue = true;
    }
    for (std::size_t round = 0; round < voci.size(); ++round)
        for (std::size_t i = 0; i < voci.size(); ++i) {
            if (voci[i].glue || voci[i].hWndParent == 0) continue;
            for (std::size_t g = 0; g < voci.size(); ++g)
                if (g != i && voci[g].glue && voci[g].hWndParent == voci[i].hWndParent &&
                    Toccano(rett[i], rett[g])) {
                    voci[i].glue = true;
                    break;
                }
        }
}

std::vector<bool> IncollateA(const std::vector<WindowEntry>& voci, std::size_t i) {
    std::vector<bool> out(voci.size(), false);
    for (std::size_t j = 0; j < voci.size(); ++j)
        out[j] = j != i && voci[j].glue && voci[j].hWndParent == voci[i].hWnd;
    return out;
}

Displacement Sposta(const std::vector<WindowEntry>& voci, const std::vector<WindowRect>& rett,
                    const WindowRect& area, std::size_t mobile, const WindowRect& proposto, int d) {
    const std::vector<bool> incollate = IncollateA(voci, mobile);
    const auto altra = [&](std::size_t j) { return j != mobile && !incollate[j]; };
    int dx = 0;
    int dy = 0;
    Aggancia(proposto, area, d, dx, dy);
    for (std::size_t j = 0; j < rett.size(); ++j)
        if (altra(j)) Aggancia(proposto, rett[j], d, dx, dy);
    // A glued window that comes near an edge pulls the whole group onto it.
    const int mx = proposto.left - rett[mobile].left;
    const int my = proposto.top - rett[mobile].top;
    for (std::size_t g = 0; g < rett.size(); ++g) {
        if (!incollate[g]) continue;
        const WindowRect seguita = Trasla(rett[g], mx, my);
        Aggancia(seguita, area, d, dx, dy);
        for (std::size_t j = 0; j < rett.size(); ++j)
            if (altra(j)) Aggancia(seguita, rett[j], d, dx, dy);
    }
    Displacement s{Trasla(proposto, dx, dy), rett};
    s.rett[mobile] = s.finestra;
    for (std::size_t g = 0; g < rett.size(); ++g)
        if (incollate[g]) s.rett[g] = Trasla(rett[g], mx + dx, my + dy);
    return s;
}

WindowRect Ridimensiona(const std::vector<WindowRect>& rett, const WindowRect& area,
                        std::size_t proprio, const WindowRect& proposto, int lato, int d) {
    const bool sinistro = lato == kSinistro || lato == kAltoSinistro || lato == kBassoSinistro;
    const bool destro = lato == kDestro || lato == kAltoDestro || lato == kBassoDestro;
    const bool alto = lato == kAlto || lato == kAltoSinistro || lato == kAltoDestro;
    const bool basso = lato == kBasso || lato == kBassoSinistro || lato == kBassoDestro;
    WindowRect out = proposto;
    const auto contro = [&](const WindowRect& r) {
        const WindowRect& p = proposto;
        if (p.top < r.bottom + d && p.bottom > r.top - d) {
            if (sinistro) Bordo(p.left, r.left, r.right, d, out.left);
            if (destro) Bordo(p.right, r.left, r.right, d, out.right);
        }
        if (p.left < r.right + d && p.right > r.left - d) {
            if (alto) Bordo(p.top, r.top, r.bottom, d, out.top);
            if (basso) Bordo(p.bottom, r.top, r.bottom, d, out.bottom);
        }
    };
    contro(area);
    for (std::size_t j = 0; j < rett.size(); ++j)
        if (j != proprio) contro(rett[j]);
    return out;
}

int LatoTrascinato(const WindowRect& prima, const WindowRect& dopo) {
    if (prima.Larghezza() == dopo.Larghezza() && prima.Altezza() == dopo.Altezza()) return 0;
    const bool l = dopo.left != prima.left && dopo.right == prima.right;
    const bool r = dopo.right != prima.right && dopo.left == prima.left;
    const bool t = dopo.top != prima.top && dopo.bottom == prima.bottom;
    const bool b = dopo.bottom != prima.bottom && dopo.top == prima.top;
    if (t && l) return kAltoSinistro;
    if (t && r) return kAltoDestro;
    if (b && l) return kBassoSinistro;
    if (b && r) return kBassoDestro;
    if (l) return kSinistro;
    if (r) return kDestro;
    if (t) return kAlto;
    if (b) return kBasso;
    return 0;
}

bool WindowList::Aggiungi(Handle hWnd, Handle hWndParent) {
    if (hWnd == 0 || Indice(hWnd) >= 0) return false;
    voci_.push_back(WindowEntry{hWnd, hWndParent, false});
    return true;
}

bool WindowList::Rimuovi(Handle hWnd) {
    if (voci_.empty()) return false;
    const int i = Indice(hWnd);
    if (i >= 0) voci_.erase(voci_.begin() + i);
    for (WindowEntry& v : voci_)
        if (v.hWndParent == hWnd) v.hWndParent = 0;
    return true;
}

int WindowList::Indice(Handle hWnd) const {
    return IndiceDi(voci_, hWnd);
}

}  // namespace vorsa::magnetic
