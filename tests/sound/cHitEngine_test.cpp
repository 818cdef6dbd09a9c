#include "sound/cHitEngine.h"

#include <vector>

#include "SoundFixture.h"
#include "framework/RandomSequence.h"
#include "sound/cHitControlGroup.h"
#include "sound/cHitList.h"
#include "sound/cSoundObject.h"

using namespace sound_test;

namespace {

// A sound object that writes down what is asked of it.
class RecordingObject : public cSoundObject {
public:
    explicit RecordingObject(std::vector<std::string>* log, std::string name = "o", int* deaths = nullptr)
        : cSoundObject(kTrackClass), mLog(log), mName(std::move(name)), mDeaths(deaths) {}
    ~RecordingObject() override {
        if (mDeaths) ++*mDeaths;
    }
    bool Init() override { return Note("init"); }
    bool Shutdown() override { return Note("shutdown"); }
    bool Stop() override { return Note("stop"); }
    bool Kill() override { return Note("kill"); }
    bool SetVolume(int32_t) override { return Note("volume"); }
    bool SetPitch(int32_t) override { return true; }
    bool SetPan(int32_t) override { return true; }
    bool SetPosition(int32_t, int32_t, int32_t) override { return true; }
    bool SetSetting23(int32_t v) override { return SetVar(23, v, false); }
    bool SetSetting24(int32_t v) override { return SetVar(24, v, false); }
    bool Pause() override { return Note("pause"); }
    bool Resume() override { return Note("resume"); }
    bool AddUse() override { return true; }
    bool ReleaseUse() override { return true; }
    bool AddUser() override { return true; }
    bool ReleaseUser() override { return true; }
    void Tick() override {
        Note("tick");
        if (onTick) onTick();
    }
    void RefreshOutput() override { Note("refresh"); }
    std::function<void()> onTick;

private:
    bool Note(const char* what) {
        if (mLog) mLog->push_back(mName + " " + what);
        return true;
    }
    std::vector<std::string>* mLog;
    std::string mName;
    int* mDeaths;
};

class HitEngineTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        ASSERT_TRUE(engine.Init(service.get(), 1234));
    }
    void TearDown() override { engine.Shutdown(); }
    RecordingObject* Object(const std::string& name, int* deaths = nullptr) {
        return new RecordingObject(&log, name, deaths);
    }
    std::vector<std::string> log;
    int deaths = 0;
    cHitEngine engine;
};

}  // namespace

TEST_F(HitEngineTest, RegisteringAnIdAgainReleasesTheOldObjectButHoldersKeepIt) {
    RecordingObject* first = Object("a", &deaths);
    ASSERT_TRUE(engine.RegisterObject(5, first));
    EXPECT_EQ(first->GetId(), 5u);
    EXPECT_EQ(log, std::vector<std::string>{"a init"});  // the first reference
    RecordingObject* second = Object("b", &deaths);
    engine.RegisterObject(5, second);
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(engine.GetObject(5), second);

    // A holder of its own reference keeps the old one alive.
    second->AddRef();
    engine.Activate(second);
    engine.RegisterObject(5, Object("c", &deaths));
    EXPECT_EQ(deaths, 1);
    EXPECT_FALSE(engine.IsActive(second));
    EXPECT_EQ(second->GetVar(19), 1024);
    second->Release();
    EXPECT_EQ(deaths, 2);
}

TEST_F(HitEngineTest, LargeIdsLiveInTheMapAndEveryWalkVisitsOnlyRegisteredObjects) {
    engine.RegisterObject(5000, Object("big"));
    engine.RegisterObject(0xFFFFFFF0u, Object("huge"));
    engine.RegisterObject(7, Object("small"));
    EXPECT_NE(engine.GetObject(5000), nullptr);
    EXPECT_EQ(engine.GetObject(5000)->GetId(), 5000u);
    EXPECT_EQ(engine.GetObject(5001), nullptr);
    EXPECT_EQ(engine.HighestId(), 0xFFFFFFF0u);
    EXPECT_EQ(engine.ObjectCount(), 3u);
    log.clear();
    engine.StopAll();  // at once, though the highest id is near 2^32
    EXPECT_EQ(log, (std::vector<std::string>{"small kill", "big kill", "huge kill"}));
    log.clear();
    engine.MuteAll();
    EXPECT_TRUE(engine.IsMuted());
    EXPECT_EQ(log, (std::vector<std::string>{"small pause", "big pause", "huge pause"}));
    const uint32_t before = engine.Now();
    log.clear();
    engine.ResumeAll();
    EXPECT_FALSE(engine.IsMuted());
    EXPECT_EQ(engine.Now(), before + 1);
    EXPECT_EQ(log, (std::vector<std::string>{"small resume", "big resume", "huge resume"}));
}

