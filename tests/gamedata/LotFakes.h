// Recording fakes of the lot's interfaces for tests of rooms and objects.
#pragma once

#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "gamedata/LotInterfaces.h"

namespace tova_test {

using tova::TileLocation;

inline std::tuple<int, int, int> TileKey(TileLocation t) { return {t.x, t.y, t.level}; }

class FakeLotWorld : public tova::iLotWorld {
 public:
  int32_t size = 64;
  int32_t rotation = 0;
  std::map<std::tuple<int, int, int>, int16_t> rooms;
  std::map<std::tuple<int, int, int>, bool> floors;
  std::map<std::tuple<int, int, int>, uint8_t> flags;
  std::map<std::tuple<int, int, int>, tova::LotWallSides> walls;
  std::map<std::tuple<int, int, int>, uint8_t> pool;
  std::map<std::tuple<int, int, int>, uint32_t> corners;
  std::map<std::tuple<int, int, int>, bool> alwaysLit;
  struct TileLightCall {
    TileLocation tile;
    int32_t value;
    bool withAmount;
  };
  std::vector<TileLightCall> tileLights;

  template <class M, class V>
  static V Find(const M& m, TileLocation t, V fallback) {
    auto it = m.find(TileKey(t));
    return it == m.end() ? fallback : it->second;
  }

  int32_t GetSize() const override { return size; }
  tova::LotBounds GetBounds() const override { return {0, size - 1, 0, size - 1}; }
  int32_t GetViewRotation() const override { return rotation; }
  int16_t GetRoomId(TileLocation t) const override { return Find(rooms, t, int16_t{0}); }
  bool HasFloor(TileLocation t) const override { return Find(floors, t, false); }
  uint8_t GetTileFlags(TileLocation t) const override { return Find(flags, t, uint8_t{0}); }
  tova::LotWallSides GetWallSides(TileLocation t) const override { return Find(walls, t, tova::LotWallSides{}); }
  uint8_t GetPoolValue(TileLocation t) const override { return Find(pool, t, uint8_t{255}); }
  uint32_t GetCornerHeights(TileLocation t) const override { return Find(corners, t, uint32_t{0}); }
  bool IsTileAlwaysLit(TileLocation t) const override { return Find(alwaysLit, t, false); }
  int16_t GetObjectIdAt(TileLocation) const override { return 0; }
  void AddTileLight(TileLocation t, int32_t value, bool withAmount) override {
    tileLights.push_back({t, value, withAmount});
  }
};

struct FakeLotObject {
  int16_t id = 0;
  TileLocation tile;
  int32_t definitionType = 4;
  std::map<int32_t, int16_t> words;
  tova::LotPoint3 position;
};

class FakeLotObjects : public tova::iLotObjects {
 public:
  std::vector<FakeLotObject> objects;
  std::vector<tova::LotPersonPlace> persons;

  FakeLotObject& Add(int16_t id, TileLocation tile, std::map<int32_t, int16_t> words, int32_t type = 4) {
    objects.push_back(FakeLotObject{id, tile, type, std::move(words), {}});
    return objects.back();
  }
  const FakeLotObject* Get(int16_t id) const {
    for (const auto& o : objects) {
      if (o.id == id) return &o;
    }
    return nullptr;
  }
  void GetObjectsOnTile(TileLocation tile, std::vector<int16_t>& out) const override {
    for (const auto& o : objects) {
      if (o.tile == tile) out.push_back(o.id);
    }
  }
  int16_t GetObjectWord(int16_t id, int32_t index) const override {
    const FakeLotObject* o = Get(id);
    if (!o) return 0;
    auto it = o->words.find(index);
    return it == o->words.end() ? 0 : it->second;
  }
  int32_t GetDefinitionType(int16_t id) const override { return Get(id) ? Get(id)->definitionType : 0; }
  tova::LotPoint3 GetWorldPosition(int16_t id) const override { return Get(id) ? Get(id)->position : tova::LotPoint3{}; }
  TileLocation GetTile(int16_t id) const override { return Get(id) ? Get(id)->tile : TileLocation{}; }
  void GetPersons(std::vector<tova::LotPersonPlace>& out) const override { out = persons; }
};

class FakeLotView : public tova::iLotView {
 public:
  std::vector<TileLocation> invalidated;
  void InvalidateTile(TileLocation t) override { invalidated.push_back(t); }
  // A diamond projection: tile (y, x) at ((x - y) * 16, (x + y) * 8), 32 by 16.
  bool GetTileScreenRect(TileLocation t, tova::ScreenRect& out) const override {
    const int32_t sx = (t.x - t.y) * 16, sy = (t.x + t.y) * 8;
    out = tova::ScreenRect{sx, sy, sx + 32, sy + 16};
    return true;
  }
};

class FakeLight : public tova::iLotLight {};

class FakeLotLights : public tova::iLotLights {
 public:
  int created = 0;
  bool fail = false;
  std::shared_ptr<tova::iLotLight> CreateLight() override {
    if (fail) return nullptr;
    ++created;
    return std::make_shared<FakeLight>();
  }
};

class FakeLotSimulator : public tova::iLotSimulator {
 public:
  std::map<int32_t, int16_t> globals;
  int16_t GetGlobal(int32_t i) const override {
    auto it = globals.find(i);
    return it == globals.end() ? 0 : it->second;
  }
  void SetGlobal(int32_t i, int16_t v) override { globals[i] = v; }
};

}  // namespace tova_test
