// The start-up load over a recording stand-in for what it makes above the
// game data: the order of its steps, the palette flags, the 3D search path,
// the seed, a step that fails, the release order, and the data folder table.
#include <gtest/gtest.h>

#include <algorithm>

#include <array>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "gamedata/GameDataLoader.h"
#include "gamedata/GlobalContext.h"
#include "gamedata/House.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/PerfTimer.h"
#include "gamedata/SimRandom.h"
#include "gamedata/StartupServices.h"
#include "support/ScratchDir.h"

namespace {

using namespace tova;

// Stands for the objects made above the game data; the load only stores them.
template <class T>
T* Token(int n) {
  static std::array<char, 16> tokens{};
  return reinterpret_cast<T*>(&tokens[static_cast<size_t>(n)]);
}

class RecordingStartup : public StartupServices {
 public:
  std::vector<std::string> events;
  std::vector<ContextPart> released;
  std::array<uint8_t, 256> flags{};
  std::set<std::string> knownFolders;
  uint64_t milliseconds = 1000;
  int64_t counter = 0;
  int64_t characterDataCounts = 500;  // counts the character data takes
  std::string throwAt;

  void Note(const std::string& event) {
    events.push_back(event);
    if (event == throwAt) throw std::runtime_error("step failed");
  }
  void ReportProgress(uint32_t code, const char* text) override {
    Note("step " + TypeCodeText(code) + " " + text);
  }
  PalWrap* LoadPalette(const std::string& path, int32_t layout) override {
    Note("palette " + path + " " + std::to_string(layout));
    return Token<PalWrap>(0);
  }
  uint8_t* PaletteFlags(PalWrap* palette) override { return palette == Token<PalWrap>(0) ? flags.data() : nullptr; }
  void RegisterObjectClasses() override { Note("object classes"); }
  HousePartsFactory MakeHousePartsFactory(ObjectFolder&) override {
    Note("house parts");
    return {};
  }
  void PublishHouse(House&, GlobalContext&) override { Note("publish house"); }
  cToolSet* CreateToolSet(House&) override {
    Note("tool set");
    return Token<cToolSet>(1);
  }
  cSoundPlayer* CreateSoundPlayer(intptr_t window, const std::string& a, const std::string& b) override {
    Note("sound player " + std::to_string(window) + " " + a + " " + b);
    return Token<cSoundPlayer>(2);
  }
  void OpenSpriteFile(const std::string& path) override { Note("sprites " + path); }
  HouseViewer* CreateHouseViewer(int32_t w, int32_t h, House&) override {
    Note("viewer " + std::to_string(w) + "x" + std::to_string(h));
    return Token<HouseViewer>(3);
  }
  void LoadFloorsAndWalls() override { Note("floors and walls"); }
  cTerrain* CreateTerrain() override {
    Note("terrain");
    return Token<cTerrain>(4);
  }
  bool IsDataFolderKnown(const std::string& folder) override { return knownFolders.count(folder) != 0; }
  void RegisterDataFolder(const std::string& folder) override {
    Note("register " + folder);
    knownFolders.insert(folder);
  }
  void SetAnimationSearchPath(const std::string& folders) override { Note("search path " + folders); }
  void LoadCharacterData(const std::string& folder) override {
    Note("character data " + folder);
    counter += characterDataCounts;
  }
  void DebugOutput(const std::string& text) override { Note("debug " + text); }
  void Broadcast(int32_t command, intptr_t argument) override {
    Note("broadcast " + std::to_string(command) + " " + std::to_string(argument));
  }
  uint64_t MillisecondsSinceStart() override { return milliseconds; }
  int64_t PerfCounter() override { return counter; }
  int64_t PerfFrequency() override { return 1000; }  // a count is a millisecond
  void Release(ContextPart part, GlobalContext&) override { released.push_back(part); }
};

class GameDataLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.Ok());
    root = dir.Path().string() + "/";
    context = std::make_unique<GlobalContext>();
    context->dataRoot = root;
    context->startup = &startup;
    context->pixelLayout = kPixelLayout565;
  }
  void TearDown() override { context.reset(); }
  bool Load(const std::string& userData = "") {
    return context->LoadGameData(7, 640, 480, "sounds A", "sounds B", userData);
  }

  tova_test::ScratchDir dir;
  std::string root;
  RecordingStartup startup;
  std::unique_ptr<GlobalContext> context;
};

