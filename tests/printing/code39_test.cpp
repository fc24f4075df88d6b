#include <gtest/gtest.h>

#include <tuple>

#include "printing/code39.h"

namespace vorsa {
namespace {

// Element widths (bar, space, bar, ...) in units of a drawn picture, without the gaps that
// precede each character and the closing unit.
std::string Elements(const BarcodePicture& p) {
    std::string e;
    int x = 0;
    for (const auto& b : p.bars) {
        const int space = (b.x - x) / p.unit;
        if (!e.empty()) e += std::to_string(space);
        e += std::to_string(b.width / p.unit);
        x = b.x + b.width;
    }
    return e;
}

TEST(Code39, ReceiptSevenIsStartSevenStopInFortyUnits) {
    const BarcodePicture p = DrawCode39("7", 40);
    EXPECT_EQ(std::make_tuple(p.unit, p.widthPx, p.bars.size()),
              std::make_tuple(1, 3 * 13 + 1, 15u));
    // Start mark "*" (n w n n w n w n n), gap, "7" (n n n w n n w n w), gap, stop mark.
    // Between characters the narrow gap reads as a 1-unit space.
    EXPECT_EQ(Elements(p), std::string("121121211") + "1" + "111211212" + "1" + "121121211");
    EXPECT_EQ(p.bars.front().x, 1);  // every bar follows one white unit
}

TEST(Code39, UnitFollowsThePictureHeight) {
    const std::pair<int, int> cases[] = {{20, 1}, {59, 1}, {60, 2}, {120, 3}};
    for (const auto& [height, unit] : cases) {
        const BarcodePicture p = DrawCode39("12", height);
        EXPECT_EQ(std::make_pair(p.unit, p.widthPx), std::make_pair(unit, (4 * 13 + 1) * unit))
            << height;
    }
}

TEST(Code39, PatternsAreTheStandardOnes) {
    // Standard wide (1) / narrow (0) elements, bars and spaces alternating.
    const std::pair<char, const char*> cases[] = {
        {'0', "000110100"}, {'1', "100100001"}, {'9', "001100100"}, {'A', "100001001"},
        {'M', "101000010"}, {'Z', "011010000"}, {'-', "010000101"}, {' ', "011000100"},
        {'$', "010101000"}, {'%', "000101010"}};
    for (const auto& [c, expected] : cases) {
        const std::string all = Elements(DrawCode39(std::string(1, c), 40));
        ASSERT_EQ(all.size(), 9u * 3 + 2) << c;
        std::string bits;
        for (char d : all.substr(10, 9)) bits += d == '2' ? '1' : '0';
        EXPECT_EQ(bits, expected) << c;
    }
    EXPECT_EQ(PatternCode39('a'), "");  // above 90
}

TEST(Code39, TextIsUpperCasedAndUnknownCharactersAreSkipped) {
    EXPECT_EQ(Elements(DrawCode39("ab")), Elements(DrawCode39("AB")));
    const BarcodePicture skipped = DrawCode39("7#7");
    EXPECT_EQ(Elements(skipped), Elements(DrawCode39("77")));
    EXPECT_EQ(skipped.widthPx, 4 * 13 + 1);  // skipped characters draw nothing
    EXPECT_TRUE(DrawCode39("").bars.empty());
    EXPECT_EQ(LarghezzaBarcode(DrawCode39("7")), 40 * 15);
}

}  // namespace
}  // namespace vorsa
