// The person's body: built on the skeleton its body strings name, dressed
// by outfit and hand kinds, measured for walking from the standard
// animations, released; the standard animations and the root offset; the
// censor suit; the head look and the fading.
#include <gtest/gtest.h>

#include <cmath>
#include <new>

#include "AnimatorFixture.h"
#include "gamedata/BodyStrings.h"
#include "gamedata/BehaviorTree.h"
#include "resfile/ReconStream.h"
#include "simulation/TreeZaz.h"

namespace tova_test {
namespace {

constexpr float k = PersonAnimator::kUnitsToFine;

// Body strings with every suit entry filled: "<what><n>" suits.
std::vector<std::string> FullLooks() {
  std::vector<std::string> looks(30);
  looks[0] = "adult";
  looks[1] = "b001,BODY=skin1";
  looks[2] = "c001,HEAD-HEAD=face1";
  looks[3] = "HEAD";
  looks[5] = "R_HAND";
  looks[6] = "grip";
  looks[12] = "male";
  looks[13] = "30";
  looks[15] = "b002,BODY=swim";
  looks[16] = "b003,BODY=bare";
  for (int kind = 0; kind < 5; ++kind) {
    looks[17 + 2 * kind] = "lhand" + std::to_string(kind) + ",HAND=h";
    looks[18 + 2 * kind] = "rhand" + std::to_string(kind) + ",HAND=h";
  }
  looks[27] = "uniform,BODY=u";
  looks[28] = "lglove,HAND=g";
  looks[29] = "rglove,HAND=g";
  return looks;
}

class AnimatorBuild : public AnimatorPractices {
 protected:
  void SetUp() override {
    AnimatorPractices::SetUp();
    library.skeletons = {"adult"};
    library.onBody = [this](FakeBody& b) {
      b.bones["HEAD"] = [](float) { return std::array<float, 3>{0, 5, 0}; };
      b.bones["R_HAND"] = [](float) { return std::array<float, 3>{1, 3, 0}; };
      b.bones["L_FOOT"] = [](float t) { return std::array<float, 3>{0, 0, 3 * t}; };
      b.bones["R_FOOT"] = [](float) { return std::array<float, 3>{0, 0, 1}; };
      b.skeletonPoints = {"grip"};
      if (headFake) b.skeletonPoints.insert("HeadFake");
      b.pointPositions["head"] = {0, 5, 0};
      b.pointPositions["head-front"] = {-1, 5, 0};
      b.onDestroy = [this](FakeBody& gone) {
        ++bodiesDeleted;
        takenOffAtDelete = gone.takenOff;
        pointsAtDelete = gone.points.size();
      };
    };
    for (auto [index, travel] : {std::pair{19, 3.0f}, {20, 6.0f}, {21, 8.0f}, {22, 2.0f}, {23, 5.0f}}) {
      library.Add(Standard(index)).travel = travel;
    }
    FakeSkill& walk = *library.skills[Standard(20)];
    walk.frames = 40;
    walk.motions = {{"L_FOOT", {{10, {{"anchor", "1"}}}}, {}}, {"R_FOOT", {{30, {{"anchor", "2"}}}}, {}}};
  }

  FakeBody* BodyOf(cXPerson* p) { return static_cast<FakeBody*>(p->Animator().GetBody()); }

  bool headFake = true;
  int bodiesDeleted = 0;
  size_t pointsAtDelete = 0;
  std::vector<std::string> takenOffAtDelete;
};

TEST_F(AnimatorBuild, TheBodyIsMadeDressedMeasuredAndLeftStanding) {
  cXPerson* p = PersonWithLooks(FullLooks());
  PersonAnimator& a = p->Animator();
  FakeBody* b = BodyOf(p);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->GetAnimator(), &a);
  EXPECT_EQ(library.bodiesMade.back(), "adult");
  EXPECT_EQ(a.censorSuit, "adult-censor");

