#pragma once
// The rooms of the current house. The world's room detection assigns each
// room its tiles and names the tiles a diagonal wall splits; the manager
// scores changed rooms (light and score from tiles, walls and objects), keeps
// the per-tile ambient light grids of both storeys the renderer reads, and
// answers the light at any point of the lot.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <tuple>

#include "gamedata/LotInterfaces.h"
#include "gamedata/Room.h"

namespace tova {

struct SplitTile {
  int16_t roomA = 0;
  int32_t sideA = 0;
  int16_t roomB = -1;
  int32_t sideB = 0;
};

class RoomManager {
 public:
  explicit RoomManager(const LotServices& services);
  ~RoomManager();
  RoomManager(const RoomManager&) = delete;
  RoomManager& operator=(const RoomManager&) = delete;

  // The manager of the current house; null when there is none.
  static RoomManager* Current() { return current_; }
  // The house renderer's global light factor: 0.8 away from daytime.
  static float LightFactor() { return lightFactor_; }

  const LotServices& Services() const { return services_; }

  Room* FindRoom(int16_t id);
  // An existing room has its statistics reset; either way it is used.
  Room& GetOrCreateRoom(int16_t id);
  void MarkRoomChanged(int16_t id);
  // Marks every used room changed; the first form also sets the light
  // factor from the time of day.
  void InvalidateAll();
  void InvalidateAllKeepLightFactor();
  void UpdateChangedRooms();
  void ScoreRooms(int32_t level);
  void RefreshRooms(int32_t level);
  void ClearRooms(int32_t level);
  void ResetAll();
  void DropRouteRects();

  // False when the entry is removed (the same room named twice).
  bool AddSplitTile(TileLocation tile, int16_t room, int32_t side);
  bool GetSplitTile(TileLocation tile, int16_t& roomA, int16_t& roomB, int32_t& sideA, int32_t& sideB) const;
  // True when the tile is split; otherwise the rooms layer's room twice.
  bool GetRoomsAtTile(TileLocation tile, int16_t& roomA, int16_t& roomB, int32_t& sideA, int32_t& sideB) const;

  // The light at a point in sixteenths of a tile; 1.0 off the grid and where
  // no room is.
  float GetLightAt(FinePoint point, int32_t level) const;

  void DumpStatistics(std::ostream& out) const;

  // Changed-storey bits: 1 storey 1, 2 storey 2.
  int32_t GetChangedLevels() const { return changedLevels_; }
  float GetOutdoorScoreSum() const { return outdoorScoreSum_; }
  float GetOutdoorScore() const { return outdoorScore_; }
  // The "room ambient" grid of a storey (1 or 2): room light * 255 per tile.
  uint8_t GetAmbient(int32_t level, int32_t x, int32_t y) const;
  void SetAmbient(int32_t level, int32_t x, int32_t y, float light);
  const std::map<int16_t, std::unique_ptr<Room>>& Rooms() const { return rooms_; }

  // Time-of-day class 0 day, 1 dusk, 2 night, 3 dawn.
  int32_t GetTimeOfDayClass() const;
  float GetDaylight() const;
  std::shared_ptr<iLotLight> GetLight(int32_t index) const;

 private:
  using TileKey = std::tuple<int8_t, int8_t, int8_t>;
  static TileKey Key(TileLocation t) { return {t.x, t.y, t.level}; }
  static bool OnLevel(const Room& room, int32_t level) { return level == 0 || room.GetLevel() == level; }
  void RefreshRoom(Room& room);

  LotServices services_;
  std::map<int16_t, std::unique_ptr<Room>> rooms_;
  std::map<TileKey, SplitTile> splitTiles_;
  int32_t changedLevels_ = 0;
  bool lightsCreated_ = false;
  std::array<std::shared_ptr<iLotLight>, Room::kMaxLights> lights_;
  float outdoorScoreSum_ = 0;
  float outdoorScore_ = 0;
  uint8_t ambient_[2][kLotGridSize][kLotGridSize] = {};

  static inline RoomManager* current_ = nullptr;
  static inline float lightFactor_ = 1.0f;
};

}  // namespace tova
