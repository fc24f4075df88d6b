#include <gtest/gtest.h>

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
    EXPECT_EQ(p.unit, 1);
    EXPECT_EQ(p.widthPx, 3 * 13 + 1);
    ASSERT_EQ(p.bars.size(), 15u);
    // Start mark "*" (n w n n w n w n n), gap, "7" (n n n w n n w n w), gap, stop mark.
    // Between characters the narrow gap reads as a 1-unit space.
    EXPECT_EQ(Elements(p),
              "121121211"
              "1"
              "111211212"
              "1"
              "121121211");
    EXPECT_EQ(p.bars.front().x, 1);  // every bar follows one white unit
}

TEST(Code39, UnitFollowsThePictureHeight) {
    struct Case {
        int height, unit;
    };
    for (const Case c : {Case{20, 1}, Case{39, 1}, Case{40, 1}, Case{59, 1}, Case{60, 2},
                         Case{80, 2}, Case{120, 3}}) {
        const BarcodePicture p = DrawCode39("12", c.height);
        EXPECT_EQ(p.unit, c.unit) << c.height;
        EXPECT_EQ(p.widthPx, (4 * 13 + 1) * c.unit) << c.height;
    }
}

TEST(Code39, PatternsAreTheStandardOnes) {
    // Standard wide (1) / narrow (0) elements, bars and spaces alternating.
    struct Case {
        char c;
        const char* bits;
    };
    for (const Case c : {Case{'0', "000110100"}, Case{'1', "100100001"}, Case{'9', "001100100"},
                         Case{'A', "100001001"}, Case{'M', "101000010"}, Case{'Z', "011010000"},
                         Case{'-', "010000101"}, Case{' ', "011000100"}, Case{'$', "010101000"},
                         Case{'%', "000101010"}}) {
        const BarcodePicture p = DrawCode39(std::string(1, c.c), 40);
        const std::string all = Elements(p);
        ASSERT_EQ(all.size(), 9u * 3 + 2) << c.c;
        std::string bits;
        for (char d : all.substr(10, 9)) bits += d == '2' ? '1' : '0';
        EXPECT_EQ(bits, c.bits) << c.c;
    }
    EXPECT_EQ(PatternCode39('0'), "11 221");
    EXPECT_EQ(PatternCode39('$'), "1 1 1 11");
    EXPECT_EQ(PatternCode39('*'), "1 1221");
    EXPECT_EQ(PatternCode39(1), "1 1221");
    EXPECT_EQ(PatternCode39(2), "1 1221");
    EXPECT_EQ(PatternCode39('a'), "");  // above 90
    EXPECT_EQ(PatternCode39('#'), "");  // not in the set
}

TEST(Code39, TextIsUpperCasedAndUnknownCharactersAreSkipped) {
    EXPECT_EQ(Elements(DrawCode39("ab")), Elements(DrawCode39("AB")));
    const BarcodePicture skipped = DrawCode39("7#7");
    EXPECT_EQ(Elements(skipped), Elements(DrawCode39("77")));
    EXPECT_EQ(skipped.widthPx, 4 * 13 + 1);  // skipped characters draw nothing
    const BarcodePicture empty = DrawCode39("");
    EXPECT_EQ(empty.widthPx, 0);
    EXPECT_TRUE(empty.bars.empty());
    EXPECT_EQ(LarghezzaBarcode(DrawCode39("7")), 40 * 15);
}

}  // namespace
}  // namespace vorsa
