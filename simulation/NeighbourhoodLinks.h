#pragma once
// The neighbourhood as the object primitives see it: its neighbours in id
// order with the GUID of each one's definition (set-to-next), and the
// catalogue's definition behind a neighbour record (create-instance with a
// neighbour's definition). Reads the given neighbourhood and catalogue, or
// the running game's when none is given, so it follows the game as
// neighbourhoods are loaded.

#include <cstdint>
#include <vector>

#include "simulation/CreationPrimitives.h"
#include "simulation/ObjectQueryPrimitives.h"

namespace tova {

class Neighborhood;
class ObjectFolder;

class NeighbourhoodLinks : public iNeighbourList, public iNeighbourDefinitions {
 public:
  explicit NeighbourhoodLinks(Neighborhood* neighbourhood = nullptr, ObjectFolder* catalogue = nullptr)
      : neighbourhood_(neighbourhood), catalogue_(catalogue) {}

  // Hands the links to the primitives (null takes them away again).
  static void Install(NeighbourhoodLinks* links);

  std::vector<int16_t> NeighbourIds() const override;
  uint32_t NeighbourGuid(int16_t neighbourId) const override;
  // The neighbourhood keeps no list of ids apart from its neighbours, so
  // this one is empty.
  std::vector<int16_t> IdList() const override { return {}; }
  ObjectDefinition* DefinitionOfNeighbour(int16_t neighbourId) override;

 private:
  Neighborhood* Current() const;

  Neighborhood* neighbourhood_;
  ObjectFolder* catalogue_;
};

}  // namespace tova
