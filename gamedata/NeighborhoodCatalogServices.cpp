#include "gamedata/NeighborhoodCatalogServices.h"

#include <algorithm>
#include <set>

#include "gamedata/LotInterfaces.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectFolder.h"
#include "platform/FileSystem.h"
#include "resfile/IFFResFile2.h"

namespace tova {
namespace {

// The catalogue keeps its paths with backslashes; the file layer here takes
// forward ones.
std::string Slashed(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::optional<PersonDefinitionInfo> InfoOf(const ObjectDefinition* d) {
  if (d == nullptr || d->GetRecord().ObjectType() != kDefinitionTypePerson) return std::nullopt;
  PersonDefinitionInfo info;
  info.guid = static_cast<int32_t>(d->GetGUID());
  info.name = d->GetName();
  info.userCharacter = d->GetKind() == ObjectFolder::kCharacterFolder;
  if (iResFile* own = d->GetOwnFile()) {
    own->GetPath(info.characterFile);
    info.characterFile = Slashed(info.characterFile);
  }
  return info;
}

}  // namespace

std::optional<PersonDefinitionInfo> NeighborhoodCatalogServices::FindPersonDefinition(int32_t guid) {
  return InfoOf(catalogue_.FindByGUID(static_cast<uint32_t>(guid)));
}

std::vector<PersonDefinitionInfo> NeighborhoodCatalogServices::ListPersonDefinitions() {
  std::vector<PersonDefinitionInfo> out;
  for (int i = 0; i < catalogue_.GetDefinitionCount(); ++i)
    if (auto info = InfoOf(catalogue_.GetDefinition(i))) out.push_back(std::move(*info));
  return out;
}

void NeighborhoodCatalogServices::RegisterCharacterFolder(const std::string& folder) {
  catalogue_.SetCharacterFolder(folder);
}

int NeighborhoodCatalogServices::ReadObjectTypeTable(iResFile& file) { return catalogue_.LoadTypeTable(file); }

int NeighborhoodCatalogServices::WriteObjectTypeTable(iResFile& file) { return catalogue_.SaveTypeTable(file); }

int NeighborhoodCatalogServices::CopyCharacterFile(int32_t guid, const std::string& path) {
  const ObjectDefinition* d = catalogue_.FindByGUID(static_cast<uint32_t>(guid));
  if (d == nullptr || d->GetOwnFile() == nullptr) return kFlatOpenFailed;
  if (FileExists(path)) return kFlatCreateExists;
  // The characters folder of a new neighbourhood does not exist yet.
  const size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && !platform::DirectoryExists(path.substr(0, slash)))
    platform::CreateDirectory(path.substr(0, slash));
  IFFResFile2 target;
  int status = target.OpenWithFlags(path, iResFile::kOpenCreateMissing);
  if (status != 0) return status;
  // The copy is named after its file ("User00007").
  std::string name = slash != std::string::npos ? path.substr(slash + 1) : path;
  name = name.substr(0, name.find_last_of('.'));
  status = catalogue_.CopyWithFreshGuids(*d->GetOwnFile(), target, &name, nullptr);
  const int closed = target.Close();
  if (status == 0) status = closed;
  if (status != 0) DeleteFile(path);
  return status;
}

std::vector<int32_t> NeighborhoodCatalogServices::LoadCharacterFile(const std::string& path) {
  std::set<uint32_t> before;
  for (int i = 0; i < catalogue_.GetDefinitionCount(); ++i) before.insert(catalogue_.GetDefinition(i)->GetGUID());
  std::vector<int32_t> out;
  if (!catalogue_.AddObjectFile(path)) return out;
  for (int i = 0; i < catalogue_.GetDefinitionCount(); ++i) {
    const ObjectDefinition* d = catalogue_.GetDefinition(i);
    if (before.count(d->GetGUID()) == 0 && d->GetRecord().ObjectType() == kDefinitionTypePerson)
      out.push_back(static_cast<int32_t>(d->GetGUID()));
  }
  return out;
}

bool NeighborhoodCatalogServices::UnloadCharacter(int32_t guid) {
  ObjectDefinition* d = catalogue_.FindByGUID(static_cast<uint32_t>(guid));
  return d != nullptr && catalogue_.UnloadDefinition(d);
}

}  // namespace tova
