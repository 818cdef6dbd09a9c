#include "sound/cTrackPlayer.h"

#include "TrackFixture.h"
#include "sound/cHitControlGroup.h"
#include "sound/cHitList.h"
#include "sound/cSampleChannel.h"
#include "sound/cSamplePatch.h"

using namespace sound_test;

namespace {

// Track 10 runs program "main" (with patch 1 when `patch`).
std::string OneTrack(const std::string& program, bool patch = false) {
    return std::string("track 10 T 1024 0 0 0 0 main ") + (patch ? "1" : "0") + "\nprogram main\n" + program + "\n";
}

}  // namespace

TEST_F(TrackTest, LoadbThenWaitWaitsThatManyTicks) {
    Load(OneTrack("Loadb 5 10\nWait 5\nInc 6\nWait 5"));
    cTrack* track = Track(10);
    ASSERT_NE(track, nullptr);
    track->StartAndActivate(0, 0, 0);
    Ticks(1);
    EXPECT_EQ(track->GetLocal(5), 10);
    EXPECT_EQ(track->WaitUntil(), engine.Now() + 10);
    Ticks(9);
    EXPECT_EQ(track->GetLocal(6), 0);
    Ticks(1);
    EXPECT_EQ(track->GetLocal(6), 1);
    EXPECT_TRUE(errors.empty());
}

TEST_F(TrackTest, LoadlAboveSixteenBitsStoresAndReportsFunnyLongValue) {
    Load(OneTrack("Loadl 5 70000\nWait 5"));
    Track(10)->StartAndActivate(0, 0, 0);
    Ticks(1);
    EXPECT_EQ(Track(10)->GetLocal(5), 70000);
    EXPECT_EQ(errors, std::vector<std::string>{"Funny long value"});
}

TEST_F(TrackTest, ALoopWithoutWaitRuns102InstructionsThenStops) {
    Load(OneTrack("SetLoop\nInc 5\nLoop") + "track 11 U 1024 0 0 0 0 idle 0\nprogram idle\nLoadb 4 1\nw:\nWait 4\nJump w\n");
    Track(10)->StartAndActivate(0, 0, 0);
    Track(11)->StartAndActivate(0, 0, 0);
    Ticks(1);
    EXPECT_EQ(Track(10)->GetLocal(5), 51);  // SetLoop, then 101 of Inc and Loop
    EXPECT_EQ(errors, std::vector<std::string>{"Too many instructions executed without wait (infinite loop?)"});
    EXPECT_FALSE(Track(10)->IsRunning());
    Ticks(5);
    EXPECT_TRUE(Track(11)->IsRunning());
}

TEST_F(TrackTest, ReturnWithAnEmptyStackFadesAPlayingTrackOut) {
    Load(OneTrack("NoteOnByte 0\nReturn\nInc 5\nWait 5", true));
    cTrack* track = Track(10);
    track->StartAndActivate(0, 0, 0);
    Ticks(1);
    ASSERT_TRUE(track->IsRunning());
    EXPECT_EQ(track->GetLocal(45), 1);
    EXPECT_EQ(track->GetLocal(5), 0);  // nothing runs after the stop
    Ticks(1);
    EXPECT_EQ(track->GetLocal(19), 1024 - 100);
    Ticks(11);
    EXPECT_FALSE(track->IsRunning());
    EXPECT_TRUE(errors.empty());
}

TEST_F(TrackTest, CallAndReturnComeBackAfterTheCall) {
    Load(OneTrack("Call sub\nInc 6\nLoadb 4 50\nWait 4\nprogram sub\nInc 5\nReturn"));
    Track(10)->StartAndActivate(0, 0, 0);
    Ticks(1);
    EXPECT_EQ(Track(10)->GetLocal(5), 1);
    EXPECT_EQ(Track(10)->GetLocal(6), 1);
    EXPECT_EQ(Track(10)->CallDepth(), 0u);
}

