#include <gtest/gtest.h>

#include "platform/ini_document.h"

namespace vorsa {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

std::string Numbered(std::string prefix, int i) {
    return prefix.append(std::to_string(i));
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
}

TEST(IniDocument, SetReportsUnchangedValue) {
    IniDocument doc = IniDocument::Parse("[S]\r\nk = \"Same\"\r\n");
    EXPECT_FALSE(doc.Set("S", "K", "Same"));
    EXPECT_EQ(doc.Serialize(), "[S]\r\nk = \"Same\"\r\n");
    EXPECT_TRUE(doc.Set("S", "K", "same"));  // values keep their case
    EXPECT_FALSE(doc.Set("S", "K", "same"));
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

TEST(IniDocument, CopiesAreIndependent) {
    IniDocument a = IniDocument::Parse("[S]\r\nk=1\r\n");
    IniDocument b = a;
    b.Set("S", "k", "2");
    EXPECT_EQ(a.Get("S", "k"), "1");
    IniDocument c = std::move(b);
    EXPECT_EQ(c.Get("S", "k"), "2");
    b = a;  // a moved-from document can be reused
    EXPECT_EQ(b.Get("S", "k"), "1");
}

TEST(IniDocument, LargeSectionStaysConsistent) {
    IniDocument doc = IniDocument::Parse("[Archive]\r\n; receipts\r\n\r\n[Next]\r\nx=1\r\n");
    constexpr int kKeys = 25000;
    for (int i = 0; i < kKeys; ++i) doc.Set("Archive", Numbered("R", i), std::to_string(i));
    for (int i = 0; i < kKeys; i += 997) {
        EXPECT_EQ(doc.Get("archive", Numbered("r", i)), std::to_string(i));
    }
    const IniDocument reread = IniDocument::Parse(doc.Serialize());
    const Entries entries = reread.Entries("Archive");
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(kKeys));
    EXPECT_EQ(entries.back().first, "R24999");
    EXPECT_EQ(reread.Get("Next", "x"), "1");
}

}  // namespace
}  // namespace vorsa
