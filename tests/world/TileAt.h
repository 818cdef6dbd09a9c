// The tile at x, y on a level (the ground floor unless given), short enough
// for the tests' tables of walls and rooms.
#pragma once

#include "gamedata/TilePosition.h"

namespace tova_test {

inline tova::TileLocation T(int x, int y, int level = 1) { return tova::TileLocation::At(x, y, level); }

}  // namespace tova_test
