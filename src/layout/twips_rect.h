#pragma once
// A rectangle in twips, the unit of every design measure of the windows.
namespace vorsa {

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

}  // namespace vorsa
