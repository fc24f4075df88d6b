#pragma once
// Small widget helpers shared by the windows.
#include <QColor>
#include <QString>
#include <string>

#include "layout/twips_rect.h"

class QDialog;
class QLabel;
class QListWidget;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace vorsa {

/// Windows-1252 text of the core as a QString.
QString Testo(const std::string& cp1252);
/// A QString as Windows-1252 text for the core.
std::string Cp1252(const QString& text);

/// Windows-1252 text with CR LF line breaks as a QString with plain line breaks.
QString TestoRighe(const std::string& cp1252);

/// Places `w` at a rectangle in twips, converted through the screen's logical dpi. A negative
/// width or height (a layout with too little room) becomes 0.
void Colloca(QWidget& w, const TwipsRect& r);
void Colloca(QWidget& w, int left, int top, int width, int height);

/// The caption of an input (UTF-8 `text`), naming it for the keyboard and screen readers.
QLabel* Didascalia(const char* text, QWidget* buddy);

/// "name(index)", the object name of a control-array element.
QString Indicizzato(const char* name, int index);

/// 0xRRGGBB as a QColor.
QColor Colore(int rgb);

/// Paints the background of `w` in 0xRRGGBB; a negative colour restores the default look.
void ImpostaSfondo(QWidget& w, int rgb);

/// A field whose value the till accepts but that makes it hard to use: `avviso` (empty: none)
/// becomes the field's help text, shown at once beside it, and the field turns light yellow.
void SegnalaValore(QWidget& campo, const std::string& avviso);

/// 1..7 for the keys F1..F7, 0 for any other Qt key.
int NumeroF(int qtKey);
/// Text colour of `w` in 0xRRGGBB.
void ImpostaColoreTesto(QWidget& w, int rgb);

/// Removes the list's border.
void TogliBordoLista(QListWidget& list);

/// Button captions are plain text: '&' must not turn into a mnemonic.
QString SenzaMnemonico(const QString& caption);

/// A dialog's last row: cmd_Chiudi on the right, closing the dialog.
QPushButton* RigaChiudi(QDialog& dialog, QVBoxLayout& root);

}  // namespace vorsa
