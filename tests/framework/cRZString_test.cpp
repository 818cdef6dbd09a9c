#include "framework/cRZString.h"

#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// Makes a code page current for one test and puts 1252 back afterwards.
class CurrentPage {
public:
    explicit CurrentPage(int number) { platform::SetCurrentCodePage(number); }
    ~CurrentPage() { platform::SetCurrentCodePage(1252); }
};

std::string ThrownText(const std::function<void()>& f) {
    try {
        f();
    } catch (const char* text) {
        return text;
    }
    return "(nothing thrown)";
}

TEST(cRZString, TrimsOnlySpaces) {
    struct Case {
        const char* text;
        const char* left;
        const char* right;
        const char* both;
    };
    const std::vector<Case> cases = {
        {"", "", "", ""},
        {"   ", "", "", ""},
        {"\t a ", "\t a ", "\t a", "\t a"},
        {"  x y  ", "x y  ", "  x y", "x y"},
        {"\n", "\n", "\n", "\n"},
    };
    for (const Case& c : cases) {
        cRZString left(c.text), right(c.text), both(c.text);
        left.TrimLeft();
        right.TrimRight();
        both.Trim();
        EXPECT_EQ(left, c.left) << '"' << c.text << '"';
        EXPECT_EQ(right, c.right) << '"' << c.text << '"';
        EXPECT_EQ(both, c.both) << '"' << c.text << '"';
    }
    // The trims are virtual: a caller holding a base reference reaches them.
    cRZString text("  v  ");
    cRZString& ref = text;
    ref.Trim();
    EXPECT_EQ(text, "v");
}

TEST(cRZString, ExtractionClips) {
    const cRZString abc("abc");
    EXPECT_EQ(abc.Left(10), "abc");
    EXPECT_EQ(abc.Left(2), "ab");
    EXPECT_EQ(abc.Left(0), "");
    EXPECT_EQ(abc.Right(0), "");
    EXPECT_EQ(abc.Right(2), "bc");
    EXPECT_EQ(abc.Right(10), "abc");
    EXPECT_EQ(abc.Mid(1, 1), "b");
    EXPECT_EQ(abc.Mid(1, cRZString::npos), "bc");
    EXPECT_EQ(abc.Mid(3, 5), "");
    EXPECT_EQ(abc.Mid(4, 1), "");
    EXPECT_EQ(cRZString("abcd").Mid(2, 100), "cd");
}

