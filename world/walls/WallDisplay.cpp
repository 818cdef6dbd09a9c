// The display flags of the wall model: walls-down, the cutaway set, and the
// masks and caps each post derives from the entries that meet it.
#include <array>

#include "world/walls/WallManager.h"

namespace {

bool IsDoorStyle(int32_t style) { return style == 3 || style == 5 || style == 6 || style == 15; }
bool IsDoorOrWindow(int32_t style) { return IsDoorStyle(style) || style == 22; }
bool IsLowerable(int32_t style) { return style != 255 && !IsFenceWallStyle(style); }

constexpr uint8_t kLowered = 1, kCapA = 2, kCapB = 4, kDoorLowered = 8;

std::array<uint8_t, 256> BuildPieceTable() {
    std::array<uint8_t, 256> table{};
    uint8_t next = 0;
    for (int mask = 0; mask < 256; ++mask) {
        const bool blocked = ((mask & 16) && (mask & (1 | 2))) || ((mask & 32) && (mask & (2 | 4))) ||
                             ((mask & 64) && (mask & (4 | 8))) || ((mask & 128) && (mask & (8 | 1)));
        table[mask] = blocked ? 255 : next++;
    }
    return table;
}

bool InSet(const uint64_t (&tiles)[64], int x, int y) {
    return x >= 0 && y >= 0 && x < 64 && y < 64 && ((tiles[y] >> x) & 1u) != 0;
}

}  // namespace

uint8_t PostPieceOf(uint8_t mask) {
    static const std::array<uint8_t, 256> table = BuildPieceTable();
    return table[mask];
}

bool ChooseWallCap(uint32_t value, WallCapRecord& cap) {
    // Offsets are those of directions 2 (-1, 0) and 0 (0, -1).
    switch (value) {
        case 1: cap = {-1, 0, 0, 3, 0, 2, 0}; return true;
        case 2: cap = {0, -1, 0, 3, 1, 1, 1}; return true;
        case 4:
        case 6: cap = {0, -1, 0, 3, 2, 1, 1}; return true;
        case 8:
        case 9: cap = {-1, 0, 0, 3, 3, 2, 0}; return true;
        case 20: cap = {0, -1, 0, 2, 2, 1, 1}; return true;
        case 24: cap = {-1, 0, 0, 2, 3, 2, 0}; return true;
        case 48: cap = {0, -1, 0, 2, 1, 16, 1}; return true;
        case 144: cap = {-1, 0, 0, 2, 3, 16, 0}; return true;
        default: return false;
    }
}

void WallManager::ComputePostDisplay(WallPost& post) {
    post.lowered = 0;
    post.standing = post.mask;
    post.doors = 0;
    post.capped = 0;
    bool lowered[4] = {}, lowerable[4] = {};
    for (int i = 0; i < 4; ++i) {
        Wall* wall = post.slots[i];
        if (wall == nullptr || wall->entries.empty()) continue;
        const WallEntry& e = wall->EntryAt(&post);
        lowered[i] = (e.flags & kLowered) != 0;
        lowerable[i] = IsLowerable(e.style);
    }
    auto bitOf = [&post](const Wall& wall) { return &post == wall.startPost ? wall.startMask : wall.endMask; };
    for (int i = 0; i < 4; ++i) {
        Wall* wall = post.slots[i];
        if (wall == nullptr || wall->entries.empty() || !lowered[i]) continue;
        bool besideStanding = false;
        for (int k = 1; k <= 3; ++k) {
            const int j = (i + k) & 3;
            if (post.slots[j] != nullptr && !post.slots[j]->entries.empty() && !lowered[j] && lowerable[j])
                besideStanding = true;
        }
        WallEntry& e = wall->EntryAt(&post);
        const uint8_t b = bitOf(*wall);
        if (besideStanding) {
            if (!(e.flags & (kCapA | kCapB))) e.flags |= (i == 0 || i == 3) ? kCapA : kCapB;
        } else if (post.standing & b) {
            post.standing &= static_cast<uint8_t>(~b);
            post.lowered |= b;
        }
    }
    for (int i = 0; i < 4; ++i) {
        Wall* wall = post.slots[i];
        if (wall == nullptr || wall->entries.empty()) continue;
        const WallEntry& e = wall->EntryAt(&post);
        const uint8_t b = bitOf(*wall);
        const bool capped = (e.flags & (kCapA | kCapB)) != 0;
        if (capped && wall->direction >= 0 && wall->direction <= 3) {
            post.capped |= b;
        } else if (capped && wall->direction == 6) {
            (e.flags & kCapA ? post.capped : post.doors) |= b;
        } else if (capped && wall->direction == 7) {
            (e.flags & kCapB ? post.capped : post.doors) |= b;
        } else if (!capped && IsFenceWallStyle(e.style)) {
            post.doors |= b;
        } else if ((e.flags & kLowered) && IsDoorStyle(e.style)) {
            post.doors |= b;
        }
    }
    ChooseCaps(post);
}

