// The walls of a tile: the stored 8-byte WallCell, the expanded WallInfo
// every reader and writer goes through, the post mask of a grid point, and
// the tables that turn all of them by quarter turns.
//
// Tile wall mask bits: 1 side toward x-1, 2 side toward y-1, 4 side toward
// x+1, 8 side toward y+1, 16 diagonal from (x, y+1) to (x+1, y), 32 diagonal
// from (x, y) to (x+1, y+1). A side wall is marked in both tiles it separates;
// its style and attribute live in the tile that holds it as side 1 or 2,
// while each tile keeps the wallpaper of its own faces.
#pragma once

#include <array>
#include <cstdint>

#include "world/WorldTypes.h"
#include "world/c2DArray.h"

enum : int32_t {
    kWallSide1 = 1,
    kWallSide2 = 2,
    kWallSide4 = 4,
    kWallSide8 = 8,
    kWallDiag16 = 16,
    kWallDiag32 = 32,
    kWallSides = 15,
    kWallDiagonals = 48,
};

// Wall styles with a meaning of their own.
enum : int32_t {
    kWallStylePlain = 1,
    kWallStyleUnsettled = 255,
};

struct WallCell {
    uint8_t mask;        // tile wall mask
    uint8_t attributes;  // bits 0-1 side 1, bits 2-3 side 2
    uint8_t style1;      // style of side 1 (a diagonal tile: a half-tile floor)
    uint8_t style2;      // style of side 2, or of the diagonal
    uint8_t paper1;      // face on side 1 (a diagonal tile: a half-tile floor)
    uint8_t paper2;      // face on side 2
    uint8_t paper8;      // face on side 8, or diagonal face kind 2 / kind 1
    uint8_t paper4;      // face on side 4, or diagonal face kind 4 / kind 3
};
static_assert(sizeof(WallCell) == 8, "a wall cell is stored as 8 bytes");

using WallLayer = c2DArray<WallCell>;
using WallPostLayer = c2DArray<uint8_t>;

// Index of the lowest set bit: sides 1, 2, 4, 8 -> 0..3, diagonals -> 4, 5.
int32_t WallSideIndex(int32_t side);
// Face slot of a side or a diagonal face: sides 0..3; diagonal 16 kind 2 -> 4,
// kind 4 -> 5; diagonal 32 kind 1 -> 6, kind 3 -> 7. Kind 0 on a diagonal
// means its default face (kind 4 for 16, kind 1 for 32).
int32_t WallFaceSlot(int32_t side, int32_t kind);
// The two face kinds of a diagonal: 16 has kinds 2 and 4, 32 kinds 1 and 3.
std::array<int32_t, 2> DiagonalFaceKinds(int32_t diagonal);
int32_t OppositeSide(int32_t side);
TileLocation StepAcrossSide(TileLocation tile, int32_t side);
// The side a run of walls in grid direction 0..7 occupies.
int32_t WallDirectionToSide(int32_t direction);
// The tile side that faces grid direction 0..7.
int32_t DirectionToSide(int32_t direction);

struct WallInfo {
    int32_t flags = 0;
    int32_t attributes = 0;  // 2 bits per side index 0..3
    int32_t style[6] = {};
    int32_t pattern[8] = {};
    int32_t rotation = 0;
    // The tiles at y+1, x+1, x-1 and y-1 hold a diagonal (world orientation).
    uint8_t neighbourDiagonal[4] = {};

    enum { kNeighbourYPlus = 0, kNeighbourXPlus = 1, kNeighbourXMinus = 2, kNeighbourYMinus = 3 };

    bool Has(int32_t side) const { return (flags & side) != 0; }
    bool HasDiagonal() const { return (flags & kWallDiagonals) != 0; }
    int32_t Style(int32_t side) const { return style[WallSideIndex(side)]; }

    // A diagonal (index 4, 5) reads as 3 and ignores writes.
    int32_t GetAttribute(int32_t sideIndex) const;
    void SetAttribute(int32_t value, int32_t sideIndex);
    int32_t GetPattern(int32_t side, int32_t kind) const;
    // Sets every face whose side bit is in side (kind as for WallFaceSlot).
    void SetPattern(int32_t side, int32_t kind, int32_t value);

    void Rotate(int32_t quarterTurns);
    void RotateTo(int32_t rotation);
    bool CanAddWall(int32_t side) const;

    friend bool operator==(const WallInfo&, const WallInfo&) = default;
};
static_assert(sizeof(WallInfo) == 18 * 4, "the expanded record is 18 words");

// Directions in which walls leave a grid point: 1 (0,-1), 2 (-1,0), 4 (0,+1),
// 8 (+1,0), 16 (-1,-1), 32 (-1,+1), 64 (+1,+1), 128 (+1,-1).
using WallPostMask = uint8_t;

struct WallTables {
    uint32_t sideRotation[4][64];
    uint8_t faceKindRotation[4][5];
    uint8_t postEnd[256];
    uint8_t postJunction[256];
    uint8_t postRotation[3][256];  // by 1, 2 and 3 quarter turns
};
// Built once, on first use.
const WallTables& GetWallTables();
bool IsValidPostMask(uint32_t mask);
uint8_t RotatePostMask(uint8_t mask, int32_t quarterTurns);

// Expands the cell of tile (x, y) of a size by size grid.
WallInfo ExpandWallCell(const WallLayer& walls, int32_t x, int32_t y, int32_t size);
// Writes a record back into the tile and the neighbours that share its sides,
// then recomputes the post masks of the tile's four corner points.
void WriteWallInfo(WallLayer& walls, WallPostLayer& posts, int32_t x, int32_t y, int32_t size, WallInfo info);
// The post mask of grid point (x, y); tiles outside 1..size-2 count as empty.
WallPostMask ComputeWallPostMask(const WallLayer& walls, int32_t x, int32_t y, int32_t size);
// The post masks of grid points (x, 0..count-1) into posts[0..count-1].
void ComputeWallPostRow(const WallLayer& walls, int32_t x, int32_t size, uint8_t* posts, int32_t count);