TEST_F(TrackTest, WaitGtRetestsEveryTwoTicks) {
    Load(OneTrack("Loadb 5 3\nLoadb 6 4\nWaitGt 5 6\nLoadb 7 1\nLoadb 4 100\nWait 4"));
    cTrack* track = Track(10);
    track->StartAndActivate(0, 0, 0);
    Ticks(1);
    EXPECT_EQ(track->WaitUntil(), engine.Now() + 2);
    track->SetLocal(5, 9, false);
    Ticks(1);
    EXPECT_EQ(track->GetLocal(7), 0);
    Ticks(1);
    EXPECT_EQ(track->GetLocal(7), 1);
}

TEST_F(TrackTest, ArithmeticAndCompareOpcodes) {
    // Registers 1 and 2 start as the first two start arguments.
    struct Case {
        const char* program;
        int32_t a, b, expected;
    };
    const Case cases[] = {
        {"Add 1 2", 7, 5, 12},      {"Sub 1 2", 5, 7, -2},      {"Div 1 2", -7, 2, -3},     {"Mul 1 2", -3, 4, -12},
        {"Less 1 2", 3, 5, 1},      {"Less 1 2", 5, 3, 0},      {"Greater 1 2", 5, 3, 1},   {"Greater 1 2", 3, 3, 0},
        {"And 1 2", 5, 3, 1},       {"And 1 2", 3, 5, 0},       {"Nand 1 2", 1, 1, 0},      {"Nand 1 2", 1, 0, 1},
        {"Or 1 2", 5, 3, 7},        {"Nor 1 2", 0, 0, 1},       {"Nor 1 2", 0, 1, 0},       {"Xor 1 2", 5, 3, 6},
        {"Not 1", 0, 0, 1},         {"Not 1", 4, 0, 0},         {"Abs 1", -4, 0, 4},        {"Min 1 5", 9, 0, 5},
        {"Max 1 5", 3, 0, 5},       {"Inc 1", -1, 0, 0},        {"Dec 1", 0, 0, -1},        {"Set 1 2", 0, 8, 8},
        {"GetVar 1 2", 0, 2, 2},    {"GetVar 1 2", 0, 200, 0},  {"Rand 1 1 2", 10, 11, 10},
        {"SetLocalLocal 1 2", 0, 6, 6},
        // Compare and the conditional jumps.
        {"Cmp 1 2\nJumpEq yes", 4, 4, 1},  {"Cmp 1 2\nJumpEq yes", 4, 5, 0},  {"Cmp 1 2\nJumpNe yes", 4, 5, 1},
        {"Cmp 1 2\nJumpGt yes", 5, 4, 1},  {"Cmp 1 2\nJumpGt yes", 4, 4, 0},  {"Cmp 1 2\nJumpLt yes", 3, 4, 1},
        {"Cmp 1 2\nJumpGe yes", 4, 4, 1},  {"Cmp 1 2\nJumpGe yes", 3, 4, 0},  {"Cmp 1 2\nJumpLe yes", 4, 4, 1},
        {"Cmp 1 2\nJumpLe yes", 5, 4, 0},  {"Test 2\nJumpEq yes", 0, 0, 1},   {"Test 2\nJumpLt yes", 0, -3, 1},
    };
    std::string source;
    uint32_t id = 100;
    for (const Case& c : cases) {
        const bool jumps = std::string(c.program).find("yes") != std::string::npos;
        const std::string label = "p" + std::to_string(id);
        std::string program = c.program;
        if (jumps) {
            program.replace(program.find("yes"), 3, label + "yes");
            program += "\nLoadb 1 0\nJump " + label + "end\n" + label + "yes:\nLoadb 1 1\n" + label + "end:";
        }
        source += "track " + std::to_string(id) + " T 1024 0 0 0 0 " + label + " 0\nprogram " + label + "\n" + program +
                  "\nLoadb 4 100\nWait 4\n";
        ++id;
    }
    Load(source);
    id = 100;
    for (const Case& c : cases) {
        cTrack* track = Track(id++);
        ASSERT_NE(track, nullptr);
        track->StartAndActivate(c.a, c.b, 0);
    }
    Ticks(1);
    id = 100;
    for (const Case& c : cases)
        EXPECT_EQ(Track(id++)->GetLocal(1), c.expected) << c.program << " with " << c.a << ", " << c.b;
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(TrackTest, EachFaultGivesItsTextAndStopsOnlyItsTrack) {
    struct Case {
        const char* program;
        int32_t a, b;
        const char* error;
    };
    const Case cases[] = {
        {"Div 1 2", 5, 0, "TRACK ERROR: kTrackCmdDiv lSrcReg"},
        {"Rand 3 1 2", 5, 5, "TRACK ERROR: kTrackCmdRand lMaxReg"},
        {"PlayTrack 1", 999, 0, "TRACK ERROR: kTrackCmdPlayTrack Src"},
        {"KillTrack 1", 999, 0, "TRACK ERROR: kTrackCmdKillTrack Src"},
        {"SeqGroupKill 1", 200, 0, "TRACK ERROR: kTrackCmdSeqGroupKill Src"},
        {"SeqGroupReturn 1", 0, 0, "TRACK ERROR: kTrackCmdSeqGroupReturn lSrcReg"},
        {"Jump 1500", 0, 0, "TRACK ERROR: jump to an unset program 1500"},
        {"Call 5000", 0, 0, "TRACK ERROR: jump to an unset program 5000"},
        {"bytes 4 5", 0, 0, "Illegal Instruction"},
        {"bytes 5 5 1 0", 0, 0, "Illegal Instruction"},
        {"bytes 10", 0, 0, "Illegal Instruction"},
        {"bytes 52", 0, 0, "Illegal Instruction"},
        {"Nop", 0, 0, "Illegal Instruction"},  // runs off the bank's end
        {"Loadb 0 5", 0, 0, "TRACK ERROR: kTrackCmdLoadb"},
        {"Set 5 0", 0, 0, "TRACK ERROR: kTrackCmdSet Src"},
        {"WaitEq 0 1", 0, 0, "TRACK ERROR: kTrackCmdWaitEq Src"},
        {"WaitGt 1 0", 0, 0, "TRACK ERROR: kTrackCmdWaitGt lDestRegNum"},
        {"bytes 4 133 1", 0, 0, "Illegal Register Id"},
        {"SmartChoose 1", 0, 0, "Attempt to choose from empty track list"},
        {"SmartSetList 1", 77, 0, "Undefined Hit List"},
        {"NoteOnByte 0", 0, 0, "Attempt to play note with no channel"},
        {"GetSrcParam 3 1 2", 4, 30, "Illegal source parameter request"},
    };
    // Each case is the last program of its own bank, so running off the end
    // is running off the bank; program indexes are shared by every bank.
    uint32_t id = 100;
    for (const Case& c : cases) {
        const std::string label = "p" + std::to_string(id);
        Load("track " + std::to_string(id) + " T 1024 0 0 0 0 " + label + " 0\nprogram " + label + " " +
                 std::to_string(id) + "\n" + c.program + "\n",
             label);
        ++id;
    }
    Load("track 11 U 1024 0 0 0 0 idle 0\nprogram idle 1\nLoadb 4 1\nWait 4\nJump idle\n", "idle");
    engine.SetSourceParamCallback([](uint32_t, int32_t param, int32_t& value) {
        value = param;
        return param <= 20;
    });
    Track(11)->StartAndActivate(0, 0, 0);
    id = 100;
    for (const Case& c : cases) {
        errors.clear();
        cTrack* track = Track(id++);
        ASSERT_NE(track, nullptr) << c.program;
        track->StartAndActivate(c.a, c.b, 0);
        Ticks(1);
        EXPECT_EQ(errors, std::vector<std::string>{c.error}) << c.program;
        EXPECT_FALSE(track->IsRunning()) << c.program;
        EXPECT_TRUE(Track(11)->IsRunning()) << c.program;
    }
}

TEST_F(TrackTest, TheCallStackIsCapped) {
    Load(OneTrack("Loadb 4 1\nrec:\nWait 4\nCall rec"));
    Track(10)->StartAndActivate(0, 0, 0);
    Ticks(int(cTrackPlayer::kMaxCallDepth) + 3);
    EXPECT_EQ(errors, std::vector<std::string>{"TRACK ERROR: kTrackCmdCall stack full"});
    EXPECT_FALSE(Track(10)->IsRunning());
}

TEST_F(TrackTest, GetSrcParamAsksTheEngineCallback) {
    Load(OneTrack("GetSrcParam 3 1 2\nLoadb 4 100\nWait 4"));
    engine.SetSourceParamCallback([](uint32_t source, int32_t param, int32_t& value) {
        value = int32_t(source) * 100 + param;
        return true;
    });
    Track(10)->StartAndActivate(7, 4, 0);
    Ticks(1);
    EXPECT_EQ(Track(10)->GetLocal(3), 704);
}

TEST_F(TrackTest, SequenceGroupKillFadesAnAudibleTrackAndKillsASilentOne) {
    const std::string program = "Loadb 5 3\nSeqGroupKill 5\nLoadb 4 100\nWait 4\n";
    Load("track 11 A 1024 0 0 0 0 a 0\ntrack 12 B 1024 0 0 0 0 b 0\nprogram a\n" + program + "program b\n" + program);
    cTrack* a = Track(11);
    cTrack* b = Track(12);
    a->StartAndActivate(0, 0, 0);
    Ticks(1);
    EXPECT_EQ(engine.GetSequenceGroup(3), 11u);
    b->StartAndActivate(0, 0, 0);
    Ticks(1);
    EXPECT_EQ(engine.GetSequenceGroup(3), 12u);
    EXPECT_EQ(a->GetLocal(45), 1);
    EXPECT_EQ(a->GetLocal(41), 19);
    EXPECT_EQ(a->GetLocal(42), 200);
    EXPECT_EQ(b->WaitUntil(), engine.Now() + 2);
    EXPECT_TRUE(a->IsRunning());

    // Silent: killed at once.
    a->StartAndActivate(0, 0, 0);
    a->Kill();
    a->StartAndActivate(0, 0, 0);
    a->SetVolume(0);
    engine.SetSequenceGroup(3, 11);
    b->Kill();
    b->StartAndActivate(0, 0, 0);
    Ticks(1);
    EXPECT_FALSE(a->IsRunning());
    EXPECT_EQ(engine.GetSequenceGroup(3), 12u);
    EXPECT_TRUE(errors.empty());
}

TEST_F(TrackTest, SetLocalSideEffects) {
    Load(OneTrack("Loadb 4 100\nWait 4") + "track 12 Other 1024 0 0 0 0 main 0\n");
    cTrack* track = Track(10);
    track->StartAndActivate(0, 0, 0);
    EXPECT_EQ(track->Patch(), nullptr);
    // 50: the patch and a channel on it.
    track->SetLocal(50, 1, false);
    ASSERT_NE(track->Patch(), nullptr);
    ASSERT_NE(track->Channel(), nullptr);
    cIGZSnd* sound = track->Channel()->GetSound();
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->GetVolume(), 1024);
    // 19: the output volume; 123: ducking halves it for a lower priority.
    track->SetLocal(19, 512, false);
    EXPECT_EQ(sound->GetVolume(), 512);
    track->SetLocal(123, 300, false);
    EXPECT_EQ(engine.GetGlobal(123), 300);
    EXPECT_EQ(sound->GetVolume(), 256);
    track->SetLocal(123, 0, false);
    EXPECT_EQ(sound->GetVolume(), 512);
    // 21: the pitch, in cents about 3600 (of a sound that has its data).
    track->Channel()->NoteOn(0);
    track->SetLocal(21, 4800, false);
    EXPECT_EQ(sound->GetFrequency(), 44100u);
    // 53: the target; writes other than 53 go to it.
    track->SetLocal(53, 12, false);
    track->SetVar(22, 77, false);
    EXPECT_EQ(Track(12)->GetLocal(22), 77);
    EXPECT_EQ(track->GetVar(22), 77);
    track->SetVar(53, 0, false);
    EXPECT_EQ(track->GetVar(22), track->GetLocal(22));
    EXPECT_NE(track->GetLocal(22), 77);
    // 45: a stopped track's fade is switched off.
    track->Kill();
    track->SetLocal(45, 1, false);
    EXPECT_EQ(track->GetLocal(45), 0);
    // The flags follow every write.
    track->SetLocal(5, -3, true);
    EXPECT_TRUE(track->NegativeFlag());
    EXPECT_FALSE(track->ZeroFlag());
}

