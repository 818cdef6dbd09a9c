// Loading a lot into the one house, saving it, evicting its family and the
// tutorial state: the neighbourhood's side of moving between lots.
#include <algorithm>
#include <cstdint>

#include "gamedata/FamilyExport.h"
#include "gamedata/House.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodConstants.h"
#include "gamedata/NeighborhoodRecords.h"
#include "resfile/IFFResFile2.h"
#include "resfile/ReconObject.h"

namespace tova {
namespace {

// The house reads its tuning from the neighbourhood's table.
void TuneHouse(House& house) {
  const NeighborhoodConstants& c = NeighborhoodConstants::Instance();
  HouseTuning& t = house.Tuning();
  t.layoutHistoryFill = static_cast<int32_t>(c.layoutHistoryFill);
  t.upkeepPenaltyBroken = static_cast<int32_t>(c.upkeepPenaltyBroken);
  t.upkeepPenaltyDirty = static_cast<int32_t>(c.upkeepPenaltyDirty);
  t.yardScoreMultiplier = c.yardScoreMultiplier;
  t.houseSizeWeight = c.houseSizeWeight;
  t.architectureValueMultiplier = c.architectureValueMultiplier;
}

}  // namespace

int Neighborhood::LoadHouseFile(int32_t lot, int32_t& version, bool& imported) {
  FixedPath path;
  GetHouseFileName(lot, path);
  if (!services_.FileExists(path.c_str())) return kLotFileMissing;
  IFFResFile2 file;
  if (file.Open(path.c_str()) != 0) return kLotFileMissing;
  version = 0;
  const int status = house_->Load(file, &version);
  imported = file.CountResources(kExportInfoChunk) > 0;
  file.Close();
  return status;
}

void Neighborhood::SortNearbyLots(int32_t lot) {
  nearbyLots_.clear();
  const auto count = static_cast<int32_t>(lotPositions_.size());
  if (lot < 0 || lot >= count) return;
  const std::pair<int32_t, int32_t> here = lotPositions_[static_cast<size_t>(lot)];
  auto distance = [&](int32_t other) {
    const std::pair<int32_t, int32_t> there = lotPositions_[static_cast<size_t>(other)];
    const int64_t dx = int64_t{there.first} - here.first, dy = int64_t{there.second} - here.second;
    return dx * dx + dy * dy;
  };
  for (int32_t other = 1; other < count; ++other)
    if (other != lot) nearbyLots_.push_back(other);
  std::stable_sort(nearbyLots_.begin(), nearbyLots_.end(),
                   [&](int32_t a, int32_t b) { return distance(a) < distance(b); });
}

int Neighborhood::LoadLot(int32_t lot, int32_t moveIn) {
  if (house_ == nullptr || !house_->HasWorld() || lot < 0 || lot > kLotCount) return -1;
  int status = Init();
  if (status != 0) return status;
  // Families nobody belongs to any more go (their lots with them).
  for (size_t i = 0; i < families_.size();) {
    Family* f = families_[i].get();
    if (f->number != 0 && f->GetMemberCount() == 0) {
      f->lot = 0;
      RemoveFamily(f);
      continue;
    }
    ++i;
  }
  if (moveIn > 0 && lot != 0) {
    Family* f = FindFamily(moveIn);
    if (f == nullptr) return -1;
    status = MoveFamilyToLot(*f, lot);
    if (status != 0) return status;
  }

  nearbyLots_.clear();
  Family* none = FindFamily(0);
  house_->SetCurrentFamily(none);
  TuneHouse(*house_);
  int32_t version = 0;
  bool imported = false;
  status = LoadHouseFile(lot, version, imported);
  if (status != 0) return status;

  const std::vector<LotPersonObject> loaded = services_.GetLotPersonObjects();
  currentLot_ = lot;
  Family* family = lot != 0 ? FindFamilyByHouse(lot) : nullptr;
  if (family == nullptr) family = none;
  house_->SetCurrentFamily(family);

  if (moveIn > 0 && lot != 0 && family != none) {
    family->houseValue = GetHouseValue();
    family->funds -= family->houseValue;
  }
  iLotSimulator& sim = house_->Simulator();
  sim.SetGlobal(kSimFamily, static_cast<int16_t>(family->number));
  sim.SetGlobal(kSimLot, static_cast<int16_t>(lot));
  sim.SetGlobal(kSimApplicationSwitch, services_.IsApplicationSwitchOn() ? 1 : 0);
  services_.SetMoney(family->number != 0 ? family->funds : 0);

  if (lot != 0) {
    SortNearbyLots(lot);
  } else {
    services_.PrepareEmptyLot();
  }
  services_.FinishLotLoad(version);

  // A player's character without a family stays only on its own lot.
  for (const LotPersonObject& p : services_.GetLotPersonObjects()) {
    if (!p.userCharacter) continue;
    const Neighbor* n = FindNeighborByGUID(p.guid);
    const int16_t ownFamily = n != nullptr ? n->personData[kPersonDataFamily] : 0;
    const int16_t ownLot = n != nullptr ? n->personData[kPersonDataLot] : 0;
    if (ownFamily == 0 && ownLot != lot) services_.RemoveLotObject(p.object);
  }

  // The neighbourhood view, and the tutorial's lot, get the tutorial's
  // controller while the tutorial is not done.
  const bool tutorialOver = services_.IsApplicationSwitchOn() || settings_[kSettingTutorialState] >= 3;
  if (!tutorialOver && (lot == 0 || services_.IsTutorialLot()) && !services_.HasObjectOfGuid(kTutorialControllerGuid))
    services_.CreateObjectOfGuid(kTutorialControllerGuid);

  if (lot != 0 && family->number != 0 && (family->flags & Family::kFlagFirstVisit) != 0) {
    family->flags &= ~Family::kFlagFirstVisit;
    services_.StartFirstDay(static_cast<int32_t>(NeighborhoodConstants::Instance().newFamilyStartHour));
    house_->ResetLayoutHistory();
    services_.RunLotEvent("reset lot");
  }

  RecomputeVisitorMarks();

  // Visitors whose family has no lot of its own left with it.
  for (const LotPersonObject& p : loaded) {
    if (p.visitorMark == 0) continue;
    const Neighbor* n = FindNeighborByGUID(p.guid);
    const Family* of = n != nullptr ? FindFamily(n->personData[kPersonDataFamily]) : nullptr;
    if (of != nullptr && of->number != 0 && of->lot == 0) services_.RemoveLotObject(p.object);
  }

  if (imported) services_.RunLotEvent("import lot");
  services_.Broadcast(kCommandLotLoaded, 0);
  return status;
}

void Neighborhood::RecomputeVisitorMarks() {
  const Family* family = house_ != nullptr ? house_->GetCurrentFamily() : nullptr;
  for (const LotPersonObject& p : services_.GetLotPersonObjects()) {
    if (family != nullptr && family->number != 0 && family->HasMember(p.guid)) {
      services_.SetVisitorMark(p.object, 0);
    } else {
      services_.SetVisitorMark(p.object, p.visitorMark != 0 ? p.visitorMark : 1);
    }
  }
}

int Neighborhood::SaveCurrentLot() {
  if (house_ == nullptr || !house_->HasWorld()) return -1;
  if (Family* family = house_->GetCurrentFamily()) {
    if (family->number != 0) {
      family->funds = services_.GetMoney();
      family->flags &= ~Family::kFlagMoneyHeld;
    } else {
      family->funds = 0;
    }
  }
  FixedPath path;
  GetHouseFileName(currentLot_, path);
  const int status = house_->Save(path.c_str());
  // Characters that belong to nobody and nowhere go.
  std::vector<Neighbor*> homeless;
  for (auto& n : neighbors_)
    if (n && n->personData[kPersonDataFamily] == 0 && n->personData[kPersonDataLot] == 0) homeless.push_back(n.get());
  for (Neighbor* n : homeless) {
    auto definition = services_.FindPersonDefinition(n->guid);
    if (definition && definition->userCharacter) DeleteUserCharacter(n);
  }
  if (status != 0) return status;
  // A neighbourhood that failed to save is not reported as saved.
  return Save(saveVersion_);
}

int Neighborhood::ReturnToNeighborhood() {
  const int status = LoadLot(0, -1);
  currentLot_ = 0;
  services_.ResetPatternCatalogues();
  return status;
}

int Neighborhood::EvictLot(int32_t lot, bool clearBuilt) {
  if (currentLot_ != 0 || lot < 1 || lot > kLotCount) return -1;
  Family* living = FindFamilyByHouse(lot);
  if (living == nullptr && !clearBuilt) return -1;
  const int32_t evicted = living != nullptr ? living->number : -1;
  // Every step below reloads the families: they are found again by number.
  auto giveBack = [&] {
    if (Family* e = evicted >= 0 ? FindFamily(evicted) : nullptr) {
      e->lot = lot;
      Save(saveVersion_);
    }
  };
  if (living != nullptr) living->lot = 0;
  int status = Save(saveVersion_);
  if (status != 0) {
    if (living != nullptr) living->lot = lot;
    return status;
  }
  status = LoadLot(lot, -1);
  if (status != 0) {
    giveBack();
    return status;
  }
  Family* e = evicted >= 0 ? FindFamily(evicted) : nullptr;
  if (e != nullptr) {
    e->flags &= ~Family::kFlagMoneyHeld;
    services_.SetMoney(e->funds);
  }
  services_.RunLotEvent("evict lot");
  services_.ClearLotForEviction(clearBuilt);
  if (e != nullptr) e->funds = services_.GetMoney();
  services_.SetMoney(0);
  iLotSimulator& sim = house_->Simulator();
  sim.SetGlobal(kSimTutorial, 0);
  for (int32_t figure = 0; figure < 3; ++figure) sim.SetFigure(figure, 0);
  house_->ResetLayoutHistory();
  if (e != nullptr) {
    e->funds = GetFamilyWorth(*e);
    e->houseValue = 0;
  }
  services_.Broadcast(kCommandLotEvicted, 0);
  if (clearBuilt) {
    // One after another while deletions succeed.
    for (bool deleted = true; deleted;) {
      deleted = false;
      for (auto& n : neighbors_) {
        if (!n || n->personData[kPersonDataLot] != lot) continue;
        deleted = DeleteUserCharacter(n.get()) == 0;
        break;
      }
    }
  }
  services_.LotEvicted(lot);
  status = SaveCurrentLot();
  if (status != 0) giveBack();
  const int back = ReturnToNeighborhood();
  return status != 0 ? status : back;
}

int Neighborhood::SetTutorialState(int32_t n) {
  settings_[kSettingTutorialState] = static_cast<int16_t>(n + 1);
  settings_[kSettingTutorialLot] = 0;
  if (n == 0 && currentLot_ != 0 && house_ != nullptr && house_->HasWorld())
    house_->Simulator().SetGlobal(kSimTutorial, 0);
  IFFResFile2 file;
  int status = file.OpenWithFlags(path_.c_str(), iResFile::kOpenCreateMissing);
  if (status != 0) return status;
  NeighborhoodSettingsRecord settings(*this);
  status = ReconObject::SaveToResFile(settings, saveVersion_, file, 1);
  const int closed = file.Close();
  return status != 0 ? status : closed;
}

void Neighborhood::CancelTutorial() {
  services_.RunObjectTree(kTutorialControllerGuid, "cancel tutorial");
  services_.RemoveLiveObjectsOf(kTutorialControllerGuid);
}

}  // namespace tova
