#include "printing/code39.h"

#include <array>
#include <cmath>

#include "platform/text.h"

namespace vorsa {
namespace {

struct Symbol {
    char c;
    std::string_view pattern;
};

// The Code 39 standard, five bars per character with the three wide elements.
constexpr std::array<Symbol, 44> kTabella = {{
    {'0', "11 221"},   {'1', "21 112"},   {'2', "12 112"},   {'3', "22 111"},   {'4', "11 212"},
    {'5', "21 211"},   {'6', "12 211"},   {'7', "11 122"},   {'8', "21 121"},   {'9', "12 121"},
    {'A', "211 12"},   {'B', "121 12"},   {'C', "221 11"},   {'D', "112 12"},   {'E', "212 11"},
    {'F', "122 11"},   {'G', "111 22"},   {'H', "211 21"},   {'I', "121 21"},   {'J', "112 21"},
    {'K', "2111 2"},   {'L', "1211 2"},   {'M', "2211 1"},   {'N', "1121 2"},   {'O', "2121 1"},
    {'P', "1221 1"},   {'Q', "1112 2"},   {'R', "2112 1"},   {'S', "1212 1"},   {'T', "1122 1"},
    {'U', "2 1112"},   {'V', "1 2112"},   {'W', "2 2111"},   {'X', "1 1212"},   {'Y', "2 1211"},
    {'Z', "1 2211"},   {'-', "1 1122"},   {'.', "2 1121"},   {' ', "1 2121"},   {'*', "1 1221"},
    {'$', "1 1 1 11"}, {'/', "1 1 11 1"}, {'+', "1 11 1 1"}, {'%', "11 1 1 1"},
}};

}  // namespace

std::string_view PatternCode39(unsigned char c) {
    if (c == 1 || c == 2) c = '*';
    if (c > 90) return {};
    for (const Symbol& v : kTabella)
        if (static_cast<unsigned char>(v.c) == c) return v.pattern;
    return {};
}

BarcodePicture DrawCode39(std::string_view text, int heightPx) {
    BarcodePicture p;
    p.heightPx = heightPx;
    if (text.empty()) return p;
    const std::string codificato = std::string(1, '\x01') + ToUpper(text) + std::string(1, '\x02');
    p.unit = std::max(1, static_cast<int>(std::lround(heightPx / 40.0)));
    const int u = p.unit;
    int x = 0;
    for (const char ch : codificato) {
        for (const char s : PatternCode39(static_cast<unsigned char>(ch))) {
            if (s == ' ') {
                x += u;
            } else if (s == '1') {
                p.bars.push_back({x + u, u});
                x += 2 * u;
            } else if (s == '2') {
                p.bars.push_back({x + u, 2 * u});
                x += 3 * u;
            }
        }
    }
    p.widthPx = x + u;  // the closing white unit
    return p;
}

}  // namespace vorsa
