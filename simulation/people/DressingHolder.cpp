#include "simulation/people/DressingHolder.h"

#include "simulation/people/CharacterLibrary.h"

namespace tova {

bool Dressing::Wear(iCharacterLibrary* library, iCharacterBody* body, const std::string& newSuit,
                    const std::string& newTexture, int level) {
  if (newSuit.empty() || library == nullptr || body == nullptr || !library->HasSuit(newSuit)) return false;
  // The body knows its dressings by suit: the same suit again is taken off
  // first, another one only once the new one is on.
  const bool sameSuit = worn && suit == newSuit;
  if (sameSuit) Release(body);
  if (!body->AddDressing(newSuit, newTexture, level)) return false;
  if (worn) body->RemoveDressing(suit);
  suit = newSuit;
  texture = newTexture;
  worn = true;
  return true;
}

void Dressing::Release(iCharacterBody* body) {
  if (worn && body != nullptr) body->RemoveDressing(suit);
  worn = false;
}

}  // namespace tova
