// The start-up load: the game context filled in its fixed order while the
// splash screen shows the steps.
#include <exception>
#include <vector>

#include "gamedata/FloatConstants.h"
#include "gamedata/GlobalContext.h"
#include "gamedata/House.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodServices.h"
#include "gamedata/ObjectFolder.h"
#include "gamedata/PerfTimer.h"
#include "gamedata/SimRandom.h"
#include "gamedata/StartupServices.h"
#include "resfile/SeqResFile.h"
#include "resfile/TypeCode.h"

namespace tova {
namespace {

// Palette entries that keep their own colour when colours are merged.
constexpr int kFirstFixedEntry = 10;
constexpr int kLastFixedEntry = 245;
constexpr uint8_t kPaletteNoCollapse = 4;
constexpr int32_t kCommandBeforeSeed = 141;
constexpr int32_t kCommandAfterSeed = 131;

// A folder name from the data-directory table; the table has every id used.
std::string Dir(int32_t id) { return GetDataDirName(id); }

}  // namespace

bool GlobalContext::LoadGameData(intptr_t window, int32_t width, int32_t height, const std::string& soundA,
                                 const std::string& soundB, const std::string& userDataFolder) {
  if (startup == nullptr) return false;
  // On the loading thread an escaping exception would end the program: a
  // step that raises is a failed start, which the caller already handles.
  try {
    return LoadSteps(window, width, height, soundA, soundB, userDataFolder);
  } catch (const std::exception& e) {
    startup->DebugOutput(std::string("Loading the game data failed: ") + e.what() + "\n");
  } catch (...) {
    startup->DebugOutput("Loading the game data failed\n");
  }
  return false;
}

bool GlobalContext::LoadSteps(intptr_t window, int32_t width, int32_t height, const std::string& soundA,
                              const std::string& soundB, const std::string& userDataFolder) {
  StartupServices& s = *startup;
  const std::string gameData = dataRoot + Dir(0);

  palette = s.LoadPalette(gameData + Dir(4), pixelLayout);

  s.ReportProgress(TypeCode("lobj"), "Loading Objects");
  s.RegisterObjectClasses();
  ownedCatalogue_ = std::make_unique<ObjectFolder>();
  objectFolder = ownedCatalogue_.get();
  objectFolder->SetServices(s.GetCatalogueServices());
  objectFolder->Init(dataRoot);
  // The tuning tables live in the catalogue's global file.
  if (iResFile* global = objectFolder->GetGlobalFile()) {
    tuningFile_ = objectFolder->GetSource(global);
    GlobalConstantsClient::SetGlobalFile(tuningFile_);
  }
  std::vector<std::string> objectFolders;
  objectFolder->GetObjectDirectories(objectFolders);

  ownedBehaviorFile_ = std::make_unique<StdResFile>();
  ownedBehaviorFile_->Open(gameData + Dir(3));
  globalBehaviorFile = ownedBehaviorFile_.get();

  ownedNeighborhoodServices_ = s.MakeNeighborhoodServices(*objectFolder);
  ownedNeighborhood_ = std::make_unique<Neighborhood>(*ownedNeighborhoodServices_);
  neighborhood = ownedNeighborhood_.get();
  neighborhood->SetSaveVersion(saveVersion);
  const std::string userData = userDataFolder.empty() ? Dir(7) : userDataFolder;
  std::string userPath = dataRoot + userData;
  if (userPath.back() != '/' && userPath.back() != '\\') userPath += '/';
  neighborhood->SetPath((userPath + Dir(10)).c_str());
  if (!neighborhood->ReadLotPositions(gameData + "lotpos.txt"))
    s.DebugOutput("The lot positions in " + gameData + "lotpos.txt are missing or damaged; lots past the damage have none.\n");

  s.ReportProgress(TypeCode("hous"), "Initializing House");
  ownedHouse_ = std::make_unique<House>(neighborhood, s.MakeHousePartsFactory(*objectFolder), objectFolder);
  house = ownedHouse_.get();
  house->CreateWorld();
  neighborhood->SetHouse(house);
  s.PublishHouse(*house, *this);
  toolSet = s.CreateToolSet(*house);

  s.ReportProgress(TypeCode("snds"), "Initializing Sounds");
  soundPlayer = s.CreateSoundPlayer(window, soundA, soundB);
  for (const std::string& folder : objectFolders) s.AddSoundFolder(soundPlayer, folder);

  s.OpenSpriteFile(gameData + Dir(1));

  s.ReportProgress(TypeCode("hvwr"), "Initializing House viewer");
  houseViewer = s.CreateHouseViewer(width, height, *house);

  s.ReportProgress(TypeCode("flrs"), "Loading Floors And Walls");
  s.LoadFloorsAndWalls();
  if (uint8_t* flags = s.PaletteFlags(palette))
    for (int i = kFirstFixedEntry; i <= kLastFixedEntry; ++i) flags[i] |= kPaletteNoCollapse;
  terrain = s.CreateTerrain();

  s.ReportProgress(TypeCode("qurl"), "Initializing quorrel");
  std::vector<std::string> searchFolders = {gameData + Dir(18), gameData + Dir(17), gameData + Dir(16)};
  searchFolders.insert(searchFolders.end(), objectFolders.begin(), objectFolders.end());
  std::string searchPath;
  for (const std::string& folder : searchFolders) {
    if (!s.IsDataFolderKnown(folder)) s.RegisterDataFolder(folder);
    if (!searchPath.empty()) searchPath += ';';
    searchPath += folder;
  }
  s.SetAnimationSearchPath(searchPath);
  PerfTimer timer([&s] { return s.PerfCounter(); }, s.PerfFrequency());
  timer.Start();
  s.LoadCharacterData(gameData);
  timer.Stop();
  s.DebugOutput(std::to_string(timer.GetElapsedMicroseconds32()) + "u\n");

  s.Broadcast(kCommandBeforeSeed, 0);
  // Sixtieths of a second since the machine started, in 64 bits: in 32 the
  // product overflows after twenty hours.
  const uint64_t sixtieths = s.MillisecondsSinceStart() * 60 / 1000;
  SetRandomSeed(static_cast<uint32_t>(sixtieths));
  s.Broadcast(kCommandAfterSeed, 0);

  s.ReportProgress(TypeCode("fglb"), "Finished globs init");
  return true;
}

}  // namespace tova
