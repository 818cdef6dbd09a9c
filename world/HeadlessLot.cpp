#include "world/HeadlessLot.h"

#include "gamedata/Neighborhood.h"
#include "gamedata/ObjectDefinition.h"
#include "platform/FileSystem.h"
#include "resfile/IFFResFile2.h"
#include "resfile/ResStatus.h"
#include "simulation/GameServices.h"
#include "simulation/ObjectModule.h"
#include "simulation/TreeTableServices.h"
#include "gamedata/LotInterfaces.h"
#include "simulation/people/AnimNameTables.h"
#include "simulation/people/CharacterLibrary.h"
#include "simulation/people/HeadlessGait.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/cSimulator.h"
#include "simulation/people/cXPerson.h"
#include "world/GameStartupServices.h"
#include "world/LotHouseParts.h"

namespace tova {

namespace {

// The room word of an object outdoors.
constexpr int16_t kOutdoors = -5;

// The people's clock is the simulator's tick count.
class SimulatorClock : public iPeopleHost {
 public:
  explicit SimulatorClock(cSimulator& simulator) : simulator_(simulator) {}
  uint32_t GetTickCount() const override { return static_cast<uint32_t>(simulator_.GetTickCount()); }

 private:
  cSimulator& simulator_;
};

}  // namespace

HeadlessLot::HeadlessLot(std::string root) : root_(std::move(root)) {
  if (!root_.empty() && root_.back() != '/' && root_.back() != '\\') root_ += '/';
  tables_ = std::make_unique<TreeTableServices>(nullptr, &catalogue_);
  catalogue_.SetServices(tables_.get());
  catalogue_.Init(root_);
  house_ = std::make_unique<House>(nullptr, [this](int32_t size) {
    auto made = std::make_unique<cLotHouseParts>(size, &catalogue_);
    parts_ = made.get();
    return made;
  }, &catalogue_);
  house_->CreateWorld();
  context_.house = house_.get();
  context_.simulator = &parts_->GetSimulator();
  context_.objectFolder = &catalogue_;
  gGlobalContext = &context_;
  GameServices::Get().simulator = &parts_->GetSimulator();
  motion_.SetRooms(house_->Rooms());
  SetPersonMotion(&motion_);
}

HeadlessLot::~HeadlessLot() {
  // The people go with the house before the library that made their bodies.
  house_.reset();
  if (context_.neighborhood == neighborhood_.get()) context_.neighborhood = nullptr;
  neighborhood_.reset();
  if (library_ != nullptr) {
    if (GetCharacterLibrary() == library_) SetCharacterLibrary(nullptr);
    AnimNameTables::Instance().Free();
    ObjectModule::SetPersonMaker(nullptr);
    SetPeopleHost(nullptr);
  }
  if (globalFile_ != nullptr) globalFile_->Close();
  SetPersonMotion(nullptr);
  GameServices::Get().simulator = nullptr;
  if (gGlobalContext == &context_) gGlobalContext = nullptr;
}

ObjectModule& HeadlessLot::Module() { return parts_->GetModule(); }
cSimulator& HeadlessLot::Simulator() { return parts_->GetSimulator(); }

bool HeadlessLot::Load(const std::string& path, std::string& error) {
  // The people a saved lot names are the neighbourhood's characters: their
  // definitions come with it, when the data root has one.
  if (neighborhood_ == nullptr && platform::FileExists(root_ + "UserData/Neighborhood.iff") &&
      !OpenNeighborhood(error))
    return false;
  IFFResFile2 file;
  if (file.Open(path) != kResOK) {
    error = "cannot open " + path;
    return false;
  }
  const int32_t status = house_->Load(file, &version_);
  file.Close();
  if (status != 0) {
    error = path + " holds no lot that loads (" + std::to_string(status) + ")";
    return false;
  }
  // The rooms may have changed with the lot: the motion reads the new ones.
  motion_.SetRooms(house_->Rooms());
  return true;
}

void HeadlessLot::FindRooms() {
  parts_->GetWorld().RecomputeRooms(0);
  iLotWorld* world = Module().GetWorld();
  for (cXObject* o = Module().FirstObject(); o != nullptr; o = o->GetNext()) {
    if (!o->IsOnLot() || o->GetContainer() != nullptr || world == nullptr) continue;
    const int16_t room = world->GetRoomId(o->GetTile());
    o->SetData(kDataRoom, room != 0 ? room : kOutdoors);
  }
}

bool HeadlessLot::UseHeadlessGait() {
  if (!LoadNameTables()) return false;
  gait_ = std::make_unique<HeadlessGait>(HeadlessGait::StandardMeasures(AnimNameTables::Instance()));
  library_ = gait_.get();
  SetCharacterLibrary(library_);
  return true;
}

bool HeadlessLot::UseCharacterLibrary(iCharacterLibrary& library) {
  if (!LoadNameTables()) return false;
  library_ = &library;
  SetCharacterLibrary(library_);
  return true;
}

bool HeadlessLot::LoadNameTables() {
  globalFile_ = std::make_unique<IFFResFile2>();
  if (globalFile_->Open(root_ + "GameData/Global/Global.iff") != kResOK) {
    globalFile_.reset();
    return false;
  }
  cXPerson::Register();
  peopleHost_ = std::make_unique<SimulatorClock>(Simulator());
  SetPeopleHost(peopleHost_.get());
  AnimNameTables::Instance().Load(globalFile_.get());
  return true;
}

cXObject* HeadlessLot::AddObject(uint32_t guid, int32_t x, int32_t y, int32_t level, std::string& error,
                                 const std::function<void(cXObject&)>& prepare) {
  ObjectDefinition* definition = catalogue_.FindByGUID(guid);
  if (definition == nullptr) {
    error = "no object definition with GUID " + std::to_string(guid);
    return nullptr;
  }
  const int16_t id = Module().CreateObject(definition);
  cXObject* o = id != 0 ? Module().GetObjectById(id) : nullptr;
  if (o == nullptr) {
    error = "the object with GUID " + std::to_string(guid) + " cannot be made";
    return nullptr;
  }
  if (prepare) prepare(*o);
  const FinePoint at = TileLocation::At(static_cast<int8_t>(x), static_cast<int8_t>(y), static_cast<int8_t>(level)).GetCenterPoint();
  if (!o->CanPlace(at, level, nullptr, 0)) {
    error = "tile " + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(level) +
            " does not take " + definition->GetName() + " (code " + std::to_string(cXObject::PlaceFailureCode()) + ")";
    Module().DeleteObject(id);
    return nullptr;
  }
  o->Place(at, level, nullptr, 0);
  return o;
}

cXPerson* HeadlessLot::AddPerson(int32_t x, int32_t y, int32_t level, std::string& error) {
  cXObject* o = AddObject(ObjectFolder::kTemplatePersonGuid, x, y, level, error);
  auto* person = o != nullptr && o->IsPerson() ? static_cast<cXPerson*>(o) : nullptr;
  if (o != nullptr && person == nullptr) error = "the template person is no person";
  if (person != nullptr && person->Animator().GetBody() == nullptr) person->Animator().BuildBody();
  return person;
}

void HeadlessLot::Tick() {
  // Any library's bodies play on the way the gait's do.
  if (library_ != nullptr) HeadlessGait::Advance(Module());
  Simulator().Tick();
}

bool HeadlessLot::LoadFamily(int32_t number, std::string& error) {
  const std::string path = root_ + "UserData/Neighborhood.iff";
  // The neighbourhood would make a missing file: a run only reads.
  if (!platform::FileExists(path)) {
    error = "no neighbourhood file " + path;
    return false;
  }
  if (!OpenNeighborhood(error)) return false;
  const Family* family = number > 0 ? neighborhood_->FindFamily(number) : nullptr;
  if (family == nullptr) {
    error = "no family " + std::to_string(number) + " in " + path;
    return false;
  }
  const int32_t lot = family->lot;
  if (lot < 1 || lot > Neighborhood::kLotCount) {
    error = "family " + std::to_string(number) + " lives on no lot";
    return false;
  }
  if (const int status = neighborhood_->LoadLot(lot, number); status != 0) {
    error = "lot " + std::to_string(lot) + " of family " + std::to_string(number) + " does not load (" +
            std::to_string(status) + ")";
    return false;
  }
  familyLot_ = lot;
  motion_.SetRooms(house_->Rooms());
  // The lot load reads the families again.
  family = neighborhood_->FindFamily(number);
  return family != nullptr && PlaceMembers(*family, error);
}

bool HeadlessLot::OpenNeighborhood(std::string& error) {
  const std::string path = root_ + "UserData/Neighborhood.iff";
  neighborhoodServices_ = std::make_unique<cLotNeighborhoodServices>(catalogue_);
  neighborhoodServices_->SetParts(parts_);
  neighborhood_ = std::make_unique<Neighborhood>(*neighborhoodServices_);
  neighborhood_->SetPath(path.c_str());
  neighborhood_->SetHouse(house_.get());
  context_.neighborhood = neighborhood_.get();
  if (const int status = neighborhood_->Init(); status != 0) {
    error = path + " does not load (" + std::to_string(status) + ")";
    return false;
  }
  return true;
}

bool HeadlessLot::PlaceMembers(const Family& family, std::string& error) {
  iLotWorld* world = Module().GetWorld();
  const int32_t size = world != nullptr ? world->GetSize() : 0;
  for (const int32_t guid : family.Members()) {
    bool present = false;
    for (cXObject* o = Module().FirstObject(); o != nullptr && !present; o = o->GetNext()) {
      present = o->IsPerson() && o->GetDefinition() != nullptr &&
                static_cast<int32_t>(o->GetDefinition()->GetGUID()) == guid;
    }
    if (present) continue;
    ObjectDefinition* definition = catalogue_.FindByGUID(static_cast<uint32_t>(guid));
    const int16_t id = definition != nullptr ? Module().CreateObject(definition) : 0;
    cXObject* o = id != 0 ? Module().GetObjectById(id) : nullptr;
    if (o == nullptr || !o->IsPerson()) {
      error = "member " + std::to_string(guid) + " of family " + std::to_string(family.number) + " cannot be made";
      return false;
    }
    FreeLocationRequest request;
    request.fixedStart = true;
    request.start = TileLocation::At(static_cast<int8_t>(size / 2), static_cast<int8_t>(size - 2), 1).GetCenterPoint();
    FinePoint at;
    if (!o->FindFreeLocation(request, at) || !o->CanPlace(at, 1, nullptr, 0)) {
      error = "no place at the lot's entry for member " + std::to_string(guid);
      Module().DeleteObject(id);
      return false;
    }
    o->Place(at, 1, nullptr, 0);
    auto* person = static_cast<cXPerson*>(o);
    if (person->Animator().GetBody() == nullptr) person->Animator().BuildBody();
  }
  FindRooms();
  return true;
}

}  // namespace tova
