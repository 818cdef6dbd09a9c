// Practices on skeletons: phases, loop modes, fades, events through the
// hook (forwards, backwards and across wraps), the pose written into the
// bones, and the transform pass against hand-worked quaternions.
#include "character/Practice.h"

#include <cmath>
#include <string>
#include <vector>

#include "character/Skeleton.h"
#include "character/Skill.h"
#include "CharacterFixture.h"
#include "StarterData.h"

#include <gtest/gtest.h>

using namespace tova;
using chartest::MakeTestSkill;
using chr::Practice;

namespace {

struct HeardEvent {
    std::string bone;
    std::string first;  // "key=value" of the list's first pair
    int32_t now;
};

struct EventRecorder {
    std::vector<HeardEvent> heard;
    int32_t now = 0;
    chr::PracticeEventHook old;

    EventRecorder() { old = chr::SetPracticeEventHook(&Hear, this); }
    ~EventRecorder() { chr::SetPracticeEventHook(old, nullptr); }

    static void Hear(void* context, Practice&, Bone& bone, Motion&, PropertyList& list, float) {
        auto* self = static_cast<EventRecorder*>(context);
        self->heard.push_back({bone.Name(), list.Key(0) + "=" + list.Value(0), self->now});
    }
    std::string Anchors() const {
        std::string out;
        for (const HeardEvent& e : heard) out += e.first.substr(e.first.find('=') + 1);
        return out;
    }
};

// ROOT with HEAD under it: the bones the test skill animates.
Skeleton* MakePracticeSkeleton() {
    auto* s = new Skeleton("practice");
    s->AddBone(std::make_unique<Bone>("ROOT", "NULL"));
    s->AddBone(std::make_unique<Bone>("HEAD", "ROOT"));
    return s;
}

// The fixture's skill (400 ms, four frames, anchors 1 and 2 at 0 and 200
// ms on ROOT) with its keyframes in place.
Skill* MakeLoadedSkill() {
    Skill* skill = MakeTestSkill();
    chartest::TestKeyframes(skill->translations, skill->rotations);
    skill->motionDataLoaded = true;
    return skill;
}

class PracticeTest : public ::testing::Test {
protected:
    void SetUp() override {
        skeleton = MakePracticeSkeleton();
        skill = MakeLoadedSkill();
    }
    void TearDown() override {
        skeleton->Release();
        skill->Release();
    }
    void Run(std::initializer_list<int32_t> times) {
        for (int32_t t : times) {
            events.now = t;
            skeleton->UpdatePractices(t, true);
        }
    }
    Skeleton* skeleton;
    Skill* skill;
    EventRecorder events;
};

TEST_F(PracticeTest, ALoopReportsEachEventOncePerLoop) {
    skeleton->AddPractice(*skill, 1, 1.0f, 1.0f, 0);
    for (int32_t t = 0; t <= 1100; t += 100) Run({t});
    EXPECT_EQ(events.Anchors(), "121212");
    std::vector<int32_t> at;
    for (const HeardEvent& e : events.heard) at.push_back(e.now);
    EXPECT_EQ(at, (std::vector<int32_t>{0, 200, 500, 600, 900, 1000}));
    EXPECT_EQ(events.heard[0].bone, "ROOT");
}

TEST_F(PracticeTest, PlayingBackwardsReportsEachEventOncePerLoop) {
    skeleton->AddPractice(*skill, 1, -1.0f, 1.0f, 0);
    for (int32_t t = 0; t <= 1200; t += 100) Run({t});
    EXPECT_EQ(events.Anchors(), "1212121");
}

TEST_F(PracticeTest, ALongGapPastTheEndTwiceReportsTheRestThenTheStart) {
    Practice* p = skeleton->AddPractice(*skill, 1, 1.0f, 1.0f, 0);
    Run({0, 150});
    EXPECT_EQ(events.Anchors(), "1");
    Run({1250});
    EXPECT_NEAR(p->phase, 0.125f, 1e-5f);
    EXPECT_EQ(events.Anchors(), "121");
    EXPECT_TRUE(p->finished);
}

TEST_F(PracticeTest, SpeedZeroHoldsThePhaseAndStillWritesThePose) {
    Practice* p = skeleton->AddPractice(*skill, 1, 1.0f, 1.0f, 0);
    Run({0, 100});
    p->SetSpeed(0);
    Bone* root = skeleton->FindBone("ROOT");
    root->translation = {9, 9, 9};
    Run({300, 700, 5000});
    EXPECT_FLOAT_EQ(p->phase, 0.25f);
    EXPECT_EQ(events.Anchors(), "1");
    // Frame 1 of the ROOT track, without interpolation after the gap.
    EXPECT_FLOAT_EQ(root->translation.x, 1.0f);
    EXPECT_FLOAT_EQ(root->translation.y, 0.0f);
}

TEST_F(PracticeTest, InterpolatesBetweenFrames) {
    Practice* p = skeleton->AddPractice(*skill, 1, 1.0f, 1.0f, 0);
    Run({0, 50});
    EXPECT_FLOAT_EQ(p->phase, 0.125f);
    // Half way from frame 0 (0, 0, 0) to frame 1 (1, 0, 0).
    EXPECT_FLOAT_EQ(skeleton->FindBone("ROOT")->translation.x, 0.5f);
    const Quaternion q = skeleton->FindBone("HEAD")->rotation;
    const Quaternion expected = Interpolate(1, 0.5f, skill->rotations[4], skill->rotations[5]);
    EXPECT_TRUE(NearlyEqual(q, expected));
}

TEST_F(PracticeTest, LoopModesAtTheEnd) {
    struct Case {
        int32_t mode;
        float phaseAfter;
        float speedAfter;
    } cases[] = {
        {Practice::kPlayOnce, 1.0f, 0.0f},
        {Practice::kLoop, 0.25f, 1.0f},
        {Practice::kPingPong, 0.75f, -1.0f},
        {Practice::kHoldAndFade, 1.0f, 0.0f},
    };
    for (const Case& c : cases) {
        Practice* p = skeleton->AddPractice(*skill, 1, 1.0f, 1.0f, 0);
        p->loopMode = c.mode;
        Run({0, 300, 500});
        EXPECT_TRUE(p->finished) << c.mode;
        EXPECT_NEAR(p->phase, c.phaseAfter, 1e-5f) << c.mode;
        EXPECT_FLOAT_EQ(p->speed, c.speedAfter) << c.mode;
        if (c.mode == Practice::kPlayOnce) {
            EXPECT_FLOAT_EQ(p->effectiveDuration, 1e8f);
            Run({10000});
            EXPECT_FLOAT_EQ(p->phase, 1.0f);
        }
        skeleton->RemovePractice(p);
    }
}

TEST_F(PracticeTest, HoldAndFadeFadesOutAndIsRemovedWhenAsked) {
    Practice* p = skeleton->AddPractice(*skill, 1, 1.0f, 1.0f, 0);
    p->loopMode = Practice::kHoldAndFade;
    p->removeWhenFaded = true;
    Run({0, 400});
    EXPECT_TRUE(p->fadeActive);
    Run({650});
    EXPECT_NEAR(p->weight, 0.5f, 1e-5f);
    EXPECT_EQ(skill->practices, 1);
    Run({901});
    EXPECT_TRUE(skeleton->Practices().empty());
    EXPECT_EQ(skill->practices, 0);
    EXPECT_EQ(skill->idleSince, 901u);
}

TEST_F(PracticeTest, EqualPrioritiesApplyInOrderOfArrival) {
    Skill* other = MakeLoadedSkill();
    for (Vector3& t : other->translations) t = {3, 0, 0};
    for (Vector3& t : skill->translations) t = {1, 0, 0};
    skeleton->AddPractice(*skill, 1, 1.0f, 1.0f, 0);
    skeleton->AddPractice(*other, 1, 1.0f, 0.5f, 0);
    Run({0});
    EXPECT_FLOAT_EQ(skeleton->FindBone("ROOT")->translation.x, 2.0f);
    // A lower priority goes first, whenever it came: the full-weight
    // practice then overwrites it.
    Practice* low = skeleton->AddPractice(*other, 0, 1.0f, 1.0f, 0);
    EXPECT_EQ(skeleton->Practices().front(), low);
    skeleton->Practices()[2]->SetPriority(-5);
    Run({10});
    EXPECT_EQ(skeleton->Practices().front()->weight, 0.5f);
    EXPECT_EQ(skeleton->Practices().back()->priority, 1);
    EXPECT_FLOAT_EQ(skeleton->FindBone("ROOT")->translation.x, 1.0f);
    skeleton->Release();
    skeleton = MakePracticeSkeleton();
    other->Release();
}

TEST_F(PracticeTest, ASkillWithoutLengthHoldsFrameZero) {
    for (float length : {0.0f, -5.0f, std::nanf(""), INFINITY}) {
        skill->duration = length;
        Practice* p = skeleton->AddPractice(*skill, 1, 1.0f, 1.0f, 0);
        Run({0, 100, 250});
        EXPECT_EQ(p->phase, 0.0f) << length;
        EXPECT_EQ(p->timeInSkill, 0) << length;
        EXPECT_FLOAT_EQ(skeleton->FindBone("ROOT")->translation.x, 0.0f) << length;
        skeleton->RemovePractice(p);
    }
}

TEST_F(PracticeTest, AbsentKeyframesLeaveThePoseAlone) {
    skill->translations.clear();
    skill->rotations.resize(5);  // ended early: HEAD's frames 1.. are missing
    Practice* p = skeleton->AddPractice(*skill, 1, 1.0f, 1.0f, 0);
    Bone* root = skeleton->FindBone("ROOT");
    Bone* head = skeleton->FindBone("HEAD");
    root->translation = {4, 5, 6};
    head->rotation = {0, 0, 0.6f, 0.8f};
    Run({0, 150});
    EXPECT_GT(p->phase, 0.0f);
    EXPECT_EQ(root->translation, (Vector3{4, 5, 6}));
    EXPECT_FLOAT_EQ(head->rotation.z, 0.6f);
}

TEST_F(PracticeTest, ASkeletonWithoutTheBonesPlaysNothing) {
    Skeleton* other = new Skeleton("other");
    other->AddBone(std::make_unique<Bone>("PELVIS", "NULL"));
    Practice* p = other->AddPractice(*skill, 1, 1.0f, 1.0f, 0);
    EXPECT_TRUE(p->Entries().empty());
    other->UpdatePractices(100, true);
    EXPECT_EQ(p->phase, 0.0f);
    EXPECT_EQ(skill->practices, 1);
    other->Release();
    EXPECT_EQ(skill->practices, 0);
}

TEST(SkeletonTransforms, WorldPosesAgainstHandWorkedQuaternions) {
    const float h = std::sqrt(0.5f);
    // Hang the chain: ARM under ROOT, HAND under ARM.
    Skeleton* chain = new Skeleton("chain");
    auto root = std::make_unique<Bone>("ROOT", "NULL");
    root->translation = {1, 0, 0};
    root->rotation = {0, 0, h, h};
    chain->AddBone(std::move(root));
    auto arm = std::make_unique<Bone>("ARM", "ROOT");
    arm->translation = {1, 0, 0};
    arm->rotation = {0, 0, h, h};
    chain->AddBone(std::move(arm));
    auto hand = std::make_unique<Bone>("HAND", "ARM");
    hand->translation = {1, 0, 0};
    chain->AddBone(std::move(hand));

    chain->UpdateTransforms();
    const Bone* r = chain->FindBone("ROOT");
    const Bone* a = chain->FindBone("ARM");
    const Bone* c = chain->FindBone("HAND");
    // The root's world rotation is its local one conjugated: (0, 0, -h, h).
    EXPECT_TRUE(NearlyEqual(r->worldRotation, Quaternion{0, 0, -h, h}));
    EXPECT_EQ(r->worldTranslation, (Vector3{1, 0, 0}));
    // ARM: (1, 0, 0) turned a quarter clockwise is (0, -1, 0); its world
    // rotation is a half turn, (0, 0, -1, 0).
    EXPECT_NEAR(a->worldTranslation.x, 1, 1e-6);
    EXPECT_NEAR(a->worldTranslation.y, -1, 1e-6);
    EXPECT_TRUE(NearlyEqual(a->worldRotation, Quaternion{0, 0, -1, 0}));
    EXPECT_NEAR(c->worldTranslation.x, 0, 1e-6);
    EXPECT_NEAR(c->worldTranslation.y, -1, 1e-6);
    // The world matrix turns row vectors by the world rotation, then moves.
    Bone* arm2 = chain->FindBone("ARM");
    const Vector3 p = TransformPoint3({1, 0, 0}, arm2->GetWorldMatrix());
    EXPECT_NEAR(p.x, 0, 1e-6);
    EXPECT_NEAR(p.y, -1, 1e-6);
    const Vector3 rp = TransformPoint3({0, 1, 0}, chain->FindBone("ROOT")->GetWorldMatrix());
    EXPECT_NEAR(rp.x, 2, 1e-6);
    EXPECT_NEAR(rp.y, 0, 1e-6);
    chain->Release();
}

TEST(SkeletonTransforms, KeyBoneBoxesMakeTheSkeletonBox) {
    Skeleton* s = new Skeleton("boxed");
    auto root = std::make_unique<Bone>("ROOT", "NULL");
    root->translation = {0, 1, 0};
    s->AddBone(std::move(root));
    auto head = std::make_unique<Bone>("HEAD", "ROOT");
    head->translation = {0, 2, 0};
    const float h = std::sqrt(0.5f);
    head->rotation = {0, 0, h, h};
    Bone* headBone = s->AddBone(std::move(head));
    headBone->box = {0, 0, 0, 1, 0.5f, 0.25f};
    headBone->boxValid = true;
    s->UpdateTransforms();
    // The head's box turned a quarter clockwise about z at (0, 3, 0).
    EXPECT_NEAR(s->box.minX, 0, 1e-6);
    EXPECT_NEAR(s->box.maxX, 0.5f, 1e-6);
    EXPECT_NEAR(s->box.minY, 2, 1e-6);
    EXPECT_NEAR(s->box.maxY, 3, 1e-6);
    EXPECT_NEAR(s->box.maxZ, 0.25f, 1e-6);
    s->Release();
}

TEST(StarterPractices, TheWaveReportsItsTwoEventsOncePerLoop) {
    CharacterLibrary library;
    chartest::LoadStarter(library);
    Skeleton* adult = library.GetSkeleton("adult");
    Skill* wave = library.GetSkillData("a2o-wave");
    ASSERT_NE(adult, nullptr);
    ASSERT_NE(wave, nullptr);
    ASSERT_TRUE(library.LoadKeyframes(*wave));
    for (float speed : {1.0f, -1.0f}) {
        Skeleton* body = adult->Clone();
        EventRecorder events;
        body->AddPractice(*wave, 1, speed, 1.0f, 0);
        for (int32_t t = 0; t <= 3 * 1200 - 100; t += 100) body->UpdatePractices(t, true);
        std::string heard;
        for (const HeardEvent& e : events.heard) heard += e.first + " ";
        EXPECT_EQ(heard, speed > 0 ? "sound=wave wave=2 sound=wave wave=2 sound=wave wave=2 "
                                   : "wave=2 sound=wave wave=2 sound=wave wave=2 sound=wave ")
            << speed;
        body->Release();
    }
}

}  // namespace
