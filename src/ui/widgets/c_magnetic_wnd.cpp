#include "ui/widgets/c_magnetic_wnd.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

namespace vorsa {

using magnetic::Handle;
using magnetic::WindowRect;

namespace {

Handle H(const QObject* w) {
    return reinterpret_cast<Handle>(w);
}

WindowRect DaQRect(const QRect& r) {
    return WindowRect{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

}  // namespace

cMagneticWnd::cMagneticWnd(QObject* parent) : QObject(parent) {}

cMagneticWnd::~cMagneticWnd() {
    for (const QPointer<QWidget>& w : finestre_)
        if (w) w->removeEventFilter(this);
}

bool cMagneticWnd::PiattaformaConsente() {
    const QString p = QGuiApplication::platformName();
    return !p.startsWith(QLatin1String("wayland")) && p != QLatin1String("eglfs") &&
           p != QLatin1String("linuxfb");
}

bool cMagneticWnd::AddWindow(QWidget* hWnd, QWidget* hWndParent) {
    if (!hWnd || !hWnd->isWindow() || (hWndParent && !hWndParent->isWindow())) return false;
    if (!elenco_.Aggiungi(H(hWnd), H(hWndParent))) return false;
    finestre_.emplace_back(hWnd);
    ultimi_.push_back(Rettangolo(*hWnd));
    hWnd->installEventFilter(this);
    connect(hWnd, &QObject::destroyed, this, &cMagneticWnd::Dimentica);
    CheckGlueing();
    return true;
}

bool cMagneticWnd::RemoveWindow(QWidget* hWnd) {
    const int i = elenco_.Indice(H(hWnd));
    if (i >= 0) {
        finestre_.erase(finestre_.begin() + i);
        ultimi_.erase(ultimi_.begin() + i);
        if (hWnd) {
            hWnd->removeEventFilter(this);
            disconnect(hWnd, nullptr, this, nullptr);
        }
    }
    return elenco_.Rimuovi(H(hWnd));
}

void cMagneticWnd::Dimentica(QObject* hWnd) {
    // The pointer is dangling here: only its value is compared.
    const int i = elenco_.Indice(H(hWnd));
    if (i < 0) return;
    finestre_.erase(finestre_.begin() + i);
    ultimi_.erase(ultimi_.begin() + i);
    elenco_.Rimuovi(H(hWnd));
}

void cMagneticWnd::CheckGlueing() {
    magnetic::CalcolaIncollati(elenco_.voci(), Rettangoli());
}

bool cMagneticWnd::Incollata(QWidget* hWnd) const {
    const int i = elenco_.Indice(H(hWnd));
    return i >= 0 && elenco_.voci()[static_cast<std::size_t>(i)].glue;
}

WindowRect cMagneticWnd::Rettangolo(const QWidget& w) const {
    if (w.isMaximized() && w.screen()) return DaQRect(w.screen()->availableGeometry());
    return DaQRect(w.frameGeometry());
}

std::vector<WindowRect> cMagneticWnd::Rettangoli() const {
    std::vector<WindowRect> out;
    out.reserve(finestre_.size());
    for (const QPointer<QWidget>& w : finestre_) out.push_back(w ? Rettangolo(*w) : WindowRect{});
    return out;
}

bool cMagneticWnd::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Move && event->type() != QEvent::Resize) return false;
    const int found = elenco_.Indice(H(watched));
    if (found < 0 || applicando_) return false;
    const auto i = static_cast<std::size_t>(found);
    QWidget& w = *finestre_[i];
    const WindowRect ora = Rettangolo(w);
    const WindowRect prima = ultimi_[i];
    if (ora == prima) return false;
    ultimi_[i] = ora;
    if (!PiattaformaConsente() || !w.isVisible() || !w.screen() ||
        (w.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
        return false;

    const WindowRect area = DaQRect(w.screen()->availableGeometry());
    // The other windows may have moved on their own since their last event.
    std::vector<WindowRect> rett = Rettangoli();
    rett[i] = prima;
    const int lato = magnetic::LatoTrascinato(prima, ora);
    if (lato == 0) {
        const magnetic::Displacement s =
            magnetic::Sposta(elenco_.voci(), rett, area, i, ora, snapWidth_);
        for (std::size_t j = 0; j < finestre_.size(); ++j)
            if (finestre_[j] && !(s.rett[j] == (j == i ? ora : rett[j])))
                Applica(*finestre_[j], j == i ? ora : rett[j], s.rett[j]);
    } else {
        rett[i] = ora;
        const WindowRect r = magnetic::Ridimensiona(rett, area, i, ora, lato, snapWidth_);
        if (!(r == ora)) Applica(w, ora, r);
    }
    CheckGlueing();
    return false;
}

void cMagneticWnd::Applica(QWidget& w, const WindowRect& da, const WindowRect& a) {
    // Frame and client differ by the decorations: shift the client by the frame's change.
    const QRect g = w.geometry();
    const QRect nuovo(g.x() + (a.left - da.left), g.y() + (a.top - da.top),
                      g.width() + (a.Larghezza() - da.Larghezza()),
                      g.height() + (a.Altezza() - da.Altezza()));
    applicando_ = true;
    if (nuovo.size() == g.size())
        w.move(w.pos() + (nuovo.topLeft() - g.topLeft()));
    else
        w.setGeometry(nuovo);
    applicando_ = false;
    const int j = elenco_.Indice(H(&w));
    if (j >= 0) ultimi_[static_cast<std::size_t>(j)] = a;
}

std::unique_ptr<cMagneticWnd> AttivaBordiMagnetici(QWidget& frm, const Options& opt) {
    if (!opt.gBordiMagnetici) return nullptr;
    auto m = std::make_unique<cMagneticWnd>();
    m->AddWindow(&frm);
    m->SetSnapWidth(opt.gSensibilita);
    return m;
}

}  // namespace vorsa