TEST_F(TrackTest, APatchIdNamingATrackIsABadPatchId) {
    Load(OneTrack("Loadb 4 100\nWait 4"));
    Track(10)->StartAndActivate(0, 0, 0);
    Track(10)->SetLocal(50, 10, false);
    EXPECT_EQ(errors, std::vector<std::string>{"Bad Patch ID"});
    EXPECT_FALSE(Track(10)->IsRunning());
}

TEST_F(TrackTest, PlayTrackStartsAnotherWithTheLocalsAndPicksComeFromTheGlobalList) {
    Load(OneTrack("Loadb 5 11\nPlayTrack 5\nLoadb 6 40\nSmartSetList 6\nSmartChoose 7\nLoadb 4 100\nWait 4") +
         "track 11 B 1024 0 0 0 0 b 0\nprogram b\nLoadb 4 100\nWait 4\nhitlist 40 3-5 9\n");
    Track(10)->StartAndActivate(21, 22, 23);
    Ticks(1);
    EXPECT_TRUE(Track(11)->IsRunning());
    EXPECT_EQ(Track(11)->GetLocal(1), 21);
    EXPECT_EQ(Track(11)->GetLocal(3), 23);
    const int32_t pick = Track(10)->GetLocal(7);
    EXPECT_TRUE(pick == 3 || pick == 4 || pick == 5 || pick == 9) << pick;
    EXPECT_TRUE(errors.empty());
}

