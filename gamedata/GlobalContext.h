#pragma once
// The one record through which every subsystem reaches the big shared
// objects of a running game: the current lot, its view and simulator, the
// neighbourhood, the catalogue, the devices and the framework's services.
// It lives behind one global pointer for the whole run. The record does not
// own what it points to: whoever makes an object stores it here and takes it
// away again before destroying it.

#include <cstdint>

class cGZFrameWork;
class cGZCheatCodeManager;
class cGZGraphicSystemW95;
class cGZWinMgrW95;
class cGZFontSys;
class cGZBuffer;
class StdResFile;

namespace tova {

class House;
class HouseViewer;
class cSoundPlayer;
class PalWrap;
class cToolSet;
class cSimulator;
class cTerrain;
class Neighborhood;
class ObjectFolder;
class AnimDevice;
class Device3D;
class cDDDTovaView;

// The record-stream version written into every house and neighbourhood
// chunk.
constexpr int32_t kGameSaveVersion = 62;

struct GlobalContext {
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
};

// The running game's context; null before start-up and after shut-down.
extern GlobalContext* gGlobalContext;

// The language of the running game (1 when there is no context yet).
inline uint8_t CurrentLanguage() { return gGlobalContext != nullptr ? gGlobalContext->language : 1; }

}  // namespace tova
