#include "gamedata/RoomManager.h"

#include <algorithm>
#include <cmath>

#include "gamedata/Commander.h"
#include "gamedata/RoomScoreConstants.h"

namespace tova {

namespace {

constexpr float kDaylightByTimeOfDay[4] = {1.0f, 0.5f, 0.0f, 0.5f};

// The renderer's outdoor brightness: 1.0 from start on, changed by nothing.
constexpr float kOutdoorBrightness = 1.0f;

int32_t OppositeSide(int32_t side) {
  switch (side) {
    case 1: return 3;
    case 3: return 1;
    case 2: return 4;
    case 4: return 2;
    default: return 0;
  }
}

bool InGrid(int32_t v) { return v >= 0 && v < kLotGridSize; }

}  // namespace

RoomManager::RoomManager(const LotServices& services) : services_(services) { current_ = this; }

RoomManager::~RoomManager() {
  if (current_ == this) current_ = nullptr;
}

Room* RoomManager::FindRoom(int16_t id) {
  auto it = rooms_.find(id);
  return it == rooms_.end() ? nullptr : it->second.get();
}

Room& RoomManager::GetOrCreateRoom(int16_t id) {
  auto& slot = rooms_[id];
  if (slot) {
    slot->ResetStatistics();
  } else {
    slot = std::make_unique<Room>(*this, id);
  }
  slot->used_ = true;
  return *slot;
}

void RoomManager::MarkRoomChanged(int16_t id) {
  if (Room* room = FindRoom(id)) room->changed_ = true;
  const int32_t level = RoomLevel(id);
  if (level == 1 || level == 2) changedLevels_ |= level;
}

int32_t RoomManager::GetTimeOfDayClass() const {
  return services_.simulator != nullptr ? (services_.simulator->GetGlobal(kSimGlobalTimeOfDay) & 3) : 0;
}

float RoomManager::GetDaylight() const { return kDaylightByTimeOfDay[GetTimeOfDayClass()] * kOutdoorBrightness; }

void RoomManager::InvalidateAll() {
  lightFactor_ = GetTimeOfDayClass() != 0 ? 0.8f : 1.0f;
  InvalidateAllKeepLightFactor();
}

void RoomManager::InvalidateAllKeepLightFactor() {
  for (auto& [id, room] : rooms_) {
    if (room->used_) room->changed_ = true;
  }
  changedLevels_ = 3;
}

void RoomManager::UpdateChangedRooms() {
  switch (changedLevels_ & 3) {
    case 1: ScoreRooms(1); break;
    case 2: ScoreRooms(2); break;
    case 3: ScoreRooms(0); break;
    default: break;
  }
}

std::shared_ptr<iLotLight> RoomManager::GetLight(int32_t index) const {
  return index >= 0 && index < Room::kMaxLights ? lights_[static_cast<size_t>(index)] : nullptr;
}

void RoomManager::ScoreRooms(int32_t level) {
  RoomScoreConstants& constants = RoomScoreConstants::Instance();
  if (!constants.IsLoaded()) constants.Load();
  if (!lightsCreated_) {
    lightsCreated_ = true;
    if (services_.lights != nullptr) {
      for (auto& light : lights_) light = services_.lights->CreateLight();
    }
  }

  const float daylight = GetDaylight();
  for (auto& [id, roomPtr] : rooms_) {
    Room& room = *roomPtr;
    if (!room.used_ || !room.changed_ || !OnLevel(room, level)) continue;
    const float before = room.GetEffectiveLight();
    room.ResetStatistics();
    room.changed_ = false;
    room.used_ = true;
    if (services_.world != nullptr) {
      if (!room.tiles_.empty()) room.alwaysLit_ = services_.world->IsTileAlwaysLit(room.tiles_.front().Location());
      for (const RoomTile& t : room.tiles_) room.GatherTileStatistics(t);
    }
    for (const RoomTile& t : room.tiles_) room.GatherObjectStatistics(t);
    room.ComputeLight(daylight);
    room.ComputeScore();
    const float after = room.GetEffectiveLight();
    room.WriteAmbient(after);
    if (after != before) Broadcast(cmd::kRoomChanged, room.id_);
  }

  int32_t indoorTiles = 0;
  float outdoorSum = 0;
  for (auto& [id, room] : rooms_) {
    if (!room->used_) continue;
    if (room->IsOutdoors()) {
      outdoorSum += room->score_;
    } else {
      indoorTiles += room->GetTileCount();
    }
  }
  if (services_.simulator != nullptr) services_.simulator->SetGlobal(kSimGlobalIndoorTiles, static_cast<int16_t>(indoorTiles));

  const RoomScoreConstants& k = constants;
  outdoorScoreSum_ = outdoorSum;
  float bonus = k.outdoorDaylightBonus;
  switch (GetTimeOfDayClass()) {
    case 1:
    case 3: bonus = k.outdoorDawnDuskBonus; break;
    case 2: bonus = k.outdoorNightBonus; break;
    default: break;
  }
  const float share = k.outdoorObjectDivisor != 0 ? outdoorSum / k.outdoorObjectDivisor : 0.0f;
  const float score = share + bonus;
  outdoorScore_ = std::isnan(score) ? -100.0f : std::clamp(score, -100.0f, 100.0f);

  changedLevels_ &= level == 0 ? 0 : ~level;
  RefreshRooms(level);
}

void RoomManager::RefreshRooms(int32_t level) {
  for (auto& [id, room] : rooms_) {
    if (room->used_ && OnLevel(*room, level)) RefreshRoom(*room);
  }
}

void RoomManager::RefreshRoom(Room& room) {
  Room::ViewMask& mask = room.viewMask_;
  mask.fill(0);
  if (room.IsOutdoors()) return;
  const int32_t rotation = services_.world != nullptr ? services_.world->GetViewRotation() : 0;
  auto has = [&mask](TileLocation t) { return ((mask[static_cast<size_t>(t.y)] >> t.x) & 1) != 0; };
  auto set = [&mask](TileLocation t) { mask[static_cast<size_t>(t.y)] |= uint64_t{1} << t.x; };
  auto inGrid = [](TileLocation t) { return InGrid(t.x) && InGrid(t.y); };

  for (const RoomTile& t : room.tiles_) {
    const TileLocation view = t.Location().Rotate(rotation);
    if (inGrid(view)) set(view);
  }
  if (services_.view == nullptr || services_.world == nullptr) return;
  const LotBounds bounds = services_.world->GetBounds();

  for (const RoomTile& t : room.tiles_) {
    const TileLocation view = t.Location().Rotate(rotation);
    ScreenRect rect;
    if (!services_.view->GetTileScreenRect(view, rect)) continue;
    rect.left += 1;
    rect.top += 1;
    rect.right -= 1;
    rect.bottom -= 1;
    int16_t roomA = 0, roomB = 0;
    int32_t sideA = 0, sideB = 0;
    if (GetSplitTile(t.Location(), roomA, roomB, sideA, sideB)) {
      const int32_t side = roomA == room.id_ ? sideA : sideB;
      const int32_t viewSide = side == 0 ? 0 : ((side + rotation - 1) & 3) + 1;
      const int32_t middle = (rect.left + rect.right) / 2;
      if (viewSide == 1) rect.right = middle;
      if (viewSide == 3) rect.left = middle;
    }
    // Tiles in front overlap the room tile on screen; walk forward three
    // tiles at a time until a whole step lies off the lot.
    for (int32_t step = 1; step < kLotGridSize; ++step) {
      const int32_t cells[3][2] = {{view.x + step, view.y + step}, {view.x + step - 1, view.y + step},
                                   {view.x + step, view.y + step - 1}};
      bool anyOnLot = false;
      for (const auto& c : cells) {
        if (!InGrid(c[0]) || !InGrid(c[1])) continue;
        const TileLocation f = TileLocation::At(c[0], c[1], view.level);
        if (f.IsOutsideBounds(bounds)) continue;
        anyOnLot = true;
        if (has(f)) continue;
        ScreenRect other;
        if (services_.view->GetTileScreenRect(f, other) && other.Overlaps(rect)) set(f);
      }
      if (!anyOnLot) break;
    }
  }
}

void RoomManager::ClearRooms(int32_t level) {
  for (auto& [id, room] : rooms_) {
    if (room->used_ && OnLevel(*room, level)) room->ResetStatistics();
  }
  for (auto it = splitTiles_.begin(); it != splitTiles_.end();) {
    if (level == 0 || std::get<2>(it->first) == level) {
      it = splitTiles_.erase(it);
    } else {
      ++it;
    }
  }
}

void RoomManager::ResetAll() {
  ClearRooms(0);
  DropRouteRects();
}

void RoomManager::DropRouteRects() {
  for (auto& [id, room] : rooms_) {
    if (room->used_) room->DropRouteRects();
  }
}

bool RoomManager::AddSplitTile(TileLocation tile, int16_t room, int32_t side) {
  auto it = splitTiles_.find(Key(tile));
  if (it == splitTiles_.end()) {
    splitTiles_[Key(tile)] = SplitTile{room, side, -1, OppositeSide(side)};
    return true;
  }
  if (it->second.roomA == room) {
    splitTiles_.erase(it);
    return false;
  }
  it->second.roomB = room;
  it->second.sideB = side;
  return true;
}

bool RoomManager::GetSplitTile(TileLocation tile, int16_t& roomA, int16_t& roomB, int32_t& sideA,
                               int32_t& sideB) const {
  auto it = splitTiles_.find(Key(tile));
  if (it == splitTiles_.end()) return false;
  roomA = it->second.roomA;
  roomB = it->second.roomB;
  sideA = it->second.sideA;
  sideB = it->second.sideB;
  return true;
}

bool RoomManager::GetRoomsAtTile(TileLocation tile, int16_t& roomA, int16_t& roomB, int32_t& sideA,
                                 int32_t& sideB) const {
  auto it = splitTiles_.find(Key(tile));
  if (it == splitTiles_.end()) {
    const int16_t id = services_.world != nullptr ? services_.world->GetRoomId(tile) : 0;
    roomA = roomB = id;
    sideA = sideB = 0;
    return false;
  }
  roomA = it->second.roomA;
  sideA = it->second.sideA;
  if (static_cast<uint16_t>(it->second.roomB) > 65530) {
    roomB = roomA;
    sideA = sideB = 0;
  } else {
    roomB = it->second.roomB;
    sideB = it->second.sideB;
  }
  return true;
}

uint8_t RoomManager::GetAmbient(int32_t level, int32_t x, int32_t y) const {
  if ((level != 1 && level != 2) || !InGrid(x) || !InGrid(y)) return 0;
  return ambient_[level - 1][y][x];
}

void RoomManager::SetAmbient(int32_t level, int32_t x, int32_t y, float light) {
  if ((level != 1 && level != 2) || !InGrid(x) || !InGrid(y)) return;
  const float clamped = std::isnan(light) ? 0.0f : std::clamp(light, 0.0f, 1.0f);
  ambient_[level - 1][y][x] = static_cast<uint8_t>(clamped * 255.0f + 0.5f);
}

float RoomManager::GetLightAt(FinePoint point, int32_t level) const {
  // Objects off the lot stand at (-16, -16): no room there.
  const int32_t tx = point.x >> 4, ty = point.y >> 4;
  if (!InGrid(tx) || !InGrid(ty) || (level != 1 && level != 2)) return 1.0f;
  const int32_t rotation = services_.world != nullptr ? services_.world->GetViewRotation() : 0;
  const TileLocation tile = TileLocation::At(tx, ty, level).Rotate(rotation);
  const int16_t layer = services_.world != nullptr ? services_.world->GetRoomId(tile) : 0;
  if (layer != kSplitTileRoom) return GetAmbient(level, tile.x, tile.y) / 255.0f;

  int16_t roomA = 0, roomB = 0;
  int32_t sideA = 0, sideB = 0;
  GetRoomsAtTile(tile, roomA, roomB, sideA, sideB);
  if (sideA != 0) sideA = ((sideA - rotation - 1) & 3) + 1;
  const float fa = static_cast<float>(point.x & 15) / 16.0f;
  const float fb = static_cast<float>(point.y & 15) / 16.0f;
  int32_t diagonal = services_.world->GetWallSides(tile).flags & kLotWallDiagonals;
  // The diagonals trade places on every odd quarter turn of the view.
  if ((rotation & 1) != 0) diagonal = ((diagonal & kLotWallDiagonal16) << 1) | ((diagonal & kLotWallDiagonal32) >> 1);
  int16_t id = roomA;
  if (sideA != 0) {
    if ((diagonal & kLotWallDiagonal16) != 0) {
      id = fa + fb > 1 ? (sideA == 2 ? roomA : roomB) : (sideA == 4 ? roomA : roomB);
    } else {
      id = fb - fa > 0 ? (sideA == 3 ? roomA : roomB) : (sideA == 1 ? roomA : roomB);
    }
  }
  auto it = rooms_.find(id);
  if (it == rooms_.end()) return 1.0f;
  return it->second->GetEffectiveLight();
}

void RoomManager::DumpStatistics(std::ostream& out) const {
  out << "\n\nRoom Statistics\n";
  for (const auto& [id, room] : rooms_) {
    if (!room->used_) continue;
    out << "------------ Room #" << id << "\n";
    out << "ID = " << id << ", Used: " << (room->used_ ? " YES" : " NO") << ", Level = " << room->GetLevel()
        << ", TileCount = " << room->tiles_.size() << "\n";
  }
}

}  // namespace tova