TEST_F(TrackTest, NoteOnPlaysAndTurnsOffAfterItsDuration) {
    Load(OneTrack("Loadb 5 0\nLoadb 6 3\nNoteOn 5 6\nLoadb 4 100\nWait 4", true));
    cTrack* track = Track(10);
    track->StartAndActivate(0, 0, 0);
    Ticks(1);
    ASSERT_NE(track->Channel(), nullptr);
    EXPECT_TRUE(track->Channel()->IsRunning());
    Ticks(3);
    EXPECT_FALSE(track->Channel()->IsRunning());
}

TEST_F(TrackTest, SharedNoteWithoutPatch251DoesNothing) {
    Load(OneTrack("SharedNoteOn\nSharedPitch2\nLoadb 4 100\nWait 4"));
    Track(10)->StartAndActivate(0, 0, 0);
    Ticks(1);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(engine.SharedChannel(), nullptr);
}

TEST_F(TrackTest, DescribeLocationAnswersFalse) {
    Load(OneTrack("Loadb 4 100\nWait 4"));
    std::string text;
    int32_t line = 0;
    EXPECT_FALSE(Track(10)->DescribeLocation(text, line));
}

TEST_F(TrackTest, AControlGroupAtLevelZeroRefusesStartsAndScalesTheOutput) {
    Load("track 10 T 1024 0 0 4 0 main 1\nprogram main\nLoadb 4 100\nWait 4\n");
    cTrack* track = Track(10);
    cHitControlGroup* group = engine.GetControlGroup(4);
    EXPECT_EQ(group->Members().count(10), 1u);
    group->SetVolume(0);
    track->StartAndActivate(0, 0, 0);
    EXPECT_FALSE(track->IsRunning());
    group->SetVolume(512);
    track->StartAndActivate(0, 0, 0);
    ASSERT_TRUE(track->IsRunning());
    EXPECT_EQ(track->OutputVolume(), 512);
    group->SetVolume(256);
    EXPECT_EQ(track->OutputVolume(), 256);
}