  EXPECT_EQ(a.dressings[PersonAnimator::kHeadHolder].suit, "c001");
  EXPECT_EQ(a.dressings[PersonAnimator::kBodyHolder1].suit, "b001");
  EXPECT_EQ(a.dressings[PersonAnimator::kLeftHandHolder].suit, "lhand0");
  EXPECT_EQ(a.dressings[PersonAnimator::kRightHandHolder].suit, "rhand0");
  EXPECT_EQ(b->worn, (std::vector<std::string>{"c001|HEAD-HEAD=face1|0", "b001|BODY=skin1|0", "lhand0|HAND=h|0",
                                               "rhand0|HAND=h|0"}));

  const PersonWalk& w = a.walk;
  EXPECT_FLOAT_EQ(w.startDistance, 3 * k);
  EXPECT_FLOAT_EQ(w.runHalfLoop, 8 * 0.5f * k);
  EXPECT_FLOAT_EQ(w.walkHalfLoop, 6 * 0.5f * k);
  EXPECT_FLOAT_EQ(w.runStartDistance, 2 * k);
  EXPECT_FLOAT_EQ(w.runStopDistance, 5 * 0.5f * k);
  EXPECT_FLOAT_EQ(w.walkEighthLoop, w.walkHalfLoop * 0.125f);
  EXPECT_EQ(w.footBone[0], "L_FOOT");
  EXPECT_EQ(w.footBone[1], "R_FOOT");
  EXPECT_FLOAT_EQ(w.anchorPhase[0], 0.25f);
  EXPECT_FLOAT_EQ(w.anchorPhase[1], 0.75f);
  // Foot 1 is at 3t along the walk, foot 2 stays at 1.
  EXPECT_FLOAT_EQ(w.stride[1], (1 - 3 * 0.75f) * k);
  EXPECT_FLOAT_EQ(w.stride[0], (3 * 0.25f - 1) * k);
  EXPECT_GE(b->transformUpdates, 2);

