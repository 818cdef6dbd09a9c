// The start-up services of the game as far as the world layer knows them:
// the object classes a lot is made of, the house's parts over the world,
// the object module and the simulator, and the neighbourhood's view of that
// lot (money, the first day, the tutorial flag, the persons standing there).
// What lies above (palette, sounds, viewer, terrain) keeps the defaults
// until the layers that make them extend this.
#pragma once

#include <map>

#include "gamedata/NeighborhoodCatalogServices.h"
#include "gamedata/StartupServices.h"

class cLotHouseParts;

// The neighbourhood over the catalogue and the loaded lot's parts.
class cLotNeighborhoodServices : public tova::NeighborhoodCatalogServices {
public:
    using NeighborhoodCatalogServices::NeighborhoodCatalogServices;
    void SetParts(cLotHouseParts* parts) { mParts = parts; }

    int32_t GetMoney() override;
    void SetMoney(int32_t money) override;
    tova::LotValueFigures GetLotFigures() override;
    bool IsTutorialLot() override;
    void StartFirstDay(int32_t hour) override;
    std::vector<tova::LotPersonObject> GetLotPersonObjects() override;
    void SetVisitorMark(int16_t object, int16_t mark) override;
    void RemoveLotObject(int16_t object) override;
    bool HasObjectOfGuid(int32_t guid) override;
    void RemoveLiveObjectsOf(int32_t guid) override;
    // Every person leaves the lot (what was built stays: clearing it is the
    // build layers' work).
    void ClearLotForEviction(bool clearBuilt) override;

private:
    cLotHouseParts* mParts = nullptr;
    // Marks by object id: 0 a member of the lot's family, else a visitor.
    std::map<int16_t, int16_t> mVisitorMarks;
};

class cGameStartupServices : public tova::StartupServices {
public:
    void RegisterObjectClasses() override;
    tova::HousePartsFactory MakeHousePartsFactory(tova::ObjectFolder& catalogue) override;
    std::unique_ptr<tova::NeighborhoodServices> MakeNeighborhoodServices(tova::ObjectFolder& catalogue) override;
    void PublishHouse(tova::House& house, tova::GlobalContext& context) override;

    cLotHouseParts* GetParts() const { return mParts; }

private:
    cLotHouseParts* mParts = nullptr;
    cLotNeighborhoodServices* mNeighborhood = nullptr;
};