TEST_F(TrackTest, StartArgumentsReadByKind) {
    Load("track 10 A 1024 1 0 0 0 main 0\ntrack 11 B 1024 2 0 0 0 main 0\nprogram main\nLoadb 4 100\nWait 4\n");
    Track(10)->StartAndActivate(300, 100, 5);
    EXPECT_EQ(Track(10)->GetLocal(19), 300);
    EXPECT_EQ(Track(10)->GetLocal(20), 100);
    Track(11)->StartAndActivate(42, 600, 200);
    EXPECT_EQ(Track(11)->GetSource(), 42u);
    EXPECT_EQ(Track(11)->GetLocal(19), 600);
    EXPECT_EQ(Track(11)->GetLocal(20), 200);
    // The template: 18 volume, 25 priority, 50 patch, 57 attenuation.
    EXPECT_EQ(Track(10)->GetDefault(18), 1024);
    EXPECT_EQ(Track(10)->GetDefault(19), cHitVarBank::kUnset);
}

TEST_F(TrackTest, PauseResumeAndSingleSteps) {
    Load(OneTrack("Inc 5\nInc 5\nLoadb 4 100\nWait 4"));
    cTrack* track = Track(10);
    EXPECT_TRUE(track->Step());  // starts, paused
    EXPECT_TRUE(track->IsRunning());
    EXPECT_TRUE(track->IsPaused());
    Ticks(3);
    EXPECT_EQ(track->GetLocal(5), 0);  // a paused track is not ticked
    track->Step();
    EXPECT_EQ(track->GetLocal(5), 1);
    track->Resume();
    Ticks(1);
    EXPECT_EQ(track->GetLocal(5), 2);
    track->Step();  // running: pauses
    EXPECT_TRUE(track->IsPaused());
    track->Kill();
    EXPECT_FALSE(track->IsRunning());
    EXPECT_EQ(track->GetLocal(46), 0);
}

