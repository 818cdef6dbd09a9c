#pragma once
// One suit a person wears: the names it was worn with and whether the body
// has it on now. The animator keeps one holder per body part and one per
// extra suit; wearing through a holder replaces what it held before, and
// the names stay after a release so that the suit can be worn again.

#include <string>

namespace tova {

class iCharacterBody;
class iCharacterLibrary;

struct Dressing {
  std::string suit;
  std::string texture;
  bool worn = false;

  // False for an empty suit name, a suit the library lacks or one the body
  // refuses; the holder then keeps what it had. The texture goes to the
  // body only when it is not empty.
  bool Wear(iCharacterLibrary* library, iCharacterBody* body, const std::string& suit, const std::string& texture,
            int level = 0);
  // Takes the holder's suit off the body; the names stay.
  void Release(iCharacterBody* body);

  // Holders are alike when they name the same suit and texture.
  friend bool operator==(const Dressing& a, const Dressing& b) {
    return a.suit == b.suit && a.texture == b.texture;
  }
};

using DressingHolder = Dressing;

}  // namespace tova
