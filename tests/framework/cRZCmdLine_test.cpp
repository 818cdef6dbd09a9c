#include "framework/cRZCmdLine.h"

#include <gtest/gtest.h>

namespace {

struct RestrictionGuard {
    explicit RestrictionGuard(bool on) { cRZCmdLine::SetSwitchRestriction(on); }
    ~RestrictionGuard() { cRZCmdLine::SetSwitchRestriction(false); }
};

}  // namespace

TEST(cRZCmdLine, SplitsOnBlanksOutsideQuotes) {
    struct Case {
        const char* text;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"  -a \"b c\" -d  ", {"-a", "b c", "-d"}},
        {"", {}},
        {"    ", {}},
        {"one", {"one"}},
        {"a\tb\nc", {"a", "b", "c"}},
        {"a    b", {"a", "b"}},
        {"\"\"", {""}},
        {"\"", {""}},
        {"-x:\"a b\" y", {"-x:\"a b\"", "y"}},  // quotes inside stay when not enclosing
        {"\"unclosed arg", {"\"unclosed arg"}},
    };
    for (const Case& c : cases) {
        cRZCmdLine line(c.text);
        ASSERT_EQ(line.GetCount(), static_cast<int>(c.args.size())) << c.text;
        for (size_t i = 0; i < c.args.size(); ++i) EXPECT_EQ(line.GetArgument(static_cast<int>(i)), c.args[i]) << c.text;
    }
}

TEST(cRZCmdLine, ArgumentsByIndexAndByText) {
    cRZCmdLine line("tova.exe -w Foo");
    EXPECT_EQ(line.FindArgument("Foo"), 2);
    EXPECT_EQ(line.FindArgument("foo"), -1);
    EXPECT_STREQ(line.GetArgumentText(1), "-w");
    EXPECT_STREQ(line.GetArgumentText(5), "");
    EXPECT_EQ(line.GetArgument(-1), "");
}

TEST(cRZCmdLine, SwitchTable) {
    struct Case {
        bool restricted;
        const char* text;
        const char* name;
        bool withValue;
        bool strip;
        bool found;
        const char* value;
    };
    const Case cases[] = {
        {true, "-lang", "lang", false, false, false, ""},  // not a switch of the game
        {false, "-lang", "lang", false, false, true, ""},
        {true, "-memlog", "memlog", false, false, true, ""},
        {true, "-lDanish", "lDanish", false, false, true, ""},
        {false, "-lang:'French'", "lang", true, true, true, "French"},
        {false, "-lang:\"French'", "lang", true, true, true, "French"},  // quote kinds may differ
        {false, "-lang:'French'", "lang", true, false, true, "'French'"},
        {false, "-lang:", "lang", true, true, true, ""},
        {false, "-lang", "lang", true, true, false, ""},
        {false, "-language:x", "lang", true, false, false, ""},
        {false, "-lang:x", "lang", false, false, false, ""},
        {true, "-w", "w", false, false, true, ""},
        {true, "-w:1", "w", false, false, false, ""},
        {true, "-w:1", "w", true, false, true, "1"},
        {true, "w -nosound", "nosound", false, false, true, ""},
        {true, "nosound", "nosound", false, false, false, ""},  // no dash
        {true, "-", "", false, false, false, ""},
        {true, "-NoSound", "nosound", false, false, false, ""},  // case-sensitive
        {false, "-ngh:\"my town\"", "ngh", true, true, true, "my town"},
        {false, "-a:'", "a", true, true, true, ""},  // a lone quote is stripped whole
    };
    for (const Case& c : cases) {
        RestrictionGuard guard(c.restricted);
        cRZCmdLine line(c.text);
        cRZString value("unchanged");
        bool found = line.FindSwitch(c.name, c.withValue ? &value : nullptr, c.strip);
        EXPECT_EQ(found, c.found) << c.text << " / " << c.name;
        if (c.withValue) {
            EXPECT_EQ(value, found ? c.value : "unchanged") << c.text;
        }
    }
}