TEST_F(GameDataLoad, TheStepsInTheirOrder) {
  std::filesystem::create_directories(dir / "GameData");
  tova_test::WriteBytes(dir / "GameData/lotpos.txt", "0 0\n");
  ASSERT_TRUE(Load());
  const std::string g = root + "GameData/";
  const std::vector<std::string> expected = {
      "palette " + g + "GlobalCLUT.pal 2",
      "step lobj Loading Objects",
      "object classes",
      "step hous Initializing House",
      "house parts",
      "publish house",
      "tool set",
      "step snds Initializing Sounds",
      "sound player 7 sounds A sounds B",
      "sprites " + g + "sprites",
      "step hvwr Initializing House viewer",
      "viewer 640x480",
      "step flrs Loading Floors And Walls",
      "floors and walls",
      "terrain",
      "step qurl Initializing quorrel",
      "register " + g + "Skins/",
      "register " + g + "Textures2/",
      "register " + g + "Textures/",
      "search path " + g + "Skins/;" + g + "Textures2/;" + g + "Textures/",
      "character data " + g,
      "debug 500000u\n",
      "broadcast 141 0",
      "broadcast 131 0",
      "step fglb Finished globs init",
  };
  EXPECT_EQ(startup.events, expected);

  EXPECT_NE(context->objectFolder, nullptr);
  EXPECT_NE(context->globalBehaviorFile, nullptr);
  ASSERT_NE(context->house, nullptr);
  ASSERT_NE(context->neighborhood, nullptr);
  EXPECT_EQ(context->neighborhood->GetHouse(), context->house);
  EXPECT_EQ(context->house->GetNeighborhood(), context->neighborhood);
  EXPECT_EQ(context->toolSet, Token<cToolSet>(1));
  EXPECT_EQ(context->soundPlayer, Token<cSoundPlayer>(2));
  EXPECT_EQ(context->houseViewer, Token<HouseViewer>(3));
  EXPECT_EQ(context->terrain, Token<cTerrain>(4));
}

TEST_F(GameDataLoad, TheUserDataFolderComesFromTheCommandLine) {
  ASSERT_TRUE(Load(""));
  EXPECT_EQ(std::string(context->neighborhood->GetPath()), root + "UserData/Neighborhood.iff");
  context = std::make_unique<GlobalContext>();
  context->dataRoot = root;
  context->startup = &startup;
  ASSERT_TRUE(Load("Other"));
  EXPECT_EQ(std::string(context->neighborhood->GetPath()), root + "Other/Neighborhood.iff");
}

TEST_F(GameDataLoad, LotPositionsAreReadFromTheGameData) {
  std::filesystem::create_directories(dir / "GameData");
  tova_test::WriteBytes(dir / "GameData/lotpos.txt", "0 0\n5 6\n-7 8\n");
  ASSERT_TRUE(Load());
  const std::vector<std::pair<int32_t, int32_t>> expected = {{0, 0}, {5, 6}, {-7, 8}};
  EXPECT_EQ(context->neighborhood->LotPositions(), expected);
}

TEST_F(GameDataLoad, ADamagedLotPositionsFileKeepsTheLinesBeforeTheDamageAndSaysSo) {
  std::filesystem::create_directories(dir / "GameData");
  tova_test::WriteBytes(dir / "GameData/lotpos.txt", "0 0\n5 six\n-7 8\n");
  ASSERT_TRUE(Load());
  const std::vector<std::pair<int32_t, int32_t>> expected = {{0, 0}};
  EXPECT_EQ(context->neighborhood->LotPositions(), expected);
  const auto said = std::find_if(startup.events.begin(), startup.events.end(), [](const std::string& e) {
    return e.find("lotpos.txt are missing or damaged") != std::string::npos;
  });
  EXPECT_NE(said, startup.events.end());
}

TEST_F(GameDataLoad, OnlyTheMiddlePaletteEntriesBecomeNoCollapse) {
  for (size_t i = 0; i < startup.flags.size(); ++i) startup.flags[i] = static_cast<uint8_t>(i % 3);
  ASSERT_TRUE(Load());
  for (size_t i = 0; i < startup.flags.size(); ++i) {
    SCOPED_TRACE(i);
    const auto before = static_cast<uint8_t>(i % 3);
    EXPECT_EQ(startup.flags[i], i >= 10 && i <= 245 ? (before | 4) : before);
  }
}

TEST_F(GameDataLoad, AKnownFolderIsNotRegisteredTwice) {
  const std::string g = root + "GameData/";
  startup.knownFolders.insert(g + "Textures2/");
  ASSERT_TRUE(Load());
  std::vector<std::string> registered;
  std::string path;
  for (const std::string& e : startup.events) {
    if (e.rfind("register ", 0) == 0) registered.push_back(e.substr(9));
    if (e.rfind("search path ", 0) == 0) path = e.substr(12);
  }
  EXPECT_EQ(registered, (std::vector<std::string>{g + "Skins/", g + "Textures/"}));
  EXPECT_EQ(path, g + "Skins/;" + g + "Textures2/;" + g + "Textures/");
}

TEST_F(GameDataLoad, ALongCharacterLoadShowsTheLargest32BitValue) {
  startup.characterDataCounts = int64_t{3} * 1000 * 1000 * 1000;  // over a month of milliseconds
  ASSERT_TRUE(Load());
  EXPECT_NE(std::find(startup.events.begin(), startup.events.end(), "debug 2147483647u\n"), startup.events.end());
}

