#include "world/walls/WallManager.h"

#include <algorithm>

#include "world/WallCell.h"
#include "world/cFixedWorld.h"

namespace {

const std::vector<std::unique_ptr<WallPost>> kNoPosts;
const std::vector<std::unique_ptr<Wall>> kNoWalls;


// The post bits a run sets at its start and end, by build direction.
struct RunMasks {
    uint8_t start, end;
};
RunMasks MasksOf(int32_t direction) {
    switch (direction) {
        case 1: return {4, 1};
        case 3: return {8, 2};
        case 5: return {64, 16};
        case 6: return {128, 32};
        default: return {0, 0};
    }
}

int32_t FrontFaceOf(int32_t direction) { return direction == 1 || direction == 2 || direction == 7 ? 1 : 0; }

int SignOf(int v) { return (v > 0) - (v < 0); }

int32_t DirectionBetween(TileLocation from, TileLocation to) {
    const int sx = SignOf(to.x - from.x), sy = SignOf(to.y - from.y);
    for (int32_t d = 0; d < 8; ++d)
        if (DirectionOffsets[d].dx == sx && DirectionOffsets[d].dy == sy) return d;
    return 1;
}

// The tile whose edge or diagonal carries the run from a point: the tile
// with its low corner at the smaller ends of the step.
TileLocation StepTile(TileLocation point, int32_t direction) {
    const DirectionOffset& o = DirectionOffsets[direction];
    return TileLocation::At(std::min(point.x + 0, point.x + o.dx), std::min(point.y + 0, point.y + o.dy), point.level);
}

}  // namespace

int WallPost::SlotOf(uint8_t bit) {
    switch (bit) {
        case 1:
        case 16: return 0;
        case 2:
        case 32: return 1;
        case 4:
        case 64: return 2;
        default: return 3;
    }
}

WallManager::WallManager(cFixedWorld& world) : mWorld(world) {}
WallManager::~WallManager() = default;

WallManager::Level* WallManager::LevelOf(int32_t level) {
    return level == 1 || level == 2 ? &mLevels[level - 1] : nullptr;
}

void WallManager::RequestRebuild(int32_t level) {
    ForLevels(level, [](int32_t, Level& l) { l.rebuild = true; });
}

void WallManager::RequestRefresh(int32_t level) {
    ForLevels(level, [](int32_t, Level& l) { l.refresh = true; });
}

bool WallManager::RebuildRequested(int32_t level) const {
    return (level == 1 || level == 2) && mLevels[level - 1].rebuild;
}

bool WallManager::RefreshRequested(int32_t level) const {
    return (level == 1 || level == 2) && mLevels[level - 1].refresh;
}

const std::vector<std::unique_ptr<WallPost>>& WallManager::Posts(int32_t level) const {
    return level == 1 || level == 2 ? mLevels[level - 1].posts : kNoPosts;
}

const std::vector<std::unique_ptr<Wall>>& WallManager::Walls(int32_t level) const {
    return level == 1 || level == 2 ? mLevels[level - 1].walls : kNoWalls;
}

void WallManager::Update() {
    for (Level& level : mLevels)
        for (auto& wall : level.walls) wall->saved = wall->entries;
    const bool rebuild1 = mLevels[0].rebuild, rebuild2 = mLevels[1].rebuild;
    const bool refresh1 = mLevels[0].refresh, refresh2 = mLevels[1].refresh;
    if (rebuild1 || rebuild2) {
        Rebuild(rebuild1 && rebuild2 ? 0 : rebuild1 ? 1 : 2);
    } else if (refresh1 || refresh2) {
        Refresh(refresh1 && refresh2 ? 0 : refresh1 ? 1 : 2);
    }
    for (Level& level : mLevels) level.rebuild = level.refresh = false;
}

void WallManager::Rebuild(int32_t level) {
    // Pieces are built in world orientation and then turned to the view.
    const int32_t rotation = mRotation;
    SetRotation(0);
    ForLevels(level, [&](int32_t l, Level& lv) {
        lv.posts.clear();
        lv.walls.clear();
        RebuildLevel(l);
        lv.rebuild = lv.refresh = false;
    });
    SetRotation(rotation);
    if (mView != nullptr) mView->RedrawAll();
}

