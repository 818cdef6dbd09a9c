#include <gtest/gtest.h>

#include "gamedata/DrawGroup.h"
#include "gamedata/RecordBytes.h"
#include "gamedata/RecordIO.h"

namespace tova {
namespace {

// An old-layout group: one image (mask 0x05, zoom 2) with a drawn sprite and
// one of another kind.
std::vector<uint8_t> OldGroup(int16_t version) {
  ByteWriter w;
  w.I16(version);
  w.U16(1);
  w.U16(2);
  w.U8(0x05);
  w.U8(2);
  for (int16_t kind : {int16_t{-3}, int16_t{-2}}) {
    w.I16(kind);
    w.I16(100);   // sprite
    w.I16(kind == -3 ? 7 : 8);  // frame
    w.I16(0x21);  // flags
    w.I16(-4);    // x
    w.I16(9);     // y
    if (version > 20000) w.F32(1.5f);
  }
  return w.Take();
}

std::vector<uint8_t> NewGroup(int16_t version) {
  ByteWriter w;
  w.I16(version);
  w.U32(1);
  w.U32(0x80);
  w.I32(3);
  w.U32(1);
  w.I32(200);
  w.I32(1);
  w.I32(10);
  w.I32(-10);
  w.F32(0.5f);
  w.I32(3);
  if (version > 20003) {
    w.F32(0.25f);
    w.F32(-0.75f);
  }
  return w.Take();
}

TEST(DrawGroup, EveryVersion) {
  struct Case {
    int16_t version;
    bool old;
    float vertical, planeA;
  } cases[] = {{20000, true, 0, 0}, {20001, true, 1.5f, 0}, {20002, true, 1.5f, 0},
               {20003, false, 0.5f, 0}, {20004, false, 0.5f, 0.25f}};
  for (const Case& c : cases) {
    DrawGroup g;
    ASSERT_TRUE(g.Parse(c.old ? OldGroup(c.version) : NewGroup(c.version))) << c.version;
    ASSERT_EQ(g.images.size(), 1u);
    const DrawGroupImage& image = g.images[0];
    ASSERT_EQ(image.sprites.size(), 1u) << c.version;  // the old layout drops other kinds
    const DrawGroupSprite& s = image.sprites[0];
    EXPECT_FLOAT_EQ(s.vertical, c.vertical) << c.version;
    EXPECT_FLOAT_EQ(s.planeA, c.planeA) << c.version;
    if (c.old) {
      EXPECT_EQ(image.directionMask, 0x05u);
      EXPECT_EQ(image.zoom, 2);
      EXPECT_EQ(s.frame, 7);
      EXPECT_EQ(s.x, -4);
      EXPECT_EQ(s.flags, 0x21);
    } else {
      EXPECT_EQ(image.directionMask, 0x80u);
      EXPECT_EQ(s.spriteId, 200);
      EXPECT_EQ(s.y, -10);
    }
  }
}

TEST(DrawGroup, WritesTheCurrentVersionAndReadsItBack) {
  DrawGroup g;
  g.images.push_back({0x0F, 1, {{1, 2, 3, 4, 0.5f, 1.5f, -2.5f, 9}, {5, 6, 7, 8, 0, 0, 0, 0}}});
  g.images.push_back({0xF0, 3, {}});
  std::vector<uint8_t> bytes = g.Serialize();
  EXPECT_EQ(LoadI16(bytes.data()), 20004);
  MemoryResourceSource file;
  file.Add(kTypeDGRP, 200, bytes, "chair - north");
  DrawGroup back;
  ASSERT_EQ(back.Load(file, 200), 0);
  EXPECT_EQ(back.images, g.images);
  EXPECT_EQ(back.name, "chair - north");

  EXPECT_EQ(back.FindImage(2, 1), &back.images[0]);
  EXPECT_EQ(back.FindImage(34, 1), &back.images[0]);  // direction & 31
  EXPECT_EQ(back.FindImage(5, 3), &back.images[1]);
  EXPECT_EQ(back.FindImage(5, 1), nullptr);
  EXPECT_EQ(back.GetSprite(back.images[0], 1)->spriteId, 5);
  EXPECT_EQ(back.GetSprite(back.images[0], 2), nullptr);
  EXPECT_EQ(back.GetSprite(back.images[0], -1), nullptr);
  EXPECT_EQ(back.Load(file, 201), kResNotFound);
}

TEST(DrawGroup, CountsBoundedByTheResource) {
  std::vector<uint8_t> bytes = NewGroup(20004);
  StoreU32(bytes.data() + 2, 0x10000000);  // image count
  DrawGroup g;
  EXPECT_FALSE(g.Parse(bytes));
  bytes = NewGroup(20004);
  StoreU32(bytes.data() + 14, 0x7FFFFFFF);  // sprite count
  EXPECT_FALSE(g.Parse(bytes));
  bytes = OldGroup(20001);
  bytes.resize(bytes.size() - 3);
  EXPECT_FALSE(g.Parse(bytes));
  EXPECT_TRUE(g.images.empty());
  MemoryResourceSource file;
  file.Add(kTypeDGRP, 1, bytes);
  EXPECT_EQ(g.Load(file, 1), kResBadData);
}

}  // namespace
}  // namespace tova