TEST_F(HitEngineTest, VariablesFallBackToDefaultsAndUncoveredNumbersReadZero) {
    RecordingObject* track = Object("t");
    engine.RegisterObject(3, track);
    EXPECT_EQ(track->GetVar(19), 1024);
    EXPECT_TRUE(track->SetVar(19, 300, false));
    EXPECT_EQ(track->GetVar(19), 300);
    struct Case {
        int32_t id;
        int32_t value;
    };
    for (const Case c : {Case{17, 32}, Case{20, 512}, Case{21, 3600}, Case{29, 10000}, Case{39, 1}, Case{47, 0}})
        EXPECT_EQ(track->GetVar(c.id), c.value) << c.id;
    // Numbers in no bank: 0, and writes go nowhere.
    for (int32_t id : {48, 49, 63, 75, 89, 0, 128}) {
        EXPECT_FALSE(track->SetVar(id, 77, false)) << id;
        EXPECT_EQ(track->GetVar(id), 0) << id;
    }
    // The global chain: 113 is the high bank's, 124 comes from the second bank.
    EXPECT_EQ(engine.GetGlobal(124), 1024);
    engine.SetGlobal(113, 9);
    engine.SetGlobal(100, 8);
    EXPECT_EQ(engine.GlobalChain().Own(113), 9);
    EXPECT_EQ(engine.GetGlobal(100), 8);
    engine.SetGlobal(124, cHitVarBank::kUnset);
    EXPECT_EQ(engine.GetGlobal(124), 1024);
    engine.SetGlobal(70, 5);
    EXPECT_EQ(engine.GetGlobal(70), 0);
}

TEST_F(HitEngineTest, DuckingKeepsTheLoudestLevelAndRefreshesActiveTracks) {
    RecordingObject* t = Object("t");
    RecordingObject* u = Object("u");
    engine.RegisterObject(1, t);
    engine.RegisterObject(2, u);
    engine.Activate(t);
    log.clear();
    engine.SetDucking(t, 700);
    EXPECT_EQ(log, std::vector<std::string>{"t refresh"});
    engine.SetDucking(u, 400);
    EXPECT_EQ(engine.GetGlobal(123), 700);
    engine.SetDucking(t, 0);
    EXPECT_EQ(engine.GetGlobal(123), 400);
    engine.ClearDucking();
    EXPECT_EQ(engine.GetGlobal(123), 0);
}

TEST_F(HitEngineTest, UpdateTicksActiveTracksInOrderAndSurvivesOneLeaving) {
    RecordingObject* a = Object("a");
    RecordingObject* b = Object("b");
    RecordingObject* c = Object("c");
    for (auto* o : {a, b, c}) engine.RegisterObject(o == a ? 1 : o == b ? 2 : 3, o);
    engine.Activate(a);
    engine.Activate(b);
    engine.Activate(c);
    engine.Activate(a);  // to the end
    b->onTick = [&] { engine.Deactivate(b); };
    log.clear();
    const uint32_t before = engine.Now();
    engine.Update();
    EXPECT_EQ(log, (std::vector<std::string>{"b tick", "c tick", "a tick"}));
    EXPECT_EQ(engine.Now(), before + 1);
    EXPECT_EQ(engine.ActiveCount(), 2u);
    engine.SetEnabled(false);
    log.clear();
    engine.Update();
    EXPECT_TRUE(log.empty());
}

TEST_F(HitEngineTest, ControlGroupsReachTheirActiveMembers) {
    RecordingObject* a = Object("a");
    RecordingObject* b = Object("b");
    engine.RegisterObject(1, a);
    engine.RegisterObject(2, b);
    engine.Activate(a);
    cHitControlGroup* group = engine.GetControlGroup(9);
    EXPECT_EQ(engine.GetControlGroup(9), group);
    EXPECT_EQ(group->GetClassId(), cISoundObject::kControlGroupClass);
    group->AddMember(1);
    group->AddMember(2);
    log.clear();
    group->SetVolume(2000);
    EXPECT_EQ(group->Level(), 1024);
    EXPECT_EQ(log, std::vector<std::string>{"a refresh"});
    group->SetVar(23, 5, false);
    EXPECT_EQ(a->GetVar(23), 5);
    EXPECT_EQ(b->GetVar(23), 0);
    EXPECT_EQ(group->GetVar(23), 1);
}

