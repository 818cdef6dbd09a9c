// Drawing the wall model through the house view: each wall's entries with
// their joints and caps, then the posts with their pieces and one cap.
#include <algorithm>

#include "world/cFixedWorld.h"
#include "world/walls/WallManager.h"

namespace {

bool IsFence(int32_t s) { return s == 2 || s == 12 || s == 13 || s == 14; }
bool IsDoor(int32_t s) { return s == 3 || s == 5 || s == 6 || s == 15; }
bool IsBlank(int32_t s) { return s == 255 || IsFence(s); }
bool IsStandingOrBlank(const WallEntry& e) { return !(e.flags & 1) || IsBlank(e.style); }

constexpr uint8_t kFlagLowered = 1, kFlagCapA = 2, kFlagCapB = 4, kFlagDoorLowered = 8;

int32_t Byte(uint32_t packed, int n) { return static_cast<int32_t>((packed >> (8 * n)) & 0xFF); }

// Frame of a run's face: side 1, side 2, diagonal 16, diagonal 32.
int32_t FrameOf(int32_t direction) {
    switch (direction) {
        case 1: return 0;
        case 3: return 1;
        case 6: return 2;
        default: return 3;
    }
}

TileLocation StepTileOf(const Wall& wall, size_t index) {
    const int px = wall.start.x + static_cast<int>(index) * wall.dx;
    const int py = wall.start.y + static_cast<int>(index) * wall.dy;
    return TileLocation::At(wall.dx < 0 ? px - 1 : px, wall.dy < 0 ? py - 1 : py, wall.start.level);
}

TileLocation PointOf(const Wall& wall, size_t index) {
    return TileLocation::At(wall.start.x + static_cast<int>(index) * wall.dx,
                            wall.start.y + static_cast<int>(index) * wall.dy, wall.start.level);
}

bool Meets(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

bool WallManager::DoorTest() const {
    if (mShell == nullptr) return true;
    const int32_t tool = mShell->CurrentTool();
    return mShell->ControlPanelFlag() || (tool != 8 && tool != 9);
}

void WallManager::DrawLevel(int32_t level, const ScreenRect& target) {
    if (mView == nullptr || (level != 1 && level != 2)) return;
    for (const auto& wall : mLevels[level - 1].walls) DrawWall(*wall, target);
    for (const auto& post : mLevels[level - 1].posts) DrawPost(*post);
}

void WallManager::DrawWall(const Wall& wall, const ScreenRect& target) {
    iHouseView& view = *mView;
    const int32_t z = view.GetZoom();
    const int32_t base = 512 * (z - 1);
    const int32_t frame = FrameOf(wall.direction);
    const bool diag32 = wall.direction == 5;
    const bool sideRun = wall.direction == 1 || wall.direction == 3;
    const bool doorTest = DoorTest();
    const bool panelFlag = mShell != nullptr && mShell->ControlPanelFlag();
    const float shade = Shade(wall.rooms[wall.frontFace == 1 ? 0 : 1]);
    for (size_t i = 0; i < wall.entries.size(); ++i) {
        const WallEntry& e = wall.entries[i];
        const TileLocation tile = StepTileOf(wall, i);
        if (view.BuildableOnly() && !view.IsTileBuildable(tile)) continue;
        const ScreenPoint at = view.TileToScreen(tile);
        const uint32_t corners = mWorld.GetAltitudeCorners(tile);
        int32_t start = Byte(corners, 1), low = 0;
        switch (wall.direction) {
            case 1: low = std::min(Byte(corners, 0), start); break;
            case 3: low = std::min(Byte(corners, 2), start); break;
            case 5: low = std::min(Byte(corners, 3), start); break;
            default:
                start = Byte(corners, 0);
                low = std::min(Byte(corners, 2), start);
                break;
        }
        DrawJoint(wall, i, start, view.TileToScreen(PointOf(wall, i)));

        const bool lowered = (e.flags & kFlagLowered) != 0;
        const bool capped = (e.flags & (kFlagCapA | kFlagCapB)) != 0;
        const bool last = i + 1 == wall.entries.size();
        const WallEntry* next = last ? nullptr : &wall.entries[i + 1];
        // Diagonal 32: inner standing entries between standing ones draw nothing.
        if (diag32 && !last && !lowered && !IsFence(e.style) && !(next->flags & kFlagLowered) && !IsFence(next->style))
            continue;
        if (lowered && IsDoor(e.style) && !doorTest) continue;
        int passes = (e.flags & (kFlagCapA | kFlagCapB | kFlagDoorLowered)) ? 2 : 1;
        if (panelFlag && lowered && passes == 2) {
            if (IsDoor(e.style)) passes = 0;
            else if (e.style == 22 && !capped) passes = 1;
        }
        if (lowered && e.style == 22 && !doorTest) passes = std::min(passes, 1);
        if (passes == 0) continue;

        int32_t x = at.x, y = at.y - (low << (z + 1));
        if (diag32) {
            y += (8 << z) + (1 << (z - 1));
            x -= 1;
        }
        const ScreenRect box{x - (16 << z), y - (64 << z), x + (16 << z), y + (8 << z)};
        if (!Meets(box, target)) continue;
        const int32_t extra = wall.direction == 3 ? (8 << z) : 0;
        const ScreenRect savedClip = view.GetClip();
        if (IsFence(e.style) && next != nullptr && IsStandingOrBlank(*next) && !IsFence(next->style) && sideRun) {
            ScreenRect clip = savedClip;
            if (wall.direction == 1)
                clip.left = std::max(clip.left, box.left + (3 << (z - 1)));
            else
                clip.right = std::min(clip.right, box.right - (3 << (z - 1)));
            view.SetClip(clip);
        }
        const int32_t styleForGroup = lowered && e.style == 22 ? 1 : e.style;
        int32_t pattern = 0;
        int32_t sprite = 0;
        if (!view.LookUpWallSprite(e.front, z, sprite)) sprite = 256 * z + 1535;
        pattern = sprite;
        // First pass: the style, or a cap form for a capped plain entry.
        int32_t group = base + 2 * styleForGroup + (lowered ? 1 : 0);
        if (e.style == 22 && !capped) {
            // The sprite comes from the object standing in the wall, found at
            // the world tile and side; without one the plain wall stands in.
            const int32_t viewSide = WallDirectionToSide(wall.direction);
            const int32_t worldSide = static_cast<int32_t>(
                GetWallTables().sideRotation[(4 - (mRotation & 3)) & 3][viewSide]);
            const int32_t n = view.ObjectWallSprite(mWorld.ViewToWorld(tile), worldSide);
            group = n >= 0 ? n + 3 * (lowered ? 1 : 0) + z - 1 : base + 2 + (lowered ? 1 : 0);
        }
        if (capped && !IsDoor(e.style)) group = base + ((e.flags & kFlagCapA) ? 16 : 14);
        view.DrawSprite(group, frame, pattern, x, y, 0, shade, extra);
        if (passes == 2) {
            const bool bForm = (e.flags & kFlagCapB) != 0;
            if (capped) {
                const bool eighteen = diag32 || bForm;
                const int32_t up = diag32 ? (z == 1 ? 24 : z == 2 ? 47 : 94) : 0;
                view.DrawSprite(base + (eighteen ? 18 : 20), frame, 256 * z + (eighteen ? 1532 : 1533), x, y - up, 0,
                                shade, extra);
            } else {
                view.DrawSprite(base + 2 * styleForGroup + (lowered ? 1 : 0), frame, 256 * z + 1534, x, y, 0, shade,
                                extra);
            }
        }
        view.SetClip(savedClip);
    }
}

void WallManager::DrawJoint(const Wall& wall, size_t index, int32_t startHeight, ScreenPoint at) {
    iHouseView& view = *mView;
    const int32_t z = view.GetZoom();
    static const WallEntry kNone{};
    const WallEntry& cur = wall.entries[index];
    const WallEntry& prev = index == 0 ? kNone : wall.entries[index - 1];
    bool lowered;
    if (IsBlank(cur.style) && !IsBlank(prev.style))
        lowered = (prev.flags & kFlagLowered) != 0;
    else if (IsBlank(cur.style) && IsBlank(prev.style))
        lowered = false;
    else
        lowered = (cur.flags & kFlagLowered) != 0;
    const bool curFence = IsFence(cur.style), prevFence = IsFence(prev.style);
    uint8_t j = 0;
    bool cap = false;
    auto sideRule = [&](uint8_t all, uint8_t door, uint8_t near, uint8_t far, uint8_t curDoorBit, uint8_t curFinal,
                        uint8_t prevFinal) {
        // near: the bit toward the previous entry; far: toward the next.
        j = all;
        if (lowered) {
            if (IsDoor(cur.style)) {
                j = door;
                if (!IsDoor(prev.style)) cap = true;
            }
            if (IsDoor(prev.style)) {
                if (!(cur.flags & curDoorBit)) j &= static_cast<uint8_t>(~near);
                if (!IsDoor(cur.style)) cap = true;
            }
        } else if (IsDoor(prev.style) && (prev.flags & kFlagLowered)) {
            cap = true;
        }
        if (curFence != prevFence) {
            j &= static_cast<uint8_t>(~(curFence ? far : near));
            cap = true;
        } else if (curFence) {
            j = 0;
        }
        if (cur.flags & curFinal) j &= static_cast<uint8_t>(~far);
        if (prev.flags & prevFinal) j &= static_cast<uint8_t>(~near);
    };
    switch (wall.direction) {
        case 1: sideRule(5, 1, 1, 4, kFlagCapB, kFlagCapB, kFlagCapA); break;
        case 3: sideRule(10, 2, 2, 8, kFlagCapA, kFlagCapA, kFlagCapB); break;
        case 6:
            j = (cur.flags & (kFlagCapA | kFlagCapB)) ? 32 : 160;
            if ((prev.flags & (kFlagCapA | kFlagCapB)) || prevFence) j &= static_cast<uint8_t>(~32);
            if (curFence) j &= static_cast<uint8_t>(~128);
            break;
        default:
            j = (cur.flags & (kFlagCapA | kFlagCapB)) ? 16 : 80;
            if (curFence) j &= static_cast<uint8_t>(~64);
            if (prevFence) j &= static_cast<uint8_t>(~16);
            break;
    }
    if ((wall.direction == 1 && (cur.flags & kFlagCapB)) ||
        ((wall.direction == 3 || wall.direction == 6) && (cur.flags & kFlagCapA)))
        lowered = false;
    if (j == 0) return;
    const uint8_t piece = PostPieceOf(j);
    if (piece == 255) return;  // not a drawable mask: nothing, never frame 254
    const bool diag16 = wall.direction == 6;
    const int32_t x = at.x - (diag16 ? 2 * (8 << z) : (8 << z)) - 1;
    const int32_t y = at.y - (startHeight << (z + 1)) - (diag16 ? 0 : (4 << z));
    const float shade = Shade(wall.rooms[0]);
    if (lowered) {
        const int32_t lift = wall.direction == 5 ? z - 1 : 0;
        view.DrawLoweredCorner(5119 + z, 6143 + z, piece - 1, x, y - view.LoweredHeight(z) - lift);
    } else {
        view.DrawSprite(4095 + z, piece - 1, 0, x, y - view.StandingHeight(z), 0, shade, 0);
    }
    if (cap && (j == 1 || j == 2 || j == 4 || j == 8)) {
        WallCapRecord record;
        const bool sideOne = j == 1 || j == 8;
        record.dx = sideOne ? -1 : 0;
        record.dy = sideOne ? 0 : -1;
        record.stripWidth = 3;
        record.face = sideOne ? 2 : 1;
        record.stripSide = sideOne ? 0 : 1;
        const WallEntry& source = (j == 1 || j == 2) ? prev : cur;
        DrawCap(record, source, false, -1, at, startHeight, shade, 0);
    }
}

void WallManager::DrawCap(const WallCapRecord& cap, const WallEntry& entry, bool lowered, int slot, ScreenPoint post,
                          int32_t height, float shade, int secondFlag) {
    iHouseView& view = *mView;
    const int32_t z = view.GetZoom();
    const ScreenRect saved = view.GetClip();
    const int32_t w = cap.stripWidth << (z - 1);
    ScreenRect clip = saved;
    if (cap.stripSide == 1) {
        clip.left = std::max(clip.left, post.x - 1);
        clip.right = std::min(clip.right, post.x + w - 1);
    } else {
        clip.left = std::max(clip.left, post.x - w);
        clip.right = std::min(clip.right, post.x);
    }
    if (clip.left < clip.right) {
        view.SetClip(clip);
        const ScreenPoint at{post.x + (cap.dx - cap.dy) * (8 << z), post.y + (cap.dx + cap.dy) * (4 << z)};
        const int32_t u = entry.style == 255 ? 255 : 1;
        int f = secondFlag;
        if (lowered && (entry.flags & (kFlagCapA | kFlagCapB)) && slot >= 0)
            f = (slot == 0 || slot == 3) ? ((entry.flags & kFlagCapB) ? 1 : 0) : ((entry.flags & kFlagCapA) ? 1 : 0);
        const int32_t frame = cap.face == 1 ? 0 : cap.face == 2 ? 1 : cap.face == 16 ? 2 : 3;
        int32_t sprite = 0;
        if (!view.LookUpWallSprite(entry.front, z, sprite)) sprite = 256 * z + 1535;
        view.DrawSprite(512 * (z - 1) + 2 * u + f, frame, sprite, at.x, at.y - (height << (z + 1)), 0, shade,
                        cap.face == 2 ? (8 << z) : 0);
    }
    view.SetClip(saved);
}

void WallManager::DrawPost(const WallPost& post) {
    iHouseView& view = *mView;
    const int32_t z = view.GetZoom();
    const TileLocation tile = post.point;
    if (view.BuildableOnly() && !view.IsTileBuildable(tile)) return;
    const float shade = Shade(0);
    const ScreenPoint at = view.TileToScreen(tile);
    const int32_t h = mWorld.IsInsideGrid(tile.x, tile.y) ? Byte(mWorld.GetAltitudeCorners(tile), 1) : 0;
    const int32_t bx = at.x - (8 << z) - 1;
    const int32_t by = at.y - (h << (z + 1)) - (4 << z);
    const ScreenRect saved = view.GetClip();
    const uint8_t d = static_cast<uint8_t>(post.lowered & ~post.doors & ~post.capped);
    const uint8_t dp = PostPieceOf(d);
    if (d != 0 && dp != 255) {
        const bool special = (d & 16) || ((post.lowered & 64) && !(post.doors & 64) && !(post.capped & 64));
        if (special) {
            const int32_t s = d == 16 ? (z == 3 ? -5 : z == 2 ? -2 : 0) : 0;
            const int32_t depth = (d & 64) ? (post.point.level == 2 ? 700 : 770) : 900;
            view.DrawSprite(4095 + z, dp - 1, 0, bx, by + s - view.LoweredHeight(z), depth, shade, 0);
            if (d & 16) {
                for (uint8_t bit : {uint8_t{8}, uint8_t{4}}) {
                    if (!(d & bit)) continue;
                    ScreenRect clip = saved;
                    if (bit == 8)
                        clip.left = std::max(clip.left, at.x - 1 + (1 << z));
                    else
                        clip.right = std::min(clip.right, at.x - 1 - (1 << z));
                    view.SetClip(clip);
                    view.DrawLoweredCorner(5119 + z, 6143 + z, dp - 1, bx, by - view.LoweredHeight(z));
                    view.SetClip(saved);
                }
            }
        } else {
            view.DrawLoweredCorner(5119 + z, 6143 + z, dp - 1, bx, by - view.LoweredHeight(z));
        }
    }
    const uint8_t sd = static_cast<uint8_t>(post.standing & ~post.doors & ~post.capped);
    const uint8_t sp = PostPieceOf(sd);
    if (sd != 0 && sp != 255) {
        const int32_t depth = (sd & 64) && post.point.level == 2 ? -100 : 0;
        view.DrawSprite(4095 + z, sp - 1, 0, bx, by - view.StandingHeight(z), depth, shade, 0);
    }
    const int which = post.capExists[0] ? 0 : post.capExists[1] ? 1 : -1;
    if (which >= 0) {
        const WallCapRecord& cap = post.caps[which];
        const Wall* wall = post.slots[cap.slot];
        if (wall != nullptr && !wall->entries.empty()) {
            const WallEntry& entry = &post == wall->startPost ? wall->entries.front() : wall->entries.back();
            DrawCap(cap, entry, (entry.flags & kFlagLowered) != 0, cap.slot, at, h, Shade(wall->rooms[0]),
                    post.capExists[1] ? 1 : 0);
        }
    }
    view.SetClip(saved);
}
