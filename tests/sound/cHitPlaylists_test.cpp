#include "sound/cHitPlaylists.h"

#include "TrackFixture.h"
#include "sound/cHitList.h"
#include "sound/cSamplePatch.h"

using namespace sound_test;

namespace {

class PlaylistTest : public TrackTest {
protected:
    std::vector<uint32_t> Ids(uint32_t list) {
        cHitList* hitList = engine.GetHitList(list);
        if (!hitList) return {};
        return {hitList->Available().begin(), hitList->Available().end()};
    }
    std::string PatchPath(uint32_t id) {
        std::string path;
        if (auto* patch = dynamic_cast<cSamplePatch*>(engine.GetObject(id))) patch->GetName(path);
        return path;
    }
    std::string Root() const { return (dir / "root").string(); }
    std::string Music() const { return (dir / "music").string(); }
};

}  // namespace

TEST_F(PlaylistTest, EachSubfolderIsAGroupOfPatchesAndEveryEntryPlaysOnceBeforeRepeats) {
    WriteText("root/Music/Stations/Rock/g1/a.wav", "x");
    WriteText("root/Music/Stations/Rock/g1/b.wav", "x");
    WriteText("root/Music/Stations/Rock/g2/c.lnk", "x");
    WriteText("root/Music/Stations/Rock/loose.wav", "x");  // not in a group
    ASSERT_TRUE(cHitPlaylists::Build(engine, Root(), Music(), "Music\\Stations\\Rock", 233));
    cHitList* playlist = engine.GetHitList(233);
    ASSERT_NE(playlist, nullptr);
    EXPECT_EQ(playlist->KeepOut(), 1000000u);
    EXPECT_TRUE(playlist->IsFixed());
    EXPECT_EQ(Ids(233), (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(Ids(1), (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(Ids(2), (std::vector<uint32_t>{3}));
    EXPECT_EQ(PatchPath(1), Root() + "/Music/Stations/Rock/g1/a.wav");
    EXPECT_EQ(PatchPath(3), Root() + "/Music/Stations/Rock/g2/c.lnk");  // a shortcut keeps its path
}

TEST_F(PlaylistTest, AnEmptyFolderFallsBackToTheMusicRoot) {
    std::filesystem::create_directories(dir / "root/Music/Modes/Buy");
    WriteText("music/Music/Modes/Buy/tune.wav", "x");
    ASSERT_TRUE(cHitPlaylists::Build(engine, Root(), Music(), "Music\\Modes\\Buy", 221));
    ASSERT_EQ(Ids(221), (std::vector<uint32_t>{1}));
    EXPECT_EQ(PatchPath(Ids(1).at(0)), Music() + "/Music/Modes/Buy/tune.wav");
}

TEST_F(PlaylistTest, AFolderOfFilesOnlyIsItsOwnGroup) {
    WriteText("root/SoundData/TVStations/TV_Romance/a.wav", "x");
    WriteText("root/SoundData/TVStations/TV_Romance/b.wav", "x");
    ASSERT_TRUE(cHitPlaylists::Build(engine, Root(), Music(), "SoundData\\TVStations\\TV_Romance", 528));
    ASSERT_EQ(Ids(528), (std::vector<uint32_t>{1}));
    EXPECT_EQ(Ids(1), (std::vector<uint32_t>{1, 2}));
}

TEST_F(PlaylistTest, NothingIsBuiltFromEmptyFoldersOrAnEmptyName) {
    EXPECT_TRUE(cHitPlaylists::Build(engine, Root(), Music(), "SoundData\\TVStations\\TV_Action", 529));
    EXPECT_TRUE(Ids(529).empty());
    EXPECT_EQ(engine.ObjectCount(), 0u);
    EXPECT_FALSE(cHitPlaylists::Build(engine, Root(), Music(), "", 530));
    EXPECT_EQ(engine.GetHitList(530), nullptr);
}

TEST_F(PlaylistTest, NoFreeListIdRefusesThePlaylist) {
    for (uint32_t id = 1; id < 2048; ++id) engine.NewHitList(id);
    WriteText("root/Music/Modes/Build/g/a.wav", "x");
    EXPECT_FALSE(cHitPlaylists::Build(engine, Root(), Music(), "Music\\Modes\\Build", 0));
    EXPECT_FALSE(cHitPlaylists::Build(engine, Root(), Music(), "Music\\Modes\\Build", 222));
    EXPECT_EQ(engine.ObjectCount(), 0u);
}

TEST_F(PlaylistTest, TheTableFollowsTheLanguageAndBuildsTheStarterFolders) {
    EXPECT_EQ(cHitPlaylists::FolderTable(1)[6].folder, "Music\\Modes\\NhoodUS");
    EXPECT_EQ(cHitPlaylists::FolderTable(2)[6].folder, "Music\\Modes\\Nhood");
    const std::string data = std::string(TOVA_BIN_DIR) + "/../data";
    const std::vector<cHitPlaylist> built = cHitPlaylists::BuildAll(engine, data, data, 1);
    ASSERT_EQ(built.size(), 11u);
    EXPECT_EQ(built[0].objectId, 260u);
    for (const cHitPlaylist& playlist : built) EXPECT_EQ(Ids(playlist.hitListId).size(), 1u) << playlist.hitListId;
}