TEST(cRZString, RemovesTheFirstOccurrence) {
    struct Case {
        const char* text;
        const char* part;
        const char* result;
    };
    const std::vector<Case> cases = {
        {"hello", "lo", "hel"},
        {"world", "lo", ""},  // absent: the empty text
        {"hello", nullptr, "hello"},
        {"hello", "", "hello"},
        {"abab", "ab", "ab"},
        {"abc", "abc", ""},
        {"xaby", "ab", "xy"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cRZString(c.text).RemoveSubstring(c.part), c.result) << c.text << " - " << (c.part ? c.part : "null");
}

TEST(cRZString, StartsWithComparesBytes) {
    const cRZString text("Tova\0x", 6);
    EXPECT_TRUE(text.StartsWith("To", 2));
    EXPECT_TRUE(text.StartsWith("Tova\0x", 6));
    EXPECT_FALSE(text.StartsWith("Tova\0y", 6));
    EXPECT_FALSE(text.StartsWith("Tova\0xx", 7));  // longer than the text
    EXPECT_TRUE(text.StartsWith("zz", 0));
    EXPECT_FALSE(text.StartsWith("to", 2));
}

TEST(cRZString, ErrorsAreCStrings) {
    const cRZString abc("abc");
    EXPECT_EQ(ThrownText([&] { abc.At(3); }), "Out of range exception occurred");
    EXPECT_EQ(abc.At(2), 'c');
    EXPECT_EQ(ThrownText([&] { cRZString sub(abc, 4); }), "Out of range exception occurred");
    EXPECT_EQ(cRZString(abc, 3), "");
    EXPECT_EQ(cRZString(abc, 1, 1), "b");
}

TEST(cRZString, ValuesAndComparison) {
    cRZString a("one");
    cRZString b(a);
    b += "!";
    EXPECT_EQ(a, "one");
    EXPECT_TRUE(a != b);
    EXPECT_FALSE(a != cRZString("one"));
    EXPECT_TRUE(cRZString("a\0b", 3) != cRZString("a\0c", 3));  // lengths and every byte count
    EXPECT_EQ(cRZString(static_cast<const char*>(nullptr)), "");
    a = static_cast<const char*>(nullptr);
    EXPECT_EQ(a, "");
}

TEST(cRZString, CaseFoldingFollowsTheCurrentPage) {
    {
        cRZString text("\xC9t\xC9 ABC");
        EXPECT_EQ(text.MakeLower(), "\xE9t\xE9 abc");
        EXPECT_EQ(text.MakeUpper(), "\xC9T\xC9 ABC");
    }
    {
        CurrentPage cyrillic(1251);
        cRZString text("\xC0\xE1");
        EXPECT_EQ(text.MakeLower(), "\xE0\xE1");
    }
    {
        // 0x83 0x41 is one Japanese character whose second byte is 'A'.
        CurrentPage japanese(932);
        cRZString text("A\x83\x41z");
        EXPECT_EQ(text.MakeLower(), "a\x83\x41z");
        EXPECT_EQ(text.MakeUpper(), "A\x83\x41Z");
    }
}

TEST(cRZString, SprintfFormats) {
    struct Case {
        std::string got, expected;
    };
    const std::string longText(5000, 'q');
    const std::vector<Case> cases = {
        {cRZString("old").Sprintf("%s", ""), ""},
        {cRZString().Sprintf("%5d", 42), "   42"},
        {cRZString().Sprintf("%-4s|%04x|%%|%c", "ab", 0xBEEF, 'z'), "ab  |beef|%|z"},
        {cRZString().Sprintf("%*d|%.*s", 4, 7, 2, "xyz"), "   7|xy"},
        {cRZString().Sprintf("%s", longText.c_str()), longText},
        {cRZString().Sprintf("%lld", static_cast<long long>(INT64_MIN)), "-9223372036854775808"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.expected);
}

TEST(cRZString, SprintfNeverOverflows) {
    // Far longer than any fixed bound for a floating conversion.
    char expected[512];
    std::snprintf(expected, sizeof expected, "%f", 1e200);
    ASSERT_GT(std::strlen(expected), 200u);
    EXPECT_EQ(cRZString().Sprintf("%f", 1e200), expected);
    EXPECT_EQ(cRZString().Sprintf("%.300f|%e", -1e300, 1e-300).size(),
              static_cast<std::size_t>(std::snprintf(nullptr, 0, "%.300f|%e", -1e300, 1e-300)));
}

TEST(cRZString, SprintfKeepsDoubleByteCharactersBeforePercent) {
    CurrentPage japanese(932);
    EXPECT_EQ(cRZString().Sprintf("\x82\x40%d\x82\xA0%s", 12, "x"), "\x82\x40" "12\x82\xA0x");
}

TEST(cRZString, SprintfRefusesWritesThroughArguments) {
    int written = -1;
    short half = -1;
    cRZString text("kept");
    EXPECT_EQ(text.Sprintf("abc%n", &written), "kept");
    EXPECT_EQ(text.Sprintf("abc%hn", &half), "kept");
    EXPECT_EQ(text.Sprintf("%d%%%n", 1, &written), "kept");
    // glibc's 'I' flag (locale digits) may stand before the conversion.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
    EXPECT_EQ(text.Sprintf("abc%In", &written), "kept");
    EXPECT_EQ(text.Sprintf("abc%-I3n", &written), "kept");
    EXPECT_EQ(text.Sprintf("abc%I64n", &written), "kept");
#pragma GCC diagnostic pop
    EXPECT_EQ(written, -1);
    EXPECT_EQ(half, -1);
    EXPECT_EQ(text.Sprintf("%%n"), "%n");  // a literal "%n" is fine
}

TEST(cRZString, SprintfReadsTheSixtyFourBitPrefix) {
    const std::int64_t big = 1234567890123LL;
    // The prefix from the stored data; not a standard printf size.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
#pragma GCC diagnostic ignored "-Wformat-extra-args"
    EXPECT_EQ(cRZString().Sprintf("%I64d|%5I32d", big, 7), "1234567890123|    7");
#pragma GCC diagnostic pop
}

} // namespace
