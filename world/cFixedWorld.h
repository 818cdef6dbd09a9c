// The lot's world: every per-tile layer of a lot of size 4 to 64 on two
// storeys, and the operations people, objects, routing, the renderer and the
// build tools use on them. Layers are always 64 by 64; the size only limits
// the part in use. Every layer array is indexed [x][y].
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "gamedata/CommandIds.h"
#include "gamedata/Commander.h"
#include "resfile/ResStatus.h"
#include "world/ArryResource.h"
#include "world/WallCell.h"
#include "world/cPoolLayer.h"
#include "world/roofs/cRoofLayer.h"
#include "world/WorldServices.h"
#include "world/WorldTypes.h"
#include "world/c2DArray.h"

class iResFile;
class cFixedWorld;

// Four corner heights: byte 0 corner (x, y+1), byte 1 corner (x, y),
// byte 2 corner (x+1, y), byte 3 corner (x+1, y+1).
struct AltitudeCell {
    uint8_t corner[4];

    uint32_t Packed() const {
        return static_cast<uint32_t>(corner[0]) | (static_cast<uint32_t>(corner[1]) << 8) |
               (static_cast<uint32_t>(corner[2]) << 16) | (static_cast<uint32_t>(corner[3]) << 24);
    }
    static AltitudeCell FromPacked(uint32_t v) {
        return AltitudeCell{{static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                             static_cast<uint8_t>(v >> 24)}};
    }
    friend bool operator==(const AltitudeCell&, const AltitudeCell&) = default;
};
static_assert(sizeof(AltitudeCell) == 4, "an altitude cell is stored as 4 bytes");

// Up to two lamps that light a floor tile, as offsets {dx, dy} of the tile
// from the lamp's tile (the floor light image is read at that offset);
// 127 in both bytes of a pair = none. The first pair fills first.
struct TileLight {
    int8_t offset[4];

    int32_t Count() const { return offset[0] == kNoLightByte ? 0 : offset[2] == kNoLightByte ? 1 : 2; }
    static constexpr int8_t kNoLightByte = 127;
};
constexpr int8_t kNoLight = TileLight::kNoLightByte;
constexpr TileLight kNoTileLight{{kNoLight, kNoLight, kNoLight, kNoLight}};

// One per storey: which lamps reach which floor tile. A lamp reaches the
// tiles of its own room within round(R / 3) tiles on either axis (R the
// renderer's lamp range), the lot's border excepted; a tile keeps its two
// nearest lamps.
struct TileLightTable {
    int32_t count = kWorldCapacity * kWorldCapacity;
    std::array<TileLight, kWorldCapacity * kWorldCapacity> entries;  // index y * 64 + x

    void Clear();
    TileLight& At(int32_t x, int32_t y) { return entries[static_cast<size_t>(y * kWorldCapacity + x)]; }
    void Shift(int32_t dx, int32_t dy);
    // The lamp's tile is a world tile on the table's storey.
    void AddLight(TileLocation lamp, cFixedWorld& world);
    void RemoveLight(TileLocation lamp, cFixedWorld& world);
};

// Tile flag bits.
enum : uint8_t {
    kTileSupportsUpper = 0x01,
    kTileReachedOutside = 0x02,
    kTileReachedOutside2 = 0x04,
    kTileKeptFlag = 0x08,
    kTileOutsideArea = 0x20,
    kTileOutsideHalfA = 0x40,
    kTileOutsideHalfB = 0x80,
};

// Pool and water cells: 255 = none; a pool cell below 16 is pool, 16 the
// pool tool's mark.
constexpr uint8_t kNoPool = 255;
constexpr uint8_t kPoolMark = 16;

// Wall-placement flags of an object (FitsWalls).
enum : int32_t {
    kNeedsWallSide2 = 0x01,
    kNeedsWallSide4 = 0x02,
    kNeedsWallSide8 = 0x04,
    kNeedsWallSide1 = 0x08,
    kNotInCorner = 0x10,
    kNeedsCorner = 0x20,
    kNeedsDiagonal = 0x40,
    kAllowsDiagonal = 0x80,
    kRefusesWallSide2 = 0x100,
    kRefusesWallSide4 = 0x200,
    kRefusesWallSide8 = 0x400,
    kRefusesWallSide1 = 0x800,
};

// Placement refusal codes that FitsWalls leaves.
enum : int32_t {
    kPlaceNeedsCorner = 4,
    kPlaceNotInCorner = 5,
    kPlaceNeedsWall = 6,
    kPlaceWallInTheWay = 7,
    kPlaceNeedsFullWall = 22,
    kPlaceNeedsDiagonal = 23,
};

