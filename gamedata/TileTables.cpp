#include "gamedata/TileTables.h"

namespace tova {
namespace {

using Grid = std::array<std::array<TileCell, kRotationGridSize>, kRotationGridSize>;

struct RotationTables {
  Grid turns[3];
  RotationTables() {
    constexpr int m = kRotationGridSize - 1;
    for (int a = 0; a < kRotationGridSize; ++a) {
      for (int b = 0; b < kRotationGridSize; ++b) {
        turns[0][a][b] = {static_cast<uint8_t>(m - b), static_cast<uint8_t>(a)};
        turns[1][a][b] = {static_cast<uint8_t>(m - a), static_cast<uint8_t>(m - b)};
        turns[2][a][b] = {static_cast<uint8_t>(b), static_cast<uint8_t>(m - a)};
      }
    }
  }
};

const RotationTables& Tables() {
  static const RotationTables tables;
  return tables;
}

}  // namespace

TileCell RotateTile(int rotation, int a, int b) {
  if (rotation < 1 || rotation > 3 || a < 0 || b < 0 || a >= kRotationGridSize || b >= kRotationGridSize) {
    return {static_cast<uint8_t>(a), static_cast<uint8_t>(b)};
  }
  return Tables().turns[rotation - 1][a][b];
}

}  // namespace tova
