// The lot's layers as text grids, one row per line (y down, x across), for
// the developer tools and tests: room numbers, tile flags, pool and water
// cells and the roof's half-tile cells.
#pragma once

#include <cstdint>
#include <string>

class cFixedWorld;

// Room numbers; "sp" a split tile, "-" a tile of no room.
std::string RoomsGrid(cFixedWorld& world, int32_t level);
// Tile flag bits in hex.
std::string FlagsGrid(cFixedWorld& world, int32_t level);
// Pool (or water) cells: ".." none, "mk" a pool mark, else the link bits.
std::string PoolGrid(cFixedWorld& world);
std::string WaterGrid(cFixedWorld& world);
// Roof cells: "..." none, "###" blocked, else the height, 's' sloped or 'f'
// flat, and the shape code in hex.
std::string RoofGrid(cFixedWorld& world, int32_t level);
