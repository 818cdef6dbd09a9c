#pragma once
// The one record through which every subsystem reaches the big shared
// objects of a running game: the current lot, its view and simulator, the
// neighbourhood, the catalogue, the devices and the framework's services.
// It lives behind one global pointer for the whole run. Whoever makes an
// object stores it here; what the start-up load made, the context frees
// when it goes, in a fixed order (the game data's own parts itself, the rest
// through the start-up services).

#include <cstdint>
#include <memory>
#include <string>

class cGZFrameWork;
class cGZCheatCodeManager;
class cGZGraphicSystemW95;
class cGZWinMgrW95;
class cGZFontSys;
class cGZBuffer;
class StdResFile;
class cToolSet;

namespace tova {

class House;
class ResourceSource;
class HouseViewer;
class cSoundPlayer;
class PalWrap;
class cSimulator;
class cTerrain;
class Neighborhood;
class ObjectFolder;
class AnimDevice;
class Device3D;
class cDDDTovaView;
class NeighborhoodServices;
class StartupServices;

// The record-stream version written into every house and neighbourhood
// chunk.
constexpr int32_t kGameSaveVersion = 62;

// Pixel layouts of a 16-bit screen by their red, green and blue masks.
enum : int32_t { kPixelLayoutNone = 0, kPixelLayout555 = 1, kPixelLayout565 = 2, kPixelLayout556 = 3, kPixelLayout655 = 4 };
// The layout code of a screen surface: 0 unless it has 16 bits a pixel and
// one of the four layouts.
int32_t PixelLayoutCode(int32_t bitsPerPixel, uint32_t red, uint32_t green, uint32_t blue);

// The data folders and well-known files by id (0..28); null for any other.
const char* GetDataDirName(int32_t id);

struct GlobalContext {
  GlobalContext();
  // Frees what the start-up load made, in the order of ContextPart.
  ~GlobalContext();
  GlobalContext(const GlobalContext&) = delete;
  GlobalContext& operator=(const GlobalContext&) = delete;

  // The start-up load: the palette, the catalogue, the behaviour file, the
  // neighbourhood, the house and the rest, through `startup` (which must be
  // set). The user-data folder is the command line's "ngh" value ("UserData/"
  // when empty). False when a step failed; what was made stays for the
  // destructor to free.
  bool LoadGameData(intptr_t window, int32_t width, int32_t height, const std::string& soundA,
                    const std::string& soundB, const std::string& userDataFolder);

  House* house = nullptr;
  HouseViewer* houseViewer = nullptr;
  StdResFile* globalBehaviorFile = nullptr;
  cSoundPlayer* soundPlayer = nullptr;
  PalWrap* palette = nullptr;
  cToolSet* toolSet = nullptr;
  cSimulator* simulator = nullptr;  // the house's, copied here
  cTerrain* terrain = nullptr;
  Neighborhood* neighborhood = nullptr;
  ObjectFolder* objectFolder = nullptr;
  AnimDevice* animDevice = nullptr;
  Device3D* device3D = nullptr;
  int32_t pixelLayout = 0;
  cGZCheatCodeManager* cheatCodes = nullptr;
  cGZBuffer* screenBuffer = nullptr;
  cDDDTovaView* mainView = nullptr;
  int32_t saveVersion = kGameSaveVersion;
  cGZFrameWork* framework = nullptr;
  cGZGraphicSystemW95* graphicSystem = nullptr;
  cGZWinMgrW95* windowManager = nullptr;
  cGZFontSys* fontSystem = nullptr;
  uint8_t hasMMX = 0;
  uint8_t hasTimeStampCounter = 0;
  int32_t processorClass = 0;
  uint8_t language = 1;

  // The program's data root ("" the working folder, else ending in '/').
  std::string dataRoot;
  StartupServices* startup = nullptr;

 private:
  bool LoadSteps(intptr_t window, int32_t width, int32_t height, const std::string& soundA,
                 const std::string& soundB, const std::string& userDataFolder);
  void Release();

  // What the start-up load made of the game data itself.
  std::unique_ptr<ObjectFolder> ownedCatalogue_;
  // The catalogue's global file as the tuning tables were told of it.
  ResourceSource* tuningFile_ = nullptr;
  std::unique_ptr<StdResFile> ownedBehaviorFile_;
  std::unique_ptr<NeighborhoodServices> ownedNeighborhoodServices_;
  std::unique_ptr<Neighborhood> ownedNeighborhood_;
  std::unique_ptr<House> ownedHouse_;
};

// The running game's context; null before start-up and after shut-down.
extern GlobalContext* gGlobalContext;

// The language of the running game (1 when there is no context yet).
inline uint8_t CurrentLanguage() { return gGlobalContext != nullptr ? gGlobalContext->language : 1; }

}  // namespace tova
