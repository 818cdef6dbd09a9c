// What the time properties of a person's animations do when a practice
// passes them: events for the animate primitive, interruptible and anchor
// marks, extra suits, hands and censor, sounds and footsteps by floor, and
// dropping the practice that fades out.
#include <gtest/gtest.h>

#include <map>

#include "FakeCharacterLibrary.h"
#include "PersonFixture.h"
#include "simulation/SoundPlayer.h"
#include "simulation/people/FootstepWorld.h"

namespace tova_test {
namespace {

class RecordingSounds : public iSoundPlayer {
 public:
  void Play(const std::string& event, int32_t argument) override {
    played.push_back(event + "@" + std::to_string(argument));
  }
  void StopSources(int32_t) override {}
  void ForgetObject(int32_t) override {}
  std::vector<std::string> played;
};

// An 8 by 8 tile world; tiles not set are bare terrain without pool.
class FakeFootstepWorld : public FootstepWorld {
 public:
  struct Tile {
    bool water = false, pool = false;
    int32_t poolCell = 255;  // none
    std::map<int32_t, int32_t> floors;  // by level
    std::vector<uint32_t> guids;
  };
  bool InGrid(int32_t x, int32_t y) const override { return x >= 0 && y >= 0 && x < 8 && y < 8; }
  bool HasWater(int32_t x, int32_t y) const override { return At(x, y).water; }
  bool HasPool(int32_t x, int32_t y) const override { return At(x, y).pool; }
  int32_t PoolCell(int32_t x, int32_t y) const override { return At(x, y).poolCell; }
  int32_t Floor(int32_t x, int32_t y, int32_t level) const override {
    const Tile& t = At(x, y);
    auto it = t.floors.find(level);
    return it != t.floors.end() ? it->second : 0;
  }
  int32_t FloorSoundClass(int32_t floor) const override { return floor - 10; }  // floors 10.. give classes 0..
  std::vector<uint32_t> ObjectGuidsAt(int32_t x, int32_t y, int32_t) const override { return At(x, y).guids; }
  const Tile& At(int32_t x, int32_t y) const {
    EXPECT_TRUE(InGrid(x, y)) << "asked outside the grid";
    auto it = tiles.find({x, y});
    return it != tiles.end() ? it->second : empty;
  }
  std::map<std::pair<int32_t, int32_t>, Tile> tiles;
  Tile empty{false, false, 255, {}, {}};
};

EventPair Pair(std::string name, std::string value) { return {std::move(name), std::move(value)}; }

class AnimationEvents : public PersonFixture {
 protected:
  void SetUp() override {
    PersonFixture::SetUp();
    SetCharacterLibrary(&library);
    person = MakePerson();
    animator = &person->Animator();
    animator->Attach(person);
    body = std::make_unique<FakeBody>(animator);
    animator->AttachBody(body.get());
    main.body = body.get();
    animator->mainPractice = &main;
    SetSoundPlayer(&sounds);
    PersonAnimator::SetFootstepWorld(&world);
    module.SetSelectedPerson(person);
    animator->grid[0] = 8;
    animator->grid[1] = 8;
  }
  void TearDown() override {
    PersonAnimator::SetFootstepWorld(nullptr);
    SetSoundPlayer(nullptr);
    module.SetSelectedPerson(nullptr);
    SetCharacterLibrary(nullptr);
    PersonFixture::TearDown();
  }
  void Events(std::vector<EventPair> pairs, PracticeRef* practice = nullptr) {
    animator->DispatchEvents(practice != nullptr ? *practice : main, motion, pairs);
  }
  std::string Person(const std::string& sound) { return sound + "@" + std::to_string(person->GetId()); }

