#include <gtest/gtest.h>

#include "gamedata/LocationObjectIterator.h"
#include "gamedata/RecordBytes.h"
#include "gamedata/SlotDescriptor.h"
#include "gamedata/TileTables.h"

namespace tova {
namespace {

// One stored descriptor at version v, fields as that version keeps them.
std::vector<uint8_t> Descriptor(int32_t v, int16_t type, int32_t flags = 0, int32_t distance = 0) {
  ByteWriter w;
  if (v <= 2) {
    w.F32(1.5f);
    w.F32(2.5f);
    if (v == 0) {
      w.I16(3);
    } else {
      w.F32(3.5f);
    }
    w.I16(type);
    if (v == 2) w.I16(0);
  } else {
    w.I16(type);
    w.F32(1.5f);
    w.F32(2.5f);
    w.F32(3.5f);
    w.I32(11);
    w.I32(12);
    w.I32(13);
    w.I32(flags);
    if (v >= 4) w.I32(7);
    if (v >= 5) {
      for (int k = 1; k <= 3; ++k) w.I32(distance * k);
      w.I32(21);
      w.I32(22);
    }
    if (v >= 7) w.F32(2.0f);
  }
  if (v >= 8) w.I32(4);
  if (v >= 9) w.I32(5);
  if (v >= 10) w.I32(99);
  return w.Take();
}

std::vector<uint8_t> SlotRecord(int32_t v, const std::vector<std::vector<uint8_t>>& descriptors) {
  ByteWriter w;
  w.U32(static_cast<uint32_t>(descriptors.size()));
  std::vector<uint8_t> body = w.Take();
  for (const auto& d : descriptors) body.insert(body.end(), d.begin(), d.end());
  return tova::MakeRecord(v, kTypeSLOT, body);
}

// Reads a record; status in *status.
std::vector<SlotDescriptor> ReadSlots(const std::vector<uint8_t>& record, int* status = nullptr) {
  SlotDescriptorVector vector;
  SimpleReconObject<SlotDescriptorVector> reader(&vector, kTypeSLOT);
  const int result = ReadRecordBytes(reader, record);
  if (status) *status = result;
  return vector.items;
}

SlotDescriptor ReadOne(int32_t v, const std::vector<uint8_t>& d) {
  int status = 0;
  auto slots = ReadSlots(SlotRecord(v, {d}), &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(slots.size(), 1u);
  return slots.at(0);
}

TEST(SlotDescriptor, EveryVersion) {
  for (int32_t v = 0; v <= 10; ++v) {
    SlotDescriptor s = ReadOne(v, Descriptor(v, kSlotRouting, 0, 1));
    SCOPED_TRACE(v);
    EXPECT_EQ(s.type, kSlotRouting);
    EXPECT_FLOAT_EQ(s.z, v == 0 ? 3.0f : 3.5f);
    EXPECT_EQ(s.params[0], v >= 3 ? 11 : 0);
    EXPECT_EQ(s.target, v >= 4 ? 7 : -1);
    EXPECT_EQ(s.objectWord2, v >= 5 ? 22 : 0);
    EXPECT_EQ(s.distances[1], v >= 10 ? 2 : (v >= 5 ? 32 : 16));  // tiles before 10
    EXPECT_FLOAT_EQ(s.tolerance, v >= 10 ? 2.0f : (v >= 7 ? 2.0f / 16 : 0.1875f));
    EXPECT_EQ(s.heightClass, v >= 8 ? 4 : 0);
    EXPECT_EQ(s.facing, v >= 9 ? 5 : -2);
    EXPECT_EQ(s.lastWord, v >= 10 ? 99 : 16);
  }
}

TEST(SlotDescriptor, OldFacingFromFlagsAndDistancesInTiles) {
  SlotDescriptor a = ReadOne(8, Descriptor(8, kSlotRouting, (1 << 9) | 0x3, 1));
  EXPECT_EQ(a.facing, -3);
  EXPECT_EQ(a.flags, 0x3);
  SlotDescriptor b = ReadOne(8, Descriptor(8, kSlotRouting, 1 << 10));
  EXPECT_EQ(b.facing, -1);
  EXPECT_EQ(b.flags, 0);
  SlotDescriptor c = ReadOne(9, Descriptor(9, kSlotRouting, 1 << 9, 1));
  EXPECT_EQ(c.distances, (std::array<int32_t, 3>{16, 32, 48}));
  EXPECT_EQ(c.flags, 1 << 9);  // version 9 keeps its own facing
}

TEST(SlotDescriptor, CurrentVersionRoundTrip) {
  SlotDescriptor s;
  s.type = kSlotObject;
  s.x = 0.5f;
  s.params = {1, 2, 3};
  s.flags = 0xFF;
  s.distances = {4, 5, 6};
  s.tolerance = 0.3f;
  s.heightClass = 3;
  s.facing = 6;
  s.lastWord = 77;
  SlotDescriptor d;  // defaults
  std::vector<uint8_t> rec = MakeSlotRecord({s, d});
  EXPECT_EQ(LoadI32(rec.data() + 4), 10);
  EXPECT_EQ(ReadSlots(rec), (std::vector<SlotDescriptor>{s, d}));
}

TEST(SlotDescriptor, CountBoundedByTheResource) {
  std::vector<uint8_t> rec = SlotRecord(10, {Descriptor(10, 0)});
  StoreU32(rec.data() + 12, 50000000);
  int status = 0;
  ReadSlots(rec, &status);
  EXPECT_EQ(status, kResBadData);
  MemoryResourceSource file;
  file.Add(kTypeSLOT, 1, rec);
  std::vector<ObjectSlot> objects;
  EXPECT_EQ(SlotLoader(&file).Load(1, &objects, nullptr, nullptr), kResBadData);
  EXPECT_TRUE(objects.empty());
}

TEST(SlotLoader, SortsByTypeWithArrayPositions) {
  MemoryResourceSource file;
  file.Add(kTypeSLOT, 300,
           SlotRecord(10, {Descriptor(10, kSlotRouting), Descriptor(10, 2), Descriptor(10, kSlotObject),
                           Descriptor(10, kSlotPoint), Descriptor(10, kSlotRouting)}));
  std::vector<ObjectSlot> objects;
  std::vector<RoutingSlot> routing;
  std::vector<SlotPoint> points;
  ASSERT_EQ(SlotLoader(&file).Load(300, &objects, &routing, &points), 0);
  ASSERT_EQ(routing.size(), 2u);
  EXPECT_EQ(routing[0].slotIndex, 1);
  EXPECT_EQ(routing[1].slotIndex, 5);  // the type-2 entry still counts
  EXPECT_EQ(routing[1].lastWord, 99);
  ASSERT_EQ(objects.size(), 1u);
  EXPECT_EQ(objects[0].slotIndex, 3);
  EXPECT_EQ(objects[0].objectWord1, 21);
  EXPECT_EQ(objects[0].defaultValue, 50);
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].slotIndex, 4);
  EXPECT_EQ(SlotLoader(&file).Load(300, nullptr, &routing, nullptr), 0);
  EXPECT_EQ(routing.size(), 4u);  // appends
  EXPECT_EQ(SlotLoader(&file).Load(301, &objects, &routing, &points), kResNotFound);
}

TEST(Slots, RoutingSetters) {
  RoutingSlot r;
  r.flags = 0x1FF;
  r.ClearDirections();
  EXPECT_EQ(r.flags, 0x100);
  r.EnableDirection(3);
  r.EnableDirection(8);
  r.SetFlagBit0();
  EXPECT_EQ(r.flags, 0x109);
  r.SetFacing(9);
  EXPECT_EQ(r.facing, -2);
  r.SetFacing(7);
  EXPECT_EQ(r.facing, 7);
  r.SetFacingMode3();
  EXPECT_EQ(r.facing, -3);
  r.SetDistancesTiles(1.5f, 0.99f, 2);
  EXPECT_EQ(r.distances, (std::array<int32_t, 3>{24, 15, 32}));
  r.SetParam(20, 1);
  r.SetParam(2, 9);
  EXPECT_EQ(r.paramArray[2], 9);
}

TEST(Slots, HeightClasses) {
  struct Case {
    int32_t h;
    float z0, z, cls;
  } cases[] = {{0, 1.0f, 1.0f, 5}, {0, 0, 0, 1}, {1, 3, 0, 1}, {2, 0, 2.5f, 2}, {3, 0, 4.0f, 3},
               {8, 0, 4.0f, 8},    {4, 0, 4.05f, 4}, {6, 1.25f, 1.25f, 6}};
  for (const Case& c : cases) {
    ObjectSlot s;
    s.z = c.z0;
    s.SetHeightClass(c.h);
    EXPECT_FLOAT_EQ(s.z, c.z) << c.h;
    EXPECT_EQ(s.heightClass, c.cls) << c.h;
  }
}

TEST(GraphicCycle, StepsEveryTwelfthCall) {
  GraphicCycle c;
  c.Start(nullptr, 4, 3, false);
  c.SetTicks(-1);  // endless
  int changes = 0;
  for (int i = 0; i < 36 * 10; ++i) changes += c.Step();
  EXPECT_EQ(changes, 30);
  EXPECT_EQ(c.Frame(), 0);
  c.Start(nullptr, 4, 3, true);
  EXPECT_EQ(c.Frame(), 2);
  for (int i = 0; i < 12 * 3; ++i) c.Step();
  EXPECT_EQ(c.Frame(), 2);  // wrapped backward through 1, 0
  c.SetTicks(0);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(c.Step(), 0);
  c.SetLoops(1);
  EXPECT_EQ(c.Remaining(), 36);
  changes = 0;
  for (int i = 0; i < 100; ++i) changes += c.Step();
  EXPECT_EQ(changes, 2);  // the last tick runs out before the third change
  GraphicCycle empty;
  empty.Start(nullptr, 1, 0, false);
  empty.SetTicks(-1);
  for (int i = 0; i < 30; ++i) EXPECT_EQ(empty.Step(), 0);  // no frames: no change, no division
  empty.StartSingle(nullptr);
  EXPECT_EQ(empty.Graphic(), -1);
  EXPECT_EQ(empty.FrameCount(), 1);
}

TEST(TileTables, NeighboursAndRotations) {
  EXPECT_EQ(kNeighbourOffsets[0].dy, -1);
  EXPECT_EQ(kNeighbourOffsets[7].dx, -1);
  EXPECT_EQ(kNeighbourOffsets[7].dy, 1);
  TileCell a = RotateTile(1, 2, 5);
  EXPECT_EQ(a.a, 58);
  EXPECT_EQ(a.b, 2);
  TileCell b = RotateTile(2, 2, 5);
  EXPECT_EQ(b.a, 61);
  EXPECT_EQ(b.b, 58);
  TileCell c = RotateTile(3, 2, 5);
  EXPECT_EQ(c.a, 5);
  EXPECT_EQ(c.b, 61);
  // On every cell, two and three quarter turns are the first one repeated,
  // and four come back.
  for (int a0 = 0; a0 < kRotationGridSize; ++a0) {
    for (int b0 = 0; b0 < kRotationGridSize; ++b0) {
      TileCell r = {static_cast<uint8_t>(a0), static_cast<uint8_t>(b0)};
      for (int turns = 1; turns <= 4; ++turns) {
        r = RotateTile(1, r.a, r.b);
        if (turns == 4) break;
        const TileCell direct = RotateTile(turns, a0, b0);
        ASSERT_EQ(direct.a, r.a) << turns << " turns of " << a0 << "," << b0;
        ASSERT_EQ(direct.b, r.b) << turns << " turns of " << a0 << "," << b0;
      }
      ASSERT_EQ(r.a, a0);
      ASSERT_EQ(r.b, b0);
    }
  }
  EXPECT_EQ(RotateTile(4, 70, 3).a, 70);  // outside the grid or the turns: unchanged
}

struct Thing : SlotHolder {
  explicit Thing(int id) : id(id) {}
  int SlotCount() const override { return static_cast<int>(slots.size()); }
  SlotHolder* SlotContent(int i) const override { return slots[static_cast<size_t>(i)]; }
  int id;
  std::vector<SlotHolder*> slots;
};

TEST(LocationObjectIterator, DepthFirstThroughSlots) {
  Thing table(1), tray(2), cup(3), plate(4), spoon(5);
  table.slots = {&tray, nullptr, &plate};
  tray.slots = {&cup, &spoon};
  LocationObjectIterator it(&table, 42);
  EXPECT_EQ(it.Value(), 42);
  std::vector<int> seen{static_cast<Thing*>(it.Current())->id};
  while (SlotHolder* h = it.Next()) seen.push_back(static_cast<Thing*>(h)->id);
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 5, 4}));
  LocationObjectIterator none(nullptr, 0);
  EXPECT_EQ(none.Next(), nullptr);
}

