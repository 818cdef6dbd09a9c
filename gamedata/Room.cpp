#include "gamedata/Room.h"

#include <algorithm>
#include <cmath>

#include "gamedata/Commander.h"
#include "gamedata/RoomManager.h"
#include "gamedata/RoomScoreConstants.h"

namespace tova {

namespace {

bool WallKindQualifies(int32_t kind) {
  switch (kind) {
    case 1: case 3: case 5: case 6: case 7: case 8: case 9: case 15: case 22: return true;
    default: return false;
  }
}

// a / b, or 0 where b is 0: an empty room has no share of anything.
float Fraction(float a, float b) { return b != 0 ? a / b : 0.0f; }

// NaN falls to the low end rather than through both comparisons.
float ClampScore(float v) { return std::isnan(v) ? -100.0f : std::clamp(v, -100.0f, 100.0f); }

}  // namespace

void RoomTileList::InvalidateView(const RoomTiles& tiles, bool all, const iLotWorld& world, iLotView& view) {
  const int32_t rotation = world.GetViewRotation();
  for (const RoomTile& t : tiles) {
    const TileLocation at = t.Location();
    if (!all && !world.HasFloor(at) && world.GetWallSides(at).flags == 0) continue;
    view.InvalidateTile(at.Rotate(rotation));
  }
}

float Room::GetOutdoorFraction() const { return Fraction(static_cast<float>(countedObjects_), static_cast<float>(halfTiles_)); }

bool Room::IsOutdoors() {
  if (outdoorsValid_) return outdoors_;
  const iLotWorld* world = manager_->Services().world;
  bool decided = false;
  if (world != nullptr) {
    for (const RoomTile& t : tiles_) {
      if (world->GetRoomId(t.Location()) != id_) continue;
      outdoors_ = (world->GetTileFlags(t.Location()) & kLotTileOutside) != 0;
      decided = true;
      break;
    }
  }
  if (!decided) outdoors_ = tiles_.size() == 1;
  outdoorsValid_ = true;
  return outdoors_;
}

float Room::GetEffectiveLight() const {
  if (alwaysLit_) return kLitLevel;
  if (lightsOn_ && lampCount_ == 0 && personCount_ > 0 && light_ < kLitLevel) return kLitLevel;
  return light_;
}

void Room::SetLightSwitch(bool on) {
  if (IsOutdoors() || alwaysLit_ || lightsOn_ == on) return;
  lightsOn_ = on;
  if (lampCount_ == 0 && light_ < kLitLevel) {
    Broadcast(cmd::kRoomChanged, id_);
    WriteAmbient(on ? kLitLevel : light_);
  }
}

int32_t Room::CountOccupants() const {
  const iLotObjects* objects = manager_->Services().objects;
  if (objects == nullptr) return 0;
  std::vector<LotPersonPlace> persons;
  objects->GetPersons(persons);
  return static_cast<int32_t>(std::count_if(persons.begin(), persons.end(), [this](const LotPersonPlace& p) {
    return !p.beingRemoved && p.currentRoom == id_;
  }));
}

bool Room::NeedsRoof() {
  if (!flatValid_) {
    flat_ = true;
    if (const iLotWorld* world = manager_->Services().world) {
      for (const RoomTile& t : tiles_) {
        const uint32_t c = world->GetCornerHeights(t.Location());
        const uint32_t first = c & 0xFF;
        if (((c >> 8) & 0xFF) != first || ((c >> 16) & 0xFF) != first || (c >> 24) != first) {
          flat_ = false;
          break;
        }
      }
    }
    flatValid_ = true;
  }
  return flat_ && (!IsOutdoors() || valueClass8_);
}

void Room::AssignTiles(const RoomTiles& tiles) {
  ResetStatistics();
  tiles_ = tiles;
  used_ = true;
  changed_ = true;
}

void Room::DropRouteRects() {
  routeRects_.clear();
  routeRectsBuilt_ = false;
}

void Room::ResetStatistics() {
  halfTiles_ = flooredHalfTiles_ = countedObjects_ = 0;
  lampSum_ = windowLightSum_ = impactSum_ = goodObjects_ = 0;
  class4Count_ = class5To7Count_ = 0;
  valueClass8_ = false;
  qualifyingWalls_ = coveredWalls_ = lampCount_ = personCount_ = 0;
  light_ = score_ = 0;
  outdoorsValid_ = false;
  lightsOn_ = false;
  alwaysLit_ = false;
  flat_ = true;
  flatValid_ = false;
  changed_ = true;
  for (auto& l : lights_) l.reset();
  lightPositions_.fill(LotPoint3{});
  lightCount_ = 0;
  // New tiles or walls: the route rectangles are built again on next use.
  DropRouteRects();
}

void Room::GatherTileStatistics(const RoomTile& tile) {
  const iLotWorld& world = *manager_->Services().world;
  const TileLocation at = tile.Location();
  if (world.GetPoolValue(at) < 16) ++goodObjects_;
  if (IsOutdoors()) {
    halfTiles_ += 2;
    return;
  }
  const LotWallSides walls = world.GetWallSides(at);
  const bool floor = world.HasFloor(at);
  if ((walls.flags & kLotWallDiagonals) != 0) {
    halfTiles_ += 1;
    if (floor) flooredHalfTiles_ += 1;
    const int32_t index = (walls.flags & kLotWallDiagonal16) != 0 ? 4 : 5;
    if (WallKindQualifies(walls.kind[index])) {
      ++qualifyingWalls_;
      if (walls.covered[index]) ++coveredWalls_;
    }
    return;
  }
  halfTiles_ += 2;
  if (floor) flooredHalfTiles_ += 2;
  for (int32_t side = 0; side < 4; ++side) {
    if ((walls.flags & (1 << side)) == 0 || !WallKindQualifies(walls.kind[side])) continue;
    ++qualifyingWalls_;
    if (walls.covered[side]) ++coveredWalls_;
  }
}

void Room::GatherObjectStatistics(const RoomTile& tile) {
  const iLotObjects* objects = manager_->Services().objects;
  if (objects == nullptr) return;
  std::vector<int16_t> ids;
  objects->GetObjectsOnTile(tile.Location(), ids);
  for (int16_t id : ids) AddObject(id);
}

void Room::AddObject(int16_t object) {
  const iLotObjects& objects = *manager_->Services().objects;
  ++countedObjects_;
  const int16_t valueClass = objects.GetObjectWord(object, kObjWordValueClass);
  if (valueClass == 4) {
    ++class4Count_;
  } else if (valueClass >= 5 && valueClass <= 7) {
    ++class5To7Count_;
  } else if (valueClass == 8 && (id_ & 0x3FF) != 0) {
    valueClass8_ = true;
  }
  const int32_t type = objects.GetDefinitionType(object);
  if (type == kDefinitionTypePerson) ++personCount_;

  if ((objects.GetObjectWord(object, kObjWordFlags) & kObjFlagLightSource) != 0) {
    if (type != kDefinitionTypeWindowLight) ++lampCount_;
    const int16_t amount = objects.GetObjectWord(object, kObjWordLightAmount);
    const int16_t kind = objects.GetObjectWord(object, kObjWordLightKind);
    iLotWorld* world = manager_->Services().world;
    const TileLocation at = objects.GetTile(object);
    if (amount != 0) {
      (type == kDefinitionTypeWindowLight ? windowLightSum_ : lampSum_) += amount;
      if (kind == 1) {
        if (lightCount_ < kMaxLights) {
          lights_[static_cast<size_t>(lightCount_)] = manager_->GetLight(lightCount_);
          LotPoint3 p = objects.GetWorldPosition(object);
          p.z += 5;
          lightPositions_[static_cast<size_t>(lightCount_)] = p;
          ++lightCount_;
        }
        if (world != nullptr) world->AddTileLight(at, kind, true);
      }
    } else if (world != nullptr) {
      world->AddTileLight(at, kind, false);
    }
  }

  const int16_t impact = objects.GetObjectWord(object, kObjWordRoomImpact);
  // Outdoors only what spoils the yard is summed; good things are counted.
  if (!(IsOutdoors() && impact >= 0)) impactSum_ += impact;
  if (impact >= 0) ++goodObjects_;
}

void Room::ComputeLight(float daylight) {
  if (IsOutdoors()) {
    light_ = daylight;
    return;
  }
  const RoomScoreConstants& k = RoomScoreConstants::Instance();
  const int32_t tiles = halfTiles_ / 2;
  // A room of no whole tile has no area to spread light over: dark.
  float light = 0;
  if (tiles != 0) {
    const float f = k.objectLightFactor;
    light = static_cast<float>(lampSum_) * 0.01f / static_cast<float>(tiles) * f +
            std::min(daylight, daylight * static_cast<float>(windowLightSum_) * 0.01f / static_cast<float>(tiles) * f);
  }
  if (std::isnan(light) || light < 0.01f) light = 0;
  if (light > 0.99f) light = 1;
  light_ = light;
}

void Room::ComputeScore() {
  const RoomScoreConstants& k = RoomScoreConstants::Instance();
  if (IsOutdoors()) {
    score_ = static_cast<float>(goodObjects_) * k.outdoorGoodObjectFactor +
             static_cast<float>(impactSum_) * k.outdoorImpactFactor;
    return;
  }
  const int32_t area = halfTiles_ / 2;
  const float effectiveArea = std::clamp(static_cast<float>(area), k.impactAreaMin, std::max(k.impactAreaMin, k.impactAreaMax));
  const float areaShare = Fraction(std::min(static_cast<float>(area), k.areaClip), k.areaClip);
  const float score =
      k.wallScore0 + Fraction(static_cast<float>(coveredWalls_), static_cast<float>(qualifyingWalls_)) * k.wallRange +
      k.floorScore0 + Fraction(static_cast<float>(flooredHalfTiles_), static_cast<float>(halfTiles_)) * k.floorRange +
      Fraction(static_cast<float>(impactSum_) * k.impactMultiplier, effectiveArea) + k.lightScore0 +
      light_ * k.lightRange + k.areaScoreZero + areaShare * k.areaRange;
  score_ = ClampScore(score);
}

void Room::WriteAmbient(float light) {
  for (const RoomTile& t : tiles_) manager_->SetAmbient(t.level, t.x, t.y, light);
}

}  // namespace tova
