#include "printing/print_cursor.h"

namespace vorsa {

void PrintCursor::SetFontName(const std::string& name) {
    font_.name = name;
    Apply();
}

void PrintCursor::SetSize(int points) {
    font_.size = points;
    Apply();
}

void PrintCursor::SetBold(bool on) {
    font_.bold = on;
    Apply();
}

void PrintCursor::SetItalic(bool on) {
    font_.italic = on;
    Apply();
}

void PrintCursor::SetUnderline(bool on) {
    font_.underline = on;
    Apply();
}

int PrintCursor::WidthAt(int points, const std::string& text) {
    if (points == font_.size) return Width(text);
    const int keep = font_.size;
    SetSize(points);
    const int w = Width(text);
    SetSize(keep);
    return w;
}

int PrintCursor::HeightAt(int points, const std::string& text) {
    if (points == font_.size) return Height(text);
    const int keep = font_.size;
    SetSize(points);
    const int h = Height(text);
    SetSize(keep);
    return h;
}

void PrintCursor::Print(const std::string& text) {
    backend_.DrawText(X, Y, text);
    X = 0;
    Y += Height(text.empty() ? std::string("X") : text);
}

void PrintCursor::Line(int x1, int y1, int x2, int y2) {
    backend_.DrawLine(x1, y1, x2, y2);
    X = x2;
    Y = y2;
}

}  // namespace vorsa
