#include "world/roofs/cRoofLayer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "gamedata/RoomManager.h"
#include "simulation/WorldVectors.h"
#include "tarn/Transform.h"
#include "world/cFixedWorld.h"
#include "world/roofs/cRoofMeshFactory.h"

namespace {

int32_t gLiveLayers = 0;

// The eight neighbours in the order the slope step reads them.
constexpr int32_t kSlopeDx[8] = {-1, 0, 1, 0, -1, 1, 1, -1};
constexpr int32_t kSlopeDy[8] = {0, 1, 0, -1, -1, -1, 1, 1};
// Equal-height neighbour sets that leave a cell on a slope.
constexpr uint8_t kSlopePatterns[8] = {44, 70, 131, 25, 110, 199, 155, 61};
// The neighbours the shape step reads, and the mask each lower one leaves.
constexpr int32_t kShapeDx[8] = {0, 1, -1, 0, -1, 1, 1, -1};
constexpr int32_t kShapeDy[8] = {1, 0, 0, -1, -1, -1, 1, 1};
constexpr uint8_t kShapeMasks[8] = {12, 10, 5, 3, 7, 11, 14, 13};

constexpr uint16_t kFirstMarker = 0xFFFB;
// Half-tile cells are 1.5 units wide; a storey stands this high.
constexpr float kCellWidth = 1.5f;
constexpr float kStoreyHeight = 3.0f * 1.5f;

bool Flat(const AltitudeCell& c) {
    return c.corner[0] == c.corner[1] && c.corner[0] == c.corner[2] && c.corner[0] == c.corner[3];
}

}  // namespace

cRoofLayer::cRoofLayer(int32_t worldSize) : cArray<cRoofTile>(2 * kWorldCapacity), mCells(2 * worldSize) {
    ++gLiveLayers;
}

cRoofLayer::~cRoofLayer() {
    mRenderObject.reset();
    if (--gLiveLayers == 0) DeleteRoofMeshFactory();
}

int32_t cRoofLayer::LiveLayers() { return gLiveLayers; }

int32_t cRoofLayer::RecomputeRoof(cFixedWorld& world, int32_t level, const cRoofLayer* upperRoof) {
    mCells = 2 * world.GetSize();
    const int32_t n = mCells;
    Mark(world, level);
    auto upperTop = [&](int32_t i, int32_t j) {
        return upperRoof && (upperRoof->At(i, j).bits & (kRoofOn | kRoofEave)) == kRoofOn;
    };
    if (upperRoof)
        for (int32_t i = 0; i < n; ++i)
            for (int32_t j = 0; j < n; ++j)
                if (upperTop(i, j)) At(i, j).bits &= static_cast<uint8_t>(~kRoofOn);
    // Eaves round the roofed area, where the upper roof leaves room. The
    // three rows around a cell are walked directly.
    for (int32_t i = 1; i < n - 1; ++i) {
        const cRoofTile* rows[3] = {Row(i - 1), Row(i), Row(i + 1)};
        cRoofTile* here = Row(i);
        for (int32_t j = 1; j < n - 1; ++j) {
            cRoofTile& c = here[j];
            if (c.bits & (kRoofOn | kRoofBlocked)) continue;
            bool beside = false;
            for (int32_t k = 0; k < 8; ++k) {
                const uint8_t b = rows[1 + kSlopeDy[k]][j + kSlopeDx[k]].bits;
                if ((b & (kRoofOn | kRoofEave)) == kRoofOn) beside = true;
            }
            if (beside && !upperTop(i, j)) c.bits |= kRoofOn | kRoofEave;
        }
    }
    int32_t passes = 0;
    do {
        ++passes;
        SetHeights();
    } while (!SetSlopes());
    SetShapes();
    return passes;
}

