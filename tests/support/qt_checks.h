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
#include <QtTest>
#include <algorithm>

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

/// What does not fit, one line per fault. A dialog: larger than the smallest screen the till
/// supports (1024 x 600, less a task bar of 40), or a visible caption narrower than its own
/// minimum (word-wrapped labels may be narrower when `wrappedLabelsMayWrap`). A panel: a named
/// widget outside the panel or its window, a caption longer than its widget (buttons leave
/// `margine` pixels to their frame), or two of its visible widgets overlapping.
inline QStringList Misfits(const QWidget& root, bool wrappedLabelsMayWrap = false,
                           int margine = 12) {
    QStringList faults;
    const bool dialog = root.isWindow();
    if (dialog && (root.width() > 1024 || root.frameGeometry().height() > 600 - 40))
        faults << QStringLiteral("%1: %2 x %3")
                      .arg(root.objectName())
                      .arg(root.width())
                      .arg(root.height());
    for (QWidget* w : root.findChildren<QWidget*>()) {
        if (!w->isVisible() || w->objectName().startsWith(QLatin1String("qt_"))) continue;
        const QWidget* finestra = root.window();
        if (!dialog && !w->objectName().isEmpty() &&
            (!root.rect().contains(QRect(w->mapTo(&root, QPoint()), w->size())) ||
             !finestra->rect().contains(QRect(w->mapTo(finestra, QPoint()), w->size()))))
            faults << w->objectName() + QStringLiteral(": outside");
        auto* l = qobject_cast<QLabel*>(w);
        auto* b = qobject_cast<QAbstractButton*>(w);
        if ((!l && !b) || (l && l->wordWrap() && (wrappedLabelsMayWrap || !dialog))) continue;
        int testo = 0;
        for (const QString& riga : (l ? l->text() : b->text()).split(QLatin1Char('\n')))
            testo = std::max(testo, w->fontMetrics().horizontalAdvance(riga));
        if (dialog ? w->width() < w->minimumSizeHint().width()
                   : testo + (b ? margine : 0) > w->width())
            faults << w->objectName() + QStringLiteral(": cut");
    }
    if (dialog) return faults;
    const QList<QWidget*> figli = root.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (int i = 0; i < figli.size(); ++i)
        for (int j = i + 1; j < figli.size(); ++j)
            if (figli[i]->isVisible() && figli[j]->isVisible() &&
                figli[i]->geometry().intersects(figli[j]->geometry()))
                faults << figli[i]->objectName() + QStringLiteral(" overlaps ") +
                              figli[j]->objectName();
    return faults;
}

/// Fails the test with every fault of `faults`.
#define VERIFY_NO_FAULTS(faults)                                                  \
    do {                                                                          \
        const QStringList faults_ = (faults);                                     \
        QVERIFY2(faults_.isEmpty(), qPrintable(faults_.join(QLatin1Char('\n')))); \
    } while (false)

/// Saves a picture of `w` as FOLDER/NAME.png when VORSA_SCREENSHOTS names a folder.
inline void SaveScreenshot(QWidget& w, const QString& name) {
    const QByteArray folder = qgetenv("VORSA_SCREENSHOTS");
    if (!folder.isEmpty())
        w.grab().save(QStringLiteral("%1/%2.png").arg(QString::fromLocal8Bit(folder), name));
}

}  // namespace vorsa::test
