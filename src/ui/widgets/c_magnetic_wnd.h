#pragma once
// Snapping of managed top-level windows to the work area's edges and to each other, applied on
// their move and resize events. The rules are in layout/window_list.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "layout/window_list.h"
#include "settings/options.h"

namespace vorsa {

class cMagneticWnd final : public QObject {
    Q_OBJECT
  public:
    explicit cMagneticWnd(QObject* parent = nullptr);
    ~cMagneticWnd() override;

    /// False when `hWnd` is no live top-level window or is managed already, or when
    /// `hWndParent` is given but not a live top-level window.
    bool AddWindow(QWidget* hWnd, QWidget* hWndParent = nullptr);
    /// True when the list was not empty.
    bool RemoveWindow(QWidget* hWnd);
    void CheckGlueing();
    int SnapWidth() const { return snapWidth_; }
    void SetSnapWidth(int pixels) { snapWidth_ = pixels; }
    bool Incollata(QWidget* hWnd) const;

    /// False where the window system keeps window placement to itself (Wayland, and the
    /// single-window eglfs and linuxfb): there snapping does nothing.
    static bool PiattaformaConsente();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    magnetic::WindowRect Rettangolo(const QWidget& w) const;
    std::vector<magnetic::WindowRect> Rettangoli() const;
    void Applica(QWidget& w, const magnetic::WindowRect& da, const magnetic::WindowRect& a);
    void Dimentica(QObject* hWnd);

    magnetic::WindowList elenco_;
    std::vector<QPointer<QWidget>> finestre_;   // one per entry of elenco_
    std::vector<magnetic::WindowRect> ultimi_;  // last rectangle seen per entry
    int snapWidth_ = magnetic::kSnapIniziale;
    bool applicando_ = false;
};

/// The main window's snapping when `BORDI MAGNETICI` is on: null otherwise.
std::unique_ptr<cMagneticWnd> AttivaBordiMagnetici(QWidget& frm, const Options& opt);

}  // namespace vorsa
