#include "simulation/NeighbourhoodLinks.h"

#include "gamedata/GlobalContext.h"
#include "gamedata/Neighbor.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/ObjectFolder.h"

namespace tova {

void NeighbourhoodLinks::Install(NeighbourhoodLinks* links) {
  ObjectQueryPrimitives::SetNeighbourList(links);
  CreationPrimitives::SetNeighbourDefinitions(links);
}

Neighborhood* NeighbourhoodLinks::Current() const {
  if (neighbourhood_ != nullptr) return neighbourhood_;
  return gGlobalContext != nullptr ? gGlobalContext->neighborhood : nullptr;
}

std::vector<int16_t> NeighbourhoodLinks::NeighbourIds() const {
  std::vector<int16_t> ids;
  const Neighborhood* n = Current();
  if (n == nullptr) return ids;
  for (int32_t id = n->GetNextNeighborIndex(0); id != 0; id = n->GetNextNeighborIndex(id))
    ids.push_back(static_cast<int16_t>(id));
  return ids;
}

uint32_t NeighbourhoodLinks::NeighbourGuid(int16_t neighbourId) const {
  const Neighborhood* n = Current();
  const Neighbor* neighbour = n != nullptr ? n->GetNeighbor(neighbourId) : nullptr;
  return neighbour != nullptr ? static_cast<uint32_t>(neighbour->guid) : 0;
}

ObjectDefinition* NeighbourhoodLinks::DefinitionOfNeighbour(int16_t neighbourId) {
  const uint32_t guid = NeighbourGuid(neighbourId);
  ObjectFolder* catalogue = catalogue_;
  if (catalogue == nullptr && gGlobalContext != nullptr) catalogue = gGlobalContext->objectFolder;
  return guid != 0 && catalogue != nullptr ? catalogue->FindByGUID(guid) : nullptr;
}

}  // namespace tova
