#pragma once
// What the start-up load makes above the game data: the palette, the sound
// player, the sprite file, the house viewer, the floor and wallpaper
// catalogues, the terrain, the tool set, the 3D search path and character
// data, the lot's parts and the object classes, and the progress steps the
// splash screen shows. Every call has a harmless default (nothing made,
// nothing shown), so the load runs headless and in tests; the game supplies
// the real ones.

#include <cstdint>
#include <memory>
#include <string>

#include "gamedata/HouseParts.h"

// Build mode's tool set (world/).
class cToolSet;

namespace tova {

class House;
class HouseViewer;
class NeighborhoodServices;
class ObjectFolder;
class PalWrap;
class cSoundPlayer;
class cTerrain;
class CatalogueServices;
struct GlobalContext;

// The parts of the context, in the order the context releases them.
enum class ContextPart : int32_t {
  kTerrain,
  kSpriteFile,
  kSoundPlayer,
  kToolSet,
  kHouse,
  kNeighborhood,
  kBehaviorFile,
  kWallpaperCatalog,
  kFloorCatalog,
  kHouseViewer,
  kCharacterData,
  kDevice3D,
  kAnimDevice,
  kPalette,
  kObjectFolder,
};

class StartupServices {
 public:
  virtual ~StartupServices() = default;

  // A step of the splash screen: four letters and a text.
  virtual void ReportProgress(uint32_t /*code*/, const char* /*text*/) {}
  // What the catalogue reports through while it loads (null: nothing).
  virtual CatalogueServices* GetCatalogueServices() { return nullptr; }

  // Reads the palette file and turns its colours into screen pixels of the
  // layout; null when there is no palette.
  virtual PalWrap* LoadPalette(const std::string& /*path*/, int32_t /*pixelLayout*/) { return nullptr; }
  // The palette's 256 entry flag bytes (null without a palette).
  virtual uint8_t* PaletteFlags(PalWrap* /*palette*/) { return nullptr; }

  // The classes of objects the catalogue's definitions become on a lot.
  virtual void RegisterObjectClasses() {}
  // The lot's world, objects and simulator (none by default: a house
  // without parts).
  virtual HousePartsFactory MakeHousePartsFactory(ObjectFolder& /*catalogue*/) { return {}; }
  // What the neighbourhood asks of the catalogue and the lot.
  virtual std::unique_ptr<NeighborhoodServices> MakeNeighborhoodServices(ObjectFolder& catalogue);
  // Makes the house's world and object module the current ones and puts its
  // simulator into the context.
  virtual void PublishHouse(House& /*house*/, GlobalContext& /*context*/) {}
  virtual cToolSet* CreateToolSet(House& /*house*/) { return nullptr; }

  virtual cSoundPlayer* CreateSoundPlayer(intptr_t /*window*/, const std::string& /*soundA*/,
                                          const std::string& /*soundB*/) {
    return nullptr;
  }
  virtual void AddSoundFolder(cSoundPlayer* /*player*/, const std::string& /*folder*/) {}
  virtual void OpenSpriteFile(const std::string& /*path*/) {}
  virtual HouseViewer* CreateHouseViewer(int32_t /*width*/, int32_t /*height*/, House& /*house*/) { return nullptr; }
  virtual void LoadFloorsAndWalls() {}
  virtual cTerrain* CreateTerrain() { return nullptr; }

  // The data-file manager's folders and the animation device's search path.
  virtual bool IsDataFolderKnown(const std::string& /*folder*/) { return false; }
  virtual void RegisterDataFolder(const std::string& /*folder*/) {}
  virtual void SetAnimationSearchPath(const std::string& /*folders*/) {}
  virtual void LoadCharacterData(const std::string& /*folder*/) {}
  virtual void DebugOutput(const std::string& /*text*/) {}

  // Sends a command to everyone who listens for the game's commands.
  virtual void Broadcast(int32_t /*command*/, intptr_t /*argument*/) {}
  // Milliseconds since the machine started.
  virtual uint64_t MillisecondsSinceStart();
  // The stopwatch's counter and its counts per second.
  virtual int64_t PerfCounter();
  virtual int64_t PerfFrequency();

  // Frees a part of the context made here (parts made by the game data are
  // freed by the context itself).
  virtual void Release(ContextPart /*part*/, GlobalContext& /*context*/) {}
};

}  // namespace tova