TEST_F(GameDataLoad, TheSeedIsSixtiethsOfASecondIn64Bits) {
  startup.milliseconds = uint64_t{100} * 1000 * 1000 * 1000;  // 27 hours and more
  ASSERT_TRUE(Load());
  EXPECT_EQ(GetRandomSeed(), static_cast<uint32_t>(uint64_t{6} * 1000 * 1000 * 1000));
  startup.milliseconds = 1000;
  ASSERT_TRUE(Load());
  EXPECT_EQ(GetRandomSeed(), 60u);
}

TEST_F(GameDataLoad, AStepThatRaisesFailsTheLoadAndTheContextStillFreesWhatWasMade) {
  startup.throwAt = "viewer 640x480";
  EXPECT_FALSE(Load());
  EXPECT_EQ(startup.events.back(), "debug Loading the game data failed: step failed\n");
  EXPECT_EQ(context->houseViewer, nullptr);
  context.reset();
  const std::vector<ContextPart> expected = {
      ContextPart::kSpriteFile,       ContextPart::kSoundPlayer,  ContextPart::kToolSet,
      ContextPart::kHouse,            ContextPart::kNeighborhood, ContextPart::kBehaviorFile,
      ContextPart::kWallpaperCatalog, ContextPart::kFloorCatalog, ContextPart::kCharacterData,
      ContextPart::kPalette,          ContextPart::kObjectFolder,
  };
  EXPECT_EQ(startup.released, expected);
}

TEST_F(GameDataLoad, TheContextFreesItsPartsInOrder) {
  ASSERT_TRUE(Load());
  context->device3D = Token<Device3D>(5);
  context->animDevice = Token<AnimDevice>(6);
  context.reset();
  const std::vector<ContextPart> expected = {
      ContextPart::kTerrain,       ContextPart::kSpriteFile,   ContextPart::kSoundPlayer,
      ContextPart::kToolSet,       ContextPart::kHouse,        ContextPart::kNeighborhood,
      ContextPart::kBehaviorFile,  ContextPart::kWallpaperCatalog, ContextPart::kFloorCatalog,
      ContextPart::kHouseViewer,   ContextPart::kCharacterData, ContextPart::kDevice3D,
      ContextPart::kAnimDevice,    ContextPart::kPalette,      ContextPart::kObjectFolder,
  };
  EXPECT_EQ(startup.released, expected);
}

TEST_F(GameDataLoad, TheLoadingThreadHandsTheContextOverWhenJoined) {
  for (bool threaded : {true, false}) {
    SCOPED_TRACE(threaded);
    context = std::make_unique<GlobalContext>();
    context->dataRoot = root;
    context->startup = &startup;
    GameDataLoader loader;
    loader.Start(*context, {7, 640, 480, "a", "b", ""}, threaded);
    EXPECT_TRUE(loader.Finish());
    EXPECT_NE(context->house, nullptr);
    EXPECT_EQ(context->terrain, Token<cTerrain>(4));
  }
  GlobalContext unserviced;
  GameDataLoader loader;
  loader.Start(unserviced, {}, true);
  EXPECT_FALSE(loader.Finish()) << "a context without start-up services cannot load";
}

TEST(GlobalContextTables, DataFolderNames) {
  const std::pair<int32_t, const char*> names[] = {
      {0, "GameData/"}, {3, "behavior"}, {7, "UserData/"}, {10, "Neighborhood.iff"}, {13, "UIGraphics/Fonts"},
      {18, "Skins/"},   {23, "Houses/"}, {24, "Characters/"}, {28, "Import/"},
  };
  for (const auto& [id, name] : names) EXPECT_STREQ(GetDataDirName(id), name) << id;
  EXPECT_EQ(GetDataDirName(29), nullptr);
  EXPECT_EQ(GetDataDirName(-1), nullptr);
}

TEST(GlobalContextTables, PixelLayoutCodes) {
  struct Case {
    int32_t bits;
    uint32_t r, g, b;
    int32_t code;
  } cases[] = {
      {16, 0x7C00, 0x03E0, 0x001F, 1}, {16, 0xF800, 0x07E0, 0x001F, 2}, {16, 0xF800, 0x07C0, 0x003F, 3},
      {16, 0xFC00, 0x03E0, 0x001F, 4}, {16, 0x001F, 0x07E0, 0xF800, 0}, {32, 0x7C00, 0x03E0, 0x001F, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(PixelLayoutCode(c.bits, c.r, c.g, c.b), c.code) << c.r << " " << c.bits;
}

TEST(PerfTimerTest, MicrosecondsRunningAndStopped) {
  int64_t now = 100;
  PerfTimer timer([&now] { return now; }, 4);  // four counts a second
  timer.Start();
  now += 2;
  EXPECT_EQ(timer.GetElapsedMicroseconds(), 500000);
  now += 2;
  timer.Stop();
  now += 100;
  EXPECT_FALSE(timer.IsRunning());
  EXPECT_EQ(timer.GetElapsedMicroseconds(), 1000000);
  EXPECT_EQ(PerfTimer::ShowAs32(int64_t{1} << 31), 2147483647);
  EXPECT_EQ(PerfTimer::ShowAs32(2147483647), 2147483647);
  EXPECT_EQ(PerfTimer::ShowAs32(-5), -5);
}

}  // namespace
