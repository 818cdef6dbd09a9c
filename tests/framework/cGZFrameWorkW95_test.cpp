#include "framework/cGZFrameWorkW95.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "framework/FrameworkFakes.h"
#include "framework/TP.h"

using namespace std::chrono;

namespace {

// An application whose ticks follow a script: at tick n it quits with the
// code given for n.
class ScriptedApp : public fakes::TestApp {
public:
    std::map<int, int> quitAt;
    bool Tick() override {
        ++ticks;
        if (auto it = quitAt.find(ticks); it != quitAt.end()) GetFramework()->Quit(it->second);
        return true;
    }
};

class MainLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        RZSetFrameWorkProviders({});
        RZSetAppFactory(nullptr);
        platform::MessageQueue::Current()->Clear();
        GZSetAppActive(true);
        GZSetMessageDiscard(true);
        framework = std::make_unique<cGZFrameWorkW95>();
        RZSetFramework(framework.get());
        app = new ScriptedApp;
        framework->SetApp(app);
        framework->SetMessageDispatcher([this](const platform::QueuedMessage& m) { dispatched.push_back(m.message); });
    }
    void TearDown() override {
        framework.reset();  // releases the application
        RZSetFramework(nullptr);
    }

    std::unique_ptr<cGZFrameWorkW95> framework;
    ScriptedApp* app = nullptr;
    std::vector<uint32_t> dispatched;
};

}  // namespace

TEST_F(MainLoopTest, QuitEndsTheLoopWithItsCode) {
    app->quitAt = {{2, 3}};
    framework->Run();
    EXPECT_EQ(RZGetExitCode(), 3);
    EXPECT_EQ(app->ticks, 2);
}

TEST_F(MainLoopTest, QuitIgnoreCountPassesTheFirstQuitOn) {
    app->quitAt = {{1, 5}, {2, 3}};
    framework->SetQuitIgnoreCount(1);
    framework->Run();
    EXPECT_EQ(RZGetExitCode(), 3);
    EXPECT_EQ(framework->GetQuitIgnoreCount(), 0);
    EXPECT_EQ(app->seen, (std::vector<uint32_t>{platform::kMsgQuit}));
    EXPECT_EQ(dispatched, (std::vector<uint32_t>{platform::kMsgQuit}));
}

TEST_F(MainLoopTest, DdeAcknowledgementIsDroppedOnlyWhileTheSwitchIsOn) {
    for (bool discard : {true, false}) {
        GZSetMessageDiscard(discard);
        app->seen.clear();
        dispatched.clear();
        app->ticks = 0;
        app->quitAt = {{1, 0}};
        framework->GetMainQueue().Post(0x3E4);
        framework->GetMainQueue().Post(0x401);
        framework->Run();
        std::vector<uint32_t> expected = discard ? std::vector<uint32_t>{0x401} : std::vector<uint32_t>{0x3E4, 0x401};
        EXPECT_EQ(app->seen, expected) << "discard=" << discard;
        EXPECT_EQ(dispatched, expected) << "discard=" << discard;
    }
}

TEST_F(MainLoopTest, TheApplicationMayConsumeAMessage) {
    app->consumeMessages = true;
    app->quitAt = {{1, 0}};
    framework->GetMainQueue().Post(0x401);
    framework->Run();
    EXPECT_EQ(app->seen, (std::vector<uint32_t>{0x401}));
    EXPECT_TRUE(dispatched.empty());
}

TEST_F(MainLoopTest, ServicesTickOnIdleSteps1And5And9) {
    fakes::RecordingService service(10, "s");
    framework->GetServiceList().Add(&service);
    fakes::TheLog().clear();
    for (int step = 1; step <= 9; ++step) {
        framework->Tick();
        size_t ticks = fakes::TheLog().size();
        EXPECT_EQ(ticks, step >= 9 ? 3u : step >= 5 ? 2u : 1u) << "step " << step;
    }
    EXPECT_EQ(fakes::TheLog(), (std::vector<std::string>{"tick s 0", "tick s 1", "tick s 2"}));
    framework->GetServiceList().Clear();
}

TEST_F(MainLoopTest, AnInactiveIdleStepWaitsUpTo100MsForInput) {
    GZSetAppActive(false);
    auto start = steady_clock::now();
    framework->Tick();
    EXPECT_GE(steady_clock::now() - start, milliseconds(90));

    // Input already waiting ends the wait at once (posted first, so no
    // thread start-up time on a loaded machine is measured).
    framework->GetMainQueue().Post(0x100);  // a key
    start = steady_clock::now();
    framework->Tick();
    EXPECT_LT(steady_clock::now() - start, milliseconds(90));
    GZSetAppActive(true);
    framework->GetMainQueue().Clear();
}

TEST_F(MainLoopTest, DispatchedMessagesAreProfiled) {
    TP::SetEnabled(true);
    app->quitAt = {{1, 0}};
    framework->GetMainQueue().Post(0x401);
    framework->Run();
    bool found = false;
    for (const TPInterval& interval : TP::Get().GetIntervals())
        found = found || std::string(interval.label) == "FW::DispatchMessage";
    EXPECT_TRUE(found);
    TP::SetEnabled(false);
}

TEST(TP, IntervalsBearTheLabelOfTheWorkThatBeganThem) {
    int64_t now = 0;
    TP::SetClock([&] { return now; }, 1000.0);  // counts are milliseconds
    TP::SetEnabled(true);
    TP tp;  // end mark at 0, "TP::Constructor"
    now = 5;
    tp.AddSample("Work");
    now = 12;
    tp.PerTickProcessing();
    ASSERT_EQ(tp.GetIntervals().size(), 2u);
    EXPECT_STREQ(tp.GetIntervals()[0].label, "TP::Constructor");
    EXPECT_FLOAT_EQ(tp.GetIntervals()[0].microseconds, 5000.0f);
    EXPECT_STREQ(tp.GetIntervals()[1].label, "Work");
    EXPECT_FLOAT_EQ(tp.GetIntervals()[1].microseconds, 7000.0f);

    tp.AddFrameSample({now, "DDD::Update", 1});
    now = 20;
    tp.AddSample("More");
    now = 30;
    tp.PerTickProcessing();
    ASSERT_EQ(tp.GetIntervals().size(), 3u);
    EXPECT_STREQ(tp.GetIntervals()[0].label, "TP::Done");
    EXPECT_STREQ(tp.GetIntervals()[1].label, "TP::SystemOverhead");
    EXPECT_STREQ(tp.GetIntervals()[2].label, "More");
    EXPECT_FLOAT_EQ(tp.GetIntervals()[1].microseconds, 8000.0f);
    EXPECT_TRUE(tp.GetFrameSamples().empty());
    ASSERT_EQ(tp.GetPreviousFrameSamples().size(), 1u);
    EXPECT_STREQ(tp.GetPreviousFrameSamples()[0].label, "DDD::Update");

    // Off: nothing is stored and the intervals stay.
    TP::SetEnabled(false);
    tp.AddSample("Ignored");
    tp.PerTickProcessing();
    EXPECT_EQ(tp.GetIntervals().size(), 3u);
    EXPECT_EQ(tp.GetTickSamples().size(), 1u);  // only "TP::SystemOverhead"
    TP::SetClock(nullptr, 0);
}
