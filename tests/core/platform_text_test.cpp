#include <gtest/gtest.h>

#include <climits>

#include "platform/currency.h"
#include "platform/ini_document.h"
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
                                                       {"-3", -3},
                                                       {"\t+7 8", 7},
                                                       {"- 3", 0},
                                                       {"9223372036854775807", LLONG_MAX},
                                                       {"99999999999999999999", LLONG_MAX},
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
    const std::pair<const char*, std::int64_t> cases[] = {
        {"2,3", 23000},     {" -1 ", -10000},
        {",5", 5000},       {"5,", 50000},
        {"0,00005", 0},     {"0,00015", 2},
        {"0,000051", 1},    {"-0,00025", -2},
        {"1,99999", 20000}, {"922337203685477,5807", INT64_MAX}};
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

TEST(IniDocument, ReadsLikeTheProfileFunctions) {
    const IniDocument doc = IniDocument::Parse(
        "top=no section\r\n[Main]\r\n  Name \t=  Caff\xE8 Roma \r\nQ=\"  in  \"\r\nS='x'\r\n"
        "Mixed=\"x'\r\n; Hidden=1\r\n  ;H2=1\r\n# Note 1:=****\r\nDup=first\r\nDup=second\r\n"
        "Eq=a=b\r\n[ Citt\xE0 ] tail ]\r\nK=v\r\n[main]\r\nName=dup section\r\nOther=1\r\n");
    const std::tuple<const char*, const char*, std::optional<std::string>> cases[] = {
        {"main", " NAME ", "Caff\xE8 Roma"},
        {"Main", "Q", "  in  "},
        {"Main", "S", "x"},
        {"Main", "Mixed", "\"x'"},
        {"Main", "; Hidden", std::nullopt},
        {"Main", ";H2", std::nullopt},
        {"Main", "# note 1:", "****"},
        {"Main", "Dup", "first"},
        {"Main", "Eq", "a=b"},
        {"CITT\xC0", "k", "v"},
        {"Main", "Other", std::nullopt},
        {"", "top", std::nullopt}};
    for (const auto& [section, key, value] : cases) {
        EXPECT_EQ(doc.Get(section, key), value) << section << "/" << key;
    }
    EXPECT_EQ(doc.Entries("MAIN").size(), 7u);  // "Dup" once, comments never
    EXPECT_EQ(doc.Entries("Main").front(),
              (std::pair<std::string, std::string>{"Name", "Caff\xE8 Roma"}));
}

TEST(IniDocument, LineEndingsAndRoundTrip) {
    for (const char* text : {"[S]\na=1\nb=2", "[S]\ra=1\rb=2\r", "[S]\r\na=1\nb=2\r"}) {
        EXPECT_EQ(IniDocument::Parse(text).Get("S", "b"), "2") << text;
    }
    EXPECT_EQ(IniDocument::Parse("[S]\na=1\n\n\rx").Serialize(), "[S]\r\na=1\r\n\r\n\r\nx\r\n");
    const std::string text = "junk\r\n[A]\r\n  k = v \r\n; c\r\nplain\r\n\r\n[B]\r\nx=\"q\"\r\n";
    EXPECT_EQ(IniDocument::Parse(text).Serialize(), text);
}