TEST_F(HitEngineTest, BanksSymbolsSequenceGroupsAndErrors) {
    EXPECT_FALSE(engine.SetTrackData(0, 0));  // no bank yet
    EXPECT_FALSE(engine.LoadBank((dir / "missing.bnk").string().c_str()));
    WriteFile(dir / "a.bnk", {1, 2, 3, 4, 5});
    ASSERT_TRUE(engine.LoadBank((dir / "a.bnk").string().c_str()));
    EXPECT_TRUE(engine.SetTrackData(10, 3));
    EXPECT_FALSE(engine.SetTrackData(11, 5));
    EXPECT_FALSE(engine.SetTrackData(2048, 0));
    size_t left = 0;
    const uint8_t* code = engine.GetTrackData(10, &left);
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(code[0], 4);
    EXPECT_EQ(left, 2u);
    EXPECT_EQ(engine.GetTrackData(11), nullptr);

    engine.AddSymbol("kick", 42);
    EXPECT_EQ(engine.LookupSymbol("kick"), 42u);
    EXPECT_EQ(engine.LookupSymbol("snare"), 0u);
    engine.ClearSymbols();
    EXPECT_EQ(engine.LookupSymbol("kick"), 0u);

    EXPECT_TRUE(engine.SetSequenceGroup(127, 5));
    EXPECT_EQ(engine.GetSequenceGroup(127), 5u);
    EXPECT_FALSE(engine.SetSequenceGroup(128, 5));
    EXPECT_FALSE(engine.SetSequenceGroup(0, 5));
    EXPECT_EQ(engine.GetSequenceGroup(-3), 0u);

    RecordingObject* o = Object("o");
    engine.RegisterObject(1, o);
    log.clear();
    testing::internal::CaptureStderr();
    engine.ReportError(o, "Illegal Instruction");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Illegal Instruction\n");
    EXPECT_EQ(log, std::vector<std::string>{"o kill"});
}

TEST_F(HitEngineTest, MuteAndResumeSilenceAndRestoreAPlayingSoundOnTheMix) {
    // A sound object over a real sound: pausing stops it, the mix goes quiet.
    const std::string file = WriteWav("loop.wav", platform::PcmFormat::Make(1, 22050, 16), Tone(2205, 1, 22050));
    class SoundHolder : public RecordingObject {
    public:
        SoundHolder(cIGZSnd* s) : RecordingObject(nullptr), sound(s) {}
        ~SoundHolder() override { sound->Release(); }
        bool Pause() override { return sound->Pause(); }
        bool Resume() override { return sound->Play(1024, true, 1); }
        cIGZSnd* sound;
    };
    cIGZSnd* sound = service->CreateSound(file.c_str(), 0);
    engine.RegisterObject(4, new SoundHolder(sound));
    ASSERT_TRUE(sound->Play(1024, true, 1));
    sink.Advance(100);
    auto loud = [&] {
        int peak = 0;
        for (int16_t s : sink.Captured()) peak = std::max(peak, std::abs(int(s)));
        sink.ClearCaptured();
        return peak;
    };
    EXPECT_GT(loud(), 5000);
    engine.MuteAll();
    sink.Advance(100);
    EXPECT_EQ(loud(), 0);
    engine.ResumeAll();
    sink.Advance(100);
    EXPECT_GT(loud(), 5000);
}

TEST(cHitList, KeepOutTwoNeverRepeatsWithinTwoPicks) {
    cHitList list;
    for (uint32_t id = 1; id <= 4; ++id) list.Add(id);
    EXPECT_EQ(list.KeepOut(), 2u);
    EXPECT_FALSE(list.IsFixed());
    RandomSequence random(99);
    std::vector<uint32_t> picks;
    for (int i = 0; i < 40; ++i) {
        picks.push_back(list.Pick(random));
        EXPECT_LE(list.Recent().size(), 2u);
        EXPECT_EQ(list.Recent().size() + list.Available().size(), 4u);
    }
    for (size_t i = 1; i < picks.size(); ++i) {
        EXPECT_NE(picks[i], picks[i - 1]) << i;
        if (i >= 2) EXPECT_NE(picks[i], picks[i - 2]) << i;
    }
}

TEST(cHitList, AFixedHugeKeepOutPlaysEachOnceThenRepeatsThatOrder) {
    cHitList list;
    for (uint32_t id = 10; id < 16; ++id) list.Add(id);
    list.SetKeepOut(1000000);
    EXPECT_TRUE(list.IsFixed());
    RandomSequence random(7);
    std::vector<uint32_t> first;
    for (int i = 0; i < 6; ++i) first.push_back(list.Pick(random));
    std::vector<uint32_t> sorted = first;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<uint32_t>{10, 11, 12, 13, 14, 15}));
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 6; ++i) EXPECT_EQ(list.Pick(random), first[size_t(i)]);
    // Adding follows the size only while the keep-out is not fixed.
    list.Add(20);
    EXPECT_EQ(list.KeepOut(), 1000000u);
}

TEST(cHitList, RemoveTakesEveryOccurrenceAndClearKeepsTheKeepOut) {
    cHitList list;
    for (uint32_t id : {1, 2, 2, 3, 4, 5}) list.Add(id);
    EXPECT_EQ(list.KeepOut(), 3u);
    list.Remove(2);
    EXPECT_EQ(list.Available(), (std::deque<uint32_t>{1, 3, 4, 5}));
    EXPECT_EQ(list.KeepOut(), 2u);
    list.Clear();
    EXPECT_TRUE(list.Available().empty());
    EXPECT_EQ(list.KeepOut(), 2u);
    RandomSequence random(1);
    EXPECT_EQ(list.Pick(random), 0u);
}
