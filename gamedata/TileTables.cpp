#include "gamedata/TileTables.h"

namespace tova {

TileCell RotateTile(int rotation, int a, int b) {
  if (rotation < 1 || rotation > 3 || a < 0 || b < 0 || a >= kRotationGridSize || b >= kRotationGridSize) {
    return {static_cast<uint8_t>(a), static_cast<uint8_t>(b)};
  }
  const int m = kRotationGridSize - 1;
  switch (rotation) {
    case 1: return {static_cast<uint8_t>(m - b), static_cast<uint8_t>(a)};
    case 2: return {static_cast<uint8_t>(m - a), static_cast<uint8_t>(m - b)};
    default: return {static_cast<uint8_t>(b), static_cast<uint8_t>(m - a)};
  }
}

}  // namespace tova
