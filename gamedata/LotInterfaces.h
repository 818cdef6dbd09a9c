#pragma once
// What the lot's data (rooms, the house, the neighbourhood) read of the
// layers above them. The world implements iLotWorld over its layers, the
// live objects iLotObjects, the house renderer iLotView, the 3D renderer
// iLotLights and the simulator iLotSimulator; tests use small fakes.
// Every pointer in LotServices may be null: the reader then skips that part.

#include <cstdint>
#include <memory>
#include <vector>

#include "gamedata/ScreenRect.h"
#include "gamedata/TilePosition.h"

class iResFile;

namespace tova {

// A box in sixteenths of a tile.
struct LotBox {
  int32_t minX = 0, maxX = 0, minY = 0, maxY = 0;
};

// Tile flag bits objects read and write: no placement, and the mark under
// objects of category 6 (word 30 of an object asks about kLotTileOutside).
constexpr uint8_t kLotTileNoPlacement = 0x20;
constexpr uint8_t kLotTileUnderCategory6 = 0x08;

// Wall side bits of a tile: sides toward x-1, y-1, x+1, y+1, then the two
// diagonals (0x10 from (x, y+1) to (x+1, y), 0x20 from (x, y) to (x+1, y+1)).
enum : int32_t {
  kLotWallDiagonal16 = 0x10,
  kLotWallDiagonal32 = 0x20,
  kLotWallDiagonals = 0x30,
};

// The walls of a tile in world orientation: side bits, and by the side's bit
// number (0-5) the wall kind and whether the face toward this tile is
// covered (for a diagonal: either of its two faces).
struct LotWallSides {
  int32_t flags = 0;
  int32_t kind[6] = {};
  bool covered[6] = {};
};

// Tile flag bit read by rooms: the tile lies outside.
constexpr uint8_t kLotTileOutside = 0x04;

// The rooms layer marks a tile that a diagonal wall splits with this id.
constexpr int16_t kSplitTileRoom = -5;

class iLotWorld {
 public:
  virtual ~iLotWorld() = default;
  virtual int32_t GetSize() const = 0;
  virtual LotBounds GetBounds() const = 0;
  virtual int32_t GetViewRotation() const = 0;
  // Levels 1 and 2; any other level or a tile off the grid reads as empty.
  virtual int16_t GetRoomId(TileLocation tile) const = 0;
  // The tile, or either half of a tile split by a diagonal, has a floor.
  virtual bool HasFloor(TileLocation tile) const = 0;
  virtual uint8_t GetTileFlags(TileLocation tile) const = 0;
  virtual LotWallSides GetWallSides(TileLocation tile) const = 0;
  // The pool layer's byte at the tile (255 none; below 16 a pool tile).
  virtual uint8_t GetPoolValue(TileLocation tile) const = 0;
  // The four terrain corner heights, one byte each.
  virtual uint32_t GetCornerHeights(TileLocation tile) const = 0;
  virtual bool IsTileAlwaysLit(TileLocation tile) const = 0;
  // The id of the object the object layer holds at the tile (0 none).
  virtual int16_t GetObjectIdAt(TileLocation tile) const = 0;
  // Tells the light table of the tile's storey that a light source stands
  // there with the given strength; withAmount says the source also adds
  // light to its room (a lamp of strength 1).
  virtual void AddTileLight(TileLocation tile, int32_t value, bool withAmount) = 0;

  // What the live objects' placement asks and writes. A world without a
  // layer keeps the answers below: nothing held, nothing in the way.
  // Writes the object layer's cell (0 empties it).
  virtual void SetObjectIdAt(TileLocation, int16_t) {}
  // Level 1 only: the water layer holds water at the tile.
  virtual bool HasWater(TileLocation) const { return false; }
  // Whether an object with these wall-placement flags, facing direction,
  // may stand against the walls at the point; false leaves the refusal's
  // placement code in `reason`.
  virtual bool WallPlacementTest(FinePoint, int32_t /*level*/, int32_t /*direction*/, int32_t /*flags*/,
                                 int32_t& /*reason*/) const {
    return true;
  }
  // Non-zero when an object's footprint box (in sixteenths of a tile) on
  // the level would block routing.
  virtual int32_t RoutingTest(const LotBox&, int32_t /*level*/) const { return 0; }
  // Sets or clears bits of the tile flag layer.
  virtual void SetTileFlagBits(TileLocation, uint8_t /*bits*/, bool /*on*/) {}
  // Tells the tile's storey that something at the tile changed.
  virtual void NotifyTileChanged(TileLocation) {}