  EXPECT_EQ(b->Playing(), std::vector<std::string>{Standard(3)}) << "the walk loop measured is gone";
  EXPECT_EQ(a.mainPractice, nullptr);
  ASSERT_NE(a.backgroundPractice, nullptr);
  EXPECT_EQ(a.currentStandard, -1);
  EXPECT_EQ(a.movementState, PersonAnimator::kStateStanding);
  EXPECT_EQ(b->points.at("hand"), "R_HAND/grip");
  EXPECT_EQ(b->points.at("head"), "HEAD/");
  EXPECT_EQ(b->points.at("head-front"), "HEAD/HeadFake");
}

TEST_F(AnimatorBuild, MissingPartsLeaveNoBodyOrZeroMeasures) {
  std::vector<std::string> looks = FullLooks();
  looks[0] = "giant";
  EXPECT_EQ(BodyOf(PersonWithLooks(looks)), nullptr) << "unknown skeleton";
  looks[0] = "";
  EXPECT_EQ(BodyOf(PersonWithLooks(looks)), nullptr) << "no skeleton";

  for (int index : {19, 20, 21, 22, 23}) library.skills.erase(Standard(index));
  library.missingSuits = {"adult-censor"};
  cXPerson* p = PersonWithLooks(FullLooks());
  ASSERT_NE(BodyOf(p), nullptr);
  const PersonWalk& w = p->Animator().walk;
  for (float v : {w.startDistance, w.runHalfLoop, w.walkHalfLoop, w.stride[0], w.stride[1]}) EXPECT_EQ(v, 0);
  EXPECT_EQ(p->Animator().censorSuit, "");
  p->SetWord(30, 5);
  p->Animator().UpdateCensor();
  EXPECT_FALSE(p->Animator().censorDressing.worn) << "no censor suit to wear";
}

TEST_F(AnimatorBuild, ReleasingTakesEverythingOffAndDeletesTheBody) {
  cXPerson* p = PersonWithLooks(FullLooks());
  PersonAnimator& a = p->Animator();
  a.AddExtraDressing("hat", "");
  p->SetWord(30, 1);
  a.UpdateCensor();
  a.ReleaseBody();
  EXPECT_EQ(a.GetBody(), nullptr);
  EXPECT_EQ(bodiesDeleted, 1);
  EXPECT_EQ(pointsAtDelete, 0u);
  for (const char* suit : {"hat", "b001", "c001", "lhand0", "rhand0", "adult-censor"}) {
    EXPECT_NE(std::find(takenOffAtDelete.begin(), takenOffAtDelete.end(), suit), takenOffAtDelete.end()) << suit;
  }
  EXPECT_EQ(a.backgroundPractice, nullptr);
  EXPECT_EQ(a.extraDressings.size(), 1u) << "the names stay for the next body";

  a.BuildBody();
  ASSERT_NE(BodyOf(p), nullptr);
  const std::vector<std::string>& worn = BodyOf(p)->worn;
  EXPECT_NE(std::find(worn.begin(), worn.end(), "hat||0"), worn.end()) << "extra suits go on the new body";
}

TEST_F(AnimatorBuild, AStandardAnimationStartsOnceAndTheRootOffsetIsItsLastFrame) {
  animator->PlayStandard(3, true);
  ASSERT_NE(animator->mainPractice, nullptr);
  EXPECT_EQ(animator->mainPractice->hold, 1);
  EXPECT_EQ(animator->currentStandard, 3);
  PracticeRef* first = animator->mainPractice;
  animator->PlayStandard(3, false);
  EXPECT_EQ(animator->mainPractice, first) << "already playing";
  animator->PlayStandard(1, false);
  EXPECT_EQ(animator->mainPractice->skill->GetName(), Standard(1));
  EXPECT_EQ(animator->mainPractice->hold, 0);
  animator->PlayStandard(4, false);
  EXPECT_EQ(animator->currentStandard, 1) << "a missing skill starts nothing";

  library.skills[Standard(23)]->motions = {
      {"PELVIS", {}, {{9, 9, 9}}}, {"ROOT", {}, {{0, 0, 0}, {0.5f, 0, 1}, {1.5f, -2, 3}}}};
  float x = 7, y = 7, z = 7;
  EXPECT_TRUE(animator->RootOffset(23, x, y, z));
  EXPECT_EQ((std::array<float, 3>{x, y, z}), (std::array<float, 3>{1.5f, -2, 3}));
  for (int index : {20, 99}) {
    x = y = z = 7;
    EXPECT_FALSE(animator->RootOffset(index, x, y, z)) << index;
    EXPECT_EQ((std::array<float, 3>{x, y, z}), (std::array<float, 3>{0, 0, 0}));
  }
}

TEST_F(AnimatorBuild, TheOutfitAndHandKindsPickTheSuits) {
  cXPerson* p = PersonWithLooks(FullLooks());
  PersonAnimator& a = p->Animator();
  const std::array<std::string, 2> sleepwear = p->ChooseSleepwear();
  const cXPerson::SkeletonSuit bones = p->ChooseSkeletonSuit(false);
  struct Case {
    int16_t outfit, left, right;
    std::string body, head, leftHand, rightHand;
  } cases[] = {
      {0, 0, 0, "b001", "c001", "lhand0", "rhand0"},
      {1, 1, 3, "b002", "c001", "lhand1", "rhand3"},
      {2, 4, 4, "b003", "c001", "lhand4", "rhand4"},
      {4, 2, 2, "uniform", "c001", "lglove", "rglove"},
      {5, 9, 0, sleepwear[0], "c001", "lhand0", "rhand0"},
      {6, 0, 0, bones.names[0], bones.names[1], "lhand0", "rhand0"},
      {9, 0, 0, "b001", "c001", "lhand0", "rhand0"},
  };
  for (const Case& c : cases) {
    p->SetWord(kPersonOutfit, c.outfit);
    p->SetWord(22, c.left);
    p->SetWord(23, c.right);
    a.ChooseSuits();
    EXPECT_EQ(a.dressings[PersonAnimator::kBodyHolder1].suit, c.body) << c.outfit;
    EXPECT_EQ(a.dressings[PersonAnimator::kHeadHolder].suit, c.head) << c.outfit;
    EXPECT_EQ(a.dressings[PersonAnimator::kLeftHandHolder].suit, c.leftHand) << c.outfit;
    EXPECT_EQ(a.dressings[PersonAnimator::kRightHandHolder].suit, c.rightHand) << c.outfit;
  }
  // The skeleton outfit's hands take the skeleton's hand texture.
  p->SetWord(kPersonOutfit, 6);
  a.ChooseSuits();
  EXPECT_EQ(a.dressings[PersonAnimator::kLeftHandHolder].texture,
            a.dressings[PersonAnimator::kRightHandHolder].texture);
  EXPECT_NE(a.dressings[PersonAnimator::kLeftHandHolder].texture, "HAND=h");
}

TEST_F(AnimatorBuild, ChangingTheLeftHandAloneDressesAgain) {
  cXPerson* p = PersonWithLooks(FullLooks());
  PersonAnimator& a = p->Animator();
  FakeBody* b = BodyOf(p);
  b->worn.clear();
  a.ChooseSuits();
  EXPECT_TRUE(b->worn.empty()) << "nothing changed";
  p->SetWord(22, 3);
  a.ChooseSuits();
  EXPECT_EQ(b->worn, (std::vector<std::string>{"c001|HEAD-HEAD=face1|0", "b001|BODY=skin1|0", "lhand3|HAND=h|0",
                                               "rhand0|HAND=h|0"}));
  EXPECT_EQ(a.wornLeftHand, 3);

  // A suit the library lacks leaves the holder as it was.
  library.missingSuits = {"b002"};
  p->SetWord(kPersonOutfit, 1);
  a.ChooseSuits();
  EXPECT_EQ(a.dressings[PersonAnimator::kBodyHolder1].suit, "b001");
  EXPECT_TRUE(a.dressings[PersonAnimator::kBodyHolder1].worn);
}

TEST_F(AnimatorBuild, TheCensorSuitIsWornAtTheCensorLevel) {
  cXPerson* p = PersonWithLooks(FullLooks());
  PersonAnimator& a = p->Animator();
  FakeBody* b = BodyOf(p);
  struct Case {
    int16_t word;
    bool worn;
    int32_t level;
    size_t wears;
  } cases[] = {{200, true, 127, 1}, {200, true, 127, 1}, {5, true, 5, 2}, {0, false, 0, 2}, {128, true, 127, 3}};
  b->worn.clear();
  for (const Case& c : cases) {
    p->SetWord(30, c.word);
    a.UpdateCensor();
    EXPECT_EQ(a.censorDressing.worn, c.worn) << c.word;
    EXPECT_EQ(a.censorLevel, c.level) << c.word;
    EXPECT_EQ(b->worn.size(), c.wears) << c.word;
  }
  EXPECT_EQ(b->worn.front(), "adult-censor||127");
  EXPECT_EQ(std::count(b->takenOff.begin(), b->takenOff.end(), "adult-censor"), 2);
}

TEST_F(AnimatorBuild, ARecordReadWearsItsDressings) {
  cXPerson* p = PersonWithLooks(FullLooks());
  PersonAnimator& a = p->Animator();
  PersonAnimator source;
  source.dressings[PersonAnimator::kBodyHolder1] = {"robe", "BODY=silk"};
  source.extraDressings = {{"hat", ""}};
  std::vector<PathPoint> points;
  ReconStream measure;
  measure.InitMeasure();
  ASSERT_TRUE(source.Transfer(measure, 61, points));
  std::vector<uint8_t> bytes(static_cast<size_t>(measure.GetPosition()));
  ReconStream out;
  out.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kWrite, false);
  ASSERT_TRUE(source.Transfer(out, 61, points));

