// The house's parts over this layer and the ones below: a turning world of
// layers, the object module on it and the simulator that runs them, each
// offered to the house through the lot interfaces.
#pragma once

#include <memory>

#include "gamedata/HouseParts.h"
#include "simulation/ObjectModule.h"
#include "simulation/cSimulator.h"
#include "world/LotWorld.h"
#include "world/cRotatableWorld.h"

namespace tova {
class ObjectFolder;
}

// The world as the house reads it: its size, its layers in the lot file and
// its build value.
class cHouseLotWorld : public cLotWorld {
public:
    using cLotWorld::cLotWorld;
    bool Resize(int32_t size) override { return World().ResizeLayers(size); }
    int32_t LoadLayers(iResFile& file, int32_t version) override { return World().LoadLayers(file, version); }
    int32_t SaveLayers(iResFile& file, int32_t version) override { return World().SaveLayers(file, version); }
    int32_t GetBuildValue(bool& builtSomething) const override;
    bool HasUpperLevel() const override;
};

// The object module as the house and its rooms read it.
class cHouseLotObjects : public tova::iLotObjects {
public:
    cHouseLotObjects(tova::ObjectModule& module, const cFixedWorld& world) : mModule(module), mWorld(world) {}
    void SetRooms(tova::RoomManager* rooms) { mRooms = rooms; }

    void GetObjectsOnTile(TileLocation tile, std::vector<int16_t>& out) const override;
    int16_t GetObjectWord(int16_t object, int32_t index) const override;
    int32_t GetDefinitionType(int16_t object) const override;
    tova::LotPoint3 GetWorldPosition(int16_t object) const override;
    TileLocation GetTile(int16_t object) const override;
    void GetPersons(std::vector<tova::LotPersonPlace>& out) const override;

    int32_t LoadObjects(iResFile& file, int32_t version) override { return mModule.Load(file, version); }
    int32_t SaveObjects(iResFile& file, int32_t version) override { return mModule.Save(file, version); }
    void PrepareForLoad() override { mModule.Clear(); }
    void Regrid(int32_t size) override { mModule.TrimToLot(size); }
    tova::LotObjectStatistics GetStatistics() const override;
    int32_t CountObjects() const override { return mModule.ObjectCount(); }

private:
    bool IsIndoors(const tova::cXObject& object) const;

    tova::ObjectModule& mModule;
    const cFixedWorld& mWorld;
    tova::RoomManager* mRooms = nullptr;
};

class cLotHouseParts : public tova::HouseParts {
public:
    cLotHouseParts(int32_t size, tova::ObjectFolder* catalogue);
    ~cLotHouseParts() override;

    tova::iLotWorld& World() override { return mLotWorld; }
    tova::iLotObjects& Objects() override { return mLotObjects; }
    tova::iLotSimulator& Simulator() override { return mSimulator; }
    void SetRoomManager(tova::RoomManager* rooms) override;

    cRotatableWorld& GetWorld() { return *mWorld; }
    tova::ObjectModule& GetModule() { return mModule; }
    tova::cSimulator& GetSimulator() { return mSimulator; }

    // A factory for houses over these parts.
    static tova::HousePartsFactory Factory(tova::ObjectFolder* catalogue);

private:
    // The world moves the lot's objects with its layers.
    class ObjectShifter : public iWorldNeighbours {
    public:
        void ShiftObjects(int32_t dx, int32_t dy) override {
            if (module) module->Reposition(dx, dy);
        }
        tova::ObjectModule* module = nullptr;
    };

    ObjectShifter mShifter;  // before the world, which holds it
    std::unique_ptr<cRotatableWorld> mWorld;
    cHouseLotWorld mLotWorld;
    tova::ObjectModule mModule;
    cHouseLotObjects mLotObjects;
    tova::cSimulator mSimulator;
};
