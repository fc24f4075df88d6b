#include "ui/widgets/accessibility.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>
#include <limits>

namespace vorsa {

namespace {

/// Widgets whose accessible name Qt takes from a buddy label rather than from their own text.
bool SenzaDidascalia(const QWidget& w) {
    return qobject_cast<const QLineEdit*>(&w) || qobject_cast<const QComboBox*>(&w) ||
           qobject_cast<const QAbstractSpinBox*>(&w) ||
           qobject_cast<const QAbstractItemView*>(&w) || qobject_cast<const QTextEdit*>(&w) ||
           qobject_cast<const QPlainTextEdit*>(&w);
}

QList<QLabel*> Etichette(const QWidget& parent) {
    return parent.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
}

bool HaEtichetta(const QWidget& w) {
    const QWidget* parent = w.parentWidget();
    if (!parent) return false;
    for (const QLabel* l : Etichette(*parent))
        if (l->buddy() == &w) return true;
    return false;
}

/// A caption names what follows it and ends with a colon ("Tavolo:"); labels that show a value
/// ("0,00") or act as buttons ("i") do not.
bool Didascalia(const QLabel& l) {
    return !l.isHidden() && !l.buddy() && l.text().trimmed().endsWith(QLatin1Char(':'));
}

/// The caption label beside `w`: the nearest on its row to its left, else the nearest just
/// above it that overlaps it horizontally, as a form is read.
QLabel* EtichettaAccanto(const QWidget& w) {
    const QWidget* parent = w.parentWidget();
    if (!parent) return nullptr;
    const QRect r = w.geometry();
    if (r.isEmpty()) return nullptr;  // not laid out yet
    QLabel* left = nullptr;
    QLabel* above = nullptr;
    int leftDistance = std::numeric_limits<int>::max();
    int aboveDistance = std::numeric_limits<int>::max();
    for (QLabel* l : Etichette(*parent)) {
        if (!Didascalia(*l)) continue;
        const QRect g = l->geometry();
        if (g.right() < r.left() && g.top() <= r.center().y() && r.center().y() <= g.bottom()) {
            if (r.left() - g.right() < leftDistance) {
                left = l;
                leftDistance = r.left() - g.right();
            }
        } else if (g.bottom() < r.top() && g.left() <= r.right() && r.left() <= g.right() &&
                   r.top() - g.bottom() <= r.height()) {
            if (r.top() - g.bottom() < aboveDistance) {
                above = l;
                aboveDistance = r.top() - g.bottom();
            }
        }
    }
    return left ? left : above;
}

void Descrivi(QWidget& w) {
    const QString name = w.objectName();
    // Qt's own helpers (viewports, scroll bars) are no controls.
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) return;
    if (w.accessibleDescription() != name) w.setAccessibleDescription(name);
    if (!SenzaDidascalia(w) || HaEtichetta(w)) return;
    // The control name given by an earlier call yields to a label placed beside it since.
    const bool provvisorio = w.accessibleName() == name;
    if (!w.accessibleName().isEmpty() && !provvisorio) return;
    if (QLabel* l = EtichettaAccanto(w)) {
        w.setAccessibleName(QString());
        l->setBuddy(&w);
    } else if (!provvisorio) {
        w.setAccessibleName(name);
    }
}

}  // namespace

void RendiAccessibile(QWidget& root) {
    Descrivi(root);
    for (QWidget* w : root.findChildren<QWidget*>()) Descrivi(*w);
}

}  // namespace vorsa