void cRoofLayer::Mark(cFixedWorld& world, int32_t level) {
    const int32_t n = mCells;
    tova::RoomManager* manager = world.Services().rooms;
    const c2DArray<uint16_t>& rooms = *world.Rooms(level);
    const iWorldNeighbours* neighbours = world.Services().neighbours;
    // Rooms do not change while the cells are marked: each id is looked up
    // once (-1 not yet, else the answer), not once per cell.
    std::vector<int8_t> answers(size_t{1} << 16, -1);
    auto needsRoof = [&](int16_t id) {
        int8_t& known = answers[static_cast<uint16_t>(id)];
        if (known < 0) {
            tova::Room* room = manager ? manager->FindRoom(id) : nullptr;
            known = room && room->IsUsed() && room->NeedsRoof() ? 1 : 0;
        }
        return known == 1;
    };
    const int32_t tiles = (n + 1) / 2;
    std::vector<int8_t> splitRoofs(static_cast<size_t>(tiles) * static_cast<size_t>(tiles), -1);
    for (int32_t i = 0; i < n; ++i) {
        for (int32_t j = 0; j < n; ++j) {
            const int32_t tx = j / 2, ty = i / 2;
            const TileLocation tile = TileLocation::At(tx, ty, level);
            const uint16_t value = rooms.At(tx, ty);
            bool roof = false;
            if (value == kFirstMarker) {
                // A split tile's rooms are looked up once for its four cells.
                int8_t& known = splitRoofs[static_cast<size_t>(ty) * static_cast<size_t>(tiles) + static_cast<size_t>(tx)];
                if (known < 0) {
                    int16_t a = 0, b = 0;
                    int32_t sa = 0, sb = 0;
                    known = manager && manager->GetRoomsAtTile(tile, a, b, sa, sb) && (needsRoof(a) || (b != a && needsRoof(b)))
                                ? 1
                                : 0;
                }
                roof = known == 1;
            } else if (value < kFirstMarker) {
                roof = needsRoof(static_cast<int16_t>(value));
            }
            bool blocked = false;
            if (level == 1) {
                blocked = world.Floors(2)->At(tx, ty) != 0 || (neighbours && neighbours->StandsUnderNoRoof(tile));
            }
            // Each detection starts the cell afresh: an eave or slope left
            // from an earlier roof would mislead the steps below.
            cRoofTile& c = At(i, j);
            c.bits = blocked ? kRoofBlocked : (roof ? kRoofOn : 0);
            c.height = 0;
        }
    }
}

void cRoofLayer::SetHeights() {
    // The height is the distance to the nearest cell without roof, counted
    // in square rings (cells off the grid have none), minus one: a
    // chessboard distance, found in one pass down and one pass up.
    const int32_t n = mCells;
    static thread_local std::vector<int32_t> distance;
    distance.assign(static_cast<size_t>(n) * n, 0);
    auto d = [&](int32_t i, int32_t j) -> int32_t {
        return (i < 0 || j < 0 || i >= n || j >= n) ? 0 : distance[static_cast<size_t>(i) * n + j];
    };
    for (int32_t i = 0; i < n; ++i) {
        const cRoofTile* row = Row(i);
        for (int32_t j = 0; j < n; ++j) {
            if (!(row[j].bits & kRoofOn)) continue;
            distance[static_cast<size_t>(i) * n + j] =
                1 + std::min({d(i - 1, j - 1), d(i - 1, j), d(i - 1, j + 1), d(i, j - 1)});
        }
    }
    for (int32_t i = n - 1; i >= 0; --i) {
        cRoofTile* row = Row(i);
        for (int32_t j = n - 1; j >= 0; --j) {
            if (!(row[j].bits & kRoofOn)) continue;
            int32_t& here = distance[static_cast<size_t>(i) * n + j];
            here = std::min(here, 1 + std::min({d(i + 1, j + 1), d(i + 1, j), d(i + 1, j - 1), d(i, j + 1)}));
            if (i >= 1 && j >= 1 && i < n - 1 && j < n - 1) row[j].height = static_cast<uint8_t>(std::min(here - 1, 255));
        }
    }
}

bool cRoofLayer::SetSlopes() {
    const int32_t n = mCells;
    bool complete = true;
    for (int32_t i = 1; i < n - 1; ++i) {
        const cRoofTile* rows[3] = {Row(i - 1), Row(i), Row(i + 1)};
        cRoofTile* here = Row(i);
        for (int32_t j = 1; j < n - 1; ++j) {
            cRoofTile& c = here[j];
            if (!(c.bits & kRoofOn)) continue;
            bool sloped = false;
            uint8_t equal = 0;
            for (int32_t k = 0; k < 8 && !sloped; ++k) {
                const cRoofTile& o = rows[1 + kSlopeDy[k]][j + kSlopeDx[k]];
                if (!(o.bits & kRoofOn)) continue;
                if (o.height > c.height) sloped = true;
                if (o.height == c.height) equal |= static_cast<uint8_t>(1 << k);
            }
            for (uint8_t p : kSlopePatterns)
                if ((equal & p) == p) sloped = true;
            if (sloped) {
                c.bits |= kRoofSloped;
            } else if (c.bits & kRoofEave) {
                c.bits &= static_cast<uint8_t>(~(kRoofOn | kRoofSloped));
                complete = false;
            } else {
                c.bits &= static_cast<uint8_t>(~kRoofSloped);
            }
        }
    }
    return complete;
}

