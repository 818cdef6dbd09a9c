// A small lot for placement tests: a world whose layers are plain maps
// (every tile flat, unfloored and empty unless a test says otherwise) and a
// view that records what it is asked to redraw.
#pragma once

#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

#include "gamedata/LotInterfaces.h"

namespace tova_test {

using namespace tova;

inline std::tuple<int, int, int> Key(TileLocation t) { return {t.level, t.y, t.x}; }

class FakeWorld : public iLotWorld {
 public:
  int32_t size = 16;
  std::map<std::tuple<int, int, int>, bool> floors, water;
  std::map<std::tuple<int, int, int>, uint8_t> flags, pool;
  std::map<std::tuple<int, int, int>, uint32_t> corners;
  std::map<std::tuple<int, int, int>, int32_t> walls;
  std::map<std::tuple<int, int, int>, int16_t> objects, rooms;
  bool wallsAllow = true;
  int32_t wallReason = 7;  // the wall test's code when it refuses
  int32_t routing = 0;
  std::vector<TileLocation> changed;

  template <class M, class V>
  static V Find(const M& m, TileLocation t, V none) {
    auto it = m.find(Key(t));
    return it == m.end() ? none : it->second;
  }
  int32_t GetSize() const override { return size; }
  LotBounds GetBounds() const override { return {0, size - 1, 0, size - 1}; }
  int32_t GetViewRotation() const override { return 0; }
  int16_t GetRoomId(TileLocation t) const override { return Find(rooms, t, int16_t{0}); }
  bool HasFloor(TileLocation t) const override { return Find(floors, t, false); }
  uint8_t GetTileFlags(TileLocation t) const override { return Find(flags, t, uint8_t{0}); }
  LotWallSides GetWallSides(TileLocation t) const override {
    LotWallSides s;
    s.flags = Find(walls, t, 0);
    return s;
  }
  uint8_t GetPoolValue(TileLocation t) const override { return Find(pool, t, uint8_t{255}); }
  uint32_t GetCornerHeights(TileLocation t) const override { return Find(corners, t, uint32_t{0}); }
  bool IsTileAlwaysLit(TileLocation) const override { return false; }
  int16_t GetObjectIdAt(TileLocation t) const override { return Find(objects, t, int16_t{0}); }
  void AddTileLight(TileLocation, int32_t, bool) override {}
  void SetObjectIdAt(TileLocation t, int16_t id) override {
    if (id == 0) {
      objects.erase(Key(t));
    } else {
      objects[Key(t)] = id;
    }
  }
  bool HasWater(TileLocation t) const override { return t.level == 1 && Find(water, t, false); }
  bool WallPlacementTest(FinePoint, int32_t, int32_t, int32_t, int32_t& reason) const override {
    if (!wallsAllow) reason = wallReason;
    return wallsAllow;
  }
  int32_t RoutingTest(const LotBox&, int32_t) const override { return routing; }
  void SetTileFlagBits(TileLocation t, uint8_t bits, bool on) override {
    uint8_t& f = flags[Key(t)];
    f = on ? static_cast<uint8_t>(f | bits) : static_cast<uint8_t>(f & ~bits);
  }
  void NotifyTileChanged(TileLocation t) override { changed.push_back(t); }
};

class FakeView : public iLotView {
 public:
  int32_t level = 1;
  std::vector<ScreenRect> invalidated;
  int16_t cursor = 0;
  void InvalidateTile(TileLocation) override {}
  bool GetTileScreenRect(TileLocation, ScreenRect&) const override { return false; }
  void InvalidateRect(const ScreenRect& r) override { invalidated.push_back(r); }
  int32_t GetViewLevel() const override { return level; }
  void SetCursorObject(int16_t id) override { cursor = id; }
};

}  // namespace tova_test
