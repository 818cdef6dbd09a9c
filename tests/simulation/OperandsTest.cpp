#include <gtest/gtest.h>

#include "SimFixture.h"
#include "gamedata/RoomManager.h"
#include "simulation/MotiveEntryTable.h"

using namespace tova;
using namespace tova_test;

namespace {

class Operands : public SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    Trees(
        "tree 4096 \"Main\"\n params 4\n locals 2\nn0: 39 -> n0 n0\nend\n"
        "tree 4100 \"Entry 18\"\nn0: 39 -> true true\nend\n");
    me = Run<FakePerson>();
    other = Run<FakePerson>();
    plain = Run<cXObject>();
    frame().stackObject = other->GetId();
    for (int i = 0; i < 4; ++i) frame().Params()[i] = static_cast<int16_t>(i + 1);
    frame().Locals()[1] = 41;
    me->Attributes()[2] = 12;
    other->Attributes()[3] = 13;
    me->Data()[5] = 35;
    other->Data()[71] = 71;
    me->Temps()[7] = 7;
    me->Temps()[1] = 9;
    other->Temps()[2] = 22;
    me->motives[3] = 2.5f;
    me->motives[4] = -2.5f;
    other->motives[5] = 50;
    me->personData[79] = 79;
    other->personData[1] = 101;
    globals[3] = 300;
    module.SetGlobals(globals);
    entries = {{1, 2, 3}};
    SetSharedMotiveEntries(&entries);
  }
  void TearDown() override { SetSharedMotiveEntries(nullptr); }

  TreeStackFrame& frame() { return *me->CurrentFrame(); }

  // The value, or E(the error code) when one is raised.
  static constexpr int32_t E(int32_t code) { return 100000 + code; }
  int32_t Read(cXObject& o, int32_t owner, int32_t index, int16_t** address = nullptr, float** motive = nullptr) {
    try {
      return o.EvaluateVariable(owner, index, address, motive);
    } catch (const ObjectError& e) {
      return E(e.code);
    }
  }

  FakePerson* me = nullptr;
  FakePerson* other = nullptr;
  cXObject* plain = nullptr;
  int16_t globals[kSimulatorGlobalCount] = {};
  std::vector<MotiveEntry> entries;
};

TEST_F(Operands, OwnerTable) {
  struct Case {
    int32_t owner, index;
    int32_t value;  // negative: the error code
    bool writable;
  };
  const Case cases[] = {
      {0, 2, 12, true},      {0, 8, E(6), false},     {0, -1, E(6), false},   {1, 3, 13, true},
      {2, 0, E(9), false},     {3, 5, 35, true},      {3, 72, E(7), false},   {4, 71, 71, true},
      {4, 72, E(7), false},    {5, 0, E(9), false},     {6, 3, 300, false},   {6, 32, E(63), false},
      {7, -3, -3, false},    {8, 7, 7, true},       {8, 8, E(2), false},    {9, 3, 4, true},
      {9, 4, E(8), false},     {10, 0, 2, true},      {10, 1, E(15), false},  {11, 1, E(2), false}, {11, 7, 7, true},
      {12, 0, 3, true},      {28, 0, 1, true},      {29, 0, 2, true},     {12, 1, E(26), false},
      {13, 2, 22, true},     {13, 8, E(2), false},    {14, 3, 3, false},    {14, 4, -3, false},
      {14, 16, E(26), false},  {15, 5, 50, false},    {16, 0, E(27), false},  {18, 79, 79, true},
      {18, 80, E(33), false},  {19, 1, 101, true},    {19, 80, E(33), false}, {20, 0, E(27), false},
      {21, 2, 8, false},     {21, 108, E(35), false}, {22, 2, 13, true},    {22, 4, E(8), false},
      {24, 0, 0, false},     {25, 1, 41, true},     {25, 2, E(8), false},   {27, 0, E(49), false},
      {32, 0, E(55), false},   {33, 0, E(57), false},   {34, 1, 0, false},    {35, 1, 1, false},
      {35, 5, 0, false},     {36, 0, E(64), false},   {37, 0, E(64), false},  {38, 0, E(55), false},
      {39, 0, E(9), false},    {-1, 0, E(9), false},
  };
  for (const Case& c : cases) {
    int16_t* address = nullptr;
    EXPECT_EQ(Read(*me, c.owner, c.index, &address), c.value) << "owner " << c.owner << " index " << c.index;
    EXPECT_EQ(address != nullptr, c.writable) << "owner " << c.owner << " index " << c.index;
  }
}

