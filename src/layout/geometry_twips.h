#pragma once
// A rectangle in twips, the unit of every design measure of the windows.
namespace vorsa {

struct RettangoloTwips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const RettangoloTwips&, const RettangoloTwips&) = default;
};

}  // namespace vorsa