  FakeBody* b = BodyOf(p);
  b->worn.clear();
  b->takenOff.clear();
  p->SetWord(30, 3);
  ReconStream in;
  in.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kRead, false);
  ASSERT_TRUE(a.Transfer(in, 61, points));
  EXPECT_EQ(b->worn, (std::vector<std::string>{"robe|BODY=silk|0", "hat||0", "adult-censor||3"}));
  for (const char* suit : {"c001", "b001", "lhand0", "rhand0"}) {
    EXPECT_NE(std::find(b->takenOff.begin(), b->takenOff.end(), suit), b->takenOff.end()) << suit;
  }
  b->worn.clear();
  a.ChooseSuits();
  EXPECT_TRUE(b->worn.empty()) << "what the record wore stays until the outfit changes";
}

TEST_F(AnimatorBuild, RecordsOfEachAnimatorLayoutRead) {
  struct Case {
    int32_t version;
    bool points, dressings, practices, movement;
  } cases[] = {{46, true, false, false, false}, {51, false, true, false, false}, {59, false, true, true, false},
               {61, false, true, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    PersonAnimator source;
    source.grid[0] = 16;
    source.destination = 1;
    source.dressings[PersonAnimator::kHeadHolder] = {"cap", "HEAD-HEAD=blue"};
    source.practices[2] = "std3;-10;1000;0;1000;1;0;0";
    source.movementState = 1;
    source.head[0] = 2.5f;
    source.head[5] = -1;
    std::vector<PathPoint> points = {{1, 2}, {3, 4}};
    ReconStream measure;
    measure.InitMeasure();
    ASSERT_TRUE(source.Transfer(measure, c.version, points));
    std::vector<uint8_t> bytes(static_cast<size_t>(measure.GetPosition()));
    ReconStream out;
    out.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kWrite, false);
    ASSERT_TRUE(source.Transfer(out, c.version, points));

    cXPerson* p = PersonWithLooks(FullLooks());
    PersonAnimator& a = p->Animator();
    a.head[0] = 0.25f;
    std::vector<PathPoint> read;
    ReconStream in;
    in.InitBuffer(bytes.data(), static_cast<int32_t>(bytes.size()), ReconStream::kRead, false);
    ASSERT_TRUE(a.Transfer(in, c.version, read));
    EXPECT_EQ(in.GetPosition(), static_cast<int32_t>(bytes.size()));
    EXPECT_EQ(read.size(), c.points ? 2u : 0u);
    EXPECT_EQ(a.destination, c.points ? 1 : -1);
    EXPECT_EQ(a.followState, c.points ? 1 : 0);
    EXPECT_EQ(a.dressings[PersonAnimator::kHeadHolder].suit, c.dressings ? "cap" : "c001");
    EXPECT_EQ(a.dressingsDirty, !c.dressings);
    // The text form re-makes the loop; before it the built body's stays.
    ASSERT_NE(a.backgroundPractice, nullptr);
    EXPECT_EQ(a.backgroundPractice->rate, c.practices ? -10 : 1);
    // Older records keep the fresh movement state and head.
    EXPECT_EQ(a.movementState, c.movement ? 1 : PersonAnimator::kStateStanding);
    EXPECT_FLOAT_EQ(a.head[0], c.movement ? 2.5f : 0.25f);
    EXPECT_FLOAT_EQ(a.head[5], c.movement ? -1.0f : 0.0f);
  }
}

