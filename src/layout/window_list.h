#pragma once
// Window snapping rules on plain rectangles: which windows touch, which are glued to their
// parent, and where a moved or resized window lands near the edges of the work area and of the
// other managed windows. The window system side (ui/c_magnetic_wnd) feeds and applies them.
#include <cstdint>
#include <vector>

namespace vorsa::magnetic {

/// Screen rectangle with exclusive right and bottom edges: a 100-pixel-wide window at x 0 has
/// right 100, so adjacent windows share an edge value.
struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Larghezza() const { return right - left; }
    int Altezza() const { return bottom - top; }
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

/// Opaque window handle; 0 is none.
using Handle = std::uintptr_t;

struct WindowEntry {
    Handle hWnd = 0;
    Handle hWndParent = 0;
    bool glue = false;
};

/// The dragged edge of a resize.
enum Side : int {
    kSinistro = 1,
    kDestro = 2,
    kAlto = 3,
    kAltoSinistro = 4,
    kAltoDestro = 5,
    kBasso = 6,
    kBassoSinistro = 7,
    kBassoDestro = 8,
};

inline constexpr int kSnapIniziale = 10;

/// Their union is no larger than both side by side, and an edge of one lies on an edge of the
/// other.
bool Toccano(const WindowRect& a, const WindowRect& b);

/// Glue flags of `voci` (one rectangle each in `rett`, same order): a child touching its
/// parent is glued; then, once per entry, a sibling touching a glued sibling.
void CalcolaIncollati(std::vector<WindowEntry>& voci, const std::vector<WindowRect>& rett);

/// Entries glued to entry `i`: glued children of that window.
std::vector<bool> IncollateA(const std::vector<WindowEntry>& voci, std::size_t i);

/// Result of a move: the moving window's rectangle and the new rectangle of every entry
/// (glued windows follow the moving one; the others stay).
struct Displacement {
    WindowRect finestra;
    std::vector<WindowRect> rett;
};

/// Snaps the move of entry `mobile` to `proposto`. `rett` holds every entry's rectangle as
/// the move started; `area` is the work area; `d` the snap distance.
Displacement Sposta(const std::vector<WindowEntry>& voci, const std::vector<WindowRect>& rett,
                    const WindowRect& area, std::size_t mobile, const WindowRect& proposto, int d);

/// Snaps the dragged `lato` of `proposto` (entry `proprio` of `rett`) to the work area and the
/// other entries.
WindowRect Ridimensiona(const std::vector<WindowRect>& rett, const WindowRect& area,
                        std::size_t proprio, const WindowRect& proposto, int lato, int d);

/// The edge code of a resize from `prima` to `dopo`; 0 when the size did not change.
int LatoTrascinato(const WindowRect& prima, const WindowRect& dopo);

/// The managed windows of a cMagneticWnd, indexed in order of addition.
class WindowList {
  public:
    /// False for a null handle or a window already managed.
    bool Aggiungi(Handle hWnd, Handle hWndParent);
    /// Removes the entry and the parent references to it; true when the list was not empty.
    bool Rimuovi(Handle hWnd);
    /// Index of the entry, or -1.
    int Indice(Handle hWnd) const;
    const std::vector<WindowEntry>& voci() const { return voci_; }
    std::vector<WindowEntry>& voci() { return voci_; }

  private:
    std::vector<WindowEntry> voci_;
};

}  // namespace vorsa::magnetic
