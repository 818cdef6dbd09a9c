// The game's start-up over the starter content compiled into a scratch data
// root: the load makes a house of real parts, registers the person class,
// and the neighbourhood loads its lots into that house.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gamedata/FloatConstants.h"
#include "gamedata/GlobalContext.h"
#include "gamedata/House.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodConstants.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/ObjectModule.h"
#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"
#include "world/GameStartupServices.h"
#include "world/LotHouseParts.h"

namespace fs = std::filesystem;

namespace {

class GameStartup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.Ok());
        tova::NeighborhoodConstants::Instance().Reset();
        const fs::path content = fs::path(TOVA_SOURCE_DIR) / "content";
        std::vector<std::string> sources;
        for (const auto& e : fs::recursive_directory_iterator(content / "GameData"))
            if (e.path().extension() == ".res") sources.push_back(e.path().string());
        for (const auto& e : fs::directory_iterator(content / "UserData/Houses"))
            if (e.path().extension() == ".lot") sources.push_back(e.path().string());
        const auto built = tova_test::CompileContentShared(dir.Path().string(), sources);
        ASSERT_EQ(built.code, 0) << built.err;
        fs::copy_file(content / "GameData/lotpos.txt", dir / "GameData/lotpos.txt");
        context.dataRoot = dir.Path().string() + "/";
        context.startup = &startup;
    }
    void TearDown() override { tova::ObjectModule::SetPersonMaker(nullptr); }

    tova_test::ScratchDir dir;
    cGameStartupServices startup;
    tova::GlobalContext context;
};

TEST_F(GameStartup, LoadsTheGameDataAndTheNeighbourhoodView) {
    tova::ObjectModule::SetPersonMaker(nullptr);
    ASSERT_TRUE(context.LoadGameData(0, 640, 480, "", "", ""));
    ASSERT_NE(startup.GetParts(), nullptr);
    EXPECT_EQ(context.simulator, &startup.GetParts()->GetSimulator());
    ASSERT_NE(context.objectFolder->GetTemplatePersonDefinition(), nullptr);
    EXPECT_NE(tova::ObjectModule::MakePerson(context.objectFolder->GetTemplatePersonDefinition(),
                                             &startup.GetParts()->GetModule()),
              nullptr)
        << "the person class is registered";

    tova::Neighborhood& hood = *context.neighborhood;
    ASSERT_EQ(hood.ReturnToNeighborhood(), 0);
    EXPECT_EQ(hood.GetCurrentHouseNumber(), 0);
    EXPECT_TRUE(fs::exists(dir / "UserData/Neighborhood.iff"));
    ASSERT_NE(hood.FindFamily(0), nullptr);
    EXPECT_EQ(context.house->GetCurrentFamily(), hood.FindFamily(0));
    EXPECT_NE(hood.FindNeighborByGUID(tova::Neighborhood::kTemplateCharacterGuid), nullptr);
}

TEST_F(GameStartup, TheTuningTablesStopReadingTheGlobalFileWhenTheCatalogueGoes) {
    {
        tova::GlobalContext local;
        local.dataRoot = context.dataRoot;
        local.startup = &startup;
        ASSERT_TRUE(local.LoadGameData(0, 640, 480, "", "", ""));
        EXPECT_NE(tova::GlobalConstantsClient::GlobalFile(), nullptr);
    }
    EXPECT_EQ(tova::GlobalConstantsClient::GlobalFile(), nullptr);
}

TEST_F(GameStartup, AFamilyMovesIntoALotAndItsMoneyIsTheSimulatorsUntilSaved) {
    ASSERT_TRUE(context.LoadGameData(0, 640, 480, "", "", ""));
    tova::Neighborhood& hood = *context.neighborhood;
    ASSERT_EQ(hood.Init(), 0);
    tova::Neighbor* member = nullptr;
    ASSERT_EQ(hood.CreateUserCharacter(&member), 0);
    tova::Family* family = hood.NewFamily();
    ASSERT_EQ(hood.AddToFamily(*member, *family), 0);
    const int32_t number = family->number;
    ASSERT_EQ(hood.Save(context.saveVersion), 0);

    ASSERT_EQ(hood.LoadLot(4, number), 0);
    tova::Family* moved = hood.FindFamily(number);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->lot, 4);
    EXPECT_EQ(context.simulator->GetFunds(), moved->funds);
    EXPECT_EQ(moved->funds, 20000 - moved->houseValue);
    EXPECT_EQ(hood.LoadLot(12, -1), -1);

    startup.GetParts()->GetSimulator().SetFunds(12345);
    ASSERT_EQ(hood.SaveCurrentLot(), 0);
    ASSERT_EQ(hood.ReturnToNeighborhood(), 0);
    EXPECT_EQ(hood.FindFamily(number)->funds, 12345);
    EXPECT_EQ(hood.FindFamily(number)->lot, 4);
}

TEST_F(GameStartup, EveryStarterLotLoads) {
    ASSERT_TRUE(context.LoadGameData(0, 640, 480, "", "", ""));
    tova::Neighborhood& hood = *context.neighborhood;
    EXPECT_EQ(hood.LotPositions().size(), 12u);
    for (int32_t lot = 0; lot <= tova::Neighborhood::kLotCount; ++lot) {
        SCOPED_TRACE(lot);
        EXPECT_EQ(hood.LoadLot(lot, -1), 0);
        EXPECT_EQ(hood.GetCurrentHouseNumber(), lot);
        EXPECT_EQ(hood.NearbyLots().size(), lot == 0 ? 0u : 10u);
    }
}

}  // namespace