// ---- head look ----

TEST_F(AnimatorBuild, ATargetStraightAheadIsReachedAtOnce) {
  cXPerson* p = PersonWithLooks(FullLooks());
  PersonAnimator& a = p->Animator();
  cXObject* thing = MakeThing();
  // The head looks along -x; the thing lies that way.
  thing->SetPosition({-64, 0});
  a.SetLookTarget(thing->GetId());
  EXPECT_EQ(p->Word(41), thing->GetId());
  EXPECT_EQ(p->Word(42), 1);
  EXPECT_EQ(p->Word(44), 1);
  a.UpdateHeadTarget();
  EXPECT_NEAR(a.HeadFacing(), a.HeadTarget(), 0.01f);
  a.UpdateHeadTurn();
  EXPECT_EQ(p->Word(42), 3);
  EXPECT_EQ(a.HeadAngle(), 0);

  p->SetWord(42, 1);
  p->SetWord(43, 1);
  a.UpdateHeadTurn();
  EXPECT_EQ(p->Word(42), 2) << "reached, and the look ends";
}

TEST_F(AnimatorBuild, WithoutTheHeadFakePointTheHeadNeverTurns) {
  headFake = false;
  cXPerson* p = PersonWithLooks(FullLooks());
  PersonAnimator& a = p->Animator();
  cXObject* thing = MakeThing();
  thing->SetPosition({0, 64});
  a.SetLookTarget(thing->GetId());
  for (int i = 0; i < 10; ++i) {
    a.UpdateHeadTarget();
    a.UpdateHeadTurn();
  }
  EXPECT_EQ(a.HeadAngle(), 0);
  for (const auto& [bone, angle] : BodyOf(p)->turns) EXPECT_EQ(angle, 0) << bone;
}

