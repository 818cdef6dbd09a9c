#include "world/WallCell.h"

#include <algorithm>
#include <array>
#include <bit>

namespace {

uint32_t TurnSideMaskOnce(uint32_t mask) {
    uint32_t out = 0;
    if (mask & kWallSide1) out |= kWallSide2;
    if (mask & kWallSide2) out |= kWallSide4;
    if (mask & kWallSide4) out |= kWallSide8;
    if (mask & kWallSide8) out |= kWallSide1;
    if (mask & kWallDiag16) out |= kWallDiag32;
    if (mask & kWallDiag32) out |= kWallDiag16;
    return out;
}

uint8_t TurnPostMaskOnce(uint8_t mask) {
    // Every direction (dx, dy) goes to (-dy, dx).
    static constexpr uint8_t kImage[8] = {8, 1, 2, 4, 128, 16, 32, 64};
    uint8_t out = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if (mask & (1u << bit)) out |= kImage[bit];
    }
    return out;
}

bool IsStraightPair(uint32_t mask) { return mask == (1 | 4) || mask == (2 | 8) || mask == (16 | 64) || mask == (32 | 128); }

WallTables BuildTables() {
    WallTables t{};
    for (uint32_t m = 0; m < 64; ++m) {
        uint32_t turned = m;
        for (int r = 0; r < 4; ++r) {
            t.sideRotation[r][m] = turned;
            turned = TurnSideMaskOnce(turned);
        }
    }
    for (int r = 0; r < 4; ++r) {
        t.faceKindRotation[r][0] = 0;
        for (int k = 1; k <= 4; ++k) t.faceKindRotation[r][k] = static_cast<uint8_t>(((k - 1 + r) % 4) + 1);
    }
    for (uint32_t m = 0; m < 256; ++m) {
        const bool valid = IsValidPostMask(m);
        const int bits = std::popcount(m);
        t.postEnd[m] = valid && bits == 1;
        t.postJunction[m] = valid && bits >= 2 && !IsStraightPair(m);
        uint8_t turned = static_cast<uint8_t>(m);
        for (int r = 0; r < 3; ++r) {
            turned = TurnPostMaskOnce(turned);
            t.postRotation[r][m] = turned;
        }
    }
    return t;
}

int32_t Attr(int32_t attributes, int32_t index) { return (attributes >> (2 * index)) & 3; }

}  // namespace

const WallTables& GetWallTables() {
    static const WallTables tables = BuildTables();
    return tables;
}

bool IsValidPostMask(uint32_t m) {
    if ((m & 16) && (m & (1 | 2))) return false;
    if ((m & 32) && (m & (2 | 4))) return false;
    if ((m & 64) && (m & (4 | 8))) return false;
    if ((m & 128) && (m & (1 | 8))) return false;
    return true;
}

uint8_t RotatePostMask(uint8_t mask, int32_t quarterTurns) {
    const int32_t r = quarterTurns & 3;
    return r == 0 ? mask : GetWallTables().postRotation[r - 1][mask];
}

int32_t WallSideIndex(int32_t side) {
    if (side <= 0) return 0;
    return std::countr_zero(static_cast<uint32_t>(side));
}

int32_t WallFaceSlot(int32_t side, int32_t kind) {
    const int32_t index = WallSideIndex(side);
    if (index < 4) return index;
    if (kind == 0) kind = (index == 4) ? 4 : 1;
    if (kind == 1 || kind == 4) return index + 1;
    if (kind == 3) return index + 2;
    return index;
}

std::array<int32_t, 2> DiagonalFaceKinds(int32_t diagonal) {
    return diagonal == kWallDiag32 ? std::array<int32_t, 2>{1, 3} : std::array<int32_t, 2>{2, 4};
}

int32_t OppositeSide(int32_t side) {
    switch (side) {
        case kWallSide1: return kWallSide4;
        case kWallSide4: return kWallSide1;
        case kWallSide2: return kWallSide8;
        case kWallSide8: return kWallSide2;
        default: return side;
    }
}

TileLocation StepAcrossSide(TileLocation tile, int32_t side) {
    switch (side) {
        case kWallSide1: tile.x = static_cast<int8_t>(tile.x - 1); break;
        case kWallSide2: tile.y = static_cast<int8_t>(tile.y - 1); break;
        case kWallSide4: tile.x = static_cast<int8_t>(tile.x + 1); break;
        case kWallSide8: tile.y = static_cast<int8_t>(tile.y + 1); break;
        default: break;
    }
    return tile;
}

