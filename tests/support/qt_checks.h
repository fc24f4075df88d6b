#pragma once
// Checks every window and dialog of the till must pass, for the widget tests (Qt only).
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>

namespace vorsa::test {

/// What an operator acts on or reads a value from; a label is not one.
inline bool IsControl(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w);
}

/// Qt's own parts of a control (a combo box's list, a spin box's editor) are not controls.
inline bool InsideControl(const QWidget* w, const QWidget* root) {
    for (const QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget())
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p))
            return true;
    return false;
}

/// Every control under `root`, shown or hidden, has its objectName and an accessible name; every
/// named widget carries its objectName as accessible description (what AT-SPI reads); no two
/// widgets share a name. Returns one line per fault, empty when all is well.
inline QStringList UnnamedControls(QWidget& root) {
    QStringList faults;
    QStringList seen;
    QList<QWidget*> widgets = root.findChildren<QWidget*>();
    widgets.prepend(&root);
    for (QWidget* w : widgets) {
        const QString name = w->objectName();
        if (name.startsWith(QLatin1String("qt_")) || InsideControl(w, &root)) continue;
        const bool control = IsControl(w);
        if (name.isEmpty()) {
            if (control)
                faults << QStringLiteral("a %1 without objectName, under %2")
                              .arg(QLatin1String(w->metaObject()->className()),
                                   w->parentWidget() ? w->parentWidget()->objectName() : QString());
            continue;
        }
        if (seen.contains(name)) faults << name + QStringLiteral(": two widgets of this name");
        seen << name;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (!a) {
            faults << name + QStringLiteral(": no accessible interface");
            continue;
        }
        if (a->text(QAccessible::Description) != name)
            faults << name + QStringLiteral(": description '%1'")
                                 .arg(a->text(QAccessible::Description));
        // A button without a caption says nothing (an empty grid position, an unused key).
        const auto* button = qobject_cast<const QAbstractButton*>(w);
        const bool mute = button && button->text().isEmpty();
        if (control && !mute && a->text(QAccessible::Name).isEmpty())
            faults << name + QStringLiteral(": no accessible name");
    }
    return faults;
}

/// A dialog fits the smallest screen the till supports (1024 x 600, less a task bar of 40),
/// and every visible caption is whole. Word-wrapped labels may be narrower than one line when
/// `wrappedLabelsMayWrap`. Returns one line per fault.
inline QStringList SmallestScreenMisfits(const QWidget& dlg, bool wrappedLabelsMayWrap = false) {
    QStringList faults;
    if (dlg.width() > 1024 || dlg.frameGeometry().height() > 600 - 40)
        faults << QStringLiteral("%1: %2 x %3")
                      .arg(dlg.objectName())
                      .arg(dlg.width())
                      .arg(dlg.height());
    for (QWidget* w : dlg.findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        auto* l = qobject_cast<QLabel*>(w);
        if (!l && !qobject_cast<QAbstractButton*>(w)) continue;
        if (l && l->wordWrap() && wrappedLabelsMayWrap) continue;
        if (w->width() < w->minimumSizeHint().width())
            faults << w->objectName() + QStringLiteral(": cut");
    }
    return faults;
}

/// Saves a picture of `w` as FOLDER/NAME.png when VORSA_SCREENSHOTS names a folder.
inline void SaveScreenshot(QWidget& w, const QString& name) {
    const QByteArray folder = qgetenv("VORSA_SCREENSHOTS");
    if (!folder.isEmpty())
        w.grab().save(QStringLiteral("%1/%2.png").arg(QString::fromLocal8Bit(folder), name));
}

}  // namespace vorsa::test
