#include "framework/cGZFrameWork.h"

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "framework/FrameworkFakes.h"
#include "framework/FrameworkMain.h"
#include "framework/cGZFrameWorkW95.h"
#include "framework/cRZException.h"

using fakes::RecordingGraphics;
using fakes::RecordingService;
using fakes::TestApp;
using fakes::TheLog;

namespace {

// Builds a framework world of recording fakes; the app has two services of
// its own with the same id (and one with another id).
class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        TheLog().clear();
        platform::MessageQueue::Current()->Clear();
        GZSetAppActive(true);
        GZSetMessageDiscard(true);
        cRZCmdLine::SetSwitchRestriction(true);
        cGZFrameWorkProviders providers;
        providers.createGraphicSystem = [] { return new RecordingGraphics; };
        providers.createSoundSystem = [this] { return new RecordingService(kGZSoundSystemServiceID, "sound", true, soundShutdown); };
        providers.createFontSystem = [] { return new RecordingService(kGZFontSystemServiceID, "fonts"); };
        RZSetFrameWorkProviders(providers);
        RZSetAppFactory([this] {
            auto* app = new TestApp(quitAfter, 3);
            app->batch = batch;
            app->AddService(&appServiceA);
            app->AddService(&appServiceB);
            app->AddService(&appServiceC);
            this->app = app;
            return app;
        });
        RZSetAppDestroyer([](cGZApp* app) { delete app; });
    }
    void TearDown() override {
        RZSetAppFactory(nullptr);
        RZSetAppDestroyer(nullptr);
        RZSetFrameWorkProviders({});
        cRZCmdLine::SetSwitchRestriction(false);
    }

    std::vector<std::string> Lines(const std::string& prefix) {
        std::vector<std::string> out;
        for (const auto& line : TheLog())
            if (line.rfind(prefix, 0) == 0) out.push_back(line);
        return out;
    }

    int quitAfter = 3;
    bool batch = false;
    bool soundShutdown = true;
    TestApp* app = nullptr;
    RecordingService appServiceA{100, "A"};
    RecordingService appServiceB{100, "B"};
    RecordingService appServiceC{-5, "C"};
};

}  // namespace

TEST_F(FrameworkTest, InitsFromHighestIdDownAndShutsDownFromLowestUp) {
    EXPECT_EQ(FrameworkMain(cRZCmdLine("tova.exe")), 3);
    EXPECT_EQ(Lines("init "), (std::vector<std::string>{"init fonts", "init graphics", "init sound",
                                                        "init B", "init A", "init C", "init app"}));
    // Equal ids: B was added after A, so it starts before A and stops after it.
    // The queue manager (id 0) records nothing itself.
    EXPECT_EQ(Lines("shutdown "), (std::vector<std::string>{"shutdown app", "shutdown C", "shutdown A",
                                                            "shutdown B", "shutdown sound", "shutdown graphics",
                                                            "shutdown fonts"}));
    EXPECT_EQ(RZGetFramework(), nullptr);
    EXPECT_EQ(TheLog().back(), "app deleted");
}

TEST_F(FrameworkTest, StartUpStepsComeInOrder) {
    FrameworkMain(cRZCmdLine(""));
    auto& log = TheLog();
    auto at = [&](const std::string& s) { return std::find(log.begin(), log.end(), s) - log.begin(); };
    EXPECT_LT(at("app init"), at("init fonts"));
    EXPECT_LT(at("init app"), at("post framework init"));
    EXPECT_LT(at("post framework init"), at("post run"));
    EXPECT_LT(at("post run"), at("graphics shutting down"));
    EXPECT_LT(at("graphics shutting down"), at("shutdown app"));
}

