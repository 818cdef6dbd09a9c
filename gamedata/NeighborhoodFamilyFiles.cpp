// Family files: a family with its members, their neighbour records and,
// when it had a lot, the whole house file, carried to another neighbourhood.
#include <cstring>

#include "gamedata/FamilyExport.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodRecords.h"
#include "resfile/IFFResFile2.h"
#include "resfile/ReconObject.h"

namespace tova {
namespace {

using NeighborsOf = NeighborhoodNeighborsRecord;

constexpr int kCopyFailed = -50;

}  // namespace

std::string Neighborhood::FamilyFileStem(const Family& family) {
  std::string name = family.GetName();
  for (char& c : name)
    if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 32 || c == 127) c = '_';
  for (size_t at = name.find(".."); at != std::string::npos; at = name.find("..", at)) name.replace(at, 2, "__");
  return name + "_" + std::to_string(family.number);
}

int Neighborhood::ExportFamily(const std::string& folderIn, Family& family) {
  if (folderIn.empty()) return -1;
  std::string folder = folderIn;
  if (folder.back() != '/' && folder.back() != '\\') folder += '/';
  const std::string stem = FamilyFileStem(family);
  const std::string temp = folder + stem + ".x";
  const std::string final = folder + stem + ".FAM";
  // A temporary file left by an earlier attempt would stop the house copy.
  if (services_.FileExists(temp)) services_.DeleteFile(temp);
  if (family.lot != 0) {
    FixedPath house;
    GetHouseFileName(family.lot, house);
    if (!services_.CopyFile(house.c_str(), temp, false)) return kCopyFailed;
  }
  IFFResFile2 file;
  int status = file.OpenWithFlags(temp, iResFile::kOpenCreateMissing);
  if (status != 0) return status;
  if (!family.Save(file)) status = file.GetError() != 0 ? file.GetError() : kResBadData;
  if (status == 0) {
    ExpFamilyInfo info;
    info.familyNumber = static_cast<int16_t>(family.number);
    int n = 0;
    for (int32_t guid : family.Members()) {
      Neighbor* member = FindNeighborByGUID(guid);
      if (member != nullptr && n < ExpFamilyInfo::kMaxMembers) info.members[n++] = member->id;
    }
    SimpleReconObject<ExpFamilyInfo> record(&info, kExportInfoChunk);
    status = ReconObject::SaveToResFile(record, ExpFamilyInfo::kRecordVersion, file, 0);
    for (int16_t id : info.MemberIds()) {
      if (status != 0) break;
      status = services_.ExportMemberResources(GetNeighbor(id)->guid, file, id);
    }
  }
  if (status == 0) {
    NeighborsOf neighbors(*this);
    status = ReconObject::SaveToResFile(neighbors, saveVersion_, file, 1);
  }
  const int closed = file.Close();
  if (status == 0) status = closed;
  if (status != 0) {
    services_.DeleteFile(temp);
    return status;
  }
  if (services_.FileExists(final)) services_.DeleteFile(final);
  if (!services_.MoveFile(temp, final)) return kCopyFailed;
  return 0;
}

