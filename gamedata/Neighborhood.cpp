#include "gamedata/Neighborhood.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "gamedata/House.h"
#include "gamedata/NeighborhoodConstants.h"
#include "gamedata/NeighborhoodRecords.h"
#include "resfile/IFFResFile2.h"
#include "resfile/PathHelpers.h"
#include "resfile/ReconObject.h"
#include "resfile/ReconStream.h"

namespace tova {
namespace {

constexpr const char* kTempFileName = "NTemp.iff";
constexpr const char* kSwapFileName = "TEMP";
constexpr const char* kCharactersFolder = "Characters/";

using SettingsRecord = NeighborhoodSettingsRecord;
using NeighborsRecord = NeighborhoodNeighborsRecord;

}  // namespace

Neighborhood::Neighborhood(NeighborhoodServices& services) : services_(services) {}
Neighborhood::~Neighborhood() = default;

void Neighborhood::GetDirectory(FixedString& out) const { GetDirectoryOfPath(path_.c_str(), out); }

void Neighborhood::GetHouseFileName(int32_t lot, FixedString& out) const {
  GetDirectory(out);
  char name[32];
  std::snprintf(name, sizeof name, "Houses/House%02d.iff", static_cast<int>(lot));
  out.Append(name);
}

bool Neighborhood::ReadLotPositions(const std::string& path) {
  std::ifstream in(path);
  if (!in) return false;
  lotPositions_.clear();
  // Line n places lot n: a line that is not two integers ends the list
  // there, so no later lot takes a neighbour's position.
  std::string line;
  while (std::getline(in, line)) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    std::istringstream fields(line);
    int32_t x = 0, y = 0;
    std::string rest;
    if (!(fields >> x >> y) || (fields >> rest)) return false;
    lotPositions_.emplace_back(x, y);
  }
  return true;
}

void Neighborhood::Clear() {
  neighbors_.clear();
  families_.clear();
  missingCharacters_.clear();
}

void Neighborhood::ReconstituteSettings(ReconStream& s, int32_t version) {
  if (version >= kFirstFullSettingsVersion) {
    s.SerializeShorts(settings_, kSettingCount);
  } else {
    s.SerializeShorts(settings_, 1);
  }
}

void Neighborhood::ReconstituteNeighbors(ReconStream& s, int32_t version) {
  auto count = static_cast<int32_t>(neighbors_.size());
  s.SerializeLongs(&count, 1);
  if (s.IsReading()) {
    // Every slot holds at least its presence word.
    if (!s.CheckCount(count, 4) || count > 0x7FFF) {
      s.Fail();
      return;
    }
    neighbors_.clear();
    neighbors_.resize(static_cast<size_t>(count));
  }
  for (int32_t i = 0; i < count; ++i) {
    auto& slot = neighbors_[static_cast<size_t>(i)];
    int32_t present = slot ? 1 : 0;
    s.SerializeLongs(&present, 1);
    if (s.Failed()) return;
    if (present == 0) continue;
    if (present != 1) {
      s.Fail();
      return;
    }
    if (s.IsReading()) slot = std::make_unique<Neighbor>();
    slot->Reconstitute(s, version);
    if (s.Failed()) return;
    // The id is the slot; a stored id that disagrees cannot be trusted.
    slot->id = static_cast<int16_t>(i + 1);
  }
}

int Neighborhood::ReadFile(iResFile& file) {
  SettingsRecord settings(*this);
  int status = ReconObject::LoadFromResFile(settings, file, 1);
  FixedPath folder;
  GetDirectory(folder);
  services_.RegisterCharacterFolder(std::string(folder.c_str()) + kCharactersFolder);
  if (status == kResNotFound) return kResNotFound;
  if (status != 0) return status;

  NeighborsRecord neighbors(*this);
  status = ReconObject::LoadFromResFile(neighbors, file, 1);
  if (status != 0 && status != kResNotFound) return status;
  for (auto& slot : neighbors_) {
    if (!slot) continue;
    auto definition = services_.FindPersonDefinition(slot->guid);
    if (!definition) {
      missingCharacters_ += slot->name.c_str();
      missingCharacters_ += ", ";
      FreeNeighbor(slot.get());
      continue;
    }
    if (slot->ReadRecordVersion() < 2 && slot->name.Length() == 0) slot->name.Assign(definition->name.c_str());
  }
  return services_.ReadObjectTypeTable(file);
}