TEST_F(Operands, ErrorsComeInTheirOrder) {
  frame().stackObject = 999;  // no such object
  const struct {
    int32_t owner, index, code;
  } cases[] = {
      {1, 0, 10},  {4, 72, 7},  {4, 0, 10},   {13, 0, 10},  {15, 16, 26}, {15, 0, 21}, {16, 0, 21},
      {17, 9, 2},  {17, 0, 21}, {19, 80, 33}, {19, 0, 21},  {21, 108, 35}, {21, 0, 10}, {22, 9, 8},
      {22, 0, 10}, {27, 9, 2},  {27, 0, 10},  {31, 0, 21},  {35, 0, 10},  {37, 0, 10},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(*me, c.owner, c.index), E(c.code)) << c.owner << "/" << c.index;
  // A plain object has no motives or person data.
  plain->CurrentFrame()->stackObject = plain->GetId();
  EXPECT_EQ(Read(*plain, 14, 0), E(28));
  EXPECT_EQ(Read(*plain, 15, 0), E(28));
  EXPECT_EQ(Read(*plain, 18, 0), E(28));
  EXPECT_EQ(Read(*plain, 30, 9), E(28)) << "not a person comes before the temp";
}

TEST_F(Operands, WritingWordTwentyFiveWakes) {
  module.SetCountdown(me->GetId(), 40);
  int16_t* address = nullptr;
  Read(*me, kOwnerMyData, 24, &address);
  EXPECT_EQ(module.GetCountdown(me->GetId()), 40);
  Read(*me, kOwnerMyData, 25, &address);
  EXPECT_EQ(module.GetCountdown(me->GetId()), kCountdownWoken);
  Read(*me, kOwnerMyData, 25, nullptr);
  module.SetCountdown(other->GetId(), 3);
  Read(*me, kOwnerStackObjData, 25, &address);
  EXPECT_EQ(module.GetCountdown(other->GetId()), kCountdownWoken);
}

TEST_F(Operands, MotivesGiveTheirFloat) {
  float* motive = nullptr;
  int16_t* address = nullptr;
  EXPECT_EQ(Read(*me, kOwnerMyMotive, 3, &address, &motive), 3);
  EXPECT_EQ(motive, &me->motives[3]);
  EXPECT_EQ(address, nullptr);
  me->Temps()[0] = 5;
  EXPECT_EQ(Read(*me, kOwnerStackObjMotiveByTemp, 0, &address, &motive), 50);
  EXPECT_EQ(motive, &other->motives[5]);
}

TEST_F(Operands, TreeConstants) {
  auto table = [](std::vector<int16_t> values) {
    std::vector<uint8_t> bytes;
    const auto put = [&bytes](int16_t v) {
      bytes.push_back(static_cast<uint8_t>(v & 0xFF));
      bytes.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    };
    put(static_cast<int16_t>(values.size()));
    for (int16_t v : values) put(v);
    return bytes;
  };
  own.Add(kTypeBCON, 4097, table({10, 11, 12}));
  semi.Add(kTypeBCON, 8192, table({20}));
  global.Add(kTypeBCON, 256 + 63, table({30, 31}));
  const struct {
    int32_t index, value;
  } cases[] = {
      {0x0080 | 2, 12}, {0x0080 | 3, E(46)}, {0x2000, 20}, {0x4000 | (63 << 7) | 1, 31},
      {0x0000, E(46)},  // no table 4096
      {0x6000, E(46)},  {static_cast<int16_t>(0x8000), E(46)},
  };
  for (const auto& c : cases) EXPECT_EQ(Read(*me, kOwnerConstant, c.index), c.value) << std::hex << c.index;
}

TEST_F(Operands, RoomValues) {
  class World : public iLotWorld {
   public:
    int32_t GetSize() const override { return 64; }
    LotBounds GetBounds() const override { return {0, 63, 0, 63}; }
    int32_t GetViewRotation() const override { return 0; }
    int16_t GetRoomId(TileLocation) const override { return 9; }
    bool HasFloor(TileLocation) const override { return true; }
    uint8_t GetTileFlags(TileLocation) const override { return 0; }
    LotWallSides GetWallSides(TileLocation) const override { return {}; }
    uint8_t GetPoolValue(TileLocation) const override { return 255; }
    uint32_t GetCornerHeights(TileLocation) const override { return 0; }
    bool IsTileAlwaysLit(TileLocation) const override { return true; }
    int16_t GetObjectIdAt(TileLocation) const override { return 0; }
    void AddTileLight(TileLocation, int32_t, bool) override {}
  } world;
  RoomManager rooms(LotServices{&world, nullptr, nullptr, nullptr, nullptr});
  rooms.GetOrCreateRoom(9).AssignTiles({RoomTile{3, 3, 1}, RoomTile{4, 3, 1}});
  rooms.ScoreRooms(0);
  me->Temps()[0] = 9;
  EXPECT_EQ(Read(*me, kOwnerRoom, 0), 80) << "always lit";
  EXPECT_EQ(Read(*me, kOwnerRoom, 1), 0);
  EXPECT_EQ(Read(*me, kOwnerRoom, 2), 1);
  EXPECT_EQ(Read(*me, kOwnerRoom, 3), 2);
  EXPECT_EQ(Read(*me, kOwnerRoom, 4), E(41));
  me->Temps()[0] = -5;
  EXPECT_EQ(Read(*me, kOwnerRoom, 1), 1) << "outside any room";
  EXPECT_EQ(Read(*me, kOwnerRoom, 0), 0);
  me->Temps()[0] = 10;
  EXPECT_EQ(Read(*me, kOwnerRoom, 0), E(40));
}

}  // namespace
