#pragma once
// One room of the current house: its tiles, the statistics gathered from its
// tiles, walls and objects, and the light (0..1) and score (-100..100)
// computed from them. RoomManager owns the rooms and does the scoring.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "gamedata/LotInterfaces.h"

namespace tova {

class RoomManager;

// A room id: bits 10-11 hold the storey minus 1, the low 10 bits number the
// room within its storey.
inline int32_t RoomLevel(int16_t roomId) { return ((roomId >> 10) & 3) + 1; }

struct RoomTile {
  int8_t x = 0;
  int8_t y = 0;
  int8_t level = 1;
  TileLocation Location() const { return TileLocation::At(x, y, level); }
  friend bool operator==(const RoomTile&, const RoomTile&) = default;
};
using RoomTiles = std::vector<RoomTile>;

// Rooms tell the view to redraw their tiles.
struct RoomTileList {
  // Every tile, turned by the view rotation; unless all, only tiles that
  // have a floor or a wall.
  static void InvalidateView(const RoomTiles& tiles, bool all, const iLotWorld& world, iLotView& view);
};

// A rectangle of tiles the route planner keeps per room.
struct RouteRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

class Room {
 public:
  static constexpr int32_t kMaxLights = 6;
  static constexpr float kLitLevel = 0.8f;

  Room(RoomManager& manager, int16_t id) : manager_(&manager), id_(id) { ResetStatistics(); }

  int16_t GetId() const { return id_; }
  int32_t GetLevel() const { return RoomLevel(id_); }
  const RoomTiles& GetTiles() const { return tiles_; }
  int32_t GetTileCount() const { return halfTiles_ / 2; }
  float GetOutdoorFraction() const;
  bool IsOutdoors();
  bool IsAlwaysLit() const { return alwaysLit_; }
  float GetEffectiveLight() const;
  void SetLightSwitch(bool on);
  bool GetLightSwitch() const { return lightsOn_; }
  int32_t CountOccupants() const;
  bool NeedsRoof();
  // Resets the statistics, takes the tiles; used and changed.
  void AssignTiles(const RoomTiles& tiles);
  std::vector<RouteRect>& GetRouteRects() { return routeRects_; }
  bool HasRouteRects() const { return routeRectsBuilt_; }
  void SetRouteRectsBuilt(bool built) { routeRectsBuilt_ = built; }
  void DropRouteRects();

  bool IsUsed() const { return used_; }
  void SetUsed(bool used) { used_ = used; }
  bool IsChanged() const { return changed_; }
  void SetChanged(bool changed) { changed_ = changed; }

  // Statistics of the last scoring.
  float GetLight() const { return light_; }
  float GetScore() const { return score_; }
  int32_t GetHalfTiles() const { return halfTiles_; }
  int32_t GetFlooredHalfTiles() const { return flooredHalfTiles_; }
  int32_t GetCountedObjects() const { return countedObjects_; }
  int32_t GetLampSum() const { return lampSum_; }
  int32_t GetWindowLightSum() const { return windowLightSum_; }
  int32_t GetImpactSum() const { return impactSum_; }
  int32_t GetGoodObjects() const { return goodObjects_; }
  int32_t GetClass4Count() const { return class4Count_; }
  int32_t GetClass5To7Count() const { return class5To7Count_; }
  bool HasValueClass8() const { return valueClass8_; }
  int32_t GetQualifyingWallSides() const { return qualifyingWalls_; }
  int32_t GetCoveredWallSides() const { return coveredWalls_; }
  int32_t GetLampCount() const { return lampCount_; }
  int32_t GetPersonCount() const { return personCount_; }
  int32_t GetLightCount() const { return lightCount_; }
  const LotPoint3& GetLightPosition(int32_t i) const { return lightPositions_[static_cast<size_t>(i)]; }

  // The 64 by 64 view mask RefreshRooms keeps for the renderer: bit x of
  // row y is view tile (y, x).
  using ViewMask = std::array<uint64_t, kLotGridSize>;
  const ViewMask& GetViewMask() const { return viewMask_; }

 private:
  friend class RoomManager;

  void ResetStatistics();
  void GatherTileStatistics(const RoomTile& tile);
  void GatherObjectStatistics(const RoomTile& tile);
  void AddObject(int16_t object);
  void ComputeLight(float daylight);
  void ComputeScore();
  // Writes the light readers see into the ambient grid for every tile.
  void WriteAmbient(float light);

  RoomManager* manager_;
  int16_t id_;
  RoomTiles tiles_;
  bool used_ = false;
  bool changed_ = true;

  int32_t halfTiles_ = 0;
  int32_t flooredHalfTiles_ = 0;
  int32_t countedObjects_ = 0;
  int32_t lampSum_ = 0;
  int32_t windowLightSum_ = 0;
  int32_t impactSum_ = 0;
  int32_t goodObjects_ = 0;
  int32_t class4Count_ = 0;
  int32_t class5To7Count_ = 0;
  bool valueClass8_ = false;
  int32_t qualifyingWalls_ = 0;
  int32_t coveredWalls_ = 0;
  int32_t lampCount_ = 0;
  int32_t personCount_ = 0;
  float light_ = 0;
  float score_ = 0;

  bool outdoors_ = false;
  bool outdoorsValid_ = false;
  bool lightsOn_ = false;
  bool alwaysLit_ = false;
  bool flat_ = true;
  bool flatValid_ = false;

  int32_t lightCount_ = 0;
  std::array<std::shared_ptr<iLotLight>, kMaxLights> lights_;
  std::array<LotPoint3, kMaxLights> lightPositions_{};
  std::vector<RouteRect> routeRects_;
  bool routeRectsBuilt_ = false;
  ViewMask viewMask_{};
};

}  // namespace tova