// Commands the world answers and sends.
enum : int32_t {
    kCmdLotChanged = tova::cmd::kRedrawAll,        // terrain, ground or grass changed
    kCmdTerrainChanged = tova::cmd::kTerrainChanged,  // terrain heights changed
    kCmdGrassGrew = tova::cmd::kWorldChanged,
    kCmdRecomputeRooms = tova::cmd::kBuildChanged,
    kCmdFlattenTerrain = 189,
    kCmdRandomTerrain = 190,
    kCmdFillGround = 191,
    kCmdClearGround = 192,
    kCmdRandomGround = 193,
    kCmdGrowGrass = tova::cmd::kTickOrConsole,
    kCmdShiftWorld = tova::cmd::kHouseViewCommand,
};

// Save-file versions at which layers joined the house file.
enum : int32_t {
    kLayersVersionGrass = 17,
    kLayersVersionUpperStorey = 23,
    kLayersVersionFlags = 36,
    kLayersVersionPool = 38,
    kLayersVersionWater = 53,
};

constexpr uint32_t kDefaultGrassSeed = 1959050;

struct ViewBounds {
    int32_t minX = 0, maxX = 0, minY = 0, maxY = 0;
};

// A box in sixteenths of a tile.
struct FineBox {
    int32_t minX, maxX, minY, maxY;
};

// A receiver on the command broadcast list from its construction on.
class WallManager;

class cFixedWorld : public tova::Commander {
public:
    // Throws std::invalid_argument for a size outside 4..64 and
    // std::bad_alloc when the layers cannot be made.
    explicit cFixedWorld(int32_t size, const WorldServices& services = {});
    virtual ~cFixedWorld();
    cFixedWorld(const cFixedWorld&) = delete;
    cFixedWorld& operator=(const cFixedWorld&) = delete;

    // Refuses sizes outside 4..64 and keeps the old layers when it fails.
    bool ResizeLayers(int32_t size);
    int32_t GetSize() const { return mSize; }
    const WorldServices& Services() const { return mServices; }
    // The room manager is made over the world, so it joins afterwards.
    void SetRoomManager(tova::RoomManager* rooms) { mServices.rooms = rooms; }

    // The view rotation (0..3 quarter turns). A fixed world never turns.
    virtual int32_t GetRotation() const { return 0; }
    // Turns the view; the wall display follows unless keepWalls.
    void SetRotation(int32_t rotation, bool keepWalls);
    WallManager& GetWallManager() { return *mWallManager; }
    const ViewBounds& GetViewBounds() const { return mViewBounds; }
    TileLocation ViewToWorld(TileLocation view) const;
    TileLocation WorldToView(TileLocation world) const;

    // Layers. Level 1 is the ground storey, 2 the upper one; other levels
    // give null.
    c2DArray<AltitudeCell>& Altitude() { return *mAltitude; }
    c2DArray<uint8_t>& Ground() { return *mGround; }
    c2DArray<int8_t>& Grass() { return *mGrass; }
    c2DArray<int8_t>& TargetGrass() { return *mTargetGrass; }
    c2DArray<uint8_t>* Floors(int32_t level);
    c2DArray<uint16_t>* Rooms(int32_t level);
    c2DArray<uint8_t>* Flags(int32_t level);
    c2DArray<uint16_t>* Objects(int32_t level);
    WallLayer* Walls(int32_t level);
    WallPostLayer* WallPosts(int32_t level);
    TileLightTable* LightTable(int32_t level);
    // The light entry of a view tile, its offsets turned with the view
    // (empty off the grid or the storeys).
    TileLight GetTileLights(TileLocation viewTile) const;
    cPoolLayer* GetPoolLayer() { return mPool; }
    cWaterLayer* GetWaterLayer() { return mWater; }
    // The roof of a level (1 or 2), or null.
    cRoofLayer* GetRoofLayer(int32_t level);
    bool UpperStoreyUsed() const { return mUpperUsed != 0; }
    bool UpperStoreySupported() const { return mUpperSupported != 0; }
    void SetUpperStoreyUsed(bool used) { mUpperUsed = used; }
    void SetUpperStoreySupported(bool supported) { mUpperSupported = supported; }

    // Terrain heights.
    float GetAltitudeAt(FinePoint point) const;
    uint32_t GetAltitudeCorners(TileLocation viewTile) const;
    void SetAltitudeCorners(TileLocation viewTile, uint32_t packedCorners);
    void SetCornerHeight(int32_t x, int32_t y, uint8_t height);

    bool IsOutsideWorld(int32_t fineX, int32_t fineY) const;
    bool IsInsideGrid(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < mSize && y < mSize; }
    bool HasWater(TileLocation tile) const;
    bool HasPool(TileLocation tile) const;
    bool IsPoolOrMarked(TileLocation tile) const;
    bool HasPoolAtView(TileLocation viewTile) const { return HasPool(ViewToWorld(viewTile)); }
    bool IsPoolOrMarkedAtView(TileLocation viewTile) const { return IsPoolOrMarked(ViewToWorld(viewTile)); }