int Neighborhood::Init() {
  NeighborhoodConstants::Instance().EnsureLoaded();
  Clear();
  IFFResFile2 file;
  int status = file.OpenWithFlags(path_.c_str(), iResFile::kOpenCreateMissing);
  if (status != 0) return status;
  status = ReadFile(file);
  if (status == kResNotFound) status = 0;
  if (status == 0) {
    const int count = file.CountResources(kFamilyChunk);
    std::vector<ResId> ids;
    for (int i = 1; i <= count; ++i) {
      MemHandle h = file.GetIndexedResource(kFamilyChunk, i, nullptr);
      ResId id = -1;
      if (h) {
        file.GetId(h, id);
        file.ReleaseResource(h);
      }
      // A number stands for one family: a second chunk under it (another
      // variant) is not a second family.
      if (id >= 0 && std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
    }
    for (ResId id : ids) {
      auto family = std::make_unique<Family>();
      if (!family->Load(file, id)) {
        status = kResBadData;
        break;
      }
      // Members whose person is gone are dropped.
      std::vector<int32_t> gone;
      for (int32_t guid : family->Members())
        if (FindNeighborByGUID(guid) == nullptr) gone.push_back(guid);
      for (int32_t guid : gone) family->RemoveMember(guid);
      families_.push_back(std::move(family));
    }
  }
  file.Close();
  if (status != 0) {
    // A damaged file is refused whole; nothing half-read stays behind.
    Clear();
    return status;
  }
  if (FindFamily(0) == nullptr) {
    auto family = std::make_unique<Family>(0);
    family->SetName("Default");
    families_.push_back(std::move(family));
  }
  SortFamilies();
  for (const PersonDefinitionInfo& definition : services_.ListPersonDefinitions())
    if (FindNeighborByGUID(definition.guid) == nullptr) AddNeighbor(definition);
  RebuildFamilyNumbers();
  return 0;
}

void Neighborhood::SortFamilies() {
  std::stable_sort(families_.begin(), families_.end(), [](const auto& a, const auto& b) {
    if (a->sortKey != b->sortKey) return a->sortKey > b->sortKey;
    return a->number > b->number;
  });
}

void Neighborhood::RebuildFamilyNumbers() {
  for (auto& n : neighbors_)
    if (n) n->personData[kPersonDataFamily] = 0;
  for (auto& family : families_) {
    for (int32_t guid : family->Members())
      if (Neighbor* n = FindNeighborByGUID(guid)) n->personData[kPersonDataFamily] = static_cast<int16_t>(family->number);
  }
}

int32_t Neighborhood::GetHouseValue() {
  LotValueFigures f = services_.GetLotFigures();
  if (house_ != nullptr && house_->HasWorld()) {
    const iLotSimulator& sim = house_->Simulator();
    f = {sim.GetFigure(1), sim.GetFigure(2), sim.GetFigure(0)};
  }
  // In single precision, as the tuning value is kept: 1000 x 0.7 is 700.
  const float architecture = static_cast<float>(f.b) * NeighborhoodConstants::Instance().architectureValueMultiplier;
  return static_cast<int32_t>(architecture) + f.a + f.c;
}

int Neighborhood::WriteFile(iResFile& file, int32_t version) {
  SettingsRecord settings(*this);
  int status = ReconObject::SaveToResFile(settings, version, file, 1);
  if (status != 0) return status;
  NeighborsRecord neighbors(*this);
  status = ReconObject::SaveToResFile(neighbors, version, file, 1);
  if (status != 0) return status;
  for (auto& family : families_) {
    if (currentLot_ != 0 && family->lot == currentLot_) family->houseValue = GetHouseValue();
    if (family->changed) CountFamilyFriends(*family, services_.GetFriendshipThreshold());
    if (!family->Save(file)) return file.GetError() != 0 ? file.GetError() : kResBadData;
  }
  return services_.WriteObjectTypeTable(file);
}

int Neighborhood::Save(int32_t version) {
  FixedPath temp;
  GetDirectory(temp);
  temp.Append(kTempFileName);
  // A temporary file left by an interrupted save would bring back the
  // chunks of families deleted since: always start from an empty one.
  if (services_.FileExists(temp.c_str())) services_.DeleteFile(temp.c_str());
  IFFResFile2 file;
  int status = file.OpenWithFlags(temp.c_str(), iResFile::kOpenCreateMissing);
  if (status != 0) return status;
  if (services_.IsTutorialLot()) settings_[kSettingTutorialLot] = static_cast<int16_t>(currentLot_);
  status = WriteFile(file, version);
  const int closed = file.Close();
  if (status == 0) status = closed;
  if (status != 0) {
    services_.DeleteFile(temp.c_str());
    return status;
  }
  if (services_.FileExists(path_.c_str()) && !services_.DeleteFile(path_.c_str())) return kFlatDeleteFailed;
  return services_.MoveFile(temp.c_str(), path_.c_str()) ? 0 : -1;
}

int Neighborhood::MoveFamilyToLot(Family& family, int32_t lot) {
  if (lot < 1 || lot > kLotCount) return -1;
  Family* there = FindFamilyByHouse(lot);
  if (there != nullptr && there != &family) return -1;
  family.lot = lot;
  family.flags |= Family::kFlagFirstVisit;
  return 0;
}

int Neighborhood::SwapLots(int32_t a, int32_t b, FixedString& message) {
  message.Clear();
  FixedPath fileA, fileB, temp;
  GetHouseFileName(a, fileA);
  GetHouseFileName(b, fileB);
  GetDirectory(temp);
  temp.Append(kSwapFileName);
  const std::string pa = fileA.c_str(), pb = fileB.c_str(), pt = temp.c_str();
  bool moved = false;
  if (services_.MoveFile(pa, pt)) {
    if (services_.MoveFile(pb, pa)) {
      if (services_.MoveFile(pt, pb)) {
        moved = true;
      } else {
        // Put both files back where they were.
        services_.MoveFile(pa, pb);
        services_.MoveFile(pt, pa);
      }
    } else {
      services_.MoveFile(pt, pa);
    }
  }
  if (!moved) {
    message.Assign("Couldn't move house files.");
    return -1;
  }
  Family* onA = FindFamilyByHouse(a);
  Family* onB = FindFamilyByHouse(b);
  if (onA) onA->lot = b;
  if (onB) onB->lot = a;
  const int status = Save(saveVersion_);
  if (status != 0) {
    message.Assign("Error saving neighborhood, ");
    message.AppendInt(status);
    message.Append(".");
  }
  return status;
}

Family* Neighborhood::NewFamily() {
  int32_t number = 1;
  while (number <= kHighestFamilyNumber && FindFamily(number) != nullptr) ++number;
  if (number > kHighestFamilyNumber) return nullptr;
  int32_t highest = -1;
  for (auto& f : families_) highest = std::max(highest, f->sortKey);
  auto family = std::make_unique<Family>(number);
  family->sortKey = highest + 1;
  family->funds = static_cast<int32_t>(NeighborhoodConstants::Instance().moneyForNewFamily);
  Family* added = family.get();
  families_.push_back(std::move(family));
  SortFamilies();
  return added;
}

int Neighborhood::RemoveFamily(Family* family) {
  if (family == nullptr || family->number == 0 || family->lot != 0) return -1;
  auto it = std::find_if(families_.begin(), families_.end(), [&](const auto& f) { return f.get() == family; });
  if (it == families_.end()) return -1;
  const int32_t number = family->number;
  families_.erase(it);
  services_.Broadcast(kCommandFamilyRemoved, number);
  RebuildFamilyNumbers();
  return 0;
}

Family* Neighborhood::FindFamily(int32_t number) const {
  for (auto& f : families_)
    if (f->number == number) return f.get();
  return nullptr;
}

Family* Neighborhood::FindFamilyByHouse(int32_t lot) const {
  for (auto& f : families_)
    if (f->lot == lot) return f.get();
  return nullptr;
}

int Neighborhood::AddToFamily(Neighbor& neighbor, Family& family) {
  // One family at a time: a person already in one must leave it first.
  if (family.HasMember(neighbor.guid) || neighbor.personData[kPersonDataFamily] != 0) return -1;
  family.AddMember(neighbor.guid);
  neighbor.personData[kPersonDataFamily] = static_cast<int16_t>(family.number);
  neighbor.personData[kPersonDataLot] = 0;
  neighbor.changed = 1;
  family.flags &= ~Family::kFlagMoneyHeld;
  family.changed = true;
  services_.Broadcast(kCommandMembershipChanged, family.number);
  return 0;
}

int Neighborhood::RemoveFromFamily(Neighbor& neighbor) {
  Family* family = nullptr;
  for (auto& f : families_)
    if (f->HasMember(neighbor.guid)) family = f.get();
  if (family == nullptr) return -1;
  family->RemoveMember(neighbor.guid);
  neighbor.personData[kPersonDataFamily] = 0;
  neighbor.changed = 1;
  family->flags &= ~Family::kFlagMoneyHeld;
  family->changed = true;
  services_.Broadcast(kCommandMembershipChanged, family->number);
  return 0;
}

int32_t Neighborhood::GetFamilyWorth(const Family& family) {
  // Funds and house value come from files too; their sum stays inside 32 bits.
  const int64_t worth = (currentLot_ != 0 && family.lot == currentLot_)
                            ? int64_t{services_.GetMoney()} + GetHouseValue()
                            : int64_t{family.funds} + family.houseValue;
  return static_cast<int32_t>(std::clamp<int64_t>(worth, INT32_MIN, INT32_MAX));
}

int32_t Neighborhood::CountFamilyFriends(Family& family, int32_t threshold) {
  int32_t count = 0;
  for (auto& other : neighbors_) {
    if (!other || family.HasMember(other->guid) || other->personData[kPersonDataFamily] == 0) continue;
    for (int32_t guid : family.Members()) {
      Neighbor* member = FindNeighborByGUID(guid);
      if (member == nullptr) continue;
      if (member->relationships.GetSize(other->id) > 0 && other->relationships.GetSize(member->id) > 0 &&
          member->relationships.GetValue(other->id, 0) >= threshold &&
          other->relationships.GetValue(member->id, 0) >= threshold) {
        ++count;
        break;
      }
    }
  }
  family.friendCount = count;
  family.changed = false;
  return count;
}

Neighbor* Neighborhood::GetNeighbor(int32_t id) const {
  if (id < 1 || id > static_cast<int32_t>(neighbors_.size())) return nullptr;
  return neighbors_[static_cast<size_t>(id - 1)].get();
}

Neighbor* Neighborhood::FindNeighborByGUID(int32_t guid) const {
  for (auto& n : neighbors_)
    if (n && n->guid == guid) return n.get();
  return nullptr;
}

int32_t Neighborhood::GetNextNeighborIndex(int32_t id) const {
  for (int32_t next = std::max(id, 0) + 1; next <= static_cast<int32_t>(neighbors_.size()); ++next)
    if (GetNeighbor(next) != nullptr) return next;
  return 0;
}

Neighbor* Neighborhood::AddNeighbor(const PersonDefinitionInfo& definition) {
  // The highest free slot is reused; else a new slot at the end.
  size_t slot = neighbors_.size();
  for (size_t i = neighbors_.size(); i-- > 0;) {
    if (!neighbors_[i]) {
      slot = i;
      break;
    }
  }
  if (slot == neighbors_.size()) {
    if (neighbors_.size() >= 0x7FFF) return nullptr;
    neighbors_.emplace_back();
  }
  auto neighbor = std::make_unique<Neighbor>();
  neighbor->id = static_cast<int16_t>(slot + 1);
  neighbor->guid = definition.guid;
  neighbor->name.Assign(definition.name.c_str());
  neighbors_[slot] = std::move(neighbor);
  return neighbors_[slot].get();
}

void Neighborhood::FreeNeighbor(Neighbor* neighbor) {
  if (neighbor == nullptr) return;
  const int16_t id = neighbor->id;
  if (GetNeighbor(id) != neighbor) return;
  services_.Broadcast(kCommandNeighborFreed, id);
  auto owned = std::move(neighbors_[static_cast<size_t>(id - 1)]);
  for (auto& other : neighbors_)
    if (other) other->relationships.RemoveArray(id);
}

void Neighborhood::ComputeLotStatistics() {
  Family* family = currentLot_ != 0 ? FindFamilyByHouse(currentLot_) : nullptr;
  if (family == nullptr || family->number == 0) return;
  enum { kLot, kMembers, kAdultMales, kAdultFemales, kKidMales, kKidFemales, kWorkers, kObjects, kObjectsValue,
         kArchitectureValue, kSquareFeet, kSize, kFurnishings, kSizeRating, kYard, kUpkeep, kLayout, kMoney,
         kFunds = kMoney + 7, kRomancesOut, kRomancesIn, kFriendsOut, kFriendsIn, kFriends };
  FamilyHistory::Row row{};
  row[kLot] = family->lot;
  for (const LotPersonFacts& p : services_.GetLotPersons()) {
    if (!family->HasMember(p.guid)) continue;
    ++row[kMembers];
    const bool adult = p.age >= 18;
    ++row[adult ? (p.female ? kAdultFemales : kAdultMales) : (p.female ? kKidFemales : kKidMales)];
    if (adult && p.employed) ++row[kWorkers];
  }
  const LotDayFigures f = services_.GetLotDayFigures();
  row[kObjects] = f.objectCount;
  row[kObjectsValue] = f.objectsValue;
  row[kArchitectureValue] = f.architectureValue;
  row[kSquareFeet] = f.squareFeet;
  row[kSize] = f.sizeClass;
  row[kFurnishings] = f.furnishingsRating;
  row[kSizeRating] = f.sizeRating;
  row[kYard] = f.yardRating;
  row[kUpkeep] = f.upkeepRating;
  row[kLayout] = f.layoutRating;
  for (int i = 0; i < 7; ++i) row[kMoney + i] = f.money[i];
  row[kFunds] = f.funds;
  const int32_t threshold = services_.GetFriendshipThreshold();
  row[kFriends] = family->changed ? CountFamilyFriends(*family, threshold) : family->friendCount;
  for (auto& n : neighbors_) {
    if (!n) continue;
    const bool nIn = family->HasMember(n->guid);
    for (int i = 0; i < n->relationships.GetCount(); ++i) {
      if (n->relationships.IsSlotEmpty(i)) continue;
      const int32_t otherId = n->relationships.GetIdAt(i);
      const Neighbor* m = GetNeighbor(otherId);
      if (m == nullptr || nIn == family->HasMember(m->guid)) continue;
      if (n->relationships.GetValue(otherId, 0) >= threshold) ++row[nIn ? kFriendsOut : kFriendsIn];
      if (n->relationships.GetSize(otherId) > 1 && n->relationships.GetValue(otherId, 1) != 0)
        ++row[nIn ? kRomancesOut : kRomancesIn];
    }
  }
  family->GetHistory().AddRow(row);
}

Neighbor* Neighborhood::BindPerson(NeighborhoodPerson& person) {
  Neighbor* n = FindNeighborByGUID(person.GetGuid());
  if (n == nullptr) n = AddNeighbor({person.GetGuid(), person.GetDefinitionName(), false, ""});
  if (n == nullptr) return nullptr;
  person.SetNeighborId(n->id);
  int16_t* data = person.PersonData();
  n->CopyPersonDataTo(data);
  data[kPersonDataFamily] = n->personData[kPersonDataFamily];
  return n;
}

void Neighborhood::UpdateNeighborFromPerson(NeighborhoodPerson& person) {
  Neighbor* n = GetNeighbor(person.GetNeighborId());
  if (n == nullptr || n->guid != person.GetGuid()) n = FindNeighborByGUID(person.GetGuid());
  if (n != nullptr) n->CopyPersonDataFrom(person.PersonData());
}

int32_t Neighborhood::GetNeighborInfo(int32_t id, int32_t query) const {
  const Neighbor* n = GetNeighbor(id);
  if (n == nullptr) return 0;
  const Family* family = nullptr;
  for (auto& f : families_)
    if (f->HasMember(n->guid)) family = f.get();
  switch (query) {
    case 1: {
      const Family* lotFamily = currentLot_ != 0 ? FindFamilyByHouse(currentLot_) : nullptr;
      return lotFamily != nullptr && lotFamily->HasMember(n->guid) ? 1 : 0;
    }
    case 2:
      return n->personData[kPersonDataQuery2];
    case 5:
      return n->friendCount;
    case 6:
      return family != nullptr ? family->lot : 0;
    case 7:
    case 8:
      if (family == nullptr || family->lot == 0) return 0;
      return (family->flags >> (query - 7)) & 1;
    case 9:
      return family != nullptr ? family->friendCount : 0;
    default:
      return 0;
  }
}

int Neighborhood::CreateUserCharacter(Neighbor** out) {
  if (out) *out = nullptr;
  if (FindNeighborByGUID(kTemplateCharacterGuid) == nullptr) return -1;
  FixedPath folder;
  GetDirectory(folder);
  folder.Append(kCharactersFolder);
  std::string path;
  int32_t number = nextUserCharacter_;
  bool copied = false;
  // Every name may be taken: one full cycle, then give up.
  for (int32_t tries = 0; tries < kUserCharacterNumbers && !copied; ++tries) {
    if (number < 0 || number >= kUserCharacterNumbers) number = 0;
    char name[16];
    std::snprintf(name, sizeof name, "User%05d", static_cast<int>(number));
    path = std::string(folder.c_str()) + name + ".iff";
    const int status = services_.CopyCharacterFile(kTemplateCharacterGuid, path);
    if (status == 0) {
      copied = true;
    } else if (status == kFlatCreateExists) {
      ++number;
    } else {
      return status;
    }
  }
  if (!copied) return kFlatCreateExists;
  nextUserCharacter_ = number + 1 >= kUserCharacterNumbers ? 0 : number + 1;
  for (int32_t guid : services_.LoadCharacterFile(path)) {
    if (FindNeighborByGUID(guid) != nullptr) continue;
    auto definition = services_.FindPersonDefinition(guid);
    PersonDefinitionInfo info = definition ? *definition : PersonDefinitionInfo{guid, "", true, ""};
    Neighbor* added = AddNeighbor(info);
    if (added == nullptr) return -1;
    if (out) *out = added;
    return 0;
  }
  return -1;
}

int Neighborhood::DeleteUserCharacter(Neighbor* neighbor) {
  if (neighbor == nullptr || GetNeighbor(neighbor->id) != neighbor) return -1;
  const int32_t guid = neighbor->guid;
  auto definition = services_.FindPersonDefinition(guid);
  if (!definition || !definition->userCharacter) return -1;
  // Refused before anything goes: a member keeps the person on its lot.
  for (auto& f : families_)
    if (f->HasMember(guid)) return -1;
  services_.RemoveLiveObjectsOf(guid);
  if (!services_.UnloadCharacter(guid)) return -1;
  FreeNeighbor(neighbor);
  if (definition->characterFile.empty()) return 0;
  return services_.DeleteFile(definition->characterFile) ? 0 : kFlatDeleteFailed;
}

int32_t Neighborhood::CountUserCharacters() {
  int32_t count = 0;
  for (auto& n : neighbors_) {
    if (!n) continue;
    auto definition = services_.FindPersonDefinition(n->guid);
    if (definition && definition->userCharacter) ++count;
  }
  return count;
}

int16_t Neighborhood::GetSetting(int32_t index) const {
  return index >= 0 && index < kSettingCount ? settings_[index] : 0;
}

void Neighborhood::SetSetting(int32_t index, int16_t value) {
  if (index >= 0 && index < kSettingCount) settings_[index] = value;
}

std::string Neighborhood::Dump() const {
  std::ostringstream out;
  out << "Neighbors:\n";
  for (auto& n : neighbors_)
    if (n) out << n->id << " = " << n->name.c_str() << "\n";
  return out.str();
}

}  // namespace tova