TEST(IniDocument, WritesInPlaceOrAfterTheLastKey) {
    struct Case {
        const char *before, *section, *key, *after;
    };
    const Case cases[] = {
        {"[S]\r\n  MyKey = old \r\nz=1\r\n", "s", "mykey", "[S]\r\nMyKey=V\r\nz=1\r\n"},
        {"[S]\r\na=1\r\n; c\r\n\r\n[T]\r\n", "S", "b", "[S]\r\na=1\r\nb=V\r\n; c\r\n\r\n[T]\r\n"},
        {"[S]\r\n; c\r\n[T]\r\nx=1\r\n", "S", "k", "[S]\r\nk=V\r\n; c\r\n[T]\r\nx=1\r\n"},
        {"a=1\r\n[S]\r\nx=1\r\n", "New", "k", "a=1\r\n[S]\r\nx=1\r\n[New]\r\nk=V\r\n"},
        {"[S]\r\nd=1\r\nd=2\r\n", "S", "D", "[S]\r\nd=V\r\nd=2\r\n"},
        {"[S]\r\na=1\r\n[s]\r\nb=1\r\n", "S", "c", "[S]\r\na=1\r\nc=V\r\n[s]\r\nb=1\r\n"},
        {"[S]\r\n;k=1\r\n", "S", "k", "[S]\r\nk=V\r\n;k=1\r\n"},
    };
    for (const auto& c : cases) {
        IniDocument doc = IniDocument::Parse(c.before);
        EXPECT_TRUE(doc.Set(c.section, c.key, "V")) << c.before;
        EXPECT_EQ(doc.Serialize(), c.after) << c.before;
        EXPECT_EQ(doc.Get(c.section, c.key), "V") << c.before;
    }
    // An unchanged value is reported and leaves the line as it was; values keep their case.
    IniDocument doc = IniDocument::Parse("[S]\r\nk = \"Same\"\r\n");
    EXPECT_FALSE(doc.Set("S", "K", "Same"));
    EXPECT_EQ(doc.Serialize(), "[S]\r\nk = \"Same\"\r\n");
    EXPECT_TRUE(doc.Set("S", "K", "same"));
}

TEST(IniDocument, DeleteKeyAndSection) {
    IniDocument doc = IniDocument::Parse(
        "[A]\r\na=1\r\nd=1\r\n; c\r\nd=2\r\n[B]\r\n; note\r\nb=1\r\nplain\r\n[b]\r\nx=2\r\n");
    EXPECT_TRUE(doc.DeleteKey("a", "D"));
    EXPECT_EQ(doc.Get("A", "d"), "2");  // the next duplicate shows
    EXPECT_FALSE(doc.DeleteKey("A", "zz"));
    EXPECT_TRUE(doc.Set("A", "n", "x"));  // positions shifted by the delete
    EXPECT_TRUE(doc.DeleteSection("B"));
    EXPECT_FALSE(doc.DeleteSection("Gone"));
    EXPECT_EQ(doc.Get("B", "x"), "2");  // the duplicate section is now the first
    EXPECT_TRUE(doc.Set("A", "m", "y"));
    EXPECT_EQ(doc.Serialize(),
              "[A]\r\na=1\r\n; c\r\nd=2\r\nn=x\r\nm=y\r\n; note\r\nplain\r\n[b]\r\nx=2\r\n");
}

TEST(IniDocument, LargeSectionAndCopiesStayConsistent) {
    IniDocument doc = IniDocument::Parse("[Archive]\r\n; receipts\r\n\r\n[Next]\r\nx=1\r\n");
    for (int i = 0; i < 25000; ++i) doc.Set("Archive", "R" + std::to_string(i), std::to_string(i));
    for (int i = 0; i < 25000; i += 997)
        EXPECT_EQ(doc.Get("archive", "r" + std::to_string(i)), std::to_string(i));
    IniDocument copy = doc;  // the index of a copy is its own
    copy.Set("Archive", "R7", "x");
    EXPECT_EQ(doc.Get("Archive", "R7"), "7");
    IniDocument moved = std::move(copy);
    copy = doc;  // a moved-from document can be reused
    EXPECT_EQ(moved.Get("Archive", "R7"), "x");
    const IniDocument reread = IniDocument::Parse(copy.Serialize());
    const auto entries = reread.Entries("Archive");
    ASSERT_EQ(entries.size(), 25000u);
    EXPECT_EQ(entries.back().first, "R24999");
    EXPECT_EQ(reread.Get("Next", "x"), "1");
}

}  // namespace
}  // namespace vorsa
