#pragma once
// The neighbourhood as the behaviour trees ask it: names of neighbours and
// families, family worth, the tutorial state in the neighbourhood's
// settings, and family moves of neighbour records.

#include "simulation/GameServices.h"

namespace tova {

class Neighborhood;

class NeighbourhoodCalls : public iPrimitiveNeighbourhood {
 public:
  explicit NeighbourhoodCalls(Neighborhood& hood) : hood_(hood) {}

  bool HasRecord(int16_t neighbourId) const override;
  std::optional<std::string> NeighbourName(int16_t neighbourId) const override;
  std::optional<int16_t> FamilyOf(int16_t neighbourId) const override;
  std::optional<std::string> FamilyName(int16_t family) const override;
  std::optional<int32_t> FamilyWorth(int16_t family) const override;
  // Settings 1 and 2 become n + 1 and 0, and the file is written at once.
  void SetTutorialState(int32_t n) override;
  bool MoveToLotFamily(int16_t neighbourId) override;
  bool RemoveFromFamily(int16_t neighbourId) override;

 private:
  Neighborhood& hood_;
};

}  // namespace tova