void cRoofLayer::SetShapes() {
    const int32_t n = mCells;
    for (int32_t i = 1; i < n - 1; ++i) {
        const cRoofTile* rows[3] = {Row(i - 1), Row(i), Row(i + 1)};
        cRoofTile* here = Row(i);
        for (int32_t j = 1; j < n - 1; ++j) {
            cRoofTile& c = here[j];
            if (!(c.bits & kRoofOn)) continue;
            uint8_t code = 0;
            if (c.bits & kRoofSloped) {
                code = 15;
                for (int32_t k = 0; k < 8; ++k) {
                    const cRoofTile& o = rows[1 + kShapeDy[k]][j + kShapeDx[k]];
                    if (!(o.bits & kRoofOn) || o.height < c.height) code &= kShapeMasks[k];
                }
            } else {
                for (int32_t k = 0; k < 4; ++k) {
                    const cRoofTile& o = rows[1 + kShapeDy[k]][j + kShapeDx[k]];
                    if ((o.bits & (kRoofOn | kRoofSloped)) == kRoofOn && o.height == c.height)
                        code |= static_cast<uint8_t>(1 << k);
                }
            }
            c.bits = static_cast<uint8_t>((c.bits & 0x0F) | (code << 4));
        }
    }
}

bool cRoofLayer::PrepareRender() {
    if (!EnsureRoofMeshFactory()) return false;
    if (!mRenderObject) {
        mRenderObject = GetRoofMeshFactory()->Device().CreateRenderObject();
        if (!mRenderObject) return false;
        mRenderObject->SetBounds({48, 93, 120}, {-0.3f, -1, -0.6f});
    }
    return true;
}

RenderRect cRoofLayer::Draw(cFixedWorld& world, iHouseView& view, void* target, int32_t level,
                            const std::vector<ScreenRect>& dirty) {
    RenderRect drawn;
    if (!PrepareRender()) return drawn;
    cRoofMeshFactory& factory = *GetRoofMeshFactory();
    const int32_t n = mCells;
    const int32_t rotation = world.GetRotation();
    for (int32_t i = 0; i < n; ++i) {
        for (int32_t j = 0; j < n; ++j) {
            const cRoofTile& c = At(i, j);
            if (!(c.bits & kRoofOn)) continue;
            const TileLocation worldTile = TileLocation::At(j / 2, i / 2, level);
            const TileLocation viewTile = world.WorldToView(worldTile);
            const ScreenPoint at = view.TileToScreen(viewTile);
            if (!dirty.empty() && std::none_of(dirty.begin(), dirty.end(), [&](const ScreenRect& r) {
                    return at.x >= r.left && at.x < r.right && at.y >= r.top && at.y < r.bottom;
                }))
                continue;
            int32_t turns = 0;
            iRenderMesh* mesh = factory.GetMesh(c.bits, turns);
            if (!mesh) continue;
            // The ground under the cell; on sloped ground a corner piece
            // rests on the corner of its diagonal neighbour (its own tile at
            // the edge of the grid).
            const AltitudeCell& own = world.Altitude().At(worldTile.x, worldTile.y);
            int32_t baseTileX = worldTile.x, baseTileY = worldTile.y;
            if (!Flat(own) && (c.bits & kRoofSloped)) {
                const int32_t code = GetShapeCode(c);
                const int32_t dx = code == 1 || code == 4 ? 1 : code == 2 || code == 8 ? -1 : 0;
                const int32_t dy = code == 1 || code == 2 ? 1 : code == 4 || code == 8 ? -1 : 0;
                if ((dx != 0 || dy != 0) && world.IsInsideGrid(baseTileX + dx, baseTileY + dy)) {
                    baseTileX += dx;
                    baseTileY += dy;
                }
            }
            const float ground = tova::PixelsToAltitude(world.Altitude().At(baseTileX, baseTileY).corner[1]);
            const float y = ground + level * kStoreyHeight + c.height * factory.GetRise();
            // Turn the piece about the cell's centre, then place the cell in
            // view orientation.
            const GridPoint cell = RotateGridCoords(j, i, rotation, 2 * kWorldCapacity);
            Transform t = MakeTranslationTransform({-0.75f, 0, -0.75f});
            t = MultiplyTransforms(t, MakeRotationMatrix(1, static_cast<float>(turns + rotation) * 1.5707964f));
            t = MultiplyTransforms(
                t, MakeTranslationTransform({cell.x * kCellWidth + 0.75f, y, cell.y * kCellWidth + 0.75f}));
            const RenderRect r = factory.Device().DrawMesh(*mRenderObject, *mesh, t, target);
            if (r.Empty()) continue;
            if (drawn.Empty()) {
                drawn = r;
            } else {
                drawn = {std::min(drawn.left, r.left), std::min(drawn.top, r.top), std::max(drawn.right, r.right),
                         std::max(drawn.bottom, r.bottom)};
            }
        }
    }
    return drawn;
}
