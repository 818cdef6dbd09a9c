#pragma once
// The pieces of a lot that live above the game data: its world, its live
// objects and its simulator. The house makes them through a factory and
// reads them only through the lot interfaces, so the layer that knows all
// three (the world's) supplies the factory, and tests supply fakes.

#include <cstdint>
#include <functional>
#include <memory>

#include "gamedata/LotInterfaces.h"

namespace tova {

class RoomManager;

class HouseParts {
 public:
  virtual ~HouseParts() = default;
  virtual iLotWorld& World() = 0;
  virtual iLotObjects& Objects() = 0;
  virtual iLotSimulator& Simulator() = 0;
  // The house's room manager over these parts (null when it goes away).
  virtual void SetRoomManager(RoomManager*) {}
};

// Makes the parts of a lot of the given size (tiles a side).
using HousePartsFactory = std::function<std::unique_ptr<HouseParts>(int32_t size)>;

}  // namespace tova
