#pragma once
// What footsteps ask of the lot's world (which lives above the
// simulation): water, pools, floors and their sound classes, and the
// identities of the objects standing on a tile.

#include <cstdint>
#include <vector>

namespace tova {

class FootstepWorld {
 public:
  virtual ~FootstepWorld() = default;
  virtual bool InGrid(int32_t x, int32_t y) const = 0;
  // Water and pools exist on the ground storey (level 1) only.
  virtual bool HasWater(int32_t x, int32_t y) const = 0;
  virtual bool HasPool(int32_t x, int32_t y) const = 0;
  virtual int32_t PoolCell(int32_t x, int32_t y) const = 0;
  // The floor number of the tile on that storey; 0 none, 255 the built-in one.
  virtual int32_t Floor(int32_t x, int32_t y, int32_t level) const = 0;
  // The floor pattern catalogue's sound class of a floor number.
  virtual int32_t FloorSoundClass(int32_t floor) const = 0;
  // The definition GUIDs of the objects at the tile and of everything
  // stacked in their slots, skipping objects held in a container.
  virtual std::vector<uint32_t> ObjectGuidsAt(int32_t x, int32_t y, int32_t level) const = 0;

  // The kind a tile sounds with (0 terrain .. 11 pool swim stroke); a tile
  // outside the grid is terrain.
  int32_t SoundKind(int32_t x, int32_t y, int32_t level) const;
  // The kind an object of that GUID gives, 0 for none.
  static int32_t ObjectSoundKind(uint32_t guid);
};

}  // namespace tova