int32_t WallDirectionToSide(int32_t direction) {
    static constexpr int32_t kSides[8] = {kWallSide1, kWallSide1, kWallSide2, kWallSide2,
                                          kWallDiag32, kWallDiag32, kWallDiag16, kWallDiag16};
    return kSides[direction & 7];
}

int32_t DirectionToSide(int32_t direction) {
    static constexpr int32_t kSides[8] = {kWallSide2, kWallSide8, kWallSide1, kWallSide4,
                                          kWallDiag32, kWallDiag32, kWallDiag16, kWallDiag16};
    return kSides[direction & 7];
}

int32_t WallInfo::GetAttribute(int32_t sideIndex) const {
    if (sideIndex < 0 || sideIndex > 3) return 3;
    return Attr(attributes, sideIndex);
}

void WallInfo::SetAttribute(int32_t value, int32_t sideIndex) {
    if (sideIndex < 0 || sideIndex > 3) return;
    attributes = (attributes & ~(3 << (2 * sideIndex))) | ((value & 3) << (2 * sideIndex));
}

int32_t WallInfo::GetPattern(int32_t side, int32_t kind) const {
    if ((side & 63) == 0) return 0;
    return pattern[WallFaceSlot(side & -side, kind)];
}

void WallInfo::SetPattern(int32_t side, int32_t kind, int32_t value) {
    for (int32_t bit = 1; bit < 64; bit <<= 1) {
        if (side & bit) pattern[WallFaceSlot(bit, kind)] = value;
    }
}

void WallInfo::Rotate(int32_t quarterTurns) {
    const int32_t n = quarterTurns & 3;
    if (n == 0) return;
    const WallTables& tables = GetWallTables();
    WallInfo turned = *this;
    turned.rotation = (rotation + n) & 3;
    turned.flags = 0;
    // The slots of the walls that move are emptied first, then filled from
    // their new places. Slots of absent walls are carried unchanged; on a
    // tile with a diagonal, style[0] and pattern[0] hold the half-tile floors
    // and stay where they are.
    for (int32_t b = 1; b < 64; b <<= 1) {
        if (!(flags & b)) continue;
        const int32_t index = WallSideIndex(b);
        turned.style[index] = 0;
        if (index < 4) {
            turned.pattern[index] = 0;
            turned.SetAttribute(0, index);
        } else {
            for (int32_t k : DiagonalFaceKinds(b)) turned.pattern[WallFaceSlot(b, k)] = 0;
        }
    }
    for (int32_t b = 1; b < 64; b <<= 1) {
        if (!(flags & b)) continue;
        const int32_t d = static_cast<int32_t>(tables.sideRotation[n][b]);
        const int32_t from = WallSideIndex(b);
        const int32_t to = WallSideIndex(d);
        turned.flags |= d;
        turned.style[to] = style[from];
        if (from < 4) {
            turned.pattern[to] = pattern[from];
            turned.SetAttribute(GetAttribute(from), to);
        } else {
            for (int32_t k : DiagonalFaceKinds(b)) {
                turned.pattern[WallFaceSlot(d, tables.faceKindRotation[n][k])] = pattern[WallFaceSlot(b, k)];
            }
        }
    }
    turned.flags |= flags & ~63;
    *this = turned;
}

void WallInfo::RotateTo(int32_t target) {
    const int32_t n = (target - rotation) & 3;
    if (n != 0) Rotate(n);
}

bool WallInfo::CanAddWall(int32_t side) const {
    const int32_t m = side | flags;
    if ((m & kWallDiag16) && m != kWallDiag16) return false;
    if ((m & kWallDiag32) && m != kWallDiag32) return false;
    if (!neighbourDiagonal[0] && !neighbourDiagonal[1] && !neighbourDiagonal[2] && !neighbourDiagonal[3]) return true;
    int32_t world = side & 63;
    if (rotation & 3) world = static_cast<int32_t>(GetWallTables().sideRotation[(4 - rotation) & 3][world]);
    if ((world & kWallSide1) && neighbourDiagonal[kNeighbourXMinus]) return false;
    if ((world & kWallSide2) && neighbourDiagonal[kNeighbourYMinus]) return false;
    if ((world & kWallSide4) && neighbourDiagonal[kNeighbourXPlus]) return false;
    if ((world & kWallSide8) && neighbourDiagonal[kNeighbourYPlus]) return false;
    return true;
}

