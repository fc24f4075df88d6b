#include <gtest/gtest.h>

#include <climits>

#include "platform/currency.h"
#include "platform/text.h"

namespace vorsa {
namespace {

TEST(Text, SmallHelpers) {
    EXPECT_EQ(Trim(" \ta b\t "), "a b");
    EXPECT_EQ(Trim("\r\na\n"), "\r\na\n");  // only spaces and tabs are blanks
    EXPECT_EQ(Split("a;;b", ';'), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Split("", ';'), (std::vector<std::string>{""}));
    EXPECT_EQ(ReplaceAll("aaa", "aa", "a"), "aa");  // replaced text is not scanned again
    EXPECT_EQ(ReplaceAll("abc", "", "z"), "abc");
    EXPECT_EQ(Left("abc", 9) + Right("abc", 2) + Right("abc", 9), "abcbcabc");
}

TEST(Text, CaseMappingCoversWindows1252Letters) {
    const std::pair<std::string, std::string> cases[] = {
        {"citt\xE0", "CITT\xC0"}, {"\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F"}, {"\xFE", "\xDE"}};
    for (const auto& [lower, upper] : cases) {
        EXPECT_EQ(ToUpper(lower), upper);
        EXPECT_EQ(ToLower(upper), lower);
        EXPECT_TRUE(EqualsNoCase(lower, upper));
    }
    // Division and multiplication signs are not letters; sharp s has no one-byte upper case.
    EXPECT_EQ(ToUpper("\xF7\xDF"), "\xF7\xDF");
    EXPECT_FALSE(EqualsNoCase("\xF7", "\xD7"));
    EXPECT_FALSE(EqualsNoCase("ab", "abc"));
}

TEST(Text, ValAndIsInteger) {
    const std::pair<const char*, long long> cases[] = {{" 12abc", 12},
                                                       {"x", 0},
                                                       {"-3", -3},
                                                       {"\t+7 8", 7},
                                                       {"- 3", 0},
                                                       {"12.9", 12},
                                                       {"9223372036854775807", LLONG_MAX},
                                                       {"99999999999999999999", LLONG_MAX},
                                                       {"-9223372036854775808", LLONG_MIN},
                                                       {"-99999999999999999999", LLONG_MIN}};
    for (const auto& [text, value] : cases) EXPECT_EQ(Val(text), value) << text;
    for (const char* yes : {"12", " -4 ", "+0"}) EXPECT_TRUE(IsInteger(yes)) << yes;
    for (const char* no : {"", "-", "1a", "1 2", "1.0"}) EXPECT_FALSE(IsInteger(no)) << no;
}

TEST(Text, Cp1252AndUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);  // lossless, undefined bytes included
    EXPECT_EQ(Cp1252ToUtf8("\x80\x9F\xE0"), "\xE2\x82\xAC\xC5\xB8\xC3\xA0");
    const std::pair<const char*, const char*> toCp1252[] = {
        {"\xE2\x80\x9C", "\x93"},      // left double quote
        {"a\xE4\xB8\xAD\x62", "a?b"},  // no Windows-1252 form
        {"\xF0\x9F\x98\x80", "?"},     // outside the BMP
        {"\xC2\x80", "?"},             // U+0080 is not the euro byte
        {"\xFFz", "?z"},
        {"\xC3", "?"},       // invalid and truncated
        {"\xC0\xA0", "?"}};  // overlong
    for (const auto& [utf8, cp1252] : toCp1252) EXPECT_EQ(Utf8ToCp1252(utf8), cp1252);
}

TEST(Currency, Parse) {
    const std::pair<const char*, std::int64_t> cases[] = {{"2,3", 23000},
                                                          {"2.30", 23000},
                                                          {" -1 ", -10000},
                                                          {",5", 5000},
                                                          {"5,", 50000},
                                                          {"0,00005", 0},
                                                          {"0,00015", 2},
                                                          {"0,000051", 1},
                                                          {"-0,00025", -2},
                                                          {"1,99999", 20000},
                                                          {"922337203685477,5807", INT64_MAX}};
    for (const auto& [text, raw] : cases) {
        auto v = ParseCurrency(text);
        ASSERT_TRUE(v.has_value()) << text;
        EXPECT_EQ(v->raw, raw) << text;
    }
    for (const char* bad : {"", "abc", "1,2,3", "1e5", ",", "-", "1 2", "1.2,3",
                            "922337203685477,5808", "99999999999999999999"}) {
        EXPECT_FALSE(ParseCurrency(bad).has_value()) << bad;
    }
}

TEST(Currency, Format) {
    const std::pair<std::int64_t, const char*> shortForms[] = {
        {23000, "2,3"}, {100000, "10"},  {-10000, "-1"},
        {500, "0,05"},  {-1, "-0,0001"}, {INT64_MIN, "-922337203685477,5808"}};
    for (const auto& [raw, text] : shortForms) {
        EXPECT_EQ(FormatCurrencyShort(Currency::FromRaw(raw)), text);
    }
    struct Case {
        std::int64_t raw;
        bool thousands;
        const char* text;
    };
    const Case display[] = {{23000, false, "2,30"},       {12345000, true, "1.234,50"},
                            {12345000, false, "1234,50"}, {-50, false, "-0,01"},
                            {49, false, "0,00"},          {-49, false, "0,00"},
                            {1000000, true, "100,00"},    {-12345678900, true, "-1.234.567,89"}};
    for (const auto& c : display) {
        EXPECT_EQ(FormatCurrency(Currency::FromRaw(c.raw), c.thousands), c.text) << c.raw;
    }
}

}  // namespace
}  // namespace vorsa
