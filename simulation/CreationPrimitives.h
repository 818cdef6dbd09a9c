#pragma once
// The primitive that makes a new object instance where a tree asks for it:
// in front of me, in my slot or the stack object's, at another object, out
// of the world, or beside me towards a direction.

#include <cstdint>

#include "simulation/TreeZaz.h"

namespace tova {

class cXObject;
class ObjectDefinition;

// The definition behind a neighbour record (the neighbourhood answers it);
// none set gives none.
class iNeighbourDefinitions {
 public:
  virtual ~iNeighbourDefinitions() = default;
  virtual ObjectDefinition* DefinitionOfNeighbour(int16_t neighbourId) = 0;
};

// What a visitor is, asked of a new person.
class iVisitorMark {
 public:
  virtual ~iVisitorMark() = default;
  virtual bool IsVisitor() const = 0;
};

class CreationPrimitives {
 public:
  static void SetNeighbourDefinitions(iNeighbourDefinitions* source) { neighbourDefinitions_ = source; }
  static iNeighbourDefinitions* GetNeighbourDefinitions() { return neighbourDefinitions_; }
  static int32_t CreateObjectInstance(cXObject& me, TreeStackFrame& frame, TreeNode node);

 private:
  static inline iNeighbourDefinitions* neighbourDefinitions_ = nullptr;
};

}  // namespace tova