TEST_F(AnimatorBuild, TheHeadTurnsByStepsUpToItsLimit) {
  cXPerson* p = PersonWithLooks(FullLooks());
  PersonAnimator& a = p->Animator();
  cXObject* thing = MakeThing();
  // A quarter turn away: two eighths.
  thing->SetPosition({0, 64});
  a.SetLookTarget(thing->GetId());
  a.UpdateHeadTarget();
  const float difference = std::remainder(a.HeadFacing() - a.HeadTarget(), 8.0f);
  ASSERT_NEAR(std::fabs(difference), 2.0f, 0.01f);
  for (int i = 1; i <= 7; ++i) {
    a.UpdateHeadTurn();
    EXPECT_NEAR(std::fabs(a.HeadAngle()), 0.2f * i, 1e-4f);
    EXPECT_EQ(p->Word(42), 1);
  }
  a.UpdateHeadTurn();
  EXPECT_FLOAT_EQ(std::fabs(a.HeadAngle()), 1.5f);
  EXPECT_EQ(p->Word(42), 4) << "the limit, with selector 44 = 1";
  const auto& [bone, angle] = BodyOf(p)->turns.back();
  EXPECT_EQ(bone, "HEAD");
  EXPECT_NEAR(angle, a.HeadAngle() * -0.125f * 2 * 3.14159265f, 1e-4f);

  // Not looking: the angle decays.
  p->SetWord(42, 0);
  const float before = a.HeadAngle();
  a.UpdateHeadTurn();
  EXPECT_FLOAT_EQ(a.HeadAngle(), before * 0.8f);
}

TEST_F(AnimatorBuild, AGoneTargetAndTheCountdownEndTheLook) {
  cXPerson* p = PersonWithLooks(FullLooks());
  PersonAnimator& a = p->Animator();
  a.SetLookTarget(999);
  a.UpdateHeadTarget();
  EXPECT_EQ(p->Word(41), 0);
  EXPECT_EQ(p->Word(42), 16);

  a.SetLookTarget(0);
  EXPECT_EQ(p->Word(42), 0);
  p->SetWord(45, 2);
  a.UpdateHeadTurn();
  EXPECT_EQ(p->Word(42), 0);
  a.UpdateHeadTurn();
  EXPECT_EQ(p->Word(45), 0);
  EXPECT_EQ(p->Word(42), 8);
}

TEST_F(AnimatorBuild, TheAlphaJumpsFirstThenFadesOverAQuarterSecond) {
  animator->SetAlpha(1.0f, false);
  EXPECT_FLOAT_EQ(animator->AlphaNow(), 1.0f) << "no alpha yet: a jump";
  animator->SetAlpha(0.0f, false);
  EXPECT_FLOAT_EQ(animator->AlphaNow(), 1.0f);
  host.tick += 2;  // 100 of the animation clock
  EXPECT_NEAR(animator->AlphaNow(), 0.6f, 1e-5f);
  host.tick += 3;
  EXPECT_FLOAT_EQ(animator->AlphaNow(), 0.0f);
  animator->SetAlpha(0.5f, true);
  EXPECT_FLOAT_EQ(animator->AlphaNow(), 0.5f);
  animator->SetAlpha(0.5005f, false);
  EXPECT_FLOAT_EQ(animator->AlphaNow(), 0.5f) << "within 0.001: nothing";
}

