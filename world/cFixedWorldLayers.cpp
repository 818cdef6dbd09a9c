// The world's layers in the house file: one 'Arry' resource per layer, with
// the ids and the file versions at which each layer joined the file. Rooms,
// wall posts, roofs and light tables are not kept; they are recomputed.
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "resfile/iResFile.h"
#include "world/ArryResource.h"
#include "world/cFixedWorld.h"
#include "world/walls/WallManager.h"

namespace {

enum : int16_t {
    kIdAltitude = 0,
    kIdFloors = 1,
    kIdWalls = 2,
    kIdObjects = 3,
    kIdGround = 4,
    kIdGrass = 6,
    kIdTargetGrass = 7,
    kIdFlags = 8,
    kIdPool = 9,
    kIdWater = 10,
    kUpperLevelBase = 100,
};

int16_t LevelId(int32_t level, int16_t id) {
    return static_cast<int16_t>((level == 2 ? kUpperLevelBase : 0) + id);
}

}  // namespace

void cFixedWorld::NameLayers() {
    mAltitude->SetName("altitude");
    mGround->SetName("ground");
    mGrass->SetName("grass");
    mTargetGrass->SetName("target grass");
    mPool->SetName("Pool");
    mWater->SetName("Water");
    static const char* const kNames[2][5] = {
        {"floors", "rooms", "flags", "walls", "objects"},
        {"floors2", "rooms2", "flags2", "walls2", "objects2"},
    };
    for (int i = 0; i < 2; ++i) {
        mLevels[i].floors->SetName(kNames[i][0]);
        mLevels[i].rooms->SetName(kNames[i][1]);
        mLevels[i].flags->SetName(kNames[i][2]);
        mLevels[i].walls->SetName(kNames[i][3]);
        mLevels[i].objects->SetName(kNames[i][4]);
    }
}

int32_t cFixedWorld::SaveLayers(iResFile& file, int32_t version) {
    int32_t status = mAltitude->Save(file, kArryType, kIdAltitude, true);
    if (status == kResOK) status = mGround->Save(file, kArryType, kIdGround, true);
    const int32_t levels = version >= kLayersVersionUpperStorey ? 2 : 1;
    for (int32_t level = 1; level <= levels && status == kResOK; ++level) {
        const LevelLayers& l = mLevels[level - 1];
        status = l.floors->Save(file, kArryType, LevelId(level, kIdFloors), true);
        if (status == kResOK) status = l.walls->Save(file, kArryType, LevelId(level, kIdWalls), true);
        if (status == kResOK) status = l.objects->Save(file, kArryType, LevelId(level, kIdObjects), true);
        if (status == kResOK) status = l.flags->Save(file, kArryType, LevelId(level, kIdFlags), true);
    }
    if (status == kResOK && version >= kLayersVersionGrass) {
        status = mGrass->Save(file, kArryType, kIdGrass, true);
        if (status == kResOK) status = mTargetGrass->Save(file, kArryType, kIdTargetGrass, true);
    }
    // A pool or water layer that could not be written is a failed save too.
    if (status == kResOK && version >= kLayersVersionPool) status = mPool->Save(file, kArryType, kIdPool, true);
    if (status == kResOK && version >= kLayersVersionWater) status = mWater->Save(file, kArryType, kIdWater, true);
    return status;
}

int32_t cFixedWorld::LoadLayers(iResFile& file, int32_t version) {
    // Every stored layer is read into scratch cells of its shape first; the
    // world takes them only when all required ones have loaded, so a missing
    // or bad layer leaves the current lot whole rather than half replaced.
    // The scratch bytes are kept from one load to the next: a load then makes
    // no large allocation, and the decode writes every cell so none is zeroed.
    struct Read {
        _c2DArray* layer;
        size_t offset;
    };
    static thread_local std::vector<uint8_t> scratch;
    std::vector<Read> reads;
    size_t used = 0;
    auto read = [&](_c2DArray& layer, int16_t id) -> int32_t {
        const size_t area = layer.CellAreaBytes();
        if (!layer.HasData() || area == 0) return kResOutOfMemory;
        if (scratch.size() < used + area) scratch.resize(used + area);
        const int32_t status = LoadArryCells(file, kArryType, id, layer, scratch.data() + used);
        if (status == kResOK) {
            reads.push_back({&layer, used});
            used += area;
        }
        return status;
    };
    try {
        int32_t status = read(*mAltitude, kIdAltitude);
        if (status == kResOK) status = read(*mGround, kIdGround);
        const int32_t levels = version >= kLayersVersionUpperStorey ? 2 : 1;
        for (int32_t level = 1; level <= levels && status == kResOK; ++level) {
            LevelLayers& l = mLevels[level - 1];
            status = read(*l.floors, LevelId(level, kIdFloors));
            if (status == kResOK) status = read(*l.walls, LevelId(level, kIdWalls));
            if (status == kResOK) status = read(*l.objects, LevelId(level, kIdObjects));
            if (status == kResOK && version >= kLayersVersionFlags) {
                status = read(*l.flags, LevelId(level, kIdFlags));
            }
        }
        if (status == kResOK && version >= kLayersVersionGrass) {
            status = read(*mGrass, kIdGrass);
            if (status == kResOK) status = read(*mTargetGrass, kIdTargetGrass);
        }
        if (status != kResOK) return status;
        // A missing or unreadable pool or water layer does not fail the load;
        // the lot then simply has none, rather than keeping the previous lot's.
        if (version >= kLayersVersionPool) read(*mPool, kIdPool);
        if (version >= kLayersVersionWater) read(*mWater, kIdWater);
    } catch (const std::bad_alloc&) {
        return kResOutOfMemory;
    }

    // What the file does not hold starts empty; the rest comes from the file.
    mPool->Fill(kNoPool);
    mWater->Fill(kNoPool);
    for (LevelLayers& l : mLevels) {
        if (version < kLayersVersionFlags) l.flags->Fill(0);
        l.light->Clear();
    }
    if (version < kLayersVersionUpperStorey) {
        mLevels[1].floors->Fill(0);
        mLevels[1].walls->Fill(0);
        mLevels[1].objects->Fill(0);
    }
    for (const Read& r : reads) std::memcpy(r.layer->Data(), scratch.data() + r.offset, r.layer->CellAreaBytes());
    // The post layer is not stored: it follows from the loaded walls, and the
    // wall display is rebuilt from it.
    for (LevelLayers& l : mLevels)
        for (int32_t x = 0; x < l.posts->Rows(); ++x)
            ComputeWallPostRow(*l.walls, x, mSize, l.posts->Row(x), l.posts->Columns());
    mWallManager->RequestRebuild(0);
    if (version < kLayersVersionGrass) GenerateGrass(0);
    NameLayers();
    return kResOK;
}