TEST_F(TrackTest, SequenceGroupReturnEndsATrackThatLostItsGroup) {
    Load("track 11 A 1024 0 0 0 0 a 0\nprogram a\nLoadb 5 9\nSeqGroupReturn 5\nInc 6\nLoadb 4 100\nWait 4\n");
    engine.SetSequenceGroup(9, 12);
    Track(11)->StartAndActivate(0, 0, 0);
    Ticks(1);
    EXPECT_FALSE(Track(11)->IsRunning());
    EXPECT_EQ(Track(11)->GetLocal(6), 0);
    EXPECT_EQ(engine.GetSequenceGroup(9), 11u);
    Track(11)->StartAndActivate(0, 0, 0);
    Ticks(1);
    EXPECT_TRUE(Track(11)->IsRunning());
    EXPECT_EQ(Track(11)->GetLocal(6), 1);
}

TEST_F(TrackTest, ARunningTrackRestartsOnlyWhenVariable55IsSet) {
    Load(OneTrack("Inc 6\nLoadb 4 100\nWait 4"));
    cTrack* track = Track(10);
    track->StartAndActivate(0, 0, 0);
    Ticks(1);
    track->StartAndActivate(0, 0, 0);
    Ticks(1);
    EXPECT_EQ(track->GetLocal(6), 1);
    track->SetLocal(55, 1, false);
    track->StartAndActivate(0, 0, 0);
    Ticks(1);
    EXPECT_EQ(track->GetLocal(6), 2);
}