void WallManager::ChooseCaps(WallPost& post) {
    auto choose = [](uint8_t m, uint8_t x, uint8_t extra, WallCapRecord& cap) {
        const uint8_t left = static_cast<uint8_t>(m & ~x);
        return m != 0 && left != 0 && ChooseWallCap(static_cast<uint32_t>(left | extra), cap);
    };
    post.capExists[0] = choose(post.standing, post.doors, post.capped, post.caps[0]);
    post.capExists[1] = choose(post.lowered, post.doors, 0, post.caps[1]);
}

void WallManager::SetWallsDown(int32_t level, bool down) {
    ForLevels(level, [&](int32_t, Level& lv) {
        for (auto& wall : lv.walls)
            for (WallEntry& e : wall->entries) {
                e.flags = 0;
                if (down && IsLowerable(e.style)) e.flags |= kLowered;
                if (down && IsDoorOrWindow(e.style)) e.flags |= kDoorLowered;
            }
        for (auto& post : lv.posts) ComputePostDisplay(*post);
    });
}

void WallManager::ApplyCutaway(int32_t level, const uint64_t (&tiles)[64]) {
    ForLevels(level, [&](int32_t, Level& lv) {
        for (auto& wallPtr : lv.walls) {
            Wall& wall = *wallPtr;
            const bool sideRun = wall.direction <= 3;
            const bool run3or6 = wall.direction == 3 || wall.direction == 6;
            for (size_t i = 0; i < wall.entries.size(); ++i) {
                WallEntry& e = wall.entries[i];
                e.flags = 0;
                const int px = wall.start.x + static_cast<int>(i) * wall.dx;
                const int py = wall.start.y + static_cast<int>(i) * wall.dy;
                if (!InSet(tiles, px, py) || !IsLowerable(e.style)) continue;
                // The step tile of the entry: its low corner at the smaller
                // ends of the step.
                const int sx = wall.dx < 0 ? px - 1 : px, sy = wall.dy < 0 ? py - 1 : py;
                bool lower = false;
                if (sideRun) {
                    lower = wall.dx == 0 ? InSet(tiles, px - 1, py) : InSet(tiles, px, py - 1);
                } else if (wall.direction == 6 || wall.direction == 7) {  // diagonal 16
                    lower = InSet(tiles, sx - 1, sy) || InSet(tiles, sx, sy - 1);
                } else {  // diagonal 32
                    lower = InSet(tiles, sx, sy - 2) && InSet(tiles, sx - 2, sy);
                }
                if (!lower) continue;
                e.flags |= kLowered;
                if (IsDoorOrWindow(e.style)) e.flags |= kDoorLowered;
            }
            for (size_t i = 0; i + 1 < wall.entries.size(); ++i) {
                WallEntry& a = wall.entries[i];
                WallEntry& b = wall.entries[i + 1];
                if ((a.flags & kLowered) == (b.flags & kLowered)) continue;
                const bool earlierLowered = (a.flags & kLowered) != 0;
                const WallEntry& standing = earlierLowered ? b : a;
                if (!IsLowerable(standing.style)) continue;
                if (earlierLowered)
                    a.flags |= run3or6 ? kCapB : kCapA;
                else
                    b.flags |= run3or6 ? kCapA : kCapB;
            }
        }
        for (auto& post : lv.posts) ComputePostDisplay(*post);
        if (mView == nullptr) return;
        for (auto& wallPtr : lv.walls) {
            const Wall& wall = *wallPtr;
            for (size_t i = 0; i < wall.entries.size(); ++i) {
                if (i < wall.saved.size() && wall.saved[i] == wall.entries[i]) continue;
                const int px = wall.start.x + static_cast<int>(i) * wall.dx;
                const int py = wall.start.y + static_cast<int>(i) * wall.dy;
                mView->RedrawTile(TileLocation::At(wall.dx < 0 ? px - 1 : px,
                                               wall.dy < 0 ? py - 1 : py, wall.start.level));
            }
        }
    });
}
