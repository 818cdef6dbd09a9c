#pragma once
// Name tokens in interaction names and shown texts: "$Me", "$Object",
// "$Neighbor", "$Family", "$FamilyAssets:n", "$Local:n", "$TimeLocal:n",
// "$Grade:n" and the career texts "$Job", "$JobDesc", "$JobOffer" with
// ":n:m". A token that cannot be filled stays as it stands.

#include <cstdint>
#include <string>

#include "simulation/TreeZaz.h"

namespace tova {

class cXObject;
class ObjectDefinition;

// What the tokens of a text named.
struct NameTokenValues {
  int16_t neighbour = 0;
  int16_t family = 0;
  // The last definition a token named ($Me or $Object), or null.
  ObjectDefinition* definition = nullptr;
};

std::string ExpandNameTokens(const std::string& text, cXObject& me, TreeStackFrame& frame,
                             NameTokenValues* values = nullptr);

}  // namespace tova
