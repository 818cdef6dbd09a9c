// The world of a lot: the square tile grid (4 to 64 tiles a side, two
// storeys) with every per-tile layer, the walls stored in it, and the rules
// that fill terrain, ground and grass.
//
// How the pieces meet:
//   c2DArray.h       named 2D cell arrays, the storage of every layer, with a
//                    registry by name for scratch copies;
//   ArryResource.h   the 'Arry' resource in which each layer is kept in the
//                    house file (header, run-length packets, old raw layout);
//   WallCell.h       the 8-byte wall cell of a tile, its expanded WallInfo,
//                    post masks and the quarter-turn tables;
//   WorldServices.h  what the world asks of the subsystems above it
//                    (prices, objects, rooms, walls, roofs), each optional;
//   cFixedWorld.h    the layers and every operation on them: altitude,
//                    walls, placement tests, shifting, value, persistence,
//                    terrain and grass generation, commands;
//   cRotatableWorld.h the program's world, which also keeps the view
//                    rotation;
//   cPoolLayer.h     the pool and water layers with their neighbour links
//                    and the pool's inner-corner masks;
//   walls/           the wall display: posts and walls in view order, the
//                    display flags and their drawing through HouseView.h;
//   LotFile.h        a lot's layers saved to and loaded from a house file.
// The world is a receiver on the game's command broadcast list and draws its
// random numbers from the simulation's generator. Rooms, pools, roofs and the
// wall display build on these and reach the world only through its layers
// and WorldServices.
#pragma once

#include "world/ArryResource.h"
#include "world/WallCell.h"
#include "world/WorldServices.h"
#include "world/WorldTypes.h"
#include "world/c2DArray.h"
#include "world/cFixedWorld.h"
#include "world/cPoolLayer.h"
#include "world/cRotatableWorld.h"