void WallManager::RebuildLevel(int32_t levelNumber) {
    Level& level = *LevelOf(levelNumber);
    const WallPostLayer* postLayer = mWorld.WallPosts(levelNumber);
    if (postLayer == nullptr) return;
    const WallTables& tables = GetWallTables();
    const int32_t size = mWorld.GetSize();
    for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x) {
            const uint8_t mask = postLayer->At(x, y);
            if (mask == 0 || !(tables.postEnd[mask] || tables.postJunction[mask])) continue;
            auto post = std::make_unique<WallPost>();
            post->point = TileLocation::At(x, y, levelNumber);
            post->mask = mask;
            post->standing = mask;
            level.posts.push_back(std::move(post));
        }
    Sort(levelNumber);
    for (size_t i = 0; i < level.posts.size(); ++i) {
        WallPost& post = *level.posts[i];
        if (post.mask & 4) BuildWall(level, post, 1);
        if (post.mask & 64) BuildWall(level, post, 5);
        if (post.mask & 8) BuildWall(level, post, 3);
        if (post.mask & 128) BuildWall(level, post, 6);
    }
    Sort(levelNumber);
}

void WallManager::BuildWall(Level& level, WallPost& from, int32_t direction) {
    auto wall = std::make_unique<Wall>();
    Wall& w = *wall;
    w.start = from.point;
    w.direction = direction;
    w.dx = DirectionOffsets[direction].dx;
    w.dy = DirectionOffsets[direction].dy;
    w.frontFace = FrontFaceOf(direction);
    const RunMasks masks = MasksOf(direction);
    w.startMask = masks.start;
    w.endMask = masks.end;
    w.end = FillEntries(w);
    w.startPost = &from;
    from.slots[WallPost::SlotOf(masks.start)] = &w;
    w.endPost = FindPostIn(level, w.end);
    // A run that ran out (grid edge, 64 entries) has an open end.
    if (w.endPost != nullptr) w.endPost->slots[WallPost::SlotOf(masks.end)] = &w;
    level.walls.push_back(std::move(wall));
}

TileLocation WallManager::FillEntries(Wall& w) {
    const int32_t size = mWorld.GetSize();
    const WallPostLayer* postLayer = mWorld.WallPosts(w.start.level);
    const c2DArray<uint16_t>* rooms = mWorld.Rooms(w.start.level);
    const WallTables& tables = GetWallTables();
    const int32_t side = WallDirectionToSide(w.direction);
    const bool diagonal = (side & kWallDiagonals) != 0;
    // Diagonal 32 (direction 5) faces kinds 1 and 3, diagonal 16 (6) kinds 4 and 2.
    const int32_t frontKind = side == kWallDiag32 ? 1 : 4;
    const int32_t backKind = side == kWallDiag32 ? 3 : 2;
    w.entries.clear();
    TileLocation point = w.start;
    bool first = true;
    while (static_cast<int>(w.entries.size()) < kMaxWallEntries) {
        const TileLocation tile = StepTile(point, w.direction);
        const TileLocation across = diagonal ? tile : StepAcrossSide(tile, side);
        const bool tileInside = mWorld.IsInsideGrid(tile.x, tile.y);
        if (!tileInside) break;
        const WallInfo info = mWorld.GetWallInfo(tile);
        const WallInfo acrossInfo = mWorld.IsInsideGrid(across.x, across.y) ? mWorld.GetWallInfo(across) : WallInfo{};
        WallEntry entry;
        entry.style = static_cast<uint8_t>(info.Style(side));
        entry.front = static_cast<uint8_t>(info.GetPattern(side, diagonal ? frontKind : 0));
        entry.back = static_cast<uint8_t>(diagonal ? info.GetPattern(side, backKind)
                                                   : acrossInfo.GetPattern(OppositeSide(side), 0));
        w.entries.push_back(entry);
        if (first && rooms != nullptr) {
            w.rooms[0] = rooms->At(tile.x, tile.y);
            w.rooms[1] = mWorld.IsInsideGrid(across.x, across.y) ? rooms->At(across.x, across.y) : 0;
            first = false;
        }
        point.x = static_cast<int8_t>(point.x + w.dx);
        point.y = static_cast<int8_t>(point.y + w.dy);
        if (point.x < 0 || point.y < 0 || point.x >= size || point.y >= size) break;
        const uint8_t mask = postLayer != nullptr ? postLayer->At(point.x, point.y) : 0;
        if (mask == 0 || tables.postEnd[mask] || tables.postJunction[mask]) break;
    }
    return point;
}

void WallManager::Refresh(int32_t level) {
    const int32_t rotation = mRotation;
    SetRotation(0);
    ForLevels(level, [&](int32_t, Level& lv) {
        for (auto& wall : lv.walls) {
            const TileLocation end = wall->end;
            FillEntries(*wall);
            wall->end = end;
        }
        lv.refresh = false;
    });
    SetRotation(rotation);
    if (mView != nullptr) mView->RedrawAll();
}