  // What the house asks of its world. A world without these keeps the
  // answers below: it cannot change size, reads and writes no chunks, is
  // worth nothing and has one storey.
  // Gives the world n tiles a side; false when it cannot.
  virtual bool Resize(int32_t /*size*/) { return false; }
  // After a change of size: the world recomputes what derives from it.
  virtual void Recompute() {}
  // The world's layers in a house file at a version; resource status codes.
  virtual int32_t LoadLayers(iResFile&, int32_t /*version*/) { return 0; }
  virtual int32_t SaveLayers(iResFile&, int32_t /*version*/) { return 0; }
  // The floor and wallpaper patterns this world uses, kept with the lot.
  virtual int32_t LoadPatterns(iResFile&) { return 0; }
  virtual int32_t SavePatterns(iResFile&) { return 0; }
  // Leaves build and buy mode without a current tool.
  virtual void MakeNoToolCurrent() {}
  // The value of what was built, and whether anything was.
  virtual int32_t GetBuildValue(bool& builtSomething) const {
    builtSomething = false;
    return 0;
  }
  virtual bool HasUpperLevel() const { return false; }
};

// The figures the house reads of the lot's objects.
struct LotObjectStatistics {
  int32_t valueTotal1 = 0;    // what the objects cost
  int32_t valueTotal2 = 0;    // what they are worth now
  bool hasKind1 = false;      // an object of definition type 1
  bool hasKind9 = false;      // an object of definition type 9
  bool onUnroofedTile = false;
  int32_t counted = 0;        // objects that count toward the ratings
  int32_t broken = 0;         // of those, broken ones
  int32_t dirty = 0;          // of those, dirty (not broken) ones
  int32_t indoorValue = 0;    // value of counted objects in indoor rooms
  int32_t outdoorValue = 0;   // and in outdoor ones
};

// A 3D position in the renderer's world units.
struct LotPoint3 {
  float x = 0, y = 0, z = 0;
  friend bool operator==(const LotPoint3&, const LotPoint3&) = default;
};

// A person of the house as rooms see it.
struct LotPersonPlace {
  int16_t currentRoom = 0;
  bool beingRemoved = false;
};

// Object-data words rooms read.
enum : int32_t {
  kObjWordRoomImpact = 7,
  kObjWordLightKind = 16,
  kObjWordFlags = 40,
  kObjWordLightAmount = 51,
  kObjWordValueClass = 59,
};
constexpr int16_t kObjFlagLightSource = 0x400;
constexpr int32_t kDefinitionTypePerson = 2;
constexpr int32_t kDefinitionTypeWindowLight = 8;

class iLotObjects {
 public:
  virtual ~iLotObjects() = default;
  // Ids of the objects standing on the tile, each followed by what sits in
  // its slots.
  virtual void GetObjectsOnTile(TileLocation tile, std::vector<int16_t>& out) const = 0;
  virtual int16_t GetObjectWord(int16_t object, int32_t index) const = 0;
  virtual int32_t GetDefinitionType(int16_t object) const = 0;
  virtual LotPoint3 GetWorldPosition(int16_t object) const = 0;
  virtual TileLocation GetTile(int16_t object) const = 0;
  virtual void GetPersons(std::vector<LotPersonPlace>& out) const = 0;

  // What the house asks of its objects; the defaults hold no objects.
  // The objects in a house file at a version; resource status codes.
  virtual int32_t LoadObjects(iResFile&, int32_t /*version*/) { return 0; }
  virtual int32_t SaveObjects(iResFile&, int32_t /*version*/) { return 0; }
  virtual void PrepareForLoad() {}
  // After the world changed size: objects beyond it go.
  virtual void Regrid(int32_t /*size*/) {}
  virtual void Rescore(int32_t /*level*/) {}
  virtual LotObjectStatistics GetStatistics() const { return {}; }
  virtual int32_t CountObjects() const { return 0; }
};

class iLotView {
 public:
  virtual ~iLotView() = default;
  // Redraws a tile given in view orientation.
  virtual void InvalidateTile(TileLocation viewTile) = 0;
  // The screen rectangle of a view tile; false when the view has none.
  virtual bool GetTileScreenRect(TileLocation viewTile, ScreenRect& out) const = 0;
  // What the live objects ask of the view; a view without them keeps
  // these answers.
  virtual void InvalidateRect(const ScreenRect&) {}
  virtual int32_t GetViewLevel() const { return 1; }
  // The object the cursor carries (0 none).
  virtual void SetCursorObject(int16_t) {}
  // Centres the view on a point of a level, at a height in screen units.
  virtual void ScrollTo(FinePoint, int32_t /*level*/, float /*height*/, bool /*animate*/) {}
};

// A light of the 3D renderer; rooms share them by reference.
class iLotLight {
 public:
  virtual ~iLotLight() = default;
};

class iLotLights {
 public:
  virtual ~iLotLights() = default;
  // Null when the renderer cannot make one.
  virtual std::shared_ptr<iLotLight> CreateLight() = 0;
};

// Simulator globals rooms read and write.
enum : int32_t {
  kSimGlobalTimeOfDay = 4,    // 0 day, 1 dusk, 2 night, 3 dawn
  kSimGlobalIndoorTiles = 27,
};

class iLotSimulator {
 public:
  virtual ~iLotSimulator() = default;
  virtual int16_t GetGlobal(int32_t index) const = 0;
  virtual void SetGlobal(int32_t index, int16_t value) = 0;

  // What the house asks of its simulator; the defaults keep nothing.
  // The saved state, resource (type 'VUXI', id); resource status codes.
  virtual int32_t LoadState(iResFile&, int16_t /*id*/, int32_t* /*version*/) { return -1; }
  virtual int32_t SaveState(iResFile&, int16_t /*id*/, int32_t /*version*/) { return 0; }
  // Back to the start of a new game.
  virtual void ResetState() {}
  // Figures C (0), A (1) and B (2) of the lot's worth.
  virtual int32_t GetFigure(int32_t) const { return 0; }
  virtual void SetFigure(int32_t, int32_t) {}
};

struct LotServices {
  iLotWorld* world = nullptr;
  iLotObjects* objects = nullptr;
  iLotView* view = nullptr;
  iLotLights* lights = nullptr;
  iLotSimulator* simulator = nullptr;
};

}  // namespace tova
