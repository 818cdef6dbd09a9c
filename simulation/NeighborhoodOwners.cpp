#include "simulation/NeighborhoodOwners.h"

#include "gamedata/GlobalContext.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/ObjectErrorCode.h"
#include "simulation/cXObject.h"

namespace tova {
namespace {

Neighborhood* CurrentNeighborhood() { return gGlobalContext != nullptr ? gGlobalContext->neighborhood : nullptr; }

const Neighbor& RequireNeighbor(int16_t id) {
  Neighborhood* hood = CurrentNeighborhood();
  const Neighbor* n = hood != nullptr ? hood->GetNeighbor(id) : nullptr;
  if (n == nullptr) RaiseObjectError(kErrNoRecord);
  return *n;
}

}  // namespace

int16_t ReadNeighborhoodOwner(int32_t owner, int32_t index, int16_t stackObject) {
  switch (owner) {
    case kOwnerNeighborhoodValue: {
      Neighborhood* hood = CurrentNeighborhood();
      return hood != nullptr ? static_cast<int16_t>(hood->GetNeighborInfo(stackObject, index)) : 0;
    }
    case kOwnerNeighborhoodGlobal: {
      if (index < 1 || index >= Neighborhood::kSettingCount) RaiseObjectError(kErrNeighborhoodIndex);
      Neighborhood* hood = CurrentNeighborhood();
      return hood != nullptr ? hood->GetSetting(index) : 0;
    }
    case kOwnerNeighborPersonData: {
      const Neighbor& n = RequireNeighbor(stackObject);
      if (index < 0 || index >= kPersonDataWords) RaiseObjectError(kErrPersonDataOutOfRange);
      return n.personData[index];
    }
    case kOwnerNeighborDefinition: {
      const Neighbor& n = RequireNeighbor(stackObject);
      ObjectFolder* catalogue = gGlobalContext->objectFolder;
      const ObjectDefinition* d = catalogue != nullptr ? catalogue->FindByGUID(static_cast<uint32_t>(n.guid)) : nullptr;
      if (d == nullptr) RaiseObjectError(kErrNoRecord);
      if (index < 0 || index >= kDefinitionRecordWords) RaiseObjectError(kErrDefinitionIndex);
      return d->GetRecord().Word(index * 2);
    }
    default:
      RaiseObjectError(kErrIllegalOwner);
  }
}

}  // namespace tova