    // The tools' view of the per-level layers: a view tile is turned to the
    // world first; tiles off the grid or on other levels read 0 and are not
    // written.
    uint8_t GetFloor(TileLocation viewTile) const;
    void SetFloor(TileLocation viewTile, uint8_t floor);
    uint8_t GetTileFlags(TileLocation viewTile) const;
    void SetTileFlags(TileLocation viewTile, uint8_t flags);
    uint16_t GetRoomId(TileLocation viewTile) const;
    uint16_t GetObjectId(TileLocation viewTile) const;
    // A world tile on or outside the lot's border row or column.
    bool IsBorderTile(TileLocation tile) const;
    bool IsBorderPoint(FinePoint point) const { return IsBorderTile(TileLocation::FromFine(point, 1)); }
    // A view tile outside the usable rectangle, the view bounds less their
    // outer ring.
    bool IsOutsideLotBounds(TileLocation viewTile) const;

    // Walls, in world orientation.
    WallInfo GetWallInfo(TileLocation tile) const;
    // The record of a view tile, turned to the view rotation; SetWallInfo
    // takes it back (at the matching world tile) as it is.
    WallInfo GetWallInfoAtView(TileLocation viewTile) const;
    void SetWallInfo(TileLocation tile, const WallInfo& info);
    uint8_t GetCornerWallMask(int32_t x, int32_t y, int32_t level) const;
    bool BoxCrossesWall(const FineBox& box, int32_t level) const;
    // The wall test of object placement; on refusal errorCode takes the reason
    // and the result is false; on success errorCode is left alone.
    bool FitsWalls(FinePoint point, int32_t level, int32_t facing, int32_t flags, int32_t& errorCode) const;

    // Layers in the house file.
    int32_t SaveLayers(iResFile& file, int32_t version);
    int32_t LoadLayers(iResFile& file, int32_t version);
    void NameLayers();

    void Shift(int32_t dx, int32_t dy);
    int32_t ComputeValue(bool& builtSomething) const;
    void MarkOutsideArea(int32_t left, int32_t top, int32_t bottomMargin, int32_t rightMargin);

    // Terrain, ground and grass by rule.
    void FlattenTerrain();
    void RandomTerrain();
    void RandomGround(int32_t percent);
    void GrowGrass(int32_t step);
    void GenerateGrass(uint32_t seed);

    // Room detection of a level (1 or 2; 0 = both): fills the rooms layer,
    // records the rooms in the room manager, marks the tiles reached from
    // outside and the tiles that carry an upper storey, then rebuilds the
    // walls, broadcasts the change and recomputes the roofs. Answers the
    // result of the last roof recomputation.
    int32_t RecomputeRooms(int32_t level);
    // The rooms the last detection numbered on a level.
    int32_t GetRoomCount(int32_t level) const { return (level == 1 || level == 2) ? mRoomCount[level - 1] : 0; }

    // The world's part of the command broadcast list; non-zero = handled.
    int16_t DoCommand(int32_t command, intptr_t argument) override;

protected:
    virtual void StoreRotation(int32_t rotation) {}
    void ComputeViewBounds();

private:
    struct LevelLayers {
        std::unique_ptr<c2DArray<uint8_t>> floors;
        std::unique_ptr<c2DArray<uint16_t>> rooms;
        std::unique_ptr<c2DArray<uint8_t>> flags;
        std::unique_ptr<c2DArray<uint16_t>> objects;
        std::unique_ptr<WallLayer> walls;
        std::unique_ptr<WallPostLayer> posts;
        std::unique_ptr<TileLightTable> light;
        std::unique_ptr<cRoofLayer> roof;
    };

    bool CreateLayers();
    void ResetEdge(int32_t n);
    void ReleaseCountedLayers();
    void SynchroniseCorners();
    void RandomHills(int32_t base, int32_t percent, int32_t step);
    const LevelLayers* Level(int32_t level) const;
    LevelLayers* Level(int32_t level);
    void DetectRooms(int32_t level);
    void MarkOutside(int32_t level);
    void MarkSupport(int32_t level);
    int32_t RecomputeRoofs();

    WorldServices mServices;
    std::unique_ptr<WallManager> mWallManager;
    int32_t mSize = 0;
    std::unique_ptr<c2DArray<AltitudeCell>> mAltitude;
    std::unique_ptr<c2DArray<uint8_t>> mGround;
    std::unique_ptr<c2DArray<int8_t>> mGrass;
    std::unique_ptr<c2DArray<int8_t>> mTargetGrass;
    LevelLayers mLevels[2];
    cPoolLayer* mPool = nullptr;
    cWaterLayer* mWater = nullptr;
    ViewBounds mViewBounds;
    uint8_t mUpperUsed = 0;
    uint8_t mUpperSupported = 0;
    int32_t mRoomCount[2] = {};
};