TEST_F(FrameworkTest, TicksServicesOnEveryFourthIdleStep) {
    quitAfter = 9;
    FrameworkMain(cRZCmdLine(""));
    EXPECT_EQ(Lines("tick A"), (std::vector<std::string>{"tick A 0", "tick A 1", "tick A 2"}));
    // Highest id first within one tick.
    auto ticks = Lines("tick ");
    ASSERT_GE(ticks.size(), 6u);
    EXPECT_EQ(ticks[0], "tick fonts 0");
    EXPECT_EQ(ticks[1], "tick graphics 0");
    EXPECT_EQ(Lines("update graphics").size(), 9u);
}

TEST_F(FrameworkTest, NoSoundKeepsTheSoundSystemOutOfTheList) {
    FrameworkMain(cRZCmdLine("-nosound"));
    for (const auto& line : TheLog()) EXPECT_EQ(line.find("sound"), std::string::npos) << line;
}

TEST_F(FrameworkTest, NoSoundStillCreatesTheSoundObject) {
    RZSetAppFactory(nullptr);
    cGZFrameWorkW95 framework;
    framework.SetSoundEnabled(false);
    framework.Init();
    ASSERT_NE(framework.GetSoundSystem(), nullptr);
    EXPECT_FALSE(framework.GetServiceList().Contains(framework.GetSoundSystem()));
    EXPECT_TRUE(Lines("init sound").empty());
    framework.Shutdown();
    EXPECT_EQ(framework.GetSoundSystem(), nullptr);
}

TEST_F(FrameworkTest, TheLanguageManagerIsInitialisedButNotListed) {
    RZSetAppFactory(nullptr);
    cGZFrameWorkW95 framework;
    framework.Init();
    auto* manager = dynamic_cast<cRZLanguageManager*>(framework.GetLanguageManager());
    ASSERT_NE(manager, nullptr);
    EXPECT_FALSE(framework.GetServiceList().Contains(manager));
    // Listed: fonts, queue manager, sound, graphics.
    EXPECT_EQ(framework.GetServiceList().Count(), 4u);
    EXPECT_TRUE(framework.GetServiceList().Contains(dynamic_cast<cIGZSystemService*>(framework.GetMessageQueueManager())));
    framework.Shutdown();
}

TEST_F(FrameworkTest, AFailingInitLeavesThatServiceNotRunningAndStartUpGoesOn) {
    RecordingService failing(50, "failing", false);
    RecordingService fine(40, "fine");
    cGZSystemServiceList list;
    list.Add(&failing);
    list.Add(&fine);
    EXPECT_TRUE(list.InitAll());
    EXPECT_FALSE(failing.IsRunning());
    EXPECT_TRUE(fine.IsRunning());
    EXPECT_TRUE(list.ShutdownAll());
    EXPECT_FALSE(fine.IsRunning());
}

TEST_F(FrameworkTest, AFailingShutdownIsReportedAndTheApplicationStillDestroyed) {
    soundShutdown = false;
    EXPECT_EQ(FrameworkMain(cRZCmdLine("")), -1);
    EXPECT_EQ(TheLog().back(), "app deleted");
    EXPECT_EQ(RZGetFramework(), nullptr);
    // Every service was still asked to shut down.
    EXPECT_EQ(Lines("shutdown ").size(), 7u);
}

TEST_F(FrameworkTest, ShutdownThrowsTheFrameworkException) {
    soundShutdown = false;
    RZSetAppFactory(nullptr);
    cGZFrameWorkW95 framework;
    framework.Init();
    try {
        framework.Shutdown();
        FAIL() << "no exception";
    } catch (const cRZException& e) {
        EXPECT_STREQ(e.GetMessage(), "Error shutting down available services");
    }
    // The sound system is not deleted after a failed shutdown.
    EXPECT_NE(framework.GetSoundSystem(), nullptr);
}

TEST_F(FrameworkTest, BatchModeReturnsZeroRightAfterInit) {
    batch = true;
    EXPECT_EQ(FrameworkMain(cRZCmdLine("")), 0);
    EXPECT_TRUE(Lines("shutdown").empty());
    EXPECT_TRUE(Lines("init sound").empty());  // batch mode: no sound or graphics service
    EXPECT_TRUE(Lines("init graphics").empty());
    cGZFrameWork* framework = RZGetFramework();
    ASSERT_NE(framework, nullptr);
    EXPECT_EQ(framework->GetApp()->GetFramework(), framework);
    framework->Shutdown();
    delete framework;
    RZSetFramework(nullptr);
}

