#include "gamedata/CatalogStrings.h"

#include "resfile/ResLanguage.h"
#include "resfile/StringSet.h"

namespace tova {

bool CatalogStrings::Read(iResFile& file, ResId id) {
  for (ResType type : {kLegacyCatalogStringsType, kCatalogStringsType}) {
    StringSet set;
    set.SetSource(&file, id, type, false, kLanguageCurrent);
    if (set.Load(false, true) != 0) continue;
    name = set.GetString(1) ? set.GetString(1) : "";
    description = set.GetString(2) ? set.GetString(2) : "";
    return true;
  }
  return false;
}

int CatalogStrings::Write(iResFile& file, ResId id) const {
  StringSet set;
  set.SetSource(&file, id, kCatalogStringsType, false, kLanguageCurrent);
  set.SetString(1, name.c_str());
  set.SetString(2, description.c_str());
  int status = set.Save();
  if (status != 0) return status;
  MemHandle legacy = file.GetResource(kLegacyCatalogStringsType, id, nullptr);
  if (legacy) return file.DeleteResource(legacy);
  return 0;
}

}  // namespace tova
