#include "framework/cGZCheatCodeManager.h"

#include "framework/cGZApp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A command that records how it was called and answers as told.
struct Recorder {
    std::vector<std::vector<std::string>> calls;
    bool answer = true;
    bool close = true;
    const char* message = nullptr;

    static bool Run(cCheatCommandLine& line, void* context) {
        auto* self = static_cast<Recorder*>(context);
        std::vector<std::string> words;
        for (std::size_t i = 0; i < line.GetWordCount(); ++i) words.push_back(line.GetWord(i));
        self->calls.push_back(words);
        if (self->message) line.SetMessage(self->message);
        line.SetCloseFlag(self->close);
        return self->answer;
    }
};

struct Box {
    std::string text, caption;
    bool operator==(const Box&) const = default;
};

class CheatManager : public ::testing::Test {
protected:
    explicit CheatManager(bool restricted = false) : manager(restricted) {
        manager.SetMessageBox([this](const char* text, const char* caption) { boxes.push_back({text, caption}); });
        manager.RegisterCheat("grid", &Recorder::Run, &grid, "grid [on|off]");
        manager.RegisterCheat("w", &Recorder::Run, &w, nullptr);
    }
    cGZCheatCodeManager manager;
    Recorder grid, w;
    std::vector<Box> boxes;
};

TEST_F(CheatManager, RunsTheCommandsOfALine) {
    struct Case {
        const char* line;
        bool result;
        std::size_t gridCalls, wCalls;
        std::vector<Box> boxes;
    };
    const std::vector<Case> cases = {
        {"grid;!", true, 2, 0, {}},
        {"Grid ON", true, 1, 0, {}},
        {"grid;nosuch;w", false, 1, 0, {{"No such cheat!", "Sorry"}}},
        {";grid;;w;", true, 1, 1, {}},  // empty pieces make no commands
        {"grid; ;w", false, 1, 0, {}},  // a command of only spaces ends the line
        {"", false, 0, 0, {}},
    };
    for (const Case& c : cases) {
        grid.calls.clear();
        w.calls.clear();
        boxes.clear();
        EXPECT_EQ(manager.ExecuteCheatLine(c.line), c.result) << c.line;
        EXPECT_EQ(grid.calls.size(), c.gridCalls) << c.line;
        EXPECT_EQ(w.calls.size(), c.wCalls) << c.line;
        EXPECT_EQ(boxes, c.boxes) << c.line;
    }
}

TEST(CheatManagerFresh, RepeatWithoutAPreviousCommand) {
    cGZCheatCodeManager manager(false);
    std::vector<Box> boxes;
    manager.SetMessageBox([&](const char* text, const char* caption) { boxes.push_back({text, caption}); });
    EXPECT_FALSE(manager.ExecuteCheatLine("!"));
    EXPECT_EQ(boxes, (std::vector<Box>{{"No previous cheat!", "Sorry"}}));
}

TEST_F(CheatManager, RepeatTakesNewArguments) {
    EXPECT_TRUE(manager.ExecuteCheatLine("grid on"));
    EXPECT_TRUE(manager.ExecuteCheatLine("! off"));
    EXPECT_TRUE(manager.ExecuteCheatLine("!"));
    EXPECT_EQ(grid.calls, (std::vector<std::vector<std::string>>{{"grid", "on"}, {"grid", "off"}, {"grid", "off"}}));
}

TEST_F(CheatManager, FailureShowsTheCommandsMessageAndStops) {
    grid.answer = false;
    EXPECT_FALSE(manager.ExecuteCheatLine("grid;w"));
    EXPECT_EQ(boxes, (std::vector<Box>{{"Usage: grid [on|off]", "Cheat Error"}}));
    EXPECT_TRUE(w.calls.empty());

    boxes.clear();
    w.answer = false;
    EXPECT_FALSE(manager.ExecuteCheatLine("w"));
    EXPECT_EQ(boxes, (std::vector<Box>{{"Usage: <No Usage Info Registered>", "Cheat Error"}}));

    boxes.clear();
    w.message = "w needs a number";
    EXPECT_FALSE(manager.ExecuteCheatLine("w"));
    EXPECT_EQ(boxes, (std::vector<Box>{{"w needs a number", "Cheat Error"}}));
}

TEST_F(CheatManager, CloseFlagOfTheLastCommandIsTheResult) {
    w.close = false;
    EXPECT_FALSE(manager.ExecuteCheatLine("grid;w"));
    EXPECT_TRUE(manager.ExecuteCheatLine("w;grid"));
}

TEST_F(CheatManager, RegistrationRules) {
    Recorder other;
    manager.RegisterCheat("GRID", nullptr, &other, "ignored");
    EXPECT_TRUE(manager.ExecuteCheatLine("grid"));
    EXPECT_EQ(grid.calls.size(), 1u);
    EXPECT_EQ(*manager.GetUsage("grid"), "grid [on|off]");

    manager.RegisterCheat("Grid", &Recorder::Run, &other, "grid again");
    EXPECT_TRUE(manager.ExecuteCheatLine("grid"));
    EXPECT_EQ(other.calls.size(), 1u);
    EXPECT_EQ(*manager.GetUsage("grid"), "grid again");

    manager.UnregisterCheat("GRID");
    EXPECT_FALSE(manager.IsRegistered("grid"));
    EXPECT_EQ(manager.GetUsage("grid"), nullptr);

    // A name without a callback exists but fails when run.
    manager.RegisterCheat("empty", nullptr, nullptr, "nothing");
    EXPECT_TRUE(manager.IsRegistered("Empty"));
    EXPECT_FALSE(manager.ExecuteCheatLine("empty"));
    EXPECT_EQ(boxes.back(), (Box{"Usage: nothing", "Cheat Error"}));
}