WallInfo ExpandWallCell(const WallLayer& walls, int32_t x, int32_t y, int32_t size) {
    WallInfo info;
    if (!walls.HasData() || x < 0 || y < 0 || x >= size || y >= size || !walls.Contains(x, y)) return info;
    const WallCell& c = walls.At(x, y);
    info.flags = c.mask;
    info.attributes = c.attributes;
    info.style[0] = c.style1;
    info.style[1] = info.style[4] = info.style[5] = c.style2;
    info.pattern[0] = c.paper1;
    info.pattern[1] = c.paper2;
    info.pattern[2] = c.paper4;
    info.pattern[3] = c.paper8;
    if (c.mask & kWallDiag16) {
        info.pattern[4] = c.paper8;
        info.pattern[5] = c.paper4;
    }
    if (c.mask & kWallDiag32) {
        info.pattern[6] = c.paper8;
        info.pattern[7] = c.paper4;
    }
    auto diagonalAt = [&](int32_t nx, int32_t ny) -> uint8_t {
        if (nx < 0 || ny < 0 || nx >= size || ny >= size) return 0;
        return (walls.At(nx, ny).mask & kWallDiagonals) ? 1 : 0;
    };
    info.neighbourDiagonal[WallInfo::kNeighbourYPlus] = diagonalAt(x, y + 1);
    info.neighbourDiagonal[WallInfo::kNeighbourXPlus] = diagonalAt(x + 1, y);
    info.neighbourDiagonal[WallInfo::kNeighbourXMinus] = diagonalAt(x - 1, y);
    info.neighbourDiagonal[WallInfo::kNeighbourYMinus] = diagonalAt(x, y - 1);
    if (y < size - 1) {
        const WallCell& below = walls.At(x, y + 1);
        if (below.mask & kWallSide2) {
            info.style[3] = below.style2;
            info.attributes |= ((below.attributes >> 2) & 3) << 6;
        }
    }
    if (x < size - 1) {
        const WallCell& right = walls.At(x + 1, y);
        if (right.mask & kWallSide1) {
            info.style[2] = right.style1;
            info.attributes |= (right.attributes & 3) << 4;
        }
    }
    return info;
}

WallPostMask ComputeWallPostMask(const WallLayer& walls, int32_t x, int32_t y, int32_t size) {
    auto maskAt = [&](int32_t tx, int32_t ty) -> uint8_t {
        if (tx < 1 || ty < 1 || tx >= size - 1 || ty >= size - 1 || !walls.Contains(tx, ty)) return 0;
        return walls.At(tx, ty).mask;
    };
    WallPostMask m = 0;
    const uint8_t a = maskAt(x - 1, y - 1);
    if (a & kWallSide8) m |= 2;
    if (a & kWallDiag32) m |= 16;
    const uint8_t b = maskAt(x, y - 1);
    if (b & kWallSide1) m |= 1;
    if (b & kWallDiag16) m |= 128;
    const uint8_t c = maskAt(x - 1, y);
    if (c & kWallSide4) m |= 4;
    if (c & kWallDiag16) m |= 32;
    const uint8_t d = maskAt(x, y);
    if (d & kWallSide2) m |= 8;
    if (d & kWallDiag32) m |= 64;
    return m;
}

void ComputeWallPostRow(const WallLayer& walls, int32_t x, int32_t size, uint8_t* posts, int32_t count) {
    // The same rule as ComputeWallPostMask, with the two tile rows a point
    // touches and the bounds settled once for the whole row.
    auto rowOf = [&](int32_t tx) -> const WallCell* {
        return walls.HasData() && tx >= 1 && tx < size - 1 && tx < walls.Rows() ? walls.Row(tx) : nullptr;
    };
    const int32_t lastColumn = std::min(size - 2, walls.Columns() - 1);
    const WallCell* above = rowOf(x - 1);
    const WallCell* here = rowOf(x);
    auto maskIn = [lastColumn](const WallCell* row, int32_t ty) -> uint8_t {
        return row != nullptr && ty >= 1 && ty <= lastColumn ? row[ty].mask : 0;
    };
    for (int32_t y = 0; y < count; ++y) {
        WallPostMask m = 0;
        const uint8_t a = maskIn(above, y - 1);
        if (a & kWallSide8) m |= 2;
        if (a & kWallDiag32) m |= 16;
        const uint8_t b = maskIn(here, y - 1);
        if (b & kWallSide1) m |= 1;
        if (b & kWallDiag16) m |= 128;
        const uint8_t c = maskIn(above, y);
        if (c & kWallSide4) m |= 4;
        if (c & kWallDiag16) m |= 32;
        const uint8_t d = maskIn(here, y);
        if (d & kWallSide2) m |= 8;
        if (d & kWallDiag32) m |= 64;
        posts[y] = m;
    }
}

