#include "gamedata/GlobalContext.h"

#include "gamedata/FloatConstants.h"
#include "gamedata/House.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodServices.h"
#include "gamedata/ObjectFolder.h"
#include "gamedata/StartupServices.h"
#include "resfile/SeqResFile.h"

namespace tova {

GlobalContext* gGlobalContext = nullptr;

namespace {

constexpr const char* kDataDirNames[] = {
    "GameData/",         "sprites",        "Tools.rsrc",     "behavior",          "GlobalCLUT.pal",
    "walls",             "floors",         "UserData/",      "GameData/Lights/",  "UIText",
    "Neighborhood.iff",  "GameData/Roofs/", "UIGraphics/",   "UIGraphics/Fonts",  "Floors/",
    "Walls/",            "Textures/",      "Textures2/",     "Skins/",            "GameData/Objects/",
    "GameData/Global/",  "GameData/UserObjects/", "Downloads/", "Houses/",        "Characters/",
    "Web Pages/",        "Web Templates/", "Export/",        "Import/",
};

}  // namespace

const char* GetDataDirName(int32_t id) {
  constexpr auto count = static_cast<int32_t>(sizeof kDataDirNames / sizeof kDataDirNames[0]);
  return id >= 0 && id < count ? kDataDirNames[id] : nullptr;
}

int32_t PixelLayoutCode(int32_t bitsPerPixel, uint32_t red, uint32_t green, uint32_t blue) {
  if (bitsPerPixel != 16) return kPixelLayoutNone;
  struct Layout {
    uint32_t r, g, b;
    int32_t code;
  };
  constexpr Layout layouts[] = {{0x7C00, 0x03E0, 0x001F, kPixelLayout555},
                                {0xF800, 0x07E0, 0x001F, kPixelLayout565},
                                {0xF800, 0x07C0, 0x003F, kPixelLayout556},
                                {0xFC00, 0x03E0, 0x001F, kPixelLayout655}};
  for (const Layout& l : layouts)
    if (l.r == red && l.g == green && l.b == blue) return l.code;
  return kPixelLayoutNone;
}

GlobalContext::GlobalContext() = default;
GlobalContext::~GlobalContext() { Release(); }

void GlobalContext::Release() {
  // Each part only when present, and each field emptied after it; parts the
  // services keep as globals of their own are theirs to find.
  auto release = [this](ContextPart part, auto*& field) {
    if (field == nullptr) return;
    if (startup != nullptr) startup->Release(part, *this);
    field = nullptr;
  };
  // A part the load made of the game data is freed here.
  auto releaseOwned = [&](ContextPart part, auto*& field, auto& owned) {
    if (field == nullptr) return;
    if (startup != nullptr) startup->Release(part, *this);
    if (field == owned.get()) owned.reset();
    field = nullptr;
  };
  auto global = [this](ContextPart part) {
    if (startup != nullptr) startup->Release(part, *this);
  };
  release(ContextPart::kTerrain, terrain);
  global(ContextPart::kSpriteFile);
  release(ContextPart::kSoundPlayer, soundPlayer);
  release(ContextPart::kToolSet, toolSet);
  releaseOwned(ContextPart::kHouse, house, ownedHouse_);
  simulator = nullptr;  // the house's
  releaseOwned(ContextPart::kNeighborhood, neighborhood, ownedNeighborhood_);
  ownedNeighborhoodServices_.reset();
  releaseOwned(ContextPart::kBehaviorFile, globalBehaviorFile, ownedBehaviorFile_);
  global(ContextPart::kWallpaperCatalog);
  global(ContextPart::kFloorCatalog);
  release(ContextPart::kHouseViewer, houseViewer);
  global(ContextPart::kCharacterData);
  release(ContextPart::kDevice3D, device3D);
  release(ContextPart::kAnimDevice, animDevice);
  release(ContextPart::kPalette, palette);
  // The tuning tables must not keep reading a file that goes with the catalogue.
  if (tuningFile_ != nullptr && GlobalConstantsClient::GlobalFile() == tuningFile_)
    GlobalConstantsClient::SetGlobalFile(nullptr);
  tuningFile_ = nullptr;
  releaseOwned(ContextPart::kObjectFolder, objectFolder, ownedCatalogue_);
  ownedHouse_.reset();
  ownedNeighborhood_.reset();
  ownedBehaviorFile_.reset();
  ownedCatalogue_.reset();
}

}  // namespace tova
