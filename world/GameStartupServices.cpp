#include "world/GameStartupServices.h"

#include "gamedata/GlobalContext.h"
#include "gamedata/House.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectFolder.h"
#include "simulation/people/LivePersonMotion.h"
#include "simulation/people/cXPerson.h"
#include "world/LotHouseParts.h"

namespace {

// The simulator global that marks the tutorial's lot.
constexpr int32_t kSimTutorialGlobal = 26;

}  // namespace

int32_t cLotNeighborhoodServices::GetMoney() { return mParts ? mParts->GetSimulator().GetFunds() : 0; }

void cLotNeighborhoodServices::SetMoney(int32_t money) {
    if (mParts) mParts->GetSimulator().SetFunds(money);
}

tova::LotValueFigures cLotNeighborhoodServices::GetLotFigures() {
    if (!mParts) return {};
    const tova::cSimulator& sim = mParts->GetSimulator();
    return {sim.GetFigure(1), sim.GetFigure(2), sim.GetFigure(0)};
}

bool cLotNeighborhoodServices::IsTutorialLot() {
    return mParts && mParts->GetSimulator().GetGlobal(kSimTutorialGlobal) != 0;
}

void cLotNeighborhoodServices::StartFirstDay(int32_t hour) {
    if (!mParts) return;
    mParts->GetSimulator().SetHour(hour);
    mParts->GetSimulator().Unpause();
}

std::vector<tova::LotPersonObject> cLotNeighborhoodServices::GetLotPersonObjects() {
    std::vector<tova::LotPersonObject> out;
    if (!mParts) return out;
    tova::ObjectModule& module = mParts->GetModule();
    for (int16_t id = 1; id <= module.IdCount(); ++id) {
        tova::cXObject* o = module.GetObjectById(id);
        if (o == nullptr || !o->IsPerson() || o->GetDefinition() == nullptr) continue;
        const tova::ObjectDefinition& d = *o->GetDefinition();
        const auto mark = mVisitorMarks.find(id);
        out.push_back({id, static_cast<int32_t>(d.GetGUID()), d.GetKind() == tova::ObjectFolder::kCharacterFolder,
                       mark != mVisitorMarks.end() ? mark->second : int16_t{0}});
    }
    return out;
}

void cLotNeighborhoodServices::SetVisitorMark(int16_t object, int16_t mark) { mVisitorMarks[object] = mark; }

void cLotNeighborhoodServices::RemoveLotObject(int16_t object) {
    if (mParts) mParts->GetModule().DeleteObject(object);
    mVisitorMarks.erase(object);
}

bool cLotNeighborhoodServices::HasObjectOfGuid(int32_t guid) {
    if (!mParts) return false;
    tova::ObjectModule& module = mParts->GetModule();
    for (int16_t id = 1; id <= module.IdCount(); ++id) {
        tova::cXObject* o = module.GetObjectById(id);
        if (o && o->GetDefinition() && static_cast<int32_t>(o->GetDefinition()->GetGUID()) == guid) return true;
    }
    return false;
}

void cLotNeighborhoodServices::RemoveLiveObjectsOf(int32_t guid) {
    if (!mParts) return;
    tova::ObjectModule& module = mParts->GetModule();
    for (int16_t id = 1; id <= module.IdCount(); ++id) {
        tova::cXObject* o = module.GetObjectById(id);
        if (o && o->GetDefinition() && static_cast<int32_t>(o->GetDefinition()->GetGUID()) == guid)
            RemoveLotObject(id);
    }
}

void cLotNeighborhoodServices::ClearLotForEviction(bool) {
    for (const tova::LotPersonObject& p : GetLotPersonObjects()) RemoveLotObject(p.object);
}

namespace {
// People walk through the route walk over the loaded house's rooms.
tova::LivePersonMotion gPersonMotion;
}  // namespace

void cGameStartupServices::RegisterObjectClasses() {
    tova::cXPerson::Register();
    tova::SetPersonMotion(&gPersonMotion);
}

tova::HousePartsFactory cGameStartupServices::MakeHousePartsFactory(tova::ObjectFolder& catalogue) {
    return [this, &catalogue](int32_t size) {
        auto parts = std::make_unique<cLotHouseParts>(size, &catalogue);
        mParts = parts.get();
        if (mNeighborhood) mNeighborhood->SetParts(mParts);
        return std::unique_ptr<tova::HouseParts>(std::move(parts));
    };
}

std::unique_ptr<tova::NeighborhoodServices> cGameStartupServices::MakeNeighborhoodServices(
    tova::ObjectFolder& catalogue) {
    auto services = std::make_unique<cLotNeighborhoodServices>(catalogue);
    mNeighborhood = services.get();
    mNeighborhood->SetParts(mParts);
    return services;
}

void cGameStartupServices::PublishHouse(tova::House& house, tova::GlobalContext& context) {
    gPersonMotion.SetRooms(house.Rooms());
    context.simulator = mParts ? &mParts->GetSimulator() : nullptr;
}