TEST_F(CheatManager, LongLinesAreCut) {
    std::string line = "grid;" + std::string(260, ' ') + ";w";
    EXPECT_FALSE(manager.ExecuteCheatLine(line.c_str()));  // the cut leaves a command of spaces
    EXPECT_EQ(grid.calls.size(), 1u);
    EXPECT_TRUE(w.calls.empty());
}

class RestrictedCheatManager : public CheatManager {
protected:
    RestrictedCheatManager() : CheatManager(true) {}
};

TEST_F(RestrictedCheatManager, TakesOnlyAllowedNames) {
    Recorder tips;
    manager.RegisterCheat("tips", &Recorder::Run, &tips, nullptr);
    EXPECT_FALSE(manager.IsRegistered("tips"));
    EXPECT_FALSE(manager.IsRegistered("w2"));
    EXPECT_TRUE(manager.IsRegistered("grid"));
    EXPECT_TRUE(manager.ExecuteCheatLine("GRID"));
    EXPECT_FALSE(manager.ExecuteCheatLine("help"));
    EXPECT_EQ(boxes, (std::vector<Box>{{"No such cheat!", "Sorry"}}));
}

// Stands in for the help window.
struct FakeHelpView : cIGZCheatHelpView {
    std::vector<std::string> rows;
    int selected = -1;
    std::string usage;
    int shown = 0, modalRuns = 0;
    void Show() override { ++shown; }
    void ClearList() override {
        rows.clear();
        selected = -1;
        usage.clear();
    }
    void AddRow(const cRZString& name) override { rows.push_back(name); }
    void SelectRow(std::size_t row) override { selected = static_cast<int>(row); }
    void SetUsageText(const cRZString& text) override { usage = text; }
    void RunModal() override { ++modalRuns; }
};

TEST_F(CheatManager, HelpListsMatchingCommands) {
    manager.RegisterCheat("grow_grass", &Recorder::Run, &w, nullptr);
    EXPECT_FALSE(manager.ExecuteCheatLine("help"));
    EXPECT_EQ(boxes.back(), (Box{"The cheat help window ptr is NULL!", "Cheat Error"}));

    FakeHelpView view;
    manager.SetHelpView(&view);
    struct Case {
        const char* line;
        std::vector<std::string> rows;
        int selected;
        const char* usage;
    };
    const std::vector<Case> cases = {
        {"help", {"grid", "grow_grass", "help", "w"}, 0, ""},
        {"help gr", {"grid", "grow_grass"}, 0, ""},
        {"help GROW_grass", {"grow_grass"}, 0, ""},
        {"help w", {"grow_grass", "w"}, 1, ""},  // the exact name is selected
        {"help zzz", {}, -1, "Sorry, no cheats match the search string."},
    };
    for (const Case& c : cases) {
        int runs = view.modalRuns;
        // The console line stays open after help.
        EXPECT_FALSE(manager.ExecuteCheatLine(c.line)) << c.line;
        EXPECT_EQ(view.rows, c.rows) << c.line;
        EXPECT_EQ(view.selected, c.selected) << c.line;
        EXPECT_EQ(view.usage, c.usage) << c.line;
        EXPECT_EQ(view.modalRuns, runs + 1) << c.line;
        // The manager keeps the rows, for the window to show each one's usage.
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            ASSERT_NE(manager.GetHelpRowName(i), nullptr) << c.line;
            EXPECT_EQ(*manager.GetHelpRowName(i), c.rows[i]) << c.line;
        }
        EXPECT_EQ(manager.GetHelpRowName(c.rows.size()), nullptr) << c.line;
    }
}

TEST_F(CheatManager, HelpWithTooManyWords) {
    FakeHelpView view;
    manager.SetHelpView(&view);
    EXPECT_FALSE(manager.ExecuteCheatLine("help a b"));
    EXPECT_EQ(boxes.back(), (Box{"Usage: help, or help [partial command], or help [command]", "Cheat Error"}));
    EXPECT_EQ(view.modalRuns, 0);
}

} // namespace

namespace {

// The application as the console sees it: its console switch and message box.
class ConsoleApp : public cIGZApp {
public:
    bool restricts = true;
    std::vector<std::string> shown;
    bool AddService(cIGZSystemService*) override { return true; }
    const char* GetName() const override { return "console test"; }
    bool Tick() override { return true; }
    int DoMessageBox(const char* text, const char* caption, int buttonKind, int flag) override {
        shown.push_back(std::string(caption) + ": " + text + " " + std::to_string(buttonKind) + std::to_string(flag));
        return 0;
    }
    bool RestrictsConsole() override { return restricts; }
};

TEST(CheatManagerApp, FollowsTheApplication) {
    ConsoleApp app;
    cGZCheatCodeManager restricted(app);
    EXPECT_FALSE(restricted.IsRegistered("help"));
    EXPECT_FALSE(restricted.ExecuteCheatLine("help"));
    EXPECT_EQ(app.shown, (std::vector<std::string>{"Sorry: No such cheat! 00"}));

    app.restricts = false;
    cGZCheatCodeManager open(app);
    EXPECT_TRUE(open.IsRegistered("help"));
}

} // namespace
