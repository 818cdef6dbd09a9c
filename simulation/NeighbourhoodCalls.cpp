#include "simulation/NeighbourhoodCalls.h"

#include "gamedata/Neighborhood.h"

namespace tova {

bool NeighbourhoodCalls::HasRecord(int16_t neighbourId) const { return hood_.GetNeighbor(neighbourId) != nullptr; }

std::optional<std::string> NeighbourhoodCalls::NeighbourName(int16_t neighbourId) const {
  const Neighbor* n = hood_.GetNeighbor(neighbourId);
  if (n == nullptr) return std::nullopt;
  return std::string(n->name.c_str());
}

std::optional<int16_t> NeighbourhoodCalls::FamilyOf(int16_t neighbourId) const {
  const Neighbor* n = hood_.GetNeighbor(neighbourId);
  if (n == nullptr) return std::nullopt;
  return n->personData[kPersonDataFamily];
}

std::optional<std::string> NeighbourhoodCalls::FamilyName(int16_t family) const {
  const Family* f = family != 0 ? hood_.FindFamily(family) : nullptr;
  if (f == nullptr) return std::nullopt;
  return std::string(f->GetName());
}

std::optional<int32_t> NeighbourhoodCalls::FamilyWorth(int16_t family) const {
  const Family* f = family != 0 ? hood_.FindFamily(family) : nullptr;
  if (f == nullptr) return std::nullopt;
  return hood_.GetFamilyWorth(*f);
}

void NeighbourhoodCalls::SetTutorialState(int32_t n) {
  hood_.SetSetting(Neighborhood::kSettingTutorialState, static_cast<int16_t>(n + 1));
  hood_.SetSetting(Neighborhood::kSettingTutorialLot, 0);
  hood_.Save(hood_.GetSaveVersion());
}

bool NeighbourhoodCalls::MoveToLotFamily(int16_t neighbourId) {
  Neighbor* n = hood_.GetNeighbor(neighbourId);
  const int32_t lot = hood_.GetCurrentHouseNumber();
  Family* family = lot > 0 ? hood_.FindFamilyByHouse(lot) : nullptr;
  if (n == nullptr || family == nullptr) return false;
  // Out of its old family first (a record in none has nothing to leave).
  hood_.RemoveFromFamily(*n);
  return hood_.AddToFamily(*n, *family) == 0;
}

bool NeighbourhoodCalls::RemoveFromFamily(int16_t neighbourId) {
  Neighbor* n = hood_.GetNeighbor(neighbourId);
  return n != nullptr && hood_.RemoveFromFamily(*n) == 0;
}

}  // namespace tova
