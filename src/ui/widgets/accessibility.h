#pragma once
// Makes a window's controls reachable through the desktop's accessibility interface (AT-SPI on
// Linux), as screen readers and GUI test tools find them.
class QWidget;

namespace vorsa {

/// Gives `root` and every named widget below it its control name (the objectName, "name(i)"
/// for arrays) as accessible description. An input with no caption and no buddy label gets the
/// caption label beside it (text ending in ':', to its left on the same row, else just above
/// it) as buddy, so its name follows that label's text; with no such label its name is its
/// control name. Captions and label texts are left to Qt, which exposes them as names. Call it
/// after the controls are placed, and again after controls were added.
void RendiAccessibile(QWidget& root);

}  // namespace vorsa