  FakeCharacterLibrary library;
  cXPerson* person = nullptr;
  PersonAnimator* animator = nullptr;
  std::unique_ptr<FakeBody> body;
  PracticeRef main;
  SkillTrack motion;
  RecordingSounds sounds;
  FakeFootstepWorld world;
};

TEST_F(AnimationEvents, EventNumbersQueueOldestFirst) {
  Events({Pair("xevt", "3"), Pair("XEVT", "9"), Pair("xevt", "-2"), Pair("xevt", "seven"), Pair("xevt", "12abc")});
  int32_t n = -1;
  std::vector<int32_t> popped;
  while (animator->PopEvent(n)) popped.push_back(n);
  EXPECT_EQ(popped, (std::vector<int32_t>{3, -2, 0, 12})) << "names are case-sensitive; non-numbers give 0";
  n = 77;
  EXPECT_FALSE(animator->PopEvent(n));
  EXPECT_EQ(n, 77) << "an empty queue gives nothing";
}

TEST_F(AnimationEvents, BothSpellingsOfInterruptibleMarkThePractice) {
  for (const char* name : {"interruptable", "interruptible"}) {
    PracticeRef other;
    Events({Pair(name, "1")}, &other);
    EXPECT_EQ(other.interruptible, 1) << name;
    Events({Pair(name, "0")}, &other);
    EXPECT_EQ(other.interruptible, 0) << name;
  }
}

TEST_F(AnimationEvents, AnchorOnTheMainPracticeOnly) {
  PracticeRef carry;
  carry.anchorWord = 5;
  Events({Pair("anchor", "1")}, &carry);
  EXPECT_EQ(carry.anchorWord, 0);
  EXPECT_EQ(carry.anchor, nullptr);
  EXPECT_EQ(animator->anchor, nullptr) << "only the main practice anchors the animator";

  main.anchorWord = 5;
  animator->anchorFlag = 1;
  Events({Pair("anchor", "1")});
  EXPECT_EQ(main.anchorWord, 0);
  EXPECT_EQ(main.anchor, &motion);
  EXPECT_EQ(animator->anchor, &motion);
  EXPECT_EQ(animator->anchorFlag, 0);
  animator->anchorFlag = 1;
  Events({Pair("anchor", "1")});
  EXPECT_EQ(animator->anchorFlag, 1) << "already the anchor: the flag stays";

  SkillTrack other;
  animator->anchor = &other;
  Events({Pair("anchor", "0")});
  EXPECT_EQ(main.anchor, nullptr);
  EXPECT_EQ(animator->anchor, &other) << "another motion's anchor stays";
  animator->anchor = &motion;
  Events({Pair("anchor", "0")});
  EXPECT_EQ(animator->anchor, nullptr);
  EXPECT_EQ(animator->anchorFlag, 0);
}

TEST_F(AnimationEvents, DressAndUndressExtraSuits) {
  Events({Pair("dress", "hat"), Pair("dress", "bag"), Pair("dress", "hat")});
  EXPECT_EQ(animator->extraDressings, (std::vector<Dressing>{{"bag", ""}, {"hat", ""}})) << "a suit is worn once";
  EXPECT_EQ(body->worn, (std::vector<std::string>{"hat||0", "bag||0", "hat||0"}));
  EXPECT_EQ(body->takenOff, std::vector<std::string>{"hat"});

  const std::vector<Dressing> before = animator->extraDressings;
  Events({Pair("undress", "scarf"), Pair("undress", "HAT")});
  EXPECT_EQ(animator->extraDressings, before) << "names that are not worn change nothing";
  EXPECT_EQ(body->takenOff, std::vector<std::string>{"hat"});

  Events({Pair("undress", "hat")});
  EXPECT_EQ(animator->extraDressings, (std::vector<Dressing>{{"bag", ""}}));

  body->unknownSuits.insert("cape");
  Events({Pair("dress", "cape"), Pair("dress", "")});
  EXPECT_EQ(animator->extraDressings.size(), 1u) << "a suit the body refuses, or none, is not kept";
}

TEST_F(AnimationEvents, HandsAndCensorSetPersonData) {
  Events({Pair("lefthand", "2"), Pair("righthand", "4"), Pair("censor", "200")});
  EXPECT_EQ(person->Word(22), 2);
  EXPECT_EQ(person->Word(23), 4);
  EXPECT_EQ(person->Word(30), 200);
}

TEST_F(AnimationEvents, SoundsBySelection) {
  Events({Pair("sound", "laugh"), Pair("selectedsound", "mine"), Pair("deselectedsound", "theirs")});
  module.SetSelectedPerson(nullptr);
  Events({Pair("sound", "cry"), Pair("selectedsound", "mine2"), Pair("deselectedsound", "theirs2"),
          Pair("whistle", "x")});
  EXPECT_EQ(sounds.played,
            (std::vector<std::string>{Person("laugh"), Person("mine"), Person("cry"), Person("theirs2")}));
}

TEST_F(AnimationEvents, FootstepsFollowThePlayDirection) {
  struct Case {
    const char* value;
    float speed;
    bool sounds;
  } cases[] = {
      {"1", 1.0f, true},   {"2", 0.0f, true},   {"-1", 1.0f, false}, {"1", -1.0f, false},
      {"-1", -1.0f, true}, {"-2", -0.5f, true}, {"3", 1.0f, false},  {"0", 1.0f, false},
  };
  for (const Case& c : cases) {
    sounds.played.clear();
    main.speed = c.speed;
    Events({Pair("footstep", c.value)});
    EXPECT_EQ(sounds.played.size(), c.sounds ? 1u : 0u) << c.value << " at speed " << c.speed;
  }
}

TEST_F(AnimationEvents, FootstepsOnlyForTheSelectedPlacedPerson) {
  module.SetSelectedPerson(nullptr);
  Events({Pair("footstep", "1")});
  EXPECT_TRUE(sounds.played.empty()) << "not selected";
  module.SetSelectedPerson(person);
  animator->grid[0] = PersonAnimator::kNoPosition;
  Events({Pair("footstep", "1")});
  EXPECT_TRUE(sounds.played.empty()) << "no position";
  animator->grid[0] = 8;
  Events({Pair("footstep", "1")});
  EXPECT_EQ(sounds.played, std::vector<std::string>{Person("footstep_terrain")});
}

TEST_F(AnimationEvents, FootstepSoundByFloorAndShoes) {
  person->SetLevel(1);
  world.tiles[{1, 2}].floors[1] = 10;  // sound class 0: medium
  animator->grid[0] = 23.6f;           // rounds to 24: tile 1
  animator->grid[1] = 40;              // tile 2
  struct Case {
    int32_t outfit;
    std::string sound;
  } cases[] = {{-1, "footstep_medium"}, {0, "footstep_medium"}, {1, "footstep_medium_noshoe"},
               {2, "footstep_medium_noshoe"}, {3, "footstep_medium"}};
  for (const Case& c : cases) {
    sounds.played.clear();
    animator->wornOutfit = c.outfit;
    Events({Pair("footstep", "2")});
    EXPECT_EQ(sounds.played, std::vector<std::string>{Person(c.sound)}) << c.outfit;
  }
}

TEST(FootstepSounds, NamesByKindAndShoes) {
  struct Case {
    int32_t kind;
    const char* shod;
    const char* barefoot;
  } cases[] = {
      {0, "footstep_terrain", "footstep_terrain_noshoe"}, {1, "footstep_hard", "footstep_hard_noshoe"},
      {2, "footstep_hard", "footstep_hard_noshoe"},       {3, "footstep_medium", "footstep_medium_noshoe"},
      {4, "footstep_soft", "footstep_soft_noshoe"},       {5, "footstep_medium", "footstep_medium_noshoe"},
      {6, "footstep_plant", "footstep_plant"},            {7, "footstep_trash", "footstep_trash"},
      {8, "footstep_ash", "footstep_ash"},                {9, "footstep_roach", "footstep_roach"},
      {10, "footstep_puddle", "footstep_puddle"},         {11, "footstep_pool_swim_stroke", "footstep_pool_swim_stroke"},
      {12, "footstep_terrain", "footstep_terrain_noshoe"}, {-3, "footstep_terrain", "footstep_terrain_noshoe"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(PersonAnimator::FootstepSound(c.kind, false), c.shod) << c.kind;
    EXPECT_STREQ(PersonAnimator::FootstepSound(c.kind, true), c.barefoot) << c.kind;
  }
}

TEST(FootstepSounds, FloorKindOfATile) {
  using Tile = FakeFootstepWorld::Tile;
  struct Case {
    const char* what;
    Tile tile;
    int32_t level;
    int32_t kind;
  } cases[] = {
      {"bare terrain", Tile{false, false, 255, {}, {}}, 1, 0},
      {"water on the ground storey", Tile{true, false, 255, {}, {0x65274A4F}}, 1, 10},
      {"water is a ground-storey test", Tile{true, false, 255, {}, {}}, 2, 0},
      {"plant and puddle", Tile{false, false, 255, {}, {0x65274A4F, 0x3E7470F6}}, 1, 10},
      {"roach over trash", Tile{false, false, 255, {}, {0x7F907075, 0x05F5E0FF}}, 2, 9},
      {"ash", Tile{false, false, 255, {}, {0x63416BA1}}, 1, 8},
      {"other objects", Tile{false, false, 255, {{1, 10}}, {0x1234}}, 1, 3},
      {"in the pool", Tile{false, true, 3, {}, {}}, 1, 11},
      {"pool edge", Tile{false, false, 16, {{1, 10}}, {}}, 1, 1},
      {"pool cell upstairs", Tile{false, true, 3, {}, {}}, 2, 0},
      {"built-in floor", Tile{false, false, 255, {{1, 255}}, {}}, 1, 2},
      {"floor class 1", Tile{false, false, 255, {{1, 11}}, {}}, 1, 2},
      {"floor class 2", Tile{false, false, 255, {{1, 12}}, {}}, 1, 4},
      {"floor class 3", Tile{false, false, 255, {{1, 13}}, {}}, 1, 1},
      {"floor class 4", Tile{false, false, 255, {{1, 14}}, {}}, 1, 0},
      {"floor of another storey", Tile{false, false, 255, {{2, 12}}, {}}, 1, 0},
      {"upper floor", Tile{false, false, 255, {{2, 12}}, {}}, 2, 4},
  };
  for (const Case& c : cases) {
    FakeFootstepWorld world;
    world.tiles[{3, 4}] = c.tile;
    EXPECT_EQ(world.SoundKind(3, 4, c.level), c.kind) << c.what;
  }
  FakeFootstepWorld world;
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {8, 0}, {0, 8}}) EXPECT_EQ(world.SoundKind(x, y, 1), 0) << "outside";
}

TEST_F(AnimationEvents, FootstepOutsideTheGridSoundsAsTerrain) {
  animator->grid[0] = 16 * 40;
  Events({Pair("footstep", "1")});
  EXPECT_EQ(sounds.played, std::vector<std::string>{Person("footstep_terrain")});
}

TEST_F(AnimationEvents, DiscontinuityDropsTheFadingPractice) {
  PracticeRef fading;
  animator->lastPractice = &fading;
  Events({Pair("discontinuity", "")});
  EXPECT_EQ(animator->lastPractice, nullptr);
  EXPECT_EQ(body->removed, std::vector<PracticeRef*>{&fading});
  EXPECT_TRUE(animator->discontinuity);
  Events({Pair("discontinuity", "")});
  EXPECT_EQ(body->removed.size(), 1u) << "nothing left to drop";
}

TEST_F(AnimationEvents, TheLibraryCallbackReachesTheBodysAnimator) {
  OnAnimationEvents(main, motion, {Pair("xevt", "42")}, 0.5f);
  PracticeRef orphan;  // a practice of no body
  OnAnimationEvents(orphan, motion, {Pair("xevt", "43")}, 0.5f);
  FakeBody stray(nullptr);  // a body that belongs to no person
  orphan.body = &stray;
  OnAnimationEvents(orphan, motion, {Pair("xevt", "44")}, 0.5f);
  EXPECT_EQ(animator->eventQueue, std::vector<int32_t>{42});
}

}  // namespace
}  // namespace tova_test
