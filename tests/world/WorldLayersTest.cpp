#include <gtest/gtest.h>

#include "support/ScratchDir.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "resfile/IFFResFile2.h"
#include "resfile/MemResFile.h"
#include "world/ArryResource.h"
#include "world/cRotatableWorld.h"

namespace {

// A resource file whose writes of one id fail.
struct FailingFile : MemResFile {
    ResId failId = -1;
    int code = 0;
    int WriteResource(MemHandle h) override {
        ResId id = 0;
        if (GetId(h, id) == 0 && id == failId) return mError = code;
        return MemResFile::WriteResource(h);
    }
};

std::vector<ResId> StoredIds(MemResFile& file) {
    std::vector<ResId> ids;
    for (int i = 1; i <= file.CountResources(kArryType); ++i) {
        MemHandle h = file.GetIndexedResource(kArryType, i, nullptr);
        ResId id = 0;
        file.GetId(h, id);
        ids.push_back(id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::string LabelOf(MemResFile& file, ResId id) {
    std::string label;
    file.GetLabel(file.GetResource(kArryType, id, nullptr), label);
    return label;
}

std::vector<uint8_t> Stored(MemResFile& file, ResId id) {
    std::vector<uint8_t> bytes;
    file.GetStored(kArryType, id, bytes);
    return bytes;
}

void Replace(MemResFile& file, ResId id, const std::vector<uint8_t>& bytes) {
    if (MemHandle h = file.GetResource(kArryType, id, nullptr)) file.DeleteResource(h);
    file.AddStored(kArryType, id, bytes.data(), static_cast<int32_t>(bytes.size()));
}

void Remove(MemResFile& file, ResId id) {
    if (MemHandle h = file.GetResource(kArryType, id, nullptr)) file.DeleteResource(h);
}

// A world whose every saved layer holds something recognisable.
void Furnish(cFixedWorld& w) {
    w.RandomTerrain();
    w.Ground().At(5, 6) = 3;
    w.Grass().At(7, 8) = -20;
    w.TargetGrass().At(7, 8) = 40;
    for (int level = 1; level <= 2; ++level) {
        w.Floors(level)->At(10, 11) = static_cast<uint8_t>(20 + level);
        w.Objects(level)->At(12, 13) = static_cast<uint16_t>(3000 + level);
        w.Flags(level)->At(14, 15) = static_cast<uint8_t>(0x08 | level);
        WallInfo wall;
        wall.flags = kWallSide1;
        wall.style[0] = 1;
        wall.pattern[0] = static_cast<int32_t>(40 + level);
        w.SetWallInfo(TileLocation::At(16, 17, level), wall);
    }
    w.GetPoolLayer()->At(20, 21) = 4;
    w.GetWaterLayer()->At(22, 23) = 1;
}

bool Same(const _c2DArray& a, const _c2DArray& b) {
    return a.CellAreaBytes() == b.CellAreaBytes() && std::memcmp(a.Data(), b.Data(), a.CellAreaBytes()) == 0;
}

// The cells of every layer the house file holds.
std::vector<std::vector<uint8_t>> Snapshot(cFixedWorld& w) {
    std::vector<const _c2DArray*> layers = {&w.Altitude(),    &w.Ground(),        &w.Grass(),
                                            &w.TargetGrass(), w.GetPoolLayer(), w.GetWaterLayer()};
    for (int level = 1; level <= 2; ++level) {
        layers.insert(layers.end(), {w.Floors(level), w.Walls(level), w.Objects(level), w.Flags(level)});
    }
    std::vector<std::vector<uint8_t>> cells;
    for (const _c2DArray* a : layers) cells.emplace_back(a->Data(), a->Data() + a->CellAreaBytes());
    return cells;
}

}  // namespace

TEST(WorldLayers, SavedIdsFollowTheVersion) {
    struct Case {
        int32_t version;
        std::vector<ResId> ids;
    };
    const Case cases[] = {
        {16, {0, 1, 2, 3, 4, 8}},
        {22, {0, 1, 2, 3, 4, 6, 7, 8}},
        {23, {0, 1, 2, 3, 4, 6, 7, 8, 101, 102, 103, 108}},
        {38, {0, 1, 2, 3, 4, 6, 7, 8, 9, 101, 102, 103, 108}},
        {53, {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 101, 102, 103, 108}},
    };
    for (const Case& c : cases) {
        cFixedWorld world(64);
        MemResFile file;
        ASSERT_EQ(world.SaveLayers(file, c.version), 0) << c.version;
        EXPECT_EQ(StoredIds(file), c.ids) << c.version;
        EXPECT_EQ(file.CountTypes(), 1);
    }
    cFixedWorld world(64);
    MemResFile file;
    ASSERT_EQ(world.SaveLayers(file, 53), 0);
    EXPECT_EQ(LabelOf(file, 0), "altitude");
    EXPECT_EQ(LabelOf(file, 102), "walls2");
    EXPECT_EQ(LabelOf(file, 7), "target grass");
}

TEST(WorldLayers, RoundTripAtTheCurrentVersion) {
    cFixedWorld saved(64);
    Furnish(saved);
    MemResFile store;
    ASSERT_EQ(saved.SaveLayers(store, 53), 0);
    cFixedWorld loaded(64);
    loaded.LightTable(1)->At(3, 3).offset[0] = 5;
    ASSERT_EQ(loaded.LoadLayers(store, 53), 0);
    EXPECT_TRUE(Same(saved.Altitude(), loaded.Altitude()));
    EXPECT_TRUE(Same(saved.Ground(), loaded.Ground()));
    EXPECT_TRUE(Same(saved.Grass(), loaded.Grass()));
    EXPECT_TRUE(Same(saved.TargetGrass(), loaded.TargetGrass()));
    EXPECT_TRUE(Same(*saved.GetPoolLayer(), *loaded.GetPoolLayer()));
    EXPECT_TRUE(Same(*saved.GetWaterLayer(), *loaded.GetWaterLayer()));
    for (int level = 1; level <= 2; ++level) {
        EXPECT_TRUE(Same(*saved.Floors(level), *loaded.Floors(level)));
        EXPECT_TRUE(Same(*saved.Walls(level), *loaded.Walls(level)));
        EXPECT_TRUE(Same(*saved.Objects(level), *loaded.Objects(level)));
        EXPECT_TRUE(Same(*saved.Flags(level), *loaded.Flags(level)));
    }
    EXPECT_EQ(loaded.LightTable(1)->At(3, 3).offset[0], kNoLight) << "light tables are reset";
    EXPECT_EQ(loaded.Altitude().GetName().rfind("altitude", 0), 0u) << "layers named again";
}

TEST(WorldLayers, OlderVersionsLoadWhatTheyHad) {
    cFixedWorld saved(64);
    Furnish(saved);
    MemResFile store;
    ASSERT_EQ(saved.SaveLayers(store, 53), 0);
    {
        // Version 22: level 1 only; level 2 floors, walls and objects cleared.
        cFixedWorld loaded(64);
        loaded.Floors(2)->At(1, 1) = 9;
        // What the previous lot left in layers the file does not have.
        loaded.Flags(2)->At(2, 2) = 0x08;
        loaded.GetPoolLayer()->At(3, 3) = 2;
        ASSERT_EQ(loaded.LoadLayers(store, 22), 0);
        EXPECT_EQ(loaded.Flags(2)->At(2, 2), 0) << "no upper storey in the file";
        EXPECT_EQ(loaded.GetPoolLayer()->At(3, 3), kNoPool) << "no pool in the file";
        EXPECT_TRUE(Same(*saved.Floors(1), *loaded.Floors(1)));
        EXPECT_EQ(loaded.Floors(2)->At(10, 11), 0);
        EXPECT_EQ(loaded.Floors(2)->At(1, 1), 0);
        EXPECT_EQ(loaded.Walls(2)->At(16, 17).mask, 0);
        EXPECT_EQ(loaded.Objects(2)->At(12, 13), 0);
        EXPECT_EQ(loaded.Flags(1)->At(14, 15), 0) << "flags joined at 36";
        EXPECT_EQ(loaded.GetPoolLayer()->At(20, 21), kNoPool) << "pool joined at 38";
        EXPECT_EQ(loaded.GetWaterLayer()->At(22, 23), kNoPool);
    }
    {
        // Version 16: grass is generated, not loaded.
        cFixedWorld loaded(64);
        ASSERT_EQ(loaded.LoadLayers(store, 16), 0);
        EXPECT_NE(loaded.Grass().At(7, 8), -20);
        EXPECT_TRUE(Same(loaded.Grass(), loaded.TargetGrass()));
    }
    {
        // Version 38: pool loaded, water cleared.
        cFixedWorld loaded(64);
        loaded.GetWaterLayer()->At(22, 23) = 0;
        ASSERT_EQ(loaded.LoadLayers(store, 38), 0);
        EXPECT_EQ(loaded.GetPoolLayer()->At(20, 21), 4);
        EXPECT_EQ(loaded.GetWaterLayer()->At(22, 23), kNoPool);
        EXPECT_EQ(loaded.Flags(2)->At(14, 15), 0x08 | 2);
    }
}

TEST(WorldLayers, MissingOrHostileLayersFailTheLoad) {
    cFixedWorld saved(64);
    Furnish(saved);
    for (int16_t id : {0, 4, 1, 102, 108, 6, 7}) {
        MemResFile store;
        ASSERT_EQ(saved.SaveLayers(store, 53), 0);
        std::vector<uint8_t> bytes = Stored(store, id);
        Remove(store, id);
        // The lot in the world stays whole, not half the file's.
        cFixedWorld loaded(64);
        loaded.SetWallInfo(TileLocation::At(30, 31, 1), saved.GetWallInfo(TileLocation::At(16, 17, 1)));
        loaded.GetPoolLayer()->At(2, 3) = 5;
        const auto before = Snapshot(loaded);
        EXPECT_EQ(loaded.LoadLayers(store, 53), kResNotFound) << id;
        EXPECT_EQ(Snapshot(loaded), before) << id;
        bytes[4] = 63;  // rows
        Replace(store, id, bytes);
        EXPECT_EQ(loaded.LoadLayers(store, 53), kResBadData) << id;
        EXPECT_EQ(Snapshot(loaded), before) << id;
    }
    // Pool and water are tolerated: a bad pool leaves the lot without one.
    MemResFile store;
    ASSERT_EQ(saved.SaveLayers(store, 53), 0);
    Replace(store, 9, {1, 2, 3});
    Remove(store, 10);
    cFixedWorld loaded(64);
    loaded.GetPoolLayer()->At(5, 5) = 2;
    EXPECT_EQ(loaded.LoadLayers(store, 53), 0);
    EXPECT_EQ(loaded.GetPoolLayer()->At(5, 5), kNoPool);
}

TEST(WorldLayers, AFailedWriteIsReported) {
    for (int16_t id : {0, 2, 103, 7, 9, 10}) {
        cFixedWorld world(64);
        FailingFile store;
        store.failId = id;
        store.code = kFlatShortWrite;
        EXPECT_EQ(world.SaveLayers(store, 53), kFlatShortWrite) << id;
    }
}

TEST(WorldLayers, AFailedSaveOverStoredLayersKeepsThem) {
    cFixedWorld first(64);
    Furnish(first);
    FailingFile store;
    ASSERT_EQ(first.SaveLayers(store, 53), 0);
    const std::vector<uint8_t> before = Stored(store, 102);
    cFixedWorld second(64);
    store.failId = 102;
    store.code = kFlatShortWrite;
    EXPECT_EQ(second.SaveLayers(store, 53), kFlatShortWrite);
    EXPECT_EQ(Stored(store, 102), before);
    store.failId = -1;
    cFixedWorld loaded(64);
    ASSERT_EQ(loaded.LoadLayers(store, 53), 0);
    EXPECT_TRUE(Same(*first.Walls(2), *loaded.Walls(2)));
}

TEST(WorldLayers, RoundTripThroughAHouseFileOnDisk) {
    tova_test::ScratchDir scratch;
    const std::string path = (scratch / "world_layers_roundtrip.iff").string();
    cFixedWorld saved(64);
    Furnish(saved);
    {
        IFFResFile2 file;
        ASSERT_EQ(file.Create(path), 0);
        ASSERT_EQ(file.Open(path), 0);
        ASSERT_EQ(saved.SaveLayers(file, 53), 0);
        ASSERT_EQ(file.Close(), 0);
    }
    IFFResFile2 file;
    ASSERT_EQ(file.Open(path), 0);
    cFixedWorld loaded(64);
    ASSERT_EQ(loaded.LoadLayers(file, 53), 0);
    file.Close();
    EXPECT_TRUE(Same(saved.Altitude(), loaded.Altitude()));
    EXPECT_TRUE(Same(*saved.Walls(2), *loaded.Walls(2)));
    EXPECT_TRUE(Same(saved.TargetGrass(), loaded.TargetGrass()));
    EXPECT_TRUE(Same(*saved.GetPoolLayer(), *loaded.GetPoolLayer()));
}