void WriteWallInfo(WallLayer& walls, WallPostLayer& posts, int32_t x, int32_t y, int32_t size, WallInfo info) {
    if (!walls.HasData() || x < 0 || y < 0 || x >= size || y >= size || !walls.Contains(x, y)) return;
    if (info.rotation != 0) info.RotateTo(0);
    WallCell& c = walls.At(x, y);
    const uint8_t before = c.mask;
    auto attr = [&](int32_t index) { return static_cast<uint8_t>(Attr(info.attributes, index)); };

    // A diagonal wall owns the whole cell: its style and two papers, plus the
    // half-tile floor kept in slot 0.
    auto writeDiagonal = [&](uint8_t diagonal, int styleSlot, int paperSlot) {
        if (!(info.flags & diagonal)) {
            c.mask &= static_cast<uint8_t>(~diagonal);
            return;
        }
        c.mask = diagonal;
        c.style2 = static_cast<uint8_t>(info.style[styleSlot]);
        c.paper8 = static_cast<uint8_t>(info.pattern[paperSlot]);
        c.paper4 = static_cast<uint8_t>(info.pattern[paperSlot + 1]);
        c.style1 = static_cast<uint8_t>(info.style[0]);
        c.paper1 = static_cast<uint8_t>(info.pattern[0]);
    };
    writeDiagonal(kWallDiag16, 4, 4);
    writeDiagonal(kWallDiag32, 5, 6);

    const bool left = x >= 1, up = y >= 1, right = x < size - 1, down = y < size - 1;
    if (info.flags & kWallSide1) {
        c.mask |= kWallSide1;
        c.style1 = static_cast<uint8_t>(info.style[0]);
        c.paper1 = static_cast<uint8_t>(info.pattern[0]);
        c.attributes |= attr(0);
        if (left) walls.At(x - 1, y).mask |= kWallSide4;
    } else if (before & kWallSide1) {
        c.mask &= static_cast<uint8_t>(~kWallSide1);
        if (left) {
            walls.At(x - 1, y).mask &= static_cast<uint8_t>(~kWallSide4);
            walls.At(x - 1, y).paper4 = 0;
        }
    }
    if (info.flags & kWallSide2) {
        c.mask |= kWallSide2;
        c.style2 = static_cast<uint8_t>(info.style[1]);
        c.paper2 = static_cast<uint8_t>(info.pattern[1]);
        c.attributes |= static_cast<uint8_t>(attr(1) << 2);
        if (up) walls.At(x, y - 1).mask |= kWallSide8;
    } else if (before & kWallSide2) {
        c.mask &= static_cast<uint8_t>(~kWallSide2);
        if (up) {
            walls.At(x, y - 1).mask &= static_cast<uint8_t>(~kWallSide8);
            walls.At(x, y - 1).paper8 = 0;
        }
    }
    if (info.flags & kWallSide4) {
        c.mask |= kWallSide4;
        c.paper4 = static_cast<uint8_t>(info.pattern[2]);
        if (right) {
            WallCell& n = walls.At(x + 1, y);
            n.mask |= kWallSide1;
            n.style1 = static_cast<uint8_t>(info.style[2]);
            n.attributes |= attr(2);
        }
    } else if (before & kWallSide4) {
        c.mask &= static_cast<uint8_t>(~kWallSide4);
        if (right) {
            walls.At(x + 1, y).mask &= static_cast<uint8_t>(~kWallSide1);
            walls.At(x + 1, y).paper1 = 0;
        }
    }
    if (info.flags & kWallSide8) {
        c.mask |= kWallSide8;
        c.paper8 = static_cast<uint8_t>(info.pattern[3]);
        if (down) {
            WallCell& n = walls.At(x, y + 1);
            n.mask |= kWallSide2;
            n.style2 = static_cast<uint8_t>(info.style[3]);
            n.attributes |= static_cast<uint8_t>(attr(3) << 2);
        }
    } else if (before & kWallSide8) {
        c.mask &= static_cast<uint8_t>(~kWallSide8);
        if (down) {
            walls.At(x, y + 1).mask &= static_cast<uint8_t>(~kWallSide2);
            walls.At(x, y + 1).paper2 = 0;
        }
    }

    if (!posts.HasData()) return;
    for (int32_t py = y; py <= y + 1; ++py) {
        for (int32_t px = x; px <= x + 1; ++px) {
            if (posts.Contains(px, py)) posts.At(px, py) = ComputeWallPostMask(walls, px, py, size);
        }
    }
}
