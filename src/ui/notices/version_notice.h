#pragma once
// The start-up notice of a newer release, shown when the check answers, never before the
// main window and never blocking it.
#include <QWidget>

#include "update/controlla_versione.h"

namespace vorsa {

/// Starts `check`; a newer version opens the information box "Nuova versione programma" over
/// `parent` (window-modal, the event loop keeps running). `parent` may go away first.
void AvviaControlloVersione(ControllaVersione& check, QWidget* parent);

}  // namespace vorsa
