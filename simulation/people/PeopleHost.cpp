#include "simulation/people/PeopleHost.h"

#include "gamedata/LotInterfaces.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/ObjectModule.h"
#include "simulation/cXObject.h"
#include "simulation/people/AutonomyConstants.h"

namespace tova {

namespace {

iPeopleHost quietHost;
iPeopleHost* installed = &quietHost;

iLotWorld* WorldOf(const cXObject& object) {
  return object.GetModule() != nullptr ? object.GetModule()->GetWorld() : nullptr;
}

}  // namespace

iPeopleHost& PeopleHost() { return *installed; }
void SetPeopleHost(iPeopleHost* host) { installed = host != nullptr ? host : &quietHost; }

int16_t iPeopleHost::RoomAt(const cXObject& person) const {
  const iLotWorld* world = WorldOf(person);
  return world != nullptr && person.IsOnLot() ? world->GetRoomId(person.GetTile()) : 0;
}

bool iPeopleHost::IsInsideLot(const cXObject& object) const {
  const iLotWorld* world = WorldOf(object);
  if (world == nullptr || !object.IsOnLot()) return world == nullptr;
  return !IsOnBorder(object.GetPosition(), world->GetSize());
}

bool iPeopleHost::IsStandable(const cXObject& object) const {
  const iLotWorld* world = WorldOf(object);
  if (world == nullptr) return true;
  const TileLocation tile = object.GetTile();
  return world->HasFloor(tile) || (world->GetTileFlags(tile) & kLotTileNoPlacement) == 0;
}

TreeTableData* iPeopleHost::GetTreeTable(cXObject& object) {
  ObjectDefinition* d = object.GetDefinition();
  return d != nullptr ? d->GetTreeTable() : nullptr;
}

ResourceSource* iPeopleHost::GlobalFile() { return AutonomyConstantsClient::Instance().GetFile(); }

ObjectDefinition* iPeopleHost::FindDefinition(ObjectModule& module, uint32_t guid) {
  return module.GetCatalogue() != nullptr ? module.GetCatalogue()->FindByGUID(guid) : nullptr;
}

}  // namespace tova