TileLocation WallManager::TurnPoint(TileLocation point, int32_t b) const {
    static constexpr GridPoint kCornerOffset[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const GridPoint turned = RotateGridCoords(point.x, point.y, b, kWorldCapacity);
    return TileLocation::At(turned.x + kCornerOffset[b].x, turned.y + kCornerOffset[b].y, point.level);
}

void WallManager::TurnPost(WallPost& post, int32_t rotation) {
    const int32_t b = (rotation - post.rotation) & 3;
    post.rotation = rotation;
    if (b == 0) return;
    post.point = TurnPoint(post.point, b);
    post.mask = RotatePostMask(post.mask, b);
    post.lowered = RotatePostMask(post.lowered, b);
    post.standing = RotatePostMask(post.standing, b);
    post.doors = RotatePostMask(post.doors, b);
    post.capped = RotatePostMask(post.capped, b);
    std::array<Wall*, 4> turned{};
    for (int i = 0; i < 4; ++i) turned[i] = post.slots[(i + b) & 3];
    post.slots = turned;
    ChooseCaps(post);
}

void WallManager::TurnWall(Wall& w, int32_t rotation) {
    const int32_t b = (rotation - w.rotation) & 3;
    w.rotation = rotation;
    if (b == 0) return;
    w.start = TurnPoint(w.start, b);
    w.end = TurnPoint(w.end, b);
    w.startMask = RotatePostMask(w.startMask, b);
    w.endMask = RotatePostMask(w.endMask, b);
    if (PointIsBehind(w.end, w.start)) {
        std::swap(w.start, w.end);
        std::swap(w.startPost, w.endPost);
        std::swap(w.startMask, w.endMask);
        std::reverse(w.entries.begin(), w.entries.end());
        for (WallEntry& e : w.entries) std::swap(e.front, e.back);
        std::reverse(w.saved.begin(), w.saved.end());
        for (WallEntry& e : w.saved) std::swap(e.front, e.back);
        std::swap(w.rooms[0], w.rooms[1]);
    }
    w.direction = DirectionBetween(w.start, w.end);
    w.dx = DirectionOffsets[w.direction].dx;
    w.dy = DirectionOffsets[w.direction].dy;
    w.frontFace = FrontFaceOf(w.direction);
}

void WallManager::SetRotation(int32_t rotation) {
    mRotation = rotation & 3;
    for (Level& level : mLevels) {
        for (auto& post : level.posts) TurnPost(*post, mRotation);
        for (auto& wall : level.walls) TurnWall(*wall, mRotation);
    }
    Sort(0);
}

void WallManager::Sort(int32_t level) {
    ForLevels(level, [](int32_t, Level& lv) {
        std::stable_sort(lv.posts.begin(), lv.posts.end(),
                         [](const auto& a, const auto& b) { return PointIsBehind(a->point, b->point); });
        // Walls from one post are ordered by their far ends, so that the order
        // does not depend on the turns the list went through.
        std::stable_sort(lv.walls.begin(), lv.walls.end(), [](const auto& a, const auto& b) {
            if (PointIsBehind(a->start, b->start)) return true;
            if (PointIsBehind(b->start, a->start)) return false;
            return PointIsBehind(a->end, b->end);
        });
    });
}

WallPost* WallManager::FindPostIn(Level& level, TileLocation point) {
    auto found = std::lower_bound(level.posts.begin(), level.posts.end(), point,
                                  [](const auto& post, const TileLocation& p) { return PointIsBehind(post->point, p); });
    // The post found must stand at the point: a run that ended early has none.
    if (found == level.posts.end() || (*found)->point.x != point.x || (*found)->point.y != point.y) return nullptr;
    return found->get();
}

WallPost* WallManager::FindPost(TileLocation point) {
    Level* level = LevelOf(point.level);
    return level != nullptr ? FindPostIn(*level, point) : nullptr;
}

void WallManager::SettleMirror() {
    for (Level& level : mLevels)
        for (auto& post : level.posts) {
            Wall* seen = nullptr;
            for (int slot = 2; slot <= 3; ++slot) {
                Wall* wall = post->slots[slot];
                if (wall == nullptr || wall == seen) continue;
                seen = wall;
                for (WallEntry& e : wall->entries) {
                    if (e.front == 255 || e.back == 255) e.front = e.back = 0;
                    if (e.style == 255) e.style = 1;
                    if (IsFenceWallStyle(e.style)) {
                        const uint8_t fenceFace = e.style == 2 ? 248 : static_cast<uint8_t>(249 + (e.style - 12));
                        if (e.front == 0) e.front = fenceFace;
                        if (e.back == 0) e.back = fenceFace;
                    }
                }
            }
        }
}
