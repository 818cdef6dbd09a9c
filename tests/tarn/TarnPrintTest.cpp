#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tarn/TarnPrint.h"

namespace {

std::vector<std::string> gLines;

int Capture(intptr_t, intptr_t line) {
    gLines.push_back(reinterpret_cast<const char*>(line));
    return 1;
}

class TarnPrintTables : public ::testing::Test {
protected:
    void TearDown() override {
        unsetenv("PRINT_CHANNEL");
        unsetenv("PRINT_DEVICE");
        TarnPrintInitialise();
        gLines.clear();
    }
    static void Start(const char* channels, const char* devices) {
        if (channels) setenv("PRINT_CHANNEL", channels, 1); else unsetenv("PRINT_CHANNEL");
        if (devices) setenv("PRINT_DEVICE", devices, 1); else unsetenv("PRINT_DEVICE");
        TarnPrintInitialise();
    }
};

TEST_F(TarnPrintTables, ChannelVariableCases) {
    struct Case {
        const char* value;
        std::vector<int> on;
    };
    const Case cases[] = {
        {nullptr, {kTarnChannelAlert}},
        {"-alert,graph", {kTarnChannelGraphics}},
        {"g", {kTarnChannelAlert, kTarnChannelGeneral}},  // the first of general and graphics
        {"FILE INPUT", {kTarnChannelAlert, kTarnChannelFile, kTarnChannelInput}},
        {"xyz", {kTarnChannelAlert}},  // shares no character: nothing
        {"tarn,-alert", {kTarnChannelAll, kTarnChannelTarn, kTarnChannelGeneral, kTarnChannelMemory,
                         kTarnChannelConnection, kTarnChannelGraphics, kTarnChannelFile, kTarnChannelInput,
                         kTarnChannelSystem, kTarnChannel3d, kTarnChannelFont, kTarnChannelCodec, kTarnChannelMath,
                         kTarnChannelUlgl, kTarnChannelCapture}},
    };
    for (const Case& c : cases) {
        Start(c.value, nullptr);
        std::vector<int> on;
        for (int i = 0; i < kTarnChannelSlots; ++i)
            if (TarnIsChannelOn(i)) on.push_back(i);
        EXPECT_EQ(on, c.on) << (c.value ? c.value : "(unset)");
    }
}

TEST_F(TarnPrintTables, DeviceVariableSendsToTheDebuggerOnly) {
    Start(nullptr, "debugger -console");
    EXPECT_TRUE(TarnIsDeviceOn(kTarnDeviceDebugger));
    EXPECT_FALSE(TarnIsDeviceOn(kTarnDeviceConsole));
    EXPECT_FALSE(TarnIsDeviceOn(kTarnDeviceMono));
}

TEST_F(TarnPrintTables, RegisteredNamesTakeTheVariableAgain) {
    Start("sound", "cap");
    EXPECT_TRUE(TarnRegisterDevice(3, "capture", Capture));
    EXPECT_TRUE(TarnIsDeviceOn(3));  // "cap" matches the new device
    EXPECT_FALSE(TarnRegisterDevice(1, "console2", Capture));  // built-in slots are not for registration
    EXPECT_TRUE(TarnRegisterChannel(16, "sound"));
    EXPECT_TRUE(TarnIsChannelOn(16));
    TarnPrint(16, "%d dogs\n", 3);
    TarnPrint(kTarnChannelFile, "off\n");
    EXPECT_EQ(gLines, std::vector<std::string>{"3 dogs\n"});
    EXPECT_EQ(TarnCallDevice(3, 0, reinterpret_cast<intptr_t>("direct")), 1);
    EXPECT_EQ(TarnCallDevice(5, 0, 0), 0);
}

TEST_F(TarnPrintTables, LinesAreBoundedAndAlertsKeepPercentSigns) {
    Start(nullptr, "-console");
    TarnRegisterDevice(3, "capture", Capture);
    TarnDeviceOn(3, true);
    TarnAlert("100%s done %d", "", 5);
    TarnAlert("%s", "50% %n %s literal");
    const std::string longText(600, 'x');
    TarnAlert("%s", longText.c_str());
    ASSERT_EQ(gLines.size(), 3u);
    EXPECT_EQ(gLines[0], "100 done 5");
    EXPECT_EQ(gLines[1], "50% %n %s literal");
    EXPECT_EQ(gLines[2], std::string(255, 'x'));
}

TEST(TarnScreen, WritesControlsAndScrolls) {
    TarnScreenReset();
    EXPECT_EQ(TarnScreenCursor(), 1920);
    TarnScreenPrintAt(0, 0, "ab\x0e\x1f" "c\tX");
    const uint8_t* cells = TarnScreenCells();
    EXPECT_EQ(cells[0], 'a');
    EXPECT_EQ(cells[1], 0x07);
    EXPECT_EQ(cells[4], 'c');
    EXPECT_EQ(cells[5], 0x1f);   // attribute from the byte after 14
    EXPECT_EQ(cells[16], 'X');   // tab to column 8
    TarnScreenPrint("\b\bY");    // two back, then Y over column 8's neighbour
    EXPECT_EQ(cells[14], 'Y');
    TarnScreenPrintAt(0, 24, "last\n");
    EXPECT_EQ(TarnScreenCursor(), 3840);  // scrolled: start of the last row
    EXPECT_EQ(cells[23 * 160], 'l');
    TarnScreenPrint("\x0b");
    EXPECT_EQ(TarnScreenCursor(), 0);
    TarnScreenSetLevel(1);
    TarnScreenPrint("ignored");
    EXPECT_EQ(TarnScreenCursor(), 0);
    TarnScreenReset();
}

TEST(TarnReports, AssertionAnswersAndTheExitRoutine) {
    static std::string shown;
    static int exits = 0;
    exits = 0;
    TarnSetExitRoutine([](int, bool mainThread) { exits += mainThread ? 1 : 100; });
    TarnSetAssertPrompt([](const char* caption, const char* text) {
        shown = std::string(caption) + "|" + text;
        return TarnAssertAnswer::Retry;
    });
    EXPECT_EQ(TarnAssertFailed("a.cpp", 12, "x > 0"), 1);
    EXPECT_EQ(shown,
              "TARN Library|Assertion Failed!\n\nFile:\ta.cpp\nLine:\t12\n\n\nx > 0 is FALSE\n\n\n(Press Retry to debug "
              "the application)");
    TarnSetAssertPrompt([](const char*, const char*) { return TarnAssertAnswer::Ignore; });
    EXPECT_EQ(TarnAssertFailed("a.cpp", 12, "x > 0"), 0);
    TarnSetAssertPrompt([](const char*, const char*) { return TarnAssertAnswer::Abort; });
    TarnAssertFailed("a.cpp", 12, "x > 0");
    EXPECT_EQ(exits, 1);
    TarnSetAssertPrompt(nullptr);
    TarnSetExitRoutine(nullptr);
}

TEST(TarnReports, ASecondAbortDuringTheFirstReturnsAtOnce) {
    static int exits = 0;
    exits = 0;
    TarnSetExitRoutine([](int, bool) {
        ++exits;
        TarnReport(kTarnReportFatal, "nested %d", 2);  // returns without a second exit
    });
    TarnReport(kTarnReportFatal, "first %d", 1);
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(TarnReport(3, "unused slot"), 0);
    TarnSetExitRoutine(nullptr);
}

}  // namespace
