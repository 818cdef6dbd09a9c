// The display model of the walls: posts at the grid points where walls end
// or meet, and walls, each a straight run between two posts with one entry
// per tile edge. The wall manager owns both through its per-level lists;
// the links between posts and walls are plain pointers that own nothing, so
// emptying the lists frees every piece.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "world/WorldTypes.h"

class Wall;

// One tile edge of a run.
struct WallEntry {
    uint8_t flags = 0;  // display flags: 1 lowered, 2 and 4 caps, 8 lowered door or window
    uint8_t style = 0;
    uint8_t front = 0;  // face wallpaper on the side the wall was built from
    uint8_t back = 0;

    friend bool operator==(const WallEntry&, const WallEntry&) = default;
};

inline constexpr int kMaxWallEntries = 64;

// Styles that carry a fixed covering and need no level ground or support.
inline bool IsFenceWallStyle(int32_t style) { return style == 2 || style == 12 || style == 13 || style == 14; }

// A cap closes a wall where a post cuts it: the tile whose wall sprite is
// drawn as the cap (offset from the post), the strip of it that shows, the
// wall slot whose end entry gives style and wallpaper, and the face drawn.
struct WallCapRecord {
    int8_t dx = 0, dy = 0, dlevel = 0;
    int32_t stripWidth = 0;  // in units of 2^(zoom-1) pixels
    int32_t slot = 0;
    int32_t face = 0;        // 1 side 1, 2 side 2, 16 diagonal 16
    uint8_t stripSide = 0;   // 1: from one pixel left of the post, 0: ending at it

    friend bool operator==(const WallCapRecord&, const WallCapRecord&) = default;
};

// The cap for a visible mask, or false when the value has none.
bool ChooseWallCap(uint32_t value, WallCapRecord& cap);

// The post piece of a visible direction mask: its index among the 47
// drawable masks, or 255 for a mask that cannot be drawn (a diagonal beside
// one of its neighbouring sides).
uint8_t PostPieceOf(uint8_t mask);

class WallPost {
public:
    TileLocation point{};  // a grid point, in view coordinates
    int32_t rotation = 0;
    uint8_t mask = 0;  // directions 1 (0,-1) 2 (-1,0) 4 (0,+1) 8 (+1,0) 16 32 64 128 diagonals
    // Display masks: lowered, standing, lowered doors, standing next to lowered.
    uint8_t lowered = 0;
    uint8_t standing = 0;
    uint8_t doors = 0;
    uint8_t capped = 0;
    // Slot 0: the wall leaving in direction 1 or 16; 1: 2 or 32; 2: 4 or 64;
    // 3: 8 or 128. Not owned.
    std::array<Wall*, 4> slots{};
    bool capExists[2] = {false, false};
    WallCapRecord caps[2];

    // The slot that a direction bit of this post's mask lives in.
    static int SlotOf(uint8_t directionBit);
};

class Wall {
public:
    TileLocation start{};
    TileLocation end{};
    int8_t dx = 0;
    int8_t dy = 0;
    int32_t direction = 0;  // 0-7 of DirectionOffsets
    int32_t rotation = 0;
    int32_t frontFace = 0;  // 1 for directions 1, 2 and 7
    uint8_t startMask = 0;
    uint8_t endMask = 0;
    WallPost* startPost = nullptr;  // not owned; null at an open end
    WallPost* endPost = nullptr;
    // The room values of the tiles on either side, front first, as the rooms
    // layer holds them (a value above 65530 marks a tile split by a diagonal).
    std::array<int32_t, 2> rooms{};
    std::vector<WallEntry> entries;
    std::vector<WallEntry> saved;  // the entries before the last update

    // The entry that meets the post: the first at the start, else the last.
    WallEntry& EntryAt(const WallPost* post) { return post == startPost ? entries.front() : entries.back(); }
};

// Back-to-front order of points: a is before b when a.x + a.y < b.x + b.y,
// or when the sums are equal and a.x - a.y < b.x - b.y.
inline bool PointIsBehind(const TileLocation& a, const TileLocation& b) {
    const int as = a.x + a.y, bs = b.x + b.y;
    return as < bs || (as == bs && a.x - a.y < b.x - b.y);
}