// ---- the animate primitive through the person ----

class AnimateNode : public AnimatorBuild {
 protected:
  // A node of opcode 44 with the operand bytes.
  TreeNode Node(int16_t index, uint8_t source, uint8_t events, uint8_t flags, uint8_t kind = 0, uint8_t local = 0) {
    node = {44, 0, 254, 255, static_cast<uint8_t>(index & 0xFF), static_cast<uint8_t>(index >> 8),
            source, events, flags, kind, local, 0};
    return TreeNode(node.data());
  }
  std::array<uint8_t, 12> node{};
  alignas(8) unsigned char bytes[sizeof(TreeStackFrame) + 16] = {};
  TreeStackFrame* frame = nullptr;
  void SetUp() override {
    AnimatorBuild::SetUp();
    frame = new (bytes) TreeStackFrame();
    frame->paramCount = 2;
    frame->localCount = 2;
  }
};

TEST_F(AnimateNode, TheOperandIsDecodedAndTheAnswerPicksTheBranch) {
  const AnimateOperand op = PersonAnimator::DecodeOperand(Node(-2, 3, 4, 0x62, 3, 1).Bytes() + 4);
  EXPECT_EQ(op.index, -2);
  EXPECT_EQ(op.source, AnimateOperand::kMisc);
  EXPECT_EQ(op.eventCount, 4);
  EXPECT_EQ(op.flags, AnimateOperand::kBackwards | AnimateOperand::kEventsToLocal | AnimateOperand::kFollowSpeed);
  EXPECT_EQ(op.kind, AnimateOperand::kMainNoCarry);
  EXPECT_EQ(op.local, 1);

  // "dance" from the person table with one event.
  EXPECT_EQ(person->RunPrimitive(*frame, Node(5, AnimateOperand::kPerson, 1, 0)), kPrimYield);
  animator->QueueEvent(0);
  EXPECT_EQ(person->RunPrimitive(*frame, Node(5, AnimateOperand::kPerson, 1, 0)), kPrimTrue);
  EXPECT_EQ(frame->Params()[0], 0);
  animator->mainPractice->finished = true;
  EXPECT_EQ(person->RunPrimitive(*frame, Node(5, AnimateOperand::kPerson, 1, 0)), kPrimFalse);

  // An index in a parameter the frame lacks is the interpreter's error.
  EXPECT_THROW(person->RunPrimitive(*frame, Node(7, AnimateOperand::kPerson, 0, AnimateOperand::kIndexInParameter)),
               ObjectError);
}

TEST_F(AnimateNode, AMissingAnimationRunsTheMissingAnimationTree) {
  Trees("tree 4110 \"missing animation tree\"\n params 4\nn0: " + Expr(kOwnerMyAttribute, 1, 3, kOwnerLiteral, 1) +
        " -> true true\nend\n");
  // "ghost" (index 6) has no skill; the placeholder plays instead.
  EXPECT_EQ(person->RunPrimitive(*frame, Node(6, AnimateOperand::kPerson, 0, 0)), kPrimFalse);
  EXPECT_EQ(person->Attributes()[1], 1);
  EXPECT_EQ(animator->mainPractice->skill->GetName(), Standard(PersonAnimator::kPlaceholder));

  EXPECT_EQ(person->RunPrimitive(*frame, Node(6, AnimateOperand::kPerson, 0, 0, AnimateOperand::kBackground)),
            kPrimFalse);
  EXPECT_EQ(person->Attributes()[1], 2) << "a background animation too";
  EXPECT_EQ(person->RunPrimitive(*frame, Node(5, AnimateOperand::kPerson, 0, 0, AnimateOperand::kCarry)), kPrimFalse);
  EXPECT_EQ(person->Attributes()[1], 2) << "a found one runs nothing";
}

}  // namespace
}  // namespace tova_test
