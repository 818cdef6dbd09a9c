// The world's layers in the house file: one 'Arry' resource per layer, with
// the ids and the file versions at which each layer joined the file. Rooms,
// wall posts, roofs and light tables are not kept; they are recomputed.
#include "resfile/iResFile.h"
#include "world/cFixedWorld.h"

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
    int32_t status = mAltitude->Load(file, kArryType, kIdAltitude);
    if (status != kResOK) return status;
    status = mGround->Load(file, kArryType, kIdGround);
    if (status != kResOK) return status;
    for (int32_t level = 1; level <= 2; ++level) {
        LevelLayers& l = mLevels[level - 1];
        if (level == 2 && version < kLayersVersionUpperStorey) {
            l.floors->Fill(0);
            l.walls->Fill(0);
            l.objects->Fill(0);
            l.flags->Fill(0);
            continue;
        }
        if ((status = l.floors->Load(file, kArryType, LevelId(level, kIdFloors))) != kResOK) return status;
        if ((status = l.walls->Load(file, kArryType, LevelId(level, kIdWalls))) != kResOK) return status;
        if ((status = l.objects->Load(file, kArryType, LevelId(level, kIdObjects))) != kResOK) return status;
        if (version >= kLayersVersionFlags) {
            if ((status = l.flags->Load(file, kArryType, LevelId(level, kIdFlags))) != kResOK) return status;
        } else {
            l.flags->Fill(0);
        }
    }
    for (LevelLayers& l : mLevels) l.light->Clear();
    if (version < kLayersVersionGrass) {
        GenerateGrass(0);
    } else {
        if ((status = mGrass->Load(file, kArryType, kIdGrass)) != kResOK) return status;
        if ((status = mTargetGrass->Load(file, kArryType, kIdTargetGrass)) != kResOK) return status;
    }
    // A missing or unreadable pool or water layer does not fail the load; the
    // lot then simply has none, rather than keeping the previous lot's.
    if (version < kLayersVersionPool || mPool->Load(file, kArryType, kIdPool) != kResOK) mPool->Fill(kNoPool);
    if (version < kLayersVersionWater || mWater->Load(file, kArryType, kIdWater) != kResOK) mWater->Fill(kNoPool);
    NameLayers();
    return kResOK;
}