TEST_F(FrameworkTest, CallbackCrashReachesTheApplication) {
    ClearCallbackCrash();
    EXPECT_EQ(GetCallbackCrash(), nullptr);
    RZSetAppFactory(nullptr);
    auto* framework = new cGZFrameWorkW95;
    RZSetFramework(framework);
    TestApp testApp;
    framework->SetApp(&testApp);
    ReportCallbackCrash("BoxX Update");
    EXPECT_STREQ(GetCallbackCrash(), "BoxX Update");
    EXPECT_EQ(TheLog().back(), "Crash in BoxX Update");
    framework->DetachApp();
    delete framework;
    RZSetFramework(nullptr);
    ReportCallbackCrash("late");  // no framework: the name is still kept
    EXPECT_STREQ(GetCallbackCrash(), "late");
    ClearCallbackCrash();
}

// A reader of the name (the application, on the crashing thread) may still
// hold it when another callback reports; the caller's own buffer may be gone.
TEST(CallbackCrash, AKeptNameStaysValidAfterLaterReports) {
    ClearCallbackCrash();
    std::string callerBuffer = "BoxX Update";
    ReportCallbackCrash(callerBuffer.c_str());
    callerBuffer = "overwritten";
    const char* first = GetCallbackCrash();
    EXPECT_STREQ(first, "BoxX Update");
    ReportCallbackCrash("GZSnd Streaming Callback");
    EXPECT_STREQ(GetCallbackCrash(), "GZSnd Streaming Callback");
    ClearCallbackCrash();
    EXPECT_EQ(GetCallbackCrash(), nullptr);
    EXPECT_STREQ(first, "BoxX Update");
}

TEST(ButtonLabels, TableOfIndexes) {
    EXPECT_EQ(GetButtonLabel(1), "Cancel");
    EXPECT_EQ(GetButtonLabel(2), "No");
    EXPECT_EQ(GetButtonLabel(3), "OK");
    EXPECT_EQ(GetButtonLabel(4), "Yes");
    EXPECT_EQ(GetButtonLabel(5), "");
    EXPECT_EQ(GetButtonLabel(0), "Cancel");
    EXPECT_EQ(GetButtonLabel(9), "Cancel");
    SetButtonLabel(8, cRZString("x"));
    SetButtonLabel(0, cRZString("x"));
    for (int i = 1; i <= 7; ++i) EXPECT_NE(GetButtonLabel(i), "x");
    SetButtonLabel(4, cRZString("Ja"));
    EXPECT_EQ(GetButtonLabel(4), "Ja");
    SetButtonLabel(4, cRZString("Yes"));

    EXPECT_EQ(GetButtonHotkey(4), 'y');
    EXPECT_EQ(GetButtonHotkey(2), 'n');
    EXPECT_EQ(GetButtonHotkey(7), 'y');
    SetButtonHotkey(4, 'j');
    SetButtonHotkey(3, 'q');
    EXPECT_EQ(GetButtonHotkey(4), 'j');
    EXPECT_EQ(GetButtonHotkey(3), 'y');
    SetButtonHotkey(4, 'y');
}

TEST_F(FrameworkTest, FatalExceptionHoldsDrawingWarnsAndExitsWithMinusOne) {
    RZSetAppFactory(nullptr);
    RZSetFrameWorkProviders({});  // the stand-in graphic system warns on stderr
    EXPECT_EXIT(
        {
            cGZFrameWorkW95 framework;
            framework.SetFatalExceptionDelay(10);
            framework.HandleFatalException();
        },
        ::testing::ExitedWithCode(255), "Exception Encountered: \\?\\?\\? Unknown Exception");
}
