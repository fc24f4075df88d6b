#pragma once
// The printer as the layouts see it: a current font and a current position (X, Y) in twips
// over a PrintBackend. Printing a text ends the line; drawing a line moves the position to the
// line's end, as the page-oriented printers this layout comes from do.
#include <string>

#include "printing/print_backend.h"

namespace vorsa {

class PrintCursor {
  public:
    explicit PrintCursor(PrintBackend& backend) : backend_(backend) {}

    PrintBackend& Backend() { return backend_; }

    const PrintFont& Font() const { return font_; }
    void SetFontName(const std::string& name);
    void SetSize(int points);
    void SetBold(bool on);
    void SetItalic(bool on);
    void SetUnderline(bool on);

    int Width(const std::string& text) { return backend_.TextWidth(text); }
    int Height(const std::string& text) { return backend_.TextHeight(text); }
    /// Measured at another size, the current font left as it was.
    int WidthAt(int points, const std::string& text);
    int HeightAt(int points, const std::string& text);
    /// Height of "X" at a size: the height of one text row.
    int HeightX(int points) { return HeightAt(points, "X"); }

    /// Draws text at (X, Y); then X = 0 and Y grows by the line height.
    void Print(const std::string& text);
    /// A black line; the position moves to its end.
    void Line(int x1, int y1, int x2, int y2);

    int X = 0;
    int Y = 0;

  private:
    void Apply() { backend_.SetFont(font_); }
    PrintBackend& backend_;
    PrintFont font_;
};

}  // namespace vorsa