int Neighborhood::ImportFamily(const std::string& path, Family** newFamily, Family** displaced) {
  if (newFamily) *newFamily = nullptr;
  if (displaced) *displaced = nullptr;
  IFFResFile2 file;
  int status = file.Open(path);
  if (status != 0) return status;
  ExpFamilyInfo info;
  SimpleReconObject<ExpFamilyInfo> infoRecord(&info, kExportInfoChunk);
  status = ReconObject::LoadFromResFile(infoRecord, file, 0);
  Family imported;
  if (status == 0 && !imported.Load(file, info.familyNumber)) status = -1;
  Neighborhood incoming(services_);
  if (status == 0) {
    NeighborsOf neighbors(incoming);
    status = ReconObject::LoadFromResFile(neighbors, file, 1);
  }
  GuidTable table;
  if (status == 0) {
    SimpleReconObject<GuidTable> tableRecord(&table, kGuidTableChunk);
    status = ReconObject::LoadFromResFile(tableRecord, file, 1);
    if (status == kResNotFound) status = 0;
  }
  // Everything the file names must exist in it before anything here changes.
  const std::vector<int16_t> ids = info.MemberIds();
  if (status == 0) {
    for (int16_t id : ids)
      if (incoming.GetNeighbor(id) == nullptr) status = -1;
    if (imported.lot < 0 || imported.lot > kLotCount) status = -1;
  }
  if (status != 0) {
    file.Close();
    return status;
  }

  Family* family = NewFamily();
  if (family == nullptr) {
    file.Close();
    return -1;
  }
  family->SetName(imported.GetName());
  family->funds = imported.funds;
  family->houseValue = imported.houseValue;
  const int32_t lot = imported.lot;

  std::vector<std::pair<Neighbor*, Neighbor*>> people;  // (from the file, made here)
  // A half-made import leaves nothing behind: its characters and family go.
  auto rollBack = [&](int status) {
    for (auto& [old, made] : people) {
      RemoveFromFamily(*made);
      DeleteUserCharacter(made);
    }
    RemoveFamily(family);
    return status;
  };
  for (int16_t id : ids) {
    Neighbor* old = incoming.GetNeighbor(id);
    Neighbor* made = nullptr;
    status = CreateUserCharacter(&made);
    if (status != 0) break;
    people.emplace_back(old, made);
    AddToFamily(*made, *family);
    made->name.AssignString(old->name);
    status = services_.ImportMemberResources(file, id, made->guid, old->name.c_str());
    if (status != 0) break;
    table.Add(old->guid, made->guid);
  }
  if (status == 0 && lot != 0) {
    SimpleReconObject<GuidTable> tableRecord(&table, kGuidTableChunk);
    status = ReconObject::SaveToResFile(tableRecord, 0, file, 1);
  }
  const int closed = file.Close();
  if (status == 0) status = closed;
  if (status != 0) return rollBack(status);

  if (lot != 0) {
    FixedPath house;
    GetHouseFileName(lot, house);
    const std::string kept = std::string(house.c_str()) + ".tmp";
    const bool hadHouse = services_.FileExists(house.c_str());
    if (hadHouse && !services_.MoveFile(house.c_str(), kept)) return rollBack(kCopyFailed);
    if (!services_.MoveFile(path, house.c_str())) {
      if (hadHouse) services_.MoveFile(kept, house.c_str());
      return rollBack(kCopyFailed);
    }
    if (hadHouse) services_.DeleteFile(kept);
  } else {
    services_.DeleteFile(path);
  }

  // From here on the import stands: the family living on the lot moves out.
  Family* moved = lot != 0 ? FindFamilyByHouse(lot) : nullptr;
  if (moved != nullptr) {
    moved->funds = GetFamilyWorth(*moved);
    moved->lot = 0;
    moved->houseValue = 0;
    moved->flags &= ~Family::kFlagMoneyHeld;
    // The lot's own characters without a family go with the old house.
    std::vector<Neighbor*> lotCharacters;
    for (int32_t id = GetNextNeighborIndex(0); id != 0; id = GetNextNeighborIndex(id)) {
      Neighbor* n = GetNeighbor(id);
      if (n->personData[kPersonDataLot] == lot && n->personData[kPersonDataFamily] == 0) lotCharacters.push_back(n);
    }
    for (Neighbor* n : lotCharacters) DeleteUserCharacter(n);
  }
  for (auto& [old, made] : people) {
    for (auto& [other, otherMade] : people) {
      const int size = old->relationships.GetSize(other->id);
      if (size == 0 || other == old) continue;
      made->relationships.AddArray(otherMade->id);
      made->relationships.SetSize(otherMade->id, size);
      for (int i = 0; i < size; ++i)
        made->relationships.SetValue(otherMade->id, i, old->relationships.GetValue(other->id, i));
    }
    for (int32_t i = 0; i < kPersonDataCount; ++i)
      if (Neighbor::KeptFromVersion(i) != 0) made->personData[i] = old->personData[i];
    made->personDataVersion = old->personDataVersion;
  }
  RebuildFamilyNumbers();
  CountFamilyFriends(*family, services_.GetFriendshipThreshold());
  if (lot != 0) {
    MoveFamilyToLot(*family, lot);
    family->flags &= ~Family::kFlagFirstVisit;
  }
  if (newFamily) *newFamily = family;
  if (displaced) *displaced = moved;
  return Save(saveVersion_);
}

}  // namespace tova
