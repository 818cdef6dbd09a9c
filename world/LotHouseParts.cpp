#include "world/LotHouseParts.h"

#include "gamedata/ObjectDefinition.h"
#include "gamedata/RoomManager.h"

int32_t cHouseLotWorld::GetBuildValue(bool& builtSomething) const {
    return const_cast<cHouseLotWorld*>(this)->World().ComputeValue(builtSomething);
}

bool cHouseLotWorld::HasUpperLevel() const {
    return const_cast<cHouseLotWorld*>(this)->World().UpperStoreyUsed();
}

void cHouseLotObjects::GetObjectsOnTile(TileLocation tile, std::vector<int16_t>& out) const {
    out.clear();
    std::vector<tova::cXObject*> cell;
    mModule.ObjectsInCell(tile, cell);
    for (tova::cXObject* o : cell) {
        out.push_back(o->GetId());
        for (int32_t n = 1; n <= o->SlotCount(); ++n) {
            if (const int16_t inSlot = o->GetSlotObject(n)) out.push_back(inSlot);
        }
    }
}

int16_t cHouseLotObjects::GetObjectWord(int16_t object, int32_t index) const {
    const tova::cXObject* o = mModule.GetObjectById(object);
    return o != nullptr && index >= 0 && index < tova::kObjectDataWords ? o->GetData(index) : 0;
}

int32_t cHouseLotObjects::GetDefinitionType(int16_t object) const {
    const tova::cXObject* o = mModule.GetObjectById(object);
    return o != nullptr && o->GetDefinition() != nullptr ? o->GetDefinition()->GetRecord().ObjectType() : 0;
}

tova::LotPoint3 cHouseLotObjects::GetWorldPosition(int16_t object) const {
    const tova::cXObject* o = mModule.GetObjectById(object);
    if (o == nullptr) return {};
    const FinePoint p = o->GetPosition();
    return {p.x / 16.0f, p.y / 16.0f, mWorld.GetAltitudeAt(p) + o->GetAltitude()};
}

TileLocation cHouseLotObjects::GetTile(int16_t object) const {
    const tova::cXObject* o = mModule.GetObjectById(object);
    return o != nullptr ? o->GetTile() : TileLocation{};
}

void cHouseLotObjects::GetPersons(std::vector<tova::LotPersonPlace>& out) const {
    out.clear();
    for (tova::cXObject* o = mModule.FirstObject(); o != nullptr; o = o->GetNext()) {
        if (!o->IsPerson()) continue;
        out.push_back({o->GetData(tova::kDataRoom), (o->GetStateFlags() & tova::kStateBeingDeleted) != 0});
    }
}

bool cHouseLotObjects::IsIndoors(const tova::cXObject& object) const {
    if (mRooms == nullptr || !object.IsOnLot()) return false;
    tova::Room* room = mRooms->FindRoom(object.GetData(tova::kDataRoom));
    return room != nullptr && !room->IsOutdoors();
}

// What the objects cost and are worth: every object on the lot but the
// persons counts.
tova::LotObjectStatistics cHouseLotObjects::GetStatistics() const {
    tova::LotObjectStatistics s;
    for (tova::cXObject* o = mModule.FirstObject(); o != nullptr; o = o->GetNext()) {
        const int32_t type = GetDefinitionType(o->GetId());
        if (type == 1) s.hasKind1 = true;
        if (type == 9) s.hasKind9 = true;
        if (o->IsPerson() || !o->IsOnLot()) continue;
        ++s.counted;
        s.valueTotal1 += o->GetData(tova::kDataValue);
        const int32_t worth = o->GetSaleValue();
        s.valueTotal2 += worth;
        (IsIndoors(*o) ? s.indoorValue : s.outdoorValue) += worth;
    }
    return s;
}

namespace {

WorldServices WithNeighbours(iWorldNeighbours* neighbours) {
    WorldServices services;
    services.neighbours = neighbours;
    return services;
}

}  // namespace

cLotHouseParts::cLotHouseParts(int32_t size, tova::ObjectFolder* catalogue)
    : mWorld(std::make_unique<cRotatableWorld>(size, WithNeighbours(&mShifter))),
      mLotWorld(*mWorld),
      mModule(catalogue),
      mLotObjects(mModule, *mWorld) {
    mShifter.module = &mModule;
    mModule.SetLot(&mLotWorld, nullptr);
    mSimulator.Reset(&mModule);
}

cLotHouseParts::~cLotHouseParts() {
    mModule.Clear();
    mSimulator.SetObjectModule(nullptr);
}

void cLotHouseParts::SetRoomManager(tova::RoomManager* rooms) {
    mWorld->SetRoomManager(rooms);
    mLotObjects.SetRooms(rooms);
}

tova::HousePartsFactory cLotHouseParts::Factory(tova::ObjectFolder* catalogue) {
    return [catalogue](int32_t size) -> std::unique_ptr<tova::HouseParts> {
        return std::make_unique<cLotHouseParts>(size, catalogue);
    };
}