TEST(LocationObjectIterator, EachObjectOnceWhenSlotsShareOrLoop) {
  auto walk = [](Thing& start) {
    LocationObjectIterator it(&start, 0);
    std::vector<int> seen{start.id};
    while (SlotHolder* h = it.Next()) seen.push_back(static_cast<Thing*>(h)->id);
    return seen;
  };
  Thing shelf(1), box(2);
  shelf.slots = {&box, &box};  // one object in two slots
  EXPECT_EQ(walk(shelf), (std::vector<int>{1, 2}));
  Thing a(1), b(2), c(3);  // every slot leads back up or across
  a.slots = {&a, &b, &a};
  b.slots = {&a, &c, &c};
  c.slots = {&b, &a, &c};
  EXPECT_EQ(walk(a), (std::vector<int>{1, 2, 3}));
}

TEST(Statistics, CopyAndAdd) {
  int32_t a[8] = {1, 2, 3, 4, 5, 6, 7, 8}, b[8] = {}, c[8] = {1, 1, 1, 1, 1, 1, 1, 1}, out[8];
  CopyStatistics(b, a);
  EXPECT_EQ(b[7], 8);
  AddStatistics(out, a, b, c);
  EXPECT_EQ(out[0], 3);
  EXPECT_EQ(out[7], 17);
}

}  // namespace
}  // namespace tova
