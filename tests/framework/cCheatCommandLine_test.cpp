#include "framework/cCheatCommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Words(const cCheatCommandLine& line, bool typed) {
    std::vector<std::string> words;
    for (std::size_t i = 0; i < line.GetWordCount(); ++i) words.push_back(typed ? line.GetTypedWord(i) : line.GetWord(i));
    return words;
}

TEST(cCheatCommandLine, CutsAtSpaces) {
    struct Case {
        const char* text;
        std::vector<std::string> lower, typed;
    };
    const std::vector<Case> cases = {
        {"  Set_Hour  12 ", {"set_hour", "12"}, {"Set_Hour", "12"}},
        {"grid", {"grid"}, {"grid"}},
        {"   ", {}, {}},
        {"", {}, {}},
        {nullptr, {}, {}},
        {"A\tB c", {"a\tb", "c"}, {"A\tB", "c"}},  // only spaces separate words
    };
    for (const Case& c : cases) {
        cCheatCommandLine line(c.text);
        EXPECT_EQ(Words(line, false), c.lower) << (c.text ? c.text : "null");
        EXPECT_EQ(Words(line, true), c.typed) << (c.text ? c.text : "null");
        EXPECT_EQ(line.GetMessage(), "Unknown");
        EXPECT_TRUE(line.GetCloseFlag());
    }
}

TEST(cCheatCommandLine, TakesAtMostTheLongestCommand) {
    std::string text = "w " + std::string(300, 'x');
    cCheatCommandLine line(text.c_str());
    ASSERT_EQ(line.GetWordCount(), 2u);
    EXPECT_EQ(line.GetWord(1).size(), cCheatCommandLine::kMaxLength - 2);
}

TEST(cCheatCommandLine, RepeatsAnotherLine) {
    cCheatCommandLine previous("Grid 3");
    previous.SetCloseFlag(false);
    previous.SetMessage("done");
    cCheatCommandLine again("!");
    again.RepeatWordsOf(previous);
    EXPECT_EQ(Words(again, true), (std::vector<std::string>{"Grid", "3"}));
    EXPECT_TRUE(again.GetCloseFlag());
    EXPECT_EQ(again.GetMessage(), "Unknown");

    cCheatCommandLine withArgs("! 5");
    withArgs.TakeFirstWordOf(previous);
    EXPECT_EQ(Words(withArgs, false), (std::vector<std::string>{"grid", "5"}));
}

} // namespace
